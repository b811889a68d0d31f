// The tile drawer: a drawing's recorded primitives painted by fixed worker threads, one
// tile of the picture at a time, with the very QPainter calls the plain drawing makes.
#include "engine/draw/TileDrawer.h"

#include "engine/draw/GlyphCache.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QThread>
#include <QTransform>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>

namespace {

std::atomic<TDrawPath> CurrentPath{TDrawPath::Tiled};

// Tiles per worker: enough that a worker done early takes another.
constexpr int TilesPerWorker = 3;

// A worker's own fonts for one list, built on first use from the list's logical fonts.
class TWorkerFonts {
public:
    explicit TWorkerFonts(const TDrawList& list) : List(list), Fonts(list.Fonts.size()), Ids(list.Fonts.size(), ~0u) {}

    const QFont& Font(std::uint32_t index)
    {
        std::unique_ptr<QFont>& f = Fonts[index];
        if (!f) {
            qreal scale = 1;
            f = std::make_unique<QFont>(LogFontToFineQFont(List.Fonts[index], scale));
            f->setStyleStrategy(QFont::NoAntialias);
        }
        return *f;
    }

    // The glyph cache's number of the font.
    std::uint32_t Id(std::uint32_t index)
    {
        if (Ids[index] == ~0u)
            Ids[index] = TGlyphCache::Shared().FontId(List.Fonts[index]);
        return Ids[index];
    }

private:
    const TDrawList& List;
    std::vector<std::unique_ptr<QFont>> Fonts;
    std::vector<std::uint32_t> Ids;
};

// Whether Qt paints a text across a clip's edge with other pixels than unclipped: the
// underline and the strike-out line are blended by other roundings there.
bool CrossingChangesPixels(const TDrawList& list, const TDrawList::ROp& op)
{
    const TLogFont& lf = list.Fonts[list.Texts[op.First].Font];
    return lf.Underline != 0 || lf.StrikeOut != 0;
}

}  // namespace

// ---- the list ------------------------------------------------------------------------

void TDrawList::Clear()
{
    Ops.clear();
    Boxes.clear();
    States.clear();
    Points.clear();
    Rings.clear();
    Rects.clear();
    Colors.clear();
    Texts.clear();
    Images.clear();
    Fonts.clear();
    FontIndex.clear();
}

RDrawListSizes TDrawList::Sizes() const
{
    return {Ops.size(), States.size(), Points.size(), Rings.size(), Rects.size(), Colors.size(), Texts.size()};
}

void TDrawList::Reserve(const RDrawListSizes& sizes)
{
    Ops.reserve(sizes.Ops);
    Boxes.reserve(sizes.Ops);
    States.reserve(sizes.States);
    Points.reserve(sizes.Points);
    Rings.reserve(sizes.Rings);
    Rects.reserve(sizes.Rects);
    Colors.reserve(sizes.Colors);
    Texts.reserve(sizes.Texts);
}

std::uint32_t TDrawList::State(const TPenState& state)
{
    if (States.empty() || !(States.back() == state))
        States.push_back(state);
    return std::uint32_t(States.size() - 1);
}

void TDrawList::Add(TKind kind, std::uint32_t state, std::uint32_t first, std::uint32_t count, const QRect& box)
{
    Ops.push_back({kind, state, first, count});
    Boxes.push_back(box);
}

std::uint32_t TDrawList::Font(const TLogFont& lf)
{
    const QString key = LogFontKey(lf);
    const auto found = FontIndex.constFind(key);
    if (found != FontIndex.constEnd())
        return found.value();
    Fonts.push_back(lf);
    const auto index = std::uint32_t(Fonts.size() - 1);
    FontIndex.insert(key, index);
    return index;
}

// ---- the switch ----------------------------------------------------------------------

void SetDrawPath(TDrawPath path) { CurrentPath.store(path); }
TDrawPath DrawPath() { return CurrentPath.load(); }

// ---- one tile ------------------------------------------------------------------------

