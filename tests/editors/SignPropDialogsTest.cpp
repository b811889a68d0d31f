// The point, line and area sign dialogs as a user drives them over a copy of the
// reference data, with the saved sign file as the oracle: a cancel leaves the file's
// bytes as they were, a save straight after opening rewrites them unchanged, typed
// values reach the file, a new name from the classifier leaves the old file alone.
// Setting VELMORA_REVIEW_DIR writes each window there as a PNG.
#include "editors/EditorDialogs.h"
#include "editors/signs/UnitSymLineProp.h"
#include "editors/signs/UnitSymPointProp.h"
#include "editors/signs/UnitSelectTextStyle.h"
#include "editors/signs/UnitSymPolygonProp.h"
#include "editors/signs/UnitSymbolEdit.h"
#include "editors/signs/UnitTextFromSem.h"
#include "foundation/GeoDataObjectsSigns.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include "controls/ExSpeedButton.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <QLabel>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(SignFileName, BuiltFromTheChosenSemantics)
{
    struct Case {
        QString sem;
        QStringList materials, states;
        QString name;
    };
    const Case cases[] = {
        {"ТОЧ/Ф010", {"001"}, {}, "ТОЧ-Ф010;М001;С.wri"},
        {"ТОЧ", {}, {}, "ТОЧ-М;С.wri"},
        {"ТОЧ", {}, {"001", "002"}, "ТОЧ-М;С001;002.wri"},
        {"ПОЗ", {"010", "020"}, {}, "ПОЗ-М010;020;С.wri"},
        {"ПОЗ/Ф010", {}, {"001", "002"}, "ПОЗ-Ф010;М;С001;002.wri"},
        {"ПОЗ/Ф010;К010", {}, {}, "ПОЗ-Ф010;К010;М;С.wri"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildSignFileName(c.sem, c.materials, c.states, TSignNamePolicy::StandardWithMS), c.name)
            << c.sem.toStdString();
    for (const QString& bad : {QStringLiteral("ТОЧ/Ф../../x"), QStringLiteral("ТОЧ/Ф0\\1"), QStringLiteral("ТОЧ/Ф0/1")}) {
        QString refusal;
        EXPECT_TRUE(BuildSignFileName(bad, {}, {}, TSignNamePolicy::StandardWithMS, &refusal).isEmpty()) << bad.toStdString();
        EXPECT_FALSE(refusal.isEmpty());
    }
}

TEST(SignCaptionRows, UnconditionalInLineAndAnyMaterial)
{
    struct Case {
        int lm;
        QString kind, value;
        int mode;
        QString row;
    };
    const Case cases[] = {
        {lmPoint, "В", "00", 1, "безусл.текст: а-б-в"},
        {lmLine, "В", "00", 1, "безусл.текст: а-б-в"},
        {lmLine, "В", "00", 2, "безусл.текст: а-б-в"},
        {lmLine, "ГВ", "05", 2, "безусл.текст в линию: а-б-в"},
        {lmLine, "В", "00", 3, "безусл.текст в линию: а-б-в"},
        {lmLine, "Ф", "010", 3, "безусл.текст в линию: а-б-в"},
        {lmPolygon, "М", "-1", 1, "любой материал а-б-в"},
    };
    for (const Case& c : cases) {
        RSemText rule;
        rule.TextStart = QStringLiteral("а");
        rule.Separator1 = QStringLiteral("-");
        rule.Separator2 = QStringLiteral("б-");
        rule.TextEnd = QStringLiteral("в");
        rule.PropKey = c.kind;
        rule.PropCode = c.value;
        rule.Mode = std::uint8_t(c.mode);
        EXPECT_EQ(CaptionRuleRow(rule, QStringLiteral("ТОЧ-Ф010.wri"), c.lm), c.row) << c.kind.toStdString();
    }
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SignPropDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Said << caption + u'|' + text;
            return mrOk;
        };
        hooks.InpStr = [this](QString&, const QString& caption, const QString&) {
            Asked << caption;
            return caption == QStringLiteral("Файл уже существует!") ? OverwriteAnswer : mrCancel;
        };
        Dialogs = std::make_unique<TScopedDialogHooks>(hooks);
    }
    QString SignFile(const QString& kindFolder, const QString& name) const
    {
        return Run.Folder() + QStringLiteral("Условные знаки/500/") + kindFolder + u'/' + name;
    }
    void Review(QWidget* w, const char* name)
    {
        QApplication::processEvents();
        if (const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR"); !dir.isEmpty())
            w->grab().save(QString::fromLocal8Bit(dir) + u'/' + QString::fromLatin1(name) + QStringLiteral(".png"));
    }
    template <class Form>
    int Open(int kind, const QString& path, const std::function<void(Form*)>& act, const char* windowClass)
    {
        TModalScript script;
        script.Then(windowClass, [act](QWidget* w) { act(static_cast<Form*>(w)); });
        const int result = kind == 0 ? SymPointPropDlg(path, 500)
                           : kind == 1 ? SymLinePropDlg(path, 500)
                                       : SymPolygonPropDlg(path, 500);
        EXPECT_TRUE(script.Done());
        return result;
    }

    TTestRun Run{{QStringLiteral("Слои"), QStringLiteral("Условные знаки"), QStringLiteral("Шрифты"),
                  QStringLiteral("Семантика")}};
    TSeparatorScope Point{u'.'};   // as the reference sign files were written
    QStringList Said, Asked;
    TModalResult OverwriteAnswer = mrOk;
    std::unique_ptr<TScopedDialogHooks> Dialogs;
};

