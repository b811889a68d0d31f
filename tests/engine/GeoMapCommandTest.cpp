// The command frame: journal, echo, dispatch, the document state and the undo
// snapshots, driven through typed lines as the command window sends them. Handlers
// here are small stand-ins that follow the handlers' rule (convert every field, then
// change the plan), so that the frame is tested on its own.
#include "EngineFixture.h"

#include "foundation/ErrorTrail.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace {

// One line per sheet and layer, with the points of each layer.
QString PlanDump(const TGeoMap& m)
{
    QString dump;
    for (const auto& page : m.Pages) {
        dump += QStringLiteral("page ") + page->Name + QLatin1Char('\n');
        for (const auto& layer : page->Layers) {
            dump += QStringLiteral(" layer ") + layer->Name + QLatin1Char('\n');
            for (const auto& point : layer->Points)
                dump += QStringLiteral("  point %1 %2 %3\n")
                            .arg(point->Semantics)
                            .arg(double(point->Position.X))
                            .arg(double(point->Position.Y));
        }
    }
    return dump;
}

// Stand-ins for the handlers of later modules.
void NewPage(TGeoMap& m, const TCommandFields& f)
{
    auto page = std::make_unique<RGPage>();
    page->Name = f.Text(0);
    m.Pages.AddItem(std::move(page));
}

void NewLayer(TGeoMap& m, const TCommandFields& f)
{
    const int page = f.Int(0);
    auto layer = std::make_unique<RGLayer>();
    layer->Name = f.Text(1);
    if (!m.Pages.GoItem(page))
        return;
    m.Pages.Item->Layers.AddItem(std::move(layer));
}

void NewPoint(TGeoMap& m, const TCommandFields& f)
{
    const int page = f.Int(0);
    const int layer = f.Int(1);
    auto point = std::make_unique<RGPoint>();
    point->Semantics = f.Text(2);
    const Extended x = f.RealAnySeparator(3);
    const Extended y = f.RealAnySeparator(4);
    point->Position = GeoPoint(x, y);
    point->Precision = f.Byte(5);
    if (!m.Pages.GoItem(page) || !m.Pages.Item->Layers.GoItem(layer))
        return;
    m.Pages.Item->Layers.Item->Points.AddItem(std::move(point));
}

void NewMap(TGeoMap& m, const TCommandFields& f)
{
    const std::int32_t scale = f.Int(0);
    const QString info = f.Text(1);
    m.SetDataFileState(0);
    m.Pages.DeleteAll();
    m.MapProp.Scale = scale;
    m.MapProp.Info = info;
    m.PassScaleToSymbols();
}

// An open whose file cannot be read: the plan stays as it was.
void FailingOpen(TGeoMap&, const TCommandFields& f)
{
    throw Exception(QStringLiteral("Не удается открыть файл \"%1\"").arg(f.Text(0)));
}

void Nothing(TGeoMap&, const TCommandFields&) {}

// Writes the dump of the plan, as the native writer writes the plan.
void DumpWriter(TGeoMap& m, QIODevice& out)
{
    out.write(PlanDump(m).toUtf8());
}

class CommandTest : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        TGeoMap& m = Plan();
        m.CommandHandlers[mcNewMap] = NewMap;
        m.CommandHandlers[mcOpenMap] = Nothing;
        m.CommandHandlers[mcSaveMap] = Nothing;
        m.CommandHandlers[mcSaveSelected] = Nothing;
        m.CommandHandlers[mcNewPage] = NewPage;
        m.CommandHandlers[mcNewLayer] = NewLayer;
        m.CommandHandlers[mcNewPoint] = NewPoint;
        m.SnapshotWriter = DumpWriter;
    }

    QString SnapshotFolder(const QString& document = QStringLiteral("без имени")) const
    {
        return SessionFolder + QLatin1Char('/') + DocStartTime + QLatin1Char(' ') + document;
    }

    QStringList SnapshotFiles(const QString& document = QStringLiteral("без имени")) const
    {
        QStringList files = QDir(SnapshotFolder(document)).entryList(QDir::Files, QDir::Name);
        return files;
    }
};

}  // namespace

TEST_F(CommandTest, TypedLineSplitsAtTheFirstEqualsSign)
{
    TGeoMap& m = Plan();
    m.StrToComm(QStringLiteral("mcNewPage=<A=B>"));
    ASSERT_EQ(m.GetPagesCount(), 1);
    EXPECT_EQ(m.Pages.Item->Name, QStringLiteral("A=B"));
    EXPECT_EQ(*CommandLog, QStringList{QStringLiteral("mcNewPage=<A=B>")});
    EXPECT_EQ(m.Modified, 1);
}

