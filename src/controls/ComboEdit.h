// One-line edits with a small button inside their right edge: the file-name edit,
// whose button opens a file dialog, and the folder edit, whose button opens a folder
// dialog.
#pragma once

#include "controls/ExSpeedButton.h"
#include "foundation/ErrorTrail.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QStringList>
#include <functional>

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

// The exception of the combo edits.
class EComboEditError : public Exception {
public:
    using Exception::Exception;
};

class TCustomComboEdit;

// The button of a combo edit, joined to the edit's border by two lines.
class TEditButton : public TExSpeedButton {
    Q_OBJECT
public:
    TEditButton(TCustomComboEdit* edit, QWidget* host);
    // The edit's button action, unless the edit is read-only.
    void Click() override;

protected:
    void Paint(QPainter& p) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    TCustomComboEdit* Edit;  // link, not owned (the edit owns the button)
};

class TCustomComboEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TCustomComboEdit(QWidget* parent = nullptr);

    // Typing allowed; the field is read-only when DirectInput is off or ReadOnly on.
    bool DirectInput() const { return FDirectInput; }
    void SetDirectInput(bool value);
    // A read-only combo edit also ignores its button.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // The shortcut that runs the button (Alt+Down).
    QKeySequence ClickKey() const { return FClickKey; }
    void SetClickKey(const QKeySequence& key) { FClickKey = key; }
    // 1 or less hides the button; a width not below the edit's is ignored.
    int ButtonWidth() const;
    void SetButtonWidth(int value);
    QString ButtonHint() const;
    void SetButtonHint(const QString& hint);
    const QImage& Glyph() const;
    // A glyph of one's own: the glyph kind becomes gkCustom.
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const;
    void SetNumGlyphs(int value);
    TGlyphKind GlyphKind() const { return FGlyphKind; }
    void SetGlyphKind(TGlyphKind value);
    // Entering the edit other than by a mouse press selects the whole text.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }

    TEditButton* Button() const { return FButton; }
    // The smallest height the edit takes.
    int MinimumEditHeight() const;

    // What the button does; the base raises OnButtonClick.
    virtual void ButtonClick();

    std::function<void()> OnButtonClick;
    std::function<void()> OnChange;  // the text changed, by the user or the program
    std::function<void()> OnEnter;   // the edit took the focus

protected:
    // The glyph of gkDefault (none in this class).
    virtual QImage DefaultGlyph() const { return QImage(); }
    void RemakeGlyph();
    void PlaceButton();

    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void ApplyReadOnly();

    QWidget* Host;          // child of the edit, holds the button
    TEditButton* FButton;   // child of the host
    bool FDirectInput = true;
    bool FReadOnly = false;
    QKeySequence FClickKey = QKeySequence(Qt::ALT | Qt::Key_Down);
    TGlyphKind FGlyphKind = gkCustom;
    bool FAutoSelect = true;
};

// A file or folder edit: the default glyph is an open folder.
class TFileDirEdit : public TCustomComboEdit {
    Q_OBJECT
public:
    explicit TFileDirEdit(QWidget* parent = nullptr);

    // Before the dialog: may change the name and cancel (action false). After it:
    // may change the chosen name and whether it is taken.
    std::function<void(QString& name, bool& action)> OnBeforeDialog;
    std::function<void(QString& name, bool& action)> OnAfterDialog;

protected:
    QImage DefaultGlyph() const override;
};

enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };
enum TOpenOption {
    ofHideReadOnly = 0x01,
    ofAllowMultiSelect = 0x02,
    ofOverwritePrompt = 0x04,
    ofFileMustExist = 0x08,
    ofPathMustExist = 0x10,
};
using TOpenOptions = int;  // an or-ed set of TOpenOption

