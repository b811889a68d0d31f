// The add-sign window and the sign manager as a user drives them over a copy of the
// reference data, with the sign files on disk as the oracle: the names they make, the
// files they list, copy and delete, and a file that already exists left byte for byte.
// Setting VELMORA_REVIEW_DIR writes each window there as a PNG.
#include "editors/EditorDialogs.h"
#include "editors/signs/SignPreview.h"
#include "editors/signs/SignPropBase.h"
#include "editors/signs/UnitAddSymbol.h"
#include "editors/signs/UnitSymPointProp.h"
#include "editors/signs/UnitSymbolEdit.h"
#include "editors/signs/UnitSymbolManager.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

TEST(SignFileNames, AddSignRuleAndTheManagersCopy)
{
    using R = TSignPartRule;
    struct Case {
        QString code;
        R m;
        QStringList materials;
        R s;
        QStringList states;
        QString name;
    };
    const Case cases[] = {
        {"ПОЗ/Ф010;К010;", R::Any, {}, R::Any, {}, "ПОЗ-Ф010;К010;М;С.wri"},
        {"ПОЗ/", R::None, {}, R::None, {}, "ПОЗ.wri"},
        {"ПОЗ/", R::Any, {}, R::Any, {}, "ПОЗ-М;С.wri"},
        {"ПОЗ/", R::Only, {"010", "020"}, R::None, {}, "ПОЗ-М010;020.wri"},
        {"ПОЗ/", R::None, {}, R::Only, {"04"}, "ПОЗ-С04.wri"},
        {"ПОЗ/Ф010;", R::None, {}, R::Any, {}, "ПОЗ-Ф010;С.wri"},
        {"ПОЗ/Ф010;", R::None, {}, R::None, {}, "ПОЗ-Ф010.wri"},
        {"ПОЗ", R::None, {}, R::None, {}, "ПОЗ.wri"},              // a bare code completed
        {"ПОЗ/Ф010", R::Any, {}, R::None, {}, "ПОЗ-Ф010;М.wri"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeSignFileName(c.code, c.m, c.materials, c.s, c.states).toStdString(), c.name.toStdString())
            << c.code.toStdString();

    // The manager's copy: a part only for what was chosen.
    struct Copy {
        QString code;
        QStringList materials, states;
        QString name;
    };
    const Copy copies[] = {
        {"ПОЗ/Ф010;", {"010"}, {}, "ПОЗ-Ф010;М010.wri"},
        {"ПОЗ/Ф010;", {}, {}, "ПОЗ-Ф010.wri"},
        {"ПОЗ/", {"010"}, {}, "ПОЗ-М010.wri"},
        {"ПОЗ/", {}, {"01", "02"}, "ПОЗ-С01;02.wri"},
    };
    for (const Copy& c : copies)
        EXPECT_EQ(BuildSignFileName(c.code, c.materials, c.states, TSignNamePolicy::ChosenOnly).toStdString(),
                  c.name.toStdString());

    // Nothing that leaves the kind folder or names nothing.
    for (const QString& bad : {QStringLiteral(""), QStringLiteral("ПОЗ/Ф../../x;"), QStringLiteral("ПОЗ/Ф0\\1;")}) {
        QString refusal;
        EXPECT_TRUE(MakeSignFileName(bad, R::None, {}, R::None, {}, &refusal).isEmpty()) << bad.toStdString();
        EXPECT_FALSE(refusal.isEmpty());
    }
}

// Lines separated by "|", written in code page 1251 with CR LF.
QByteArray Cp1251Lines(const QString& lines)
{
    return EncodeCodePage(lines.split(u'|').join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST(SignFileKinds, ByTheFirstLines)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        QString name;
        QString lines;   // "" for an empty file
        int kind;
    };
    const Case cases[] = {
        {"точка.wri", "#Условный знак|#Точечный|[Рисунок]", 0},
        {"линия.wri", "#Условный знак|#Линейный|[Отрезок1]", 1},
        {"площадь.wri", "#Условный знак|#Площадной|[Углы]", 2},
        {"старая точка.wri", "[Рисунок]|*|CIRCLE", 0},
        {"старая линия.wri", "[Начало линии]|*", 1},
        {"старая площадь.wri", "[Углы]", 2},
        // The header decides by the second line alone, whatever follows it.
        {"заголовок и рисунок.wri", "#Условный знак|[Рисунок]", -1},
        {"заголовок без вида.wri", "#Условный знак", -1},
        {"чужой вид.wri", "#Условный знак|#Текстовый", -1},
        {"текст.wri", "Стили|Arial", -1},
        {"пустой.wri", "", -1},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        WriteBytes(path, c.lines.isEmpty() ? QByteArray() : Cp1251Lines(c.lines));
        EXPECT_EQ(SignFileKind(path), c.kind) << c.name.toStdString();
    }
    EXPECT_EQ(SignFileKind(dir.filePath(QStringLiteral("нет такого.wri"))), -1);
    // Bytes that are no text at all.
    WriteBytes(dir.filePath(QStringLiteral("мусор.wri")), QByteArray("\x00\xff\x01#\r\n\x00", 7));
    EXPECT_EQ(SignFileKind(dir.filePath(QStringLiteral("мусор.wri"))), -1);
}

// A radio button takes a click on its circle or its text only.
void ClickRadio(QRadioButton* r) { QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2)); }