TEST_F(CommandTest, TypedLineWithoutACommandNameIsRefused)
{
    TGeoMap& m = Plan();
    for (const char* line : {"mcnewpage=<A>", "MCNEWPAGE=<A>", "mcNewPage<A>", "=<A>", "",
                             " mcNewPage=<A>"}) {
        SCOPED_TRACE(line);
        ErrorInfo->clear();
        EXPECT_EQ(RaisedBy([&] { m.StrToComm(QString::fromUtf8(line)); }),
                  QStringLiteral("Не определена команда"));
        // The typed line reaches the trail even with argument logging off.
        EXPECT_EQ(*ErrorInfo,
                  (QStringList{"Module name: GeoMap", "procedure TGeoMap.StrToComm(var s:string);",
                               QStringLiteral("Argument: s=") + QString::fromUtf8(line)}));
    }
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(m.GetPagesCount(), 0);
    EXPECT_EQ(m.Modified, 0);
    EXPECT_EQ(Window.WaitDepth, 0);
}

// A refused command leaves no line in the journal and no modified mark: the exit
// question would otherwise ask about a change that was never made.
TEST_F(CommandTest, DeclaredCommandWithoutHandlerIsRefusedWithoutATrace)
{
    TGeoMap& m = Plan();
    m.UndoOn = 1;
    ErrorInfo->clear();
    EXPECT_EQ(RaisedBy([&] { m.StrToComm(QStringLiteral("mcNewLineNode=<0>")); }),
              QStringLiteral("Нет обработчика команды"));
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(m.Modified, 0);
    EXPECT_EQ(UndoStep, 0);
    EXPECT_FALSE(QFileInfo::exists(SnapshotFolder()));
    // The status bar keeps the echo without its completion.
    EXPECT_EQ(Window.Panels[TEnginePanel::Command], QStringLiteral("Команда [mcNewLineNode=<0>]"));
    // Both records in the trail, the frame's first.
    EXPECT_EQ(ErrorInfo->mid(0, 2),
              (QStringList{"Module name: GeoMap",
                           "procedure TGeoMap.DoCommand(const Comm:TMapCommand; const param:string);"}));
    EXPECT_EQ(ErrorInfo->at(3), QStringLiteral("procedure TGeoMap.StrToComm(var s:string);"));
    EXPECT_EQ(Window.WaitDepth, 0);
}

TEST_F(CommandTest, EveryDeclaredCodeWithoutHandlerAnswersTheSame)
{
    // A plan as it is built has handlers for none of the codes yet filled in here.
    TGeoMap plain;
    int refused = 0;
    for (int code = MapCommandFirst; code <= MapCommandLast; ++code) {
        if (plain.CommandHandlers[code])
            continue;
        EXPECT_EQ(RaisedBy([&] { plain.DoCommand(static_cast<TMapCommand>(code), QString()); }),
                  QStringLiteral("Нет обработчика команды"));
        ++refused;
    }
    EXPECT_GE(refused, 38);
}

TEST_F(CommandTest, CodeOutsideTheEnumerationFailsBeforeTheJournal)
{
    TGeoMap& m = Plan();
    ErrorInfo->clear();
    for (int code : {0, 80}) {
        EXPECT_EQ(RaisedBy([&] { m.DoCommand(static_cast<TMapCommand>(code), QStringLiteral("<1>")); }),
                  QStringLiteral("Не определено значение перечисляемого типа"));
    }
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(m.Modified, 0);
    EXPECT_TRUE(ErrorInfo->contains(
        "function TGeoMap.CommToStr(const CommandName:TMapCommand; const param:string):string;"));
    EXPECT_EQ(Window.WaitDepth, 0);
}

TEST_F(CommandTest, JournalLineIsNameEqualsAndTheParameterStringAsPassed)
{
    TGeoMap& m = Plan();
    m.DoCommand(mcNewMap, QStringLiteral("<500><>"));
    EXPECT_TRUE(CommandLog->isEmpty());
    m.DoCommand(mcNewPage, QStringLiteral(" x<Лист 1>junk"));
    EXPECT_EQ(*CommandLog, QStringList{QStringLiteral("mcNewPage= x<Лист 1>junk")});
    EXPECT_EQ(m.Pages.Item->Name, QStringLiteral("Лист 1"));
    EXPECT_EQ(TGeoMap::CommToStr(mcChangeHinSem, QStringLiteral("<a>")),
              QStringLiteral("mcChangeHinSem=<a>"));
}

