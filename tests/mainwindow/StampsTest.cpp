// Stamps, sheet frames and coordinate labels on the main window: the names, nomenclatures
// and geometry they compute, the templates we ship, and the whole tools as the user
// works them, with the journal and the saved plan as the oracle.
#include "SurfaceTestSupport.h"
#include "dialogs/DialogsTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/stamps/UnitStamp.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/stamps/Stamps.h"
#include "platform/CodePage.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

// The lines the journal gained since from.
QStringList JournalSince(qsizetype from) { return CommandLog->mid(from); }

QStringList Named(const QStringList& lines, const char* command)
{
    QStringList found;
    for (const QString& l : lines)
        if (l.startsWith(QString::fromUtf8(command) + QLatin1Char('=')))
            found << l;
    return found;
}

void ClickPanel(TFormMap& form, const char* hint)
{
    QToolButton* button = form.PanelButtons.value(S(hint));
    ASSERT_NE(button, nullptr) << hint;
    button->click();
}

// A nomenclature table of kind 2 with the base squares given (name, south-west X, Y).
void LoadNomenclature(const QString& folder, const QStringList& pairs)
{
    const QString file = folder + QStringLiteral("тест-номенклатура.wri");
    QStringList lines = {QStringLiteral("2")};
    lines << pairs;
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeCodePage(JoinLinesCrLf(lines)));
    f.close();
    MainMap->LoadNomenclatures(file);
}

// The plan's picture of the view with its south-west corner at (x, y) and mpp metres per
// pixel, for review.
QImage ZoomedPicture(TFormMap& form, Extended x, Extended y, Extended mpp)
{
    const QSize size = form.DisplaySurf->size();
    auto view = std::make_unique<RMapView>();
    view->ViewXMin = x;
    view->ViewYMin = y;
    view->ViewXMax = x + size.height() * mpp;
    view->ViewYMax = y + size.width() * mpp;
    view->FactorX = view->FactorY = 0.01L / mpp;
    MainMap->MapViews.AddItem(std::move(view));
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    return PictureOnly(form);
}

int PageOf(const QString& name)
{
    int index = -1;
    MainMap->GetPageIndex(name, index);
    return index;
}

}  // namespace

TEST(StampNames, NomenclaturesAndSheetNames)
{
    struct Case {
        const char* In;
        const char* Trimmed;
        const char* Normalised;
    };
    const Case cases[] = {{"123-А-13", "123-А", "123-А-13"}, {"012-А-05", "012-А", "12-А-5"},
                          {"012-А-10", "012-А", "12-А-10"},  {"001-Б-01", "001-Б", "1-Б-1"},
                          {"000-В-01", "000-В", "0-В-1"},     {"12-А", "12-А", "12-А"},
                          {"?", "?", "?"},                   {"", "", ""},
                          {"12345", "12345", "12345"},       {"123-А", "123-А", "123-А"},
                          {"0123-А", "0123", "123-А"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.In);
        EXPECT_EQ(TrimNomenclatureTail(S(c.In)), S(c.Trimmed));
        EXPECT_EQ(NormaliseNomenclature(S(c.In)), S(c.Normalised));
    }
    EXPECT_EQ(StampSheetName(1), S("^штамп01"));
    EXPECT_EQ(StampSheetName(9), S("^штамп09"));
    EXPECT_EQ(StampSheetName(10), S("^штамп10"));
    EXPECT_EQ(StampSheetName(123), S("^штамп123"));

    struct Numbers {
        QStringList Names;
        int Next;
    };
    const Numbers numbers[] = {{{S("^штамп01"), S("^штамп03"), S("^штамп02")}, 4},
                               {{S("^штамп09")}, 10},
                               {{}, 1},
                               {{S("^штамп"), S("^штампА1")}, 1},   // no number in them
                               {{S("^штамп-3")}, -2},
                               {{S("Лист ^штамп05"), S("^штамп07")}, 8}};
    for (const Numbers& n : numbers) {
        SCOPED_TRACE(n.Names.join(u',').toStdString());
        EXPECT_EQ(NextStampNumber(n.Names), n.Next);
    }
}

