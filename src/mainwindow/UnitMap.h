// The main window: the drawing surface and its interaction modes, the shared state the
// other windows read and write (where new objects go, how they are made, the node array
// under construction), the life cycle of the run (creation, first show, start timer,
// clock, close, destruction) and the window side of the plan engine. One header; the
// bodies are split by topic (UnitMap*.cpp), one file per interaction family.
#pragma once

#include "engine/EngineServices.h"
#include "engine/commands/MapCommand.h"
#include "foundation/GeoTypes.h"
#include "mainwindow/modes/LineEditOps.h"
#include "mainwindow/modes/MouseModes.h"
#include "mainwindow/modes/ScreenCursor.h"
#include "mainwindow/modes/XorBand.h"

#include <QCursor>
#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class TMapPainter;
class TGeoPoints;
class TExtGeoPoints;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QToolButton;
class TFindDialog;
class TFormInstr1;
class TFormMap;
class TGeoMap;
class TStartMark;
class TVclTimer;

// One mouse event of the drawing surface: button 0 left, 1 right, 2 middle; Shift a set
// of 1 Shift, 2 Alt, 4 Ctrl; x, y surface pixels.
struct TSurfaceMouse {
    int Button = 0;
    int Shift = 0;
    int X = 0;
    int Y = 0;
    bool Held = false;   // a move with a button held

    static TSurfaceMouse From(const QMouseEvent& e);
};

// The drawing surface: a retained canvas that the plan's picture is copied into and the
// bands and markers are drawn on. Painting only shows the canvas.
class TDisplaySurface : public QWidget {
    Q_OBJECT
public:
    TDisplaySurface(TFormMap& form, QWidget* parent);

    QImage Canvas;   // Format_RGB32, the surface's size

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    TFormMap& Form;   // link, not owned
};

// A node of the line or polygon under construction.
struct RCreateNode {
    TGeoPoint Point;
    std::uint8_t SegmentType = 0;    // 0 main, 1 special I, 2 special II
    std::uint8_t SegmentStyle = 0;   // 0 and 1 visible, 2 hidden
    std::uint8_t NodeLine = 0;       // line to the corner: 0 yes, 1 no
    std::uint8_t NodePicture = 0;    // picture in the corner: 0 yes, 1 no
    std::uint8_t Curve = 0;          // 1: a curve node (every node of a traced contour)
};
using TCreateNodeArr = std::vector<RCreateNode>;

// A setting of the settings file: its key line and the field it holds.
struct TSettingsKey {
    const char* Key;     // "@Область привязки"
    const char* Field;   // "SnapRadius"
};
// The keys of the main window's fields in the settings file, in the fields' order.
const std::vector<TSettingsKey>& MapSettingsKeys();

// The window's own count of changes since the plan was last written in the native
// format, or made new or opened: commands, undos, redos and restores. (The journal
// cannot say it: an undo reopens a snapshot and empties the journal.)
class TUnsavedChanges {
public:
    int Count() const { return FCount; }
    // A command of the plan completed.
    void CommandDone(TMapCommand comm);
    // An undo, redo or restore reopened the plan: one change more, whatever the open did.
    void Reopened() { ++FCount; }
    // While a reopen runs, its open command does not reset the count.
    bool Reopening = false;

private:
    int FCount = 0;
};

