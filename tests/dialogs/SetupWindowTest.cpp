// The settings window over a recording target: what it shows when it opens, what the
// user's clicks and keys change, the order everything is written back in however the
// window closes, the ruler, the sign manager's scales, and the buttons of the desktop.
#include "DialogsTestSupport.h"

#include "controls/ComboEdit.h"
#include "dialogs/settings/UnitSetup.h"
#include "editors/EditorDialogs.h"
#include "engine/draw/MapPainter.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "platform/DesktopEntries.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemCodec.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

QString ExcludeFile(int lm) { return TSemCodec::ClassifierPath(TSemCodec::ExcludeFileNames[lm]); }

// Records every call by name; the classifier's lists go to and come from their files.
class TRecordingTarget : public TSetupTarget {
public:
    RSetupValues Start;                   // what Values gives
    RSetupValues Got;                     // what the setters were given
    std::array<QStringList, 3> Classifier = {QStringList{QStringLiteral("ТОЧ/А")},
                                             QStringList{QStringLiteral("ЛИН/Б"), QStringLiteral("ЛИН/В")},
                                             QStringList{}};
    QStringList Calls;
    QStringList Nomenclatures;            // files LoadNomenclatures was given
    std::vector<int> ClassifierModes;

    RSetupValues Values() override
    {
        Calls << QStringLiteral("Values");
        Got = Start;
        return Start;
    }
    void SaveExcludes() override
    {
        Calls << QStringLiteral("SaveExcludes");
        for (int lm = 0; lm < 3; ++lm)
            WriteTextFileLines(ExcludeFile(lm), Classifier[lm]);
    }
    void LoadExcludes() override
    {
        Calls << QStringLiteral("LoadExcludes");
        for (int lm = 0; lm < 3; ++lm)
            Classifier[lm] = ReadTextFileLines(ExcludeFile(lm));
    }
    TModalResult EditClassifier(int mode) override
    {
        ClassifierModes.push_back(mode);
        return mrCancel;
    }
    void SignsEdited() override { Calls << QStringLiteral("SignsEdited"); }
    void MovePaletteAside() override { Calls << QStringLiteral("MovePaletteAside"); }
    void RestorePalette() override { Calls << QStringLiteral("RestorePalette"); }

    void SetUseSynonyms(bool on) override
    {
        Record("SetUseSynonyms");
        Got.UseSynonyms = on;
    }
    void SetDxfHeights(bool a, bool b) override
    {
        Record("SetDxfHeights");
        Got.UseHCAD = a;
        Got.UseHCADinText = b;
    }
    void SetWheelMode(int mode) override
    {
        Record("SetWheelMode");
        Got.WheelMode = mode;
    }
    void SetUnknownSigns(const QStringList& names) override
    {
        Record("SetUnknownSigns");
        Got.UnknownSigns = names;
    }
    void SetFontAutoload(bool on) override
    {
        Record("SetFontAutoload");
        Got.FontAutoload = on;
    }
    void SetAskSwitches(bool a, bool b) override
    {
        Record("SetAskSwitches");
        Got.AskUnknownWorkSem = a;
        Got.AskUnknownSymbol = b;
    }
    void SetPlansFolder(const QString& f) override
    {
        Record("SetPlansFolder");
        Got.PlansFolder = f;
    }
    void SetRastrsFolder(const QString& f) override
    {
        Record("SetRastrsFolder");
        Got.RastrsFolder = f;
    }
    void SetAutoSave(bool on, int interval) override
    {
        Record("SetAutoSave");
        Got.AutoSaveOn = on;
        Got.AutoSaveInterval = interval;
    }
    void SetBackground(std::int32_t c) override
    {
        Record("SetBackground");
        Got.Colours[0] = c;
    }
    bool LoadNomenclatures(const QString& fileName) override
    {
        Record("LoadNomenclatures");
        Nomenclatures << fileName;
        Got.NomenclatureFile = fileName;
        return true;
    }
    void SetScreenDpi(Extended dpi) override
    {
        Record("SetScreenDpi");
        Got.ScreenDpi = dpi;
    }
    void SetPixelFormats(int plan, int rastr) override
    {
        Record("SetPixelFormats");
        Got.PlanPixelFormat = plan;
        Got.RastrPixelFormat = rastr;
    }
    void SetColours(const std::array<std::int32_t, 11>& c) override
    {
        Record("SetColours");
        for (int i = 1; i <= 8; ++i)
            Got.Colours[i] = c[i];
    }
    void SetSnapRadius(int p) override
    {
        Record("SetSnapRadius");
        Got.SnapRadius = p;
    }
    void SetPickRadius(int p) override
    {
        Record("SetPickRadius");
        Got.PickRadius = p;
    }
    void SetHighlight(std::int32_t c1, std::int32_t c2, int width, int length, Extended angle) override
    {
        Record("SetHighlight");
        Got.Colours[9] = c1;
        Got.Colours[10] = c2;
        Got.HighlightWidth = width;
        Got.ArrowLength = length;
        Got.ArrowAngle = angle;
    }
    void SetUndoOn(bool on) override
    {
        Record("SetUndoOn");
        Got.UndoOn = on;
    }

private:
    void Record(const char* name) { Calls << QString::fromLatin1(name); }
};

