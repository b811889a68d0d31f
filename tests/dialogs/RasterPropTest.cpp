// "Свойства растра" through its controls on a raster of the main plan: what it shows,
// the commands it issues, the preview's filter, the colour profiles; the journal and the
// raster's values in the plan are the oracle.
#include "ObjectWindowsSupport.h"

#include "dialogs/objects/UnitChangePageLayer.h"
#include "dialogs/rasters/UnitRasterProp.h"
#include "controls/ComboEdit.h"
#include "foundation/ui/NumEdit.h"
#include "platform/TextFiles.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#define EXPECT_TEXT_EQ(a, b) EXPECT_EQ(QString(a).toStdString(), QString(b).toStdString())

namespace {

class RasterProp : public ObjectWindows {
protected:
    void SetUp() override
    {
        ObjectWindows::SetUp();
        Picture = Run->Folder() + QStringLiteral("снимок.bmp");
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(qRgb(0, 100, 200));
        ASSERT_TRUE(image.save(Picture, "BMP"));
        Cmd({"mcNewPage=<Лист А>", "mcNewPage=<Лист Б>"});
        Map->DoCommand(mcNewRastr, TCommandParams()
                                       .Int(0)
                                       .Text(Picture)
                                       .Int(10).Int(20).Int(30).Int(60)
                                       .Int(1)
                                       .Text(QString())
                                       .Int(100).Int(100).Int(100).Int(200)
                                       .Int(0));
        TFormRasterProp::ProfileDialogHook = [this](bool, QString& fileName) {
            fileName = ProfileFile;
            return !ProfileFile.isEmpty();
        };
    }
    void TearDown() override
    {
        TFormRasterProp::ProfileDialogHook = nullptr;
        ObjectWindows::TearDown();
    }

    void Load() { Map->DoCommand(mcLoadRastr, QStringLiteral("<0><0>")); }
    RRastrValues Plan(int page = 0, int rastr = 0)
    {
        RRastrValues v;
        EXPECT_TRUE(ReadRastr(*Map, page, rastr, v));
        return v;
    }
    // The preview's middle pixel.
    static QRgb Shown(TFormRasterProp& form)
    {
        const QImage image = form.Image1->pixmap().toImage();
        return image.pixel(image.width() / 2, image.height() / 2);
    }

