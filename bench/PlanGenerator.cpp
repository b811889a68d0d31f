// Composes synthetic plans line by line in the native plan format. Every value goes
// through the program's own number routines (fixed notation, the separator the plan is
// written with), and the rarer parts of the format (node blocks, inner objects, own
// styles, filters, hidden sheets and layers) appear at fixed rates, so a reader that is
// measured on such a plan walks every branch it walks on a real one.
#include "PlanGenerator.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/StringNum.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemCodec.h"

#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

// A small generator of our own: the standard library's distributions may differ
// between library versions, and the plans must not.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : State(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n - 1 (n > 0).
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    // [a, b), in steps of a millimetre, so that the written decimals are the value.
    Extended Real(Extended a, Extended b)
    {
        const Int64 steps = static_cast<Int64>((b - a) * 1000);
        return a + static_cast<Extended>(static_cast<Int64>(Next() % static_cast<std::uint64_t>(steps))) / 1000;
    }
    // True once in every `per` calls on average.
    bool OneIn(int per) { return Below(per) == 0; }

private:
    std::uint64_t State;
};

// Sets the decimal separator for the life of the object.
class TSeparatorScope {
public:
    explicit TSeparatorScope(QChar separator) : Saved(DecimalSeparator) { DecimalSeparator = separator; }
    ~TSeparatorScope() { DecimalSeparator = Saved; }
    TSeparatorScope(const TSeparatorScope&) = delete;
    TSeparatorScope& operator=(const TSeparatorScope&) = delete;

private:
    QChar Saved;
};

const QString LayerNames[] = {
    QStringLiteral("Опорные пункты"), QStringLiteral("Рельеф"),        QStringLiteral("Здания"),
    QStringLiteral("Дороги"),         QStringLiteral("Гидрография"),   QStringLiteral("Растительность"),
    QStringLiteral("Коммуникации"),   QStringLiteral("Ограждения")};
const QString StreetNames[] = {
    QStringLiteral("Садовая"), QStringLiteral("Лесная"),   QStringLiteral("Заречная"),
    QStringLiteral("Полевая"), QStringLiteral("Школьная"), QStringLiteral("Новая")};
const QString StyleNames[] = {
    QStringLiteral(">Обычный"), QStringLiteral(">Улица"), QStringLiteral(">Номер дома"),
    QStringLiteral(">Гидрография"), QStringLiteral("")};
const QString FontNames[] = {
    QStringLiteral("Times New Roman"), QStringLiteral("Arial"), QStringLiteral("Courier New")};

// The version text the program writes into its plans.
const QString FileVersion = QStringLiteral("6.07.11.08");

// The plan's south-west corner, in metres of a local system.
constexpr Extended BaseX = 410000;
constexpr Extended BaseY = 1320000;
constexpr int SheetsPerRow = 4;

QString Pair(int precision, Extended x, Extended y)
{
    switch (precision) {
    case 0: return XYtoString0(x, y);
    case 1: return XYtoString1(x, y);
    case 3: return XYtoString3(x, y);
    default: return XYtoString2(x, y);
    }
}

// The precision class of a new object: mostly the default 2, sometimes 3, rarely 0 or 1.
int PickPrecision(TRandom& rnd)
{
    const int r = rnd.Below(100);
    return r < 85 ? 2 : r < 97 ? 3 : r < 99 ? 1 : 0;
}

// A semantics string of the template, with values for its extended kinds.
QString ComposeSemantics(const QString& head, const std::vector<TSemExt>& kinds, TRandom& rnd)
{
    QString sem = head;
    bool first = !head.contains(u'/');
    for (const TSemExt kind : kinds) {
        QString value;
        switch (kind) {
        case seIV: value = FloatToFixed(rnd.Real(120, 180), 2, 16); break;
        case seIN: value = QString::number(1 + rnd.Below(9999)); break;
        case seII: value = StreetNames[rnd.Below(std::size(StreetNames))]; break;
        case seID: value = QStringLiteral("%1.%2.20%3")
                               .arg(1 + rnd.Below(28), 2, 10, QChar(u'0'))
                               .arg(1 + rnd.Below(12), 2, 10, QChar(u'0'))
                               .arg(10 + rnd.Below(15));
            break;
        case seIT: value = QStringLiteral("кирп."); break;
        default: value = FloatToFixed(rnd.Real(0, 30), 2, 16); break;
        }
        sem += first ? u'/' : u';';
        first = false;
        sem += SemExtToStr(kind, false) + value;
    }
    return sem;
}

} // namespace

