// The 32 interaction modes of the drawing surface as one table: what the mode setter
// does for each (caption, cursor, whether the step is stored, the palette button) and
// the handler of each surface event, which the interaction families fill in. The
// one-slot memory that lets a temporary mode return to the one it interrupted.
#pragma once

#include "foundation/GeoTypes.h"

#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>

class TFormMap;

using TMouseMode = std::uint8_t;
enum : TMouseMode {
    mmNone = 0,
    mmSelectView = 1,
    mmMoveView = 2,
    mmSelectObject = 3,
    mmPrintArea = 4,
    mmSaveArea = 5,
    mmLinkRastr = 6,
    mmCreateText = 7,
    mmCreatePoint = 8,
    mmCreateLine = 9,
    mmCreatePolygon = 10,
    mmCreateOtm = 11,
    mmSelectNode = 12,
    mmSelectSegment = 13,
    mmMoveObject = 14,
    mmMoveNode = 15,
    mmMoveSegment = 16,
    mmSetStamp = 17,
    mmAddLineNode = 18,
    mmMergeLines = 19,
    mmOGZ = 20,
    mmSampleCoords = 21,
    mmTraceContour = 22,
    mmCreateCircle = 23,
    mmInterpolateHeights = 24,
    mmCoordLabels = 25,
    mmBaseLinePoint = 26,
    mmInsertRastr = 27,
    mmCapturePointPicture = 28,
    mmCaptureLinePicture = 29,
    mmCapturePolygonPicture = 30,
    mmCheckHeights = 31,
};
constexpr int MouseModeCount = 32;

// The tool-palette button a mode presses when the setter is asked to press one.
enum class TModeButton : std::uint8_t {
    None,
    ReleaseAll,   // every mode button of the palette goes up
    SelectView,
    MoveView,
    SelectObject,
    Text,
    Point,
    Line,
    Polygon,
    Otm,
};

// What the setter does besides caption, cursor, step and button.
enum class TModeEffect : std::uint8_t {
    None,
    ClearSelectedPart,    // the selection mode starts with no part under the cursor
    PrintFrameUndrawn,    // the print-area frame is not on the screen yet
    SelectLinkRastr,      // the raster link needs its sheet and raster; without them nothing
    PolygonPanel,         // the palette's polygon panel is refreshed and shown
    BandUndrawn,          // the node-adding band is not on the screen yet
};

using TModeHandler = void (TFormMap::*)();

// One row of the table. Captions without a step end in "[": the setter appends the
// step and "]". A mode whose caption or cursor depends on the step gives one per step
// (0 to 3); a step without one leaves caption and cursor as they are.
struct TMouseModeRow {
    const char* Name = "";
    const char* Caption = nullptr;
    std::array<const char*, 4> StepCaptions{};
    const char* Cursor = nullptr;                // named cursor; null: per step or unchanged
    std::array<const char*, 4> StepCursors{};
    bool StepStored = false;                     // false: the step argument is ignored
    TModeButton Button = TModeButton::None;
    TModeEffect Effect = TModeEffect::None;
    // Surface events, by button (0 left, 1 right, 2 middle); null: the mode ignores it.
    std::array<TModeHandler, 3> Down{};
    std::array<TModeHandler, 3> Up{};
    TModeHandler Drag = nullptr;                 // a move with a button held
    TModeHandler Hover = nullptr;                // a move with no button held
};

// The row of mode; above 31 an empty row (nothing changes, no handler runs).
const TMouseModeRow& ModeRow(TMouseMode mode);
// Puts the surface handlers of the interaction families into their rows
// (UnitMapRows.cpp); called once, when the table is built.
void FillModeHandlers(std::array<TMouseModeRow, MouseModeCount>& rows);

// The caption the setter writes for mode at step (the step already stored or kept);
// selectedIndex is the node picked in the selection (0: the start of the line). Empty:
// the caption stays as it is.
QString ModeCaption(TMouseMode mode, std::uint8_t step, int selectedIndex);
// The named cursor of mode at step; empty: the cursor stays as it is.
QString ModeCursor(TMouseMode mode, std::uint8_t step);

// The surface event points: for mouse-down, mouse-up and mouse-move the latest screen
// and plan point and the previous ones.
struct TEventPoint {
    QPoint Screen;
    TGeoPoint Plan;
};
struct TEventPoints {
    TEventPoint Down, PrevDown;
    TEventPoint Up, PrevUp;
    TEventPoint Move, PrevMove;
};

// The saved mode state: one slot, not a stack.
struct TModeMemory {
    bool ModeSaved = false;
    TMouseMode SavedMouseMode = mmNone;
    std::int32_t SavedMouseStep = 0;
    TEventPoint SavedPrevDown, SavedPrevUp, SavedPrevMove;

    // Whether switching from current to mode (with step) refreshes the slot: when the
    // saved mode is 0 or 1, nothing is saved, the new mode is the zoom, a pan started
    // from neither zoom nor pan, the print or export area, the first step of a raster
    // link, or node adding, line merging and the inverse task.
    bool ShouldSave(TMouseMode current, TMouseMode mode, std::uint8_t step) const;
    void Save(TMouseMode mode, std::uint8_t step, const TEventPoints& points);
    // Puts the saved previous points back into points.
    void RestorePoints(TEventPoints& points) const;
};
