// The line and polygon windows over the main window's plan, as a user works them: a node
// moved and one added in the line window, a hole added to a polygon, autosave resting
// while a window is open; the journal lines and the saved plan compared.
#include "MainWindowFixture.h"

#include "controls/TextListBox.h"
#include "dialogs/general/InputDialogs.h"
#include "dialogs/objects/ObjectWindows.h"
#include "dialogs/objects/UnitLineProp.h"
#include "dialogs/objects/UnitPolygonProp.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/VclTimer.h"
#include "platform/CodePage.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QWidget* Find(QWidget* w, const char* name)
{
    auto* control = w->findChild<QWidget*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

void Press(QWidget* w, const char* name)
{
    if (QWidget* control = Find(w, name))
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, QPoint(8, control->height() / 2));
}

void TypeInto(QWidget* w, const char* name, const QString& text)
{
    auto* edit = qobject_cast<QLineEdit*>(Find(w, name));
    ASSERT_NE(edit, nullptr) << name;
    edit->setFocus();
    edit->selectAll();
    // Key by key with its text, Cyrillic included (QTest's own typing knows ASCII only).
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(edit, &release);
    }
}

void ClickLine(QWidget* w, const char* name, int i)
{
    auto* list = qobject_cast<TTextListBox*>(Find(w, name));
    ASSERT_NE(list, nullptr) << name;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(i)).center());
}

class LinePolygonWindowsRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        InstallProgramDialogWindows();
        InstallObjectWindows();
        for (const char* line :
             {"mcNewPage=<Лист 1>", "mcNewLayer=<0><Дороги>",
              "mcNewLine=<0><0><ЛИН><><0><0><2><><[{10}{20}{0}{-1}{0}{-1}{0}{0}][{30}{40}{0}{-1}{0}{-1}{1}{0}]>",
              "mcNewPolygon=<0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}][{0}{10}{-1}{0}{0}{0}{0}][{10}{10}{-1}{0}{0}{0}{0}]"
              "[{10}{0}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>"})
            MainMap->StrToComm(Decimal(line));
    }

    static QString Decimal(const char* text) { return QString::fromUtf8(text).replace(QLatin1Char(','), DecimalSeparator); }

    // The plan saved under name, as text.
    QString Saved(const char* name)
    {
        Run.SaveAsName = Run.Folder() + QString::fromUtf8(name);
        EXPECT_TRUE(Run.Form().SaveAs());
        QFile file(Run.SaveAsName);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return DecodeCodePage(file.readAll());
    }

    TMainWindowRun Run;
    TScopedProgramDialogHooks Scope;
};

}  // namespace

