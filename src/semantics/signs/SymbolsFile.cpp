// The sign file: one conventional sign per text file, in the current format (two header
// lines, then sections) or the older headerless one (tenths of a millimetre, screen
// axes), which is read and at once rewritten in the current format. Reading is driven by
// lines: a section header selects the section, "*" and a keyword start a primitive or
// a caption rule, and the lines after the keyword are its numbered lines.
#include "semantics/signs/Symbols.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/StringNum.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"

#include <QFileInfo>
#include <algorithm>
#include <array>

namespace {

const char* const Module = "Symbols";

const QString HeaderLine = QStringLiteral("#Условный знак");
const QString KindLines[3] = {QStringLiteral("#Точечный"), QStringLiteral("#Линейный"),
                              QStringLiteral("#Площадной")};

enum TSection {
    secNone,
    // pictures
    secPicture,
    secLineStart,
    secLineEnd,
    secSegmentStart,
    secSegmentEnd,
    secPiece1,
    secPiece2,
    secCorners,
    secFill1,
    secFill2,
    secFill3,
    secCenter,
    secDiagonals1,
    secDiagonals2,
    secCross1,
    secCross2,
    // caption rules
    secCaptions,
    // numbers
    secPieceLength,
    secTextRepeat,
    secSegmentMiddle,
    secCaptionStart,
    secCaptionInterval,
    secCenterOrientation,
    secCornerShift,
    secPiece1Length,
    secPiece2Length,
    secStep1,
    secStep2,
    secStep3,
    secMargins,
    secDiagonals1Style,
    secDiagonals1Length,
    secDiagonals2Style,
    secDiagonals2Length,
    secCross1Style,
    secCross1Length,
    secCross1Step,
    secCross1Size,
    secCross2Style,
    secCross2Length,
    secCross2Step,
    secCross2Size,
    secFill,
    secTextStep,
};

bool IsPictureSection(TSection s) { return s >= secPicture && s <= secCross2; }
bool IsNumberSection(TSection s) { return s >= secPieceLength; }

struct THeader {
    const char16_t* Text;
    TSection Section;
};

// The headers of each kind, the writer's spelling first; a header of another kind is an
// ordinary line.
const THeader PointHeaders[] = {
    {u"[Рисунок]", secPicture},
    {u"[Надписи]", secCaptions},
};

const THeader LineHeaders[] = {
    {u"[Начало линии]", secLineStart},
    {u"[Конец линии]", secLineEnd},
    {u"[Начало сегмента]", secSegmentStart},
    {u"[Конец сегмента]", secSegmentEnd},
    {u"[Отрезок1]", secPiece1},
    {u"[Отрезок]", secPiece1},
    {u"[Отрезок2]", secPiece2},
    {u"[Повтор отрезка]", secPieceLength},
    {u"[Длина отрезка]", secPieceLength},
    {u"[Повтор текста]", secTextRepeat},
    {u"[Середина сегмента]", secSegmentMiddle},
    {u"[Начало надписей]", secCaptionStart},
    {u"[Интервал надписей]", secCaptionInterval},
    {u"[Надписи]", secCaptions},
};

const THeader PolygonHeaders[] = {
    {u"[Углы]", secCorners},
    {u"[Отрезок1]", secPiece1},
    {u"[Отрезок2]", secPiece2},
    {u"[Заполнение1]", secFill1},
    {u"[Заполнение2]", secFill2},
    {u"[Заполнение3]", secFill3},
    {u"[В центре]", secCenter},
    {u"[Диагонали1]", secDiagonals1},
    {u"[Диагонали]", secDiagonals1},
    {u"[Диагонали2]", secDiagonals2},
    {u"[Поперечные1]", secCross1},
    {u"[Поперечные2]", secCross2},
    {u"[Ориентация в центре]", secCenterOrientation},
    {u"[Смещение углов]", secCornerShift},
    {u"[Повтор отрезка1]", secPiece1Length},
    {u"[Длина отрезка1]", secPiece1Length},
    {u"[Повтор отрезка2]", secPiece2Length},
    {u"[Длина отрезка2]", secPiece2Length},
    {u"[Шаг1]", secStep1},
    {u"[Шаг2]", secStep2},
    {u"[Шаг3]", secStep3},
    {u"[Поля]", secMargins},
    {u"[Стиль диагонали1]", secDiagonals1Style},
    {u"[Стиль диагонали]", secDiagonals1Style},
    {u"[Повтор отрезка диагонали1]", secDiagonals1Length},
    {u"[Длина диагонали]", secDiagonals1Length},
    {u"[Длина диагонали1]", secDiagonals1Length},
    {u"[Стиль диагонали2]", secDiagonals2Style},
    {u"[Повтор отрезка диагонали2]", secDiagonals2Length},
    {u"[Длина диагонали2]", secDiagonals2Length},
    {u"[Стиль поперечные1]", secCross1Style},
    {u"[Повтор отрезка поперечные1]", secCross1Length},
    {u"[Длина поперечные1]", secCross1Length},
    {u"[Шаг поперечные1]", secCross1Step},
    {u"[Величина поперечные1]", secCross1Size},
    {u"[Стиль поперечные2]", secCross2Style},
    {u"[Повтор отрезка поперечные2]", secCross2Length},
    {u"[Длина поперечные2]", secCross2Length},
    {u"[Шаг поперечные2]", secCross2Step},
    {u"[Величина поперечные2]", secCross2Size},
    {u"[Заливка]", secFill},
    {u"[Шаг текст]", secTextStep},
    {u"[Надписи]", secCaptions},
};

template <std::size_t N>
QHash<QString, TSection> HeaderTable(const THeader (&headers)[N])
{
    QHash<QString, TSection> table;
    for (const THeader& h : headers)
        table.insert(QString::fromUtf16(h.Text), h.Section);
    return table;
}

const QHash<QString, TSection>& Headers(TLmode lm)
{
    static const QHash<QString, TSection> tables[3] = {
        HeaderTable(PointHeaders), HeaderTable(LineHeaders), HeaderTable(PolygonHeaders)};
    return tables[lm];
}

// The header an older file must begin with.
QString FirstOldHeader(TLmode lm)
{
    static const char16_t* const first[3] = {u"[Рисунок]", u"[Начало линии]", u"[Углы]"};
    return QString::fromUtf16(first[lm]);
}

// ---- Values ----

std::uint8_t ToByte(const QString& s)
{
    const int v = StrToInt(s);
    if (v < 0 || v > 255)
        throw Exception(QStringLiteral("Значение ") + s + QStringLiteral(" вне диапазона 0..255"));
    return static_cast<std::uint8_t>(v);
}

std::int16_t ToSmallInt(const QString& s)
{
    const int v = StrToInt(s);
    if (v < -32768 || v > 32767)
        throw Exception(QStringLiteral("Значение ") + s +
                        QStringLiteral(" вне диапазона -32768..32767"));
    return static_cast<std::int16_t>(v);
}

// Three characters "0"/"1": bold, italic, underline.
std::uint8_t ToFlags(const QString& s)
{
    std::uint8_t flags = 0;
    for (int i = 0; i < 3 && i < s.size(); ++i)
        if (s[i] == u'1')
            flags |= static_cast<std::uint8_t>(1u << i);
    return flags;
}

QString FromFlags(std::uint8_t flags)
{
    QString s;
    for (int i = 0; i < 3; ++i)
        s += (flags & (1u << i)) ? u'1' : u'0';
    return s;
}

// "X Y" in millimetres of the sign, either decimal separator.
TGeoPoint ToPoint(const QString& s)
{
    const int blank = s.indexOf(u' ');
    if (blank <= 0)
        throw Exception(QStringLiteral("Неверная запись точки \"") + s + u'"');
    return GeoPoint(StrToFlt(s.left(blank)), StrToFlt(s.mid(blank + 1).trimmed()));
}

// "x y" in whole tenths of a millimetre on screen axes (x right, y down).
TGeoPoint ToOldPoint(const QString& s)
{
    const int blank = s.indexOf(u' ');
    if (blank <= 0)
        throw Exception(QStringLiteral("Неверная запись точки \"") + s + u'"');
    const Extended x = StrToInt(s.left(blank));
    const Extended y = StrToInt(s.mid(blank + 1).trimmed());
    return GeoPoint(-y / 10, x / 10);
}

QString Fixed2(Extended v) { return FloatToFixed(v, 2); }
QString Point2(const TGeoPoint& p) { return XYtoString2(p.X, p.Y); }

// A named style always begins with ">" in the file; a name written without it would
// read back as the font of an own style and shift every later line of its block.
QString NamedStyleLine(const QString& name)
{
    return name.startsWith(u'>') ? name : u'>' + name;
}

// The six texts of a caption rule in the order the file holds them.
template <class R>
auto RuleTexts(R& rule)
{
    return std::array{&rule.TextStart, &rule.Separator1, &rule.PropKey,
                      &rule.PropCode,  &rule.Separator2, &rule.TextEnd};
}

// ---- The reader ----

class TSignReader {
public:
    TSignReader(TLmode lm, bool newStyle, RVpGPoint* point, RVpGLine* line, RVpGPolygon* polygon)
        : Lm(lm), NewStyle(newStyle), Point(point), GLine(line), GPolygon(polygon)
    {
    }

