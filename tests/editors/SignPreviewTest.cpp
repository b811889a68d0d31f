// The sign preview on a copy of the reference data: the command lines each owner sends
// to its private plan, the library reduced to the sign under edit, the zoom track bar,
// what the preview leaves of the main plan's state, and the sample drawn with the sign.
// Setting VELMORA_REVIEW_DIR writes the preview's picture there as a PNG.
#include "editors/signs/SignPreview.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "semantics/signs/Symbols.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QDirIterator>
#include <QSlider>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// The command lines of a plan that journals nothing, taken from its echo.
class TEchoRecorder : public TEngineServices {
public:
    QStringList Lines;
    void SetPanelText(TEnginePanel panel, const QString& text) override
    {
        static const QString head = QStringLiteral("Команда [");
        if (panel == TEnginePanel::Command && text.startsWith(head) && text.endsWith(u']'))
            Lines << text.mid(head.size(), text.size() - head.size() - 1);
    }
};

class SignPreview : public ::testing::Test {
protected:
    QString SignFile(const QString& kindFolder, const QString& name) const
    {
        return Run.Folder() + QStringLiteral("Условные знаки/500/") + kindFolder + u'/' + name;
    }

    // The lines a freshly made preview of owner sends while it is prepared.
    QStringList Recorded(TSignPreview& preview, const QString& signFile = QString())
    {
        TEchoRecorder recorder;
        preview.Map->Services = &recorder;
        preview.Prepare(signFile);
        preview.Map->Services = &preview;
        return recorder.Lines;
    }

    // A point sign of one filled circle, of radius 3 mm in colour (0x00BBGGRR), written
    // as name into the point signs of 1:500.
    QString WriteDiscSign(const QString& name, std::int32_t colour)
    {
        TSymbols symbols;
        symbols.VpGPoints.AddItem();
        RVpGPoint& sign = *symbols.VpGPoints.Item;
        sign.Code = name;
        sign.Picture.AddItem();
        sign.Picture.Item->Circles.AddItem();
        RVpCircle& disc = *sign.Picture.Item->Circles.Item;
        disc.PenColor = colour;
        disc.FillColor = colour;
        disc.FillStyle = vfColor;
        disc.Radius = 3;
        const QString path = SignFile(QStringLiteral("Точечные"), name + QStringLiteral(".wri"));
        EXPECT_TRUE(symbols.SaveSymbol(path, lmPoint));
        return path;
    }

    TTestRun Run{{QStringLiteral("Слои"), QStringLiteral("Условные знаки"), QStringLiteral("Шрифты")}};
    TSeparatorScope Comma{u','};
    QWidget Window;
};