TEST_F(SignPropDialogs, CancelAndPlainSaveLeaveEveryKindsFileAsItWas)
{
    struct Case {
        int kind;
        const char* windowClass;
        QString folder, name;
        const char* png;
    };
    const Case cases[] = {
        {0, "TFormSymPointProp", "Точечные", "ПКТ.wri", "sym-point-prop"},
        {1, "TFormSymLineProp", "Линейные", "ГОР-Ф011.wri", "sym-line-prop"},
        {2, "TFormSymPolygonProp", "Площадные", "ЗДН-Ф001;Н003;М;С.wri", "sym-polygon-prop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = SignFile(c.folder, c.name);
        const QByteArray before = Bytes(path);
        ASSERT_FALSE(before.isEmpty());
        // Cancel after a rule added (and cancelled) and a rule deleted.
        TModalScript script;
        script.Then(c.windowClass, [&](QWidget* w) {
            auto* form = static_cast<TFormSignProp*>(w);
            Review(w, c.png);
            EXPECT_EQ(form->eSem->text(), path);
            EXPECT_EQ(form->Label01->text(), QStringLiteral("масштаб 1:500"));
            const int rows = form->lbSv->count();
            QTest::mouseClick(form->sbAddSemText, Qt::LeftButton);
            EXPECT_EQ(form->lbSv->count(), rows);   // the rule dialog cancelled
            if (form->lbSv->count() >= 1) {
                form->lbSv->item(0)->setSelected(true);
                QTest::mouseClick(form->sbDelSemText, Qt::LeftButton);
            }
            QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
        });
        script.Then("TFormTextFromSem", [](QWidget* w) {
            auto* rule = static_cast<TFormTextFromSem*>(w);
            QTest::mouseClick(rule->BitBtn2, Qt::LeftButton);
        });
        const int result = c.kind == 0 ? SymPointPropDlg(path, 500)
                           : c.kind == 1 ? SymLinePropDlg(path, 500)
                                         : SymPolygonPropDlg(path, 500);
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(result, mrCancel);
        EXPECT_EQ(Bytes(path), before);

        // "Сохранить" straight after opening, the overwrite question answered yes.
        Asked.clear();
        TModalScript save;
        save.Then(c.windowClass, [](QWidget* w) { QTest::mouseClick(static_cast<TFormSignProp*>(w)->BitBtn3, Qt::LeftButton); });
        const int saved = c.kind == 0 ? SymPointPropDlg(path, 500)
                          : c.kind == 1 ? SymLinePropDlg(path, 500)
                                        : SymPolygonPropDlg(path, 500);
        EXPECT_EQ(saved, mrOk);
        EXPECT_EQ(Asked, QStringList{QStringLiteral("Файл уже существует!")});
        EXPECT_EQ(Bytes(path), before);
    }
    EXPECT_TRUE(Said.isEmpty()) << Said.join(u'\n').toStdString();
}

TEST_F(SignPropDialogs, LineFieldsTypedReachTheFile)
{
    const QString path = SignFile(QStringLiteral("Линейные"), QStringLiteral("ГОР-Ф011.wri"));
    EXPECT_EQ(Open<TFormSymLineProp>(1, path, [](TFormSymLineProp* w) {
                  w->neSTFirstDist->selectAll();
                  QTest::keyClicks(w->neSTFirstDist, QStringLiteral("12.34"));
                  EXPECT_EQ(w->neSTFirstDist->text(), QStringLiteral("12.34"));
                  EXPECT_NEAR(double(w->Sign()->CaptionStart), 12.3, 1e-9);
                  w->neRC->selectAll();
                  QTest::keyClicks(w->neRC, QStringLiteral("70000"));
                  w->neDS->selectAll();
                  QTest::keyClick(w->neDS, Qt::Key_Delete);
                  EXPECT_EQ(w->Sign()->TextRepeat, 4464);
                  QTest::mouseClick(w->BitBtn3, Qt::LeftButton);
              }, "TFormSymLineProp"),
              mrOk);
    TSymbols symbols;
    ASSERT_TRUE(symbols.LoadSymbol(path, QStringLiteral("x"), lmLine));
    EXPECT_NEAR(double(symbols.VpGLines.Item->CaptionStart), 12.3, 1e-9);
    EXPECT_EQ(symbols.VpGLines.Item->TextRepeat, 4464);
    EXPECT_EQ(double(symbols.VpGLines.Item->PieceLength), 0.0);
}

TEST_F(SignPropDialogs, OverwriteDeclinedAndANewNameFromTheClassifier)
{
    const QString path = SignFile(QStringLiteral("Точечные"), QStringLiteral("ТОЧ-Ф010.wri"));
    const QByteArray before = Bytes(path);
    // The overwrite question declined: the file stays although the leader line changed.
    OverwriteAnswer = mrCancel;
    Open<TFormSymPointProp>(0, path, [](TFormSymPointProp* w) {
        w->chbLine->click();
        QTest::mouseClick(w->BitBtn3, Qt::LeftButton);
    }, "TFormSymPointProp");
    EXPECT_EQ(Bytes(path), before);

    // A new name: the old file untouched, the new one written.
    TSemDialogHooks sem;
    sem.SemDlg = [](int smode, int& lmode, QString& s) {
        EXPECT_EQ(smode, 1);
        EXPECT_EQ(lmode, 0);
        EXPECT_EQ(s, QStringLiteral("ТОЧ/Ф010"));
        s = QStringLiteral("ТОЧ/Ф010");
        return 1;
    };
    TScopedSemDialogHooks semScope(sem);
    TEditorDialogHooks editors;
    editors.SelectMSDlg = [](QStringList& m, QStringList& s) {
        m = QStringList{QStringLiteral("001")};
        s.clear();
        return mrOk;
    };
    TScopedEditorDialogHooks editorScope(editors);
    OverwriteAnswer = mrOk;
    Open<TFormSymPointProp>(0, path, [&](TFormSymPointProp* w) {
        w->ButtonShowFormSem->OnClick();
        EXPECT_EQ(w->eSem->text(), SignFile(QStringLiteral("Точечные"), QStringLiteral("ТОЧ-Ф010;М001;С.wri")));
        QTest::mouseClick(w->BitBtn3, Qt::LeftButton);
    }, "TFormSymPointProp");
    EXPECT_EQ(Bytes(path), before);
    EXPECT_FALSE(Bytes(SignFile(QStringLiteral("Точечные"), QStringLiteral("ТОЧ-Ф010;М001;С.wri"))).isEmpty());
}

TEST_F(SignPropDialogs, CaptionRulesMovedStyledEditedAndDeleted)
{
    const QString path = SignFile(QStringLiteral("Точечные"), QStringLiteral("ПКТ.wri"));
    TSymbols read;
    ASSERT_TRUE(read.LoadSymbol(path, QStringLiteral("x"), lmPoint));
    QStringList kinds;
    for (int i = 0; i < read.VpGPoints.Item->Captions.GetCount(); ++i) {
        read.VpGPoints.Item->Captions.GoItem(i);
        kinds << read.VpGPoints.Item->Captions.Item->PropKey;
    }
    ASSERT_EQ(kinds.size(), 3);
    QString chosenStyle;
    TModalScript script;
    script.Then("TFormSymPointProp", [&](QWidget* win) {
        auto* w = static_cast<TFormSymPointProp*>(win);
        auto select = [w](std::initializer_list<int> rows) {
            w->lbSv->clearSelection();
            for (int r : rows)
                w->lbSv->item(r)->setSelected(true);
        };
        const QStringList shown = [w] {
            QStringList l;
            for (int i = 0; i < w->lbSv->count(); ++i)
                l << w->lbSv->item(i)->text();
            return l;
        }();
        // "вверх" on the first row and "вниз" on the last change nothing.
        select({0});
        EXPECT_TRUE(w->sbUp->isEnabled());
        EXPECT_TRUE(w->sbFont->isHidden());
        QTest::mouseClick(w->sbUp, Qt::LeftButton);
        select({2});
        QTest::mouseClick(w->sbDown, Qt::LeftButton);
        EXPECT_EQ(w->lbSv->item(0)->text(), shown[0]);
        EXPECT_EQ(w->lbSv->item(2)->text(), shown[2]);
        // The first row down: the first two swap.
        select({0});
        QTest::mouseClick(w->sbDown, Qt::LeftButton);
        EXPECT_EQ(w->lbSv->item(0)->text(), shown[1]);
        EXPECT_EQ(w->lbSv->item(1)->text(), shown[0]);
        // Two rows: one style for both.
        select({0, 2});
        EXPECT_FALSE(w->sbFont->isHidden());
        EXPECT_FALSE(w->sbEditSemText->isEnabled());
        EXPECT_FALSE(w->sbUp->isEnabled());
        QTest::mouseClick(w->sbFont, Qt::LeftButton);
        // No row: "шрифт" opens the style dialog, which is cancelled; nothing changes.
        w->lbSv->clearSelection();
        QTest::mouseClick(w->sbFont, Qt::LeftButton);
        // "Изменить" cancelled keeps the rule; "Удалить" drops the middle one.
        select({1});
        QTest::mouseClick(w->sbEditSemText, Qt::LeftButton);
        select({1});
        QTest::mouseClick(w->sbDelSemText, Qt::LeftButton);
        EXPECT_EQ(w->lbSv->count(), 2);
        QTest::mouseClick(w->BitBtn3, Qt::LeftButton);
    });
    script.Then("TFormSelectTextStyle", [&](QWidget* win) {
        auto* w = static_cast<TFormSelectTextStyle*>(win);
        ASSERT_GT(w->cbStyle->count(), 1);
        w->cbStyle->setCurrentIndex(1);
        chosenStyle = w->cbStyle->currentText();
        QTest::mouseClick(w->btOk, Qt::LeftButton);
    });
    script.Then("TFormSelectTextStyle", [](QWidget* w) { QTest::mouseClick(static_cast<TFormSelectTextStyle*>(w)->btCancel, Qt::LeftButton); });
    script.Then("TFormTextFromSem", [](QWidget* w) { QTest::mouseClick(static_cast<TFormTextFromSem*>(w)->BitBtn2, Qt::LeftButton); });
    EXPECT_EQ(SymPointPropDlg(path, 500), mrOk);
    EXPECT_TRUE(script.Done());

    TSymbols saved;
    ASSERT_TRUE(saved.LoadSymbol(path, QStringLiteral("x"), lmPoint));
    TSemTexts& rules = saved.VpGPoints.Item->Captions;
    ASSERT_EQ(rules.GetCount(), 2);
    rules.GoItem(0);
    EXPECT_EQ(rules.Item->PropKey, kinds[1]);
    EXPECT_EQ(rules.Item->StyleName, chosenStyle);
    EXPECT_FALSE(rules.Item->OwnStyle);
    rules.GoItem(1);
    EXPECT_EQ(rules.Item->PropKey, kinds[2]);
    EXPECT_EQ(rules.Item->StyleName, chosenStyle);
}

TEST_F(SignPropDialogs, PictureChangedInTheEditorIsSaved)
{
    const QString path = SignFile(QStringLiteral("Точечные"), QStringLiteral("ПКТ.wri"));
    TModalScript script;
    script.Then("TFormSymPointProp", [](QWidget* w) {
        QTest::mouseClick(static_cast<TFormSymPointProp*>(w)->sbEdit, Qt::LeftButton);
        QTest::mouseClick(static_cast<TFormSymPointProp*>(w)->BitBtn3, Qt::LeftButton);
    });
    script.Then("TFormSymbolEdit", [&](QWidget* win) {
        auto* w = static_cast<TFormSymbolEdit*>(win);
        EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral("ПКТ.wri [") + Run.Folder() +
                                              QStringLiteral("Условные знаки/500/Точечные]")))
            << w->windowTitle().toStdString();
        w->ClearClick();
        w->close();
    });
    EXPECT_EQ(SymPointPropDlg(path, 500), mrOk);
    EXPECT_TRUE(script.Done());
    TSymbols saved;
    ASSERT_TRUE(saved.LoadSymbol(path, QStringLiteral("x"), lmPoint));
    EXPECT_EQ(saved.VpGPoints.Item->Picture.GetCount(), 0);
}

