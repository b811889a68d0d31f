// The constructions palette on the real main window, used as a surveyor uses it: the
// palette's button opens it, the base line is picked on the plan or typed, its arrow
// blinks on the surface, the constructions' dialogs are answered with keys and the
// objects they make are read from the journal and the saved plan.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "controls/TextListBox.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ui/EngineQuestions.h"
#include "foundation/ui/NumEdit.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/VclTimer.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/WidgetEvents.h"
#include "survey/SurveyDialogs.h"
#include "survey/construct/FormInstr2.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

void Type(TNumEdit* e, const QString& text)
{
    e->setFocus();
    e->selectAll();
    e->del();
    QTest::keyClicks(e, text);
}

void Type(QWidget* window, const char* name, const QString& text)
{
    auto* e = window->findChild<TNumEdit*>(QLatin1String(name));
    ASSERT_NE(e, nullptr) << name;
    Type(e, text);
}

void Choose(QWidget* window, const char* name)
{
    auto* b = window->findChild<QRadioButton*>(QLatin1String(name));
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

// The journal line without its sheet and layer fields.
QString WithoutPlace(const QString& line)
{
    static const QRegularExpression place(QStringLiteral("^(\\w+=)<-?\\d+><-?\\d+>"));
    return QString(line).replace(place, QStringLiteral("\\1"));
}

// The sheet a journal line puts its object on.
QString SheetOf(const QString& line)
{
    static const QRegularExpression page(QStringLiteral("^\\w+=<(-?\\d+)>"));
    const QRegularExpressionMatch m = page.match(line);
    QString name;
    std::uint8_t visible = 0;
    if (m.hasMatch())
        MainMap->GetPageProp(m.captured(1).toInt(), name, visible);
    return name;
}

class ConstructionsPalette : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        InstallSurveyWindows();
        // The real polar window and deletion question with the fixture's other answers.
        TDialogHooks hooks = DialogHooks();
        {
            const TScopedDialogHooks real;
            InstallDialogWindows();
            hooks.InpPolar = DialogHooks().InpPolar;
            hooks.QDelObjects = DialogHooks().QDelObjects;
        }
        Dialogs = std::make_unique<TScopedDialogHooks>(hooks);
        TFormMap& form = Run.Form();
        ExactView(form);
        MainMap->LinkToNodes = 0;
        // The sheet by the nomenclature, the layer by name: the layer rules know none
        // of the codes used here.
        form.DestAutoLayer = 0;
        form.DestLayerName = QStringLiteral("Построения");
        ClickMiddle(form.FormInstr1->sbInstr2);
        Palette = qobject_cast<TFormInstr2*>(form.FormInstr1->FormInstr2);
        ASSERT_NE(Palette, nullptr);
        Before = int(CommandLog->size());
    }

    // The commands since the last look that make objects, or those named by prefix.
    QStringList Take(const QString& prefix = QString())
    {
        static const QRegularExpression objects(QStringLiteral("^mcNew(Point|Line|Polygon)="));
        const QStringList lines = CommandLog->mid(Before);
        Before = int(CommandLog->size());
        QStringList made;
        for (const QString& line : lines)
            if (prefix.isNull() ? objects.match(line).hasMatch() : line.startsWith(prefix))
                made << line;
        return made;
    }

    void TypeBaseLine(const char* x1, const char* y1, const char* x2, const char* y2)
    {
        Type(Palette->NumEdit1, QString::fromUtf8(x1));
        Type(Palette->NumEdit2, QString::fromUtf8(y1));
        Type(Palette->NumEdit3, QString::fromUtf8(x2));
        Type(Palette->NumEdit4, QString::fromUtf8(y2));
    }

    // The semantics window answers OK with the code it was given, and counts.
    void AcceptSemantics()
    {
        TSemDialogHooks sem;
        sem.SemDlg = [this](int, int&, QString&) {
            ++SemAsked;
            return mrOk;
        };
        Sem = std::make_unique<TScopedSemDialogHooks>(sem);
    }

    // The plan as the native format writes it.
    QString SavedPlan()
    {
        const QString file = Run.Folder() + QStringLiteral("план.500");
        MainMap->StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(file));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        Before = int(CommandLog->size());
        return DecodeCodePage(f.readAll());
    }

    TMainWindowRun Run;
    TSeparatorScope Separator{u','};
    TScopedSurveyDialogHooks Survey;
    std::unique_ptr<TScopedDialogHooks> Dialogs;
    std::unique_ptr<TScopedSemDialogHooks> Sem;
    TFormInstr2* Palette = nullptr;
    int Before = 0;
    int SemAsked = 0;
};

}  // namespace

