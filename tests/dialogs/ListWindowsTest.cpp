// The list windows of sheets, layers, rasters and objects over a main plan, worked as a
// user works them: lines clicked in the list, buttons pressed, questions answered by
// script; the journal, the list and the engine's draw mode are the oracle.
#include "MainPlanFixture.h"

#include "controls/TextListBox.h"
#include "dialogs/lists/UnitListWindows.h"
#include "mainwindow/MapHooks.h"
#include "semantics/codec/SemServices.h"
#include "support/TestHelpers.h"
#include "support/WidgetEvents.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <deque>

namespace {

class ListWindows : public MainPlanWindows {
protected:
    void SetUp() override
    {
        MainPlanWindows::SetUp();
        Semantics.emplace();
        Semantics->Open();
        Map->DoCommand(mcNewMap, TCommandParams().Int(500).Text(QString()));
        TDialogHooks h;
        h.ShowMsg = [this](const QString& caption, const QString& text) {
            Asked << caption + QStringLiteral(": ") + text;
            return Pop(Answers, mrOk);
        };
        h.InpStr = [this](QString& value, const QString& caption, const QString&) {
            Asked << QStringLiteral("InpStr ") + caption + QStringLiteral(" [") + value + QLatin1Char(']');
            if (Names.empty())
                return mrCancel;
            value = Names.front();
            Names.pop_front();
            return mrOk;
        };
        h.SelStr = [this](const QStringList& list, TSelection& selection, const QString& caption,
                          const QString&) {
            Asked << QStringLiteral("SelStr ") + caption;
            Offered = list;
            selection.Index = -1;
            selection.Typed = Choice;
            return ChoiceResult;
        };
        Dialogs.emplace(h);
    }

    void TearDown() override
    {
        Dialogs.reset();
        MainPlanWindows::TearDown();
        Semantics.reset();
    }

    static TModalResult Pop(std::deque<TModalResult>& q, TModalResult otherwise)
    {
        if (q.empty())
            return otherwise;
        const TModalResult r = q.front();
        q.pop_front();
        return r;
    }

    // The window of class F shown over the plan as the menu shows it.
    template <class F>
    std::unique_ptr<F> Open()
    {
        auto w = std::make_unique<F>();
        w->FormShow();
        w->show();
        Mark = static_cast<int>(CommandLog->size());
        return w;
    }

    // The lines issued since the window opened (or the last call).
    QStringList Issued()
    {
        const QStringList lines = CommandLog->mid(Mark);
        Mark = static_cast<int>(CommandLog->size());
        return lines;
    }

