// What the creators of objects share beyond the main window's own members.
#pragma once

#include "engine/commands/MapCommand.h"

#include <QString>
#include <functional>
#include <vector>

class TFormMap;
struct RCreateNode;

// True when the favourites palette of kind lm (0 point, 1 line, 2 polygon) exists and is
// shown; unset while the program has no palettes, which counts as hidden.
extern std::function<bool(int lm)> FavouritesPaletteShown;

// Builds the parameters with params and hands the command to the main plan; a text the
// command formatter refuses (a "<", ">" or line break in a field) is shown in the
// message window instead and nothing is sent.
bool IssueCommand(TMapCommand command, const std::function<QString()>& params);

// The user caption settings a new point takes: one group of five values.
QString UserCaptionGroup(const TFormMap& form);

// The node field of a new line: X and Y with decimals decimals, each node's curve flag,
// the rest of each group as a new node has it.
QString NewLineNodesField(const std::vector<RCreateNode>& nodes, int decimals);
// The node field of a new polygon: X and Y with decimals decimals and each node's edge
// and corner attributes.
QString NewPolygonNodesField(const std::vector<RCreateNode>& nodes, int decimals);
// mcNewLine of a line of code sem in sheet page, layer layer: no user texts, no strip,
// the node field made above.
QString NewLineFromNodesParams(int page, int layer, const QString& sem, int precision, const QString& nodes);
// mcNewPolygon likewise; captionAngle in tenths, -1 by the sign's rule.
QString NewPolygonFromNodesParams(int page, int layer, const QString& sem, const QString& nodes, int precision,
                                  int captionAngle);
