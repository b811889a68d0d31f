// The point, line and area sign dialogs as a user drives them over a copy of the
// reference data, with the saved sign file as the oracle: a cancel leaves the file's
// bytes as they were, a save straight after opening rewrites them unchanged, typed
// values reach the file, a new name from the classifier leaves the old file alone.
// Setting VELMORA_REVIEW_DIR writes each window there as a PNG.
#include "editors/EditorDialogs.h"
#include "editors/signs/UnitSymLineProp.h"
#include "editors/signs/UnitSymPointProp.h"
#include "editors/signs/UnitSymPolygonProp.h"
#include "editors/signs/UnitTextFromSem.h"
#include "foundation/GeoDataObjectsSigns.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include "controls/ExSpeedButton.h"

#include <QButtonGroup>
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
        hooks.InpStr = [this](QString& value, const QString& caption, const QString&) {
            Asked << caption;
            return OverwriteAnswer;
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

}  // namespace
