// The windowless routines of the control library: wait cursor, points, texts and
// command-line words.
#include "controls/core/ControlUtils.h"
#include "controls/core/ExConst.h"
#include "controls/core/ExShell.h"
#include "controls/core/MaxMin.h"
#include "foundation/ErrorTrail.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

TEST(WaitCursor, NestedPhasesShowOneHourglassAndRestoreOnce)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    BeginWaitCursor();
    BeginWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    EndWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(WaitCursorDepth(), 0);

    EndWaitCursor();  // an unmatched end changes nothing
    EXPECT_EQ(WaitCursorDepth(), 0);
    BeginWaitCursor();
    EXPECT_EQ(WaitCursorDepth(), 1);
    EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WaitCursor, RestoresTheCursorThatWasCurrent)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    BeginWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EndWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
}

TEST(ControlUtils, PointInsideRectCountsEveryEdge)
{
    const QRect r(QPoint(10, 20), QPoint(30, 40));
    EXPECT_TRUE(PointInsideRect(QPoint(30, 40), r));
    EXPECT_TRUE(PointInsideRect(QPoint(10, 20), r));
    EXPECT_TRUE(PointInsideRect(QPoint(30, 25), r));
    EXPECT_FALSE(PointInsideRect(QPoint(31, 25), r));
    EXPECT_FALSE(PointInsideRect(QPoint(20, 41), r));
    EXPECT_EQ(RectWidthOf(r), 20);
    EXPECT_EQ(RectHeightOf(r), 20);
}

