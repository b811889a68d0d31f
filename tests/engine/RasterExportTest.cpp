// The plan as a raster image and on a printed page, on the signs fixture of 1:500: image
// sizes for the scale and resolution, the extensions, frames off for a sheet, the
// refusals, a failed write, the page's decorations and depth, and the document left as it
// was after every call.
#include "DrawTestSupport.h"
#include "PlanFileTest.h"

#include "engine/export/PagePrinter.h"
#include "foundation/ProgramDialogs.h"
#include "imaging/PictureReaders.h"
#include "imaging/PictureRegistry.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// The window with a printer: a capture of the pages, or a PDF writer when one is given.
class TPrinterWindow : public TFakeEngineServices {
public:
    QSize Page;
    QPdfWriter* Pdf = nullptr;
    std::vector<QImage> Printed;

    QSize PrinterPageSize() override { return Pdf ? PageDevicePixels(*Pdf) : Page; }
    void PrintPicture(const QImage& picture) override
    {
        Printed.push_back(picture.copy());
        if (Pdf)
            PrintOnPageDevice(*Pdf, picture);
    }
};

// What must be the same before and after an export or a print.
struct RDocState {
    std::vector<std::array<Extended, 6>> Views;
    int ViewIndex;
    QImage Picture;
    std::uint8_t RasterBits, ShowPlansBorders;
    Extended ViewXMin, ViewYMax, FactorX;
    bool operator==(const RDocState&) const = default;
};

constexpr int SurfaceW = 240, SurfaceH = 180;

}  // namespace

class RasterExport : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        OpenSignsPlan();
        MainMap = &M();
        M().ShowSymbols = 1;
        M().BackColor = 0xFFFFFF;
        M().Nomenclatures.Mode = 2;
        auto base = std::make_unique<TNomenclature>();
        base->SheetName = QStringLiteral("101");
        base->Origin = GeoPoint(0, 0);
        M().Nomenclatures.AddItem(std::move(base));
        M().FrameColor500 = 0x0000FF;   // red frames: easy to tell from the signs
        Window.Surface = QSize(SurfaceW, SurfaceH);
        M().Services = &Window;
        M().Draw(SurfaceW, SurfaceH, 0, ddScreen);
    }

    RDocState State()
    {
        RDocState s;
        TMapViews& v = M().MapViews;
        for (int i = 0; i < v.GetCount(); ++i) {
            const RMapView& r = *v.At(i);
            s.Views.push_back({r.ViewXMin, r.ViewYMin, r.ViewXMax, r.ViewYMax, r.FactorX, r.FactorY});
        }
        s.ViewIndex = v.GetIndex();
        s.Picture = M().Bitmap;
        s.RasterBits = M().RasterBits;
        s.ShowPlansBorders = M().ShowPlansBorders;
        s.ViewXMin = M().ViewXMin;
        s.ViewYMax = M().ViewYMax;
        s.FactorX = M().FactorX;
        return s;
    }

    // The export window answering result with scale, dpi and depth; counts its calls.
    TProgramDialogHooks Answer(int scale, Extended dpi, TPixelDepth depth, int result = mrOk)
    {
        TProgramDialogHooks hooks;
        hooks.SaveRastr = [=, this](int& s, Extended& d, TPixelDepth& p, Extended, Extended, Extended,
                                    Extended) {
            ++Asked;
            EXPECT_EQ(s, 500);   // the plan's scale, 300 dpi and 8 bits offered
            EXPECT_EQ(d, 300);
            EXPECT_EQ(p, 3);
            s = scale;
            d = dpi;
            p = depth;
            return result;
        };
        return hooks;
    }

    QString Out(const QString& name) const { return Folder() + name; }
    int MessageCount() const { return int(Window.Asked.size()); }

    TPrinterWindow Window;
    int Asked = 0;
};

