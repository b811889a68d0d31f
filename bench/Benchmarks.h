// The benchmarks of one run, registered in the order they are reported, and the names
// the summary compares: each cost beside the floor it is measured against.
#pragma once

#include <QString>

namespace bench {

// Floors: what the same bytes cost without the engine.
inline constexpr const char* FloorRead = "Floor/ReadDecodeSplit";   // file -> memory -> cp1251 -> lines
inline constexpr const char* FloorWrite = "Floor/WriteBytes";        // the same bytes -> a file

// Opening and saving the plan.
inline constexpr const char* Open = "Open/Command";                  // mcOpenMap as the user runs it
inline constexpr const char* OpenRead = "Open/Reader";               // ReadDataFromFile alone
inline constexpr const char* OpenDrop = "Open/DropOldPlan";          // freeing the plan it replaces
inline constexpr const char* OpenClose = "Open/ClosingPass";         // CheckPolygonClose alone
inline constexpr const char* OpenSigns = "Open/SignLibrary";         // the sign library of the scale
inline constexpr const char* Save = "Save/Command";                  // mcSaveMap
inline constexpr const char* OpenInner = "Open/InnerPoints160k";     // one polygon, 160,000 inner points

// Drawing the plan on the screen, 1200 x 800 pixels at twice the plan's scale (the
// outline drawing: the whole plan).
inline constexpr const char* DrawRenderAll = "Draw/RenderAll";   // mode 2: every visible sign anew
inline constexpr const char* DrawRefresh = "Draw/Refresh";       // mode 3: the signs reused
inline constexpr const char* DrawOutline = "Draw/Outline";       // without signs

// One command, with undo off and on.
inline constexpr const char* NewPointOff = "Command/NewPoint/undo:0";
inline constexpr const char* NewPointOn = "Command/NewPoint/undo:1";
inline constexpr const char* LineOff = "Command/SetLine1000/undo:0";
inline constexpr const char* LineOn = "Command/SetLine1000/undo:1";
inline constexpr const char* TransformOff = "Command/TransformSheet/undo:0";
inline constexpr const char* TransformOn = "Command/TransformSheet/undo:1";
inline constexpr const char* TurnOff = "Command/TurnSheet/undo:0";   // the transform with a turn

// One click of the selection mode: FindObjects over every visible sheet.
inline constexpr const char* FindObjects = "Query/FindObjects";

// The number routines of one coordinate line, per pair.
inline constexpr const char* FormatPair = "Parts/FormatPair";         // XYtoString2
inline constexpr const char* ParsePair = "Parts/ParsePair";           // StringToXY

// Choosing the signs of 200 objects in a library of 2,000 point signs, found and not found.
inline constexpr const char* SignHit = "Parts/SelectSymbolHit";
inline constexpr const char* SignMiss = "Parts/SelectSymbolMiss";

// Peak memory of the opened plan, measured in a process of its own.
inline constexpr const char* PeakMemory = "Memory/OpenedPlanPeak";

// A scan decoded by our reader and by libtiff ("Tiff/Decode/lzw", "Tiff/DecodeLibtiff/lzw",
// also "packbits" and "none"), and written by both. Present when libtiff was found.
inline constexpr const char* TiffDecode = "Tiff/Decode/";
inline constexpr const char* TiffDecodeLibtiff = "Tiff/DecodeLibtiff/";
inline constexpr const char* TiffWrite = "Tiff/Write";
inline constexpr const char* TiffWriteLibtiff = "Tiff/WriteLibtiff";

void RegisterFloorBenchmarks();
void RegisterOpenSaveBenchmarks();
void RegisterCommandBenchmarks();
void RegisterPartBenchmarks();
// Runs this program again to open the plan in a fresh process (see RunMemoryProbe).
void RegisterMemoryBenchmark();
void RegisterDrawBenchmarks();
// The scan is 10,000 x 7,000 pixels, or 1,000 x 700 for the small plan (the smoke run).
void RegisterTiffBenchmarks(const QString& planSize);

// A coloured scan decoded by our PNG reader and by libpng ("Png/Decode/rgb",
// "Png/DecodeLibpng/rgb", also "palette"). Present when libpng was found; the scan's
// size follows the plan size as the TIFF scan's does.
inline constexpr const char* PngDecode = "Png/Decode/";
inline constexpr const char* PngDecodeLibpng = "Png/DecodeLibpng/";
void RegisterPngBenchmarks(const QString& planSize);

// The child process of the memory benchmark, in the program folder of its parent:
// opens the plan twice (an open, then a reopen as undo does) and prints the memory
// figures on one line; the exit code is 0 on success.
int RunMemoryProbe(const QString& planFile, const QString& programFolder);

} // namespace bench
