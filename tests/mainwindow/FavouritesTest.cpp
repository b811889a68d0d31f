// The favourites palettes and their set-up worked as the user works them: the tool
// palette's creation buttons, the palettes' buttons, the set-up window's lists and
// buttons, the capture on the surface; then the journal, the saved plan and the files
// of "Избранные".
#include "FixtureSetup.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "controls/TextListBox.h"
#include "foundation/ServDialogs.h"
#include "imaging/DepthReducer.h"
#include "imaging/PictureReaders.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/favourites/FormFavSetup.h"
#include "mainwindow/favourites/FormFavorites.h"
#include "mainwindow/favourites/Favourites.h"
#include "mainwindow/modes/Creators.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemDialogs.h"
#include "support/TestHelpers.h"
#include "support/WidgetEvents.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

TEST(FavouriteNames, SemanticsBecomeASafeNameWithItsFlag)
{
    struct Case {
        const char* sem;
        bool callClassifier;
        const char* name;
    };
    const Case cases[] = {
        {"ОТА/Ф002", true, "ОТА-Ф002+"},            // code, "/" and one item, "да"
        {"КЛД/Ф001;Н001", false, "КЛД-Ф001;Н001-"},
        {"ПКТ", false, "ПКТ-"},                      // three characters kept
        {"ПК", true, "ПК+"},
        {"", false, "-"},
        // No other slash, backslash, control character or leading dot can name a file
        // outside the kind's folder.
        {"ТОЧ/ИН1/2;ИД../..", true, "ТОЧ-ИН1-2;ИД..-..+"},
        {"ТОЧ/ИН\\x", false, "ТОЧ-ИН-x-"},
        {".ТО/Ф1", true, "-ТО-Ф1+"},
        {"..", false, "-.-"},
        {"ТОЧ/И\tН\n", false, "ТОЧ-И-Н--"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sem);
        EXPECT_EQ(FavouriteName(QString::fromUtf8(c.sem), c.callClassifier), QString::fromUtf8(c.name));
    }
}

void Click(TExSpeedButton* b, Qt::MouseButton button = Qt::LeftButton) { ClickMiddle(b, button); }

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

void ClickLine(TTextListBox* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QStringList Items(const TTextListBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

void DeleteLater() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class Favourites : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        ASSERT_NE(Run.Form().FormInstr1, nullptr);
        InstallFavouritesWindows();
        TFormMap& form = Run.Form();
        FixDestination(form, QStringLiteral("Избранное"));
        form.CreatePrecision = 0;
        MainMap->LinkToNodes = 0;
        SemScope = std::make_unique<TScopedSemDialogHooks>(RecordingSemDialog(SemCalls, Chosen, SemResult));
        TDialogHooks dialogs = DialogHooks();
        dialogs.ShowQ = [this](const QString& caption, const QString& text) {
            Questions << caption + QStringLiteral(": ") + text;
            return Answer;
        };
        dialogs.ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << caption + QStringLiteral(": ") + text;
            return mrOk;
        };
        DialogScope = std::make_unique<TScopedDialogHooks>(dialogs);
    }

    TFormMap& Form() { return Run.Form(); }
    TFormInstr1& Tools() { return *Run.Form().FormInstr1; }
    TExSpeedButton* CreationButton(int kind)
    {
        TExSpeedButton* const buttons[] = {Tools().sbPoint, Tools().sbLine, Tools().sbPolygon};
        return buttons[kind];
    }
    // The kind's palette as the user opens it: its creation button down, then a right
    // click on it.
    TFormFavorites* Open(int kind)
    {
        if (!CreationButton(kind)->Down())
            Click(CreationButton(kind));
        Click(CreationButton(kind), Qt::RightButton);
        return qobject_cast<TFormFavorites*>(Tools().FormFavorites[kind].data());
    }
    static QString Folder(int kind) { return FavouritesFolder(FavouritesFolderWord(kind)); }
    static QStringList ButtonsFile(int kind)
    {
        return DecodeCodePage(FileBytes(Folder(kind) + QStringLiteral("кнопки.txt")))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    // The toolbar as names: each button's name, "|" for a separator, ToolButton1 last.
    static QStringList Shown(const TFormFavorites& palette)
    {
        QStringList shown;
        for (QWidget* w : palette.Elements()) {
            if (w == palette.ToolButton1)
                shown << QStringLiteral("ToolButton1");
            else if (auto* b = qobject_cast<QToolButton*>(w))
                shown << b->text();
            else
                shown << QStringLiteral("|");
        }
        return shown;
    }
    QToolButton* Button(const TFormFavorites& palette, const char* name)
    {
        for (QToolButton* b : palette.Buttons())
            if (b->text() == QString::fromUtf8(name))
                return b;
        ADD_FAILURE() << "no button " << name;
        return nullptr;
    }
    QStringList Take(const char* command)
    {
        QStringList made;
        for (const QString& line : CommandLog->mid(Before))
            if (line.startsWith(QString::fromUtf8(command)))
                made << line;
        Before = int(CommandLog->size());
        return made;
    }

    TMainWindowRun Run{MessagesKept()};
    TSeparatorScope Separator{u'.'};
    std::unique_ptr<TScopedSemDialogHooks> SemScope;
    std::unique_ptr<TScopedDialogHooks> DialogScope;
    QStringList SemCalls, Questions, Messages;
    QString Chosen = QStringLiteral("ОТА/Ф002");
    int SemResult = mrOk;
    int Answer = mrYes;
    int Before = 0;
};

}  // namespace