    QString Picture;
    QString ProfileFile;
};

TEST_F(RasterProp, ShowsTheRasterAndItsFileState)
{
    Load();
    TFormRasterProp form(*Map, 0, 0);
    EXPECT_TEXT_EQ(form.windowTitle(), QStringLiteral("Свойства растра"));
    EXPECT_TEXT_EQ(form.LPage->text(), QStringLiteral("Лист А"));
    EXPECT_TEXT_EQ(form.XBL->text(), QStringLiteral("10,000"));
    EXPECT_TEXT_EQ(form.YTR->text(), QStringLiteral("60,000"));
    EXPECT_TRUE(form.rbVisible->isChecked());
    EXPECT_TEXT_EQ(form.StaticText->text(), QStringLiteral("найден; загружен;"));
    EXPECT_EQ(form.slLight->value(), 200);
    EXPECT_FALSE(form.btFilterOn->isChecked());
    EXPECT_FALSE(form.slRed->isEnabled());
    // The preview keeps the picture's proportions within the preview.
    const QImage preview = form.Image1->pixmap().toImage();
    EXPECT_EQ(preview.width(), 2 * preview.height());
    EXPECT_EQ(preview.pixel(5, 5), qRgb(0, 100, 200));
    SaveWindowPicture(&form, QStringLiteral("raster-prop"));
}

// The preview runs the engine's filter of a loaded raster: the window shows what the plan
// will show, each value within a colour byte.
TEST_F(RasterProp, PreviewFiltersAsThePlanDoes)
{
    struct Case {
        QRgb in;
        int L, r, g, b;
        QRgb out;
    };
    const Case cases[] = {
        {qRgb(0, 100, 200), 50, 100, 100, 100, qRgb(128, 178, 228)},
        {qRgb(100, 200, 255), 150, 100, 100, 100, qRgb(50, 100, 128)},
        {qRgb(0, 100, 200), 100, 0, 100, 100, qRgb(255, 100, 200)},
        {qRgb(0, 100, 200), 200, 100, 100, 100, qRgb(0, 0, 0)},
        // Both halves of the blend round up: 256 is held at 255.
        {qRgb(255, 255, 255), 10, 100, 100, 100, qRgb(255, 255, 255)},
        {qRgb(255, 255, 255), 100, 50, 90, 10, qRgb(255, 255, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.L << " " << c.r << " " << c.g << " " << c.b);
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(c.in);
        ASSERT_TRUE(image.save(Picture, "BMP"));
        TFormRasterProp form(*Map, 0, 0);
        Click(&form, "btFilterOn");
        form.slLight->setValue(c.L);
        form.slRed->setValue(c.r);
        form.slGreen->setValue(c.g);
        form.slBlue->setValue(c.b);
        EXPECT_EQ(Shown(form), c.out);
    }
}

TEST_F(RasterProp, ResetThenCloseSendsWhatTheWindowShows)
{
    TFormRasterProp form(*Map, 0, 0);
    Click(&form, "btFilterOn");
    EXPECT_TRUE(form.slLight->isEnabled());
    EXPECT_EQ(Shown(form), qRgb(0, 0, 0));   // a new raster's brightness 200
    form.slLight->setValue(40);
    form.slGreen->setValue(70);
    SaveWindowPicture(&form, QStringLiteral("raster-prop-filtered"));
    Click(&form, "ExSpeedButton1");
    EXPECT_EQ(form.slLight->value(), 100);
    EXPECT_EQ(form.slGreen->value(), 100);
    EXPECT_TRUE(form.btFilterOn->isChecked());
    EXPECT_EQ(Shown(form), qRgb(0, 100, 200));
    TypeInto(&form, "XBL", QStringLiteral("12.5"));
    Click(&form, "rbHide");
    const int mark = JournalMark();
    Click(&form, "BitBtn1");
    EXPECT_EQ(form.result(), mrOk);
    ASSERT_EQ(JournalSince(mark).size(), 1);
    EXPECT_TEXT_EQ(JournalSince(mark)[0],
                   QStringLiteral("mcSetRastrProp=<0><0><%1><12,500><20,000><30,000><60,000><0><>"
                                  "<100><100><100><100><1>")
                       .arg(Picture));
    const RRastrValues v = Plan();
    EXPECT_EQ(v.L, 100);
    EXPECT_EQ(v.FilterOn, 1);
    EXPECT_EQ(v.Visible, 0);
}

TEST_F(RasterProp, NewPathUnloadsAndAMissingFileLoadsNothing)
{
    Load();
    TFormRasterProp form(*Map, 0, 0);
    const int mark = JournalMark();
    // A path with a blank that names no file yet is taken whole.
    const QString missing = Run->Folder() + QStringLiteral("нет такого.bmp");
    form.RastrLink->setText(missing);
    EXPECT_EQ(JournalSince(mark), QStringList{QStringLiteral("mcUnLoadRastr=<0><0>")});
    EXPECT_TEXT_EQ(form.StaticText->text(), QStringLiteral("не найден; не загружен;"));
    // Nothing reaches the plan until a button sends it.
    EXPECT_EQ(Plan().Path, Picture);
    Click(&form, "btLoad");
    EXPECT_EQ(Plan().Path, missing);
    EXPECT_EQ(Plan().Loaded, 0);
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
}

TEST_F(RasterProp, BrokenFileIsToldAndStaysUnloaded)
{
    const QString broken = Run->Folder() + QStringLiteral("битый.bmp");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not a picture");
    file.close();
    TFormRasterProp form(*Map, 0, 0);
    form.RastrLink->setText(broken);
    Click(&form, "btLoad");
    EXPECT_TRUE(form.Image1->pixmap().isNull());
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Свойства растра: ")));
    EXPECT_EQ(Plan().Loaded, 0);
    EXPECT_TEXT_EQ(form.StaticText->text(), QStringLiteral("найден; не загружен;"));
}

// The move to another sheet used to re-read the raster and lose what was typed.
TEST_F(RasterProp, ChangeOfSheetKeepsTheEdits)
{
    ProgramDialogHooks().ChangePageLayer = [this](std::uint8_t kind, int& page, int& layer, int& index) {
        MoveObject(*Map, TMoveKind(kind), page, layer, index, 1, -1);
        return mrOk;
    };
    TFormRasterProp form(*Map, 0, 0);
    TypeInto(&form, "YTR", QStringLiteral("77"));
    Click(&form, "sbChangePageLayer");
    EXPECT_EQ(form.PageIndex, 1);
    EXPECT_TEXT_EQ(form.LPage->text(), QStringLiteral("Лист Б"));
    EXPECT_TEXT_EQ(form.YTR->text(), QStringLiteral("77"));
    Click(&form, "BitBtn1");
    EXPECT_EQ(Plan(1, 0).TR.Y, 77);
}

TEST_F(RasterProp, ProfilesRoundTripAndABadLineChangesNothing)
{
    TFormRasterProp form(*Map, 0, 0);
    Click(&form, "btFilterOn");
    form.slLight->setValue(60);
    form.slRed->setValue(80);
    ProfileFile = Run->Folder() + QStringLiteral("мой");
    Click(&form, "ButtonSave");
    ProfileFile += QStringLiteral(".lrgb");
    QFile saved(ProfileFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("60\r\n80\r\n100\r\n100\r\n"));

    form.slLight->setValue(100);
    form.slRed->setValue(100);
    Click(&form, "ButtonOpen");
    EXPECT_EQ(form.slLight->value(), 60);
    EXPECT_EQ(form.slRed->value(), 80);
    EXPECT_EQ(form.Values.R, 80);

    WriteTextFileLines(ProfileFile, {QStringLiteral("50"), QStringLiteral("х"), QStringLiteral("1"),
                                     QStringLiteral("1")});
    Click(&form, "ButtonOpen");
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TEXT_EQ(Messages[0],
                   QStringLiteral("Свойства растра: Строка 2 профиля мой.lrgb не является целым числом"));
    EXPECT_EQ(form.slLight->value(), 60);

    // The profiles the program brings.
    for (const char* name : {"Нейтральный.lrgb", "Светлее.lrgb"}) {
        int L = 0, r = 0, g = 0, b = 0;
        ReadRasterProfile(QStringLiteral(VELMORA_SOURCE_DATA "/Растровые фильтры/") +
                              QString::fromUtf8(name),
                          L, r, g, b);
        EXPECT_EQ(r + g + b, 300) << name;
    }
}

}  // namespace
