// The glyph cache against QPainter::drawText: captions copied from the cache must set
// exactly the pixels drawText sets (any turn, size, face, colour, clip and place about
// the picture's edges, from several threads at once); what it does not draw it leaves
// untouched for drawText; its self-test turns it off, logged once, when it finds a
// difference; and trimmed to its bound it still draws the same.
#include "engine/draw/GlyphCache.h"
#include "engine/draw/TileDrawer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QThread>
#include <QTransform>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct RFineFont {
    TLogFont Log;
    QFont Font;
    qreal Scale = 1;
    qreal Ascent = 0;
    std::uint32_t Id = 0;
};

RFineFont Fine(const char* face, int height, int weight = 0, bool italic = false, bool underline = false)
{
    RFineFont f;
    f.Log.FaceName = QString::fromLatin1(face);
    f.Log.Height = height;
    f.Log.Weight = weight;
    f.Log.Italic = italic ? 1 : 0;
    f.Log.Underline = underline ? 1 : 0;
    f.Font = LogFontToFineQFont(f.Log, f.Scale);
    f.Font.setStyleStrategy(QFont::NoAntialias);
    f.Ascent = QFontMetricsF(f.Font).ascent();
    f.Id = TGlyphCache::Shared().FontId(f.Log);
    return f;
}

struct RCase {
    QString Text;
    QPoint Anchor;
    int Turn;
    QColor Color;
};

// The caption as the plain drawing paints it.
void PaintPlain(QImage& image, const RFineFont& f, const RCase& c, const QRect& clip)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRect(clip);
    p.setFont(f.Font);
    p.setPen(c.Color);
    QTransform t;
    t.translate(c.Anchor.x(), c.Anchor.y());
    t.rotate(-c.Turn / 10.0);
    t.scale(1 / f.Scale, 1 / f.Scale);
    p.setTransform(t);
    p.drawText(QPointF(0, f.Ascent), c.Text);
}

bool PaintCached(QImage& image, const RFineFont& f, const RCase& c, const QRect& clip)
{
    return TGlyphCache::Shared().Draw(image.bits(), image.width(), image.height(), image.bytesPerLine(), clip, f.Font,
                                      f.Id, {c.Anchor, &c.Text, c.Turn, f.Scale, f.Ascent, c.Color.rgba()});
}

std::vector<RCase> RandomCases(int count, quint32 seed, const QSize& size)
{
    static const char* const Texts[] = {"123,45", "Кирп. 5 эт.", "AV Те. WAVE", "пос. Рыбачий", "ж", "17.3 кн",
                                        "Ёлки «ул. Щорса»", "fi ffl", "0", "р. Обь (прав.)"};
    QRandomGenerator rng(seed);
    std::vector<RCase> cases;
    for (int i = 0; i < count; ++i) {
        RCase c;
        c.Text = QString::fromUtf8(Texts[rng.bounded(10)]);
        c.Anchor = QPoint(rng.bounded(-40, size.width() + 10), rng.bounded(-30, size.height() + 10));
        c.Turn = i % 6 == 0 ? 0 : int(rng.bounded(3600));
        c.Color = QColor::fromRgb(rng.bounded(256), rng.bounded(256), rng.bounded(256));
        cases.push_back(c);
    }
    return cases;
}

class GlyphCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        TGlyphCache::Shared().Clear();
        ASSERT_TRUE(TGlyphCache::Shared().Enabled()) << "the self-test found a difference on this machine";
    }
    void TearDown() override
    {
        TGlyphCache::Shared().ResetSelfTest();
        TGlyphCache::Shared().SetBound(0);
    }
};

TEST_F(GlyphCache, CopiesExactlyTheCaptionsDrawTextPaints)
{
    struct RFace {
        const char* Face;
        int Height, Weight;
        bool Italic;
    };
    const RFace faces[] = {
        {"Arial", -8, 0, false},           {"Arial", -13, 700, false}, {"Times New Roman", -11, 0, true},
        {"Times New Roman", -24, 700, true}, {"Courier New", -9, 0, false}, {"DejaVu Sans", 30, 0, false},
        {"Arial", -2, 0, false},
    };
    const QSize size(300, 200);
    // A clip inside the picture and one that is the whole picture: the tiles' two cases.
    const QRect clips[] = {QRect(QPoint(0, 0), size), QRect(37, 21, 151, 97)};
    quint32 seed = 1;
    int copied = 0;
    for (const RFace& face : faces)
        for (const QRect& clip : clips) {
            const RFineFont f = Fine(face.Face, face.Height, face.Weight, face.Italic);
            QImage plain(size, QImage::Format_RGB32), cached(size, QImage::Format_RGB32);
            plain.fill(Qt::white);
            cached.fill(Qt::white);
            for (const RCase& c : RandomCases(40, seed++, size)) {
                PaintPlain(plain, f, c, clip);
                if (PaintCached(cached, f, c, clip))
                    ++copied;
                else
                    PaintPlain(cached, f, c, clip);
            }
            EXPECT_EQ(plain, cached) << face.Face << " " << face.Height << " clip " << clip.x();
        }
    // Nearly every caption was copied from the cache, not left to drawText.
    EXPECT_GT(copied, 450);
}