TEST_F(Favourites, EachPaletteShowsItsFolderInTheFilesOrder)
{
    struct Case {
        int Kind;
        const char* Caption;
        QStringList Shown;
        const char* FirstHint;
    };
    const Case cases[] = {
        {0, "Избранные точечные",
         {"КЛД-Ф001;Н001+", "КЛД-Ф002;Н001+", "|", "ТОЧ-Ф010+", "ПКТ-", "ToolButton1"},
         "Колодец водопроводный"},
        {1, "Избранные линейные",
         {"ГОР-Ф011-", "ГОР-Ф021-", "|", "ОГР-Ф002-", "ДОР-Ф002;К020-", "ToolButton1"},
         "Горизонталь основная"},
        {2, "Избранные площадные",
         {"ЗДН-Ф001;К012;Н003+", "ЗДН-Ф002;К013+", "|", "ОЗЕ-Ф001-", "ЛЕС-Ф003-", "ToolButton1"},
         "Здание жилое"},
    };
    Tools().move(900, 120);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Caption);
        TFormFavorites* palette = Open(c.Kind);
        ASSERT_NE(palette, nullptr);
        EXPECT_TRUE(palette->isVisible());
        EXPECT_EQ(palette->windowTitle(), QString::fromUtf8(c.Caption));
        EXPECT_TRUE(palette->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(palette->pos(), QPoint(5, 120 + 50 * c.Kind));
        EXPECT_EQ(Shown(*palette), c.Shown);
        EXPECT_EQ(palette->Buttons().first()->toolTip(), QString::fromUtf8(c.FirstHint));
        const QList<QWidget*> elements = palette->Elements();
        EXPECT_EQ(elements[2]->width(), 4) << "the separator";
        for (QToolButton* b : palette->Buttons())
            EXPECT_FALSE(b->icon().isNull()) << b->text().toStdString();
        EXPECT_TRUE(palette->rect().contains(palette->ToolButton1->geometry())) << "nothing cut";
        SaveGrab(*palette, QStringLiteral("favourites-palette-%1").arg(c.Kind));
        const TMouseMode modes[] = {mmCreatePoint, mmCreateLine, mmCreatePolygon};
        EXPECT_EQ(Form().MouseMode, modes[c.Kind]);
    }
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
}

