// "Изменение принадлежности объекта листу/слою": moves one raster, text, point, line or
// polygon of the main plan to another sheet, or another layer, as two plan commands, the
// creation at the end of the destination list and then the deletion of the original.
// The window only chooses the destination; the move follows whatever way it was closed.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QStringList>
#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class TGeoMap;

// The kind of object a move window is open for; mkNone while none is.
enum TMoveKind : std::uint8_t { mkNone = 0, mkPoint = 1, mkLine = 2, mkPolygon = 3, mkText = 4, mkRastr = 5 };

// The module's state: the kind of the open move window, 0 while none is open.
extern std::uint8_t MoveKind;

// Holds MoveKind at one kind for its lifetime and clears it after, also when an exception
// passes: a second move routine called meanwhile answers 0 at once.
class TMoveKindGuard {
public:
    explicit TMoveKindGuard(TMoveKind kind) { MoveKind = kind; }
    ~TMoveKindGuard() { MoveKind = mkNone; }
    TMoveKindGuard(const TMoveKindGuard&) = delete;
    TMoveKindGuard& operator=(const TMoveKindGuard&) = delete;
};

// The layer the chooser selects after another sheet is chosen: the object's own layer
// position when the sheet has that many layers, else the first; -1 for a sheet without
// layers.
int LayerAfterPageChange(int ownLayer, int layerCount);

// Whether the object owns what the creation commands cannot carry: a point's or line's
// inner texts, the points on a line's nodes, a polygon's inner texts, points and lines.
// Such an object is not moved. Reads the tree without moving a cursor.
bool OwnsNestedObjects(const TGeoMap& map, TMoveKind kind, int page, int layer, int index);

// The move itself on map, the object at (page, layer, index) to (toPage, toLayer); the
// layer is not used for rasters. Issues nothing, and returns false, when the destination
// is the object's own place or no place (a negative index), when the object does not
// exist, or when it owns nested objects (then with the message "Перенос объекта").
// Otherwise creates the copy at the end of the destination list, deletes the original
// only after that, loads a raster again that was loaded, and sets index to the copy's
// position (page and layer to the destination). A failing command passes its exception
// on; the original is never deleted before its copy exists.
bool MoveObject(TGeoMap& map, TMoveKind kind, int& page, int& layer, int& index, int toPage, int toLayer);

// The five entry routines: 0 at once while a move window is open, else the window's
// result (2 without a window); page, layer and index hold the object's place afterwards.
TModalResult ChangeRastrPageDlg(int& page, int& index);
TModalResult ChangeTextPageLayerDlg(int& page, int& layer, int& index);
TModalResult ChangePointPageLayerDlg(int& page, int& layer, int& index);
TModalResult ChangeLinePageLayerDlg(int& page, int& layer, int& index);
TModalResult ChangePolygonPageLayerDlg(int& page, int& layer, int& index);

// The window; Pages lists the sheet chooser's lines, LayersOf those of a sheet's layers.
class TFormChangePageLayer : public TDialogBase {
    Q_OBJECT
public:
    TFormChangePageLayer(TMoveKind kind, const QString& pageName, const QString& layerName,
                         const QStringList& pages, int page,
                         std::function<QStringList(int page)> layersOf, int layer,
                         QWidget* parent = nullptr);

    // The chosen places: item indexes, -1 when nothing is chosen.
    int MovePage() const;
    int MoveLayer() const;

    QLabel* LPage;
    QLabel* LLayer;
    QComboBox* cbPage;
    QLabel* LabelLayer;   // "Слой" before the layer chooser
    QComboBox* cbLayer;
    QPushButton* BitBtn1; // "Готово"

    void cbPageChange();
    void BitBtn1Click();

private:
    TMoveKind Kind;
    int OwnLayer;         // the object's layer position
    std::function<QStringList(int page)> LayersOf;
};