// The write-back as the window makes it, after the opening's three calls.
const QStringList WriteBack = {
    QStringLiteral("SetUseSynonyms"),  QStringLiteral("SetDxfHeights"),  QStringLiteral("SetWheelMode"),
    QStringLiteral("SetUnknownSigns"), QStringLiteral("LoadExcludes"),   QStringLiteral("SetFontAutoload"),
    QStringLiteral("SetAskSwitches"),  QStringLiteral("SetPlansFolder"), QStringLiteral("SetRastrsFolder"),
    QStringLiteral("SetAutoSave"),     QStringLiteral("SetBackground"),  QStringLiteral("LoadNomenclatures"),
    QStringLiteral("SetScreenDpi"),    QStringLiteral("SetPixelFormats"), QStringLiteral("SetColours"),
    QStringLiteral("SetSnapRadius"),   QStringLiteral("SetPickRadius"),  QStringLiteral("SetHighlight"),
    QStringLiteral("SetUndoOn"),       QStringLiteral("RestorePalette")};

void TypeOver(QWidget* edit, const QString& text)
{
    edit->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        line->selectAll();
    TypeText(edit, text);
}

void ClickBox(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2)); }

class SetupWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Folder = std::make_unique<TProgramFolderScope>(Dir.path() + QStringLiteral("/program"));
        QDir().mkpath(Dir.path() + QStringLiteral("/program/Семантика"));
        QDir().mkpath(Dir.path() + QStringLiteral("/program/номенклатуры"));
        Nomenclature = Dir.path() + QStringLiteral("/program/номенклатуры/город.wri");
        WriteBytes(Nomenclature, "2\r\n");
        RSetupValues& v = Target.Start;
        v.PlansFolder = QStringLiteral("/планы");
        v.RastrsFolder = QStringLiteral("/растры");
        v.NomenclatureFile = QStringLiteral("/старый.wri");
        v.AutoSaveOn = true;
        v.AutoSaveInterval = 600000;
        v.UndoOn = true;
        v.SnapRadius = 50;
        v.PickRadius = 10;
        v.ScreenDpi = 92.89L;
        v.PlanPixelFormat = 5;
        v.RastrPixelFormat = 1;
        v.WheelMode = 2;
        v.AskUnknownWorkSem = true;
        v.AskUnknownSymbol = false;
        v.UseSynonyms = true;
        v.FontAutoload = false;
        v.UnknownSigns = {QStringLiteral("ЗНАК1"), QStringLiteral("ЗНАК2")};
        v.UseHCAD = false;
        v.UseHCADinText = true;
        v.Colours = {clBtnFace, 0xC5C4BC, 0xD5AE9F, 0, 0x008000, 0x008000, 0xFF00FF, 0xFF0000, 0x8000FF,
                     0xFF0000, 0x00FFFF};
        v.HighlightWidth = 2;
        v.ArrowLength = 25;
        v.ArrowAngle = 8.5L;
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Said << caption + u'|' + text;
            return mrOk;
        };
        hooks.SelStr = [this](const QStringList& list, TSelection& selection, const QString& caption,
                              const QString& text) {
            Listed = list;
            SelectCaption = caption + u'|' + text;
            EXPECT_EQ(selection.Index, list.isEmpty() ? -1 : 0);   // the first entry selected
            selection = Selection;
            return SelectResult;
        };
        Dialogs = std::make_unique<TScopedDialogHooks>(hooks);
        TEditorDialogHooks editors;
        editors.SymbolManagerDlg = [this](int scale) {
            Managed.push_back(scale);
            return mrOk;
        };
        Editors = std::make_unique<TScopedEditorDialogHooks>(editors);
    }

    // The window run over the target; act works it and closes it.
    TModalResult Run(const std::function<void(TFormSetup&)>& act)
    {
        TModalScript script;
        script.Then("TFormSetup", [&](QWidget* w) { act(static_cast<TFormSetup&>(*w)); });
        const TModalResult result = SetupDlg(Target);
        EXPECT_TRUE(script.Done());
        return result;
    }

    QTemporaryDir Dir;
    std::unique_ptr<TProgramFolderScope> Folder;
    std::unique_ptr<TScopedDialogHooks> Dialogs;
    std::unique_ptr<TScopedEditorDialogHooks> Editors;
    TRecordingTarget Target;
    QString Nomenclature;
    QStringList Said;
    QStringList Listed;
    QString SelectCaption;
    TSelection Selection;
    TModalResult SelectResult = mrOk;
    std::vector<int> Managed;
};

}  // namespace

