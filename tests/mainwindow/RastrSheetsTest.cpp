// Raster sheets, georeferencing and insertion from the main window, and the raster
// pop-up: as the user gives them, with the windows answered by scripted hooks; the
// journal and the saved plan are the oracle.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "foundation/ProgramDialogs.h"
#include "mainwindow/file/FileDialogs.h"
#include "mainwindow/modes/EditMenus.h"
#include "mainwindow/modes/RastrSheets.h"
#include "platform/CodePage.h"
#include "semantics/signs/Symbols.h"

#include <QFile>
#include <array>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <gtest/gtest.h>

#define EXPECT_TEXT_EQ(a, b) EXPECT_EQ(QString(a).toStdString(), QString(b).toStdString())

TEST(RastrSheetArithmetic, SheetCodeOfAFileName)
{
    const struct {
        const char* file;
        const char* nomenclature;
    } cases[] = {
        {"/планы/003Б12.tif", "3-Б-12"}, {"033А01", "33-А-1"},      {"105В10 скан.bmp", "105-В-10"},
        {"100Г00.bmp", "100-Г-0"},       {"снимок.bmp", ""},         {"03А01.bmp", ""},
        {"0331А1.bmp", ""},              {"/033А01/план.bmp", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_TEXT_EQ(RastrSheetNomenclature(QString::fromUtf8(c.file)), QString::fromUtf8(c.nomenclature));
    }
}

TEST(RastrSheetArithmetic, LinkAndInsertionCorners)
{
    TGeoPoint bl = GeoPoint(0, 0), tr = GeoPoint(120, 220);
    ASSERT_TRUE(LinkedRastrCorners({10, 10}, {110, 210}, {5000, 3000}, {5200, 3400}, bl, tr));
    EXPECT_EQ(double(bl.X), 4980.0);
    EXPECT_EQ(double(bl.Y), 2980.0);
    EXPECT_EQ(double(tr.X), 5220.0);
    EXPECT_EQ(double(tr.Y), 3420.0);
    // Points on one line of the raster give no scale: refused, corners as they were.
    EXPECT_FALSE(LinkedRastrCorners({10, 10}, {10, 210}, {5000, 3000}, {5200, 3400}, bl, tr));
    EXPECT_FALSE(LinkedRastrCorners({10, 10}, {110, 10}, {5000, 3000}, {5200, 3400}, bl, tr));
    EXPECT_EQ(double(bl.X), 4980.0);

    const TGeoPoint top = InsertedRastrTR({1000, 2000}, 3000, 6000, 300, 300, 500);
    EXPECT_NEAR(double(top.X), 1127.0, 1e-9);
    EXPECT_NEAR(double(top.Y), 2254.0, 1e-9);
}

namespace {

class RastrSheets : public ::testing::Test {
protected:
    RastrSheets() : Run(Options()) {}
    static TMainWindowRun::TOptions Options()
    {
        TMainWindowRun::TOptions o;
        o.CollectMessages = true;
        return o;
    }
    void SetUp() override
    {
        Run.Start();
        ExactView(Form());
        FileDialogHooks().OpenFileName = [this](const QString&, const QString& filter, QString& fileName) {
            Filters << filter;
            fileName = Chosen;
            return !Chosen.isEmpty();
        };
        TProgramDialogHooks hooks;
        hooks.InpCoord = [this](const QString& caption, Extended& x, Extended& y) {
            Asked << caption;
            if (Coordinates.empty())
                return mrCancel;
            x = Coordinates.front().X;
            y = Coordinates.front().Y;
            Coordinates.erase(Coordinates.begin());
            return mrOk;
        };
        hooks.SelectPage = [this](int& sheet) {
            Asked << QStringLiteral("Выбор листа");
            sheet = 0;
            return mrOk;
        };
        hooks.Inp2Int = [this](int& a, int& b, const QString& caption, const QString& l1, const QString& l2) {
            Asked << caption + u'|' + l1 + u'|' + l2 + u'|' + QString::number(a) + u'|' + QString::number(b);
            if (Resolutions.empty())
                return mrCancel;
            a = Resolutions.front().first;
            b = Resolutions.front().second;
            Resolutions.erase(Resolutions.begin());
            return mrOk;
        };
        hooks.RasterProp = [this](int page, int rastr) {
            Asked << QStringLiteral("Свойства растра %1 %2").arg(page).arg(rastr);
            return mrOk;
        };
        Hooks = std::make_unique<TScopedProgramDialogHooks>(hooks);
    }
    void TearDown() override { FileDialogHooks().OpenFileName = nullptr; }

    TFormMap& Form() { return Run.Form(); }
    // A picture of width × height pixels beside the plan: four coloured quarters with a
    // dark frame, so that its place and turn show in a review picture.
    QString Picture(const QString& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        QPainter p(&image);
        p.fillRect(0, 0, width / 2, height / 2, QColor(220, 60, 60));
        p.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(60, 160, 60));
        p.fillRect(0, height / 2, width / 2, height - height / 2, QColor(60, 60, 220));
        p.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(230, 200, 40));
        p.setPen(QPen(Qt::black, 4));
        p.drawRect(2, 2, width - 4, height - 4);
        p.end();
        const QString path = Run.Folder() + name;
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    QStringList JournalSince(qsizetype mark) const { return CommandLog->mid(mark); }
    void Click(Extended x, Extended y) { TPixelMouse{Form()}.Click(TSurfaceDriver(Form()).At(x, y)); }
    QString Saved()
    {
        Run.SaveAsName = Run.Folder() + QStringLiteral("растры.500");
        EXPECT_TRUE(Form().SaveAs());
        QFile file(Run.SaveAsName);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return DecodeCodePage(file.readAll());
    }

    TMainWindowRun Run;
    std::unique_ptr<TScopedProgramDialogHooks> Hooks;
    QString Chosen;
    QStringList Filters;
    QStringList Asked;
    std::vector<TGeoPoint> Coordinates;
    std::vector<std::pair<int, int>> Resolutions;
};

TEST_F(RastrSheets, RasterSheetLandsOnItsSheetAndBadNamesChangeNothing)
{
    TFormMap& form = Form();
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(MainMap->NomenclatureToCoord(QStringLiteral("105-А-1"), x1, y1, x2, y2));
    const qsizetype mark = CommandLog->size();
    // A name without a sheet code, a code the table does not know, a picture that is
    // missing or cannot be read: told, and nothing issued.
    QFile broken(Run.Folder() + QStringLiteral("105А02.bmp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM broken");
    broken.close();
    for (const QString& name : {Picture(QStringLiteral("снимок.bmp"), 40, 20),
                                Picture(QStringLiteral("003Б12.bmp"), 40, 20),
                                Run.Folder() + QStringLiteral("105А03.bmp"), broken.fileName()}) {
        Chosen = name;
        form.OpenRPlanClick();
    }
    EXPECT_TRUE(JournalSince(mark).isEmpty()) << JournalSince(mark).join(u'\n').toStdString();
    ASSERT_EQ(Run.Messages.size(), 4u);
    EXPECT_TEXT_EQ(Run.Messages[0],
                   QStringLiteral("Открыть растровый планшет: Имя файла должно начинаться с номенклатуры планшета"));
    EXPECT_TEXT_EQ(Run.Messages[1], QStringLiteral("Открыть растровый планшет: Не удалось определить "
                                                   "координаты по заданной номенклатуре"));
    EXPECT_TRUE(Run.Messages[2].contains(QStringLiteral("105А03.bmp")));
    EXPECT_TRUE(Run.Messages[3].startsWith(QStringLiteral("Открыть растровый планшет: ")));
    // The open dialog lists the registered pictures.
    EXPECT_TRUE(Filters.value(0).contains(QStringLiteral("*.bmp")));

    Chosen = Picture(QStringLiteral("105А01 скан.bmp"), 200, 200);
    QToolButton* button = form.PanelButtons.value(QStringLiteral("Открыть растровый планшет"));
    ASSERT_NE(button, nullptr);
    button->click();
    const QString corners = TCommandParams().Fixed(x1).Fixed(y1).Fixed(x2).Fixed(y2).Str();
    EXPECT_TEXT_EQ(JournalSince(mark).join(u'\n'),
                   QStringLiteral("mcNewPage=<105-А-1>\nmcNewRastr=<0><%1>%2<1><><100><100><100><200><0>\n"
                                  "mcLoadRastr=<0><0>")
                       .arg(Chosen, corners));
    EXPECT_EQ(MainMap->MapViews.Item->ViewXMin, x1);
    EXPECT_EQ(MainMap->MapViews.Item->ViewYMax, y2);
}

TEST_F(RastrSheets, OpenAndLinkByTwoClicks)
{
    TFormMap& form = Form();
    EXPECT_EQ(MainMap->GetPagesCount(), 0);
    // 240 × 120 pixels at 24 a metre from the surface's lower left corner (-10, -10).
    Chosen = Picture(QStringLiteral("link.bmp"), 240, 120);
    const qsizetype mark = CommandLog->size();
    DialogHooks().ShowQ = [this](const QString& caption, const QString&) {
        Asked << caption;
        return mrYes;
    };
    FindMenuItem(form.NPlan, "Открыть и привязать растр")->trigger();
    const QStringList issued = JournalSince(mark);
    ASSERT_EQ(issued.size(), 4) << issued.join(u'\n').toStdString();
    EXPECT_TEXT_EQ(issued[0], QStringLiteral("mcNewPage=<растр link.bmp>"));
    EXPECT_TRUE(issued[1].startsWith(QStringLiteral("mcNewRastr=<0><%1>%2").arg(Chosen, Decimal("<-10,00><-10,00>"))))
        << issued[1].toStdString();
    EXPECT_TEXT_EQ(issued[2], QStringLiteral("mcLoadRastr=<0><0>"));
    EXPECT_TEXT_EQ(issued[3], QStringLiteral("mcSetRastrProp=<0><0><%1>%2<1><><100><100><100><200><0>")
                                  .arg(Chosen, Decimal("<-10,000><-10,000><-5,000><0,000>")));
    EXPECT_TRUE(Asked.isEmpty());   // a plan without sheets gets the raster's own at once
    EXPECT_EQ(form.MouseMode, mmLinkRastr);
    EXPECT_EQ(form.MouseStep, 1);

    ExactView(form);
    Coordinates = {{5000, 3000}};
    Click(20, 30);
    // A second click on the first one's X line is refused and waits for another.
    Click(20, 90);
    EXPECT_EQ(form.MouseStep, 2);
    ASSERT_EQ(Run.Messages.size(), 1u);
    EXPECT_TEXT_EQ(Run.Messages[0],
                   QStringLiteral("Привязка растра: Точки привязки на растре не должны совпадать по X и по Y"));
    EXPECT_EQ(JournalSince(mark).size(), 4);
    Coordinates = {{5120, 3240}};
    Click(80, 90);
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcSetRastrProp=<0><0><%1>%2<1><><100><100><100><200><0>")
                                           .arg(Chosen, Decimal("<4940,000><2840,000><5290,000><3600,000>")));
    EXPECT_EQ(form.MouseMode, mmSelectView);
    EXPECT_TEXT_EQ(Asked.join(u'|'),
                   QStringLiteral("Координаты первой точки привязки|Координаты второй точки привязки"));
    const QString saved = Saved();
    EXPECT_TRUE(saved.contains(QStringLiteral("4940")) && saved.contains(QStringLiteral("3600")));
    SaveImage(PictureOnly(form), QStringLiteral("raster-linked"));
}

TEST_F(RastrSheets, LinkOnAPlanWithSheetsAsksWhere)
{
    TFormMap& form = Form();
    RunCommands({"mcNewPage=<1>", "mcNewPage=<растр link.bmp>"});
    Chosen = Picture(QStringLiteral("link.bmp"), 48, 24);
    int answer = mrYes;
    DialogHooks().ShowQ = [&](const QString& caption, const QString&) {
        Asked << caption;
        return answer;
    };
    qsizetype mark = CommandLog->size();
    form.NLinkRastrClick();
    // The sheet of that name exists: taken, not made again.
    EXPECT_TRUE(JournalSince(mark).value(0).startsWith(QStringLiteral("mcNewRastr=<1>")));
    answer = mrNo;
    mark = CommandLog->size();
    form.NLinkRastrClick();
    EXPECT_TRUE(JournalSince(mark).value(0).startsWith(QStringLiteral("mcNewRastr=<0>")));
    EXPECT_TEXT_EQ(Asked.join(u'|'), QStringLiteral("Выбор листа для растра|Выбор листа для растра|Выбор листа"));
    EXPECT_EQ(form.LinkPage, 0);
    EXPECT_EQ(form.LinkRastr, 0);
}

TEST_F(RastrSheets, InsertAtTheCursorSizesByResolutionAndScale)
{
    TFormMap& form = Form();
    RunCommands({"mcNewPage=<1>"});
    Chosen = Picture(QStringLiteral("вставка.bmp"), 60, 30);
    ASSERT_EQ(MainMap->Symbols->GetScale(), 500);
    form.SetMouseMode(mmSelectObject, 0, true);
    FindMenuItem(form.NPlan, "Вставить растр по курсору")->trigger();
    EXPECT_EQ(form.MouseMode, mmInsertRastr);
    // A cancelled resolution inserts nothing.
    qsizetype mark = CommandLog->size();
    Click(40, 50);
    EXPECT_TRUE(JournalSince(mark).isEmpty());
    EXPECT_EQ(form.MouseMode, mmSelectObject);   // the remembered mode

    FindMenuItem(form.NPlan, "Вставить растр по курсору")->trigger();
    Resolutions = {{0, 300}, {300, 300}};   // a resolution of 0 is asked again
    Asked.clear();
    Click(40, 50);
    EXPECT_TEXT_EQ(Asked.join(u'\n'), QStringLiteral("Выбор листа\n"
                                                     "Разрешение растра|DPI по ширине|DPI по высоте|300|300\n"
                                                     "Разрешение растра|DPI по ширине|DPI по высоте|0|300"));
    // 30 pixels at 300 DPI are 2.54 mm, 1.27 m at 1:500.
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcSetRastrProp=<0><0><%1>%2<1><><100><100><100><200><0>")
                                           .arg(Chosen, Decimal("<40,000><50,000><41,270><52,540>")));
    EXPECT_EQ(form.MouseMode, mmSelectObject);
}

