// The work selection page of the classifier window as the user drives it on a copy of
// the classifier: the work object, the values added, changed and deleted through the
// choice windows, the unknown object, the kind switch and the page's messages.
#include "controls/TextListBox.h"
#include "editors/classifier/UnitSemDialog.h"
#include "foundation/ServDialogs.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"
#include "support/TestRun.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// One choice window as the page opened it.
struct TOffer {
    QString Caption;
    QString Prompt;
    QStringList Lines;
    int Preselected = -1;
};

class WorkSemPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateFormSemDialog();
        Form = FormSemDialog();
        DialogHooks().ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << caption + QStringLiteral(" / ") + text;
            return mrOk;
        };
        // The choice windows: the line whose text is Pick (or the typed text Typed).
        DialogHooks().SelStr = [this](const QStringList& list, TSelection& s, const QString& caption,
                                      const QString& text) {
            Offers.push_back({caption, text, list, s.Index});
            s.Index = Pick.isNull() ? PickIndex : int(list.indexOf(Pick));
            s.Typed = Typed;
            return Answer;
        };
        DialogHooks().SelStr2 = [this](const QStringList& list, TSelection& s,
                                       const QString& caption, const QString& text, QString& free) {
            Offers.push_back({caption, text, list, s.Index});
            OfferedValue = free;
            s.Index = Pick.isNull() ? PickIndex : int(list.indexOf(Pick));
            free = Value;
            return Answer;
        };
        DialogHooks().InpStr = [this](QString& value, const QString& caption, const QString& text) {
            Offers.push_back({caption, text, {}, -1});
            OfferedValue = value;
            value = Value;
            return Answer;
        };
    }
    void TearDown() override { FreeFormSemDialog(); }

    int Dlg(int& lmode, QString& sem, const std::function<void(TFormSemDialog*)>& act)
    {
        TModalScript script;
        script.Then("TFormSemDialog", [act](QWidget* w) { act(static_cast<TFormSemDialog*>(w)); });
        return SemDlg(1, lmode, sem);
    }

    void Choose(const QString& pick, const QString& value = QString())
    {
        Pick = pick;
        Value = value;
    }

    static QStringList Lines(const TFormSemDialog* w)
    {
        QStringList lines;
        for (int i = 0; i < w->lbWorkSemSv->count(); ++i)
            lines << w->lbWorkSemSv->item(i)->text();
        return lines;
    }
    static void Select(TFormSemDialog* w, int row)
    {
        w->lbWorkSemSv->clearSelection();
        w->lbWorkSemSv->item(row)->setSelected(true);
    }
    static QStringList VisibleButtons(const TFormSemDialog* w)
    {
        QStringList names;
        for (const QToolButton* b : w->AddButtons1)
            if (b->isVisibleTo(const_cast<TFormSemDialog*>(w)))
                names << b->objectName();
        return names;
    }
    static void ClickPopup(TFormSemDialog* w, const QString& item)
    {
        for (QAction* a : w->pmWorkSemSv->actions())
            if (a->text() == item)
                a->trigger();
    }

    TTestRun Run{{QStringLiteral("Семантика")}};
    TScopedSemDialogHooks SemHooks;
    TScopedDialogHooks Dialogs;
    TFormSemDialog* Form = nullptr;

    QStringList Messages;
    std::vector<TOffer> Offers;
    QString Pick;          // the line chosen by its text
    int PickIndex = -1;    // ... or by its position when Pick is null
    QString Typed;
    QString Value;         // the free text typed
    QString OfferedValue;  // the free text the window opened with
    int Answer = mrOk;
};

const QString Well = QStringLiteral("Колодец водопроводный");

