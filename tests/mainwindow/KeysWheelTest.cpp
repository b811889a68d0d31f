// The main window's hot keys and mouse wheel as the user gives them: keys sent to the
// drawing surface with QTest, wheel turns over it; the mode, the palette's buttons, the
// view, the journal and the plan as the oracle.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "foundation/GeoServ.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/FormNavigator.h"
#include "semantics/codec/SemDialogs.h"
#include "support/WidgetEvents.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class KeysWheel : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        ASSERT_NE(form.FormInstr1, nullptr);
        form.FormInstr1->show();
        ExactView(form);
        TSemDialogHooks sem;
        sem.SemDlg = [](int, int&, QString& s) {
            s = QStringLiteral("ДОР");
            return mrOk;
        };
        SemScope = std::make_unique<TScopedSemDialogHooks>(sem);
    }

    TFormMap& Form() { return Run.Form(); }
    // Three height marks at one place, all found by a click there in the select mode.
    void ClickThreeStackedPoints()
    {
        TFormMap& form = Form();
        RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                     "mcNewPoint=<0><0><ПКТ/ИН1;ИВ10><200><300><2><0><><0><0>",
                     "mcNewPoint=<0><0><ПКТ/ИН2;ИВ11><200><300><2><0><><0><0>",
                     "mcNewPoint=<0><0><ПКТ/ИН3;ИВ12><200><300><2><0><><0><0>"});
        ExactView(form);
        form.SetMouseMode(mmSelectObject, 0, true);
        TPixelMouse{form}.Click(TSurfaceDriver(form).At(200, 300));
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        if (key < 0x80 || key >= Qt::Key_Escape) {
            QTest::keyClick(Form().DisplaySurf, Qt::Key(key), mods);
            return;
        }
        // A letter of another alphabet, which QTest cannot type.
        QKeyEvent press(QEvent::KeyPress, key, mods, QString(QChar(key)).toLower());
        QCoreApplication::sendEvent(Form().DisplaySurf, &press);
    }
    // One wheel notch (or part of one) over the surface at pixel at.
    void Wheel(QPoint at, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWheelEvent e(QPointF(at), Form().DisplaySurf->mapToGlobal(QPointF(at)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Form().DisplaySurf, &e);
    }
    // The plan point at the surface pixel.
    TGeoPoint PlanAt(QPoint p)
    {
        Extended x = 0, y = 0;
        MainMap->ScrToGeo(Run.Form().DisplaySurf->height(), p.x(), p.y(), x, y);
        return TGeoPoint(x, y);
    }
    TGeoPoint ViewMin() const { return TGeoPoint(MainMap->ViewXMin, MainMap->ViewYMin); }
    bool GlyphShown(int n)
    {
        return Form().WheelBtn->icon().pixmap(23, 23).toImage().convertToFormat(QImage::Format_ARGB32) ==
               WheelGlyph(n).convertToFormat(QImage::Format_ARGB32);
    }

    TMainWindowRun Run;
    std::unique_ptr<TScopedSemDialogHooks> SemScope;
};