TEST_F(SetupWindow, OpensWithTheTargetsValuesAndTheClassifiersListsAsItHasThem)
{
    Target.Start.AutoSaveInterval = 150000;   // 2.5 minutes: halves go to the even one
    Target.Start.NomenclatureFile = QStringLiteral("/ушедшая папка/старый.wri");   // gone since
    Run([&](TFormSetup& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Настройки Velmora 6"));
        EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(w.lbComputer->text(), QStringLiteral("Имя компьютера ") + ComputerName);
        EXPECT_EQ(w.lbUser->text(), QStringLiteral("Имя пользователя ") + UserName);
        QStringList pages;
        for (int i = 0; i < w.PageControl1->count(); ++i)
            pages << w.PageControl1->tabText(i);
        EXPECT_EQ(pages, (QStringList{QStringLiteral("Общие"), QStringLiteral("Семантика"),
                                      QStringLiteral("Условные знаки"), QStringLiteral("Цвета"),
                                      QStringLiteral("Конвертер")}));
        EXPECT_EQ(w.edPlans->text(), QStringLiteral("/планы"));
        EXPECT_EQ(w.edNomenclature->text(), QStringLiteral("/ушедшая папка/старый.wri"));
        EXPECT_TRUE(w.cbAutoSave->isChecked());
        EXPECT_EQ(w.neAutoSave->text(), QStringLiteral("2"));
        EXPECT_EQ(w.neDpi->text(), QStringLiteral("92") + DecimalSeparator + QStringLiteral("89"));
        EXPECT_EQ(w.cbPlanDepth->currentText(), QStringLiteral("16 bit 65 тыс.цветов"));
        EXPECT_EQ(w.cbRastrDepth->currentText(), QStringLiteral("соответствует плану"));
        EXPECT_TRUE(w.rbWheel[2]->isChecked());
        EXPECT_EQ(w.meUnknown->toPlainText(), QStringLiteral("ЗНАК1\nЗНАК2"));
        EXPECT_EQ(w.meExcludes[1]->toPlainText(), QStringLiteral("ЛИН/Б\nЛИН/В"));
        EXPECT_EQ(w.ColourBoxes[0]->Colour(), clBtnFace);
        EXPECT_EQ(w.neArrowAngle->text(), QStringLiteral("8") + DecimalSeparator + QStringLiteral("500"));
        EXPECT_TRUE(w.cbCaptionsZ->isChecked());
        Esc(&w);
    });
    // The palette goes aside first; the classifier writes its lists before the memos read them.
    EXPECT_EQ(Target.Calls.mid(0, 3), (QStringList{QStringLiteral("MovePaletteAside"), QStringLiteral("Values"),
                                                   QStringLiteral("SaveExcludes")}));
    // An untouched nomenclature edit is not looked for again.
    EXPECT_TRUE(Target.Nomenclatures.isEmpty());
    EXPECT_TRUE(Said.isEmpty()) << Said.join(u'\n').toStdString();
}

