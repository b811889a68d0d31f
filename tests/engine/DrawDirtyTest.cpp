// The redraw of what an edit touched: after each kind of edit of the sign plan, mode 7
// redraws only the rectangle of the edited object's extents, and the picture is the
// one a whole redraw paints, pixel for pixel, at 1:500 and 1:2000.
#include "DrawTestSupport.h"
#include "PlanFileTest.h"

#include "engine/commands/MapCommand.h"
#include "engine/draw/ObjectExtents.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QDir>
#include <QProcessEnvironment>
#include <functional>
#include <random>
#include <tuple>

namespace {

class DrawDirty : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        OpenSignsPlan();
        MainMap = &M();
        M().ShowSymbols = 1;
        M().ShowNodes = 1;
        M().ShowCoordCross = 1;
        M().ShowPlansBorders = 1;
        M().BackColor = 0xFFFFFF;
        M().StrToComm(QStringLiteral("mcNewText=<0><0><Улица Лесная><1075><2130><0><1,5><*ОСНОВНОЙ><0><><0><0><0000><0>"));
    }

    void ViewAt(int scale)
    {
        M().Draw(W, H, 0, ddScreen);
        M().DisplayScale = scale;
        M().CentreTarget = GeoPoint(1080, 2050);
        M().Draw(W, H, 8, ddScreen);
        ASSERT_EQ(M().OutputScale, scale);
    }

    // Where in the plan the first object of a kind whose semantics begin with prefix is.
    struct RAt {
        int Page = -1, Layer = -1, Index = -1;
    };
    template <class F>
    RAt Find(F listOf, const QString& prefix)
    {
        for (int p = 0; p < M().Pages.GetCount(); ++p)
            for (int l = 0; l < M().Pages.At(p)->Layers.GetCount(); ++l) {
                auto& list = listOf(*M().Pages.At(p)->Layers.At(l));
                for (int i = 0; i < list.GetCount(); ++i)
                    if (list.At(i)->Semantics.startsWith(prefix))
                        return {p, l, i};
            }
        return {};
    }

    // Marks the object mode 7 renders and redraws only what the edit touched.
    void RedrawInPart(std::uint8_t kind, const RAt& at)
    {
        M().EditedPage = at.Page;
        M().EditedLayer = at.Layer;
        M().EditedKind = kind;
        M().EditedObject = at.Index;
        // A pixel far from every object: only a whole redraw paints it again.
        const QPoint far(1, 1);
        const QRgb kept = M().Bitmap.pixel(far);
        M().Bitmap.setPixel(far, 0xFF123456);
        M().DirtyRedrawOn = 1;
        M().Draw(W, H, 7, ddScreen);
        ASSERT_EQ(M().Bitmap.pixel(far), 0xFF123456u) << "the whole picture was drawn again";
        M().Bitmap.setPixel(far, kept);
    }

    // Marks the object mode 7 renders, redraws only what the edit touched and then the
    // whole picture, and expects the two the same.
    void ExpectPartialAsWhole(const char* what, std::uint8_t kind, const RAt& at)
    {
        SCOPED_TRACE(what);
        RedrawInPart(kind, at);
        ExpectAsWhole(what);
    }

    // Redraws the whole picture and expects it the one on hand.
    void ExpectAsWhole(const char* what)
    {
        const QImage partial = M().Bitmap.copy();
        M().DirtyRedrawOn = 0;
        M().Draw(W, H, 7, ddScreen);
        M().DirtyRedrawOn = 1;
        const QImage& whole = M().Bitmap;
        ASSERT_EQ(partial.size(), whole.size());
        long differing = 0;
        QRect where;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (partial.pixel(x, y) != whole.pixel(x, y)) {
                    ++differing;
                    where |= QRect(x, y, 1, 1);
                }
        EXPECT_EQ(differing, 0) << "at " << where.x() << "," << where.y() << " " << where.width() << "x"
                                << where.height();
        const QString folder = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VELMORA_PNG_DIR"));
        if (!folder.isEmpty() && (differing > 0 || qEnvironmentVariableIsSet("VELMORA_PNG_ALL"))) {
            const QString name = QStringLiteral("dirty-%1-%2").arg(M().OutputScale).arg(QString::fromUtf8(what));
            partial.save(QDir(folder).filePath(name + "-partial.png"));
            whole.save(QDir(folder).filePath(name + "-whole.png"));
        }
    }

    static constexpr int W = 480, H = 360;
};

}  // namespace