TEST_F(KeysWheel, FunctionKeysPressTheirPaletteButtonAndNeedNoModifier)
{
    struct Case {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Mods;
        TMouseMode From;
        TMouseMode To;
        TExSpeedButton* TFormInstr1::*Button;   // down afterwards; null: none asked
    };
    const Case cases[] = {
        {"F1", Qt::Key_F1, Qt::NoModifier, mmSelectView, mmCreatePoint, &TFormInstr1::sbPoint},
        {"F2", Qt::Key_F2, Qt::NoModifier, mmSelectView, mmCreateLine, &TFormInstr1::sbLine},
        {"F3", Qt::Key_F3, Qt::NoModifier, mmCreateLine, mmCreatePolygon, &TFormInstr1::sbPolygon},
        {"F4", Qt::Key_F4, Qt::NoModifier, mmSelectView, mmCreateText, &TFormInstr1::sbText},
        {"F5", Qt::Key_F5, Qt::NoModifier, mmSelectView, mmCreateOtm, &TFormInstr1::sbOtm},
        {"F6", Qt::Key_F6, Qt::NoModifier, mmCreateLine, mmSelectView, &TFormInstr1::sbSelectView},
        {"F7", Qt::Key_F7, Qt::NoModifier, mmSelectView, mmSelectObject, &TFormInstr1::sbSelectObject},
        {"F1 with Ctrl", Qt::Key_F1, Qt::ControlModifier, mmSelectView, mmSelectView, nullptr},
        {"F1 with Shift", Qt::Key_F1, Qt::ShiftModifier, mmCreateLine, mmCreateLine, nullptr},
        {"F7 with Alt", Qt::Key_F7, Qt::AltModifier, mmSelectView, mmSelectView, nullptr},
        {"F9 is no key", Qt::Key_F9, Qt::NoModifier, mmCreateLine, mmCreateLine, nullptr},
    };
    TFormMap& form = Form();
    // F4 shows the text's creation settings first, as the palette's button does.
    QList<int> settingsPages;
    MapHooks().ObjectDestDlg = [&settingsPages](int page) { return settingsPages << page, 2; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        form.SetMouseMode(c.From, 0, true);
        Key(c.Key, c.Mods);
        EXPECT_EQ(form.MouseMode, c.To);
        if (c.Button) {
            EXPECT_TRUE((form.FormInstr1->*c.Button)->Down());
        }
    }
    EXPECT_EQ(settingsPages, QList<int>{3});
    // F3 brings the polygon panel with its mode; F6 takes it away.
    form.SetMouseMode(mmSelectView, 0, true);
    Key(Qt::Key_F3);
    EXPECT_TRUE(form.FormInstr1->pnPolygonProp->isVisible());
    Key(Qt::Key_F6);
    EXPECT_FALSE(form.FormInstr1->pnPolygonProp->isVisible());
}

