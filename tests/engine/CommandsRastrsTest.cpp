// Raster commands and the colour filter: a raster is created unloaded, loads its
// picture only from a file that exists, refuses a broken file without damage, and
// recolours its picture from the file each time its filter must be applied anew.
#include "CommandsTest.h"

#include "engine/commands/RasterFilter.h"
#include "imaging/PictureRegistry.h"

namespace {

const QRgb Grey = qRgb(100, 150, 200);
const QRgb Dark = qRgb(10, 20, 30);

// 4 × 2 pixels: the top row c, the bottom row Dark.
QImage Picture(QRgb c)
{
    QImage image(4, 2, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x) {
        image.setPixel(x, 0, c);
        image.setPixel(x, 1, Dark);
    }
    return image;
}

class RastrCommands : public CommandsTest {
protected:
    QString SaveBmp(const QString& name, const QImage& image)
    {
        const QString path = Path(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    // Sheet 0 with one raster of file, filter values as given.
    void NewRastr(const QString& file, const QString& filter = QStringLiteral("<100><100><100><100><0>"))
    {
        if (Plan().GetPagesCount() == 0)
            Run("mcNewPage=<A>");
        Run(QStringLiteral("mcNewRastr=<0><%1><10,5><20><110,5><120><1><>").arg(file) + filter);
    }

    RGRastr& Rastr(int i = 0) { return *Page(0).Rastrs.At(i); }
    QRgb Pixel(int x, int y, int i = 0) { return Rastr(i).Picture->Image.pixel(x, y); }
};

}  // namespace

TEST_F(RastrCommands, NewRastrStoresItsFieldsAndReadsNothing)
{
    const QString file = SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey));
    NewRastr(file, QStringLiteral("<50><60><70><80><1>"));
    // The raster list's add button: everything empty or 0, colours 100, brightness 200.
    Run("mcNewRastr=<0><><0><0><0><0><0><><100><100><100><200><0>");
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " rastr %1 (10.5 20)-(110.5 120) v1 loaded0 on-open1 filter  "
                                     "L80 R50 G60 B70 on1 applied0 picture 0x0 0\n"
                                     " rastr  (0 0)-(0 0) v0 loaded0 on-open1 filter  "
                                     "L200 R100 G100 B100 on0 applied0 picture 0x0 0\n")
                          .arg(file));
    EXPECT_EQ(Plan().GetCurrentRastr(), 1);
}

TEST_F(RastrCommands, RastrRealsTakeOnlyTheLocalesSeparator)
{
    Run("mcNewPage=<A>");
    ExpectNoChange(QStringLiteral("mcNewRastr=<0><f.bmp><10.5><20><1><1><1><><100><100><100><100><0>"),
                   QStringLiteral("'10.5' is not a valid floating point value"));
    ExpectNoChange(QStringLiteral("mcNewRastr=<0><f.bmp><10><20><1><1><1><><100><100><100>"),
                   QStringLiteral("List index out of bounds (11)"));
    DecimalSeparator = QLatin1Char('.');
    Run("mcNewRastr=<0><f.bmp><10.5><2e1><1><1><1><><100><100><100><100><0>");
    EXPECT_EQ(Rastr().BottomLeft.X, 10.5L);
    EXPECT_EQ(Rastr().BottomLeft.Y, 20.0L);
}

TEST_F(RastrCommands, LoadReadsThePictureOnlyFromAFileThatExists)
{
    const QString file = SaveBmp(QStringLiteral("Scan.BMP"), Picture(Grey));
    // The name as the plan keeps it may differ from the disk's in letter case.
    NewRastr(Path(QStringLiteral("scan.bmp")));
    NewRastr(Path(QStringLiteral("missing.bmp")));
    Run("mcLoadRastr=<0><0>");
    EXPECT_EQ(Rastr(0).Loaded, 1);
    EXPECT_EQ(Rastr(0).FilterApplied, 0);
    EXPECT_EQ(Pixel(0, 0), Grey);
    EXPECT_EQ(Pixel(3, 1), Dark);
    EXPECT_EQ(Plan().RastrWidth, 4);
    EXPECT_EQ(Plan().RastrHeight, 2);
    // A missing file is no error: the raster stays unloaded, nothing is shown.
    ExpectNoChange(QStringLiteral("mcLoadRastr=<0><1>"));
    EXPECT_EQ(Rastr(1).Loaded, 0);
    EXPECT_EQ(Plan().GetCurrentRastr(), 1);
}

