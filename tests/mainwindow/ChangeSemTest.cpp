// "Замена семантики объектов" on the main window's plan: the sheets and layers it lists,
// the classifier it opens for both texts, and the mcChangeSem commands it gives.
#include "MainWindowFixture.h"

#include "controls/TextListBox.h"
#include "editors/EditorDialogs.h"
#include "editors/classifier/SemSmallDialogs.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

class ChangeSem : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        EditorDialogHooks().ChangeSemDlg = &TFormChangeSem::Execute;
        for (const char* command : {"mcNewPage=<A>", "mcNewLayer=<0><a>", "mcNewLayer=<0><b>",
                                    "mcNewPage=<B>", "mcNewLayer=<1><c>", "mcNewLayer=<1><d>"})
            MainMap->StrToComm(QString::fromUtf8(command));
        Before = int(CommandLog->size());
    }

    // ChangeSemDlg with the window's steps given by act (which must close it); the
    // journal lines it added.
    QStringList Change(const std::function<void(TFormChangeSem*)>& act, int expected = mrOk)
    {
        TModalScript script;
        script.Then("TFormChangeSem", [act](QWidget* w) { act(static_cast<TFormChangeSem*>(w)); });
        EXPECT_EQ(ChangeSemDlg(), expected);
        return CommandLog->mid(Before);
    }

    TMainWindowRun Run;
    TScopedEditorDialogHooks Hooks;
    int Before = 0;
};

void Texts(TFormChangeSem* w, const QString& old, const QString& fresh)
{
    w->eOld->setText(old);
    w->eNew->setText(fresh);
}

TEST_F(ChangeSem, SelectedSheetsGiveOneCommandEachForTheKindChecked)
{
    const QStringList lines = Change([](TFormChangeSem* w) {
        EXPECT_EQ(w->lbPages->count(), 2);
        EXPECT_TRUE(w->chPoints->isChecked());
        w->lbPages->item(0)->setSelected(true);
        w->lbPages->item(1)->setSelected(true);
        QTest::mouseClick(w->chLines, Qt::LeftButton);
        Texts(w, QStringLiteral("ОГР/Ф001"), QStringLiteral("ОГР/Ф002"));
        QApplication::processEvents();
        const QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
        if (!dir.isEmpty())
            w->grab().save(dir + QStringLiteral("/change-semantics.png"));
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(lines, (QStringList{QStringLiteral("mcChangeSem=<0><-1><0><1><0><ОГР/Ф001><ОГР/Ф002>"),
                                  QStringLiteral("mcChangeSem=<1><-1><0><1><0><ОГР/Ф001><ОГР/Ф002>")}));
}

TEST_F(ChangeSem, LayerPageUsesTheChosenSheetAndLayerIndexes)
{
    const QStringList lines = Change([](TFormChangeSem* w) {
        w->PageControl1->setCurrentWidget(w->tsLayers);
        EXPECT_EQ(w->cbPages->count(), 2);
        EXPECT_EQ(w->lbLayers->count(), 0);
        w->cbPages->setCurrentIndex(1);
        ASSERT_EQ(w->lbLayers->count(), 2);
        w->lbLayers->item(1)->setSelected(true);
        QTest::mouseClick(w->chPolygons, Qt::LeftButton);
        Texts(w, QStringLiteral("ОТА"), QString());
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(lines, QStringList{QStringLiteral("mcChangeSem=<1><1><0><0><1><ОТА><>")});
}

TEST_F(ChangeSem, NoSelectionOrNoOkGivesNoCommand)
{
    struct Case {
        const char* name;
        std::function<void(TFormChangeSem*)> act;
        int result;
    };
    const Case cases[] = {
        {"OK without a line", [](TFormChangeSem* w) { QTest::mouseClick(w->BitBtn1, Qt::LeftButton); }, mrOk},
        {"close box", [](TFormChangeSem* w) {
             w->lbPages->item(0)->setSelected(true);
             CloseBox(w);
         }, mrCancel},
        {"Esc", [](TFormChangeSem* w) {
             w->lbPages->item(1)->setSelected(true);
             Esc(w);
         }, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Change([&](TFormChangeSem* w) {
                        Texts(w, QStringLiteral("ОГР"), QStringLiteral("ЗАБ"));
                        c.act(w);
                    }, c.result).isEmpty());
    }
}

TEST_F(ChangeSem, TextThatCannotStandInACommandKeepsTheWindowOpen)
{
    std::vector<QString> messages;
    DialogHooks().ShowMsg = [&](const QString&, const QString& text) {
        messages.push_back(text);
        return mrOk;
    };
    const QStringList lines = Change([&](TFormChangeSem* w) {
        w->lbPages->item(0)->setSelected(true);
        Texts(w, QStringLiteral("ОГР"), QStringLiteral("<ЗАБ>"));
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(messages.size(), 1u);
        w->eNew->setText(QStringLiteral("ЗАБ"));
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(lines, QStringList{QStringLiteral("mcChangeSem=<0><-1><1><0><0><ОГР><ЗАБ>")});
}

TEST_F(ChangeSem, ClassifierButtonsFillTheTextsFromWorkSelection)
{
    std::vector<int> kinds;
    SemDialogHooks().SemDlg = [&](int smode, int& lmode, QString& sem) {
        EXPECT_EQ(smode, 1);
        kinds.push_back(lmode);
        if (sem.isEmpty()) {
            sem = QStringLiteral("ОГР/Ф001;К001");
            return mrOk;
        }
        return mrCancel;
    };
    Change([](TFormChangeSem* w) {
        QTest::mouseClick(w->chLines, Qt::LeftButton);
        QTest::mouseClick(w->bt1, Qt::LeftButton);
        EXPECT_EQ(w->eOld->text(), QStringLiteral("ОГР/Ф001;К001"));
        EXPECT_FALSE(w->Memo1->toPlainText().isEmpty());
        // Cancelled: the text stays and is decoded again.
        QTest::mouseClick(w->bt1, Qt::LeftButton);
        EXPECT_EQ(w->eOld->text(), QStringLiteral("ОГР/Ф001;К001"));
        // An empty text empties its memo.
        w->Memo2->setPlainText(QStringLiteral("старое"));
        w->eNew->setText(QStringLiteral("x"));
        w->eNew->clear();
        SemDialogHooks().SemDlg = [](int, int&, QString&) { return mrCancel; };
        QTest::mouseClick(w->bt2, Qt::LeftButton);
        EXPECT_TRUE(w->Memo2->toPlainText().isEmpty());
        Esc(w);
    }, mrCancel);
    EXPECT_EQ(kinds, (std::vector<int>{lmLine, lmLine}));
}

}  // namespace
