// The folder browser: a dialog that returns one existing folder.
#pragma once

#include <QString>
#include <functional>

enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

class TBrowseFolderDlg {
public:
    // Computers are not browsed on this system: bfComputers browses folders as well.
    TBrowseKind BrowseKind = bfFolders;
    bool DesktopRoot = true;
    QString DialogText;  // the prompt, shown as the dialog's title
    QString FolderName;  // the folder on entry and the result
    int HelpContext = 0;  // kept for the callers; this system shows no help topics
    TDialogPosition Position = dpScreenCenter;
    std::function<void()> OnInitialized;
    std::function<void()> OnSelChanged;

    // The folder under the cursor while the user browses.
    const QString& SelectedName() const { return Selected; }

    // True when the user chose a folder, which is then FolderName (without a final
    // "/"); false leaves FolderName as it was.
    bool Execute();

private:
    QString Selected;
};

// The title of a folder dialog that is given none.
inline const QString FolderDialogTitle = QStringLiteral("Обзор папок");

// Opens the folder browser at `folder` with the prompt; true when a folder was
// chosen, which then replaces `folder`.
bool BrowseForFolderDlg(QString& folder, const QString& prompt, int helpContext);

// Replaces the dialog (tests, scripted runs): gets the folder on entry and the prompt,
// returns whether a folder was chosen and leaves it in `folder`.
extern std::function<bool(QString& folder, const QString& prompt)> BrowseForFolderHook;
