// The main window for the targets whose readers belong to it (the settings, the recent
// plans): made as the program makes it, in the run's program folder with its user
// folder in place, every question and outside program answered by a hook that never
// blocks.
#pragma once

#include "mainwindow/UnitMap.h"

#include <QString>

#include <memory>

// Starts the run (FuzzStartRun) and installs the window hooks; later calls do nothing.
void FuzzStartWindowRun();

// The folder of the run's user ("Пользователи/fuzz-pc/fuzzer" of the program folder),
// ending in "/".
QString FuzzUserFolder();

// A new main window: its creation reads the user's files, as at the program's start.
std::unique_ptr<TFormMap> FuzzNewMainWindow();