TEST_F(KeysWheel, F12StartsContourTracingWithItsHeightQuestion)
{
    TFormMap& form = Form();
    form.SetMouseMode(mmSelectView, 0, true);
    int asked = 0;
    const TScopedProgramDialogHooks scope;
    ProgramDialogHooks().InpFlt = [&asked](Extended& value, const QString&, const QString&) {
        ++asked;
        value = 120;
        return mrOk;
    };
    Key(Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(asked, 0);
    Key(Qt::Key_F12);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(form.MouseMode, mmTraceContour);
    EXPECT_EQ(double(form.ContourHeight), 120.0);
}

TEST_F(KeysWheel, F8RestoresTheSavedMode)
{
    TFormMap& form = Form();
    form.SetMouseMode(mmSelectObject, 0, true);
    form.SetMouseMode(mmSelectView, 0, true);   // the select mode is kept in the memory
    ASSERT_EQ(form.ModeMemory.SavedMouseMode, mmSelectObject);
    Key(Qt::Key_F8);
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_TRUE(form.FormInstr1->sbSelectObject->Down());
}

TEST(KeysBeforeThePalette, DoNothingDuringTheStart)
{
    TMainWindowRun run;
    run.Start(false);   // the start timer, which makes the palette, has not fired
    TFormMap& form = run.Form();
    ASSERT_EQ(form.FormInstr1, nullptr);
    const TMouseMode mode = form.MouseMode;
    for (int key : {int(Qt::Key_F1), int(Qt::Key_F3), int(Qt::Key_Space), int(Qt::Key_Escape)})
        QTest::keyClick(form.DisplaySurf, Qt::Key(key));
    QTest::keyClick(form.DisplaySurf, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(form.MouseMode, mode);
}

TEST_F(KeysWheel, TheSelectModeKeysWalkAndClearTheFoundObjects)
{
    TFormMap& form = Form();
    ClickThreeStackedPoints();
    QComboBox* box = form.ComboBoxSelectedObjects();
    ASSERT_EQ(box->count(), 3);
    ASSERT_EQ(box->currentIndex(), 0);
    const qsizetype journal = CommandLog->size();

    // Space goes round the three, whatever keys are held.
    Key(Qt::Key_Space);
    EXPECT_EQ(box->currentIndex(), 1);
    Key(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(box->currentIndex(), 2);
    Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(box->currentIndex(), 0);

    // Delete without Shift deletes nothing; nor does a key of another mode's table.
    Key(Qt::Key_Delete);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CommandLog->size(), journal);
    EXPECT_EQ(MainMap->FoundObjects.GetCount(), 3);
    EXPECT_EQ(box->count(), 3);

    // Space outside the select mode walks nothing; Esc there clears nothing.
    form.SetMouseMode(mmSelectView, 0, true);
    Key(Qt::Key_Space);
    Key(Qt::Key_Escape);
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_EQ(box->count(), 3);

    // Esc in the select mode, with Alt held too, drops the selection.
    form.SetMouseMode(mmSelectObject, 0, true);
    Key(Qt::Key_Escape, Qt::AltModifier);
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(MainMap->FoundObjects.GetCount(), 0);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("0"));
    // With nothing found Space is harmless.
    Key(Qt::Key_Space);
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(CommandLog->size(), journal);
}

TEST_F(KeysWheel, BackspaceAndShiftDeleteDeleteTheChosenObject)
{
    TFormMap& form = Form();
    ClickThreeStackedPoints();
    ASSERT_EQ(form.ComboBoxSelectedObjects()->count(), 3);

    // Backspace deletes whatever keys are held; the pick runs again at the click.
    Key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelPoint=<0><0><0>"));
    EXPECT_EQ(form.ComboBoxSelectedObjects()->count(), 2);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelPoint=<0><0><0>"));
    EXPECT_EQ(form.ComboBoxSelectedObjects()->count(), 1);

    // Outside the select mode neither key deletes.
    const qsizetype journal = CommandLog->size();
    form.SetMouseMode(mmSelectView, 0, true);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(CommandLog->size(), journal);
    EXPECT_EQ(MainMap->GetPointsCount(0, 0), 1);
}

TEST_F(KeysWheel, CtrlSTogglesSnappingThroughTheLinkButton)
{
    TFormMap& form = Form();
    TExSpeedButton* link = form.FormInstr1->btLink;
    const bool wasDown = link->Down();
    QTest::keyClick(form.DisplaySurf, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(link->Down(), !wasDown);
    EXPECT_EQ(MainMap->LinkToNodes != 0, !wasDown);
    // Under the Russian layout the same key arrives as "Ы".
    QKeyEvent russian(QEvent::KeyPress, 0x42B, Qt::ControlModifier, QStringLiteral("ы"));
    QCoreApplication::sendEvent(form.DisplaySurf, &russian);
    EXPECT_EQ(link->Down(), wasDown);
    EXPECT_EQ(MainMap->LinkToNodes != 0, wasDown);
    // S alone or with Shift is no hot key.
    QTest::keyClick(form.DisplaySurf, Qt::Key_S);
    QTest::keyClick(form.DisplaySurf, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(link->Down(), wasDown);
}

TEST_F(KeysWheel, CtrlEqualsAndMinusZoomTwiceWhileThePaletteShows)
{
    TFormMap& form = Form();
    const int start = MainMap->OutputScale;
    ASSERT_GT(start, 10);
    Key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(MainMap->OutputScale, int(std::nearbyint(start * 0.5)));
    Key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(MainMap->OutputScale, int(std::nearbyint(start * 0.5)) * 2);
    const int now = MainMap->OutputScale;
    // The keypad's minus is another key; "=" alone is none.
    Key(Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    Key(Qt::Key_Equal);
    EXPECT_EQ(MainMap->OutputScale, now);
    // A hidden palette takes no zoom keys.
    form.FormInstr1->hide();
    Key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(MainMap->OutputScale, now);
}

TEST_F(KeysWheel, PolygonKeysSetTheNextSegmentOnlyWhileAPolygonIsMade)
{
    struct Case {
        const char* Name;
        int Key;
        int Type, Style, NodeLine, NodePicture;   // after the key
    };
    // From type 0, style 0, line 0, picture 0, one key after the other.
    const Case cases[] = {
        {"Ctrl+X special I", Qt::Key_X, 1, 1, 0, 0},
        {"Ctrl+A hides", Qt::Key_A, 1, 2, 0, 0},
        {"Ctrl+C special II, still hidden", Qt::Key_C, 2, 2, 0, 0},
        {"Ctrl+A shows, visible for type II", Qt::Key_A, 2, 0, 0, 0},
        {"Ctrl+Z main", Qt::Key_Z, 0, 0, 0, 0},
        {"Ctrl+L no line to the node", Qt::Key_L, 0, 0, 1, 0},
        {"Ctrl+P no picture in the node", Qt::Key_P, 0, 0, 1, 1},
        {"Ctrl+P picture again", Qt::Key_P, 0, 0, 1, 0},
        {"Russian Ч is Ctrl+X", 0x427, 1, 1, 1, 0},
    };
    TFormMap& form = Form();
    form.SetMouseMode(mmCreatePolygon, 0, true);
    form.SetPolygonAttributes(0, 0, 0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Key(c.Key, Qt::ControlModifier);
        EXPECT_EQ(form.PolygonSegmentType, c.Type);
        EXPECT_EQ(form.PolygonSegmentStyle, c.Style);
        EXPECT_EQ(form.PolygonNodeLine, c.NodeLine);
        EXPECT_EQ(form.PolygonNodePicture, c.NodePicture);
    }
    // In another mode, and without Ctrl, the same keys leave the attributes alone.
    Key(Qt::Key_Z);
    EXPECT_EQ(form.PolygonSegmentType, 1);
    form.SetMouseMode(mmCreateLine, 0, true);
    for (int key : {Qt::Key_Z, Qt::Key_A, Qt::Key_L, Qt::Key_P})
        Key(key, Qt::ControlModifier);
    EXPECT_EQ(form.PolygonSegmentType, 1);
    EXPECT_EQ(form.PolygonSegmentStyle, 1);
    EXPECT_EQ(form.PolygonNodeLine, 1);
    EXPECT_EQ(form.PolygonNodePicture, 0);
}

TEST_F(KeysWheel, CtrlDuringAPointDragShowsTheCrossOnce)
{
    TFormMap& form = Form();
    form.SetMouseMode(mmCreatePoint, 0, true);
    const TPixelMouse mouse{form};
    const QPoint at(200, 150);
    // Ctrl with no button held is nothing.
    Key(Qt::Key_Control, Qt::ControlModifier);
    EXPECT_FALSE(form.PointCtrlFlag);
    // Ctrl with Shift is not Ctrl alone.
    mouse.Move(at);
    mouse.Press(at);
    mouse.Move(at + QPoint(30, -20), Qt::LeftButton);
    SendKey(form.DisplaySurf, Qt::Key_Control, Qt::ShiftModifier);
    EXPECT_FALSE(form.PointCtrlFlag);
    mouse.Release(at + QPoint(30, -20));
    EXPECT_FALSE(form.PointCtrlFlag);
    mouse.Move(at);
    mouse.Press(at);
    mouse.Move(at + QPoint(30, -20), Qt::LeftButton);
    const QImage simple = form.DisplaySurf->Canvas.copy();
    // Ctrl's own press, as systems that report it held only afterwards give it.
    SendKey(form.DisplaySurf, Qt::Key_Control);
    EXPECT_TRUE(form.PointCtrlFlag);
    // The picture was copied over the simple gizmo; the next move draws the cross.
    const QImage wiped = form.DisplaySurf->Canvas.copy();
    EXPECT_NE(wiped, simple);
    EXPECT_EQ(wiped, PictureOnly(form));
    mouse.Move(at + QPoint(31, -20), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_NE(form.DisplaySurf->Canvas, simple);
    mouse.Release(at + QPoint(31, -20), Qt::ControlModifier);
}

TEST_F(KeysWheel, AsAUserF3ClicksAndARightClickMakeAPolygonThePlanKeeps)
{
    TFormMap& form = Form();
    FixDestination(form, QStringLiteral("Общий"));
    MainMap->LinkToNodes = 0;
    MapHooks().MenuExec = [](QMenu& menu, QPoint) -> QAction* {
        for (QAction* a : menu.actions())
            if (a->text() == QStringLiteral("Закончить полигон")) {
                a->trigger();   // as the menu does when the item is chosen
                return a;
            }
        return nullptr;
    };
    form.SetMouseMode(mmSelectView, 0, true);
    const qsizetype journal = CommandLog->size();
    Key(Qt::Key_F3);
    ASSERT_EQ(form.MouseMode, mmCreatePolygon);
    TSurfaceDriver mouse(form);
    for (const TGeoPoint& p : {TGeoPoint(100, 100), TGeoPoint(150, 130), TGeoPoint(100, 160)}) {
        mouse.Move(p.X, p.Y);
        mouse.Click(p.X, p.Y);
    }
    mouse.Click(100, 160, Qt::RightButton);
    MapHooks().MenuExec = nullptr;
    QStringList made;
    for (const QString& line : CommandLog->mid(journal))
        if (line.startsWith(QStringLiteral("mcNewPolygon=")))
            made << line;
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].startsWith(QStringLiteral("mcNewPolygon=<0><0><ДОР><[{100"))) << made[0].toStdString();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    MainMap->WriteDataToDevice(buffer);
    EXPECT_EQ(MainMap->Pages.At(0)->Layers.At(0)->Polygons.GetCount(), 1);
    EXPECT_TRUE(buffer.data().contains("150.00 130.00")) << buffer.data().toStdString();
}

// ---- The wheel ---------------------------------------------------------------------------

TEST_F(KeysWheel, EachWheelModeActsByTheKeysHeld)
{
    enum TAction { Zoom, Horizontal, Vertical, Nothing };
    struct Case {
        int Mode;
        Qt::KeyboardModifiers Mods;
        TAction Action;
    };
    const Case cases[] = {
        {1, Qt::NoModifier, Vertical},   {1, Qt::ShiftModifier, Zoom},
        {1, Qt::ControlModifier, Horizontal}, {1, Qt::AltModifier, Nothing},
        {2, Qt::NoModifier, Zoom},       {2, Qt::ShiftModifier, Vertical},
        {2, Qt::ControlModifier, Horizontal}, {2, Qt::ControlModifier | Qt::ShiftModifier, Nothing},
        {3, Qt::NoModifier, Nothing},
    };
    TFormMap& form = Form();
    const QSize size = form.DisplaySurf->size();
    const QPoint at(size.width() / 2, size.height() / 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.Mode << " keys " << int(c.Mods));
        ExactView(form);
        form.WheelMode = std::uint8_t(c.Mode);
        form.SetWheelAction(c.Action == Nothing ? 1 : (int(c.Action) + 1) % 3);   // not the one expected
        TPixelMouse{form}.Move(at);
        const TGeoPoint min = ViewMin();
        const int scale = MainMap->OutputScale;
        const int action = form.WheelAction;
        Wheel(at, 120, c.Mods);
        switch (c.Action) {
        case Zoom:
            EXPECT_LT(MainMap->OutputScale, scale);
            EXPECT_EQ(form.WheelAction, 0);
            break;
        case Horizontal:   // east by an eighth of the window: a pixel is a metre
            EXPECT_EQ(double(MainMap->ViewYMin - min.Y), size.width() / 8.0);
            EXPECT_EQ(double(MainMap->ViewXMin), double(min.X));
            EXPECT_EQ(MainMap->OutputScale, scale);
            EXPECT_EQ(form.WheelAction, 1);
            EXPECT_TRUE(GlyphShown(1));
            break;
        case Vertical:     // north
            EXPECT_EQ(double(MainMap->ViewXMin - min.X), size.height() / 8.0);
            EXPECT_EQ(double(MainMap->ViewYMin), double(min.Y));
            EXPECT_EQ(form.WheelAction, 2);
            EXPECT_TRUE(GlyphShown(2));
            break;
        case Nothing:
            EXPECT_EQ(double(MainMap->ViewXMin), double(min.X));
            EXPECT_EQ(double(MainMap->ViewYMin), double(min.Y));
            EXPECT_EQ(MainMap->OutputScale, scale);
            EXPECT_EQ(form.WheelAction, action);
            break;
        }
    }
    // A turn towards the user goes the other way: south, then west.
    ExactView(form);
    form.WheelMode = 2;
    TGeoPoint min = ViewMin();
    Wheel(at, -120, Qt::ShiftModifier);
    EXPECT_EQ(double(MainMap->ViewXMin - min.X), -size.height() / 8.0);
    min = ViewMin();
    Wheel(at, -120, Qt::ControlModifier);
    EXPECT_EQ(double(MainMap->ViewYMin - min.Y), -size.width() / 8.0);
}

TEST_F(KeysWheel, AWheelZoomKeepsThePlanPointUnderTheCursor)
{
    TFormMap& form = Form();
    form.WheelMode = 2;
    const QPoint at(123, 77);
    TPixelMouse{form}.Move(at);
    const TGeoPoint before = PlanAt(at);
    const int scale = MainMap->OutputScale;
    Wheel(at, 120);
    EXPECT_EQ(MainMap->OutputScale, int(std::nearbyint(scale / 1.125)));
    const Extended metresPerPixel = 1.0L / (MainMap->FactorX * 100);
    EXPECT_LE(std::fabs(double(PlanAt(at).X - before.X)), double(metresPerPixel));
    EXPECT_LE(std::fabs(double(PlanAt(at).Y - before.Y)), double(metresPerPixel));
    EXPECT_EQ(MainMap->ZoomAnchorOn, 0);
    // And out again, about the same point.
    Wheel(at, -120);
    EXPECT_EQ(MainMap->OutputScale, scale);
    EXPECT_LE(std::fabs(double(PlanAt(at).X - before.X)), 1.0);
    EXPECT_LE(std::fabs(double(PlanAt(at).Y - before.Y)), 1.0);
    EXPECT_TRUE(GlyphShown(0));
}

TEST_F(KeysWheel, TheManualWheelDoesWhatItsButtonShows)
{
    TFormMap& form = Form();
    form.WheelMode = 0;
    form.SetWheelAction(1);
    const QSize size = form.DisplaySurf->size();
    const QPoint at(100, 100);
    TPixelMouse{form}.Move(at);
    // Horizontal whatever keys are held.
    for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::NoModifier),
                                       Qt::KeyboardModifiers(Qt::ShiftModifier),
                                       Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier)}) {
        const TGeoPoint min = ViewMin();
        Wheel(at, 120, mods);
        EXPECT_EQ(double(MainMap->ViewYMin - min.Y), size.width() / 8.0);
        EXPECT_EQ(form.WheelAction, 1);
    }
    EXPECT_TRUE(GlyphShown(1));
    // Shift alone, pressed and released, switches to vertical; held down it switches once.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QCoreApplication::sendEvent(form.DisplaySurf, &press);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, QString(), true);
    QCoreApplication::sendEvent(form.DisplaySurf, &repeat);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QCoreApplication::sendEvent(form.DisplaySurf, &release);
    EXPECT_EQ(form.WheelAction, 2);
    EXPECT_TRUE(GlyphShown(2));
    TGeoPoint min = ViewMin();
    Wheel(at, 120);
    EXPECT_EQ(double(MainMap->ViewXMin - min.X), size.height() / 8.0);
    // The button and the middle button on the window step on: zoom, then horizontal.
    form.WheelBtn->click();
    EXPECT_EQ(form.WheelAction, 0);
    EXPECT_TRUE(GlyphShown(0));
    QWidget* panel = form.WheelBtn->parentWidget();
    QTest::mouseClick(panel, Qt::MiddleButton, Qt::NoModifier, QPoint(panel->width() - 2, 2));
    EXPECT_EQ(form.WheelAction, 1);
    // The middle button on the surface is the surface's own.
    QTest::mouseClick(form.DisplaySurf, Qt::MiddleButton, Qt::NoModifier, at);
    EXPECT_EQ(form.WheelAction, 1);

    // In an automatic mode the button, the middle button and Shift change nothing.
    form.WheelMode = 2;
    form.WheelBtn->click();
    QTest::mouseClick(panel, Qt::MiddleButton, Qt::NoModifier, QPoint(panel->width() - 2, 2));
    QCoreApplication::sendEvent(form.DisplaySurf, &press);
    EXPECT_EQ(form.WheelAction, 1);
    // Shift with Ctrl held is not Shift alone.
    form.WheelMode = 0;
    QKeyEvent withCtrl(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier | Qt::ControlModifier);
    QCoreApplication::sendEvent(form.DisplaySurf, &withCtrl);
    EXPECT_EQ(form.WheelAction, 1);
    // The three glyphs on the button, for review.
    for (int n = 0; n < 3; ++n) {
        form.SetWheelAction(n);
        SaveGrab(*form.WheelBtn, QStringLiteral("wheel-button-%1").arg(n));
    }
}