// ---- Shapes ----

QStringList PlanSizeNames()
{
    return {QStringLiteral("small"), QStringLiteral("medium"), QStringLiteral("large")};
}

TPlanShape PlanShapeByName(const QString& sizeName)
{
    TPlanShape s;
    s.LineNodes = 50;
    s.PolygonNodes = 40;
    s.HoleNodes = 10;
    if (sizeName == QStringLiteral("small")) {
        s.Sheets = 2;
        s.LayersPerSheet = 3;
        s.Points = 300;
        s.Lines = 40;
        s.Polygons = 20;
        s.Texts = 60;
        s.RastersPerSheet = 1;
    } else if (sizeName == QStringLiteral("medium")) {
        s.Sheets = 4;
        s.LayersPerSheet = 5;
        s.Points = 10000;
        s.Lines = 2000;
        s.Polygons = 1000;
        s.Texts = 2000;
        s.RastersPerSheet = 1;
    } else if (sizeName == QStringLiteral("large")) {
        s.Sheets = 8;
        s.LayersPerSheet = 6;
        s.Points = 100000;
        s.Lines = 20000;
        s.Polygons = 10000;
        s.Texts = 20000;
        s.RastersPerSheet = 2;
    } else {
        throw Exception(QStringLiteral("Неизвестный размер плана \"") + sizeName +
                        QStringLiteral("\": small, medium или large"));
    }
    return s;
}

// ---- Semantics from the classifier ----

TSemanticsPool LoadSemanticsPool(const QString& programFolder)
{
    const QString savedFolder = ProgramFolder;
    ProgramFolder = programFolder.endsWith(u'/') ? programFolder : programFolder + u'/';
    TSemCodec codec;
    try {
        codec.LoadWorkBase();
    } catch (...) {
        ProgramFolder = savedFolder;
        throw;
    }
    ProgramFolder = savedFolder;

    TSemanticsPool pool;
    std::vector<RSemTemplate>* lists[3] = {&pool.Points, &pool.Lines, &pool.Polygons};
    for (int lm = 0; lm < 3; ++lm) {
        for (const auto& work : codec.SemWorks[lm]) {
            RSemTemplate t;
            t.Head = work->Semantics;
            // One material and one state of those the work record allows, as the
            // classifier window would offer them first.
            QString items;
            if (work->MList.GetCount() > 0)
                items += QStringLiteral("М%1").arg(int(work->MList.At(0)->Code), 3, 10, QChar(u'0'));
            if (work->SList.GetCount() > 0) {
                if (!items.isEmpty())
                    items += u';';
                items += QStringLiteral("С%1").arg(int(work->SList.At(0)->Code), 2, 10, QChar(u'0'));
            }
            if (!items.isEmpty())
                t.Head += (t.Head.contains(u'/') ? u';' : u'/') + items;
            for (const auto& e : work->EList)
                if (e->Kind != seM && e->Kind != seS)
                    t.Kinds.push_back(e->Kind);
            lists[lm]->push_back(std::move(t));
        }
        if (lists[lm]->empty())
            throw Exception(QStringLiteral("В рабочем классификаторе нет объектов вида ") +
                            TSemCodec::WorkFileNames[lm]);
    }
    return pool;
}

// ---- Writing ----

class TPlanGenerator::TWriter {
public:
    explicit TWriter(std::function<void(const QByteArray&)> sink) : Sink(std::move(sink)) {}

    void Line(const QString& s)
    {
        Buffer += s;
        Buffer += QStringLiteral("\r\n");
        ++Stats.FileLines;
        if (Buffer.size() >= FlushChars)
            Flush();
    }
    void Flush()
    {
        qsizetype bad = -1;
        const QByteArray bytes = EncodeCodePage(Buffer, TCodePage::Cp1251, &bad);
        if (bad >= 0)
            throw Exception(QStringLiteral("Символ вне кодовой страницы 1251 в синтетическом плане: ") +
                            Buffer.mid(bad, 1));
        Stats.Bytes += bytes.size();
        Sink(bytes);
        Buffer.clear();
    }