TEST_F(RastrCommands, BrokenPictureFileRaisesAndLeavesTheRastrAsItWas)
{
    const QString broken = Path(QStringLiteral("broken.bmp"));
    WriteBytes(broken, QByteArray("BM this is no picture"));
    NewRastr(broken);
    ExpectNoChange(QStringLiteral("mcLoadRastr=<0><0>"),
                   QStringLiteral("Файл рисунка \"%1\" поврежден: заголовок обрезан").arg(broken));
    const QString other = Path(QStringLiteral("scan.xyz"));
    WriteBytes(other, QByteArray("BM"));
    Run(QStringLiteral("mcSetRastrProp=<0><0><%1><10,5><20><110,5><120><1><><100><100><100><100><0>").arg(other));
    ExpectNoChange(QStringLiteral("mcLoadRastr=<0><0>"),
                   QStringLiteral("Неизвестное расширение файла рисунка (.xyz): \"%1\"").arg(other));
}

TEST_F(RastrCommands, UnloadDropsThePictureOfALoadedRastrOnly)
{
    NewRastr(SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey)), QStringLiteral("<0><100><100><100><1>"));
    Run("mcLoadRastr=<0><0>");
    EXPECT_EQ(Rastr().FilterApplied, 1);
    Run("mcUnLoadRastr=<0><0>");
    EXPECT_EQ(Rastr().Loaded, 0);
    EXPECT_EQ(Rastr().FilterApplied, 0);
    EXPECT_TRUE(Rastr().Picture->Empty());
    ExpectNoChange(QStringLiteral("mcUnLoadRastr=<0><0>"));
}

TEST_F(RastrCommands, FilterValuesOfOneHundredLeaveThePixelsRedZeroIsFullRedBrightnessTwoHundredIsBlack)
{
    const QString file = SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey));
    NewRastr(file, QStringLiteral("<100><100><100><100><1>"));
    NewRastr(file, QStringLiteral("<0><100><100><100><1>"));
    NewRastr(file, QStringLiteral("<100><100><100><200><1>"));
    Run({"mcLoadRastr=<0><0>", "mcLoadRastr=<0><1>", "mcLoadRastr=<0><2>"});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Rastr(i).FilterApplied, 1);
    EXPECT_EQ(Pixel(0, 0, 0), Grey);
    EXPECT_EQ(Pixel(0, 1, 0), Dark);
    EXPECT_EQ(Pixel(0, 0, 1), qRgb(255, 150, 200));
    EXPECT_EQ(Pixel(0, 1, 1), qRgb(255, 20, 30));
    EXPECT_EQ(Pixel(0, 0, 2), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(3, 1, 2), qRgb(0, 0, 0));
}

TEST_F(RastrCommands, FilterTablesRoundHalvesToEvenAndStayInRange)
{
    struct Case {
        int rL, rR, rG, rB;
        int channel, in, out;
    };
    const Case cases[] = {
        {100, 100, 100, 100, 0, 77, 77},
        {100, 0, 100, 100, 0, 0, 255},
        {100, 0, 100, 100, 1, 0, 0},
        {200, 100, 100, 100, 2, 255, 0},
        // Towards white: N(c/2) + N(127.5), both halves to even.
        {50, 100, 100, 100, 0, 1, 128},
        {50, 100, 100, 100, 0, 3, 130},
        // Towards black: N(255 · 0.5) = 128.
        {150, 100, 100, 100, 1, 255, 128},
        // Above 100 a channel darkens: N(382.5) + N(−127.5) = 382 − 128, and 0 stays 0.
        {100, 150, 100, 100, 0, 255, 254},
        {100, 150, 100, 100, 0, 0, 0},
        // Brightness first, then the channel.
        {200, 0, 100, 100, 0, 77, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rL << " " << c.rR << " " << c.rG << " " << c.rB);
        EXPECT_EQ(RasterFilterTables(c.rL, c.rR, c.rG, c.rB)[c.channel][c.in], c.out);
    }
}

