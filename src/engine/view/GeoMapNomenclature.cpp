// The sheet nomenclature: base squares of 2000 m (kind 2, four 1000 m quarters) or
// 3000 m (kind 3, nine quarters), each quarter cut into sixteen 250 m cells numbered
// row by row from the north-west. Names are the base name, the quarter letter between
// two "-" and the cell number: "101-Б-16".
#include "engine/GeoMap.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"

#include <vector>

namespace {

// Cell 1 … 16 of the point (x, y) moved into the base square's south-west quarter,
// whose corner is (X0, Y0).
int CellNumber(Extended x, Extended y, Extended X0, Extended Y0)
{
    const int row = x < X0 + 250 ? 3 : x < X0 + 500 ? 2 : x < X0 + 750 ? 1 : 0;   // 0: north
    const int column = y < Y0 + 250 ? 0 : y < Y0 + 500 ? 1 : y < Y0 + 750 ? 2 : 3;
    return row * 4 + column + 1;
}

const QString Kind2Letters[2][2] = {
    {QStringLiteral("В"), QStringLiteral("Г")},   // south half: west, east
    {QStringLiteral("А"), QStringLiteral("Б")},   // north half
};

const QString Kind3Letters[3][3] = {
    {QStringLiteral("Ж"), QStringLiteral("З"), QStringLiteral("И")},   // south third
    {QStringLiteral("Г"), QStringLiteral("Д"), QStringLiteral("Е")},   // middle third
    {QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("В")},   // north third
};

}  // namespace

void TGeoMap::LoadNomenclatures(const QString& name)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.LoadNomenclatures(name:string);",
                      TrailArg("name", name));
    if (!FileExistsIgnoringCase(name))
        throw Exception(QStringLiteral("Не найден файл номенклатур ") + name);
    const QStringList lines = ReadTextFileLines(name);

    // Read whole into a fresh table; the plan's table changes only when all of it reads.
    int at = 0;   // 0-based index of the line being read
    const auto fault = [&](const QString& reason) {
        return Exception(QStringLiteral("Ошибка в файле номенклатур ") + name +
                         QStringLiteral(", строка ") + QString::number(at + 1) +
                         QStringLiteral(": ") + reason);
    };
    const auto nextLine = [&]() -> bool {
        while (at < lines.size() && lines[at].trimmed().isEmpty())
            ++at;
        return at < lines.size();
    };

    if (!nextLine())
        throw Exception(QStringLiteral("Файл номенклатур ") + name + QStringLiteral(" пуст"));
    int kind = 0;
    try {
        kind = StrToInt(lines[at]);
    } catch (const Exception& e) {
        throw fault(e.Message);
    }
    // Another kind would name every cell "", and a sheet placed automatically would
    // then get no name.
    if (kind != 2 && kind != 3)
        throw fault(QStringLiteral("вид номенклатуры должен быть 2 или 3, а не ") + lines[at]);
    ++at;

    std::vector<TNomenclature> items;
    while (nextLine()) {
        TNomenclature item;
        const int nameLine = at;
        item.SheetName = lines[at++];
        if (!nextLine()) {
            at = nameLine;
            throw fault(QStringLiteral("нет строки координат листа ") + item.SheetName);
        }
        try {
            if (!StringToXY(lines[at], item.Origin.X, item.Origin.Y))
                throw Exception(QStringLiteral("неверное число в строке координат \"") +
                                lines[at] + QLatin1Char('"'));
        } catch (const Exception& e) {
            throw fault(e.Message);
        }
        ++at;
        items.push_back(std::move(item));
    }

    Nomenclatures.DeleteAll();
    Nomenclatures.Mode = static_cast<std::uint8_t>(kind);
    for (TNomenclature& item : items)
        Nomenclatures.AddItem(std::make_unique<TNomenclature>(std::move(item)));
}

QString TGeoMap::CoordToNomenclature(Extended XX, Extended YY) const
{
    TTrailGuard guard("GeoMap", "function TGeoMap.CoordToNomenclature(XX,YY:extended):string;",
                      TrailArg("XX", XX), TrailArg("YY", YY));
    if (Nomenclatures.GetCount() == 0)
        return QStringLiteral("?");
    const int kind = Nomenclatures.Mode;
    if (kind != 2 && kind != 3)
        return QString();
    const Extended side = kind == 2 ? 2000 : 3000;
    for (const auto& n : Nomenclatures) {
        const Extended X0 = n->Origin.X;
        const Extended Y0 = n->Origin.Y;
        if (!(X0 < XX && XX < X0 + side && Y0 < YY && YY < Y0 + side))
            continue;
        // A point on an inner 1000 m line belongs to the quarter north or east of it.
        const int row = XX >= X0 + 2000 ? 2 : XX >= X0 + 1000 ? 1 : 0;
        const int column = YY >= Y0 + 2000 ? 2 : YY >= Y0 + 1000 ? 1 : 0;
        const QString& letter = kind == 2 ? Kind2Letters[row][column] : Kind3Letters[row][column];
        const Extended x = XX - row * 1000;
        const Extended y = YY - column * 1000;
        return n->SheetName + QLatin1Char('-') + letter + QLatin1Char('-') +
               QString::number(CellNumber(x, y, X0, Y0));
    }
    return QStringLiteral("?");
}

bool TGeoMap::NomenclatureToCoord(const QString& s, Extended& x1, Extended& y1, Extended& x2,
                                  Extended& y2) const
{
    TTrailGuard guard("GeoMap",
                      "function TGeoMap.NomenclatureToCoord(var s:string; "
                      "var x1,y1,x2,y2:extended):boolean;",
                      TrailArg("s", s));
    // Kind 3 cells carry letters А to Г too, which would silently give a kind-2 square.
    if (Nomenclatures.Mode != 2)
        return false;
    const qsizetype first = s.indexOf(QLatin1Char('-'));
    if (first < 0)
        return false;
    const QString base = s.left(first);
    const QString rest = s.mid(first + 1);
    const qsizetype second = rest.indexOf(QLatin1Char('-'));
    if (second < 0)
        return false;   // no quarter between two "-": no cell name
    const QString letter = rest.left(second).toUpper();
    const QString cell = rest.mid(second + 1);

    const TNomenclature* found = nullptr;
    for (const auto& n : Nomenclatures) {
        if (n->SheetName == base) {
            found = n.get();
            break;
        }
    }
    if (!found)
        return false;
    Extended qx = found->Origin.X;
    Extended qy = found->Origin.Y;
    if (letter == QStringLiteral("А")) {
        qx += 1000;
    } else if (letter == QStringLiteral("Б")) {
        qx += 1000;
        qy += 1000;
    } else if (letter == QStringLiteral("Г")) {
        qy += 1000;
    } else if (letter != QStringLiteral("В")) {
        return false;
    }

    int number = 0;
    for (int i = 1; i <= 16 && number == 0; ++i)
        if (cell == QString::number(i))
            number = i;
    if (number == 0) {
        x1 = y1 = x2 = y2 = 0;
        throw Exception(QStringLiteral("Не удалось определить координаты по заданной номенклатуре"));
    }
    const int row = (number - 1) / 4;      // 0 is the north row
    const int column = (number - 1) % 4;
    x1 = qx + (3 - row) * 250;
    y1 = qy + column * 250;
    x2 = x1 + 250;
    y2 = y1 + 250;
    return true;
}