TEST(ControlUtils, PointInsidePolygonByWinding)
{
    // A five-pointed star drawn in one stroke: its centre is inside by winding.
    const QPoint star[] = {{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
    EXPECT_TRUE(PointInsidePolygon(QPoint(50, 50), star, 4));
    EXPECT_TRUE(PointInsidePolygon(QPoint(50, 10), star, 4));
    EXPECT_FALSE(PointInsidePolygon(QPoint(5, 80), star, 4));
    EXPECT_FALSE(PointInsidePolygon(QPoint(50, 50), star, 1)) << "two points enclose nothing";
}

TEST(ControlUtils, ShortenTextTriesItsOwnCandidates)
{
    const QFontMetrics fm(QGuiApplication::font());
    const QString text = QStringLiteral("WWWWWW");
    auto width = [&](const char* s) { return fm.horizontalAdvance(QLatin1String(s)); };
    EXPECT_EQ(ShortenTextToWidth(text, fm, width("WWWWWW")), text);
    // Five letters and "..." would fit, but the first candidate already drops two.
    EXPECT_EQ(ShortenTextToWidth(text, fm, width("WWWWW...")), QStringLiteral("WWWW..."));
    EXPECT_EQ(ShortenTextToWidth(text, fm, width("WWW...")), QStringLiteral("WWW..."));
    EXPECT_EQ(ShortenTextToWidth(text, fm, width("WW...")), QStringLiteral("WW..."));
    EXPECT_EQ(ShortenTextToWidth(text, fm, width("W...")), QStringLiteral("W..."));
    EXPECT_EQ(ShortenTextToWidth(text, fm, width("...")), QStringLiteral("..."));
    EXPECT_EQ(ShortenTextToWidth(text, fm, 1), QStringLiteral("..."));
}

TEST(ControlUtils, CommandLineWords)
{
    const QString line = QStringLiteral("  \"/opt/my prog/run\" -a  \"x y\" \"\" last");
    EXPECT_EQ(CountCommandLineWords(line), 4);
    EXPECT_EQ(CommandLineWord(line, 0), QStringLiteral("/opt/my prog/run"));
    EXPECT_EQ(CommandLineWord(line, 2), QStringLiteral("x y"));
    EXPECT_EQ(CommandLineWord(line, 3), QStringLiteral("last"));
    EXPECT_EQ(CommandLineWord(line, 4), QString());
    EXPECT_EQ(CommandLineWord(QStringLiteral("ab\"c d\"e f"), 0), QStringLiteral("abc de"));
    EXPECT_EQ(CommandLineWord(QStringLiteral("\"open to the end"), 0),
              QStringLiteral("open to the end"));
    EXPECT_EQ(CommandLineWord(QString(300, QLatin1Char('w')), 0).size(), 256);

    QString program, params;
    SplitProgramAndParams(QStringLiteral("\"C:\\Program Files\\x.exe\" one \"two words\""),
                          program, params);
    EXPECT_EQ(program, QStringLiteral("C:\\Program Files\\x.exe"));
    EXPECT_EQ(params, QStringLiteral("one \"two words\""));
    SplitProgramAndParams(QStringLiteral("   "), program, params);
    EXPECT_TRUE(program.isEmpty());
    EXPECT_TRUE(params.isEmpty());
}

TEST(ControlUtils, MaskedDrawingLeavesTheKeyColourUnpainted)
{
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.fill(qRgb(0, 255, 0));
    bitmap.setPixel(1, 0, qRgb(255, 0, 0));
    EXPECT_EQ(BitmapTransparentColor(bitmap), qRgb(0, 255, 0));
    struct Case {
        QRgb key;
        QRgb atKeyPixel;
    };
    const Case cases[] = {{TransparentDefault, qRgb(0, 0, 255)},
                          {qRgb(0, 255, 0), qRgb(0, 0, 255)},
                          {TransparentNone, qRgb(0, 255, 0)}};
    for (const Case& c : cases) {
        QImage canvas(3, 2, QImage::Format_RGB32);
        canvas.fill(qRgb(0, 0, 255));
        QPainter p(&canvas);
        DrawBitmapMasked(p, 0, 0, bitmap, c.key);
        p.end();
        EXPECT_EQ(canvas.pixel(0, 0), c.atKeyPixel);
        EXPECT_EQ(canvas.pixel(1, 0), qRgb(255, 0, 0));
    }
}

TEST(ControlUtils, CopyBitmapCellCutsOneCell)
{
    QImage strip(96, 39, QImage::Format_RGB32);
    for (int y = 0; y < 39; ++y)
        for (int x = 0; x < 96; ++x)
            strip.setPixel(x, y, qRgb(x / 16, y / 13, 0));
    const QImage cell = CopyBitmapCell(strip, 6, 10, 3);  // column 4, row 1
    EXPECT_EQ(cell.size(), QSize(16, 13));
    EXPECT_EQ(cell.pixel(0, 0), qRgb(4, 1, 0));
    EXPECT_EQ(CopyBitmapCell(strip, 0, -3, 0).size(), strip.size());
}

TEST(ControlUtils, FitRectToScreen)
{
    QRect r(700, 500, 200, 150);
    FitRectToScreen(r, QSize(800, 600));
    EXPECT_EQ(r, QRect(600, 450, 200, 150));
    r = QRect(-20, -5, 900, 100);
    FitRectToScreen(r, QSize(800, 600));
    EXPECT_EQ(r.topLeft(), QPoint(0, 0));
}

TEST(ControlUtils, FilterToNameFilters)
{
    EXPECT_EQ(FilterToNameFilters(QStringLiteral("Bitmap,Jpeg|*.bmp;*.jpg|все|*.*")),
              QStringList({QStringLiteral("Bitmap,Jpeg (*.bmp *.jpg)"), QStringLiteral("все (*.*)")}));
    EXPECT_EQ(FilterToNameFilters(QStringLiteral("All files (*.*)|*.*")),
              QStringList({QStringLiteral("All files (*.*)")}));
}

TEST(ControlUtils, PicturesAndCursors)
{
    struct Case {
        const char* name;
        QSize size;
    };
    const Case cases[] = {{"CHECK_IMAGES", {96, 39}}, {"FEDITBMP", {14, 12}},
                          {"TRUETYPE_FNT", {20, 12}}, {"DEVICE_FNT", {20, 12}},
                          {"W95_HTB", {18, 17}},      {"W95_HRL", {10, 8}},
                          {"W95_VTB", {38, 9}},       {"W95_VRL", {8, 10}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BitmapFromResource(c.name).size(), c.size);
    }
    EXPECT_TRUE(BitmapFromResource("NO_SUCH").isNull());
    try {
        LoadResourceBitmap("NO_SUCH");
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Resource NO_SUCH not found"));
    }
    EXPECT_EQ(ExCursor(crExHand).shape(), Qt::BitmapCursor);
    EXPECT_EQ(ExCursor(crExHand).hotSpot(), QPoint(6, 0));
    EXPECT_EQ(ExCursor(crExDrag).shape(), Qt::BitmapCursor);
    EXPECT_EQ(ExCursor(1).shape(), Qt::ArrowCursor);
}

TEST(ExShell, StartsAProgramWithItsWordsAndFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(LaunchFile("/bin/sh", "-c \"echo started > 'out file'\"", dir.path(), 3));
    const QString out = dir.filePath("out file");
    for (int i = 0; i < 1000 && QFileInfo(out).size() == 0; ++i)
        QThread::msleep(10);
    EXPECT_GT(QFileInfo(out).size(), 0);
}

// Receives the documents LaunchFile hands to the desktop, so nothing really opens.
class TOpenedUrls : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls.append(url); }
};

// Guards a document carrying the executable bit (as every file on a drive formatted
// for the old system does) being started as a program, which fails and opens nothing.
TEST(ExShell, DocumentWithTheExecutableBitOpensAsADocument)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("общие сведения.html");
    {
        QFile f(page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<html></html>");
    }
    QFile::setPermissions(page, QFile::permissions(page) | QFileDevice::ExeOwner);
    TOpenedUrls opened;
    QDesktopServices::setUrlHandler("file", &opened, "Open");
    const bool launched = LaunchFile(page, QString(), dir.path(), 2);
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(launched);
    EXPECT_EQ(opened.Urls, QList<QUrl>({QUrl::fromLocalFile(page)}));
}

#include "ControlUtilsTest.moc"
