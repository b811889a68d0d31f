// A run of the program in a temporary program folder holding a copy of the reference
// data the engine reads, with a plan linked to a scripted window.
#pragma once

#include "FakeEngineServices.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// Copies the reference folder name of the source tree's data into folder.
inline void CopyDataFolder(const QString& name, const QString& folder)
{
    const QString from = QStringLiteral(VELMORA_SOURCE_DATA "/") + name;
    const QString to = folder + QLatin1Char('/') + name;
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files);
    while (it.hasNext()) {
        it.next();
        QFile::copy(it.filePath(), to + QLatin1Char('/') + it.fileName());
    }
}

// The whole file, or an empty array when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
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

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Program.isValid());
        CopyDataFolder(QStringLiteral("Слои"), Program.path());
        SetProgramFolder(Program.path());
        RunEnvironment.UserName = [] { return QStringLiteral("tester"); };
        RunEnvironment.ComputerName = [] { return QStringLiteral("pc"); };
        InitAppGlobalVar();
        DocStartTime = QStringLiteral("10.20.30");
        DataFileName.clear();
        DataFileState = 0;
        UndoStep = 0;
        SavedCommandCount = 0;
    }

    void TearDown() override
    {
        Map.reset();
        MainMap = nullptr;
        FreeAppGlobalVar();
        RunEnvironment = {};
        SetProgramFolder(QString());
    }

    // The plan, created on first use and linked to the fake window.
    TGeoMap& Plan()
    {
        if (!Map) {
            Map = std::make_unique<TGeoMap>();
            Map->Services = &Window;
        }
        return *Map;
    }

    QString Path(const QString& relative) const { return Program.path() + QLatin1Char('/') + relative; }

    QTemporaryDir Program;
    TFakeEngineServices Window;
    std::unique_ptr<TGeoMap> Map;
};