TEST_F(RasterExport, SheetAtFiveHundredAndThreeHundredDpiIs5906PixelsSquare)
{
    TScopedProgramDialogHooks hooks(Answer(500, 300, 1));
    M().SaveToRaster(Out(QStringLiteral("лист.bmp")), true, 0, 0, 250, 250);
    const QImage img = ReadBmpPicture(Out(QStringLiteral("лист.bmp")));
    EXPECT_EQ(img.size(), QSize(5906, 5906));
    EXPECT_EQ(M().RasterScale, 500);
    EXPECT_EQ(M().RasterDpi, 300);
}

TEST_F(RasterExport, ExtensionsInAnyCaseAndOthersTold)
{
    const RDocState before = State();
    // 100 m at 1:500 is 200 mm: 200 pixels at 25.4 dpi.
    const struct {
        const char* Name;
        QImage (*Read)(const QString&);
    } cases[] = {{"a.bmp", ReadBmpPicture},  {"b.BMP", ReadBmpPicture},   {"c.jpg", ReadJpegPicture},
                 {"d.JPEG", ReadJpegPicture}, {"e.tif", LoadPictureFile}, {"f.TIFF", LoadPictureFile}};
    for (const auto& c : cases) {
        TScopedProgramDialogHooks hooks(Answer(500, 25.4L, 6));
        const QString path = Out(QLatin1String(c.Name));
        M().SaveToRaster(path, false, 990, 1990, 1090, 2140);
        const QImage img = c.Read(path);
        EXPECT_EQ(img.size(), QSize(300, 200)) << c.Name;
        // And by ImageMagick, when it is installed (scripts/deps.sh installs it).
        const QString identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
        if (!identify.isEmpty()) {
            QProcess p;
            p.start(identify, {QStringLiteral("-format"), QStringLiteral("%w %h %z"), path});
            ASSERT_TRUE(p.waitForFinished(30000));
            EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QStringLiteral("300 200 8"))
                << c.Name;
        }
        EXPECT_TRUE(State() == before) << c.Name;
    }
    EXPECT_EQ(Asked, 6);
    EXPECT_EQ(MessageCount(), 0);

    TScopedProgramDialogHooks hooks(Answer(500, 25.4L, 6));
    M().SaveToRaster(Out(QStringLiteral("g.png")), false, 990, 1990, 1090, 2140);
    EXPECT_EQ(Asked, 6);
    ASSERT_EQ(MessageCount(), 1);
    EXPECT_TRUE(Window.Asked[0].Text.contains(QStringLiteral("g.png")));
    EXPECT_FALSE(QFile::exists(Out(QStringLiteral("g.png"))));
    EXPECT_TRUE(State() == before);
}

// Guards the JPEG export that stored no resolution while BMP and TIFF state theirs.
TEST_F(RasterExport, JpegStatesTheResolutionItWasDrawnAt)
{
    const QString identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
    if (identify.isEmpty())
        GTEST_SKIP() << "ImageMagick's identify is not installed (scripts/deps.sh installs it)";
    for (const Extended dpi : {300.0L, 150.0L}) {
        SCOPED_TRACE(double(dpi));
        TScopedProgramDialogHooks hooks(Answer(500, dpi, 6));
        const QString path = Out(QStringLiteral("плотность.jpg"));
        M().SaveToRaster(path, false, 990, 1990, 1010, 2010);
        QProcess p;
        p.start(identify, {QStringLiteral("-format"), QStringLiteral("%x %U"), path});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
                  QString::number(int(dpi)) + QStringLiteral(" PixelsPerInch"));
    }
}

