// Small helpers every test program may use: whole files as bytes, the message an action
// raises, and the process-wide number separators and program folder set for the span of
// a test.
#pragma once

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"

#include <QByteArray>
#include <QFile>
#include <QFontDatabase>
#include <QString>
#include <gtest/gtest.h>

// The whole file, or an empty array when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file by bytes; a file that cannot be written fails the test.
inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

// The message an action raises, or "" when it raises nothing.
template <class F>
QString RaisedBy(F&& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return QString();
}

// Sets the decimal (and thousand) separator while it lives; the ones it found come back
// when it goes, so a test or fixture cannot leave its choice to the next.
class TSeparatorScope {
public:
    explicit TSeparatorScope(QChar decimal, QChar thousand = ThousandSeparator)
    {
        DecimalSeparator = decimal;
        ThousandSeparator = thousand;
    }
    ~TSeparatorScope()
    {
        DecimalSeparator = OldDecimal;
        ThousandSeparator = OldThousand;
    }
    TSeparatorScope(const TSeparatorScope&) = delete;
    TSeparatorScope& operator=(const TSeparatorScope&) = delete;

private:
    QChar OldDecimal = DecimalSeparator;
    QChar OldThousand = ThousandSeparator;
};

// Points ProgramFolder at folder (with a final "/") while it lives; the old one comes
// back when it goes, even when the test stopped at a failed assertion.
// The folder is also the data root, as for a program whose folder takes writes.
class TProgramFolderScope {
public:
    explicit TProgramFolderScope(const QString& folder)
    {
        ProgramFolder = folder + u'/';
        DataRootFolder = ProgramFolder;
    }
    ~TProgramFolderScope()
    {
        ProgramFolder = Old;
        DataRootFolder = OldDataRoot;
    }
    TProgramFolderScope(const TProgramFolderScope&) = delete;
    TProgramFolderScope& operator=(const TProgramFolderScope&) = delete;

private:
    QString Old = ProgramFolder;
    QString OldDataRoot = DataRootFolder;
};

// The one rule for fonts: the families scripts/deps.sh installs (DejaVu, Liberation) are
// part of the test machine, so a test that needs one fails when it is missing, saying
// so; no test skips for a font.
inline ::testing::AssertionResult FontInstalled(const QString& family)
{
    if (QFontDatabase::families().contains(family))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << family.toStdString() << " is not installed: run scripts/deps.sh";
}
