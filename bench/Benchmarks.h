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
inline constexpr const char* OpenKeepStart = "Open/CommandAndStartSnapshot"; // mcOpenMap and its undo step 0
inline constexpr const char* Save = "Save/Command";                  // mcSaveMap
inline constexpr const char* OpenInner = "Open/InnerPoints160k";     // one polygon, 160,000 inner points

// Drawing the plan on a 1920 x 1080 screen (a picture of 5760 x 3240): the whole plan
// (modes 0, 1), then at 1:2000 over a dense part: modes 2, 3, 4, 5 (to 1:1000 and
// 1:500) and 7, and mode 3 without signs and with the snapping nodes collected.
inline constexpr const char* FloorClear = "Floor/ClearPicture";  // the picture filled, nothing drawn
inline constexpr const char* DrawMode0 = "Draw/Mode0";
inline constexpr const char* DrawMode1 = "Draw/Mode1";
inline constexpr const char* DrawRenderAll = "Draw/RenderAll";   // mode 2: every visible sign anew
inline constexpr const char* DrawRefresh = "Draw/Refresh";       // mode 3: the signs reused
inline constexpr const char* DrawMode4 = "Draw/Mode4";
inline constexpr const char* DrawZoom1000 = "Draw/Zoom1000";     // mode 5
inline constexpr const char* DrawZoom500 = "Draw/Zoom500";       // mode 5
inline constexpr const char* DrawMode7 = "Draw/Mode7";           // one object after a change
inline constexpr const char* DrawOutline = "Draw/Outline";       // mode 3 without signs
inline constexpr const char* DrawLinkNodes = "Draw/LinkToNodes"; // mode 3, snapping nodes collected

// One click's hit test (FindObjects, kind 0, every visible sheet) at a dense spot and
// at an empty one; its floor reads every position of the plan once with a box test.
inline constexpr const char* FloorNodePass = "Floor/NodePass";
inline constexpr const char* HitDense = "Query/HitDense";
inline constexpr const char* HitEmpty = "Query/HitEmpty";

// The exports: the whole plan to DXF beside writing the same bytes; a square of the
// plan at 1:500 and 300 dpi to BMP (24 and 8 bits) and JPEG beside encoding the same
// picture; and the underlay readers (BMP, JPEG) beside libjpeg decoding the same file.
inline constexpr const char* ExportDxf = "Export/Dxf";
inline constexpr const char* FloorDxfBytes = "Floor/DxfBytes";
inline constexpr const char* FloorDxfRender = "Floor/DxfRender";   // every object rendered at 300 dpi
inline constexpr const char* ExportBmp24 = "Export/RasterBmp24";
inline constexpr const char* ExportBmp8 = "Export/RasterBmp8";
inline constexpr const char* ExportJpeg = "Export/RasterJpeg";
inline constexpr const char* FloorEncodeBmp24 = "Floor/EncodeBmp24";
inline constexpr const char* FloorEncodeBmp8 = "Floor/EncodeBmp8";
inline constexpr const char* FloorEncodeJpeg = "Floor/EncodeJpeg";
inline constexpr const char* LoadBmp = "Load/Bmp24";
inline constexpr const char* LoadJpeg = "Load/Jpeg";
inline constexpr const char* FloorLibjpeg = "Floor/LibjpegDecode";
// The side of the exported square, metres: 500 (a 1 km square at 300 dpi is a picture
// of 23,622 pixels a side, over the export's limit of 2 GiB), 50 for the small plan.
void RegisterExportBenchmarks(const QString& planSize);

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
