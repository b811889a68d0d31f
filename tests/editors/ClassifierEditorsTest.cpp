// The three classifier editor pages as the user drives them on a copy of the classifier:
// the standard classifier, the work semantics and the extended value lists. The files
// the pages write are the oracle; a cancelled step leaves them byte for byte as they were.
#include "controls/ExCheckListBox.h"
#include "controls/TextListBox.h"
#include "editors/EditorDialogs.h"
#include "editors/classifier/TabRows.h"
#include "editors/classifier/UnitSemDialog.h"
#include "foundation/ServDialogs.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace {

// One answer of the masked input window: the texts typed and the button.
struct TTyped {
    QString Code;
    QString Name;
    int Result = mrOk;
};

// One opening of the masked input window as the page opened it.
struct TAsked {
    QString Caption;
    QString Mask;
    QString Code;
    QString Name;
};

class ClassifierEditors : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateFormSemDialog();
        Form = FormSemDialog();
        DialogHooks().ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << (text.isEmpty() ? caption : caption + QStringLiteral(" / ") + text);
            if (Answers.empty())
                return int(mrOk);
            const int a = Answers.front();
            Answers.pop_front();
            return a;
        };
        DialogHooks().InpStr2 = [this](QString& masked, QString& free, const QString& caption,
                                       const QString&, const QString& mask) {
            Asked.push_back({caption, mask, masked, free});
            if (Typed.empty())
                return int(mrCancel);
            const TTyped t = Typed.front();
            Typed.pop_front();
            masked = t.Code;
            free = t.Name;
            return t.Result;
        };
        DialogHooks().SelStr = [this](const QStringList& list, TSelection& s, const QString& caption,
                                      const QString&) {
            Offered << caption;
            OfferedPreselection = s.Index;
            s.Index = PickIndex >= 0 ? PickIndex : Pick.isEmpty() ? -1 : int(list.indexOf(Pick));
            s.Typed = TypedText;
            return PickResult;
        };
        EditorDialogHooks().NewWrkSemDlg = [this](QString& standard, const QString& decoding,
                                                  QString& name, const QString& caption) {
            Namings << caption + QStringLiteral(" / ") + standard;
            NamedDecoding = decoding;
            if (NameResults.empty())
                return int(mrCancel);
            const int r = NameResults.front();
            NameResults.pop_front();
            name = NewName;
            return r;
        };
    }
    void TearDown() override { FreeFormSemDialog(); }

    QString File(const QString& name) const
    {
        return Run.Folder() + QStringLiteral("Семантика/") + name;
    }
    QByteArray Bytes(const QString& name) const { return FileBytes(File(name)); }
    // The bytes the classifier's writer gives for lines.
    QByteArray Encoded(const QStringList& lines) const
    {
        return EncodeTextFileLines(File(QStringLiteral("x.wri")), lines);
    }
    // Every file of the classifier folder with its bytes.
    std::map<QString, QByteArray> Folder() const
    {
        std::map<QString, QByteArray> files;
        for (const QString& name : QDir(Run.Folder() + QStringLiteral("Семантика")).entryList(QDir::Files))
            files[name] = Bytes(name);
        return files;
    }

    int Dlg(int smode, int& lmode, QString& sem, const std::function<void(TFormSemDialog*)>& act)
    {
        TModalScript script;
        script.Then("TFormSemDialog", [act](QWidget* w) { act(static_cast<TFormSemDialog*>(w)); });
        return SemDlg(smode, lmode, sem);
    }
    int Dlg(int smode, const std::function<void(TFormSemDialog*)>& act)
    {
        int lmode = lmPoint;
        QString sem;
        return Dlg(smode, lmode, sem, act);
    }

    static QStringList Lines(const QListWidget* list)
    {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    static void Select(QListWidget* list, int row)
    {
        list->setFocus();
        list->clearSelection();
        list->item(row)->setSelected(true);
    }
    // The review pictures, written where VELMORA_PNG_DIR says.
    static void SaveReview(QWidget* w, const char* name)
    {
        const QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
        QApplication::processEvents();
        if (!dir.isEmpty())
            w->grab().save(dir + u'/' + QString::fromLatin1(name));
    }

    TTestRun Run{{QStringLiteral("Семантика")}};
    TScopedSemDialogHooks SemHooks;
    TScopedDialogHooks Dialogs;
    TScopedEditorDialogHooks EditorHooks;
    TFormSemDialog* Form = nullptr;

    QStringList Messages;
    std::deque<int> Answers;       // to the message window; OK when none is left
    std::deque<TTyped> Typed;      // to the masked input; cancel when none is left
    std::vector<TAsked> Asked;
    QStringList Offered;           // captions of the choice windows
    int OfferedPreselection = -2;
    QString Pick;                  // the line chosen by its text
    int PickIndex = -1;            // ... or by its number when 0 or more
    QString TypedText;
    int PickResult = mrOk;
    QStringList Namings;
    QString NamedDecoding;
    std::deque<int> NameResults;   // cancel when none is left
    QString NewName;
};