TEST_F(WorkSemPage, UserComposesChangesAndDeletesTheValuesOfAWorkObject)
{
    int lmode = lmPoint;
    QString sem;
    const int result = Dlg(lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_TRUE(VisibleButtons(w).isEmpty());
        w->cbWorkSemObj->setCurrentIndex(w->cbWorkSemObj->findText(Well));
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("КЛД/Ф001;Н001"));
        EXPECT_EQ(VisibleButtons(w),
                  (QStringList{QStringLiteral("btM"), QStringLiteral("btS"),
                               QStringLiteral("btGR"), QStringLiteral("btGG")}));
        EXPECT_FALSE(w->sbDelAll01->isEnabled());

        Choose(QStringLiteral("бетон"));
        QTest::mouseClick(w->AddButtons1[seM], Qt::LeftButton);
        ASSERT_EQ(Offers.size(), 1u);
        EXPECT_EQ(Offers[0].Caption, QStringLiteral("Добавить свойство: Материал"));
        EXPECT_EQ(Offers[0].Prompt, QStringLiteral("Выберете значение из списка:"));
        EXPECT_EQ(Offers[0].Lines, (QStringList{QStringLiteral("бетон"), QStringLiteral("камень")}));
        EXPECT_EQ(Offers[0].Preselected, 0);

        Choose(QStringLiteral("ветхое"));
        QTest::mouseClick(w->AddButtons1[seS], Qt::LeftButton);
        EXPECT_EQ(Offers[1].Lines, (QStringList{QStringLiteral("хорошее"), QStringLiteral("ветхое")}));

        Choose(QStringLiteral("глубина колодца"), QStringLiteral("2,5"));
        QTest::mouseClick(w->AddButtons1[seGG], Qt::LeftButton);
        EXPECT_EQ(Offers[2].Caption, QStringLiteral("Добавить свойство: Глубина"));
        EXPECT_EQ(Offers[2].Lines, QStringList{QStringLiteral("глубина колодца")});

        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("КЛД/Ф001;Н001;М002;С03;ГГ2,5:01"));
        EXPECT_EQ(Lines(w), (QStringList{QStringLiteral("Материал : бетон"),
                                         QStringLiteral("Состояние : ветхое"),
                                         QStringLiteral("Глубина,  глубина колодца : 2,5")}));
        EXPECT_TRUE(w->sbEditItem01->isEnabled());
        const QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
        QApplication::processEvents();
        if (!dir.isEmpty())
            w->grab().save(dir + QStringLiteral("/work-selection-page.png"));

        // The material changed in its place, the choice opening on its value.
        Select(w, 0);
        Choose(QStringLiteral("камень"));
        QTest::mouseClick(w->sbEditItem01, Qt::LeftButton);
        EXPECT_EQ(Offers[3].Caption, QStringLiteral("Изменить свойство: Материал"));
        EXPECT_EQ(Offers[3].Preselected, 0);
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("КЛД/Ф001;Н001;М005;С03;ГГ2,5:01"));

        // The depth changed by a double click: the window opens on its line and value.
        Choose(QStringLiteral("глубина колодца"), QStringLiteral("3"));
        Select(w, 2);
        w->lbWorkSemSv->OnDblClick();
        EXPECT_EQ(Offers[4].Preselected, 0);
        EXPECT_EQ(OfferedValue, QStringLiteral("2,5"));
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("КЛД/Ф001;Н001;М005;С03;ГГ3:01"));

        Select(w, 1);
        ClickPopup(w, QStringLiteral("Удалить"));
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("КЛД/Ф001;Н001;М005;ГГ3:01"));
        EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
        QTest::mouseClick(w->BitBtnOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(lmode, lmPoint);
    EXPECT_EQ(sem, QStringLiteral("КЛД/Ф001;Н001;М005;ГГ3:01"));

    // Opened again on that string: the work object, its buttons and its list.
    Dlg(lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_EQ(w->cbWorkSemObj->currentText(), Well);
        EXPECT_EQ(Lines(w).size(), 2);
        EXPECT_EQ(VisibleButtons(w).size(), 4);
        ClickPopup(w, QStringLiteral("Удалить все"));
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("КЛД/Ф001;Н001"));
        EXPECT_TRUE(Lines(w).isEmpty());
        EXPECT_FALSE(w->sbDelItem01->isEnabled());
        Esc(w);
    });
}

TEST_F(WorkSemPage, NothingIsAddedWithoutARealLineOrText)
{
    struct Case {
        const char* name;
        TSemExt kind;
        int pickIndex;       // position in the offered list
        QString typed;
        QString value;
        int answer;
    };
    const Case cases[] = {
        {"line 0 of the materials", seM, 0, {}, {}, mrOk},
        {"a text typed instead of a line", seM, -1, QStringLiteral("гранит"), {}, mrOk},
        {"a cancelled choice", seS, 1, {}, {}, mrCancel},
        {"a depth without its value", seGG, 1, {}, {}, mrOk},
        // A value with ";" or ":" would come back as other items: refused with a message.
        {"a depth holding \";\"", seGG, 1, {}, QStringLiteral("2;М001"), mrOk},
        {"a depth holding \":\"", seGG, 1, {}, QStringLiteral("12:30"), mrOk},
    };
    int lmode = lmPoint;
    QString sem = QStringLiteral("ПУН/Ф012");
    Dlg(lmode, sem, [&](TFormSemDialog* w) {
        const QStringList materials = w->Codec().SL[seM];
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            Pick = QString();
            PickIndex = c.pickIndex;
            Typed = c.typed;
            Value = c.value;
            Answer = c.answer;
            Offers.clear();
            QTest::mouseClick(w->AddButtons1[c.kind], Qt::LeftButton);
            ASSERT_EQ(Offers.size(), 1u);
            // The unknown object offers every line of the value list, line 0 included.
            EXPECT_EQ(Offers[0].Lines, w->Codec().SL[c.kind]);
            EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ПУН/Ф012"));
            EXPECT_TRUE(Lines(w).isEmpty());
        }
        EXPECT_EQ(w->Codec().SL[seM], materials);
        EXPECT_EQ(Messages.size(), 2);
        Esc(w);
    });
}

