// The caption rule window "Создавать надпись из семантики" as a user drives it over a copy
// of the reference data: the kinds and their value lists, the value each choice writes,
// the validation, "+", the special functions, the style chosen and cancelled, the offsets
// shown rounded. Setting VELMORA_REVIEW_DIR writes the window there as a PNG.
#include "controls/FontComboBox.h"
#include "editors/signs/UnitSelectTextStyle.h"
#include "editors/signs/UnitTextFromSem.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/MapHooks.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

int KindOf(const QString& caption)
{
    for (int i = 0; i < 27; ++i)
        if (caption == QString::fromUtf16(CaptionKinds[i].Caption))
            return i;
    ADD_FAILURE() << "no kind " << caption.toStdString();
    return 0;
}

class TextFromSem : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Longer lists than the reference data ships, so that the fourth height and the
        // thirteenth material can be chosen.
        WriteTextFileLines(List(QStringLiteral("ГВ")),
                           {QString(), QStringLiteral("высота над землей"), QStringLiteral("высота над водой"),
                            QStringLiteral("высота над дном"), QStringLiteral("высота над уровнем")});
        QStringList materials = ReadTextFileLines(List(QStringLiteral("М")));
        for (int i = int(materials.size()); i < 14; ++i)
            materials << QStringLiteral("материал %1").arg(i);
        WriteTextFileLines(List(QStringLiteral("М")), materials);

        Symbols.SetScale(500, 92.89L);
        Symbols.LoadTextStyles(500);
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Said << caption + u'|' + text;
            return mrOk;
        };
        Dialogs = std::make_unique<TScopedDialogHooks>(hooks);
    }

    QString List(const QString& code) const { return Run.Folder() + QStringLiteral("Семантика/") + code + QStringLiteral(".wri"); }

    int Dlg(RSemText& rule, const std::function<void(TFormTextFromSem*)>& act)
    {
        TModalScript script;
        script.Then("TFormTextFromSem", [act](QWidget* w) { act(static_cast<TFormTextFromSem*>(w)); });
        return TextFromSemDlg(&rule, Symbols);
    }

    TTestRun Run{{QStringLiteral("Семантика"), QStringLiteral("Шрифты")}};
    TSymbols Symbols;
    QStringList Said;
    std::unique_ptr<TScopedDialogHooks> Dialogs;
};

TEST_F(TextFromSem, OpensWithTheRulesKindAndValue)
{
    RSemText rule;
    rule.TextStart = QStringLiteral("h=");
    rule.PropKey = QStringLiteral("ГВ");
    rule.PropCode = QStringLiteral("03");
    rule.TextEnd = QStringLiteral("м");
    rule.StyleName = QStringLiteral(">ОСНОВНОЙ");
    rule.Mode = 1;
    const QStringList lines = ReadTextFileLines(List(QStringLiteral("ГВ")));
    EXPECT_EQ(Dlg(rule, [&](TFormTextFromSem* w) {
                  if (const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR"); !dir.isEmpty())
                      w->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/text-from-sem.png"));
                  EXPECT_EQ(w->windowTitle(), QStringLiteral("Создавать надпись из семантики"));
                  EXPECT_TRUE(w->KindButtons[KindOf(QStringLiteral("Высота"))]->isChecked());
                  QStringList shown;
                  for (int i = 0; i < w->dop->count(); ++i)
                      shown << w->dop->itemText(i);
                  EXPECT_EQ(shown, lines);
                  EXPECT_EQ(w->dop->currentIndex(), 3);
                  EXPECT_EQ(w->BeginText->text(), QStringLiteral("h="));
                  EXPECT_EQ(w->EndText->text(), QStringLiteral("м"));
                  EXPECT_TRUE(w->rbDist->isChecked());
                  EXPECT_EQ(w->LFont->text(), QStringLiteral("Образец шрифта 1234567890"));
                  EXPECT_EQ(w->LFont->font().family(), QStringLiteral("Liberation Sans"));
                  QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
              }),
              mrOk);
    EXPECT_EQ(rule.PropKey, QStringLiteral("ГВ"));
    EXPECT_EQ(rule.PropCode, QStringLiteral("03"));
    EXPECT_EQ(rule.Mode, 1);
    EXPECT_TRUE(Said.isEmpty());
}

// What each choice writes as the rule's kind and value.
TEST_F(TextFromSem, ValueWrittenForTheChoice)
{
    struct Case {
        QString storedKind, storedValue;
        QString chosenKind;   // empty: the kind the rule had
        int entry;            // -2: the entry the window opened with
        QString kind, value;
    };
    const Case cases[] = {
        {"ГВ", "03", "", -2, "ГВ", "03"},
        {"ГВ", "", "", -2, "ГВ", "00"},                  // entry 0 chosen for an empty value
        {"ГВ", "2.5", "", -2, "ГВ", "00"},               // no whole number: no entry chosen
        {"ГВ", "03", "Материал", 0, "М", "000"},
        {"ГВ", "03", "Материал", 7, "М", "007"},
        {"ГВ", "03", "Материал", 12, "М", "012"},
        {"М", "-1", "", -2, "М", "-1"},                  // any material stays any material
        {"ГГ", "-1", "", -2, "ГГ", "-1"},                // any depth likewise
        {"М", "-1", "", 3, "М", "003"},
        {"ГВ", "03", "Состояние", 5, "С", "05"},
        {"ГВ", "03", "Безусловно", -2, "В", "00"},
        {"Ф", "010", "", -2, "Ф", "010"},
        {"ГВ", "03", "Номер", 0, "ИН", "00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.storedKind + u' ' + c.storedValue + QStringLiteral(" → ") + c.chosenKind + u' ' +
                      QString::number(c.entry)).toStdString());
        RSemText rule;
        rule.PropKey = c.storedKind;
        rule.PropCode = c.storedValue;
        EXPECT_EQ(Dlg(rule, [&](TFormTextFromSem* w) {
                      if (!c.chosenKind.isEmpty())
                          w->KindButtons[KindOf(c.chosenKind)]->click();
                      if (c.entry != -2)
                          w->dop->setCurrentIndex(c.entry);
                      Enter(w);
                  }),
                  mrOk);
        EXPECT_EQ(rule.PropKey, c.kind);
        EXPECT_EQ(rule.PropCode, c.value);
    }
    EXPECT_TRUE(Said.isEmpty()) << Said.join(u'\n').toStdString();
}