const QString Punkt = QStringLiteral("Пункт съемочного обоснования");

// Typing as a keyboard layout gives it: one key event per character, carrying its text.
void Type(QWidget* target, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &release);
    }
}

// ---- Standard classifier editor ----

TEST_F(ClassifierEditors, StandardObjectAddAndChangeCheckWhatIsTypedAndAskAgain)
{
    struct Case {
        bool change;     // "Изменить название и код…" on "Пикет", else "Добавить объект"
        TTyped typed;
        QStringList messages;   // empty: accepted at once
        QString shown;          // the box afterwards
    };
    const QString tooShort = QStringLiteral("Код объекта должен состоять из 3-х символов!");
    const QString exists = QStringLiteral("Объект уже существует!");
    const QString noName = QStringLiteral("Описание объекта не заполнено!");
    const Case cases[] = {
        {false, {"ОГ", "ограда"}, {tooShort}, ""},
        {false, {"ТОЧ", "ещё точка"}, {exists}, ""},
        {false, {"ЖЖЖ", ""}, {noName}, ""},
        {false, {"ТО", ""}, {tooShort, noName}, ""},
        {false, {"ЖЁЖ", "новый объект"}, {}, "НОВЫЙ ОБЪЕКТ"},
        // A change takes the same checks; its own code may stay, its name keeps its case.
        {true, {"ПК", "Пикет"}, {tooShort}, "Пикет"},
        {true, {"ТОЧ", "Пикет"}, {exists}, "Пикет"},
        {true, {"ПКТ", ""}, {noName}, "Пикет"},
        {true, {"ПКТ", "Пикет высотный"}, {}, "Пикет высотный"},
        {true, {"ПКЖ", "Пикет"}, {}, "Пикет"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.Code.toStdString() + " " + c.typed.Name.toStdString());
        Messages.clear();
        Asked.clear();
        Typed = {c.typed};   // a reopened window is cancelled
        const int objects = Form->Codec().SemStandarts.GetCount();
        Dlg(3, [&](TFormSemDialog* w) {
            EXPECT_FALSE(w->sbSaveSTD->isEnabled());
            if (c.change) {
                w->cbEdtStdObj->setCurrentIndex(w->cbEdtStdObj->findText(QStringLiteral("Пикет")));
                w->sbEditStdObj->click();
            } else {
                w->sbAddObjStd->click();
            }
            EXPECT_EQ(w->cbEdtStdObj->currentText(), c.shown);
            EXPECT_EQ(w->sbSaveSTD->isEnabled(), c.messages.isEmpty());
            Esc(w);
        });
        EXPECT_EQ(Messages, c.messages);
        ASSERT_EQ(Asked.size(), c.messages.isEmpty() ? 1u : 2u);
        EXPECT_EQ(Asked[0].Mask, QStringLiteral(">lll;0;*"));
        EXPECT_EQ(Asked[0].Caption, c.change ? QStringLiteral("Изменение объекта стандартной семантики")
                                             : QStringLiteral("Новый объект стандартной семантики"));
        EXPECT_EQ(Asked[0].Code, c.change ? QStringLiteral("ПКТ") : QString());
        if (!c.messages.isEmpty()) {   // opened again with what was typed
            EXPECT_EQ(Asked[1].Code, c.typed.Code);
            EXPECT_EQ(Asked[1].Name, c.typed.Name);
        }
        EXPECT_EQ(Form->Codec().SemStandarts.GetCount(),
                  objects + (!c.change && c.messages.isEmpty() ? 1 : 0));
        if (!c.messages.isEmpty())
            continue;
        TSemCodec& codec = Form->Codec();
        const QString code = c.typed.Code.toUpper();
        ASSERT_TRUE(codec.findObj(code));
        EXPECT_EQ(codec.SemStandarts.Item->ObjName, c.shown);
        // Put "Пикет" back for the next case.
        codec.SemStandarts.Item->ObjCode = c.change ? QStringLiteral("ПКТ") : code;
        codec.SemStandarts.Item->ObjName = c.change ? QStringLiteral("Пикет") : c.shown;
    }
}

