// What the application needs before its first window: Qt's own dialogs in Russian, and a
// run that no window but the main one can end.
#pragma once

// Loads Qt's Russian translations once for the process, so the toolkit's own file,
// folder, colour and print dialogs speak the program's language. False when the
// translation files are not installed (they come with Debian's qt6-translations-l10n).
bool LoadQtTranslations();

// Prepares the application for its windows: the translations, and a run that goes on
// when the last window closes. Until the main window shows, the windows are the licence
// window, messages and questions; closing one of them must not end the event loop, or
// every later window returns at once. The main window, once shown, turns Qt's rule back
// on (QGuiApplication::setQuitOnLastWindowClosed).
void PrepareProgramWindows();