TEST_F(KeysWheel, SmallDeltasAreSummedToWholeNotches)
{
    TFormMap& form = Form();
    form.WheelMode = 2;
    const QSize size = form.DisplaySurf->size();
    const QPoint at(100, 100);
    TPixelMouse{form}.Move(at);
    const TGeoPoint min = ViewMin();
    // A touchpad's swipe: three small deltas are not yet a notch, the fourth makes one.
    for (int i = 0; i < 3; ++i)
        Wheel(at, 30, Qt::ControlModifier);
    EXPECT_EQ(double(MainMap->ViewYMin), double(min.Y));
    Wheel(at, 30, Qt::ControlModifier);
    EXPECT_EQ(double(MainMap->ViewYMin - min.Y), size.width() / 8.0);
    // A turn back starts afresh: 90 one way and 90 the other are no notch.
    Wheel(at, 90, Qt::ControlModifier);
    Wheel(at, -90, Qt::ControlModifier);
    EXPECT_EQ(double(MainMap->ViewYMin - min.Y), size.width() / 8.0);
    // Two notches in one event are two steps.
    Wheel(at, 240, Qt::ControlModifier);
    EXPECT_EQ(double(MainMap->ViewYMin - min.Y), 3 * size.width() / 8.0);
}

TEST_F(KeysWheel, TheWheelStepsAsTheNavigatorsStepButtonSays)
{
    TFormMap& form = Form();
    form.WheelMode = 2;
    const QSize size = form.DisplaySurf->size();
    const QPoint at(40, 50);
    TPixelMouse{form}.Move(at);
    // The navigator made and "50%" down: half the window and the factor 1.5.
    form.FormInstr1->sbNavigatorShow->SetDown(true);
    form.FormInstr1->sbNavigatorShowClick();
    ASSERT_NE(FormNavigator, nullptr);
    FormNavigator->btn12->SetDown(true);
    ExactView(form);
    const TGeoPoint min = ViewMin();
    Wheel(at, 120, Qt::ControlModifier);
    EXPECT_EQ(double(MainMap->ViewYMin - min.Y), size.width() / 2.0);
    const int scale = MainMap->OutputScale;
    Wheel(at, 120);
    EXPECT_EQ(MainMap->OutputScale, int(std::nearbyint(scale / 1.5)));
}

TEST(WheelWithoutAView, DoesNothing)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    MainMap->FactorX = MainMap->FactorY = 0;
    const int views = MainMap->MapViews.GetCount();
    QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                  Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(form.DisplaySurf, &e);
    EXPECT_EQ(MainMap->MapViews.GetCount(), views);
    EXPECT_EQ(double(MainMap->FactorX), 0.0);
}

}  // namespace