TEST_F(Favourites, MissingAndBrokenFilesLeaveGapsNeitherInThePaletteNorOnDisk)
{
    const QString folder = Folder(0);
    // A picture deleted: the others close up, its line stays in the file.
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("КЛД-Ф002;Н001+.bmp")));
    // A picture broken: told to the user and left out; its file is kept as it is.
    const QByteArray broken("BM broken");
    WriteBytes(folder + QStringLiteral("ТОЧ-Ф010+.bmp"), broken);
    const QStringList file = ButtonsFile(0);
    TFormFavorites* palette = Open(0);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(Shown(*palette), (QStringList{"КЛД-Ф001;Н001+", "|", "ПКТ-", "ToolButton1"}));
    const QList<QWidget*> elements = palette->Elements();
    for (int i = 1; i < elements.size(); ++i)
        EXPECT_EQ(elements[i]->x(), elements[i - 1]->x() + elements[i - 1]->width()) << i;
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("ТОЧ-Ф010+.bmp"))) << Messages[0].toStdString();
    EXPECT_EQ(FileBytes(folder + QStringLiteral("ТОЧ-Ф010+.bmp")), broken);
    EXPECT_EQ(ButtonsFile(0), file);

    // No toolbar file: the set-up button alone.
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("кнопки.txt")));
    palette->Load(0);
    EXPECT_EQ(Shown(*palette), QStringList{"ToolButton1"});
}

TEST_F(Favourites, AFavouriteGivesTheCodeOfPointsAndLinesWithoutTheClassifierWhenFlaggedSo)
{
    TFormMap& form = Form();
    ExactView(form);
    TSurfaceDriver surface(form);
    Before = int(CommandLog->size());

    TFormFavorites* points = Open(0);
    ASSERT_NE(points, nullptr);
    QToolButton* picket = Button(*points, "ПКТ-");
    Click(picket);
    EXPECT_TRUE(picket->isChecked());
    EXPECT_EQ(form.PointCode, QStringLiteral("ПКТ-"));
    EXPECT_EQ(form.MouseMode, mmCreatePoint);
    surface.Click(200, 300);
    EXPECT_EQ(Take("mcNewPoint="), QStringList{"mcNewPoint=<0><0><ПКТ><200><300><0><0.00><><0><0>"});
    EXPECT_TRUE(SemCalls.isEmpty()) << "a \"-\" favourite asks nothing";
    EXPECT_EQ(form.PointCode, QStringLiteral("ПКТ-")) << "the palette keeps the code";

    // A "+" favourite goes through the classifier; pressing it releases the other.
    QToolButton* well = Button(*points, "КЛД-Ф001;Н001+");
    Click(well);
    EXPECT_TRUE(well->isChecked());
    EXPECT_FALSE(picket->isChecked());
    SaveGrab(*points, QStringLiteral("favourites-palette-pressed"));
    Chosen = QStringLiteral("КЛД/Ф001;Н001;ИН7");
    surface.Click(250, 300);
    EXPECT_EQ(SemCalls, QStringList{"1|0|КЛД-Ф001;Н001+"});
    EXPECT_EQ(Take("mcNewPoint="), QStringList{"mcNewPoint=<0><0><КЛД/Ф001;Н001;ИН7><250><300><0><0.00><><0><0>"});

    // With the creation button up, a favourite starts the creation mode with it down.
    form.SetMouseMode(mmSelectView, 0, false);
    Tools().sbPoint->SetDown(false);
    Click(picket);
    EXPECT_EQ(form.MouseMode, mmCreatePoint);
    EXPECT_TRUE(Tools().sbPoint->Down());

    // A line: the palette shows, so the right release makes it at once.
    TFormFavorites* lines = Open(1);
    ASSERT_NE(lines, nullptr);
    EXPECT_FALSE(points->isVisible());
    Click(Button(*lines, "ГОР-Ф011-"));
    surface.Click(100, 100);
    surface.Click(100, 200);
    surface.Press(150, 200, Qt::RightButton);
    surface.Release(150, 200, Qt::RightButton);
    const QStringList made = Take("mcNewLine=");
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].startsWith(QStringLiteral("mcNewLine=<0><0><ГОР-Ф011><"))) << made[0].toStdString();
    EXPECT_EQ(SemCalls.size(), 1);

    // The plan keeps what the journal says.
    Run.SaveAsName = Run.Folder() + QStringLiteral("избранные.500");
    ASSERT_TRUE(form.SaveAs());
    const QString plan = DecodeCodePage(FileBytes(Run.SaveAsName));
    for (const char* sem : {"ПКТ", "КЛД/Ф001;Н001;ИН7", "ГОР-Ф011"})
        EXPECT_TRUE(plan.contains(QString::fromUtf8(sem))) << sem;
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
}

