// Object extents: every object of the sign plan, drawn alone, paints nothing outside the
// pixels of its extent; and the grid over the extents finds exactly the boxes that meet
// a rectangle, in drawing order.
#include "DrawTestSupport.h"
#include "PlanFileTest.h"

#include "engine/draw/GeoMapDrawSupport.h"
#include "engine/draw/ObjectExtents.h"
#include "semantics/signs/Symbols.h"

#include <QDir>
#include <QProcessEnvironment>
#include <random>

namespace {

class ObjectExtents : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        OpenSignsPlan();
        MainMap = &M();
        M().ShowSymbols = 1;
        M().ShowNodes = 1;
        M().BackColor = 0xFFFFFF;
        // Texts turned every way, of two sizes, among the signs.
        const int angles[] = {0, 300, 450, 900, 1350, 1800, 2250, 2700, 3300};
        int n = 0;
        for (const int angle : angles) {
            M().StrToComm(QStringLiteral("mcNewText=<0><0><Повёрнутый текст %1><%2><%3><%4><%5><*ОСНОВНОЙ><0><><0><0><0000><0>")
                              .arg(angle)
                              .arg(1030 + 10 * n)
                              .arg(2140 + 5 * n)
                              .arg(angle)
                              .arg(n % 2 ? QStringLiteral("2,5") : QStringLiteral("1")));
            ++n;
        }
    }

    // The view at the output scale, about the signs, every sign rendered and every text
    // measured.
    void ViewAt(int scale)
    {
        M().Draw(W, H, 0, ddScreen);
        M().DisplayScale = scale;
        M().CentreTarget = GeoPoint(1100, 2050);
        M().Draw(W, H, 8, ddScreen);
        ASSERT_EQ(M().OutputScale, scale);
        M().Draw(W, H, 2, ddScreen);
    }

    // Paints one object on white as the drawing paints it, node marks included.
    template <class F>
    QImage Alone(F paint)
    {
        M().Bitmap.fill(Qt::white);
        M().Painter->Begin(M().Bitmap);
        paint();
        M().Painter->End();
        return M().Bitmap.copy();
    }

    void Captions(TAutoTexts& texts)
    {
        for (const auto& t : texts) {
            M().HiddenCaption = t->Hidden != 0;
            M().DrawText(t.get());
        }
        M().HiddenCaption = false;
    }
    void Mark(const TGeoPoint& g)
    {
        int xs = 0, ys = 0;
        M().GeoToScr(M().DrawH, g.X, g.Y, xs, ys);
        M().DrawNodeMark(QPoint(xs + M().ScrollX, ys + M().ScrollY));
    }
    void PointPicture(RGPoint& q)
    {
        M().DrawCashe(&q.Picture);
        Captions(q.AutoTexts);
    }
    void LinePicture(RGLine& l)
    {
        M().DrawCashe(&l.Picture);
        Captions(l.AutoTexts);
        for (const auto& node : l.Nodes)
            for (const auto& q : node->NodePoints)
                PointPicture(*q);
    }

    // Every pixel the object painted lies within the pixels of its extent; counts the
    // objects that painted any (some lie beyond the picture).
    void ExpectInside(const QImage& painted, const TObjectExtent& extent, const QString& what)
    {
        const QRect ink = InkBounds(painted, painted.rect());
        if (ink.isEmpty())
            return;
        ++Inked;
        ASSERT_FALSE(extent.Empty()) << what.toStdString();
        const QRect inside = ExtentPixels(M(), extent);
        EXPECT_TRUE(inside.contains(ink)) << what.toStdString() << ": ink " << ink.x() << "," << ink.y() << " "
                                          << ink.width() << "x" << ink.height() << " outside " << inside.x() << ","
                                          << inside.y() << " " << inside.width() << "x" << inside.height();
        if (!inside.contains(ink)) {
            const QString folder = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VELMORA_PNG_DIR"));
            if (!folder.isEmpty())
                painted.save(QDir(folder).filePath(QStringLiteral("extent-%1.png").arg(what)));
        }
    }

    static constexpr int W = 500, H = 400;
    int Inked = 0;
};

}  // namespace

