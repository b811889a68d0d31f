// The move of an object to another sheet or layer: the commands it issues (the copy at
// the end of the destination, then the deletion), the place it hands back, the values
// that survive, what it refuses, and its window as a user drives it.
#include "ObjectWindowsSupport.h"

#include "dialogs/objects/UnitChangePageLayer.h"
#include "dialogs/objects/UnitPointProp.h"
#include "foundation/ErrorTrail.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

namespace {

class MoveObjects : public ObjectWindows {
protected:
    void SetUp() override
    {
        ObjectWindows::SetUp();
        Cmd({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Дороги>", "mcNewLayer=<0><Вода>",
             "mcNewPage=<Лист 2>", "mcNewLayer=<1><Здания>", "mcNewPage=<Пустой>"});
    }

    // A move of the object without its window.
    bool Move(TMoveKind kind, int& page, int& layer, int& index, int toPage, int toLayer)
    {
        return MoveObject(*Map, kind, page, layer, index, toPage, toLayer);
    }
};

}  // namespace

TEST(MoveRules, TheLayerChooserKeepsTheObjectsLayerPositionWhenItCan)
{
    struct Case { int own, count, chosen; };
    const Case cases[] = {{2, 3, 2}, {2, 2, 0}, {0, 1, 0}, {1, 0, -1}, {-1, 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.own << " of " << c.count);
        EXPECT_EQ(LayerAfterPageChange(c.own, c.count), c.chosen);
    }
}

TEST_F(MoveObjects, TheSamePlaceOrNoPlaceIssuesNothing)
{
    Cmd("mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0><><0><0>");
    const int mark = JournalMark();
    struct Case { int toPage, toLayer; };
    for (const Case& c : {Case{0, 0}, Case{-1, 1}, Case{1, -1}}) {
        int page = 0, layer = 0, index = 0;
        EXPECT_FALSE(Move(mkPoint, page, layer, index, c.toPage, c.toLayer));
        EXPECT_EQ(page, 0);
        EXPECT_EQ(layer, 0);
        EXPECT_EQ(index, 0);
    }
    // A raster moves between sheets only: its own sheet is its own place.
    int page = 0, layer = 0, index = 0;
    Cmd("mcNewRastr=<0><f.bmp><0><0><1><1><1><><100><100><100><200><0>");
    EXPECT_FALSE(Move(mkRastr, page, layer, index, 0, 2));
    EXPECT_EQ(JournalSince(mark), QStringList{QStringLiteral("mcNewRastr=<0><f.bmp><0><0><1><1><1><><100><100><100><200><0>")});
}

TEST_F(MoveObjects, TheThirdOfFivePointsGoesToTheEndOfALayerOfFour)
{
    for (int i = 0; i < 5; ++i)
        Map->StrToComm(QStringLiteral("mcNewPoint=<0><0><ТОЧ/Ф%1><%1,00><2,00><2><0><><0><0>").arg(i));
    for (int i = 0; i < 4; ++i)
        Cmd("mcNewPoint=<0><2><ТОЧ/Ф9><9,00><9,00><2><0><><0><0>");
    const int mark = JournalMark();
    int page = 0, layer = 0, index = 2;
    EXPECT_TRUE(Move(mkPoint, page, layer, index, 0, 2));
    EXPECT_EQ(JournalSince(mark), (QStringList{QStringLiteral("mcNewPoint=<0><2><ТОЧ/Ф2><2,00><2,00><2><0,00><><0><0>"),
                                              QStringLiteral("mcDelPoint=<0><0><2>")}));
    EXPECT_EQ(page, 0);
    EXPECT_EQ(layer, 2);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(Map->GetPointsCount(0, 0), 4);
    EXPECT_EQ(Map->Pages.At(0)->Layers.At(2)->Points.At(4)->Semantics, QStringLiteral("ТОЧ/Ф2"));
}

