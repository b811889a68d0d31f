// A pan dragged on the main window's surface: the picture is shifted rather than drawn
// whole, and what the surface shows is what a whole redraw of the same view shows.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "engine/GeoMap.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The pixels in which two pictures differ; both written when VELMORA_PNG_DIR is set and
// they differ (or VELMORA_PNG_ALL is set too).
long Differing(const QImage& a, const QImage& b, const QString& name)
{
    long n = a.size() == b.size() ? 0 : -1;
    if (n == 0)
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
    const QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
    if (!dir.isEmpty() && (n != 0 || qEnvironmentVariableIsSet("VELMORA_PNG_ALL"))) {
        a.save(QDir(dir).filePath(name + QStringLiteral("-shifted.png")));
        b.save(QDir(dir).filePath(name + QStringLiteral("-whole.png")));
    }
    return n;
}

}  // namespace

TEST(PanShift, ADraggedPanShowsTheWholeRedrawPixels)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString plan = run.Folder() + QStringLiteral("signs.500");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEST_FIXTURES "/plans/signs.500"), plan));
    form.LoadFile(plan);
    ASSERT_GT(MainMap->GetPagesCount(), 0);
    MainMap->ShowSymbols = 1;
    MainMap->ShowCoordCross = 1;
    const QSize size = form.DisplaySurf->size();
    MainMap->DisplayScale = 500;
    MainMap->CentreTarget = GeoPoint(1030, 2020);
    MainMap->Draw(size.width(), size.height(), 8, ddScreen);
    ASSERT_EQ(MainMap->OutputScale, 500);

    // The pan mode's drag, as the user's hand makes it: down, two moves, up.
    form.SetMouseMode(mmMoveView, 0, true);
    const int views = MainMap->MapViews.GetCount();
    const TPixelMouse mouse{form};
    mouse.Move(QPoint(200, 200));
    QTest::mousePress(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    mouse.Move(QPoint(180, 210), Qt::LeftButton);
    mouse.Move(QPoint(150, 237), Qt::LeftButton);
    QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, QPoint(150, 237));
    ASSERT_EQ(MainMap->MapViews.GetCount(), views + 1);
    EXPECT_TRUE(MainMap->Shifted) << "the pan drew the whole picture";
    EXPECT_EQ(MainMap->ScrollX, size.width());
    const QImage shown = form.DisplaySurf->Canvas.copy();
    const QImage picture = MainMap->Bitmap.copy();
    const QImage window = form.grab().toImage();

    MainMap->ShiftRedrawOn = 0;
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    MainMap->ShiftRedrawOn = 1;
    EXPECT_EQ(Differing(shown, form.DisplaySurf->Canvas, QStringLiteral("window-pan-surface")), 0);
    EXPECT_EQ(Differing(picture, MainMap->Bitmap, QStringLiteral("window-pan-picture")), 0);
    const QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
    if (!dir.isEmpty())
        window.save(QDir(dir).filePath(QStringLiteral("window-pan.png")));
}
