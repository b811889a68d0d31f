// The plan and file commands through command lines, as the command window and the
// journal write them: new, open with its kinds, add, scale, information, the two saves,
// the closing check of polygons and the undo snapshots written with the native writer.
#include "PlanFileTest.h"

#include "semantics/signs/Symbols.h"

#include <QFile>

namespace {

class PlanCommands : public PlanFileFixture {
protected:
    void Run(const QString& line) { M().StrToComm(line); }
    QString Fails(const QString& line)
    {
        return RaisedBy([&] { M().StrToComm(line); });
    }

    // Everything a failed command must leave as it was.
    struct TState {
        QByteArray Text;
        std::int32_t Scale;
        std::uint8_t FileState;
        std::int32_t SignScale;
        bool operator==(const TState&) const = default;
    };
    TState State()
    {
        return {Native(), M().MapProp.Scale, DataFileState, M().Symbols->GetScale()};
    }

    // The fixture plan opened, as the open command leaves it.
    void OpenFixture()
    {
        Run(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
        DataFileState = 2;
    }
};

TEST_F(PlanCommands, NewMapEmptiesThePlanAndSetsScaleInformationAndState)
{
    OpenFixture();
    Run(QStringLiteral("mcNewMap=<1000><описание плана>"));
    EXPECT_EQ(M().Pages.GetCount(), 0);
    EXPECT_EQ(M().MapProp.Scale, 1000);
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("описание плана"));
    EXPECT_EQ(M().Symbols->GetScale(), 1000);
    EXPECT_EQ(DataFileState, 0);
    EXPECT_TRUE(CommandLog->isEmpty());
}

TEST_F(PlanCommands, BadScalesChangeNothing)
{
    OpenFixture();
    const TState before = State();
    EXPECT_EQ(Fails(QStringLiteral("mcNewMap=<x><>")), QStringLiteral("'x' is not a valid integer value"));
    EXPECT_FALSE(Fails(QStringLiteral("mcNewMap=<0><>")).isEmpty());
    EXPECT_FALSE(Fails(QStringLiteral("mcSetMapScale=<-500>")).isEmpty());
    EXPECT_EQ(State(), before);
}

TEST_F(PlanCommands, OpenTakesScaleFromTheExtensionAndClosesPolygons)
{
    WritePlanFile(QStringLiteral("closed.1000"),
                  {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|"), QStringLiteral("{ЛСТ"),
                   QStringLiteral("|имя|А"), QStringLiteral("{СЛО"), QStringLiteral("|имя|Б"),
                   QStringLiteral("{ПОЛ"),
                   // closed: loses its repeated node
                   QStringLiteral("@п"), QStringLiteral("$0 0"), QStringLiteral("$0 1"),
                   QStringLiteral("$1 1"), QStringLiteral("$0 0"),
                   // its inner contour is not examined
                   QStringLiteral("{ВПО"), QStringLiteral("$0,2 0,2"), QStringLiteral("$0,2 0,4"),
                   QStringLiteral("$0,4 0,4"), QStringLiteral("$0,2 0,2"), QStringLiteral("}ВПО"),
                   QStringLiteral("#"),
                   // differs in the third decimal
                   QStringLiteral("@п"), QStringLiteral("|кач|3"), QStringLiteral("$0,000 0,000"),
                   QStringLiteral("$0 1"), QStringLiteral("$1 1"), QStringLiteral("$0,001 0,000"),
                   QStringLiteral("#"),
                   // two equal nodes stay: dropping one would leave no segment
                   QStringLiteral("@п"), QStringLiteral("$5 5"), QStringLiteral("$5 5"), QStringLiteral("#"),
                   QStringLiteral("@п"), QStringLiteral("$7 7"), QStringLiteral("#"),
                   // closed twice: both repeats go, or the next open (an undo) would
                   // take one more node off it
                   QStringLiteral("@п"), QStringLiteral("$0 0"), QStringLiteral("$0 1"),
                   QStringLiteral("$1 1"), QStringLiteral("$0 0"), QStringLiteral("$0,0 0,0"),
                   QStringLiteral("#"),
                   QStringLiteral("}ПОЛ"), QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")});
    M().MapProp.Scale = 500;
    DataFileState = 0;
    Run(QStringLiteral("mcOpenMap=<closed.1000><New><True><>"));
    EXPECT_EQ(M().MapProp.Scale, 1000);
    EXPECT_EQ(M().Symbols->GetScale(), 1000);
    EXPECT_EQ(DataFileState, 1);
    const TGPolygons& polygons = M().Pages.At(0)->Layers.At(0)->Polygons;
    ASSERT_EQ(polygons.GetCount(), 5);
    EXPECT_EQ(polygons.At(0)->Nodes.GetCount(), 3);
    EXPECT_EQ(polygons.At(0)->Holes.At(0)->Nodes.GetCount(), 4);
    EXPECT_EQ(polygons.At(1)->Nodes.GetCount(), 4);
    EXPECT_EQ(polygons.At(2)->Nodes.GetCount(), 2);
    EXPECT_EQ(polygons.At(3)->Nodes.GetCount(), 1);
    EXPECT_EQ(polygons.At(4)->Nodes.GetCount(), 3);
    // The cursors end on the last sheet, layer and polygon.
    EXPECT_EQ(polygons.GetIndex(), 4);
}

TEST_F(PlanCommands, AFailedOpenLeavesThePlanAsItWas)
{
    OpenFixture();
    M().Symbols->LoadSymbols(500);
    QFile::copy(PlanPath(QStringLiteral("full.500")), PlanPath(QStringLiteral("plan.abc")));
    WritePlanFile(QStringLiteral("bad.500"), {QStringLiteral("FREE VELMORANT"), QStringLiteral("{ЛСТ"),
                                              QStringLiteral("|имя|Новый"), QStringLiteral("|вид|да")});
    const TState before = State();
    struct Case {
        const char* name;
        QString line;
    };
    const Case cases[] = {
        {"extension not a number", QStringLiteral("mcOpenMap=<plan.abc><New><True><>")},
        {"missing file", QStringLiteral("mcOpenMap=<none.500><New><True><>")},
        {"bad value inside", QStringLiteral("mcOpenMap=<bad.500><New><True><>")},
        {"not a plan file", QStringLiteral("mcOpenMap=<raster.bmp><New><True><>")},
        {"kind in lower case", QStringLiteral("mcOpenMap=<full.500><new><True><>")},
        {"a native file read as the older format", QStringLiteral("mcOpenMap=<full.500><Old><True><>")},
        {"add of a bad file", QStringLiteral("mcAddMap=<bad.500><New>")},
        {"add of an unknown kind", QStringLiteral("mcAddMap=<full.500><DXF>")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Fails(c.line).isEmpty());
        EXPECT_EQ(State(), before);
    }
}

// Guards against an open given up at the name question clearing the journal of the
// plan it left in place: the exit question would then let its changes go.
TEST_F(PlanCommands, AnOpenGivenUpAtTheNameQuestionChangesNothing)
{
    OpenFixture();
    Run(QStringLiteral("mcSetMapInf=<изменение>"));
    WritePlanFile(QStringLiteral("twice.500"),
                  {QStringLiteral("FREE VELMORANT"), QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"),
                   QStringLiteral("}ЛСТ"), QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"),
                   QStringLiteral("}ЛСТ")});
    const TState before = State();
    Files.Answers = {2};
    EXPECT_EQ(Fails(QStringLiteral("mcOpenMap=<twice.500><New><True><>")),
              QStringLiteral("План не открыт: чтение файла \"twice.500\" прервано, план остался прежним"));
    EXPECT_EQ(State(), before);
    EXPECT_EQ(*CommandLog, QStringList{QStringLiteral("mcSetMapInf=<изменение>")});
}

TEST_F(PlanCommands, AddKeepsScaleStateAndSheets)
{
    OpenFixture();
    M().MapProp.Scale = 2000;
    Files.Answers = {6, 6};
    Files.Texts = {QStringLiteral("Лист 1 копия"), QStringLiteral("Лист 2 копия")};
    Run(QStringLiteral("mcAddMap=<full.500><New>"));
    EXPECT_EQ(M().MapProp.Scale, 2000);
    EXPECT_EQ(DataFileState, 2);
    ASSERT_EQ(M().Pages.GetCount(), 4);
    EXPECT_EQ(M().Pages.At(2)->Name, QStringLiteral("Лист 1 копия"));
    EXPECT_EQ(CommandLog->size(), 1);
}

TEST_F(PlanCommands, SaveWritesTheFileAndMarksThePlanSaved)
{
    OpenFixture();
    DataFileState = 1;
    Run(QStringLiteral("mcSetMapInf=<новое описание>"));
    ASSERT_EQ(M().Modified, 1);
    Run(QStringLiteral("mcSaveMap=<saved.500><New>"));
    EXPECT_EQ(FileBytes(PlanPath(QStringLiteral("saved.500"))), Native());
    EXPECT_EQ(DataFileState, 2);
    EXPECT_EQ(M().Modified, 0);
    EXPECT_EQ(CommandLog->size(), 1);   // the information command alone
}

// Guards against a save that wrote nothing being taken as done: the plan would then
// close without the question and its changes be lost.
TEST_F(PlanCommands, ASaveThatWritesNothingRaisesAndLeavesThePlanUnsaved)
{
    OpenFixture();
    DataFileState = 1;
    for (const QString& line : {QStringLiteral("mcSaveMap=<><New>"), QStringLiteral("mcSaveMap=<x.500><DXF>"),
                               QStringLiteral("mcSaveSelected=<><{0}>")}) {
        SCOPED_TRACE(line.toStdString());
        M().Modified = 1;
        EXPECT_FALSE(Fails(line).isEmpty());
        EXPECT_EQ(M().Modified, 1);
        EXPECT_EQ(DataFileState, 1);
    }
    EXPECT_FALSE(QFile::exists(PlanPath(QStringLiteral("x.500"))));
}

TEST_F(PlanCommands, SaveSelectedWritesTheSheetsInTheOrderGiven)
{
    OpenFixture();
    M().Pages.AddItem();
    M().Pages.Item->Name = QStringLiteral("третий");
    Run(QStringLiteral("mcSaveSelected=<sel.500><{2}{0}>"));
    EXPECT_EQ(M().Modified, 1);
    EXPECT_EQ(DataFileState, 2);
    TGeoMap back;
    LoadEverything(back);
    back.Services = &Files;
    ASSERT_TRUE(back.ReadDataFromFile(QStringLiteral("sel.500"), true));
    ASSERT_EQ(back.Pages.GetCount(), 2);
    EXPECT_EQ(back.Pages.At(0)->Name, QStringLiteral("третий"));
    EXPECT_EQ(back.Pages.At(1)->Name, QStringLiteral("Лист 1"));

    EXPECT_FALSE(Fails(QStringLiteral("mcSaveSelected=<bad.500><{0}{5}>")).isEmpty());
    EXPECT_FALSE(QFile::exists(PlanPath(QStringLiteral("bad.500"))));
}

TEST_F(PlanCommands, ScaleAndInformation)
{
    Run(QStringLiteral("mcSetMapScale=<2000>"));
    EXPECT_EQ(M().MapProp.Scale, 2000);
    EXPECT_EQ(M().Symbols->GetScale(), 2000);
    Run(QStringLiteral("mcSetMapInf=<съемка 2024 года>"));
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("съемка 2024 года"));
    EXPECT_EQ(*CommandLog, QStringList({QStringLiteral("mcSetMapScale=<2000>"),
                                        QStringLiteral("mcSetMapInf=<съемка 2024 года>")}));
}

// Every undo reopens a snapshot: reopening must give back the very plan it was taken of.
TEST_F(PlanCommands, SnapshotsAreTheNativeTextAndReopenUnchanged)
{
    OpenFixture();
    M().UndoOn = 1;
    Run(QStringLiteral("mcSetMapInf=<шаг 1>"));
    const QByteArray plan = Native();
    const QString snapshot = SessionFolder + QStringLiteral("/10.20.30 без имени/1.500");
    EXPECT_EQ(FileBytes(snapshot), plan + "\r\n");

    Run(QStringLiteral("mcOpenMap=<") + snapshot + QStringLiteral("><New><True><>"));
    EXPECT_EQ(DecodeCodePage(Native()).toStdString(), DecodeCodePage(plan).toStdString());
    EXPECT_EQ(M().MapProp.Scale, 500);
    EXPECT_EQ(UndoStep, 1);
}

// The older and the exchange format reach their readers through the plan; each fills
// the sheet the command made for it.
class PlanImports : public PlanCommands {
protected:
    void SetUp() override
    {
        PlanCommands::SetUp();
        const auto reader = [this](TGeoMap& m, const QString& file, bool autoLayer, const QString& layer) {
            Calls.append(QStringLiteral("%1|%2|%3|%4")
                             .arg(file, autoLayer ? QStringLiteral("auto") : QStringLiteral("fixed"), layer,
                                  m.Pages.Item->Name));
            if (Fail)
                throw Exception(QStringLiteral("сбой чтения"));
            m.Pages.Item->Layers.AddItem();
            m.Pages.Item->Layers.Item->Name = layer;
        };
        M().OldFileReader = reader;
        M().ForaFileReader = reader;
        OpenFixture();
    }

    QStringList Calls;
    bool Fail = false;
};

TEST_F(PlanImports, OpenOfEachKind)
{
    Run(QStringLiteral("mcOpenMap=<старый.1000><Old><False><Общий>"));
    EXPECT_EQ(Calls, QStringList{QStringLiteral("старый.1000|fixed|Общий|старый.1000")});
    ASSERT_EQ(M().Pages.GetCount(), 1);
    EXPECT_EQ(M().MapProp.Scale, 1000);
    EXPECT_EQ(DataFileState, 1);

    DataFileState = 2;
    Files.Answers = {1};
    Files.Texts = {QStringLiteral("2000")};
    Run(QStringLiteral("mcOpenMap=<фора.txt><Fora><TRUE><не читается>"));
    EXPECT_EQ(Calls.last(), QStringLiteral("фора.txt|auto||фора.txt"));
    EXPECT_EQ(Files.Asked.back().Caption, QStringLiteral("Ввод Масштаба"));
    EXPECT_EQ(Files.Asked.back().Text, QStringLiteral("исходный масштаб плана в формате фора"));
    EXPECT_EQ(M().MapProp.Scale, 2000);
    EXPECT_EQ(DataFileState, 1);

    // The scale question cancelled keeps the scale.
    Run(QStringLiteral("mcOpenMap=<фора.txt><Fora><True><>"));
    EXPECT_EQ(M().MapProp.Scale, 2000);
}

TEST_F(PlanImports, AFailingImportLeavesThePlanAsItWas)
{
    const TState before = State();
    Fail = true;
    EXPECT_EQ(Fails(QStringLiteral("mcOpenMap=<старый.1000><Old><True><>")), QStringLiteral("сбой чтения"));
    EXPECT_EQ(State(), before);
    EXPECT_EQ(Fails(QStringLiteral("mcAddMap=<старый.1000><Old><True><>")), QStringLiteral("сбой чтения"));
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(Fails(QStringLiteral("mcOpenMap=<старый.1000><Old>")).isEmpty());   // field 2 missing
    EXPECT_EQ(State(), before);
}

TEST_F(PlanImports, AddAsksForAFreeSheetName)
{
    Files.Answers = {1, 1};
    Files.Texts = {QStringLiteral("Лист 2"), QStringLiteral("Лист 3")};
    Run(QStringLiteral("mcAddMap=<Лист 1><Old><False><С>"));
    ASSERT_EQ(Files.Asked.size(), 2u);
    EXPECT_EQ(Files.Asked[0].Caption, QStringLiteral("Лист уже существует!"));
    EXPECT_EQ(Files.Asked[0].Text,
              QStringLiteral("Названия листов не должны повторяться. выберете новое название:"));
    ASSERT_EQ(M().Pages.GetCount(), 3);
    EXPECT_EQ(M().Pages.At(2)->Name, QStringLiteral("Лист 3"));
    EXPECT_EQ(M().Pages.GetIndex(), 2);
    EXPECT_EQ(M().MapProp.Scale, 500);

    // Without an answer the merge is given up.
    const TState before = State();
    Run(QStringLiteral("mcAddMap=<Лист 1><Fora><True><>"));
    EXPECT_EQ(State(), before);
}

}  // namespace

// Guards against a polygon that lost a node at every second open: a last node within
// the written precision of the first was kept by the closing check, written as the
// first node, and cut at the next open.
class PlanFixedPoint : public PlanCommands {
protected:
    // Open, save, and the bytes saved.
    QByteArray OpenAndSave(const QString& from, const QString& to)
    {
        Run(QStringLiteral("mcOpenMap=<%1><New><True><>").arg(from));
        Run(QStringLiteral("mcSaveMap=<%1><New>").arg(to));
        return FileBytes(PlanPath(to));
    }
};

TEST_F(PlanFixedPoint, APolygonClosedWithinItsPrecisionKeepsItsNodes)
{
    WritePlanFile(QStringLiteral("near.500"),
                  {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6"), QStringLiteral("{ЛСТ"),
                   QStringLiteral("|имя|A"), QStringLiteral("{СЛО"), QStringLiteral("|имя|L"),
                   QStringLiteral("{ПОЛ"), QStringLiteral("@ЗДН"), QStringLiteral("$0.00 0.00"),
                   QStringLiteral("$0.00 10.00"), QStringLiteral("$10.00 10.00"), QStringLiteral("$0.001 0.00"),
                   QStringLiteral("#"), QStringLiteral("}ПОЛ"), QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")});
    const QByteArray first = OpenAndSave(QStringLiteral("near.500"), QStringLiteral("a.500"));
    EXPECT_EQ(OpenAndSave(QStringLiteral("a.500"), QStringLiteral("b.500")), first);
    EXPECT_EQ(OpenAndSave(QStringLiteral("b.500"), QStringLiteral("c.500")), first);
    EXPECT_EQ(M().Pages.At(0)->Layers.At(0)->Polygons.At(0)->Nodes.GetCount(), 3);

    // Made by the command, the polygon's undo snapshot reads back as it was made.
    M().UndoOn = 1;
    Run(QStringLiteral("mcNewPolygon=<0><0><ЗДН><[{5}{5}{-1}{0}{0}{0}{0}][{5}{9}{-1}{0}{0}{0}{0}]"
                       "[{9}{9}{-1}{0}{0}{0}{0}][{5,004}{4,996}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>"));
    const QByteArray made = Native();
    Run(QStringLiteral("mcOpenMap=<") + SessionFolder + QStringLiteral("/10.20.30 без имени/1.500><New><True><>"));
    EXPECT_EQ(Native(), made);
}

TEST_F(PlanFixedPoint, TheFirstSaveOfAnOpenedPlanIsAFixedPoint)
{
    // A generated plan: polygons of every precision class whose last node lies on,
    // near or away from the first, in values with more decimals than their class.
    quint32 seed = 2024;
    const auto next = [&seed](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<quint32>(range));
    };
    const auto number = [](int tenThousandths) {
        return QString::number(tenThousandths / 10000.0, 'f', 4);
    };
    QStringList lines = {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6"), QStringLiteral("{ЛСТ"),
                         QStringLiteral("|имя|A"), QStringLiteral("{СЛО"), QStringLiteral("|имя|L"),
                         QStringLiteral("{ПОЛ")};
    for (int i = 0; i < 400; ++i) {
        lines.append(QStringLiteral("@ЗДН"));
        const int precision = next(5);   // 4 writes millimetres, as 3 does
        if (precision != 2)
            lines.append(QStringLiteral("|кач|%1").arg(precision));
        const int x0 = next(2000000) - 1000000;
        const int y0 = next(2000000) - 1000000;
        const int count = 2 + next(5);
        lines.append(QStringLiteral("$%1 %2").arg(number(x0), number(y0)));
        for (int n = 1; n < count; ++n)
            lines.append(QStringLiteral("$%1 %2").arg(number(x0 + next(200000)), number(y0 + next(200000))));
        for (int tail = next(3); tail > 0; --tail)
            lines.append(QStringLiteral("$%1 %2").arg(number(x0 + next(11) - 5), number(y0 + next(11) - 5)));
        lines.append(QStringLiteral("#"));
    }
    lines += QStringList{QStringLiteral("}ПОЛ"), QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")};
    WritePlanFile(QStringLiteral("generated.500"), lines);

    for (const QString& plan : {QStringLiteral("full.500"), QStringLiteral("generated.500")}) {
        SCOPED_TRACE(plan.toStdString());
        const QByteArray first = OpenAndSave(plan, QStringLiteral("first.500"));
        EXPECT_EQ(OpenAndSave(QStringLiteral("first.500"), QStringLiteral("second.500")), first);
    }
}

// Guards against a character code page 1251 lacks entering the plan through the
// information of a new plan, after which every save and snapshot failed.
TEST_F(PlanCommands, NoValueEntersThePlanThatItsFileCannotHold)
{
    OpenFixture();
    const TState before = State();
    for (const QString& line : {QStringLiteral("mcNewMap=<500><участок 120 м²>"),
                                QStringLiteral("mcSetMapInf=<участок 120 м²>")}) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_TRUE(Fails(line).contains(QStringLiteral("знака \"²\" нет в кодовой странице 1251")));
        EXPECT_EQ(State(), before);
    }
}

// Guards against the multi-line information of the New-plan window being refused, and
// against a journal line split by its line breaks: every kind of break travels as "¶"
// on one line, and the journal replayed, or a snapshot reopened, gives the same text.
TEST_F(PlanCommands, MultiLineInformationTravelsOnOneJournalLine)
{
    const QString expected = QStringLiteral("съемка 2024\rучасток 5\rтретья\r\rпятая");
    M().DoCommand(mcNewMap, QStringLiteral("<500><съемка 2024\r\nучасток 5\nтретья\r\rпятая>"));
    EXPECT_EQ(M().MapProp.Info, expected);

    M().UndoOn = 1;
    M().DoCommand(mcSetMapInf, QStringLiteral("<строка 1\r\nстрока 2\nстрока ¶3>"));
    const QString info = QStringLiteral("строка 1\rстрока 2\rстрока \r3");
    EXPECT_EQ(M().MapProp.Info, info);
    const QString journalLine = QStringLiteral("mcSetMapInf=<строка 1¶строка 2¶строка ¶3>");
    EXPECT_EQ(*CommandLog, QStringList{journalLine});
    EXPECT_EQ(TCommandParams().Lines(info).Str(), QStringLiteral("<строка 1¶строка 2¶строка ¶3>"));

    // The snapshot, reopened as undo does, and the journal replayed on a new plan.
    Run(QStringLiteral("mcOpenMap=<") + SessionFolder + QStringLiteral("/10.20.30 без имени/1.500><New><True><>"));
    EXPECT_EQ(M().MapProp.Info, info);
    Run(QStringLiteral("mcNewMap=<500><>"));
    Run(journalLine);
    EXPECT_EQ(M().MapProp.Info, info);
    EXPECT_EQ(CommandLog->at(0), journalLine);
}