// An area sign with values the window has no plain button for.
TEST_F(SignPropDialogs, AreaChoicesOrdersAndRoundedFields)
{
    const QString path = SignFile(QStringLiteral("Площадные"), QStringLiteral("ТСТ-М;С.wri"));
    {
        TSymbols symbols;
        symbols.VpGPolygons.AddItem();
        RVpGPolygon& sign = *symbols.VpGPolygons.Item;
        sign.Code = QStringLiteral("ТСТ-М;С");
        // The file keeps a picture's numbers only while it has the picture.
        for (TVpLayers* picture : {&sign.Corners, &sign.Fill1, &sign.Center, &sign.Diagonals1, &sign.Cross1, &sign.Cross2}) {
            picture->AddItem();
            picture->Item->Circles.AddItem();
            picture->Item->Circles.Item->Radius = 0.5L;
        }
        sign.Cross1Style = 3;
        sign.Cross1Step = 2.27L;
        sign.CornerShift = 1.23L;
        sign.CenterOrientation = 7;
        sign.Diagonals1Style = 9;
        sign.Captions.AddItem();
        sign.Captions.Item->PropKey = QStringLiteral("М");
        sign.Captions.Item->PropCode = QStringLiteral("-1");
        sign.Captions.Item->TextStart = QStringLiteral("мат. ");
        sign.Captions.Item->StyleName = QStringLiteral("x");
        ASSERT_TRUE(symbols.SaveSymbol(path, lmPolygon));
    }
    const QByteArray before = Bytes(path);
    OverwriteAnswer = mrOk;
    EXPECT_EQ(Open<TFormSymPolygonProp>(2, path, [](TFormSymPolygonProp* w) {
                  EXPECT_TRUE(w->ChoiceGroups[3]->button(3)->isChecked());
                  EXPECT_FALSE(w->ChoiceGroups[3]->button(3)->isEnabled());
                  EXPECT_EQ(w->ChoiceGroups[0]->checkedButton(), nullptr);   // the radio group
                  EXPECT_EQ(w->ChoiceGroups[1]->checkedId(), 0);             // "нет"
                  EXPECT_EQ(w->lbSv->item(0)->text(), QStringLiteral("любой материал мат. "));
                  QTest::mouseClick(w->BitBtn3, Qt::LeftButton);
              }, "TFormSymPolygonProp"),
              mrOk);
    EXPECT_EQ(Bytes(path), before);   // untouched one-decimal fields saved as read

    EXPECT_EQ(Open<TFormSymPolygonProp>(2, path, [](TFormSymPolygonProp* w) {
                  auto type = [w](const char* name, const QString& text) {
                      auto* e = w->findChild<TNumEdit*>(QString::fromLatin1(name));
                      ASSERT_NE(e, nullptr) << name;
                      e->selectAll();
                      QTest::keyClicks(e, text);
                  };
                  type("neCross1Step", QStringLiteral("2,27"));
                  type("neSP1Order", QStringLiteral("300"));
                  type("neCross2Size", QStringLiteral("abc"));
                  w->ChoiceGroups[1]->button(2)->click();
                  w->ChoiceGroups[0]->button(1)->click();
                  w->cbFill->click();
                  QTest::mouseClick(w->BitBtn3, Qt::LeftButton);
              }, "TFormSymPolygonProp"),
              mrOk);
    TSymbols saved;
    ASSERT_TRUE(saved.LoadSymbol(path, QStringLiteral("x"), lmPolygon));
    const RVpGPolygon& sign = *saved.VpGPolygons.Item;
    EXPECT_NEAR(double(sign.Cross1Step), 2.3, 1e-9);
    EXPECT_EQ(sign.Fill1Kind, 44);
    EXPECT_EQ(double(sign.Cross2Size), 0.0);
    EXPECT_EQ(sign.Diagonals1Style, 2);
    EXPECT_EQ(sign.CenterOrientation, 1);
    EXPECT_EQ(sign.FillOn, 1);
    EXPECT_NEAR(double(sign.CornerShift), 1.23, 1e-9);
    EXPECT_EQ(sign.Cross1Style, 3);
}