TEST(StampGeometry, FourFramePolygonsAroundTheStamp)
{
    TSeparatorScope point(QLatin1Char('.'));
    const auto node = [](const char* x, const char* y) {
        return QStringLiteral("[{%1}{%2}{-1.00}{0}{0}{0}{0}]").arg(S(x), S(y));
    };
    // The stamp 130..100 north, 215..400 east at 1:500: a = 2.5 m, b = 25 m.
    const auto polygons = StampFramePolygons(130, 215, 100, 400, 2.5L, 25);
    const QString grown = node("132.50", "212.50") + node("132.50", "402.50") + node("97.50", "402.50") +
                          node("97.50", "212.50");
    EXPECT_EQ(polygons[0].Semantics, S("ОФО/К110"));
    EXPECT_EQ(polygons[0].Nodes, grown + node("132.50", "212.50") + node("130.00", "215.00") +
                                     node("100.00", "215.00") + node("100.00", "400.00") +
                                     node("130.00", "400.00") + node("130.00", "215.00"));
    EXPECT_EQ(polygons[1].Semantics, S("ОФО/К110"));
    EXPECT_EQ(polygons[1].Nodes, grown + node("132.50", "212.50") + node("157.50", "187.50") +
                                     node("72.50", "187.50") + node("72.50", "427.50") +
                                     node("157.50", "427.50") + node("157.50", "187.50"));
    EXPECT_EQ(polygons[2].Semantics, S("ОФО/К313"));
    EXPECT_EQ(polygons[2].Nodes, node("130.00", "215.00") + node("130.00", "400.00") +
                                     node("100.00", "400.00") + node("100.00", "215.00"));
    EXPECT_EQ(polygons[3].Semantics, S("ОФО/К310"));
    EXPECT_EQ(polygons[3].Nodes, grown);
}

TEST(StampGeometry, CoordinateLabelsByQuadrant)
{
    const std::array<Extended, 16> offsets = {1.7L, 0.1L, 1.7L,  1.5L, -0.1L, 1.5L,  -5.8L, 0.1L,
                                              -5.8L, -1.7L, -0.1L, -6.0L, 1.7L, -6.0L, 1.7L, -1.7L};
    struct Case {
        int Q;
        const char* Text1;
        double X1, Y1;
        int A1;
        const char* Text2;
        double X2, Y2;
        int A2;
    };
    const Case cases[] = {{1, "500", 251.7, 500.1, 900, "250", 251.7, 501.5, 0},
                          {2, "250", 249.9, 501.5, 0, "500", 244.2, 500.1, 900},
                          {3, "500", 244.2, 498.3, 900, "250", 249.9, 494.0, 0},
                          {4, "250", 251.7, 494.0, 0, "500", 251.7, 498.3, 900},
                          {0, "500", 251.7, 500.1, 900, "250", 251.7, 501.5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Q);
        const auto labels = CoordLabels(c.Q, GeoPoint(250, 500), offsets);
        EXPECT_EQ(labels[0].Text, S(c.Text1));
        EXPECT_NEAR(double(labels[0].At.X), c.X1, 1e-9);
        EXPECT_NEAR(double(labels[0].At.Y), c.Y1, 1e-9);
        EXPECT_EQ(labels[0].Angle, c.A1);
        EXPECT_EQ(labels[1].Text, S(c.Text2));
        EXPECT_NEAR(double(labels[1].At.X), c.X2, 1e-9);
        EXPECT_NEAR(double(labels[1].At.Y), c.Y2, 1e-9);
        EXPECT_EQ(labels[1].Angle, c.A2);
    }
    // Whole metres, as the fixed format rounds them.
    EXPECT_EQ(CoordLabels(2, GeoPoint(6123250.4L, 2345000), offsets)[0].Text, S("6123250"));
    EXPECT_EQ(CoordLabels(2, GeoPoint(6123250.6L, 2345000), offsets)[0].Text, S("6123251"));
}

// ---- The shipped templates ---------------------------------------------------------------

