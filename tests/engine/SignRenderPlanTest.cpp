// The signs of a whole plan: the sign plan of the fixtures rendered with the shipped
// sign library at every scale, each object alike alone and among the others, and the
// sign names forgotten when the plan's scale changes.
#include "PlanFileTest.h"

#include "semantics/SignTestSupport.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QProcessEnvironment>
#include <cmath>
#include <functional>

namespace {

class SignRenderPlan : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        OpenSignsPlan();
    }
    void SetScale(int scale) { M().StrToComm(QStringLiteral("mcSetMapScale=<%1>").arg(scale)); }

    // Every point object of the plan, those on line nodes and inside polygons included.
    void ForEachPoint(const std::function<void(RGPoint&)>& f)
    {
        const auto points = [&](TGPoints& list) {
            for (const auto& p : list)
                f(*p);
        };
        const auto lines = [&](TGLines& list) {
            for (const auto& l : list)
                for (const auto& node : l->Nodes)
                    points(node->NodePoints);
        };
        for (const auto& page : M().Pages)
            for (const auto& layer : page->Layers) {
                points(layer->Points);
                lines(layer->Lines);
                for (const auto& polygon : layer->Polygons) {
                    points(polygon->InnerPoints);
                    lines(polygon->InnerLines);
                }
            }
    }

    // Every line object of the plan, those of polygons included.
    void ForEachLine(const std::function<void(RGLine&)>& f)
    {
        for (const auto& page : M().Pages)
            for (const auto& layer : page->Layers) {
                for (const auto& l : layer->Lines)
                    f(*l);
                for (const auto& polygon : layer->Polygons)
                    for (const auto& l : polygon->InnerLines)
                        f(*l);
            }
    }

    // Every polygon object of the plan.
    void ForEachPolygon(const std::function<void(RGPolygon&)>& f)
    {
        for (const auto& page : M().Pages)
            for (const auto& layer : page->Layers)
                for (const auto& polygon : layer->Polygons)
                    f(*polygon);
    }

    // Each object rendered again, in reverse order, with a library of its own, gives what
    // it gave among the others: no state leaks from one object into the next.
    template <class RObject, class FRender>
    static void ExpectAloneAsTogether(int scale, const std::vector<RObject*>& objects, const QStringList& together,
                                      FRender render)
    {
        ASSERT_EQ(objects.size(), size_t(together.size()));
        for (int i = int(objects.size()) - 1; i >= 0; --i) {
            TSymbols alone;
            alone.LoadSymbols(scale);
            alone.SetScale(scale, 96);
            objects[i]->SignName.clear();
            render(alone, *objects[i]);
            bool finite = true;
            EXPECT_EQ(Dump(*objects[i], finite).toStdString(), together[i].toStdString());
        }
    }

    // Everything a rendering leaves in a point or an area, every number in full.
    static QString Dump(const RGPoint& p, bool& finite) { return Dump(p.SignName, p.Picture, p.AutoTexts, finite); }
    static QString Dump(const RGPolygon& g, bool& finite) { return Dump(g.SignName, g.Picture, g.AutoTexts, finite); }
    // And in a line, its track included.
    static QString Dump(const RGLine& l, bool& finite)
    {
        QString out = Dump(l.SignName, l.Picture, l.AutoTexts, finite);
        for (const auto& t : l.Track) {
            out += QStringLiteral("\n%1 %2 %3").arg(double(t->Point.X), 0, 'g', 17).arg(double(t->Point.Y), 0, 'g', 17)
                       .arg(t->NodeIndex);
            finite = finite && std::isfinite(double(t->Point.X)) && std::isfinite(double(t->Point.Y));
        }
        return out;
    }
    static QString Dump(const QString& signName, const TVpLayers& picture, const TAutoTexts& texts, bool& finite)
    {
        QString out = signName + u'\n';
        const auto num = [&](Extended v) {
            finite = finite && std::isfinite(double(v));
            out += QString::number(double(v), 'g', 17) + u' ';
        };
        const auto pt = [&](const TGeoPoint& g) {
            num(g.X);
            num(g.Y);
        };
        for (const auto& e : picture) {
            out += QStringLiteral("|");
            for (const auto& g : e->Polygons) {
                for (const auto& q : g->Points)
                    pt(*q);
                for (const auto& ring : g->Holes) {
                    out += QStringLiteral("/");
                    for (const auto& q : ring->Points)
                        pt(*q);
                }
            }
            for (const auto& c : e->Circles) {
                pt(c->Center);
                num(c->Radius);
            }
            for (const auto& l : e->Lines) {
                pt(l->P1);
                pt(l->P2);
            }
            for (const auto& l : e->Polylines)
                for (const auto& q : l->Points)
                    pt(*q);
            for (const auto& t : e->Texts) {
                out += t->Text + u' ';
                pt(t->Position);
                num(t->Angle);
                for (const auto& c : t->Frame)
                    pt(c);
            }
        }
        for (const auto& t : texts) {
            out += QStringLiteral("\n%1 %2 %3 ").arg(t->Text).arg(t->Angle).arg(t->Hidden);
            pt(t->Position);
            for (const auto& c : t->Frame)
                pt(c);
        }
        return out;
    }
};

}  // namespace

