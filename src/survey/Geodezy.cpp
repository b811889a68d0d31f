// The survey tools' double-precision geodetic routines. A wrong mode character is shown
// to the user, and the routine then goes on with its stated fallback: none of them
// raises.
#include "survey/Geodezy.h"

#include "foundation/ServDialogs.h"
#include "platform/Platform.h"

#include <cmath>

namespace Geodezy {

namespace {

QString& Message()
{
    static QString text;
    return text;
}

constexpr long double TwoPi = 6.283185307179586477L;
constexpr long double Pi = 3.141592653589793238L;

void Report(const QString& text)
{
    Message() = text;
    ShowMsgDialog(QStringLiteral("Информация"), text);
}

QString WrongMode(const QString& what, int position, const QString& allowed, QChar got)
{
    return QStringLiteral("Ошибка в модуле Geodezy- %1 - аргумент %2 должен быть %3; "
                          "передано значение: %4\"")
        .arg(what)
        .arg(position)
        .arg(allowed, QString(got));
}

// Stepping by 360 from a huge value would never end (the step is lost in rounding),
// so such a value is first cut to one turn; a positive whole number of turns stays 360.
double Reduced(double a)
{
    if (std::fabs(a) <= 1e6)
        return a;
    const double cut = std::fmod(a, 360.0);
    return cut == 0 && a > 0 ? 360.0 : cut;
}

} // namespace

const QString& LastMessage()
{
    return Message();
}

double NormAngle(double a)
{
    if (!std::isfinite(a))
        return a;
    a = Reduced(a);
    if (a >= 0) {
        while (a > 360)
            a -= 360;
    } else {
        while (a < 0)
            a += 360;
    }
    return a;
}

double NormNegative(double a)
{
    if (!std::isfinite(a))
        return a;
    a = Reduced(a);
    while (a < 0)
        a += 360;
    return a;
}

double NextDirAngle(double a1, double a2, QChar lr)
{
    double result;
    if (lr == u'R') {
        result = a1 + 180 - a2;
    } else {
        if (lr != u'L')
            Report(WrongMode(QStringLiteral("функция NextDirAngle"), 3,
                             QStringLiteral("\"L\" или \"R\""), lr));
        result = a1 + a2 - 180;
    }
    return NormAngle(NormNegative(result));
}

double Tangent(double x)
{
    return std::sin(x) / std::cos(x);
}

double DegreesToRadians(double x)
{
    return static_cast<double>(x * 0.0174532925199432957692L);
}

double RadiansToDegrees(double x)
{
    return static_cast<double>(x * 57.29577951308232088L);
}

double GMSToDegrees(int g, int m, double s)
{
    return (s / 60 + m) / 60 + g;
}

double GMToDegrees(int g, double m)
{
    return m / 60 + g;
}

void DegreesToGMS(int& g, int& m, double& s, double x)
{
    if (x == 0 || !std::isfinite(x) || std::fabs(x) > 2e9) {
        g = 0;
        m = 0;
        s = 0;
        return;
    }
    g = static_cast<int>(std::trunc(x));
    const double minutes = (x - g) * 60;
    m = static_cast<int>(std::trunc(minutes));
    s = (minutes - m) * 60;
}

double Rumb_Direct(double dy, double dx)
{
    if (dx == 0 && dy == 0) {
        Report(QStringLiteral("Ошибка в модуле Geodezy- функция Rumb_Direct - оба аргумента "
                              "не должны быть = \"0\" \""));
        return 0;
    }
    if (dx == 0)
        return dy > 0 ? 1.5707963267948966 : 4.71238898038469;
    const long double t = std::fabs(std::atan(dy / dx));
    if (dx > 0)
        return static_cast<double>(dy >= 0 ? t : TwoPi - t);
    return static_cast<double>(dy >= 0 ? Pi - t : Pi + t);
}

void OGZ(double x1, double y1, QChar gr, double x2, double y2, double& s, double& alfa,
         double& dx, double& dy)
{
    dx = x2 - x1;
    dy = y2 - y1;
    if (dx == 0 && dy == 0) {
        s = 0;
        alfa = 0;
        return;
    }
    if (gr == u'G')
        alfa = RadiansToDegrees(Rumb_Direct(dy, dx));
    else if (gr == u'R')
        alfa = Rumb_Direct(dy, dx);
    else
        Report(WrongMode(QStringLiteral("процедура OGZ"), 3,
                         QStringLiteral("\"G\" или \"R\""), gr));
    s = std::sqrt(dx * dx + dy * dy);
}

void PGZ(double x1, double y1, double l, double alfa, QChar gr, double& x2, double& y2,
         double& dx, double& dy)
{
    double radians;
    if (gr == u'R') {
        radians = alfa;
    } else {
        if (gr != u'G')
            Report(WrongMode(QStringLiteral("процедура PGZ"), 5,
                             QStringLiteral("\"G\" или \"R\""), gr));
        radians = DegreesToRadians(alfa);
    }
    dx = l * std::cos(radians);
    dy = l * std::sin(radians);
    x2 = x1 + dx;
    y2 = y1 + dy;
}

bool AllDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

void FixDecimalSeparator(const QString& s, QString& r)
{
    r = s;
    for (QChar& c : r)
        if ((c == u',' || c == u'.') && c != DecimalSeparator)
            c = DecimalSeparator;
}

} // namespace Geodezy
