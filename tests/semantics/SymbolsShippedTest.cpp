// The sign library and text styles we ship: each scale loads without a single error,
// every file is in the writer's own form, every object of our classifier has a sign of
// its own, the named styles exist, the fonts are on the machine, and together the signs
// use every picture, pattern, fill, hatching and caption feature the renderers know.
#include "semantics/signs/Symbols.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "platform/FileLookup.h"
#include "semantics/codec/SemCodec.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const int Scales[] = {500, 1000, 2000};

class SymbolsShipped : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        const QString scale = QString::number(GetParam());
        Run = std::make_unique<TTestRun>(QStringList{QStringLiteral("Условные знаки/") + scale,
                                                     QStringLiteral("Шрифты/") + scale,
                                                     QStringLiteral("Семантика")});
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << caption + QStringLiteral(": ") + text;
            return mrOk;
        };
        Hooks = std::make_unique<TScopedDialogHooks>(hooks);
        Symbols.LoadSymbols(GetParam());
    }
    void TearDown() override
    {
        Hooks.reset();
        Run.reset();
    }

    std::unique_ptr<TTestRun> Run;
    TSeparatorScope Separators{u'.'};
    std::unique_ptr<TScopedDialogHooks> Hooks;
    QStringList Messages;
    TSymbols Symbols;
};

// Every feature a set of signs uses, by name.
class TFeatures {
public:
    QSet<QString> Names;
    QSet<QString> StyleNames;   // named styles the signs refer to
    QSet<QString> Fonts;        // fonts of own styles

    void Add(const QString& name) { Names.insert(name); }

    void Picture(const TVpLayers& picture, const QString& where, bool pattern = false)
    {
        for (const auto& element : picture) {
            for (const auto& p : element->Polygons) {
                Add(QStringLiteral("polygon fill %1").arg(p->FillStyle));
                if (pattern)
                    Add(QStringLiteral("pattern polygon"));
            }
            for (const auto& c : element->Circles) {
                Add(QStringLiteral("circle fill %1").arg(c->FillStyle));
                if (pattern)
                    Add(QStringLiteral("pattern circle"));
            }
            for (const auto& l : element->Lines) {
                Add(QStringLiteral("line"));
                if (!pattern)
                    continue;
                if (l->P1.X != l->P2.X)
                    Add(QStringLiteral("pattern stroke across"));
                else if (l->P1.X == 0)
                    Add(QStringLiteral("pattern stroke on the axis"));
                else
                    Add(QStringLiteral("pattern stroke alongside"));
            }
            if (element->Polylines.GetCount() > 0) {
                Add(QStringLiteral("polyline"));
                if (pattern)
                    Add(QStringLiteral("pattern polyline"));
            }
            for (const auto& t : element->Texts) {
                Add(t->OwnStyle ? QStringLiteral("text own style") : QStringLiteral("text named style"));
                Style(t->OwnStyle, t->StyleName);
            }
        }
        if (picture.HasOwnLine)
            Add(where + QStringLiteral(" simple line"));
        if (picture.GetCount() > 0)
            Add(where);
    }

    void Captions(const TSemTexts& captions, const QString& kind)
    {
        for (const auto& r : captions) {
            Add(kind + QStringLiteral(" caption mode %1").arg(r->Mode));
            Add(r->OwnStyle ? QStringLiteral("caption own style") : QStringLiteral("caption named style"));
            Style(r->OwnStyle, r->StyleName);
            if (r->PropKey == u"В")
                Add(QStringLiteral("unconditional caption"));
            if (r->TextStart.startsWith(u'^'))
                Add(kind + QStringLiteral(" special ") + r->TextStart);
            Add(r->PropCode.startsWith(u'-') ? QStringLiteral("caption any code")
                                             : QStringLiteral("caption exact code"));
            if (kind == u"polygon" && r->PropKey == u"М" && r->PropCode.startsWith(u'-'))
                Add(QStringLiteral("polygon material name"));
        }
    }

private:
    void Style(const std::unique_ptr<TUserStyle>& own, const QString& name)
    {
        if (own)
            Fonts.insert(own->FontName);
        else
            StyleNames.insert(name);
    }
};

