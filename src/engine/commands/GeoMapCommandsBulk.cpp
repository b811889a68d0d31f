// The commands that change many objects at once: the transformation of a whole sheet,
// the replacement and the deletion of objects by a piece of their semantics, the shift
// of heights of points chosen by their numbers; and the synonym replacement the plan
// menu runs outside the commands. Each works out everything it will write before it
// writes anything, so a refusal leaves the plan as it was.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "semantics/codec/SemServices.h"

#include <cmath>
#include <vector>

namespace {

const char* const Module = "GeoMap";

bool Finite(const TGeoPoint& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

void RefuseNotFinite(Extended value, const char* name)
{
    if (!std::isfinite(value))
        throw Exception(QStringLiteral("Преобразование не выполнено: %1 не является конечным числом")
                            .arg(QLatin1String(name)));
}

// Every position and text of one sheet, in one fixed order, so that a pass working out
// the new values and a pass storing them meet the same items in the same sequence. The
// visitor takes Position(TGeoPoint&), Text(RGText&) and LineNode(RGLineNode&).
template <class V>
void WalkSheet(RGPage& sheet, V& v)
{
    const auto texts = [&v](TGTexts& list) {
        for (const auto& t : list)
            v.Text(*t);
    };
    const auto points = [&v, &texts](TGPoints& list) {
        for (const auto& p : list) {
            v.Position(p->Position);
            texts(p->InnerTexts);
        }
    };
    const auto lines = [&v, &texts](TGLines& list) {
        for (const auto& l : list) {
            for (const auto& n : l->Nodes) {
                v.LineNode(*n);
                for (const auto& np : n->NodePoints)
                    texts(np->InnerTexts);
            }
            texts(l->InnerTexts);
        }
    };
    for (const auto& r : sheet.Rastrs) {
        v.Position(r->BottomLeft);
        v.Position(r->TopRight);
    }
    for (const auto& layer : sheet.Layers) {
        texts(layer->Texts);
        points(layer->Points);
        lines(layer->Lines);
        for (const auto& polygon : layer->Polygons) {
            for (const auto& n : polygon->Nodes)
                v.Position(n->Position);
            for (const auto& hole : polygon->Holes)
                for (const auto& n : hole->Nodes)
                    v.Position(n->Position);
            texts(polygon->InnerTexts);
            points(polygon->InnerPoints);
            lines(polygon->InnerLines);
        }
    }
}

// The new place of each position and the new angle of each text, worked out first.
class TTransformPlan {
public:
    TTransformPlan(Extended k, Extended dx, Extended dy, Extended da, Extended xc, Extended yc)
        : K(k), Dx(dx), Dy(dy), Da(da), Xc(xc), Yc(yc)
    {
    }

    void Position(TGeoPoint& p)
    {
        TGeoPoint q = GeoPoint(p.X * K + Dx, p.Y * K + Dy);
        if (Da != 0)
            RotateCoord(Xc, Yc, Da, q.X, q.Y);
        if (!Finite(q))
            throw Exception(QStringLiteral("Преобразование не выполнено: координаты листа вышли бы "
                                           "за пределы представимых чисел"));
        Positions.push_back(q);
    }

    // Screen tenths to plan degrees and back even without a turn, so every angle comes
    // out folded into one circle.
    void Text(RGText& t)
    {
        Position(t.Position);
        Extended a = WinToGeoAngle(t.Angle);
        if (Da != 0)
            a += Da;
        pNormalAngle(a);
        Angles.push_back(GeoToWinAngle(a));
    }

    void LineNode(RGLineNode& n) { Position(n.Position); }

    std::vector<TGeoPoint> Positions;
    std::vector<TWinAngle> Angles;

private:
    Extended K, Dx, Dy, Da, Xc, Yc;
};

// Stores what the plan worked out, in the same order; nothing here can fail.
class TTransformStore {
public:
    explicit TTransformStore(const TTransformPlan& plan) : Plan(plan) {}

    void Position(TGeoPoint& p) { p = Plan.Positions[NextPosition++]; }

    // The frame was computed at the old place and angle: hit testing must not find
    // the text there.
    void Text(RGText& t)
    {
        Position(t.Position);
        t.Angle = Plan.Angles[NextAngle++];
        t.FrameValid = 0;
    }

    // The points on a node stand on it: they go where the node goes.
    void LineNode(RGLineNode& n)
    {
        Position(n.Position);
        for (const auto& np : n.NodePoints)
            np->Position = n.Position;
    }

private:
    const TTransformPlan& Plan;
    std::size_t NextPosition = 0;
    std::size_t NextAngle = 0;
};

// The layers a text command works on: sheet page (negative every sheet, past the last
// none) and its layer lay (negative every layer, past the last none). Each sheet and
// layer visited becomes current; f(sheetIndex, sheet, layerIndex, layer).
template <class F>
void ForSelectedLayers(TGPages& pages, int page, int lay, F&& f)
{
    const int sheets = pages.GetCount();
    if (page >= sheets)
        return;
    const int firstSheet = page < 0 ? 0 : page;
    const int lastSheet = page < 0 ? sheets - 1 : page;
    for (int p = firstSheet; p <= lastSheet; ++p) {
        pages.GoItem(p);
        RGPage& sheet = *pages.Item;
        const int layers = sheet.Layers.GetCount();
        if (lay >= layers)
            continue;
        const int firstLayer = lay < 0 ? 0 : lay;
        const int lastLayer = lay < 0 ? layers - 1 : lay;
        for (int l = firstLayer; l <= lastLayer; ++l) {
            sheet.Layers.GoItem(l);
            f(p, sheet, l, *sheet.Layers.Item);
        }
    }
}

// The first occurrence of oldSem in an object's semantics replaced; its sign is chosen
// again at the next full drawing.
template <class R>
void ReplaceFirst(R& object, const QString& oldSem, const QString& newSem)
{
    const qsizetype at = object.Semantics.indexOf(oldSem);
    if (at < 0)
        return;
    object.Semantics.replace(at, oldSem.size(), newSem);
    object.SignName.clear();
}

// The kinds of object a bulk command is asked for, each list with its kind number
// (0 points, 1 lines, 2 polygons): f(list, kind), in that order.
template <class F>
void ForChosenKinds(RGLayer& layer, bool points, bool lines, bool polygons, F&& f)
{
    if (points)
        f(layer.Points, std::uint8_t(0));
    if (lines)
        f(layer.Lines, std::uint8_t(1));
    if (polygons)
        f(layer.Polygons, std::uint8_t(2));
}

// The fields the replacement and the deletion open with: sheet, layer, the kinds of
// object and the piece of semantics sought.
struct RSemFilterFields {
    int Page;
    int Lay;
    bool Points;
    bool Lines;
    bool Polygons;
    QString OldSem;
};

RSemFilterFields ReadSemFilter(const TCommandFields& f)
{
    RSemFilterFields s;
    s.Page = f.Int(0);   // one field per statement, in field order
    s.Lay = f.Int(1);
    s.Points = f.Flag(2);
    s.Lines = f.Flag(3);
    s.Polygons = f.Flag(4);
    s.OldSem = f.Text(5);
    return s;
}

// One object found for deletion: its place in the tree when found, and the record
// itself, which is what is deleted.
struct Tfinded {
    std::int32_t Sheet = 0;
    std::int32_t Layer = 0;
    std::uint8_t Kind = 0;        // 0 point, 1 line, 2 polygon
    std::int32_t Object = 0;      // position in the layer's list of that kind
    QString Semantics;
    QString Place;                // " [sheet-layer]"
    const void* Record = nullptr; // link, not owned
};

template <class L>
void CollectMatches(const L& list, std::uint8_t kind, int sheetIndex, int layerIndex,
                    const QString& place, const QString& oldSem, std::vector<Tfinded>& found)
{
    for (int i = 0; i < list.GetCount(); ++i) {
        const auto* object = list.At(i);
        if (object->Semantics.contains(oldSem))
            found.push_back({sheetIndex, layerIndex, kind, i, object->Semantics, place, object});
    }
}

// Deletes the record found at its position, or wherever it stands now; a record no
// longer in the list is left alone.
template <class L>
void DeleteRecord(L& list, const Tfinded& f)
{
    if (list.At(f.Object) != f.Record) {
        int i = 0;
        while (i < list.GetCount() && list.At(i) != f.Record)
            ++i;
        if (i == list.GetCount())
            return;
        list.GoItem(i);
    } else {
        list.GoItem(f.Object);
    }
    list.DeleteItem();
}

template <class R>
void TakeWorkName(R& object)
{
    if (object.WorkName.isEmpty())
        return;
    object.Semantics = object.WorkName;
    object.SignName.clear();
}

}  // namespace

void TGeoMap::CmdTransform(const TCommandFields& f)
{
    const int page = f.Int(0);
    const Extended k = f.RealAnySeparator(1);
    const Extended dx = f.RealAnySeparator(2);
    const Extended dy = f.RealAnySeparator(3);
    const Extended da = f.RealAnySeparator(4);
    const Extended xc = f.RealAnySeparator(5);
    const Extended yc = f.RealAnySeparator(6);
    Transform(page, k, dx, dy, da, xc, yc);
}

void TGeoMap::CmdChangeSem(const TCommandFields& f)
{
    const RSemFilterFields s = ReadSemFilter(f);
    const QString& newSem = f.Text(6);
    ChangeSem(s.Page, s.Lay, s.Points, s.Lines, s.Polygons, s.OldSem, newSem);
}

void TGeoMap::CmdDelObjects(const TCommandFields& f)
{
    const RSemFilterFields s = ReadSemFilter(f);
    DelObjects(s.Page, s.Lay, s.Points, s.Lines, s.Polygons, s.OldSem);
}

void TGeoMap::CmdChangeHinSem(const TCommandFields& f)
{
    const QString& code = f.Text(0);
    const int nFrom = f.Int(1);
    const int nTo = f.Int(2);
    const Extended increment = f.RealAnySeparator(3);
    ChangeHinSem(code, nFrom, nTo, increment);
}

void TGeoMap::Transform(int page, Extended k, Extended dx, Extended dy, Extended da, Extended xc,
                        Extended yc)
{
    TTrailGuard guard(Module,
                      "procedure TGeoMap.Transform(page:integer; k,dx,dy,da,xc,yc:extended);",
                      TrailArg("page", page), TrailArg("k", k), TrailArg("dx", dx),
                      TrailArg("dy", dy), TrailArg("da", da), TrailArg("xc", xc),
                      TrailArg("yc", yc));
    RefuseNotFinite(k, "k");
    RefuseNotFinite(dx, "dx");
    RefuseNotFinite(dy, "dy");
    RefuseNotFinite(da, "da");
    RefuseNotFinite(xc, "xc");
    RefuseNotFinite(yc, "yc");
    if (k == 0)
        throw Exception(QStringLiteral("Преобразование не выполнено: коэффициент масштаба равен "
                                       "нулю, весь лист сошелся бы в одну точку"));
    if (!Pages.GoItem(page))
        return;
    RGPage& sheet = *Pages.Item;
    TTransformPlan plan(k, dx, dy, da, xc, yc);
    WalkSheet(sheet, plan);
    TTransformStore store(plan);
    WalkSheet(sheet, store);
}

void TGeoMap::ChangeSem(int page, int lay, bool Points, bool Lines, bool Polygons,
                        const QString& oldSem, const QString& NewSem)
{
    TTrailGuard guard(Module,
                      "procedure TGeoMap.ChangeSem(page,lay:integer; Points,Lines,Polygons:boolean; "
                      "oldSem,NewSem:string);",
                      TrailArg("page", page), TrailArg("lay", lay), TrailArg("oldSem", oldSem),
                      TrailArg("NewSem", NewSem));
    if (oldSem.isEmpty())
        return;
    ForSelectedLayers(Pages, page, lay, [&](int, RGPage&, int, RGLayer& layer) {
        ForChosenKinds(layer, Points, Lines, Polygons, [&](auto& list, std::uint8_t) {
            for (const auto& object : list)
                ReplaceFirst(*object, oldSem, NewSem);
        });
    });
}

// The objects are deleted by identity, after the question, without renaming them
// first: nothing is left half done when something fails, and an object whose
// semantics happens to read like a marker is not swept away with the others.
void TGeoMap::DelObjects(int page, int lay, bool Points, bool Lines, bool Polygons,
                         const QString& oldSem)
{
    TTrailGuard guard(Module,
                      "procedure TGeoMap.DelObjects(page,lay:integer; Points,Lines,Polygons:boolean; "
                      "oldSem:string);",
                      TrailArg("page", page), TrailArg("lay", lay), TrailArg("oldSem", oldSem));
    if (oldSem.isEmpty())
        return;
    std::vector<Tfinded> found;
    ForSelectedLayers(Pages, page, lay, [&](int p, RGPage& sheet, int l, RGLayer& layer) {
        const QString place = QStringLiteral(" [") + sheet.Name + QLatin1Char('-') + layer.Name +
                              QLatin1Char(']');
        ForChosenKinds(layer, Points, Lines, Polygons, [&](const auto& list, std::uint8_t kind) {
            CollectMatches(list, kind, p, l, place, oldSem, found);
        });
    });
    if (found.empty())
        return;
    QStringList question;
    question.reserve(static_cast<qsizetype>(found.size()));
    for (const Tfinded& f : found)
        question.append(f.Semantics + f.Place);
    if (Ui().QDelObjects(question) != mrOk)
        return;

    // From the last found to the first: within a list the later positions go first, so
    // the earlier ones still stand where they were found.
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        if (!Pages.GoItem(it->Sheet) || !Pages.Item->Layers.GoItem(it->Layer))
            continue;
        RGLayer& layer = *Pages.Item->Layers.Item;
        switch (it->Kind) {
        case 0: DeleteRecord(layer.Points, *it); break;
        case 1: DeleteRecord(layer.Lines, *it); break;
        default: DeleteRecord(layer.Polygons, *it); break;
        }
    }
}

