// The sign preview: a private plan engine holding one sample object that carries the
// sign under edit, drawn onto the paint box of the window that shows it. The point,
// line and area sign dialogs, the sign manager and the add-sign dialog each own one.
#pragma once

#include "engine/EngineServices.h"
#include "engine/GeoMap.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

class QSlider;

// The window a preview belongs to; it decides the sample, the commands and the zoom.
enum TPreviewOwner : std::uint8_t {
    poPointSign,    // the point sign dialog
    poLineSign,     // the line sign dialog
    poAreaSign,     // the area sign dialog
    poSignManager,  // the sign manager (renders off-screen, no track bar)
    poAddSign,      // the add-sign dialog
};

// The zoom track bar of an owner at scale 1:scale: its range in scale denominators
// and its start position (halves rounded to even). The manager has none (all 0).
struct TPreviewZoomRange {
    int Min = 0;
    int Max = 0;
    int Position = 0;
};
TPreviewZoomRange PreviewZoomRange(TPreviewOwner owner, int scale);

// The paint box (PaintBox1) with the engine behind it. Created with the window, before it
// is shown; freed with it. The window places the paint box and, for every owner but the
// manager, the track bar TrackBar1, a sibling the preview creates in the same parent.
class TSignPreview : public QWidget, public TEngineServices {
    Q_OBJECT
public:
    // Sets the engine up before any command: no journal, no panels, this paint box as
    // surface, the button face as ground, no questions about unknown signs and no
    // synonyms, 92.89 dpi, 24-bit picture, raster depth 4. Keeps the process-wide
    // document state, which the preview's new-plan command must not change for good.
    // Raises what the engine's creation raises (a missing "Слои" file).
    // kind (0 point, 1 line, 2 area) is the add-sign dialog's object kind; the other
    // owners take theirs from what they are.
    TSignPreview(TPreviewOwner owner, int scale, QWidget* parent, int kind = 0);
    ~TSignPreview() override;

    // Fills the preview plan with the owner's commands. The sign dialogs give the full
    // path of their sign file: it is the sample's semantics, and after the commands the
    // library is reduced to that one sign, loaded under the path less ".wri" (false when
    // the file did not load; the message has been shown). Every owner but the add-sign
    // dialog loads the text styles of the scale first. Raises what a command raises.
    bool Prepare(const QString& signFile = QString());

    // Draws the preview at the paint box's size in draw mode mode on the screen
    // destination (the manager's off-screen picture while AltCanvas is on).
    void Draw(TDrawMode mode);
    // After a change of the sign under edit: rendered anew (draw mode 0).
    void SignChanged();
    // The track bar moved to position: the zoom value follows; the sign dialogs draw
    // with draw mode 8 once shown, the add-sign dialog with draw mode 5 once prepared.
    void ZoomTo(int position);

    // The sign manager's off-screen picture: while on, the engine copies its rendering
    // into AltPicture (the paint box's size, 24 bits) instead of onto the paint box.
    void SetAltCanvas(bool on);
    QImage AltPicture;

    TPreviewOwner Owner() const { return FOwner; }
    int Kind() const { return FKind; }
    int Scale() const { return FScale; }
    bool Shown() const { return FShown; }
    // The sign file the sample carries; empty for the manager and the add-sign dialog.
    const QString& SignFile() const { return FSignFile; }
    // The work name of the sign: the file path less its last four characters.
    static QString SignWorkName(const QString& signFile);

    std::unique_ptr<TGeoMap> Map;     // the preview plan
    QPointer<QSlider> TrackBar1;      // null for the manager

    // ---- What the engine asks of its window ----
    QSize SurfaceSize() const override;
    void PaintOnSurface(const QImage& picture, QPoint at) override;
    void PaintOnAltCanvas(const QImage& picture, QPoint at) override;

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // The first show of a sign dialog: the whole plan (draw mode 0), then the zoom
    // centre (80, 80) and the track bar's zoom value for the repaints.
    void FirstShow();
    void IssueCommands();
    void ReduceLibrary();

    TPreviewOwner FOwner;
    int FScale;
    int FKind;
    QString FSignFile;
    bool FShown = false;       // the sign dialogs: the first show has drawn
    bool FPrepared = false;    // the add-sign dialog: the track bar may draw
    bool Painting = false;     // inside paintEvent: a copy needs no further update
    bool CanvasFresh = false;  // the canvas holds a drawing not yet shown
    QImage Canvas;             // what the paint box shows
    std::uint8_t KeptDataFileState;
};
