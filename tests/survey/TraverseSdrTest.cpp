// The traverse built from an SDR file with scripted answers in the three small windows:
// the names, left angles and mean distances written into the table, the station window's
// own arithmetic, and the picks and answers that stop the fill. Setting
// VELMORA_REVIEW_DIR writes the three windows there as PNGs.
#include "SurveyTestSupport.h"
#include "mainwindow/file/FileDialogs.h"
#include "support/ModalScript.h"
#include "survey/UnitTheodolit.h"
#include "survey/traverse/TheoDialogs.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

QString Fixture(const char* name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES "/survey/") + QString::fromUtf8(name);
}

void Press(QWidget* w, const char* name)
{
    auto* b = w->findChild<QPushButton*>(QLatin1String(name));
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

// The closure type chosen and confirmed.
TModalScript::TStep ChooseType(int type)
{
    return [type](QWidget* w) {
        auto* form = qobject_cast<TFormSelectTheoTypeDialog*>(w);
        QRadioButton* const radios[] = {form->RadioButton1, form->RadioButton2, form->RadioButton3};
        radios[type - 1]->setChecked(true);
        Review(*w, "traverse-type.png");
        Press(w, "BitBtn1");
    };
}

// The points picked from the list when offered there, else typed into the edit.
TModalScript::TStep Pick(QStringList names, QStringList* offered = nullptr)
{
    return [names, offered](QWidget* w) {
        auto* form = qobject_cast<TFormCollectSLFromSLDialog*>(w);
        if (offered)
            for (int i = 0; i < form->ListBox1->count(); ++i)
                *offered << form->ListBox1->item(i)->text();
        for (const QString& name : names) {
            const QList<QListWidgetItem*> found = form->ListBox1->findItems(name, Qt::MatchExactly);
            if (found.isEmpty()) {
                form->Edit1->setText(name);
                form->BitBtn3Click();
            } else {
                form->ListBox1->setCurrentItem(found.first());
                form->BitBtn2Click();
            }
        }
        Review(*w, "traverse-pick.png");
        Press(w, "BitBtn1");
    };
}

// Station station of the file, observation prev to the previous point and next (or -1)
// to the next one.
TModalScript::TStep Station(int station, int prev, int next, const char* review = nullptr)
{
    return [=](QWidget* w) {
        auto* form = qobject_cast<TFormTheoStantionDialog*>(w);
        form->TextListBox1->setCurrentRow(station);
        form->TextListBox1Click();
        form->TextListBox2->setCurrentRow(prev);
        form->BitBtn2Click();
        if (next >= 0) {
            form->TextListBox2->setCurrentRow(next);
            form->BitBtn3Click();
        }
        if (review)
            Review(*w, review);
        Press(w, "BitBtn1");
    };
}

class TraverseSdrRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        SavedFiles = FileDialogHooks();
        FileDialogHooks().OpenFileName = [this](const QString& title, const QString& filter, QString& name) {
            Titles << title + "|" + filter;
            name = FileName;
            return !FileName.isEmpty();
        };
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Shown << caption + "|" + text;
            return mrOk;
        };
        hooks.MessageDlg = [this](const QString& text, TMsgDlgType) {
            Shown << text;
            return mrOk;
        };
        Scope = std::make_unique<TScopedDialogHooks>(hooks);
    }
    void TearDown() override { FileDialogHooks() = SavedFiles; }

    QString FileName = Fixture("traverse.sdr");
    QStringList Titles, Shown;
    TFileDialogHooks SavedFiles;
    std::unique_ptr<TScopedDialogHooks> Scope;
};

QStringList Cells(const TTraverseTable& t, int row, std::initializer_list<int> cols)
{
    QStringList out;
    for (const int c : cols)
        out << t.Cell(row, c);
    return out;
}

} // namespace

