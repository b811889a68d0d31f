// A cancelled layer question creates nothing, whichever way the object was being made:
// by the mouse, from a coordinate table, by tacheometry, as a traverse point, or as the
// coordinate labels of a stamp. The journal is the oracle: not a line more.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/objects/UnitCreateCoordObj.h"
#include "semantics/codec/SemDialogs.h"
#include "survey/tacheo/TaheoCreate.h"
#include "survey/traverse/TraversePlan.h"
#include "support/TestHelpers.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Guards the rule that an empty layer name creates nothing, which a cancelled layer
// question once broke by placing the object into a layer without a name.
TEST(CancelledLayer, NoCallerCreatesAnythingWhenTheLayerQuestionIsCancelled)
{
    TMainWindowRun run(MessagesKept());
    run.Start();
    TFormMap& form = run.Form();
    TSeparatorScope separator{u'.'};
    // No layer rule knows this code: the engine asks for the layer.
    const QString sem = QStringLiteral("ЖЖЖ");
    TSemDialogHooks classifier;
    classifier.SemDlg = [&](int, int&, QString& chosen) {
        chosen = sem;
        return mrOk;
    };
    const TScopedSemDialogHooks classifierScope(classifier);
    struct Case {
        const char* name;
        std::function<void()> make;
        bool asks;   // the stamp's labels go to the caption layer by name, unasked
    };
    const Case cases[] = {
        {"mouse",
         [&] {
             form.PointCode = sem;
             form.SetMouseMode(mmCreatePoint, 0, true);
             ExactView(form);
             TSurfaceDriver(form).Click(300, 400);
         },
         true},
        {"coordinate table",
         [&] {
             TFormCreateCoordObj window(&form);
             window.sbPoint->SetDown(true);
             window.PageControl1->setCurrentWidget(window.TabSheet1);
             window.StringGrid1->setItem(0, 0, new QTableWidgetItem(QStringLiteral("1")));
             window.StringGrid1->setItem(0, 1, new QTableWidgetItem(QStringLiteral("100")));
             window.StringGrid1->setItem(0, 2, new QTableWidgetItem(QStringLiteral("200")));
             QTest::mouseClick(window.ButtonOk, Qt::LeftButton);
         },
         true},
        {"tacheometry",
         [&] {
             TaheoSemantics = sem;
             EXPECT_NE(CreateTaheoPoint(100, 200), tcCreated);
         },
         true},
        {"traverse point",
         [&] { EXPECT_NE(CreateTraversePlanPoint(sem + QStringLiteral(";1"), 100, 200), tcCreated); },
         true},
        {"stamp coordinate labels",
         [&] {
             MainMap->CaptionLayerName.clear();
             form.Points.Up.Plan = TGeoPoint(100, 200);
             form.CreateCoordLabels();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.DestAutoPage = 0;
        form.DestPageName = QStringLiteral("Лист");
        form.DestAutoLayer = 1;
        int asked = 0;
        TDialogHooks hooks = DialogHooks();
        hooks.SelStr = [&](const QStringList&, TSelection& selection, const QString&, const QString&) {
            ++asked;
            selection.Index = -1;
            return mrCancel;
        };
        const TScopedDialogHooks scope(hooks);
        const QStringList journal = *CommandLog;
        const int pages = MainMap->GetPagesCount();
        const auto modified = MainMap->Modified;
        c.make();
        EXPECT_EQ(asked, c.asks ? 1 : 0);
        EXPECT_EQ(*CommandLog, journal);
        EXPECT_EQ(MainMap->GetPagesCount(), pages);
        EXPECT_EQ(MainMap->Modified, modified);
    }
}

}  // namespace
