// Copies of the chosen polygon, line, point and text through the copy settings window,
// and the picket turned into a height mark; the journal and the stored objects are the
// oracle.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "dialogs/objects/ObjectValues.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/modes/EditMenus.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

// Journal lines compared as text, readable in a failure.
#define EXPECT_TEXT_EQ(a, b) EXPECT_EQ((a).toStdString(), (b).toStdString())

namespace {

// What the copy window was shown and what it answers.
struct TCopyWindow {
    int Count = 1;
    Extended Dx = 0, Dy = 0;
    TModalResult Answer = mrOk;
    int Shown = 0;
    int StartCount = 0;
    Extended StartDx = 0, StartDy = 0;
    QString Texts;   // caption and labels, "|" between
};

class CopyObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        AddExactView(Run.Form());
        Run.Form().SetMouseMode(mmSelectObject, 0, true);
        ProgramDialogHooks().Inp3Int = [this](int& n, Extended& a, Extended& b, const QString& caption,
                                              const QString& l1, const QString& l2, const QString& l3) {
            ++Window.Shown;
            Window.StartCount = n;
            Window.StartDx = a;
            Window.StartDy = b;
            Window.Texts = QStringList{caption, l1, l2, l3}.join(QLatin1Char('|'));
            n = Window.Count;
            a = Window.Dx;
            b = Window.Dy;
            return Window.Answer;
        };
    }
    void Plan(std::initializer_list<const char*> commands)
    {
        RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>", "mcNewLayer=<0><Второй>"});
        RunCommands(commands);
        const QSize size = Run.Form().DisplaySurf->size();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    }
    void Choose(Extended x, Extended y)
    {
        Run.Form().btClearSelectedClick();
        TPixelMouse{Run.Form()}.Click(TSurfaceDriver(Run.Form()).At(x, y));
        ASSERT_EQ(Run.Form().FoundCount->text(), QStringLiteral("1"));
    }
    QStringList Copy(void (TFormMap::*handler)())
    {
        const int before = int(CommandLog->size());
        (Run.Form().*handler)();
        return CommandLog->mid(before);
    }

    TMainWindowRun Run;
    TScopedProgramDialogHooks Scope;
    TCopyWindow Window;
};

}  // namespace

TEST_F(CopyObjects, ThreePointCopiesLandAtOneTwoAndThreeOffsetsInTheSourceLayer)
{
    Plan({"mcNewPoint=<0><1><ТОЧ/ИН7><250><300><2><15><[{1}{2}{30}{1,5}{1}]><1><2>"});
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    Window.Count = 3;
    Window.Dx = 3;
    Window.Dy = 3;
    const QStringList lines = Copy(&TFormMap::N56Click);
    EXPECT_EQ(Window.Texts, QStringLiteral("Настройка копирования|число копий|смещение по X|смещение по Y"));
    EXPECT_EQ(Window.StartCount, 1);
    EXPECT_EQ(Window.StartDx, 3);
    EXPECT_EQ(Window.StartDy, 3);
    const QString copy = Decimal("mcNewPoint=<0><1><ТОЧ/ИН7><%1><%2><2><15,00><[{1,00}{2,00}{30}{1,50}{1}]><1><2>");
    EXPECT_TEXT_EQ(lines.join(QLatin1Char('\n')), (QStringList{copy.arg(Decimal("253,00"), Decimal("303,00")),
                                                       copy.arg(Decimal("256,00"), Decimal("306,00")),
                                                       copy.arg(Decimal("259,00"), Decimal("309,00"))}
                                               .join(QLatin1Char('\n'))));
    EXPECT_EQ(Run.Form().FoundCount->text(), QStringLiteral("1"));   // the source stays chosen
}