TEST_F(ClassifierEditors, StandardPropertyAddAndChangeCheckTheCodeInItsGroup)
{
    struct Case {
        bool change;   // "Изменить выделенное свойство" on "(  11) пункт съемочной сети"
        TTyped typed;
        QStringList messages;
        QStringList fList;   // the Ф list afterwards
    };
    const QString tooShort = QStringLiteral("Код свойства должен состоять из 3-х символов!");
    const QString exists = QStringLiteral("Объект уже существует!");
    const QString noText = QStringLiteral("Описание свойства не заполнено!");
    const QStringList shipped = {QStringLiteral("( 11) пункт съемочной сети"),
                                 QStringLiteral("( 12) пункт полигонометрии")};
    const Case cases[] = {
        {false, {"", "пункт"}, {tooShort}, shipped},
        {false, {"12", ""}, {tooShort, noText}, shipped},
        {false, {"012", "ещё"}, {exists}, shipped},
        {false, {"007", "пункт триангуляции"}, {}, shipped + QStringList{"(  7) пункт триангуляции"}},
        {true, {"12", "сеть"}, {tooShort}, shipped},
        {true, {"012", "сеть"}, {exists}, shipped},
        {true, {"011", ""}, {noText}, shipped},
        {true, {"013", "сеть"}, {}, {"( 13) сеть", "( 12) пункт полигонометрии"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.Code.toStdString() + " " + c.typed.Name.toStdString());
        Messages.clear();
        Asked.clear();
        Typed = {c.typed};
        Dlg(3, [&](TFormSemDialog* w) {
            w->cbEdtStdObj->setCurrentIndex(w->cbEdtStdObj->findText(Punkt));
            EXPECT_EQ(Lines(w->lbEdtStdF), shipped);
            if (c.change) {
                Select(w->lbEdtStdF, 0);
                w->sbEdtSemStd->click();
            } else {
                w->lbEdtStdF->setFocus();
                w->sbAddSemStd->click();
            }
            EXPECT_EQ(Lines(w->lbEdtStdF), c.fList);
            Esc(w);
        });
        EXPECT_EQ(Messages, c.messages);
        ASSERT_EQ(Asked.size(), c.messages.isEmpty() ? 1u : 2u);
        EXPECT_EQ(Asked[0].Mask, QStringLiteral(">999;0;*"));
        EXPECT_EQ(Asked[0].Caption, c.change ? QStringLiteral("Изменение свойства Ф объекта стандартной семантики")
                                             : QStringLiteral("Новое свойство Ф объекта стандартной семантики"));
        EXPECT_EQ(Asked[0].Code, c.change ? QStringLiteral("011") : QString());
        if (!c.messages.isEmpty()) {
            EXPECT_EQ(Asked[1].Code, c.typed.Code);
            EXPECT_EQ(Asked[1].Name, c.typed.Name);
        }
        // The next case starts from the shipped classifier.
        Form->Codec().LoadStandartBase();
    }
}

TEST_F(ClassifierEditors, StandardPropertyStepsNeedAListAndAnObject)
{
    Dlg(3, [&](TFormSemDialog* w) {
        w->cbEdtStdObj->setFocus();
        w->sbAddSemStd->click();
        w->sbEdtSemStd->click();
        w->sbDelSemStd->click();
        // A list but no object in the box: nothing is added anywhere.
        w->lbEdtStdN->setFocus();
        Typed = {{"001", "свойство"}};
        w->sbAddSemStd->click();
        EXPECT_TRUE(Asked.empty());
        EXPECT_FALSE(w->sbSaveSTD->isEnabled());
        Esc(w);
    });
    EXPECT_EQ(Messages,
              (QStringList{"Список свойств не выбран! / Прежде чем добавлять свойство, выберете "
                           "соответствующий список (Ф,К,Н)",
                           "Свойство не выбрано! / Прежде чем изменять свойство его нужно выбрать",
                           "Список свойств не выбран! / Прежде чем удалять свойство, выберете "
                           "соответствующий список (Ф,К,Н)"}));
}

// The delete of an Н property that is not the first, then OK writes the classifier: the
// shipped file without those two lines. Esc instead leaves the file and keeps the edit.
TEST_F(ClassifierEditors, DeletedPropertyReachesTheFileOnlyOnOk)
{
    const QByteArray shipped = Bytes(QStringLiteral("ФКН.wri"));
    QByteArray expected = shipped;
    const QByteArray gone = Encoded({QStringLiteral("022"), QStringLiteral("временный")});
    ASSERT_TRUE(expected.contains(gone));
    expected.replace(expected.indexOf(gone), gone.size(), QByteArray());

    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        Form->Codec().LoadStandartBase();
        Messages.clear();
        Dlg(3, [&](TFormSemDialog* w) {
            w->cbEdtStdObj->setCurrentIndex(w->cbEdtStdObj->findText(Punkt));
            // A click in one list clears the selection of the others.
            w->lbEdtStdF->item(0)->setSelected(true);
            QTest::mouseClick(w->lbEdtStdN->viewport(), Qt::LeftButton, {},
                              w->lbEdtStdN->visualItemRect(w->lbEdtStdN->item(1)).center());
            EXPECT_TRUE(w->lbEdtStdF->selectedItems().isEmpty());
            Select(w->lbEdtStdN, 1);
            w->lbEdtStdK->setCurrentRow(-1);
            w->sbDelSemStd->click();
            EXPECT_EQ(Lines(w->lbEdtStdN), QStringList{"( 21) закрепленный на местности"});
            EXPECT_TRUE(w->sbSaveSTD->isEnabled());
            SaveReview(w, "classifier-standard-editor.png");
            ok ? w->BitBtnOK->click() : Esc(w);
        });
        EXPECT_EQ(Messages, QStringList{"Свойство будет удалено! / Выбранное свойство Н будет "
                                        "удалено.\rДалее - Enter,Готово;\rОтмена - Esc, закрыть окно"});
        EXPECT_EQ(Bytes(QStringLiteral("ФКН.wri")), ok ? expected : shipped);
        TSemCodec& codec = Form->Codec();
        ASSERT_TRUE(codec.findObj(QStringLiteral("ПУН")));
        EXPECT_EQ(codec.SemStandarts.Item->NList.GetCount(), 1);   // in memory either way
    }
}

