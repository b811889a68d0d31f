// The small text files of the reference folders and the run (classifier lists, sign
// files, layer rules, styles): code page 1251, every line ended by CR LF. Names go
// through the lookup that ignores letter case; a write goes through a temporary file, so
// a failed one leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

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

// Why a file operation failed, for a message the user can act on: the cause of the
// system error number in Russian (no space left on the disk, no permission, a disk
// that is read-only, ...), else the device's own text (fallback).
QString FileErrorReason(int error, const QString& fallback);

// Writes all n bytes into out, going on after a partial write, so that a disk that
// fills up reports its real cause instead of "Unknown error". Raises
// what + ": " + the reason (FileErrorReason).
void WriteAllBytes(QIODevice& out, const char* bytes, qint64 n, const QString& what);

// A seam for tests of failing disks: when set, WriteAllBytes asks it before each write
// with the bytes written so far and the bytes about to be written (n). It may shorten n,
// as a disk that fills up takes part of a write, or return a system error number
// (ENOSPC for a full disk) that fails the write; 0 lets the write go on.
std::function<int(qint64 written, qint64& n)>& FileWriteFault();
