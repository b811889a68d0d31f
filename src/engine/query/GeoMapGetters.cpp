// The property getters: copies of one object's properties for the property windows,
// and the object counts of a layer or sheet. A position that does not exist assigns
// nothing, so the window keeps what it showed.
#include "engine/GeoMap.h"

#include "engine/query/QueryLookup.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "semantics/signs/Symbols.h"

namespace {

ArrUserTexts CopyUserTexts(const TUserTexts& texts)
{
    ArrUserTexts copy;
    copy.reserve(static_cast<size_t>(texts.GetCount()));
    for (const auto& t : texts)
        copy.push_back(*t);
    return copy;
}

ArrPolygonNodes CopyPolygonNodes(const TGPolygonNodes& nodes)
{
    ArrPolygonNodes copy;
    copy.reserve(static_cast<size_t>(nodes.GetCount()));
    for (const auto& n : nodes)
        copy.push_back(*n);
    return copy;
}

// The object at Page, Layer, Index of the layer's list chosen by member, made
// current with its sheet and layer; null when any of them does not exist.
template <class M>
auto GoToLayerObject(TGPages& pages, int page, int layer, int index, M member)
    -> decltype((std::declval<RGLayer&>().*member).Item)
{
    RGLayer* l = GoToLayer(pages, page, layer);
    return l ? GoToObject(l->*member, index) : nullptr;
}

template <class M>
int LayerListCount(TGPages& pages, int page, int layer, M member)
{
    RGLayer* l = GoToLayer(pages, page, layer);
    return l ? (l->*member).GetCount() : -1;
}

}  // namespace

void TGeoMap::GetPointProp(int Page, int Layer, int Index, QString& sem, Extended& X, Extended& Y,
                           TPrecision& precision, Extended& SignAngle, int& AutoTextCount,
                           ArrUserTexts& UserTexts, std::uint8_t& AllUserTextsFromFirst,
                           std::uint8_t& LeaderLine)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetPointProp(Page,Layer,Index:integer; ...);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer), TrailArg("Index", Index));
    const RGPoint* p = GoToLayerObject(Pages, Page, Layer, Index, &RGLayer::Points);
    if (!p)
        return;
    sem = p->Semantics;
    X = p->Position.X;
    Y = p->Position.Y;
    precision = p->Precision;
    SignAngle = p->SignAngle;
    AutoTextCount = p->AutoTexts.GetCount();
    UserTexts = CopyUserTexts(p->UserTexts);
    AllUserTextsFromFirst = p->AllUserTextsFromFirst;
    LeaderLine = p->LeaderLine;
}

void TGeoMap::GetTextProp(int Page, int Layer, int Index, QString& text, Extended& X, Extended& Y,
                          int& rotation, Extended& SizeFactor, QString& StyleName, bool& OwnStyle,
                          QString& FontName, int& Color, Extended& Size, QString& FontStyle)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetTextProp(Page,Layer,Index:integer; ...);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer), TrailArg("Index", Index));
    const RGText* t = GoToLayerObject(Pages, Page, Layer, Index, &RGLayer::Texts);
    if (!t)
        return;
    text = t->Text;
    X = t->Position.X;
    Y = t->Position.Y;
    rotation = t->Angle;
    SizeFactor = t->SizeFactor;
    StyleName = t->StyleName;
    OwnStyle = t->OwnStyle != nullptr;
    TUserStyle style;
    if (t->OwnStyle) {
        style = *t->OwnStyle;
    } else {
        // Resolved as the drawing resolves it, but in millimetres: the window shows and
        // edits sizes in millimetres, never in the measuring canvas's dots.
        RVpText named;
        named.StyleName = t->StyleName;
        Symbols->SelectTextStyleOver(named, style);
    }
    FontName = style.FontName;
    Color = style.Color;
    Size = style.Size;
    FontStyle = FontStylesToStr(style.FontStyle);
}

void TGeoMap::GetRastrProp(int Page, int Rastr, QString& path, std::uint8_t& loaded,
                           TGeoPoint& BL, TGeoPoint& TR, std::uint8_t& Visible,
                           QString& FilterName, int& R, int& G, int& B, int& L,
                           std::uint8_t& FilterOn)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetRastrProp(Page,Rastr:integer; ...);",
                      TrailArg("Page", Page), TrailArg("Rastr", Rastr));
    if (!Pages.GoItem(Page))
        return;
    const RGRastr* r = GoToObject(Pages.Item->Rastrs, Rastr);
    if (!r)
        return;
    path = r->FileName;
    loaded = r->Loaded;
    BL = r->BottomLeft;
    TR = r->TopRight;
    Visible = r->Visible;
    FilterName = r->FilterName;
    R = r->Red;
    G = r->Green;
    B = r->Blue;
    L = r->Brightness;
    FilterOn = r->FilterOn;
}

