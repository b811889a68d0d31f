// One plan document: the tree of sheets, layers, rasters and objects with the plan's
// scale and information, and what the engine keeps beside the tree (the sign library
// of the scale, the layer rules, the drawing picture and view, the search results,
// the link to the window, the undo switch). Every change to the tree goes through
// DoCommand.
//
// Cursors are part of every contract here: a query that searches a list leaves that
// list's cursor where the search stopped, on the item found or on the last item when
// nothing was found, so a successful lookup by name makes that sheet or layer current.
// The HasCurrent… predicates move no cursor.
#pragma once

#include "engine/commands/MapCommand.h"
#include "engine/draw/ObjectExtents.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoDataObjectsFound.h"

#include <QImage>
#include <QSet>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class TEngineServices;
class TGeoMap;
class TSymbols;
class TMapPainter;
class TDxfWriter;

struct TMapProp {
    std::int32_t Scale = 0;   // denominator: 500 means 1:500
    QString Info;             // the plan's information text
};

// What the plan readers load and which semantics they give the objects they read.
struct TOpenFilter {
    std::uint8_t ReplacePoint = 0;
    QString PointSemantics;
    std::uint8_t ReplaceLine = 0;
    QString LineSemantics;
    std::uint8_t ReplacePolygon = 0;
    QString PolygonSemantics;
    // Everything loads until a filter window says otherwise: a plan read without a
    // reset filter must not lose its objects, nor be saved back over its file empty.
    std::uint8_t LoadRastrs = 1;
    std::uint8_t LoadTexts = 1;
    std::uint8_t LoadPoints = 1;
    std::uint8_t LoadLines = 1;
    std::uint8_t LoadPolygons = 1;
};

// How a drawing treats the view and which objects it renders anew (0 to 8).
using TDrawMode = std::uint8_t;
// Where a drawing goes.
using TDrawDest = std::uint8_t;
enum : TDrawDest { ddScreen = 0, ddPrinter = 1, ddRaster = 2, ddDxf = 3 };

// Runs one command on a plan with its fields split; raises to refuse it.
using TCommandHandler = std::function<void(TGeoMap& map, const TCommandFields& fields)>;
// Writes the whole plan in the native format to an open device.
using TSnapshotWriter = std::function<void(TGeoMap& map, QIODevice& out)>;

class TGeoMap {
public:
    // Reads the layer names, the layer rules and the caption layer of the program
    // folder's "Слои"; raises when one of the three files is missing.
    TGeoMap();
    ~TGeoMap();
    TGeoMap(const TGeoMap&) = delete;
    TGeoMap& operator=(const TGeoMap&) = delete;

    std::uint8_t Modified = 0;           // changed since last saved
    // What the last native read left out: its structural faults and the lines that went
    // into nothing (sections the format does not know, lines outside every section,
    // lines holding NUL bytes). Above 0 the plan is less than its file, and writing it
    // back under the file's name would destroy the rest.
    int ReadSkipped = 0;
    QImage Bitmap;                       // the off-screen picture, three windows each way
    QRect PictureRect;
    TGeoPoint DrawAreaMin;
    TGeoPoint DrawAreaMax;
    TGeoPoint WindowMin;
    TGeoPoint WindowMax;
    TGPages Pages;                       // the root of the object tree
    std::int32_t DrawnCount = 0;         // objects drawn and skipped by the last drawing
    std::int32_t SkippedCount = 0;
    TMapProp MapProp;
    TNomenclatures Nomenclatures;
    Extended DxfFactor = 0;
    std::int32_t SearchPage = 0;         // where the text search goes on
    std::int32_t SearchLayer = 0;
    std::int32_t SearchText = 0;
    QStringList DataLines;               // the plan rendered in the native format
    std::uint8_t NoJournal = 0;          // 1: a preview; commands are not journalled
    // The selection filter of hit testing.
    std::uint8_t SelectPagesMode = 0;    // 0 all sheets, 1 listed, 2 of the clicked point
    QStringList SelectPagesList;
    std::uint8_t SelectLayersMode = 0;   // 0 all, 1 listed
    QStringList SelectLayersList;
    std::uint8_t SelectObjectKind = 0;   // 0 all but rasters, 1 rasters … 5 polygons
    TFindedObjects FoundObjects;
    QString CaptionLayerName;            // the layer new texts go to
    TDrawMode DrawMode = 0;
    TDrawDest DrawDest = ddScreen;
    std::uint8_t DrawBusy = 0;           // a drawing is in progress
    TFAPoints ScreenNodes;
    std::unique_ptr<TSymbols> Symbols;   // the sign library of the plan's scale
    QStringList LayerNames;              // known layer names, "Слои/Слои.wri"
    TDefLayerForObjects LayerRules;      // semantics-to-layer rules
    std::int32_t ScrollX = 0;            // shift of the picture on the surface
    std::int32_t ScrollY = 0;
    // The window: status panels (the command echo among them), progress bars, the
    // drawing surface, the undo and redo buttons, questions. Null: none.
    TEngineServices* Services = nullptr;   // link, not owned
    Extended ViewXMin = 0;
    Extended ViewYMin = 0;
    Extended ViewXMax = 0;
    Extended ViewYMax = 0;
    Extended FactorX = 0;
    Extended FactorY = 0;
    std::int32_t DisplayScale = 0;
    std::int32_t OutputScale = 0;
    TOpenFilter OpenFilter;
    TMapViews MapViews;
    std::int32_t RastrHeight = 0;        // pixels of the picture mcLoadRastr loaded last
    std::int32_t RastrWidth = 0;
    // The object drawing mode 7 renders alone; an object index below 0 is the last
    // object of its kind in the layer.
    std::int32_t EditedPage = 0;
    std::int32_t EditedLayer = 0;
    std::uint8_t EditedKind = 0;         // 0 point, 1 line, 2 polygon
    std::int32_t EditedObject = 0;
    // The animated highlight of found objects.
    std::int32_t HighlightColor1 = 0xFF0000;
    std::int32_t HighlightColor2 = 0x00FFFF;
    std::int32_t HighlightColor = 0;
    std::uint8_t HighlightRising = 1;
    std::int32_t HighlightStep = 0;
    std::int32_t UserVectorColour = 255;
    std::uint8_t UndoOn = 0;             // 1: a snapshot after each command
    // Settings of the settings file that the drawing, the export and the print read
    // (the frame colours stand with the grid, the DXF switches with the export).
    // Pixel formats as the bitmaps number them (1 one bit, 2 four, 3 eight, 5 sixteen,
    // 6 twenty-four bits; for rasters also 0 as the raster file, 1 as the plan).
    std::uint8_t PlanPixelFormat = 6;         // the screen picture
    std::uint8_t RastrPixelFormat = 4;        // rasters as loaded
    std::int32_t HighlightWidth = 1;          // pen of the highlight lines, pixels
    // Print calibration factors, kept and edited; no print step applies them.
    Extended PrintKx = 1.0L;
    Extended PrintKy = 1.0L;