TEST(StampTemplates, SheetLayerKeysAndCornerAtTheOrigin)
{
    TMainWindowRun run;
    run.Start();
    const struct {
        const char* File;
        const char* Sheet;
        int Scale;
        int Keys;
    } templates[] = {{"штамп.500", "^штамп", 500, 18},
                     {"штамп.2000", "^штамп", 2000, 18},
                     {"рамка.500", "^рамка", 500, 21},
                     {"рамка.2000", "^рамка", 2000, 29}};
    for (const auto& t : templates) {
        SCOPED_TRACE(t.File);
        const QString path = run.Folder() + QStringLiteral("Шаблоны/") + S(t.File);
        ASSERT_TRUE(QFile::exists(path));
        MainMap->DoCommand(mcOpenMap, QStringLiteral("<%1><New>").arg(path));
        ASSERT_EQ(MainMap->GetPagesCount(), 1);
        EXPECT_EQ(MainMap->Pages.At(0)->Name, S(t.Sheet));
        QStringList texts;
        MainMap->GetNamedTexts(S(t.Sheet), S("Оформление"), texts);
        EXPECT_EQ(texts.size(), t.Keys);
        const std::vector<RNamedTextKey>& keys = t.Keys == 18 ? StampKeys() : RamkaKeys();
        for (const RNamedTextKey& key : keys) {
            const QString wanted = QLatin1Char('^') + S(key.Key) + QLatin1Char('%');
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                    [&](const QString& line) { return line.startsWith(wanted); }))
                << key.Key;
        }
        TGeoPoint min = GeoPoint(-1, -1), max;
        MainMap->MaxMinCoord(S(t.Sheet), min, max);
        const Extended mm = Extended(t.Scale) / 1000;
        if (t.Keys == 18) {
            // The stamp is 185 by 55 mm with its south-west corner at the origin.
            EXPECT_EQ(double(min.X), 0.0);
            EXPECT_EQ(double(min.Y), 0.0);
            EXPECT_NEAR(double(max.X), double(55 * mm), 1e-9);
            EXPECT_NEAR(double(max.Y), double(185 * mm), 1e-9);
        } else {
            // The sheet's own frame: 50 cm from the origin; its decoration lies outside.
            const RGPolygon* frame = MainMap->Pages.At(0)->Layers.At(0)->Polygons.At(0);
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(frame->Semantics, S("ОФО/К313"));
            EXPECT_LT(double(min.X), 0.0);
        }
    }
    // The labels' style, before the caption style that stays last.
    for (const int scale : {500, 1000, 2000}) {
        TSymbols symbols;
        symbols.LoadTextStyles(scale);
        EXPECT_TRUE(symbols.FindStyle(S(">НАДПИСИ ЗА РАМКАМИ 2 (30)"))) << scale;
    }
}

// ---- The tools on the main window ---------------------------------------------------------

class StampTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMainWindowRun::TOptions options;
        options.CollectMessages = true;
        Run = std::make_unique<TMainWindowRun>(options);
        Run->Start();
        Form = &Run->Form();
        RunCommands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Общий>"});
        Hooks = std::make_unique<TScopedProgramDialogHooks>();
        Start = CommandLog->size();
    }
    void TearDown() override
    {
        Hooks.reset();
        Run.reset();
    }
    QStringList Journal() const { return JournalSince(Start); }
    QString Template(const char* file) const { return Run->Folder() + QStringLiteral("Шаблоны/") + S(file); }

    std::unique_ptr<TMainWindowRun> Run;
    TFormMap* Form = nullptr;
    std::unique_ptr<TScopedProgramDialogHooks> Hooks;
    qsizetype Start = 0;
};

TEST_F(StampTools, OnlyScales500And2000AndOnlyWithATemplate)
{
    MainMap->DoCommand(mcSetMapScale, QStringLiteral("<1000>"));
    Start = CommandLog->size();
    ClickPanel(*Form, "Штамп");
    ClickPanel(*Form, "Рамка планшета");
    ASSERT_EQ(Run->Messages.size(), 2u);
    EXPECT_EQ(Run->Messages[0], S("Ошибка: Программа рассчитана на создание зарамочного оформления для 500 и "
                                  "2000 масштабов"));
    MainMap->DoCommand(mcSetMapScale, QStringLiteral("<500>"));
    ASSERT_TRUE(QFile::remove(Template("штамп.500")));
    Start = CommandLog->size();
    const int pages = MainMap->GetPagesCount();
    ClickPanel(*Form, "Штамп");
    ASSERT_EQ(Run->Messages.size(), 3u);
    EXPECT_EQ(Run->Messages[2], S("Файл не найден: Не обнаружен файл шаблона (штамп) ") + Template("штамп.500"));
    EXPECT_TRUE(Journal().isEmpty());
    EXPECT_EQ(MainMap->GetPagesCount(), pages);
    EXPECT_NE(Form->MouseMode, mmSetStamp);
}

