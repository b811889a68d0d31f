// The survey tools of the plan menu on the real main window: contour tracing between
// height marks, height interpolation, staking out and coordinate sampling. The journal,
// the result lists and the saved plan are the oracle; the windows are scripted.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/TextListBox.h"
#include "foundation/GeoServ.h"
#include "foundation/ProgramDialogs.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemDialogs.h"
#include "support/TestHelpers.h"
#include "survey/StakingOut.h"
#include "survey/SurveyDialogs.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The action named name anywhere in the menu bar.
QAction* MenuItem(TFormMap& form, const char* name)
{
    QAction* a = form.findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}

class SurveyTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run = std::make_unique<TMainWindowRun>(MessagesKept());
        Run->Start();
        TFormMap& form = Run->Form();
        FixDestination(form, QStringLiteral("Рельеф"));
        MainMap->LinkToNodes = 0;
        // The classifier confirms the code it is shown.
        SemDialogHooks().SemDlg = [this](int, int&, QString& sem) {
            Classified << sem;
            return mrOk;
        };
        DialogHooks().InpStr = [this](QString& value, const QString& caption, const QString&) {
            Asked << caption;
            value = QStringLiteral("т") + QString::number(Asked.size());
            return mrOk;
        };
        Before = int(CommandLog->size());
    }

    // The journal lines of command since the last call.
    QStringList Take(const char* command)
    {
        QStringList made;
        const QString prefix = QString::fromUtf8(command) + u'=';
        for (const QString& line : CommandLog->mid(Before))
            if (line.startsWith(prefix))
                made << line;
        Before = int(CommandLog->size());
        return made;
    }

    QStringList Messages() const { return QStringList(Run->Messages.begin(), Run->Messages.end()); }

    void Marks(TGeoPoint p1, Extended h1, TGeoPoint p2, Extended h2)
    {
        TFormMap& form = Run->Form();
        form.MarkPoint1 = p1;
        form.MarkHeight1 = h1;
        form.MarkPoint2 = p2;
        form.MarkHeight2 = h2;
    }

    // The sheet, layer, semantics, X and Y fields of a point command.
    static QStringList PointFields(const QString& line)
    {
        const QString body = line.mid(line.indexOf(u'<') + 1);
        return body.left(body.size() - 1).split(QStringLiteral("><")).mid(2, 3);
    }

    std::unique_ptr<TMainWindowRun> Run;
    TSeparatorScope Separator{u'.'};
    TScopedProgramDialogHooks ProgramScope;
    QStringList Classified;
    QStringList Asked;
    int Before = 0;
};

} // namespace

TEST_F(SurveyTools, ContourNodeLiesWhereTheHeightFallsBetweenTheMarks)
{
    TFormMap& form = Run->Form();
    struct Case {
        Extended H1, H2, Contour;
        bool Made;
        Extended X, Y;   // the node
    };
    // Mark 1 at (0, 0), mark 2 at (0, 40).
    const Case cases[] = {
        {100, 102, 101, true, 0, 20},    // the midpoint
        {100, 102, 100, true, 0, 0},     // the first mark itself
        {100, 102, 102, true, 0, 40},    // the second
        {102, 100, 101.5L, true, 0, 10}, // 0.75 of the way from the second towards the first
        {100, 102, 103, false, 0, 0},    // outside both
        {100, 100, 101, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.Contour));
        form.CreateNodes.clear();
        Run->Messages.clear();
        Marks({0, 0}, c.H1, {0, 40}, c.H2);
        form.ContourHeight = c.Contour;
        form.AddTracePoint();
        if (!c.Made) {
            EXPECT_TRUE(form.CreateNodes.empty());
            EXPECT_EQ(Messages(), QStringList(QStringLiteral(
                                      "Горизонтали нет: Прокладываемая горизонталь не проходит между выбранными точками")));
            continue;
        }
        ASSERT_EQ(form.CreateNodes.size(), 1u);
        EXPECT_NEAR(double(form.CreateNodes[0].Point.X), double(c.X), 1e-9);
        EXPECT_NEAR(double(form.CreateNodes[0].Point.Y), double(c.Y), 1e-9);
        EXPECT_EQ(form.CreateNodes[0].Curve, 0);
        EXPECT_TRUE(Messages().isEmpty());
    }
}