    // The handler of each code; an empty entry answers "Нет обработчика команды".
    std::array<TCommandHandler, MapCommandLast + 1> CommandHandlers;
    // Writes the undo snapshots; without one, a command under undo fails after its
    // handler and no step is counted.
    TSnapshotWriter SnapshotWriter;

    // The window this plan links to, or the default (questions through the shared
    // dialogs, nothing shown).
    TEngineServices& Ui() const;

    // Sheets; an index is a 0-based position in Pages.
    void GetScale(std::int32_t& scale) const { scale = MapProp.Scale; }
    int GetPagesCount() const { return Pages.GetCount(); }
    // The current sheet's index; -1 without one.
    int GetCurrentPage() const { return Pages.GetIndex(); }
    // Makes sheet index current when it exists, then reports the current sheet (so an
    // index out of range reports the current one). Without sheets nothing is set.
    void GetPageProp(int index, QString& name, std::uint8_t& visible);
    // index -1 and visible 0, then those of the first sheet named name exactly.
    void GetPagePropByName(const QString& name, int& index, std::uint8_t& visible);
    void GetPageIndex(const QString& name, int& index);
    int IndexOfPage(const QString& name);
    // False without a current sheet, else whether a sheet is named name.
    bool PageExists(const QString& name);
    // Every sheet whose name contains text (letter case counts); ends on the last sheet.
    bool FindPages(const QString& text, TArrayIntegers& indexes, QStringList& names);

    // Layers.
    // The current sheet's current layer; -1 without a current sheet or layer.
    int GetCurrentLayer() const;
    // Makes sheet page and its layer current and reports it; an index outside the
    // sheet's layers shows a message and sets nothing.
    void GetLayerProp(int page, int layer, QString& name, std::uint8_t& visible);
    void GetLayerIndex(int page, const QString& name, int& index);
    int GetLayerIndexInCurrentPage(const QString& name);
    bool LayerExists(int page, const QString& name);
    bool LayerExistsInCurrentPage(const QString& name);

    // Rasters.
    // The current sheet's current raster; -1 without either.
    int GetCurrentRastr() const;
    // Moves to sheet page and its last raster; that raster's index, -1 when the sheet
    // does not exist or has no raster.
    int SelectPageLastRastr(int page);
    bool SelectRastr(int page, int raster);
    // Stops on the first sheet holding a raster (else on the last sheet).
    bool HasRastrs();
    // Whether the current raster has its picture loaded.
    bool RastrLoaded() const;

    // Whether the named item can be read: every list on the way down has items and a
    // cursor. None moves a cursor.
    bool HasCurrentPage() const;
    bool HasCurrentLayer() const;
    bool HasCurrentRastr() const;
    bool HasCurrentText() const;
    bool HasCurrentTextOwnStyle() const;
    bool HasCurrentPoint() const;
    bool HasCurrentPointText() const;
    bool HasCurrentPointTextOwnStyle() const;
    bool HasCurrentPointUserText() const;
    bool HasCurrentLine() const;
    bool HasCurrentLineText() const;
    bool HasCurrentLineTextOwnStyle() const;
    bool HasCurrentLineUserText() const;
    bool HasCurrentLineNode() const;
    bool HasCurrentLineNodePoint() const;
    bool HasCurrentLineNodePointUserText() const;
    bool HasCurrentPolygon() const;
    bool HasCurrentPolygonText() const;
    bool HasCurrentPolygonTextOwnStyle() const;
    bool HasCurrentPolygonPoint() const;
    bool HasCurrentPolygonPointUserText() const;
    bool HasCurrentPolygonLine() const;
    bool HasCurrentPolygonLineUserText() const;
    bool HasCurrentPolygonLineNode() const;
    bool HasCurrentPolygonUserText() const;
    bool HasCurrentPolygonNode() const;
    bool HasCurrentIntrPolygon() const;
    bool HasCurrentIntrPolygonNode() const;

    // The document as a whole.
    // Hands the plan's scale to the sign library, which loads the signs of that scale.
    void PassScaleToSymbols();
    // Writes the library's missing-sign list to "Условные знаки/<scale>/неизвестные
    // знаки.wri"; nothing when the library's scale is 0. Write errors pass on.
    void SaveUnknownSymbols();
    // Loads every raster not loaded (asking for the file of those whose file is gone)
    // and unloads every loaded one, through commands on the main plan; both leave the
    // last sheet and its last raster current and redraw the main plan.
    void LoadAllRastrs();
    void UnLoadAllRastrs();

    // Layer rules: "Слои/Выбор слоя.wri" and the caption layer "Слои/слой надписей.wri".
    void LoadDefLayerForObjects();
    // Writes the rules sorted, letter case ignored, each semantics in its standard form.
    void SaveDefLayerForObjects();

    // Commands.
    // The journal line: the command's name, "=" and param unchanged.
    static QString CommToStr(TMapCommand CommandName, const QString& param);
    // Executes a typed line: the name before the first "=", the parameter string after
    // it. A name that is no command (letter case counts) raises "Не определена команда".
    void StrToComm(const QString& s);
    // The one entry that changes the plan: wait cursor, journal, echo, fields,
    // Modified, the handler, the undo snapshot. Raises what fails, with the trail; a
    // command its handler refuses leaves the journal and Modified as they were (the
    // handlers change nothing before they raise), one whose snapshot fails keeps both.
    void DoCommand(TMapCommand Comm, const QString& param);
    // The process-wide document state; a preview (an instance that does not journal)
    // never changes it.
    void SetDataFileState(std::uint8_t state);