    TSeparatorScope Separators{u','};
    std::optional<TSemServices> Semantics;
    std::optional<TScopedDialogHooks> Dialogs;
    std::deque<TModalResult> Answers;   // ShowMsg; empty: 1
    std::deque<QString> Names;          // InpStr; empty: cancelled
    QStringList Asked;
    QStringList Offered;
    QString Choice;
    TModalResult ChoiceResult = mrOk;
    int Mark = 0;
};

// Clicks the lines rows of the list, the first alone, the others with Ctrl.
void SelectLines(TFormListBase& w, std::initializer_list<int> rows)
{
    bool first = true;
    for (const int row : rows) {
        ASSERT_LT(row, w.LB->count());
        const QRect r = w.LB->visualItemRect(w.LB->item(row));
        QTest::mouseClick(w.LB->viewport(), Qt::LeftButton, first ? Qt::NoModifier : Qt::ControlModifier,
                          r.center());
        first = false;
    }
}

void Press(QPushButton* b)
{
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
}

QStringList Lines(const TFormListBase& w)
{
    QStringList lines;
    for (int i = 0; i < w.LB->count(); ++i)
        lines << w.LB->item(i)->text();
    return lines;
}

std::vector<int> Selected(const TFormListBase& w)
{
    std::vector<int> rows;
    for (int i = 0; i < w.LB->count(); ++i)
        if (w.LB->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

QStringList Utf8(std::initializer_list<const char*> lines)
{
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

}  // namespace

TEST_F(ListWindows, EnablingRuleFollowsTheSelection)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewPage=<Лист 2>", "mcNewPage=<Лист 3>", "mcNewLayer=<0><Здания>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><10,00><20,00><2><0><><0><0>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><11,00><21,00><2><0><><0><0>"});
    auto pages = Open<TFormPages>();
    auto points = Open<TFormPoints>();
    struct Case {
        const char* Name;
        std::initializer_list<int> Rows;
        bool One;   // rename, properties, up, down
        bool Any;   // delete, show, hide
    };
    const Case cases[] = {{"none", {}, false, false}, {"one", {1}, true, true}, {"two", {0, 1}, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        for (TFormListBase* w : {static_cast<TFormListBase*>(pages.get()), static_cast<TFormListBase*>(points.get())}) {
            w->LB->clearSelection();
            SelectLines(*w, c.Rows);
            for (QPushButton* b : {w->btName, w->btProp, w->btUp, w->btDown})
                if (b)
                    EXPECT_EQ(b->isEnabled(), c.One) << b->objectName().toStdString();
            for (QPushButton* b : {w->btDel, w->btShow, w->btHide})
                if (b)
                    EXPECT_EQ(b->isEnabled(), c.Any) << b->objectName().toStdString();
            EXPECT_TRUE(w->btAdd->isEnabled());
            EXPECT_TRUE(w->BitBtn1->isEnabled());
        }
        EXPECT_TRUE(points->btSavaAsText->isEnabled());
    }
}

TEST_F(ListWindows, DeletingSheetsSendsThePositionsLeftByTheEarlierDeletions)
{
    Commands({"mcNewPage=<A>", "mcNewPage=<B>", "mcNewPage=<C>", "mcNewPage=<D>", "mcNewPage=<E>"});
    auto w = Open<TFormPages>();
    SelectLines(*w, {1, 3});
    Press(w->btDel);
    EXPECT_EQ(Issued(), Utf8({"mcDelPage=<1>", "mcDelPage=<2>"}));
    ASSERT_EQ(Asked.size(), 2);
    EXPECT_TRUE(Asked[0].startsWith(QStringLiteral("Удаление листа: содержимое листа (1    B  видимый")))
        << Asked[0].toStdString();
    EXPECT_TRUE(Asked[0].endsWith(QStringLiteral(") в текущем файле будет удалено!")));
    EXPECT_EQ(Lines(*w).size(), 3);
    EXPECT_TRUE(Lines(*w)[1].startsWith(QStringLiteral("1    C")));
}

TEST_F(ListWindows, ARefusalEndsTheDeletionRunWithTheListAndDrawingCurrent)
{
    Commands({"mcNewPage=<A>", "mcNewPage=<B>", "mcNewPage=<C>", "mcNewPage=<D>"});
    auto w = Open<TFormPages>();
    SelectLines(*w, {0, 1, 2});
    Answers = {mrOk, mrCancel, mrOk};
    Map->DrawMode = 99;
    Press(w->btDel);
    EXPECT_EQ(Issued(), Utf8({"mcDelPage=<0>"}));
    EXPECT_EQ(Asked.size(), 2) << "the third is never asked";
    EXPECT_EQ(Lines(*w).size(), 3);
    EXPECT_TRUE(Lines(*w)[0].startsWith(QStringLiteral("0    B")));
    EXPECT_EQ(Map->DrawMode, 3);
    EXPECT_TRUE(Selected(*w).empty());
    EXPECT_FALSE(w->btDel->isEnabled());
}

TEST_F(ListWindows, DeletingObjectsAsksOnceThenDeletesEachShiftedPosition)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>"});
    for (int i = 0; i < 6; ++i)
        Map->StrToComm(QStringLiteral("mcNewPoint=<0><0><ТОЧ/Ф001><%1,00><20,00><2><0><><0><0>").arg(10 + i));
    struct Case {
        const char* Name;
        TModalResult Answer;
        QStringList Issued;
        int Left;
    };
    const Case cases[] = {
        {"confirmed", mrOk, Utf8({"mcDelPoint=<0><0><1>", "mcDelPoint=<0><0><2>", "mcDelPoint=<0><0><3>"}), 3},
        {"declined", mrCancel, {}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto w = Open<TFormPoints>();
        w->LB->clearSelection();
        if (w->LB->count() == 6)
            SelectLines(*w, {1, 3, 5});
        else
            SelectLines(*w, {0, 1, 2});
        Asked.clear();
        Answers = {c.Answer};
        Press(w->btDel);
        ASSERT_EQ(Asked.size(), 1);
        EXPECT_EQ(Asked[0], QStringLiteral("Удаление точечных объектов: 3 точечных объектов в текущем слое будет удалено!"));
        if (c.Answer == mrOk)
            EXPECT_EQ(Issued(), c.Issued);
        else
            EXPECT_TRUE(Issued().isEmpty());
        EXPECT_EQ(w->LB->count(), c.Left);
    }
}

TEST_F(ListWindows, DeleteQuestionsOfTheOtherKinds)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>",
              "mcNewRastr=<0><r1.bmp><0><0><1><1><1><><100><100><100><100><0>",
              "mcNewText=<0><0><Река><1,00><2,00><0><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    {
        auto w = Open<TFormRastrs>();
        SelectLines(*w, {0});
        Answers = {mrCancel};
        Press(w->btDel);
        ASSERT_EQ(Asked.size(), 1);
        EXPECT_TRUE(Asked[0].startsWith(QStringLiteral("Удаление растра: растр (0 R1.BMP")));
        EXPECT_TRUE(Asked[0].endsWith(QStringLiteral(") будет удален из листа 0 (при этом файл растра на диске не удаляется) ")));
    }
    {
        Asked.clear();
        auto w = Open<TFormTexts>();
        SelectLines(*w, {0});
        Answers = {mrOk};
        Press(w->btDel);
        EXPECT_EQ(Asked, QStringList{QStringLiteral("Удаление текстовых объектов: 1 текстовых объектов в текущем слое будет удалено!")});
        EXPECT_EQ(Issued(), Utf8({"mcDelText=<0><0><0>"}));
    }
    Commands({"mcNewLine=<0><0><ЛИН><><0><0,00><2><><[{10,00}{10,00}{0}{-1,00}{0}{-1}{0}{0}][{20,00}{35,00}"
              "{0}{-1,00}{0}{-1}{0}{0}]>",
              "mcNewPolygon=<0><0><ПОЛ><[{80,00}{80,00}{-1,00}{0}{0}{0}{0}][{90,00}{80,00}{-1,00}{1}{1}{0}"
              "{0}][{90,00}{95,00}{-1,00}{0}{0}{0}{0}]><0><><0,00><0,00><><-1>"});
    {
        Asked.clear();
        auto w = Open<TFormLines>();
        SelectLines(*w, {0});
        Press(w->btDel);
        EXPECT_EQ(Asked, QStringList{QStringLiteral("Удаление линейных объектов:  объектов в текущем слое будет удалено: 1")});
        EXPECT_EQ(Issued(), Utf8({"mcDelLine=<0><0><0>"}));
    }
    {
        Asked.clear();
        auto w = Open<TFormPolygons>();
        SelectLines(*w, {0});
        Press(w->btDel);
        EXPECT_EQ(Asked, QStringList{QStringLiteral("Удаление площадных объектов: объектов в текущем слое будет удалено:1")});
        EXPECT_EQ(Issued(), Utf8({"mcDelPolygon=<0><0><0>"}));
    }
}

TEST_F(ListWindows, MovingAnItemKeepsItSelectedExceptInTheLayersWindow)
{
    Commands({"mcNewPage=<Лист 1>"});
    for (int i = 0; i < 5; ++i)
        Map->StrToComm(QStringLiteral("mcNewRastr=<0><r%1.bmp><0><0><1><1><1><><100><100><100><100><0>").arg(i));
    for (const char* layer : {"A", "B", "C", "D", "E"})
        Map->StrToComm(QStringLiteral("mcNewLayer=<0><%1>").arg(QLatin1String(layer)));
    {
        auto w = Open<TFormRastrs>();
        SelectLines(*w, {4});
        Map->DrawMode = 99;
        Press(w->btUp);
        EXPECT_EQ(Issued(), Utf8({"mcChangeRastrOrder=<0><4><3>"}));
        EXPECT_EQ(Selected(*w), std::vector<int>{3});
        EXPECT_TRUE(w->btUp->isEnabled());
        EXPECT_EQ(Map->DrawMode, 3);
        EXPECT_TRUE(Lines(*w)[3].contains(QStringLiteral("R4.BMP"))) << Lines(*w).join(QLatin1Char('\n')).toStdString();
        // "Назад" on the last line and "Вперед" on the first do nothing.
        w->LB->clearSelection();
        SelectLines(*w, {4});
        Press(w->btDown);
        w->LB->clearSelection();
        SelectLines(*w, {0});
        Press(w->btUp);
        EXPECT_TRUE(Issued().isEmpty());
    }
    {
        auto w = Open<TFormLayers>();
        SelectLines(*w, {4});
        Press(w->btUp);
        EXPECT_EQ(Issued(), Utf8({"mcChangeLayerOrder=<0><4><3>"}));
        EXPECT_TRUE(Selected(*w).empty());
        EXPECT_FALSE(w->btUp->isEnabled());
    }
}

TEST_F(ListWindows, ANewLayerIsOfferedOnlyNamesTheSheetLacks)
{
    ASSERT_GE(Map->LayerNames.size(), 3);
    const QString present = Map->LayerNames[1];
    Map->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("Лист 1")));
    Map->DoCommand(mcNewLayer, TCommandParams().Int(0).Text(present));
    auto w = Open<TFormLayers>();
    Choice = Map->LayerNames[2];
    Press(w->btAdd);
    EXPECT_FALSE(Offered.contains(present));
    EXPECT_EQ(Offered.size(), Map->LayerNames.size() - 1);
    EXPECT_EQ(Offered.first(), Map->LayerNames[0]);
    EXPECT_EQ(Issued(), QStringList{QStringLiteral("mcNewLayer=<0><") + Choice + QLatin1Char('>')});
    EXPECT_EQ(w->LB->count(), 2);

    // A typed name the sheet has: the repeated question; cancelling it abandons.
    Choice = present;
    Asked.clear();
    Press(w->btAdd);
    EXPECT_EQ(Asked.size(), 2);
    EXPECT_EQ(Asked[1], QStringLiteral("InpStr Слой уже существует! [") + present + QLatin1Char(']'));
    EXPECT_TRUE(Issued().isEmpty());
    // Answered with a new name, it is that name that goes.
    Names = {QStringLiteral("Мой слой")};
    Press(w->btAdd);
    EXPECT_EQ(Issued(), Utf8({"mcNewLayer=<0><Мой слой>"}));
    // An empty or cancelled choice adds nothing.
    for (const TModalResult result : {mrOk, mrCancel}) {
        Choice.clear();
        ChoiceResult = result;
        Press(w->btAdd);
        EXPECT_TRUE(Issued().isEmpty());
    }
}

