// The small classifier windows on a copy of the reference data, driven as the user
// drives them: the naming of a work object, the synonym added for a semantics without a
// sign, the choice of materials and states, and the height change.
#include "controls/TextListBox.h"
#include "editors/EditorDialogs.h"
#include "editors/classifier/SemSmallDialogs.h"
#include "editors/classifier/UnitSemDialog.h"
#include "engine/commands/MapCommand.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "foundation/ui/NumEdit.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "support/ModalScript.h"
#include "support/TestRun.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// Saves what the window shows for review, where VELMORA_PNG_DIR says.
void SaveReview(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
    QApplication::processEvents();
    if (!dir.isEmpty())
        w->grab().save(dir + u'/' + QString::fromLatin1(name));
}

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

class SmallDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallClassifierWindows();
        DialogHooks().ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << caption + QStringLiteral(" / ") + text;
            return mrOk;
        };
    }

    TTestRun Run{{QStringLiteral("Семантика"), QStringLiteral("Условные знаки/500")}};
    TScopedSemDialogHooks SemHooks;
    TScopedEditorDialogHooks EditorHooks;
    TScopedDialogHooks Dialogs;
    QStringList Messages;
};

// ---- The name of a work object ----

TEST_F(SmallDialogs, NewWorkObjectNeedsANameAndTakesItFromTheDecoding)
{
    QString standard = QStringLiteral("КЛД/Ф001;Н001");
    QString name;
    TModalScript script;
    script.Then("TFormNewWrkSemDialog", [&](QWidget* w) {
        auto* form = static_cast<TFormNewWrkSemDialog*>(w);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Новый объект рабочей семантики"));
        EXPECT_EQ(form->Memo1->toPlainText(), QStringLiteral("Колодец\nводопроводный"));
        form->Edit2->setFocus();
        Enter(form);
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(Messages, (QStringList{QStringLiteral("Название рабочей семантики отсутствует! / "),
                                         QStringLiteral("Название рабочей семантики отсутствует! / ")}));
        QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
        EXPECT_EQ(form->Edit2->text(), QStringLiteral("КОЛОДЕЦ  ВОДОПРОВОДНЫЙ"));
        form->Edit1->clear();
        Type(form->Edit1, QStringLiteral("клд/ф002"));
        SaveReview(form, "new-work-object.png");
        Enter(form);
    });
    const int result = NewWrkSemDlg(standard, QStringLiteral("Колодец\rводопроводный\r"), name,
                                    QStringLiteral("Новый объект рабочей семантики"));
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(standard, QStringLiteral("КЛД/Ф002"));
    EXPECT_EQ(name, QStringLiteral("КОЛОДЕЦ  ВОДОПРОВОДНЫЙ"));
}