TEST_F(DrawDirty, EachEditRedrawnInPartIsTheWholeRedraw)
{
    for (const int scale : {500, 2000}) {
        SCOPED_TRACE(scale);
        // Each scale starts from the plan as the fixture opens it.
        if (scale != 500) {
            TearDown();
            SetUp();
        }
        ViewAt(scale);
        const auto points = [](RGLayer& l) -> TGPoints& { return l.Points; };
        const auto lines = [](RGLayer& l) -> TGLines& { return l.Lines; };
        const auto polygons = [](RGLayer& l) -> TGPolygons& { return l.Polygons; };

        // A new point with captions, among the signs.
        const RAt sheet = Find(points, QStringLiteral("ОТА"));
        ASSERT_GE(sheet.Page, 0);
        M().StrToComm(QStringLiteral("mcNewPoint=<%1><%2><ОТА/Ф002;ИВ150.10;ИД3.5><1030><2030><2><0><><0><0>")
                          .arg(sheet.Page)
                          .arg(sheet.Layer));
        ExpectPartialAsWhole("new point", 0, {sheet.Page, sheet.Layer, -1});

        // A node of a contour line moved 3 m north.
        const RAt contour = Find(lines, QStringLiteral("ГОР/Ф021"));
        ASSERT_GE(contour.Page, 0);
        const RGLine& line = *M().Pages.At(contour.Page)->Layers.At(contour.Layer)->Lines.At(contour.Index);
        M().StrToComm(QStringLiteral("mcSetLineProp=<%1><%2><%3><%4><><0><0><2><>"
                                     "<[{1153}{2120}{0}{-1}{0}{-1}{0}{0}][{1150}{2000}{0}{-1}{0}{-1}{0}{0}]>")
                          .arg(contour.Page)
                          .arg(contour.Layer)
                          .arg(contour.Index)
                          .arg(line.Semantics));
        ExpectPartialAsWhole("moved node", 1, contour);

        // A plain point given the semantics of a well: a larger sign, with captions.
        const RAt plain = Find(points, QStringLiteral("ТОЧ/Ф500"));
        ASSERT_GE(plain.Page, 0);
        const RGPoint& point = *M().Pages.At(plain.Page)->Layers.At(plain.Layer)->Points.At(plain.Index);
        M().StrToComm(QStringLiteral("mcSetPointProp=<%1><%2><%3><КЛД/Ф001;Н001;М005;ГГ12.45;ГР0.80><%4><%5><2><0><><0><0>")
                          .arg(plain.Page)
                          .arg(plain.Layer)
                          .arg(plain.Index)
                          .arg(double(point.Position.X), 0, 'f', 2)
                          .arg(double(point.Position.Y), 0, 'f', 2));
        ExpectPartialAsWhole("larger sign", 0, plain);

        // A text turned by 45 degrees.
        const RAt text{0, 0, M().Pages.At(0)->Layers.At(0)->Texts.GetCount() - 1};
        M().StrToComm(QStringLiteral("mcSetTextProp=<0><0><%1><Улица Лесная><1075><2130><450><1,5><*ОСНОВНОЙ><0><><0><0><0000><0>")
                          .arg(text.Index));
        ExpectPartialAsWhole("turned text", 3, text);

        // An area deleted: noted before it goes, then nothing marked to render.
        const RAt area = Find(polygons, QString());
        ASSERT_GE(area.Page, 0);
        M().NoteGoingObject(area.Page, area.Layer, ekPolygon, area.Index);
        M().StrToComm(QStringLiteral("mcDelPolygon=<%1><%2><%3>").arg(area.Page).arg(area.Layer).arg(area.Index));
        ExpectPartialAsWhole("deleted area", 255, area);

        // A point deleted the same way.
        const RAt gone = Find(points, QStringLiteral("КЛД"));
        M().NoteGoingObject(gone.Page, gone.Layer, ekPoint, gone.Index);
        M().StrToComm(QStringLiteral("mcDelPoint=<%1><%2><%3>").arg(gone.Page).arg(gone.Layer).arg(gone.Index));
        ExpectPartialAsWhole("deleted point", 255, gone);
    }
}