TEST_F(ListWindows, SheetNamesAreNeverSentTwice)
{
    Commands({"mcNewPage=<Лист 1>"});
    auto w = Open<TFormPages>();
    // A repeated name asks again until it is new.
    Names = {QStringLiteral("Лист 1"), QStringLiteral("Лист 1"), QStringLiteral("Лист 2")};
    Press(w->btAdd);
    EXPECT_EQ(Issued(), Utf8({"mcNewPage=<Лист 2>"}));
    EXPECT_EQ(Asked.count(QStringLiteral("InpStr Лист уже существует! [Лист 1]")), 2);
    // Cancelling the repeated question abandons the addition.
    Names = {QStringLiteral("Лист 2")};
    Press(w->btAdd);
    EXPECT_TRUE(Issued().isEmpty());
    EXPECT_EQ(w->LB->count(), 2);
    // Renaming to the item's own name issues nothing; to another's name asks.
    SelectLines(*w, {0});
    Names = {QStringLiteral("Лист 1")};
    Press(w->btName);
    EXPECT_TRUE(Issued().isEmpty());
    Asked.clear();
    SelectLines(*w, {0});
    Names = {QStringLiteral("Лист 2"), QStringLiteral("Северный")};
    Press(w->btName);
    EXPECT_EQ(Asked, Utf8({"InpStr Изменение имени страницы [Лист 1]", "InpStr Лист уже существует! [Лист 2]"}));
    EXPECT_EQ(Issued(), Utf8({"mcSetPageProp=<0><Северный><1>"}));
    // A name the formatter refuses is told and nothing goes.
    const QString before = CommandLog->join(QLatin1Char('\n'));
    Asked.clear();
    Names = {QStringLiteral("Лист <3>")};
    Press(w->btAdd);
    EXPECT_TRUE(Issued().isEmpty());
    ASSERT_EQ(Asked.size(), 2);
    EXPECT_TRUE(Asked[1].startsWith(QStringLiteral("Листы: "))) << Asked[1].toStdString();
    EXPECT_EQ(w->LB->count(), 2);
}