TEST_F(Favourites, TheSetUpArrangesTheToolbarFileAndRebuildsThePalette)
{
    TFormFavorites* palette = Open(0);
    ASSERT_NE(palette, nullptr);
    Click(palette->ToolButton1);
    ASSERT_NE(FormFavSetup, nullptr);
    TFormFavSetup& setup = *FormFavSetup;
    EXPECT_TRUE(setup.isVisible());
    EXPECT_EQ(setup.windowTitle(), QStringLiteral("Настройка избранных объектов"));
    EXPECT_EQ(Items(setup.TextListBox1),
              (QStringList{"Колодец водопроводный", "Колодец канализационный", "---",
                           "Точка теодолитного хода", "Пикет"}));
    EXPECT_EQ(Items(setup.TextListBox2),
              (QStringList{"Колодец водопроводный", "Колодец канализационный", "Пикет",
                           "Точка теодолитного хода"}));
    SaveGrab(setup, QStringLiteral("favourites-setup"));
    const QStringList original = ButtonsFile(0);

    // Each action: the line selected first, the button, then the file and the palette.
    struct Case {
        const char* Step;
        int Row;                 // the toolbar line selected; -1 none
        int Available;           // the available picture selected; -1 none
        QPushButton* TFormFavSetup::*Button;
        QStringList File;
    };
    const QString a = QStringLiteral("КЛД-Ф001;Н001+.bmp"), b = QStringLiteral("КЛД-Ф002;Н001+.bmp"),
                  t = QStringLiteral("ТОЧ-Ф010+.bmp"), p = QStringLiteral("ПКТ-.bmp"), s = QStringLiteral("-");
    const Case cases[] = {
        {"вперед on the first line", 0, -1, &TFormFavSetup::btnUp, {a, b, s, t, p}},
        {"назад on the last line", 4, -1, &TFormFavSetup::btnDown, {a, b, s, t, p}},
        {"назад", 0, -1, &TFormFavSetup::btnDown, {b, a, s, t, p}},
        {"вперед", 4, -1, &TFormFavSetup::btnUp, {b, a, s, p, t}},
        {"удалить", 0, -1, &TFormFavSetup::btnDel, {a, s, p, t}},
        {"разделитель добавить", -1, -1, &TFormFavSetup::Button2, {a, s, p, t, s}},
        {"кнопку добавить", -1, 1, &TFormFavSetup::btnAdd, {a, s, p, t, s, b}},
        {"обновить панель", -1, -1, &TFormFavSetup::Button1, {a, s, p, t, s, b}},
        {"изменить рисунок", 0, -1, &TFormFavSetup::btnEdit, {a, s, p, t, s, b}},
    };
    EXPECT_EQ(original, (QStringList{a, b, s, t, p}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Step);
        if (c.Row >= 0)
            ClickLine(setup.TextListBox1, c.Row);
        if (c.Available >= 0)
            ClickLine(setup.TextListBox2, c.Available);
        QFile::remove(Folder(0) + QStringLiteral("кнопки.txt"));   // saved every time
        const QWidget* before = Tools().FormFavorites[0];
        Click(setup.*c.Button);
        DeleteLater();
        EXPECT_EQ(ButtonsFile(0), c.File);
        auto* rebuilt = qobject_cast<TFormFavorites*>(Tools().FormFavorites[0].data());
        ASSERT_NE(rebuilt, nullptr);
        EXPECT_NE(rebuilt, before) << "made anew";
        EXPECT_TRUE(rebuilt->isVisible());
        QStringList expected;
        for (const QString& line : c.File)
            expected << (line == s ? QStringLiteral("|") : line.chopped(4));
        expected << QStringLiteral("ToolButton1");
        EXPECT_EQ(Shown(*rebuilt), expected);
        EXPECT_EQ(setup.TextListBox1->count(), c.File.size());
    }
    // The picture went to the desktop's image program.
    ASSERT_EQ(Run.Launched.size(), 1u);
    EXPECT_EQ(Run.Launched[0], QDir(Folder(0)).filePath(a));
    // A removed line keeps its picture among the available ones.
    EXPECT_EQ(setup.TextListBox2->count(), 4);
    EXPECT_TRUE(QFile::exists(Folder(0) + b));

    // Opened from another palette the set-up window is replaced by one of that kind.
    QPointer<TFormFavSetup> first = FormFavSetup.data();
    TFormFavorites* lines = Open(1);
    ASSERT_NE(lines, nullptr);
    Click(lines->ToolButton1);
    DeleteLater();
    EXPECT_EQ(first, nullptr);
    ASSERT_NE(FormFavSetup, nullptr);
    EXPECT_EQ(FormFavSetup->Kind, 1);
    EXPECT_EQ(FormFavSetup->TextListBox1->item(0)->text(), QStringLiteral("Горизонталь основная"));
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
}

