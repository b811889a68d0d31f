// The commands on the point objects of a layer, and what the object commands share:
// the move to the layer their first two fields name, and the user-caption list that
// points, lines and polygons carry. Reals of points accept "," and "." alike.
#include "engine/GeoMap.h"

namespace {

// A coordinate of a point. The height interpolation writes its points' coordinates with
// a minimum width, padded with blanks on the left, which the conversion does not take.
Extended PointCoordinate(const TCommandFields& f, int i)
{
    const QString& text = f.Text(i);
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks) == QLatin1Char(' '))
        ++blanks;
    return CommandTextToRealAnySeparator(blanks == 0 ? text : text.mid(blanks));
}

// The values of a point from field first on: semantics, X, Y, precision, sign angle,
// user captions, all-captions-from-the-first, leader line.
struct RPointFields {
    QString Semantics;
    TGeoPoint Position;
    TPrecision Precision = DefaultPrecision;
    Extended SignAngle = 0;
    ArrUserTexts UserTexts;
    std::uint8_t AllUserTextsFromFirst = 0;
    std::uint8_t LeaderLine = 0;

    static RPointFields From(const TCommandFields& f, int first)
    {
        RPointFields p;
        p.Semantics = f.Text(first);
        const Extended x = PointCoordinate(f, first + 1);
        const Extended y = PointCoordinate(f, first + 2);
        p.Position = GeoPoint(x, y);
        p.Precision = f.Byte(first + 3);
        p.SignAngle = f.RealAnySeparator(first + 4);
        p.UserTexts = f.UserTexts(first + 5);
        p.AllUserTextsFromFirst = f.Byte(first + 6);
        p.LeaderLine = f.Byte(first + 7);
        return p;
    }

    // Stores every value; the caller settles a change of semantics first.
    void StoreInto(RGPoint& point) const
    {
        point.Semantics = Semantics;
        point.Position = Position;
        point.Precision = Precision;
        point.SignAngle = SignAngle;
        point.UserTexts.DeleteAll();
        for (const RUserText& u : UserTexts)
            point.UserTexts.AddItem(std::make_unique<RUserText>(u));
        point.AllUserTextsFromFirst = AllUserTextsFromFirst;
        point.LeaderLine = LeaderLine;
    }
};

}  // namespace

bool TGeoMap::MoveToCommandLayer(const TCommandFields& f)
{
    if (!Pages.GoItem(f.Int(0)))
        return false;
    return Pages.Item->Layers.GoItem(f.Int(1));
}

void TGeoMap::ForgetSign(QString& signName, TVpLayers& picture)
{
    signName.clear();
    picture.DeleteAll();
    picture.HasOwnLine = 0;
    picture.OwnLineColor = 0;
    picture.OwnLineWidth = 1;
}

void TGeoMap::CmdNewPoint(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    const RPointFields values = RPointFields::From(f, 2);
    auto point = std::make_unique<RGPoint>();
    values.StoreInto(*point);
    Pages.Item->Layers.Item->Points.AddItem(std::move(point));
}

void TGeoMap::CmdDelPoint(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGPoints& points = Pages.Item->Layers.Item->Points;
    if (points.GoItem(f.Int(2)))
        points.DeleteItem();
}

// Inner texts, automatic captions and the work name stay; a new semantics drops the
// sign chosen for the old one and its picture, so the sign is chosen again.
void TGeoMap::CmdSetPointProp(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGPoints& points = Pages.Item->Layers.Item->Points;
    if (!points.GoItem(f.Int(2)))
        return;
    const RPointFields values = RPointFields::From(f, 3);
    RGPoint& point = *points.Item;
    if (values.Semantics != point.Semantics)
        ForgetSign(point.SignName, point.Picture);
    values.StoreInto(point);
}

void TGeoMap::CmdChangePointOrder(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGPoints& points = Pages.Item->Layers.Item->Points;
    const int i = f.Int(2);
    if (!points.GoItem(i))
        return;
    points.ChangeItems(i, f.Int(3));
}