// Points with captions and leaders, lines with patterns and captions, areas with fills,
// hatching and captions, texts turned every way: at 1:500 and 1:2000 each, drawn
// alone, stays inside its extent.
TEST_F(ObjectExtents, EachObjectDrawnAloneStaysInsideItsExtent)
{
    for (const int scale : {500, 2000}) {
        SCOPED_TRACE(scale);
        ViewAt(scale);
        Inked = 0;
        for (int p = 0; p < M().Pages.GetCount(); ++p) {
            RGPage& page = *M().Pages.At(p);
            for (int l = 0; l < page.Layers.GetCount(); ++l) {
                RGLayer& layer = *page.Layers.At(l);
                for (int i = 0; i < layer.Polygons.GetCount(); ++i) {
                    RGPolygon& o = *layer.Polygons.At(i);
                    const QImage img = Alone([&] {
                        M().DrawCashe(&o.Picture);
                        Captions(o.AutoTexts);
                        for (const auto& line : o.InnerLines)
                            LinePicture(*line);
                        for (const auto& q : o.InnerPoints)
                            PointPicture(*q);
                        for (const auto& n : o.Nodes)
                            Mark(n->Position);
                        for (const auto& hole : o.Holes)
                            for (const auto& n : hole->Nodes)
                                Mark(n->Position);
                    });
                    ExpectInside(img, o.Extent, QStringLiteral("%1-пол-%2").arg(scale).arg(o.Semantics));
                }
                for (int i = 0; i < layer.Lines.GetCount(); ++i) {
                    RGLine& o = *layer.Lines.At(i);
                    const QImage img = Alone([&] {
                        LinePicture(o);
                        for (const auto& n : o.Nodes)
                            Mark(n->Position);
                    });
                    ExpectInside(img, o.Extent, QStringLiteral("%1-лин-%2").arg(scale).arg(o.Semantics));
                }
                for (int i = 0; i < layer.Points.GetCount(); ++i) {
                    RGPoint& o = *layer.Points.At(i);
                    const QImage img = Alone([&] {
                        PointPicture(o);
                        Mark(o.Position);
                    });
                    ExpectInside(img, o.Extent, QStringLiteral("%1-точ-%2").arg(scale).arg(o.Semantics));
                }
                for (int i = 0; i < layer.Texts.GetCount(); ++i) {
                    RGText& o = *layer.Texts.At(i);
                    const QImage img = Alone([&] {
                        M().DrawText(&o);
                        Mark(o.Position);
                    });
                    ExpectInside(img, TextExtent(o), QStringLiteral("%1-тек-%2").arg(scale).arg(o.Angle));
                }
            }
        }
        EXPECT_GT(Inked, 15);
    }
}

// Guards the grid's cells and its list of large boxes: what it finds for a rectangle is
// exactly the boxes a plain comparison finds, in entry order.
TEST(ObjectExtentsGrid, FindsWhatAPlainComparisonFinds)
{
    TGPages pages;
    std::mt19937 random(20261211);
    std::uniform_real_distribution<double> coord(-500, 500);
    std::uniform_real_distribution<double> size(0, 8);
    for (int p = 0; p < 2; ++p) {
        pages.AddItem();
        for (int l = 0; l < 3; ++l) {
            pages.Item->Layers.AddItem();
            RGLayer& layer = *pages.Item->Layers.Item;
            for (int i = 0; i < 300; ++i) {
                layer.Points.AddItem();
                layer.Points.Item->Position = GeoPoint(coord(random), coord(random));
                layer.Lines.AddItem();
                const Extended x = coord(random), y = coord(random);
                // A few long lines: kept aside from the cells.
                const Extended reach = i % 50 == 0 ? 600 : size(random);
                for (const TGeoPoint& q : {GeoPoint(x, y), GeoPoint(x + reach, y - reach / 2)}) {
                    layer.Lines.Item->Nodes.AddItem();
                    layer.Lines.Item->Nodes.Item->Position = q;
                }
            }
            // An object without any coordinate has no box and is never found.
            layer.Polygons.AddItem();
        }
    }
    TObjectExtents grid;
    grid.Build(pages, RExtentKey{});
    ASSERT_EQ(grid.Count(), 2u * 3 * 601);
    for (std::size_t i = 1; i < grid.Count(); ++i) {
        const RExtentEntry& a = grid.Entry(i - 1);
        const RExtentEntry& b = grid.Entry(i);
        EXPECT_LE(std::tie(a.Page, a.Kind, a.Layer, a.Index), std::tie(b.Page, b.Kind, b.Layer, b.Index));
    }
    std::vector<std::int32_t> found;
    for (int q = 0; q < 300; ++q) {
        TObjectExtent box;
        const double x = coord(random) * 1.3, y = coord(random) * 1.3, r = q % 3 == 0 ? 0 : size(random) * 5;
        box.Add(x, y);
        box.Add(x + r, y + r / 2);
        grid.Query(box, found);
        std::vector<std::int32_t> expected;
        for (std::size_t i = 0; i < grid.Count(); ++i)
            if (grid.Entry(i).Box.Meets(box))
                expected.push_back(std::int32_t(i));
        EXPECT_EQ(found, expected) << q;
    }
    const RExtentEntry* e = grid.Find(1, 2, ekLine, 7);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(std::tie(e->Page, e->Layer, e->Kind, e->Index), std::make_tuple(1, 2, std::uint8_t(ekLine), 7));
    EXPECT_EQ(grid.Find(1, 2, ekLine, 300), nullptr);
    EXPECT_EQ(grid.Find(2, 0, ekPoint, 0), nullptr);
}

