// The traverse table file (".th"): the closure digit, then table rows 1 to R − 1, each
// as its 24 cells followed by "|"; code page 1251, CR LF. No quoting: a cell holding "|"
// or a line break could not come back, so such a table is not written.
#pragma once

#include "survey/TraverseTable.h"

#include <QString>
#include <QStringList>

// The lines of the file for table; empty with refusal set when a cell cannot be stored
// (the refusal names its row and column).
QStringList TraverseFileLines(const TTraverseTable& table, QString& refusal);

// The texts between the separators of line into the cells of row from column 0 on;
// text after the last "|" is ignored, cells the line does not reach keep their text.
// Moves row to the next one.
void ParseTableLine(TTraverseTable& table, const QString& line, int& row);

// The closure type of the first line (leading blanks skipped, the rest of the line
// after the number ignored); false when the line holds no integer.
bool TraverseFileClosure(const QString& firstLine, int& type);

// The number of traverse points a file of lineCount lines (the first included) gives,
// before the spin edit's limits: trunc((T − 9) / 2).
int TraverseFilePoints(int lineCount);

// Rows 1, 2, ... of table emptied, then filled from lines[1], lines[2], ...; rows beyond
// the table are dropped.
void LoadTraverseRows(TTraverseTable& table, const QStringList& lines);