TEST_F(ConstructionsPalette, OpensBesideThePaletteAsAToolWindowOnTop)
{
    TFormInstr1& tools = *Run.Form().FormInstr1;
    EXPECT_TRUE(Palette->isVisible());
    EXPECT_EQ(Palette->windowTitle(), QStringLiteral("Геометрические построения"));
    EXPECT_EQ(Palette->parentWidget(), &Run.Form());
    EXPECT_EQ(Palette->pos(), QPoint(10, tools.y()));
    EXPECT_TRUE(Palette->windowFlags() & Qt::Tool);
    EXPECT_TRUE(Palette->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(Palette->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(Palette->cbTP->isChecked());
    EXPECT_EQ(Palette->cbTP->text(), QStringLiteral(" исп.точки построения"));
    EXPECT_EQ(Palette->lbA->text(), QStringLiteral("Дир.угол"));
    EXPECT_EQ(Palette->lbD->text(), QStringLiteral("Длина"));
    EXPECT_FALSE(Palette->Timer2->Enabled());
    EXPECT_EQ(Palette->Timer2->Interval(), 500);
    TypeBaseLine("6012345,678", "4312345,678", "6012345,678", "4312545,678");
    SaveGrab(*Palette, QStringLiteral("FormInstr2"));
}

TEST_F(ConstructionsPalette, BaseLinePickedWithTwoClicksBlinksOnTheSurface)
{
    TFormMap& form = Run.Form();
    TSurfaceDriver mouse(form);
    ClickMiddle(Palette->SpeedButton1);
    EXPECT_EQ(form.MouseMode, mmBaseLinePoint);
    EXPECT_EQ(form.MouseStep, 1);
    mouse.Click(100, 100);
    EXPECT_EQ(form.MouseStep, 2);
    mouse.Click(100, 300);
    EXPECT_EQ(form.MouseStep, 2);
    EXPECT_EQ(Palette->NumEdit1->text(), QStringLiteral("100,000"));
    EXPECT_EQ(Palette->NumEdit2->text(), QStringLiteral("100,000"));
    EXPECT_EQ(Palette->NumEdit3->text(), QStringLiteral("100,000"));
    EXPECT_EQ(Palette->NumEdit4->text(), QStringLiteral("300,000"));
    EXPECT_EQ(Palette->lbA->text(), QStringLiteral("Дир.угол 90°0'0''"));
    EXPECT_EQ(Palette->lbD->text(), QStringLiteral("Длина 200,000м"));
    ASSERT_TRUE(Palette->Timer2->Enabled());

    // Two ticks: the arrow appears between the two picked points, then goes.
    const QImage before = form.DisplaySurf->Canvas.copy();
    Palette->Timer2->Fire();
    const QImage shown = form.DisplaySurf->Canvas.copy();
    EXPECT_NE(shown, before);
    EXPECT_NE(shown.pixel(mouse.At(100, 200)), before.pixel(mouse.At(100, 200)));
    EXPECT_EQ(shown.pixel(mouse.At(150, 200)), before.pixel(mouse.At(150, 200)));
    Palette->Timer2->Fire();
    EXPECT_EQ(form.DisplaySurf->Canvas, before);

    // "Конец" picks the end alone.
    ClickMiddle(Palette->SpeedButton2);
    EXPECT_EQ(form.MouseStep, 2);
    mouse.Click(50, 100);
    EXPECT_EQ(Palette->NumEdit1->text(), QStringLiteral("100,000"));
    EXPECT_EQ(Palette->NumEdit3->text(), QStringLiteral("50,000"));
    EXPECT_EQ(Palette->lbA->text(), QStringLiteral("Дир.угол 180°0'0''"));
    EXPECT_EQ(double(Palette->BaseEnd.X), 50);
}

TEST_F(ConstructionsPalette, TypedBaseLineShowsItsDirectionAndLength)
{
    struct Case {
        const char *x1, *y1, *x2, *y2;
        const char *angle, *length;
        bool preview;
    };
    const Case cases[] = {
        {"0", "0", "0", "10", "Дир.угол 90°0'0''", "Длина 10,000м", true},
        {"0", "0", "10", "10", "Дир.угол 45°0'0''", "Длина 14,142м", true},
        {"0.5", "0.5", "-9.5", "0.5", "Дир.угол 180°0'0''", "Длина 10,000м", true},
        // Seconds that round to 60 carry into the minutes.
        {"0", "0", "1000", "0,29075", "Дир.угол 0°1'0''", "Длина 1000,000м", true},
        {"5", "5", "5", "5", "Дир.угол 0°0'0''", "Длина 0,000м", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        TypeBaseLine(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Palette->lbA->text(), QString::fromUtf8(c.angle));
        EXPECT_EQ(Palette->lbD->text(), QString::fromUtf8(c.length));
        EXPECT_EQ(Palette->Timer2->Enabled(), c.preview);
        // The line of equal ends is never stored.
        const auto value = [](const char* text) {
            return double(StrToFloat(QString::fromUtf8(text).replace(u'.', u',')));
        };
        if (c.preview)
            EXPECT_EQ(std::vector<double>({double(Palette->BaseStart.X), double(Palette->BaseStart.Y),
                                           double(Palette->BaseEnd.X), double(Palette->BaseEnd.Y)}),
                      std::vector<double>({value(c.x1), value(c.y1), value(c.x2), value(c.y2)}));
        else
            EXPECT_FALSE(Palette->BaseStart.X == Palette->BaseEnd.X && Palette->BaseStart.Y == Palette->BaseEnd.Y);
    }

    // An edit without a number stops the preview and leaves the labels.
    TypeBaseLine("0", "0", "0", "10");
    ASSERT_TRUE(Palette->Timer2->Enabled());
    Type(Palette->NumEdit4, QString());
    EXPECT_FALSE(Palette->Timer2->Enabled());
    EXPECT_EQ(Palette->lbD->text(), QStringLiteral("Длина 10,000м"));
}

TEST_F(ConstructionsPalette, HidingStopsThePreviewAndReleasesThePaletteButton)
{
    TFormInstr1& tools = *Run.Form().FormInstr1;
    TypeBaseLine("0", "0", "0", "10");
    ASSERT_TRUE(Palette->Timer2->Enabled());
    ASSERT_TRUE(tools.sbInstr2->Down());
    CloseBox(Palette);
    EXPECT_FALSE(Palette->isVisible());
    EXPECT_FALSE(Palette->Timer2->Enabled());
    EXPECT_FALSE(tools.sbInstr2->Down());

    // Shown again: the same window, its base line checked anew.
    ClickMiddle(tools.sbInstr2);
    EXPECT_EQ(tools.FormInstr2, Palette);
    EXPECT_TRUE(Palette->isVisible());
    EXPECT_TRUE(Palette->Timer2->Enabled());
    ClickMiddle(tools.sbInstr2);
    EXPECT_FALSE(Palette->isVisible());
    EXPECT_FALSE(Palette->Timer2->Enabled());
}

TEST_F(ConstructionsPalette, PolarIntersectionMakesAConstructionPointOnTheSheetOfTheLastClick)
{
    TFormMap& form = Run.Form();
    TSurfaceDriver mouse(form);
    const QString sheet = MainMap->CoordToNomenclature(100, 300);
    ASSERT_NE(sheet, QStringLiteral("?"));
    ASSERT_EQ(MainMap->CoordToNomenclature(1000100, 100), QStringLiteral("?"));
    form.PointCode = QStringLiteral("ДЕР");
    ClickMiddle(Palette->SpeedButton1);
    mouse.Click(100, 100);
    mouse.Click(100, 300);

    struct Case {
        const char* distance;
        bool right;
        const char* line;
    };
    const Case cases[] = {
        {"50", false, "mcNewPoint=<ТОЧ/Ф500;><150,00><100,00><2><0,00><><0><0>"},
        {"50", true, "mcNewPoint=<ТОЧ/Ф500;><50,00><100,00><2><0,00><><0><0>"},
        // Far outside every sheet: the sheet still comes from the last click.
        {"1000000", false, "mcNewPoint=<ТОЧ/Ф500;><1000100,00><100,00><2><0,00><><0><0>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TModalScript script;
        script.Then("TFormInpPolarDialog", [&](QWidget* w) {
            auto* polar = static_cast<TFormInpPolarDialog*>(w);
            EXPECT_TRUE(form.FormInstr1->sbNoSem->Down());
            Type(polar->Distance, QString::fromUtf8(c.distance));
            (c.right ? polar->RightAngle : polar->LeftAngle)->click();
            Enter(w);
        });
        ClickMiddle(Palette->SpeedButton3);
        EXPECT_TRUE(script.Done());
        const QStringList made = Take();
        ASSERT_EQ(made.size(), 1);
        EXPECT_EQ(WithoutPlace(made[0]), QString::fromUtf8(c.line));
        EXPECT_EQ(SheetOf(made[0]), sheet);
        EXPECT_FALSE(form.FormInstr1->sbNoSem->Down());
        EXPECT_EQ(form.PointCode, QStringLiteral("ТОЧ/Ф500;"));
    }
    EXPECT_EQ(Run.ClassifierShown, 0);
}

TEST_F(ConstructionsPalette, WithoutConstructionPointsTheUsualQuestionIsAsked)
{
    TFormMap& form = Run.Form();
    AcceptSemantics();
    form.PointCode = QStringLiteral("ДЕР");
    Palette->cbTP->setChecked(false);
    TypeBaseLine("0", "0", "0", "10");
    TModalScript script;
    script.Then("TFormInp2LinesDialog", [&](QWidget* w) {
        EXPECT_FALSE(form.FormInstr1->sbNoSem->Down());
        Type(w, "NumEdit1", QStringLiteral("6"));
        Type(w, "NumEdit2", QStringLiteral("8"));
        Choose(w, "RadioButton1");
        Enter(w);
    });
    ClickMiddle(Palette->SpeedButton4);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(SemAsked, 1);
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(WithoutPlace(made[0]), QStringLiteral("mcNewPoint=<ДЕР><4,80><3,60><2><0,00><><0><0>"));
    EXPECT_EQ(form.PointCode, QStringLiteral("ДЕР"));

    // A "Не запрашивать семантику" the user pressed is released after the construction too.
    form.FormInstr1->sbNoSem->SetDown(true);
    TModalScript right;
    right.Then("TFormInp2LinesDialog", [](QWidget* w) {
        Choose(w, "RadioButton2");
        Enter(w);
    });
    ClickMiddle(Palette->SpeedButton4);
    EXPECT_EQ(WithoutPlace(Take().value(0)), QStringLiteral("mcNewPoint=<ДЕР><-4,80><3,60><2><0,00><><0><0>"));
    EXPECT_FALSE(form.FormInstr1->sbNoSem->Down());
}

TEST_F(ConstructionsPalette, DeletingConstructionPointsLeavesTheOthers)
{
    TFormMap& form = Run.Form();
    TypeBaseLine("0", "0", "0", "10");
    for (const char* distance : {"6", "7"}) {
        TModalScript script;
        script.Then("TFormInp2LinesDialog", [&](QWidget* w) {
            Type(w, "NumEdit1", QString::fromUtf8(distance));
            Enter(w);
        });
        ClickMiddle(Palette->SpeedButton4);
    }
    form.FormInstr1->sbNoSem->SetDown(true);
    form.PointCode = QStringLiteral("ДЕР;");
    form.CreatePointByCoordinates(20, 20);
    form.FormInstr1->sbNoSem->SetDown(false);
    ASSERT_EQ(Take().size(), 3);
    const QString before = SavedPlan();
    ASSERT_EQ(before.count(QStringLiteral("ТОЧ/Ф500;")), 2);
    ASSERT_EQ(before.count(QStringLiteral("ДЕР;")), 1);

    // The engine asks before it deletes, listing the points found.
    TModalScript question;
    question.Then("TFormQDelObjectsDialog", [](QWidget* w) {
        QString listed;
        const QListWidget* list = static_cast<TFormQDelObjectsDialog*>(w)->ListBox1;
        for (int i = 0; i < list->count(); ++i)
            listed += list->item(i)->text() + u'|';
        EXPECT_EQ(listed.count(QStringLiteral("ТОЧ/Ф500;")), 2) << listed.toStdString();
        EXPECT_FALSE(listed.contains(QStringLiteral("ДЕР;")));
        Enter(w);
    });
    ClickMiddle(Palette->sbDelTP);
    EXPECT_TRUE(question.Done());
    EXPECT_EQ(Take(QStringLiteral("mcDel")), QStringList{QStringLiteral("mcDelObjects=<-1><-1><1><0><0><ТОЧ/Ф500>")});
    const QString after = SavedPlan();
    EXPECT_EQ(after.count(QStringLiteral("ТОЧ/Ф500")), 0);
    EXPECT_EQ(after.count(QStringLiteral("ДЕР;")), 1);

    // Nothing left to delete: the plan stays as it was, the picture is drawn anew.
    form.DisplaySurf->Canvas.fill(Qt::black);
    ClickMiddle(Palette->sbDelTP);
    EXPECT_EQ(Take(QStringLiteral("mcDel")).size(), 1);
    EXPECT_EQ(SavedPlan(), after);
    EXPECT_NE(form.DisplaySurf->Canvas.pixel(5, 5), qRgb(0, 0, 0));
}

TEST_F(ConstructionsPalette, SquareAsAPolygonAndAsALine)
{
    TFormMap& form = Run.Form();
    AcceptSemantics();
    form.PolygonCode = QStringLiteral("ЗД");
    form.LineCode = QStringLiteral("ОГР");
    TypeBaseLine("0", "0", "10", "0");
    TModalScript polygon;
    polygon.Then("TFormInpSQRDialog", [](QWidget* w) { Enter(w); });
    ClickMiddle(Palette->SpeedButton8);
    TModalScript line;
    line.Then("TFormInpSQRDialog", [](QWidget* w) {
        Choose(w, "RadioButton2");
        Choose(w, "RadioButton4");
        Enter(w);
    });
    ClickMiddle(Palette->SpeedButton8);
    EXPECT_TRUE(polygon.Done() && line.Done());
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 2);
    EXPECT_EQ(WithoutPlace(made[0]),
              QStringLiteral("mcNewPolygon=<ЗД><[{0,00}{0,00}{-1,00}{0}{0}{0}{0}][{0,00}{-10,00}{-1,00}{0}{0}{0}{0}]"
                             "[{10,00}{-10,00}{-1,00}{0}{0}{0}{0}][{10,00}{0,00}{-1,00}{0}{0}{0}{0}]><2><><0,00><0,00><><-1>"));
    EXPECT_EQ(WithoutPlace(made[1]),
              QStringLiteral("mcNewLine=<ОГР><><0><0,00><2><>"
                             "<[{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}][{10,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}]"
                             "[{10,00}{10,00}{0}{-1,00}{0}{-1}{0}{0}][{0,00}{10,00}{0}{-1,00}{0}{-1}{0}{0}]"
                             "[{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}]>"));
    EXPECT_EQ(SemAsked, 2);
    EXPECT_EQ(form.MouseMode, mmCreateLine);
}

TEST_F(ConstructionsPalette, HexagonFromTheNorthWithHiddenNodeMarks)
{
    AcceptSemantics();
    Run.Form().PolygonCode = QStringLiteral("ЗД");
    TypeBaseLine("100", "200", "100", "210");
    TModalScript script;
    script.Then("TFormInpCircleDialog", [](QWidget* w) {
        Type(w, "NumEdit1", QStringLiteral("20"));
        Choose(w, "RadioButton7");
        Type(w, "NumEdit3", QStringLiteral("6"));
        Enter(w);
    });
    ClickMiddle(Palette->SpeedButton7);
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(WithoutPlace(made[0]),
              QStringLiteral("mcNewPolygon=<ЗД><[{110,00}{200,00}{-1,00}{0}{0}{1}{1}][{105,00}{208,66}{-1,00}{0}{0}{1}{1}]"
                             "[{95,00}{208,66}{-1,00}{0}{0}{1}{1}][{90,00}{200,00}{-1,00}{0}{0}{1}{1}]"
                             "[{95,00}{191,34}{-1,00}{0}{0}{1}{1}][{105,00}{191,34}{-1,00}{0}{0}{1}{1}]><2><><0,00><0,00><><-1>"));
}

TEST_F(ConstructionsPalette, CircleByToleranceAsAClosedLine)
{
    AcceptSemantics();
    Run.Form().LineCode = QStringLiteral("ОГР");
    TypeBaseLine("0", "0", "0", "10");
    TModalScript script;
    script.Then("TFormInpCircleDialog", [](QWidget* w) {
        Choose(w, "RadioButton5");   // centred in the middle
        Choose(w, "RadioButton4");
        Enter(w);                     // diameter 10, tolerance 0,05: 22 sides
    });
    ClickMiddle(Palette->SpeedButton7);
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(made[0].count(QLatin1Char('[')), 23);
    EXPECT_TRUE(made[0].contains(QStringLiteral("<[{5,00}{5,00}{0}")));   // due north of (0, 5)
    EXPECT_TRUE(made[0].endsWith(QStringLiteral("[{5,00}{5,00}{0}{-1,00}{0}{-1}{0}{0}]>")));
}

TEST_F(ConstructionsPalette, ACancelledDialogCreatesNothing)
{
    TFormMap& form = Run.Form();
    AcceptSemantics();
    TypeBaseLine("0", "0", "0", "10");
    const QString plan = SavedPlan();
    const struct {
        TExSpeedButton* button;
        const char* window;
    } cases[] = {{Palette->SpeedButton3, "TFormInpPolarDialog"},
                 {Palette->SpeedButton4, "TFormInp2LinesDialog"},
                 {Palette->SpeedButton8, "TFormInpSQRDialog"},
                 {Palette->SpeedButton7, "TFormInpCircleDialog"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        TModalScript script;
        script.Then(c.window, [](QWidget* w) { Esc(w); });
        ClickMiddle(c.button);
        EXPECT_TRUE(script.Done());
        EXPECT_FALSE(form.FormInstr1->sbNoSem->Down());
    }
    EXPECT_TRUE(Take(QStringLiteral("")).isEmpty());
    EXPECT_EQ(SemAsked, 0);
    EXPECT_EQ(SavedPlan(), plan);
    EXPECT_TRUE(form.CreateNodes.empty());
}
