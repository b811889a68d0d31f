// The one call that puts the object windows (point and text editors, user caption
// setting, the move to another sheet or layer) behind their hooks in ProgramDialogs.
#pragma once

void InstallObjectWindows();