TEST_F(ClassifierEditors, DeletedObjectEmptiesTheBoxAndAnsweredNoKeepsIt)
{
    for (const int answer : {int(mrCancel), int(mrOk)}) {
        SCOPED_TRACE(answer);
        Answers = {answer};
        Dlg(3, [&](TFormSemDialog* w) {
            w->cbEdtStdObj->setCurrentIndex(w->cbEdtStdObj->findText(Punkt));
            w->sbDelStdObj->click();
            EXPECT_EQ(w->cbEdtStdObj->currentText(), QString());
            for (QListWidget* list : {w->lbEdtStdF, w->lbEdtStdK, w->lbEdtStdN})
                EXPECT_EQ(list->count(), 0);
            EXPECT_TRUE(w->sbSaveSTD->isEnabled());
            w->sbSaveSTD->click();
            EXPECT_FALSE(w->sbSaveSTD->isEnabled());
            Esc(w);
        });
        EXPECT_EQ(Form->Codec().findObj(QStringLiteral("ПУН")), answer != mrOk);
        EXPECT_EQ(Bytes(QStringLiteral("ФКН.wri")).contains(Encoded({Punkt})), answer != mrOk);
    }
}

// ---- Work semantics editor ----

// A work object made through the standard choice and the naming window, with a material:
// yes to the question on "Готово" writes ТОЧСЕМ.wri with the object appended and no
// other file changed; no writes nothing, and the object still serves the work choice.
TEST_F(ClassifierEditors, NewWorkObjectIsSavedOnlyWhenTheUserSaysSo)
{
    const auto shipped = Folder();
    const QString name = QStringLiteral("ПУНКТ ПОЛИГОНОМЕТРИИ");
    for (const bool save : {false, true}) {
        SCOPED_TRACE(save);
        Namings.clear();
        Messages.clear();
        NameResults = {1};
        NewName = name;
        Pick = QStringLiteral("бетон");
        Answers = {save ? int(mrOk) : int(mrCancel)};
        int lmode = lmPoint;
        QString sem;
        const int result = Dlg(2, lmode, sem, [&](TFormSemDialog* w) {
            EXPECT_EQ(w->cbObj->currentIndex(), 0);
            EXPECT_EQ(w->pcSelectSem2->currentWidget(), w->tsEditWrk);
            w->sbAddWrkObj->click();
            EXPECT_EQ(w->Mode, 6);
            EXPECT_EQ(w->pcMain->currentWidget(), w->tsSelect);
            EXPECT_EQ(w->Panel1->text(), QStringLiteral("Выбор стандартной семантики для рабочей"));
            EXPECT_EQ(w->ComboBoxObject->currentText(), QString());
            w->ComboBoxObject->setCurrentIndex(w->ComboBoxObject->findText(Punkt));
            w->F_List->SetItemChecked(1, true);
            w->CheckListClick(w->F_List);
            w->BitBtnOK->click();
            EXPECT_EQ(w->Mode, 2);
            EXPECT_EQ(w->Panel1->text(), QStringLiteral("Редактор рабочей семантики"));
            EXPECT_EQ(w->pcMain->currentWidget(), w->tsEdit);
            EXPECT_EQ(w->cbObj->currentText(), name);
            EXPECT_EQ(w->mStdDecode->toPlainText(), NamedDecoding.toLower());
            EXPECT_TRUE(w->sbSaveWrkObj->isEnabled());
            w->AddButtons2[seM]->click();
            EXPECT_EQ(Lines(w->lbWorkSemSv2), QStringList{"Материал : бетон"});
            SaveReview(w, "classifier-work-editor.png");
            w->BitBtnOK->click();
        });
        EXPECT_EQ(result, mrOk);
        EXPECT_EQ(Namings, QStringList{"Новый объект рабочей семантики / ПУН/Ф012"});
        EXPECT_EQ(Offered.last(), QStringLiteral("Добавить свойство: Материал"));
        EXPECT_EQ(OfferedPreselection, 0);
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Изменения не сохранены! / Если не сохранить")));
        auto expected = shipped;
        if (save)
            expected[QStringLiteral("ТОЧСЕМ.wri")] +=
                Encoded({"*", name, "ПУН/Ф012", "М", "002"});
        EXPECT_EQ(Folder(), expected);

        // The object serves the work choice in the same run.
        QString chosen = QStringLiteral("ПУН/Ф012");
        Dlg(1, lmode, chosen, [&](TFormSemDialog* w) {
            EXPECT_EQ(w->cbWorkSemObj->currentText(), name);
            Esc(w);
        });
        if (!save) {   // the next round starts from the files
            Form->Codec().LoadWorkBase();
            Form->sbSaveWrkObj->setEnabled(false);
        }
    }
}