// The filter used to copy every picture to 24 bits per pixel: a black-and-white scan of
// a sheet took twenty-four times its memory once filtered.
TEST_F(RastrCommands, FilterKeepsTheDepthOfPaletteAndGreyPictures)
{
    QImage mono(4, 2, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(1, 0, 1);
    QImage grey(4, 2, QImage::Format_Grayscale8);
    grey.fill(100);
    const QImage colour = Picture(Grey);
    struct Case {
        const char* name;
        QImage picture;
        int depth;
    };
    const Case cases[] = {{"mono", mono, 1}, {"grey", grey, 8}, {"colour", colour, 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage result = ApplyRasterFilter(c.picture, 50, 0, 100, 150);
        EXPECT_EQ(result.depth(), c.depth);
        ASSERT_EQ(result.size(), c.picture.size());
        const auto tables = RasterFilterTables(50, 0, 100, 150);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const QRgb in = c.picture.pixel(x, y);
                EXPECT_EQ(result.pixel(x, y), qRgb(tables[0][qRed(in)], tables[1][qGreen(in)],
                                                   tables[2][qBlue(in)]))
                    << x << " " << y;
            }
    }
    // The picture handed in stays as it was.
    EXPECT_EQ(mono.pixel(0, 0), qRgb(0, 0, 0));
    // A colour copy larger than the memory left is refused.
    SetPictureMemoryLimit(16);
    EXPECT_EQ(RaisedBy([&] { ApplyRasterFilter(colour, 50, 100, 100, 100); }),
              QStringLiteral("Недостаточно памяти для цветового фильтра растра (4×2 точек)"));
    SetPictureMemoryLimit(0);
}

TEST_F(RastrCommands, SetRasterFilterRecomputesFromTheFileSoFiltersNeverAccumulate)
{
    NewRastr(SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey)), QStringLiteral("<50><100><100><100><1>"));
    Run("mcLoadRastr=<0><0>");
    const QRgb once = Pixel(0, 0);
    EXPECT_EQ(once, qRgb(178, 150, 200));
    Plan().SetRasterFilter(100, 50, 100, 100);
    EXPECT_EQ(Pixel(0, 0), once);
    // Not loaded: nothing happens.
    Run("mcUnLoadRastr=<0><0>");
    Plan().SetRasterFilter(100, 0, 100, 100);
    EXPECT_TRUE(Rastr().Picture->Empty());
    EXPECT_EQ(Rastr().FilterApplied, 0);
}

TEST_F(RastrCommands, SetPropAppliesTheFilterOnlyWhenAValueChanged)
{
    const QString file = SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey));
    NewRastr(file, QStringLiteral("<50><100><100><100><1>"));
    Run("mcLoadRastr=<0><0>");
    const qint64 filtered = Rastr().Picture->Image.cacheKey();
    // The file changes on disk: a picture recomputed would show it.
    SaveBmp(QStringLiteral("scan.bmp"), Picture(Dark));
    const QString props = QStringLiteral("mcSetRastrProp=<0><0><%1><1><2><3><4><1><name>").arg(file);
    Run(props + QStringLiteral("<50><100><100><100><1>"));
    EXPECT_EQ(Rastr().Picture->Image.cacheKey(), filtered);
    EXPECT_EQ(Rastr().FilterApplied, 1);
    EXPECT_EQ(Rastr().FilterName, QStringLiteral("name"));
    EXPECT_EQ(Rastr().TopRight.Y, 4.0L);
    // Only the brightness changes: the picture is read afresh and filtered once
    // (brightness halves each channel, then red 50 goes halfway to white).
    Run(props + QStringLiteral("<50><100><100><150><1>"));
    EXPECT_EQ(Pixel(0, 0), qRgb(130, 10, 15));
    EXPECT_EQ(Rastr().FilterApplied, 1);
    EXPECT_EQ(Rastr().Brightness, 150);
}