TEST_F(RastrSheets, RasterPopupAndTheLoadAllItems)
{
    TFormMap& form = Form();
    const QString path = Picture(QStringLiteral("подложка.bmp"), 20, 20);
    RunCommands({"mcNewPage=<1>"});
    MainMap->StrToComm(QStringLiteral("mcNewRastr=<0><%1><100><100><200><200><1><><100><100><100><200><0>").arg(path));
    ExactView(form);
    emit form.NPlan->aboutToShow();
    EXPECT_TRUE(form.N63->isEnabled());
    EXPECT_TRUE(form.N64->isEnabled());
    form.N63->trigger();
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcLoadRastr=<0><0>"));

    form.SetMouseMode(mmSelectObject, 0, true);
    MainMap->SelectObjectKind = 1;
    Click(150, 150);
    ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    FindMenuItem(form.PMRastr, "Выгрузить растр")->trigger();
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcUnLoadRastr=<0><0>"));
    FindMenuItem(form.PMRastr, "Загрузить растр")->trigger();
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcLoadRastr=<0><0>"));
    form.btObjectPropClick();
    EXPECT_EQ(Asked, QStringList{QStringLiteral("Свойства растра 0 0")});
    FindMenuItem(form.PMRastr, "Привязать растр")->trigger();
    EXPECT_EQ(form.MouseMode, mmLinkRastr);
    EXPECT_EQ(form.MouseStep, 1);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("0"));

    form.SetMouseMode(mmSelectObject, 0, true);
    Click(150, 150);
    FindMenuItem(form.PMRastr, "Удалить растр")->trigger();
    EXPECT_TEXT_EQ(CommandLog->last(), QStringLiteral("mcDelRastr=<0><0>"));
    emit form.NPlan->aboutToShow();
    EXPECT_FALSE(form.N63->isEnabled());
    EXPECT_TRUE(Run.Messages.empty());
}