TEST_F(SignRenderPlan, EveryPointFindsItsSignAtEveryScaleAndRendersAloneAsInThePlan)
{
    for (const int scale : {500, 1000, 2000}) {
        SCOPED_TRACE(scale);
        SetScale(scale);
        TSymbols& symbols = *M().Symbols;
        symbols.SetScale(scale, 96);
        int count = 0;
        QStringList together;
        ForEachPoint([&](RGPoint& p) {
            ++count;
            EXPECT_TRUE(p.SignName.isEmpty()) << p.Semantics.toStdString();
            EXPECT_TRUE(symbols.RenderPoint(&p)) << p.Semantics.toStdString();
            EXPECT_FALSE(p.SignName.endsWith(u'#')) << p.Semantics.toStdString();
            EXPECT_NE(p.SignName, QStringLiteral("неопределенный")) << p.Semantics.toStdString();
            bool finite = true;
            together << Dump(p, finite);
            EXPECT_TRUE(finite) << p.Semantics.toStdString();
        });
        EXPECT_EQ(count, 14);
        std::vector<RGPoint*> points;
        ForEachPoint([&](RGPoint& p) { points.push_back(&p); });
        ExpectAloneAsTogether(scale, points, together, [](TSymbols& s, RGPoint& p) { EXPECT_TRUE(s.RenderPoint(&p)); });
    }
}

TEST_F(SignRenderPlan, EveryLineFindsItsSignAtEveryScaleAndRendersAloneAsInThePlan)
{
    for (const int scale : {500, 1000, 2000}) {
        SCOPED_TRACE(scale);
        SetScale(scale);
        TSymbols& symbols = *M().Symbols;
        symbols.SetScale(scale, 96);
        std::vector<RGLine*> lines;
        QStringList together;
        ForEachLine([&](RGLine& l) {
            lines.push_back(&l);
            const int nodes = l.Nodes.GetCount();
            EXPECT_TRUE(l.SignName.isEmpty()) << l.Semantics.toStdString();
            EXPECT_TRUE(symbols.RenderLine(&l)) << l.Semantics.toStdString();
            EXPECT_FALSE(l.SignName.endsWith(u'#')) << l.Semantics.toStdString();
            EXPECT_NE(l.SignName, QStringLiteral("неопределенный")) << l.Semantics.toStdString();
            EXPECT_GT(l.Picture.GetCount(), 0) << l.Semantics.toStdString();
            EXPECT_EQ(l.Nodes.GetCount(), nodes);
            bool finite = true;
            together << Dump(l, finite);
            EXPECT_TRUE(finite) << l.Semantics.toStdString();
        });
        EXPECT_EQ(lines.size(), 13u);
        ExpectAloneAsTogether(scale, lines, together, [](TSymbols& s, RGLine& l) { EXPECT_TRUE(s.RenderLine(&l)); });
    }
}

