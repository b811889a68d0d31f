// The sign picture editor "Редактор условных знаков": one vector picture of a sign drawn
// with lines, polylines, polygons, circles, regular polygons and texts in millimetres of
// the sign. Every change is made to the picture at once; the caller saves the sign.
#pragma once

#include "editors/signs/SymbolEditModel.h"
#include "foundation/ui/DialogBase.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QMenu;
class QRadioButton;
class QStatusBar;
class TColorPanel;
class TExSpeedButton;
class TGeoMap;
class TNumEdit;
class TTextListBox;

// Opens the editor on EditPict, the window title "Редактор условных знаков : " followed
// by titleSuffix; map supplies the screen resolution and the sign library (its text
// styles and fonts). Returns the window's modal result. A missing picture raises with
// the error trail and opens nothing.
TModalResult SymbolEditDlg(TVpLayers* EditPict, const QString& titleSuffix, TGeoMap& map);

class TFormSymbolEdit;

// The drawing surface: shows the retained canvas and hands the mouse to the window.
class TSymbolEditSurface : public QWidget {
    Q_OBJECT
public:
    TSymbolEditSurface(TFormSymbolEdit& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TFormSymbolEdit& Form;
};

class TFormSymbolEdit : public TDialogBase {
    Q_OBJECT
public:
    TFormSymbolEdit(TVpLayers& pict, TGeoMap& map, const QString& titleSuffix, QWidget* parent);

    // ---- Controls ----
    TExSpeedButton* sbSelectView;
    TExSpeedButton* sbAllView;
    TExSpeedButton* sbViewIn;
    TExSpeedButton* sbViewOut;
    TExSpeedButton* sbMoveView;
    TExSpeedButton* sbSelectObject;
    TExSpeedButton* sbLine;
    TExSpeedButton* sbPolyline;
    TExSpeedButton* sbPolygon;
    TExSpeedButton* sbCircle;
    TExSpeedButton* sbText;
    TExSpeedButton* sbPCircle;
    TNumEdit* NumEdit2;            // corners of a regular polygon
    TColorPanel* pnPenColor;
    TColorPanel* pnBrushColor;
    TExSpeedButton* Image1;        // swaps the two colours
    QRadioButton* RadioButton1;    // "заливка выбранная"
    QRadioButton* RadioButton2;    // "заливка фоновая"
    QRadioButton* RadioButton3;    // "без заливки"
    TExSpeedButton* SpeedButton6;  // apply colours
    TNumEdit* NumEdit1;            // line width, millimetres
    TExSpeedButton* SpeedButton5;  // apply width
    QComboBox* ComboBox1;          // the found list
    TTextListBox* TextListBox1;    // "Состав рисунка"
    TExSpeedButton* SpeedButton1;  // up
    TExSpeedButton* SpeedButton2;  // down
    TExSpeedButton* SpeedButton3;  // delete
    TExSpeedButton* SpeedButton4;  // clear
    QStatusBar* StatusBar1;
    QLabel* Panels[4];             // 0 zoom, 1 X, 2 Y, 3 mode
    TSymbolEditSurface* Surface;
    QMenu* TextPopUp;

    // The text primitive window; tests put a scripted answer here.
    std::function<TModalResult(RVpText&, TSymbols&)> TextPropDialog;

    // ---- State ----
    TSymbolEditView View;
    int Mode = 1;           // 0..8
    int Step = 0;
    std::vector<TGeoPoint> Points;   // the construction points
    std::vector<TFindedObject> Found;
    THover Hover;
    QImage Offscreen;       // 3 W by 3 H
    QImage Canvas;          // what the surface shows: the tile, the highlight, the bands
    QPoint SurfaceOffset;   // where the surface's top-left lies in Offscreen

    // The element chosen in the found list, -1 none.
    int SelectedElement() const;
    // Sets the mode (its button down, cursor, status text), step 0.
    void SetMode(int mode);
    // view mode: 0 whole picture, 1 keep, 2 resized, 3 zoom buttons, 4 after a pan,
    // 5 zoom window.
    void Render(int viewMode);
    // Copies the visible tile and draws the highlight: the surface as a repaint leaves it.
    void RefreshCanvas();
    void FillElementList();
    // The found list into the combo box; the first entry chosen.
    void ShowFound();
    int PickHalfSide() const;   // pixels
    TNewPrimStyle NewStyle() const;

    // ---- Surface events (surface pixels) ----
    void SurfaceDown(Qt::MouseButton button, const QPoint& at);
    void SurfaceMove(Qt::MouseButtons buttons, const QPoint& at);
    void SurfaceUp(Qt::MouseButton button, const QPoint& at);
    void SurfaceResized();

    // ---- Commands ----
    void AllViewClick();
    void ZoomClick(bool in);
    void ApplyColoursClick();
    void ApplyWidthClick();
    void MoveClick(bool up);
    void DeleteClick();
    void ClearClick();
    void SwapColoursClick();
    void ElementRowClicked(int row);
    void FoundChosen(int index);
    void TextPropertiesClick();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    TExSpeedButton* ModeButton(const QString& caption, const QString& hint, int mode);
    TExSpeedButton* ToolButton(const QString& caption, const QString& hint);
    void SetCursorNamed(const char* name);
    void EndEdit();   // after a change of the picture: found list cleared, list rebuilt
    void Created();   // after a creation
    void CreationPress(const TGeoPoint& at);
    void FinishPoints();   // polyline or polygon from the construction points
    // Not-xor drawings on the canvas: drawn again to erase.
    void ShowXor(std::function<void(QPainter&)> draw);
    void HideXor();
    void DrawHighlight(QPainter& p);
    void RubberBand(const QPoint& mouse);

    TVpLayers& Pict;
    TGeoMap& Map;
    TExSpeedButton* ModeButtons[9] = {};
    std::function<void(QPainter&)> XorShown;   // drawn on the canvas now
    bool Panning = false;
    Qt::MouseButton PanButton = Qt::NoButton;
    int SavedMode = 0, SavedStep = 0;
    bool LeftHeld = false;
    bool Moved = false;
    QPoint PressPoint;
    TGeoPoint PressMM;
    bool Shown = false;
};