    void Line(const QString& s)
    {
        if (!LiteralLineDue()) {
            const auto header = Headers(Lm).constFind(s);
            if (header != Headers(Lm).constEnd()) {
                CloseFigure();
                Section = header.value();
                SectionLine = 0;
                Prim = pNone;
                ExpectKeyword = false;
                Picture = PictureOf(Section);
                return;
            }
            if (s == u'*' && (IsPictureSection(Section) || Section == secCaptions)) {
                CloseFigure();
                Prim = pNone;
                ExpectKeyword = true;
                return;
            }
        }
        if (ExpectKeyword) {
            ExpectKeyword = false;
            StartPrimitive(s);
            return;
        }
        if (IsPictureSection(Section) || Section == secCaptions) {
            if (Prim != pNone) {
                ++PrimLine;
                PrimitiveLine(s);
            }
        } else if (IsNumberSection(Section)) {
            ++SectionLine;
            NumberLine(s);
        }
    }

    // The last polyline or polygon of the file gets its reference point like every other.
    void Finish() { CloseFigure(); }

private:
    enum TPrim { pNone, pText, pLine, pPolyline, pPolygon, pCircle, pELine, pTextOut, pSem };

    // The text of a TEXT and the six texts of a caption rule are taken as they stand,
    // so that a text reading "*" or like a header comes back as it was written.
    bool LiteralLineDue() const
    {
        if (Prim == pText)
            return PrimLine + 1 == (NewStyle ? 1 : 6);
        if (Prim == pSem)
            return PrimLine + 1 >= 1 && PrimLine + 1 <= 6;
        return false;
    }