TEST_F(SignRenderPlan, ScaleChangeForgetsEverySignName)
{
    // A point of every place a sign name is kept: in a layer, on a line node and inside
    // a polygon, as lines and polygons.
    RGLayer& layer = *M().Pages.At(0)->Layers.At(0);
    layer.Lines.AddItem();
    layer.Lines.Item->SignName = QStringLiteral("#");
    layer.Lines.Item->Nodes.AddItem();
    layer.Lines.Item->Nodes.Item->NodePoints.AddItem();
    layer.Polygons.AddItem();
    RGPolygon& polygon = *layer.Polygons.Item;
    polygon.SignName = QStringLiteral("#");
    polygon.InnerPoints.AddItem();
    polygon.InnerLines.AddItem();
    polygon.InnerLines.Item->SignName = QStringLiteral("#");
    polygon.InnerLines.Item->Nodes.AddItem();
    polygon.InnerLines.Item->Nodes.Item->NodePoints.AddItem();
    ForEachPoint([](RGPoint& p) { p.SignName = QStringLiteral("#"); });
    SetScale(1000);
    int points = 0;
    ForEachPoint([&](RGPoint& p) {
        ++points;
        EXPECT_TRUE(p.SignName.isEmpty());
    });
    EXPECT_EQ(points, 14 + 3);
    EXPECT_TRUE(layer.Lines.Item->SignName.isEmpty());
    EXPECT_TRUE(polygon.SignName.isEmpty());
    EXPECT_TRUE(polygon.InnerLines.Item->SignName.isEmpty());
}

// Guards against a point whose sign is missing at one scale keeping "#" at every
// other scale for good.
TEST_F(SignRenderPlan, ObjectFindsItsSignAgainAfterAScaleThatLacksIt)
{
    ASSERT_TRUE(QFile::remove(Folder() + QStringLiteral("Условные знаки/1000/Точечные/ТОЧ-Ф500.wri")));
    RGPoint* cross = nullptr;
    ForEachPoint([&](RGPoint& p) {
        if (p.Semantics == QStringLiteral("ТОЧ/Ф500"))
            cross = &p;
    });
    ASSERT_TRUE(cross);
    TSymbols& symbols = *M().Symbols;
    const auto render = [&](int scale) {
        SetScale(scale);
        symbols.SetScale(scale, 96);
        EXPECT_TRUE(symbols.RenderPoint(cross));
        return cross->SignName;
    };
    EXPECT_EQ(render(500), QStringLiteral("ТОЧ-Ф500"));
    EXPECT_EQ(render(1000), QStringLiteral("неопределенный"));
    EXPECT_EQ(render(500), QStringLiteral("ТОЧ-Ф500"));
}

// Every position left ink within reach pixels; the picture is saved as name in the
// folder VELMORA_PNG_DIR names, when it names one.
static void ExpectInkAndSave(const TPlanImage& img, const std::vector<TGeoPoint>& positions, int reach,
                             const QString& name)
{
    for (const TGeoPoint& p : positions) {
        const QPoint at = img.At(p).toPoint();
        bool ink = false;
        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy)
                ink = ink || img.Image.pixelColor(at + QPoint(dx, dy)) != QColor(Qt::white);
        EXPECT_TRUE(ink) << double(p.X) << " " << double(p.Y);
    }
    const QString folder = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VELMORA_PNG_DIR"));
    if (!folder.isEmpty()) {
        EXPECT_TRUE(img.Image.save(folder + u'/' + name));
    }
}

// Not a check of numbers: the picture a surveyor looks at. Written when
// VELMORA_PNG_DIR names a folder; the test only sees that every point left ink.
TEST_F(SignRenderPlan, PlanOfPointSignsAsAPicture)
{
    SetScale(500);
    TSymbols& symbols = *M().Symbols;
    symbols.SetScale(500, 96);
    symbols.SetMeasurer(std::make_unique<TQtTextMeasurer>());
    // 1:500 at 8 pixels per plan millimetre: 16 pixels per metre.
    TPlanImage img(1095, 1990, 16, 8, 1000, 1600);
    std::vector<TGeoPoint> positions;
    ForEachPoint([&](RGPoint& p) {
        if (!img.Image.rect().contains(img.At(p.Position).toPoint()))
            return;   // inside an area: drawn with the areas
        ASSERT_TRUE(symbols.RenderPoint(&p));
        PaintPicture(img, p.Picture, double(symbols.DotsPerMM));
        PaintCaptions(img, symbols, p.AutoTexts);
        positions.push_back(p.Position);
    });
    ExpectInkAndSave(img, positions, 3, QStringLiteral("point-signs-500.png"));
}