TFeatures FeaturesOf(const TSymbols& symbols)
{
    TFeatures f;
    for (const auto& g : symbols.VpGPoints) {
        f.Picture(g->Picture, QStringLiteral("point picture"));
        f.Captions(g->Captions, QStringLiteral("point"));
        if (g->LeaderLineDefault)
            f.Add(QStringLiteral("leader line"));
    }
    for (const auto& g : symbols.VpGLines) {
        f.Picture(g->LineStart, QStringLiteral("line start"));
        f.Picture(g->LineEnd, QStringLiteral("line end"));
        f.Picture(g->SegmentStart, QStringLiteral("segment start"));
        f.Picture(g->SegmentEnd, QStringLiteral("segment end"));
        f.Picture(g->Piece1, QStringLiteral("line piece 1"), true);
        f.Picture(g->Piece2, QStringLiteral("line piece 2"), true);
        if (g->TextRepeat > 0 && (g->TextPoint.X != 0 || g->TextPoint.Y != 0))
            f.Add(QStringLiteral("in-line text position"));
        f.Captions(g->Captions, QStringLiteral("line"));
        if (g->Captions.GetCount() > 0)
            f.Add(QStringLiteral("line captions middle %1").arg(g->SegmentMiddle));
    }
    for (const auto& g : symbols.VpGPolygons) {
        f.Picture(g->Corners, QStringLiteral("corners"));
        f.Picture(g->Piece1, QStringLiteral("area piece 1"), true);
        f.Picture(g->Piece2, QStringLiteral("area piece 2"), true);
        f.Picture(g->Fill1, QStringLiteral("fill 1"));
        f.Picture(g->Fill2, QStringLiteral("fill 2"));
        f.Picture(g->Fill3, QStringLiteral("fill 3"));
        f.Picture(g->Center, QStringLiteral("centre"));
        f.Picture(g->Diagonals1, QStringLiteral("diagonals 1"));
        f.Picture(g->Diagonals2, QStringLiteral("diagonals 2"));
        f.Picture(g->Cross1, QStringLiteral("cross 1"));
        f.Picture(g->Cross2, QStringLiteral("cross 2"));
        const std::pair<const TVpLayers*, int> fills[] = {
            {&g->Fill1, g->Fill1Kind}, {&g->Fill2, g->Fill2Kind}, {&g->Fill3, g->Fill3Kind}};
        for (const auto& [picture, kind] : fills)
            if (picture->GetCount() > 0)
                f.Add(QStringLiteral("fill grid %1").arg(kind));
        if (g->Center.GetCount() > 0)
            f.Add(QStringLiteral("centre orientation %1").arg(g->CenterOrientation));
        if (g->Diagonals1.GetCount() > 0)
            f.Add(QStringLiteral("diagonals 1 style %1").arg(g->Diagonals1Style));
        if (g->Diagonals2.GetCount() > 0)
            f.Add(QStringLiteral("diagonals 2 style %1").arg(g->Diagonals2Style));
        if (g->Cross1.GetCount() > 0)
            f.Add(QStringLiteral("hatching %1").arg(g->Cross1Style));
        if (g->Cross2.GetCount() > 0 && g->Cross2Style == 1)
            f.Add(QStringLiteral("hatching intermediate strokes"));
        if (g->FillOn)
            f.Add(QStringLiteral("area filled"));
        f.Captions(g->Captions, QStringLiteral("polygon"));
        if (g->Captions.GetCount() > 0)
            f.Add(QStringLiteral("caption layout %1").arg(g->TextStepKind));
    }
    return f;
}

}  // namespace