    TVpLayers* PictureOf(TSection s) const
    {
        switch (s) {
        case secPicture: return Point ? &Point->Picture : nullptr;
        case secLineStart: return GLine ? &GLine->LineStart : nullptr;
        case secLineEnd: return GLine ? &GLine->LineEnd : nullptr;
        case secSegmentStart: return GLine ? &GLine->SegmentStart : nullptr;
        case secSegmentEnd: return GLine ? &GLine->SegmentEnd : nullptr;
        case secPiece1: return GLine ? &GLine->Piece1 : (GPolygon ? &GPolygon->Piece1 : nullptr);
        case secPiece2: return GLine ? &GLine->Piece2 : (GPolygon ? &GPolygon->Piece2 : nullptr);
        case secCorners: return GPolygon ? &GPolygon->Corners : nullptr;
        case secFill1: return GPolygon ? &GPolygon->Fill1 : nullptr;
        case secFill2: return GPolygon ? &GPolygon->Fill2 : nullptr;
        case secFill3: return GPolygon ? &GPolygon->Fill3 : nullptr;
        case secCenter: return GPolygon ? &GPolygon->Center : nullptr;
        case secDiagonals1: return GPolygon ? &GPolygon->Diagonals1 : nullptr;
        case secDiagonals2: return GPolygon ? &GPolygon->Diagonals2 : nullptr;
        case secCross1: return GPolygon ? &GPolygon->Cross1 : nullptr;
        case secCross2: return GPolygon ? &GPolygon->Cross2 : nullptr;
        default: return nullptr;
        }
    }

    TSemTexts* Captions() const
    {
        if (Point)
            return &Point->Captions;
        if (GLine)
            return &GLine->Captions;
        return GPolygon ? &GPolygon->Captions : nullptr;
    }

    // A length: millimetres, or whole tenths in the older format.
    Extended Length(const QString& s) const
    {
        return NewStyle ? StrToFlt(s) : static_cast<Extended>(StrToInt(s)) / 10;
    }
    TGeoPoint APoint(const QString& s) const { return NewStyle ? ToPoint(s) : ToOldPoint(s); }

    // The reference point of the polyline or polygon just read: Y in the middle of the
    // points' Y extent, X 0.
    void CloseFigure()
    {
        TGeoPoints* points = nullptr;
        TGeoPoint* ref = nullptr;
        if (Prim == pPolyline) {
            points = &Polyline->Points;
            ref = &Polyline->RefPoint;
        } else if (Prim == pPolygon) {
            points = &Polygon->Points;
            ref = &Polygon->RefPoint;
        }
        if (!points || points->GetCount() == 0)
            return;
        Extended minY = points->At(0)->Y;
        Extended maxY = minY;
        for (const auto& p : *points) {
            minY = std::min(minY, p->Y);
            maxY = std::max(maxY, p->Y);
        }
        ref->X = 0;
        ref->Y = (minY + maxY) / 2;
    }

    void StartPrimitive(const QString& keyword)
    {
        Prim = pNone;
        PrimLine = 0;
        if (Section == secCaptions) {
            if (keyword == u"SEM") {
                TSemTexts* captions = Captions();
                captions->AddItem();
                Rule = captions->Item;
                if (!NewStyle)
                    Rule->OwnStyle = std::make_unique<TUserStyle>();
                Prim = pSem;
            } else if (keyword == u"EXISTSEMLINE" && Point) {
                Point->LeaderLineDefault = 1;
            }
            return;
        }
        if (!Picture)
            return;
        if (keyword == u"TEXT") {
            Picture->AddItem();
            Picture->Item->Texts.AddItem();
            Text = Picture->Item->Texts.Item;
            if (!NewStyle)
                Text->OwnStyle = std::make_unique<TUserStyle>();
            Prim = pText;
        } else if (keyword == u"LINE") {
            Picture->AddItem();
            Picture->Item->Lines.AddItem();
            VLine = Picture->Item->Lines.Item;
            Prim = pLine;
        } else if (keyword == u"POLYLINE") {
            Picture->AddItem();
            Picture->Item->Polylines.AddItem();
            Polyline = Picture->Item->Polylines.Item;
            Prim = pPolyline;
        } else if (keyword == u"POLYGON") {
            Picture->AddItem();
            Picture->Item->Polygons.AddItem();
            Polygon = Picture->Item->Polygons.Item;
            Prim = pPolygon;
        } else if (keyword == u"CIRCLE") {
            Picture->AddItem();
            Picture->Item->Circles.AddItem();
            Circle = Picture->Item->Circles.Item;
            Prim = pCircle;
        } else if (keyword == u"ELINE") {
            Picture->HasOwnLine = 1;
            Prim = pELine;
        } else if (keyword == u"TEXTOUT" && GLine) {
            Prim = pTextOut;
        }
    }