    RPlanStats Stats;

private:
    static constexpr qsizetype FlushChars = 1 << 20;
    std::function<void(const QByteArray&)> Sink;
    QString Buffer;
};

TPlanGenerator::TPlanGenerator(const TPlanShape& shape, const TSemanticsPool& semantics,
                               std::uint64_t seed, QChar decimalSeparator)
    : Shape(shape), Semantics(semantics), Seed(seed), Separator(decimalSeparator)
{
}

RPlanStats TPlanGenerator::WriteFile(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Не удается создать файл ") + fileName + QStringLiteral(": ") +
                        file.errorString());
    TWriter out([&](const QByteArray& bytes) {
        if (file.write(bytes) != bytes.size())
            throw Exception(QStringLiteral("Не удается записать файл ") + fileName + QStringLiteral(": ") +
                            file.errorString());
    });
    Compose(out);
    if (!file.commit())
        throw Exception(QStringLiteral("Не удается записать файл ") + fileName + QStringLiteral(": ") +
                        file.errorString());
    return out.Stats;
}

QByteArray TPlanGenerator::Bytes(RPlanStats* stats) const
{
    QByteArray all;
    TWriter out([&](const QByteArray& bytes) { all += bytes; });
    Compose(out);
    if (stats)
        *stats = out.Stats;
    return all;
}

namespace {

// The composition of one plan: a walk over sheets and layers that hands each layer its
// share of every kind of object and writes the records in the order of the format.
class TComposer {
public:
    TComposer(const TPlanShape& shape, const TSemanticsPool& pool, std::uint64_t seed,
              std::function<void(const QString&)> line, RPlanStats& stats)
        : Shape(shape), Rnd(seed), Line(std::move(line)), Stats(stats),
          Templates{pool.Points, pool.Lines, pool.Polygons}
    {
        for (const RSemTemplate& t : Templates[lmPoint])
            if (std::find(t.Kinds.begin(), t.Kinds.end(), seIV) != t.Kinds.end())
                HeightTemplates.push_back(t);
    }

    void Plan()
    {
        Line(QStringLiteral("FREE VELMORANT"));
        Line(QStringLiteral("|ВЕР|") + FileVersion);
        Line(QStringLiteral("{ИНФ"));
        Line(QStringLiteral("Синтетический план для замеров скорости"));
        Line(QStringLiteral("Масштаб 1:500, система координат местная"));
        Line(QStringLiteral("}ИНФ"));
        const int layers = Shape.Sheets * Shape.LayersPerSheet;
        for (int s = 0; s < Shape.Sheets; ++s) {
            TileX = BaseX + (s / SheetsPerRow) * Shape.SheetSize;
            TileY = BaseY + (s % SheetsPerRow) * Shape.SheetSize;
            Line(QStringLiteral("{ЛСТ"));
            Line(QStringLiteral("|имя|Планшет ") + QString::number(s + 1));
            if (Shape.Sheets > 1 && s == Shape.Sheets - 1)
                Line(QStringLiteral("|вид|0"));   // the last sheet is hidden, written in full
            Rasters(s);
            for (int l = 0; l < Shape.LayersPerSheet; ++l)
                Layer(l, s * Shape.LayersPerSheet + l, layers);
            Line(QStringLiteral("}ЛСТ"));
        }
    }

private:
    // The share of total that falls to layer k of n.
    static int Share(int total, int k, int n)
    {
        return static_cast<int>(Int64(total) * (k + 1) / n - Int64(total) * k / n);
    }

    Extended AnyX() { return TileX + Rnd.Real(0, Shape.SheetSize); }
    Extended AnyY() { return TileY + Rnd.Real(0, Shape.SheetSize); }

    QString NewSemantics(TLmode lm)
    {
        // Spot heights make up a good part of a real plan's points.
        const bool height = lm == lmPoint && !HeightTemplates.empty() && Rnd.Below(10) < 4;
        const auto& list = height ? HeightTemplates : Templates[lm];
        const RSemTemplate& t = list[Rnd.Below(static_cast<int>(list.size()))];
        return ComposeSemantics(t.Head, t.Kinds, Rnd);
    }