// A change passes the standard choice in mode 7; "Выбрать" in the naming window goes back
// there and keeps it a change; the object keeps its allowed entries.
TEST_F(ClassifierEditors, ChangedWorkObjectStaysAChangeThroughChoose)
{
    const QString old = QStringLiteral("Точка теодолитного хода");
    NameResults = {4, 1};
    NewName = QStringLiteral("ТОЧКА ПОСТРОЕНИЯ ХОДА");
    const int objects = Form->Codec().SemWorks[lmPoint].GetCount();
    Dlg(2, [&](TFormSemDialog* w) {
        w->cbObj->setCurrentIndex(w->cbObj->findText(old));
        const QStringList entries = Lines(w->lbWorkSemSv2);
        ASSERT_EQ(entries.size(), 1);
        EXPECT_TRUE(entries[0].startsWith(QStringLiteral("Номер")));
        w->sbEdtWrkObj->click();
        EXPECT_EQ(w->Mode, 7);
        EXPECT_EQ(w->ComboBoxObject->currentText(), QStringLiteral("Точка"));
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ТОЧ/Ф010"));
        w->BitBtnOK->click();                       // "Выбрать"
        EXPECT_EQ(w->Mode, 7);
        EXPECT_EQ(w->pcMain->currentWidget(), w->tsSelect);
        w->F_List->SetItemChecked(0, false);
        w->F_List->SetItemChecked(1, true);
        w->CheckListClick(w->F_List);
        w->BitBtnOK->click();
        EXPECT_EQ(w->Mode, 2);
        EXPECT_EQ(w->cbObj->currentText(), NewName);
        EXPECT_EQ(Lines(w->lbWorkSemSv2), entries);
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ТОЧ/Ф500"));
        Esc(w);
    });
    EXPECT_EQ(Namings, (QStringList{"Изменить объект рабочей семантики / ТОЧ/Ф010",
                                    "Изменить объект рабочей семантики / ТОЧ/Ф500"}));
    TSemCodec& codec = Form->Codec();
    EXPECT_EQ(codec.SemWorks[lmPoint].GetCount(), objects);
    EXPECT_FALSE(codec.WorkToStd(lmPoint, old));
    ASSERT_TRUE(codec.WorkToStd(lmPoint, NewName));
    EXPECT_EQ(codec.SemWorks[lmPoint].Item->Semantics, QStringLiteral("ТОЧ/Ф500"));
}

TEST_F(ClassifierEditors, WorkEntriesAreChosenOnTheValueListsThemselves)
{
    const QString pile = QStringLiteral("Пикет");
    Dlg(2, [&](TFormSemDialog* w) {
        w->cbObj->setCurrentIndex(w->cbObj->findText(pile));
        const QStringList shipped = Lines(w->lbWorkSemSv2);
        ASSERT_EQ(shipped.size(), 2);   // ИН and ИВ

        // A text typed and confirmed joins the materials list, nothing else.
        Pick.clear();
        TypedText = QStringLiteral("пластик");
        w->AddButtons2[seM]->click();
        EXPECT_EQ(Form->Codec().SL[seM].last(), QStringLiteral("пластик"));
        EXPECT_EQ(Lines(w->lbWorkSemSv2), shipped);
        EXPECT_FALSE(w->sbSaveWrkObj->isEnabled());
        // Line 0 of the states list adds nothing.
        TypedText.clear();
        PickIndex = 0;
        w->AddButtons2[seS]->click();
        EXPECT_EQ(Lines(w->lbWorkSemSv2), shipped);
        PickIndex = -1;

        // An extended kind offers its value list with line 0 for no value; a change
        // preselects the entry's line and keeps its place.
        Pick = QStringLiteral("диаметр ствола");
        w->AddButtons2[seGR]->click();
        EXPECT_EQ(Offered.last(), QStringLiteral("Добавить свойство: Диаметр"));
        EXPECT_EQ(Lines(w->lbWorkSemSv2).last(), QStringLiteral("Диаметр,  диаметр ствола"));
        Select(w->lbWorkSemSv2, 2);
        Pick.clear();
        PickIndex = 0;
        w->sbEditItem02->click();
        EXPECT_EQ(OfferedPreselection, 2);
        EXPECT_EQ(Offered.last(), QStringLiteral("Изменить свойство: Диаметр"));
        EXPECT_EQ(Lines(w->lbWorkSemSv2).last(), QStringLiteral("Диаметр"));
        PickIndex = -1;
        // A line no work file can store (a list index has two digits) is refused.
        Form->Codec().SL[seGR] << QStringList(100, QStringLiteral("диаметр"));
        PickIndex = 100;
        w->AddButtons2[seGR]->click();
        EXPECT_TRUE(Messages.last().startsWith(QStringLiteral("Свойство рабочей семантики вне диапазона! / "
                                                              "Строка 100 списка значений")));
        EXPECT_EQ(w->lbWorkSemSv2->count(), 3);
        PickIndex = -1;
        Select(w->lbWorkSemSv2, 2);
        w->sbDelItem02->click();
        EXPECT_TRUE(w->sbSaveWrkObj->isEnabled());
        w->sbSaveWrkObj->setEnabled(false);
        Form->Codec().SL[seGR] = Form->Codec().SL[seGR].mid(0, 3);

        // Changing an extended entry offers its line; a list of fewer than two lines only
        // says that it has no values to choose.
        Form->Codec().SL[seIN] = QStringList{QString()};
        Select(w->lbWorkSemSv2, 0);
        w->sbEditItem02->click();
        EXPECT_TRUE(Messages.contains(QStringLiteral("В выбранном свойстве отсутствуют варианты значений / "
                                                     "Выбранное свойство не содержит вариантов значений; "
                                                     "его можно только удалить")));
        w->AddButtons2[seIN]->click();   // added without asking, index 0
        EXPECT_EQ(w->lbWorkSemSv2->count(), 3);
        EXPECT_TRUE(w->sbSaveWrkObj->isEnabled());
        w->sbSaveWrkObj->click();
        EXPECT_FALSE(w->sbSaveWrkObj->isEnabled());

        // Deleting one entry enables the save button.
        Select(w->lbWorkSemSv2, 2);
        w->sbDelItem02->click();
        EXPECT_EQ(w->lbWorkSemSv2->count(), 2);
        EXPECT_TRUE(w->sbSaveWrkObj->isEnabled());
        w->sbDelAll02->click();
        EXPECT_EQ(w->lbWorkSemSv2->count(), 0);
        EXPECT_FALSE(w->sbEditItem02->isEnabled());
        Answers = {mrCancel};   // the question on "Готово": not saved
        w->BitBtnOK->click();
    });
    EXPECT_TRUE(Offered.contains(QStringLiteral("Добавить свойство: Материал")));
    // Saved once, with the typed material and the ИН list as it stood.
    EXPECT_EQ(Bytes(QStringLiteral("ИН.wri")), Encoded({QString()}));
    EXPECT_TRUE(Bytes(QStringLiteral("М.wri")).endsWith(Encoded({QStringLiteral("пластик")})));
}

