// Rasters, texts and points moved and turned in the select mode, the object pop-ups'
// properties and delete items, the button that shows the chosen object and the delete of
// the chosen object; the journal's last lines and the saved plan are the oracle.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "foundation/ProgramDialogs.h"
#include "mainwindow/modes/EditMenus.h"
#include "platform/CodePage.h"
#include "semantics/signs/Symbols.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>


namespace {

class ObjectMoves : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        AddExactView(Form());
        Form().SetMouseMode(mmSelectObject, 0, true);
    }

    TFormMap& Form() { return Run.Form(); }

    // Sheet 0 with layer 0 holding the objects of commands, drawn.
    void Plan(std::initializer_list<const char*> commands)
    {
        RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>"});
        RunCommands(commands);
        Redraw();
    }
    void Redraw()
    {
        const QSize size = Form().DisplaySurf->size();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    }
    // The selection dropped, then a click at the plan point that finds count objects.
    void Choose(Extended x, Extended y, const char* count = "1")
    {
        Form().btClearSelectedClick();
        const TPixelMouse mouse{Form()};
        mouse.Click(TSurfaceDriver(Form()).At(x, y));
        ASSERT_EQ(Form().FoundCount->text(), QString::fromUtf8(count));
    }
    // The apply routine of the chosen object's kind for a drag from down to up with the
    // keys held at the press (1 Shift, 4 Ctrl); the journal lines it added.
    QStringList Drag(void (TFormMap::*apply)(), int part, TGeoPoint down, TGeoPoint up, int keys = 0)
    {
        TFormMap& form = Form();
        const int before = int(CommandLog->size());
        form.SelectedPart = std::uint8_t(part);
        form.Points.Down.Plan = down;
        form.Points.Up.Plan = up;
        form.DownShift = keys;
        (form.*apply)();
        return CommandLog->mid(before);
    }
    QString Saved()
    {
        Run.SaveAsName = Run.Folder() + QStringLiteral("объекты.500");
        EXPECT_TRUE(Form().SaveAs());
        QFile file(Run.SaveAsName);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return DecodeCodePage(file.readAll());
    }
    const RFindedObject* Chosen() { return MainMap->FoundObjects.At(Form().SelectedFoundIndex()); }

    TMainWindowRun Run;
    TScopedProgramDialogHooks Scope;
};

QString Lines(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

TEST_F(ObjectMoves, ARasterMovesByTheDragAndWithCtrlAlongTheLongerAxisOnly)
{
    Plan({"mcNewRastr=<0><подложка.bmp><100><100><200><200><1><фильтр><90><80><70><150><1>"});
    MainMap->SelectObjectKind = 1;   // the selection filter on rasters
    ASSERT_NO_FATAL_FAILURE(Choose(150, 150));
    ASSERT_EQ(Chosen()->Kind, fkRastr);
    const QString before = Decimal("mcSetRastrProp=<0><0><подложка.bmp><%1><%2><%3><%4><1><фильтр><90><80><70><150><1>");
    // 3 m east and 0.4 m north: with Ctrl only the 3 m east.
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyRastrMove, 3, {150, 150}, {150.4L, 153}, 4)),
              before.arg(Decimal("100,000"), Decimal("103,000"), Decimal("200,000"), Decimal("203,000")));
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyRastrMove, 3, {150, 150}, {150.4L, 153})),
              before.arg(Decimal("100,400"), Decimal("106,000"), Decimal("200,400"), Decimal("206,000")));
    // Still chosen after the move, at its new place.
    EXPECT_EQ(Form().FoundCount->text(), QStringLiteral("1"));
    const TGeoPoints& outline = Chosen()->Regions.At(0)->Outline;
    Extended west = 1e9;
    for (int i = 0; i < outline.GetCount(); ++i)
        west = std::min(west, outline.At(i)->Y);
    EXPECT_EQ(double(west), 106.0);
}

