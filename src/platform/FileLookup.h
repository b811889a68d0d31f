// File and folder names as the program builds them, matched to what is on disk without
// regard to letter case (Cyrillic included), as the reference folders were written for a
// file system that ignored case ("Шрифты" and "шрифты", "ТОЧСИН" and "ТОЧСин").
#pragma once

#include <QString>

// Resolves every component of path, left to right: a component that exists as written is
// kept; otherwise an entry of its folder whose name differs only in letter case is taken
// (the first in code-point order when there are several); from the first component that
// has no entry on, the rest is kept as written, so a new file is created with the spelling
// given. "\" separates components as "/" does; the result uses "/" only, keeps a trailing
// "/" and is relative when path is. Never fails; an empty path gives an empty result.
QString ResolvePath(const QString& path);

// The path resolved, when an entry (file or folder) exists there; empty otherwise.
QString FindExistingPath(const QString& path);

// Whether path names an existing file (not a folder), letter case ignored.
bool FileExistsIgnoringCase(const QString& path);
// Whether path names an existing folder, letter case ignored.
bool FolderExistsIgnoringCase(const QString& path);