TEST_F(RastrSheets, SavedSheetImageCoversTheSheetOfItsName)
{
    TFormMap& form = Form();
    std::vector<std::array<double, 4>> areas;
    ProgramDialogHooks().SaveRastr = [&](int&, Extended&, TPixelDepth&, Extended x1, Extended y1, Extended x2,
                                         Extended y2) {
        areas.push_back({double(x1), double(y1), double(x2), double(y2)});
        return mrCancel;
    };
    QStringList masks;
    ProgramDialogHooks().InpMaskStr = [&](QString& value, const QString& caption, const QString& message) {
        masks << value + u'|' + caption + u'|' + message;
        value = QStringLiteral("105А01");
        return masks.size() == 1 ? mrCancel : mrOk;
    };
    form.SaveRPlanClick();   // the code cancelled
    EXPECT_TRUE(areas.empty());
    Run.SaveAsName = Run.Folder() + QStringLiteral("105А01.bmp");
    form.PanelButtons.value(QStringLiteral("Сохранить растровый планшет"))->click();
    EXPECT_TEXT_EQ(masks.join(u'\n'), QStringLiteral("033А01|Номенклатура планшета|\n033А01|Номенклатура планшета|"));
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(MainMap->NomenclatureToCoord(QStringLiteral("105-А-1"), x1, y1, x2, y2));
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], (std::array<double, 4>{double(x1), double(y1), double(x2), double(y2)}));
    // A file named without a sheet code is refused before the export window.
    Run.SaveAsName = Run.Folder() + QStringLiteral("план.bmp");
    form.SaveRPlanClick();
    EXPECT_EQ(areas.size(), 1u);
    ASSERT_EQ(Run.Messages.size(), 1u);
    EXPECT_TEXT_EQ(Run.Messages[0],
                   QStringLiteral("Сохранить растровый планшет: Имя файла должно начинаться с номенклатуры планшета"));
}

TEST_F(RastrSheets, MenuItemsInTheirGroupsForReview)
{
    TFormMap& form = Form();
    const auto captions = [](QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions())
            list << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return list.join(u'|');
    };
    EXPECT_TRUE(captions(form.NFile).contains(
        QStringLiteral("Очистить историю|-|Открыть растровый планшет|Сохранить растровый планшет|-|Печать плана")))
        << captions(form.NFile).toStdString();
    EXPECT_TRUE(captions(form.NPlan).contains(QStringLiteral(
        "-|Загрузить растры|Выгрузить растры|-|Открыть и привязать растр|Вставить растр по курсору|-|"
        "Параметры создания объектов|-|командный процессор")))
        << captions(form.NPlan).toStdString();
    for (QMenu* menu : {form.NFile, form.NPlan, form.PMRastr}) {
        menu->adjustSize();
        SaveGrab(*menu, QStringLiteral("menu-") + menu->title() + menu->objectName());
    }
}

}  // namespace
