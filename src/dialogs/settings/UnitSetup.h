// "Настройки Velmora 6": one modal window over the settings of the settings file, the
// classifier's exclusion lists, the sign library's unknown signs, the screen resolution
// and the sign manager; and the program's place on the desktop (plan file types, the
// desktop shortcut, the menu entry), which a new user's first show makes as well.
#pragma once

#include "foundation/ui/DialogBase.h"
#include "platform/Platform.h"

#include <QFrame>
#include <QStringList>
#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TDirectoryEdit;
class TFilenameEdit;
class TNumEdit;

// What the window shows when it opens.
struct RSetupValues {
    QString PlansFolder;
    QString RastrsFolder;
    QString NomenclatureFile;
    bool AutoSaveOn = true;
    int AutoSaveInterval = 300000;           // milliseconds
    bool UndoOn = false;
    int SnapRadius = 50;                     // pixels
    int PickRadius = 10;
    Extended ScreenDpi = 96;
    int PlanPixelFormat = 6;                 // 1, 2, 3, 5, 6
    int RastrPixelFormat = 4;                // 0 .. 6
    int WheelMode = 2;
    bool AskUnknownWorkSem = false;
    bool AskUnknownSymbol = false;
    bool UseSynonyms = false;
    bool FontAutoload = true;
    QStringList UnknownSigns;
    bool UseHCAD = false;
    bool UseHCADinText = false;
    // TColor values (0x00BBGGRR; negative: a system colour): the background, the frames of
    // 1:500 and 1:5000 sheets, the nomenclature labels, the new line, the polygon's main,
    // special (1) and special (2) segments, the nodes, the two highlight colours.
    std::array<std::int32_t, 11> Colours{};
    int HighlightWidth = 1;                  // pixels
    int ArrowLength = 25;                    // pixels
    Extended ArrowAngle = 8;                 // degrees
};

// Where the window reads its values and writes them back: the main window, the main
// plan, its sign library and the classifier window in the program; a recording fake in
// tests. The window calls the setters in the order they are declared.
class TSetupTarget {
public:
    virtual ~TSetupTarget() = default;

    virtual RSetupValues Values() = 0;
    // The classifier window's exclusion lists into their files, and back.
    virtual void SaveExcludes() = 0;
    virtual void LoadExcludes() = 0;
    // The classifier window in an editing mode (for points).
    virtual TModalResult EditClassifier(int mode) = 0;
    // A sign library was edited: the plan's own is read again and drawn.
    virtual void SignsEdited() = 0;
    // The tool palette moved to the screen's corner while the window is up, and back.
    virtual void MovePaletteAside() = 0;
    virtual void RestorePalette() = 0;

    virtual void SetUseSynonyms(bool on) = 0;
    virtual void SetDxfHeights(bool inMarks, bool inCaptions) = 0;
    virtual void SetWheelMode(int mode) = 0;
    virtual void SetUnknownSigns(const QStringList& names) = 0;
    // (the exclusion files are written here, then LoadExcludes)
    virtual void SetFontAutoload(bool on) = 0;
    virtual void SetAskSwitches(bool workSem, bool signs) = 0;
    virtual void SetPlansFolder(const QString& folder) = 0;
    virtual void SetRastrsFolder(const QString& folder) = 0;
    // on: the interval in milliseconds is taken too; off: it stays.
    virtual void SetAutoSave(bool on, int interval) = 0;
    virtual void SetBackground(std::int32_t colour) = 0;
    // Called only for another existing file; false (the current file kept) when it
    // does not read.
    virtual bool LoadNomenclatures(const QString& fileName) = 0;
    virtual void SetScreenDpi(Extended dpi) = 0;
    virtual void SetPixelFormats(int plan, int rastr) = 0;
    // Colours 1 to 8 of RSetupValues::Colours.
    virtual void SetColours(const std::array<std::int32_t, 11>& colours) = 0;
    virtual void SetSnapRadius(int pixels) = 0;
    virtual void SetPickRadius(int pixels) = 0;
    virtual void SetHighlight(std::int32_t colour1, std::int32_t colour2, int width, int arrowLength,
                              Extended arrowAngle) = 0;
    virtual void SetUndoOn(bool on) = 0;
};