TEST_F(CopyObjects, APolygonCopyCarriesItsHoleAndItsCurveFlags)
{
    Plan({"mcNewPolygon=<0><0><ЗДН><[{100}{100}{-1}{0}{0}{0}{0}][{100}{110}{-1}{1}{0}{0}{0}{1}]"
          "[{110}{110}{-1}{0}{0}{0}{0}][{110}{100}{-1}{0}{0}{0}{0}]><3><><1,5><2,5>"
          "<([{102}{102}{-1}{0}{0}][{102}{104}{-1}{0}{0}{1}][{104}{104}{-1}{0}{0}])><450>"});
    ASSERT_NO_FATAL_FAILURE(Choose(101, 101));
    Window.Dx = 5;
    const QStringList lines = Copy(&TFormMap::N51Click);
    EXPECT_EQ(Window.StartCount, 1);
    EXPECT_EQ(Window.StartDx, 5);
    EXPECT_EQ(Window.StartDy, 5);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(Decimal("mcNewPolygon=<0><0><ЗДН><[{105,000}{100,000}"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("<-1>"))) << lines[0].toStdString();
    RPolygonValues source, copy;
    ASSERT_TRUE(ReadPolygon(*MainMap, 0, 0, 0, source));
    ASSERT_TRUE(ReadPolygon(*MainMap, 0, 0, 1, copy));
    ASSERT_EQ(copy.Nodes.size(), 4u);
    ASSERT_EQ(copy.Holes.size(), 1u);
    ASSERT_EQ(copy.Holes[0].size(), 3u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(copy.Nodes[i].Position.X, source.Nodes[i].Position.X + 5);
        EXPECT_EQ(copy.Nodes[i].Position.Y, source.Nodes[i].Position.Y);
        EXPECT_EQ(copy.Nodes[i].Curve, source.Nodes[i].Curve);
        EXPECT_EQ(copy.Nodes[i].SegmentType, source.Nodes[i].SegmentType);
    }
    // The hole 5 m north of the source's, inside the copied outline (105..115, 100..110).
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(copy.Holes[0][i].Position.X, source.Holes[0][i].Position.X + 5);
        EXPECT_EQ(copy.Holes[0][i].Position.Y, source.Holes[0][i].Position.Y);
        EXPECT_EQ(copy.Holes[0][i].Curve, source.Holes[0][i].Curve);
        EXPECT_GT(copy.Holes[0][i].Position.X, 105);
        EXPECT_LT(copy.Holes[0][i].Position.X, 115);
    }
    EXPECT_EQ(copy.Dxz, source.Dxz);
    EXPECT_EQ(copy.Dyz, source.Dyz);
    EXPECT_EQ(copy.Precision, 3);
    EXPECT_LT(copy.CaptionAngle, 0);
}