TEST_F(StampTools, StampNumberedAfterTheLargestThere)
{
    RunCommands({"mcNewPage=<^штамп01>", "mcNewPage=<^штамп03>", "mcNewPage=<^штамп02>"});
    int asked = 0;
    ProgramDialogHooks().Ask2Way = [&](const QString& caption, const QString& message, const QString& first,
                                       const QString& second) {
        ++asked;
        EXPECT_EQ(caption, S("Выберете действие"));
        EXPECT_EQ(message, S("В текущем файле уже есть штампы; можно изменить существующие либо добавить новый"));
        EXPECT_EQ(first, S("изменить"));
        EXPECT_EQ(second, S("добавить"));
        return 101;
    };
    Start = CommandLog->size();
    ClickPanel(*Form, "Штамп");
    EXPECT_EQ(asked, 1);
    const QStringList journal = Journal();
    ASSERT_GE(journal.size(), 2);
    EXPECT_EQ(journal[0], QStringLiteral("mcAddMap=<%1><New>").arg(Template("штамп.500")));
    EXPECT_EQ(journal[1], S("mcSetPageProp=<4><^штамп04><0>"));
    EXPECT_EQ(Form->StampPageName, S("^штамп04"));
    EXPECT_EQ(Form->MouseMode, mmSetStamp);
    EXPECT_NEAR(double(Form->StampSizeY), 92.5, 1e-9);
    EXPECT_NEAR(double(Form->StampSizeX), 27.5, 1e-9);
    EXPECT_EQ(MainMap->Pages.At(4)->Visible, 0);

    RunCommands({"mcNewPage=<^штамп09>"});
    ClickPanel(*Form, "Штамп");
    EXPECT_EQ(Form->StampPageName, S("^штамп10"));
    EXPECT_GE(PageOf(S("^штамп10")), 0);

    // Esc on the question: nothing merged.
    ProgramDialogHooks().Ask2Way = [](const QString&, const QString&, const QString&, const QString&) {
        return mrCancel;
    };
    Start = CommandLog->size();
    ClickPanel(*Form, "Штамп");
    EXPECT_TRUE(Journal().isEmpty());
    EXPECT_TRUE(Run->Messages.empty());
}

TEST_F(StampTools, ChangingOneOfSeveralStampsTakesOnlyAChosenName)
{
    RunCommands({"mcNewPage=<^штамп01>", "mcNewLayer=<1><Оформление>",
                 "mcNewText=<1><0><^заказ%1><0><0><0><1><><0><><0><0><>", "mcNewPage=<^штамп02>"});
    ProgramDialogHooks().Ask2Way = [](const QString&, const QString&, const QString&, const QString&) {
        return 100;
    };
    TSelection answer;
    DialogHooks().SelStr = [&](const QStringList& list, TSelection& selection, const QString& caption,
                               const QString&) {
        EXPECT_EQ(list, QStringList({S("^штамп01"), S("^штамп02")}));
        EXPECT_EQ(caption, S("Быбор штампа"));
        selection = answer;
        return mrOk;
    };
    QStringList shown;
    ProgramDialogHooks().StampDlg = [&](QStringList& list, std::array<QString, 18>&) {
        shown = list;
        list = {S("^заказ%22-07")};
        return mrOk;
    };
    answer.Index = -1;
    answer.Typed = S("^штамп05");   // typed, not one of the list
    Start = CommandLog->size();
    ClickPanel(*Form, "Штамп");
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(Journal().isEmpty());

    answer.Index = 0;
    answer.Typed.clear();
    ClickPanel(*Form, "Штамп");
    EXPECT_EQ(shown, QStringList({S("^заказ%1")}));
    const QStringList journal = Journal();
    ASSERT_EQ(journal.size(), 1);
    EXPECT_TRUE(journal[0].startsWith(S("mcSetTextProp=<1><0><0><^заказ%22-07><"))) << journal[0].toStdString();
}

