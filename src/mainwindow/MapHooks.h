// The main window's own modal entries and outside effects, each reached through a
// replaceable hook so that tests script them: the exit question, the file dialogs, the
// print dialog, pop-up menus, another instance of the program and the documents and
// programs it opens. Unset members fall back on the real windows and the system.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QAction;
class QMenu;
class QPrinter;
class QWidget;

struct TMapHooks {
    // The exit question: 6 save, 7 do not save, 2 Esc or the close box.
    std::function<int(const QString& caption, const QString& text)> ShowQExitDialog;
    // A save dialog; true with fileName when a name was chosen.
    std::function<bool(const QString& title, const QString& filter, QString& fileName)> SaveFileName;
    // The print dialog on printer: any installed printer, or a PDF file named in it; true
    // when the user confirmed, with the choice (printer or file, page size, orientation)
    // left in printer.
    std::function<bool(QPrinter& printer, QWidget* parent)> PrintDialog;
    // A pop-up menu at a screen point; the action chosen or null.
    std::function<QAction*(QMenu& menu, QPoint at)> MenuExec;
    // Starts program with arguments in folder, each argument one word, no quoting.
    std::function<bool(const QString& program, const QStringList& arguments,
                       const QString& folder)>
        StartDetached;
    // Opens a document or starts a program as the desktop does (help and licence pages,
    // the transfer program, the image editor); show 0 normal, 2 maximised.
    std::function<bool(const QString& file, const QString& params, const QString& folder,
                       int show)>
        Launch;
    // Ends the run once start-up returns to the event loop.
    std::function<void()> Terminate;
    // The windows the tool palette opens, each unset while the program has none: the
    // selection filter ("Параметры выбора объектов"), the object creation settings on the
    // page of that index, and "Создание объектов по координатам"; each returns its modal
    // result.
    std::function<int()> SelectSetupDlg;
    std::function<int(int page)> ObjectDestDlg;
    std::function<int()> CreateCoordObjDlg;
    // Makes the favourites palette of kind (0 points, 1 lines, 2 polygons) for owner,
    // loaded for its kind; null when there is none. The palette is the caller's to keep.
    std::function<QWidget*(int kind, QWidget* owner)> NewFormFavorites;
    // The colour dialog preset with color (0x00BBGGRR, negative a system colour); true
    // with color := the choice when confirmed.
    std::function<bool(std::int32_t& color)> ChooseColor;
};

// The set in force (empty by default: the real windows).
TMapHooks& MapHooks();

int ShowQExitDialog(const QString& caption, const QString& text);
bool SaveFileNameDialog(const QString& title, const QString& filter, QString& fileName);
QAction* ExecMenu(QMenu& menu, QPoint at);
bool StartProgramDetached(const QString& program, const QStringList& arguments,
                          const QString& folder);
bool LaunchDocument(const QString& file, const QString& params, const QString& folder, int show);
bool ChooseColorDialog(std::int32_t& color);

// The program's one printer for the run, so that the choice made in the print dialog
// serves every print: the plan's pages and the traverse report. It starts as the
// system's default printer, or as a PDF file yet to be named when none is installed.
QPrinter& ProgramPrinter();
// The print dialog through its hook. A PDF file is printed at 300 dots per inch: the
// page is drawn as one picture, which at a PDF's own 1200 would take half a gigabyte.
bool RunPrintDialog(QPrinter& printer, QWidget* parent);
// Whether printer has somewhere to print: an installed printer, or a named file.
bool PrinterReady(const QPrinter& printer);
