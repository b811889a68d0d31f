// The format registry: the standard formats and their order, look-up by extension in any
// letter case, registering and removing, the open-dialog filter, and loading through it.
#include "ImagingTestSupport.h"

#include "controls/core/ControlUtils.h"
#include "imaging/ImageGraphic.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QElapsedTimer>

namespace {

const TGraphicClass* ClassNamed(const TFileFormatList& list, const char* name)
{
    for (const auto& entry : list.Classes())
        if (entry->GraphicClass->Name == QLatin1String(name))
            return entry->GraphicClass;
    return nullptr;
}

struct TStandardList : public ::testing::Test {
    TStandardList() { RegisterStandardFormats(List); }
    TFileFormatList List;

    QString DescriptionOf(const char* ext) const
    {
        return List.DescriptionOf(*List.Extensions()[std::size_t(List.IndexOfExtension(QLatin1String(ext)))]);
    }
    QStringList ExtensionsOf(const char* className) const
    {
        QStringList extensions;
        for (const auto& e : List.Extensions())
            if (e->Class->GraphicClass == ClassNamed(List, className))
                extensions.append(e->Extension);
        return extensions;
    }
};

const TGraphicClass ClassA{QStringLiteral("TClassA")};
const TGraphicClass ClassB{QStringLiteral("TClassB")};

// Each class's description with its sorted pattern, in the order of the descriptions.
const std::pair<const char*, const char*> SortedClasses[] = {
    {"Alias/Wavefront images", "*.rla; *.rpf"},
    {"Autodesk images", "*.cel; *.pic"},
    {"Dr. Halo images", "*.cut"},
    {"Encapsulated Postscript images", "*.eps"},
    {"JPG images", "*.jfif; *.jpe; *.jpeg; *.jpg"},
    {"Kodak Photo-CD images", "*.pcd"},
    {"Paintshop Pro images", "*.psp"},
    {"Photoshop images", "*.pdd; *.psd"},
    {"Portable map images", "*.pbm; *.pgm; *.ppm"},
    {"Portable network graphic images", "*.png"},
    {"SGI images", "*.bw; *.rgb; *.rgba; *.sgi"},
    {"Tagged image file format images", "*.fax; *.tif; *.tiff"},
    {"Truevision images", "*.icb; *.tga; *.vda; *.vst; *.win"},
    {"Windows bitmaps", "*.bmp; *.dib; *.rle"},
    {"Windows icons", "*.ico"},
    {"ZSoft Paintbrush images", "*.pcc; *.pcx; *.scr"},
};

}  // namespace

TEST_F(TStandardList, HoldsTheRasterFormatsInRegistrationOrder)
{
    // The two metafile extensions are left out: nothing here draws a metafile.
    ASSERT_EQ(List.Extensions().size(), 37u);
    QStringList classes;
    for (const auto& entry : List.Classes())
        classes.append(entry->GraphicClass->Name);
    EXPECT_EQ(classes.join(QLatin1Char(' ')),
              QStringLiteral("TBitmap TIcon TJPEGImage TTargaGraphic TTIFFGraphic TEPSGraphic TPCXGraphic "
                             "TRLAGraphic TSGIGraphic TPSDGraphic TPPMGraphic TAutodeskGraphic TPCDGraphic "
                             "TCUTGraphic TPSPGraphic TPNGGraphic"));
    EXPECT_EQ(List.Extensions().front()->Extension, QStringLiteral("bmp"));
    EXPECT_EQ(List.Extensions().back()->Extension, QStringLiteral("png"));
    EXPECT_EQ(ExtensionsOf("TBitmap"), (QStringList{"bmp", "rle", "dib"}));
    EXPECT_EQ(List.Classes()[0]->Count, 3);

    struct Case {
        const char* ext;
        const char* description;
        int fileTypes;
    };
    const Case cases[] = {
        {"bmp", "Windows bitmaps", 8},          {"rle", "Run length encoded Windows bitmaps", 8},
        {"jpg", "JPG images", 8},               {"jpeg", "JPEG images", 8},
        {"vst", "Truevision images", 8},        {"tif", "PC TIF images", 12},
        {"tiff", "Macintosh TIFF images", 12},  {"psd", "Photoshop images", 10},
        {"psp", "Paintshop Pro images", 24},    {"bw", "SGI black/white images", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ext);
        EXPECT_EQ(DescriptionOf(c.ext), QLatin1String(c.description));
        EXPECT_EQ(List.Extensions()[std::size_t(List.IndexOfExtension(QLatin1String(c.ext)))]->FileTypes,
                  c.fileTypes);
    }
}