TEST_F(ListWindows, LayersAreRenamedShownAndHiddenOnTheChosenSheet)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewPage=<Лист 2>", "mcNewLayer=<1><Здания>", "mcNewLayer=<1><Рельеф>"});
    auto w = Open<TFormLayers>();
    EXPECT_EQ(w->LB->count(), 0) << "sheet 0 has no layers";
    w->cbPage->setCurrentIndex(1);
    emit w->cbPage->activated(1);
    ASSERT_EQ(w->LB->count(), 2);
    SelectLines(*w, {1});
    Names = {QStringLiteral("Здания"), QStringLiteral("Горы")};
    Map->DrawMode = 99;
    Press(w->btName);
    EXPECT_EQ(Asked, Utf8({"InpStr Изменение имени слоя [Рельеф]", "InpStr Слой уже существует! [Здания]"}));
    EXPECT_EQ(Issued(), Utf8({"mcSetLayerProp=<1><1><Горы><1>"}));
    EXPECT_EQ(Map->DrawMode, 99) << "a rename draws nothing";
    SelectLines(*w, {0, 1});
    Press(w->btHide);
    EXPECT_EQ(Issued(), Utf8({"mcSetLayerProp=<1><0><Здания><0>", "mcSetLayerProp=<1><1><Горы><0>"}));
    EXPECT_TRUE(Lines(*w)[1].startsWith(QStringLiteral("1  горы"))) << Lines(*w)[1].toStdString();
    EXPECT_EQ(Map->DrawMode, 3);
    SelectLines(*w, {0});
    Answers = {mrOk};
    Press(w->btDel);
    EXPECT_TRUE(Asked.last().startsWith(QStringLiteral("Удаление слоя: содержимое слоя (0  здания")));
    EXPECT_EQ(Issued(), Utf8({"mcDelLayer=<1><0>"}));
}

