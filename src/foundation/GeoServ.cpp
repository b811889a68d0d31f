// Geodetic routines in extended precision. The axis cases of the inverse task are
// decided by exact comparison so that the four axis directions come out exact.
#include "foundation/GeoServ.h"

#include "foundation/ErrorTrail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

const char* const ModuleName = "GeoServ";

// An angle must be finite: folding an infinite one would never end, and its parts
// would not fit the integers they are written into.
[[noreturn]] void RaiseBadAngle()
{
    throw Exception(QStringLiteral("Неверное значение угла"));
}

// Degrees must fit a 32-bit integer with room for a carry.
void CheckWholeDegrees(Extended x)
{
    if (!(std::fabs(x) < 2147483647.0L))
        RaiseBadAngle();
}

// The five steps of the inverse task on the difference vector (dX north, dY east).
TGeoAngle AxisAwareAngle(Extended dX, Extended dY)
{
    if (dX == 0 && dY == 0)
        return 0;
    if (dX == 0)
        return dY > 0 ? 90 : 270;
    if (dY == 0)
        return dX > 0 ? 0 : 180;
    return GeoArcTan(dY, dX);
}

}  // namespace

// ---- Angles ----

Extended fNormalAngle(Extended a)
{
    if (!std::isfinite(a))
        RaiseBadAngle();
    // One remainder instead of subtracting 360 in a loop: the same exact result
    // (each subtraction is exact), without a long loop on a large angle.
    if (a > 360) {
        a = std::fmod(a, 360.0L);
        if (a == 0)
            a = 360;
    } else if (a < 0) {
        a = std::fmod(a, 360.0L);
        a = a < 0 ? a + 360 : 0;   // -360 folds to 0, not to -0
    }
    return a;
}

TGeoAngle BetRight(TGeoAngle DirPrev, TGeoAngle DirNext)
{
    return fNormalAngle(DirPrev - DirNext + 180);
}

TGeoAngle BetLeft(TGeoAngle DirPrev, TGeoAngle DirNext)
{
    return fNormalAngle(DirNext - DirPrev + 180);
}

TGeoAngle NextDirAngle(TGeoAngle a1, TGeoAngle b, TAngleType at)
{
    TTrailGuard guard(ModuleName,
                      "Function: NextDirAngle(const a1, b:TGeoAngle; at:TAngleType):TGeoAngle;",
                      TrailArg("a1", a1), TrailArg("b", b), TrailArg("at", at));
    switch (at) {
    case atLeft:
        return fNormalAngle(a1 - 180 + b);
    case atRight:
        return fNormalAngle(a1 + 180 - b);
    }
    throw Exception(QStringLiteral("Неверный параметр"));
}

TGeoAngle GeoArcTan(Extended dy, Extended dx)
{
    TGeoAngle a = RadGrad(std::atan2(dy, dx));
    if (a <= 0)
        a += 360;
    return a;
}

Extended fGMS_GG(Extended g, Extended m, Extended s)
{
    return (s / 60 + m) / 60 + g;
}

void pGG_GMS(int& g, int& m, Extended& s, Extended GGMMSS)
{
    TTrailGuard guard(ModuleName,
                      "procedure: pGG_GMS(var g, m:integer; var s:extended; GGMMSS:extended);",
                      TrailArg("GGMMSS", GGMMSS));
    if (GGMMSS == 0) {
        g = 0;
        m = 0;
        s = 0;
        return;
    }
    CheckWholeDegrees(GGMMSS);
    g = static_cast<int>(Trunc(GGMMSS));
    const Extended minutes = (GGMMSS - g) * 60;
    m = static_cast<int>(Trunc(minutes));
    s = (minutes - m) * 60;
}

void pGG_GMSRound(int& g, int& m, Extended& s, Extended GGMMSS, int Decimals)
{
    TTrailGuard guard(ModuleName,
                      "procedure: pGG_GMSRound(var g, m:integer; var s:extended; "
                      "GGMMSS:extended; Decimals:integer);",
                      TrailArg("GGMMSS", GGMMSS), TrailArg("Decimals", Decimals));
    pGG_GMS(g, m, s, GGMMSS);
    if (Decimals < 0)
        Decimals = 0;
    if (Decimals > 9)
        Decimals = 9;
    Extended scale = 1;
    for (int i = 0; i < Decimals; ++i)
        scale *= 10;
    s = Round(s * scale) / scale;
    // The truncated minutes may sit one below the true value (x.1 degrees is not exact
    // in binary), leaving seconds a hair under 60: carry them rather than write 60.
    const int sign = GGMMSS < 0 ? -1 : 1;
    if (std::fabs(s) >= 60) {
        s -= 60 * sign;
        m += sign;
    }
    if (std::abs(m) >= 60) {   // also when the product itself rounded up to 60
        m = 0;
        g += sign;
    }
    if (s == 0)
        s = 0;   // no "-0" seconds
}