TEST_F(SurveyTools, AFinishedContourIsACurvedLineWithTheCodeOfItsHeight)
{
    TFormMap& form = Run->Form();
    const TSeparatorScope comma(u',');
    struct Case {
        Extended Height;
        const char* Code;
    };
    for (const Case& c : {Case{120, "ГОР/Ф021;ИВ120"}, Case{121, "ГОР/Ф011;ИВ121,0"},
                          Case{120.5L, "ГОР/Ф011;ИВ120,5"}}) {
        SCOPED_TRACE(c.Code);
        form.SetMouseMode(mmTraceContour, 0, true);
        form.ContourHeight = c.Height;
        form.CreateNodes.assign(2, RCreateNode());
        form.CreateNodes[0].Point = {10, 20};
        form.CreateNodes[1].Point = {30, 40};
        form.FinishTracedContour();
        const QStringList made = Take("mcNewLine");
        ASSERT_EQ(made.size(), 1);
        EXPECT_TRUE(made[0].contains(QStringLiteral("<") + QString::fromUtf8(c.Code) + QStringLiteral(">")))
            << made[0].toStdString();
        EXPECT_TRUE(made[0].endsWith(QStringLiteral("<[{10,00}{20,00}{0}{-1,00}{0}{-1}{1}{0}]"
                                                    "[{30,00}{40,00}{0}{-1,00}{0}{-1}{1}{0}]>")))
            << made[0].toStdString();
        EXPECT_EQ(form.MouseMode, mmSelectObject);
        EXPECT_EQ(form.LineCode, QString::fromUtf8(c.Code));
    }
    // One node makes no line, and it is not left over for the next line drawn.
    form.SetMouseMode(mmTraceContour, 0, true);
    form.CreateNodes.assign(1, RCreateNode());
    form.FinishTracedContour();
    EXPECT_TRUE(Take("mcNewLine").isEmpty());
    EXPECT_TRUE(form.CreateNodes.empty());
    EXPECT_EQ(form.MouseMode, mmSelectObject);
}

TEST_F(SurveyTools, AContourTracedWithTheMouseReachesTheJournalAndThePlanFile)
{
    TFormMap& form = Run->Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ОТА/ИВ100;><100><100><2><0><><0><0>",
                 "mcNewPoint=<0><0><ОТА/ИВ102;><100><200><2><0><><0><0>",
                 "mcNewPoint=<0><0><ОТА/ИВ102.5;><200><100><2><0><><0><0>",
                 "mcNewPoint=<0><0><ОТА/ИВ99;><200><200><2><0><><0><0>",
                 "mcNewPoint=<0><0><ОТА/ИВ104;><300><100><2><0><><0><0>",
                 "mcNewPoint=<0><0><ОТА/ИВ100;><300><300><2><0><><0><0>"});
    // The snap switch on, as the palette's snap button leaves it once pressed.
    MainMap->LinkToNodes = 1;
    ExactView(form, 1);
    std::vector<Extended> typed{101};
    ProgramDialogHooks().InpFlt = [&](Extended& value, const QString& caption, const QString& text) {
        EXPECT_EQ(caption + u'|' + text, QStringLiteral("Ввод высоты|введите высоту горизонтали"));
        value = typed.front();
        return mrOk;
    };
    MenuItem(form, "NTraceGorizontal")->trigger();
    EXPECT_EQ(form.MouseMode, mmTraceContour);

    const TPixelMouse mouse{form};
    const TSurfaceDriver at(form);
    // Across the southern pair, the middle one (102.5 down to 99), the northern one.
    for (const TGeoPoint& p : {TGeoPoint(100, 100), TGeoPoint(100, 200), TGeoPoint(200, 100),
                               TGeoPoint(200, 200), TGeoPoint(300, 100), TGeoPoint(300, 300)})
        mouse.Click(at.At(p.X, p.Y) + QPoint(3, -2));
    ASSERT_EQ(form.CreateNodes.size(), 3u);
    EXPECT_NEAR(double(form.CreateNodes[0].Point.Y), 150.0, 1e-9);
    EXPECT_NEAR(double(form.CreateNodes[1].Point.Y), 100 + 100 * 1.5 / 3.5, 1e-9);
    EXPECT_NEAR(double(form.CreateNodes[2].Point.Y), 250.0, 1e-9);
    SaveImage(form.DisplaySurf->Canvas, QStringLiteral("contour-tracing"));

    QTest::mouseClick(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at.At(150, 150));
    const QStringList made = Take("mcNewLine");
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].contains(QStringLiteral("<ГОР/Ф011;ИВ101.0>"))) << made[0].toStdString();
    EXPECT_TRUE(made[0].endsWith(QStringLiteral("<[{100.00}{150.00}{0}{-1.00}{0}{-1}{1}{0}]"
                                                "[{200.00}{142.86}{0}{-1.00}{0}{-1}{1}{0}]"
                                                "[{300.00}{250.00}{0}{-1.00}{0}{-1}{1}{0}]>")))
        << made[0].toStdString();
    EXPECT_EQ(Classified.last(), QStringLiteral("ГОР/Ф011;ИВ101.0"));
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(u'|').toStdString();
    SaveImage(PictureOnly(form), QStringLiteral("contour-traced"));

    Run->SaveAsName = Run->Folder() + QStringLiteral("горизонталь.500");
    ASSERT_TRUE(form.SaveAs());
    QFile file(Run->SaveAsName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString saved = DecodeCodePage(file.readAll());
    EXPECT_TRUE(saved.contains(QStringLiteral("ГОР/Ф011;ИВ101.0"))) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QStringLiteral("142.86"))) << saved.toStdString();
}