TEST_F(ObjectMoves, ATextTurnsAboutItsPositionWithCtrlAndMovesWithoutIt)
{
    Plan({"mcNewText=<0><0><Река><100><100><0><1><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(100, 101));
    ASSERT_EQ(Chosen()->Kind, fkText);
    const QString set = Decimal("mcSetTextProp=<0><0><0><Река><%1><%2><%3><1,00><*ОСНОВНОЙ><0>");
    // From due east of the position to due south: a quarter turn clockwise on the plan,
    // plan angle 90 to 180, screen angle 0 to 2700; the position stays.
    QStringList lines = Drag(&TFormMap::ApplyTextMove, 3, {100, 110}, {90, 100}, 4);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(set.arg(Decimal("100,00"), Decimal("100,00")).arg(2700))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("<0>"))) << lines[0].toStdString();
    // Without Ctrl a move; Shift keeps the longer component.
    lines = Drag(&TFormMap::ApplyTextMove, 3, {100, 100}, {105, 102}, 1);
    EXPECT_TRUE(lines.value(0).startsWith(set.arg(Decimal("105,00"), Decimal("100,00")).arg(2700)))
        << lines.value(0).toStdString();
    lines = Drag(&TFormMap::ApplyTextMove, 3, {100, 100}, {105, 102});
    EXPECT_TRUE(lines.value(0).startsWith(set.arg(Decimal("110,00"), Decimal("102,00")).arg(2700)))
        << lines.value(0).toStdString();
}

TEST_F(ObjectMoves, AsAUserATextTurnedWithCtrlHeldAtThePress)
{
    Plan({"mcNewText=<0><0><Река><100><100><0><1><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(100, 101));
    TFormMap& form = Form();
    const TPixelMouse mouse{form};
    const QPoint down = TSurfaceDriver(form).At(100, 101), up = TSurfaceDriver(form).At(99, 100);
    mouse.Move(down, Qt::NoButton, Qt::ControlModifier);
    ASSERT_EQ(form.SelectedPart, 3);
    mouse.Press(down, Qt::ControlModifier);
    mouse.Move(up, Qt::LeftButton, Qt::ControlModifier);
    mouse.Release(up, Qt::ControlModifier);
    // From 1 m east of the position to 1 m south of it: a quarter turn clockwise.
    EXPECT_TRUE(CommandLog->last().startsWith(Decimal("mcSetTextProp=<0><0><0><Река><100,00><100,00><2700><1,00>")))
        << CommandLog->last().toStdString();
}

TEST_F(ObjectMoves, APointMovesBySnapShiftAndItsPrecision)
{
    Plan({"mcNewPoint=<0><0><ТОЧ><250><300><2><0><><0><0>", "mcNewPoint=<0><0><ТОЧ><400><100><1><0><><0><0>",
          "mcNewPoint=<0><0><ТОЧ><400><300><0><0><><0><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    TFormMap& form = Form();
    // With the snap switch on and a node found the point lands exactly on it.
    MainMap->LinkToNodes = 1;
    form.Snapped = true;
    form.SnapPoint = {261.5L, 305.25L};
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyPointMove, 3, {250, 300}, {290, 340})),
              Decimal("mcSetPointProp=<0><0><0><ТОЧ><261,50><305,25><2><0,00><><0><0>"));
    form.Snapped = false;
    MainMap->LinkToNodes = 0;
    // Shift keeps the longer component of the drag.
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyPointMove, 3, {0, 0}, {2, -7}, 1)),
              Decimal("mcSetPointProp=<0><0><0><ТОЧ><261,50><298,25><2><0,00><><0><0>"));
    // Precision 1 writes one decimal, precision 0 none.
    ASSERT_NO_FATAL_FAILURE(Choose(400, 100));
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyPointMove, 3, {0, 0}, {1.23L, 0.04L})),
              Decimal("mcSetPointProp=<0><0><1><ТОЧ><401,2><100,0><1><0,00><><0><0>"));
    ASSERT_NO_FATAL_FAILURE(Choose(400, 300));
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyPointMove, 3, {0, 0}, {1.4L, -2.6L})),
              Decimal("mcSetPointProp=<0><0><2><ТОЧ><401><297><0><0,00><><0><0>"));
    // A drag of nothing the point owns writes nothing, and the selection stays.
    EXPECT_TRUE(Drag(&TFormMap::ApplyPointMove, 0, {0, 0}, {5, 5}).isEmpty());
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("1"));
}

