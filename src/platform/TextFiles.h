// The small text files of the reference folders and the run (classifier lists, sign
// files, layer rules, styles): code page 1251, every line ended by CR LF. Names go
// through the lookup that ignores letter case; a write goes through a temporary file, so
// a failed one leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The lines of the file. A CR LF or a lone LF ends a line, and a lone CR as well when
// loneCrEndsLine. Raises "Не удается прочитать файл <path>: <reason>" when there is no
// such file or it cannot be read; callers with a message of their own for a missing file
// look for it first.
QStringList ReadTextFileLines(const QString& path, bool loneCrEndsLine = false);

// The bytes the file at path will hold for lines. Raises, naming path, when a line holds
// a line break (it would come back as two lines) or a character that code page 1251 has
// no place for. Lets a writer of several files check them all before it writes any.
QByteArray EncodeTextFileLines(const QString& path, const QStringList& lines);

// Replaces the file at path by bytes. Raises "Не удается записать файл <path>: <reason>".
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// EncodeTextFileLines, then WriteFileBytes: nothing is written when a line is refused.
void WriteTextFileLines(const QString& path, const QStringList& lines);

// Syncs the folder that holds path, so that a file just renamed into place there (a
// save through a temporary file) keeps its new entry through a power cut. Raises
// "Не удается сохранить на диске папку <folder>: <reason>"; a file system that cannot
// sync folders at all is taken as done.
void SyncFolderOf(const QString& path);