TEST_F(GlyphCache, LeavesToDrawTextWhatItDoesNotDraw)
{
    const RCase plain{QStringLiteral("123,45"), QPoint(50, 50), 300, Qt::black};
    struct RRefused {
        const char* Why;
        RFineFont Font;
        RCase Caption;
    };
    const RRefused refused[] = {
        {"underlined", Fine("Arial", -12, 0, false, true), plain},
        {"glyphs Qt draws as outlines", Fine("Arial", -90), plain},
        {"a colour not opaque", Fine("Arial", -12), {plain.Text, plain.Anchor, 300, QColor(10, 20, 30, 128)}},
        {"a control character", Fine("Arial", -12), {QStringLiteral("12\t45"), plain.Anchor, 300, Qt::black}},
    };
    for (const RRefused& r : refused) {
        QImage image(120, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QImage before = image;
        EXPECT_FALSE(PaintCached(image, r.Font, r.Caption, image.rect())) << r.Why;
        EXPECT_EQ(image, before) << r.Why;
    }
}

TEST_F(GlyphCache, ManyThreadsCopyTheSamePixels)
{
    const RFineFont f = Fine("Arial", -10);
    const QSize size(260, 180);
    const std::vector<RCase> cases = RandomCases(120, 77, size);
    QImage plain(size, QImage::Format_RGB32);
    plain.fill(Qt::white);
    for (const RCase& c : cases)
        PaintPlain(plain, f, c, plain.rect());
    // Each thread its own font, as each tile worker has; all fill the one cache at once.
    std::vector<QImage> pictures(6, QImage(size, QImage::Format_RGB32));
    std::vector<std::unique_ptr<QThread>> threads;
    for (QImage& picture : pictures) {
        picture.fill(Qt::white);
        threads.emplace_back(QThread::create([&picture, &cases] {
            const RFineFont own = Fine("Arial", -10);
            for (const RCase& c : cases)
                if (!PaintCached(picture, own, c, picture.rect()))
                    PaintPlain(picture, own, c, picture.rect());
        }));
        threads.back()->start();
    }
    for (auto& t : threads)
        t->wait();
    for (const QImage& picture : pictures)
        EXPECT_EQ(picture, plain);
}

TEST_F(GlyphCache, TrimmedToItsBoundItDrawsTheSame)
{
    const RFineFont f = Fine("Times New Roman", -12);
    const QSize size(240, 160);
    const std::vector<RCase> cases = RandomCases(60, 5, size);
    QImage plain(size, QImage::Format_RGB32), cached(size, QImage::Format_RGB32);
    plain.fill(Qt::white);
    for (const RCase& c : cases)
        PaintPlain(plain, f, c, plain.rect());
    TGlyphCache::Shared().SetBound(1);
    for (int round = 0; round < 2; ++round) {
        cached.fill(Qt::white);
        for (const RCase& c : cases)
            ASSERT_TRUE(PaintCached(cached, f, c, cached.rect()));
        EXPECT_EQ(cached, plain) << "round " << round;
        EXPECT_GT(TGlyphCache::Shared().Bytes(), 0u);
        TGlyphCache::Shared().Trim();
        EXPECT_EQ(TGlyphCache::Shared().Bytes(), 0u);
        EXPECT_EQ(TGlyphCache::Shared().Glyphs(), 0u);
    }
}

// Warnings counted while the self-test's difference is logged.
int Warnings = 0;
void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtWarningMsg)
        ++Warnings;
}

TEST_F(GlyphCache, ASelfTestThatFindsADifferenceTurnsItOffLoggedOnce)
{
    Warnings = 0;
    const QtMessageHandler old = qInstallMessageHandler(CountWarnings);
    TGlyphCache::Shared().ResetSelfTest(true);
    EXPECT_FALSE(TGlyphCache::Shared().Enabled());
    EXPECT_FALSE(TGlyphCache::Shared().Enabled());
    qInstallMessageHandler(old);
    EXPECT_EQ(Warnings, 1);
    EXPECT_EQ(TGlyphCache::Shared().Glyphs(), 0u);

    // The tiled drawing then paints its captions with drawText, and the cache stays empty.
    const RFineFont f = Fine("Arial", -11);
    TDrawList list;
    const std::uint32_t font = list.Font(f.Log);
    const RCase c{QStringLiteral("Кирп. 5 эт."), QPoint(20, 30), 450, Qt::darkBlue};
    list.Texts.push_back({c.Anchor, c.Text, font, c.Turn, c.Color, f.Scale, f.Ascent});
    list.Add(TDrawList::kText, 0, 0, 0, QRect(0, 0, 200, 120));
    QImage tiled(200, 120, QImage::Format_RGB32), plain(200, 120, QImage::Format_RGB32);
    tiled.fill(Qt::white);
    plain.fill(Qt::white);
    TTileDrawer::Shared().Draw(list, tiled);
    PaintPlain(plain, f, c, plain.rect());
    EXPECT_EQ(tiled, plain);
    EXPECT_EQ(TGlyphCache::Shared().Glyphs(), 0u);
}

}  // namespace
