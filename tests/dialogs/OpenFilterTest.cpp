// The open filter's window: what it shows of the filter, what it stores back whatever
// the result, and the classifier choice that fills the edit only.
#include "DialogsTestSupport.h"

#include "dialogs/file/UnitOpenFilter.h"
#include "engine/GeoMap.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

// The window's boxes as ticks, in the order replace point, line, polygon, then load
// rasters, texts, points, lines, polygons.
QString Ticks(QWidget* w)
{
    QString ticks;
    for (const char* name : {"cbRepPoint", "cbRepLine", "cbRepPolygon", "cbLoadRastrs", "cbLoadTexts",
                             "cbLoadPoints", "cbLoadLines", "cbLoadPolygons"})
        ticks += Control<QCheckBox>(w, name)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return ticks;
}

QString Ticks(const TOpenFilter& f)
{
    QString ticks;
    for (std::uint8_t v : {f.ReplacePoint, f.ReplaceLine, f.ReplacePolygon, f.LoadRastrs, f.LoadTexts,
                           f.LoadPoints, f.LoadLines, f.LoadPolygons})
        ticks += QString::number(v);
    return ticks;
}

TModalResult ShowFilter(TOpenFilter& filter)
{
    return ProgramDialogHooks().OpenFilter(filter);
}

}  // namespace

TEST_F(ProgramWindows, OpenFilterShowsTheFilter)
{
    struct Case {
        const char* Name;
        std::function<void(TOpenFilter&)> Set;
        const char* Shown;
    };
    const Case cases[] = {
        {"after a reset", [](TOpenFilter& f) { ResetOpenFilter(f); }, "00011111"},
        {"only the polygon flag",
         [](TOpenFilter& f) {
             ResetOpenFilter(f);
             f.ReplacePolygon = 1;
             f.PolygonSemantics = QStringLiteral("ПОЛ/Ф030");
         },
         "00111111"},
        // 1 is ticked and any other value is not.
        {"other values", [](TOpenFilter& f) { f = TOpenFilter(); f.ReplacePoint = 2; f.LoadLines = 0; },
         "00011101"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TOpenFilter filter;
        filter.ReplaceLine = 1;
        filter.LineSemantics = QStringLiteral("ЛИН");
        filter.LoadTexts = 0;
        c.Set(filter);
        const TOpenFilter shown = filter;
        TModalScript script;
        script.Then("TFormOpenFilter", [&c, &shown](QWidget* w) {
            EXPECT_EQ(Ticks(w), QString::fromUtf8(c.Shown));
            EXPECT_EQ(Control<QLineEdit>(w, "edRepPoint")->text(), shown.PointSemantics);
            EXPECT_EQ(Control<QLineEdit>(w, "edRepLine")->text(), shown.LineSemantics);
            EXPECT_EQ(Control<QLineEdit>(w, "edRepPolygon")->text(), shown.PolygonSemantics);
            Enter(w);
        });
        EXPECT_EQ(ShowFilter(filter), mrOk);
    }
}

TEST_F(ProgramWindows, OpenFilterStoresWhateverTheResult)
{
    const std::pair<TModalScript::TStep, TModalResult> closes[] = {
        {[](QWidget* w) { Click(w, "BitBtn2"); }, mrCancel},   // "Отмена"
        {Esc, mrCancel},
        {[](QWidget* w) { Click(w, "BitBtn1"); }, mrOk},
        // Enter is "Готово" even on a "выбрать" button.
        {[](QWidget* w) {
             Control(w, "Button2")->setFocus();
             Enter(w);
         },
         mrOk},
    };
    for (const auto& [close, expected] : closes) {
        TOpenFilter filter;
        ResetOpenFilter(filter);
        TModalScript script;
        script.Then("TFormOpenFilter", [close](QWidget* w) {
            Click(w, "cbRepLine");
            TypeInto(w, "edRepLine", QStringLiteral("ЛИН/Ф010"));
            Click(w, "cbLoadPoints");
            Click(w, "cbLoadRastrs");
            close(w);
        });
        EXPECT_EQ(ShowFilter(filter), expected);
        EXPECT_EQ(Ticks(filter), QStringLiteral("01001011"));
        EXPECT_EQ(filter.LineSemantics, QStringLiteral("ЛИН/Ф010"));
        EXPECT_TRUE(filter.PointSemantics.isEmpty());
    }
}

TEST_F(ProgramWindows, OpenFilterChooseFillsTheEditOnly)
{
    struct Call {
        int Mode, Kind;
    };
    std::vector<Call> calls;
    TSemDialogHooks sem;
    sem.SemDlg = [&calls](int smode, int& lmode, QString& Sem) {
        calls.push_back({smode, lmode});
        EXPECT_TRUE(Sem.isEmpty());
        // The line is chosen; the polygon's choice is cancelled after the window changed
        // the string, which the classifier entry does not hand back.
        Sem = lmode == 1 ? QStringLiteral("ЛИН/Ф011") : QStringLiteral("ПОЛ/Ф030");
        return lmode == 1 ? mrOk : mrCancel;
    };
    TScopedSemDialogHooks semScope(sem);
    TOpenFilter filter;
    TModalScript script;
    script.Then("TFormOpenFilter", [](QWidget* w) {
        Click(w, "Button2");
        EXPECT_EQ(Control<QLineEdit>(w, "edRepLine")->text(), QStringLiteral("ЛИН/Ф011"));
        EXPECT_FALSE(Control<QCheckBox>(w, "cbRepLine")->isChecked());
        Click(w, "Button3");
        SaveWindowPicture(w, QStringLiteral("open-filter"));
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(ShowFilter(filter), mrOk);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Mode, 0);
    EXPECT_EQ(calls[0].Kind, 1);
    EXPECT_EQ(calls[1].Kind, 2);
    EXPECT_EQ(filter.ReplaceLine, 0);
    EXPECT_EQ(filter.LineSemantics, QStringLiteral("ЛИН/Ф011"));
    // The edit takes what the classifier returns whatever its result: after a cancel, the
    // empty string it was given.
    EXPECT_TRUE(filter.PolygonSemantics.isEmpty());
}

TEST(OpenFilterWithoutMainPlan, AnswersCancel)
{
    TScopedProgramDialogHooks none;
    TGeoMap* saved = MainMap;
    MainMap = nullptr;
    EXPECT_EQ(OpenFilterDlg(), mrCancel);
    ResetOpenFilter();   // nothing to reset, nothing raised
    MainMap = saved;
}