TEST_F(TraverseSdrRun, ClosedTraverseIsFilledAndComputesAsTypedByHand)
{
    TFormTheodolit form;
    QStringList offered;
    TModalScript script;
    script.Then("TFormSelectTheoTypeDialog", ChooseType(1))
        .Then("TFormCollectSLFromSLDialog", Pick({"A", "B", "P1", "P2", "C", "D"}, &offered))
        .Then("TFormTheoStantionDialog", Station(0, 0, 1, "traverse-station.png"))
        .Then("TFormTheoStantionDialog", Station(1, 0, 1))
        .Then("TFormTheoStantionDialog", Station(2, 0, 1))
        .Then("TFormTheoStantionDialog", Station(3, 0, 1));
    form.ExSpeedButton1Click();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join("\n").toStdString();
    EXPECT_EQ(Titles.value(0), QStringLiteral("Открыть файл|Рез.изм.Sokkia 610 (sdr) (*.sdr)"));
    EXPECT_EQ(offered, QStringList({"B", "P1", "P2", "C", "A", "D"}));

    const TTraverseTable& t = form.Table;
    EXPECT_EQ(form.PointsCount->value(), 2);
    ASSERT_EQ(t.RowCount(), 13);
    EXPECT_EQ(Cells(t, 1, {0}) + Cells(t, 3, {0}) + Cells(t, 5, {0}) + Cells(t, 7, {0}) +
                  Cells(t, 9, {0}) + Cells(t, 11, {0}),
              QStringList({"A", "B", "P1", "P2", "C", "D"}));
    EXPECT_EQ(Cells(t, 3, {1, 2, 3}), QStringList({"+38", "28", "28"}));
    EXPECT_EQ(Cells(t, 5, {1, 2, 3}), QStringList({"+219", "4", "0"}));
    EXPECT_EQ(Cells(t, 7, {1, 2, 3}), QStringList({"+131", "31", "24"}));
    EXPECT_EQ(Cells(t, 9, {1, 2, 3}), QStringList({"+158", "5", "47"}));   // 350° back, 148° on
    EXPECT_EQ(t.Cell(4, 8), QStringLiteral("242.731"));   // the back sight at a zenith of 92°
    EXPECT_EQ(t.Cell(6, 8), QStringLiteral("247.828"));   // 247.830 and 247.826
    EXPECT_EQ(t.Cell(8, 8), QStringLiteral("238.369"));
    for (const int r : {2, 10, 11})
        EXPECT_EQ(t.Cell(r, 8), QString()) << r;
    for (const int c : {4, 5, 6, 7})
        EXPECT_EQ(t.Cell(4, c), QString()) << c;

    // With the source coordinates, "Расчет" gives what the field book typed by hand gives.
    TTraverseTable hand(2);
    struct RTyped { int r, c; const char* text; };
    const RTyped sources[] = {
        {1, 22, "6100500.000"}, {1, 23, "4300200.000"}, {3, 22, "6100000.000"}, {3, 23, "4300000.000"},
        {9, 22, "6100230.560"}, {9, 23, "4300640.210"}, {11, 22, "6100700.000"}, {11, 23, "4300900.000"}};
    const RTyped book[] = {
        {1, 0, "A"}, {3, 0, "B"}, {3, 1, "+38"}, {3, 2, "28"}, {3, 3, "28"}, {4, 8, "242.731"},
        {5, 0, "P1"}, {5, 1, "-140"}, {5, 2, "56"}, {5, 3, "00"}, {6, 8, "247.828"},
        {7, 0, "P2"}, {7, 1, "+131"}, {7, 2, "31"}, {7, 3, "24"}, {8, 8, "238.369"},
        {9, 0, "C"}, {9, 1, "+158"}, {9, 2, "05"}, {9, 3, "47"}, {11, 0, "D"}};
    for (const RTyped& s : sources) {
        hand.SetCell(s.r, s.c, QString::fromUtf8(s.text));
        form.Table.SetCell(s.r, s.c, QString::fromUtf8(s.text));
    }
    for (const RTyped& s : book)
        hand.SetCell(s.r, s.c, QString::fromUtf8(s.text));
    ASSERT_TRUE(hand.ComputeTraverse());
    ASSERT_TRUE(form.Table.ComputeTraverse());
    for (const int r : {5, 7})
        EXPECT_EQ(Cells(form.Table, r, {22, 23}), Cells(hand, r, {22, 23})) << r;
    EXPECT_FALSE(hand.Cell(5, 22).isEmpty());
}