TEST_F(Favourites, ACapturedButtonIsThePlansPictureAndJoinsThePalette)
{
    TFormMap& form = Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}]"
                 "[{260}{300}{0}{-1}{0}{-1}{0}{0}][{200}{400}{0}{-1}{0}{-1}{0}{0}]>"});
    ExactView(form);
    TFormFavorites* palette = Open(0);
    ASSERT_NE(palette, nullptr);
    Click(palette->ToolButton1);
    ASSERT_NE(FormFavSetup, nullptr);
    TFormFavSetup& setup = *FormFavSetup;
    Click(setup.BitBtn1);
    EXPECT_FALSE(setup.isVisible());
    EXPECT_EQ(form.MouseMode, mmCapturePointPicture);

    const QDir folder(Folder(0));
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    const TPixelMouse mouse{form};
    const QPoint at = TSurfaceDriver(form).At(230, 245);

    // A cancelled classifier writes nothing; the mode stays.
    SemResult = mrCancel;
    mouse.Click(at);
    EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name), files);
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_FALSE(setup.isVisible());

    SemResult = mrOk;
    const QImage canvas = form.DisplaySurf->Canvas.copy();
    mouse.Click(at);
    EXPECT_EQ(SemCalls.last(), QStringLiteral("1|0|"));
    ASSERT_EQ(Questions.size(), 1);
    EXPECT_EQ(Questions[0], QStringLiteral("вызов классификатора: определите, нужно ли при создании этого "
                                           "объекта вызывать классификатор для ввода дополнительных свойств "
                                           "(напр.колодцы-да, деревья-нет)"));
    EXPECT_EQ(form.MouseMode, mmCapturePointPicture) << "ready for the next";

    // The picture: 16 × 16 at 8 bits, the surface's pixels from the click on.
    const QString bmp = Folder(0) + QStringLiteral("ОТА-Ф002+.bmp");
    const QByteArray bytes = FileBytes(bmp);
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes[28], 8) << "bits per pixel";
    const QImage picture = ReadBmpPicture(bmp);
    ASSERT_EQ(picture.size(), QSize(16, 16));
    const TDepthReducer reducer(8);
    int lineInk = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb surface = canvas.pixel(at.x() + x, at.y() + y);
            ASSERT_EQ(picture.pixel(x, y) | 0xFF000000u, reducer.Reduced(surface) | 0xFF000000u) << x << "," << y;
            lineInk += surface != canvas.pixel(0, 0);
        }
    EXPECT_GT(lineInk, 0) << "the line runs through the picture";
    EXPECT_EQ(DecodeCodePage(FileBytes(Folder(0) + QStringLiteral("ОТА-Ф002+.txt"))),
              QStringLiteral("Отметка уреза воды\r\n"));

    // The set-up window is back with the new picture; added, it joins the palette.
    EXPECT_TRUE(setup.isVisible());
    const int row = int(setup.PictureFiles.indexOf(QStringLiteral("ОТА-Ф002+.bmp")));
    ASSERT_GE(row, 0);
    EXPECT_EQ(setup.TextListBox2->item(row)->text(), QStringLiteral("Отметка уреза воды"));
    ClickLine(setup.TextListBox2, row);
    Click(setup.btnAdd);
    DeleteLater();
    EXPECT_EQ(ButtonsFile(0).last(), QStringLiteral("ОТА-Ф002+.bmp"));
    auto* rebuilt = qobject_cast<TFormFavorites*>(Tools().FormFavorites[0].data());
    ASSERT_NE(rebuilt, nullptr);
    const QStringList shown = Shown(*rebuilt);
    EXPECT_EQ(shown.mid(shown.size() - 2), (QStringList{"ОТА-Ф002+", "ToolButton1"}));
    EXPECT_EQ(rebuilt->Buttons().last()->toolTip(), QStringLiteral("Отметка уреза воды"));
    SaveGrab(*rebuilt, QStringLiteral("favourites-palette-captured"));
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
}

