// What the creators of objects share beyond the main window's own members.
#pragma once

#include "engine/commands/MapCommand.h"

#include <QString>
#include <functional>

// True when the favourites palette of kind lm (0 point, 1 line, 2 polygon) exists and is
// shown; unset while the program has no palettes, which counts as hidden.
extern std::function<bool(int lm)> FavouritesPaletteShown;

// Builds the parameters with params and hands the command to the main plan; a text the
// command formatter refuses (a "<", ">" or line break in a field) is shown in the
// message window instead and nothing is sent.
bool IssueCommand(TMapCommand command, const std::function<QString()>& params);