TEST_F(MoveObjects, ValuesSurviveTheMove)
{
    Cmd({"mcNewPoint=<0><0><ТОЧ><10,123><20,456><3><12,5><[{1}{2}{30}{1,5}{1}]><1><2>",
         "mcNewLine=<0><0><ЛЭП><><1><2,5><1><{ОГР}>"
         "<[{1,0}{2,0}{0}{-1}{0}{-1}{0}{0}][{3,0}{4,0}{1}{2,5}{2}{3}{1}{1}]>",
         "mcNewPolygon=<0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}{1}][{0}{9}{2}{1}{2}{1}{1}{0}][{9}{9}{-1}{0}{0}{0}{0}{1}]>"
         "<2><><1><2><([{1}{1}{-1}{0}{0}{1}][{1}{2}{-1}{1}{1}{0}][{2}{2}{-1}{0}{0}{1}])><450>",
         "mcNewText=<0><0><Река><5,5><6,5><450><1,5><*НАДПИСИ ЗА РАМКАМИ 2 (30)><0><><0><0><0000><0>"});
    const QString before = NativeText();
    int mark = JournalMark();
    for (TMoveKind kind : {mkPoint, mkLine, mkPolygon, mkText}) {
        int page = 0, layer = 0, index = 0;
        EXPECT_TRUE(Move(kind, page, layer, index, 1, 0));
    }
    // The sheet of the copies holds what the first sheet held, value for value.
    const QStringList issued = JournalSince(mark);
    ASSERT_EQ(issued.size(), 8);
    EXPECT_EQ(issued[0], QStringLiteral("mcNewPoint=<1><0><ТОЧ><10,123><20,456><3><12,50><[{1,00}{2,00}{30}{1,50}{1}]><1><2>"));
    EXPECT_EQ(issued[2], QStringLiteral("mcNewLine=<1><0><ЛЭП><><1><2,50><1><{ОГР}>"
                                        "<[{1,0}{2,0}{0}{-1,00}{0}{-1}{0}{0}][{3,0}{4,0}{1}{2,50}{2}{3}{1}{1}]>"));
    EXPECT_EQ(issued[4], QStringLiteral("mcNewPolygon=<1><0><ЗДН><[{0,00}{0,00}{-1,00}{0}{0}{0}{0}{1}]"
                                        "[{0,00}{9,00}{2,00}{1}{2}{1}{1}{0}][{9,00}{9,00}{-1,00}{0}{0}{0}{0}{1}]>"
                                        "<2><><1,00><2,00><([{1,00}{1,00}{-1,00}{0}{0}{1}][{1,00}{2,00}{-1,00}{1}{1}{0}]"
                                        "[{2,00}{2,00}{-1,00}{0}{0}{1}])><450>"));
    // A text without its own font reports its style's font, which the creation does not read.
    EXPECT_TRUE(issued[6].startsWith(QStringLiteral("mcNewText=<1><0><Река><5,50><6,50><450><1,50>"
                                                    "<*НАДПИСИ ЗА РАМКАМИ 2 (30)><0><")))
        << issued[6].toStdString();
    EXPECT_EQ(Map->Pages.At(1)->Layers.At(0)->Texts.At(0)->StyleName, QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)"));
    // Moved back, the plan reads as it did, every curve and inverted flag in place.
    mark = JournalMark();
    for (TMoveKind kind : {mkPoint, mkLine, mkPolygon, mkText}) {
        int page = 1, layer = 0, index = 0;
        EXPECT_TRUE(Move(kind, page, layer, index, 0, 0));
    }
    EXPECT_EQ(NativeText(), before);
}