    // Lines 1 and 2 of every drawn primitive: the pen's colour (which also puts the pen
    // back to copy mode, solid) and width. False for any other line.
    bool PenLine(TVpPen& pen, int n, const QString& s) const
    {
        if (n == 1) {
            pen.PenColor = StrToInt(s);
            pen.PenMode = TVpPen{}.PenMode;
            pen.PenStyle = TVpPen{}.PenStyle;
        } else if (n == 2) {
            pen.PenWidth = Length(s);
        } else {
            return false;
        }
        return true;
    }

    // Lines 3 and 4 of a polygon and a circle: the fill's style and colour. False for any
    // other line.
    static bool FillLine(TVpFill& fill, int n, const QString& s)
    {
        if (n == 3)
            fill.FillStyle = ToByte(s);
        else if (n == 4)
            fill.FillColor = StrToInt(s);
        else
            return false;
        return true;
    }

    void PrimitiveLine(const QString& s)
    {
        const int n = PrimLine;
        switch (Prim) {
        case pText: NewStyle ? TextLine(n, s) : OldTextLine(n, s); break;
        case pLine:
            if (PenLine(*VLine, n, s))
                break;
            if (n == 3)
                VLine->P1 = APoint(s);
            else if (n == 4)
                VLine->P2 = APoint(s);
            break;
        case pPolyline:
            if (!PenLine(*Polyline, n, s)) {
                const TGeoPoint p = APoint(s);
                Polyline->Points.AddPoint(p.X, p.Y);
            }
            break;
        case pPolygon:
            if (!PenLine(*Polygon, n, s) && !FillLine(*Polygon, n, s)) {
                const TGeoPoint p = APoint(s);
                Polygon->Points.AddPoint(p.X, p.Y);
            }
            break;
        case pCircle:
            if (PenLine(*Circle, n, s) || FillLine(*Circle, n, s))
                break;
            if (n == 5)
                Circle->Center = APoint(s);
            else if (n == 6)
                Circle->Radius = Length(s);
            break;
        case pELine:
            if (n == 1)
                Picture->OwnLineColor = StrToInt(s);
            else if (n == 2)
                Picture->OwnLineWidth = StrToFlt(s);
            break;
        case pTextOut:
            if (n == 1)
                GLine->TextPoint = APoint(s);
            break;
        case pSem: NewStyle ? RuleLine(s) : OldRuleLine(s); break;
        case pNone: break;
        }
    }

    // The line naming a style (">name": the own style is dropped) or a font. A font
    // starts a new own style in the current format; in the older one it completes the own
    // style made at the keyword.
    void StyleOrFontLine(QString& styleName, std::unique_ptr<TUserStyle>& own, const QString& s) const
    {
        if (s.startsWith(u'>')) {
            styleName = s;
            own.reset();
        } else if (NewStyle) {
            own = std::make_unique<TUserStyle>();
            own->FontName = s;
        } else if (own) {
            own->FontName = s;
        }
    }

    // The own style's colour (field 0), size (1) and flags (2); nothing while a named
    // style stands instead.
    void OwnStyleLine(std::unique_ptr<TUserStyle>& own, int field, const QString& s) const
    {
        if (!own)
            return;
        switch (field) {
        case 0: own->Color = StrToInt(s); break;
        case 1: own->Size = Length(s); break;
        case 2: own->FontStyle = ToFlags(s); break;
        default: break;
        }
    }

    void TextLine(int n, const QString& s)
    {
        switch (n) {
        case 1: Text->Text = s; break;
        case 2: Text->Angle = StrToFlt(s); break;
        case 3: Text->Position = ToPoint(s); break;
        case 4: StyleOrFontLine(Text->StyleName, Text->OwnStyle, s); break;
        case 5:
        case 6:
        case 7: OwnStyleLine(Text->OwnStyle, n - 5, s); break;
        default: break;
        }
    }

    // Older texts: colour, size, flags, style or font, screen angle, text, anchor.
    void OldTextLine(int n, const QString& s)
    {
        switch (n) {
        case 1:
        case 2:
        case 3: OwnStyleLine(Text->OwnStyle, n - 1, s); break;
        case 4: StyleOrFontLine(Text->StyleName, Text->OwnStyle, s); break;
        case 5: Text->Angle = WinToGeoAngle(StrToInt(s)); break;
        case 6: Text->Text = s; break;
        case 7: Text->Position = ToOldPoint(s); break;
        default: break;
        }
    }

    // Lines 1 to 6 of a caption rule, alike in both formats; false for any other line.
    bool RuleTextLine(int n, const QString& s)
    {
        if (n < 1 || n > 6)
            return false;
        *RuleTexts(*Rule)[n - 1] = s;
        return true;
    }

    // Caption rule lines; a named style skips the three own-style lines.
    void RuleLine(const QString& s)
    {
        if (PrimLine == 1)
            Field = 0;
        ++Field;
        if (RuleTextLine(Field, s))
            return;
        switch (Field) {
        case 7:
            StyleOrFontLine(Rule->StyleName, Rule->OwnStyle, s);
            if (s.startsWith(u'>'))
                Field = 10;
            break;
        case 8:
        case 9:
        case 10: OwnStyleLine(Rule->OwnStyle, Field - 8, s); break;
        case 11: Rule->Dx = StrToFlt(s); break;
        case 12: Rule->Dy = StrToFlt(s); break;
        case 13: Rule->Step = StrToFlt(s); break;
        case 14: Rule->Mode = ToByte(s); break;
        default: break;
        }
    }

