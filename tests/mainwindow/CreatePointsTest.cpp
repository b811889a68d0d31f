// Points, height marks and texts made on the main window: the journal line each creator
// gives is what the plan keeps, so the cases check it field by field.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/modes/Creators.h"
#include "semantics/codec/SemDialogs.h"
#include "support/TestHelpers.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

class CreatePoints : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        FixDestination(form, QStringLiteral("Точки"));
        MainMap->LinkToNodes = 0;
        SemScope = std::make_unique<TScopedSemDialogHooks>(RecordingSemDialog(SemCalls, Chosen, SemResult));
        TProgramDialogHooks program;
        program.InpOtm = [this](Extended& height) {
            ++HeightAsked;
            height = Height;
            return HeightResult;
        };
        ProgramScope = std::make_unique<TScopedProgramDialogHooks>(program);
        TDialogHooks hooks = DialogHooks();
        hooks.MessageDlg = [this](const QString& text, TMsgDlgType) {
            Errors << text;
            return mrOk;
        };
        DialogScope = std::make_unique<TScopedDialogHooks>(hooks);
        Before = int(CommandLog->size());
    }
    void TearDown() override { FavouritesPaletteShown = nullptr; }

    // The commands since the last look, without their sheet and layer fields' names.
    QStringList Take()
    {
        const QStringList lines = CommandLog->mid(Before);
        Before = int(CommandLog->size());
        QStringList made;
        for (const QString& line : lines)
            if (line.startsWith(QStringLiteral("mcNewPoint=")) || line.startsWith(QStringLiteral("mcNewText=")))
                made << line;
        return made;
    }

    // The creator called as the release in mode calls it, at the press point (x, y).
    void Create(TMouseMode mode, Extended x, Extended y, int downShift = 0)
    {
        TFormMap& form = Run.Form();
        form.MouseMode = mode;
        form.DownShift = downShift;
        form.Points.Down.Plan = TGeoPoint(x, y);
        form.Points.Up.Plan = TGeoPoint(x, y);
        if (mode == mmCreateText)
            form.CreateTextObject();
        else
            form.CreatePointObject();
    }

    TMainWindowRun Run;
    TSeparatorScope Separator{u'.'};
    std::unique_ptr<TScopedSemDialogHooks> SemScope;
    std::unique_ptr<TScopedProgramDialogHooks> ProgramScope;
    std::unique_ptr<TScopedDialogHooks> DialogScope;
    int Before = 0;
    QString Chosen = QStringLiteral("ТОЧ");
    int SemResult = mrOk;
    Extended Height = 0;
    int HeightResult = mrOk;
    int HeightAsked = 0;
    QStringList SemCalls, Errors;
};

}  // namespace

TEST_F(CreatePoints, CoordinatesByThePrecisionAndTheHeightText)
{
    TFormMap& form = Run.Form();
    struct Case {
        TMouseMode Mode;
        int Precision;
        Extended X, Y, Height;
        int DownShift;
        QChar Separator;
        const char* Line;
    };
    const Case cases[] = {
        {mmCreatePoint, 3, 500.12345L, 700.5L, 0, 0, u'.',
         "mcNewPoint=<0><0><ТОЧ><500.123><700.500><3><0.00><><0><0>"},
        {mmCreatePoint, 0, 500.6L, 700.4L, 0, 0, u'.',
         "mcNewPoint=<0><0><ТОЧ><501><700><0><0.00><><0><0>"},
        {mmCreateOtm, 2, 10, 20, 123.456L, 0, u'.',
         "mcNewPoint=<0><0><ОТА/ИВ123.46;><10.00><20.00><2><0.00><><0><0>"},
        // The comma of the locale goes to the point unless Shift was held at the press.
        {mmCreateOtm, 2, 10, 20, 123.456L, 0, u',',
         "mcNewPoint=<0><0><ОТА/ИВ123.46;><10,00><20,00><2><0,00><><0><0>"},
        {mmCreateOtm, 2, 10, 20, 123.456L, 1, u',',
         "mcNewPoint=<0><0><ОТА/ИВ123,46;><10,00><20,00><2><0,00><><0><0>"},
        // The height check keeps the locale's separator whatever Shift was.
        {mmCheckHeights, 1, 10, 20, 123.456L, 0, u',',
         "mcNewPoint=<0><0><ОТА/ИВ123,46;><10,0><20,0><1><0,00><><0><0>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        const TSeparatorScope separator(c.Separator);
        form.CreatePrecision = c.Precision;
        Height = c.Height;
        form.OtmHeight = c.Height;
        Create(c.Mode, c.X, c.Y, c.DownShift);
        EXPECT_EQ(Take(), QStringList{QString::fromUtf8(c.Line)});
    }
    EXPECT_TRUE(Errors.isEmpty());
    // A height mark becomes the point code.
    EXPECT_EQ(form.PointCode, QStringLiteral("ОТА/ИВ123,46;"));
}

TEST_F(CreatePoints, InterpolatedMarksPadTheirCoordinatesAndAreNotDrawn)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 1;
    form.OtmHeight = 5;
    form.OtmPoint = TGeoPoint(123.45L, 1234.56L);
    Create(mmInterpolateHeights, 0, 0);
    EXPECT_EQ(Take(), QStringList{QStringLiteral("mcNewPoint=<0><0><ОТА/ИВ5.00;><   123.5><  1234.6><1><0.00><><0><0>")});
}

