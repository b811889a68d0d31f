// Names, nomenclatures, stamp frame polygons and coordinate labels.
#include "mainwindow/stamps/Stamps.h"

#include "engine/commands/MapCommand.h"
#include "foundation/DelphiFormat.h"

QString TrimNomenclatureTail(const QString& text)
{
    const qsizetype dash = text.lastIndexOf(QLatin1Char('-'));
    if (text.size() < 6 || dash < 0)
        return text;
    return text.left(dash);
}

QString NormaliseNomenclature(const QString& text)
{
    QString s = text;
    if (s.isEmpty())
        return s;
    for (int i = 0; i < 2 && s.startsWith(QLatin1Char('0')); ++i)
        s.remove(0, 1);
    if (s.size() >= 2 && s.at(s.size() - 2) == QLatin1Char('0'))
        s.remove(s.size() - 2, 1);
    return s;
}

QString StampSheetName(int number)
{
    const QString prefix = QStringLiteral("^штамп");
    if (number >= 1 && number <= 9)
        return prefix + QLatin1Char('0') + QString::number(number);
    return prefix + QString::number(number);
}

int NextStampNumber(const QStringList& names)
{
    const QString prefix = QStringLiteral("^штамп");
    int largest = 0;
    bool any = false;
    for (const QString& name : names) {
        if (!name.contains(prefix))
            continue;
        int number = 0;
        if (!TryStrToInt(name.mid(6), number))
            continue;
        if (!any || number > largest)
            largest = number;
        any = true;
    }
    return any ? largest + 1 : 1;
}

namespace {

struct TRing {
    std::vector<TGeoPoint> Points;
    TRing& Add(Extended x, Extended y)
    {
        Points.push_back(GeoPoint(x, y));
        return *this;
    }
};

QString NodeList(std::initializer_list<const TRing*> rings)
{
    QString nodes;
    for (const TRing* ring : rings)
        for (const TGeoPoint& p : ring->Points)
            nodes += TCommandValues().Fixed(p.X).Fixed(p.Y).Fixed(-1).Int(0).Int(0).Int(0).Int(0).Group();
    return nodes;
}

}  // namespace

std::array<RStampPolygon, 4> StampFramePolygons(Extended X1, Extended Y1, Extended X2, Extended Y2,
                                                Extended a, Extended b)
{
    TRing grownClosed;   // the stamp grown by a, closed
    grownClosed.Add(X1 + a, Y1 - a).Add(X1 + a, Y2 + a).Add(X2 - a, Y2 + a).Add(X2 - a, Y1 - a).Add(X1 + a, Y1 - a);
    TRing stampBack;     // the stamp itself, the other way round
    stampBack.Add(X1, Y1).Add(X2, Y1).Add(X2, Y2).Add(X1, Y2).Add(X1, Y1);
    const Extended c = a + b;
    TRing outerBack;     // grown by a + b, the other way round
    outerBack.Add(X1 + c, Y1 - c).Add(X2 - c, Y1 - c).Add(X2 - c, Y2 + c).Add(X1 + c, Y2 + c).Add(X1 + c, Y1 - c);
    TRing stamp;
    stamp.Add(X1, Y1).Add(X1, Y2).Add(X2, Y2).Add(X2, Y1);
    TRing grown;
    grown.Add(X1 + a, Y1 - a).Add(X1 + a, Y2 + a).Add(X2 - a, Y2 + a).Add(X2 - a, Y1 - a);
    return {{{QStringLiteral("ОФО/К110"), NodeList({&grownClosed, &stampBack})},
             {QStringLiteral("ОФО/К110"), NodeList({&grownClosed, &outerBack})},
             {QStringLiteral("ОФО/К313"), NodeList({&stamp})},
             {QStringLiteral("ОФО/К310"), NodeList({&grown})}}};
}

std::array<RCoordLabel, 2> CoordLabels(int quadrant, const TGeoPoint& cross,
                                       const std::array<Extended, 16>& offsets)
{
    if (quadrant < 1 || quadrant > 4)
        quadrant = 1;
    // Quadrants 1 and 3 write Y first, along the X axis; 2 and 4 write X first.
    const bool yFirst = quadrant == 1 || quadrant == 3;
    const std::size_t base = std::size_t(quadrant - 1) * 4;
    const auto label = [&](bool ofY, std::size_t offset) {
        RCoordLabel l;
        l.Text = FloatToStrF(ofY ? cross.Y : cross.X, ffFixed, 8, 0);
        l.At = GeoPoint(cross.X + offsets[offset], cross.Y + offsets[offset + 1]);
        l.Angle = ofY ? 900 : 0;
        return l;
    };
    return {label(yFirst, base), label(!yFirst, base + 2)};
}