    // ---- Sheet, layer, raster, text, point, line and polygon commands ----------------
    // Handlers of codes 8 to 29, 33 to 36 and 48 to 51, run through DoCommand only
    // (GeoMapCommandsPages.cpp, GeoMapCommandsTexts.cpp, GeoMapCommandsPoints.cpp,
    // GeoMapCommandsLines.cpp). Each tests its positions in order (a failing one is
    // silent or shows a message and the command completes), then converts every value
    // field, then changes the plan: a bad field raises with the plan untouched.
    void CmdNewPage(const TCommandFields& f);
    void CmdDelPage(const TCommandFields& f);
    void CmdSetPageProp(const TCommandFields& f);
    void CmdChangePageOrder(const TCommandFields& f);
    void CmdNewLayer(const TCommandFields& f);
    void CmdDelLayer(const TCommandFields& f);
    void CmdSetLayerProp(const TCommandFields& f);
    void CmdChangeLayerOrder(const TCommandFields& f);
    void CmdNewRastr(const TCommandFields& f);
    void CmdLoadRastr(const TCommandFields& f);
    void CmdUnLoadRastr(const TCommandFields& f);
    void CmdDelRastr(const TCommandFields& f);
    void CmdSetRastrProp(const TCommandFields& f);
    void CmdChangeRastrOrder(const TCommandFields& f);
    void CmdNewText(const TCommandFields& f);
    void CmdDelText(const TCommandFields& f);
    void CmdSetTextProp(const TCommandFields& f);
    void CmdChangeTextOrder(const TCommandFields& f);
    void CmdNewPoint(const TCommandFields& f);
    void CmdDelPoint(const TCommandFields& f);
    void CmdSetPointProp(const TCommandFields& f);
    void CmdChangePointOrder(const TCommandFields& f);
    void CmdNewLine(const TCommandFields& f);
    void CmdDelLine(const TCommandFields& f);
    void CmdSetLineProp(const TCommandFields& f);
    void CmdChangeLineOrder(const TCommandFields& f);
    void CmdNewPolygon(const TCommandFields& f);
    void CmdDelPolygon(const TCommandFields& f);
    void CmdSetPolygonProp(const TCommandFields& f);
    void CmdChangePolygonOrder(const TCommandFields& f);
    // Moves to the sheet of field 0, then to its layer of field 1, each field converted
    // just before its move; false when a move fails (the object commands are then
    // silently done).
    bool MoveToCommandLayer(const TCommandFields& f);
    // Empties an object's sign name and rendered picture, so that its sign is chosen
    // and drawn again (after its semantics changed).
    static void ForgetSign(QString& signName, TVpLayers& picture);
    // Reads the current raster's picture afresh from its file and, when the raster's
    // filter is on, recolours it (brightness rL, then red rR, green rG, blue rB; 100
    // unchanged) and marks the filter applied. Nothing without a current raster that is
    // loaded and whose file exists. Raises what the image readers raise, the raster
    // unchanged. (RasterFilter.cpp)
    void SetRasterFilter(int rL, int rR, int rG, int rB);
    // ---- end of sheet, layer, raster and object commands -----------------------------

    // ---- Plan drawing (draw/GeoMapDraw.cpp, draw/GeoMapDrawPicture.cpp,
    // draw/MapPainter.*) --------------------------------------------------------
    // Display switches, each 0 or 1, set by the window from its menu.
    std::uint8_t ShowPlansBorders = 0;   // sheet frames
    std::uint8_t ShowPlanNom = 0;        // nomenclature labels of the frames
    std::uint8_t ShowCoordCross = 0;     // the coordinate grid
    std::uint8_t ShowSymbols = 0;        // 1: signs; 0: black outlines
    std::uint8_t ShowRastrs = 0;
    std::uint8_t ShowNodes = 0;          // a mark on every node
    std::uint8_t LinkToNodes = 0;        // collect the snapping nodes
    std::uint8_t PrintHeaderOn = 0;      // the printed page gets its header
    // Colours as stored (0x00BBGGRR, negative: a system colour).
    std::int32_t BackColor = std::int32_t(0x8000000F);   // the screen's ground: button face
    std::int32_t NodeColor = 0x8000FF;   // node marks (those of the main plan are used)
    std::uint8_t UserVectorColourOn = 0; // 1: every pen and text in UserVectorColour
    // Bits per pixel chosen for the printed page and for the raster image being written;
    // the picture itself is always 32-bit, but 1 bit draws signs black on white.
    std::uint8_t PrintBits = 3;          // 1 black and white, 3 eight bits …
    std::uint8_t RasterBits = 24;
    // The sign preview without a surface copies its picture to another canvas.
    std::uint8_t UseAltCanvas = 0;

    // Draws the plan for dDest into Bitmap: the view step of dmode in a window (screen)
    // or page (printer, raster, DXF) of W by H pixels, the signs of the visible objects
    // rendered as dmode asks (every one for a destination other than the screen), then
    // rasters, objects, node marks and the grid; the screen's picture is 3W by 3H and
    // goes to the surface. Walks the whole tree, leaving every list's cursor where its
    // walk ended. Raises what fails with the trail, the busy flag cleared.
    void Draw(int W, int H, TDrawMode dmode, TDrawDest dDest);
    // Copies the picture to the surface (or the alternative canvas) at (-ScrollX,
    // -ScrollY), the overlays paused around it; the screen destination only.
    void PaintBitmap();
    // A node mark of NodeColor, five pixels across, around pixel P of the picture.
    void DrawNodeMark(const QPoint& P);
    void ClearScreenPicture();   // BackColor over the whole picture
    void ClearPicture();         // white
    // Paints a rendered sign picture (plan metres); null paints nothing.
    void DrawCashe(const TVpLayers* Pict);
    void DrawVpText(const RVpText* VT);
    // Measures the text once (its Frame, at the sign library's resolution) and paints it
    // unless the caption being drawn is hidden; a named text ("^key%value") shows its
    // value.
    void DrawText(RGText* DT);
    // The printed page's header (export/GeoMapPrint.cpp).
    void PrintHeader();
    std::unique_ptr<TMapPainter> Painter;   // over Bitmap while a drawing runs
    // Set before each automatic caption from its hidden flag, cleared for other texts.
    bool HiddenCaption = false;
    // The height of the window the transforms use during a drawing.
    int DrawH = 0;
    // Objects whose sign was last rendered at another resolution than the screen's
    // (for the printer, a raster image, DXF): the next screen drawing renders them again.
    // Compared by address only.
    QSet<const void*> ForeignSigns;
    // ---- end of plan drawing -------------------------------------------------------------