TEST_F(TStandardList, ExtensionsAreFoundWhateverTheirCase)
{
    const int tif = List.IndexOfExtension(QStringLiteral("tif"));
    ASSERT_GE(tif, 0);
    for (const char* ext : {"TIF", "Tif", "tIF"})
        EXPECT_EQ(List.IndexOfExtension(QLatin1String(ext)), tif) << ext;
    EXPECT_EQ(List.IndexOfExtension(QString()), -1);
    EXPECT_EQ(List.IndexOfExtension(QStringLiteral("wmf")), -1);
    EXPECT_EQ(List.IndexOfExtension(QStringLiteral("ti")), -1);
}

TEST_F(TStandardList, RegisteringTwiceIsRefusedUnlessReplaced)
{
    try {
        List.AddFormat(QStringLiteral("TIF"), QString(), QString(), ftRaster, false, &ClassA);
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Attempt to register TIF twice."));
    }
    EXPECT_EQ(List.Extensions().size(), 37u);

    // The PCD class has one extension: moving it drops the class.
    List.AddFormat(QStringLiteral("pcd"), QStringLiteral("A images"), QString(), ftRaster, true, &ClassA);
    EXPECT_EQ(List.IndexOfClass(ClassNamed(List, "TPCDGraphic")), -1);
    EXPECT_EQ(List.IndexOfClass(&ClassA), 15);
    EXPECT_EQ(DescriptionOf("pcd"), QStringLiteral("A images"));
    EXPECT_EQ(List.Classes()[15]->Count, 1);
    List.AddFormat(QString(), QStringLiteral("none"), QString(), ftRaster, false, &ClassB);
    EXPECT_EQ(List.IndexOfClass(&ClassB), -1);
}

TEST_F(TStandardList, RemovingExtensionsAndClasses)
{
    const TGraphicClass* bitmap = ClassNamed(List, "TBitmap");
    List.RemoveFormat(QStringLiteral("RLE"), nullptr);
    EXPECT_EQ(ExtensionsOf("TBitmap"), (QStringList{"bmp", "dib"}));
    EXPECT_EQ(List.Classes()[0]->Count, 2);
    List.RemoveFormat(QStringLiteral("xyz"), nullptr);
    EXPECT_EQ(List.Extensions().size(), 36u);

    List.RemoveFormat(QStringLiteral("ico"), nullptr);  // the icon class's only extension
    EXPECT_EQ(List.IndexOfClass(ClassNamed(List, "TIcon")), -1);
    List.RemoveFormat(QString(), bitmap);
    EXPECT_EQ(List.IndexOfClass(bitmap), -1);
    EXPECT_EQ(List.IndexOfExtension(QStringLiteral("bmp")), -1);
    EXPECT_EQ(List.IndexOfExtension(QStringLiteral("dib")), -1);
    EXPECT_EQ(List.Extensions().size(), 33u);
    List.Clear();
    EXPECT_TRUE(List.Extensions().empty());
    EXPECT_TRUE(List.Classes().empty());
}

TEST_F(TStandardList, FilterOfTheWindowsListsAllThenEveryClassByDescription)
{
    QString expected = QStringLiteral(
        "All images|*.bmp; *.bw; *.cel; *.cut; *.dib; *.eps; *.fax; *.icb; *.ico; *.jfif; *.jpe; *.jpeg; "
        "*.jpg; *.pbm; *.pcc; *.pcd; *.pcx; *.pdd; *.pgm; *.pic; *.png; *.ppm; *.psd; *.psp; *.rgb; *.rgba; "
        "*.rla; *.rle; *.rpf; *.scr; *.sgi; *.tga; *.tif; *.tiff; *.vda; *.vst; *.win");
    for (const auto& [description, pattern] : SortedClasses)
        expected += QStringLiteral("|%1 (%2)|%2").arg(QLatin1String(description), QLatin1String(pattern));
    EXPECT_EQ(List.BuildGraphicFilter(0, fstBoth, 7), expected);
}