QString Texts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts.join(u'\n');
}

// A run over the reference data with the classifier open, every message and question
// noted and answered as the test says.
class SignWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Said << caption + u'|' + text;
            return MsgAnswer;
        };
        hooks.ShowQ = [this](const QString& caption, const QString& text) {
            Said << caption + u'|' + text;
            return QAnswer;
        };
        hooks.InpStr = [this](QString&, const QString& caption, const QString&) {
            Said << caption;
            return caption == QStringLiteral("Файл уже существует!") ? mrOk : mrCancel;
        };
        Dialogs = std::make_unique<TScopedDialogHooks>(hooks);
        Services.Open();
    }
    QString KindFolder(int kind) const
    {
        static const char* const names[3] = {"Точечные", "Линейные", "Площадные"};
        return Run.Folder() + QStringLiteral("Условные знаки/500/") + QString::fromUtf8(names[kind]) + u'/';
    }
    int FileCount(int kind) const
    {
        return QDir(KindFolder(kind)).entryList({QStringLiteral("*.wri")}, QDir::Files).size();
    }
    void Review(QWidget* w, const QString& name)
    {
        QApplication::processEvents();
        if (const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR"); !dir.isEmpty())
            w->grab().save(QString::fromLocal8Bit(dir) + u'/' + name + QStringLiteral(".png"));
    }
    // Clicks the folder below "Условные знаки" named by its path relative to it.
    static void ChooseFolder(TFormAddSymbol* w, const QString& relative)
    {
        QTreeWidget* tree = w->DirectoryListBox1;
        QTreeWidgetItem* item = tree->topLevelItem(0);
        for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; item && i < item->childCount(); ++i)
                if (item->child(i)->text(0) == part)
                    next = item->child(i);
            item = next;
        }
        ASSERT_NE(item, nullptr) << relative.toStdString();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        ASSERT_EQ(tree->currentItem(), item);
    }
    // Clicks the line of the source list behind the file name.
    static void ChooseSource(TFormAddSymbol* w, const QString& fileName)
    {
        int row = -1;
        for (int i = 0; i < w->FileNames().size(); ++i)
            if (QFileInfo(w->FileNames()[i]).fileName() == fileName)
                row = i;
        ASSERT_GE(row, 0) << fileName.toStdString();
        QListWidget* list = w->ListBox1;
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        ASSERT_EQ(w->ChosenSource(), w->FileNames()[row]);
    }

    TTestRun Run{{QStringLiteral("Слои"), QStringLiteral("Условные знаки"), QStringLiteral("Шрифты"),
                  QStringLiteral("Семантика")}};
    TSeparatorScope Point{u'.'};
    TSemServices Services;
    QStringList Said;
    TModalResult MsgAnswer = mrOk;
    TModalResult QAnswer = mrYes;
    std::unique_ptr<TScopedDialogHooks> Dialogs;
};