TEST_P(SymbolsShipped, LoadsWithoutASingleError)
{
    EXPECT_TRUE(Symbols.LoadErrors.isEmpty()) << Symbols.LoadErrors.join(u'\n').toStdString();
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
    for (TLmode lm = lmPoint; lm <= lmPolygon; ++lm) {   // one sign per file of the folder
        const qsizetype files = QDir(TSymbols::KindFolder(GetParam(), lm))
                                    .entryList({QStringLiteral("*.wri")}, QDir::Files)
                                    .size();
        EXPECT_GT(files, 1);
        EXPECT_EQ(Symbols.WithList(lm, [](auto& list) { return list.GetCount(); }), files);
    }
    EXPECT_EQ(Symbols.VpGPoints.At(Symbols.VpGPoints.GetCount() - 1)->Code, QStringLiteral("неопределенный"));
    EXPECT_EQ(Symbols.VpGLines.At(Symbols.VpGLines.GetCount() - 1)->Code, QStringLiteral("неопределенный"));
    EXPECT_EQ(Symbols.VpGPolygons.At(Symbols.VpGPolygons.GetCount() - 1)->Code,
              QStringLiteral("неопределенный"));
}

TEST_P(SymbolsShipped, EveryFileIsInTheWritersOwnForm)
{
    for (TLmode lm = lmPoint; lm <= lmPolygon; ++lm) {
        const int count = Symbols.WithList(lm, [](auto& list) { return list.GetCount(); });
        for (int i = 0; i < count; ++i) {
            const QString code = Symbols.WithList(lm, [i](auto& list) {
                list.GoItem(i);
                return list.Item->Code;
            });
            SCOPED_TRACE(code.toStdString());
            const QString source = TSymbols::KindFolder(GetParam(), lm) + code + QStringLiteral(".wri");
            const QString out = Run->Folder() + QStringLiteral("written.wri");
            QFile::remove(out);
            ASSERT_TRUE(Symbols.SaveSymbol(out, lm));
            EXPECT_EQ(FileBytes(out), FileBytes(source));
        }
    }
}

TEST_P(SymbolsShipped, EveryObjectOfOurClassifierHasASignOfItsOwn)
{
    TSemCodec codec;
    codec.LoadWorkBase();
    int objects = 0;
    for (TLmode lm = lmPoint; lm <= lmPolygon; ++lm) {
        for (const auto& work : codec.SemWorks[lm]) {
            QStringList variants = {work->Semantics};
            QString items;
            if (work->MList.GetCount() > 0)
                items += QStringLiteral(";М%1").arg(work->MList.At(0)->Code, 3, 10, QLatin1Char('0'));
            if (work->SList.GetCount() > 0)
                items += QStringLiteral(";С%1").arg(int(work->SList.At(0)->Code), 2, 10, QLatin1Char('0'));
            if (!items.isEmpty())
                variants << work->Semantics + (work->Semantics.size() > 3 ? items : u'/' + items.mid(1));
            for (const QString& sem : variants) {
                SCOPED_TRACE(sem.toStdString());
                ASSERT_TRUE(Symbols.SelectSymbol(sem, lm));
                const QString code = Symbols.WithList(lm, [](auto& list) { return list.Item->Code; });
                EXPECT_NE(code, QStringLiteral("неопределенный"));
                ++objects;
            }
        }
    }
    EXPECT_GE(objects, 25);
    EXPECT_TRUE(Symbols.UnknownSymbols.isEmpty());
}

TEST_P(SymbolsShipped, MaterialOfItsOwnIsChosenBeforeAnyMaterial)
{
    ASSERT_TRUE(Symbols.SelectSymbol(QStringLiteral("ЗДН/Ф001;К012;Н003;М001;С01"), lmPolygon));
    EXPECT_EQ(Symbols.VpGPolygons.Item->Code, QStringLiteral("ЗДН-Ф001;К012;Н003;М001;С"));
    ASSERT_TRUE(Symbols.SelectSymbol(QStringLiteral("ЗДН/Ф001;К012;Н003;М002;С01"), lmPolygon));
    EXPECT_EQ(Symbols.VpGPolygons.Item->Code, QStringLiteral("ЗДН-Ф001;К012;Н003;М;С"));
    ASSERT_TRUE(Symbols.SelectSymbol(QStringLiteral("КЛД/Ф001;Н001;М005"), lmPoint));
    EXPECT_EQ(Symbols.VpGPoints.Item->Code, QStringLiteral("КЛД-Ф001;Н001;М005;С"));
}

