// Synthetic plans in the native plan format, for the benchmarks: the same size name and
// seed always give the same bytes, so figures of different runs and machines compare.
// The text is composed here line by line, not through the engine's writer, so that a
// plan to read exists before (and independently of) the code being measured.
#pragma once

#include "foundation/GeoTypes.h"
#include "platform/Platform.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// How much of everything a plan holds. Objects are spread evenly over the layers of all
// sheets; each sheet is a square tile of the plan.
struct TPlanShape {
    int Sheets = 1;
    int LayersPerSheet = 1;
    int Points = 0;           // each with at least one caption block
    int Lines = 0;
    int LineNodes = 2;        // nodes of every line
    int Polygons = 0;
    int PolygonNodes = 3;     // nodes of every outer contour
    int HoleNodes = 3;        // nodes of every inner contour (one or two per polygon)
    int Texts = 0;
    int RastersPerSheet = 0;  // written with "|заг|0": a reader never looks for the file
    Extended SheetSize = 500; // metres, the side of a sheet's tile
};

// "small" (a smoke run, about 100 KB), "medium" (about 5 MB) and "large" (about 50 MB).
// Throws Exception for any other name.
TPlanShape PlanShapeByName(const QString& sizeName);
QStringList PlanSizeNames();

// One kind of object of the classifier's work records: its standard semantics with one
// of the materials and states the record allows, and the extended kinds that each
// object of the kind gets a value for.
struct RSemTemplate {
    QString Head;
    std::vector<TSemExt> Kinds;
};

// The templates of each object kind.
struct TSemanticsPool {
    std::vector<RSemTemplate> Points;
    std::vector<RSemTemplate> Lines;
    std::vector<RSemTemplate> Polygons;
};

// Reads the classifier of the folder "Семантика" below programFolder (the program
// folder is set to it for the call and restored after). Throws Exception when the
// classifier cannot be read or holds no work record of some kind.
TSemanticsPool LoadSemanticsPool(const QString& programFolder);

// What one plan holds, counted while it was written.
struct RPlanStats {
    Int64 Bytes = 0;
    Int64 FileLines = 0;
    Int64 Points = 0;         // layer points, inner points of lines and polygons included
    Int64 Lines = 0;          // layer lines and inner lines of polygons
    Int64 Polygons = 0;
    Int64 Texts = 0;          // layer texts and inner texts
    Int64 Nodes = 0;          // every "$" line of a line, polygon or inner contour
    Int64 Captions = 0;       // caption blocks
};

class TPlanGenerator {
public:
    // decimalSeparator is the one the plan is written with (the user's regional
    // setting, "," on a Russian machine); it is set for the writing and restored after.
    TPlanGenerator(const TPlanShape& shape, const TSemanticsPool& semantics,
                   std::uint64_t seed = 20240607, QChar decimalSeparator = u',');

    // Writes the plan through a temporary file that replaces fileName only when all
    // was written. Throws Exception when the file cannot be written.
    RPlanStats WriteFile(const QString& fileName) const;
    // The same bytes in memory.
    QByteArray Bytes(RPlanStats* stats = nullptr) const;

private:
    class TWriter;
    void Compose(TWriter& out) const;

    TPlanShape Shape;
    TSemanticsPool Semantics;
    std::uint64_t Seed;
    QChar Separator;
};