    // ---- Object extents and the redraw of what an edit touched (draw/ObjectExtents.*,
    // draw/GeoMapDrawDirty.cpp) ---------------------------------------------------------
    // Commands run on the plan, counted by DoCommand: the extents' grid answers for the
    // plan only while none ran since it was built.
    std::uint64_t EditCount = 0;
    // The grid of the objects' extents as the last screen drawing drew them; null until
    // one did.
    std::unique_ptr<TObjectExtents> Extents;
    // The grid for the plan as it is now, built when missing or out of date (a command
    // ran, signs were rendered, sheets, layers or lists changed).
    const TObjectExtents& CurrentExtents();
    // The key the plan has now, for comparing with a grid's.
    RExtentKey ExtentKeyNow() const;
    // Notes the extent of an object about to go (kind ekPolygon … ekText of
    // draw/ObjectExtents.h), so that the next mode-7 drawing redraws it away.
    void NoteGoingObject(int page, int layer, std::uint8_t kind, int index);
    // Mode 7 as a redraw of the rectangle the marked object covered before and covers
    // after its rendering, and of the objects noted as going; false (nothing drawn)
    // when the picture on hand is not the one a whole drawing would redraw from.
    bool DrawDirty(int W, int H);
    // 1: mode 7 on the screen redraws only what the edit touched; 0: the whole picture,
    // the plain drawing the partial one is checked against.
    std::uint8_t DirtyRedrawOn = 1;
    // 1: the hit test takes its candidates from the extents' grid; 0: it tests every
    // object, the plain search the grid's is checked against.
    std::uint8_t FindByExtents = 1;
    // Records a whole screen drawing as the picture on hand, and brings the extents' grid
    // up to it (the drawing measured texts and rendered signs).
    void NoteWholePicture(int W, int H, bool withSigns);
    // What the picture on hand was drawn with, to be the same for a partial redraw.
    struct RPictureState {
        Extended ViewXMin = 0, ViewYMin = 0, FactorX = 0, FactorY = 0;
        std::int32_t OutputScale = 0, PlanScale = 0, ScrollX = 0, ScrollY = 0, DrawH = 0, W = 0, H = 0;
        std::int32_t BackColor = 0, NodeColor = 0, UserVectorColour = 0;
        std::int32_t FrameColor500 = 0, FrameColor5000 = 0, NomColor = 0;
        std::uint8_t Switches[9] = {};
        const void* Symbols = nullptr;
        Extended Dpi = 0;
        QSize Size;
        bool operator==(const RPictureState&) const = default;
    };
    RPictureState PictureStateNow(int W, int H) const;
    // Set by a whole screen drawing with signs, cleared by any other drawing.
    bool PictureOnHand = false;
    RPictureState PictureDrawnWith;
    TObjectExtent GoingObjects;   // noted since the last drawing
    // ---- end of object extents ---------------------------------------------------------

    // ---- A pan drawn by shifting the picture (draw/GeoMapDrawShift.cpp) ---------------
    // The screen drawing after a pan (mode 3): the picture on hand shifted by the pan and
    // only what it does not hold drawn, when that paints the pixels a whole drawing
    // paints; else the whole drawing.
    void DrawPan(int W, int H);
    // The shifted drawing alone; false (the picture untouched) when the pan is no whole
    // number of pixels, or anything but the view's origin changed since the picture on
    // hand was drawn, or the part to draw again is most of the picture.
    bool DrawShifted(int W, int H);
    // Clears area (pixels of the picture) and draws in it what the whole drawing paints
    // there: frames, the objects of grid that meet box (plan metres, the area widened by
    // what a drawing reaches beyond an extent) in drawing order, node marks and the grid.
    // The painter must be open on the picture, tiled over area alone.
    void DrawPicturePart(const TObjectExtents& grid, const TObjectExtent& box, const QRect& area);
    // 1: a pan shifts the picture; 0: a pan draws the whole picture, the plain drawing
    // the shifted one is checked against.
    std::uint8_t ShiftRedrawOn = 1;
    // Whether the last DrawShifted shifted the picture, and the rectangles of the picture
    // it drew again.
    bool Shifted = false;
    std::vector<QRect> ShiftedAreas;
    // ---- end of a pan drawn by shifting ------------------------------------------------

    // ---- Coordinate grid, sheet frames and snapping nodes ------------------------------
    // (draw/GeoMapGrid.cpp, draw/GeoMapScreenNodes.cpp; the grid's numbers in
    // draw/CoordGrid.h, shared with the DXF export.) Colours as stored, settings of the
    // settings window.
    std::int32_t FrameColor500 = 0xC5C4BC;    // frames of the 250 m sheets
    std::int32_t FrameColor5000 = 0xD5AE9F;   // frames of the 2 km and 3 km sheets
    std::int32_t NomColor = 0;                // the sheets' nomenclature labels
    // The printed area: its north-west corner (the window's print-area mode) and the
    // page in millimetres (the printer's printable area, set by the print command).
    TGeoPoint PrintOrigin;
    std::int32_t PageWidthMm = 0;
    std::int32_t PageHeightMm = 0;

    // The grid crosses of the 10 cm grid of the plan scale over the area dest covers
    // (the printed area; elsewhere the whole picture widened by two steps): 3 mm arms at
    // the destination's resolution on the printer and a raster image, 5 pixels on the
    // screen and for DXF; dark green, black on the printer and on a 1-bit raster image.
    // Nothing when ShowCoordCross is off or the output scale is above eight times the
    // plan's. Raises what fails, with the trail.
    void PaintCoordCross(TDrawDest dest);
    // The sheet frames over the area dest covers (the printed area widened by 750 m):
    // the 250 m sheets up to output scale 25000 with their nomenclature from 2000, the
    // 2 km or 3 km sheets of the nomenclature's kind up to 1000000 with the base names
    // from 25001 to 500000. Nothing for a plan of 1:10 or with ShowPlansBorders off.
    void PaintPlanCross(TDrawDest dest);
    // Refills ScreenNodes with the snapping candidates of the last drawing's window:
    // the nodes of the visible sheets' visible layers that lie in it (polygons with their
    // inner contours, lines and points; a polygon's parts carry the polygon), then the
    // grid nodes "Координатная сетка" unless the output scale is above eight times the
    // plan's. Walks the sheets, layers and objects with their cursors.
    void FindScreenNodes();
    // ---- end of coordinate grid, sheet frames and snapping nodes ----------------------

    // ---- DXF export (export/GeoMapDxf.cpp, export/DxfWriter.*) -------------------------
    // The converter switches of the settings window, each 0 or 1.
    std::uint8_t UseHCAD = 0;         // contour lines and spot heights get their height as Z
    std::uint8_t UseHCADinText = 0;   // the captions of spot heights keep that Z
    Extended AcadZ = 0;               // the elevation the entity writers give, metres