// Not a check of numbers: the line signs as a surveyor sees them, written when
// VELMORA_PNG_DIR names a folder; the test only sees that every line left ink at its
// first node.
TEST_F(SignRenderPlan, PlanOfLineSignsAsAPicture)
{
    SetScale(500);
    TSymbols& symbols = *M().Symbols;
    symbols.SetScale(500, 96);
    symbols.SetMeasurer(std::make_unique<TQtTextMeasurer>());
    // 1:500 at 6 pixels per plan millimetre: 12 pixels per metre.
    TPlanImage img(1410, 1990, 12, 6, 1730, 3900);
    std::vector<TGeoPoint> starts;
    ForEachLine([&](RGLine& l) {
        if (!img.Image.rect().contains(img.At(l.Nodes.At(0)->Position).toPoint()))
            return;   // inside an area: drawn with the areas
        ASSERT_TRUE(symbols.RenderLine(&l));
        PaintPicture(img, l.Picture, double(symbols.DotsPerMM));
        PaintCaptions(img, symbols, l.AutoTexts);
        starts.push_back(l.Nodes.At(0)->Position);
    });
    ExpectInkAndSave(img, starts, 10, QStringLiteral("line-signs-500.png"));
}

TEST_F(SignRenderPlan, EveryPolygonFindsItsSignAtEveryScaleAndRendersAloneAsInThePlan)
{
    TSemServices semantics;   // the material names of the building captions
    semantics.Open();
    for (const int scale : {500, 1000, 2000}) {
        SCOPED_TRACE(scale);
        SetScale(scale);
        TSymbols& symbols = *M().Symbols;
        symbols.SetScale(scale, 96);
        std::vector<RGPolygon*> polygons;
        QStringList together;
        QSet<QString> signs;
        ForEachPolygon([&](RGPolygon& g) {
            polygons.push_back(&g);
            EXPECT_TRUE(g.SignName.isEmpty()) << g.Semantics.toStdString();
            symbols.RenderPolygon(&g);
            EXPECT_FALSE(g.SignName.endsWith(u'#')) << g.Semantics.toStdString();
            EXPECT_NE(g.SignName, QStringLiteral("неопределенный")) << g.Semantics.toStdString();
            EXPECT_GT(g.Picture.GetCount(), 0) << g.Semantics.toStdString();
            signs.insert(g.SignName);
            bool finite = true;
            together << Dump(g, finite);
            EXPECT_TRUE(finite) << g.Semantics.toStdString();
        });
        // One polygon for every area sign of the library but the fall-back.
        EXPECT_EQ(polygons.size(), 21u);
        EXPECT_EQ(signs.size(), 21);
        ExpectAloneAsTogether(scale, polygons, together, [](TSymbols& s, RGPolygon& g) { s.RenderPolygon(&g); });
    }
}