TEST_F(StampTools, StampPlacedByADragAndFilledInThroughItsWindows)
{
    InstallStampDialogWindows();
    TSeparatorScope point(QLatin1Char('.'));
    MainMap->LinkToNodes = 1;
    ExactView(*Form, 1);   // the 50 m grid is offered: the corners snap to its crossings
    Form->LastStamp[7] = S("12-05");
    ClickPanel(*Form, "Штамп");
    ASSERT_EQ(Form->MouseMode, mmSetStamp);
    EXPECT_EQ(Form->StampPageName, S("^штамп01"));
    const int page = PageOf(S("^штамп01"));
    ASSERT_GE(page, 0);
    Start = CommandLog->size();

    TModalScript script;
    script.Then("TFormInpStampLink", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit1")->text(), S("150.00"));
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit2")->text(), S("300.00"));
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit3")->text(), S("100.00"));
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit4")->text(), S("400.00"));
        TypeInto(w, "NumEdit1", S("127.5"));
        TypeInto(w, "NumEdit2", S("307.5"));
        Enter(w);
    });
    script.Then("TFormStamp", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "eZak")->text(), S("12-05"));
        EXPECT_EQ(Control<QLineEdit>(w, "eScale")->text(), S("1:500"));
        TypeInto(w, "eOrg", S("ГУП «Топограф»"));
        TypeInto(w, "eObj1", S("Жилой дом по ул. Садовой"));
        TypeInto(w, "ePage", S("1"));
        TypeInto(w, "ePages", S("1"));
        SaveWindowPicture(w, QStringLiteral("StampWindowFilled"));
        Enter(w);
    });
    TSurfaceDriver mouse(*Form);
    mouse.Move(150, 300);
    mouse.Press(150, 300);
    mouse.Move(120, 350, Qt::LeftButton);
    mouse.Move(100, 400, Qt::LeftButton);
    mouse.Release(100, 400);
    ASSERT_TRUE(script.Done());

    const QStringList journal = Journal();
    ASSERT_GE(journal.size(), 6);
    EXPECT_EQ(journal[0], QStringLiteral("mcTransform=<%1><1.00><100.00><307.50><0.00><0.00><0.00>").arg(page));
    const QStringList polygons = Named(journal, "mcNewPolygon");
    ASSERT_EQ(polygons.size(), 4);
    const auto expected = StampFramePolygons(127.5L, 307.5L, 100, 400, 2.5L, 25);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(polygons[i], QStringLiteral("mcNewPolygon=<%1><0><%2><%3><3><><0.00><0.00><><-1>")
                                   .arg(page)
                                   .arg(expected[std::size_t(i)].Semantics, expected[std::size_t(i)].Nodes));
    EXPECT_EQ(journal[5], QStringLiteral("mcSetPageProp=<%1><^штамп01><1>").arg(page));
    const QString texts = Named(journal, "mcSetTextProp").join(u'\n');
    EXPECT_TRUE(texts.contains(S("<^предприятие%ГУП «Топограф»>")));
    EXPECT_TRUE(texts.contains(S("<^заказ%12-05>")));
    EXPECT_TRUE(texts.contains(S("<^дата% >")));   // an empty field is one blank
    EXPECT_EQ(Form->LastStamp[0], S("ГУП «Топограф»"));
    EXPECT_NE(Form->MouseMode, mmSetStamp);

    // The template's lower right corner lies on the release point.
    TGeoPoint min, max;
    MainMap->MaxMinCoord(S("^штамп01"), min, max);
    EXPECT_NEAR(double(max.Y), 402.5 + 25, 1e-9);   // the outer band reaches b beyond
    EXPECT_EQ(MainMap->Pages.At(page)->Layers.At(0)->Name, S("Оформление"));

    SaveImage(ZoomedPicture(*Form, 60, 270, 0.2L), QStringLiteral("StampPlaced"));
    SaveImage(ZoomedPicture(*Form, 97, 305, 0.06L), QStringLiteral("StampPlacedDetail"));
    const QString file = Run->Folder() + QStringLiteral("stamped.500");
    MainMap->DoCommand(mcSaveMap, QStringLiteral("<%1><New>").arg(file));
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QString text = DecodeCodePage(saved.readAll());
    const qsizetype sheet = text.indexOf(S("|имя|^штамп01"));
    ASSERT_GE(sheet, 0);
    const QString head = text.mid(sheet, text.indexOf(S("{СЛО"), sheet) - sheet);
    EXPECT_FALSE(head.contains(S("|вид|0"))) << head.toStdString();
    EXPECT_TRUE(text.contains(S("@^предприятие%ГУП «Топограф»")));
    EXPECT_TRUE(Run->Messages.empty());
}