TEST_F(CommandTest, DocumentCommandsAreNeitherJournalledNorSnapshotted)
{
    TGeoMap& m = Plan();
    m.MapProp.Scale = 500;
    m.UndoOn = 1;
    m.DoCommand(mcNewPage, QStringLiteral("<A>"));
    SavedCommandCount = 1;
    ASSERT_EQ(CommandLog->size(), 1);
    ASSERT_EQ(UndoStep, 1);

    struct Case {
        const char* line;
        bool clears;
    };
    const Case cases[] = {
        {"mcSaveMap=<plan.500><New>", false},
        {"mcSaveSelected=<part.500><{0}>", false},
        {"mcOpenMap=<plan.500><New>", true},
        {"mcNewMap=<500><>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CommandLog->append(QStringLiteral("mcNewPage=<B>"));
        SavedCommandCount = 1;
        const int logged = static_cast<int>(CommandLog->size());
        m.StrToComm(QString::fromUtf8(c.line));
        EXPECT_EQ(CommandLog->size(), c.clears ? 0 : logged);
        EXPECT_EQ(SavedCommandCount, c.clears ? 0 : 1);
        EXPECT_EQ(UndoStep, 1);
        EXPECT_EQ(SnapshotFiles(), QStringList{QStringLiteral("1.500")});
    }
    // After new, a command is the journal's only line.
    m.StrToComm(QStringLiteral("mcNewPage=<C>"));
    EXPECT_EQ(*CommandLog, QStringList{QStringLiteral("mcNewPage=<C>")});
}

// Guards against a failed new or open emptying the journal of the plan it left in
// place: the exit question asks only while the journal holds lines, so the unsaved
// changes would be dropped without a word.
TEST_F(CommandTest, FailedNewOrOpenKeepsTheJournal)
{
    TGeoMap& m = Plan();
    m.CommandHandlers[mcOpenMap] = FailingOpen;
    m.StrToComm(QStringLiteral("mcNewPage=<A>"));
    m.StrToComm(QStringLiteral("mcNewPage=<B>"));
    SavedCommandCount = 1;
    const QStringList journal = *CommandLog;
    for (const char* line : {"mcOpenMap=<нет.500><New>", "mcNewMap=<пятьсот><>"}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(RaisedBy([&] { m.StrToComm(QString::fromUtf8(line)); }).isEmpty());
        EXPECT_EQ(*CommandLog, journal);
        EXPECT_EQ(SavedCommandCount, 1);
        EXPECT_EQ(m.GetPagesCount(), 2);
    }
}

TEST_F(CommandTest, SnapshotsAreNumberedWithTheScaleAsExtension)
{
    TGeoMap& m = Plan();
    m.StrToComm(QStringLiteral("mcNewMap=<500><>"));
    m.UndoOn = 1;
    for (const char* name : {"A", "B", "C"}) {
        Window.UndoEnabled = -1;
        Window.RedoEnabled = -1;
        m.StrToComm(QStringLiteral("mcNewPage=<%1>").arg(QLatin1String(name)));
        EXPECT_EQ(Window.UndoEnabled, 1);
        EXPECT_EQ(Window.RedoEnabled, 0);
    }
    EXPECT_EQ(UndoStep, 3);
    EXPECT_EQ(SnapshotFiles(), (QStringList{"1.500", "2.500", "3.500"}));
    EXPECT_EQ(FileBytes(SnapshotFolder() + QStringLiteral("/1.500")), QByteArray("page A\n"));
    EXPECT_EQ(FileBytes(SnapshotFolder() + QStringLiteral("/3.500")),
              QByteArray("page A\npage B\npage C\n"));
    // No temporary file is left beside them.
    EXPECT_EQ(QDir(SnapshotFolder()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(CommandTest, NamedDocumentSnapshotsIntoItsOwnFolder)
{
    TGeoMap& m = Plan();
    m.MapProp.Scale = 1000;
    DataFileName = Path(QStringLiteral("планы/Участок.1000"));
    UndoStep = 7;
    m.UndoOn = 1;
    m.StrToComm(QStringLiteral("mcNewPage=<A>"));
    EXPECT_EQ(UndoStep, 8);
    EXPECT_EQ(SnapshotFiles(QStringLiteral("Участок.1000")), QStringList{QStringLiteral("8.1000")});
}

TEST_F(CommandTest, NothingIsWrittenWithUndoOff)
{
    TGeoMap& m = Plan();
    m.MapProp.Scale = 500;
    m.StrToComm(QStringLiteral("mcNewPage=<A>"));
    m.StrToComm(QStringLiteral("mcNewLayer=<0><L>"));
    EXPECT_EQ(UndoStep, 0);
    EXPECT_FALSE(QFileInfo::exists(SnapshotFolder()));
    EXPECT_EQ(Window.UndoEnabled, -1);
    EXPECT_EQ(CommandLog->size(), 2);
}

// Guards against a step counted for a snapshot that never reached the disk: undo
// would then reopen a file that does not exist.
TEST_F(CommandTest, StepCountsOnlyForASnapshotOnDisk)
{
    TGeoMap& m = Plan();
    m.MapProp.Scale = 500;
    m.UndoOn = 1;

    m.SnapshotWriter = nullptr;
    EXPECT_FALSE(RaisedBy([&] { m.StrToComm(QStringLiteral("mcNewPage=<A>")); }).isEmpty());
    EXPECT_EQ(UndoStep, 0);
    EXPECT_EQ(Window.UndoEnabled, -1);

    m.SnapshotWriter = [](TGeoMap&, QIODevice& out) {
        out.write("half");
        throw Exception(QStringLiteral("диск полон"));
    };
    EXPECT_EQ(RaisedBy([&] { m.StrToComm(QStringLiteral("mcNewPage=<B>")); }),
              QStringLiteral("диск полон"));
    EXPECT_EQ(UndoStep, 0);
    EXPECT_TRUE(SnapshotFiles().isEmpty());

    m.SnapshotWriter = DumpWriter;
    m.StrToComm(QStringLiteral("mcNewPage=<C>"));
    EXPECT_EQ(UndoStep, 1);
    EXPECT_EQ(SnapshotFiles(), QStringList{QStringLiteral("1.500")});
    EXPECT_EQ(Window.WaitDepth, 0);
}

TEST_F(CommandTest, MissingSnapshotFolderIsCreated)
{
    TGeoMap& m = Plan();
    m.UndoOn = 1;
    ASSERT_TRUE(QDir(SessionFolder).removeRecursively());
    m.StrToComm(QStringLiteral("mcNewPage=<A>"));
    EXPECT_EQ(SnapshotFiles(), QStringList{QStringLiteral("1.0")});
}

TEST_F(CommandTest, BadFieldLeavesThePlanAsItWas)
{
    TGeoMap& m = Plan();
    m.StrToComm(QStringLiteral("mcNewPage=<A>"));
    m.StrToComm(QStringLiteral("mcNewLayer=<0><L>"));
    m.StrToComm(QStringLiteral("mcNewPoint=<0><0><ТОЧ/Ф001><1,5><2.5><2>"));
    m.UndoOn = 1;
    m.Modified = 0;   // as after a save
    const QString before = PlanDump(m);
    const QStringList journal = *CommandLog;
    struct Case {
        const char* param;
        const char* message;
    };
    const Case cases[] = {
        {"<0><0><ТОЧ><1,5><2,5>", "List index out of bounds (5)"},
        {"<0><0><ТОЧ><1,5><abc><2>", "Некорректный вид вещественного числа в строковом формате"},
        {"<x><0><ТОЧ><1><2><2>", "'x' is not a valid integer value"},
        {"<0><0><ТОЧ><1e3><2><2>", "Некорректный вид вещественного числа в строковом формате"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.param);
        EXPECT_EQ(RaisedBy([&] { m.DoCommand(mcNewPoint, QString::fromUtf8(c.param)); }),
                  QString::fromUtf8(c.message));
        EXPECT_EQ(PlanDump(m), before);
        EXPECT_EQ(*CommandLog, journal);
    }
    EXPECT_EQ(UndoStep, 0);
    EXPECT_EQ(m.Modified, 0);
    EXPECT_EQ(Window.WaitDepth, 0);
}

TEST_F(CommandTest, EchoAndWaitCursorFrameEveryCommand)
{
    TGeoMap& m = Plan();
    m.StrToComm(QStringLiteral("mcNewPage=<A>"));
    ASSERT_EQ(Window.PanelHistory.size(), 2u);
    EXPECT_EQ(Window.PanelHistory[0].second, QStringLiteral("Команда [mcNewPage=<A>]"));
    EXPECT_EQ(Window.PanelHistory[1].second, QStringLiteral("Команда [mcNewPage=<A>] выполнена"));
    EXPECT_EQ(Window.PanelHistory[1].first, TEnginePanel::Command);
    EXPECT_EQ(Window.WaitCalls, 1);
    EXPECT_EQ(Window.WaitDepth, 0);
    // A plan linked to no window runs commands all the same.
    m.Services = nullptr;
    m.StrToComm(QStringLiteral("mcNewPage=<B>"));
    EXPECT_EQ(m.GetPagesCount(), 2);
}

TEST_F(CommandTest, ParameterStringWithALineBreakIsRefused)
{
    TGeoMap& m = Plan();
    for (const char* param : {"<A\r\nmcDelPage=<0>>", "<A\n>", "<\r>"}) {
        EXPECT_FALSE(RaisedBy([&] { m.DoCommand(mcNewPage, QString::fromUtf8(param)); }).isEmpty());
    }
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(m.GetPagesCount(), 0);
    EXPECT_EQ(m.Modified, 0);
}

// Guards a command whose text has no place in code page 1251: it changed the plan,
// then every snapshot and save of that plan failed.
TEST_F(CommandTest, ParameterStringOutsideTheCodePageIsRefused)
{
    TGeoMap& m = Plan();
    const QString err = RaisedBy([&] { m.DoCommand(mcNewPage, QStringLiteral("<Лист \u4E2D>")); });
    EXPECT_TRUE(err.contains(QStringLiteral("1251"))) << err.toStdString();
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(m.GetPagesCount(), 0);
    EXPECT_EQ(m.Modified, 0);
}

TEST_F(CommandTest, PreviewKeepsTheJournalAndTheDocumentState)
{
    TGeoMap& m = Plan();
    CommandLog->append(QStringLiteral("mcNewPage=<A>"));
    SavedCommandCount = 1;
    DataFileState = 2;
    m.NoJournal = 1;
    m.StrToComm(QStringLiteral("mcNewMap=<1000><>"));
    m.StrToComm(QStringLiteral("mcNewPage=<Образец>"));
    EXPECT_EQ(*CommandLog, QStringList{QStringLiteral("mcNewPage=<A>")});
    EXPECT_EQ(SavedCommandCount, 1);
    EXPECT_EQ(DataFileState, 2);   // a sign preview must not make Open drop an unsaved plan
    EXPECT_EQ(m.MapProp.Scale, 1000);

    m.NoJournal = 0;
    m.StrToComm(QStringLiteral("mcNewMap=<500><>"));
    EXPECT_EQ(DataFileState, 0);
    EXPECT_TRUE(CommandLog->isEmpty());
}

TEST_F(CommandTest, JournalIsKeptWhenTheProcessHasNone)
{
    TGeoMap& m = Plan();
    FreeAppGlobalVar();
    m.StrToComm(QStringLiteral("mcNewPage=<A>"));
    EXPECT_FALSE(RaisedBy([&] { m.StrToComm(QStringLiteral("mcnewpage=<A>")); }).isEmpty());
    EXPECT_EQ(m.GetPagesCount(), 1);
}

TEST_F(CommandTest, AllRastersLoadAndUnloadThroughTheMainPlan)
{
    TGeoMap& m = Plan();
    MainMap = &m;
    m.CommandHandlers[mcLoadRastr] = [](TGeoMap& map, const TCommandFields& f) {
        const int page = f.Int(0);
        const int rastr = f.Int(1);
        if (map.SelectRastr(page, rastr))
            map.Pages.Item->Rastrs.Item->Loaded = 1;
    };
    m.CommandHandlers[mcUnLoadRastr] = [](TGeoMap& map, const TCommandFields& f) {
        const int page = f.Int(0);
        const int rastr = f.Int(1);
        if (map.SelectRastr(page, rastr))
            map.Pages.Item->Rastrs.Item->Loaded = 0;
    };
    WriteBytes(Path(QStringLiteral("a.bmp")), "x");
    WriteBytes(Path(QStringLiteral("found.bmp")), "x");
    auto addRastr = [&](const QString& file, std::uint8_t loaded) {
        m.Pages.Item->Rastrs.AddItem();
        m.Pages.Item->Rastrs.Item->FileName = file;
        m.Pages.Item->Rastrs.Item->Loaded = loaded;
    };
    m.Pages.AddItem();
    addRastr(Path(QStringLiteral("a.bmp")), 0);
    addRastr(Path(QStringLiteral("gone.bmp")), 0);      // the user finds it
    addRastr(Path(QStringLiteral("a.bmp")), 1);         // already loaded
    m.Pages.AddItem();
    addRastr(Path(QStringLiteral("lost.bmp")), 0);      // the user gives up
    addRastr(Path(QStringLiteral("gone.bmp")), 0);      // the user names a missing file
    Window.Answers = {1, 2, 1};
    Window.Texts = {Path(QStringLiteral("found.bmp")), Path(QStringLiteral("nowhere.bmp"))};

    m.LoadAllRastrs();
    EXPECT_EQ(*CommandLog, (QStringList{"mcLoadRastr=<0><0>", "mcLoadRastr=<0><1>"}));
    ASSERT_EQ(Window.Asked.size(), 3u);
    EXPECT_EQ(Window.Asked[0].Caption, QStringLiteral("Путь к файлу: gone.bmp"));
    EXPECT_EQ(Window.Asked[1].Caption, QStringLiteral("Путь к файлу: lost.bmp"));
    EXPECT_EQ(m.Pages.At(0)->Rastrs.At(1)->FileName, Path(QStringLiteral("found.bmp")));
    EXPECT_EQ(m.Pages.At(0)->Rastrs.At(1)->Loaded, 1);
    EXPECT_EQ(m.Pages.At(1)->Rastrs.At(0)->Loaded, 0);
    EXPECT_EQ(m.Pages.At(1)->Rastrs.At(1)->FileName, Path(QStringLiteral("gone.bmp")));
    EXPECT_EQ(m.GetCurrentPage(), 1);
    EXPECT_EQ(m.GetCurrentRastr(), 1);
    EXPECT_EQ(m.DrawMode, 3);

    CommandLog->clear();
    m.UnLoadAllRastrs();
    EXPECT_EQ(*CommandLog,
              (QStringList{"mcUnLoadRastr=<0><0>", "mcUnLoadRastr=<0><1>", "mcUnLoadRastr=<0><2>"}));
    for (const auto& page : m.Pages)
        for (const auto& rastr : page->Rastrs)
            EXPECT_EQ(rastr->Loaded, 0);
    EXPECT_EQ(m.GetCurrentPage(), 1);
    EXPECT_EQ(m.GetCurrentRastr(), 1);
}

// Guards against the folder of a Windows path showing in the title: a plan written
// there keeps "\" between the folders of its raster files.
TEST_F(CommandTest, MissingRasterIsAskedForByItsNameAlone)
{
    TGeoMap& m = Plan();
    m.Pages.AddItem();
    for (const char* file : {"C:\\Карты\\Участок 5.bmp", "/home/geo/снимок.tif", "голый.jpg"}) {
        m.Pages.Item->Rastrs.AddItem();
        m.Pages.Item->Rastrs.Item->FileName = QString::fromUtf8(file);
    }
    m.LoadAllRastrs();
    ASSERT_EQ(Window.Asked.size(), 3u);
    EXPECT_EQ(Window.Asked[0].Caption, QStringLiteral("Путь к файлу: Участок 5.bmp"));
    EXPECT_EQ(Window.Asked[1].Caption, QStringLiteral("Путь к файлу: снимок.tif"));
    EXPECT_EQ(Window.Asked[2].Caption, QStringLiteral("Путь к файлу: голый.jpg"));
    EXPECT_TRUE(CommandLog->isEmpty());
}

// Guards against a raster path chosen in the dialog entering the plan when code page
// 1251 cannot spell it: every later save and snapshot then failed.
TEST_F(CommandTest, ARasterPathTheFileCannotSpellIsRefusedByName)
{
    TGeoMap& m = Plan();
    WriteBytes(Path(QStringLiteral("Müller.bmp")), "x");
    m.Pages.AddItem();
    m.Pages.Item->Rastrs.AddItem();
    m.Pages.Item->Rastrs.Item->FileName = Path(QStringLiteral("gone.bmp"));
    Window.Answers = {1};
    Window.Texts = {Path(QStringLiteral("Müller.bmp"))};
    m.LoadAllRastrs();
    EXPECT_EQ(m.Pages.At(0)->Rastrs.At(0)->FileName, Path(QStringLiteral("gone.bmp")));
    EXPECT_EQ(m.Pages.At(0)->Rastrs.At(0)->Loaded, 0);
    EXPECT_TRUE(CommandLog->isEmpty());
    ASSERT_EQ(Window.Asked.size(), 2u);
    EXPECT_EQ(Window.Asked[1].Caption, QStringLiteral("Растр не загружен"));
    EXPECT_TRUE(Window.Asked[1].Text.contains(QStringLiteral("Müller.bmp")));
}