// The move used to delete the original first and create the copy from what the getter
// reports, which leaves out what the object owns: the owned objects were lost.
TEST_F(MoveObjects, AnObjectOwningNestedObjectsIsNotMoved)
{
    Cmd({"mcNewPolygon=<0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}][{0}{9}{-1}{0}{0}{0}{0}][{9}{9}{-1}{0}{0}{0}{0}]>"
         "<2><><0><0><><-1>",
         "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{1}{2}{0}{-1}{0}{-1}{0}{0}]>",
         "mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0><><0><0>"});
    RGLayer& layer0 = *Map->Pages.At(0)->Layers.At(0);
    layer0.Polygons.At(0)->InnerPoints.AddItem();
    layer0.Lines.At(0)->Nodes.At(0)->NodePoints.AddItem();
    layer0.Points.At(0)->InnerTexts.AddItem();
    const QString before = NativeText();
    const int mark = JournalMark();
    for (TMoveKind kind : {mkPolygon, mkLine, mkPoint}) {
        int page = 0, layer = 0, index = 0;
        EXPECT_FALSE(Move(kind, page, layer, index, 1, 0));
        EXPECT_EQ(page, 0);
        EXPECT_EQ(index, 0);
    }
    EXPECT_EQ(Messages, QStringList(3, QStringLiteral("Перенос объекта: Объект содержит вложенные объекты, "
                                                      "которые нельзя перенести; перенос отменен")));
    EXPECT_EQ(JournalSince(mark), QStringList());
    EXPECT_EQ(NativeText(), before);
}

TEST_F(MoveObjects, ALoadedRasterIsLoadedAgainAtItsNewPlace)
{
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    const QString file = Run->Folder() + QStringLiteral("скан.bmp");
    ASSERT_TRUE(picture.save(file, "BMP"));
    Map->StrToComm(QStringLiteral("mcNewRastr=<0><%1><0,000><0,000><10,000><20,000><1><><90><100><100><200><0>").arg(file));
    Cmd({"mcNewRastr=<0><другой.bmp><0><0><1><1><1><><100><100><100><200><0>", "mcLoadRastr=<0><0>",
         "mcNewRastr=<1><x.bmp><0><0><1><1><1><><100><100><100><200><0>"});
    ASSERT_EQ(Map->Pages.At(0)->Rastrs.At(0)->Loaded, 1);
    const int mark = JournalMark();
    int page = 0, layer = 7, index = 0;
    EXPECT_TRUE(Move(mkRastr, page, layer, index, 1, -1));
    EXPECT_EQ(JournalSince(mark),
              (QStringList{QStringLiteral("mcNewRastr=<1><%1><0,000><0,000><10,000><20,000><1><><90><100><100><200><0>").arg(file),
                           QStringLiteral("mcDelRastr=<0><0>"), QStringLiteral("mcLoadRastr=<1><1>")}));
    EXPECT_EQ(page, 1);
    EXPECT_EQ(layer, 7);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(Map->Pages.At(1)->Rastrs.At(1)->Loaded, 1);
    // An unloaded raster stays unloaded.
    EXPECT_TRUE(Move(mkRastr, page = 0, layer, index = 0, 1, -1));
    EXPECT_EQ(CommandLog->last(), QStringLiteral("mcDelRastr=<0><0>"));
}

TEST_F(MoveObjects, ASecondMoveWhileOneIsOpenAnswersZero)
{
    Cmd("mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0><><0><0>");
    int inner = -1;
    ProgramDialogHooks().ChangePageLayer = [&inner](std::uint8_t, int&, int&, int&) {
        int page = 0, layer = 0, index = 0;
        inner = ChangeLinePageLayerDlg(page, layer, index);
        return mrOk;
    };
    int page = 0, layer = 0, index = 0;
    EXPECT_EQ(ChangePointPageLayerDlg(page, layer, index), mrOk);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(MoveKind, mkNone);
    // Also after an exception the next move opens.
    ProgramDialogHooks().ChangePageLayer = [](std::uint8_t, int&, int&, int&) -> TModalResult {
        throw Exception(QStringLiteral("сбой"));
    };
    EXPECT_THROW(ChangeTextPageLayerDlg(page, layer, index), Exception);
    EXPECT_EQ(MoveKind, mkNone);
}