    void Rasters(int sheet)
    {
        if (Shape.RastersPerSheet <= 0)
            return;
        Line(QStringLiteral("{РАС"));
        for (int r = 0; r < Shape.RastersPerSheet; ++r) {
            Line(QStringLiteral("@/home/geo/Растры/Планшет ") + QString::number(sheet + 1) +
                 QStringLiteral("-") + QString::number(r + 1) + QStringLiteral(".jpg"));
            Line(QStringLiteral("$") + XYtoString3(TileX, TileY));
            Line(QStringLiteral("$") + XYtoString3(TileX + Shape.SheetSize, TileY + Shape.SheetSize));
            if (r == 1)
                Line(QStringLiteral("|вид|0"));
            Line(QStringLiteral("|заг|0"));
            if (sheet % 2 == 0) {
                Line(QStringLiteral("{фил"));
                Line(QStringLiteral("|ярк|200"));
                Line(QStringLiteral("|кра|100"));
                Line(QStringLiteral("|зел|100"));
                Line(QStringLiteral("|син|100"));
                Line(QStringLiteral("}фил"));
            } else if (r == 0) {
                Line(QStringLiteral("|фил|Серый"));
            }
            Line(QStringLiteral("#"));
        }
        Line(QStringLiteral("}РАС"));
    }

    void Layer(int inSheet, int k, int n)
    {
        Line(QStringLiteral("{СЛО"));
        Line(QStringLiteral("|имя|") + LayerNames[inSheet % std::size(LayerNames)] +
             (inSheet >= int(std::size(LayerNames)) ? QStringLiteral(" ") + QString::number(inSheet) : QString()));
        if (inSheet == Shape.LayersPerSheet - 1 && Shape.LayersPerSheet > 2)
            Line(QStringLiteral("|вид|0"));
        Section(u"ТЕК", Share(Shape.Texts, k, n), [this] { TextRecord(AnyX(), AnyY()); });
        Section(u"ТОЧ", Share(Shape.Points, k, n), [this] { LayerPoint(); });
        Section(u"ЛИН", Share(Shape.Lines, k, n), [this] { LineRecord(Shape.LineNodes, true); });
        Section(u"ПОЛ", Share(Shape.Polygons, k, n), [this] { PolygonRecord(); });
        Line(QStringLiteral("}СЛО"));
    }

    template <class F>
    void Section(const char16_t* tag, int count, F record)
    {
        if (count <= 0)
            return;
        Line(u'{' + QString::fromUtf16(tag));
        for (int i = 0; i < count; ++i)
            record();
        Line(u'}' + QString::fromUtf16(tag));
    }

    void Inner(const char16_t* tag, const std::function<void()>& record)
    {
        Line(u'[' + QString::fromUtf16(tag));
        record();
        Line(u']' + QString::fromUtf16(tag));
    }

    QString TextValue()
    {
        switch (Rnd.Below(4)) {
        case 0: return QStringLiteral("ул. ") + StreetNames[Rnd.Below(std::size(StreetNames))];
        case 1: return QString::number(1 + Rnd.Below(120));
        case 2: return QStringLiteral("р. Быстрая");
        default: return QStringLiteral("КЖ ") + QString::number(1 + Rnd.Below(9));
        }
    }

    void TextRecord(Extended x, Extended y)
    {
        ++Stats.Texts;
        Line(u'@' + TextValue());
        Line(u'$' + XYtoString3(x, y));
        if (Rnd.OneIn(10)) {
            Line(QStringLiteral("{сти"));
            Line(QStringLiteral("|шри|") + FontNames[Rnd.Below(std::size(FontNames))]);
            Line(QStringLiteral("|цве|") + QString::number(Rnd.Below(0x1000000)));
            Line(QStringLiteral("|раз|") + FloatToFixed(Rnd.Real(1, 6), 2, 4));
            Line(QStringLiteral("|стш|") + (Rnd.OneIn(2) ? QStringLiteral("0100") : QStringLiteral("1000")));
            Line(QStringLiteral("}сти"));
        } else {
            Line(QStringLiteral("|сти|") + StyleNames[Rnd.Below(std::size(StyleNames))]);
        }
        if (Rnd.OneIn(10))
            Line(QStringLiteral("|кор|") + FloatToFixed(Rnd.Real(0.5L, 3), 2, 4));
        if (Rnd.OneIn(5))
            Line(QStringLiteral("|пов|") + QString::number(Rnd.Below(3600)));
        Line(QStringLiteral("#"));
    }