TEST_F(SmallDialogs, NewWorkObjectCopiesBothTextsBackWhateverTheResult)
{
    struct Case {
        const char* name;
        std::function<void(TFormNewWrkSemDialog*)> close;
        int result;
    };
    const Case cases[] = {
        {"Выбрать", [](TFormNewWrkSemDialog* f) { QTest::mouseClick(f->BitBtn3, Qt::LeftButton); }, mrRetry},
        {"Esc", [](TFormNewWrkSemDialog* f) { Esc(f); }, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString standard = QStringLiteral("ОГР/Ф001");
        QString name;
        TModalScript script;
        script.Then("TFormNewWrkSemDialog", [&](QWidget* w) {
            auto* form = static_cast<TFormNewWrkSemDialog*>(w);
            form->Edit1->setText(QStringLiteral("ОГР/Ф002"));
            form->Edit2->setText(QStringLiteral("забор"));
            c.close(form);
        });
        EXPECT_EQ(NewWrkSemDlg(standard, QStringLiteral("Забор"), name, QString()), c.result);
        EXPECT_EQ(standard, QStringLiteral("ОГР/Ф002"));
        EXPECT_EQ(name, QStringLiteral("ЗАБОР"));
    }
}

// ---- The synonym of a semantics without a sign ----

class AddSynonym : public SmallDialogs {
protected:
    void SetUp() override
    {
        SmallDialogs::SetUp();
        CreateFormSemDialog();
        Services = FormSemDialog()->Services.get();
    }
    void TearDown() override { FreeFormSemDialog(); }

    // The hash of every file of the classifier folder, by name.
    QMap<QString, QByteArray> ClassifierFiles() const
    {
        QMap<QString, QByteArray> files;
        const QDir dir(Run.Folder() + QStringLiteral("Семантика"));
        for (const QString& f : dir.entryList(QDir::Files)) {
            QFile file(dir.filePath(f));
            file.open(QIODevice::ReadOnly);
            files[f] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
        }
        return files;
    }

    // The sign of a line semantics through the window, choosing the line of the sign
    // whose sign-selecting code is signCode (cancelling unless ok); returns
    // SemToSymbolName's answer.
    bool SignOf(const QString& sem, const QString& signCode, QString& name, bool ok = true)
    {
        TModalScript script;
        script.Then("TFormAddSyn", [&, ok](QWidget* w) {
            auto* form = static_cast<TFormAddSyn*>(w);
            Key = form->Memo2->toPlainText();
            Listed = form->TextListBox1->count();
            const int row = int(form->SignCodes.indexOf(signCode));
            ASSERT_GE(row, 0);
            form->TextListBox1->item(row)->setSelected(true);
            if (!Reviewed) {
                SaveReview(form, "add-synonym.png");
                Reviewed = true;
            }
            QTest::mouseClick(ok ? form->BitBtn1 : form->BitBtn2, Qt::LeftButton);
        });
        return Services->SemToSymbolName(sem, lmLine, name, 500);
    }

    int Groups(const QString& sign) const
    {
        int n = 0;
        for (const auto& g : Services->Codec.Synonyms[lmLine])
            n += g->SignName == sign ? 1 : 0;
        return n;
    }
    QStringList CodesOf(const QString& sign) const
    {
        for (const auto& g : Services->Codec.Synonyms[lmLine])
            if (g->SignName == sign)
                return g->Codes;
        return {};
    }

    TSemServices* Services = nullptr;
    QString Key;
    int Listed = 0;
    bool Reviewed = false;
};

TEST_F(AddSynonym, TwoSemanticsChoosingOneSignShareOneGroup)
{
    QString name;
    ASSERT_TRUE(SignOf(QStringLiteral("ОГР/Ф003;М002;ГВ2"), QStringLiteral("ЛИН"), name));
    EXPECT_EQ(Key, QStringLiteral("ОГР/Ф003;М002"));
    EXPECT_EQ(Listed, QDir(Run.Folder() + QStringLiteral("Условные знаки/500/Линейные"))
                          .entryList({QStringLiteral("*.wri")}, QDir::Files).size());
    EXPECT_EQ(name, QStringLiteral("ЛИН/ГВ2"));
    ASSERT_TRUE(SignOf(QStringLiteral("ОГР/Ф004"), QStringLiteral("ЛИН"), name));
    EXPECT_EQ(Groups(QStringLiteral("ЛИН")), 1);
    EXPECT_EQ(CodesOf(QStringLiteral("ЛИН")),
              (QStringList{QStringLiteral("ОГР/Ф003;М002"), QStringLiteral("ОГР/Ф004")}));
    // The codec's semantics is the one asked about, not the last sign name decoded.
    QString current;
    Services->Codec.Code(current, true);
    EXPECT_EQ(current, QStringLiteral("ОГР/Ф004"));

    // An existing group gets the key; no second group appears.
    const int before = Services->Codec.Synonyms[lmLine].GetCount();
    ASSERT_TRUE(SignOf(QStringLiteral("ОГР/Ф005"), QStringLiteral("ГОР/Ф011"), name));
    EXPECT_EQ(Groups(QStringLiteral("ГОР/Ф011")), 1);
    EXPECT_TRUE(CodesOf(QStringLiteral("ГОР/Ф011")).contains(QStringLiteral("ОГР/Ф005")));
    EXPECT_EQ(Services->Codec.Synonyms[lmLine].GetCount(), before);
}

TEST_F(AddSynonym, CancelAndOkWithoutALineChangeNothing)
{
    const auto files = ClassifierFiles();
    QString name = QStringLiteral("старое");
    EXPECT_FALSE(SignOf(QStringLiteral("ОГР/Ф003"), QStringLiteral("ЛИН"), name, false));
    EXPECT_TRUE(name.isEmpty());
    EXPECT_EQ(ClassifierFiles(), files);

    TModalScript script;
    script.Then("TFormAddSyn", [&](QWidget* w) {
        auto* form = static_cast<TFormAddSyn*>(w);
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(form->isVisible());
        Esc(form);
    });
    EXPECT_FALSE(Services->SemToSymbolName(QStringLiteral("ОГР/Ф003"), lmLine, name, 500));
    EXPECT_EQ(Messages, QStringList{QStringLiteral(
                            "Не выбран синоним! / Необходимо выбрать синоним из списка справа и "
                            "нажать OK либо Cancel для отмены")});
    EXPECT_EQ(ClassifierFiles(), files);
}

// ---- Materials and states ----

TEST_F(SmallDialogs, MaterialsAndStatesComeBackAsThreeDigitNumbersWhateverTheResult)
{
    const QString materials = TSemCodec::ClassifierPath(QStringLiteral("М.wri"));
    QStringList lines = ReadTextFileLines(materials, true);
    while (lines.size() < 14)
        lines << QStringLiteral("материал %1").arg(lines.size());
    WriteTextFileLines(materials, lines);

    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "Готово" : "Esc");
        QStringList m{QStringLiteral("старое")}, s{QStringLiteral("старое")};
        TModalScript script;
        script.Then("TFormSelectMS", [&](QWidget* w) {
            auto* form = static_cast<TFormSelectMS*>(w);
            EXPECT_EQ(form->TextListBox1->count(), 14);
            EXPECT_EQ(form->TextListBox1->item(0)->text(), QString());
            form->TextListBox1->item(12)->setSelected(true);
            form->TextListBox1->item(0)->setSelected(true);
            form->TextListBox2->item(3)->setSelected(true);
            if (ok) {
                SaveReview(form, "select-materials-states.png");
                QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
            } else {
                Esc(form);
            }
        });
        EXPECT_EQ(SelectMSDlg(m, s), ok ? mrOk : mrCancel);
        EXPECT_EQ(m, (QStringList{QStringLiteral("000"), QStringLiteral("012")}));
        EXPECT_EQ(s, QStringList{QStringLiteral("003")});
    }
}