TEST_F(SurveyTools, InterpolatedMarksByCountAndByStep)
{
    TFormMap& form = Run->Form();
    form.SetMouseMode(mmInterpolateHeights, 0, true);
    form.ScatterRandom = [](int) -> int {
        ADD_FAILURE() << "no scatter asked for";
        return 0;
    };
    struct Case {
        int Count;
        Extended Step, H2, Y2;
        QStringList Marks;   // semantics|X|Y
    };
    const Case cases[] = {
        {3, 0, 4, 40,
         {"ОТА/ИВ1.00;|    0.00|   10.00", "ОТА/ИВ2.00;|    0.00|   20.00", "ОТА/ИВ3.00;|    0.00|   30.00"}},
        // 34 m by at most 10 m: k = 3 gives 11.33 m, so k = 4 and three marks 8.5 m apart.
        {-1, 10, 3.4L, 34,
         {"ОТА/ИВ0.85;|    0.00|    8.50", "ОТА/ИВ1.70;|    0.00|   17.00", "ОТА/ИВ2.55;|    0.00|   25.50"}},
        // One step: the midpoint.
        {-1, 10, 2, 12, {"ОТА/ИВ1.00;|    0.00|    6.00"}},
        {0, 10, 2, 12, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Count);
        form.InterpolationCount = c.Count;
        form.InterpolationStep = c.Step;
        Marks({0, 0}, 0, {0, c.Y2}, c.H2);
        form.AddInterpolatedPoints();
        QStringList marks;
        for (const QString& line : Take("mcNewPoint"))
            marks << PointFields(line).join(u'|');
        EXPECT_EQ(marks, c.Marks);
    }
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SurveyTools, ScatterIsWholeCentimetresFromTheRandomSource)
{
    TFormMap& form = Run->Form();
    form.SetMouseMode(mmInterpolateHeights, 0, true);
    QList<int> ranges;
    int next = 0;
    const int drawn[] = {0, 9, 19};
    form.ScatterRandom = [&](int range) {
        ranges << range;
        return drawn[next++ % 3];
    };
    form.ScatterInPlan = 0.05L;    // 10 centimetres to choose from: -5 .. 4
    form.ScatterInHeight = 0.1L;   // -10 .. 9
    form.InterpolationCount = 1;
    Marks({0, 0}, 0, {0, 20}, 2);
    form.AddInterpolatedPoints();
    const QStringList made = Take("mcNewPoint");
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(PointFields(made[0]).join(u'|'), QStringLiteral("ОТА/ИВ1.09;|   -0.05|   10.04"));
    EXPECT_EQ(ranges, (QList<int>{10, 10, 20}));
}

TEST_F(SurveyTools, AStepOfZeroIsRefusedAndMarksCloserThanHalfAStepGetNone)
{
    TFormMap& form = Run->Form();
    ProgramDialogHooks().InpFlt = [](Extended& value, const QString&, const QString&) {
        value = 0;
        return mrOk;
    };
    form.InterpolationCount = 2;
    form.InterpolationStep = 5;
    MenuItem(form, "N36")->trigger();
    EXPECT_EQ(form.InterpolationCount, 2);
    EXPECT_EQ(double(form.InterpolationStep), 5.0);
    EXPECT_EQ(form.MouseMode, mmInterpolateHeights);
    EXPECT_EQ(Messages(), QStringList(QStringLiteral("Ввод расстояния между точками интерполирования: "
                                                     "Расстояние между точками должно быть больше 0")));

    // 4 m apart by a step of 10 m, 5 m (half a step rounds to the even 0) and two marks on
    // one place: no mark, said once each.
    Run->Messages.clear();
    form.SetMouseMode(mmInterpolateHeights, 0, true);
    form.InterpolationCount = -1;
    form.InterpolationStep = 10;
    for (const Extended y : {4.0L, 5.0L, 0.0L}) {
        Marks({0, 0}, 0, {0, y}, 1);
        form.AddInterpolatedPoints();
    }
    EXPECT_TRUE(Take("mcNewPoint").isEmpty());
    EXPECT_EQ(Messages().size(), 3);

    // A millimetre step over a kilometre, or a count typed a thousand times too big, would
    // issue a million commands: refused at once, nothing made.
    Run->Messages.clear();
    Marks({0, 0}, 0, {0, 1000}, 1);
    form.InterpolationStep = 0.001L;
    form.AddInterpolatedPoints();
    form.InterpolationCount = 1000000;
    form.AddInterpolatedPoints();
    EXPECT_TRUE(Take("mcNewPoint").isEmpty());
    EXPECT_EQ(Messages().size(), 2);
}

