// Object values read through the engine's getters, and the command parameters made of them.
#include "dialogs/objects/ObjectValues.h"

#include "dialogs/objects/ObjectFields.h"
#include "engine/GeoMap.h"

namespace {

bool InRange(int index, int count)
{
    return index >= 0 && index < count;
}

// The thirteen fields of a text from the text on, without the closing 0.
TCommandParams& TextFields(TCommandParams& p, const RTextValues& v)
{
    return p.Text(v.Text)
        .Fixed(v.X)
        .Fixed(v.Y)
        .Int(v.Rotation)
        .Fixed(v.SizeFactor)
        .Text(StyleNameField(v.StyleName))
        .Int(v.OwnFont)
        .Text(v.FontName)
        .Int(v.Color)
        .Fixed(v.Size)
        .Text(v.FontStyle);
}

TCommandParams& PointFields(TCommandParams& p, const RPointValues& v)
{
    const int decimals = CoordDecimals(v.Precision);
    return p.Text(v.Semantics)
        .Fixed(v.X, decimals)
        .Fixed(v.Y, decimals)
        .Int(v.Precision)
        .Fixed(v.SignAngle)
        .Field(UserTextsField(v.UserTexts))
        .Int(v.AllFromFirst)
        .Int(v.CaptionLine);
}

TCommandParams& LineFields(TCommandParams& p, const RLineValues& v, bool withOrigins)
{
    return p.Text(v.Semantics)
        .Field(UserTextsField(v.UserTexts))
        .Int(v.Strip ? 1 : 0)
        .Fixed(v.StripWidth)
        .Int(v.Precision)
        .Field(OverLinesField(v.OverLines))
        .Field(LineNodesField(v.Nodes, v.Precision,
                              withOrigins && !v.NodeOrigins.empty() ? &v.NodeOrigins : nullptr));
}

TCommandParams& PolygonFields(TCommandParams& p, const RPolygonValues& v)
{
    return p.Text(v.Semantics)
        .Field(PolygonNodesField(v.Nodes, v.Precision))
        .Int(v.Precision)
        .Field(UserTextsField(v.UserTexts))
        .Fixed(v.Dxz)
        .Fixed(v.Dyz)
        .Field(IntrPolygonsField(v.Holes, v.Precision))
        .Int(v.CaptionAngle);
}

// The raster's path, corners, visibility and filter, shared by its new and set commands.
TCommandParams& RastrFields(TCommandParams& p, const RRastrValues& v)
{
    return p.Text(v.Path)
        .Fixed(v.BL.X, 3)
        .Fixed(v.BL.Y, 3)
        .Fixed(v.TR.X, 3)
        .Fixed(v.TR.Y, 3)
        .Int(v.Visible)
        .Text(v.FilterName)
        .Int(v.R)
        .Int(v.G)
        .Int(v.B)
        .Int(v.L)
        .Int(v.FilterOn);
}

}  // namespace

bool ReadRastr(TGeoMap& map, int page, int rastr, RRastrValues& v)
{
    if (!InRange(rastr, map.GetRastrsCount(page)))
        return false;
    map.GetRastrProp(page, rastr, v.Path, v.Loaded, v.BL, v.TR, v.Visible, v.FilterName, v.R, v.G,
                     v.B, v.L, v.FilterOn);
    return true;
}

bool ReadText(TGeoMap& map, int page, int layer, int index, RTextValues& v)
{
    if (!InRange(index, map.GetTextsCount(page, layer)))
        return false;
    bool own = false;
    map.GetTextProp(page, layer, index, v.Text, v.X, v.Y, v.Rotation, v.SizeFactor, v.StyleName,
                    own, v.FontName, v.Color, v.Size, v.FontStyle);
    v.OwnFont = own ? 1 : 0;
    return true;
}

bool ReadPoint(TGeoMap& map, int page, int layer, int index, RPointValues& v)
{
    if (!InRange(index, map.GetPointsCount(page, layer)))
        return false;
    map.GetPointProp(page, layer, index, v.Semantics, v.X, v.Y, v.Precision, v.SignAngle,
                     v.AutoTextCount, v.UserTexts, v.AllFromFirst, v.CaptionLine);
    return true;
}

bool ReadLine(TGeoMap& map, int page, int layer, int index, RLineValues& v)
{
    if (!InRange(index, map.GetLinesCount(page, layer)))
        return false;
    QStringList overLines;   // the getter copies the list only when the line has some
    map.GetLineProp(page, layer, index, v.Semantics, v.UserTexts, v.Strip, v.StripWidth,
                    v.Precision, v.AutoTextCount, overLines, v.Nodes);
    v.OverLines = overLines;
    return true;
}

bool ReadPolygon(TGeoMap& map, int page, int layer, int index, RPolygonValues& v)
{
    if (!InRange(index, map.GetPolygonsCount(page, layer)))
        return false;
    map.GetPolygonProp(page, layer, index, v.Semantics, v.Nodes, v.Precision, v.UserTexts, v.Dxz,
                       v.Dyz, v.Holes, v.AutoTextCount, v.CaptionAngle);
    return true;
}

QString NewRastrParams(int page, const RRastrValues& v)
{
    TCommandParams p;
    p.Int(page);
    return RastrFields(p, v).Str();
}

QString SetRastrPropParams(int page, int rastr, const RRastrValues& v)
{
    TCommandParams p;
    p.Int(page).Int(rastr);
    return RastrFields(p, v).Str();
}

QString NewTextParams(int page, int layer, const RTextValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer);
    return TextFields(p, v).Int(0).Str();
}

QString NewTextCopyParams(int page, int layer, const RTextValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer);
    return TextFields(p, v).Str();
}

QString SetTextParams(int page, int layer, int index, const RTextValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer).Int(index);
    return TextFields(p, v).Int(0).Str();
}

QString NewPointParams(int page, int layer, const RPointValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer);
    return PointFields(p, v).Str();
}

QString SetPointParams(int page, int layer, int index, const RPointValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer).Int(index);
    return PointFields(p, v).Str();
}

QString NewLineParams(int page, int layer, const RLineValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer);
    return LineFields(p, v, false).Str();
}

QString SetLineParams(int page, int layer, int index, const RLineValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer).Int(index);
    return LineFields(p, v, true).Str();
}

QString NewPolygonParams(int page, int layer, const RPolygonValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer);
    return PolygonFields(p, v).Str();
}

QString SetPolygonParams(int page, int layer, int index, const RPolygonValues& v)
{
    TCommandParams p;
    p.Int(page).Int(layer).Int(index);
    return PolygonFields(p, v).Str();
}