TEST_F(ListWindows, AHiddenSheetIsListedInLowerCase)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewPage=<Лист 2>"});
    auto w = Open<TFormPages>();
    EXPECT_TRUE(Lines(*w)[0].startsWith(QStringLiteral("0    ЛИСТ 1  видимый")));
    SelectLines(*w, {0, 1});
    Map->DrawMode = 99;
    Press(w->btHide);
    EXPECT_EQ(Issued(), Utf8({"mcSetPageProp=<0><Лист 1><0>", "mcSetPageProp=<1><Лист 2><0>"}));
    EXPECT_TRUE(Lines(*w)[0].startsWith(QStringLiteral("0    лист 1  скрытый"))) << Lines(*w)[0].toStdString();
    EXPECT_EQ(Map->DrawMode, 3);
    SelectLines(*w, {1});
    Press(w->btShow);
    EXPECT_EQ(Issued(), Utf8({"mcSetPageProp=<1><Лист 2><1>"}));
}

TEST_F(ListWindows, ShowingARasterKeepsItsOtherFields)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewRastr=<0><r1.bmp><1,5><2,25><100><200><0><ф><90><80><70><60><1>"});
    auto w = Open<TFormRastrs>();
    SelectLines(*w, {0});
    Press(w->btShow);
    EXPECT_EQ(Issued(),
              Utf8({"mcSetRastrProp=<0><0><r1.bmp><1,500><2,250><100,000><200,000><1><ф><90><80><70><60><1>"}));
}

TEST_F(ListWindows, ANewRasterOpensItsWindowOnTheLastLine)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewRastr=<0><r1.bmp><0><0><1><1><1><><100><100><100><100><0>"});
    std::vector<std::pair<int, int>> shown;
    ProgramDialogHooks().RasterProp = [&](int page, int rastr) {
        shown.emplace_back(page, rastr);
        return mrCancel;
    };
    auto w = Open<TFormRastrs>();
    Map->DrawMode = 99;
    Press(w->btAdd);
    EXPECT_EQ(Issued(), Utf8({"mcNewRastr=<0><><0><0><0><0><0><><100><100><100><200><0>"}));
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(w->LB->count(), 2) << "the raster stays though its window was cancelled";
    EXPECT_EQ(Map->DrawMode, 3);
    SelectLines(*w, {0});
    Press(w->btProp);
    EXPECT_EQ(shown.back(), std::make_pair(0, 0));
}