TEST_F(SurveyTools, StakingOutGivesDistanceAndAngleFromTheOrientation)
{
    TFormMap& form = Run->Form();
    ExactView(form, 1);
    std::array<Extended, 4> entered{0, 0, 100, 0};
    int result = mrOk;
    TSurveyDialogHooks survey;
    survey.InpOGZDialog = [&](Extended& x0, Extended& y0, Extended& orX, Extended& orY) {
        EXPECT_EQ(double(x0) + double(y0) + double(orX) + double(orY), 0.0);
        x0 = entered[0];
        y0 = entered[1];
        orX = entered[2];
        orY = entered[3];
        return result;
    };
    const TScopedSurveyDialogHooks scope(survey);
    MenuItem(form, "NOGZ")->trigger();
    EXPECT_EQ(form.MouseMode, mmOGZ);
    TFormOGZList* first = FormOGZList();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Решение обратной геодезической задачи"));

    TSurfaceDriver driver(form);
    driver.Click(0, 100);
    ASSERT_EQ(first->tlb->count(), 1);
    EXPECT_EQ(first->tlb->item(0)->text(), QStringLiteral("N=т1  X=   0.000  Y= 100.000  D= 100.000  A=90 0 0"));
    EXPECT_EQ(Asked, QStringList(QStringLiteral("Определите название точки")));

    // A second run: a second list; the lines go to the newer one.
    entered = {100, 100, 0, 100};   // the orientation due south: its own direction is 360
    MenuItem(form, "NOGZ")->trigger();
    TFormOGZList* second = FormOGZList();
    ASSERT_NE(second, first);
    driver.Click(50, 100);
    EXPECT_EQ(first->tlb->count(), 1);
    ASSERT_EQ(second->tlb->count(), 1);
    EXPECT_EQ(second->tlb->item(0)->text(), QStringLiteral("N=т2  X=  50.000  Y= 100.000  D=  50.000  A=360 0 0"));
    SaveGrab(*second, QStringLiteral("stakeout-list"));

    // Due north from the station with the orientation due north: 0, not 360.
    form.StakeoutOrientation = {200, 100};
    driver.Click(150, 100);
    EXPECT_EQ(second->tlb->item(1)->text(), QStringLiteral("N=т3  X= 150.000  Y= 100.000  D=  50.000  A=0 0 0"));

    // Seconds are cut: 30° 0' 59.9".
    form.StakeoutStation = {0, 0};
    form.StakeoutOrientation = {100, 0};
    form.Points.Down.Plan = PGZ(TGeoPoint(0, 0), 10, fGMS_GG(30, 0, 59.9L));
    form.AddStakeoutPoint();
    EXPECT_TRUE(second->tlb->item(2)->text().endsWith(QStringLiteral("D=  10.000  A=30 0 59")))
        << second->tlb->item(2)->text().toStdString();

    // With the snap switch on and a point found, the point's coordinates are taken.
    MainMap->LinkToNodes = 1;
    form.Snapped = true;
    form.SnapPoint = {0, 25.5L};
    form.AddStakeoutPoint();
    EXPECT_TRUE(second->tlb->item(3)->text().contains(QStringLiteral("X=   0.000  Y=  25.500  D=  25.500")))
        << second->tlb->item(3)->text().toStdString();
    form.Snapped = false;
    MainMap->LinkToNodes = 0;

    // Cancelled: no mode, no list, but the station takes what the window showed.
    form.SetMouseMode(mmSelectObject, 0, true);
    entered = {5, 6, 7, 8};
    result = mrCancel;
    MenuItem(form, "NOGZ")->trigger();
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_EQ(FormOGZList(), second);
    EXPECT_EQ(double(form.StakeoutStation.X), 5.0);
    EXPECT_EQ(double(form.StakeoutOrientation.Y), 8.0);
}