void TTileDrawer::DrawTile(const TDrawList& list, QImage& picture, const QRect& tile)
{
    if (picture.format() == QImage::Format_RGB32)
        PaintTile(list, TPixels{picture.bits(), picture.width(), picture.height(), picture.bytesPerLine()}, tile, 0,
                  list.Ops.size(), TGlyphCache::Shared().Enabled());
}

void TTileDrawer::PaintTile(const TDrawList& list, const TPixels& picture, const QRect& tile, std::size_t from,
                            std::size_t to, bool cachedGlyphs)
{
    if (tile.isEmpty())
        return;
    const QRect pictureRect(0, 0, picture.Width, picture.Height);
    // A view of the picture's pixels: the device is the whole picture, as for the plain
    // drawing, and the clip keeps every write inside this tile.
    QImage view(picture.Bits, picture.Width, picture.Height, picture.BytesPerLine, QImage::Format_RGB32);
    QPainter p(&view);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setClipRect(tile);
    TWorkerFonts fonts(list);
    // The text at its anchor on painter q, shifted by offset.
    const auto text = [&](QPainter& q, const TDrawList::RText& t, QPoint offset) {
        q.setCompositionMode(QPainter::CompositionMode_SourceOver);
        q.setFont(fonts.Font(t.Font));
        q.setPen(t.Color);
        QTransform m;
        m.translate(t.Anchor.x() - offset.x(), t.Anchor.y() - offset.y());
        m.rotate(-t.Escapement / 10.0);
        m.scale(1 / t.Scale, 1 / t.Scale);
        q.setTransform(m);
        q.drawText(QPointF(0, t.Ascent), t.Text);
        q.resetTransform();
    };
    std::uint32_t applied = ~0u;   // the state set on p, ~0 none
    int mode = -1;                 // the composition mode set on p
    const auto setMode = [&](QPainter::CompositionMode m) {
        if (int(m) != mode) {
            p.setCompositionMode(m);
            mode = int(m);
        }
    };
    const auto setState = [&](std::uint32_t state) {
        if (state != applied) {
            ApplyPenState(p, list.States[state]);
            applied = state;
            mode = int(p.compositionMode());
        } else {
            setMode(PenModeComposition(list.States[state].PenMode));
        }
    };
    // A primitive that lies inside the tile is painted unclipped, exactly as the plain
    // drawing paints it: Qt blends the anti-aliased parts of some texts (their
    // underlines) by other roundings under a clip. Only those across the tile's edge
    // are clipped.
    bool clipped = true;
    QPainterPath path;
    for (std::size_t i = from; i < to; ++i) {
        const QRect box = list.Boxes[i] & pictureRect;
        if (!box.intersects(tile))
            continue;
        const bool inside = tile.contains(box);
        if (!inside && list.Ops[i].Kind == TDrawList::kText && CrossingChangesPixels(list, list.Ops[i])) {
            // Painted whole into a picture of its own box, then its part on this tile
            // copied: its underline blended as the plain drawing blends it.
            const TDrawList::RText& t = list.Texts[list.Ops[i].First];
            QImage own(box.size(), QImage::Format_RGB32);
            const QRect mine = box & tile;
            for (int y = mine.top(); y <= mine.bottom(); ++y)
                std::memcpy(own.scanLine(y - box.top()) + 4 * (mine.left() - box.left()),
                            picture.Bits + y * picture.BytesPerLine + 4 * mine.left(), 4 * size_t(mine.width()));
            {
                QPainter q(&own);
                q.setRenderHint(QPainter::Antialiasing, false);
                q.setRenderHint(QPainter::TextAntialiasing, false);
                text(q, t, box.topLeft());
            }
            for (int y = mine.top(); y <= mine.bottom(); ++y)
                std::memcpy(picture.Bits + y * picture.BytesPerLine + 4 * mine.left(),
                            own.constScanLine(y - box.top()) + 4 * (mine.left() - box.left()), 4 * size_t(mine.width()));
            continue;
        }
        if (inside == clipped) {
            p.setClipping(!inside);
            clipped = !inside;
        }
        const TDrawList::ROp& op = list.Ops[i];
        switch (op.Kind) {
        case TDrawList::kLine:
            setState(op.State);
            p.drawLine(list.Points[op.First], list.Points[op.First + 1]);
            break;
        case TDrawList::kPolyline:
            setState(op.State);
            p.drawPolyline(&list.Points[op.First], int(op.Count));
            break;
        case TDrawList::kPolygon:
            setState(op.State);
            p.drawPolygon(&list.Points[op.First], int(op.Count), Qt::OddEvenFill);
            break;
        case TDrawList::kPath: {
            setState(op.State);
            path.clear();
            path.setFillRule(Qt::OddEvenFill);
            for (std::uint32_t r = op.First; r < op.First + op.Count; ++r) {
                const TDrawList::RRing& ring = list.Rings[r];
                if (ring.Count == 0)
                    continue;
                path.moveTo(list.Points[ring.First]);
                for (std::uint32_t k = 1; k < ring.Count; ++k)
                    path.lineTo(list.Points[ring.First + k]);
                path.closeSubpath();
            }
            p.drawPath(path);
            break;
        }
        case TDrawList::kEllipse:
            setState(op.State);
            p.drawEllipse(list.Rects[op.First]);
            break;
        case TDrawList::kCells:
            setState(op.State);
            p.fillRect(list.Rects[op.First], list.Colors[op.Count]);
            break;
        case TDrawList::kFill:
            setMode(QPainter::CompositionMode_SourceOver);
            p.fillRect(list.Rects[op.First], list.Colors[op.Count]);
            break;
        case TDrawList::kText: {
            const TDrawList::RText& t = list.Texts[op.First];
            if (cachedGlyphs &&
                TGlyphCache::Shared().Draw(picture.Bits, picture.Width, picture.Height, picture.BytesPerLine, tile,
                                           fonts.Font(t.Font), fonts.Id(t.Font),
                                           {t.Anchor, &t.Text, t.Escapement, t.Scale, t.Ascent, t.Color.rgba()}))
                break;
            text(p, t, QPoint(0, 0));
            applied = ~0u;
            mode = int(QPainter::CompositionMode_SourceOver);
            break;
        }
        case TDrawList::kImage: {
            const TDrawList::RImage& image = list.Images[op.First];
            setMode(QPainter::CompositionMode_SourceOver);
            p.drawImage(image.Target, image.Picture, image.Source);
            break;
        }
        }
    }
}