    // Writes the main plan (this one when there is none) as an R12 ASCII DXF drawing:
    // the header of "VIEWPORT.WRI" from the program folder with the plan's centre and
    // west-east extent, then every object of the visible sheets' visible layers (each
    // rendered anew at 300 dpi first, and again for the screen at its next drawing):
    // polygons, lines, points and texts of a sheet in four passes, their sign pictures as
    // LINE, CIRCLE and TEXT, automatic captions not hidden and texts as TEXT, then the
    // grid crosses; DXF x is plan Y (east). The template is checked before the file is
    // made and the file is written through a temporary one: a bad template, a target that
    // cannot be written or a text that code page 1251 cannot hold raise, naming it, and
    // leave any existing file whole. Ends with a screen drawing in mode 2.
    void ExportToDxf(const QString& FileName);
    // The entities of one rendered picture: a closed run of LINEs per polygon ring, a
    // CIRCLE per circle, a LINE per line and per polyline segment, a TEXT per text.
    void DrawCasheToAcad(const TVpLayers& Pict, TDxfWriter& SL);
    // The TEXT of a text object or caption, whole (a named text with its key).
    void DrawTextToAcad(const RGText& DT, TDxfWriter& SL);
    // The grid crosses of the plan scale over xmin..xmax (north), ymin..ymax (east): two
    // LINEs with arms of 3 metres per node; nothing with the grid off or no scale.
    void CoordCrossToAcad(Extended xmin, Extended ymin, Extended xmax, Extended ymax, TDxfWriter& SL);
    // The entity writers, on layer "0" at elevation AcadZ; colour and width are not
    // written. Plan metres, X north.
    void LineToAcad(TDxfWriter& SL, std::int32_t colour, Extended X1, Extended Y1, Extended X2, Extended Y2,
                    Extended width);
    void CircleToAcad(TDxfWriter& SL, std::int32_t colour, Extended X, Extended Y, Extended radius,
                      Extended width);
    // A text of size (dots at 300 dpi at 1:500) whose top-left corner is (X, Y), running
    // in direction a (degrees clockwise from north): moved to its base line, 0.023 of the
    // size high, rotated counter-clockwise from east. A "^" is written as "^ ", the DXF
    // form of the caret itself.
    void TextToAcad(TDxfWriter& SL, const QString& text, Extended X, Extended Y, TGeoAngle a, Extended size);
    // ---- end of DXF export ---------------------------------------------------------------

    // ---- Raster image export and printing (export/GeoMapRaster.cpp,
    // export/GeoMapPrint.cpp; PrintHeader above) -----------------------------------------
    QString PrintTitle;                  // the free text of the printed page's title line
    // The largest image an export or a page may take: a side of 32,767 pixels and a
    // 32-bit picture of 2 GiB. A larger one is refused before anything is allocated.
    static constexpr std::int64_t MaxRasterSide = 32767;
    static constexpr std::int64_t MaxRasterBytes = std::int64_t(1) << 31;
    // Writes the plan rectangle (metres; X north, Y east) as a ".BMP", ".JPG"/".JPEG" or
    // ".TIF"/".TIFF" image (any letter case) at the scale, resolution and depth the
    // raster-export window asks for, sheet frames off when NoFrame is set. Any other
    // extension, an image over the limits or a failed write is told to the user; the
    // file is replaced only when the whole image is written. Sizes, depth, view history
    // and frames come back on every path and the screen is drawn again.
    void SaveToRaster(const QString& FileName, bool NoFrame, Extended XMin, Extended YMin,
                      Extended XMax, Extended YMax);
    // Prints the area PrintOrigin, PageWidthMm × PageHeightMm at PrinterScale as one page
    // on the window's printer, the picture reduced to PrintBits first. No printer, a page
    // of 0 mm or a page over the limits is told to the user and nothing is printed.
    void PrintPlan();
    // ---- end of raster image export and printing --------------------------------------

    // ---- The native plan file and the plan and file commands --------------------------
    // (GeoMapFileWriter.cpp, GeoMapFileReader.cpp, GeoMapCommandsPlan.cpp; GeoMapFile.h)

    // Renders the plan in the native format: every sheet in list order when SheetIndexes
    // is empty, else the listed ones in the order given. A non-empty FileName is written
    // through a temporary file renamed over it; an empty one appends the lines to
    // DataLines, then one empty line. An index naming no sheet, a character code page
    // 1251 lacks or a write error raises before the file or DataLines changes. The
    // sheet, raster, layer and object lists keep their cursors; the lists inside the
    // objects written (nodes, captions, inner objects) end on their last item.
    void WriteDataToFile(const QString& FileName, const TArrayIntegers& SheetIndexes = {});
    // The same text streamed into out (code page 1251, CR LF).
    void WriteDataToDevice(QIODevice& out, const TArrayIntegers& SheetIndexes = {});
    // Reads a native plan file into a fresh tree and, only when the whole file was read,
    // adds its sheets to the plan (ReplacePlan: replaces the plan's sheets and
    // information text instead). Sheet and layer names the plan already has are asked
    // about; false, nothing changed, when the user closes that question. Structural
    // faults are shown (the first twenty, then their count) and skipped; a value that
    // does not convert, or a file that ends inside a section, raises with the line
    // number, nothing changed. Cursors end on the last item read or merged into.
    bool ReadDataFromFile(const QString& FileName, bool ReplacePlan = false);
    // Drops the last nodes of every top-level polygon whose outer contour ends where it
    // starts as written, as DropClosingNode does. Ends on the last sheet, layer, polygon.
    void CheckPolygonClose();
    // Drops the last node of an outer contour while the file would hold it as the first
    // node (the same coordinate line in the polygon's precision class) and at least two
    // nodes remain; true when one was dropped. The polygon commands store their
    // contours so too: a plan reopened from its snapshot must be the plan the snapshot
    // was taken of.
    static bool DropClosingNode(TGPolygonNodes& nodes, TPrecision precision);

    // The readers of the older plan format ("Old") and the exchange format ("Fora"):
    // ReadDataFromOldFile and ReadDataFromForaFile unless a test puts others in. Each
    // fills the plan's current sheet. Empty: that kind is refused.
    using TImportReader = std::function<void(TGeoMap& map, const QString& FileName,
                                             bool LayerAutoDetect, const QString& LayerName)>;
    TImportReader OldFileReader;
    TImportReader ForaFileReader;

    // The imports (file/GeoMapImportOld.cpp, file/GeoMapImportFora.cpp). Each reads the
    // whole file into the plan's current sheet, which the command made for it and which
    // holds nothing else: the commands hold the plan's other sheets aside and drop this
    // one when the import raises. Objects go into layers by DetectLayer (texts into the
    // caption layer) or all into LayerName, made current by SetLayerDirect; a layer
    // question the user cancels sends the object, and every later one of that semantics
    // in this import, into the import's own layer ("Общий", "Фора"). A value that does
    // not convert raises with the file's name and line; the information text and the
    // rasters' pictures are taken only when the whole file has been read. A file
    // without a single section or record header is refused.
    // The older format: performer lines appended to MapProp.Info (each with a CR; a
    // CR first when the text held ends without one), the segment-type pass over the
    // polygons made; the commands then recompute the plan's extents (MaxMinCoord).
    // Caption shifts in terrain metres become plan millimetres at MapProp.Scale; a line
    // node's sign shift, written in dots of the sign library's resolution, is kept in
    // millimetres.
    void ReadDataFromOldFile(const QString& FileName, bool LayerAutoDetect,
                             const QString& LayerName);
    // The exchange format, code page 866: the passport's last line becomes MapProp.Info.
    void ReadDataFromForaFile(const QString& FileName, bool LayerAutoDetect,
                              const QString& LayerName);
    // The segment-type pass over a polygon's outer contour, walked as a ring (0 main,
    // 1 special I, 2 special II): the run of main nodes after the first run of special
    // ones gets 2 on its inner nodes; its first and last node keep 0. A contour whose
    // nodes are all special has the first one set to 0. Nothing without a special node.
    static void AutoDetectSL2(TGPolygonNodes& Nodes);
    // A semantics line of the exchange format as a semantics string: leading blanks and
    // a closing " #" go; ".ПИКЕТ " becomes "ПКТ/ИВ", ".ОТТЯЖКА" "ОТТ", ".БОРДЮР" "БРД",
    // each followed by the rest of the line.
    static QString ConvSemOver(const QString& s);