TEST_F(CreatePoints, SemanticsFromTheFavouritesTheSwitchOrTheClassifier)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 1;
    form.PointCode = QStringLiteral("ТОЧ-");
    FavouritesPaletteShown = [](int lm) { return lm == 0; };
    Create(mmCreatePoint, 1, 2);
    EXPECT_TRUE(SemCalls.isEmpty());
    EXPECT_EQ(Take(), QStringList{QStringLiteral("mcNewPoint=<0><0><ТОЧ><1.0><2.0><1><0.00><><0><0>")});
    EXPECT_EQ(form.PointCode, QStringLiteral("ТОЧ-"));

    // A favourite without the flag is offered in the classifier; still not stored.
    form.PointCode = QStringLiteral("ГОР");
    Chosen = QStringLiteral("ДЕР");
    Create(mmCreatePoint, 1, 2);
    EXPECT_EQ(SemCalls, QStringList{QStringLiteral("1|0|ГОР")});
    EXPECT_EQ(Take(), QStringList{QStringLiteral("mcNewPoint=<0><0><ДЕР><1.0><2.0><1><0.00><><0><0>")});
    EXPECT_EQ(form.PointCode, QStringLiteral("ГОР"));

    // Palette hidden, "Не запрашивать семантику" down: the code as it is.
    FavouritesPaletteShown = [](int) { return false; };
    form.PointCode = QStringLiteral("ТОЧ-");
    form.FormInstr1->sbNoSem->SetDown(true);
    SemCalls.clear();
    Create(mmCreatePoint, 1, 2);
    EXPECT_TRUE(SemCalls.isEmpty());
    EXPECT_EQ(Take(), QStringList{QStringLiteral("mcNewPoint=<0><0><ТОЧ-><1.0><2.0><1><0.00><><0><0>")});

    // After a height mark a point under the switch takes the mark's semantics.
    Height = 7;
    Create(mmCreateOtm, 1, 2);
    Create(mmCreatePoint, 1, 2);
    const QStringList two = Take();
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1], QStringLiteral("mcNewPoint=<0><0><ОТА/ИВ7.00;><1.0><2.0><1><0.00><><0><0>"));
    form.FormInstr1->sbNoSem->SetDown(false);

    // The classifier or the height input cancelled: nothing, the code unchanged.
    SemResult = mrCancel;
    form.PointCode = QStringLiteral("ГОР");
    Create(mmCreatePoint, 1, 2);
    HeightResult = mrCancel;
    Height = 99;
    Create(mmCreateOtm, 1, 2);
    EXPECT_TRUE(Take().isEmpty());
    EXPECT_EQ(form.PointCode, QStringLiteral("ГОР"));
    EXPECT_EQ(double(form.OtmHeight), 99.0);   // kept whatever closed the input
}