TEST_F(RasterExport, SheetWithoutFramesInTheImageWithFramesOnTheScreenAfter)
{
    M().ShowPlansBorders = 1;
    M().Draw(SurfaceW, SurfaceH, 2, ddScreen);
    const RDocState before = State();
    const auto redPixels = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        return n;
    };
    TScopedProgramDialogHooks hooks(Answer(500, 12.7L, 6));
    // The sheet 1000..1250, 2000..2250 at 12.7 dpi: 250 pixels, its frame on the edges.
    M().SaveToRaster(Out(QStringLiteral("framed.bmp")), false, 1000, 2000, 1250, 2250);
    M().SaveToRaster(Out(QStringLiteral("bare.bmp")), true, 1000, 2000, 1250, 2250);
    const QImage framed = ReadBmpPicture(Out(QStringLiteral("framed.bmp"))).convertToFormat(QImage::Format_RGB32);
    const QImage bare = ReadBmpPicture(Out(QStringLiteral("bare.bmp"))).convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(redPixels(framed), 200);
    EXPECT_EQ(redPixels(bare), 0);
    EXPECT_EQ(M().ShowPlansBorders, 1);
    EXPECT_TRUE(State() == before);
    EXPECT_EQ(M().DrawDest, ddScreen);
}

TEST_F(RasterExport, SmallExportLooksAsTheReference)
{
    // The twelve point signs of the plan's corner at 1:500 and 100 dpi.
    for (const auto& [depth, name, tolerance] :
         {std::tuple{TPixelDepth(6), "raster-signs-24bit.png", 0.03}, std::tuple{TPixelDepth(1), "raster-signs-1bit.png", 0.0}}) {
        TScopedProgramDialogHooks hooks(Answer(500, 100, depth));
        const QString path = Out(QStringLiteral("small.bmp"));
        M().SaveToRaster(path, false, 990, 1990, 1070, 2070);
        const QImage img = ReadBmpPicture(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(img.size(), QSize(630, 630));
        ExpectLikeReference(img, name, tolerance);
    }
}

TEST_F(RasterExport, RefusalsAndFailuresLeaveTheDocumentAsItWas)
{
    const RDocState before = State();
    // The window cancelled.
    {
        TScopedProgramDialogHooks hooks(Answer(500, 300, 6, mrCancel));
        M().SaveToRaster(Out(QStringLiteral("x.bmp")), false, 0, 0, 250, 250);
        EXPECT_FALSE(QFile::exists(Out(QStringLiteral("x.bmp"))));
        EXPECT_EQ(MessageCount(), 0);
    }
    // 5 km at 1:500 and 500 dpi: nearly 200,000 pixels a side, refused before anything is made.
    {
        TScopedProgramDialogHooks hooks(Answer(500, 500, 6));
        M().SaveToRaster(Out(QStringLiteral("x.bmp")), false, 0, 0, 5000, 5000);
        ASSERT_EQ(MessageCount(), 1);
        EXPECT_TRUE(Window.Asked[0].Text.contains(QStringLiteral("196850 x 196850")));
        EXPECT_TRUE(Window.Asked[0].Text.contains(QStringLiteral("32767")));
        EXPECT_FALSE(QFile::exists(Out(QStringLiteral("x.bmp"))));
    }
    EXPECT_TRUE(State() == before);
    // A file that cannot be made: its folder is a file, or (when not run as root) a folder
    // without write permission. The error passes on, the old file stays whole.
    const QString folder = Out(QStringLiteral("закрыта"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString old = folder + QStringLiteral("/old");
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    const bool root = geteuid() == 0;
    if (!root)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    for (const char* ext : {"jpg", "bmp", "tif"}) {
        TScopedProgramDialogHooks hooks(Answer(500, 25.4L, 3));
        const QString target = (root ? old + QStringLiteral("/new.") : old + u'.') + QLatin1String(ext);
        EXPECT_ANY_THROW(M().SaveToRaster(target, false, 990, 1990, 1090, 2090)) << ext;
        EXPECT_TRUE(State() == before) << ext;
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
}

class PrintPlan : public RasterExport {
protected:
    void SetUp() override
    {
        RasterExport::SetUp();
        // A4 portrait at 96 dpi.
        Window.Page = QSize(794, 1123);
        M().PageWidthMm = 210;
        M().PageHeightMm = 297;
        M().PrinterScale = 500;
        M().PrintOrigin = GeoPoint(1100, 1990);
        M().PrintHeaderOn = 1;
        M().PrintBits = 6;
    }
};

TEST_F(PrintPlan, OnePageOfTheAreaWithItsHeader)
{
    const RDocState before = State();
    M().PrintPlan();
    ASSERT_EQ(Window.Printed.size(), 1u);
    const QImage& page = Window.Printed[0];
    page.save(qEnvironmentVariable("VELMORA_LOOK_DIR", Folder()) + QStringLiteral("/printed-page.png"));
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_NEAR(double(M().PrinterDpi), 96.04, 0.01);
    // The frame around the page, the icon at the corner, the title beside it.
    EXPECT_EQ(page.pixel(700, 0) & 0xFFFFFF, 0u);   // past the title, which is set on white
    EXPECT_FALSE(InkBounds(page, QRect(790, 590, 4, 20)).isEmpty());   // the right edge
    EXPECT_FALSE(InkBounds(page, QRect(2, 2, 12, 12)).isEmpty());
    EXPECT_FALSE(InkBounds(page, QRect(20, 1, 300, 8)).isEmpty());
    EXPECT_TRUE(State() == before);

    M().PrintHeaderOn = 0;
    M().PrintPlan();
    ASSERT_EQ(Window.Printed.size(), 2u);
    const QImage& bare = Window.Printed[1];
    EXPECT_TRUE(InkBounds(bare, QRect(0, 0, 794, 10)).isEmpty());
    EXPECT_TRUE(InkBounds(bare, QRect(0, 0, 10, 1123)).isEmpty());
    EXPECT_TRUE(InkBounds(bare, QRect(784, 0, 10, 1123)).isEmpty());
    EXPECT_TRUE(State() == before);
}

TEST_F(PrintPlan, OneBitPrintsBlackOnWhite)
{
    M().PrintBits = 1;
    M().PrintPlan();
    ASSERT_EQ(Window.Printed.size(), 1u);
    const QImage& page = Window.Printed[0];
    int black = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << x << ',' << y;
            black += c == 0;
        }
    EXPECT_GT(black, 1000);
}

TEST_F(PrintPlan, NoPrinterOrNoPageIsTold)
{
    const RDocState before = State();
    Window.Page = QSize();
    M().PrintPlan();
    Window.Page = QSize(794, 1123);
    M().PageWidthMm = 0;
    M().PrintPlan();
    EXPECT_TRUE(Window.Printed.empty());
    ASSERT_EQ(MessageCount(), 2);
    EXPECT_TRUE(Window.Asked[0].Text.contains(QStringLiteral("Принтер")));
    EXPECT_TRUE(Window.Asked[1].Text.contains(QStringLiteral("0 x 297")));
    EXPECT_TRUE(State() == before);
}

TEST_F(PrintPlan, ThroughAPdfWriterToOnePage)
{
    const QString pdfPath = Out(QStringLiteral("план.pdf"));
    auto pdf = std::make_unique<QPdfWriter>(pdfPath);
    pdf->setResolution(150);
    pdf->setPageSize(QPageSize(QPageSize::A4));
    pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    Window.Pdf = pdf.get();
    M().PrintTitle = QStringLiteral("Условные знаки");
    M().PrintPlan();
    Window.Pdf = nullptr;
    pdf.reset();   // the file is complete once the writer is gone
    ASSERT_EQ(Window.Printed.size(), 1u);
    QFile f(pdfPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
    f.close();

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const QString stem = qEnvironmentVariable("VELMORA_LOOK_DIR", Folder()) + QStringLiteral("/printed-signs-500");
    QProcess p;
    p.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"),
                       QStringLiteral("-singlefile"), pdfPath, stem});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QImage png(stem + QStringLiteral(".png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_NEAR(png.width(), 827, 2);   // A4 at 100 dpi: one page
    EXPECT_NEAR(png.height(), 1169, 2);
}