    void Caption()
    {
        ++Stats.Captions;
        Line(QStringLiteral("{нап"));
        if (Rnd.OneIn(3))
            Line(QStringLiteral("|дви|") + FloatToFixed(Rnd.Real(-5, 5), 1, 4) + u' ' +
                 FloatToFixed(Rnd.Real(-5, 5), 1, 4));
        if (Rnd.OneIn(10))
            Line(QStringLiteral("|пов|") + QString::number(Rnd.Below(3600)));
        if (Rnd.OneIn(20))
            Line(QStringLiteral("|раз|") + FloatToFixed(Rnd.Real(0.5L, 2), 6, 8));
        if (Rnd.OneIn(30))
            Line(QStringLiteral("|вид|") + QString::number(1 + Rnd.Below(2)));
        Line(QStringLiteral("}нап"));
    }

    // A point record at (x, y); layer points carry one or two captions.
    void PointRecord(Extended x, Extended y, bool layerPoint)
    {
        ++Stats.Points;
        const int precision = PickPrecision(Rnd);
        Line(u'@' + NewSemantics(lmPoint));
        Line(u'$' + Pair(precision, x, y));
        if (precision != 2)
            Line(QStringLiteral("|кач|") + QString::number(precision));
        if (Rnd.OneIn(50))
            Line(QStringLiteral("|лип|") + QString::number(1 + Rnd.Below(2)));
        if (Rnd.OneIn(100))
            Line(QStringLiteral("|онн|"));
        if (Rnd.OneIn(10))
            Line(QStringLiteral("|угз|") + FloatToFixed(Rnd.Real(0, 360), 3, 6));
        if (layerPoint) {
            Caption();
            if (Rnd.OneIn(4))
                Caption();
            if (Rnd.OneIn(100))
                Inner(u"ТЕК", [&] { TextRecord(x + 1, y + 1); });
        }
        Line(QStringLiteral("#"));
    }

    void LayerPoint() { PointRecord(AnyX(), AnyY(), true); }

    // A line as a meandering walk inside the tile; inner lines of polygons (topLevel
    // false) have no node blocks, node points or captions.
    void LineRecord(int nodes, bool topLevel, Extended startX = -1, Extended startY = -1)
    {
        ++Stats.Lines;
        const int precision = PickPrecision(Rnd);
        Line(u'@' + NewSemantics(lmLine));
        if (topLevel && Rnd.OneIn(50))
            Line(QStringLiteral("|дли|") + NewSemantics(lmLine));
        if (topLevel && Rnd.OneIn(30))
            Line(QStringLiteral("|фап|") + FloatToFixed(Rnd.Real(0.2L, 3), 3, 8));
        if (precision != 2)
            Line(QStringLiteral("|кач|") + QString::number(precision));
        Extended x = startX >= 0 ? startX : AnyX();
        Extended y = startY >= 0 ? startY : AnyY();
        Extended dir = Rnd.Real(0, 360) * std::numbers::pi_v<Extended> / 180;
        for (int i = 0; i < nodes; ++i) {
            ++Stats.Nodes;
            Line(u'$' + Pair(precision, x, y));
            if (topLevel)
                LineNodeBlock();
            if (topLevel && Rnd.OneIn(100))
                Inner(u"ТОЧ", [&] { PointRecord(x, y, false); });
            dir += Rnd.Real(-0.5L, 0.5L);
            const Extended step = Rnd.Real(2, 8);
            x += step * std::cos(dir);
            y += step * std::sin(dir);
            // Keep the walk on its tile: turn back at an edge.
            if (x < TileX || x > TileX + Shape.SheetSize || y < TileY || y > TileY + Shape.SheetSize) {
                x = std::clamp(x, TileX, TileX + Shape.SheetSize);
                y = std::clamp(y, TileY, TileY + Shape.SheetSize);
                dir += std::numbers::pi_v<Extended>;
            }
        }
        if (topLevel) {
            if (Rnd.OneIn(5))
                Caption();
            if (Rnd.OneIn(100))
                Inner(u"ТЕК", [&] { TextRecord(x, y); });
        }
        Line(QStringLiteral("#"));
    }