TEST_F(CreatePoints, CtrlUsesTheDraggedAngleOnceAndADragSendsTheCaptionSettings)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 1;
    form.PointSignAngle = 12.5L;
    form.AutoTextAngle = 900;   // north on the surface
    form.AutoTextDX = 1.5L;
    form.AutoTextDY = -2;
    form.AutoTextSizeFactor = 1;
    form.AutoTextView = 1;
    form.PointCtrlFlag = true;
    form.PointAngleDragged = true;
    Create(mmCreatePoint, 1, 2);
    const QStringList ctrl = Take();
    ASSERT_EQ(ctrl.size(), 1);
    EXPECT_TRUE(ctrl[0].endsWith(QStringLiteral("><><0><0>"))) << ctrl[0].toStdString();
    EXPECT_FALSE(ctrl[0].contains(QStringLiteral("<12.50>")));
    EXPECT_EQ(double(form.PointSignAngle), 12.5);

    form.PointCtrlFlag = false;
    Create(mmCreatePoint, 1, 2);
    EXPECT_EQ(Take(), QStringList{QStringLiteral(
                          "mcNewPoint=<0><0><ТОЧ><1.0><2.0><1><12.50><[{1.50}{-2.00}{900}{1.00}{1}]><1><0>")});
}

TEST_F(CreatePoints, TextsCarryTheStyleWithAStarAndRefuseBrokenFields)
{
    TFormMap& form = Run.Form();
    form.TextCaption = QStringLiteral("Дом");
    form.TextAngle = 450;
    form.TextFontName = QStringLiteral("Arial");
    form.TextColor = 255;
    form.TextFontSize = 2.5L;
    form.TextFontStyle = 1;
    form.TextStyleName = QStringLiteral(">Заголовок");
    Create(mmCreateText, 10.123L, 20);
    form.TextStyleName.clear();
    Create(mmCreateText, 10.123L, 20);
    const QStringList texts = Take();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].endsWith(
        QStringLiteral("><Дом><10.12><20.00><450><1.00><*Заголовок><0><Arial><255><2.50><1000>")))
        << texts[0].toStdString();
    EXPECT_TRUE(texts[1].endsWith(QStringLiteral("><Дом><10.12><20.00><450><1.00><><1><Arial><255><2.50><1000>")))
        << texts[1].toStdString();
    EXPECT_EQ(form.MouseStep, 1);

    form.TextCaption = QStringLiteral("a<b");
    Create(mmCreateText, 1, 2);
    EXPECT_TRUE(Take().isEmpty());
    EXPECT_EQ(Errors.size(), 1);
}

TEST_F(CreatePoints, AClickInPointModeMakesThePointAndTheSavedPlanKeepsIt)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 2;
    form.SetMouseMode(mmCreatePoint, 0, true);
    TSurfaceDriver mouse(form);
    mouse.Move(100, 200);
    mouse.Click(100, 200);
    EXPECT_EQ(SemCalls, QStringList{QStringLiteral("1|0|")});
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].startsWith(QStringLiteral("mcNewPoint=<0><0><ТОЧ><"))) << made[0].toStdString();
    EXPECT_EQ(form.PointCode, QStringLiteral("ТОЧ"));
    // The plan written in the native format keeps the point where the journal put it.
    const QStringList fields = made[0].split(QStringLiteral("><"));
    ASSERT_GE(fields.size(), 5);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    MainMap->WriteDataToDevice(buffer);
    EXPECT_TRUE(buffer.data().contains(fields[3].toLatin1())) << fields[3].toStdString();
    EXPECT_TRUE(buffer.data().contains(fields[4].toLatin1())) << fields[4].toStdString();
}

TEST_F(CreatePoints, ADragInPointModeSetsTheCaptionAngleForLaterPoints)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 1;
    form.AutoTextAngle = 0;
    // One metre a pixel, the plan's origin at the surface's bottom left.
    const QSize size = form.DisplaySurf->size();
    auto view = std::make_unique<RMapView>();
    view->ViewXMax = size.height();
    view->ViewYMax = size.width();
    view->FactorX = view->FactorY = 0.01L;
    MainMap->MapViews.AddItem(std::move(view));
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    form.SetMouseMode(mmCreatePoint, 0, true);
    TSurfaceDriver mouse(form);
    mouse.Move(100, 100);
    mouse.Press(100, 100);
    mouse.Move(115, 100, Qt::LeftButton);
    mouse.Move(130, 100, Qt::LeftButton);
    mouse.Release(130, 100);
    // Dragged to the north: 90° counter-clockwise from the surface's right.
    EXPECT_EQ(form.AutoTextAngle, 900);
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].startsWith(QStringLiteral("mcNewPoint=<0><0><ТОЧ><100.0><100.0>")))
        << made[0].toStdString();
    EXPECT_TRUE(made[0].endsWith(QStringLiteral("{900}{1.00}{0}]><1><0>"))) << made[0].toStdString();
}
