// The world one benchmark run works in: a program folder of its own (a copy of the
// reference data, so that snapshots and the missing-sign list land in a temporary
// folder), the run's global state, and the plan file every benchmark measures.
#pragma once

#include "CopyTree.h"

#include "PlanGenerator.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

struct TBenchOptions {
    QString PlanSize = QStringLiteral("small");   // generated when PlanFile is empty
    QString PlanFile;                             // an existing plan to measure instead
};

class TBenchEnv {
public:
    // Copies the reference data, starts the run's global state and generates (or
    // checks) the plan. Throws Exception when any of it fails.
    explicit TBenchEnv(const TBenchOptions& options);
    ~TBenchEnv();
    TBenchEnv(const TBenchEnv&) = delete;
    TBenchEnv& operator=(const TBenchEnv&) = delete;

    // The one environment of the process, for the benchmark bodies.
    static TBenchEnv& Get();

    QString ProgramFolder() const { return Program; }
    // A folder for files the benchmarks write (saves), ending in "/".
    QString OutFolder() const { return Out; }
    // The plan measured, its size in bytes and a name for the report ("large" or the
    // file's name).
    QString PlanFile() const { return Plan; }
    Int64 PlanBytes() const { return Bytes; }
    QString PlanName() const { return Name; }
    // What the generator counted; zero when the plan was given.
    const RPlanStats& PlanStats() const { return Stats; }
    // The plan's scale, from its extension.
    int Scale() const { return PlanScale; }
    // Lines of the file and its coordinate lines ("$"): what the reader splits and
    // what the writer formats.
    Int64 FileLines() const { return Lines; }
    Int64 PairLines() const { return Pairs; }

private:
    QTemporaryDir Dir;
    QString Program;
    QString Out;
    QString Plan;
    QString Name;
    Int64 Bytes = 0;
    Int64 Lines = 0;
    Int64 Pairs = 0;
    RPlanStats Stats;
    int PlanScale = 500;
    QString SavedProgramFolder;
};


// The whole file; throws Exception when it cannot be read.
QByteArray ReadWholeFile(const QString& fileName);
