// The control library's own pictures and cursors: bitmaps by their resource names
// ("CHECK_IMAGES", "FEDITBMP", "TRUETYPE_FNT", "DEVICE_FNT", "W95_HTB", "W95_HRL",
// "W95_VTB", "W95_VRL") and the screen cursors 14000 (hand) and 14001 (drag).
#pragma once

#include <QCursor>
#include <QImage>
#include <QString>

constexpr int crExHand = 14000;
constexpr int crExDrag = 14001;

// The picture of that resource name; a null image when there is none (no exception
// leaves the routine).
QImage BitmapFromResource(const QString& name);
// Raises "Resource %s not found".
[[noreturn]] void RaiseResourceNotFound(const QString& name);
// As BitmapFromResource, raising "Resource %s not found" when there is none.
QImage LoadResourceBitmap(const QString& name);

// The screen cursor of that number: 14000 the hand, 14001 the drag cursor, the arrow
// for any other. Needs a GUI application.
QCursor ExCursor(int number);