TEST_F(ObjectMoves, ACaptionDragMovesOnlyTheFirstPlacementInSignMillimetres)
{
    Plan({"mcNewPoint=<0><0><ТОЧ><250><300><2><0><[{1}{2}{0}{1}{0}][{3}{4}{0}{1}{0}]><0><0>",
          "mcNewPoint=<0><0><ТОЧ><100><100><2><0><><0><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    ASSERT_EQ(MainMap->Symbols->GetScale(), 500);
    // 5 m north and 1 m west at 1:500: 10 mm and -2 mm of the sign; the flag is set.
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyPointMove, 4, {0, 0}, {5, -1})),
              Decimal("mcSetPointProp=<0><0><0><ТОЧ><250,00><300,00><2><0,00>"
                      "<[{11,00}{0,00}{0}{1,00}{0}][{3,00}{4,00}{0}{1,00}{0}]><1><0>"));
    // A point without placements gets one, all zero but the shift.
    ASSERT_NO_FATAL_FAILURE(Choose(100, 100));
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyPointMove, 4, {0, 0}, {0, 2})),
              Decimal("mcSetPointProp=<0><0><1><ТОЧ><100,00><100,00><2><0,00><[{0,00}{4,00}{0}{0,00}{0}]><1><0>"));
}

TEST_F(ObjectMoves, ACaptionTurnedWithCtrlAboutTheFrameCorner)
{
    Plan({"mcNewPoint=<0><0><ТОЧ><250><300><2><0><[{0}{0}{0}{1}{0}]><0><0>"});
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    TFormMap& form = Form();
    // The caption's frame as the hit test reports it; its first corner is the pivot.
    auto* found = MainMap->FoundObjects.At(form.SelectedFoundIndex());
    while (found->Regions.GetCount() < 2)
        found->Regions.AddItem(std::make_unique<RFindedObjRegion>());
    TGeoPoints& frame = found->Regions.At(1)->Outline;
    frame.DeleteAll();
    for (const TGeoPoint& p : {TGeoPoint{260, 310}, TGeoPoint{260, 320}, TGeoPoint{262, 320}, TGeoPoint{262, 310}})
        frame.AddPoint(p.X, p.Y);
    // From north of the corner to west of it: a quarter turn anticlockwise, -90 degrees
    // of plan angle, +900 tenths of the screen angle.
    EXPECT_TEXT_EQ(Lines(Drag(&TFormMap::ApplyPointMove, 4, {270, 310}, {260, 300}, 4)),
              Decimal("mcSetPointProp=<0><0><0><ТОЧ><250,00><300,00><2><0,00><[{0,00}{0,00}{900}{1,00}{0}]><1><0>"));
}

TEST_F(ObjectMoves, AsAUserAPointDragged20PixelsEastReachesTheJournalAndThePlanFile)
{
    Plan({"mcNewPoint=<0><0><ТОЧ><250><300><2><0><><0><0>"});
    TFormMap& form = Form();
    const TPixelMouse mouse{form};
    const QPoint at = TSurfaceDriver(form).At(250, 300);
    mouse.Click(at);
    ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    mouse.Move(at);
    ASSERT_EQ(form.SelectedPart, 3);
    mouse.Press(at);
    mouse.Move(at + QPoint(10, 0), Qt::LeftButton);
    mouse.Move(at + QPoint(20, 0), Qt::LeftButton);
    mouse.Release(at + QPoint(20, 0));
    EXPECT_TEXT_EQ(CommandLog->last(), Decimal("mcSetPointProp=<0><0><0><ТОЧ><250,00><320,00><2><0,00><><0><0>"));
    EXPECT_FALSE(form.DragBand.Drawn);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    form.HighlightSelected();
    SaveGrab(*form.DisplaySurf, QStringLiteral("point-dragged"));
    EXPECT_TRUE(Saved().contains(Decimal("250,00 320,00"))) << Saved().toStdString();
}