TEST_F(MoveObjects, TheWindowChoosesTheDestinationAsTheUserDoes)
{
    for (int i = 0; i < 3; ++i)
        Cmd("mcNewPoint=<0><2><ТОЧ><1,00><2,00><2><0><><0><0>");
    int page = 0, layer = 2, index = 1;
    TModalScript script;
    script.Then("TFormChangePageLayer", [](QWidget* w) {
        EXPECT_EQ(Control<QLabel>(w, "LPage")->text(), QStringLiteral("Лист 1"));
        EXPECT_EQ(Control<QLabel>(w, "LLayer")->text(), QStringLiteral("Вода"));
        auto* pages = Control<QComboBox>(w, "cbPage");
        auto* layers = Control<QComboBox>(w, "cbLayer");
        EXPECT_EQ(pages->count(), 3);
        EXPECT_EQ(layers->currentIndex(), 2);
        // The empty sheet: "Готово" says so and the window stays.
        pages->setCurrentIndex(2);
        emit pages->activated(2);
        EXPECT_EQ(layers->count(), 0);
        Control<QPushButton>(w, "BitBtn1")->click();
        EXPECT_TRUE(w->isVisible());
        // The second sheet has one layer: the first is chosen.
        pages->setCurrentIndex(1);
        emit pages->activated(1);
        EXPECT_EQ(layers->currentIndex(), 0);
        SaveWindowPicture(w, QStringLiteral("move-window"));
        Control<QPushButton>(w, "BitBtn1")->click();
    });
    EXPECT_EQ(ChangePointPageLayerDlg(page, layer, index), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Отсутствуют слои!: В выбранном листе отсуствуют слои, "
                                                   "выберете другой лист")});
    EXPECT_EQ(page, 1);
    EXPECT_EQ(layer, 0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Map->GetPointsCount(0, 2), 2);
}

TEST_F(MoveObjects, TheCloseBoxMovesToAValidPlaceOnly)
{
    Cmd("mcNewPoint=<0><1><ТОЧ><1,00><2,00><2><0><><0><0>");
    struct Case {
        const char* Name;
        int Page;          // the sheet chosen before the close box
        bool Moved;
    };
    const Case cases[] = {{"an empty sheet", 2, false}, {"a sheet with layers", 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        int page = 0, layer = 1, index = 0;
        const int mark = JournalMark();
        TModalScript script;
        script.Then("TFormChangePageLayer", [&c](QWidget* w) {
            auto* pages = Control<QComboBox>(w, "cbPage");
            pages->setCurrentIndex(c.Page);
            emit pages->activated(c.Page);
            CloseBox(w);
        });
        EXPECT_EQ(ChangePointPageLayerDlg(page, layer, index), mrCancel);
        EXPECT_EQ(JournalSince(mark).size(), c.Moved ? 2 : 0);
        EXPECT_EQ(page, c.Moved ? 1 : 0);
    }
}

TEST_F(MoveObjects, ARasterWindowHasNoLayerChooser)
{
    Cmd("mcNewRastr=<0><f.bmp><0><0><1><1><1><><100><100><100><200><0>");
    int page = 0, layer = 0, index = 0;
    TModalScript script;
    script.Then("TFormChangePageLayer", [](QWidget* w) {
        EXPECT_FALSE(Control<QComboBox>(w, "cbLayer")->isVisible());
        EXPECT_FALSE(Control<QLabel>(w, "LLayer")->isVisible());
        auto* pages = Control<QComboBox>(w, "cbPage");
        pages->setCurrentIndex(2);   // a sheet without layers takes a raster
        emit pages->activated(2);
        Control<QPushButton>(w, "BitBtn1")->click();
    });
    EXPECT_EQ(ChangeRastrPageDlg(page, index), mrOk);
    EXPECT_EQ(page, 2);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Map->GetRastrsCount(2), 1);
}
