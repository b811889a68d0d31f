// The classifier window: the one window where a semantics string is chosen from the
// classifier and where the classifier files are edited. It wraps the process's one set of
// classifier services (the codec and its small files) and lives from start to exit.
#pragma once

#include "foundation/ui/DialogBase.h"
#include "semantics/codec/SemServices.h"

#include <QLabel>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTabWidget;
class QToolButton;
class TExCheckListBox;
class TSymbols;
class TTabRows;
class TTextListBox;

// The window's mode: 0 to 5 are the modes SemDlg is called with; 6 and 7 are reached
// inside the window while a standard semantics is chosen for a new (6) or a changed (7)
// work object.
using Tsmode = int;

// One extended kind as both work pages offer it: its add button and caption.
struct RSemExtButton {
    TSemExt Kind;
    const char* Code;      // the two-letter kind code ("М" and "С" have one letter)
    const char* Name;      // the button on the work selection page; the work editor's
                           // button has the same name followed by "2"
    const char* Caption;
};
extern const std::array<RSemExtButton, SemExtCount> SemExtButtons;

// The code panel: shows the current semantics and reports a click.
class TSemPanel : public QLabel {
    Q_OBJECT
public:
    explicit TSemPanel(QWidget* parent = nullptr);
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

class TFormSemDialog : public TDialogBase {
    Q_OBJECT
public:
    // Builds the window and its codec, empty; FormCreate loads the classifier.
    TFormSemDialog();
    ~TFormSemDialog() override;

    // ---- State ----
    std::uint8_t UnknownObject = 0;   // the work selection was opened with no work object
    Tsmode Mode = 0;
    TLmode Localisation = lmPoint;
    std::unique_ptr<TSemServices> Services;   // owns the codec
    TSymbols* Symbols = nullptr;              // link, not owned: the main plan's library

    TSemCodec& Codec() { return Services->Codec; }

    // ---- Creation and destruction ----
    // Loads the standard classifier, the work bases, the font file and each exclusion
    // file that exists; every step runs and the first failure is raised after the font
    // has reached the two work controls.
    void FormCreate();
    // Writes the font file (the font of cbWorkSemObj) and the three exclusion lists.
    // Throws when a file cannot be written; the later step is then skipped.
    void FormDestroy();
    // Binds the sign library whose option decides whether decoding offers to add an
    // unknown work semantics.
    void SetSymbols(TSymbols* symbols);

    // ---- The entry ----
    // Shows the window modally in mode smode; on OK copies back by the mode in force at
    // the close. 1 for OK, 2 for Esc or the close box (and when the window is already
    // showing: it cannot be opened inside itself).
    int Execute(Tsmode smode, TLmode& lmode, QString& Sem);
    // "Готово" and Enter: closes with 1 in modes 0 to 4; in modes 6 and 7 runs the naming
    // step of the work object.
    void BitBtnOKClick();
    // The naming step of a new (mode 6) or changed (mode 7) work object, supplied by the
    // work editor; empty, "Готово" there does nothing.
    std::function<void()> NameWorkObject;

    // ---- Code panel ----
    // Shows the current semantics with its extended items, in a font that fits it.
    void ShowCode();
    // 10 points up to 50 characters, otherwise 500 / length, halves to even.
    static int PanelFontSize(int length);
    void PanelSemClick();

    // ---- Standard selection ----
    // The box lists the names of every standard object, sorted.
    void FillStandardObjects(QComboBox* box);
    // The object box's text changed: the current semantics is cleared, the standard object
    // named in the box (letter case ignored) becomes the current object and its
    // properties fill the three check lists; Memo1 and the code panel follow.
    void LoadFKNs02();
    // A click in a check list: its group of the current semantics is rebuilt from the
    // checked lines in list order.
    void CheckListClick(TExCheckListBox* list);
    // Checks the lines of the current semantics' properties.
    void Preselect();

    // ---- Work selection page ----
    // A localisation radio button: the kind changes, the semantics and the list empty,
    // the box takes the kind's work objects with an empty text.
    void rbLocalisation01Click(TLmode lm);
    // The work object box's text changed: the semantics becomes the standard semantics of
    // the work object named there (none when nothing matches).
    void cbWorkSemObjChange();
    // Shows the add buttons the work object in the box allows; visible ones stay.
    void ShowAllowedButtons();
    // The selected-properties list from the current semantics: М, С, then extended items.
    void RebuildWorkList();
    void sbEditItem01Click();
    void sbDelItem01Click();
    void sbDelAll01Click();
    // Adds (Tpmode 0) or changes (1) the current item of kind se; code is the item's code
    // or list index, value its text. Values come from a temporary choice list, so a text
    // typed into the choice box never reaches the classifier's lists.
    void Pserv01(TSemExt se, int Tpmode, int code, const QString& value);
    QMenu* pmWorkSemSv = nullptr;   // "Изменить", "Удалить", "Удалить все"

