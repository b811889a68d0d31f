// The sign preview: the private plan of one sample object, set up and filled by plan
// commands exactly as each owner gives them, and drawn into the paint box.
#include "editors/signs/SignPreview.h"

#include "engine/commands/MapCommand.h"
#include "foundation/AppGlobalVar.h"
#include "semantics/signs/Symbols.h"

#include <QPaintEvent>
#include <QPainter>
#include <QSlider>
#include <algorithm>
#include <cmath>

namespace {

// Delphi's Round: halves to even.
int RoundHalfEven(Extended value) { return static_cast<int>(std::nearbyint(value)); }

// The sample objects stand at (80, 80), where the zoom centre is put.
constexpr Extended SampleX = 80;
constexpr Extended SampleY = 80;

// The layer names of the preview plan, one per object kind.
const QString LayerNames[3] = {QStringLiteral("точечные"), QStringLiteral("линейные"),
                               QStringLiteral("площадные")};

// A point sample: sheet 0, layer layer, no captions placed, all captions from the first.
QString PointParams(int layer, const QString& sem, Extended x, Extended y)
{
    return TCommandParams()
        .Int(0).Int(layer).Text(sem).Fixed(x).Fixed(y).Int(0).Fixed(0).Text(QString()).Int(1).Int(0);
}

// Line nodes as the sign dialogs and the add-sign dialog write them: the sign shift a real.
QString LineNodes(std::initializer_list<std::pair<Extended, Extended>> nodes)
{
    QString s;
    for (const auto& [x, y] : nodes)
        s += TCommandValues().Fixed(x).Fixed(y).Int(0).Fixed(-1).Int(0).Int(-1).Int(0).Int(0).Group();
    return s;
}

QString LineParams(int layer, const QString& sem, const QString& nodes)
{
    return TCommandParams()
        .Int(0).Int(layer).Text(sem).Text(QString()).Int(0).Fixed(0).Int(2).Text(QString()).Field(nodes);
}

// Polygon nodes: X, Y, sign shift, segment type and three flags; the second side is a
// special one, so the sample shows the special segment picture too.
QString PolygonNodes(Extended x1, Extended y1, Extended x2, Extended y2)
{
    const struct {
        Extended X, Y;
        int A, B;
    } nodes[4] = {{x1, y1, 0, 0}, {x2, y1, 1, 1}, {x2, y2, 0, 0}, {x1, y2, 2, 0}};
    QString s;
    for (const auto& n : nodes)
        s += TCommandValues().Fixed(n.X).Fixed(n.Y).Fixed(-1).Int(n.A).Int(n.B).Int(0).Int(0).Group();
    return s;
}

QString PolygonParams(int layer, const QString& sem, const QString& nodes, int precision)
{
    return TCommandParams()
        .Int(0).Int(layer).Text(sem).Field(nodes).Int(precision).Text(QString())
        .Fixed(0).Fixed(0).Text(QString()).Int(-1);
}

QString ScaleParam(int scale) { return TCommandParams().Int(scale); }

}  // namespace

TPreviewZoomRange PreviewZoomRange(TPreviewOwner owner, int scale)
{
    TPreviewZoomRange r;
    switch (owner) {
    case poPointSign:
    case poLineSign:
    case poAreaSign:
        r.Min = std::max(5, RoundHalfEven(Extended(scale) / 50));
        r.Max = 2 * scale;
        r.Position = RoundHalfEven(Extended(scale) / (owner == poPointSign ? 5 : 2));
        break;
    case poAddSign:
        r.Min = std::max(5, RoundHalfEven(Extended(scale) / 10));
        r.Max = 4 * scale;
        r.Position = 200;
        break;
    case poSignManager:
        break;
    }
    return r;
}

QString TSignPreview::SignWorkName(const QString& signFile) { return signFile.chopped(std::min<qsizetype>(4, signFile.size())); }

