// The tacheometry computation: every observed row through the forward task from the
// station, the elevation from the vertical angle, and the semantics of the object made.
// The whole grid is read and checked before any object is returned, so a bad cell never
// leaves half a station in the plan.
#include "survey/tacheo/TaheoCalc.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "survey/Geodezy.h"

#include <cmath>
#include <limits>

namespace UnitInputTaheo {

namespace {

const QString BadNumber = QStringLiteral("Некорректный вид вещественного числа в строковом формате");

QStringList DefaultRow(const QString& name, int signColumn)
{
    QStringList row;
    for (int c = 0; c < GridColumns; ++c)
        row << (c == 0 ? name : c == signColumn ? QStringLiteral("+") : QStringLiteral("0"));
    return row;
}

// The grid's columns by meaning.
struct RColumns {
    int AngleG, AngleM, S, Sign, VertG, VertM, V;
};
constexpr RColumns ClassicColumns{1, 2, 3, 4, 5, 6, 7};
constexpr RColumns TaheoColumns{3, 4, 1, 5, 6, 7, 2};

[[noreturn]] void BadCell(int row, int column, const QString& text)
{
    throw Exception(QStringLiteral("Строка %1, столбец %2: \"%3\" - не число")
                        .arg(row + 1)
                        .arg(column + 1)
                        .arg(text));
}

const QString& Cell(const TTaheoRows& rows, int row, int column)
{
    static const QString empty;
    const QStringList& r = rows[row];
    return column < r.size() ? r[column] : empty;
}

// A real cell: either decimal separator, then the platform's conversion.
Extended RealCell(const TTaheoRows& rows, int row, int column)
{
    const QString& text = Cell(rows, row, column);
    QString fixed;
    Geodezy::FixDecimalSeparator(text, fixed);
    Extended value = 0;
    if (!TryStrToFloat(fixed, value) || !std::isfinite(value))
        BadCell(row, column, text);
    return value;
}

int IntegerCell(const TTaheoRows& rows, int row, int column)
{
    const QString& text = Cell(rows, row, column);
    int value = 0;
    if (!TryStrToInt(text, value))
        BadCell(row, column, text);
    return value;
}

// A name or code that would split the semantics string or the command fields.
bool SplitsFields(const QString& text)
{
    for (const QChar c : text)
        if (c == u';' || c == u'<' || c == u'>' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

} // namespace

QStringList SetDefLine(const QString& name) { return DefaultRow(name, ClassicSignColumn); }

QStringList SetDefLine2(const QString& name) { return DefaultRow(name, TaheoSignColumn); }

QString NextRowName(const QString& name)
{
    if (!Geodezy::AllDigits(name))
        return QStringLiteral("1");
    bool ok = false;
    const qlonglong n = name.toLongLong(&ok);
    return ok && n < std::numeric_limits<qlonglong>::max() ? QString::number(n + 1)
                                                          : QStringLiteral("1");
}

QString NamePart(const QString& name)
{
    const qsizetype slash = name.indexOf(u'/');
    return slash < 0 ? name : name.left(slash);
}

QString CodeItem(const QString& name)
{
    const qsizetype slash = name.indexOf(u'/');
    if (slash < 0)
        return QString();
    QString code = name.mid(slash + 1);
    const qsizetype blank = code.indexOf(u' ');
    if (blank >= 0)
        code.truncate(blank);
    return code.isEmpty() ? QString() : QStringLiteral("ИИ") + code + u';';
}

Extended StrToFlt(const QString& s)
{
    TTrailGuard guard("UnitInputTaheo", "function StrToFlt(const s:string):extended;",
                      TrailArg("s", s));
    int digits = 0, separators = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u',' || c == u'.')
            ++separators;
        else if (!((c == u'+' || c == u'-') && i == 0))
            throw Exception(BadNumber);
    }
    if (digits == 0 || separators > 1)
        throw Exception(BadNumber);
    QString fixed;
    Geodezy::FixDecimalSeparator(s, fixed);
    return StrToFloat(fixed);
}

TGeoAngle SightDirection(Extended horizontalAngle, const RTaheoSettings& s)
{
    if (s.DirectionAngles)
        return horizontalAngle;
    TGeoAngle alpha0 = 0;
    if (s.OrientByCoord) {
        Extended distance = 0;
        OGZ(s.OrX, s.OrY, s.X0, s.Y0, distance, alpha0);
    } else {
        alpha0 = Geodezy::GMToDegrees(s.AlphaG, double(s.AlphaM));
        if (s.StationToPoint)
            alpha0 = fNormalAngle(alpha0 + 180);
    }
    // The measured angle is read clockwise from the sight towards the orientation point.
    return NextDirAngle(alpha0, horizontalAngle, atLeft);
}

std::vector<RTaheoObject> CalculateObjects(const TTaheoRows& rows, const RTaheoSettings& s)
{
    const RColumns col = s.TaheoGrid ? TaheoColumns : ClassicColumns;
    const int count = int(rows.size()) - 1;
    if (s.Objects == toLine && count < 2)
        throw Exception(QStringLiteral("Для линейного объекта нужны хотя бы 2 точки"));
    if (s.Objects == toPolygon && count < 3)
        throw Exception(QStringLiteral("Для площадного объекта нужны хотя бы 3 точки"));

    for (const QChar c : s.Sem)
        if (c == u'<' || c == u'>' || c == u'\r' || c == u'\n')
            throw Exception(QStringLiteral("Семантика \"%1\" не может содержать символы < >")
                                .arg(s.Sem));

    std::vector<RTaheoObject> objects;
    for (int r = 0; r < count; ++r) {
        RTaheoObject o;
        o.Name = Cell(rows, r, 0);
        const QString number = NamePart(o.Name);   // the classic grid drops the code
        const QString code = s.TaheoGrid ? CodeItem(o.Name) : QString();
        const QString typedCode = code.isEmpty() ? QString() : code.mid(2, code.size() - 3);
        if (s.Objects == toPiket && (SplitsFields(number) || SplitsFields(typedCode)))
            throw Exception(QStringLiteral("Строка %1: название \"%2\" не может содержать "
                                           "символы ; < >")
                                .arg(r + 1)
                                .arg(o.Name));

        const Extended S = RealCell(rows, r, col.S);
        const Extended A = Geodezy::GMToDegrees(IntegerCell(rows, r, col.AngleG),
                                                double(RealCell(rows, r, col.AngleM)));
        const TGeoAngle alpha = SightDirection(A, s);
        Extended d = S;
        if (s.Full) {
            double nu = Geodezy::GMToDegrees(IntegerCell(rows, r, col.VertG),
                                             double(RealCell(rows, r, col.VertM)));
            if (Cell(rows, r, col.Sign) == u"-")
                nu = -nu;
            if (s.TaheoGrid && s.Vertical == vcZenith0)
                nu = 90 - nu;
            else if (s.TaheoGrid && s.Vertical == vc360 && nu > 270)
                nu -= 360;
            const Extended V = RealCell(rows, r, col.V);
            const double radians = Geodezy::DegreesToRadians(nu);
            d = S * std::cos(radians);
            const Extended h = d * Geodezy::Tangent(radians);
            o.H = h + s.Hst + s.I - V / 1000;
        }
        o.Position = PGZ(GeoPoint(s.X0, s.Y0), d, alpha);
        if (!std::isfinite(o.Position.X) || !std::isfinite(o.Position.Y) || !std::isfinite(o.H))
            BadCell(r, col.S, Cell(rows, r, col.S));

        const QString H = QStringLiteral("ИВ") + FloatToFixed(o.H, 2) + u';';
        switch (s.Objects) {
        case toPiket:
            o.Semantics = QStringLiteral("ПКТ/ИН") + number + u';' + (s.Full ? H : QString()) + code;
            break;
        case toPoint:
            o.Semantics = s.Full ? s.Sem + u';' + H : s.Sem;
            break;
        default:
            o.Semantics = s.Sem;
            break;
        }
        objects.push_back(o);
    }
    return objects;
}

void ImportStation(const TTotalStationFile& file, int station, TTaheoRows& rows,
                   QString& instrumentHeight)
{
    const bool sdr = file.Format == TTotalStationFormat::Sdr;
    const QString height = file.InstrumentHeight(station);
    if (sdr || !height.isEmpty())
        instrumentHeight = height;
    rows = {SetDefLine2(QStringLiteral("1"))};

    // Whole degrees and minutes with three decimals into two cells.
    const auto angle = [](const QString& text, QString& degrees, QString& minutes) {
        int g = 0;
        Extended m = 0;
        GG_GM(g, m, StrToFlt(text));
        degrees = QString::number(g);
        minutes = FloatToFixed(m, 3);
    };
    for (const RFieldObservation& o : file.Observations(station)) {
        QStringList& row = rows.last();
        row[0] = o.Target;
        if (sdr || !o.SlopeDistance.isEmpty())
            row[1] = o.SlopeDistance;
        if (sdr || !o.TargetHeight.isEmpty())
            row[2] = QString::number(qlonglong(std::nearbyint(StrToFlt(o.TargetHeight) * 1000)));
        if (sdr || !o.HorizontalAngle.isEmpty())
            angle(o.HorizontalAngle, row[3], row[4]);
        row[5] = QStringLiteral("+");
        if (sdr || !o.VerticalAngle.isEmpty())
            angle(o.VerticalAngle, row[6], row[7]);
        rows << SetDefLine2(NextRowName(row[0]));
    }
}

} // namespace UnitInputTaheo