// Switching the filter off used to leave the picture in the filter's colours until the
// raster was loaded again.
TEST_F(RastrCommands, SwitchingTheFilterOffShowsTheFilesColoursAgain)
{
    const QString file = SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey));
    NewRastr(file, QStringLiteral("<0><100><100><100><1>"));
    Run("mcLoadRastr=<0><0>");
    EXPECT_EQ(Pixel(0, 0), qRgb(255, 150, 200));
    Run(QStringLiteral("mcSetRastrProp=<0><0><%1><10,5><20><110,5><120><1><><0><100><100><100><0>").arg(file));
    EXPECT_EQ(Pixel(0, 0), Grey);
    EXPECT_EQ(Rastr().Loaded, 1);
    EXPECT_EQ(Rastr().FilterApplied, 0);
}

TEST_F(RastrCommands, SetPropWithAnotherFileReloadsOnlyALoadedRastr)
{
    const QString first = SaveBmp(QStringLiteral("first.bmp"), Picture(Grey));
    const QString second = SaveBmp(QStringLiteral("second.bmp"), Picture(Dark));
    NewRastr(first);
    NewRastr(first);
    Run("mcLoadRastr=<0><0>");
    const QString tail = QStringLiteral("><10,5><20><110,5><120><1><><100><100><100><100><0>");
    Run(QStringLiteral("mcSetRastrProp=<0><0><") + second + tail);
    EXPECT_EQ(Rastr(0).Loaded, 1);
    EXPECT_EQ(Pixel(0, 0, 0), Dark);
    Run(QStringLiteral("mcSetRastrProp=<0><1><") + second + tail);
    EXPECT_EQ(Rastr(1).Loaded, 0);
    EXPECT_EQ(Rastr(1).FileName, second);
    EXPECT_TRUE(Rastr(1).Picture->Empty());
    Run(QStringLiteral("mcSetRastrProp=<0><0><") + Path(QStringLiteral("gone.bmp")) + tail);
    EXPECT_EQ(Rastr(0).Loaded, 0);
    EXPECT_TRUE(Rastr(0).Picture->Empty());
}

// A loaded raster given a file that cannot be read used to stay "loaded" with an
// empty picture, and then the command raised after it had changed the raster, so the
// change was neither journalled nor snapshotted. The command now completes: the raster
// takes its new properties, ends unloaded, and the reader's message is shown.
TEST_F(RastrCommands, SetPropWithAnUnreadableFileLeavesTheRastrUnloaded)
{
    NewRastr(SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey)), QStringLiteral("<0><100><100><100><1>"));
    Run("mcLoadRastr=<0><0>");
    ASSERT_EQ(Rastr().FilterApplied, 1);
    const QString broken = Path(QStringLiteral("broken.jpg"));
    WriteBytes(broken, QByteArray("not a jpeg"));
    const QString line =
        QStringLiteral("mcSetRastrProp=<0><0><%1><1><2><3><4><0><f><50><100><100><100><1>").arg(broken);
    EXPECT_EQ(RaisedBy([&] { Run(line); }), QString());
    EXPECT_EQ(CommandLog->last(), line);
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Kind, QStringLiteral("ShowMsg"));
    EXPECT_EQ(Window.Asked[0].Caption, QStringLiteral("Растр не загружен"));
    EXPECT_EQ(Window.Asked[0].Text,
              QStringLiteral("Файл рисунка \"%1\" поврежден: это не рисунок JPEG").arg(broken));
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " rastr %1 (1 2)-(3 4) v0 loaded0 on-open1 filter f "
                                     "L100 R50 G100 B100 on1 applied0 picture 0x0 0\n")
                          .arg(broken));
}

TEST_F(RastrCommands, SetPropWithABadFieldChangesNothing)
{
    NewRastr(SaveBmp(QStringLiteral("scan.bmp"), Picture(Grey)));
    Run("mcLoadRastr=<0><0>");
    ExpectNoChange(QStringLiteral("mcSetRastrProp=<0><0><other.bmp><1><2><3><4,4,4><1><><100><100><100><100><0>"),
                   QStringLiteral("'4,4,4' is not a valid floating point value"));
    ExpectNoChange(QStringLiteral("mcSetRastrProp=<0><0><other.bmp><1><2><3><4><1><><100><100><100><100>"),
                   QStringLiteral("List index out of bounds (13)"));
}