TEST_F(ListWindows, AddingAnObjectDrawsItAloneOrTheWholePlan)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><10,00><20,00><2><0><><0><0>"});
    std::vector<std::tuple<int, int, int, bool>> calls;
    ProgramDialogHooks().PointProp = [&](int& page, int& layer, int& index, bool isNew) {
        calls.emplace_back(page, layer, index, isNew);
        Map->StrToComm(QStringLiteral("mcNewPoint=<0><0><ТОЧ/Ф001><30,00><40,00><2><0><><0><0>"));
        return mrOk;
    };
    ProgramDialogHooks().TextProp = [&](int&, int&, int&, bool) {
        Map->StrToComm(QStringLiteral("mcNewText=<0><0><Река><1,00><2,00><0><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>"));
        return mrOk;
    };
    {
        auto w = Open<TFormPoints>();
        Map->DrawMode = 99;
        Press(w->btAdd);
        EXPECT_EQ(calls, (std::vector<std::tuple<int, int, int, bool>>{{0, 0, 0, true}}));
        EXPECT_EQ(w->LB->count(), 2);
        EXPECT_EQ(Map->DrawMode, 7);
        EXPECT_EQ(Map->EditedKind, 0);
        EXPECT_EQ(Map->EditedObject, 1);
        // A double click on a line opens it.
        const QRect r = w->LB->visualItemRect(w->LB->item(0));
        SelectLines(*w, {0});
        SendMouse(w->LB->viewport(), QEvent::MouseButtonDblClick, r.center());
        SendMouse(w->LB->viewport(), QEvent::MouseButtonRelease, r.center());
        ASSERT_EQ(calls.size(), 2);
        EXPECT_EQ(calls.back(), std::make_tuple(0, 0, 0, false));
        EXPECT_EQ(Map->EditedObject, 0);
    }
    {
        auto w = Open<TFormTexts>();
        Map->DrawMode = 99;
        Press(w->btAdd);
        EXPECT_EQ(w->LB->count(), 1);
        EXPECT_EQ(Map->DrawMode, 3);
    }
}

// Guards the stale list: an editor that moved the object away and was then cancelled
// left the old lines, and a delete at one of them took another object.
TEST_F(ListWindows, TheListIsRefilledAfterAnyEditorCall)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Прочее>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><10,00><20,00><2><0><><0><0>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><11,00><21,00><2><0><><0><0>"});
    ProgramDialogHooks().PointProp = [&](int& page, int& layer, int& index, bool) {
        Map->StrToComm(QStringLiteral("mcDelPoint=<%1><%2><%3>").arg(page).arg(layer).arg(index));
        return mrCancel;
    };
    auto w = Open<TFormPoints>();
    SelectLines(*w, {0});
    Map->DrawMode = 99;
    Press(w->btProp);
    EXPECT_EQ(w->LB->count(), 1);
    EXPECT_TRUE(Selected(*w).empty());
    EXPECT_EQ(Map->DrawMode, 99) << "a cancelled editor draws nothing";
}

TEST_F(ListWindows, AddingObjectsNeedsALayer)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewPage=<Лист 2>", "mcNewLayer=<1><Здания>"});
    auto w = Open<TFormPoints>();
    EXPECT_EQ(w->cbLayer->count(), 0);
    EXPECT_FALSE(w->btAdd->isEnabled());
    w->cbPage->setCurrentIndex(1);
    emit w->cbPage->activated(1);
    EXPECT_EQ(w->cbLayer->count(), 1);
    EXPECT_TRUE(w->btAdd->isEnabled());
}