TSignPreview::TSignPreview(TPreviewOwner owner, int scale, QWidget* parent, int kind)
    : QWidget(parent), FOwner(owner), FScale(scale),
      FKind(owner == poPointSign ? 0 : owner == poLineSign ? 1 : owner == poAreaSign ? 2 : kind),
      KeptDataFileState(DataFileState)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    Canvas = QImage(QSize(1, 1), QImage::Format_RGB32);
    Canvas.fill(palette().color(QPalette::Button));

    Map = std::make_unique<TGeoMap>();
    Map->NoJournal = 1;
    Map->UndoOn = 0;
    Map->Services = this;
    Map->BackColor = std::int32_t(0x8000000F);   // the button face
    Map->Symbols->AskUnknownSymbol = 0;
    Map->Symbols->UseSynonyms = 0;
    Map->ScreenDpi = 92.89L;
    Map->PlanPixelFormat = 6;                     // 24 bits
    Map->RastrPixelFormat = 4;

    if (owner != poSignManager) {
        const TPreviewZoomRange range = PreviewZoomRange(owner, scale);
        TrackBar1 = new QSlider(Qt::Horizontal, parent);
        TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
        TrackBar1->setRange(range.Min, range.Max);
        TrackBar1->setValue(range.Position);
        connect(TrackBar1, &QSlider::valueChanged, this, &TSignPreview::ZoomTo);
    }
}

TSignPreview::~TSignPreview()
{
    // The preview's new plan must leave the main plan's state as it was: whether Open
    // starts another instance and Save asks for a name depends on it.
    DataFileState = KeptDataFileState;
    // A track bar made without a window to hold it has no one else to free it.
    if (TrackBar1 && !TrackBar1->parent())
        delete TrackBar1.data();
}

bool TSignPreview::Prepare(const QString& signFile)
{
    FSignFile = signFile;
    if (FOwner != poAddSign)
        Map->Symbols->LoadTextStyles(FScale);
    IssueCommands();
    bool loaded = true;
    if (FOwner == poPointSign || FOwner == poLineSign || FOwner == poAreaSign) {
        ReduceLibrary();
        loaded = Map->Symbols->LoadSymbol(FSignFile, SignWorkName(FSignFile), FKind);
    }
    Map->ShowSymbols = 1;
    FPrepared = true;
    return loaded;
}

void TSignPreview::IssueCommands()
{
    TGeoMap& map = *Map;
    const QString newMap = TCommandParams().Int(FScale).Text(QString());
    const QString sheet = TCommandParams().Text(QStringLiteral("общий лист"));
    const auto layer = [&](int kind) { return TCommandParams().Int(0).Text(LayerNames[kind]); };
    switch (FOwner) {
    case poPointSign:
        map.DoCommand(mcNewMap, newMap);
        map.DoCommand(mcNewPage, sheet);
        map.DoCommand(mcNewLayer, layer(0));
        map.DoCommand(mcNewPoint, PointParams(0, FSignFile, SampleX, SampleY));
        map.DoCommand(mcSetMapScale, ScaleParam(FScale));
        break;
    case poLineSign:
        map.DoCommand(mcNewMap, newMap);
        map.DoCommand(mcNewPage, sheet);
        map.DoCommand(mcNewLayer, layer(1));
        map.DoCommand(mcNewLine, LineParams(0, FSignFile,
                                            LineNodes({{75, 70}, {85, 70}, {85, 90}, {80, 90}, {80, 72}})));
        map.DoCommand(mcSetMapScale, ScaleParam(FScale));
        break;
    case poAreaSign:
        map.DoCommand(mcNewMap, newMap);
        map.DoCommand(mcNewPage, sheet);
        map.DoCommand(mcNewLayer, layer(2));
        map.DoCommand(mcNewPolygon, PolygonParams(0, FSignFile, PolygonNodes(75, 70, 85, 90), 2));
        map.DoCommand(mcSetMapScale, ScaleParam(FScale));
        break;
    case poSignManager: {
        map.DoCommand(mcNewMap, newMap);
        map.DoCommand(mcNewPage, sheet);
        for (int kind = 0; kind < 3; ++kind)
            map.DoCommand(mcNewLayer, layer(kind));
        map.DoCommand(mcNewPoint, PointParams(0, QStringLiteral("ТОЧ"), 80, 80));
        // The manager writes every node value of its line as an integer.
        QString nodes;
        for (const Extended y : {80, 90})
            nodes += TCommandValues().Fixed(80).Fixed(y).Int(0).Int(-1).Int(0).Int(-1).Int(0).Int(0).Group();
        map.DoCommand(mcNewLine, LineParams(1, QStringLiteral("ЛИН"), nodes));
        map.DoCommand(mcNewPolygon, PolygonParams(2, QStringLiteral("ПОЛ"), PolygonNodes(80, 80, 90, 95), 0));
        // Always 500: the manager loads the library of its own scale afterwards.
        map.DoCommand(mcSetMapScale, ScaleParam(500));
        break;
    }
    case poAddSign:
        map.DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
        map.DoCommand(mcNewLayer, TCommandParams().Int(0).Text(QStringLiteral("1")));
        map.DoCommand(mcSetMapScale, ScaleParam(FScale));
        if (FKind == 1)
            map.DoCommand(mcNewLine, LineParams(0, QStringLiteral("ЛИН"), LineNodes({{10, 10}, {20, 35}})));
        else if (FKind == 2)
            map.DoCommand(mcNewPolygon, PolygonParams(0, QStringLiteral("ПОЛ"), PolygonNodes(10, 10, 20, 35), 0));
        else
            map.DoCommand(mcNewPoint, PointParams(0, QStringLiteral("ТОЧ"), 25, 25));
        break;
    }
}