    // Older rules: the own style before the style name, the shift in screen tenths, and
    // "1" for placing by step.
    void OldRuleLine(const QString& s)
    {
        if (RuleTextLine(PrimLine, s))
            return;
        switch (PrimLine) {
        case 7:
        case 8:
        case 9: OwnStyleLine(Rule->OwnStyle, PrimLine - 7, s); break;
        case 10: StyleOrFontLine(Rule->StyleName, Rule->OwnStyle, s); break;
        case 11: Rule->Dy = Length(s); break;
        case 12: Rule->Dx = -Length(s); break;
        case 13: Rule->Step = Length(s); break;
        case 14: Rule->Mode = s == u'1' ? 0 : 1; break;
        default: break;
        }
    }

    void NumberLine(const QString& s)
    {
        const int n = SectionLine;
        if (GLine) {
            RVpGLine& g = *GLine;
            if (n != 1)
                return;
            switch (Section) {
            case secPieceLength: g.PieceLength = Length(s); break;
            case secTextRepeat: g.TextRepeat = ToSmallInt(s); break;
            case secSegmentMiddle: g.SegmentMiddle = StrToInt(s) != 0 ? 1 : 0; break;
            case secCaptionStart: g.CaptionStart = StrToFlt(s); break;
            case secCaptionInterval: g.CaptionInterval = StrToFlt(s); break;
            default: break;
            }
            return;
        }
        if (!GPolygon)
            return;
        RVpGPolygon& g = *GPolygon;
        // The sections of several lines first; every other section has one.
        switch (Section) {
        case secStep1: Step(n, s, g.Fill1Kind, g.Fill1StepX, g.Fill1StepY); return;
        case secStep2: Step(n, s, g.Fill2Kind, g.Fill2StepX, g.Fill2StepY); return;
        case secStep3: Step(n, s, g.Fill3Kind, g.Fill3StepX, g.Fill3StepY); return;
        case secMargins:
            if (n == 1)
                g.MarginA = Length(s);
            else if (n == 2)
                g.MarginB = Length(s);
            return;
        case secFill:
            if (NewStyle) {
                if (n == 1) {
                    g.FillColor = StrToInt(s);
                    g.FillOn = 1;
                }
            } else if (n == 1) {
                g.FillOn = StrToInt(s) != 0 ? 1 : 0;
            } else if (n == 2) {
                g.FillColor = StrToInt(s);
            }
            return;
        case secTextStep:
            if (n == 1)
                g.TextStepKind = ToByte(s);
            else if (n == 2)
                g.TextStepX = StrToFlt(s);
            else if (n == 3)
                g.TextStepY = StrToFlt(s);
            return;
        default: break;
        }
        if (n != 1)
            return;
        switch (Section) {
        case secCenterOrientation: g.CenterOrientation = NewStyle ? ToByte(s) : 0; break;
        case secCornerShift: g.CornerShift = Length(s); break;
        case secPiece1Length: g.Piece1Length = Length(s); break;
        case secPiece2Length: g.Piece2Length = Length(s); break;
        case secDiagonals1Style: g.Diagonals1Style = ToByte(s); break;
        case secDiagonals1Length: g.Diagonals1Length = Length(s); break;
        case secDiagonals2Style: g.Diagonals2Style = ToByte(s); break;
        case secDiagonals2Length: g.Diagonals2Length = Length(s); break;
        case secCross1Style: g.Cross1Style = ToByte(s); break;
        case secCross1Length: g.Cross1Length = Length(s); break;
        case secCross1Step: g.Cross1Step = Length(s); break;
        case secCross1Size: g.Cross1Size = StrToFlt(s); break;
        case secCross2Style: g.Cross2Style = ToByte(s); break;
        case secCross2Length: g.Cross2Length = Length(s); break;
        case secCross2Size: g.Cross2Size = StrToFlt(s); break;
        default: break;   // "[Шаг поперечные2]" is read and ignored
        }
    }

    void Step(int n, const QString& s, std::uint8_t& kind, Extended& stepX, Extended& stepY)
    {
        if (n == 1)
            kind = ToByte(s);
        else if (n == 2)
            stepX = Length(s);
        else if (n == 3)
            stepY = Length(s);
    }

    TLmode Lm;
    bool NewStyle;
    RVpGPoint* Point;
    RVpGLine* GLine;
    RVpGPolygon* GPolygon;

