// A run of the program inside a temporary folder, for tests of anything that reads the
// reference data or writes into the run folders: the program folder is a fresh copy of
// data/ (or of the parts named), the clock and the names are fixed, and InitAppGlobalVar
// has run. Everything is put back when the object goes.
#pragma once

#include "support/CopyTree.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TTestRun {
public:
    // parts: folders or files of data/ to copy ("Семантика", "Шрифты/500"); empty copies
    // the whole of data/. now: the run's clock (both readings).
    explicit TTestRun(const QStringList& parts = {},
                      const QDateTime& now = QDateTime(QDate(2024, 3, 5), QTime(9, 30, 0)));
    ~TTestRun();
    TTestRun(const TTestRun&) = delete;
    TTestRun& operator=(const TTestRun&) = delete;

    // The program folder of the run, ending in "/".
    QString Folder() const { return Program; }

    static constexpr const char* User = "tester";
    static constexpr const char* Computer = "test-pc";

private:
    QTemporaryDir Dir;
    QString Program;
    QString SavedProgramFolder;
};

