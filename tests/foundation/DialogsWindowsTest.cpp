// The shared windows, offscreen, through their entry routines: Enter gives the OK
// result, Esc and the close box the window's cancel results, and the values come back
// as each routine promises.
#include "controls/TextListBox.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/EngineQuestions.h"
#include "foundation/ui/MaskEdit.h"
#include "foundation/ui/NumEdit.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "support/ModalScript.h"
#include "support/WidgetEvents.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest/QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The real windows for the length of a test.
class DialogsWindows : public ::testing::Test {
protected:
    void SetUp() override { InstallDialogWindows(); }
    TScopedDialogHooks Scope;
};

}  // namespace

TEST_F(DialogsWindows, MessageBoxResults)
{
    const std::pair<TModalScript::TStep, TModalResult> cases[] = {
        {Enter, mrOk}, {Esc, mrCancel}, {CloseBox, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormShowMsgDialog", act);
        EXPECT_EQ(ShowMsgDialog(QStringLiteral("Заголовок"), QStringLiteral("текст")), expected);
        EXPECT_TRUE(script.Done());
    }
}

TEST_F(DialogsWindows, QuestionResults)
{
    const std::pair<TModalScript::TStep, TModalResult> cases[] = {
        {Enter, mrYes}, {Esc, mrNo}, {CloseBox, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormShowQDialog", act);
        EXPECT_EQ(ShowQDialog(QStringLiteral("Вопрос"), QStringLiteral("Да или нет?")), expected);
    }
}

TEST_F(DialogsWindows, MessageHeightFollowsItsLines)
{
    TFormShowMsgDialog empty{QString(), QString()};
    TFormShowMsgDialog three(QString(), QStringLiteral("один\r\nдва\r\nтри"));
    EXPECT_EQ(three.Memo1->Lines().size(), 3);
    EXPECT_EQ(three.height() - empty.height(), 3 * three.TextHeight());
    EXPECT_EQ(empty.height(), MessageWindowHeight(0, empty.TextHeight(), 50));
    // The button stays on the bottom edge whatever the height.
    EXPECT_EQ(three.height() - three.Button1->geometry().bottom(),
              empty.height() - empty.Button1->geometry().bottom());
    EXPECT_EQ(three.width(), 357);
}

TEST_F(DialogsWindows, WrappedMessageLinesCountTowardsTheHeight)
{
    // Guards a long message hidden behind the buttons: a line that wraps takes the room
    // of every line it shows as.
    const QString longLine = QStringLiteral(
        "Не получается автоматически определить название листа по номенклатуре планшета; "
        "введите название листа вручную либо отмените создание объекта.");
    TFormShowMsgDialog one(QString(), QStringLiteral("одна строка"));
    TFormShowMsgDialog wrapped(QString(), longLine);
    TFormInpStrDialog input(QString(), QString(), longLine + QStringLiteral("\r\nещё строка"));
    EXPECT_EQ(one.Memo1->ShownLineCount(), 1);
    const int shown = wrapped.Memo1->ShownLineCount();
    EXPECT_GE(shown, 2);
    EXPECT_EQ(wrapped.height(), MessageWindowHeight(shown, wrapped.TextHeight(), 50));
    EXPECT_EQ(input.Memo1->ShownLineCount(), shown + 1);
    // The text ends above the button.
    EXPECT_LE(shown * wrapped.TextHeight(), wrapped.Button1->geometry().top());
    EXPECT_LE((shown + 1) * input.TextHeight(), input.Edit1->geometry().top());
}

TEST_F(DialogsWindows, TextInputCopiesTheTextBackWhateverTheResult)
{
    const std::pair<TModalScript::TStep, TModalResult> cases[] = {
        {Enter, mrOk}, {Esc, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormInpStrDialog", [act = act](QWidget* w) {
            auto* form = static_cast<TFormInpStrDialog*>(w);
            EXPECT_EQ(form->Edit1->text(), QStringLiteral("Лист 1"));
            form->Edit1->setText(QStringLiteral("Лист 2"));
            act(w);
        });
        QString value = QStringLiteral("Лист 1");
        EXPECT_EQ(InpStrDialog(value, QStringLiteral("Добавление листа"), QString()), expected);
        EXPECT_EQ(value, QStringLiteral("Лист 2"));
    }
}

TEST_F(DialogsWindows, MaskedAndFreeTextBothComeBack)
{
    const std::pair<TModalScript::TStep, TModalResult> cases[] = {
        {Enter, mrOk}, {Esc, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormInpStr2Dialog", [act = act](QWidget* w) {
            auto* form = static_cast<TFormInpStr2Dialog*>(w);
            EXPECT_EQ(form->MaskEdit1->Text(), QStringLiteral("012"));
            EXPECT_EQ(form->Edit1->text(), QStringLiteral("старое"));
            form->MaskEdit1->SetText(QStringLiteral("345"));
            form->Edit1->setText(QStringLiteral("новое"));
            act(w);
        });
        QString masked = QStringLiteral("012");
        QString free = QStringLiteral("старое");
        EXPECT_EQ(InpStr2Dialog(masked, free, QString(), QString(), QStringLiteral("000;1;_")),
                  expected);
        EXPECT_EQ(masked, QStringLiteral("345"));
        EXPECT_EQ(free, QStringLiteral("новое"));
    }
}