    TSection Section = secNone;
    int SectionLine = 0;
    TVpLayers* Picture = nullptr;
    TPrim Prim = pNone;
    int PrimLine = 0;
    int Field = 0;   // a rule's field: its line number until a named style skips three
    bool ExpectKeyword = false;
    RVpText* Text = nullptr;
    RVpLine* VLine = nullptr;
    RVpPolyline* Polyline = nullptr;
    RVpPolygon* Polygon = nullptr;
    RVpCircle* Circle = nullptr;
    RSemText* Rule = nullptr;
};

// ---- The writer ----

void CheckText(const QString& text)
{
    if (text.contains(u'\r') || text.contains(u'\n'))
        throw Exception(QStringLiteral("Текст \"") + text +
                        QStringLiteral("\" содержит перевод строки и не может быть записан в условный знак"));
}

void WriteStyle(QStringList& out, const std::unique_ptr<TUserStyle>& own, const QString& styleName)
{
    if (own) {
        // A font name read back as a style name would drop the own style and shift the
        // lines after it.
        CheckText(own->FontName);
        if (own->FontName.startsWith(u'>'))
            throw Exception(QStringLiteral("Имя шрифта \"") + own->FontName +
                            QStringLiteral("\" начинается с \">\" и не может быть записано в условный знак"));
        out << own->FontName << QString::number(own->Color) << Fixed2(own->Size)
            << FromFlags(own->FontStyle);
    } else {
        CheckText(styleName);
        out << NamedStyleLine(styleName);
    }
}

// "*" and the keyword of a drawn primitive, its pen's colour and width and, for a polygon
// or a circle, its fill's style and colour: the order the reader takes them in.
void WritePen(QStringList& out, const char16_t* keyword, const TVpPen& pen)
{
    out << QStringLiteral("*") << QString::fromUtf16(keyword) << QString::number(pen.PenColor)
        << Fixed2(pen.PenWidth);
}

void WritePenAndFill(QStringList& out, const char16_t* keyword, const TVpPen& pen, const TVpFill& fill)
{
    WritePen(out, keyword, pen);
    out << QString::number(fill.FillStyle) << QString::number(fill.FillColor);
}

void WritePicture(QStringList& out, const TVpLayers& picture)
{
    for (const auto& element : picture) {
        for (const auto& p : element->Polygons) {
            WritePenAndFill(out, u"POLYGON", *p, *p);
            for (const auto& v : p->Points)
                out << Point2(*v);
        }
        for (const auto& c : element->Circles) {
            WritePenAndFill(out, u"CIRCLE", *c, *c);
            out << Point2(c->Center) << Fixed2(c->Radius);
        }
        for (const auto& l : element->Lines) {
            WritePen(out, u"LINE", *l);
            out << Point2(l->P1) << Point2(l->P2);
        }
        for (const auto& p : element->Polylines) {
            WritePen(out, u"POLYLINE", *p);
            for (const auto& v : p->Points)
                out << Point2(*v);
        }
        for (const auto& t : element->Texts) {
            CheckText(t->Text);
            out << QStringLiteral("*") << QStringLiteral("TEXT") << t->Text << FloatToFixed(t->Angle, 3)
                << Point2(t->Position);
            WriteStyle(out, t->OwnStyle, t->StyleName);
        }
    }
}

void WriteOwnLine(QStringList& out, const TVpLayers& picture)
{
    out << QStringLiteral("*") << QStringLiteral("ELINE") << QString::number(picture.OwnLineColor)
        << FltToStr(picture.OwnLineWidth);
}

void WriteCaptions(QStringList& out, const TSemTexts& captions)
{
    for (const auto& r : captions) {
        const auto texts = RuleTexts(*r);
        for (const QString* text : texts)
            CheckText(*text);
        out << QStringLiteral("*") << QStringLiteral("SEM");
        for (const QString* text : texts)
            out << *text;
        WriteStyle(out, r->OwnStyle, r->StyleName);
        out << Fixed2(r->Dx) << Fixed2(r->Dy) << Fixed2(r->Step) << QString::number(r->Mode);
    }
}

void WriteSection(QStringList& out, const char16_t* header, const TVpLayers& picture)
{
    if (picture.GetCount() == 0)
        return;
    out << QString::fromUtf16(header);
    WritePicture(out, picture);
}

void WritePoint(QStringList& out, const RVpGPoint& g)
{
    WriteSection(out, u"[Рисунок]", g.Picture);
    if (g.Captions.GetCount() > 0 || g.LeaderLineDefault) {
        out << QStringLiteral("[Надписи]");
        if (g.LeaderLineDefault)
            out << QStringLiteral("*") << QStringLiteral("EXISTSEMLINE");
        WriteCaptions(out, g.Captions);
    }
}

void WriteLine(QStringList& out, const RVpGLine& g)
{
    WriteSection(out, u"[Начало линии]", g.LineStart);
    WriteSection(out, u"[Конец линии]", g.LineEnd);
    WriteSection(out, u"[Начало сегмента]", g.SegmentStart);
    WriteSection(out, u"[Конец сегмента]", g.SegmentEnd);
    if (g.Piece1.GetCount() > 0 || g.Piece1.HasOwnLine || g.TextPoint.X != 0 || g.TextPoint.Y != 0) {
        out << QStringLiteral("[Отрезок1]");
        if (g.Piece1.HasOwnLine)
            WriteOwnLine(out, g.Piece1);
        WritePicture(out, g.Piece1);
        out << QStringLiteral("*") << QStringLiteral("TEXTOUT") << Point2(g.TextPoint);
    }
    WriteSection(out, u"[Отрезок2]", g.Piece2);
    if (g.Piece1.GetCount() > 0 || g.Piece2.GetCount() > 0) {
        out << QStringLiteral("[Повтор отрезка]") << Fixed2(g.PieceLength)
            << QStringLiteral("[Повтор текста]") << QString::number(g.TextRepeat);
    }
    if (g.Captions.GetCount() > 0) {
        out << QStringLiteral("[Середина сегмента]") << QString::number(g.SegmentMiddle ? 1 : 0)
            << QStringLiteral("[Начало надписей]") << Fixed2(g.CaptionStart)
            << QStringLiteral("[Интервал надписей]") << Fixed2(g.CaptionInterval)
            << QStringLiteral("[Надписи]");
        WriteCaptions(out, g.Captions);
    }
}

void WritePolygonPiece(QStringList& out, const char16_t* header, const TVpLayers& picture)
{
    if (picture.GetCount() == 0 && !picture.HasOwnLine)
        return;
    out << QString::fromUtf16(header);
    if (picture.HasOwnLine)
        WriteOwnLine(out, picture);
    WritePicture(out, picture);
}

void WritePolygon(QStringList& out, const RVpGPolygon& g)
{
    WriteSection(out, u"[Углы]", g.Corners);
    WritePolygonPiece(out, u"[Отрезок1]", g.Piece1);
    WritePolygonPiece(out, u"[Отрезок2]", g.Piece2);
    WriteSection(out, u"[Заполнение1]", g.Fill1);
    WriteSection(out, u"[Заполнение2]", g.Fill2);
    WriteSection(out, u"[Заполнение3]", g.Fill3);
    WriteSection(out, u"[В центре]", g.Center);
    WriteSection(out, u"[Диагонали1]", g.Diagonals1);
    WriteSection(out, u"[Диагонали2]", g.Diagonals2);
    WriteSection(out, u"[Поперечные1]", g.Cross1);
    WriteSection(out, u"[Поперечные2]", g.Cross2);

    const auto has = [](const TVpLayers& p) { return p.GetCount() > 0; };
    if (has(g.Center))
        out << QStringLiteral("[Ориентация в центре]") << QString::number(g.CenterOrientation);
    if (has(g.Corners))
        out << QStringLiteral("[Смещение углов]") << Fixed2(g.CornerShift);
    if (has(g.Piece1))
        out << QStringLiteral("[Повтор отрезка1]") << Fixed2(g.Piece1Length);
    if (has(g.Piece2))
        out << QStringLiteral("[Повтор отрезка2]") << Fixed2(g.Piece2Length);
    if (has(g.Fill1))
        out << QStringLiteral("[Шаг1]") << QString::number(g.Fill1Kind) << Fixed2(g.Fill1StepX)
            << Fixed2(g.Fill1StepY);
    if (has(g.Fill2))
        out << QStringLiteral("[Шаг2]") << QString::number(g.Fill2Kind) << Fixed2(g.Fill2StepX)
            << Fixed2(g.Fill2StepY);
    if (has(g.Fill3))
        out << QStringLiteral("[Шаг3]") << QString::number(g.Fill3Kind) << Fixed2(g.Fill3StepX)
            << Fixed2(g.Fill3StepY);
    if (has(g.Fill1) || has(g.Fill2) || has(g.Fill3))
        out << QStringLiteral("[Поля]") << Fixed2(g.MarginA) << Fixed2(g.MarginB);
    if (has(g.Diagonals1))
        out << QStringLiteral("[Стиль диагонали1]") << QString::number(g.Diagonals1Style)
            << QStringLiteral("[Повтор отрезка диагонали1]") << Fixed2(g.Diagonals1Length);
    if (has(g.Diagonals2))
        out << QStringLiteral("[Стиль диагонали2]") << QString::number(g.Diagonals2Style)
            << QStringLiteral("[Повтор отрезка диагонали2]") << Fixed2(g.Diagonals2Length);
    if (has(g.Cross1))
        out << QStringLiteral("[Стиль поперечные1]") << QString::number(g.Cross1Style)
            << QStringLiteral("[Повтор отрезка поперечные1]") << Fixed2(g.Cross1Length)
            << QStringLiteral("[Шаг поперечные1]") << Fixed2(g.Cross1Step)
            << QStringLiteral("[Величина поперечные1]") << Fixed2(g.Cross1Size);
    if (has(g.Cross2))
        out << QStringLiteral("[Стиль поперечные2]") << QString::number(g.Cross2Style)
            << QStringLiteral("[Повтор отрезка поперечные2]") << Fixed2(g.Cross2Length)
            << QStringLiteral("[Величина поперечные2]") << Fixed2(g.Cross2Size);
    if (g.FillOn)
        out << QStringLiteral("[Заливка]") << QString::number(g.FillColor);
    if (g.Captions.GetCount() > 0) {
        out << QStringLiteral("[Шаг текст]") << QString::number(g.TextStepKind)
            << Fixed2(g.TextStepX) << Fixed2(g.TextStepY) << QStringLiteral("[Надписи]");
        WriteCaptions(out, g.Captions);
    }
}

void AddLoadTrail(const QString& filename, const QString& workname, TLmode lm, bool newStyle)
{
    if (!trail_detail::BeginBlock(Module, "function TSymbols.LoadSymbol(const filename,workname:string; "
                                          "const lm:TLmode):boolean;"))
        return;
    if (!trail_detail::ArgumentsOn())
        return;
    trail_detail::AddLine(QStringLiteral("Arguments: filename:") + filename);
    trail_detail::AddLine(QStringLiteral("Arguments: workname:") + workname);
    trail_detail::AddLine(QStringLiteral("Arguments: lm:") + QString::number(lm));
    trail_detail::AddLine(newStyle ? QStringLiteral("Arguments: NewStyle: true")
                                   : QStringLiteral("Arguments: NewStyle: false"));
}

// The arguments of a failed write, each on a line of its own as the reports give them.
void AddSaveTrail(const QString& filename, TLmode lm)
{
    if (!trail_detail::BeginBlock(Module, "procedure TSymbols.SaveSymbol(const filename:string; const lm:TLmode);"))
        return;
    if (!trail_detail::ArgumentsOn())
        return;
    trail_detail::AddLine(QStringLiteral("Arguments: filename=") + filename);
    trail_detail::AddLine(QStringLiteral("Arguments: lm=") + QString::number(lm));
}

}  // namespace