    void LineNodeBlock()
    {
        if (!Rnd.OneIn(20))
            return;
        Line(QStringLiteral("{нау"));
        switch (Rnd.Below(5)) {
        case 0: Line(QStringLiteral("|тиу|1")); break;
        case 1: Line(QStringLiteral("|кри|1")); break;
        case 2: Line(QStringLiteral("|поз|") + FloatToFixed(Rnd.Real(0, 10), 3, 8)); break;
        case 3: Line(QStringLiteral("|штр|") + QString::number(1 + Rnd.Below(3))); break;
        default:
            Line(QStringLiteral("|счт|") + QString::number(Rnd.Below(3)));
            Line(QStringLiteral("|инв|1"));
            break;
        }
        Line(QStringLiteral("}нау"));
    }

    void PolygonNodeBlock()
    {
        if (!Rnd.OneIn(30))
            return;
        Line(QStringLiteral("{нау"));
        switch (Rnd.Below(4)) {
        case 0: Line(QStringLiteral("|кри|1")); break;
        case 1: Line(QStringLiteral("|поз|") + FloatToFixed(Rnd.Real(0, 10), 3, 8)); break;
        case 2:
            Line(QStringLiteral("|сет|1"));
            Line(QStringLiteral("|сес|2"));
            break;
        default:
            Line(QStringLiteral("|угл|1"));
            Line(QStringLiteral("|угр|1"));
            break;
        }
        Line(QStringLiteral("}нау"));
    }

    // nodes around (cx, cy) at radius r, each node's radius varied by up to 15 %.
    void Ring(int precision, int nodes, Extended cx, Extended cy, Extended r)
    {
        for (int i = 0; i < nodes; ++i) {
            ++Stats.Nodes;
            const Extended a = 2 * std::numbers::pi_v<Extended> * i / nodes;
            const Extended ri = r * (1 + Rnd.Real(-0.15L, 0.15L));
            Line(u'$' + Pair(precision, cx + ri * std::cos(a), cy + ri * std::sin(a)));
            PolygonNodeBlock();
        }
    }

    void PolygonRecord()
    {
        ++Stats.Polygons;
        const int precision = PickPrecision(Rnd);
        const Extended r = Rnd.Real(8, 25);
        const Extended cx = TileX + r * 1.2L + Rnd.Real(0, Shape.SheetSize - r * 2.4L);
        const Extended cy = TileY + r * 1.2L + Rnd.Real(0, Shape.SheetSize - r * 2.4L);
        Line(u'@' + NewSemantics(lmPolygon));
        if (precision != 2)
            Line(QStringLiteral("|кач|") + QString::number(precision));
        if (Rnd.OneIn(20))
            Line(QStringLiteral("|двз|") + XYtoString2(Rnd.Real(-3, 3), Rnd.Real(-3, 3)));
        Ring(precision, Shape.PolygonNodes, cx, cy, r);
        if (Rnd.OneIn(20))
            Line(QStringLiteral("|тит|") + QString::number(Rnd.Below(3600)));
        const int holes = Rnd.OneIn(3) ? 2 : 1;
        for (int h = 0; h < holes; ++h) {
            Line(QStringLiteral("{ВПО"));
            Ring(precision, Shape.HoleNodes, cx + (h ? r * 0.35L : -r * 0.35L), cy, r * 0.25L);
            Line(QStringLiteral("}ВПО"));
        }
        if (Rnd.OneIn(20))
            Inner(u"ТЕК", [&] { TextRecord(cx, cy); });
        if (Rnd.OneIn(20))
            Inner(u"ТОЧ", [&] { PointRecord(cx + 1, cy + 1, false); });
        if (Rnd.OneIn(50))
            Inner(u"ЛИН", [&] { LineRecord(4, false, cx, cy); });
        if (Rnd.OneIn(3))
            Caption();
        Line(QStringLiteral("#"));
    }

    const TPlanShape& Shape;
    TRandom Rnd;
    std::function<void(const QString&)> Line;
    RPlanStats& Stats;
    std::vector<RSemTemplate> Templates[3];
    std::vector<RSemTemplate> HeightTemplates;   // point templates with a height value
    Extended TileX = 0;
    Extended TileY = 0;
};

} // namespace

void TPlanGenerator::Compose(TWriter& out) const
{
    const TSeparatorScope separator(Separator);
    TComposer composer(Shape, Semantics, Seed, [&](const QString& s) { out.Line(s); }, out.Stats);
    composer.Plan();
    out.Flush();
}