TEST_P(SymbolsShipped, StylesStartWithTheMainOneAndEndWithTheCaptionStyle)
{
    const TGeoTextStyles& styles = Symbols.TextStyles;
    ASSERT_GE(styles.GetCount(), 3);
    EXPECT_EQ(styles.At(0)->StyleName, QStringLiteral(">ОСНОВНОЙ"));
    EXPECT_EQ(styles.At(styles.GetCount() - 1)->StyleName, QStringLiteral(">НАДПИСИ"));
    const QStringList families = QFontDatabase::families();
    for (const auto& style : styles) {
        SCOPED_TRACE(style->StyleName.toStdString());
        EXPECT_TRUE(style->StyleName.startsWith(u'>'));
        EXPECT_GT(style->Size, 0);
        EXPECT_TRUE(families.contains(style->FontName)) << style->FontName.toStdString();
        // The style windows show the comment file the style names, as they spell its folder.
        EXPECT_TRUE(FileExistsIgnoringCase(Run->Folder() + QStringLiteral("шрифты/%1/").arg(GetParam()) +
                                           style->Comment + QStringLiteral(".wri")));
    }
}

TEST_P(SymbolsShipped, SignsNameOnlyStylesAndFontsThatExist)
{
    const TFeatures f = FeaturesOf(Symbols);
    for (const QString& name : f.StyleNames) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(Symbols.FindStyle(name));
    }
    const QStringList families = QFontDatabase::families();
    for (const QString& font : f.Fonts)
        EXPECT_TRUE(families.contains(font)) << font.toStdString();
}

TEST_P(SymbolsShipped, TogetherTheSignsUseEveryFeatureOfTheRenderers)
{
    const TFeatures f = FeaturesOf(Symbols);
    const char* const expected[] = {
        // primitives and fills of primitives
        "polygon fill 0", "polygon fill 1", "polygon fill 2", "circle fill 0", "circle fill 1",
        "circle fill 2", "line", "polyline", "text own style", "text named style",
        // point signs
        "point picture", "leader line", "point caption mode 0", "point caption mode 1",
        "unconditional caption", "point special ^X2", "point special ^Y2",
        // line signs: end pictures, patterns, in-line texts, captions
        "line start", "line end", "segment start", "segment end", "line piece 1", "line piece 2",
        "line piece 1 simple line", "pattern stroke across", "pattern stroke on the axis",
        "pattern stroke alongside", "pattern polyline", "pattern polygon", "pattern circle",
        "in-line text position", "line caption mode 0", "line caption mode 1", "line caption mode 2",
        "line caption mode 3", "line special ^LINESIZE", "line special ^LINESIZE&DIRANGLE",
        "line captions middle 0", "line captions middle 1",
        // area signs
        "corners", "area piece 1", "area piece 2", "area piece 1 simple line",
        "area piece 2 simple line", "fill 1", "fill 2", "fill 3", "fill grid 1", "fill grid 2",
        "centre", "centre orientation 0", "centre orientation 1", "centre orientation 2",
        "diagonals 1 style 1", "diagonals 1 style 2", "diagonals 2 style 1", "diagonals 2 style 2",
        "hatching 1", "hatching 2", "hatching 3", "hatching 4", "hatching 5",
        "hatching intermediate strokes", "area filled", "caption layout 0", "caption layout 1",
        "caption layout 2", "polygon caption mode 0", "polygon caption mode 1",
        "polygon material name",
        // caption rules
        "caption own style", "caption named style", "caption any code", "caption exact code",
    };
    for (const char* name : expected)
        EXPECT_TRUE(f.Names.contains(QString::fromUtf8(name))) << name;
}

