// The program's place on a freedesktop.org desktop: the plan extensions as MIME types
// opened by the program, the application entry of the menus and the shortcut on the
// desktop. Every file is written whole through a temporary file (an old one stays when a
// write fails), and a failure raises a message naming the file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The MIME type of plans of scale 1:scale, "application/x-velmora6-plan-500".
QString PlanMimeType(const QString& scale);

// The file names the desktop knows the program by.
inline const QString ApplicationEntryName = QStringLiteral("velmora6.desktop");
inline const QString DesktopShortcutName = QStringLiteral("Велмора 6.desktop");

// What the entries start and show: the program file (a full path) and its icon (a PNG).
struct TDesktopProgram {
    QString Program;
    QString Icon;
};

// The plan extension of scale (whole digits, "500") as a MIME type of its own: the
// package "velmora6-plan-<scale>.xml" below $XDG_DATA_HOME/mime/packages with the
// comment "Файл плана масштаба 1:<scale> формата Велмора 6" and the glob "*.<scale>",
// the type added to the application entry (WriteApplicationEntry) and made the default
// of its type in $XDG_CONFIG_HOME/mimeapps.list; then the user's MIME and application
// databases are rebuilt ("update-mime-database", "update-desktop-database", each where
// the system has it and the user's folder exists), so that a file manager opens plans
// with the program. Raises for a scale that is not whole digits and for a file that
// cannot be written.
void RegisterPlanMimeType(const QString& scale, const TDesktopProgram& program);
// The same for several scales in their order, the database rebuilt once at the end. A
// scale that is not whole digits refuses them all before anything is written.
void RegisterPlanMimeTypes(const QStringList& scales, const TDesktopProgram& program);

// The application entry of the menus, $XDG_DATA_HOME/applications/velmora6.desktop,
// starting the program with the file it is given ("%f"), keeping the plan types already
// registered there; the application database rebuilt as above. Raises for a file that
// cannot be written.
void WriteApplicationEntry(const TDesktopProgram& program);

// The plan types the application entry lists; empty when there is none.
QStringList RegisteredPlanMimeTypes();

// "Велмора 6.desktop" in the desktop folder (made when missing), comment "Велмора 6
// -цифровые топопланы", marked executable as desktops require of a launcher, and
// trusted ("gio set FILE metadata::trusted true") where the system has gio. Raises for a
// file that cannot be written or made executable; a desktop that keeps no trust says
// nothing.
void WriteDesktopShortcut(const TDesktopProgram& program);

// The folders the files go to: $XDG_DATA_HOME (or ~/.local/share), $XDG_CONFIG_HOME
// (or ~/.config) and the desktop folder the user's folder settings name (or ~/Desktop).
QString DesktopDataFolder();
QString DesktopConfigFolder();
QString DesktopFolder();

// How an outside tool of the desktop is run (program, arguments). Tests record the calls
// instead; empty: the tool run and waited for (at most 30 s), its failure kept quiet.
std::function<void(const QString&, const QStringList&)>& DesktopToolRunner();

// The command line of the program in an Exec key: the program quoted as the desktop
// entry rules ask, then " %f". Raises for a name holding a line break.
QString DesktopExecLine(const QString& program);