TEST_F(SetupWindow, EscWritesEveryChangeBackInTheFixedOrder)
{
    const TModalResult result = Run([&](TFormSetup& w) {
        TypeOver(w.edPlans, QStringLiteral("/новые"));
        TypeOver(w.edNomenclature, Nomenclature);
        ClickBox(w.cbUndo);
        TypeOver(w.neAutoSave, QStringLiteral("7"));
        TypeOver(w.neSnap, QStringLiteral("12"));
        TypeOver(w.nePick, QStringLiteral("4"));
        TypeOver(w.neDpi, QStringLiteral("120,5"));
        w.cbPlanDepth->setFocus();
        QTest::keyClick(w.cbPlanDepth, Qt::Key_Up);
        ClickBox(w.rbWheel[0]);
        w.PageControl1->setCurrentIndex(1);
        ClickBox(w.cbAskWorkSem);
        w.pcExcludes->setCurrentIndex(2);
        w.meExcludes[2]->setFocus();
        TypeText(w.meExcludes[2], QStringLiteral("ПОЛ/Г"));
        w.PageControl1->setCurrentIndex(2);
        ClickBox(w.cbFontAutoload);
        ClickBox(w.cbSynonyms);
        QTest::mouseClick(w.btClearUnknown, Qt::LeftButton);
        w.PageControl1->setCurrentIndex(3);
        TModalScript colour;
        colour.Then("QColorDialog", [](QWidget* d) {
            static_cast<QColorDialog*>(d)->setCurrentColor(QColor(0x12, 0x34, 0x56));
            Enter(d);
        });
        QTest::mouseClick(w.ColourBoxes[1], Qt::LeftButton);
        EXPECT_TRUE(colour.Done());
        QTest::mouseClick(w.btDefaultBack, Qt::LeftButton);
        TypeOver(w.neArrowAngle, QStringLiteral("12.25"));
        w.PageControl1->setCurrentIndex(4);
        ClickBox(w.cbHeightsZ);
        Esc(&w);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Target.Calls.mid(3), WriteBack) << Target.Calls.join(u' ').toStdString();
    const RSetupValues& g = Target.Got;
    EXPECT_EQ(g.PlansFolder, QStringLiteral("/новые"));
    EXPECT_EQ(Target.Nomenclatures, QStringList{Nomenclature});
    EXPECT_FALSE(g.UndoOn);
    EXPECT_EQ(g.AutoSaveInterval, 7 * 60000);
    EXPECT_EQ(g.SnapRadius, 12);
    EXPECT_EQ(g.PickRadius, 4);
    EXPECT_EQ(g.ScreenDpi, 120.5L);
    EXPECT_EQ(g.PlanPixelFormat, 3);   // one item up from 16 bit
    EXPECT_EQ(g.RastrPixelFormat, 1);
    EXPECT_EQ(g.WheelMode, 0);
    EXPECT_FALSE(g.AskUnknownWorkSem);
    EXPECT_TRUE(g.FontAutoload);
    EXPECT_FALSE(g.UseSynonyms);
    EXPECT_TRUE(g.UnknownSigns.isEmpty());
    EXPECT_EQ(g.Colours[1], 0x563412);
    EXPECT_EQ(g.Colours[0], clBtnFace);
    EXPECT_EQ(g.ArrowAngle, 12.25L);
    EXPECT_TRUE(g.UseHCAD);
    EXPECT_TRUE(g.UseHCADinText);
    // The memos went through their files into the classifier, untouched ones as they were.
    EXPECT_EQ(Target.Classifier[2], QStringList{QStringLiteral("ПОЛ/Г")});
    EXPECT_EQ(Target.Classifier[1], (QStringList{QStringLiteral("ЛИН/Б"), QStringLiteral("ЛИН/В")}));
    EXPECT_TRUE(Said.isEmpty()) << Said.join(u'\n').toStdString();
}

TEST_F(SetupWindow, BadValuesKeepWhatWasThereAndSaySo)
{
    const TModalResult result = Run([&](TFormSetup& w) {
        TypeOver(w.neAutoSave, QStringLiteral("0"));
        TypeOver(w.edNomenclature, Dir.path() + QStringLiteral("/нет такого.wri"));
        TypeOver(w.neDpi, QStringLiteral("0"));
        Enter(&w);   // in an edit: the window's "Готово"
    });
    EXPECT_EQ(result, mrOk);
    // A 0 ms timer would fire without a pause: a minute at least.
    EXPECT_EQ(Target.Got.AutoSaveInterval, 60000);
    EXPECT_TRUE(Target.Nomenclatures.isEmpty());
    EXPECT_FALSE(Target.Calls.contains(QStringLiteral("SetScreenDpi")));
    EXPECT_EQ(Target.Got.ScreenDpi, 92.89L);
    ASSERT_EQ(Said.size(), 2) << Said.join(u'\n').toStdString();
    EXPECT_TRUE(Said[0].startsWith(QStringLiteral("Настройки Velmora 6|Не найден файл номенклатур "))) << Said[0].toStdString();
    EXPECT_TRUE(Said[0].endsWith(QStringLiteral("оставлен прежний /старый.wri")));
    EXPECT_TRUE(Said[1].contains(QStringLiteral("Разрешение экрана должно быть больше нуля"))) << Said[1].toStdString();
}

TEST_F(SetupWindow, AnExclusionFileThatCannotBeReadIsNeitherWrittenNorReadBack)
{
    // The classifier cannot write the lines' file: its place is a folder.
    QFile::remove(ExcludeFile(1));
    QDir().mkpath(ExcludeFile(1));
    Target.Classifier[1] = {QStringLiteral("ЛИН/Б")};
    Run([&](TFormSetup& w) {
        EXPECT_TRUE(w.meExcludes[1]->isReadOnly());
        TypeText(w.meExcludes[0], QStringLiteral("X"));
        Esc(&w);
    });
    EXPECT_FALSE(Said.isEmpty());
    EXPECT_FALSE(Target.Calls.contains(QStringLiteral("LoadExcludes")));
    EXPECT_EQ(Target.Classifier[1], QStringList{QStringLiteral("ЛИН/Б")});
}

TEST_F(SetupWindow, TheRulerGivesPixelsOverInchesAndACancelOrAZeroChangesNothing)
{
    struct Case {
        TModalResult First, Second;
        Extended Pixels, Millimetres;
        const char* Shown;
        bool Message;
    };
    const Case cases[] = {
        {mrOk, mrOk, 1600, 400, "101,60", false},
        {mrOk, mrOk, 1024, 270.9334L, "96,00", false},
        {mrCancel, mrOk, 1600, 400, "92,89", false},
        {mrOk, mrCancel, 1600, 400, "92,89", false},
        {mrOk, mrOk, 1600, 0, "92,89", true},
        {mrOk, mrOk, 0, 300, "92,89", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Shown);
        Said.clear();
        QStringList asked;
        TProgramDialogHooks hooks;
        hooks.InpFlt = [&](Extended& value, const QString& caption, const QString& message) {
            asked << caption + u'|' + message;
            if (asked.size() == 1) {
                value = c.Pixels;
                return c.First;
            }
            if (c.Pixels > 0) {
                EXPECT_GT(value, 0);   // pixels over the system's dots per inch, in millimetres
            }
            value = c.Millimetres;
            return c.Second;
        };
        TScopedProgramDialogHooks scope(hooks);
        Run([&](TFormSetup& w) {
            QTest::mouseClick(w.btRulerDpi, Qt::LeftButton);
            EXPECT_EQ(w.neDpi->text(), QString::fromUtf8(c.Shown).replace(u',', DecimalSeparator));
            Esc(&w);
        });
        EXPECT_EQ(asked.value(0), QStringLiteral("Количество точек экрана по горизонтали|Если необходимо,исправьте "
                                                 "размер экрана в пикселях по горизонтали"));
        if (c.First == mrOk) {
            EXPECT_EQ(asked.value(1), QStringLiteral("Размер экрана по горизонтали,мм|Измерьте линейкой экран по "
                                                     "горизонтали и введите размер в мм"));
        }
        EXPECT_EQ(!Said.isEmpty(), c.Message) << Said.join(u'\n').toStdString();
    }
}

TEST_F(SetupWindow, TheSignManagerOpensForAListedWholeNumberScaleOnly)
{
    for (const char* name : {"500", "2000", "100", "abc", "12a", "99999999999", "-", "1 000"})
        QDir().mkpath(Dir.path() + QStringLiteral("/program/Условные знаки/") + QString::fromUtf8(name));
    WriteBytes(Dir.path() + QStringLiteral("/program/Условные знаки/700"), "a file, not a folder");
    struct Case {
        TModalResult Result;
        int Index;
        QString Typed;
        std::vector<int> Opened;
    };
    const Case cases[] = {
        {mrOk, 1, {}, {500}},
        {mrOk, -1, QStringLiteral("700"), {}},   // typed, not listed
        {mrCancel, 0, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Index);
        Managed.clear();
        Target.Calls.clear();
        SelectResult = c.Result;
        Selection = {c.Index, c.Typed};
        Run([&](TFormSetup& w) {
            w.PageControl1->setCurrentIndex(2);
            QTest::mouseClick(w.btEditor, Qt::LeftButton);
            Esc(&w);
        });
        EXPECT_EQ(Listed, (QStringList{QStringLiteral("100"), QStringLiteral("500"), QStringLiteral("2000")}));
        EXPECT_EQ(SelectCaption, QStringLiteral("Выберете масштаб|в списке отображены масштабы планов, для которых "
                                                "созданы условные знаки"));
        EXPECT_EQ(Managed, c.Opened);
        EXPECT_EQ(Target.Calls.contains(QStringLiteral("SignsEdited")), !c.Opened.empty());
    }
}

TEST_F(SetupWindow, TheClassifierButtonsAndTheClearButtons)
{
    Run([&](TFormSetup& w) {
        w.PageControl1->setCurrentIndex(1);
        for (QPushButton* b : {w.btStandard, w.btExtended, w.btWork})
            QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(w.btExtended->text(), QStringLiteral("Расширенная "));
        // "очистить" clears the page in front only.
        w.pcExcludes->setCurrentIndex(0);
        QTest::mouseClick(w.btClearExcludes, Qt::LeftButton);
        EXPECT_TRUE(w.meExcludes[0]->toPlainText().isEmpty());
        EXPECT_FALSE(w.meExcludes[1]->toPlainText().isEmpty());
        Esc(&w);
    });
    EXPECT_EQ(Target.ClassifierModes, (std::vector<int>{3, 4, 2}));
    EXPECT_TRUE(Target.Classifier[0].isEmpty());
    EXPECT_EQ(Target.Classifier[1].size(), 2);
}

TEST_F(SetupWindow, TheDesktopButtonsWriteTheirFilesAndTheMenuEntryOncePerWindow)
{
    const QByteArray home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", Dir.path().toUtf8());
    qputenv("XDG_DATA_HOME", (Dir.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (Dir.path() + QStringLiteral("/config")).toUtf8());
    DesktopToolRunner() = [](const QString&, const QStringList&) {};
    const QString entry = Dir.path() + QStringLiteral("/data/applications/velmora6.desktop");
    Run([&](TFormSetup& w) {
        QTest::mouseClick(w.btStartMenu, Qt::LeftButton);
        EXPECT_TRUE(QFile::exists(entry));
        QFile::remove(entry);
        QTest::mouseClick(w.btStartMenu, Qt::LeftButton);   // the second press: nothing
        EXPECT_FALSE(QFile::exists(entry));
        QTest::mouseClick(w.btDesktop, Qt::LeftButton);
        QTest::mouseClick(w.btAssociations, Qt::LeftButton);
        Esc(&w);
    });
    EXPECT_TRUE(QFileInfo(Dir.path() + QStringLiteral("/Desktop/Велмора 6.desktop")).isExecutable());
    EXPECT_EQ(RegisteredPlanMimeTypes().size(), 8);
    const QString text = QString::fromUtf8(FileBytes(entry));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=") + ProgramFolder + QStringLiteral("velmora.png\n")))
        << text.toStdString();
    EXPECT_TRUE(Said.isEmpty()) << Said.join(u'\n').toStdString();
    DesktopToolRunner() = nullptr;
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", data);
    qputenv("XDG_CONFIG_HOME", config);
}

TEST_F(SetupWindow, EveryPageReviewed)
{
    Target.Start.UnknownSigns = {QStringLiteral("ОТА/ИВ105.2"), QStringLiteral("ЗДН/М001;С002")};
    Run([&](TFormSetup& w) {
        const char* names[5] = {"setup-general", "setup-semantics", "setup-signs", "setup-colours", "setup-converter"};
        for (int i = 0; i < 5; ++i) {
            w.PageControl1->setCurrentIndex(i);
            QApplication::processEvents();
            SaveWindowPicture(&w, QString::fromLatin1(names[i]));
        }
        Esc(&w);
    });
}