    // ---- Standard classifier editor ----
    // The object box's text changed: the lists show the properties of the object named.
    void cbEdtStdObjChange();
    void sbAddObjStdClick();
    void sbEditStdObjClick();
    void sbDelStdObjClick();
    void sbAddSemStdClick();
    void sbEdtSemStdClick();
    void sbDelSemStdClick();
    void sbSaveSTDClick();

    // ---- Work semantics editor ----
    void rbLocalisation02Click(TLmode lm);
    // The box takes the kind's work objects and shows the first one.
    void FillWorkEditorBox();
    // The work object named in the box becomes the current one and the page shows it.
    void cbObjChange();
    // The memo and the list of the current work object.
    void ShowWorkObject();
    void sbEditItem02Click();
    void sbDelItem02Click();
    void sbDelAll02Click();
    void sbSaveWrkObjClick();
    void sbAddWrkObjClick();
    void sbEdtWrkObjClick();
    void sbDelWrkObjClick();
    // Adds (change false) or changes the allowed entry of kind se of the current work
    // object; code is the entry's code or list index. The choice runs on the value list
    // itself: a new text typed there and confirmed joins the list, nothing else.
    void Pserv04(TSemExt se, bool change, int code);
    // "Готово" in modes 6 and 7: the work object is named through NewWrkSemDlg.
    void NameWorkObjectStep();
    // "Готово" in mode 2: offers to write the unsaved work base.
    void AskSaveWorkBase();

    // ---- Extended value lists editor ----
    // The memo shows the value list of the active tab without its reserved line 0.
    void ShowExtList();
    // Writes the memo as the value list of kind: an empty line 0, then its lines. Asks
    // first when lines that were there at the tab's opening moved or went; false when
    // the user declined.
    bool SaveExtList(int kind);
    // The memo's lines; a line break at its very end opens no line.
    QStringList ExtMemoLines() const;
    // An unsaved edit of the memo: asks whether to write it; then it is gone.
    void AskSaveExtEdit();

    // ---- Services of the window ----
    // The readable text of sem for kind lm without any question (TSemServices::decode2).
    void decode2(TLmode lm, const QString& sem, QString& res);
    void SaveExcludes();
    void LoadExcludes();
    void LoadSynonyms();
    void SaveSynonyms();
    bool SemToSymbolName(const QString& sem, TLmode lm, QString& name, int scale);

    // The font button of the work selection page: on a confirmed choice the work object
    // box and the selected-properties list take the family chosen.
    void SpeedButton1Click();
    // The font dialog: true with family set to the user's choice. Replaced by tests.
    static std::function<bool(QString& family)> FontDialogHook;

    // ---- Controls ----
    QTabWidget* pcMain;
    QWidget* tsSelect;
    QWidget* tsEdit;
    QTabWidget* pcSelectSem1;
    QWidget* tsSTD;
    QWidget* tsWRK;
    QTabWidget* pcSelectSem2;
    QWidget* tsEditSTD;
    QWidget* tsEditWrk;
    QWidget* tsEditExt;
    QGroupBox* Panel2;
    QLabel* Panel1;
    TSemPanel* PanelSem;
    QPushButton* BitBtnOK;

    // Standard selection page.
    QComboBox* ComboBoxObject;
    TExCheckListBox* F_List;
    TExCheckListBox* K_List;
    TExCheckListBox* N_List;
    QPlainTextEdit* Memo1;

    // Work selection page.
    QComboBox* cbWorkSemObj;
    QRadioButton* rbPoint01;
    QRadioButton* rbLine01;
    QRadioButton* rbPolygon01;
    QLabel* lnumpoints;
    QLabel* lnumLines;
    QLabel* lnumpolygons;
    TTextListBox* lbWorkSemSv;
    QToolButton* sbDelAll01;
    QToolButton* sbDelItem01;
    QToolButton* sbEditItem01;
    QToolButton* SpeedButton1;
    QWidget* ToolBar1;
    std::array<QToolButton*, SemExtCount> AddButtons1{};   // btM .. btIN

    // Standard classifier editor page.
    QComboBox* cbEdtStdObj;
    TTextListBox* lbEdtStdF;
    TTextListBox* lbEdtStdK;
    TTextListBox* lbEdtStdN;
    QToolButton* sbAddObjStd;
    QToolButton* sbEditStdObj;
    QToolButton* sbDelStdObj;
    QToolButton* sbAddSemStd;
    QToolButton* sbEdtSemStd;
    QToolButton* sbDelSemStd;
    QToolButton* sbSaveSTD;