void GG_GM(int& g, Extended& m, Extended GGMM)
{
    TTrailGuard guard(ModuleName, "procedure: GG_GM(var g:integer; var m:extended; GGMM:extended);",
                      TrailArg("GGMM", GGMM));
    if (GGMM == 0) {
        g = 0;
        m = 0;
        return;
    }
    CheckWholeDegrees(GGMM);
    g = static_cast<int>(Trunc(GGMM));
    m = (GGMM - g) * 60;
}

// ---- Distances and the geodetic tasks ----

void OGZ(Extended X1Source, Extended Y1Source, Extended X2Source, Extended Y2Source,
         Extended& PS, TGeoAngle& PDirAngle)
{
    const Extended dX = X2Source - X1Source;
    const Extended dY = Y2Source - Y1Source;
    PDirAngle = AxisAwareAngle(dX, dY);
    if (dX == 0)
        PS = std::fabs(dY);
    else if (dY == 0)
        PS = std::fabs(dX);
    else
        PS = std::sqrt(dX * dX + dY * dY);
}

void DirAngle(Extended Dx, Extended Dy, TGeoAngle& Angle)
{
    Angle = AxisAwareAngle(Dx, Dy);
}

void DirAngle(const TGeoPoint& P1, const TGeoPoint& P2, TGeoAngle& Angle)
{
    Angle = AxisAwareAngle(P2.X - P1.X, P2.Y - P1.Y);
}

void Dist(Extended X1, Extended Y1, Extended X2, Extended Y2, Extended& PS)
{
    PS = std::sqrt((X1 - X2) * (X1 - X2) + (Y1 - Y2) * (Y1 - Y2));
}

void Dist(const TGeoPoint& P1, const TGeoPoint& P2, Extended& PS)
{
    Dist(P1.X, P1.Y, P2.X, P2.Y, PS);
}

int Dist(const QPoint& P1, const QPoint& P2)
{
    const Extended dx = Extended(P1.x()) - P2.x();
    const Extended dy = Extended(P1.y()) - P2.y();
    return static_cast<int>(Round(std::sqrt(dx * dx + dy * dy)));
}

void PGZ(Extended XSource, Extended YSource, Extended Line, TGeoAngle DirAngle,
         Extended& XResult, Extended& YResult)
{
    if (Line == 0) {
        XResult = XSource;
        YResult = YSource;
        return;
    }
    const Extended a = GradRad(DirAngle);
    XResult = XSource + Line * std::cos(a);
    YResult = YSource + Line * std::sin(a);
}

void PGZ2(Extended XSource, Extended YSource, Extended Line, Extended SinC, Extended CosC,
          Extended& XResult, Extended& YResult)
{
    if (Line == 0) {
        XResult = XSource;
        YResult = YSource;
        return;
    }
    XResult = XSource + CosC * Line;
    YResult = YSource + SinC * Line;
}

void RotateCoord(Extended X0, Extended Y0, TGeoAngle dA, Extended& X, Extended& Y)
{
    Extended distance = 0;
    TGeoAngle angle = 0;
    OGZ(X0, Y0, X, Y, distance, angle);
    PGZ(X0, Y0, distance, angle + dA, X, Y);
}

void OGZInt(int x1, int y1, int x2, int y2, int& Len, TGeoAngle& Angle)
{
    const Int64 dx = Int64(x2) - x1;
    const Int64 dy = Int64(y2) - y1;
    Angle = AxisAwareAngle(Extended(dx), Extended(dy));
    if (dx == 0)
        Len = static_cast<int>(dy < 0 ? -dy : dy);
    else if (dy == 0)
        Len = static_cast<int>(dx < 0 ? -dx : dx);
    else
        Len = static_cast<int>(Round(std::sqrt(Extended(dx) * dx + Extended(dy) * dy)));
}

QPoint PGZInt(int x, int y, Extended L, TGeoAngle angle)
{
    const Extended a = GradRad(angle);
    return QPoint(static_cast<int>(x + Round(L * std::cos(a))),
                  static_cast<int>(y + Round(L * std::sin(a))));
}

