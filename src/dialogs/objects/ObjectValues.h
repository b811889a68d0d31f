// The values of one raster, text, point, line or polygon as the engine's getters report
// them, and the parameter strings of the commands that create or change such an object
// from them. The object windows hold these records while they are open; the move to
// another sheet or layer recreates an object from the record it read.
#pragma once

#include "engine/commands/MapCommand.h"
#include "foundation/GeoDataObjects.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class TGeoMap;

struct RRastrValues {
    QString Path;
    std::uint8_t Loaded = 0;
    TGeoPoint BL;          // the engine's lower-left corner
    TGeoPoint TR;          // upper right
    std::uint8_t Visible = 1;
    QString FilterName;
    int R = 100;
    int G = 100;
    int B = 100;
    int L = 200;
    std::uint8_t FilterOn = 0;
};

struct RTextValues {
    QString Text;
    Extended X = 0;
    Extended Y = 0;
    int Rotation = 0;               // tenths of a degree counter-clockwise from east
    Extended SizeFactor = 1;
    QString StyleName;              // as stored, ">" first
    std::uint8_t OwnFont = 0;       // 1: the four font values below are the text's own
    QString FontName;
    int Color = 0;
    Extended Size = 0;              // millimetres
    QString FontStyle = QStringLiteral("0000");
};

struct RPointValues {
    QString Semantics;
    Extended X = 0;
    Extended Y = 0;
    TPrecision Precision = DefaultPrecision;
    Extended SignAngle = 0;         // degrees clockwise from north
    int AutoTextCount = 0;          // shown only; no command carries it
    ArrUserTexts UserTexts;
    std::uint8_t AllFromFirst = 0;
    std::uint8_t CaptionLine = 0;   // 0 by the sign's rule, 1 on, 2 off
};

struct RLineValues {
    QString Semantics;
    ArrUserTexts UserTexts;
    bool Strip = false;
    Extended StripWidth = 0;        // metres
    TPrecision Precision = DefaultPrecision;
    int AutoTextCount = 0;
    QStringList OverLines;
    ArrLineNodes Nodes;
    // mcSetLineProp only: per node, the old node whose attached points it keeps (-1
    // none). Empty: the nodes are sent without it and keep none.
    std::vector<int> NodeOrigins;
};

struct RPolygonValues {
    QString Semantics;
    ArrPolygonNodes Nodes;
    TPrecision Precision = DefaultPrecision;
    ArrUserTexts UserTexts;
    Extended Dxz = 0;
    Extended Dyz = 0;
    ArrIntrPolygons Holes;
    int AutoTextCount = 0;
    int CaptionAngle = -1;          // tenths; < 0 by the sign's rule
};

// The object's values through the engine's getters; false, with the record left as it
// was, when the sheet, layer or object does not exist. The place read becomes current.
bool ReadRastr(TGeoMap& map, int page, int rastr, RRastrValues& v);
bool ReadText(TGeoMap& map, int page, int layer, int index, RTextValues& v);
bool ReadPoint(TGeoMap& map, int page, int layer, int index, RPointValues& v);
bool ReadLine(TGeoMap& map, int page, int layer, int index, RLineValues& v);
bool ReadPolygon(TGeoMap& map, int page, int layer, int index, RPolygonValues& v);

// mcNewRastr: the sheet, the path, the corners with three decimals, visibility, filter
// name, red, green, blue, brightness, filter on.
QString NewRastrParams(int page, const RRastrValues& v);
// mcSetRastrProp for raster rastr of sheet page, the same fields after the raster's index.
QString SetRastrPropParams(int page, int rastr, const RRastrValues& v);
// mcNewText and mcSetTextProp: X, Y, size factor and size with two decimals, the style
// name with "*" first, and the closing 0 the senders add.
QString NewTextParams(int page, int layer, const RTextValues& v);
QString SetTextParams(int page, int layer, int index, const RTextValues& v);
// mcNewText as the copy command sends it: the same fields without the closing 0.
QString NewTextCopyParams(int page, int layer, const RTextValues& v);
// mcNewPoint and mcSetPointProp: X and Y by the point's precision, the sign angle "%f".
QString NewPointParams(int page, int layer, const RPointValues& v);
QString SetPointParams(int page, int layer, int index, const RPointValues& v);
// mcNewLine and mcSetLineProp.
QString NewLineParams(int page, int layer, const RLineValues& v);
QString SetLineParams(int page, int layer, int index, const RLineValues& v);
// mcNewPolygon and mcSetPolygonProp, the nodes with their curve flags.
QString NewPolygonParams(int page, int layer, const RPolygonValues& v);
QString SetPolygonParams(int page, int layer, int index, const RPolygonValues& v);
