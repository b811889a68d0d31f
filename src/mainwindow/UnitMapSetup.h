// The user's settings file "Настройки.wri" and the last stamp "Последний штамп.wri" in
// the user folder: read once while the main window is made, written back when it goes.
// Both are code page 1251 with CR LF; a write replaces the file whole or not at all.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

class TFormMap;
class TGeoMap;

inline const QString SetupFileName = QStringLiteral("Настройки.wri");
inline const QString LastStampFileName = QStringLiteral("Последний штамп.wri");

// The key lines in the order the file is written (the background colour as
// "@Цвет фона"; "@Цвет фона по умолчанию" takes its place when the background is the
// button face).
QStringList SetupKeys();

// The settings of FormMap and MainMap from UserFolder's file; false, nothing changed,
// when there is no file. A value that does not convert is reported (caption
// "Настройки") and skipped, and the reading goes on. Raises when the file cannot be read.
bool readsetup();
// All 48 pairs into UserFolder's file. Raises when it cannot be written.
void writesetup();
// The first 18 lines of UserFolder's last-stamp file into FormMap's LastStamp; false when
// there is no file. Raises when it cannot be read.
bool readLastStamp();
// LastStamp's 18 texts, one a line; true. Raises when the file cannot be written.
bool WriteLastStamp();

// The same on a given file, window and plan.
bool ReadSetupFile(const QString& path, TFormMap& form, TGeoMap& map);
QStringList SetupLines(TFormMap& form, TGeoMap& map);
void WriteSetupFile(const QString& path, TFormMap& form, TGeoMap& map);
bool ReadLastStampFile(const QString& path, std::array<QString, 18>& stamp);
void WriteLastStampFile(const QString& path, const std::array<QString, 18>& stamp);