TEST_F(SignWindows, AddSignWindowNamesTheFileAsTheButtonsAreChosen)
{
    QString newName = QStringLiteral("старое"), source = QStringLiteral("старый");
    TModalScript script;
    script.Then("TFormAddSymbol", [&](QWidget* win) {
        auto* w = static_cast<TFormAddSymbol*>(win);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Добавление условного знака"));
        EXPECT_EQ(w->StaticText1->text(), QStringLiteral("тип: Точечный"));
        EXPECT_EQ(w->edSem->text(), QStringLiteral("ПОЗ/М001;002;"));
        QString readable;
        Services.decode2(lmPoint, QStringLiteral("ПОЗ/М001;002;"), readable);
        EXPECT_EQ(w->meSem->toPlainText(), readable);
        EXPECT_EQ(w->edScale->text(), QStringLiteral("500"));
        EXPECT_TRUE(w->MUse->isEnabled());
        EXPECT_FALSE(w->SUse->isEnabled());   // no states given
        EXPECT_TRUE(w->MNotUse->isChecked());
        EXPECT_EQ(Texts(w->lbM), QStringLiteral("001\n002"));
        EXPECT_EQ(w->edFN->text(), QStringLiteral("ПОЗ-М;С.wri"));
        ClickRadio(w->MUse);
        EXPECT_EQ(w->edFN->text(), QStringLiteral("ПОЗ-М001;002;С.wri"));
        ClickRadio(w->SNone);
        EXPECT_EQ(w->edFN->text(), QStringLiteral("ПОЗ-М001;002.wri"));
        ClickRadio(w->SUse);   // disabled: nothing changes
        EXPECT_EQ(w->edFN->text(), QStringLiteral("ПОЗ-М001;002.wri"));
        ClickRadio(w->MNone);
        EXPECT_EQ(w->edFN->text(), QStringLiteral("ПОЗ.wri"));
        ClickRadio(w->MUse);

        // The tree starts at "Условные знаки" with nothing listed there.
        EXPECT_EQ(w->DirectoryListBox1->topLevelItem(0)->text(0), QStringLiteral("Условные знаки"));
        EXPECT_EQ(w->ListBox1->count(), 0);
        // "Готово" without a line: said, and the window stays.
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
        ASSERT_EQ(Said.size(), 1) << Said.join(u"\n").toStdString();
        EXPECT_EQ(Said[0], QStringLiteral("Файл не выбран!|для объекта ПОЗ/М001;002;не выбран файл условного знака"));
        EXPECT_TRUE(w->isVisible());

        ChooseFolder(w, QStringLiteral("500/Точечные"));
        EXPECT_EQ(w->ListBox1->count(), FileCount(0));
        ChooseSource(w, QStringLiteral("ПКТ.wri"));
        const TSymbols& preview = *w->Preview->Map->Symbols;
        ASSERT_EQ(preview.VpGPoints.GetCount(), 1);
        EXPECT_EQ(preview.VpGPoints.At(0)->Code, QStringLiteral("ТОЧ"));
        EXPECT_GT(preview.VpGLines.GetCount(), 1);   // the other kinds' signs stay
        EXPECT_EQ(w->Preview->Map->DisplayScale, w->Preview->TrackBar1->value());
        Review(w, QStringLiteral("add-sign-point"));
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(AddSymbolDlg(QStringLiteral("Добавление условного знака"), 0, QStringLiteral("ПОЗ/"), newName, source, 500,
                           {}, {QStringLiteral("001"), QStringLiteral("002")}),
              mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(newName, QStringLiteral("ПОЗ-М001;002.wri"));
    EXPECT_EQ(source, KindFolder(0) + QStringLiteral("ПКТ.wri"));
    EXPECT_EQ(Said.size(), 1);

    // Closed without "Готово": both outputs are set all the same.
    TModalScript closed;
    closed.Then("TFormAddSymbol", [&](QWidget* w) {
        auto* form = static_cast<TFormAddSymbol*>(w);
        ChooseFolder(form, QStringLiteral("500/Площадные"));
        EXPECT_EQ(form->ListBox1->count(), FileCount(2));
        ChooseSource(form, QStringLiteral("ЛЕС-Ф001.wri"));
        Review(w, QStringLiteral("add-sign-area"));
        CloseBox(w);
    });
    EXPECT_EQ(AddSymbolDlg(QStringLiteral("Не найден условный знак -добавление"), 2, QStringLiteral("ЗДН/Ф001;"),
                           newName, source, 500, {QStringLiteral("04")}, {}),
              mrCancel);
    EXPECT_TRUE(closed.Done());
    EXPECT_EQ(newName, QStringLiteral("ЗДН-Ф001;М;С.wri"));
    EXPECT_EQ(source, KindFolder(2) + QStringLiteral("ЛЕС-Ф001.wri"));
    EXPECT_FALSE(QFileInfo::exists(KindFolder(2) + newName));   // the window copies nothing
}

TEST_F(SignWindows, AddSignWindowListsTheSignFilesOfItsKindOnly)
{
    const QString mixed = Run.Folder() + QStringLiteral("Условные знаки/смесь/");
    ASSERT_TRUE(QDir().mkpath(mixed));
    const struct {
        const char* name;
        const char* lines;
    } files[] = {
        {"ТОЧ.wri", "#Условный знак|#Точечный|[Рисунок]"},
        {"ЛИН.wri", "#Условный знак|#Линейный|[Отрезок1]"},
        {"ГОР-Ф011.wri", "[Начало линии]|*"},
        {"ПОЛ.wri", "#Условный знак|#Площадной|[Углы]"},
        {"ОГР.wri", "#Условный знак|[Начало линии]"},
        {"Стили.wri", "Стиль|Arial"},
        {"ОТТ.txt", "#Условный знак|#Линейный"},
    };
    for (const auto& f : files)
        WriteBytes(mixed + QString::fromUtf8(f.name), Cp1251Lines(QString::fromUtf8(f.lines)));
    QString newName, source;
    TModalScript script;
    script.Then("TFormAddSymbol", [&](QWidget* win) {
        auto* w = static_cast<TFormAddSymbol*>(win);
        EXPECT_EQ(w->StaticText1->text(), QStringLiteral("тип: Линейный"));
        ChooseFolder(w, QStringLiteral("смесь"));
        QStringList listed;
        for (const QString& path : w->FileNames())
            listed << QFileInfo(path).fileName();
        EXPECT_EQ(listed, (QStringList{QStringLiteral("ГОР-Ф011.wri"), QStringLiteral("ЛИН.wri")}));
        QString readable;
        Services.decode2(lmLine, QStringLiteral("ГОР-Ф011"), readable);
        EXPECT_EQ(w->ListBox1->item(0)->text(), readable);
        // A line chosen whose file has gone since: not chosen after all.
        ChooseSource(w, QStringLiteral("ЛИН.wri"));
        ASSERT_TRUE(QFile::remove(mixed + QStringLiteral("ЛИН.wri")));
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
        ASSERT_EQ(Said.size(), 1);
        EXPECT_TRUE(Said[0].startsWith(QStringLiteral("Файл не выбран!|"))) << Said[0].toStdString();
        ChooseFolder(w, QStringLiteral("500/Линейные"));
        ChooseSource(w, QStringLiteral("ГРН-Ф001.wri"));
        EXPECT_EQ(w->Preview->Map->Symbols->VpGLines.GetCount(), 1);
        Review(w, QStringLiteral("add-sign-line"));
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(AddSymbolDlg(QStringLiteral("Добавление условного знака"), 1, QStringLiteral("ГОР/"), newName, source, 500,
                           {}, {}),
              mrCancel);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(newName, QStringLiteral("ГОР-М;С.wri"));
}

// A code that would name a file outside the kind folder: no name, and "Готово" says why.
TEST_F(SignWindows, AddSignWindowRefusesANameOutsideTheKindFolder)
{
    QString newName, source;
    TModalScript script;
    script.Then("TFormAddSymbol", [&](QWidget* win) {
        auto* w = static_cast<TFormAddSymbol*>(win);
        EXPECT_TRUE(w->edFN->text().isEmpty());
        ChooseFolder(w, QStringLiteral("500/Точечные"));
        ChooseSource(w, QStringLiteral("ТОЧ.wri"));
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
        ASSERT_FALSE(Said.isEmpty());
        EXPECT_TRUE(Said.last().startsWith(QStringLiteral("Добавление условного знака|Имя файла условного знака недопустимо")))
            << Said.join(u"\n").toStdString();
        EXPECT_TRUE(w->isVisible());
        CloseBox(w);
    });
    EXPECT_EQ(AddSymbolDlg(QStringLiteral("Добавление условного знака"), 0, QStringLiteral("ТОЧ/Ф../../x;"), newName,
                           source, 500, {}, {}),
              mrCancel);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(newName.isEmpty());
}

// The sign library meets an object it has no sign for, asks, and the user makes one.
TEST_F(SignWindows, LibraryCopiesTheChosenSignForAnUnknownObjectAndLoadsIt)
{
    TScopedEditorDialogHooks editors(EditorDialogHooks());
    TScopedSemDialogHooks sem(SemDialogHooks());
    InstallSignDialogs();
    TSymbols symbols;
    symbols.LoadSymbols(500);
    symbols.AskUnknownSymbol = 1;
    const int before = symbols.VpGPoints.GetCount();
    TModalScript script;
    script.Then("TFormAddSymbol", [&](QWidget* win) {
        auto* w = static_cast<TFormAddSymbol*>(win);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Не найден условный знак -добавление"));
        EXPECT_EQ(w->edSem->text(), QStringLiteral("ПОЗ/Ф010;К010;М001;"));
        EXPECT_EQ(w->edFN->text(), QStringLiteral("ПОЗ-Ф010;К010;М;С.wri"));
        ChooseFolder(w, QStringLiteral("500/Точечные"));
        ChooseSource(w, QStringLiteral("ТОЧ.wri"));
        QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    });
    ASSERT_TRUE(symbols.SelectSymbol(QStringLiteral("ПОЗ/Ф010;К010;М001"), lmPoint));
    EXPECT_TRUE(script.Done());
    const QString made = KindFolder(0) + QStringLiteral("ПОЗ-Ф010;К010;М;С.wri");
    EXPECT_EQ(FileBytes(made), FileBytes(KindFolder(0) + QStringLiteral("ТОЧ.wri")));
    EXPECT_EQ(symbols.VpGPoints.GetCount(), before + 1);
    EXPECT_EQ(symbols.VpGPoints.Item->Code, QStringLiteral("ПОЗ-Ф010;К010;М;С"));
    ASSERT_EQ(Said.size(), 1);   // the question
    EXPECT_TRUE(Said[0].startsWith(QStringLiteral("Для точечного объекта не найден условный знак|")));
}

// The row of the manager's table that shows the sign name.
int RowOf(TFormSymbolManager* w, const QString& name)
{
    for (int r = 0; r < w->RowCount(); ++r)
        if (w->RowName(r) == name)
            return r;
    return -1;
}

// Clicks the row's text cell, as the user selects a sign.
void ClickRow(TFormSymbolManager* w, int row)
{
    QTableView* table = w->DrawGrid1;
    const QModelIndex index = table->model()->index(row, 1);
    table->scrollTo(index);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
    ASSERT_EQ(w->SelectedRow(), row);
}

class SignManager : public SignWindows {
protected:
    // The manager opened, act run on it, its result returned; the process's document
    // state, journal and snapshots must come out as they went in.
    TModalResult Open(const std::function<void(TFormSymbolManager*)>& act,
                      const std::function<void(TModalScript&)>& more = {})
    {
        TScopedEditorDialogHooks editors(EditorDialogHooks());
        TScopedSemDialogHooks sem(SemDialogHooks());
        InstallSignDialogs();
        if (SemAnswer)
            SemDialogHooks().SemDlg = [this](int smode, int& lm, QString& s) {
                EXPECT_EQ(smode, 1);
                EXPECT_TRUE(s.isEmpty());
                ++SemAsked;
                lm = SemKind;
                s = SemAnswer();
                return s.isEmpty() ? 2 : 1;
            };
        EditorDialogHooks().SelectMSDlg = [this](QStringList& m, QStringList& s) {
            m = Materials;
            s = States;
            return mrOk;
        };
        CommandLog->clear();
        CommandLog->append(QStringLiteral("mcNewPage=<лист 1>"));
        const QStringList journal = *CommandLog;
        const QStringList snapshots = Snapshots();
        DataFileState = 2;
        TModalScript script;
        script.Then("TFormSymbolManager", [&](QWidget* w) { act(static_cast<TFormSymbolManager*>(w)); });
        if (more)
            more(script);
        const TModalResult result = SymbolManagerDlg(500);
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(DataFileState, 2);
        EXPECT_EQ(*CommandLog, journal);
        EXPECT_EQ(Snapshots(), snapshots);
        return result;
    }
    static QStringList Snapshots()
    {
        QStringList files;
        QDirIterator it(SessionFolder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    std::function<QString()> SemAnswer;
    int SemKind = 0;
    int SemAsked = 0;
    QStringList Materials, States;
};

TEST_F(SignManager, CountsSizesAndRowsPerKind)
{
    // A sign for state 04 only beside the one for any state: each row shows its own.
    const QString any = KindFolder(2) + QStringLiteral("ЗДН-Ф001;Н003;М;С.wri");
    const QString only = KindFolder(2) + QStringLiteral("ЗДН-Ф001;Н003;М;С04.wri");
    ASSERT_TRUE(QFile::copy(KindFolder(2) + QStringLiteral("ЛЕС.wri"), only));
    const QString pointFile = KindFolder(0) + QStringLiteral("ПКТ.wri");
    const QByteArray pointBytes = FileBytes(pointFile);
    EXPECT_EQ(Open([&](TFormSymbolManager* w) {
                  EXPECT_EQ(w->windowTitle(), QStringLiteral("Менеджер условных знаков"));
                  EXPECT_EQ(w->neScale->text(), QStringLiteral("500"));
                  EXPECT_TRUE(w->rbPoint01->isChecked());
                  const struct {
                      QRadioButton* button;
                      int kind, width, height, table;
                      QString sample, sem;
                      const char* png;
                  } kinds[] = {
                      {w->rbLine01, 1, 180, 60, 300, "ДОР-Ф001;К010;М;С", "ДОР/Ф001;К010;М;С", "sign-manager-line"},
                      {w->rbPolygon01, 2, 150, 100, 305, "ЗДН-Ф001;К012;Н003;М;С", "ЗДН/Ф001;К012;Н003;М;С", "sign-manager-area"},
                      {w->rbPoint01, 0, 80, 80, 320, "КЛД-Ф001;Н001;М005;С", "КЛД/Ф001;Н001;М005;С", "sign-manager-point"},
                  };
                  for (const auto& k : kinds) {
                      SCOPED_TRACE(k.kind);
                      ClickRadio(k.button);
                      EXPECT_EQ(w->ShownKind(), k.kind);
                      EXPECT_EQ(w->Label2->text(), QString::number(FileCount(k.kind)));
                      EXPECT_EQ(w->RowCount(), FileCount(k.kind));
                      EXPECT_EQ(w->DrawGrid1->columnWidth(0), k.width);
                      EXPECT_EQ(w->DrawGrid1->rowHeight(0), k.height);
                      EXPECT_EQ(w->DrawGrid1->height(), k.table);
                      const int row = RowOf(w, k.sample);
                      ASSERT_GE(row, 0);
                      QString readable;
                      Services.decode2(TLmode(k.kind), k.sem, readable);
                      EXPECT_EQ(w->RowText(row), readable);
                      EXPECT_EQ(w->RowFile(row), KindFolder(k.kind) + k.sample + QStringLiteral(".wri"));
                      const QImage picture = w->RowPicture(row);
                      const int factor = k.kind == 2 ? 1 : 2;
                      EXPECT_EQ(picture.size(), QSize(k.width * factor, k.height * factor));
                      Review(w, QString::fromLatin1(k.png));
                  }
                  ClickRadio(w->rbPolygon01);
                  w->Rebuild();   // no picture drawn yet: the next two render in this order
                  const int anyRow = RowOf(w, QStringLiteral("ЗДН-Ф001;Н003;М;С"));
                  const int onlyRow = RowOf(w, QStringLiteral("ЗДН-Ф001;Н003;М;С04"));
                  ASSERT_GE(anyRow, 0);
                  ASSERT_GE(onlyRow, 0);
                  const QImage anyPicture = w->RowPicture(anyRow);
                  const QImage onlyPicture = w->RowPicture(onlyRow);
                  EXPECT_NE(anyPicture, onlyPicture);
                  QString chosen;
                  w->Preview->Map->GetPolygonSymbol(0, 2, 0, chosen);
                  EXPECT_EQ(chosen, QStringLiteral("ЗДН-Ф001;Н003;М;С04"));
                  // Enter on the table closes the window as "Закрыть" does.
                  w->DrawGrid1->setFocus();
                  QTest::keyClick(w->DrawGrid1, Qt::Key_Return);
              }),
              mrOk);
    EXPECT_EQ(FileBytes(pointFile), pointBytes);
    EXPECT_TRUE(QFileInfo::exists(any));
    EXPECT_TRUE(Said.isEmpty()) << Said.join(u'\n').toStdString();
}

TEST_F(SignManager, DeleteAsksAndAnswersBothWays)
{
    const QString file = KindFolder(0) + QStringLiteral("ТОЧ-Ф500.wri");
    const int count = FileCount(0);
    EXPECT_EQ(Open([&](TFormSymbolManager* w) {
                  // Without a selected row nothing is asked or deleted.
                  QTest::mouseClick(w->SpeedButton1, Qt::LeftButton);
                  EXPECT_TRUE(Said.isEmpty());
                  const int row = RowOf(w, QStringLiteral("ТОЧ-Ф500"));
                  ClickRow(w, row);
                  MsgAnswer = mrCancel;   // the close box
                  QTest::mouseClick(w->SpeedButton1, Qt::LeftButton);
                  ASSERT_EQ(Said.size(), 1);
                  const QString cr(QChar(13));
                  EXPECT_EQ(Said[0], QStringLiteral("Удаление|Файл условного знака ") + cr + QStringLiteral("ТОЧ-Ф500") +
                                         cr + w->RowText(row) + cr + QStringLiteral(" будет удален"));
                  EXPECT_TRUE(QFileInfo::exists(file));
                  EXPECT_EQ(w->RowCount(), count);
                  MsgAnswer = mrOk;
                  QTest::mouseClick(w->SpeedButton1, Qt::LeftButton);
                  EXPECT_FALSE(QFileInfo::exists(file));
                  EXPECT_EQ(w->Label2->text(), QString::number(count - 1));
                  EXPECT_EQ(RowOf(w, QStringLiteral("ТОЧ-Ф500")), -1);
                  // The rebuild forgets the row: a second press deletes nothing more.
                  EXPECT_EQ(w->SelectedRow(), -1);
                  QTest::mouseClick(w->SpeedButton1, Qt::LeftButton);
                  EXPECT_EQ(Said.size(), 2);
                  EXPECT_EQ(FileCount(0), count - 1);
                  w->BitBtn1->setFocus();
                  QTest::keyClick(w->BitBtn1, Qt::Key_Escape);
              }),
              mrCancel);
}

TEST_F(SignManager, AddAndCopyMakeTheFilesAndKeepAnExistingOne)
{
    const QString tochka = KindFolder(0) + QStringLiteral("ТОЧ.wri");
    const QString pkt = KindFolder(0) + QStringLiteral("ПКТ.wri");
    const QString added = KindFolder(0) + QStringLiteral("ТОЧ-Ф010;М;С.wri");
    const QString existing = KindFolder(0) + QStringLiteral("ТОЧ-Ф010.wri");
    const QByteArray existingBytes = FileBytes(existing);
    QStringList answers = {QStringLiteral("ТОЧ/Ф010"), QStringLiteral("ТОЧ/Ф010"), QStringLiteral("ТОЧ/Ф010;М001"),
                           QStringLiteral("ТОЧ/Ф010"), QStringLiteral("ТОЧ"), QStringLiteral("ТОЧ/Ф010")};
    SemAnswer = [&] { return answers.isEmpty() ? QString() : answers.takeFirst(); };
    const auto pick = [&](const QString& source) {
        return [this, source](QWidget* win) {
            auto* w = static_cast<TFormAddSymbol*>(win);
            EXPECT_EQ(w->windowTitle(), QStringLiteral("Добавление условного знака"));
            ChooseFolder(w, QStringLiteral("500/Точечные"));
            ChooseSource(w, source);
            QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
        };
    };
    const int count = FileCount(0);
    EXPECT_EQ(Open(
                  [&](TFormSymbolManager* w) {
                      // "добавить": ТОЧ/Ф010 with materials and states not bearing on it.
                      QTest::mouseClick(w->SpeedButton2, Qt::LeftButton);
                      EXPECT_EQ(FileBytes(added), FileBytes(tochka));
                      EXPECT_EQ(w->Label2->text(), QString::number(count + 1));
                      EXPECT_GE(RowOf(w, QStringLiteral("ТОЧ-Ф010;М;С")), 0);
                      // The same name again from another source: the file is kept and named.
                      QTest::mouseClick(w->SpeedButton2, Qt::LeftButton);
                      EXPECT_EQ(FileBytes(added), FileBytes(tochka));
                      ASSERT_EQ(Said.size(), 1);
                      EXPECT_TRUE(Said[0].startsWith(QStringLiteral("Добавление условного знака|")));
                      EXPECT_TRUE(Said[0].contains(QStringLiteral("ТОЧ-Ф010;М;С.wri"))) << Said[0].toStdString();

                      // "копия" with no row selected: the classifier is not even opened.
                      const int asked = SemAsked;
                      QTest::mouseClick(w->SpeedButton3, Qt::LeftButton);
                      EXPECT_EQ(SemAsked, asked);

                      // Copies of ПКТ under the chosen semantics.
                      const struct {
                          QStringList materials, states;
                          QString name;
                      } copies[] = {
                          {{QStringLiteral("010")}, {}, "ТОЧ-Ф010;М010.wri"},   // the work semantics' М001 dropped
                          {{}, {QStringLiteral("02")}, "ТОЧ-Ф010;С02.wri"},
                          {{QStringLiteral("010")}, {}, "ТОЧ-М010.wri"},
                      };
                      for (const auto& c : copies) {
                          ClickRow(w, RowOf(w, QStringLiteral("ПКТ")));
                          Materials = c.materials;
                          States = c.states;
                          QTest::mouseClick(w->SpeedButton3, Qt::LeftButton);
                          EXPECT_EQ(FileBytes(KindFolder(0) + c.name), FileBytes(pkt)) << c.name.toStdString();
                          EXPECT_EQ(w->SelectedRow(), -1);
                      }
                      // Onto an existing file: kept byte for byte and named.
                      ClickRow(w, RowOf(w, QStringLiteral("ПКТ")));
                      Materials.clear();
                      States.clear();
                      QTest::mouseClick(w->SpeedButton3, Qt::LeftButton);
                      EXPECT_EQ(FileBytes(existing), existingBytes);
                      ASSERT_EQ(Said.size(), 2);
                      EXPECT_TRUE(Said[1].startsWith(QStringLiteral("Копия условного знака|")));
                      EXPECT_TRUE(Said[1].contains(QStringLiteral("ТОЧ-Ф010.wri"))) << Said[1].toStdString();
                      // The classifier cancelled: nothing.
                      ClickRow(w, RowOf(w, QStringLiteral("ПКТ")));
                      QTest::mouseClick(w->SpeedButton3, Qt::LeftButton);
                      EXPECT_EQ(w->Label2->text(), QString::number(count + 4));
                      EXPECT_EQ(FileCount(0), count + 4);
                      QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
                  },
                  [&](TModalScript& script) {
                      script.Then("TFormAddSymbol", pick(QStringLiteral("ТОЧ.wri")));
                      script.Then("TFormAddSymbol", pick(QStringLiteral("ПКТ.wri")));
                  }),
              mrOk);
    EXPECT_TRUE(answers.isEmpty());
}

TEST_F(SignManager, EditorSaveRedrawsTheRow)
{
    const QString file = KindFolder(0) + QStringLiteral("ПКТ.wri");
    const QByteArray before = FileBytes(file);
    QImage was;
    EXPECT_EQ(Open(
                  [&](TFormSymbolManager* w) {
                      const int row = RowOf(w, QStringLiteral("ПКТ"));
                      was = w->RowPicture(row);
                      // "редактор" without a row opens nothing.
                      QTest::mouseClick(w->SpeedButton4, Qt::LeftButton);
                      ClickRow(w, row);
                      QTest::mouseClick(w->SpeedButton4, Qt::LeftButton);
                      EXPECT_NE(w->RowPicture(RowOf(w, QStringLiteral("ПКТ"))), was);
                      EXPECT_EQ(w->SelectedRow(), -1);
                      QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
                  },
                  [&](TModalScript& script) {
                      script.Then("TFormSymPointProp", [](QWidget* w) {
                          QTest::mouseClick(static_cast<TFormSymPointProp*>(w)->sbEdit, Qt::LeftButton);
                          QTest::mouseClick(static_cast<TFormSymPointProp*>(w)->BitBtn3, Qt::LeftButton);
                      });
                      script.Then("TFormSymbolEdit", [](QWidget* w) {
                          static_cast<TFormSymbolEdit*>(w)->ClearClick();
                          w->close();
                      });
                  }),
              mrOk);
    EXPECT_NE(FileBytes(file), before);
    TSymbols saved;
    ASSERT_TRUE(saved.LoadSymbol(file, QStringLiteral("x"), lmPoint));
    EXPECT_EQ(saved.VpGPoints.Item->Picture.GetCount(), 0);
}

TEST_F(SignManager, BrokenSignFileIsSaidAndTheRestShown)
{
    WriteBytes(KindFolder(1) + QStringLiteral("ЯЯЯ.wri"), Cp1251Lines(QStringLiteral("#Условный знак|#Точечный")));
    EXPECT_EQ(Open([&](TFormSymbolManager* w) {
                  ClickRadio(w->rbLine01);
                  EXPECT_EQ(w->RowCount(), FileCount(1) - 1);
                  EXPECT_EQ(RowOf(w, QStringLiteral("ЯЯЯ")), -1);
                  Esc(w);
              }),
              mrCancel);
    ASSERT_EQ(Said.size(), 1);
    EXPECT_TRUE(Said[0].startsWith(QStringLiteral("Ошибки в библиотеке условных знаков|"))) << Said[0].toStdString();
    EXPECT_TRUE(Said[0].contains(QStringLiteral("ЯЯЯ.wri")));
}

TEST_F(SignManager, OneSignsDialogKeepsTheDocumentState)
{
    TScopedEditorDialogHooks editors(EditorDialogHooks());
    TScopedSemDialogHooks sem(SemDialogHooks());
    InstallSignDialogs();
    CommandLog->clear();
    CommandLog->append(QStringLiteral("mcNewPage=<лист 1>"));
    const QStringList journal = *CommandLog;
    const QStringList snapshots = Snapshots();
    for (const std::uint8_t state : {std::uint8_t(1), std::uint8_t(2)}) {
        DataFileState = state;
        TModalScript script;
        script.Then("TFormSymPointProp", [](QWidget* w) { Esc(w); });
        EXPECT_EQ(EditSymbolDlg(KindFolder(0) + QStringLiteral("ПКТ.wri"), 500, 0), mrCancel);
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(DataFileState, state);
    }
    EXPECT_EQ(*CommandLog, journal);
    EXPECT_EQ(Snapshots(), snapshots);
}

}  // namespace
