// One drawing of the plan: the picture sized and cleared, the view step, the signs of
// the visible objects brought up to date, then rasters, sheet frames, objects, node
// marks and the grid painted (recorded, then painted in tiles, see TileDrawer.h), and
// for the screen the copy to the surface with the timings and counts on the status
// panels.
#include "engine/draw/GeoMapDrawSupport.h"

#include "engine/EngineServices.h"
#include "engine/draw/TileDrawer.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "semantics/signs/Symbols.h"

#include <QElapsedTimer>
#include <algorithm>
#include <type_traits>

namespace {

constexpr int ProgressHeight = 17;

// The drawing progress bar: one tick per object (or raster) tested, the bar moved at
// every step-th.
class TDrawProgress {
public:
    TDrawProgress(TEngineServices& ui, int width) : Ui(ui), Width(width) {}

    void Start(int maximum, QPoint at, bool smooth)
    {
        TEngineProgressSetup setup;
        setup.Maximum = maximum;
        setup.Step = std::max<int>(1, int(Round(maximum / 50.0L)));
        setup.Width = Width;
        setup.Height = ProgressHeight;
        setup.At = at;
        setup.Smooth = smooth;
        Step = setup.Step;
        Counter = 0;
        Ui.SetupProgress(TEngineProgressBar::Drawing, setup);
        Ui.SetProgressPosition(TEngineProgressBar::Drawing, 0);
    }
    void Tick()
    {
        if (++Counter % Step == 0)
            Ui.SetProgressPosition(TEngineProgressBar::Drawing, Counter);
    }
    void Reset() { Ui.SetProgressPosition(TEngineProgressBar::Drawing, 0); }

private:
    TEngineServices& Ui;
    int Width;
    int Step = 1;
    int Counter = 0;
};

// Objects of every layer, rasters of every sheet and, when asked, texts.
int CountObjects(const TGPages& pages, bool withTexts)
{
    long long n = 0;
    for (const auto& page : pages) {
        n += page->Rastrs.GetCount();
        for (const auto& layer : page->Layers) {
            n += layer->Points.GetCount() + layer->Lines.GetCount() + layer->Polygons.GetCount();
            if (withTexts)
                n += layer->Texts.GetCount();
        }
    }
    return int(std::min<long long>(n, 0x7FFFFFFF));
}

// Walks a cursor list from its first item to its last, the cursor on each in turn.
template <class L, class F>
void Walk(L& list, F f)
{
    for (bool more = list.GoFirstItem(); more; more = list.GoNextItem())
        f(*list.Item);
}

QString Seconds(qint64 ms) { return FloatToStrF(ms / 1000.0L, ffFixed, 4, 2); }

}  // namespace