class TFormMap : public QMainWindow, public TEngineServices {
    Q_OBJECT
public:
    explicit TFormMap(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TFormMap() override;

    // ---- Life cycle (UnitMapLifecycle.cpp) ----------------------------------------------
    void FormCreate();
    void FormShow();
    void TimerCloseStartTimer();
    void TimerWorkTimeTimer();
    void ClockClick();
    void FormResize();
    // Asks about unsaved changes; false keeps the window open. While the session ends it
    // asks nothing and answers yes.
    bool FormCloseQuery();
    void FormDestroy();
    // The session's end (log-out or shut-down): the query is answered yes without a
    // question, and the program closes as on exit, its settings, last stamp and recent
    // plans written and its run folder tidied before the session manager ends it.
    void SessionEnd();
    bool SessionEnding = false;
    void FadeInMainWindow();
    void FadeInToolPalette();
    void Delay(int ms);
    // Undo, redo and the restore of an earlier run reopen a plan file through here: the
    // reopen counts as one unsaved change.
    void ReopenAsChange(const QString& fileName);
    // The text of the exit question for the current plan.
    QString ExitQuestionText() const;

    // ---- File commands (UnitMapFile.cpp) -------------------------------------------------
    // AppName + " - план " + name + " [" + folder + "]", or " - план новый".
    void UpdateCaption();
    // Appends DataFileName to the recent plans and "История" when it is new there.
    void AddPlanToHistory();
    // "Сохранить план": Save As for a plan without a plan file name, else SavePlan.
    void btSavePlanClick();
    // Writes the plan to fileName in the native format (a saved plan only when modified;
    // without a plan file name Save As); true when the plan is on disk.
    bool SavePlan(const QString& fileName);
    // Asks for a file name and saves there as a plan, DXF or raster image (by the
    // extension); true when a plan was written.
    bool SaveAs();
    // Saves when the plan is modified; a tick during a modal window or a save is skipped.
    void TimerAutosaveTimer();
    // Reads a plan file (by its first line: own or older format) or an exchange-format
    // text into this window; a declined or failed read changes nothing.
    void LoadFile(const QString& fileName);
    // "Создать план": the new-plan window, then an empty plan of its scale and a new
    // undo folder.
    void btCreatePlanClick();
    // "Открыть план": here for a new plan, else in another instance of the program.
    void btOpenPlanClick();
    // The open filter's window, then the plan opened here with that filter.
    void NOpenPlanUseFilterClick();
    // A "История" item: its plan opened here.
    void NHistoryPlansClick(QAction* item);
    void NClearHistoryClick();
    // DocStartTime := now, the document's undo folder made, UndoStep := 0.
    void StartUndoFolder();
    // Snapshot 0 of the document just started: a copy of openedFile, the plan's own
    // file as it was read, or, without one, the plan written as it is now; so the
    // first command can be undone like any other. Nothing while undo is off.
    void KeepStartSnapshot(const QString& openedFile);
    // The plan shown did not open whole from DataFileName (the read reported faults or
    // left lines out): no save writes over that file without the user's word.
    bool DataFileDamaged = false;
    // Moves every entry of the folder from into the folder to.
    void MoveUndoFolder(const QString& from, const QString& to);
    // "Добавить файл": one plan file merged into this plan (UnitMapMerge.cpp).
    void NAddFileClick();
    // "Добавить из папки...": several files merged one after another.
    void N61Click();
    // Merges fileName by its first line; a file of another kind is told to the user.
    void MergeFile(const QString& fileName);
    // "Сохранить в файл...": the chosen sheets written into one plan file.
    void NSaveToFileClick();
    // "Сохранить в папку...": each chosen sheet into a plan file of its own name.
    void N59Click();
    // "Печать плана": the page from the printer, the print parameters, then the print
    // area is chosen on the plan (UnitMapPrinter.cpp).
    void btPrintPlanClick();
    // "Опции печати": the print dialog on the program's one printer (any installed
    // printer, or a PDF file), which the plan's and the traverse report's prints use.
    void NPrintOptionsClick();
    // "Печатать заголовок" checked or not: the caption asked for, the switch set.
    void NPrintCaptionClick(bool checked);
    // "Восстановление данных": a snapshot of an earlier run reopened (UnitMapRestore.cpp).
    void N49Click();

    // ---- Settings (UnitMapSettings.cpp) ------------------------------------------------
    // "Настройка": the settings window with autosave held, then the plan drawn anew.
    void NSetupClick();

    // ---- Undo, redo and the command window (UnitMapUndo.cpp) ---------------------------
    void sbUndoClick();
    void sbRedoClick();
    // "командный процессор": the command window on the journal and the main plan.
    void N15Click();
    // The document's snapshot folder: the run folder, DocStartTime and the file's name
    // (or "без имени").
    QString UndoFolder() const;
    // The snapshot of step, under any numeric extension; empty when there is none.
    QString SnapshotFile(int step) const;

    // ---- Search and plan-wide commands (search/UnitMapSearch.cpp) ----------------------
    void NFindPlanFromNomClick();
    void NFindPlanFromCoordClick();
    // "Надпись": the find window, made on first use and kept.
    void NFindTextClick();
    void FindDialog1Show();
    // One search step: the next text of the plan that matches, shown at the sign
    // library's scale in the middle of the surface through a new view.
    void FindDialog1Find();
    void NTransformClick();
    void NChangeSemClick();
    void N74Click();
    void N79Click();
    void N41Click();
    TFindDialog* FindDialog1 = nullptr;
    bool FindFromStart = false;   // the find window was shown: the next search starts anew

    // ---- View, plan-list and help menus (UnitMapViewMenu.cpp) -------------------------
    // Builds the "Вид" and "Справка" menus and adds the list windows to "План" and the
    // transfer program to "Файл".
    void ConnectViewMenu();
    // Draws the main plan with the surface's size in draw mode mode.
    void RedrawSurface(std::uint8_t mode);
    void NShowSymbolsClick();
    void NShowRastrsClick();
    void NShowPlansBordersClick();
    void NShowCoordCrossClick();
    void NShowPlanNomClick();
    void NShowNodesClick();
    void NReRenderClick();
    void NShowAllClick();
    void NPlanColorSelectClick();
    void NPlanColorDefaultClick();
    void N66Click();
    void N67Click();
    void NPagesClick();
    void NLayersClick();
    void NRastrsClick();
    void NTextsClick();
    void NPointsClick();
    void NLinesClick();
    void NPolygonsClick();
    void N3Click();
    void N24Click();
    void N50Click();
    void SDRCOM1Click();
    QAction* NShowSymbols = nullptr;       // "Отображать условные знаки"
    QAction* NShowRastrs = nullptr;        // "Показывать растры"
    QAction* NShowPlansBorders = nullptr;  // "Показывать границы планшетов"
    QAction* NShowCoordCross = nullptr;    // "Показывать координатную сетку"
    QAction* NShowPlanNom = nullptr;       // "Показывать номенклатуру планшетов"
    QAction* NShowNodes = nullptr;         // "Выделять все узлы"
    QAction* N66 = nullptr;                // "Использовать пользовательский цвет вектора"
    // The colour the background dialog showed last; it opens with it again.
    std::int32_t PlanColorDialogColor = 0;

    // ---- Modes (UnitMapModes.cpp) ------------------------------------------------------
    void SetMouseMode(TMouseMode Mode, std::uint8_t Step, bool Press);
    void SaveMouseMode();
    void RestoreMouseMode();
    void ShowObjectDestination();
    void NSelectViewClick();
    void NMoveViewClick();
    void NSelectObjectClick();
    // The plan's picture copied onto the surface at minus the scroll offset, between the
    // overlay pause and resume: every band and marker is wiped.
    void PaintBitmap();

    // ---- Surface (UnitMapSurface.cpp; the handlers in modes/UnitMapMouse.cpp) ----------
    void DisplaySurfMouseDown(const TSurfaceMouse& m);
    void DisplaySurfMouseUp(const TSurfaceMouse& m);
    void DisplaySurfMouseMove(const TSurfaceMouse& m);
    // The surface's point and its plan point; false while the view has no scale.
    bool TakeEventPoints(const TSurfaceMouse& m, TEventPoint& latest, TEventPoint& previous);
    // Keys reach this first, whatever control has the focus; true when taken.
    bool HandleHotKey(QKeyEvent& e);

    // ---- Keyboard and mouse wheel (UnitMapKeys.cpp) -------------------------------------
    // The next item of the selection box, the first after the last.
    void SelectNextFoundObject();
    // n < 0 steps the wheel's action 0 → 1 → 2 → 0; 1 or 2 sets it; any other value 0.
    // The wheel button shows the action's glyph.
    void SetWheelAction(int n);
    void WheelBtnClick();
    // One turn of the wheel (shift: 1 Shift, 2 Alt, 4 Ctrl); the deltas are summed and
    // every whole step of 120 acts once, so a touchpad's small deltas do not zoom at each.
    void FormMouseWheel(int shift, int wheelDelta);
    void WheelScrollVertical(int wheelDelta);
    void WheelScrollHorizontal(int wheelDelta);
    void WheelZoom(int wheelDelta);
    // The wheel button wired and showing its first glyph; called once at creation.
    void ConnectKeysAndWheel();
    std::uint8_t WheelAction = 0;    // manual wheel: 0 zoom, 1 horizontal, 2 vertical scroll
    int WheelRest = 0;               // the delta not yet a whole step
    QToolButton* WheelBtn = nullptr; // "Режим колеса мыши"

    // ---- Mouse dispatch (modes/UnitMapMouse.cpp) -----------------------------------------
    // The canvas was made anew: the plan's picture is copied onto it again.
    void DisplaySurfPaint();
    // A move with the right button held, in every mode: the picture scrolls with it, and
    // past 3 pixels both ways the pan takes over.
    void RightDrag();
    // The application's cursor over every window (MOVEDN while the picture is dragged);
    // empty name: back to the cursor of the surface.
    void SetScreenCursor(const QString& name);
    // Zoom and pan (modes 1 and 2), the print and export areas (4, 5), the select mode's
    // moves and right release, the stamp corner (17).
    void ZoomDown();
    void ZoomUp();
    void PanDown();
    void PanDrag();
    void PanUp();
    void PanRightUp();
    void PrintAreaUp();
    void SaveAreaDown();
    void SaveAreaUp();
    void SelectDrag();
    void SelectHover();
    void SelectRightUp();
    void StampDown();
    void CreateLineRightUp();
    void CreatePolygonRightUp();

    // ---- Pop-up menus of the surface (modes/UnitMapPopups.cpp) --------------------------
    void BuildSurfacePopups();
    // Opens menu at the surface point, through the pop-up seam.
    void PopupSurfaceMenu(QMenu* menu, QPoint surfacePoint);
    // The menu for the found object chosen in the selection box and SelectedPart; null:
    // none for that combination. Shows or hides NPikToOtm, N82 and N83 for the object.
    QMenu* SelectedPartPopup();
    // The index of the found object chosen in the selection box; -1 without one.
    int SelectedFoundIndex() const;
    // Connects the surface's own buttons and timers (export area, the snap marker).
    void ConnectSurfaceCommands();

    // ---- Snapping, hit testing, view history (modes/UnitMapSnap.cpp, UnitMapHitTest.cpp,
    // UnitMapView.cpp) -----------------------------------------------------------------
    void Snap();
    TGeoRect PickSquare(QPoint at) const;
    void FindPartUnderCursor();
    void RegisterCreatingObjectNodes();
    void ApplyZoomRect();
    void ApplyPan();
    // "Весь план в окне": the whole plan fitted to the window, every text and caption
    // whole.
    void ShowWholePlan();
    void StartSnapMarker();
    void StopSnapMarker();
    void DrawSnapMarker(QPoint at);
    void tmLinkTimer();

    // ---- Stateful families of the surface (modes/UnitMap*.cpp, one each) ----------------
    // Modes 9 and 10, left down: the node appended to CreateNodes (snapped when on).
    void CaptureCreateNode();
    // Modes 22 and 24, left down: a height mark picked by snapping.
    void PickHeightMark();
    // Mode 22, right up: the traced contour's code, then the select mode.
    void FinishTracedContour();
    // Mode 25, left down: a crossing of the coordinate grid.
    void PickGridCrossing();
    // Mode 6, left up: the raster's two reference points with their coordinates.
    void LinkRastrUp();
    // Mode 31, left up: the two reference pickets, then the height at the place.
    void CheckHeightsUp();
    // Modes 28 to 30, left up: a favourites button of points, lines or polygons captured
    // from the surface at the click (favourites/UnitMapFavourites.cpp).
    void CapturePointFavourite();
    void CaptureLineFavourite();
    void CapturePolygonFavourite();

    // ---- Raster sheets and georeferencing (modes/UnitMapRasters.cpp) --------------------
    // The raster items of "Файл" and "План", the panel's raster-sheet buttons, the raster
    // pop-up's items and the enabling of "Загрузить растры" and "Выгрузить растры".
    void ConnectRastrCommands();
    void SaveRPlanClick();
    void OpenRPlanClick();
    void NLinkRastrClick();
    // The raster LinkPage, LinkRastr laid onto the two points of the link.
    void LinkRastrByTwoPoints();
    // A raster with its lower left corner at Points.Up.Plan, sized from its pixels, the
    // resolution asked and the plan's scale.
    void InsertRastrAtCursor();
    // Mode 27, left up: the insertion, then the remembered mode.
    void InsertRastrUp();
    void NPlanClick();
    void N63Click();
    void N64Click();
    void NRastrPropClick();
    void NRastrDelClick();
    void NRastrLoadClick();
    void NRastrUnloadClick();
    void NRastrLinkClick();
    QAction* N63 = nullptr;          // "Загрузить растры"
    QAction* N64 = nullptr;          // "Выгрузить растры"

    // ---- Survey tools of the plan menu (modes/UnitMapSurveyMenu.cpp, UnitMapContour.cpp,
    // UnitMapStakeout.cpp) -----------------------------------------------------------------
    // The plan menu's "Расчеты", contour, interpolation and circle items, the mode menu's
    // contour and circle items and the panel's "." button.
    void ConnectSurveyCommands();
    void NTraceGorizontalClick();
    void N70Click();
    void N35Click();
    void N36Click();
    void N38Click();
    void N84Click();
    void sbMPClick();
    void NOGZClick();
    void N57Click();
    void N39Click();
    void N45Click();
    void N46Click();
    void N47Click();
    void N48Click();
    void NCreateCircleClick();
    void N71Click();
    // A node of the contour of ContourHeight between the two marks, appended to
    // CreateNodes; "Горизонтали нет" when the height lies outside them.
    void AddTracePoint();
    // Height marks between the two marks, by count or by the largest step.
    void AddInterpolatedPoints();
    // Every node of CreateNodes a curve node.
    void SetCreateNodesCurved();
    // Modes 20 and 21, left up: one line of the newest result list per click.
    void AddStakeoutPoint();
    void AddSampledPoint();

    // ---- Line editing (modes/UnitMapEditLine.cpp) --------------------------------------
    // Reads the chosen found line, changes a copy by op on the selected part and writes it
    // back as one command (also unchanged), then draws it and refinds it.
    void EditLineObject(TLineEditOp op);
    // Modes 18 and 19, left up: the end node added.
    void AddEndNodeUp();
    // The line pop-ups: their preparation and the items that enter the add-node modes.
    void PMLineNodePopup();
    void PMLineTextPopup();
    void NLineNodeAddClick();
    void NLineMClick();
    void ConnectLineEditCommands();

    // ---- Polygon editing (modes/UnitMapEditPolygon.cpp) ---------------------------------
    // As EditLineObject, for the chosen found polygon.
    void EditPolygonObject(TPolygonEditOp op);
    void PMPolygonSegmPopup();
    void PMPolygonNodePopup();
    void ConnectPolygonEditCommands();

    // ---- Moving rasters, texts and points; object pop-ups and copies (modes/
    // UnitMapMoveObjects.cpp, UnitMapObjectPopups.cpp, UnitMapCopy.cpp) -------------------
    // The select mode's release after a drag of the chosen raster, text or point (or the
    // point's caption): one set command, a redraw and the selection refound.
    void ApplyRastrMove();
    void ApplyTextMove();
    void ApplyPointMove();
    // "Свойства объекта" / "Свойства надписи" and "Удалить объект" / "Удалить надпись" of
    // the object pop-ups, for the chosen found object of kind (fkText to fkPolygon).
    void ObjectPropClick(std::uint8_t kind);
    void ObjectDelClick(std::uint8_t kind);
    // "Показать выделенный объект": the chosen object's window.
    void btObjectPropClick();
    // The chosen object deleted without a question; the view redrawn and picked again.
    void DeleteSelectedObject();
    // "Копировать объект" of polygons, lines and points, "Копировать надпись".
    void N51Click();
    void N54Click();
    void N56Click();
    void N80Click();
    // "Превратить пикет в отметку".
    void NPikToOtmClick();
    void ConnectObjectCommands();

    // ---- Selection and its highlight (modes/UnitMapSelect.cpp) -------------------------
    // Picks the objects in the pick square about the last mouse-up.
    void SelectAtClick();
    // Rebuilds the chosen found object from the plan after a change and keeps it chosen.
    void RefindSelected();
    // Box, count and buttons from the engine's found-object list; the highlight restarts.
    void RefreshFoundList();
    void btClearSelectedClick();
    void ComboBoxSelectedObjectsChange();
    // The select mode's caption and cursor for the part under the cursor.
    void ShowSelectionStatus();
    void StartSelectAnimation();
    void StopSelectAnimation();
    void tmSelectTimer();
    // One tick: the next highlight colour, the chosen found object painted in it.
    void HighlightSelected();
    // Painters of the highlight, with the pen the caller set on painter.
    void DrawNodeMark(TMapPainter& painter, int x, int y) const;
    void DrawNodeMarks(TMapPainter& painter, const TGeoPoints& points) const;
    void DrawCaptionFrame(TMapPainter& painter, const TGeoPoints& corners) const;
    void DrawArrowPolyline(TMapPainter& painter, const TGeoPoints& points) const;
    void DrawArrowPolylineSparse(TMapPainter& painter, const TExtGeoPoints& points) const;
    void DrawClosedArrowPolyline(TMapPainter& painter, const TGeoPoints& points) const;
    // The selection box and its buttons wired; called once at creation.
    void ConnectSelectionCommands();
    // The selection box of the tool bar.
    QComboBox* ComboBoxSelectedObjects() const;
    // Select mode, left button: down (the drag outline afresh) and up (select or apply).
    void SelectDown();
    void SelectUp();

    // ---- Rubber bands (modes/UnitMapBands.cpp); cursor: a surface point ----------------
    void DrawZoomBand(QPoint cursor);
    void DrawStampBand(QPoint cursor);
    void DrawExportBand(QPoint cursor);
    void DrawPrintBand(QPoint cursor);
    void DrawPointBand(QPoint cursor);
    void DrawCircleBand(QPoint cursor);
    void DrawLabelBand(QPoint cursor);
    void SetTextAngleFromDrag(QPoint cursor);
    void DrawTextPreview(QPoint cursor);
    void DrawLineBand(QPoint cursor);
    void RedrawCreatingLine();
    void DrawPolygonBand(QPoint cursor);
    void RedrawCreatingPolygon();
    void DrawAnchorBand(QPoint cursor);
    // The outline of the selected object moved by (dX, dY) plan metres.
    void DrawDragOutline(Extended dX, Extended dY);
    // The constructions palette's base line from P1 to P2 with its barbs.
    void ConstructionPreview(const TGeoPoint& P1, const TGeoPoint& P2);
    // Every band not on the screen any more (the picture was copied over them).
    void MarkBandsUndrawn();
    // The row handlers that draw bands.
    void ZoomDrag();
    void SaveAreaDrag();
    void PrintAreaHover();
    void StampDrag();
    void StampUp();
    void CreateLineHover();
    void CreatePolygonHover();
    void AnchorHover();
    void CoordLabelsDrag();
    void CreateTextDown();
    void CreateTextDrag();
    void CreateTextHover();
    void CreatePointDown();
    void CreatePointDrag();
    void CreatePointUp();
    void CreateCircleDown();
    void CreateCircleDrag();

    // ---- Creating objects with the mouse (modes/UnitMapCreate*.cpp) --------------------
    // The work semantics of a new object of kind lm (0 point, 1 line, 2 polygon) starting
    // from code: the kind's favourites palette, else the code unchanged under
    // "Не запрашивать семантику", else the classifier window; false unless OK. lm
    // receives the kind the classifier returned; fromFavourites tells the code came from
    // the palette (the creator's code field then keeps its value).
    bool ChooseWorkSemantics(int& lm, QString& code, bool& fromFavourites);
    // The plan point a creator places at: the snapped point under the snap switch, else
    // the press point.
    TGeoPoint CreationPoint() const;
    void CreatePointObject();
    void CreateTextObject();
    void CreatePointByCoordinates(Extended X, Extended Y);
    void SetBaseLinePoint();
    // The left-button releases of the creation modes: the band step, then the creator.
    void CreatePointRelease();
    void CreateTextRelease();
    void BaseLinePointRelease();
    // Lines and polygons from CreateNodes, which they empty whatever happens once they
    // have enough nodes; the strip and the circle replace the nodes by their outline.
    void CreateLineObject();
    void CreatePolygonObject();
    void CreateStripObject();
    void CreateCircleObject();
    void CreateLineFromNodes();
    void CreatePolygonFromNodes();
    void CircleRelease();
    // The polygon node attributes of the pop-up's items (-1: that one unchanged; style 0
    // is "Видимый сегмент", visible by the type).
    void SetPolygonAttributes(int type, int style, int nodeLine, int nodePicture);
    // The check marks of the polygon creation pop-up's attribute items (NPSegmentTypeMain
    // ... NPNodePicOff) brought in line with the four attributes.
    void CheckCreatePolygonItems();
    // The creation items of the pop-ups and of the mode menu.
    void ConnectCreationMenus();
    // "Параметры создания объектов" and the destination item "лист:": the creation
    // settings window on its first page.
    void NDestPropClick();
    void PageInfClick();

    // ---- Stamps, sheet frames and coordinate labels (stamps/UnitMapStamps.cpp) ----------
    void sbStampClick();
    void sbRamkaClick();
    void sbTextCoordClick();
    void ConnectStampCommands();
    // 1 adds a stamp or changes one, 2 a sheet frame; plans of scale 500 and 2000 only.
    void SetStamp1(std::uint8_t sm);
    // The frame of a sheet whose nomenclature is asked, from the template at path.
    void BuildSheetFrame(int scale, const QString& path);
    // The stamp sheet pageName moved onto the rectangle of the placing drag, framed,
    // shown and filled in; the mode before the stamp comes back.
    void PlaceStamp(const QString& pageName);
    // Two texts with the picked crossing's X and Y beside it.
    void CreateCoordLabels();
    // Mode 17 and 25, left up: the stamp placed; the labels of a picked crossing made.
    void StampRelease();
    void CoordLabelsRelease();
    QString StampPageName;           // the stamp sheet waiting to be placed

    // ---- Raster export of a rectangle (file/UnitMapSaveArea.cpp) ------------------------
    // "Сохранить область плана в выбраном формате": the export rectangle is chosen next.
    void btSaveRegionAsClick();
    // The export rectangle is finished: asks for the file and writes the image.
    void SaveArea();

    // ---- Shared state (UnitMapState.cpp) -----------------------------------------------
    void SetDefaults();
    // The sheet and layer for a new object of kind lm (0 point, 1 line, 2 polygon) with
    // semantics sem at point, made current in the main plan (created when missing); false
    // when the object must not be made (no layer name, the sheet question cancelled, a
    // negative index).
    bool ChooseDestination(const TGeoPoint& point, int lm, const QString& sem, int& page,
                           int& layer);

    // TEngineServices: the window side of the main plan.
    void SetPanelText(TEnginePanel panel, const QString& text) override;
    void SetupProgress(TEngineProgressBar bar, const TEngineProgressSetup& setup) override;
    // Writes status panel 0 to 5; the mouse handling writes 1 to 3 and 5 through here.
    void ShowPanelText(int panel, const QString& text);
    void SetProgressPosition(TEngineProgressBar bar, int position) override;
    QSize SurfaceSize() const override;
    void PaintOnSurface(const QImage& picture, QPoint at) override;
    void PauseOverlays() override;
    void ResumeOverlays() override;
    void SetUndoEnabled(bool enabled) override;
    void SetRedoEnabled(bool enabled) override;
    // The view scale after each screen drawing, into ScaleBox (FormNavigator.cpp).
    void SetScaleBox(const QString& text) override;
    // The printer of the plan's pages: the program's one printer, as the print dialog left
    // it (UnitMapPrinter.cpp).
    QSize PrinterPageSize() override;
    void PrintPicture(const QImage& picture) override;

    // ---- Fields other windows read and write --------------------------------------------
    std::array<QString, 18> LastStamp;
    std::int32_t SnapRadius = 50;
    std::int32_t PickRadius = 10;
    std::uint8_t AutoSaveOn = 1;
    QString PlansFolder;
    QString RastrsFolder;
    std::uint8_t FontAutoload = 1;
    std::uint8_t DestAutoPage = 1;
    QString DestPageName;
    std::uint8_t DestAutoLayer = 1;
    TCreateNodeArr CreateNodes;
    QString DestLayerName;
    std::int32_t CreatePrecision = 2;
    Extended PointSignAngle = 0;
    std::uint8_t PointCaptionLine = 0;
    std::uint8_t AutoTextAllFromFirst = 0;
    Extended AutoTextDX = 0;
    Extended AutoTextDY = 0;
    std::uint8_t AutoTextView = 0;
    std::int32_t AutoTextAngle = 0;
    Extended AutoTextSizeFactor = 1;
    std::int32_t TextAngle = 0;
    QString TextStyleName;
    QString TextFontName;
    std::uint8_t TextFontStyle = 0;
    Extended TextFontSize = 0;
    std::int32_t TextColor = 0;
    QString TextCaption;
    std::uint8_t PolygonSegmentType = 0;
    std::uint8_t PolygonSegmentStyle = 0;
    std::uint8_t PolygonNodeLine = 0;
    std::uint8_t PolygonNodePicture = 0;
    std::uint8_t ResetPolygonNodeAttributes = 1;
    std::int32_t CreateLineColor = 0x008000;
    std::int32_t CreatePolygonMainSegmColor = 0x008000;
    std::int32_t CreatePolygonSpecial1SegmColor = 0xFF00FF;
    std::int32_t CreatePolygonSpecial2SegmColor = 0xFF0000;
    std::uint8_t ShowPolygonPopup = 1;
    QString PointCode;
    QString LineCode;
    QString PolygonCode;
    std::int32_t SelectionArrowLength = 25;
    Extended SelectionArrowAngle = 8.0L;
    std::array<Extended, 16> CoordLabelOffsets{};
    QString CoordLabelStyle;
    std::uint8_t WheelMode = 2;
    Extended CircleTolerance = 0.05L;
    Extended ScatterInPlan = 0;
    Extended ScatterInHeight = 0;
    std::int32_t InterpolationCount = 0;   // marks between two marks; -1: by InterpolationStep
    Extended InterpolationStep = 0;        // the largest distance between marks, metres (> 0)
    // A whole number in 0 .. range - 1 for the scatter of interpolated marks; unset, the
    // run's own random source.
    std::function<int(int range)> ScatterRandom;

    // ---- Mode state ----------------------------------------------------------------------
    TMouseMode MouseMode = mmNone;
    std::uint8_t MouseStep = 0;
    std::uint8_t SelectedPart = 0;   // 0 none, 1 node, 2 segment, 3 whole object, 4 caption
    int SelectedIndex = -1;          // the node picked in the selection
    TEventPoints Points;
    TModeMemory ModeMemory;
    bool ButtonHeld = false;
    TXorBand NodeBand;               // node adding and line merging
    // The first-draw flags of the bands: a band not Drawn is drawn afresh at the next move.
    TXorBand RectBand;               // zoom rectangle, export and stamp bands
    TXorBand PrintBand;              // the page frame of the print area
    TXorBand PointBand;              // the direction gizmo of a new point
    TXorBand LineBand;               // the line's next segment, the circle
    TXorBand PolygonBand;            // the polygon's next and closing segments
    TXorBand DragBand;               // the outline of the selected object being dragged
    TXorBand LabelBand;              // the bracket of the coordinate labels
    bool TextAngleDragged = false;   // the text's angle was chosen by a drag
    bool PointAngleDragged = false;  // the point's direction was chosen by a drag
    bool PointCtrlFlag = false;      // the point gizmo shows its cross (Ctrl at the last up)
    std::int32_t CoordLabelQuadrant = 1;   // 1 above right, 2 below right, 3 below left, 4 above left
    TGeoPoint LineEndAnchor;         // the line's end a new end node is joined to
    Extended StampSizeX = 0;         // the last stamp's size, metres
    Extended StampSizeY = 0;
    int LinkPage = 0;                // the sheet and raster of the raster link
    int LinkRastr = 0;
    int HeldButton = 0;              // 0 left, 1 right, 2 middle
    int DownShift = 0;               // 1 Shift, 2 Alt, 4 Ctrl
    int MoveShift = 0;
    int PrevMoveShift = 0;
    int UpShift = 0;                 // the keys at the last mouse-up
    int SelectedContour = -1;        // the region of the part under the cursor
    // Snapping: the point found, its object's semantics, where the marker blinks.
    bool Snapped = false;
    TGeoPoint SnapPoint;
    QString SnapText;
    QPoint SnapMarkerPos;
    QPoint SnapMarkerDrawnPos;
    bool SnapMarkerDrawn = false;
    // What the multi-click modes gather for their finishing routines.
    TGeoPoint LinkRastrPoint1, LinkTargetPoint1, LinkRastrPoint2, LinkTargetPoint2;
    TGeoPoint LinkEntry;             // the coordinates typed last in the link windows
    TGeoPoint MarkPoint1, MarkPoint2;
    Extended MarkHeight1 = 0;
    Extended MarkHeight2 = 0;
    Extended ContourHeight = 0;      // the height of the contour being traced
    TGeoPoint StampCorner;
    TGeoPoint CoordLabelCross;
    Extended OtmHeight = 0;          // the height a height check hands to the new point
    TGeoPoint OtmPoint;              // where the next interpolated height mark goes
    TGeoPoint CheckHeightsRef1, CheckHeightsRef2;
    Extended CheckHeightsH1 = 0;
    Extended CheckHeightsH2 = 0;
    TGeoPoint StakeoutStation;       // staking out: the station and the orientation point
    TGeoPoint StakeoutOrientation;
    TScreenCursor ScreenCursor;      // MOVEDN while the picture is dragged
    QPoint RightDownScroll;          // the picture's scroll offset when the right button went down

    // ---- Run state -----------------------------------------------------------------------
    std::uint8_t IgnoreMouse = 1;
    std::uint8_t FirstShowPending = 0;
    QString StartDateTimeText;
    int WorkSeconds = 0;
    int WorkMinutes = 0;
    int WorkHours = 0;
    QStringList RecentPlans;
    std::unique_ptr<QStringList> AutoloadFonts;
    std::vector<int> AutoloadFontIds;
    QStringList Arguments;           // the plan files named on the command line
    // The raster open dialog's filter, "description|patterns|…", of every registered
    // picture format.
    QString PlanOpenDialogFilter;
    TUnsavedChanges Unsaved;
    bool TerminateRequested = false; // a declined licence: the run ends once start-up is done

    // ---- Controls ------------------------------------------------------------------------
    TDisplaySurface* DisplaySurf = nullptr;
    QLabel* BackGround = nullptr;
    std::array<QLabel*, 6> StatusPanels{};
    QProgressBar* ProgressBar1 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;
    QMenu* NFile = nullptr;
    QMenu* NHistory = nullptr;
    QMenu* NView = nullptr;
    QMenu* NPlan = nullptr;
    QMenu* NSearch = nullptr;
    QAction* Clock = nullptr;
    QAction* NSettings = nullptr;               // "Настройка": an item without a menu
    QMenu* NHelp = nullptr;
    QMenu* NMouseMode = nullptr;
    QAction* PageInf = nullptr;
    QAction* NSelectView = nullptr;
    QAction* NMoveView = nullptr;
    QAction* NSelectObject = nullptr;
    QLabel* FoundCount = nullptr;
    QToolButton* UndoButton = nullptr;
    QToolButton* RedoButton = nullptr;
    QHash<QString, QToolButton*> PanelButtons;   // by hint
    TVclTimer* TimerCloseStart = nullptr;
    TVclTimer* TimerWorkTime = nullptr;
    TVclTimer* TimerAutosave = nullptr;
    TVclTimer* tmLink = nullptr;
    TVclTimer* tmSelect = nullptr;
    TStartMark* StartMark1 = nullptr;
    TFormInstr1* FormInstr1 = nullptr;          // the tool palette; null until made
    QComboBox* ScaleBox = nullptr;              // the navigator's scale box once made; link
    // Pop-up menus of the surface.
    QMenu* PMCreatePolygon = nullptr;
    QMenu* PMCreateLine = nullptr;
    QMenu* PMRastr = nullptr;
    QMenu* PMPoint = nullptr;
    QMenu* PMLine = nullptr;
    QMenu* PMPolygon = nullptr;
    QMenu* PMText = nullptr;
    QMenu* PMLineNode = nullptr;
    QMenu* PMLineText = nullptr;
    QMenu* PMPolygonNode = nullptr;
    QMenu* PMPolygonSegm = nullptr;
    QMenu* PMPolygonText = nullptr;
    QAction* NPikToOtm = nullptr;               // "Превратить пикет в отметку"
    QAction* N82 = nullptr;                     // "Изменить длину линии"
    QAction* N83 = nullptr;                     // "Изменить угол линии"
    QHash<QString, QCursor> Cursors;            // the named cursors

    std::unique_ptr<TGeoMap> MainMapOwned;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    // Window layout (UnitMap.cpp).
    void BuildMenus();
    // The items of "Файл", "Вид", "План" and the mode menu put in their final order, once
    // every family has added its own (UnitMapMenus.cpp).
    void ArrangeMenus();
    void BuildButtonPanel(QWidget* panel);
    void BuildStatusBar();
    // The 30 named cursors from the program's "курсоры" folder.
    void LoadCursors();
    // The splash picture of the start, with its texts.
    void PrepareSplash();
    void SplashStep();
    void CreateToolPalette();
    // Runs one start-up step; an error is reported and the next steps still run.
    void RunStep(const char* what, const std::function<void()>& step);
    void ConnectUndoCommands();
    void ConnectFileCommands();
    void ConnectSearchCommands();
    // mcSaveMap to fileName and the count at the last save; an error is reported.
    bool WritePlan(const QString& fileName);
    // Save As in the native format: the name, the undo folder, the scale of the extension.
    bool SaveAsPlan(const QString& fileName);
    bool Saving = false;
    // Reopens a snapshot as one unsaved change and redraws; an error is reported.
    void ReopenSnapshot(const QString& fileName);

    QImage SplashPicture;
    QImage SplashClean;
    int SplashProgress = 0;
    bool Destroyed = false;
    bool LinkWasRunning = false;
    bool SelectWasRunning = false;
};

// Image n of the wheel button's glyphs, 23 × 23: 0 zoom, 1 horizontal, 2 vertical
// scroll; an empty image for any other n.
QImage WheelGlyph(int n);

// A caption made of data (a file or layer name) as a menu shows it: "&" stays a
// character and never marks a mnemonic.
QString MenuText(const QString& text);

// Fades and opacity are for a screen; offscreen (tests, captures) there is none.
bool IsHeadless();

// The program file a further plan starts in.
QString ProgramFile();
// Whether the extension of fileName is all digits: a plan file (its scale).
bool IsPlanFileName(const QString& fileName);
// The save dialog's filter: the eight plan scales, DXF, the raster images, all files.
QString PlanSaveDialogFilter();

// The main window of the run; null until it is made and after it goes.
extern TFormMap* FormMap;