// The new-plan and set-scale commands loaded the whole library of the scale; the sample
// is to be drawn with the one sign under edit.
void TSignPreview::ReduceLibrary()
{
    TSymbols& symbols = *Map->Symbols;
    symbols.VpGPoints.DeleteAll();
    symbols.VpGPolygons.DeleteAll();
    if (FOwner != poAreaSign)
        symbols.VpGLines.DeleteAll();
}

void TSignPreview::Draw(TDrawMode mode) { Map->Draw(width(), height(), mode, ddScreen); }

void TSignPreview::SignChanged() { Draw(0); }

void TSignPreview::ZoomTo(int position)
{
    Map->DisplayScale = position;
    if (FOwner == poAddSign) {
        if (FPrepared)
            Draw(5);
    } else if (FShown) {
        Draw(8);
    }
}

void TSignPreview::FirstShow()
{
    Draw(0);
    Map->CentreTarget = GeoPoint(SampleX, SampleY);
    if (TrackBar1)
        Map->DisplayScale = TrackBar1->value();
    FShown = true;
    // What the window shows first is the repaint's zoomed drawing.
    CanvasFresh = false;
}

void TSignPreview::SetAltCanvas(bool on)
{
    Map->UseAltCanvas = on ? 1 : 0;
    if (!on)
        AltPicture = QImage();
}

QSize TSignPreview::SurfaceSize() const { return size(); }

namespace {

// The visible part of picture (three windows each way) at at, over the ground.
void CopyPicture(QImage& target, QSize size, const QImage& picture, QPoint at, const QColor& ground)
{
    if (target.size() != size || target.format() != QImage::Format_RGB32)
        target = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(target.rect(), ground);
    const QRect source = QRect(-at, target.size()).intersected(picture.rect());
    if (!source.isEmpty())
        painter.drawImage(source.topLeft() + at, picture, source);
}

}  // namespace

void TSignPreview::PaintOnSurface(const QImage& picture, QPoint at)
{
    CopyPicture(Canvas, size(), picture, at, palette().color(QPalette::Button));
    if (!Painting) {
        CanvasFresh = true;
        update();
    }
}

void TSignPreview::PaintOnAltCanvas(const QImage& picture, QPoint at)
{
    CopyPicture(AltPicture, size(), picture, at, palette().color(QPalette::Button));
}

void TSignPreview::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!FShown && (FOwner == poPointSign || FOwner == poLineSign || FOwner == poAreaSign) && FPrepared)
        FirstShow();
}

void TSignPreview::paintEvent(QPaintEvent* e)
{
    // A sign dialog's repaint draws the zoomed sample anew, unless it only shows a
    // drawing just made.
    if (FShown && !CanvasFresh) {
        struct TPainting {
            bool& Flag;
            explicit TPainting(bool& flag) : Flag(flag) { Flag = true; }
            ~TPainting() { Flag = false; }
        } painting(Painting);
        Draw(8);
    }
    CanvasFresh = false;
    QPainter painter(this);
    painter.drawImage(e->rect().topLeft(), Canvas, e->rect());
}

void TSignPreview::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (Canvas.size() == size())
        return;
    QImage canvas(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas.fill(palette().color(QPalette::Button));
    QPainter(&canvas).drawImage(0, 0, Canvas);
    Canvas = canvas;
}