// The settings of the file dialog an edit opens, kept between its runs.
struct RFileDialog {
    TFileDialogKind Kind = dkOpen;
    QString Title = QStringLiteral("Browse");
    QString Filter = QStringLiteral("All files (*.*)|*.*");  // "name|patterns|..."
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;
    QStringList Files;  // every chosen file with multiple selection
    QStringList HistoryList;
    TOpenOptions Options = ofHideReadOnly;
};

class TFilenameEdit : public TFileDirEdit {
    Q_OBJECT
public:
    explicit TFilenameEdit(QWidget* parent = nullptr);

    // The text when it names an existing file; otherwise its first word, the text
    // split as a command line (blanks outside double quotes end a word).
    QString FileName() const;
    // The value must read back as a valid file name, else "Invalid file name - %s" is
    // raised and nothing changes; a value holding a blank is stored in double quotes.
    void SetFileName(const QString& value);

    TFileDialogKind DialogKind() const { return Dialog.Kind; }
    void SetDialogKind(TFileDialogKind value) { Dialog.Kind = value; }
    QString DefaultExt() const { return Dialog.DefaultExt; }
    void SetDefaultExt(const QString& value) { Dialog.DefaultExt = value; }
    QString Filter() const { return Dialog.Filter; }
    void SetFilter(const QString& value) { Dialog.Filter = value; }
    int FilterIndex() const { return Dialog.FilterIndex; }
    void SetFilterIndex(int value) { Dialog.FilterIndex = value; }
    QString InitialDir() const { return Dialog.InitialDir; }
    void SetInitialDir(const QString& value) { Dialog.InitialDir = value; }
    QStringList HistoryList() const { return Dialog.HistoryList; }
    void SetHistoryList(const QStringList& value) { Dialog.HistoryList = value; }
    TOpenOptions DialogOptions() const { return Dialog.Options; }
    void SetDialogOptions(TOpenOptions value);
    QString DialogTitle() const { return Dialog.Title; }
    void SetDialogTitle(const QString& value) { Dialog.Title = value; }
    // The files chosen in the last dialog with multiple selection.
    const QStringList& Files() const { return Dialog.Files; }

    void ButtonClick() override;

    // Replaces the file dialog (tests, scripted runs): gets the edit's dialog settings,
    // returns whether a file was chosen and leaves it in FileName (and Files).
    static std::function<bool(RFileDialog& dialog)> DialogHook;

private:
    bool RunDialog();

    RFileDialog Dialog;
};

enum TDirDialogKind { dkVCL, dkWin32 };
enum TSelectDirOpt { sdAllowCreate = 0x01, sdPerformCreate = 0x02, sdPrompt = 0x04 };
using TSelectDirOpts = int;  // an or-ed set of TSelectDirOpt

class TDirectoryEdit : public TFileDirEdit {
    Q_OBJECT
public:
    explicit TDirectoryEdit(QWidget* parent = nullptr);

    TDirDialogKind DialogKind() const { return FDialogKind; }
    void SetDialogKind(TDirDialogKind value) { FDialogKind = value; }
    QString DialogText() const { return FDialogText; }
    void SetDialogText(const QString& value) { FDialogText = value; }
    TSelectDirOpts DialogOptions() const { return FDialogOptions; }
    void SetDialogOptions(TSelectDirOpts value) { FDialogOptions = value; }
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& value) { FInitialDir = value; }
    // A chosen folder is appended after ";" instead of replacing the text.
    bool MultipleDirs() const { return FMultipleDirs; }
    void SetMultipleDirs(bool value) { FMultipleDirs = value; }

    void ButtonClick() override;

    // Replaces the folder dialog (tests, scripted runs): gets the folder it opens at,
    // returns whether a folder was chosen and leaves it in `folder`.
    static std::function<bool(TDirectoryEdit& edit, QString& folder)> DialogHook;

private:
    bool RunDialog(QString& folder);

    TDirDialogKind FDialogKind = dkVCL;
    QString FDialogText;
    TSelectDirOpts FDialogOptions = 0;
    QString FInitialDir;
    bool FMultipleDirs = false;
};
