// The windows of the file commands behind replaceable hooks (tests answer them, the
// program shows the real ones), and the filters and names they share.
#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>

struct TFileDialogHooks {
    // An open dialog; true with fileName when a file was chosen.
    std::function<bool(const QString& title, const QString& filter, QString& fileName)> OpenFileName;
    // An open dialog that takes several files; true with fileNames when any were chosen.
    std::function<bool(const QString& title, const QString& filter, QStringList& fileNames)>
        OpenFileNames;
    // A folder choice that may create the folder; true with folder when one was chosen.
    std::function<bool(const QString& title, QString& folder)> SelectFolder;
    // The printable area of the printer's page in millimetres; empty without a printer.
    std::function<QSizeF()> PrinterPageMm;
};

TFileDialogHooks& FileDialogHooks();

class QFileDialog;

// The filter of filters a dialog starts on: the plans of scale 1:500 where it offers
// them, else the first (empty for none).
QString InitialNameFilter(const QStringList& filters);
// The extension a name filter adds to a name given without one, without its dot: the
// one extension its patterns name ("*.jpg *.JPG" gives "jpg"); empty for "*", "*.*" and
// a filter of several extensions.
QString FilterSuffix(const QString& nameFilter);
// Sets a dialog made with its accept and file modes to the program's own look, the
// filters of filter (separated by ";;") and the one it starts on; a save dialog adds
// the chosen filter's extension to a name typed without one.
void PrepareFileDialog(QFileDialog& dialog, const QString& filter);
// Shows the dialog modally; true with the files chosen.
bool RunFileDialog(QFileDialog& dialog, QStringList& chosen);

bool OpenFileNameDialog(const QString& title, const QString& filter, QString& fileName);
bool OpenFileNamesDialog(const QString& title, const QString& filter, QStringList& fileNames);
bool SelectFolderDialog(const QString& title, QString& folder);
// The open dialog's filter: the eight plan scales, the exchange format, all of them,
// the backups and the drawings.
QString PlanOpenFilter();
// The eight plan scales and all of them together: merging one file and saving sheets.
QString PlanOnlyFilter();
// The first line of a file, code page 1251 (empty for an empty file): what kind of
// plan it holds. A file that cannot be read raises.
QString FirstLineOfFile(const QString& fileName);
// A sheet's name as a file name: each of < > ? \ | ! " * / : becomes "~".
void SanitizeSheetFileName(QString& text);