    // Handlers of mcNewMap … mcSaveSelected.
    void CmdNewMap(const TCommandFields& f);
    void CmdOpenMap(const TCommandFields& f);
    void CmdAddMap(const TCommandFields& f);
    void CmdSetMapScale(const TCommandFields& f);
    void CmdSetMapInf(const TCommandFields& f);
    void CmdSaveMap(const TCommandFields& f);
    void CmdSaveSelected(const TCommandFields& f);
    // ---- end of the native plan file ---------------------------------------------------

    // ---- Plan-screen transforms and views ----------------------------------------------
    // (view/GeoMapView.cpp, view/GeoMapVisibility.cpp) Plan X is north and maps to the
    // vertical pixel axis, plan Y east to the horizontal one; pixel y grows downwards.
    // On the screen, in raster export and for DXF a plan distance of d metres spans
    // d * factor * 100 pixels (the factor is pixels per centimetre of ground); on the
    // printer d * factor pixels. The view bounds and factors are the members ViewXMin …
    // FactorY above; PictureRect holds left, top, right, bottom as QRect coordinates
    // (x1, y1, x2, y2).
    Extended ScreenDpi = 92.89L;         // the screen's dots per inch, a setting
    Extended RasterDpi = 0;              // raster export
    std::int32_t RasterScale = 0;
    Extended PrinterDpi = 0;             // printing
    std::int32_t PrinterScale = 500;
    // When on, a zoom keeps the plan point under this window pixel in place.
    std::uint8_t ZoomAnchorOn = 0;
    QPoint ZoomAnchor;
    TGeoPoint CentreTarget;              // what a zoom-and-centre (mode 8) puts mid-window

    // Screen pixels per centimetre of ground at 1:1: ScreenDpi / 2.54.
    Extended ScreenFactorAtOne() const;
    // Plan point to pixel on a canvas of height H with the formula of DrawDest (margins of
    // 10 pixels at the left and bottom but for a raster image), halves rounded to even;
    // nothing written when DrawDest is above 3. Never raises: computed in extended
    // precision and held within ±2^30 pixels, so a far-off node cannot fail a drawing.
    void GeoToScr(int H, Extended xg, Extended yg, int& xs, int& ys) const;
    // The same formula unrounded, for clipping before pixels are taken.
    void GeoToScrF(int H, Extended xg, Extended yg, Extended& xs, Extended& ys) const;
    // The inverse, unrounded; nothing written when DrawDest is above 3. Raises when the
    // view has no scale yet (a factor of zero).
    void ScrToGeo(int H, int xs, int ys, Extended& xg, Extended& yg) const;
    // Fits the view bounds into a window of W by H pixels: equal factors, never closer
    // than 1:1; one coordinate alone at 1:100. A window of 20 pixels or less either way
    // (minimised) keeps the view; a zero extent one way takes the other way's factor.
    void FitToWindow(int W, int H);
    // The view step of DrawMode for a drawing into a window of W by H pixels: fit the
    // whole plan into a new history record (modes 0, 1), restore the current record
    // (2, 3, 7), refit it (4), zoom to DisplayScale about the anchor (5) or about the
    // window centre putting CentreTarget mid-window (8); 6 and above 8 keep the view.
    // The history grows for modes 0, 1, 5 and 8 only.
    void ViewStep(int W, int H);
    // OutputScale of DrawDest after the view step (the screen's also to the scale panel,
    // "масштаб 1:" and the number, and to the scale box).
    void SetOutputScale();
    // PictureRect (-ScrollX, -ScrollY, pictureW, pictureH) and the plan corners of it
    // (DrawAreaMin, DrawAreaMax) and of the surface of surfaceW by surfaceH pixels
    // (WindowMin, WindowMax).
    void SetPictureCorners(int pictureW, int pictureH, int surfaceW, int surfaceH);
    // The view bounds become the extents of the whole plan: every sheet, hidden ones
    // too (raster corners, texts, points and their inner texts, line nodes and the
    // lines' inner texts, outer polygon nodes); without any coordinate the origins of
    // the nomenclature's base squares; with neither the bounds stay. Moves no cursor.
    void MaxMinCoord();
    // The extents of the first sheet named Page exactly (made current, as any lookup
    // by name) into PMin, PMax; a missing or empty sheet leaves both as they were.
    void MaxMinCoord(const QString& Page, TGeoPoint& PMin, TGeoPoint& PMax);
    // The view bounds of the main plan, or of this one when there is no main plan.
    void GetExtents(Extended& XMin, Extended& YMin, Extended& XMax, Extended& YMax) const;
    // Visibility against the drawing area DrawAreaMin..DrawAreaMax (ends included), of
    // the current item of the plan's lists; each answer counts into DrawnCount (true) or
    // SkippedCount (false), PolygonVisible also counts every outer node it finds outside.
    bool PointInDrawArea(const TGeoPoint& P) const;
    bool PointInWindow(const TGeoPoint& P) const;
    bool RastrVisible();
    bool PointVisible();
    bool LineVisible();
    bool PolygonVisible();
    bool TextVisible();
    // ---- end of plan-screen transforms and views ---------------------------------------