TEST_F(LinePolygonWindowsRun, AnEditedLineReachesTheJournalAndThePlanFile)
{
    TFormMap& form = Run.Form();
    form.AutoSaveOn = 1;
    form.TimerAutosave->SetEnabled(true);
    bool autosaveInside = true;
    int page = 0, layer = 0, index = 0;
    TModalScript nodes;
    nodes.Then("TFormlineNodeProp", [](QWidget* w) {
        TypeInto(w, "neY", QStringLiteral("25"));
        Press(w, "BitBtn1");
    });
    nodes.Then("TFormlineNodeProp", [](QWidget* w) {
        TypeInto(w, "neX", QStringLiteral("50"));
        TypeInto(w, "neY", QStringLiteral("60"));
        Press(w, "cbPicPosAuto");
        TypeInto(w, "nePicPos", QStringLiteral("3"));
        Press(w, "BitBtn1");
    });
    TModalScript script;
    script.Then("TFormLineProp", [&](QWidget* w) {
        autosaveInside = form.TimerAutosave->Enabled();
        ClickLine(w, "TLBNodes", 0);
        Press(w, "btNodesProp");
        Press(w, "btNodesAdd");
        TypeInto(w, "eText", QStringLiteral("ЛИН/Ф1"));
        SaveGrab(*w, QStringLiteral("main-line-window"));
        Press(w, "BitBtn1");
    });
    EXPECT_EQ(LinePropDlg(page, layer, index, false), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(nodes.Done());
    EXPECT_FALSE(autosaveInside);
    EXPECT_TRUE(form.TimerAutosave->Enabled());
    EXPECT_EQ(CommandLog->last(),
              Decimal("mcSetLineProp=<0><0><0><ЛИН/Ф1><><0><0,00><2><>"
                      "<[{10,00}{25,00}{0}{-1,00}{0}{-1}{0}{0}{0}][{30,00}{40,00}{0}{-1,00}{0}{-1}{1}{0}{1}]"
                      "[{50,00}{60,00}{0}{3,00}{0}{-1}{0}{0}{-1}]>"));
    const QString plan = Saved("линия.500");
    EXPECT_TRUE(plan.contains(Decimal("@ЛИН/Ф1\r\n$10,00 25,00\r\n$30,00 40,00\r\n{нау\r\n|кри|1\r\n}нау\r\n"
                                      "$50,00 60,00\r\n{нау\r\n|поз|3,000\r\n}нау\r\n")))
        << plan.toStdString();
}

TEST_F(LinePolygonWindowsRun, AHoleAddedToAPolygonReachesTheJournalAndThePlanFile)
{
    int page = 0, layer = 0, index = 0;
    TModalScript holes;
    holes.Then("TFormIntrPolygonProp", [](QWidget* w) {
        TModalScript node;
        for (const char* xy : {"2 2", "2 4", "4 4"})
            node.Then("TFormIntrPolygonNodeProp", [xy](QWidget* n) {
                const QStringList v = QString::fromLatin1(xy).split(QLatin1Char(' '));
                TypeInto(n, "neX", v[0]);
                TypeInto(n, "neY", v[1]);
                Press(n, "BitBtn1");
            });
        for (int i = 0; i < 3; ++i)
            Press(w, "btNodesAdd");
        EXPECT_TRUE(node.Done());
        Press(w, "BitBtn1");
    });
    TModalScript script;
    script.Then("TFormPolygonProp", [](QWidget* w) {
        Press(w, "btAddIntrPolygon");
        ClickLine(w, "TLBIntrPolygons", 0);
        Press(w, "btPropIntrPolygon");
        EXPECT_EQ(qobject_cast<QLabel*>(Find(w, "Label9"))->text(),
                  QStringLiteral("Площадь полигона=98#000кв.м.; 0#010га; периметр, внешний контур=40#000м")
                      .replace(QLatin1Char('#'), DecimalSeparator));
        Press(w, "rbUsr");
        TypeInto(w, "neAbsAngle", QStringLiteral("45"));
        SaveGrab(*w, QStringLiteral("main-polygon-window"));
        Press(w, "BitBtn1");
    });
    EXPECT_EQ(PolygonPropDlg(page, layer, index, false), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(CommandLog->last(),
              Decimal("mcSetPolygonProp=<0><0><0><ЗДН><[{0,00}{0,00}{-1,00}{0}{0}{0}{0}{0}][{0,00}{10,00}{-1,00}{0}{0}{0}{0}{0}]"
                      "[{10,00}{10,00}{-1,00}{0}{0}{0}{0}{0}][{10,00}{0,00}{-1,00}{0}{0}{0}{0}{0}]><2><><0,00><0,00>"
                      "<([{2,00}{2,00}{0,00}{0}{0}{0}][{2,00}{4,00}{0,00}{0}{0}{0}][{4,00}{4,00}{0,00}{0}{0}{0}])><450>"));
    const QString plan = Saved("полигон.500");
    EXPECT_TRUE(plan.contains(Decimal("$2,00 2,00\r\n{нау\r\n|поз|0,000\r\n}нау\r\n"))) << plan.toStdString();
}
