#pragma once

// Puts the program's own windows behind the tool palette's hooks; tests leave them empty
// or put their stand-ins there instead.
void InstallPaletteWindows();