TEST_F(TraverseSdrRun, OpenTraverseAsksTheLastStationSingle)
{
    TFormTheodolit form;
    bool singleShown = false;
    TModalScript script;
    script.Then("TFormSelectTheoTypeDialog", ChooseType(3))
        .Then("TFormCollectSLFromSLDialog", Pick({"A", "B", "P1", "P2"}))
        .Then("TFormTheoStantionDialog", Station(0, 0, 1))
        .Then("TFormTheoStantionDialog", Station(1, 0, 1))
        .Then("TFormTheoStantionDialog", [&](QWidget* w) {
            auto* station = qobject_cast<TFormTheoStantionDialog*>(w);
            singleShown = station->BitBtn2->text() == QStringLiteral("Добавить") &&
                          station->BitBtn3->isHidden() && station->neAngle->isHidden();
            Station(2, 0, -1, "traverse-station-single.png")(w);
        });
    form.ExSpeedButton1Click();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(singleShown);
    EXPECT_TRUE(form.RadioButton3->isChecked());
    EXPECT_EQ(form.PointsCount->value(), 2);
    EXPECT_EQ(Cells(form.Table, 3, {1, 2, 3}), QStringList({"+38", "28", "28"}));
    EXPECT_EQ(Cells(form.Table, 5, {1, 2, 3}), QStringList({"+219", "4", "0"}));
    EXPECT_EQ(Cells(form.Table, 7, {1}), QStringList({""}));
    EXPECT_EQ(form.Table.Cell(4, 8), QStringLiteral("242.731"));
    EXPECT_EQ(form.Table.Cell(6, 8), QStringLiteral("247.828"));
}

TEST_F(TraverseSdrRun, CancelsAndShortPicksStopTheFill)
{
    {   // the type window cancelled: the type it showed is set, nothing else
        TFormTheodolit form;
        form.Table.SetCell(1, 0, QStringLiteral("keep"));
        TModalScript script;
        script.Then("TFormSelectTheoTypeDialog", [](QWidget* w) {
            qobject_cast<TFormSelectTheoTypeDialog*>(w)->RadioButton2->setChecked(true);
            Esc(w);
        });
        form.ExSpeedButton1Click();
        EXPECT_TRUE(script.Done());
        EXPECT_TRUE(form.RadioButton2->isChecked());
        EXPECT_EQ(form.Table.Cell(1, 0), QStringLiteral("keep"));
    }
    {   // too few points for the type
        TFormTheodolit form;
        TModalScript script;
        script.Then("TFormSelectTheoTypeDialog", ChooseType(1))
            .Then("TFormCollectSLFromSLDialog", Pick({"A", "B", "P1", "C"}));
        form.ExSpeedButton1Click();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(Shown, QStringList({"Проверьте таблицу!|Для этого типа хода нужно выбрать не менее 5 точек"}));
        EXPECT_EQ(form.Table.Cell(1, 0), QString());
        EXPECT_EQ(form.PointsCount->value(), 4);
    }
    {   // the second station cancelled: what the first gave stays
        Shown.clear();
        TFormTheodolit form;
        TModalScript script;
        script.Then("TFormSelectTheoTypeDialog", ChooseType(2))
            .Then("TFormCollectSLFromSLDialog", Pick({"A", "B", "P1", "P2", "C"}))
            .Then("TFormTheoStantionDialog", Station(0, 0, 1))
            .Then("TFormTheoStantionDialog", [](QWidget* w) { Esc(w); });
        form.ExSpeedButton1Click();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(Cells(form.Table, 3, {1, 2, 3}), QStringList({"+38", "28", "28"}));
        EXPECT_EQ(form.Table.Cell(4, 8), QString());
        EXPECT_EQ(form.Table.Cell(9, 0), QStringLiteral("C"));
        EXPECT_TRUE(Shown.isEmpty());
    }
    {   // a file the reader refuses
        Shown.clear();
        FileName = Fixture("missing.sdr");
        TFormTheodolit form;
        form.ExSpeedButton1Click();
        ASSERT_EQ(Shown.size(), 1);
        EXPECT_TRUE(Shown[0].contains(QStringLiteral("missing.sdr")));
    }
}