TEST_F(StampTools, Frame500FromTheNomenclatureAsTyped)
{
    LoadNomenclature(Run->Folder(), {S("1"), S("0 0")});
    ProgramDialogHooks().InpNomStr = [](QString& value, const QString& caption, const QString& message) {
        EXPECT_EQ(caption, S("Номенклатура планшета"));
        EXPECT_TRUE(message.isEmpty());
        value = S("001-Б-01");
        return mrOk;
    };
    QStringList shown;
    ProgramDialogHooks().RamkaDlg = [&](QStringList& list) {
        shown = list;
        list << S("^гриф%Для служебного пользования");
        return mrOk;
    };
    ClickPanel(*Form, "Рамка планшета");
    const int page = PageOf(S("^рамка001-Б-01"));
    ASSERT_GE(page, 0);
    // The template's own lines first, then what the builder computed.
    const QStringList computed = shown.mid(shown.indexOf(S("^номенклатура%1-Б-1")));
    EXPECT_EQ(computed, QStringList({S("^номенклатура%1-Б-1"), S("^xсев%2000"), S("^xюг%1750"), S("^yзап%1000"),
                                     S("^yвост%1250"), S("^номсев%?"), S("^номюг%1-Б-5"), S("^номзап%1-А-4"),
                                     S("^номвост%1-Б-2")}));
    const QStringList journal = Journal();
    EXPECT_EQ(journal[0], QStringLiteral("mcAddMap=<%1><New>").arg(Template("рамка.500")));
    EXPECT_EQ(journal[1], QStringLiteral("mcSetPageProp=<%1><^рамка001-Б-01><0>").arg(page));
    EXPECT_EQ(Named(journal, "mcTransform"),
              QStringList({Decimal("mcTransform=<%1><1,00><1750,00><1000,00><0,00><0,00><0,00>").arg(page)}));
    EXPECT_EQ(journal.last(), QStringLiteral("mcSetPageProp=<%1><^рамка001-Б-01><1>").arg(page));
    QStringList texts;
    MainMap->GetNamedTexts(S("^рамка001-Б-01"), S("Оформление"), texts);
    EXPECT_TRUE(texts.contains(S("^номенклатура%1-Б-1")));
    EXPECT_TRUE(texts.contains(S("^гриф%Для служебного пользования")));
    EXPECT_EQ(MainMap->Pages.At(page)->Visible, 1);
    EXPECT_TRUE(Run->Messages.empty());
}

TEST_F(StampTools, Frame2000TakesItsSouthWestSixteenth)
{
    MainMap->DoCommand(mcSetMapScale, QStringLiteral("<2000>"));
    LoadNomenclature(Run->Folder(), {S("123"), S("10000 20000")});
    DialogHooks().InpNomStr2000 = [](QString& value, const QString& caption, const QString&) {
        EXPECT_EQ(caption, S("Номенклатура планшета"));
        value = S("123-А");
        return mrOk;
    };
    QStringList shown;
    ProgramDialogHooks().RamkaDlg = [&](QStringList& list) {
        shown = list;
        return mrOk;
    };
    Start = CommandLog->size();
    ClickPanel(*Form, "Рамка планшета");
    const int page = PageOf(S("^рамка123-А"));
    ASSERT_GE(page, 0);
    const QStringList computed = shown.mid(shown.indexOf(S("^номенклатура%123-А")));
    EXPECT_EQ(computed, QStringList({S("^номенклатура%123-А"), Decimal("^xсев%12,0"), Decimal("^xюг%11,0"),
                                     Decimal("^yзап%20,0"), Decimal("^yвост%21,0"), S("^номсев%?"),
                                     S("^номюг%123-В"), S("^номзап%?"), S("^номвост%123-Б")}));
    EXPECT_EQ(Named(Journal(), "mcTransform"),
              QStringList({Decimal("mcTransform=<%1><1,00><11000,00><20000,00><0,00><0,00><0,00>").arg(page)}));
    QStringList texts;
    MainMap->GetNamedTexts(S("^рамка123-А"), S("Оформление"), texts);
    for (const char* grid : {"^x1%11,2", "^x4%11,8", "^y1%20,2", "^y4%20,8"})
        EXPECT_TRUE(texts.contains(Decimal(grid))) << grid;
    EXPECT_TRUE(texts.contains(S("^масштаб%1:2000")));
}