TEST_F(SignPropDialogs, LinePlainLineToggledKeepsItsColourAndWidth)
{
    const QString path = SignFile(QStringLiteral("Линейные"), QStringLiteral("ГОР-Ф011.wri"));
    TSymbols read;
    ASSERT_TRUE(read.LoadSymbol(path, QStringLiteral("x"), lmLine));
    EXPECT_EQ(Open<TFormSymLineProp>(1, path, [&](TFormSymLineProp* w) {
                  const bool on = w->cbEnableELine->isChecked();
                  w->cbEnableELine->click();
                  EXPECT_EQ(w->Sign()->Piece1.HasOwnLine, on ? 0 : 1);
                  w->cbEnableELine->click();
                  EXPECT_EQ(w->Sign()->Piece1.HasOwnLine, on ? 1 : 0);
                  EXPECT_EQ(w->Sign()->Piece1.OwnLineColor, read.VpGLines.Item->Piece1.OwnLineColor);
                  EXPECT_EQ(w->Sign()->Piece1.OwnLineWidth, read.VpGLines.Item->Piece1.OwnLineWidth);
                  w->rCentr->click();
                  EXPECT_EQ(w->Sign()->SegmentMiddle, 1);
                  QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
              }, "TFormSymLineProp"),
              mrCancel);
}