    // Work semantics editor page.
    QRadioButton* rbPoint02;
    QRadioButton* rbLine02;
    QRadioButton* rbPolygon02;
    QComboBox* cbObj;
    QPlainTextEdit* mStdDecode;
    TTextListBox* lbWorkSemSv2;
    QToolButton* sbAddWrkObj;
    QToolButton* sbEdtWrkObj;
    QToolButton* sbDelWrkObj;
    QToolButton* sbEditItem02;
    QToolButton* sbDelItem02;
    QToolButton* sbDelAll02;
    QToolButton* sbSaveWrkObj;
    QWidget* ToolBar2;
    std::array<QToolButton*, SemExtCount> AddButtons2{};   // btM2 .. btIN2

    // Extended value lists page.
    QPlainTextEdit* mExt;
    QToolButton* sbSaveExt;
    TTabRows* pcSelExt;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // Every close of the window: an unsaved value-list edit is offered for saving.
    void done(int r) override;

private:
    void BuildWindow();
    QWidget* BuildStandardPage();
    QWidget* BuildWorkPage();
    QWidget* BuildStandardEditorPage();
    QWidget* BuildWorkEditorPage();
    QWidget* BuildExtendedPage();
    QWidget* BuildAddButtons(std::array<QToolButton*, SemExtCount>& buttons, const char* suffix);

    void Prepare(Tsmode smode, TLmode lmode, const QString& Sem);
    void PrepareStandard(const QString& Sem);
    void PrepareWorkSelection(TLmode lmode, const QString& Sem);
    void PrepareWorkEditor();
    void PrepareStandardEditor();
    void PrepareExtendedLists();
    void CopyBack(TLmode& lmode, QString& Sem);

    // Sets the three page controls to the pages of the current mode.
    void HoldPages();
    void FocusByMode();
    void ApplyWorkFont(const QString& family);
    // Puts the codec's classifier cursor on the standard object of that name, letter
    // case ignored; false when none has it.
    bool FindStandartByName(const QString& name);
    void ShowStandardDecoding();
    void ClearCheckLists();
    void ConnectWorkPage();
    // The work object of the localisation named in the box, letter case ignored; null
    // when none.
    const RSemWork* BoxWorkObject();
    // The first selected line of the list, or -1.
    int FirstSelectedWorkLine() const;

    void ConnectEditorPages();
    void ConnectWorkEditor();
    void ConnectExtendedPage();
    // The standard object named in the editor's box (letter case ignored): true with the
    // classifier's cursor on it.
    bool EditorObject();
    // Refills the editor's box and sets it to name (empty: no object), lists following.
    void SetEditorObject(const QString& name);
    // The property list the property buttons act on (the one last focused), or null.
    TTextListBox* FocusedStdList() const;
    // The work object of the localisation named in cbObj (letter case ignored), or null.
    RSemWork* NamedWorkObject();
    // The current work object of the localisation (the work list's cursor), or null.
    RSemWork* CurrentWorkObject();
    void EnableWorkButtons();

    RSemWork* ChangedWork = nullptr;   // link, not owned: the object mode 7 renames
    int ExtShownTab = -1;              // the kind the memo shows
    QStringList ExtShownLines;         // its lines as opened or last saved
    bool ExtEdited = false;            // the memo differs from what was opened or saved
    bool Closing = false;              // a close is asking about that edit
    bool HoldingPages = false;
    bool Filling = false;   // the program refills a box: no change handling
};

// Where a line of a list showing materials, states and extended entries one after another
// lies: Group 0 materials, 1 states, 2 extended entries, -1 before or past them; Index its
// position in its group.
struct TSemListPlace {
    int Group = -1;
    int Index = -1;
};
TSemListPlace SemListPlace(int materials, int states, int extended, int line);
// The same over a holder of the three lists (the codec's selection, a work object).
template <class TLists>
TSemListPlace SemListPlace(const TLists& lists, int line)
{
    return SemListPlace(lists.MList.GetCount(), lists.SList.GetCount(), lists.EList.GetCount(), line);
}
// "Не выбран элемент!" before changing (or deleting) an entry of such a list.
void SayNoSemEntryChosen(bool deleting);
// The selected line fell in none of the three groups.
void SemIndexingFault();

// The one classifier window of the run. The main window creates it at start and frees
// it at exit; CreateFormSemDialog installs it as the classifier hooks (SemDlg and the
// refill before mode 5) and runs its creation handler, whose failure is raised with the
// window kept and holding what loaded.
void CreateFormSemDialog();
// Runs the destruction handler, removes the hooks and frees the window, even when a file
// could not be written (that failure is raised after).
void FreeFormSemDialog();
// The window, or null before creation and after freeing.
TFormSemDialog* FormSemDialog();