bool PointInLineRange(Extended x, Extended y, Extended x1, Extended y1, Extended x2,
                      Extended y2, Extended precision)
{
    Extended toStart = 0, toEnd = 0, length = 0;
    Dist(x, y, x1, y1, toStart);
    Dist(x, y, x2, y2, toEnd);
    Dist(x1, y1, x2, y2, length);
    return toStart + toEnd - length < precision;
}

TIntersectStatus RangeLineIntersect(Extended x1, Extended y1, Extended x2, Extended y2,
                                    Extended x3, Extended y3, Extended x4, Extended y4,
                                    Extended& xr, Extended& yr)
{
    xr = 0;
    yr = 0;
    if ((x1 == x3 && y1 == y3 && x2 == x4 && y2 == y4) ||
        (x1 == x4 && y1 == y4 && x2 == x3 && y2 == y3))
        return isSame;
    const Extended d = (x2 - x1) * (y4 - y3) - (y2 - y1) * (x4 - x3);
    const Extended na = (y1 - y3) * (x4 - x3) - (x1 - x3) * (y4 - y3);
    if (d == 0)
        return na == 0 ? isCollinear : isParallel;
    const Extended ua = na / d;
    const Extended ub = ((y1 - y3) * (x2 - x1) - (x1 - x3) * (y2 - y1)) / d;
    if (ua < 0 || ua > 1 || ub < 0 || ub > 1)
        return isNone;
    xr = x1 + ua * (x2 - x1);
    yr = y1 + ua * (y2 - y1);
    if (ua == 0 || ua == 1 || ub == 0 || ub == 1)
        return isEndCross;
    return isCross;
}

bool SegmentCrossesGeoRect(Extended X1, Extended Y1, Extended X2, Extended Y2,
                           const TGeoRect& Rect)
{
    for (std::size_t i = 0; i < Rect.size(); ++i) {
        const TGeoPoint& from = Rect[i];
        const TGeoPoint& to = Rect[(i + 1) % Rect.size()];
        Extended xr = 0, yr = 0;
        switch (RangeLineIntersect(X1, Y1, X2, Y2, from.X, from.Y, to.X, to.Y, xr, yr)) {
        case isCross:
        case isEndCross:   // through a corner, or an end on the edge
        case isSame:
            return true;
        case isCollinear: {
            // On the edge's line: met when the two stretches overlap, measured along the
            // axis the edge runs furthest.
            const bool alongX = std::fabs(to.X - from.X) >= std::fabs(to.Y - from.Y);
            const Extended a1 = alongX ? X1 : Y1, a2 = alongX ? X2 : Y2;
            const Extended e1 = alongX ? from.X : from.Y, e2 = alongX ? to.X : to.Y;
            if (std::max(std::min(a1, a2), std::min(e1, e2)) <= std::min(std::max(a1, a2), std::max(e1, e2)))
                return true;
            break;
        }
        default:
            break;
        }
    }
    return false;
}

bool SegmentCrossesGeoRect(const TGeoPoint& P1, const TGeoPoint& P2, const TGeoRect& Rect)
{
    return SegmentCrossesGeoRect(P1.X, P1.Y, P2.X, P2.Y, Rect);
}

// ---- Texts ----

QString IntToStrF(Int64 v, int digits)
{
    if (digits <= 0)
        return QString();
    // Through the unsigned type: the magnitude of the most negative value fits there.
    const std::uint64_t magnitude = v < 0 ? 0 - std::uint64_t(v) : std::uint64_t(v);
    QString s = QString::number(static_cast<qulonglong>(magnitude));
    if (s.size() < digits)
        s.prepend(QString(digits - s.size(), QLatin1Char('0')));
    else
        s.truncate(digits);
    return s;
}

QString SemExtToStr(TSemExt ext, bool FullInfo)
{
    static const char* const names[SemExtCount] = {
        "Материал", "Состояние", "Высота", "Диаметр", "Толщина", "Глубина",
        "Площадь", "Ширина", "Длина", "Сечение", "Объем", "Грузоподъемность",
        "Скорость", "Дебит", "Течение", "Давление", "Напряжение", "Количество",
        "Дата", "Имя", "Отметка", "Надпись", "Номер"};
    static const char* const codes[SemExtCount] = {
        "М", "С", "ГВ", "ГР", "ГТ", "ГГ", "ГП", "ГШ", "ГД", "ГС", "ГО", "ТГ",
        "ТС", "ТР", "ТП", "ТД", "ТН", "ТК", "ИД", "ИИ", "ИВ", "ИТ", "ИН"};
    const int i = static_cast<int>(ext);
    if (i < 0 || i >= SemExtCount)
        return QString();
    return QString::fromUtf8(FullInfo ? names[i] : codes[i]);
}
