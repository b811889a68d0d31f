// The raster-export and print parameter windows: the size line, the values handed back
// whatever the result, and a scale or resolution that gives no size refused.
#include "DialogsTestSupport.h"

#include "dialogs/file/UnitSaveRastr.h"
#include "foundation/ui/NumEdit.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QComboBox>
#include <QPushButton>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

TEST(RasterSizeLine, PixelsAndBytesOfTheImage)
{
    TSeparatorScope point(QLatin1Char('.'));
    struct Case {
        Extended North, East;
        int Scale;
        Extended Dpi;
        int Bits;
        const char* Line;
    };
    const Case cases[] = {
        {250, 250, 500, 300, 8, "Размер BMP (5906x5906)=33Mb"},
        {250, 250, 5000, 300, 1, "Размер BMP (591x591)=42.57Kb"},
        {250, 250, 500, 300, 24, "Размер BMP (5906x5906)=100Mb"},
        {100, 250, 1000, 200, 1, "Размер BMP (1969x787)=189.21Kb"},
        {250, 250, 500, 300, 0, "Размер BMP (5906x5906)=0.00Kb"},   // no choice on
        {250, 250, 0, 300, 8, ""},    // no size: never a division by zero
        {250, 250, -5, 300, 8, ""},
        {250, 250, 500, 0, 8, ""},
        {250, 250, 500, -300, 8, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        EXPECT_EQ(RasterSizeLine(c.North, c.East, c.Scale, c.Dpi, c.Bits), QString::fromUtf8(c.Line));
    }
}

TEST_F(ProgramWindows, SaveRastrDepthAndValuesHandedBack)
{
    TSeparatorScope comma(QLatin1Char(','));
    struct Case {
        const char* Choice;
        TPixelDepth Depth;
    };
    const Case cases[] = {{"pf1", 1}, {"pf4", 2}, {"pf8", 3}, {"pf16", 5}, {"pf24", 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Choice);
        int scale = 500;
        Extended dpi = 300;
        TPixelDepth depth = 3;
        TModalScript script;
        script.Then("TFormSaveRastr", [&c](QWidget* w) {
            EXPECT_EQ(Control<QComboBox>(w, "cbDPI")->currentText(), QStringLiteral("300"));
            EXPECT_TRUE(Control<QRadioButton>(w, "pf8")->isChecked());
            EXPECT_EQ(Control<QLabel>(w, "LabelSize")->text(), QStringLiteral("Размер BMP (5906x5906)=33Mb"));
            Click(w, c.Choice);
            Enter(w);
        });
        EXPECT_EQ(SaveRastrDlg(scale, dpi, depth, 1000, 2000, 1250, 2250), mrOk);
        EXPECT_EQ(depth, c.Depth);
        EXPECT_EQ(scale, 500);
        EXPECT_EQ(dpi, 300);
    }
}

TEST_F(ProgramWindows, SaveRastrCancelHandsBackTheEditedValues)
{
    TSeparatorScope comma(QLatin1Char(','));
    int scale = 500;
    Extended dpi = 300;
    TPixelDepth depth = 3;
    TModalScript script;
    script.Then("TFormSaveRastr", [](QWidget* w) {
        Click(w, "B5000");
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit1")->text(), QStringLiteral("5000"));
        Click(w, "pf1");
        EXPECT_EQ(Control<QLabel>(w, "LabelSize")->text(), QStringLiteral("Размер BMP (591x591)=42,57Kb"));
        auto* dpiBox = Control<QComboBox>(w, "cbDPI");
        dpiBox->lineEdit()->selectAll();
        TypeText(dpiBox->lineEdit(), QStringLiteral("600.5"));
        SaveWindowPicture(w, QStringLiteral("save-rastr"));
        Esc(w);
    });
    EXPECT_EQ(SaveRastrDlg(scale, dpi, depth, 0, 0, 250, 250), mrCancel);
    EXPECT_EQ(scale, 5000);
    EXPECT_EQ(dpi, 600.5L);
    EXPECT_EQ(depth, 1);
}

// A scale of 0 made the size line divide by zero on the keystroke itself.
TEST_F(ProgramWindows, SaveRastrWithoutASizeRefusesDone)
{
    int scale = 500;
    Extended dpi = 300;
    TPixelDepth depth = 3;
    TModalScript script;
    script.Then("TFormSaveRastr", [](QWidget* w) {
        auto* done = Control<QPushButton>(w, "BitBtn1");
        TypeInto(w, "NumEdit1", QStringLiteral("0"));
        EXPECT_EQ(Control<QLabel>(w, "LabelSize")->text(), QStringLiteral("Размер"));
        QTest::mouseClick(done, Qt::LeftButton);
        EXPECT_TRUE(w->isVisible()) << "a scale of 0 is refused";
        EXPECT_EQ(w->focusWidget(), Control(w, "NumEdit1"));
        TypeInto(w, "NumEdit1", QStringLiteral("1000"));
        auto* dpiBox = Control<QComboBox>(w, "cbDPI");
        dpiBox->lineEdit()->selectAll();
        TypeText(dpiBox->lineEdit(), QStringLiteral("сто"));
        EXPECT_EQ(Control<QLabel>(w, "LabelSize")->text(), QStringLiteral("Размер"));
        QTest::mouseClick(done, Qt::LeftButton);
        EXPECT_TRUE(w->isVisible()) << "a resolution that is no number is refused";
        dpiBox->lineEdit()->selectAll();
        TypeText(dpiBox->lineEdit(), QStringLiteral("200"));
        Enter(w);
    });
    EXPECT_EQ(SaveRastrDlg(scale, dpi, depth, 0, 0, 100, 100), mrOk);
    EXPECT_EQ(scale, 1000);
    EXPECT_EQ(dpi, 200);
    EXPECT_TRUE(script.Done());
}

TEST_F(ProgramWindows, PrintScaleDepthFactorsAndScale)
{
    struct Case {
        const char* Button;
        TPixelDepth Depth;
    };
    const Case cases[] = {{"sb2", 1}, {"sb16", 2}, {"sb256", 3}, {"sbHi", 5}, {"sbTc", 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Button);
        int scale = 500;
        TPixelDepth depth = 3;
        Extended kx = 1, ky = 1;
        TModalScript script;
        script.Then("TFormPrintScale", [&c](QWidget* w) {
            auto* scaleEdit = Control<QLineEdit>(w, "NumEdit1");
            EXPECT_EQ(w->focusWidget(), scaleEdit);
            EXPECT_EQ(scaleEdit->selectedText(), QStringLiteral("500"));
            EXPECT_TRUE(Control<QToolButton>(w, "sb256")->isChecked());
            EXPECT_EQ(Control<QLineEdit>(w, "MX")->text(), QStringLiteral("1.000"));
            Click(w, c.Button);
            Click(w, "B2000");
            TypeInto(w, "MY", QStringLiteral("0,985"));
            Esc(w);
        });
        EXPECT_EQ(PrintScaleDlg(scale, depth, kx, ky), mrCancel);
        EXPECT_EQ(depth, c.Depth);
        EXPECT_EQ(scale, 2000);
        EXPECT_EQ(kx, 1);
        EXPECT_EQ(ky, 0.985L);
    }
}

TEST_F(ProgramWindows, PrintScaleRefusesAScaleBelowOne)
{
    int scale = 500;
    TPixelDepth depth = 3;
    Extended kx = 1, ky = 1;
    TModalScript script;
    script.Then("TFormPrintScale", [](QWidget* w) {
        TypeInto(w, "NumEdit1", QStringLiteral("0"));
        Click(w, "Button1");
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->focusWidget(), Control(w, "NumEdit1"));
        SaveWindowPicture(w, QStringLiteral("print-scale"));
        Click(w, "B1000");
        Click(w, "Button1");
    });
    EXPECT_EQ(PrintScaleDlg(scale, depth, kx, ky), mrOk);
    EXPECT_EQ(scale, 1000);
    EXPECT_TRUE(script.Done());
}
