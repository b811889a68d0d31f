// Plain routines of the control library that need no widget: the nesting wait
// cursor, text shortening, command-line words and the masked-bitmap helpers the
// controls draw their glyphs with.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>

class QFontMetrics;
class QPainter;

// Shows the wait cursor for the outermost of nested busy phases: the first call
// saves the screen cursor and shows the hourglass, every call counts one level.
// Without a GUI application only the count moves.
void BeginWaitCursor();
// Ends one level; the last one puts the saved cursor back. Does nothing when no
// phase is open.
void EndWaitCursor();
// The number of open busy phases.
int WaitCursorDepth();
