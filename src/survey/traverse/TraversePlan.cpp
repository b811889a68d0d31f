#include "survey/traverse/TraversePlan.h"

#include "engine/GeoMap.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/StringNum.h"
#include "mainwindow/UnitMap.h"

namespace {

// A coordinate cell as the window takes it: thousand separators allowed, either
// decimal separator. A thousand separator that is "," or "." is a decimal separator
// here, as the validation takes it, and stays.
bool CellCoordinate(const QString& text, Extended& value)
{
    if (!ValidFloat(text, true, true))
        return false;
    QString plain = text;
    if (ThousandSeparator != QLatin1Char(',') && ThousandSeparator != QLatin1Char('.'))
        plain.remove(ThousandSeparator);
    try {
        value = StrToFlt(plain);
    } catch (const Exception&) {
        return false;
    }
    return true;
}

} // namespace

std::vector<int> TraversePointRows(const TTraverseTable& table)
{
    std::vector<int> rows;
    for (int k = 1; k <= table.PointsCount(); ++k)
        rows.push_back(2 * k + 3);
    return rows;
}

std::vector<int> SourcePointRows(const TTraverseTable& table)
{
    const int R = table.RowCount();
    switch (table.ClosureType()) {
    case 2:
        return {1, 3, R - 4};
    case 3:
        return {1, 3};
    default:
        return {1, 3, R - 4, R - 2};
    }
}

bool CollectTraversePlanPoints(const TTraverseTable& table, const std::vector<int>& rows,
                               const QString& semanticsHead, std::vector<RTraversePlanPoint>& points,
                               QString& failure)
{
    points.clear();
    failure.clear();
    for (const int row : rows) {
        const QString name = table.Cell(row, 0);
        RTraversePlanPoint p;
        p.Row = row;
        if (!CellCoordinate(table.Cell(row, 22), p.X) || !CellCoordinate(table.Cell(row, 23), p.Y)) {
            failure = QStringLiteral("не все координаты вычислены (строка %1 \"%2\")").arg(row).arg(name);
            break;
        }
        if (name.contains(QLatin1Char(';')) || name.contains(QLatin1Char('<')) ||
            name.contains(QLatin1Char('>'))) {
            failure = QStringLiteral("название точки в строке %1 содержит недопустимый знак "
                                     "(\";\", \"<\" или \">\")")
                          .arg(row);
            break;
        }
        p.Semantics = semanticsHead + name;
        points.push_back(p);
    }
    if (failure.isEmpty())
        return true;
    points.clear();
    return false;
}

TTaheoCreation CreateTraversePlanPoint(const QString& semantics, Extended X, Extended Y)
{
    TaheoSemantics = semantics;
    return CreateTaheoPoint(X, Y);
}

int AddTraversePlanPoints(const TTraverseTable& table, const std::vector<int>& rows,
                          const QString& semanticsHead)
{
    std::vector<RTraversePlanPoint> points;
    QString failure;
    if (!CollectTraversePlanPoints(table, rows, semanticsHead, points, failure)) {
        ShowMsgDialog(QStringLiteral("Проверьте таблицу"), failure);
        return 0;
    }
    int made = 0;
    for (const RTraversePlanPoint& p : points) {
        const TTaheoCreation c = CreateTraversePlanPoint(p.Semantics, p.X, p.Y);
        if (c == tcSheetRefused)
            break;
        if (c == tcCreated)
            ++made;
    }
    if (made > 0 && FormMap && MainMap) {
        const QSize size = FormMap->SurfaceSize();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    }
    return made;
}