TEST_F(SignPreview, EachOwnerSendsItsCommands)
{
    const QString point = SignFile(QStringLiteral("Точечные"), QStringLiteral("ПКТ.wri"));
    const QString line = SignFile(QStringLiteral("Линейные"), QStringLiteral("БРД.wri"));
    const QString area = SignFile(QStringLiteral("Площадные"), QStringLiteral("ЗДН-Ф001;Н003;М;С.wri"));
    const QString sheet = QStringLiteral("mcNewPage=<общий лист>");
    struct Case {
        TPreviewOwner owner;
        int kind;
        QString file;
        QStringList lines;
    };
    const Case cases[] = {
        {poPointSign, 0, point,
         {"mcNewMap=<500><>", sheet, "mcNewLayer=<0><точечные>",
          "mcNewPoint=<0><0><" + point + "><80,00><80,00><0><0,00><><1><0>", "mcSetMapScale=<500>"}},
        {poLineSign, 1, line,
         {"mcNewMap=<500><>", sheet, "mcNewLayer=<0><линейные>",
          "mcNewLine=<0><0><" + line +
              "><><0><0,00><2><><[{75,00}{70,00}{0}{-1,00}{0}{-1}{0}{0}][{85,00}{70,00}{0}{-1,00}{0}{-1}"
              "{0}{0}][{85,00}{90,00}{0}{-1,00}{0}{-1}{0}{0}][{80,00}{90,00}{0}{-1,00}{0}{-1}{0}{0}][{80,"
              "00}{72,00}{0}{-1,00}{0}{-1}{0}{0}]>",
          "mcSetMapScale=<500>"}},
        {poAreaSign, 2, area,
         {"mcNewMap=<500><>", sheet, "mcNewLayer=<0><площадные>",
          "mcNewPolygon=<0><0><" + area +
              "><[{75,00}{70,00}{-1,00}{0}{0}{0}{0}][{85,00}{70,00}{-1,00}{1}{1}{0}{0}][{85,00}{90,00}"
              "{-1,00}{0}{0}{0}{0}][{75,00}{90,00}{-1,00}{2}{0}{0}{0}]><2><><0,00><0,00><><-1>",
          "mcSetMapScale=<500>"}},
        {poSignManager, 0, QString(),
         {"mcNewMap=<500><>", sheet, "mcNewLayer=<0><точечные>", "mcNewLayer=<0><линейные>",
          "mcNewLayer=<0><площадные>", "mcNewPoint=<0><0><ТОЧ><80,00><80,00><0><0,00><><1><0>",
          "mcNewLine=<0><1><ЛИН><><0><0,00><2><><[{80,00}{80,00}{0}{-1}{0}{-1}{0}{0}][{80,00}{90,00}"
          "{0}{-1}{0}{-1}{0}{0}]>",
          "mcNewPolygon=<0><2><ПОЛ><[{80,00}{80,00}{-1,00}{0}{0}{0}{0}][{90,00}{80,00}{-1,00}{1}{1}{0}"
          "{0}][{90,00}{95,00}{-1,00}{0}{0}{0}{0}][{80,00}{95,00}{-1,00}{2}{0}{0}{0}]><0><><0,00><0,00>"
          "<><-1>",
          "mcSetMapScale=<500>"}},
        {poAddSign, 0, QString(),
         {"mcNewPage=<1>", "mcNewLayer=<0><1>", "mcSetMapScale=<500>",
          "mcNewPoint=<0><0><ТОЧ><25,00><25,00><0><0,00><><1><0>"}},
        {poAddSign, 1, QString(),
         {"mcNewPage=<1>", "mcNewLayer=<0><1>", "mcSetMapScale=<500>",
          "mcNewLine=<0><0><ЛИН><><0><0,00><2><><[{10,00}{10,00}{0}{-1,00}{0}{-1}{0}{0}][{20,00}{35,00}"
          "{0}{-1,00}{0}{-1}{0}{0}]>"}},
        {poAddSign, 2, QString(),
         {"mcNewPage=<1>", "mcNewLayer=<0><1>", "mcSetMapScale=<500>",
          "mcNewPolygon=<0><0><ПОЛ><[{10,00}{10,00}{-1,00}{0}{0}{0}{0}][{20,00}{10,00}{-1,00}{1}{1}{0}"
          "{0}][{20,00}{35,00}{-1,00}{0}{0}{0}{0}][{10,00}{35,00}{-1,00}{2}{0}{0}{0}]><0><><0,00><0,00>"
          "<><-1>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.owner) * 10 + c.kind);
        TSignPreview preview(c.owner, 500, &Window, c.kind);
        const QStringList lines = Recorded(preview, c.file);
        EXPECT_EQ(lines.join(u'\n').toStdString(), c.lines.join(u'\n').toStdString());
        EXPECT_EQ(preview.Map->ShowSymbols, 1);
        EXPECT_EQ(preview.Map->NoJournal, 1);
        EXPECT_EQ(preview.Map->UndoOn, 0);
        EXPECT_EQ(preview.Map->Symbols->AskUnknownSymbol, 0);
        EXPECT_EQ(preview.Map->Symbols->UseSynonyms, 0);
        EXPECT_EQ(double(preview.Map->ScreenDpi), 92.89);
        EXPECT_EQ(preview.Map->BackColor, std::int32_t(0x8000000F));
        EXPECT_GT(preview.Map->Symbols->TextStyles.GetCount(), 0);
    }
}

// The point and line dialogs keep only their sign; the area dialog keeps the line signs
// beside its own; the manager keeps the whole library.
TEST_F(SignPreview, LibraryIsReducedToTheSignUnderEdit)
{
    const QString point = SignFile(QStringLiteral("Точечные"), QStringLiteral("ПКТ.wri"));
    const QString area = SignFile(QStringLiteral("Площадные"), QStringLiteral("ЗДН-Ф001;Н003;М;С.wri"));
    TSignPreview pointPreview(poPointSign, 500, &Window);
    ASSERT_TRUE(pointPreview.Prepare(point));
    const TSymbols& p = *pointPreview.Map->Symbols;
    ASSERT_EQ(p.VpGPoints.GetCount(), 1);
    EXPECT_EQ(p.VpGPoints.At(0)->Code, point.chopped(4));
    EXPECT_EQ(p.VpGLines.GetCount(), 0);
    EXPECT_EQ(p.VpGPolygons.GetCount(), 0);

    TSignPreview areaPreview(poAreaSign, 500, &Window);
    ASSERT_TRUE(areaPreview.Prepare(area));
    const TSymbols& a = *areaPreview.Map->Symbols;
    EXPECT_EQ(a.VpGPoints.GetCount(), 0);
    ASSERT_EQ(a.VpGPolygons.GetCount(), 1);
    EXPECT_EQ(a.VpGPolygons.At(0)->Code, area.chopped(4));
    EXPECT_GT(a.VpGLines.GetCount(), 1);

    TSignPreview manager(poSignManager, 500, &Window);
    manager.Prepare();
    EXPECT_GT(manager.Map->Symbols->VpGPoints.GetCount(), 1);
    EXPECT_EQ(manager.TrackBar1, nullptr);
}

TEST_F(SignPreview, MissingSignFileIsSaidAndReported)
{
    QStringList said;
    TDialogHooks hooks;
    hooks.ShowMsg = [&](const QString& caption, const QString& text) {
        said << caption + u'|' + text;
        return mrOk;
    };
    const TScopedDialogHooks scope(hooks);
    TSignPreview preview(poPointSign, 500, &Window);
    EXPECT_FALSE(preview.Prepare(SignFile(QStringLiteral("Точечные"), QStringLiteral("нет такого.wri"))));
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("Не найден файл!|"))) << said[0].toStdString();
    EXPECT_EQ(preview.Map->Symbols->VpGPoints.GetCount(), 0);
}

