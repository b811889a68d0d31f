// The folder browser over the file dialog of the toolkit.
#include "controls/BrowseFolder.h"

#include "controls/core/FileUtil.h"

#include <QApplication>
#include <QFileDialog>
#include <QScreen>

std::function<bool(QString& folder, const QString& prompt)> BrowseForFolderHook;

bool TBrowseFolderDlg::Execute()
{
    if (BrowseForFolderHook) {
        QString folder = FolderName;
        if (!BrowseForFolderHook(folder, DialogText))
            return false;
        FolderName = DropTrailingBackslash(folder);
        Selected = FolderName;
        return true;
    }
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setWindowTitle(DialogText.isEmpty() ? FolderDialogTitle : DialogText);
    if (FolderExists(FolderName))
        dialog.setDirectory(FolderName);
    QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog, [this](const QString& path) {
        Selected = FolderExists(path) ? path : QString();
        if (OnSelChanged)
            OnSelChanged();
    });
    if (Position == dpScreenCenter) {
        dialog.adjustSize();
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect r = dialog.frameGeometry();
            r.moveCenter(screen->availableGeometry().center());
            dialog.move(r.topLeft());
        }
    }
    if (OnInitialized)
        OnInitialized();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FolderName = DropTrailingBackslash(dialog.selectedFiles().first());
    Selected = FolderName;
    return true;
}

bool BrowseForFolderDlg(QString& folder, const QString& prompt, int helpContext)
{
    TBrowseFolderDlg dialog;
    dialog.DialogText = prompt;
    dialog.FolderName = folder;
    dialog.HelpContext = helpContext;
    if (!dialog.Execute())
        return false;
    folder = dialog.FolderName;
    return true;
}
