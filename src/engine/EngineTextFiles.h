// The engine's small text files (layer names, layer rules, the missing-sign list):
// code page 1251 with CR LF, names resolved through the lookup that ignores letter
// case. Writes go through a temporary file, so a failed write leaves the old file.
#pragma once

#include <QString>
#include <QStringList>

// The lines of the file; raises "Не удается открыть файл "<path>"" when it cannot be
// read. A CR LF or a lone LF ends a line.
QStringList ReadTextFileLines(const QString& path);

// Replaces the file by lines, each followed by CR LF. Raises, with the old file left
// as it was, when it cannot be written or when a line holds a character that code
// page 1251 has no place for.
void WriteTextFileLines(const QString& path, const QStringList& lines);