TEST_F(SmallDialogs, MissingStateListFailsBeforeAnyWindow)
{
    QFile::remove(TSemCodec::ClassifierPath(QStringLiteral("С.wri")));
    QStringList m{QStringLiteral("старое")}, s;
    EXPECT_THROW(SelectMSDlg(m, s), Exception);
    EXPECT_EQ(m, QStringList{QStringLiteral("старое")});
}

// ---- The height change ----

TEST_F(SmallDialogs, HeightChangeCopiesItsFourValuesBackWhateverTheResult)
{
    const QChar savedSeparator = DecimalSeparator;
    DecimalSeparator = u',';
    struct Case {
        const char* name;
        bool ok;
        int result;
    };
    for (const Case& c : {Case{"Готово", true, mrOk}, Case{"Esc", false, mrCancel}}) {
        SCOPED_TRACE(c.name);
        int first = 0, last = 0;
        Extended increment = 0;
        QString code = QStringLiteral("ОТА");
        TModalScript script;
        script.Then("TFormChangeHinSemDialog", [&](QWidget* w) {
            auto* form = static_cast<TFormChangeHinSemDialog*>(w);
            EXPECT_EQ(form->Edit1->text(), QStringLiteral("ОТА"));
            form->NumEdit1->clear();
            QTest::keyClicks(form->NumEdit1, QStringLiteral("1"));
            form->NumEdit2->clear();
            QTest::keyClicks(form->NumEdit2, QStringLiteral("5"));
            form->NumEdit3->clear();
            // Either decimal separator is taken.
            QTest::keyClicks(form->NumEdit3, c.ok ? QStringLiteral("0,5") : QStringLiteral("0.5"));
            form->NumEdit3->setFocus();
            if (c.ok) {
                SaveReview(form, "change-heights.png");
                Enter(form);
            } else {
                Esc(form);
            }
        });
        EXPECT_EQ(ChangeHinSemDlg(first, last, increment, code), c.result);
        EXPECT_EQ(first, 1);
        EXPECT_EQ(last, 5);
        EXPECT_EQ(increment, 0.5L);
        EXPECT_EQ(code, QStringLiteral("ОТА"));
        // The main window's command from these values.
        EXPECT_EQ(TCommandParams().Text(code).Int(first).Int(last).Fixed(increment).Str(),
                  QStringLiteral("<ОТА><1><5><0,50>"));
    }
    DecimalSeparator = savedSeparator;
}

}  // namespace
