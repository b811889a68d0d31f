// Plain routines of the control library that need no widget: the nesting wait
// cursor, text shortening, command-line words and the masked-bitmap helpers the
// controls draw their glyphs with.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QSize>
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

// The text when it fits into maxWidth pixels of the given font; otherwise its first
// length - 2, length - 3, ... characters followed by "...", the first that fits;
// "..." alone when none does.
QString ShortenTextToWidth(const QString& text, const QFontMetrics& metrics, int maxWidth);

// Command-line words: blanks (codes up to 32) separate words, a double quote starts
// a run up to the next one (or the end) whose blanks belong to the word, the quotes
// themselves are dropped; an empty pair "" between words is skipped. A word keeps at
// most 256 characters. pos is 0-based; the result is the position after the word.
int NextCommandLineWord(const QString& text, int pos, QString& word);
// The number of words before the first empty word.
int CountCommandLineWords(const QString& text);
// The word of 0-based index; empty when there are fewer words.
QString CommandLineWord(const QString& text, int index);
// All words of the text, as an argument list for starting a program.
QStringList CommandLineWords(const QString& text);
// The first word is the program; the other words are joined by single blanks, a word
// holding a blank enclosed in double quotes again.
void SplitProgramAndParams(const QString& commandLine, QString& program, QString& params);

// Transparent colour of the masked drawing routines: an opaque QRgb, or one of
// these marks (never an opaque colour, whose alpha byte is 0xFF).
constexpr QRgb TransparentNone = 0x1FFFFFFF;     // copy without transparency
constexpr QRgb TransparentDefault = 0x20000000;  // the bitmap's bottom-left pixel

// The colour of the bottom-left pixel (white for a monochrome bitmap), the colour a
// bitmap is drawn transparent in unless another one is given; magenta for an empty one.
QRgb BitmapTransparentColor(const QImage& bitmap);

// Cuts cell `index` out of a strip of columns × rows equal cells (counts below 1
// count as 1, an index below 0 as 0): the cell at column index mod columns and row
// index div columns.
QImage CopyBitmapCell(const QImage& source, int columns, int index, int rows);

// Draws source rectangle `src` of the bitmap stretched onto `dest`, leaving the
// destination unchanged where the bitmap has the transparent colour. An empty
// destination size takes the bitmap's, an empty source the whole bitmap.
void StretchBitmapMasked(QPainter& painter, const QImage& bitmap, QRgb transparent,
                         const QRect& src, const QRect& dest);
void DrawBitmapPartMasked(QPainter& painter, int x, int y, const QRect& src,
                          const QImage& bitmap, QRgb transparent);
void DrawBitmapMasked(QPainter& painter, int x, int y, const QImage& bitmap, QRgb transparent);

// A bitmap of the same size filled with `background`, on which the shape of the
// bitmap's pixels of `maskColor` is painted: with `highlight` first in
// highlightColor one pixel right and down, then in shadowColor in place.
QImage MakeEmbossedBitmap(const QImage& bitmap, QRgb maskColor, QRgb background,
                          bool highlight, QRgb shadowColor, QRgb highlightColor);
// The disabled look of a glyph in the given button face, shadow and highlight colours.
QImage MakeDisabledGlyph(const QImage& bitmap, QRgb maskColor, QRgb buttonFace,
                         QRgb buttonShadow, QRgb buttonHighlight);

// Moves the rectangle, keeping its size, so that it ends no further right or down
// than the screen and starts no further left or up than 0.
void FitRectToScreen(QRect& rect, const QSize& screen);
// Whether the active window belongs to this program.
bool ActiveWindowIsOurs();

// "name|pattern;pattern|name|pattern" filters as the windows write them, turned
// into the name filters of a file dialog ("name (pattern pattern)").
QStringList FilterToNameFilters(const QString& filter);