TEST_F(SignPropDialogs, ClassifierNameRefusedOrCancelledKeepsTheName)
{
    const QString path = SignFile(QStringLiteral("Точечные"), QStringLiteral("ТОЧ-Ф010.wri"));
    TSemServices services;   // SemToSTD and the decodings
    services.Open();
    QString answer;
    int msResult = mrOk;
    TSemDialogHooks sem;
    sem.SemDlg = [&](int, int&, QString& s) {
        if (answer.isEmpty())
            return 2;
        s = answer;
        return 1;
    };
    TScopedSemDialogHooks semScope(sem);
    TEditorDialogHooks editors;
    editors.SelectMSDlg = [&](QStringList& m, QStringList& s) {
        m = QStringList{QStringLiteral("003")};
        s = QStringList{QStringLiteral("002")};
        return msResult;
    };
    TScopedEditorDialogHooks editorScope(editors);
    Open<TFormSymPointProp>(0, path, [&](TFormSymPointProp* w) {
        w->ButtonShowFormSem->OnClick();   // classifier cancelled
        EXPECT_EQ(w->eSem->text(), path);
        answer = QStringLiteral("ТОЧ/Ф010");
        msResult = mrCancel;
        w->ButtonShowFormSem->OnClick();   // materials and states cancelled
        EXPECT_EQ(w->eSem->text(), path);
        msResult = mrOk;
        // The work semantics' own materials, states and name are not part of the name.
        answer = QStringLiteral("ТОЧ/Ф010;М001;С001;ИИ:05");
        w->ButtonShowFormSem->OnClick();
        EXPECT_EQ(w->eSem->text().toStdString(), SignFile(QStringLiteral("Точечные"), QStringLiteral("ТОЧ-Ф010;М003;С002.wri")).toStdString());
        // A value the codec cannot read: said, and the name stays.
        answer = QStringLiteral("ТОЧ/Ф../../x");
        w->eSem->setText(path);
        w->ButtonShowFormSem->OnClick();
        EXPECT_EQ(w->eSem->text(), path);
        QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
    }, "TFormSymPointProp");
    ASSERT_EQ(Said.size(), 1) << Said.join(u'\n').toStdString();
    EXPECT_TRUE(Said[0].startsWith(QStringLiteral("Классификатор семантики|"))) << Said[0].toStdString();

    // The decoded rows of rules with a kind.
    RSemText rule;
    rule.PropKey = QStringLiteral("ГВ");
    rule.PropCode = QStringLiteral("05");
    QString decoded;
    services.decode3(lmPoint, QStringLiteral("ТОЧ/ГВ:05"), decoded);
    EXPECT_EQ(CaptionRuleRow(rule, QStringLiteral("ТОЧ-Ф010.wri"), lmPoint), decoded);
    EXPECT_NE(decoded, QStringLiteral("ТОЧ/ГВ:05"));
}

TEST_F(SignPropDialogs, TheSignEntryOpensTheDialogOfTheKind)
{
    TScopedEditorDialogHooks scope(EditorDialogHooks());
    TScopedSemDialogHooks semScope(SemDialogHooks());   // the add-sign window is installed too
    InstallSignDialogs();
    struct Case {
        int kind;
        const char* windowClass;
        QString folder, name;
    };
    const Case cases[] = {
        {0, "TFormSymPointProp", "Точечные", "ПКТ.wri"},
        {1, "TFormSymLineProp", "Линейные", "БРД.wri"},
        {2, "TFormSymPolygonProp", "Площадные", "ЗДН-Ф001;Н003;М;С.wri"},
    };
    for (const Case& c : cases) {
        TModalScript script;
        script.Then(c.windowClass, [](QWidget* w) { Esc(w); });
        EXPECT_EQ(EditSymbolDlg(SignFile(c.folder, c.name), 500, c.kind), mrCancel);
        EXPECT_TRUE(script.Done()) << c.windowClass;
    }
}

}  // namespace