TEST_F(ClassifierEditors, WorkObjectStepsWithoutAnObjectSaySoAndDeleteAsks)
{
    Dlg(2, [&](TFormSemDialog* w) {
        w->cbObj->setEditText(QStringLiteral("НЕТ ТАКОГО"));
        w->sbEdtWrkObj->click();
        EXPECT_EQ(w->Mode, 2);
        w->cbObj->setEditText(QString());
        w->sbEdtWrkObj->click();
        w->lbWorkSemSv2->clearSelection();
        w->sbEditItem02Click();

        const int objects = Form->Codec().SemWorks[lmPoint].GetCount();
        w->cbObj->setCurrentIndex(w->cbObj->findText(QStringLiteral("Пикет")));
        Answers = {mrCancel, mrOk};
        w->sbDelWrkObj->click();
        EXPECT_EQ(Form->Codec().SemWorks[lmPoint].GetCount(), objects);
        EXPECT_TRUE(w->sbSaveWrkObj->isEnabled());
        w->cbObj->setCurrentIndex(w->cbObj->findText(QStringLiteral("Пикет")));
        w->sbDelWrkObj->click();
        EXPECT_EQ(Form->Codec().SemWorks[lmPoint].GetCount(), objects - 1);
        EXPECT_EQ(w->cbObj->findText(QStringLiteral("Пикет")), -1);
        EXPECT_EQ(w->cbObj->currentIndex(), 0);
        Esc(w);
    });
    const QString none = QStringLiteral("Не выбран объект! / Чтобы изменить свойства объекта, необходимо его выбрать");
    ASSERT_GE(Messages.size(), 4);
    EXPECT_EQ(Messages[0], none);
    EXPECT_EQ(Messages[1], none);
    EXPECT_EQ(Messages[2], QStringLiteral("Не выбран элемент! / Для изменения элемента списка "
                                          "необходимо сначала выбрать этот элемент"));
    EXPECT_EQ(Messages[3], QStringLiteral("Подтверждение / Выбранный объект рабочей семантики "
                                          "(Пикет) будет удален!\rEnter, Готово - удалить;\r"
                                          "Esc, закрыть - отмена"));
}

TEST_F(ClassifierEditors, KindWithoutWorkObjectsOffersNoAddButtons)
{
    Form->Codec().SemWorks[lmLine].DeleteAll();
    Dlg(2, [&](TFormSemDialog* w) {
        EXPECT_TRUE(w->AddButtons2[seM]->isEnabled());
        w->rbLine02->click();
        EXPECT_EQ(w->Localisation, lmLine);
        EXPECT_EQ(w->cbObj->count(), 0);
        EXPECT_EQ(w->lbWorkSemSv2->count(), 0);
        EXPECT_TRUE(w->mStdDecode->toPlainText().isEmpty());
        for (QToolButton* b : w->AddButtons2)
            EXPECT_FALSE(b->isEnabled());
        Esc(w);
    });
}