// Guards the grid brought up to edits without being built again: objects moved, taken
// out of the middle of a list and put into it (every later number shifts), a whole
// list emptied, and enough edits to place the cells again; after each the grid holds
// the entries a new build holds and answers every rectangle as it does.
TEST(ObjectExtentsGrid, RefreshedAfterEachEditIsTheGridBuiltAgain)
{
    TGPages pages;
    std::mt19937 random(20261212);
    std::uniform_real_distribution<double> coord(-500, 500);
    std::uniform_real_distribution<double> size(0, 8);
    const auto place = [&](RGLine& line) {
        line.Nodes.DeleteAll();
        const Extended x = coord(random), y = coord(random), reach = size(random);
        for (const TGeoPoint& q : {GeoPoint(x, y), GeoPoint(x + reach, y - reach / 2)}) {
            line.Nodes.AddItem();
            line.Nodes.Item->Position = q;
        }
    };
    for (int p = 0; p < 2; ++p) {
        pages.AddItem();
        for (int l = 0; l < 2; ++l) {
            pages.Item->Layers.AddItem();
            RGLayer& layer = *pages.Item->Layers.Item;
            for (int i = 0; i < 200; ++i) {
                layer.Points.AddItem();
                layer.Points.Item->Position = GeoPoint(coord(random), coord(random));
                layer.Lines.AddItem();
                place(*layer.Lines.Item);
            }
        }
    }
    TObjectExtents grid;
    RExtentKey key;
    grid.Build(pages, key);
    const auto expectAsBuilt = [&](const char* what) {
        SCOPED_TRACE(what);
        TObjectExtents built;
        built.Build(pages, key);
        ASSERT_EQ(grid.Count(), built.Count());
        for (std::size_t i = 0; i < built.Count(); ++i) {
            const RExtentEntry& a = grid.Entry(i);
            const RExtentEntry& b = built.Entry(i);
            ASSERT_EQ(std::tie(a.Page, a.Layer, a.Kind, a.Index, a.Object, a.Box.MinX, a.Box.MinY, a.Box.MaxX, a.Box.MaxY),
                      std::tie(b.Page, b.Layer, b.Kind, b.Index, b.Object, b.Box.MinX, b.Box.MinY, b.Box.MaxX, b.Box.MaxY))
                << i;
        }
        EXPECT_EQ(grid.Unmeasured(), built.Unmeasured());
        std::vector<std::int32_t> found, expected;
        for (int q = 0; q < 200; ++q) {
            TObjectExtent box;
            const double x = coord(random) * 1.3, y = coord(random) * 1.3, r = q % 3 == 0 ? 0 : size(random) * 5;
            box.Add(x, y);
            box.Add(x + r, y + r / 2);
            grid.Query(box, found);
            built.Query(box, expected);
            ASSERT_EQ(found, expected) << q;
        }
    };
    const auto refresh = [&](const void* changed) {
        ++key.Edits;
        return grid.Refresh(pages, key, changed);
    };
    RGLayer& layer = *pages.At(1)->Layers.At(0);

    // A line moved far: out of its cells.
    RGLine& moved = *layer.Lines.At(17);
    place(moved);
    for (const auto& n : moved.Nodes)
        n->Position = GeoPoint(n->Position.X + 300, n->Position.Y - 300);
    ASSERT_TRUE(refresh(&moved));
    expectAsBuilt("moved line");

    // A point taken out of the middle of its list, one put in, one put at the end.
    layer.Points.GoItem(50);
    layer.Points.DeleteItem();
    ASSERT_TRUE(refresh(nullptr));
    expectAsBuilt("deleted point");
    layer.Lines.InsertItem(3);
    place(*layer.Lines.Item);
    ASSERT_TRUE(refresh(layer.Lines.Item));
    expectAsBuilt("inserted line");
    pages.At(0)->Layers.At(1)->Points.AddItem();
    pages.At(0)->Layers.At(1)->Points.Item->Position = GeoPoint(0, 0);
    ASSERT_TRUE(refresh(pages.At(0)->Layers.At(1)->Points.Item));
    expectAsBuilt("added point");

    // A list emptied.
    pages.At(0)->Layers.At(0)->Points.DeleteAll();
    ASSERT_TRUE(refresh(nullptr));
    expectAsBuilt("emptied list");

    // Many moves in a row: the cells placed again on the way.
    for (int i = 0; i < 400; ++i) {
        RGLine& line = *pages.At(i % 2)->Layers.At(1)->Lines.At(i % 200);
        place(line);
        ASSERT_TRUE(refresh(&line));
    }
    expectAsBuilt("many moves");

    // Another sign library, or a layer added: the grid has to be built again.
    RExtentKey other = key;
    other.Symbols = &other;
    EXPECT_FALSE(grid.Refresh(pages, other, nullptr));
    pages.At(1)->Layers.AddItem();
    EXPECT_FALSE(refresh(nullptr));
}