TEST_F(TraverseSdrRun, StationWindowTakesObservations)
{
    auto sdr = [](const char* target, const char* s, const char* v, const char* h) {
        return QStringLiteral("09F1%1%2%3%4%5")
            .arg(QStringLiteral("S").leftJustified(16), QString::fromUtf8(target).leftJustified(16),
                 QString::fromUtf8(s).leftJustified(16), QString::fromUtf8(v).leftJustified(16),
                 QString::fromUtf8(h).leftJustified(16));
    };
    const QStringList lines = {QStringLiteral("02TPS               0.000"),
                               sdr("X", "100.000", "92.0000", "10.0"),
                               sdr("Y", "50.123456", "90", "280.5"),
                               sdr("Z", "12.5", "90", "350"),
                               sdr("W", "12.5", "9O", "20"),   // a letter O in the zenith angle
                               sdr("V", "12.5", "90", "20")};
    const TTotalStationFile file(lines, TTotalStationFormat::Sdr);
    TFormTheoStantionDialog form(file, QStringLiteral("A"), QStringLiteral("S"), QStringLiteral("B"), false);
    EXPECT_EQ(form.Memo1->Lines().value(2),
              QStringLiteral("3.Из раздела \"Измерения\" выберете следующую точку и нажмите \"Добавить следующую\""));
    form.TextListBox1->setCurrentRow(0);
    form.TextListBox1Click();
    EXPECT_EQ(Shown, QStringList({"Измерения не прочитаны (поле не является числом), строки файла: 5"}));
    ASSERT_EQ(form.TextListBox2->count(), 4);
    EXPECT_EQ(form.TextListBox2->item(0)->text(), QStringLiteral("X    (ГК=10°0'0\"  S=100.000)"));
    EXPECT_EQ(form.TextListBox2->item(1)->text(), QStringLiteral("Y    (ГК=280°30'0\"  S=50.123)"));

    // Nothing picked: "Готово" is refused, "Добавить" with no selection does nothing.
    Shown.clear();
    form.TextListBox2->setCurrentRow(-1);
    form.BitBtn2Click();
    form.BitBtn1Click();
    EXPECT_EQ(Shown, QStringList({"Не выбраны измерения!"}));
    EXPECT_EQ(form.result(), 0);

    struct RCase { int prev, next; const char* angle; };
    for (const RCase& k : {RCase{0, 1, "270.50000"}, RCase{2, 3, "30.00000"}}) {
        form.TextListBox2->setCurrentRow(k.prev);
        form.BitBtn2Click();
        form.TextListBox2->setCurrentRow(k.next);
        form.BitBtn3Click();
        EXPECT_EQ(form.neAngle->text(), QString::fromUtf8(k.angle));
    }
    // The zenith angle of 92° is an elevation of −2°: S × cos 2°.
    form.TextListBox2->setCurrentRow(0);
    form.BitBtn2Click();
    EXPECT_EQ(form.Fields[0][1]->text(), QStringLiteral("-2.00000"));
    EXPECT_EQ(form.Fields[0][3]->text(), QStringLiteral("99.939"));
    const RTheoStationAnswer a = form.Answer();
    EXPECT_DOUBLE_EQ(double(a.PrevElevation), -2.0);
    EXPECT_DOUBLE_EQ(double(a.Angle), 10.0);   // 20° on, 10° back
}

TEST_F(TraverseSdrRun, PickWindowKeepsOrderDuplicatesAndTypedNames)
{
    QStringList result = {"old"};
    TModalScript script;
    script.Then("TFormCollectSLFromSLDialog", [](QWidget* w) {
        auto* form = qobject_cast<TFormCollectSLFromSLDialog*>(w);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Заголовок"));
        EXPECT_EQ(form->Memo1->Lines(), QStringList({"первая", "вторая"}));
        form->BitBtn2Click();   // nothing selected: nothing added
        form->ListBox1->setCurrentRow(1);
        form->BitBtn2Click();
        form->SpeedButton1Click();
        EXPECT_EQ(form->ListBox2->count(), 0);
        for (const int row : {1, 0, 1}) {
            form->ListBox1->setCurrentRow(row);
            form->BitBtn2Click();
        }
        form->Edit1->setText(QStringLiteral(" Т 5"));
        form->BitBtn3Click();
        Esc(w);
    });
    EXPECT_EQ(CollectSLFromSLDlg({"B", "P1"}, result, QStringLiteral("Заголовок"),
                                 QStringLiteral("первая\rвторая")),
              mrCancel);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(result, QStringList({"P1", "B", "P1", " Т 5"}));   // kept whatever the answer
}