// ---- the workers ---------------------------------------------------------------------

// Fixed threads that run one job at a time: each takes tiles by number until none is left.
class TTileDrawer::TPool {
public:
    explicit TPool(int count)
    {
        for (int i = 0; i < count; ++i) {
            Threads.push_back(std::unique_ptr<QThread>(QThread::create([this] { Work(); })));
            Threads.back()->start();
        }
    }
    ~TPool()
    {
        {
            std::lock_guard lock(Mutex);
            Stopping = true;
        }
        Wake.notify_all();
        for (auto& t : Threads)
            t->wait();
    }

    int Count() const { return int(Threads.size()); }

    // Runs job(k) for every k in 0..tiles-1 across the workers; returns when all are done.
    void Run(int tiles, const std::function<void(int)>& job)
    {
        std::unique_lock lock(Mutex);
        Job = &job;
        Tiles = tiles;
        Next.store(0);
        Busy = int(Threads.size());
        ++Generation;
        Wake.notify_all();
        Done.wait(lock, [this] { return Busy == 0; });
        Job = nullptr;
    }

private:
    void Work()
    {
        std::uint64_t seen = 0;
        for (;;) {
            const std::function<void(int)>* job = nullptr;
            int tiles = 0;
            {
                std::unique_lock lock(Mutex);
                Wake.wait(lock, [&] { return Stopping || Generation != seen; });
                if (Stopping)
                    return;
                seen = Generation;
                job = Job;
                tiles = Tiles;
            }
            for (int k = Next.fetch_add(1); k < tiles; k = Next.fetch_add(1))
                (*job)(k);
            std::lock_guard lock(Mutex);
            if (--Busy == 0)
                Done.notify_all();
        }
    }