TEST_F(CopyObjects, LineAndTextCopies)
{
    Plan({"mcNewLine=<0><0><ЛЭП><><0><0><1><{ЗАБ}><[{100}{200}{0}{-1}{0}{-1}{1}{0}][{150}{300}{0}{-1}{0}{-1}{0}{0}]>",
          "mcNewText=<0><0><Река><300><100><450><1.5><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(125, 250));
    Window.Count = 2;
    Window.Dx = -1;
    Window.Dy = 0.5L;
    QStringList lines = Copy(&TFormMap::N54Click);
    EXPECT_EQ(Window.StartDx, 5);
    EXPECT_EQ(Window.StartDy, 5);
    EXPECT_TEXT_EQ(lines.join(QLatin1Char('\n')), (QStringList{
                         Decimal("mcNewLine=<0><0><ЛЭП><><0><0,00><1><{ЗАБ}><[{99,0}{200,5}{0}{-1,00}{0}{-1}{1}{0}]"
                                 "[{149,0}{300,5}{0}{-1,00}{0}{-1}{0}{0}]>"),
                         Decimal("mcNewLine=<0><0><ЛЭП><><0><0,00><1><{ЗАБ}><[{98,0}{201,0}{0}{-1,00}{0}{-1}{1}{0}]"
                                 "[{148,0}{301,0}{0}{-1,00}{0}{-1}{0}{0}]>")}
                                                        .join(QLatin1Char('\n'))));
    // A text: two decimals, the style with "*", the thirteen fields of a new text.
    RTextValues text;
    ASSERT_TRUE(ReadText(*MainMap, 0, 0, 0, text));
    Run.Form().btClearSelectedClick();
    MainMap->FindObjects(300, 100, Run.Form().PickSquare(TSurfaceDriver(Run.Form()).At(300, 100)));
    Run.Form().RefreshFoundList();
    ASSERT_EQ(MainMap->FoundObjects.At(0)->Kind, fkText);
    Window.Count = 1;
    Window.Dx = 3;
    Window.Dy = 3;
    lines = Copy(&TFormMap::N80Click);
    EXPECT_EQ(Window.StartDx, 3);
    ASSERT_EQ(lines.size(), 1);
    QString size = QString::number(double(text.Size), 'f', 2);
    size.replace(QLatin1Char('.'), DecimalSeparator);
    EXPECT_TEXT_EQ(lines[0], Decimal("mcNewText=<0><0><Река><303,00><103,00><450><1,50><*ОСНОВНОЙ><0><%1><%2><%3><%4>")
                            .arg(text.FontName)
                            .arg(text.Color)
                            .arg(size, text.FontStyle));
}

TEST_F(CopyObjects, NoCopiesForZeroOrACancelledWindow)
{
    Plan({"mcNewPoint=<0><0><ТОЧ><250><300><2><0><><0><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    Window.Dx = Window.Dy = 3;
    Window.Count = 0;
    EXPECT_TRUE(Copy(&TFormMap::N56Click).isEmpty());
    Window.Count = -2;
    EXPECT_TRUE(Copy(&TFormMap::N56Click).isEmpty());
    // Esc: nothing, whatever the window shows.
    Window.Count = 3;
    Window.Answer = mrCancel;
    EXPECT_TRUE(Copy(&TFormMap::N56Click).isEmpty());
    EXPECT_EQ(Window.Shown, 3);
    EXPECT_EQ(Run.Form().FoundCount->text(), QStringLiteral("1"));
    // A copy item of another kind does nothing to a point.
    EXPECT_TRUE(Copy(&TFormMap::N51Click).isEmpty());
    EXPECT_EQ(Window.Shown, 3);
}

TEST_F(CopyObjects, APicketBecomesAHeightMarkKeepingItsItemsAndCoordinates)
{
    Plan({"mcNewPoint=<0><0><ПКТ/ИН12;ИВ154.30><300,123><400,456><3><0><><0><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(300, 400));
    EXPECT_TEXT_EQ(Copy(&TFormMap::NPikToOtmClick).join(QLatin1Char('\n')),
                   Decimal("mcSetPointProp=<0><0><0><ОТА/ИН12;ИВ154.30><300,123><400,456><3><0,00><><0><0>"));
}

TEST_F(CopyObjects, AsAUserThePointPopupCopiesThreeTimes)
{
    Plan({"mcNewPoint=<0><0><ТОЧ><250><300><2><0><><0><0>"});
    TFormMap& form = Run.Form();
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    Window.Count = 3;
    Window.Dx = 3;
    Window.Dy = 3;
    QString opened;
    MapHooks().MenuExec = [&](QMenu& menu, QPoint) -> QAction* {
        opened = menu.objectName();
        QAction* a = FindMenuItem(&menu, "Копировать объект");
        if (a)
            a->trigger();
        return a;
    };
    const QPoint at = TSurfaceDriver(form).At(250, 300);
    TPixelMouse{form}.Move(at);
    const int before = int(CommandLog->size());
    QTest::mousePress(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseRelease(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
    EXPECT_EQ(opened, QStringLiteral("PMPoint"));
    const QStringList lines = CommandLog->mid(before);
    ASSERT_EQ(lines.size(), 3);
    for (const QString& line : lines)
        EXPECT_TRUE(line.startsWith(QStringLiteral("mcNewPoint=<0><0><ТОЧ>"))) << line.toStdString();
    EXPECT_EQ(MainMap->GetPointsCount(0, 0), 4);
}