TEST_F(SignPreview, ZoomRangeByOwnerAndScale)
{
    struct Case {
        TPreviewOwner owner;
        int scale;
        int min, max, position;
        int shown;   // the track bar's position, held inside its range
    };
    const Case cases[] = {
        {poPointSign, 500, 10, 1000, 100, 100},
        {poLineSign, 500, 10, 1000, 250, 250},
        {poAreaSign, 500, 10, 1000, 250, 250},
        {poPointSign, 100, 5, 200, 20, 20},      // round(100 / 50) = 2 is below 5
        {poPointSign, 325, 6, 650, 65, 65},      // 6.5 rounds to the even 6
        {poPointSign, 375, 8, 750, 75, 75},      // 7.5 to 8
        {poLineSign, 505, 10, 1010, 252, 252},   // 252.5 to 252
        {poAddSign, 500, 50, 2000, 200, 200},
        {poAddSign, 65, 6, 260, 200, 200},       // 6.5 to 6
        {poAddSign, 30, 5, 120, 200, 120},
        {poSignManager, 500, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.owner) * 100000 + c.scale);
        const TPreviewZoomRange r = PreviewZoomRange(c.owner, c.scale);
        EXPECT_EQ(r.Min, c.min);
        EXPECT_EQ(r.Max, c.max);
        EXPECT_EQ(r.Position, c.position);
        if (c.owner == poSignManager)
            continue;
        TSignPreview preview(c.owner, c.scale, &Window);
        ASSERT_NE(preview.TrackBar1, nullptr);
        EXPECT_EQ(preview.TrackBar1->minimum(), c.min);
        EXPECT_EQ(preview.TrackBar1->maximum(), c.max);
        EXPECT_EQ(preview.TrackBar1->value(), c.shown);
    }
}