TEST_F(WorkSemPage, UnknownObjectKeepsItsSemanticsAndOffersEveryButtonAndLine)
{
    int lmode = lmPoint;
    QString sem = QStringLiteral("ПУН/Ф012;М003");
    Dlg(lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_TRUE(w->cbWorkSemObj->currentText().startsWith(QStringLiteral("Неизвестный объект (")));
        EXPECT_TRUE(w->cbWorkSemObj->currentText().endsWith(u')'));
        EXPECT_EQ(VisibleButtons(w).size(), SemExtCount);
        EXPECT_EQ(w->PanelSem->text(), sem);
        EXPECT_EQ(Lines(w), QStringList{QStringLiteral("Материал : дерево")});

        // The material's change opens on its own line of the whole list.
        Select(w, 0);
        PickIndex = 4;
        Pick = QString();
        QTest::mouseClick(w->sbEditItem01, Qt::LeftButton);
        ASSERT_EQ(Offers.size(), 1u);
        EXPECT_EQ(Offers[0].Preselected, 3);
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ПУН/Ф012;М004"));
        Esc(w);
    });
}

TEST_F(WorkSemPage, ShortValueListTakesFreeTextAndAChangeKeepsThePlace)
{
    int lmode = lmPoint;
    QString sem = QStringLiteral("ПУН/Ф012");
    Form->Codec().SL[seIT] = QStringList{QString()};
    Dlg(lmode, sem, [&](TFormSemDialog* w) {
        Value = QString();
        QTest::mouseClick(w->AddButtons1[seIT], Qt::LeftButton);
        ASSERT_EQ(Offers.size(), 1u);
        EXPECT_EQ(Offers[0].Prompt, QStringLiteral("Введите значение свойства"));
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ПУН/Ф012"));

        Value = QStringLiteral("А1");
        QTest::mouseClick(w->AddButtons1[seIT], Qt::LeftButton);
        Choose(QStringLiteral("глубина колодца"), QStringLiteral("2"));
        QTest::mouseClick(w->AddButtons1[seGG], Qt::LeftButton);
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ПУН/Ф012;ИТА1;ГГ2:01"));

        // The inscription changed in its place; the window opens with its text.
        Select(w, 0);
        Value = QStringLiteral("Б2");
        QTest::mouseClick(w->sbEditItem01, Qt::LeftButton);
        EXPECT_EQ(OfferedValue, QStringLiteral("А1"));
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ПУН/Ф012;ИТБ2;ГГ2:01"));
        Esc(w);
    });
}

TEST_F(WorkSemPage, SwitchingTheKindAndConfirmingReturnsThatKindAndSemantics)
{
    int lmode = lmPoint;
    QString sem = QStringLiteral("КЛД/Ф001;Н001;М002");
    const int result = Dlg(lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_EQ(w->cbWorkSemObj->currentText(), Well);
        QTest::mouseClick(w->rbLine01, Qt::LeftButton);
        EXPECT_TRUE(w->cbWorkSemObj->currentText().isEmpty());
        EXPECT_TRUE(Lines(w).isEmpty());
        EXPECT_TRUE(w->PanelSem->text().isEmpty());
        EXPECT_TRUE(VisibleButtons(w).isEmpty());
        EXPECT_EQ(w->focusWidget(), w->cbWorkSemObj);
        w->cbWorkSemObj->setCurrentIndex(w->cbWorkSemObj->findText(QStringLiteral("Забор капитальный")));
        QTest::mouseClick(w->BitBtnOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(lmode, lmLine);
    EXPECT_EQ(sem, QStringLiteral("ОГР/Ф001;К001"));
}

TEST_F(WorkSemPage, ItemStepsWithoutASelectedLineSayWhatIsMissing)
{
    int lmode = lmPoint;
    QString sem = QStringLiteral("КЛД/Ф001;Н001;М002");
    Dlg(lmode, sem, [&](TFormSemDialog* w) {
        w->lbWorkSemSv->clearSelection();
        QTest::mouseClick(w->sbEditItem01, Qt::LeftButton);
        QTest::mouseClick(w->sbDelItem01, Qt::LeftButton);
        EXPECT_EQ(Messages,
                  (QStringList{QStringLiteral("Не выбран элемент! / Для изменения элемента списка "
                                              "необходимо сначала выбрать этот элемент"),
                               QStringLiteral("Не выбран элемент! / Для удаления элемента списка "
                                              "необходимо сначала выбрать этот элемент")}));
        EXPECT_TRUE(Offers.empty());
        EXPECT_EQ(w->PanelSem->text(), sem);

        // A line the semantics does not hold (the list out of step with it).
        Messages.clear();
        w->lbWorkSemSv->addItem(QStringLiteral("лишняя строка"));
        for (QToolButton* step : {w->sbEditItem01, w->sbDelItem01}) {
            Select(w, 1);
            QTest::mouseClick(step, Qt::LeftButton);
        }
        ASSERT_EQ(Messages.size(), 2);
        EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Внутренняя ошибка индексирования / ")));
        EXPECT_EQ(Messages[1], Messages[0]);
        EXPECT_EQ(w->PanelSem->text(), sem);
        Esc(w);
    });
}

}  // namespace