TEST_F(SurveyTools, SamplingListsTheClickedCoordinates)
{
    TFormMap& form = Run->Form();
    ExactView(form, 1);
    MenuItem(form, "N57")->trigger();
    EXPECT_EQ(form.MouseMode, mmSampleCoords);
    TFormOGZList* list = FormOGZList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Выборка координат с плана"));
    TSurfaceDriver driver(form);
    driver.Click(120, 45);
    driver.Click(30, 300);
    ASSERT_EQ(list->tlb->count(), 2);
    EXPECT_EQ(list->tlb->item(0)->text(), QStringLiteral("т1  120.00  45.00"));
    EXPECT_EQ(list->tlb->item(1)->text(), QStringLiteral("т2  30.00  300.00"));
    EXPECT_TRUE(Take("mcNewPoint").isEmpty());
}

TEST_F(SurveyTools, TheMenusReachTheirTools)
{
    TFormMap& form = Run->Form();
    // The plan menu: the survey items after the conversions, before the object removal.
    QStringList plan;
    for (QAction* a : form.NPlan->actions())
        plan << (a->isSeparator() ? QStringLiteral("-") : a->text());
    const QString items = plan.join(u'|');
    EXPECT_TRUE(items.contains(QStringLiteral("Преобразования|Расчеты|Прокладка горизонтали|Высотная интерполяция|"
                                              "Построение окружности|-|Удаление объектов")))
        << items.toStdString();
    QMenu* calculations = form.findChild<QAction*>(QStringLiteral("NCalculations"))->menu();
    calculations->adjustSize();
    SaveGrab(*calculations, QStringLiteral("survey-calculations-menu"));
    form.NPlan->adjustSize();
    SaveGrab(*form.NPlan, QStringLiteral("survey-plan-menu"));
    QStringList opened;
    TSurveyDialogHooks survey;
    survey.OGZDialog = [&](Extended&, Extended&, Extended x1, Extended y1, Extended x2, Extended y2) {
        opened << QStringLiteral("OGZ %1").arg(double(x1 + y1 + x2 + y2));
        return mrOk;
    };
    survey.NextDirAngleDlg = [&] { return opened << QStringLiteral("NextDirAngle"), mrOk; };
    survey.PGZDialog = [&] { return opened << QStringLiteral("PGZ"), mrOk; };
    survey.TheodolitDlg = [&] { return opened << QStringLiteral("Theodolit"), mrOk; };
    survey.InputTaheoDlg = [&] { return opened << QStringLiteral("Taheo"), mrOk; };
    const TScopedSurveyDialogHooks scope(survey);
    for (const char* name : {"N39", "N45", "N46", "N47", "N48"})
        MenuItem(form, name)->trigger();
    EXPECT_EQ(opened.join(u'|'), QStringLiteral("OGZ 0|NextDirAngle|PGZ|Theodolit|Taheo"));

    QStringList asked;
    Extended answer = 0.2L;
    int result = mrOk;
    ProgramDialogHooks().InpFlt = [&](Extended& value, const QString& caption, const QString&) {
        asked << caption;
        value = answer;
        return result;
    };
    ProgramDialogHooks().InpInt = [&](int& value, const QString& caption, const QString&) {
        asked << caption;
        value = 4;
        return result;
    };
    MenuItem(form, "NCreateCircle")->trigger();
    EXPECT_EQ(form.MouseMode, mmCreateCircle);
    EXPECT_EQ(double(form.CircleTolerance), 0.2);
    MenuItem(form, "N35")->trigger();
    EXPECT_EQ(form.MouseMode, mmInterpolateHeights);
    EXPECT_EQ(form.InterpolationCount, 4);
    answer = 0.03L;
    MenuItem(form, "N38")->trigger();
    EXPECT_EQ(double(form.ScatterInPlan), 0.03);
    EXPECT_EQ(double(form.ScatterInHeight), 0.03);
    MenuItem(form, "N84")->trigger();
    EXPECT_EQ(form.MouseMode, mmCheckHeights);
    form.SetMouseMode(mmSelectObject, 0, true);
    form.PanelButtons.value(QStringLiteral("."))->click();
    EXPECT_EQ(form.MouseMode, mmCheckHeights);
    MenuItem(form, "N71")->trigger();
    EXPECT_EQ(form.MouseMode, mmCreateCircle);
    // A cancelled height starts no tracing.
    result = mrCancel;
    MenuItem(form, "N70")->trigger();
    EXPECT_EQ(form.MouseMode, mmCreateCircle);
    EXPECT_EQ(asked.join(u'|'),
              QStringLiteral("Точность построения|Ввод числа точек интерполирования|разброса в плане, +-м|"
                             "разброса по высоте, +-м|Точность построения|Ввод высоты"));
}