// The preview's new plan is a plan of its own: the main plan's journal, its undo
// snapshots and the process-wide document state are what they were.
TEST_F(SignPreview, LeavesTheMainPlanStateAlone)
{
    CommandLog->clear();
    CommandLog->append(QStringLiteral("mcNewPage=<лист 1>"));
    const QStringList journal = *CommandLog;
    const auto snapshots = [] {
        QStringList files;
        QDirIterator it(SessionFolder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    };
    const QStringList before = snapshots();
    for (const std::uint8_t state : {std::uint8_t(1), std::uint8_t(2)}) {
        DataFileState = state;
        {
            QWidget window;
            window.resize(300, 260);
            auto* preview = new TSignPreview(poPointSign, 500, &window);
            preview->setGeometry(10, 10, 200, 200);
            preview->TrackBar1->setGeometry(10, 220, 200, 24);
            ASSERT_TRUE(preview->Prepare(SignFile(QStringLiteral("Точечные"), QStringLiteral("ПКТ.wri"))));
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            preview->TrackBar1->setValue(300);
            preview->SignChanged();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(DataFileState, state);
    }
    EXPECT_EQ(*CommandLog, journal);
    EXPECT_EQ(snapshots(), before);
}

// Repaints before the first show draw nothing; the first show renders the whole plan
// and the repaint then shows it zoomed about (80, 80) at the track bar's value.
TEST_F(SignPreview, FirstShowThenZoomedRepaints)
{
    const QString disc = WriteDiscSign(QStringLiteral("ДИСК"), 0x0000FF);   // red
    QWidget window;
    window.resize(220, 250);
    auto* preview = new TSignPreview(poPointSign, 500, &window);
    preview->setGeometry(10, 10, 200, 200);
    preview->TrackBar1->setGeometry(10, 218, 200, 24);
    ASSERT_TRUE(preview->Prepare(disc));

    preview->grab();   // a repaint before the window is shown
    EXPECT_TRUE(preview->Map->Bitmap.isNull());
    EXPECT_FALSE(preview->Shown());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    ASSERT_TRUE(preview->Shown());
    EXPECT_EQ(preview->Map->DisplayScale, 100);
    EXPECT_EQ(double(preview->Map->CentreTarget.X), 80.0);
    EXPECT_EQ(double(preview->Map->CentreTarget.Y), 80.0);
    EXPECT_EQ(preview->Map->DrawMode, 8);

    const QImage shown = preview->grab().toImage();
    if (const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR"); !dir.isEmpty())
        window.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/sign-preview.png"));
    // A disc of 1.5 m radius at 1:100: about 55 pixels about the middle.
    EXPECT_EQ(shown.pixelColor(100, 100), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(100, 60), QColor(255, 0, 0));
    EXPECT_NE(shown.pixelColor(5, 5), QColor(255, 0, 0));

    // Zooming out to 1:1000 leaves a disc of about 5 pixels radius.
    preview->TrackBar1->setValue(1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->Map->DisplayScale, 1000);
    const QImage out = preview->grab().toImage();
    EXPECT_EQ(out.pixelColor(100, 100), QColor(255, 0, 0));
    EXPECT_NE(out.pixelColor(100, 80), QColor(255, 0, 0));
}

// The sign manager renders into its own picture, not onto the hidden paint box.
TEST_F(SignPreview, ManagerRendersIntoItsPicture)
{
    TSignPreview preview(poSignManager, 500, &Window);
    preview.Prepare();
    preview.hide();
    preview.resize(160, 160);
    preview.SetAltCanvas(true);
    preview.Draw(0);
    ASSERT_EQ(preview.AltPicture.size(), QSize(160, 160));
    EXPECT_EQ(preview.Map->UseAltCanvas, 1);
}

}  // namespace

namespace {

// Signs of the reference library on their samples: each dialog's sample shows its sign.
TEST_F(SignPreview, ReferenceSignsAreDrawnOnTheirSamples)
{
    struct Case {
        TPreviewOwner owner;
        QString folder, file;
        const char* review;
    };
    const Case cases[] = {
        {poPointSign, QStringLiteral("Точечные"), QStringLiteral("ПУН-Ф011;Н021.wri"), "sign-preview-point.png"},
        {poLineSign, QStringLiteral("Линейные"), QStringLiteral("ГОР-Ф011.wri"), "sign-preview-line.png"},
        {poAreaSign, QStringLiteral("Площадные"), QStringLiteral("ЗДН-Ф001;Н003;М;С.wri"), "sign-preview-area.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.review);
        QWidget window;
        window.resize(220, 250);
        auto* preview = new TSignPreview(c.owner, 500, &window);
        preview->setGeometry(10, 10, 200, 200);
        preview->TrackBar1->setGeometry(10, 218, 200, 24);
        ASSERT_TRUE(preview->Prepare(SignFile(c.folder, c.file)));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        const QImage shown = preview->grab().toImage();
        const QColor ground = shown.pixelColor(0, 0);
        int drawn = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                drawn += shown.pixelColor(x, y) != ground;
        EXPECT_GT(drawn, 50);
        if (const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR"); !dir.isEmpty())
            window.grab().save(QString::fromLocal8Bit(dir) + u'/' + QString::fromLatin1(c.review));
    }
}

}  // namespace
