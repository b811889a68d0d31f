// The recovery window: the run folders of every computer and user below "Пользователи",
// walked down to one snapshot of one document of an earlier run, and the deletion of
// the date folders older than a number of days.
#pragma once

#include "foundation/ui/DialogBase.h"

class QComboBox;
class QPushButton;
class TNumEdit;
class TTextListBox;

// The age measure of a "dd.mm.yyyy" text: (year × 12 + month) × 30 + day, every month
// counted as 30 days (the 31st of a month equals the 1st of the next); −1 when the day
// (characters 1–2), month (4–5) or year (7–10) is not a whole number.
int DateFolderDays(const QString& date);

// Shows the window on the tree below DataRootFolder + "Пользователи", the computer, user,
// last date and last run preselected. fileName receives the full path of the file chosen
// with "Восстановить" (result 1), empty when none was selected; 2 Esc or the close box.
TModalResult RestoreDlg(QString& fileName);

class TFormRestore : public TDialogBase {
    Q_OBJECT
public:
    // usersFolder: the folder "Пользователи"; computer and user are preselected when
    // their folders are there, today is the run's start date "dd.mm.yyyy".
    TFormRestore(const QString& usersFolder, const QString& computer, const QString& user,
                 const QString& today, QWidget* parent = nullptr);

    // Each fills its list from its parent folder, sorted by name; true when the list is
    // not empty. Users, dates, runs and documents follow the choice above them.
    bool FillComputers();
    bool FillUsers();
    bool FillDates();
    bool FillRuns();
    bool FillDocuments();
    // Every entry of the document folder into the file list.
    bool FillDocumentFiles(const QString& folder);

    // "Удалить файлы старше": the chosen user's date folders older than the number of
    // days in the edit, with all they hold. Today's date folder, which holds this run,
    // always stays; a negative number is refused.
    void Button1Click();
    // "Восстановить": the selected file becomes the result; the window closes.
    void BitBtn1Click();

    // The full path of the restored file; empty when none was selected.
    QString RestoreFile;

    QComboBox* ComboBox1;   // computer
    QComboBox* ComboBox2;   // user
    QComboBox* ComboBox3;   // start date
    QComboBox* ComboBox4;   // start time
    TTextListBox* TextListBox1;   // documents of the run
    TTextListBox* TextListBox2;   // files of the document
    QPushButton* BitBtn1;
    QPushButton* Button1;
    TNumEdit* NumEdit1;

private:
    // The folder of the chosen entries down to depth (1 computer … 4 run); empty when
    // one of them is not chosen.
    QString Chosen(int depth) const;
    void ComputerChange();
    void UserChange();
    void DateChange();
    void RunChange();
    void DocumentClick();

    QString UsersFolder;
    QString Computer;
    QString User;
    QString Today;
};