// A pattern, grid or hatching whose length or step is 0 draws nothing at all: every
// number a shipped sign's pictures depend on must be positive.
TEST_P(SymbolsShipped, EveryLengthAndStepThePicturesNeedIsPositive)
{
    struct TNeed {
        QString what;
        Extended value;
    };
    std::vector<TNeed> needs;
    const auto need = [&](const QString& code, const char* field, Extended value) {
        needs.push_back({code + QStringLiteral(": ") + QString::fromUtf8(field), value});
    };
    const auto laid = [](const TVpLayers& p) { return p.GetCount() > 0 && !p.HasOwnLine; };
    for (const auto& g : Symbols.VpGLines) {
        if (laid(g->Piece1) || (g->Piece2.GetCount() > 0 && !g->Piece1.HasOwnLine))
            need(g->Code, "PieceLength", g->PieceLength);
        if (g->Captions.GetCount() > 0 && !g->SegmentMiddle)
            need(g->Code, "CaptionInterval", g->CaptionInterval);
    }
    for (const auto& g : Symbols.VpGPolygons) {
        if (laid(g->Piece1))
            need(g->Code, "Piece1Length", g->Piece1Length);
        if (laid(g->Piece2))
            need(g->Code, "Piece2Length", g->Piece2Length);
        const struct {
            const TVpLayers* picture;
            int kind;
            Extended x, y;
        } fills[] = {{&g->Fill1, g->Fill1Kind, g->Fill1StepX, g->Fill1StepY},
                     {&g->Fill2, g->Fill2Kind, g->Fill2StepX, g->Fill2StepY},
                     {&g->Fill3, g->Fill3Kind, g->Fill3StepX, g->Fill3StepY}};
        for (const auto& f : fills) {
            if (f.picture->GetCount() > 0 && (f.kind == 1 || f.kind == 2)) {
                need(g->Code, "fill step X", f.x);
                need(g->Code, "fill step Y", f.y);
            }
        }
        if (g->Diagonals1.GetCount() > 0 && g->Diagonals1Style != 0)
            need(g->Code, "Diagonals1Length", g->Diagonals1Length);
        if (g->Diagonals2.GetCount() > 0 && g->Diagonals2Style != 0)
            need(g->Code, "Diagonals2Length", g->Diagonals2Length);
        if (g->Cross1.GetCount() > 0 && g->Cross1Style != 0) {
            need(g->Code, "Cross1Step", g->Cross1Step);
            need(g->Code, "Cross1Length", g->Cross1Length);
            if (g->Cross1Style == 1 && g->Cross2Style == 1) {
                need(g->Code, "Cross2Length", g->Cross2Length);
                need(g->Code, "Cross2Size", g->Cross2Size);
            }
            if (g->Cross1Style == 2 || g->Cross1Style == 3)
                need(g->Code, "Cross2Size", g->Cross2Size);
        }
        if (g->Captions.GetCount() > 0 && (g->TextStepKind == 1 || g->TextStepKind == 2)) {
            need(g->Code, "TextStepX", g->TextStepX);
            need(g->Code, "TextStepY", g->TextStepY);
        }
    }
    EXPECT_GE(needs.size(), 20u);
    for (const TNeed& n : needs)
        EXPECT_GT(n.value, 0) << n.what.toStdString();
}

// Only a point sign's picture texts are placed; a text in a line or area picture would
// never be drawn.
TEST_P(SymbolsShipped, PictureTextsStandOnlyInPointSigns)
{
    const auto texts = [](const TVpLayers& picture) {
        int n = 0;
        for (const auto& element : picture)
            n += element->Texts.GetCount();
        return n;
    };
    for (const auto& g : Symbols.VpGLines) {
        SCOPED_TRACE(g->Code.toStdString());
        for (const TVpLayers* p : {&g->LineStart, &g->LineEnd, &g->SegmentStart, &g->SegmentEnd,
                                   &g->Piece1, &g->Piece2})
            EXPECT_EQ(texts(*p), 0);
    }
    for (const auto& g : Symbols.VpGPolygons) {
        SCOPED_TRACE(g->Code.toStdString());
        for (const TVpLayers* p : {&g->Corners, &g->Piece1, &g->Piece2, &g->Fill1, &g->Fill2, &g->Fill3,
                                   &g->Center, &g->Diagonals1, &g->Diagonals2, &g->Cross1, &g->Cross2})
            EXPECT_EQ(texts(*p), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, SymbolsShipped, ::testing::ValuesIn(Scales));