    // ---- Sheet nomenclature (view/GeoMapNomenclature.cpp) ------------------------------
    // The file the main window chose; empty until it chooses one.
    QString NomenclatureFileName;
    // Reads the nomenclature file name (a full path) into Nomenclatures, replacing the
    // table only when the whole file reads: the kind (2 or 3) on the first line, then
    // pairs of a base square's name and its south-west corner "X Y"; blank lines are
    // skipped. Raises "Не найден файл номенклатур <name>" for a missing file, and names
    // the file and line of any fault; the old table stays then.
    void LoadNomenclatures(const QString& name);
    // The cell name (base name, quarter "-А-" …, cell 1 … 16) of the plan point (XX
    // north, YY east); "?" when no base square holds it or the table is empty, "" for a
    // table of another kind.
    QString CoordToNomenclature(Extended XX, Extended YY) const;
    // The 250 m square of the kind-2 cell name s (the letter in either case): south-west
    // corner x1, y1, x2 = x1 + 250, y2 = y1 + 250. False, outputs untouched, for an
    // unknown base name, a letter other than А to Г, or a table of another kind (kind 3
    // names are not turned back). A cell number other than 1 to 16 zeroes the outputs and
    // raises "Не удалось определить координаты по заданной номенклатуре".
    bool NomenclatureToCoord(const QString& s, Extended& x1, Extended& y1, Extended& x2,
                             Extended& y2) const;
    // ---- end of sheet nomenclature -----------------------------------------------------

    // ---- Layer detection, list fillers and getters, hit testing ------------------------
    // (query/GeoMapLayerRules.cpp, query/GeoMapLists.cpp, query/GeoMapGetters.cpp,
    // query/GeoMapFind.cpp) Sheets, layers, rasters and objects are addressed by their
    // 0-based positions, as the commands address them.

    // The parts sem is matched by: its first three characters (the object code), then,
    // for a string longer than four characters, the text from the fifth character on
    // cut at each ";" (the fourth character is skipped whatever it is). A blank ending
    // the string is dropped; ";;" gives an empty part; a ";" at the end adds none.
    static void SplitSem(const QString& sem, QStringList& parts);
    // The rule for sem: the most parts equal to sem's (none when the object codes
    // differ), then the fewest parts, then the last in list order. On a match index :=
    // its position, the list's cursor rests on it and sem := its semantics; no match:
    // index -1 and sem "". A null or empty list changes neither.
    static void SelectSem(TDefLayerForObjects* rules, QString& sem, int& index);
    // The layer for an object of kind lm (0 point, 1 line, 2 polygon) with semantics
    // objectName: the best rule's layer, else the user's answer to the question, which
    // becomes a rule written back at once (a typed new layer name is also added to
    // "Слои/Слои.wri"). "" when the user cancels or confirms no name. Raises what the
    // files raise, with the rules and names in memory as they were before the question.
    QString DetectLayer(int lm, const QString& objectName);
    // Makes the first sheet named pageName current; false, the last sheet current, when
    // none has the name. Creates nothing.
    bool SetPage(const QString& pageName);
    // SetPage, creating the sheet through mcNewPage when the plan has no current sheet
    // or none of that name. True when the current sheet then has the name.
    bool SetPage2(const QString& pageName);
    // The layer of that name in the current sheet made current, created through
    // mcNewLayer when missing. False, nothing issued, without a current sheet.
    bool SetLayer(const QString& layerName);
    // The importers' form: the layer is appended to the current sheet directly, without
    // a command. Raises "Не удалось создать слой" without a current sheet.
    bool SetLayerDirect(const QString& layerName);

    // List fillers. Each clears its list, then appends one line per item in list order;
    // a sheet or layer that does not exist leaves the list empty. Names of visible
    // sheets, layers and rasters go in upper case next to "видимый", hidden ones in
    // lower case next to "скрытый"; a name column is as wide as its longest text, in
    // characters. Objects are named by their readable semantics (each distinct string
    // decoded once per filling; the classifier may ask about an unknown code). Every
    // filler leaves the lists it walks on the last item visited (the sheet and layer it
    // was given stay current).
    void GetPagesToListBox(QStringList& LB);
    void GetPagesToTextListBox(QStringList& TLB);
    void GetPagesToCheckListBox(QStringList& LB);
    void PagesToComboBox(QStringList& CB);
    void PagesToComboBox2(QStringList& CB);        // visible sheets
    // The names of the visible layers of the visible sheets, each once, first met first.
    void GetLayersNamesToCheckListBox(QStringList& lb);
    void GetLayersToListBox2(int Page, QStringList& LB);
    void GetLayersToComboBox(int Page, QStringList& LB);
    void GetLayersToComboBox2(int Page, QStringList& LB);   // visible layers
    void GetRastrsToListBox(int Page, QStringList& LB);
    void GetTextsToListBox(int Page, int Layer, QStringList& LB);
    void GetPointsToListBox(int Page, int Layer, QStringList& LB);
    void GetLinesToListBox(int Page, int Layer, QStringList& TLB);
    void GetPolygonsToTextListBox(int Page, int Layer, QStringList& TLB);

    // Property getters: copies of one object's properties, arrays fresh. When the sheet,
    // layer or object does not exist nothing is assigned. The sheet, layer and object
    // read become current.
    void GetPointProp(int Page, int Layer, int Index, QString& sem, Extended& X, Extended& Y,
                      TPrecision& precision, Extended& SignAngle, int& AutoTextCount,
                      ArrUserTexts& UserTexts, std::uint8_t& AllUserTextsFromFirst,
                      std::uint8_t& LeaderLine);
    // Rotation in tenths of a degree (screen convention), size in millimetres; a text
    // without its own style reports the named style the sign library resolves for it
    // (the last style when none has its name) and OwnStyle false.
    void GetTextProp(int Page, int Layer, int Index, QString& text, Extended& X, Extended& Y,
                     int& rotation, Extended& SizeFactor, QString& StyleName, bool& OwnStyle,
                     QString& FontName, int& Color, Extended& Size, QString& FontStyle);
    void GetRastrProp(int Page, int Rastr, QString& path, std::uint8_t& loaded, TGeoPoint& BL,
                      TGeoPoint& TR, std::uint8_t& Visible, QString& FilterName, int& R, int& G,
                      int& B, int& L, std::uint8_t& FilterOn);
    // OverLines becomes a copy of the line's list only when that has an entry.
    void GetLineProp(int Page, int Layer, int Index, QString& sem, ArrUserTexts& UserTexts,
                     bool& FalsePolygon, Extended& FalsePolygonW, TPrecision& Precision,
                     int& AutoTextCount, QStringList& OverLines, ArrLineNodes& Nodes);
    void GetPolygonProp(int Page, int Layer, int Index, QString& sem, ArrPolygonNodes& Nodes,
                        TPrecision& Precision, ArrUserTexts& UserTexts, Extended& Dxz,
                        Extended& Dyz, ArrIntrPolygons& IntrPolygons, int& AutoTextCount,
                        int& CaptionAngle);
    // The sign chosen for the object: "#" none found, empty before its first rendering.
    void GetPointSymbol(int Page, int Layer, int Index, QString& SignName);
    void GetLineSymbol(int Page, int Layer, int Index, QString& SignName);
    void GetPolygonSymbol(int Page, int Layer, int Index, QString& SignName);
    // The layer's own objects of a kind (those inside polygons not counted); -1 when the
    // sheet or layer does not exist.
    int GetPointsCount(int Page, int Layer);
    int GetTextsCount(int Page, int Layer);
    int GetLinesCount(int Page, int Layer);
    int GetPolygonsCount(int Page, int Layer);
    // The sheet's rasters; -1 when it does not exist.
    int GetRastrsCount(int Page);

