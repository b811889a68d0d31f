// Contour tracing (mode 22) and height interpolation (mode 24) between two height marks
// picked on the plan: a contour node interpolated linearly between them, the finished
// contour as a curved line, and new height marks spread along the segment.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"

#include <cmath>
#include <random>

namespace {

// A whole number of centimetres in [-round(100 w), round(100 w)) as metres: the scatter
// of an interpolated mark of half-width w metres.
Extended Scatter(const std::function<int(int)>& random, Extended w)
{
    const auto range = static_cast<long long>(std::nearbyint(200 * w));
    long long drawn = 0;
    if (range > 0) {
        if (random) {
            drawn = random(int(std::min<long long>(range, INT32_MAX)));
        } else {
            static std::mt19937 source{std::random_device{}()};
            drawn = std::uniform_int_distribution<long long>(0, range - 1)(source);
        }
    }
    return Extended(drawn - static_cast<long long>(std::nearbyint(100 * w))) / 100;
}

} // namespace

void TFormMap::AddTracePoint()
{
    const Extended H = ContourHeight;
    const Extended h1 = MarkHeight1, h2 = MarkHeight2;
    const TGeoPoint P1 = MarkPoint1, P2 = MarkPoint2;
    Extended D = 0;
    Dist(P1, P2, D);
    RCreateNode node;
    if (H == h1) {
        node.Point = P1;
    } else if (H == h2) {
        node.Point = P2;
    } else if (h1 >= h2 && h2 < H && H < h1) {
        TGeoAngle a = 0;
        DirAngle(P2, P1, a);
        node.Point = PGZ(P2, (H - h2) / (h1 - h2) * D, a);
    } else if (h1 < h2 && h1 < H && H < h2) {
        TGeoAngle a = 0;
        DirAngle(P1, P2, a);
        node.Point = PGZ(P1, (H - h1) / (h2 - h1) * D, a);
    } else {
        ShowMsgDialog(QStringLiteral("Горизонтали нет"),
                      QStringLiteral("Прокладываемая горизонталь не проходит между выбранными точками"));
        return;
    }
    CreateNodes.push_back(node);
    RedrawCreatingLine();
}

void TFormMap::SetCreateNodesCurved()
{
    for (RCreateNode& node : CreateNodes)
        node.Curve = 1;
}

void TFormMap::FinishTracedContour()
{
    const Extended h = ContourHeight;
    // Even whole heights are thickened contours (Ф021), every other height a plain one.
    if (h == std::trunc(h) && std::fmod(h, 2.0L) == 0)
        LineCode = QStringLiteral("ГОР/Ф021;ИВ") + FloatToStrF(h, ffFixed, 6, 0);
    else
        LineCode = QStringLiteral("ГОР/Ф011;ИВ") + FloatToStrF(h, ffFixed, 6, 1);
    SetCreateNodesCurved();
    CreateLineObject();
    // A contour of fewer than two nodes is refused and its node must not start the next
    // line drawn.
    CreateNodes.clear();
    SetMouseMode(mmSelectObject, 0, true);
}

void TFormMap::AddInterpolatedPoints()
{
    const int n = InterpolationCount;
    const Extended s = InterpolationStep;
    const Extended h1 = MarkHeight1, h2 = MarkHeight2;
    const TGeoPoint P1 = MarkPoint1, P2 = MarkPoint2;
    Extended D = 0;
    Dist(P1, P2, D);
    TGeoAngle A = 0;
    DirAngle(P1, P2, A);

    auto create = [this](const TGeoPoint& at, Extended height) {
        OtmPoint = at;
        OtmHeight = height;
        OtmPoint.X += Scatter(ScatterRandom, ScatterInPlan);
        OtmPoint.Y += Scatter(ScatterRandom, ScatterInPlan);
        OtmHeight += Scatter(ScatterRandom, ScatterInHeight);
        CreatePointObject();
    };

    // Each mark is a command, a journal line and a draw: a slip of the step or the count
    // (a step of a millimetre over a kilometre) would keep the program busy for hours, so
    // more marks than a surveyor ever sets between two heights are refused.
    constexpr Extended MaxMarks = 10000;
    const Extended wanted = n > 0 ? Extended(n) : (s > 0 ? std::ceil(D / s) : 0);
    if (wanted > MaxMarks) {
        ShowMsgDialog(QStringLiteral("Высотная интерполяция"),
                      QStringLiteral("Между отметками получается больше %1 новых отметок: "
                                     "увеличьте расстояние или уменьшите количество")
                          .arg(int(MaxMarks)));
        return;
    }

    Extended step = 0, dh = 0;
    int last = 0;
    if (n > 0) {
        step = D / (n + 1);
        dh = (h2 - h1) / (n + 1);
        last = n;
    } else if (n < 0) {
        // A step of zero or less is refused where it is typed; one left from elsewhere
        // makes no mark rather than an endless loop.
        const Extended k0 = s > 0 ? std::nearbyint(D / s) : 0;
        if (k0 < 1) {
            ShowMsgDialog(QStringLiteral("Высотная интерполяция"),
                          QStringLiteral("Отметки ближе половины расстояния между точками "
                                         "интерполирования: новых отметок нет"));
            return;
        }
        if (k0 == 1) {
            create(GeoPoint((P1.X + P2.X) / 2, (P1.Y + P2.Y) / 2), h1 + (h2 - h1) / 2);
        } else {
            Extended k = k0;
            step = D / k;
            while (step > s) {
                k += 1;
                step = D / k;
            }
            dh = (h2 - h1) / k;
            last = int(k) - 1;
        }
    }
    for (int i = 1; i <= last; ++i)
        create(PGZ(P1, i * step, A), h1 + i * dh);
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
}