TEST_F(StampTools, FrameOfAnUnknownOrExistingSheetLeavesThePlanAlone)
{
    // The template was merged first and left behind as a hidden sheet.
    LoadNomenclature(Run->Folder(), {S("1"), S("0 0")});
    QString typed;
    ProgramDialogHooks().InpNomStr = [&](QString& value, const QString&, const QString&) {
        value = typed;
        return mrOk;
    };
    ProgramDialogHooks().RamkaDlg = [](QStringList&) { return mrOk; };
    const int pages = MainMap->GetPagesCount();
    for (const char* nomenclature : {"002-А-01", "001-А-17", "001-Ж-01", "   - -  "}) {
        SCOPED_TRACE(nomenclature);
        typed = S(nomenclature);
        Start = CommandLog->size();
        ClickPanel(*Form, "Рамка планшета");
        EXPECT_TRUE(Journal().isEmpty());
        EXPECT_EQ(MainMap->GetPagesCount(), pages);
        ASSERT_FALSE(Run->Messages.empty());
        EXPECT_EQ(Run->Messages.back(), S("Ошибка: Не удалось определить координаты по заданной номенклатуре: ") + typed);
    }
    typed = S("001-А-01");
    ClickPanel(*Form, "Рамка планшета");
    ASSERT_GE(PageOf(S("^рамка001-А-01")), 0);
    ProgramDialogHooks().Ask2Way = [](const QString&, const QString& message, const QString&, const QString&) {
        EXPECT_EQ(message, S("В текущем файле уже есть рамки; можно изменить существующие либо добавить новую"));
        return 101;
    };
    const int framed = MainMap->GetPagesCount();
    Start = CommandLog->size();
    ClickPanel(*Form, "Рамка планшета");
    EXPECT_TRUE(Journal().isEmpty());
    EXPECT_EQ(MainMap->GetPagesCount(), framed);
    EXPECT_EQ(Run->Messages.back(), S("Ошибка: Лист с именем \"^рамка001-А-01\" уже есть"));
}

TEST_F(StampTools, CoordinateLabelsAtAGridCrossing)
{
    TSeparatorScope point(QLatin1Char('.'));
    MainMap->LinkToNodes = 1;
    ExactView(*Form, 1);
    Form->DestAutoPage = 0;
    Form->DestPageName = S("Лист 1");
    int linkClicks = 0;
    TExSpeedButton* link = Form->FormInstr1->btLink;
    link->SetGroupIndex(27);
    link->SetAllowAllUp(true);
    link->OnClick = [&] {
        ++linkClicks;
        MainMap->LinkToNodes = link->Down() ? 1 : 0;
        if (MainMap->LinkToNodes)
            MainMap->FindScreenNodes();
    };
    ClickPanel(*Form, "Подписи координат");
    EXPECT_EQ(Form->MouseMode, mmCoordLabels);
    EXPECT_EQ(linkClicks, 1);
    Start = CommandLog->size();
    TSurfaceDriver mouse(*Form);
    mouse.Move(250, 500);
    mouse.Press(250, 500);
    mouse.Move(230, 530, Qt::LeftButton);   // below right of the crossing
    mouse.Release(230, 530);
    EXPECT_EQ(Form->CoordLabelQuadrant, 2);
    const QStringList texts = Named(Journal(), "mcNewText");
    const int layer = MainMap->GetLayerIndexInCurrentPage(MainMap->CaptionLayerName);
    ASSERT_GE(layer, 0);
    EXPECT_EQ(texts, QStringList({QStringLiteral("mcNewText=<0><%1><250><249.90><501.50><0><1.00><*НАДПИСИ ЗА "
                                                 "РАМКАМИ 2 (30)><0><><0><0.00><>")
                                      .arg(layer),
                                  QStringLiteral("mcNewText=<0><%1><500><244.20><500.10><900><1.00><*НАДПИСИ ЗА "
                                                 "РАМКАМИ 2 (30)><0><><0><0.00><>")
                                      .arg(layer)}));
    EXPECT_EQ(Form->MouseStep, 0);
    EXPECT_EQ(MainMap->LinkToNodes, 1);   // snapping on again for the next crossing
    SaveImage(ZoomedPicture(*Form, 235, 485, 0.04L), QStringLiteral("CoordLabels"));

    // A release after a press beside the grid makes nothing.
    ExactView(*Form, 2);
    Start = CommandLog->size();
    mouse.Move(251, 505);
    mouse.Press(251, 505);
    mouse.Release(251, 505);
    EXPECT_TRUE(Named(Journal(), "mcNewText").isEmpty());
    link->OnClick = nullptr;
}