// The decoding of a semantics without a work object asks, opens mode 5 and, once the
// object is named there, finds it and asks no more.
TEST_F(ClassifierEditors, DecodingNamesTheUnknownObjectOnceAndAsksNoMore)
{
    std::uint8_t ask = 1;
    Form->Services->AskUnknownWorkSem = &ask;
    NameResults = {1};
    NewName = QStringLiteral("ПУНКТ ВРЕМЕННЫЙ");
    Answers = {mrOk, mrCancel};   // add to the classifier: yes; save on "Готово": no
    TModalScript script;
    script.Then("TFormSemDialog", [&](QWidget* window) {
        auto* w = static_cast<TFormSemDialog*>(window);
        EXPECT_EQ(w->Mode, 6);
        w->BitBtnOK->click();
        EXPECT_EQ(w->Mode, 2);
        EXPECT_EQ(w->cbObj->currentText(), NewName);
        w->BitBtnOK->click();
    });
    QString text;
    DecodeSem(lmPoint, QStringLiteral("ПУН/Н022;М002"), text);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(text, NewName + QStringLiteral("; Материал : бетон")) << text.toStdString();
    EXPECT_EQ(Namings, QStringList{"Новый объект рабочей семантики / ПУН/Н022"});
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Неизвестный объект рабочей семантики")));

    Messages.clear();
    DecodeSem(lmPoint, QStringLiteral("ПУН/Н022"), text);
    EXPECT_EQ(text, NewName);
    EXPECT_TRUE(Messages.isEmpty());
}

// ---- Extended value lists editor ----

TEST_F(ClassifierEditors, ValueListIsSavedAsAnEmptyLineZeroAndTheMemoLines)
{
    const QByteArray diameters = Bytes(QStringLiteral("ГР.wri"));
    Dlg(4, [&](TFormSemDialog* w) {
        EXPECT_EQ(w->pcSelExt->currentIndex(), 0);
        EXPECT_EQ(w->pcSelExt->tabText(11), QStringLiteral("Грузоподьемность (ТГ)"));
        EXPECT_FALSE(w->mExt->toPlainText().startsWith(u'\n'));
        EXPECT_FALSE(w->sbSaveExt->isEnabled());
        // Two materials where there were eight: the question on changed codes, then saved.
        w->mExt->setPlainText(QStringLiteral("кирпич\nбетон"));
        EXPECT_TRUE(w->sbSaveExt->isEnabled());
        w->sbSaveExt->click();
        EXPECT_TRUE(w->sbSaveExt->isEnabled());
        w->sbSaveExt->click();   // the same file again, asking no more

        // Enter breaks the line and leaves the window open.
        w->pcSelExt->setCurrentIndex(seGR);
        w->mExt->setFocus();
        w->mExt->moveCursor(QTextCursor::End);
        QTest::keyClick(w->mExt, Qt::Key_Return);
        Type(w->mExt, QStringLiteral("диаметр колодца"));
        EXPECT_TRUE(w->isVisible());
        SaveReview(w, "classifier-value-lists.png");
        w->sbSaveExt->click();
        w->BitBtnOK->click();
    });
    EXPECT_EQ(Messages, QStringList{"Коды значений изменятся! / Строки списка переставлены или "
                                    "удалены; в существующих планах их коды будут означать другие "
                                    "значения. Enter, Готово - сохранить; Esc - отмена"});
    EXPECT_EQ(Bytes(QStringLiteral("М.wri")), Encoded({"", "кирпич", "бетон"}));
    EXPECT_EQ(Form->Codec().SL[seM], (QStringList{"", "кирпич", "бетон"}));
    EXPECT_EQ(Bytes(QStringLiteral("ГР.wri")), diameters + Encoded({"диаметр колодца"}));
}

TEST_F(ClassifierEditors, TabChangeAndCloseAskAboutAnUnsavedEdit)
{
    const auto shipped = Folder();
    const QStringList heights = Form->Codec().SL[seGV];
    struct Case {
        bool viaClose;   // the edit is left by closing the window, else by another tab
        int answer;
    };
    for (const Case c : {Case{false, mrCancel}, Case{false, mrOk}, Case{true, mrCancel}, Case{true, mrOk}}) {
        SCOPED_TRACE(QStringLiteral("close %1, answer %2").arg(c.viaClose).arg(c.answer).toStdString());
        Messages.clear();
        Answers = {c.answer};
        Dlg(4, [&](TFormSemDialog* w) {
            w->pcSelExt->setCurrentIndex(seGV);
            w->mExt->moveCursor(QTextCursor::End);
            w->mExt->insertPlainText(QStringLiteral("\nвысота опоры"));
            if (c.viaClose) {
                Esc(w);
                return;
            }
            w->pcSelExt->setCurrentIndex(seGT);
            QStringList thickness = Form->Codec().SL[seGT];
            thickness.removeFirst();
            EXPECT_EQ(w->mExt->toPlainText(), thickness.join(u'\n'));
            EXPECT_FALSE(w->sbSaveExt->isEnabled());
            w->BitBtnOK->click();   // nothing left unsaved: no question
        });
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Изменения не сохранены! / Изменения не "
                                                          "сохранены; Enter, Готово - сохранить;")));
        auto expected = shipped;
        if (c.answer == mrOk)
            expected[QStringLiteral("ГВ.wri")] += Encoded({"высота опоры"});
        EXPECT_EQ(Folder(), expected);
        EXPECT_EQ(Form->Codec().SL[seGV].size(), heights.size() + (c.answer == mrOk ? 1 : 0));
        Form->Codec().SL[seGV] = heights;
        WriteBytes(File(QStringLiteral("ГВ.wri")), shipped.at(QStringLiteral("ГВ.wri")));
    }
}