// A coloured box; a click opens the colour dialog preset with its colour.
class TColorBox : public QFrame {
    Q_OBJECT
public:
    explicit TColorBox(QWidget* parent = nullptr);
    std::int32_t Colour() const { return FColour; }
    void SetColour(std::int32_t colour);

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    std::int32_t FColour = 0;
};

class TFormSetup : public TDialogBase {
    Q_OBJECT
public:
    TFormSetup(TSetupTarget& target, QWidget* parent = nullptr);

    // Fills the controls from the target, the exclusion memos from their files after the
    // classifier wrote them, and moves the palette aside.
    void FormShow();
    // Writes every value back, in the target's order, and puts the palette back.
    void FormClose();

    void SystemDpiClick();     // "взять системное  значение"
    void RulerDpiClick();      // "Определить самостоятельно"
    void AssociationsClick();  // "установить ассоциации файлов"
    void DesktopClick();       // "создать ярлык на рабочем столе"
    void StartMenuClick();     // "создать ярлык в меню пуск"
    void EditorClick();        // "Редактор"
    // The scales that have a sign folder: the whole-number names of the subfolders of
    // "Условные знаки", in the order of their values.
    static QStringList SignScales();

    QLabel* lbComputer;
    QLabel* lbUser;
    QTabWidget* PageControl1;
    // "Общие"
    TDirectoryEdit* edPlans;
    TDirectoryEdit* edRastrs;
    TFilenameEdit* edNomenclature;
    QCheckBox* cbAutoSave;
    TNumEdit* neAutoSave;
    QCheckBox* cbUndo;
    TNumEdit* neSnap;
    TNumEdit* nePick;
    TNumEdit* neDpi;
    QPushButton* btSystemDpi;
    QPushButton* btRulerDpi;
    QComboBox* cbPlanDepth;
    QComboBox* cbRastrDepth;
    std::array<QRadioButton*, 3> rbWheel;
    QPushButton* btAssociations;
    QPushButton* btDesktop;
    QPushButton* btStartMenu;
    // "Семантика"
    QPushButton* btStandard;
    QPushButton* btExtended;
    QPushButton* btWork;
    QCheckBox* cbAskWorkSem;
    QTabWidget* pcExcludes;
    std::array<QPlainTextEdit*, 3> meExcludes;
    QPushButton* btClearExcludes;
    // "Условные знаки"
    QCheckBox* cbFontAutoload;
    QCheckBox* cbAskSigns;
    QCheckBox* cbSynonyms;
    QPlainTextEdit* meUnknown;
    QPushButton* btClearUnknown;
    QPushButton* btEditor;
    // "Цвета", in the order of RSetupValues::Colours
    std::array<TColorBox*, 11> ColourBoxes;
    QPushButton* btDefaultBack;
    TNumEdit* neHighlightWidth;
    TNumEdit* neArrowLength;
    TNumEdit* neArrowAngle;
    // "Конвертер"
    QCheckBox* cbHeightsZ;
    QCheckBox* cbCaptionsZ;
    QPushButton* btDone;

private:
    QWidget* GeneralPage();
    QWidget* SemanticsPage();
    QWidget* SignsPage();
    QWidget* ColoursPage();
    QWidget* ConverterPage();
    void WriteExcludes();
    // The screen the window is on: its width in pixels and its logical dots per inch.
    int ScreenWidth() const;
    Extended SystemDpi() const;

    TSetupTarget& Target;   // link, not owned
    RSetupValues Shown;
    std::array<bool, 3> ExcludesRead{};   // a memo that could not be read is not written back
    bool StartMenuDone = false;
};

// The window over the target: filled, shown modally, written back whatever the result.
// Returns the modal result (1 "Готово" or Enter, 2 Esc or the close box).
TModalResult SetupDlg(TSetupTarget& target);
// The same over the main window and its plan.
TModalResult SetupDlg();

// The plan files of scale 1:s opened by this program (a MIME type of their own in the
// desktop's database). Raises for a file that cannot be written.
void RegisterPlanExtension(const QString& s);
// The eight plan scales 100, 200, 500, 1000, 2000, 5000, 10000 and 25000 in that order.
void RegisterPlanExtensions();
// "Велмора 6" on the desktop. Raises for a file that cannot be written.
void CreateDesktopShortcut();
// The program's entry in the desktop's menus. Raises for a file that cannot be written.
void CreateMenuEntry();
