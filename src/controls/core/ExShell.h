// Starting programs and opening documents the way the desktop does.
#pragma once

#include <QString>

// Starts `file` when it is an executable program (a binary or a script), with
// `params` split into words as a command line and `folder` as its working folder
// (empty for the current one); otherwise, an executable bit notwithstanding, opens it
// with the desktop's default program for its kind. The show
// index (0 normal, 1 minimised, 2 maximised, 3 hidden) is left to the desktop, which
// decides how a started program's windows appear. True when the start was accepted.
bool LaunchFile(const QString& file, const QString& params, const QString& folder, int showIndex);
