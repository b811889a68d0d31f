// The traverse adjustment: directions from the measured angles, the angular misclosure
// spread over the angles, increments, the linear misclosure spread over the legs in
// proportion to their lengths, and the coordinates of the new points.
#include "survey/TraverseTable.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "foundation/StringNum.h"

#include <algorithm>
#include <cmath>

namespace {

const QString SecondsMark = QStringLiteral("\"");

} // namespace

TTraverseTable::TTraverseTable(int n)
{
    SetPointsCount(n);
    for (int c = 0; c < ColCount; ++c)
        Cells[0][c] = QString::number(c);
}

void TTraverseTable::SetPointsCount(int n)
{
    n = std::clamp(n, MinPoints, MaxPoints);
    QStringList empty;
    for (int c = 0; c < ColCount; ++c)
        empty.append(QString());
    Cells.resize(size_t(2 * n + 9), empty);
}

QString TTraverseTable::Cell(int row, int col) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount)
        return QString();
    return Cells[size_t(row)][col];
}

void TTraverseTable::SetCell(int row, int col, const QString& text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount)
        return;
    Cells[size_t(row)][col] = text;
}

QString TTraverseTable::LengthText(Extended v)
{
    return FloatToFixed(v, 3);
}

QStringList TTraverseTable::AngleTexts(Extended degrees)
{
    int g = 0, m = 0;
    Extended s = 0;
    pGG_GMSRound(g, m, s, degrees, 0);
    return {QString::number(g), QString::number(m), FloatToFixed(s, 0)};
}

void TTraverseTable::SetAngle(int row, int firstCol, Extended degrees)
{
    const QStringList parts = AngleTexts(degrees);
    for (int i = 0; i < 3; ++i)
        SetCell(row, firstCol + i, parts[i]);
}

int TTraverseTable::LegCount() const
{
    const int n = PointsCount();
    return Closure == 3 ? n : n + 1;
}

int TTraverseTable::AngleCount() const
{
    const int n = PointsCount();
    return Closure == 1 ? n + 2 : Closure == 2 ? n + 1 : n;
}

// Thousand separators are refused here: the conversions refuse them too, and a cell
// that passed the check must convert.
bool TTraverseTable::CellInt(int row, int col, int& value) const
{
    const QString s = Cell(row, col);
    return ValidInteger(s, false) && TryStrToInt(s, value);
}