TEST_F(TStandardList, FilterOptionsTypesAndClass)
{
    const TGraphicClass* bitmap = ClassNamed(List, "TBitmap");
    const TGraphicClass* tiff = ClassNamed(List, "TTIFFGraphic");
    struct Case {
        std::uint8_t fileTypes;
        TFilterSortKind sort;
        std::uint8_t options;
        const TGraphicClass* graphicClass;
        const char* filter;
    };
    const Case cases[] = {
        {16, fstBoth, 7, nullptr, "All images|*.psp|Paintshop Pro images (*.psp)|*.psp"},
        {2, fstBoth, 5, nullptr, "Photoshop images (*.pdd; *.psd)|*.pdd; *.psd"},
        {2, fstNone, 1, nullptr, "Photoshop images|*.psd; *.pdd"},
        {0, fstBoth, 7, tiff,
         "All images|*.fax; *.tif; *.tiff|Tagged image file format images (*.fax; *.tif; *.tiff)|*.fax; *.tif; *.tiff"},
        {0, fstNone, 0, bitmap,
         "Windows bitmaps|*.bmp|Run length encoded Windows bitmaps|*.rle|Device independant Windows bitmaps|*.dib"},
        {0, fstDescription, 6, bitmap,
         "All images|*.bmp; *.rle; *.dib|Device independant Windows bitmaps (*.dib)|*.dib|"
         "Run length encoded Windows bitmaps (*.rle)|*.rle|Windows bitmaps (*.bmp)|*.bmp"},
        {1, fstBoth, 7, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(List.BuildGraphicFilter(c.fileTypes, c.sort, c.options, c.graphicClass), QLatin1String(c.filter));
    }
}

// The open dialog of the windows, given the translated filter, shows a file whose
// extension is in capitals.
TEST(GraphicFilter, OpenDialogMatchesExtensionsInAnyCase)
{
    QTemporaryDir dir;
    for (const char* name : {"X.TIF", "plan.Bmp", "notes.txt"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QStringList filters = FilterToNameFilters(FileFormatList().BuildGraphicFilter(0, fstBoth, 7));
    ASSERT_EQ(filters.size(), 17);
    EXPECT_TRUE(filters[12].startsWith(QStringLiteral("Tagged image file format images (*.fax *.tif *.tiff)")))
        << filters[12].toStdString();

    QFileDialog dialog(nullptr, QString(), dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    // The model lists the folder in a thread of its own, and other folders before it
    // (the dialog's history, the root): waited for until it shows the two pictures the
    // first filter passes.
    dialog.setNameFilters(filters);
    QModelIndex folder = model->index(dir.path());
    QElapsedTimer waited;
    waited.start();
    while (model->rowCount(folder) < 2 && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        folder = model->index(dir.path());
    }
    ASSERT_GE(model->rowCount(folder), 2);
    for (int index : {0, 12}) {
        dialog.selectNameFilter(filters[index]);
        QCoreApplication::processEvents();
        QStringList shown;
        for (int row = 0; row < model->rowCount(folder); ++row) {
            const QModelIndex item = model->index(row, 0, folder);
            if (model->flags(item) & Qt::ItemIsEnabled)
                shown.append(item.data().toString());
        }
        shown.sort();
        EXPECT_EQ(shown, index == 0 ? QStringList({"X.TIF", "plan.Bmp"}) : QStringList({"X.TIF"}));
    }
}

TEST_F(PictureFiles, ExtensionWithoutReaderIsRefusedByName)
{
    const QString path = Write(QStringLiteral("scan.ICO"), QByteArray(32, '\0'));
    EXPECT_EQ(PictureErrorOf(path),
              QStringLiteral("Рисунки формата \"Windows icons\" (.ICO) не читаются: \"%1\"").arg(path));
    QImage source(4, 2, QImage::Format_RGB888);
    source.fill(qRgb(200, 10, 10));
    for (const char* name : {"a.jfif", "b.JPE"})
        EXPECT_EQ(LoadPictureFile(Write(QLatin1String(name), EncodeJpeg(source))).size(), QSize(4, 2)) << name;
}