TEST_F(ClassifierEditors, MovedLinesAskBeforeTheirCodesChange)
{
    const QByteArray shipped = Bytes(QStringLiteral("М.wri"));
    QStringList materials = Form->Codec().SL[seM];
    materials.removeFirst();
    QStringList swapped = materials;
    swapped.swapItemsAt(0, 1);
    QStringList edited = materials;
    edited[2] = QStringLiteral("дерево хвойное");
    struct Case {
        QStringList memo;
        bool asks;
        int answer;
        bool written;
    };
    const Case cases[] = {
        {swapped, true, mrCancel, false},
        {swapped, true, mrOk, true},
        {materials.mid(1), true, mrOk, true},   // the first line gone: every code moves
        {edited, false, mrOk, true},            // edited in place: the codes stay
        {materials + QStringList{"пластик"}, false, mrOk, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.memo.join(u',').toStdString());
        Messages.clear();
        Answers = {c.answer};
        Dlg(4, [&](TFormSemDialog* w) {
            w->pcSelExt->setCurrentIndex(seM);
            w->mExt->setPlainText(c.memo.join(u'\n'));
            w->sbSaveExt->click();
            Answers = {mrCancel};   // the close: not saved again
            Esc(w);
        });
        EXPECT_EQ(Messages.size(), (c.asks ? 1 : 0) + (c.written ? 0 : 1));
        if (c.asks)
            EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Коды значений изменятся!")));
        EXPECT_EQ(Bytes(QStringLiteral("М.wri")),
                  c.written ? Encoded(QStringList{QString()} + c.memo) : shipped);
        WriteBytes(File(QStringLiteral("М.wri")), shipped);
        Form->Codec().LoadWorkBase();
    }
}

// A value no code page 1251 file can hold is refused before anything is written: the
// file, the list in memory, the edit and its tab stay.
TEST_F(ClassifierEditors, ValueTheFileCannotHoldLeavesFileListAndEdit)
{
    const QByteArray shipped = Bytes(QStringLiteral("С.wri"));
    const QStringList states = Form->Codec().SL[seS];
    Dlg(4, [&](TFormSemDialog* w) {
        w->pcSelExt->setCurrentIndex(seS);
        w->mExt->moveCursor(QTextCursor::End);
        w->mExt->insertPlainText(QStringLiteral("\n\u6f22"));
        const QString edit = w->mExt->toPlainText();
        EXPECT_ANY_THROW(w->SaveExtList(seS));
        Answers = {mrOk};   // save before the tab changes
        EXPECT_ANY_THROW(w->pcSelExt->setCurrentIndex(seGV));
        EXPECT_EQ(w->pcSelExt->currentIndex(), int(seS));
        EXPECT_EQ(w->mExt->toPlainText(), edit);
        w->mExt->setPlainText(edit.left(edit.lastIndexOf(u'\n')));
        Answers = {mrOk};
        w->BitBtnOK->click();
    });
    EXPECT_EQ(Bytes(QStringLiteral("С.wri")), shipped);
    EXPECT_EQ(Form->Codec().SL[seS], states);
}

TEST_F(ClassifierEditors, OneLineListShowsAnEmptyMemoAndTheTabIsKept)
{
    WriteBytes(File(QStringLiteral("ИН.wri")), QByteArray("\r\n"));
    Form->Codec().LoadWorkBase();
    Dlg(4, [&](TFormSemDialog* w) {
        w->pcSelExt->setCurrentIndex(seIN);
        EXPECT_EQ(w->mExt->toPlainText(), QString());
        w->BitBtnOK->click();
    });
    Dlg(4, [&](TFormSemDialog* w) {
        EXPECT_EQ(w->pcSelExt->currentIndex(), int(seIN));
        EXPECT_EQ(w->mExt->toPlainText(), QString());
        EXPECT_FALSE(w->sbSaveExt->isEnabled());
        w->sbSaveExt->setEnabled(true);
        w->sbSaveExt->click();   // an empty memo: line 0 alone
        w->BitBtnOK->click();
    });
    EXPECT_EQ(Bytes(QStringLiteral("ИН.wri")), QByteArray("\r\n"));
    EXPECT_TRUE(Messages.isEmpty());
}

}  // namespace