bool TSymbols::ReadSymbolFile(const QString& filename, const QStringList& lines, TLmode lm,
                              bool& newStyle)
{
    newStyle = !lines.isEmpty() && lines[0] == HeaderLine;
    int first = 0;
    if (newStyle) {
        if (lines.size() < 2 || lines[1] != KindLines[lm])
            return false;
        first = 2;
    } else if (lines.isEmpty() || lines[0] != FirstOldHeader(lm)) {
        return false;
    }
    TSignReader reader(lm, newStyle, lm == lmPoint ? VpGPoints.Item : nullptr,
                       lm == lmLine ? VpGLines.Item : nullptr,
                       lm == lmPolygon ? VpGPolygons.Item : nullptr);
    int at = first;
    try {
        for (; at < lines.size(); ++at)
            reader.Line(lines[at]);
        reader.Finish();
    } catch (const std::exception& e) {
        throw Exception(QStringLiteral("Ошибка в файле условного знака ") + filename +
                        QStringLiteral(", строка ") + QString::number(at + 1) +
                        QStringLiteral(": ") + ExceptionMessage(e));
    }
    return true;
}

bool TSymbols::LoadSymbol(const QString& filename, const QString& workname, TLmode lm)
{
    bool newStyle = true;
    try {
        if (lm < lmPoint || lm > lmPolygon)
            return false;
        const QString path = FindExistingPath(filename);
        if (path.isEmpty() || !QFileInfo(path).isFile()) {
            ShowMsgDialog(QStringLiteral("Не найден файл!"),
                          QStringLiteral("При попытке загрузить условный знак не найден файл:") + filename);
            return false;
        }
        // A lone CR ends a line too, as on the platform the files come from: no value read
        // can then hold a line break, and every sign read can be written back.
        const QStringList lines = ReadTextFileLines(path, true);

        WithList(lm, [&](auto& list) {
            list.AddItem();
            list.Item->Code = workname;
        });
        bool read = false;
        try {
            read = ReadSymbolFile(path, lines, lm, newStyle);
        } catch (...) {
            DeleteCurrentSign(lm);   // no half-read sign stays in the library
            throw;
        }
        if (!read) {
            DeleteCurrentSign(lm);
            return false;
        }
        if (!newStyle)
            SaveSymbol(path, lm);
        return true;
    } catch (...) {
        AddLoadTrail(filename, workname, lm, newStyle);
        throw;
    }
}

