// Reference lists read from files or filled while working: layer rules, named text
// styles, the sheet nomenclature, the stack of remembered views, the caption rules of
// a sign and the semantics items a caption can show. Also the own style of a text.
#pragma once

#include "foundation/AbstractListControl.h"
#include "foundation/GeoTypes.h"

#include <QString>
#include <cstdint>
#include <memory>

// Style flag bits of TUserStyle::FontStyle and TGeoTextStyle::FontStyle.
enum : std::uint8_t {
    fsBoldBit = 1,
    fsItalicBit = 2,
    fsUnderlineBit = 4,
    fsStrikeOutBit = 8,
};

// A text's own style. Never shared: whoever gives a text one allocates a fresh record.
struct TUserStyle {
    QString FontName;
    std::int32_t Color = 0;    // 0x00BBGGRR
    Extended Size = 0;         // millimetres on the plan
    std::uint8_t FontStyle = 0;  // fsBoldBit | fsItalicBit | fsUnderlineBit | fsStrikeOutBit
};

// A fresh copy of a style, or null for null.
inline std::unique_ptr<TUserStyle> CopyStyle(const std::unique_ptr<TUserStyle>& style)
{
    return style ? std::make_unique<TUserStyle>(*style) : nullptr;
}

// One layer rule: objects with this semantics go to this layer.
struct RDefLayerForObject {
    QString Semantics;
    QString LayerName;
};

class TDefLayerForObjects : public TCursorList<RDefLayerForObject> {
public:
    TDefLayerForObjects() : TCursorList("TDefLayerForObjects", "RDefLayerForObject") {}
};

// One named text style of the sign library.
struct TGeoTextStyle {
    QString StyleName;
    QString Comment;
    std::int32_t Color = 0;
    Extended Size = 0;          // millimetres on the plan
    QString FontName;
    std::uint8_t FontStyle = 0;  // bold, italic, underline bits
};

class TGeoTextStyles : public TCursorList<TGeoTextStyle> {
public:
    TGeoTextStyles() : TCursorList("TGeoTextStyles", "TGeoTextStyle") {}
};

// One base sheet of the nomenclature file.
struct TNomenclature {
    QString SheetName;
    TGeoPoint Origin;   // south-west corner
};

class TNomenclatures : public TCursorList<TNomenclature> {
public:
    TNomenclatures() : TCursorList("TNomenclatures", "TNomenclature") {}

    std::uint8_t Mode = 2;     // 2: base squares of 2000 m; 3: of 3000 m
    std::int32_t Extra = 500;
};

// One remembered view of the plan window.
struct RMapView {
    Extended ViewXMin = 10;
    Extended ViewYMin = 10;
    Extended ViewXMax = 100;
    Extended ViewYMax = 100;
    Extended FactorX = 10;
    Extended FactorY = 10;
};

// The view history: the last record is the current view.
class TMapViews : public TCursorList<RMapView> {
public:
    TMapViews() : TCursorList("TMapViews", "RMapView") {}
};

// One caption rule of a sign. The caption reads
// TextStart + Separator1 + value + Separator2 + TextEnd.
struct RSemText {
    QString TextStart;
    QString Separator1;
    QString PropKey;      // one letter (Ф, К, Н, М, С) or a two-letter extended kind
    QString PropCode;     // the code required; a negative number means any code
    QString Separator2;
    QString TextEnd;
    QString StyleName;    // named style; in the sign file it begins with ">"
    std::unique_ptr<TUserStyle> OwnStyle;   // when no named style is given
    Extended Dx = 0;      // millimetres of the sign
    Extended Dy = 0;
    Extended Step = 0;
    std::uint8_t Mode = 0;   // 0 by step, 1 by offset, 2 in the line turning, 3 in the line fixed
};

class TSemTexts : public TCursorList<RSemText> {
public:
    TSemTexts() : TCursorList("TSemTexts", "RSemText") {}
};

// One item of the semantics string of the object being rendered, split for captions.
struct RFindedSemProp {
    QString Key;     // two-letter extended kind, or Ф, К, Н, М, С
    QString Value;   // value text of an extended item
    QString Code;    // code digits; "00" for an extended item written without ":"
    std::int32_t RuleIndex = -1;   // the caption rule showing it; -1 none
};

class TFindedSemProps : public TCursorList<RFindedSemProp> {
public:
    TFindedSemProps() : TCursorList("TFindedSemProps", "RFindedSemProp") {}
};

// Whether the rule shows the item: the keys are equal and the codes are equal or the
// rule's code is a negative integer (any code).
bool CaptionRuleMatches(const RSemText& rule, const RFindedSemProp& prop);