void TGeoMap::Draw(int W, int H, TDrawMode dmode, TDrawDest dDest)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.Draw(const W,H:integer; const dmode:TDrawMode; "
                                "const dDest:TDrawDest);",
                      TrailArg("W", W), TrailArg("H", H), TrailArg("dmode", int(dmode)),
                      TrailArg("dDest", int(dDest)));
    TEngineServices& ui = Ui();
    ui.BeginWaitCursor();
    if (!Painter)
        Painter = std::make_unique<TMapPainter>();
    // Whatever way the call ends: the flag down, the painter off the picture, the cursor back.
    struct TEnd {
        TGeoMap& Map;
        TEngineServices& Ui;
        ~TEnd()
        {
            Map.Painter->End();
            Map.DrawBusy = 0;
            Ui.EndWaitCursor();
        }
    } end{*this, ui};

    // 1. Mode, destination, counts, the busy flag and the clock.
    DrawMode = dmode;
    DrawDest = dDest;
    DrawnCount = 0;
    SkippedCount = 0;
    DrawBusy = 1;
    QElapsedTimer clock;
    clock.start();
    const bool screen = dDest == ddScreen;

    // ---- Mode 7 redraws only what the edit touched (draw/GeoMapDrawDirty.cpp) ----
    if (dmode == 7 && screen && DirtyRedrawOn && DrawDirty(W, H))
        return;
    PictureOnHand = false;
    // ---- end of the partial redraw ----

    // 3. The sign library at the destination's resolution.
    const Extended dpi = screen ? ScreenDpi : dDest == ddPrinter ? PrinterDpi : RasterDpi;
    Symbols->SetScale(MapProp.Scale, dpi);

    // 2, 4. The picture: three windows each way on the screen, the page elsewhere.
    const int w = std::max(W, 1), h = std::max(H, 1);
    const QSize size = screen ? QSize(3 * w, 3 * h) : QSize(w, h);
    Painter->End();
    if (Bitmap.size() != size || Bitmap.format() != QImage::Format_RGB32)
        Bitmap = QImage(size, QImage::Format_RGB32);
    if (Bitmap.isNull())
        throw Exception(QStringLiteral("Недостаточно памяти для рисунка плана %1 x %2")
                            .arg(size.width()).arg(size.height()));
    ScrollX = screen ? w : 0;
    ScrollY = screen ? h : 0;
    DrawH = H;
    // The walk is the same either way: tiled, the painter records what it is handed and
    // the tile drawer paints it when the painter ends, before the snapping nodes and the
    // copy to the surface. A painter observed is told of Qt's calls: it paints plainly.
    Painter->Begin(Bitmap, DrawPath() == TDrawPath::Tiled && !Painter->Observer);
    if (screen)
        ClearScreenPicture();
    else
        ClearPicture();

    // 5. The view, the output scale and the corners of the picture and the window.
    ViewStep(W, H);
    if (FactorX == 0 || FactorY == 0) {
        // No view yet (a redraw before the first fit): the whole plan, without a record,
        // rather than a drawing that fails for want of a scale.
        MaxMinCoord();
        FitToWindow(W, H);
        if (FactorX == 0 || FactorY == 0)
            FactorX = FactorY = ScreenFactorAtOne() / 100;
    }
    SetOutputScale();
    SetPictureCorners(size.width(), size.height(), W, H);

    // 6. Signs, or outlines when the screen shows the plan far smaller than its scale.
    const bool full = !screen || (ShowSymbols != 0 && Extended(OutputScale) <= 4.0L * MapProp.Scale);

    // 7, 8. Signs of the visible objects brought up to date.
    TDrawProgress progress(ui, W);
    const bool renderAll = dmode == 0 || dmode == 2 || !screen;
    const bool foreignDpi = !screen && dpi != ScreenDpi;
    // Whether the object's picture must be rendered now; notes what is rendered at a
    // resolution other than the screen's, so that the screen renders it again.
    const auto due = [&](const void* object, const QString& signName) {
        bool render = renderAll || signName.isEmpty();
        if (screen && !ForeignSigns.isEmpty() && ForeignSigns.remove(object))
            render = true;
        if (render && foreignDpi)
            ForeignSigns.insert(object);
        return render;
    };
    if (full && dmode != 7) {
        progress.Start(CountObjects(Pages, false), QPoint(0, 0), false);
        Walk(Pages, [&](RGPage& page) {
            Walk(page.Layers, [&](RGLayer& layer) {
                Walk(layer.Points, [&](RGPoint& o) {
                    if (PointVisible() && due(&o, o.SignName))
                        Symbols->RenderPoint(&o);
                    progress.Tick();
                });
                Walk(layer.Lines, [&](RGLine& o) {
                    if (LineVisible() && due(&o, o.SignName))
                        Symbols->RenderLine(&o);
                    progress.Tick();
                });
                Walk(layer.Polygons, [&](RGPolygon& o) {
                    if (PolygonVisible() && due(&o, o.SignName))
                        Symbols->RenderPolygon(&o);
                    progress.Tick();
                });
            });
        });
        progress.Reset();
    }

    // 9. Mode 7: the marked object alone, seen or not; a marker naming nothing renders
    // nothing.
    if (dmode == 7 && Pages.GoItem(EditedPage) && Pages.Item->Layers.GoItem(EditedLayer)) {
        RGLayer& layer = *Pages.Item->Layers.Item;
        const auto go = [this](auto& list) {
            return EditedObject < 0 ? list.GoLastItem() : list.GoItem(EditedObject);
        };
        if (EditedKind == 0 && go(layer.Points)) {
            due(layer.Points.Item, QString());
            Symbols->RenderPoint(layer.Points.Item);
        } else if (EditedKind == 1 && go(layer.Lines)) {
            due(layer.Lines.Item, QString());
            Symbols->RenderLine(layer.Lines.Item);
        } else if (EditedKind == 2 && go(layer.Polygons)) {
            due(layer.Polygons.Item, QString());
            Symbols->RenderPolygon(layer.Polygons.Item);
        }
    }
    const qint64 renderTime = clock.restart();

    // 11. Rasters under everything.
    if (dDest != ddDxf) {
        progress.Start(CountObjects(Pages, false), QPoint(0, 20), false);
        Walk(Pages, [&](RGPage& page) {
            if (!page.Visible || !ShowRastrs)
                return;
            Walk(page.Rastrs, [&](RGRastr& r) {
                if (r.Visible && r.Loaded && RastrVisible()) {
                    const QPointF nw = PixelOf(*this, r.TopRight.X, r.BottomLeft.Y);
                    const QPointF se = PixelOf(*this, r.BottomLeft.X, r.TopRight.Y);
                    Painter->StretchImage(QRectF(nw, se), r.Picture->Image);
                }
                progress.Tick();
            });
        });
    }
    // 12. Sheet frames under the objects at large scales.
    if (OutputScale <= 1000 && ShowPlansBorders)
        PaintPlanCross(dDest);
    qint64 frameTime = clock.restart();

    // 13, 14. Objects.
    progress.Start(CountObjects(Pages, true), QPoint(0, 20), true);
    ScreenNodes.DeleteAll();
    bool gridDrawn = false;
    const auto captions = [this](TAutoTexts& texts) {
        for (const auto& t : texts) {
            HiddenCaption = t->Hidden != 0;
            DrawText(t.get());
        }
        HiddenCaption = false;
    };
    const auto texts = [this](TGTexts& list) {
        HiddenCaption = false;
        for (const auto& t : list)
            DrawText(t.get());
    };
    const auto visibleLayers = [](RGPage& page, auto f) {
        Walk(page.Layers, [&](RGLayer& layer) {
            if (layer.Visible)
                f(layer);
        });
    };
    // The objects an object holds (a polygon's lines and points, a line's node points)
    // have signs rendered with their owner's; they are drawn right over it, or they
    // would show only in the outline drawing.
    const auto nodePoints = [&](RGLine& line) {
        for (const auto& node : line.Nodes)
            for (const auto& q : node->NodePoints) {
                DrawCashe(&q->Picture);
                captions(q->AutoTexts);
            }
    };
    const auto nested = [&](auto& o) {
        using TObject = std::decay_t<decltype(o)>;
        if constexpr (std::is_same_v<TObject, RGPolygon>) {
            for (const auto& l : o.InnerLines) {
                DrawCashe(&l->Picture);
                captions(l->AutoTexts);
                nodePoints(*l);
            }
            for (const auto& q : o.InnerPoints) {
                DrawCashe(&q->Picture);
                captions(q->AutoTexts);
            }
        } else if constexpr (std::is_same_v<TObject, RGLine>) {
            nodePoints(o);
        }
    };
    if (dDest != ddDxf && full) {
        Walk(Pages, [&](RGPage& page) {
            if (!page.Visible)
                return;
            if (ShowCoordCross && !gridDrawn && page.Name.size() >= 2 && page.Name.startsWith(u'^')) {
                PaintCoordCross(dDest);
                gridDrawn = true;
            }
            // Within a sheet polygons lie under lines, lines under points, points under
            // texts, whatever their layers.
            const auto pictures = [&](auto member, bool (TGeoMap::*visible)()) {
                visibleLayers(page, [&](RGLayer& layer) {
                    Walk(layer.*member, [&](auto& o) {
                        if ((this->*visible)()) {
                            DrawCashe(&o.Picture);
                            captions(o.AutoTexts);
                            nested(o);
                        }
                        progress.Tick();
                    });
                });
            };
            pictures(&RGLayer::Polygons, &TGeoMap::PolygonVisible);
            pictures(&RGLayer::Lines, &TGeoMap::LineVisible);
            pictures(&RGLayer::Points, &TGeoMap::PointVisible);
            visibleLayers(page, [&](RGLayer& layer) {
                HiddenCaption = false;
                Walk(layer.Texts, [&](RGText& t) {
                    if (TextVisible())
                        DrawText(&t);
                    progress.Tick();
                });
            });
        });
    } else if (dDest != ddDxf) {
        // Outlines: black one-pixel contours and single pixels, the texts of the layers
        // and of the objects, no automatic captions.
        TMapPainter& p = *Painter;
        p.SetPen(0, pmCopy, psSolid, 1);
        p.SetBrush(0xFFFFFF);
        p.SetBrushClear();
        std::vector<QPointF> run;
        const auto ring = [&](const TGPolygonNodes& nodes) {
            p.BeginPolygon();
            for (const auto& n : nodes)
                p.Point(PixelOf(*this, n->Position));
            p.DrawPolygon();
        };
        const auto polyline = [&](const TGLineNodes& nodes) {
            run.clear();
            for (const auto& n : nodes)
                run.push_back(PixelOf(*this, n->Position));
            p.Polyline(run, false);
        };
        Walk(Pages, [&](RGPage& page) {
            if (!page.Visible)
                return;
            visibleLayers(page, [&](RGLayer& layer) {
                Walk(layer.Polygons, [&](RGPolygon& o) {
                    if (PolygonVisible()) {
                        ring(o.Nodes);
                        for (const auto& hole : o.Holes)
                            ring(hole->Nodes);
                        for (const auto& l : o.InnerLines)
                            polyline(l->Nodes);
                        for (const auto& q : o.InnerPoints)
                            p.Pixel(PixelOf(*this, q->Position), 0);
                        texts(o.InnerTexts);
                    }
                    progress.Tick();
                });
                Walk(layer.Lines, [&](RGLine& o) {
                    if (LineVisible()) {
                        polyline(o.Nodes);
                        for (const auto& n : o.Nodes)
                            for (const auto& q : n->NodePoints)
                                p.Pixel(PixelOf(*this, q->Position), 0);
                        texts(o.InnerTexts);
                    }
                    progress.Tick();
                });
                Walk(layer.Points, [&](RGPoint& o) {
                    if (PointVisible()) {
                        p.Pixel(PixelOf(*this, o.Position), 0);
                        texts(o.InnerTexts);
                    }
                    progress.Tick();
                });
                Walk(layer.Texts, [&](RGText& t) {
                    if (TextVisible())
                        DrawText(&t);
                    progress.Tick();
                });
            });
        });
    }

    // 15. Node marks, for DXF too.
    if (ShowNodes) {
        const auto mark = [this](const TGeoPoint& g) {
            int xs = 0, ys = 0;
            GeoToScr(DrawH, g.X, g.Y, xs, ys);
            DrawNodeMark(QPoint(xs + ScrollX, ys + ScrollY));
        };
        Walk(Pages, [&](RGPage& page) {
            if (!page.Visible)
                return;
            visibleLayers(page, [&](RGLayer& layer) {
                Walk(layer.Polygons, [&](RGPolygon& o) {
                    if (!PolygonVisible())
                        return;
                    for (const auto& n : o.Nodes)
                        mark(n->Position);
                    for (const auto& hole : o.Holes)
                        for (const auto& n : hole->Nodes)
                            mark(n->Position);
                });
                Walk(layer.Lines, [&](RGLine& o) {
                    if (LineVisible())
                        for (const auto& n : o.Nodes)
                            mark(n->Position);
                });
                Walk(layer.Points, [&](RGPoint& o) {
                    if (PointVisible())
                        mark(o.Position);
                });
                Walk(layer.Texts, [&](RGText& t) {
                    if (TextVisible())
                        mark(t.Position);
                });
            });
        });
    }
    const qint64 drawTime = clock.restart();

    // 16. Sheet frames over the objects at small scales.
    if (OutputScale > 1000 && ShowPlansBorders)
        PaintPlanCross(dDest);
    frameTime += clock.restart();
    // 17. The printed page's header.
    if (dDest == ddPrinter && PrintHeaderOn)
        PrintHeader();
    // 18. The grid over everything, unless a "^" sheet put it under itself.
    if (!gridDrawn && ShowCoordCross)
        PaintCoordCross(dDest);
    const qint64 gridTime = clock.restart();

    // 19, 20. The snapping nodes and the copy to the surface.
    Painter->End();
    // ---- The picture on hand and its extents (draw/GeoMapDrawDirty.cpp) ----
    if (screen)
        NoteWholePicture(W, H, full);
    // ---- end of the picture on hand ----
    if (screen && LinkToNodes)
        FindScreenNodes();
    if (screen)
        PaintBitmap();
    const qint64 copyTime = clock.restart();

    // 21. Timings and counts.
    const qint64 total = renderTime + drawTime + gridTime + frameTime + copyTime;
    ui.SetPanelText(TEnginePanel::Timings,
                    QStringLiteral("вывод изображения: [") + Seconds(renderTime) + u'+' + Seconds(drawTime) +
                        u'+' + Seconds(gridTime) + u'+' + Seconds(frameTime) + u'+' + Seconds(copyTime) +
                        QStringLiteral("]=") + Seconds(total) + QStringLiteral("сек."));
    ui.SetPanelText(TEnginePanel::Counts, QString::number(DrawnCount) + u'/' + QString::number(SkippedCount));
    // 22. The flag and the cursor: TEnd.
}

