// The point, text and move windows over the main window's plan, as a user works them:
// autosave paused while an object window is open, the sign editor reached from the
// point window, an edited point and a moved text in the journal and the saved plan.
#include "MainWindowFixture.h"

#include "dialogs/general/InputDialogs.h"
#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/ObjectWindows.h"
#include "dialogs/objects/UnitPointProp.h"
#include "dialogs/objects/UnitTextProp.h"
#include "editors/EditorDialogs.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/StringNum.h"
#include "mainwindow/VclTimer.h"
#include "platform/CodePage.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void Press(QWidget* w, const char* name)
{
    auto* control = w->findChild<QWidget*>(QLatin1String(name));
    ASSERT_NE(control, nullptr) << name;
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, QPoint(8, control->height() / 2));
}

void TypeInto(QWidget* w, const char* name, const QString& text)
{
    auto* edit = w->findChild<QLineEdit*>(QLatin1String(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->setFocus();
    edit->selectAll();
    edit->insert(text);
}

class ObjectWindowsRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        InstallProgramDialogWindows();
        InstallObjectWindows();
        for (const char* line : {"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Надписи>",
                                 "mcNewPoint=<0><0><ТОЧ/Ф001><10,00><20,00><2><0><><0><0>",
                                 "mcNewText=<0><0><Река><1,00><2,00><0><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>"})
            MainMap->StrToComm(QString::fromUtf8(line).replace(QLatin1Char(','), DecimalSeparator));
    }

    QString Decimal(const char* text) const { return QString::fromUtf8(text).replace(QLatin1Char(','), DecimalSeparator); }

    TMainWindowRun Run;
    TScopedProgramDialogHooks Scope;
};

}  // namespace

TEST_F(ObjectWindowsRun, AutosaveRestsWhileThePointWindowIsOpen)
{
    TFormMap& form = Run.Form();
    std::vector<QString> signFiles;
    bool autosaveInEditor = true;
    TScopedEditorDialogHooks editors;
    EditorDialogHooks().EditSymbolDlg = [&](const QString& file, int scale, int kind) {
        signFiles.push_back(file + QStringLiteral(" %1 %2").arg(scale).arg(kind));
        autosaveInEditor = form.TimerAutosave->Enabled();
        return mrOk;
    };
    for (const std::uint8_t on : {std::uint8_t(1), std::uint8_t(0)}) {
        SCOPED_TRACE(on);
        form.AutoSaveOn = on;
        form.TimerAutosave->SetEnabled(true);
        bool enabledInside = true;
        QString sign;
        int page = 0, layer = 0, index = 0;
        TModalScript script;
        script.Then("TFormPointProp", [&](QWidget* w) {
            enabledInside = form.TimerAutosave->Enabled();
            sign = w->findChild<QLabel*>(QStringLiteral("lbSymbol"))->text();
            Press(w, "SpeedButton2");
            EXPECT_FALSE(form.TimerAutosave->Enabled()) << "the sign editor's end leaves the window's pause";
            Esc(w);
        });
        EXPECT_EQ(PointPropDlg(page, layer, index, false), mrCancel);
        EXPECT_TRUE(script.Done());
        EXPECT_FALSE(enabledInside);
        EXPECT_FALSE(autosaveInEditor);
        EXPECT_EQ(form.TimerAutosave->Enabled(), on == 1);
        ASSERT_FALSE(signFiles.empty());
        EXPECT_EQ(signFiles.back(), SignFileName(500, 0, sign) + QStringLiteral(" 500 0"));
        EXPECT_TRUE(signFiles.back().contains(QStringLiteral("Условные знаки/500/Точечные/")));
    }
}

TEST_F(ObjectWindowsRun, AnEditedPointReachesTheJournalAndThePlanFile)
{
    int page = 0, layer = 0, index = 0;
    TModalScript script;
    script.Then("TFormPointProp", [](QWidget* w) {
        TypeInto(w, "neY", QStringLiteral("34.5"));
        Press(w, "sbCapLineOn");
        SaveGrab(*w, QStringLiteral("main-point-window"));
        Press(w, "BitBtn1");
    });
    EXPECT_EQ(PointPropDlg(page, layer, index, false), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(CommandLog->last(),
              Decimal("mcSetPointProp=<0><0><0><ТОЧ/Ф001><10,00><34,50><2><0,00><><0><1>"));
    Run.SaveAsName = Run.Folder() + QStringLiteral("точки.500");
    ASSERT_TRUE(Run.Form().SaveAs());
    QFile file(Run.SaveAsName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString plan = DecodeCodePage(file.readAll());
    EXPECT_TRUE(plan.contains(QStringLiteral("$") + XYtoString2(10, 34.5L))) << plan.toStdString();
}

TEST_F(ObjectWindowsRun, ATextMovedToAnotherLayerIsChangedThere)
{
    int page = 0, layer = 0, index = 0;
    TModalScript script;
    script.Then("TFormTextProp", [](QWidget* w) { Press(w, "sbChangePageLayer"); })
        .Then("TFormChangePageLayer", [](QWidget* w) {
            auto* layers = w->findChild<QComboBox*>(QStringLiteral("cbLayer"));
            layers->setCurrentIndex(1);
            SaveGrab(*w, QStringLiteral("main-move-window"));
            Press(w, "BitBtn1");
        })
        .Then("TFormTextProp", [](QWidget* w) {
            EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("LLayer"))->text(), QStringLiteral("Надписи"));
            TypeInto(w, "eText", QStringLiteral("р. Чёрная"));
            SaveGrab(*w, QStringLiteral("main-text-window"));
            Press(w, "BitBtn1");
        });
    EXPECT_EQ(TextPropDlg(page, layer, index, false), mrOk);
    EXPECT_TRUE(script.Done());
    const QStringList last = CommandLog->mid(CommandLog->size() - 3);
    ASSERT_EQ(last.size(), 3);
    EXPECT_TRUE(last[0].startsWith(Decimal("mcNewText=<0><1><Река><1,00><2,00><0>"))) << last[0].toStdString();
    EXPECT_EQ(last[1], QStringLiteral("mcDelText=<0><0><0>"));
    EXPECT_TRUE(last[2].startsWith(Decimal("mcSetTextProp=<0><1><0><р. Чёрная><1,00><2,00><0><1,00><*ОСНОВНОЙ><0><")))
        << last[2].toStdString();
    EXPECT_EQ(layer, 1);
    EXPECT_EQ(MainMap->GetTextsCount(0, 0), 0);
    EXPECT_EQ(MainMap->Pages.At(0)->Layers.At(1)->Texts.At(0)->Text, QStringLiteral("р. Чёрная"));
}