bool TTraverseTable::CellReal(int row, int col, Extended& value) const
{
    const QString s = Cell(row, col);
    if (!ValidFloat(s, false, true))
        return false;
    try {
        value = StrToFlt(s);   // "-." passes the check but holds no digit
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// A direction typed as three cells 9..11 of a leg row.
bool TTraverseTable::CellDirection(int row, Extended& value) const
{
    int g = 0, m = 0;
    Extended s = 0;
    if (!CellInt(row, 9, g) || !CellInt(row, 10, m) || !CellReal(row, 11, s))
        return false;
    value = fGMS_GG(g, m, s);
    return true;
}

bool TTraverseTable::Refuse(const QString& text)
{
    ShowMsgDialog(CheckTitle(), text);
    return false;
}

void TTraverseTable::ClearComputedCells()
{
    const int last = RowCount() - 1;
    Extended x = 0, y = 0;
    const bool keepStart = !(CellReal(1, 22, x) && CellReal(1, 23, y));
    const bool keepEnd =
        Closure != 3 && !(CellReal(last - 1, 22, x) && CellReal(last - 1, 23, y));
    for (int r = 1; r <= last; ++r) {
        if (!Cell(r, 7).isEmpty())
            SetCell(r, 8, QString());
        for (int c = 12; c <= 21; ++c)
            SetCell(r, c, QString());
        const bool kept = (r == 2 && keepStart) || (r == last - 2 && keepEnd);
        if (!kept)
            for (int c = 9; c <= 11; ++c)
                SetCell(r, c, QString());
        if (r != 1 && r != 3 && r != last - 3 && r != last - 1) {
            SetCell(r, 22, QString());
            SetCell(r, 23, QString());
        }
    }
    if (Closure != 1) {
        SetCell(last - 1, 22, QString());
        SetCell(last - 1, 23, QString());
    }
    if (Closure == 3) {
        SetCell(last - 3, 22, QString());
        SetCell(last - 3, 23, QString());
    }
    SetCell(last, 7, QString());
}

void TTraverseTable::ComputeHorizontalDistances()
{
    for (int k = 1; k <= LegCount(); ++k) {
        const int row = 2 * k + 2;
        Extended slope = 0;
        if (!CellReal(row, 7, slope))
            continue;   // a horizontal distance typed straight into cell 8 stays
        int g = 0, m = 0;
        Extended s = 0;
        if (!CellInt(row, 4, g))
            g = 0;
        if (!CellInt(row, 5, m))
            m = 0;
        if (!CellReal(row, 6, s))
            s = 0;
        const Extended v = fGMS_GG(std::abs(Extended(g)), m, s);
        SetCell(row, 8, LengthText(slope * std::cos(GradRad(std::abs(v)))));
    }
}

bool TTraverseTable::ReadTraverseDistances()
{
    const QString missing = QStringLiteral("нехватает расстояний либо проложений");
    const int m = LegCount();
    Distances.assign(size_t(m), 0);
    DistanceSum = 0;
    for (int k = 1; k <= m; ++k) {
        Extended d = 0;
        if (!CellReal(2 * k + 2, 8, d))
            return Refuse(missing);
        Distances[size_t(k - 1)] = d;
        DistanceSum += d;
    }
    // Nothing to spread a misclosure over, nor to measure it against.
    if (DistanceSum == 0)
        return Refuse(missing);
    const int last = RowCount() - 1;
    SetCell(last, 7, QStringLiteral(" Длина хода "));
    SetCell(last, 8, "[" + LengthText(DistanceSum) + "]");
    return true;
}

bool TTraverseTable::ReadTraverseAngles()
{
    const int a = AngleCount();
    Angles.assign(size_t(a), 0);
    for (int k = 1; k <= a; ++k) {
        const int row = 2 * k + 1;
        int g = 0, m = 0;
        Extended s = 0;
        if (!CellInt(row, 1, g) || !CellInt(row, 2, m) || !CellReal(row, 3, s))
            return Refuse(QStringLiteral("некорректный ввод в измеренных углах"));
        // The sign lives in the degrees text, so "-0 30 00" is a right angle.
        const Extended value = (s / 60 + m) / 60 + std::abs(Extended(g));
        Angles[size_t(k - 1)] = Cell(row, 1).startsWith('-') ? -value : value;
    }
    return true;
}

bool TTraverseTable::ComputeTraverse()
{
    try {
        return Compute();
    } catch (const std::exception& e) {
        // Absurd numbers (an angle of 10^300 seconds, coordinates that overflow) end
        // here with their message instead of a crash report.
        return Refuse(ExceptionMessage(e));
    }
}

bool TTraverseTable::Compute()
{
    ClearComputedCells();
    StartKnown = EndKnown = false;
    const int R = RowCount();
    const int last = R - 1;
    const int n = PointsCount();
    const int m = LegCount();
    const int a = AngleCount();
    Distances.assign(size_t(m), 0);
    Angles.assign(size_t(a), 0);
    Directions.assign(size_t(a + 1), 0);
    Corrections.assign(Closure == 1 ? size_t(n + 1) : 0, 0);

    ComputeHorizontalDistances();

    // Typed directions survive the clearing only where the points cannot give them;
    // they are used as typed and never written over.
    bool startTyped = false, endTyped = false;
    Extended xa = 0, ya = 0, xd = 0, yd = 0, dist = 0;
    if (CellDirection(2, StartDirection)) {
        startTyped = true;
    } else if (CellReal(1, 22, xa) && CellReal(1, 23, ya) && CellReal(3, 22, XB)
               && CellReal(3, 23, YB)) {
        OGZ(xa, ya, XB, YB, dist, StartDirection);
    } else {
        return Refuse(QStringLiteral("Невозможно определить исходный дир.угол"));
    }
    StartKnown = true;

    if (CellDirection(R - 3, EndDirection)) {
        endTyped = true;
        EndKnown = true;
    } else if (Closure == 1) {
        Extended xc = 0, yc = 0;
        if (!(CellReal(R - 4, 22, xc) && CellReal(R - 4, 23, yc) && CellReal(R - 2, 22, xd)
              && CellReal(R - 2, 23, yd)))
            return Refuse(QStringLiteral("Невозможно определить конечный дир.угол"));
        OGZ(xc, yc, xd, yd, dist, EndDirection);
        EndKnown = true;
    }

    if (!(CellReal(3, 22, XB) && CellReal(3, 23, YB)))
        return Refuse(QStringLiteral("Невозможно прочитать координаты начальной точки"));
    if (Closure != 3 && !(CellReal(R - 4, 22, XC) && CellReal(R - 4, 23, YC)))
        return Refuse(QStringLiteral(
            "Невозможно прочитать координаты конечной точки, возможно некорректно "
            "заполнены столбцы координат в предпоследней строке"));

    if (!ReadTraverseDistances() || !ReadTraverseAngles())
        return false;

    Directions[0] = StartDirection;
    for (int k = 1; k <= a; ++k) {
        const Extended b = Angles[size_t(k - 1)];
        Directions[size_t(k)] =
            NextDirAngle(Directions[size_t(k - 1)], std::abs(b), b >= 0 ? atLeft : atRight);
    }

    Extended f = 0;
    if (Closure == 1) {
        // Both directions lie in [0, 360]: across north their plain difference is
        // near ±360, which is a few seconds of misclosure, not a full turn.
        f = Directions[size_t(a)] - EndDirection;
        f = std::fmod(f, 360.0L);
        if (f > 180)
            f -= 360;
        else if (f <= -180)
            f += 360;
        const QStringList parts = AngleTexts(f);
        SetCell(last, 9, "f=" + parts[0]);
        SetCell(last, 10, parts[1]);
        SetCell(last, 11, parts[2]);
    }

    const int written = Closure == 1 ? a - 1 : a;
    for (int k = 0; k <= written; ++k) {
        const int row = 2 * k + 2;
        if ((row == 2 && startTyped) || (row == R - 3 && endTyped))
            continue;
        SetAngle(row, 9, Directions[size_t(k)]);
    }

    if (Closure == 1) {
        SetCell(R - 3, 8, QStringLiteral("        теор."));
        if (!endTyped)
            SetAngle(R - 3, 9, EndDirection);
        SetCell(R - 4, 8, QStringLiteral("        практ."));
        SetAngle(R - 4, 9, Directions[size_t(a)]);
        Directions[size_t(a)] = EndDirection;

        const long long total = -static_cast<long long>(std::nearbyint(f * 3600));
        const int count = n + 1;
        std::fill(Corrections.begin(), Corrections.end(), 0);
        // Round from the first angle: the larger corrections fall on the first ones.
        const long long whole = total / count;
        const long long rest = total % count;
        for (int j = 0; j < count; ++j)
            Corrections[size_t(j)] = int(whole + (j < std::abs(rest) ? (rest > 0 ? 1 : -1) : 0));
        for (int j = 0; j < count; ++j)
            SetCell(2 * j + 4, 12, QString::number(Corrections[size_t(j)]) + SecondsMark);

        long long running = 0;
        for (int k = 1; k < a; ++k) {
            running += Corrections[size_t(k - 1)];
            Directions[size_t(k)] = fNormalAngle(Directions[size_t(k)] + Extended(running) / 3600);
        }
        for (int k = 0; k <= a; ++k)
            SetAngle(2 * k + 2, 13, Directions[size_t(k)]);
    }

    Extended sumDX = 0, sumDY = 0;
    for (int k = 1; k <= m; ++k) {
        const int row = 2 * k + 2;
        Extended d = 0;
        CellReal(row, 8, d);
        const Extended alpha = GradRad(Directions[size_t(k)]);
        const Extended dx = d * std::cos(alpha);
        const Extended dy = d * std::sin(alpha);
        SetCell(row, 16, LengthText(dx));
        SetCell(row, 17, LengthText(dy));
        sumDX += dx;
        sumDY += dy;
    }

    Extended fx = 0, fy = 0;
    if (Closure != 3) {
        const Extended theoX = XC - XB;
        const Extended theoY = YC - YB;
        SetCell(R - 4, 15, QStringLiteral("сум."));
        SetCell(R - 4, 16, LengthText(sumDX));
        SetCell(R - 4, 17, LengthText(sumDY));
        SetCell(R - 2, 15, QStringLiteral("теор."));
        SetCell(R - 2, 16, LengthText(theoX));
        SetCell(R - 2, 17, LengthText(theoY));
        fx = sumDX - theoX;
        fy = sumDY - theoY;
        SetCell(last, 16, "fx=" + LengthText(fx));
        SetCell(last, 17, "fy=" + LengthText(fy));
    }

    Extended sumX = 0, sumY = 0;
    for (int k = 1; k <= m; ++k) {
        const int row = 2 * k + 2;
        Extended dx = 0, dy = 0;
        CellReal(row, 16, dx);
        CellReal(row, 17, dy);
        if (Closure != 3) {
            const Extended share = Distances[size_t(k - 1)] / DistanceSum;
            const Extended vx = -share * fx;
            const Extended vy = -share * fy;
            SetCell(row, 18, LengthText(vx));
            SetCell(row, 19, LengthText(vy));
            dx += vx;
            dy += vy;
        }
        SetCell(row, 20, LengthText(dx));
        SetCell(row, 21, LengthText(dy));
        sumX += dx;
        sumY += dy;
    }
    if (Closure != 3) {
        SetCell(R - 4, 20, LengthText(sumX));
        SetCell(R - 4, 21, LengthText(sumY));
    }

    // Each point is carried from the previous one as written in the table.
    for (int k = 1; k <= n; ++k) {
        Extended x0 = 0, y0 = 0, dx = 0, dy = 0;
        CellReal(2 * k + 1, 22, x0);
        CellReal(2 * k + 1, 23, y0);
        CellReal(2 * k + 2, 20, dx);
        CellReal(2 * k + 2, 21, dy);
        SetCell(2 * k + 3, 22, LengthText(x0 + dx));
        SetCell(2 * k + 3, 23, LengthText(y0 + dy));
    }

    if (Closure != 3) {
        const Extended q = std::sqrt(fx * fx + fy * fy) / DistanceSum;
        SetCell(last, 20, q < 0.00001L ? QStringLiteral("<1:100000") : "1:" + FloatToFixed(1 / q, 0));
        SetCell(last, 19, QStringLiteral("точн."));
    }
    return true;
}