void TGeoMap::ClearScreenPicture()
{
    TPaintScope scope(*this);
    if (scope.Open())
        scope.P().FillRect(QRect(QPoint(-ScrollX, -ScrollY), QPoint(Bitmap.width(), Bitmap.height())),
                           BackColor);
}

void TGeoMap::ClearPicture()
{
    TPaintScope scope(*this);
    if (scope.Open())
        scope.P().FillRect(QRect(QPoint(-4, -4), QPoint(Bitmap.width() + 4, Bitmap.height() + 4)), 0xFFFFFF);
}

void TGeoMap::DrawNodeMark(const QPoint& P)
{
    TPaintScope scope(*this);
    if (!scope.Open())
        return;
    TMapPainter& p = scope.P();
    const std::int32_t color = (MainMap ? MainMap : this)->NodeColor;
    const TMapPainter::TState kept = p.State();
    p.SetPen(color, pmCopy, psSolid, 1);
    p.SetBrush(color);
    p.Ellipse(QPointF(P.x() - 2, P.y() - 2), QPointF(P.x() + 2, P.y() + 2));
    p.Restore(kept);
}

void TGeoMap::PaintBitmap()
{
    TEngineServices& ui = Ui();
    const TWaitScope wait(ui);
    if (Bitmap.isNull() || DrawDest != ddScreen)
        return;
    // The picture is never painted while it is copied.
    if (Painter && Painter->Active())
        Painter->End();
    const QPoint at(-ScrollX, -ScrollY);
    if (UseAltCanvas) {
        ui.PaintOnAltCanvas(Bitmap, at);
        return;
    }
    if (ui.SurfaceSize().isEmpty())
        return;
    ui.PauseOverlays();
    ui.PaintOnSurface(Bitmap, at);
    ui.ResumeOverlays();
}