TEST_F(ListWindows, ThePointListIsSavedAsShown)
{
    Commands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Пусто>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><10,00><20,00><2><0><><0><0>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><11,00><21,00><2><0><><0><0>"});
    TMapHooks saved = MapHooks();
    QString target;
    MapHooks().SaveFileName = [&](const QString&, const QString& filter, QString& fileName) {
        EXPECT_EQ(filter, QStringLiteral("Текстовые файлы (*.txt)"));
        fileName = target;
        return true;
    };
    auto w = Open<TFormPoints>();
    target = Run->Folder() + QStringLiteral("точки");
    Press(w->btSavaAsText);
    QStringList expected = Lines(*w);
    EXPECT_EQ(ReadBytes(target + QStringLiteral(".txt")), EncodeCodePage(expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));

    // The empty layer writes an empty file, over what was there.
    w->cbLayer->setCurrentIndex(1);
    emit w->cbLayer->activated(1);
    EXPECT_EQ(w->LB->count(), 0);
    target = Run->Folder() + QStringLiteral("точки.txt");
    Press(w->btSavaAsText);
    EXPECT_EQ(ReadBytes(target), QByteArray());
    MapHooks() = saved;
}

TEST_F(ListWindows, EnterClosesWithOneAndEscWithTwo)
{
    Commands({"mcNewPage=<Лист 1>"});
    struct Case {
        int Key;
        int Result;
    };
    for (const Case c : {Case{Qt::Key_Return, mrOk}, Case{Qt::Key_Escape, mrCancel}}) {
        auto w = Open<TFormPages>();
        w->setResult(-1);
        QTest::keyClick(w->LB, Qt::Key(c.Key));
        EXPECT_EQ(w->result(), c.Result);
    }
    auto rastrs = Open<TFormRastrs>();
    rastrs->setResult(-1);
    QTest::keyClick(rastrs->LB, Qt::Key_Escape);
    EXPECT_EQ(rastrs->result(), -1) << "the rasters window takes no Esc";
}

// The seven windows as a surveyor sees them, for review.
TEST_F(ListWindows, Pictures)
{
    Commands({"mcNewPage=<Северный>", "mcNewPage=<Южный квартал>", "mcNewLayer=<0><Здания>",
              "mcNewLayer=<0><Гидрография>", "mcNewLayer=<1><Рельеф>",
              "mcNewRastr=<0><подложка.bmp><0><0><100><100><1><><100><100><100><200><0>",
              "mcNewRastr=<0><снимок 2.jpg><0><0><100><100><0><><90><100><100><150><1>",
              "mcNewText=<0><0><Река Быстрая><10,00><20,00><0><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>",
              "mcNewText=<0><0><ул. Ленина><12,50><120,00><450><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>",
              "mcNewPoint=<0><0><ТОЧ/Ф001><10,00><20,00><2><0><><0><0>",
              "mcNewPoint=<0><0><ОТА/ИВ123,45;><1210,55><3320,10><2><0><><0><0>",
              "mcNewLine=<0><0><ЛИН><><0><0,00><2><><[{10,00}{10,00}{0}{-1,00}{0}{-1}{0}{0}][{20,00}{35,00}"
              "{0}{-1,00}{0}{-1}{0}{0}]>",
              "mcNewPolygon=<0><0><ПОЛ><[{80,00}{80,00}{-1,00}{0}{0}{0}{0}][{90,00}{80,00}{-1,00}{1}{1}{0}"
              "{0}][{90,00}{95,00}{-1,00}{0}{0}{0}{0}][{80,00}{95,00}{-1,00}{2}{0}{0}{0}]><0><><0,00><0,00>"
              "<><-1>",
              "mcSetPageProp=<1><Южный квартал><0>"});
    const auto picture = [&](TFormListBase& w, const char* name) {
        SelectLines(w, {0});
        const QString file = SaveWindowPicture(&w, QString::fromLatin1(name));
        EXPECT_FALSE(QImage(file).isNull());
        EXPECT_GT(w.LB->count(), 0) << name;
    };
    picture(*Open<TFormPages>(), "list-pages");
    picture(*Open<TFormLayers>(), "list-layers");
    picture(*Open<TFormRastrs>(), "list-rastrs");
    picture(*Open<TFormTexts>(), "list-texts");
    picture(*Open<TFormPoints>(), "list-points");
    picture(*Open<TFormLines>(), "list-lines");
    picture(*Open<TFormPolygons>(), "list-polygons");
}