    std::vector<std::unique_ptr<QThread>> Threads;
    std::mutex Mutex;
    std::condition_variable Wake, Done;
    const std::function<void(int)>* Job = nullptr;   // link, not owned; set during Run
    int Tiles = 0;
    int Busy = 0;
    std::uint64_t Generation = 0;
    bool Stopping = false;
    std::atomic<int> Next{0};
};

TTileDrawer::TTileDrawer() : Pool(std::make_unique<TPool>(std::max(1, QThread::idealThreadCount()))) {}

TTileDrawer::~TTileDrawer() = default;

TTileDrawer& TTileDrawer::Shared()
{
    static TTileDrawer drawer;
    return drawer;
}

int TTileDrawer::Workers() const { return Pool->Count(); }

void TTileDrawer::Draw(const TDrawList& list, QImage& picture, const QRect& area)
{
    if (picture.isNull() || list.Empty())
        return;
    // One drawing at a time: the workers and the glyph cache's trimming are shared.
    std::lock_guard drawing(Drawing);
    const QRect whole = area.isEmpty() ? picture.rect() : area.intersected(picture.rect());
    if (whole.isEmpty())
        return;
    // Detached here, never by a worker: the workers see the pixels alone.
    const TPixels pixels{picture.bits(), picture.width(), picture.height(), picture.bytesPerLine()};
    // About TilesPerWorker tiles a worker, as near square as the area allows.
    const int wanted = std::max(1, Pool->Count() * TilesPerWorker);
    const double aspect = double(whole.width()) / whole.height();
    const int columns = std::clamp(int(std::lround(std::sqrt(wanted * aspect))), 1, whole.width());
    const int rows = std::clamp((wanted + columns - 1) / columns, 1, whole.height());
    const auto edge = [](int from, int length, int parts, int i) { return from + int(qint64(length) * i / parts); };
    // The leading fills and images (the clearing, the rasters under everything) are
    // painted here, unclipped: Qt maps a stretched image's pixels otherwise under a clip.
    std::size_t lead = 0;
    while (lead < list.Ops.size() && (list.Ops[lead].Kind == TDrawList::kFill || list.Ops[lead].Kind == TDrawList::kImage))
        ++lead;
    // An image later in the list that the tiles would cut: the whole list on this thread.
    bool cutImage = false;
    const auto tileOf = [&](int x, int y) {
        int c = 0, r = 0;
        while (c + 1 < columns && x >= edge(whole.left(), whole.width(), columns, c + 1))
            ++c;
        while (r + 1 < rows && y >= edge(whole.top(), whole.height(), rows, r + 1))
            ++r;
        return std::pair(c, r);
    };
    for (std::size_t i = lead; i < list.Ops.size() && !cutImage; ++i)
        if (list.Ops[i].Kind == TDrawList::kImage) {
            const QRect box = list.Boxes[i] & whole;
            cutImage = !box.isEmpty() && tileOf(box.left(), box.top()) != tileOf(box.right(), box.bottom());
        }
    // The glyph cache is tested and trimmed here, before any worker reads it.
    TGlyphCache& glyphs = TGlyphCache::Shared();
    const bool cachedGlyphs = glyphs.Enabled();
    if (cachedGlyphs)
        glyphs.Trim();
    if (cutImage) {
        PaintTile(list, pixels, whole, 0, list.Ops.size(), cachedGlyphs);
        return;
    }
    PaintTile(list, pixels, whole, 0, lead, cachedGlyphs);
    const std::function<void(int)> job = [&](int k) {
        const int c = k % columns, r = k / columns;
        const QRect tile(QPoint(edge(whole.left(), whole.width(), columns, c), edge(whole.top(), whole.height(), rows, r)),
                         QPoint(edge(whole.left(), whole.width(), columns, c + 1) - 1,
                                edge(whole.top(), whole.height(), rows, r + 1) - 1));
        PaintTile(list, pixels, tile, lead, list.Ops.size(), cachedGlyphs);
    };
    Pool->Run(columns * rows, job);
}