void TGeoMap::ChangeHinSem(const QString& code, int nFrom, int nTo, Extended increment)
{
    TTrailGuard guard(Module,
                      "procedure TGeoMap.ChangeHinSem(code:string; nFrom,nTo:integer; "
                      "increment:extended);",
                      TrailArg("code", code), TrailArg("nFrom", nFrom), TrailArg("nTo", nTo),
                      TrailArg("increment", increment));
    if (!std::isfinite(increment))
        throw Exception(QStringLiteral("Изменение высот не выполнено: приращение не является "
                                       "конечным числом"));
    struct RChange {
        RGPoint* Point;   // link, not owned
        QString Semantics;
    };
    std::vector<RChange> changes;
    TArrayFloats numbers;
    for (const auto& sheet : Pages)
        for (const auto& layer : sheet->Layers)
            for (const auto& point : layer->Points) {
                if (point->Semantics.left(3) != code)
                    continue;
                numbers.clear();
                GetN(point->Semantics, numbers);
                if (numbers.empty())
                    continue;
                // Compared unconverted: a number far outside the integers is simply
                // outside the range.
                const Extended n = std::nearbyint(numbers.front());
                if (n < nFrom || n > nTo)
                    continue;
                QString shifted;
                ShiftHeights(point->Semantics, shifted, increment);
                changes.push_back({point.get(), shifted});
            }
    for (RChange& c : changes)
        c.Point->Semantics = std::move(c.Semantics);
}

void TGeoMap::ApplySynonyms()
{
    TTrailGuard guard(Module, "procedure TGeoMap.ApplySynonyms;");
    TSemServices* semantics = SemServices();
    if (!semantics)
        throw Exception(QStringLiteral("Классификатор семантики не создан"));
    semantics->LoadSynonyms();
    for (const auto& sheet : Pages)
        for (const auto& layer : sheet->Layers) {
            for (const auto& p : layer->Points)
                TakeWorkName(*p);
            for (const auto& l : layer->Lines)
                TakeWorkName(*l);
            for (const auto& p : layer->Polygons)
                TakeWorkName(*p);
        }
    semantics->SaveSynonyms();
}