    // Hit testing with the selection filter (SelectPagesMode … SelectObjectKind).
    // Replaces FoundObjects by the objects at the click (x north, y east), FindRect the
    // pick rectangle about it: in sheet order, then layer order, then texts, points,
    // lines, polygons (or the sheet's rasters for kind 1). Texts and polygons are hit by
    // the click point, points by lying in FindRect, lines by crossing its edges. Leaves
    // the cursors where the walks end.
    void FindObjects(Extended x, Extended y, const TGeoRect& FindRect);
    // Rebuilds label and regions of found record n from the plan as it is now; a record
    // whose sheet, layer or object is gone is removed. n outside the list: nothing.
    void ReFind(int n);
    // One step of the highlight swing: ten steps from colour 1 to exactly colour 2,
    // then ten back to exactly colour 1.
    void NextColor();
    // ---- end of layer detection, fillers, getters and hit testing ----------------------

    // ---- Bulk operations on a sheet (commands/GeoMapCommandsBulk.cpp) ------------------
    // Handlers of mcTransform, mcChangeSem, mcDelObjects and mcChangeHinSem: every field
    // converted, then the routine below. Reals take "," and "." alike.
    void CmdTransform(const TCommandFields& f);
    void CmdChangeSem(const TCommandFields& f);
    void CmdDelObjects(const TCommandFields& f);
    void CmdChangeHinSem(const TCommandFields& f);
    // Every position of sheet page: X := X·k + dx, Y := Y·k + dy, then, when da is not
    // exactly 0, turned by da degrees (clockwise on a north-up plan) about (xc, yc) taken
    // after the shift. Moves the rasters' corners, the nodes of lines, polygons and inner
    // contours, the positions of points and of every text, which also turns by da (and
    // has its frame recomputed); the points on a line's nodes go to their node's new
    // place. Leaves sign angles, sizes, caption offsets and rendered pictures. An index
    // outside the sheets does nothing; otherwise the sheet becomes current. Raises, the
    // plan untouched, for k = 0 (the sheet would collapse onto one point), a value that
    // is not a finite number, or a position that would leave the finite numbers.
    void Transform(int page, Extended k, Extended dx, Extended dy, Extended da, Extended xc,
                   Extended yc);
    // Sheet page (negative: every sheet; past the last: none) and its layer lay
    // (negative: every layer; past the last: none) select the layers whose own points,
    // lines and polygons (each kind when its switch is on) these two work on.
    // ChangeSem puts NewSem in place of the first occurrence of oldSem (exact, letter
    // case counts) in each semantics string that holds it and clears that object's sign
    // name. An empty oldSem changes nothing.
    void ChangeSem(int page, int lay, bool Points, bool Lines, bool Polygons,
                   const QString& oldSem, const QString& NewSem);
    // Collects the objects whose semantics contains oldSem (none for an empty one), asks
    // QDelObjectsDlg with one line per object (its semantics and " [sheet-layer]") and,
    // on 1, deletes exactly those objects with everything they own. Nothing found asks
    // nothing.
    void DelObjects(int page, int lay, bool Points, bool Lines, bool Polygons,
                    const QString& oldSem);
    // Every layer's own point whose first three characters are code and whose first
    // number (GetN), rounded halves to even, lies in nFrom..nTo (ends included) gets
    // every height of its semantics raised by increment (ShiftHeights). Raises, the plan
    // untouched, when the classifier fails on a semantics or increment is not finite.
    void ChangeHinSem(const QString& code, int nFrom, int nTo, Extended increment);
    // Outside the commands: reloads the synonym files, gives every layer's own point,
    // line and polygon that has a work name that name as semantics (its sign name
    // cleared), and writes the synonym files back. Nothing sets a work name yet, so no
    // object changes. Raises without the classifier.
    void ApplySynonyms();
    // ---- end of bulk operations --------------------------------------------------------

    // ---- Named texts and text search (query/GeoMapNamedTexts.cpp) ----------------------
    // A named text is a layer's text "^key%value"; its key runs up to and including the
    // first "%".
    // The contents of the texts beginning with "^" of the first layer named LayName in
    // the first sheet named PageName, in list order; empty when either is missing. The
    // sheet and layer found become current.
    void GetNamedTexts(const QString& PageName, const QString& LayName, QStringList& NamedTexts);
    // For each line of NamedTexts holding a "%" (others are skipped), every text of that
    // layer whose content begins with the line's key gets the whole line as content
    // through one mcSetTextProp on this plan, every other property as it was (position
    // to the millimetre). Nothing when the sheet or layer is missing; a key absent from
    // the layer creates nothing. Raises what the command raises, the texts changed
    // before it staying changed (each is a command of its own).
    void SetNamedTexts(const QString& pagename, const QString& layname,
                       const QStringList& NamedTexts);
    // Puts the search cursor (SearchPage, SearchLayer, SearchText) at the start, then
    // NextFindScript.
    int BeginFindScript(const QString& str, int& page, int& lay, int& obj, bool variword,
                        bool varicase, QString& txt, Extended& x, Extended& y);
    // The next layer text from the search cursor on, over every sheet and layer of this
    // plan (hidden ones too; texts inside objects are not searched) that contains str
    // (variword; an empty str is in no text) or equals it (otherwise), both upper-cased
    // first when varicase. Found: 6, its positions, content and position handed back
    // and the cursor just after it. Not found: 7, the cursor at the start of the sheet
    // it was in. The sheet and layer visited last stay current.
    int NextFindScript(const QString& str, int& page, int& lay, int& obj, bool variword,
                       bool varicase, QString& txt, Extended& x, Extended& y);
    // ---- end of named texts and text search --------------------------------------------

    // Writes the plan as it is now as snapshot 0 of the document's undo folder (made
    // when missing), the state the first undo returns to; UndoStep and the buttons stay
    // as they are. Raises what the write raises; nothing is written without a writer.
    void WriteStartSnapshot();

private:
    void InstallCommandHandlers();
    void WriteUndoSnapshot();
    // The snapshot file of step (the document's undo folder made when missing).
    void WriteSnapshotFile(std::int32_t step);
};

// The main plan of the run: set by the main window while it lives, null otherwise.
extern TGeoMap* MainMap;

// The writer every new plan snapshots with (the native plan writer); empty while none
// is built in.
TSnapshotWriter DefaultSnapshotWriter();
