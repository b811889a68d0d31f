// File and folder routines of the control library: sizes, copying and moving,
// clearing folders, creating folder paths and checking names. Paths are POSIX
// paths separated by "/"; the routines keep their old names, in which the
// separator is called a backslash.
#pragma once

#include <QString>
#include <cstdint>

class QObject;

// The size in bytes of the file, taken from its folder entry without opening it;
// -1 when there is no such entry or the name denotes a folder.
std::int64_t GetFileSizeByName(const QString& fileName);

// The path with one final "/": an empty path stays empty.
QString AddTrailingBackslash(const QString& path);
// The path without one final "/", unless it is the root "/" itself.
QString DropTrailingBackslash(const QString& path);
bool FolderExists(const QString& path);
// Creates the folder and every missing parent; failures are not reported.
void CreateFolderPath(const QString& path);
// False for an empty name or one holding any of < > " [ ] |.
bool IsValidFileName(const QString& name);

// Copies a file byte for byte in blocks of 8192 bytes; the copy ends after the first
// shorter block. A destination that is an existing folder receives the file under the
// source's name; the destination's folder is created; the destination gets the
// source's modification time. The destination is written through a temporary file,
// so a failed copy leaves an existing destination as it was. Copying a file onto
// itself (or onto another name of the same file) is refused. `progress`, when given,
// is a progress control of a registered class (ExProgress): its maximum becomes the
// size, its position follows the bytes copied and returns to 0 at the end.
// Throws "Cannot open file %s", "Cannot create file %s", "Stream read error",
// "Stream write error" and "Cannot copy file %s onto itself".
void CopyFileWithProgress(const QString& source, const QString& destination,
                          QObject* progress = nullptr);

// Renames the source to the destination (made absolute against the current folder);
// when that fails, copies it with CopyFileWithProgress and deletes the source. A
// source that does not exist leaves everything unchanged and reports nothing.
void MoveFileSafe(const QString& source, const QString& destination);

// Deletes every entry of the folder, its subfolders emptied the same way; with
// removeFolder the subfolders and the folder itself go too. A symbolic link is
// deleted as a link and never followed. Refuses (false, nothing deleted) an empty
// path, the root "/" and a folder that does not exist or is itself a link. True when
// everything was deleted; nothing is ever raised.
bool ClearDirectory(const QString& folder, bool removeFolder);
