// Where the program lives and where it may write: the folder of the running executable
// (settable, so that tests run on a temporary copy of the reference data) and the
// per-user data root used when nothing can be written there (an installed program).
#pragma once

#include <QString>

// The folder of the running executable (from /proc/self/exe) ending in "/", or the
// folder SetProgramFolder set.
QString GetProgramFolder();
// Tests point the program at their own folder; "/" is appended when missing. An empty
// folder returns to the executable's.
void SetProgramFolder(const QString& folder);

// "$XDG_DATA_HOME/velmora6/", or "~/.local/share/velmora6/" when that variable is unset,
// empty or relative; ends in "/". Not created here.
QString FallbackDataRoot();