TEST_F(ObjectMoves, ADeleteFromThePopupTakesTheObjectAndPicksWhatLiesBelow)
{
    Plan({"mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{250}{0}{-1}{0}{-1}{0}{0}][{300}{250}{0}{-1}{0}{-1}{0}{0}]>",
          "mcNewPoint=<0><0><ТОЧ><250><250><2><0><><0><0>"});
    TFormMap& form = Form();
    const TPixelMouse mouse{form};
    const QPoint at = TSurfaceDriver(form).At(250, 250);
    ASSERT_NO_FATAL_FAILURE(Choose(250, 250, "2"));
    // The point first in the box.
    auto* box = form.ComboBoxSelectedObjects();
    for (int i = 0; i < box->count(); ++i)
        if (MainMap->FoundObjects.At(i)->Kind == fkPoint)
            box->setCurrentIndex(i);
    mouse.Move(at);
    ASSERT_EQ(form.SelectedPart, 3);
    QString opened;
    MapHooks().MenuExec = [&](QMenu& menu, QPoint) -> QAction* {
        opened = menu.objectName();
        QAction* a = FindMenuItem(&menu, "Удалить объект");
        if (a)
            a->trigger();
        return a;
    };
    QTest::mousePress(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseRelease(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
    EXPECT_EQ(opened, QStringLiteral("PMPoint"));
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelPoint=<0><0><0>"));
    ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    EXPECT_EQ(MainMap->FoundObjects.At(0)->Kind, fkLine);
    // The text's own item.
    RunCommands({"mcNewText=<0><0><Река><250><250><0><1><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    Redraw();
    ASSERT_NO_FATAL_FAILURE(Choose(250, 251, "2"));
    for (int i = 0; i < box->count(); ++i)
        if (MainMap->FoundObjects.At(i)->Kind == fkText)
            box->setCurrentIndex(i);
    form.ObjectDelClick(fkText);
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelText=<0><0><0>"));
    // An item of one kind does nothing to an object of another.
    const int before = int(CommandLog->size());
    form.ObjectDelClick(fkPolygon);
    EXPECT_EQ(int(CommandLog->size()), before);
}

// A delete, a text moved and a text turned redraw only where the object was and is: the
// picture must be the one a whole redraw gives.
TEST_F(ObjectMoves, DeletesAndTextMovesRedrawToTheWholeDrawingsPicture)
{
    Plan({"mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{250}{0}{-1}{0}{-1}{0}{0}][{300}{250}{0}{-1}{0}{-1}{0}{0}]>",
          "mcNewPoint=<0><0><ТОЧ><250><250><2><0><><0><0>",
          "mcNewText=<0><0><Река Быстрая><260><240><0><1><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    TFormMap& form = Form();
    const auto sameAsWhole = [&](const char* step) {
        SCOPED_TRACE(step);
        const QImage partial = MainMap->Bitmap.copy();
        MainMap->DirtyRedrawOn = 0;
        Redraw();
        MainMap->DirtyRedrawOn = 1;
        EXPECT_TRUE(partial == MainMap->Bitmap) << "the picture differs from a whole redraw";
    };
    ASSERT_NO_FATAL_FAILURE(Choose(260, 241));
    ASSERT_EQ(Chosen()->Kind, fkText);
    Drag(&TFormMap::ApplyTextMove, 3, {260, 241}, {262, 245});
    sameAsWhole("text moved");
    auto* box = form.ComboBoxSelectedObjects();
    const auto chooseKind = [&](int kind) {
        for (int i = 0; i < box->count(); ++i)
            if (MainMap->FoundObjects.At(i)->Kind == kind)
                box->setCurrentIndex(i);
        ASSERT_EQ(Chosen()->Kind, kind);
    };
    ASSERT_NO_FATAL_FAILURE(Choose(262, 245, "2"));   // the text and the point beside it
    ASSERT_NO_FATAL_FAILURE(chooseKind(fkText));
    Drag(&TFormMap::ApplyTextMove, 3, {262, 255}, {252, 245}, 4);
    sameAsWhole("text turned");
    ASSERT_NO_FATAL_FAILURE(Choose(250, 250, "2"));
    ASSERT_NO_FATAL_FAILURE(chooseKind(fkPoint));
    form.ObjectDelClick(fkPoint);
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelPoint=<0><0><0>"));
    sameAsWhole("point deleted");
    ASSERT_NO_FATAL_FAILURE(Choose(220, 250));
    form.DeleteSelectedObject();
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelLine=<0><0><0>"));
    sameAsWhole("line deleted");
}

TEST_F(ObjectMoves, EditorsFromThePopupAndTheButtonRefindTheObjectWhateverTheyReturn)
{
    Plan({"mcNewPoint=<0><0><ТОЧ><250><300><2><0><><0><0>",
          "mcNewText=<0><0><Река><100><100><0><1><*ОСНОВНОЙ><0><><0><0><0000><0>",
          "mcNewRastr=<0><подложка.bmp><400><400><500><500><1><><100><100><100><200><0>"});
    TFormMap& form = Form();
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    std::vector<std::array<int, 3>> opened;
    int answer = mrCancel;
    // The editor moves the point on its own and then is cancelled.
    ProgramDialogHooks().PointProp = [&](int& page, int& layer, int& index, bool isNew) {
        EXPECT_FALSE(isNew);
        opened.push_back({page, layer, index});
        MainMap->StrToComm(QStringLiteral("mcSetPointProp=<0><0><0><ТОЧ><260><300><2><0><><0><0>"));
        return answer;
    };
    FindMenuItem(form.PMPoint, "Свойства объекта")->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(double(Chosen()->Regions.At(0)->Outline.At(0)->X), 260.0);
    // On OK the changed object is the point.
    answer = mrOk;
    MainMap->EditedKind = 2;
    form.btObjectPropClick();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(MainMap->EditedKind, 0);
    // The text's editor from the button.
    int textShown = 0;
    ProgramDialogHooks().TextProp = [&](int& page, int& layer, int& index, bool isNew) {
        EXPECT_EQ(page + layer + index, 0);
        EXPECT_FALSE(isNew);
        ++textShown;
        return mrOk;
    };
    ASSERT_NO_FATAL_FAILURE(Choose(100, 101));
    QToolButton* show = form.PanelButtons.value(QStringLiteral("Показать выделенный объект"));
    ASSERT_NE(show, nullptr);
    EXPECT_TRUE(show->isEnabled());
    show->click();
    EXPECT_EQ(textShown, 1);
    // A raster: the raster pop-up's own properties item.
    MainMap->SelectObjectKind = 1;
    ASSERT_NO_FATAL_FAILURE(Choose(450, 450));
    int rastrItem = 0;
    QObject::connect(FindMenuItem(form.PMRastr, "Свойства растра"), &QAction::triggered, [&] { ++rastrItem; });
    form.btObjectPropClick();
    EXPECT_EQ(rastrItem, 1);
    EXPECT_EQ(textShown, 1);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(ObjectMoves, DeletingTheChosenObjectByKindAndWithNothingChosen)
{
    Plan({"mcNewRastr=<0><подложка.bmp><400><400><500><500><1><><100><100><100><200><0>",
          "mcNewPoint=<0><0><ТОЧ><250><300><2><0><><0><0>"});
    TFormMap& form = Form();
    MainMap->SelectObjectKind = 1;
    ASSERT_NO_FATAL_FAILURE(Choose(450, 450));
    form.DeleteSelectedObject();
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelRastr=<0><0>"));
    // Picked again at the last click: nothing is there any more.
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("0"));
    MainMap->SelectObjectKind = 0;
    // Nothing chosen in the box: no command, and the pick runs again at the last click.
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    form.ComboBoxSelectedObjects()->setCurrentIndex(-1);
    const int before = int(CommandLog->size());
    MainMap->FoundObjects.DeleteAll();
    form.DeleteSelectedObject();
    EXPECT_EQ(int(CommandLog->size()), before);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    form.DeleteSelectedObject();
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelPoint=<0><0><0>"));
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("0"));
}

TEST_F(ObjectMoves, TheFourObjectPopupsForReview)
{
    Plan({"mcNewPoint=<0><0><ПКТ/ИН12;ИВ154.30><250><300><2><0><><0><0>"});
    TFormMap& form = Form();
    ASSERT_NO_FATAL_FAILURE(Choose(250, 300));
    form.SelectedPart = 3;
    ASSERT_EQ(form.SelectedPartPopup(), form.PMPoint);
    for (QMenu* menu : {form.PMPoint, form.PMLine, form.PMPolygon, form.PMText}) {
        menu->adjustSize();
        const QString file = SaveGrab(*menu, QStringLiteral("popup-") + menu->objectName());
        EXPECT_TRUE(QFile::exists(file));
    }
}