// Guards the partial redraw against a picture it cannot build on: after a change of the
// view or of a display switch, mode 7 draws the whole picture.
TEST_F(DrawDirty, AnotherViewOrSwitchRedrawsTheWholePicture)
{
    ViewAt(500);
    M().EditedPage = 0;
    M().EditedLayer = 0;
    M().EditedKind = 0;
    M().EditedObject = 0;
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"node marks off", [&] { M().ShowNodes = 0; }},
        {"another ground", [&] { M().BackColor = 0xEEEEEE; }},
        {"outlines", [&] { M().ShowSymbols = 0; }},
        {"a picture for the printer", [&] { M().Draw(W, H, 2, ddRaster); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        M().ShowSymbols = 1;
        M().Draw(W, H, 3, ddScreen);
        change();
        M().Bitmap.setPixel(1, 1, 0xFF123456);
        M().Draw(W, H, 7, ddScreen);
        EXPECT_NE(M().Bitmap.pixel(1, 1), 0xFF123456u);
    }
}

// Guards the grid of extents brought up to each edit by the partial redraw instead of
// built again: edits in a row, each redrawn in part alone (a point added, a node moved,
// a point added where it meets another point but not its caption, an area deleted, a text added in the middle of the lists, a point deleted), leave the
// grid the one a build gives, the hit test through it finding what the plain one finds,
// and the picture the one a whole redraw paints.
TEST_F(DrawDirty, EditsInARowRedrawnInPartKeepTheGridAndThePicture)
{
    ViewAt(2000);
    // The hit test names what it finds through the classifier.
    TSemServices semantics;
    semantics.Open();
    const auto points = [](RGLayer& l) -> TGPoints& { return l.Points; };
    const auto lines = [](RGLayer& l) -> TGLines& { return l.Lines; };
    const auto polygons = [](RGLayer& l) -> TGPolygons& { return l.Polygons; };
    std::mt19937 random(72);
    std::uniform_real_distribution<double> x(1000, 1160), y(1980, 2160);
    const auto expectGridAsBuilt = [&](const char* what) {
        SCOPED_TRACE(what);
        ASSERT_NE(M().Extents, nullptr);
        ASSERT_EQ(M().Extents->Key(), M().ExtentKeyNow()) << "the hit test would build the grid again";
        TObjectExtents built;
        built.Build(M().Pages, M().ExtentKeyNow());
        const TObjectExtents& grid = *M().Extents;
        ASSERT_EQ(grid.Count(), built.Count());
        for (std::size_t i = 0; i < built.Count(); ++i) {
            const RExtentEntry& a = grid.Entry(i);
            const RExtentEntry& b = built.Entry(i);
            ASSERT_EQ(std::tie(a.Page, a.Layer, a.Kind, a.Index, a.Box.MinX, a.Box.MinY, a.Box.MaxX, a.Box.MaxY),
                      std::tie(b.Page, b.Layer, b.Kind, b.Index, b.Box.MinX, b.Box.MinY, b.Box.MaxX, b.Box.MaxY))
                << i;
        }
        for (int c = 0; c < 40; ++c) {
            const Extended cx = x(random), cy = y(random), r = c % 4 == 0 ? 0.5L : 4;
            const TGeoRect rect = {GeoPoint(cx + r, cy - r), GeoPoint(cx + r, cy + r), GeoPoint(cx - r, cy + r),
                                   GeoPoint(cx - r, cy - r)};
            const auto hits = [&] {
                std::vector<std::tuple<int, int, int, int>> h;
                for (const auto& f : M().FoundObjects)
                    h.emplace_back(f->PageIndex, f->LayerIndex, f->ObjectIndex, f->Kind);
                return h;
            };
            M().FindByExtents = 0;
            M().FindObjects(cx, cy, rect);
            const auto plain = hits();
            M().FindByExtents = 1;
            M().FindObjects(cx, cy, rect);
            EXPECT_EQ(hits(), plain) << c;
        }
    };

    const RAt sheet = Find(points, QStringLiteral("ОТА"));
    ASSERT_GE(sheet.Page, 0);
    M().StrToComm(QStringLiteral("mcNewPoint=<%1><%2><ОТА/Ф002;ИВ150.10;ИД3.5><1030><2030><2><0><><0><0>")
                      .arg(sheet.Page)
                      .arg(sheet.Layer));
    RedrawInPart(0, {sheet.Page, sheet.Layer, -1});
    expectGridAsBuilt("new point");

    const RAt contour = Find(lines, QStringLiteral("ГОР/Ф021"));
    ASSERT_GE(contour.Page, 0);
    const RGLine& line = *M().Pages.At(contour.Page)->Layers.At(contour.Layer)->Lines.At(contour.Index);
    M().StrToComm(QStringLiteral("mcSetLineProp=<%1><%2><%3><%4><><0><0><2><>"
                                 "<[{1153}{2120}{0}{-1}{0}{-1}{0}{0}][{1150}{2000}{0}{-1}{0}{-1}{0}{0}]>")
                      .arg(contour.Page)
                      .arg(contour.Layer)
                      .arg(contour.Index)
                      .arg(line.Semantics));
    RedrawInPart(1, contour);
    expectGridAsBuilt("moved node");

    // A point whose caption stands 20 mm north of it, then a point beside the first:
    // the first point meets the second's rectangle, its caption does not and is left
    // out of the redraw.
    const auto newPoint = [&](Extended x, Extended y, Extended captionNorth) {
        M().DoCommand(mcNewPoint, TCommandParams()
                                      .Int(sheet.Page)
                                      .Int(sheet.Layer)
                                      .Text(QStringLiteral("ОТА/Ф002;ИВ151.20;ИД3.5"))
                                      .Fixed(x)
                                      .Fixed(y)
                                      .Int(2)
                                      .Fixed(0)
                                      .Field(TCommandValues().Fixed(captionNorth, 1).Fixed(0, 1).Int(0).Fixed(1).Int(0).Group())
                                      .Int(0)
                                      .Int(0));
        RedrawInPart(0, {sheet.Page, sheet.Layer, -1});
    };
    newPoint(1100, 2060, 20);
    newPoint(1100.5L, 2060.5L, 1.5L);
    expectGridAsBuilt("point beside a point captioned far");

    const RAt area = Find(polygons, QString());
    ASSERT_GE(area.Page, 0);
    M().NoteGoingObject(area.Page, area.Layer, ekPolygon, area.Index);
    M().StrToComm(QStringLiteral("mcDelPolygon=<%1><%2><%3>").arg(area.Page).arg(area.Layer).arg(area.Index));
    RedrawInPart(255, area);
    expectGridAsBuilt("deleted area");

    // A text of the first layer: every entry after it in the drawing's order shifts.
    M().StrToComm(QStringLiteral("mcNewText=<0><0><Улица Новая><1060><2080><300><1><*ОСНОВНОЙ><0><><0><0><0000><0>"));
    RedrawInPart(3, {0, 0, -1});
    expectGridAsBuilt("new text");

    const RAt gone = Find(points, QStringLiteral("ОТА"));
    M().NoteGoingObject(gone.Page, gone.Layer, ekPoint, gone.Index);
    M().StrToComm(QStringLiteral("mcDelPoint=<%1><%2><%3>").arg(gone.Page).arg(gone.Layer).arg(gone.Index));
    RedrawInPart(255, gone);
    expectGridAsBuilt("deleted point");

    ExpectAsWhole("edits in a row");
}