TEST_F(TextFromSem, KindsFormOneGroupAndLoadTheirLists)
{
    RSemText rule;
    EXPECT_EQ(Dlg(rule, [](TFormTextFromSem* w) {
                  EXPECT_EQ(w->KindGroup->buttons().size(), 27);
                  EXPECT_EQ(w->KindGroup->checkedId(), -1);
                  w->KindButtons[KindOf(QStringLiteral("Состояние"))]->click();
                  EXPECT_EQ(w->dop->count(), 6);
                  w->KindButtons[KindOf(QStringLiteral("Ф"))]->click();
                  EXPECT_EQ(w->dop->count(), 0);
                  EXPECT_FALSE(w->KindButtons[KindOf(QStringLiteral("Состояние"))]->isChecked());
                  Esc(w);
              }),
              mrCancel);
}

// "Готово" without a kind, or with "Ф", "К", "Н" and no code, says so and stays open.
TEST_F(TextFromSem, UnfinishedRuleIsRefused)
{
    const QString said = QStringLiteral("Свойство семантики не выбрано|нажмите \"отмена\" для закрытия либо "
                                        "выберете свойство и нажмите \"Готово\"");
    RSemText rule;
    rule.PropKey = QStringLiteral("ЖЖ");   // a kind the window has no button for
    rule.PropCode = QStringLiteral("01");
    EXPECT_EQ(Dlg(rule, [this](TFormTextFromSem* w) {
                  EXPECT_EQ(w->KindGroup->checkedId(), -1);
                  Enter(w);
                  EXPECT_TRUE(w->isVisible());
                  EXPECT_EQ(Said.size(), 1);
                  w->KindButtons[KindOf(QStringLiteral("Ф"))]->click();
                  QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
                  EXPECT_TRUE(w->isVisible());
                  EXPECT_EQ(Said.size(), 2);
                  w->eFKN->setText(QStringLiteral("011"));
                  QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
              }),
              mrCancel);
    EXPECT_EQ(Said, QStringList({said, said}));
    EXPECT_EQ(rule.PropKey, QStringLiteral("ЖЖ"));
    EXPECT_EQ(rule.PropCode, QStringLiteral("01"));
}

TEST_F(TextFromSem, PlusAndSpecialFunctionsFillTheBeginning)
{
    QAction* answer = nullptr;
    TMapHooks saved = MapHooks();
    MapHooks().MenuExec = [&](QMenu&, QPoint) { return answer; };
    RSemText rule;
    rule.PropKey = QStringLiteral("Ф");
    rule.PropCode = QStringLiteral("010");
    EXPECT_EQ(Dlg(rule, [&](TFormTextFromSem* w) {
                  w->btAddName->click();   // "Ф" has no name
                  EXPECT_TRUE(w->BeginText->text().isEmpty());
                  w->KindButtons[KindOf(QStringLiteral("Имя собств."))]->click();
                  w->btAddName->click();
                  EXPECT_EQ(w->BeginText->text(), QStringLiteral("Имя"));
                  w->KindButtons[KindOf(QStringLiteral("Материал"))]->click();
                  w->btAddName->click();
                  EXPECT_EQ(w->BeginText->text(), QStringLiteral("Материал"));
                  answer = w->miLineSize;
                  w->SpeedButton1->click();
                  EXPECT_EQ(w->BeginText->text(), QStringLiteral("^LINESIZE"));
                  answer = nullptr;
                  w->SpeedButton1->click();
                  EXPECT_EQ(w->BeginText->text(), QStringLiteral("^LINESIZE"));
                  answer = w->miDirAngle;
                  w->SpeedButton1->click();
                  Enter(w);
              }),
              mrOk);
    MapHooks() = saved;
    EXPECT_EQ(rule.TextStart, QStringLiteral("^LINESIZE&DIRANGLE"));
    EXPECT_EQ(rule.PropKey, QStringLiteral("М"));
}