QStringList TSymbols::SymbolLines(TLmode lm) const
{
    QStringList out;
    if (lm < lmPoint || lm > lmPolygon)
        return out;
    out << HeaderLine << KindLines[lm];
    if (lm == lmPoint && VpGPoints.Item)
        WritePoint(out, *VpGPoints.Item);
    else if (lm == lmLine && VpGLines.Item)
        WriteLine(out, *VpGLines.Item);
    else if (lm == lmPolygon && VpGPolygons.Item)
        WritePolygon(out, *VpGPolygons.Item);
    return out;
}

bool TSymbols::SaveSymbol(const QString& filename, TLmode lm)
{
    try {
        return WriteSymbolFile(filename, lm);
    } catch (...) {
        AddSaveTrail(filename, lm);
        throw;
    }
}

bool TSymbols::WriteSymbolFile(const QString& filename, TLmode lm)
{
    if (lm < lmPoint || lm > lmPolygon)
        return false;
    const bool hasCurrent = lm == lmPoint   ? VpGPoints.Item != nullptr
                            : lm == lmLine ? VpGLines.Item != nullptr
                                           : VpGPolygons.Item != nullptr;
    if (!hasCurrent)
        return false;
    QString target = filename;
    if (FileExistsIgnoringCase(filename)) {
        QString value = filename;
        const TModalResult answer = InpStrDialog(
            value, QStringLiteral("Файл уже существует!"),
            QStringLiteral("Попытка перезаписать существующий файл:") + filename + QChar(13) +
                QStringLiteral("Варианты: перезаписать,изменить имя, отказаться"));
        if (answer == mrCancel)
            return false;
        target = value;
    }
    if (target.trimmed().isEmpty())
        throw Exception(QStringLiteral("Не задано имя файла условного знака"));
    WriteTextFileLines(target, SymbolLines(lm));
    return true;
}