TEST_F(StampTools, StampMovedByItsLowerRightCornerWithoutSnapping)
{
    // A template 30 m high and 185 m wide whose lower right corner goes to (100, 400).
    TSeparatorScope point(QLatin1Char('.'));
    RunCommands({"mcNewPage=<^штамп01>", "mcNewLayer=<1><Оформление>",
                 "mcNewText=<1><0><^лист%><0><0><0><1><><0><><0><0><>",
                 "mcNewText=<1><0><x><30><185><0><1><><0><><0><0><>"});
    Form->StampSizeX = 30;
    Form->StampSizeY = 185;
    Form->Snapped = false;
    Form->Points.Down.Plan = GeoPoint(130, 215);
    Form->Points.Up.Plan = GeoPoint(100, 400);
    int corners = 0;
    ProgramDialogHooks().InpStampLink = [&](Extended& X1, Extended& Y1, Extended& X2, Extended& Y2) {
        ++corners;
        EXPECT_EQ(double(X1), 130.0);
        EXPECT_EQ(double(Y1), 215.0);
        EXPECT_EQ(double(X2), 100.0);
        EXPECT_EQ(double(Y2), 400.0);
        return mrCancel;   // the corners are taken whatever the window's result
    };
    Start = CommandLog->size();
    Form->PlaceStamp(S("^штамп01"));
    EXPECT_EQ(corners, 1);
    const QStringList journal = Journal();
    ASSERT_EQ(journal.size(), 7);   // the named text written back last
    EXPECT_EQ(journal[0], S("mcTransform=<1><1.00><100.00><215.00><0.00><0.00><0.00>"));
    const RGText* moved = MainMap->Pages.At(1)->Layers.At(0)->Texts.At(1);
    EXPECT_EQ(double(moved->Position.X), 130.0);
    EXPECT_EQ(double(moved->Position.Y), 400.0);
    EXPECT_EQ(journal[5], S("mcSetPageProp=<1><^штамп01><1>"));

    // A stamp sheet that is gone: only the mode comes back.
    Start = CommandLog->size();
    Form->PlaceStamp(S("^штамп07"));
    EXPECT_EQ(corners, 2);
    EXPECT_TRUE(Journal().isEmpty());
}

TEST_F(StampTools, FrameFilledInThroughItsWindow)
{
    InstallStampDialogWindows();
    LoadNomenclature(Run->Folder(), {S("1"), S("0 0")});
    ProgramDialogHooks().InpNomStr = [](QString& value, const QString&, const QString&) {
        value = S("001-Б-01");
        return mrOk;
    };
    TModalScript script;
    script.Then("TFormRamka", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "eNom")->text(), S("1-Б-1"));
        EXPECT_EQ(Control<QLineEdit>(w, "eXsev")->text(), S("2000"));
        EXPECT_EQ(Control<QLineEdit>(w, "eYvost")->text(), S("1250"));
        EXPECT_EQ(Control<QLineEdit>(w, "eNomUg")->text(), S("1-Б-5"));
        EXPECT_EQ(Control<QLineEdit>(w, "eScale")->text(), S("1:500"));
        TypeInto(w, "eOrg", S("ГУП «Топограф»"));
        TypeInto(w, "eObj", S("Жилой квартал по ул. Садовой"));
        TypeInto(w, "eInj", S("Иванов И. И."));
        SaveWindowPicture(w, QStringLiteral("RamkaWindowFilled"));
        Enter(w);
    });
    ClickPanel(*Form, "Рамка планшета");
    ASSERT_TRUE(script.Done());
    QStringList texts;
    MainMap->GetNamedTexts(S("^рамка001-Б-01"), S("Оформление"), texts);
    for (const char* line : {"^предприятие%ГУП «Топограф»", "^инженер%Иванов И. И.", "^масштаб%1:500",
                             "^год съемки%Съемка 2006г.", "^гриф% ", "^номсев%?", "^xюг%1750"})
        EXPECT_TRUE(texts.contains(S(line))) << line;
    SaveImage(ZoomedPicture(*Form, 1725, 960, 0.55L), QStringLiteral("FramePlaced"));
    SaveImage(ZoomedPicture(*Form, 1735, 985, 0.05L), QStringLiteral("FrameCorner"));
    SaveImage(ZoomedPicture(*Form, 1738, 1090, 0.05L), QStringLiteral("FrameBottom"));
    SaveImage(ZoomedPicture(*Form, 1995, 1090, 0.05L), QStringLiteral("FrameTop"));
    EXPECT_TRUE(Run->Messages.empty());
}