TEST_F(Favourites, ARightClickOnAnUpCreationButtonShowsThePaletteInItsCreationMode)
{
    ASSERT_FALSE(Tools().sbLine->Down());
    Click(Tools().sbLine, Qt::RightButton);
    auto* palette = qobject_cast<TFormFavorites*>(Tools().FormFavorites[1].data());
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->isVisible());
    EXPECT_TRUE(Tools().sbLine->Down());
    EXPECT_EQ(Form().MouseMode, mmCreateLine);
    // Closed by its close box it is only hidden: the creators ask the classifier again.
    palette->close();
    EXPECT_EQ(Tools().FormFavorites[1], palette);
    EXPECT_FALSE(FavouritesPaletteShown(1));
}

TEST_F(Favourites, WithoutAToolbarFileTheSetUpStartsOneAndAFailedWriteChangesNothing)
{
    const QString file = Folder(2) + QStringLiteral("кнопки.txt");
    ASSERT_TRUE(QFile::remove(file));
    TFormFavorites* palette = Open(2);
    ASSERT_NE(palette, nullptr);
    Click(palette->ToolButton1);
    ASSERT_NE(FormFavSetup, nullptr);
    TFormFavSetup& setup = *FormFavSetup;
    EXPECT_EQ(setup.TextListBox1->count(), 0);
    ASSERT_EQ(setup.PictureFiles.size(), 4);
    ClickLine(setup.TextListBox2, 0);
    Click(setup.btnAdd);
    DeleteLater();
    EXPECT_EQ(ButtonsFile(2), QStringList{setup.PictureFiles[0]});
    palette = qobject_cast<TFormFavorites*>(Tools().FormFavorites[2].data());
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(Shown(*palette), (QStringList{setup.PictureFiles[0].chopped(4), "ToolButton1"}));

    // The file cannot be replaced (a folder stands in its place): told, and the palette
    // stays the one it was.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkdir(file));
    Click(setup.Button2);
    DeleteLater();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("кнопки.txt"))) << Messages[0].toStdString();
    EXPECT_EQ(Tools().FormFavorites[2], palette);
    EXPECT_EQ(Shown(*palette).size(), 2);
}

TEST_F(Favourites, ACaptureThatCannotWriteIsToldAndLeavesNoButton)
{
    TFormFavorites* palette = Open(0);
    ASSERT_NE(palette, nullptr);
    Click(palette->ToolButton1);
    Click(FormFavSetup->BitBtn1);
    ExactView(Form());
    Chosen = QStringLiteral("ОТА");
    Answer = mrNo;
    ASSERT_TRUE(QDir().mkdir(Folder(0) + QStringLiteral("ОТА-.txt")));
    const TPixelMouse mouse{Form()};
    mouse.Click(QPoint(50, 50));
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Кнопка не создана: "))) << Messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(Folder(0) + QStringLiteral("ОТА-.bmp")));
    EXPECT_FALSE(FormFavSetup->isVisible());
    EXPECT_EQ(Form().MouseMode, mmCapturePointPicture);
}