// "выбрать" changes the rule's style at once; any close but "Готово" takes it back.
TEST_F(TextFromSem, ChosenStyleIsTakenBackByCancel)
{
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        RSemText rule;
        rule.PropKey = QStringLiteral("ИН");
        rule.StyleName = QStringLiteral(">ОСНОВНОЙ");
        TModalScript script;
        script
            .Then("TFormTextFromSem",
                  [confirm](QWidget* w) {
                      auto* form = static_cast<TFormTextFromSem*>(w);
                      QTest::mouseClick(form->Button2, Qt::LeftButton);
                      EXPECT_EQ(form->LFont->font().family(), QStringLiteral("DejaVu Sans"));
                      EXPECT_TRUE(form->LFont->font().italic());
                      QTest::mouseClick(confirm ? form->BitBtn1 : form->BitBtn2, Qt::LeftButton);
                  })
            .Then("TFormSelectTextStyle", [](QWidget* w) {
                auto* style = static_cast<TFormSelectTextStyle*>(w);
                style->PageControl1->setCurrentWidget(style->csFont);
                style->FontSelector->SetFontName(QStringLiteral("DejaVu Sans"));
                style->sbFI->click();
                Enter(style);
            });
        EXPECT_EQ(TextFromSemDlg(&rule, Symbols), confirm ? mrOk : mrCancel);
        if (confirm) {
            EXPECT_TRUE(rule.StyleName.isEmpty());
            ASSERT_TRUE(rule.OwnStyle);
            EXPECT_EQ(rule.OwnStyle->FontName, QStringLiteral("DejaVu Sans"));
        } else {
            EXPECT_EQ(rule.StyleName, QStringLiteral(">ОСНОВНОЙ"));
            EXPECT_FALSE(rule.OwnStyle);
        }
    }
}

// Dx, Dy and the step are shown with one decimal; only a typed value is read back, so
// confirming an untouched rule keeps 2.27.
TEST_F(TextFromSem, OffsetsKeptUnlessTyped)
{
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed);
        RSemText rule;
        rule.PropKey = QStringLiteral("ИН");
        rule.Dx = 2.27L;
        rule.Dy = -1.04L;
        rule.Step = 12.345L;
        EXPECT_EQ(Dlg(rule, [typed](TFormTextFromSem* w) {
                      EXPECT_EQ(w->neDx->text(), QStringLiteral("2.3"));
                      EXPECT_EQ(w->neDy->text(), QStringLiteral("-1.0"));
                      EXPECT_EQ(w->neV->text(), QStringLiteral("12.3"));
                      if (typed) {
                          w->neDx->setFocus();
                          w->neDx->end(false);
                          QTest::keyClick(w->neDx, Qt::Key_Backspace);
                          QTest::keyClicks(w->neDx, QStringLiteral("3"));
                          w->neV->selectAll();
                          QTest::keyClicks(w->neV, QStringLiteral("x"));
                      }
                      QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
                  }),
                  mrOk);
        EXPECT_EQ(rule.Dx, typed ? 2.3L : 2.27L);
        EXPECT_EQ(rule.Dy, -1.04L);
        EXPECT_EQ(rule.Step, typed ? 0.0L : 12.345L);   // no number counts as 0
    }
}

// A rule whose list file is gone still opens, says which file, and can be mended.
TEST_F(TextFromSem, MissingValueListIsSaid)
{
    ASSERT_TRUE(QFile::remove(List(QStringLiteral("ТК"))));
    RSemText rule;
    rule.PropKey = QStringLiteral("ТК");
    rule.PropCode = QStringLiteral("02");
    EXPECT_EQ(Dlg(rule, [](TFormTextFromSem* w) {
                  EXPECT_EQ(w->dop->count(), 0);
                  w->KindButtons[KindOf(QStringLiteral("Количество"))]->setChecked(true);
                  Enter(w);
              }),
              mrOk);
    ASSERT_EQ(Said.size(), 1);
    EXPECT_TRUE(Said[0].startsWith(QStringLiteral("Не найден файл!|")));
    EXPECT_TRUE(Said[0].endsWith(QStringLiteral("ТК.wri"))) << Said[0].toStdString();
    EXPECT_EQ(rule.PropCode, QStringLiteral("00"));
}

TEST_F(TextFromSem, NoRuleShowsNothing) { EXPECT_EQ(TextFromSemDlg(nullptr, Symbols), mrNone); }

}  // namespace
