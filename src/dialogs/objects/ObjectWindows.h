// The one call that puts the object windows (point, text, line and polygon editors,
// the node and hole windows, user caption setting, the move to another sheet or layer)
// behind their hooks in ProgramDialogs.
#pragma once

void InstallObjectWindows();