TEST_F(DialogsWindows, SelectionFromTheList)
{
    struct Case {
        const char* name;
        int choose;          // -1: type instead
        const char* typed;
        TModalScript::TStep act;
        TModalResult result;
        int index, added, listSize;
    };
    const Case cases[] = {
        {"a line, Enter", 2, "", Enter, mrOk, 2, 0, 3},
        {"the preselection, Esc", -2, "", Esc, mrCancel, 1, 0, 3},
        {"a new text, Enter", -1, "Дороги", Enter, mrOk, 3, 1, 4},
        {"a new text, Esc", -1, "Дороги", Esc, mrCancel, -1, 1, 3},
        {"an empty text, Enter", -1, "", Enter, mrOk, -1, 1, 3},
        {"the text of a line, Enter", -1, "Рельеф", Enter, mrOk, 0, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TModalScript script;
        script.Then("TFormSelStrDialog", [&c](QWidget* w) {
            auto* form = static_cast<TFormSelStrDialog*>(w);
            form->ComboBox1->hidePopup();
            EXPECT_EQ(form->ComboBox1->currentIndex(), 1);
            if (c.choose >= 0)
                form->ComboBox1->setCurrentIndex(c.choose);
            else if (c.choose == -1)
                form->ComboBox1->setEditText(QString::fromUtf8(c.typed));
            c.act(w);
        });
        QStringList list{QStringLiteral("Рельеф"), QStringLiteral("Гидрография"),
                         QStringLiteral("Строения")};
        int index = 1;
        int added = -1;
        EXPECT_EQ(SelStrDialog(list, index, added, QStringLiteral("Новый слой"), QString()), c.result);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(added, c.added);
        EXPECT_EQ(list.size(), c.listSize);
    }
}

namespace {

// The list of a selection window drops open by itself, once the window is active.
QAbstractItemView* DroppedList(QWidget* w)
{
    QAbstractItemView* list = static_cast<TFormSelStrDialog*>(w)->ComboBox1->view();
    for (int i = 0; i < 500 && !list->isVisible(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return list;
}

void Type(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

}  // namespace

TEST_F(DialogsWindows, KeysOfTheDroppedListAndOfAPendingCompletion)
{
    // Guards a new name that could not be typed (keys sent to the open list only
    // searched its lines), and Enter or Esc that only closed the list or accepted a
    // completion instead of ending the window.
    struct Case {
        const char* name;
        std::function<void(QWidget*)> act;
        TModalResult result;
        int index, added, listSize;
    };
    const Case cases[] = {
        {"typing into the open list, Enter",
         [](QWidget* w) {
             QAbstractItemView* list = DroppedList(w);
             ASSERT_TRUE(list->isVisible());
             Type(QApplication::focusWidget(), QStringLiteral("Дороги"));
             EXPECT_FALSE(list->isVisible());
             EXPECT_EQ(static_cast<TFormSelStrDialog*>(w)->ComboBox1->currentText(),
                       QStringLiteral("Дороги"));
             Enter(w);
         },
         mrOk, 2, 1, 3},
        {"Enter on the open list takes the highlighted line",
         [](QWidget* w) {
             QAbstractItemView* list = DroppedList(w);
             ASSERT_TRUE(list->isVisible());
             list->setCurrentIndex(list->model()->index(0, 0));
             SendKey(QApplication::focusWidget(), Qt::Key_Return);
         },
         mrOk, 0, 0, 2},
        {"Esc on the open list",
         [](QWidget* w) {
             ASSERT_TRUE(DroppedList(w)->isVisible());
             SendKey(QApplication::focusWidget(), Qt::Key_Escape);
         },
         mrCancel, 1, 0, 2},
        {"Enter with a completion pending",
         [](QWidget* w) {
             auto* combo = static_cast<TFormSelStrDialog*>(w)->ComboBox1;
             DroppedList(w);
             combo->hidePopup();
             combo->lineEdit()->clear();
             Type(combo->lineEdit(), QStringLiteral("Ре"));
             EXPECT_EQ(combo->currentText(), QStringLiteral("Рельеф"));
             SendKey(combo->lineEdit(), Qt::Key_Return);
         },
         mrOk, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TModalScript script;
        script.Then("TFormSelStrDialog", c.act);
        QStringList list{QStringLiteral("Рельеф"), QStringLiteral("Гидрография")};
        int index = 1;
        int added = -1;
        EXPECT_EQ(SelStrDialog(list, index, added, QStringLiteral("Новый слой"), QString()),
                  c.result);
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(added, c.added);
        EXPECT_EQ(list.size(), c.listSize);
    }
}

TEST_F(DialogsWindows, SelectionWithFreeText)
{
    TModalScript script;
    script.Then("TFormSelStr2Dialog", [](QWidget* w) {
        auto* form = static_cast<TFormSelStr2Dialog*>(w);
        EXPECT_EQ(form->Edit1->text(), QStringLiteral("12"));
        form->Edit1->setText(QStringLiteral("15"));
        form->ComboBox1->setCurrentIndex(0);
        Esc(w);
    });
    QStringList list{QStringLiteral("бетон"), QStringLiteral("кирпич")};
    int index = 1;
    int added = -1;
    QString free = QStringLiteral("12");
    EXPECT_EQ(SelStr2Dialog(list, index, added, QString(), QString(), free), mrCancel);
    EXPECT_EQ(free, QStringLiteral("15"));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(added, 0);
}

TEST_F(DialogsWindows, ScaleFromButtonsAndTyping)
{
    {
        TModalScript script;
        script.Then("TFormInpScaleDialog", [](QWidget* w) {
            auto* form = static_cast<TFormInpScaleDialog*>(w);
            EXPECT_EQ(form->MaskEdit1->Text(), QStringLiteral("1:500    "));
            form->ScaleButtons.at(4)->click();   // "2000"
            EXPECT_EQ(form->MaskEdit1->Text(), QStringLiteral("1:2000   "));
            Enter(w);
        });
        int scale = 500;
        EXPECT_EQ(InpScaleDialog(scale, QStringLiteral("Ввод Масштаба"), QString()), mrOk);
        EXPECT_EQ(scale, 2000);
    }
    {
        TModalScript script;
        script.Then("TFormInpScaleDialog", [](QWidget* w) {
            static_cast<TFormInpScaleDialog*>(w)->MaskEdit1->SetText(QStringLiteral("1:1234567"));
            Esc(w);
        });
        int scale = 500;
        EXPECT_EQ(InpScaleDialog(scale, QString(), QString()), mrCancel);
        EXPECT_EQ(scale, 1234567);   // copied back whatever the result
    }
}

TEST_F(DialogsWindows, ScaleWithoutDigitsIsRefusedOnOk)
{
    TModalScript script;
    script.Then("TFormInpScaleDialog", [](QWidget* w) {
              static_cast<TFormInpScaleDialog*>(w)->MaskEdit1->SetText(QStringLiteral("1:"));
              Enter(w);   // refused: a message comes first
          })
        .Then("TFormShowMsgDialog", Enter)
        .Then("TFormInpScaleDialog", Esc);
    int scale = 500;
    EXPECT_EQ(InpScaleDialog(scale, QString(), QString()), mrCancel);
    EXPECT_EQ(scale, 500);
    EXPECT_TRUE(script.Done());
}

TEST_F(DialogsWindows, NomenclatureKeepsItsHyphen)
{
    TModalScript script;
    script.Then("TFormInpNomStr2000Dialog", [](QWidget* w) {
        auto* form = static_cast<TFormInpNomStr2000Dialog*>(w);
        EXPECT_EQ(form->MaskEdit1->Text(), QStringLiteral("012-А"));
        form->MaskEdit1->SetText(QStringLiteral("345б"));
        Enter(w);
    });
    QString value = QStringLiteral("012-А");
    EXPECT_EQ(InpNomStr2000Dialog(value, QString(), QString()), mrOk);
    EXPECT_EQ(value, QStringLiteral("345-Б"));
}

TEST_F(DialogsWindows, PolarWindowIsKeptWithItsChoices)
{
    Extended x = 0;
    Extended y = 0;
    {
        TModalScript script;
        script.Then("TFormInpPolarDialog", Enter);
        EXPECT_EQ(InpPolarDialog(0, 0, 100, 0, x, y), mrOk);
        EXPECT_NEAR(double(x), 0, 1e-9);
        EXPECT_NEAR(double(y), -10, 1e-9);
    }
    {
        TModalScript script;
        script.Then("TFormInpPolarDialog", [](QWidget* w) {
            auto* form = static_cast<TFormInpPolarDialog*>(w);
            form->RightAngle->setChecked(true);
            form->Distance->setText(QStringLiteral("20,5"));
            Esc(w);
        });
        EXPECT_EQ(InpPolarDialog(0, 0, 100, 0, x, y), mrCancel);
        EXPECT_NEAR(double(y), 20.5, 1e-9);   // computed whatever the result
    }
    {
        TModalScript script;
        script.Then("TFormInpPolarDialog", [](QWidget* w) {
            auto* form = static_cast<TFormInpPolarDialog*>(w);
            EXPECT_TRUE(form->RightAngle->isChecked());
            EXPECT_EQ(form->Distance->text(), QStringLiteral("20,5"));
            Enter(w);
        });
        EXPECT_EQ(InpPolarDialog(0, 0, 100, 0, x, y), mrOk);
        EXPECT_NEAR(double(x), 0, 1e-9);
        EXPECT_NEAR(double(y), 20.5, 1e-9);
    }
}

TEST_F(DialogsWindows, DeleteQuestion)
{
    const std::pair<TModalScript::TStep, TModalResult> cases[] = {
        {Enter, mrOk}, {Esc, mrCancel}, {CloseBox, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormQDelObjectsDialog", [act = act](QWidget* w) {
            auto* form = static_cast<TFormQDelObjectsDialog*>(w);
            EXPECT_EQ(form->ListBox1->count(), 2);
            act(w);
        });
        EXPECT_EQ(QDelObjectsDlg({QStringLiteral("Точка 1"), QStringLiteral("Линия 7")}), expected);
    }
}

TEST_F(DialogsWindows, DuplicateNameQuestion)
{
    struct Case {
        const char* name;
        bool rename;
        bool forAll;
        const char* edited;
        TModalScript::TStep act;
        TModalResult result;
        const char* nameAfter;
    };
    const Case cases[] = {
        {"add, Enter", false, false, "Лист 2", Enter, mrNo, "Лист 1"},
        {"add for all, Enter", false, true, "Лист 2", Enter, mrNoToAll, "Лист 1"},
        {"rename, Enter", true, false, "Лист 2", Enter, mrYes, "Лист 2"},
        // Esc still hands back the edited name; the reader asks again on 2.
        {"rename, Esc", true, false, "Лист 2", Esc, mrCancel, "Лист 2"},
        {"add, close box", false, true, "Лист 2", CloseBox, mrCancel, "Лист 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TModalScript script;
        script.Then("TFormDublicateItemDialog", [&c](QWidget* w) {
            auto* form = static_cast<TFormDublicateItemDialog*>(w);
            EXPECT_TRUE(form->AddTo->isChecked());
            EXPECT_FALSE(form->NameEdit->isEnabled());
            EXPECT_TRUE(form->ForAll->isEnabled());
            form->Rename->setChecked(c.rename);
            form->AddTo->setChecked(!c.rename);
            EXPECT_EQ(form->NameEdit->isEnabled(), c.rename);
            EXPECT_EQ(form->ForAll->isEnabled(), !c.rename);
            form->ForAll->setChecked(c.forAll);
            form->NameEdit->setText(QString::fromUtf8(c.edited));
            c.act(w);
        });
        QString name = QStringLiteral("Лист 1");
        EXPECT_EQ(DublicateItemDlg(name, QStringLiteral("Лист уже существует!"),
                                   QStringLiteral("Названия листов не должны повторяться. "
                                                  "выберете новое название:")),
                  c.result);
        EXPECT_EQ(name, QString::fromUtf8(c.nameAfter));
    }
}

TEST_F(DialogsWindows, DuplicateNameRefusesAnEmptyNewName)
{
    TModalScript script;
    script.Then("TFormDublicateItemDialog", [](QWidget* w) {
              auto* form = static_cast<TFormDublicateItemDialog*>(w);
              form->Rename->setChecked(true);
              form->NameEdit->clear();
              Enter(w);
          })
        .Then("TFormShowMsgDialog", Enter)
        .Then("TFormDublicateItemDialog", [](QWidget* w) {
            static_cast<TFormDublicateItemDialog*>(w)->NameEdit->setText(QStringLiteral("Новый"));
            Enter(w);
        });
    QString name = QStringLiteral("Слой");
    EXPECT_EQ(DublicateItemDlg(name, QString(), QString()), mrYes);
    EXPECT_EQ(name, QStringLiteral("Новый"));
}

TEST_F(DialogsWindows, DuplicateNameHeightRule)
{
    TFormDublicateItemDialog one(QString(), QString(), QStringLiteral("одна строка"));
    EXPECT_EQ(one.height(), MessageWindowHeight(1, one.TextHeight(), 100));
    EXPECT_EQ(one.width(), 413);
}

namespace {

// The user selects the whole text of a masked edit and types over it.
void TypeOver(TMaskEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// The sheet code "12", typed over the nomenclature window's edit.
void TypeShortCode(QWidget* w)
{
    TypeOver(static_cast<TFormInpNomStr2000Dialog*>(w)->MaskEdit1, QStringLiteral("12"));
}

}  // namespace

// Guards typed digits taken for the fixed "1:": "1500" typed over the selected text gave
// 1:500, "1000" was refused as invalid and "1234567" gave 234567.
TEST_F(DialogsWindows, TypedDigitsAreTheDenominator)
{
    struct Case {
        const char* typed;
        int scale;
    };
    const Case cases[] = {{"1500", 1500}, {"1000", 1000}, {"1234567", 1234567}, {"250", 250}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TModalScript script;
        script.Then("TFormInpScaleDialog", [&c](QWidget* w) {
            TypeOver(static_cast<TFormInpScaleDialog*>(w)->MaskEdit1, QString::fromLatin1(c.typed));
            Enter(w);   // no message: the scale is valid
        });
        int scale = 500;
        EXPECT_EQ(InpScaleDialog(scale, QStringLiteral("Ввод Масштаба"), QString()), mrOk);
        EXPECT_EQ(scale, c.scale);
    }
}

// Guards an incomplete sheet code accepted with OK: "12" came back as "12 - ".
TEST_F(DialogsWindows, NomenclatureRefusesAnIncompleteCode)
{
    TModalScript script;
    script.Then("TFormInpNomStr2000Dialog", [](QWidget* w) {
              TypeShortCode(w);
              Enter(w);   // refused: a message comes first
          })
        .Then("TFormShowMsgDialog", Enter)
        .Then("TFormInpNomStr2000Dialog", [](QWidget* w) {
            auto* form = static_cast<TFormInpNomStr2000Dialog*>(w);
            EXPECT_EQ(w->focusWidget(), form->MaskEdit1);
            QTest::keyClick(form->MaskEdit1, Qt::Key_3);
            SendKey(form->MaskEdit1, 0, Qt::NoModifier, QStringLiteral("б"));   // past the fixed "-"
            Enter(w);
        });
    QString value;
    EXPECT_EQ(InpNomStr2000Dialog(value, QStringLiteral("Номенклатура"), QString()), mrOk);
    EXPECT_EQ(value, QStringLiteral("123-Б"));
}

TEST_F(DialogsWindows, NomenclatureCancelledIncompleteComesBackAsTyped)
{
    TModalScript script;
    script.Then("TFormInpNomStr2000Dialog", [](QWidget* w) {
        TypeShortCode(w);
        Esc(w);
    });
    QString value = QStringLiteral("012-А");
    EXPECT_EQ(InpNomStr2000Dialog(value, QString(), QString()), mrCancel);
    EXPECT_EQ(value, QStringLiteral("12 - "));
}

// Guards a message of many lines whose window grew past the screen, its button below
// the screen's edge.
TEST_F(DialogsWindows, MessageTallerThanTheScreenScrollsAboveItsControls)
{
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("Объект %1 не найден в классификаторе").arg(i);
    const QString text = lines.join(QStringLiteral("\r\n"));
    TFormShowMsgDialog message(QStringLiteral("Сообщение"), text);
    TFormInpStrDialog input(QString(), QStringLiteral("Ввод"), text);
    const int screen = QGuiApplication::primaryScreen()->availableGeometry().height();
    struct Case {
        const char* name;
        TMessageWindow* window;
        QWidget* lowest;   // the control that must stay on the window
        QWidget* highest;  // the control the text must end above
    };
    const Case cases[] = {{"message", &message, message.Button1, message.Button1},
                          {"text input", &input, input.Button1, input.Edit1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMessageWindow& w = *c.window;
        EXPECT_LT(w.height(), screen);
        EXPECT_GT(w.height(), screen / 2);
        EXPECT_LE(c.lowest->geometry().bottom(), w.height());
        EXPECT_LE(w.Memo1->geometry().bottom(), c.highest->geometry().top());
        w.show();
        QScrollBar* bar = w.Memo1->verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0);   // the text scrolls to its last line
        bar->setValue(bar->maximum());
        EXPECT_TRUE(w.Memo1->cursorForPosition(QPoint(5, w.Memo1->viewport()->height() - 5))
                        .block()
                        .text()
                        .contains(QStringLiteral("Объект 200 ")));
        w.hide();
    }
}

// Guards a later window made the child of one that had closed but was still reported
// active: dropping the kept polar window then freed the running window with it.
TEST_F(DialogsWindows, AClosedWindowOwnsNoLaterWindow)
{
    TModalScript script;
    script.Then("TFormInpPolarDialog", Enter);
    Extended x = 0;
    Extended y = 0;
    EXPECT_EQ(InpPolarDialog(0, 0, 100, 0, x, y), mrOk);
    QWidget* owner = DialogOwner();
    EXPECT_TRUE(!owner || owner->isVisible()) << owner->metaObject()->className();
}