TEST_F(SignRenderPlan, AreaSignsOfThePlanShowWhatTheyHold)
{
    TSemServices semantics;
    semantics.Open();
    SetScale(500);
    TSymbols& symbols = *M().Symbols;
    symbols.SetScale(500, 96);
    QHash<QString, RGPolygon*> bySemantics;
    ForEachPolygon([&](RGPolygon& g) {
        symbols.RenderPolygon(&g);
        bySemantics.insert(g.Semantics, &g);
    });
    const auto lines = [](const RGPolygon& g) {
        int n = 0;
        for (const auto& e : g.Picture)
            n += e->Lines.GetCount();
        return n;
    };

    // The lake's island is a ring of its fill, so it stays unpainted.
    const RGPolygon* lake = bySemantics.value(QStringLiteral("ОЗЕ/Ф001;ИИБелое"));
    ASSERT_TRUE(lake);
    ASSERT_GT(lake->Picture.At(0)->Polygons.GetCount(), 0);
    const RVpPolygon& water = *lake->Picture.At(0)->Polygons.At(0);
    EXPECT_EQ(water.Points.GetCount(), 6);
    ASSERT_EQ(water.Holes.GetCount(), 1);
    EXPECT_EQ(water.Holes.At(0)->Points.GetCount(), 4);
    ASSERT_EQ(lake->AutoTexts.GetCount(), 1);
    EXPECT_EQ(lake->AutoTexts.At(0)->Text, QStringLiteral("Белое"));

    // The stamp's outline has four sides, also as a closed ring (the reader drops the
    // repeated node; a command may still leave it).
    RGPolygon* frame = bySemantics.value(QStringLiteral("ОФО/К313"));
    ASSERT_TRUE(frame);
    EXPECT_EQ(lines(*frame), 4);
    const TGeoPoint first = frame->Nodes.At(0)->Position;
    frame->Nodes.AddItem();
    frame->Nodes.Item->Position = first;
    symbols.RenderPolygon(frame);
    EXPECT_EQ(lines(*frame), 4);

    // The band round a stamp is a white mask: filled, no outline, so the seam joining its
    // two rings never shows.
    const RGPolygon* band = bySemantics.value(QStringLiteral("ОФО/К110"));
    ASSERT_TRUE(band);
    EXPECT_EQ(lines(*band), 0);
    ASSERT_GT(band->Picture.At(0)->Polygons.GetCount(), 0);
    EXPECT_EQ(band->Picture.At(0)->Polygons.At(0)->FillColor, 0xFFFFFF);
    EXPECT_NE(band->Picture.At(0)->Polygons.At(0)->FillStyle, vfNone);

    // The building's caption names its material.
    const RGPolygon* building = bySemantics.value(QStringLiteral("ЗДН/Ф001;К012;Н003;М001;ИН12"));
    ASSERT_TRUE(building);
    EXPECT_EQ(building->SignName, QStringLiteral("ЗДН-Ф001;К012;Н003;М001;С"));
    ASSERT_EQ(building->AutoTexts.GetCount(), 1);
    EXPECT_EQ(building->AutoTexts.At(0)->Text, semantics.Codec.SL[seM].value(1));

    // The forest's captions stand on a grid.
    const RGPolygon* forest = bySemantics.value(QStringLiteral("ЛЕС/Ф002;ГВ25"));
    ASSERT_TRUE(forest);
    EXPECT_GT(forest->AutoTexts.GetCount(), 1);
    for (const auto& t : forest->AutoTexts)
        EXPECT_EQ(t->Text, QStringLiteral("25"));
}

// Not a check of numbers: the area signs as a surveyor sees them, written when
// VELMORA_PNG_DIR names a folder; the test only sees that every area but the white mask
// left ink at its first node.
TEST_F(SignRenderPlan, PlanOfAreaSignsAsAPicture)
{
    TSemServices semantics;
    semantics.Open();
    for (const int scale : {500, 1000, 2000}) {
        SCOPED_TRACE(scale);
        SetScale(scale);
        TSymbols& symbols = *M().Symbols;
        symbols.SetScale(scale, 96);
        symbols.SetMeasurer(std::make_unique<TQtTextMeasurer>());
        // 4 pixels per plan millimetre: 8 pixels per metre at 1:500.
        const double perMetre = 4000.0 / scale;
        TPlanImage img(1850, 1990, perMetre, 4, int(300 * perMetre), int(440 * perMetre));
        std::vector<TGeoPoint> starts;
        ForEachPolygon([&](RGPolygon& g) {
            symbols.RenderPolygon(&g);
            PaintPicture(img, g.Picture, double(symbols.DotsPerMM));
            PaintCaptions(img, symbols, g.AutoTexts);
            for (const auto& p : g.InnerPoints) {
                PaintPicture(img, p->Picture, double(symbols.DotsPerMM));
                PaintCaptions(img, symbols, p->AutoTexts);
            }
            for (const auto& l : g.InnerLines)
                PaintPicture(img, l->Picture, double(symbols.DotsPerMM));
            // The band round a stamp is a white mask: on white paper it leaves no ink.
            if (g.Semantics != QStringLiteral("ОФО/К110"))
                starts.push_back(g.Nodes.At(0)->Position);
        });
        ExpectInkAndSave(img, starts, 3, QStringLiteral("area-signs-%1.png").arg(scale));
    }
}