void TGeoMap::GetLineProp(int Page, int Layer, int Index, QString& sem, ArrUserTexts& UserTexts,
                          bool& FalsePolygon, Extended& FalsePolygonW, TPrecision& Precision,
                          int& AutoTextCount, QStringList& OverLines, ArrLineNodes& Nodes)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetLineProp(Page,Layer,Index:integer; ...);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer), TrailArg("Index", Index));
    const RGLine* l = GoToLayerObject(Pages, Page, Layer, Index, &RGLayer::Lines);
    if (!l)
        return;
    sem = l->Semantics;
    UserTexts = CopyUserTexts(l->UserTexts);
    FalsePolygon = l->Strip != 0;
    FalsePolygonW = l->StripWidth;
    Precision = l->Precision;
    AutoTextCount = l->AutoTexts.GetCount();
    if (!l->OverLines.isEmpty())
        OverLines = l->OverLines;
    ArrLineNodes nodes;
    nodes.reserve(static_cast<size_t>(l->Nodes.GetCount()));
    for (const auto& n : l->Nodes)
        nodes.push_back(static_cast<const RGLineNodeData&>(*n));
    Nodes = std::move(nodes);
}

void TGeoMap::GetPolygonProp(int Page, int Layer, int Index, QString& sem, ArrPolygonNodes& Nodes,
                             TPrecision& Precision, ArrUserTexts& UserTexts, Extended& Dxz,
                             Extended& Dyz, ArrIntrPolygons& IntrPolygons, int& AutoTextCount,
                             int& CaptionAngle)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetPolygonProp(Page,Layer,Index:integer; ...);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer), TrailArg("Index", Index));
    const RGPolygon* p = GoToLayerObject(Pages, Page, Layer, Index, &RGLayer::Polygons);
    if (!p)
        return;
    sem = p->Semantics;
    Nodes = CopyPolygonNodes(p->Nodes);
    Precision = p->Precision;
    UserTexts = CopyUserTexts(p->UserTexts);
    Dxz = p->CaptionShift.X;
    Dyz = p->CaptionShift.Y;
    ArrIntrPolygons holes;
    holes.reserve(static_cast<size_t>(p->Holes.GetCount()));
    for (const auto& h : p->Holes)
        holes.push_back(CopyPolygonNodes(h->Nodes));
    IntrPolygons = std::move(holes);
    AutoTextCount = p->AutoTexts.GetCount();
    CaptionAngle = p->CaptionAngle;
}

void TGeoMap::GetPointSymbol(int Page, int Layer, int Index, QString& SignName)
{
    if (const RGPoint* p = GoToLayerObject(Pages, Page, Layer, Index, &RGLayer::Points))
        SignName = p->SignName;
}

void TGeoMap::GetLineSymbol(int Page, int Layer, int Index, QString& SignName)
{
    if (const RGLine* l = GoToLayerObject(Pages, Page, Layer, Index, &RGLayer::Lines))
        SignName = l->SignName;
}

void TGeoMap::GetPolygonSymbol(int Page, int Layer, int Index, QString& SignName)
{
    if (const RGPolygon* p = GoToLayerObject(Pages, Page, Layer, Index, &RGLayer::Polygons))
        SignName = p->SignName;
}

int TGeoMap::GetPointsCount(int Page, int Layer)
{
    return LayerListCount(Pages, Page, Layer, &RGLayer::Points);
}

int TGeoMap::GetTextsCount(int Page, int Layer)
{
    return LayerListCount(Pages, Page, Layer, &RGLayer::Texts);
}

int TGeoMap::GetLinesCount(int Page, int Layer)
{
    return LayerListCount(Pages, Page, Layer, &RGLayer::Lines);
}

int TGeoMap::GetPolygonsCount(int Page, int Layer)
{
    return LayerListCount(Pages, Page, Layer, &RGLayer::Polygons);
}

int TGeoMap::GetRastrsCount(int Page)
{
    return Pages.GoItem(Page) ? Pages.Item->Rastrs.GetCount() : -1;
}
