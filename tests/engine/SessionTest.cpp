// A surveyor's session from end to end: the program folder is a copy of the shipped
// reference data, the classifier is open, undo is on, and every change is a typed
// command line as the journal holds it. The plan's native text is the oracle: every
// snapshot, every reopening, every save and every replay of the journal must give back
// the very plan it stands for.
#include "EngineFixture.h"

#include "engine/commands/RasterFilter.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"
#include "platform/Platform.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"
#include "support/LargePicture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <deque>
#include <map>
#include <optional>
#include <utility>

namespace {

// A semantics string of the classifier for a work record: its standard semantics with
// the first material and state it allows and a value for each extended kind it lists.
QString WorkSemantics(TSemCodec& codec, const RSemWork& work)
{
    codec.Split(work.Semantics);
    if (work.MList.GetCount() > 0)
        codec.AddProp(QStringLiteral("М%1").arg(work.MList.At(0)->Code, 3, 10, QLatin1Char('0')));
    if (work.SList.GetCount() > 0)
        codec.AddProp(QStringLiteral("С%1").arg(work.SList.At(0)->Code, 2, 10, QLatin1Char('0')));
    for (const auto& e : work.EList) {
        codec.EList.AddItem();
        codec.EList.Item->Kind = e->Kind;
        codec.EList.Item->Value = e->Kind == seIV ? QStringLiteral("154,30") : QStringLiteral("12");
        codec.EList.Item->ListIndex = -1;
    }
    QString sem;
    codec.Code(sem, true);
    return sem;
}

// The plan as its file holds it.
QByteArray Native(TGeoMap& map)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    map.WriteDataToDevice(buffer);
    return buffer.data();
}

QString Text(const QByteArray& native) { return DecodeCodePage(native); }

QString OpenLine(const QString& file)
{
    return QStringLiteral("mcOpenMap=<") + file + QStringLiteral("><New><True><>");
}

// The second plan a surveyor merges: a sheet and a layer named as in the session's plan,
// objects of the classifier with inner objects of every kind nested in them.
const char* const SecondPlan[] = {
    "FREE VELMORANT", "|ВЕР|6.07.11.08", "{ИНФ", "второй план", "}ИНФ",
    "{ЛСТ", "|имя|Лист 1",
    "{СЛО", "|имя|Здания",
    "{ТОЧ", "@КЛД/Ф002;Н001;М002;С01", "$510,00 610,00",
    "[ТЕК", "@к-2", "$511,000 611,000", "|сти|>МЕЛКИЙ", "#", "]ТЕК", "#", "}ТОЧ",
    "{ЛИН", "@ОГР/Ф002;М003;С03", "$500,00 600,00",
    "[ТОЧ", "@ТОЧ/Ф500", "$500,00 600,00", "#", "]ТОЧ",
    "$520,00 600,00", "{нау", "|тиу|1", "}нау", "$520,00 620,00", "#", "}ЛИН",
    "{ПОЛ", "@ЗДН/Ф002;К013;М003;С01", "$530,00 630,00", "$530,00 650,00", "$550,00 650,00",
    "$550,00 630,00",
    "{ВПО", "$535,00 635,00", "$535,00 640,00", "$540,00 640,00", "}ВПО",
    "[ТЕК", "@нежилое", "$540,000 640,000", "|сти|>НОМЕРА", "#", "]ТЕК",
    "[ТОЧ", "@ОТА/ИВ154,30", "$545,00 645,00",
    "{нап", "|дви|1,0 -1,0", "}нап",
    "[ТЕК", "@154,30", "$545,000 645,500", "|сти|>ОТМЕТКИ", "#", "]ТЕК", "#", "]ТОЧ",
    "[ЛИН", "@ГРН/Ф002", "$531,00 631,00",
    "[ТОЧ", "@ТОЧ", "$531,00 631,00", "#", "]ТОЧ",
    "$549,00 649,00", "#", "]ЛИН",
    "#", "}ПОЛ",
    "}СЛО",
    "{СЛО", "|имя|Новый слой", "{ТОЧ", "@ПКТ/ИН7;ИВ150,00", "$560,00 660,00", "#", "}ТОЧ", "}СЛО",
    "}ЛСТ",
    "{ЛСТ", "|имя|Лист 3", "{СЛО", "|имя|Здания", "}СЛО", "}ЛСТ",
};

QByteArray SecondPlanBytes()
{
    QStringList lines;
    for (const char* line : SecondPlan)
        lines.append(QString::fromUtf8(line));
    return EncodeCodePage(JoinLinesCrLf(lines)) + "\r\n";
}

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.emplace();
        SavedSeparator = DecimalSeparator;
        SavedVersion = AppVersion;
        DecimalSeparator = QLatin1Char(',');
        AppVersion = QStringLiteral("6.07.11.08");
        DataFileName.clear();
        DataFileState = 0;
        SavedCommandCount = 0;
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Shown.append(caption + QStringLiteral(": ") + text);
            return mrOk;
        };
        hooks.DublicateItem = [this](QString& name, const QString&, const QString&) {
            return Answer(name);
        };
        Hooks.emplace(hooks);
        Sem.emplace();
        Sem->Open();
        StartPlan();
    }

    void TearDown() override
    {
        Map.reset();
        MainMap = nullptr;
        Sem.reset();
        Hooks.reset();
        DecimalSeparator = SavedSeparator;
        AppVersion = SavedVersion;
        Run.reset();
    }

    // What the main window does at its first show: an empty plan of scale 500, a fresh
    // undo folder, step 0.
    void StartPlan()
    {
        Map = std::make_unique<TGeoMap>();
        Map->Services = &Window;
        Map->UndoOn = 1;
        MainMap = Map.get();
        Map->StrToComm(QStringLiteral("mcNewMap=<500><>"));
        DataFileName.clear();
        DocStartTime = QStringLiteral("10.20.30");
        ASSERT_TRUE(QDir().mkpath(UndoFolder()));
        UndoStep = 0;
        Steps.clear();
    }

    QString Folder() const { return Run->Folder(); }
    QString UndoFolder() const
    {
        return SessionFolder + QLatin1Char('/') + DocStartTime + QStringLiteral(" без имени");
    }
    QString Snapshot(int step, int scale = 500) const
    {
        return UndoFolder() + QStringLiteral("/%1.%2").arg(step).arg(scale);
    }

    // A line typed into the command window; the plan of each step it makes is kept.
    void Type(const QString& line)
    {
        SCOPED_TRACE(line.toStdString());
        const int before = UndoStep;
        Map->StrToComm(line);
        if (UndoStep != before)
            Steps[UndoStep] = Native(*Map);
    }
    void Type(const QStringList& lines)
    {
        for (const QString& line : lines)
            Type(line);
    }

    // A plan of its own that reads the file, as a sign window's preview would: it
    // neither touches the journal nor the document state.
    std::unique_ptr<TGeoMap> Opened(const QString& file)
    {
        auto m = std::make_unique<TGeoMap>();
        m->Services = &Window;
        m->NoJournal = 1;
        m->StrToComm(OpenLine(file));
        return m;
    }

    // Undo and redo as the main window's buttons do them: the step moves, the open
    // filter is reset and the snapshot of the step is opened in place of the plan.
    bool Undo() { return Reopen(--UndoStep); }
    bool Redo() { return Reopen(++UndoStep); }
    bool Reopen(int step)
    {
        const QString file = Snapshot(step, Map->MapProp.Scale);
        if (!QFileInfo::exists(file))
            return false;
        Map->OpenFilter = TOpenFilter();
        Map->StrToComm(OpenLine(file));
        return true;
    }

    // The answers of the duplicate-name question, in order: 6 with a new name, 7, 9.
    struct RAnswer {
        int Result;
        QString Name;
    };
    std::deque<RAnswer> Answers;
    int Answer(QString& name)
    {
        if (Answers.empty())
            return mrCancel;
        const RAnswer a = Answers.front();
        Answers.pop_front();
        if (a.Result == mrYes)
            name = a.Name;
        return a.Result;
    }

    QString SaveImage(const QString& name, const char* format)
    {
        QImage image(24, 16, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(10 * x, 15 * y, 200 - 5 * x));
        const QString path = Folder() + name;
        EXPECT_TRUE(image.save(path, format, 95)) << name.toStdString();
        return path;
    }

    // The session: two sheets, their layers, texts of a named and of an own style,
    // a point, a line and a polygon for every work semantics of the classifier, user
    // captions, a hole, a plain and a filtered raster, then changes of each kind.
    QStringList SessionLines()
    {
        Bmp = SaveImage(QStringLiteral("подложка.bmp"), "BMP");
        Jpeg = SaveImage(QStringLiteral("снимок.jpg"), "JPG");
        QStringList lines = {
            QStringLiteral("mcSetMapInf=<Съемка участка ул. Ленина, 5; заказчик ООО «Геодезия»>"),
            QStringLiteral("mcNewPage=<Лист 1>"),
            QStringLiteral("mcNewLayer=<0><Здания>"),
            QStringLiteral("mcNewLayer=<0><Точки>"),
            QStringLiteral("mcNewLayer=<0><Общий>"),
            QStringLiteral("mcNewLayer=<0><Подписи>"),
            QStringLiteral("mcNewPage=<Лист 2>"),
            QStringLiteral("mcNewLayer=<1><Рельеф>"),
            QStringLiteral("mcNewText=<0><3><ул. Ленина><1000,500000><2000,250000><450><1,500000>"
                           "<*ОСНОВНОЙ><0><><0><0,000000><0000><0>"),
            QStringLiteral("mcNewText=<0><3><Своя подпись><1010,125000><2010,000000><0><1,000000>"
                           "<><1><Liberation Serif><255><3,000000><1010><0>"),
            QStringLiteral("mcNewText=<1><0><отм. 154,30><1500,000000><2500,000000><-900>"
                           "<0,750000><*ОТМЕТКИ><0>"),
        };
        TSemCodec& codec = Sem->Codec;
        int n = 0;
        for (const auto& work : codec.SemWorks[lmPoint]) {
            const Extended x = 1000 + 3.25L * n;
            const Extended y = 2000 + 1.5L * n;
            const QString captions = n % 2 == 0 ? QStringLiteral("[{1,5}{-2,0}{900}{1,25}{1}]") : QString();
            lines << QStringLiteral("mcNewPoint=") + TCommandParams()
                                                        .Int(0)
                                                        .Int(1)
                                                        .Text(WorkSemantics(codec, *work))
                                                        .Fixed(x, 2)
                                                        .Fixed(y, 2)
                                                        .Int(2)
                                                        .Fixed(15.5L * n)
                                                        .Field(captions)
                                                        .Int(n % 2)
                                                        .Int(n % 3)
                                                        .Str();
            ++n;
        }
        n = 0;
        for (const auto& work : codec.SemWorks[lmLine]) {
            QString nodes;
            for (int k = 0; k < 3; ++k)
                nodes += TCommandValues()
                             .Fixed(1100 + 10 * n + k, 2)
                             .Fixed(2100 + 5 * k * k, 2)
                             .Int(k == 1 ? 1 : 0)
                             .Fixed(k == 1 ? 2.5L : -1)
                             .Int(0)
                             .Int(k == 2 ? 0 : -1)
                             .Int(k == 1 ? 1 : 0)
                             .Int(0)
                             .Group();
            lines << QStringLiteral("mcNewLine=") + TCommandParams()
                                                       .Int(0)
                                                       .Int(2)
                                                       .Text(WorkSemantics(codec, *work))
                                                       .Field(n == 0 ? QStringLiteral("[{0}{1,5}{0}{1}{0}]") : QString())
                                                       .Int(n == 1 ? 1 : 0)
                                                       .Fixed(n == 1 ? 2.5L : 0)
                                                       .Int(n == 2 ? 3 : 2)
                                                       .Field(n == 0 ? QStringLiteral("{ОГР/Ф002}") : QString())
                                                       .Field(nodes)
                                                       .Str();
            ++n;
        }
        n = 0;
        for (const auto& work : codec.SemWorks[lmPolygon]) {
            const Extended x = 1200 + 30 * n;
            const Extended y = 2200;
            QString nodes;
            for (const auto& [dx, dy] : {std::pair{0, 0}, {0, 20}, {20, 20}, {20, 0}})
                nodes += TCommandValues().Fixed(x + dx, 2).Fixed(y + dy, 2).Fixed(-1).Int(0).Int(0).Int(0).Int(0).Group();
            QString holes;
            if (n == 1) {
                QString hole;
                for (const auto& [dx, dy] : {std::pair{5, 5}, {5, 10}, {10, 10}})
                    hole += TCommandValues().Fixed(x + dx, 2).Fixed(y + dy, 2).Fixed(-1).Int(0).Int(0).Group();
                holes = QLatin1Char('(') + hole + QLatin1Char(')');
            }
            lines << QStringLiteral("mcNewPolygon=") + TCommandParams()
                                                          .Int(0)
                                                          .Int(0)
                                                          .Text(WorkSemantics(codec, *work))
                                                          .Field(nodes)
                                                          .Int(2)
                                                          .Field(n == 0 ? QStringLiteral("[{0}{0}{450}{1}{1}]") : QString())
                                                          .Fixed(n == 0 ? 1.5L : 0)
                                                          .Fixed(n == 0 ? -2.25L : 0)
                                                          .Field(holes)
                                                          .Int(n == 0 ? 900 : -1)
                                                          .Str();
            ++n;
        }
        lines << QStringLiteral("mcNewRastr=<0><%1><900,000000><1900,000000><1300,000000><2300,000000><1><>"
                                "<100><100><100><100><0>")
                     .arg(Bmp)
              << QStringLiteral("mcLoadRastr=<0><0>")
              << QStringLiteral("mcNewRastr=<0><%1><950,000000><1950,000000><1250,000000><2250,000000><1><>"
                                "<50><100><80><120><1>")
                     .arg(Jpeg)
              << QStringLiteral("mcLoadRastr=<0><1>")
              << QStringLiteral("mcNewRastr=<1><%1><0,000000><0,000000><10,000000><10,000000><0><><100><100>"
                                "<100><100><0>")
                     .arg(Folder() + QStringLiteral("нет такого.bmp"))
              // changes of every kind
              << QStringLiteral("mcSetLayerProp=<0><3><Надписи><1>")
              << QStringLiteral("mcChangeLayerOrder=<0><2><3>")
              << QStringLiteral("mcSetPageProp=<1><Лист 2 (скрыт)><0>")
              << QStringLiteral("mcSetTextProp=<0><2><0><ул. Ленина, 5><1000,500000><2000,250000><900><1,250000>"
                                "<*НАЗВАНИЯ><0><><0><0,000000><0000><0>")
              << QStringLiteral("mcSetPointProp=<0><1><0><ТОЧ/Ф010;ИН15><1001,25><2001,50><3><0><>"
                                "<0><0>")
              << QStringLiteral("mcChangePointOrder=<0><1><1><2>")
              << QStringLiteral("mcDelPoint=<0><1><3>")
              << QStringLiteral("mcChangeTextOrder=<0><2><0><1>")
              << QStringLiteral("mcSetRastrProp=<0><0><%1><900,000000><1900,000000><1300,000000><2300,000000>"
                                "<1><><100><100><100><100><0>")
                     .arg(Bmp)
              << QStringLiteral("mcChangeRastrOrder=<0><0><1>");
        return lines;
    }

    // The sign of kind lm the library has current, by name.
    QString CurrentSign(TGeoMap& m, TLmode lm)
    {
        return m.Symbols->WithList(lm, [](auto& list) { return list.Item ? list.Item->Code : QString(); });
    }

    // The semantics of every object of the plan, inner objects included, whose sign
    // falls back to "неопределенный".
    QStringList WithoutSign(TGeoMap& m)
    {
        QStringList missing;
        const auto check = [&](const QString& sem, TLmode lm) {
            if (!m.Symbols->SelectSymbol(sem, lm) || CurrentSign(m, lm) == QStringLiteral("неопределенный"))
                missing << sem;
        };
        const auto line = [&](const RGLine& l) {
            check(l.Semantics, lmLine);
            for (const auto& node : l.Nodes)
                for (const auto& p : node->NodePoints)
                    check(p->Semantics, lmPoint);
        };
        for (const auto& page : m.Pages)
            for (const auto& layer : page->Layers) {
                for (const auto& p : layer->Points)
                    check(p->Semantics, lmPoint);
                for (const auto& l : layer->Lines)
                    line(*l);
                for (const auto& p : layer->Polygons) {
                    check(p->Semantics, lmPolygon);
                    for (const auto& ip : p->InnerPoints)
                        check(ip->Semantics, lmPoint);
                    for (const auto& il : p->InnerLines)
                        line(*il);
                }
            }
        return missing;
    }

    std::optional<TTestRun> Run;
    std::optional<TScopedDialogHooks> Hooks;
    std::optional<TSemServices> Sem;
    TFakeEngineServices Window;
    std::unique_ptr<TGeoMap> Map;
    std::map<int, QByteArray> Steps;   // the plan's native text after each step
    QStringList Shown;                 // messages shown through the shared dialogs
    QString Bmp;
    QString Jpeg;

private:
    QChar SavedSeparator;
    QString SavedVersion;
};

TEST_F(Session, FirstPlanLoadsTheSignLibraryOfItsScaleWithoutError)
{
    EXPECT_EQ(Map->MapProp.Scale, 500);
    EXPECT_EQ(Map->Symbols->GetScale(), 500);
    EXPECT_TRUE(Map->Symbols->LoadErrors.isEmpty()) << Map->Symbols->LoadErrors.join(u'\n').toStdString();
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join(u'\n').toStdString();
    EXPECT_EQ(Map->Symbols->VpGPoints.GetCount(), 14);
    EXPECT_EQ(Map->Symbols->VpGLines.GetCount(), 13);
    EXPECT_EQ(Map->Symbols->VpGPolygons.GetCount(), 22);
    EXPECT_GT(Map->Symbols->TextStyles.GetCount(), 0);
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(DataFileState, 0);
}

// Undo reopens snapshots: each must be the plan exactly as it stood at its step, and
// undo and redo must walk the steps back and forth without losing or changing anything.
TEST_F(Session, EverySnapshotReopensAsThePlanOfItsStepAndUndoRedoWalkTheSteps)
{
    const QStringList lines = SessionLines();
    Type(lines);
    ASSERT_TRUE(Shown.isEmpty()) << Shown.join(u'\n').toStdString();
    ASSERT_TRUE(Window.Asked.empty());
    const int last = UndoStep;
    ASSERT_EQ(last, lines.size());
    ASSERT_EQ(static_cast<int>(Steps.size()), last);

    for (const auto& [step, native] : Steps) {
        SCOPED_TRACE(step);
        const QString file = Snapshot(step);
        EXPECT_EQ(FileBytes(file), native + "\r\n");
        const auto reopened = Opened(file);
        EXPECT_EQ(Text(Native(*reopened)), Text(native));
        EXPECT_EQ(reopened->MapProp.Scale, 500);
    }

    // Back to the first step and forward again, as the buttons do it.
    for (int step = last - 1; step >= 1; --step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(Undo());
        EXPECT_EQ(UndoStep, step);
        EXPECT_EQ(Text(Native(*Map)), Text(Steps[step]));
        EXPECT_TRUE(CommandLog->isEmpty());
        EXPECT_EQ(DataFileState, 1);
    }
    EXPECT_FALSE(Undo());   // no snapshot 0 after a new plan
    ++UndoStep;
    for (int step = 2; step <= last; ++step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(Redo());
        EXPECT_EQ(Text(Native(*Map)), Text(Steps[step]));
    }
    EXPECT_FALSE(Redo());
    --UndoStep;

    // A command after two undos continues the numbering over the steps undone.
    ASSERT_TRUE(Undo());
    ASSERT_TRUE(Undo());
    Type(QStringLiteral("mcNewPage=<Лист 4>"));
    EXPECT_EQ(UndoStep, last - 1);
    EXPECT_EQ(Text(Native(*Opened(Snapshot(last - 1)))), Text(Native(*Map)));
    EXPECT_EQ(Window.RedoEnabled, 0);
    EXPECT_EQ(*CommandLog, QStringList{QStringLiteral("mcNewPage=<Лист 4>")});
}

TEST_F(Session, SavedPlanOpensInAFreshPlanAndWritesBackByteForByte)
{
    Type(SessionLines());
    const QString file = Folder() + QStringLiteral("участок.500");
    Map->StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(file));
    EXPECT_EQ(Map->Modified, 0);
    EXPECT_EQ(DataFileState, 2);
    const QByteArray saved = FileBytes(file);
    EXPECT_EQ(Text(saved), Text(Native(*Map)));

    // A new instance of the program opens the file.
    TGeoMap fresh;
    fresh.Services = &Window;
    fresh.StrToComm(OpenLine(file));
    EXPECT_EQ(DataFileState, 1);
    EXPECT_EQ(fresh.MapProp.Scale, 500);
    EXPECT_EQ(fresh.MapProp.Info, Map->MapProp.Info);
    const QString again = Folder() + QStringLiteral("участок-2.500");
    fresh.StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(again));
    EXPECT_EQ(FileBytes(again), saved);
}

TEST_F(Session, SetScaleReloadsTheLibraryAndEveryObjectFindsItsSign)
{
    Type(SessionLines());
    Window.Answers = {mrNo, mrYes};
    Window.Texts = {QString(), QStringLiteral("Здания (второй план)")};
    const QString second = Folder() + QStringLiteral("второй.500");
    WriteBytes(second, SecondPlanBytes());
    Type(QStringLiteral("mcAddMap=<%1><New>").arg(second));
    ASSERT_TRUE(Window.Answers.empty());
    ASSERT_EQ(Map->Pages.GetCount(), 3);

    for (const int scale : {500, 1000, 2000}) {
        SCOPED_TRACE(scale);
        if (scale != 500)
            Type(QStringLiteral("mcSetMapScale=<%1>").arg(scale));
        EXPECT_EQ(Map->Symbols->GetScale(), scale);
        EXPECT_TRUE(Map->Symbols->LoadErrors.isEmpty()) << Map->Symbols->LoadErrors.join(u'\n').toStdString();
        EXPECT_EQ(Map->Symbols->VpGPoints.GetCount(), 14);
        EXPECT_EQ(Map->Symbols->VpGLines.GetCount(), 13);
        EXPECT_EQ(Map->Symbols->VpGPolygons.GetCount(), 22);
        EXPECT_EQ(WithoutSign(*Map), QStringList());
        EXPECT_GT(Map->Symbols->TextStyles.GetCount(), 0);
        for (const auto& page : Map->Pages)
            for (const auto& layer : page->Layers)
                for (const auto& text : layer->Texts) {
                    if (!text->OwnStyle) {
                        EXPECT_TRUE(Map->Symbols->FindStyle(text->StyleName)) << text->StyleName.toStdString();
                    }
                }
    }
    // The snapshot after a change of scale carries the new scale and reopens with it.
    const auto reopened = Opened(Snapshot(UndoStep, 2000));
    EXPECT_EQ(reopened->MapProp.Scale, 2000);
    EXPECT_EQ(reopened->Symbols->GetScale(), 2000);
    EXPECT_EQ(Text(Native(*reopened)), Text(Native(*Map)));
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join(u'\n').toStdString();
}

// Values at the edges of what the file writes (rounding to the written decimals, signs
// of zero, defaults left out, values the file has no place for) must come back from
// their snapshot as the same plan.
TEST_F(Session, EdgeValuesComeBackFromTheirSnapshot)
{
    Type({QStringLiteral("mcNewPage=<A>"), QStringLiteral("mcNewLayer=<0><B>")});
    const QString node = QStringLiteral("[{%1}{%2}{-1}{0}{0}{0}{0}]");
    const QStringList lines = {
        QStringLiteral("mcNewPoint=<0><0><ТОЧ><-0,001><-0,004><2><-0,0001><[{-0,01}{-0,04}{0}{0,9999999}{0}]><0><0>"),
        QStringLiteral("mcNewPoint=<0><0><ТОЧ><1,005><2,005><2><359,9996><><0><0>"),
        QStringLiteral("mcNewPoint=<0><0><ТОЧ><1,0049><2,0051><0><0><><255><255>"),
        QStringLiteral("mcNewPoint=<0><0><ТОЧ><6123456,785><2345678,905><7><0><[{0}{0}{-3600}{1,0000004}{2}]><0><0>"),
        QStringLiteral("mcNewText=<0><0><t><-0,0004><0,0004><0><1,004><*ОСНОВНОЙ><1><Arial><-16777201><-0,004><1111><0>"),
        QStringLiteral("mcNewText=<0><0><t><1><2><36000><0,995><><0>"),
        QStringLiteral("mcNewLine=<0><0><ЛИН><><1><-0,0001><2><{}{ЛИН}><[{1}{2}{0}{-0,5}{0}{-5}{2}{2}][{3}{4}{0}{0}{0}{0}{0}{0}]>"),
        QStringLiteral("mcNewLine=<0><0><ЛИН><><0><0><2><><[{1}{2}{255}{0,0001}{255}{2147483647}{1}{1}]>"),
        QStringLiteral("mcNewPolygon=<0><0><ПОЛ><%1%2%3><2><><-0,001><0,004><([{1}{1}{-0,5}{0}{0}][{1}{1}{0}{0}{0}])><-1>")
            .arg(node.arg(0).arg(0), node.arg(0).arg(1), node.arg(1).arg(1)),
        QStringLiteral("mcNewPolygon=<0><0><ПОЛ><%1%2%3><3><><0><0><><-5>")
            .arg(node.arg(0).arg(0), node.arg(0).arg(1), node.arg(1).arg(1)),
        QStringLiteral("mcNewRastr=<0><><-0,0001><0><0><0><0><><0><0><0><0><2>"),
        QStringLiteral("mcNewPage=<>"),
        QStringLiteral("mcNewLayer=<1><>"),
        QStringLiteral("mcNewPage=< Лист с пробелами  >"),
        QStringLiteral("mcNewLayer=<2><|вид|0>"),
        QStringLiteral("mcNewText=<2><0><#><1><2><0><1><*><0>"),
        QStringLiteral("mcNewPoint=<2><0><><1><2><2><0><><0><0>"),
        QStringLiteral("mcSetMapInf=<{ЛСТ>"),
        QStringLiteral("mcSetMapInf=<~>"),
        QStringLiteral("mcSetMapInf=<~~{>"),
        QStringLiteral("mcSetMapInf=< >"),
        QStringLiteral("mcSetMapInf=<}ИНФ>"),
    };
    for (const QString& line : lines) {
        SCOPED_TRACE(line.toStdString());
        Type(line);
        const auto reopened = Opened(Snapshot(UndoStep));
        EXPECT_EQ(Text(Native(*reopened)).toStdString(), Text(Steps[UndoStep]).toStdString());
    }
}

// Guards a polygon whose outer contour ends on its first node: undo and redo must not
// take a node off it.
TEST_F(Session, ClosedPolygonComesBackFromItsSnapshot)
{
    Type({QStringLiteral("mcNewPage=<A>"), QStringLiteral("mcNewLayer=<0><B>"),
          QStringLiteral("mcNewPolygon=<0><0><ПОЛ><[{0}{0}{-1}{0}{0}{0}{0}][{0}{1}{-1}{0}{0}{0}{0}]"
                         "[{1}{1}{-1}{0}{0}{0}{0}][{0}{0}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>")});
    const auto reopened = Opened(Snapshot(UndoStep));
    EXPECT_EQ(Text(Native(*reopened)).toStdString(), Text(Steps[UndoStep]).toStdString());
}

// Guards a merged plan file whose polygon ends on its first node, twice over: undo and
// redo of the merge must not take a node off it either.
TEST_F(Session, MergedClosedPolygonComesBackFromItsSnapshot)
{
    const QString closed = Folder() + QStringLiteral("замкнут.500");
    WriteBytes(closed, EncodeCodePage(JoinLinesCrLf(
                           {QStringLiteral("FREE VELMORANT"), QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"),
                            QStringLiteral("{СЛО"), QStringLiteral("|имя|Б"), QStringLiteral("{ПОЛ"),
                            QStringLiteral("@ПОЛ"), QStringLiteral("$0 0"), QStringLiteral("$0 1"),
                            QStringLiteral("$1 1"), QStringLiteral("$0 0"), QStringLiteral("$0 0"),
                            QStringLiteral("#"), QStringLiteral("}ПОЛ"), QStringLiteral("}СЛО"),
                            QStringLiteral("}ЛСТ")})));
    Type({QStringLiteral("mcNewPage=<Лист 1>"), QStringLiteral("mcAddMap=<%1><New>").arg(closed)});
    EXPECT_EQ(Map->Pages.At(1)->Layers.At(0)->Polygons.At(0)->Nodes.GetCount(), 3);
    const auto reopened = Opened(Snapshot(UndoStep));
    EXPECT_EQ(Text(Native(*reopened)).toStdString(), Text(Steps[UndoStep]).toStdString());
}

// The duplicate-name questions of a merge reach the user through the plan's window or,
// for a plan linked to none, through the shared dialog hooks: both give the same plan.
TEST_F(Session, MergeOfAPlanWithDuplicateNamesAnsweredThroughHooksOrTheWindow)
{
    const QString second = Folder() + QStringLiteral("второй.500");
    WriteBytes(second, SecondPlanBytes());
    const QStringList build = {
        QStringLiteral("mcNewPage=<Лист 1>"), QStringLiteral("mcNewLayer=<0><Здания>"),
        QStringLiteral("mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0,000000><><0><0>"),
        QStringLiteral("mcNewPage=<Лист 3>")};
    const QString add = QStringLiteral("mcAddMap=<%1><New>").arg(second);

    // Sheet "Лист 1": add to it; its layer "Здания": rename; sheet "Лист 3": add for all.
    Type(build);
    Answers = {{mrNo, {}}, {mrYes, QStringLiteral("Здания 2")}, {mrNoToAll, {}}};
    Map->Services = nullptr;
    Type(add);
    Map->Services = &Window;
    EXPECT_TRUE(Answers.empty());
    const QByteArray throughHooks = Native(*Map);

    StartPlan();
    Type(build);
    Window.Answers = {mrNo, mrYes, mrNoToAll};
    Window.Texts = {QString(), QStringLiteral("Здания 2")};
    Type(add);
    EXPECT_EQ(Text(Native(*Map)), Text(throughHooks));
    ASSERT_EQ(Window.Asked.size(), 3u);
    EXPECT_EQ(Window.Asked[0].Caption, QStringLiteral("Лист уже существует!"));
    EXPECT_EQ(Window.Asked[1].Caption, QStringLiteral("Слой уже существует!"));

    ASSERT_EQ(Map->Pages.GetCount(), 2);
    const RGPage& sheet = *Map->Pages.At(0);
    ASSERT_EQ(sheet.Layers.GetCount(), 3);
    EXPECT_EQ(sheet.Layers.At(0)->Name, QStringLiteral("Здания"));
    EXPECT_EQ(sheet.Layers.At(1)->Name, QStringLiteral("Здания 2"));
    EXPECT_EQ(sheet.Layers.At(2)->Name, QStringLiteral("Новый слой"));
    const RGLayer& merged = *sheet.Layers.At(1);
    ASSERT_EQ(merged.Polygons.GetCount(), 1);
    const RGPolygon& polygon = *merged.Polygons.At(0);
    EXPECT_EQ(polygon.Holes.GetCount(), 1);
    EXPECT_EQ(polygon.InnerTexts.GetCount(), 1);
    ASSERT_EQ(polygon.InnerPoints.GetCount(), 1);
    EXPECT_EQ(polygon.InnerPoints.At(0)->InnerTexts.GetCount(), 1);
    EXPECT_EQ(polygon.InnerPoints.At(0)->UserTexts.GetCount(), 1);
    ASSERT_EQ(polygon.InnerLines.GetCount(), 1);
    EXPECT_EQ(polygon.InnerLines.At(0)->Nodes.At(0)->NodePoints.GetCount(), 1);
    EXPECT_EQ(merged.Lines.At(0)->Nodes.At(0)->NodePoints.GetCount(), 1);
    EXPECT_EQ(merged.Points.At(0)->InnerTexts.GetCount(), 1);
    // The plan keeps its own information text and scale.
    EXPECT_EQ(Map->MapProp.Info, QString());
    EXPECT_EQ(*CommandLog, QStringList(build) << add);
    EXPECT_EQ(Text(FileBytes(Snapshot(UndoStep))), Text(Native(*Map) + "\r\n"));
    EXPECT_EQ(WithoutSign(*Map), QStringList());

    // The question given up: nothing merges.
    const QByteArray before = Native(*Map);
    Window.Answers = {mrCancel};
    Type(add);
    EXPECT_EQ(Text(Native(*Map)), Text(before));
}

// The journal is the record of the session: the lines it holds, typed again into a new
// plan, make the same plan.
TEST_F(Session, JournalHoldsTheTypedLinesAndReplaysIntoTheSamePlan)
{
    const QStringList lines = SessionLines();
    Type(lines);
    const QString second = Folder() + QStringLiteral("второй.500");
    WriteBytes(second, SecondPlanBytes());
    const QString add = QStringLiteral("mcAddMap=<%1><New>").arg(second);
    // The sheet and the layer named as the plan's: add to them, for all further cases.
    Window.Answers = {mrNoToAll, mrNoToAll};
    Type(add);
    Type(QStringLiteral("mcSetMapScale=<1000>"));
    const QString saved = Folder() + QStringLiteral("участок.1000");
    Map->StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(saved));
    Map->StrToComm(QStringLiteral("mcSaveSelected=<%1><{0}>").arg(Folder() + QStringLiteral("лист.1000")));
    const QStringList journal = *CommandLog;
    EXPECT_EQ(journal, QStringList(lines) << add << QStringLiteral("mcSetMapScale=<1000>"));
    const QByteArray plan = Native(*Map);
    ASSERT_EQ(Map->Pages.GetCount(), 3);
    EXPECT_EQ(Map->Pages.At(2)->Name, QStringLiteral("Лист 3"));

    StartPlan();
    Window.Answers = {mrNoToAll, mrNoToAll};
    for (const QString& line : journal)
        Type(line);
    EXPECT_EQ(Text(Native(*Map)), Text(plan));
    EXPECT_EQ(*CommandLog, journal);
    EXPECT_EQ(Map->MapProp.Scale, 1000);
}

// What a refused command must leave exactly as it was.
struct TDocumentState {
    QString Plan;
    QStringList Journal;
    std::uint8_t Modified;
    std::uint8_t FileState;
    std::int32_t Step;
    QStringList Snapshots;
    bool operator==(const TDocumentState&) const = default;
};

void PrintTo(const TDocumentState& s, std::ostream* os)
{
    *os << "modified " << int(s.Modified) << ", state " << int(s.FileState) << ", step " << s.Step
        << ", snapshots " << s.Snapshots.size() << ", journal " << s.Journal.size() << " lines, last \""
        << (s.Journal.isEmpty() ? std::string() : s.Journal.last().toStdString()) << "\"";
}

class SessionFailures : public Session {
protected:
    TDocumentState State()
    {
        return {Text(Native(*Map)), *CommandLog, Map->Modified, DataFileState, UndoStep,
                QDir(UndoFolder()).entryList(QDir::Files, QDir::Name)};
    }
};

// A refused command, whatever refuses it (a field that does not convert or is missing,
// a broken file, a file that cannot be written), leaves the plan, the journal, the
// modified mark, the document state and the undo step as they were, and counts no
// snapshot: the exit question, undo and a replay of the journal all see the plan as
// it is.
TEST_F(SessionFailures, ARefusedCommandLeavesTheDocumentAsItWas)
{
    Type(SessionLines());
    const QString saved = Folder() + QStringLiteral("участок.500");
    Map->StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(saved));
    ASSERT_EQ(Map->Modified, 0);
    ASSERT_EQ(DataFileState, 2);

    WriteBytes(Folder() + QStringLiteral("файл"), "не папка");
    QDir().mkpath(Folder() + QStringLiteral("папка.500"));
    const QByteArray plan = FileBytes(saved);
    WriteBytes(Folder() + QStringLiteral("обрыв.500"), plan.left(plan.indexOf("{ТОЧ")));
    WriteBytes(Folder() + QStringLiteral("сбой.500"),
               QByteArray(plan).replace("$1003,25 2001,50", "$1003,25 x2001,50"));
    // A broken file to merge, whose sheets are new to the plan: no name is asked first.
    WriteBytes(Folder() + QStringLiteral("сбой-лист.500"),
               QByteArray(plan)
                   .replace(EncodeCodePage(QStringLiteral("|имя|Лист ")), EncodeCodePage(QStringLiteral("|имя|Другой лист ")))
                   .replace("$1003,25 2001,50", "$1003,25 x2001,50"));
    WriteBytes(Folder() + QStringLiteral("мусор.500"), QByteArray::fromRawData("\x00\x01\xff\xfe garbage", 12));
    const QString nodes = QStringLiteral("[{1}{1}{-1}{0}{0}{0}{0}][{1}{2}{-1}{0}{0}{0}{0}][{2}{2}{-1}{0}{0}{0}{0}]");

    struct Case {
        const char* what;
        QString line;
    };
    const Case cases[] = {
        {"sheet name missing", QStringLiteral("mcNewPage=")},
        {"sheet to delete not a number", QStringLiteral("mcDelPage=<x>")},
        {"sheet visibility", QStringLiteral("mcSetPageProp=<0><Новое><x>")},
        {"sheet order target", QStringLiteral("mcChangePageOrder=<0><1x>")},
        {"layer name missing", QStringLiteral("mcNewLayer=<0>")},
        {"layer to delete", QStringLiteral("mcDelLayer=<0><x>")},
        {"layer visibility", QStringLiteral("mcSetLayerProp=<0><0><Новое><x>")},
        {"layer order target", QStringLiteral("mcChangeLayerOrder=<0><0><x>")},
        {"raster corner with the other separator",
         QStringLiteral("mcNewRastr=<0><a.bmp><1.5><2><3><4><1><><100><100><100><100><0>")},
        {"raster to load", QStringLiteral("mcLoadRastr=<0><x>")},
        {"raster to unload", QStringLiteral("mcUnLoadRastr=<x><0>")},
        {"raster to delete", QStringLiteral("mcDelRastr=<0><x>")},
        {"raster filter switch missing",
         QStringLiteral("mcSetRastrProp=<0><0><a.bmp><1><2><3><4><1><><100><100><100><100>")},
        {"raster order target", QStringLiteral("mcChangeRastrOrder=<0><0><x>")},
        {"text font styles missing",
         QStringLiteral("mcNewText=<0><2><t><1><2><0><1><><1><Arial><255><2,5>")},
        {"text to delete", QStringLiteral("mcDelText=<0><2><x>")},
        {"text X with the other separator",
         QStringLiteral("mcSetTextProp=<0><2><0><t><1.5><2><0><1><><0>")},
        {"text order target", QStringLiteral("mcChangeTextOrder=<0><2><0><x>")},
        {"point caption short of a value",
         QStringLiteral("mcNewPoint=<0><1><ТОЧ><1><2><2><0><[{1}{2}{0}{1}]><0><0>")},
        {"point to delete", QStringLiteral("mcDelPoint=<0><1><x>")},
        {"point Y", QStringLiteral("mcSetPointProp=<0><1><0><ТОЧ><1><y><2><0><><0><0>")},
        {"point order target", QStringLiteral("mcChangePointOrder=<0><1><0><x>")},
        {"line node", QStringLiteral("mcNewLine=<0><3><ЛИН><><0><0><2><>"
                                     "<[{1}{2}{0}{-1}{0}{-1}{0}{0}][{3}{x}{0}{-1}{0}{-1}{0}{0}]>")},
        {"line to delete", QStringLiteral("mcDelLine=<0><3><x>")},
        {"line strip width", QStringLiteral("mcSetLineProp=<0><3><0><ЛИН><><1><w><2><><>")},
        {"line order target", QStringLiteral("mcChangeLineOrder=<0><3><0><x>")},
        {"polygon hole node short of a value",
         QStringLiteral("mcNewPolygon=<0><0><ПОЛ><%1><2><><0><0><([{1}{1}{-1}{0}])><-1>").arg(nodes)},
        {"polygon to delete", QStringLiteral("mcDelPolygon=<0><0><x>")},
        {"polygon caption angle",
         QStringLiteral("mcSetPolygonProp=<0><0><0><ПОЛ><%1><2><><0><0><><x>").arg(nodes)},
        {"polygon order target", QStringLiteral("mcChangePolygonOrder=<0><0><0><x>")},
        {"scale", QStringLiteral("mcSetMapScale=<x>")},
        {"scale of 0", QStringLiteral("mcSetMapScale=<0>")},
        {"information missing", QStringLiteral("mcSetMapInf=")},
        {"merge of a broken file", QStringLiteral("mcAddMap=<%1><New>").arg(Folder() + QStringLiteral("сбой-лист.500"))},
        {"merge of a missing file", QStringLiteral("mcAddMap=<%1><New>").arg(Folder() + QStringLiteral("нет.500"))},
        {"new plan of a bad scale", QStringLiteral("mcNewMap=<пятьсот><>")},
        {"open of a file cut short", OpenLine(Folder() + QStringLiteral("обрыв.500"))},
        {"open of a file with a bad value", OpenLine(Folder() + QStringLiteral("сбой.500"))},
        {"open of no plan file", OpenLine(Folder() + QStringLiteral("мусор.500"))},
        {"open of a missing file", OpenLine(Folder() + QStringLiteral("нет.500"))},
        {"save below a file", QStringLiteral("mcSaveMap=<%1><New>").arg(Folder() + QStringLiteral("файл/участок.500"))},
        {"save over a folder", QStringLiteral("mcSaveMap=<%1><New>").arg(Folder() + QStringLiteral("папка.500"))},
        {"save of selected sheets below a file",
         QStringLiteral("mcSaveSelected=<%1><{0}>").arg(Folder() + QStringLiteral("файл/лист.500"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TDocumentState before = State();
        const size_t asked = Window.Asked.size();
        EXPECT_FALSE(RaisedBy([&] { Map->StrToComm(c.line); }).isEmpty());
        EXPECT_EQ(State(), before);
        EXPECT_EQ(Window.Asked.size(), asked);
    }
    EXPECT_EQ(FileBytes(saved), plan);
    EXPECT_FALSE(QFileInfo(Folder() + QStringLiteral("папка.500")).isFile());
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join(u'\n').toStdString();
}

// A change made whose snapshot cannot be written is a change all the same: it stays in
// the journal and marks the plan modified, and the step is not counted.
TEST_F(SessionFailures, AChangeWhoseSnapshotFailsStaysInTheJournal)
{
    Type(QStringLiteral("mcNewPage=<Лист 1>"));
    ASSERT_TRUE(QDir(UndoFolder()).removeRecursively());
    WriteBytes(UndoFolder(), "не папка");
    Map->Modified = 0;
    const QString line = QStringLiteral("mcNewPage=<Лист 2>");
    EXPECT_FALSE(RaisedBy([&] { Map->StrToComm(line); }).isEmpty());
    EXPECT_EQ(Map->GetPagesCount(), 2);
    EXPECT_EQ(CommandLog->last(), line);
    EXPECT_EQ(Map->Modified, 1);
    EXPECT_EQ(UndoStep, 1);
    EXPECT_EQ(Window.UndoEnabled, 1);
}

// An open the user gives up at the duplicate-name question leaves the plan in place:
// its journal must stay too, or the exit question would let its unsaved changes go.
TEST_F(SessionFailures, AnOpenGivenUpKeepsTheJournalOfThePlanLeftInPlace)
{
    Type(SessionLines());
    const QString twice = Folder() + QStringLiteral("дважды.500");
    WriteBytes(twice, EncodeCodePage(JoinLinesCrLf(
                          {QStringLiteral("FREE VELMORANT"), QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"),
                           QStringLiteral("}ЛСТ"), QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"),
                           QStringLiteral("}ЛСТ")})));
    const TDocumentState before = State();
    Window.Answers = {mrCancel};
    EXPECT_FALSE(RaisedBy([&] { Map->StrToComm(OpenLine(twice)); }).isEmpty());
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(State(), before);
}

// Guards against commands giving two sheets, or two layers of a sheet, one name: the
// snapshot of such a plan reopened with the duplicate-name question, which undo cannot
// answer, and undo merged the two or gave up. Such a name is refused, the document as
// it was; a name differing in letter case, or a sheet or layer keeping its own, is not.
TEST_F(SessionFailures, DuplicateNamesAreRefusedAndSnapshotsComeBackWithoutAQuestion)
{
    Type({QStringLiteral("mcNewPage=<A>"), QStringLiteral("mcNewLayer=<0><B>"), QStringLiteral("mcNewLayer=<0><b>"),
          QStringLiteral("mcNewPoint=<0><1><ТОЧ><1><2><2><0><><0><0>"), QStringLiteral("mcNewPage=<a>"),
          QStringLiteral("mcNewLayer=<1><B>")});
    for (const QString& line : {QStringLiteral("mcNewPage=<A>"), QStringLiteral("mcSetPageProp=<1><A><1>"),
                                QStringLiteral("mcNewLayer=<0><B>"), QStringLiteral("mcSetLayerProp=<0><1><B><1>")}) {
        SCOPED_TRACE(line.toStdString());
        const TDocumentState before = State();
        EXPECT_FALSE(RaisedBy([&] { Map->StrToComm(line); }).isEmpty());
        EXPECT_EQ(State(), before);
    }
    Type({QStringLiteral("mcSetPageProp=<0><A><0>"), QStringLiteral("mcSetLayerProp=<0><0><B><0>")});
    const auto reopened = Opened(Snapshot(UndoStep));
    EXPECT_EQ(Text(Native(*reopened)).toStdString(), Text(Steps[UndoStep]).toStdString());
    EXPECT_EQ(reopened->Pages.GetCount(), 2);
    EXPECT_EQ(reopened->Pages.At(0)->Layers.GetCount(), 2);
    EXPECT_TRUE(Window.Asked.empty());
}

// A raster given a new file that exists but is no picture used to take the new file
// and properties and then raise, so the plan held a change that neither the journal nor
// the modified mark showed. The command now completes, the raster unloaded with its new
// properties, the reader's message shown: journal, modified mark and snapshot agree.
TEST_F(SessionFailures, ARasterGivenABrokenPictureFileTakesItsPropertiesUnloaded)
{
    Bmp = SaveImage(QStringLiteral("подложка.bmp"), "BMP");
    const QString broken = Folder() + QStringLiteral("сломан.bmp");
    WriteBytes(broken, "BM not a picture");
    Type({QStringLiteral("mcNewPage=<Лист 1>"),
          QStringLiteral("mcNewRastr=<0><%1><0,000000><0,000000><240,000000><160,000000><1><><100><100>"
                         "<100><100><0>")
              .arg(Bmp),
          QStringLiteral("mcLoadRastr=<0><0>")});
    Map->Modified = 0;
    const int step = UndoStep;
    const QString line = QStringLiteral("mcSetRastrProp=<0><0><%1><10,000000><10,000000><250,000000>"
                                        "<170,000000><1><><100><100><100><100><0>")
                             .arg(broken);
    EXPECT_EQ(RaisedBy([&] { Type(line); }), QString());
    EXPECT_EQ(CommandLog->last(), line);
    EXPECT_EQ(Map->Modified, 1);
    EXPECT_EQ(UndoStep, step + 1);
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Caption, QStringLiteral("Растр не загружен"));
    EXPECT_TRUE(Window.Asked[0].Text.contains(broken)) << Window.Asked[0].Text.toStdString();
    const RGRastr& rastr = *Map->Pages.At(0)->Rastrs.At(0);
    EXPECT_EQ(rastr.FileName, broken);
    EXPECT_EQ(rastr.TopRight.X, 250.0L);
    EXPECT_EQ(rastr.Loaded, 0);
    EXPECT_EQ(rastr.FilterApplied, 0);
    EXPECT_TRUE(rastr.Picture->Empty());
    const auto reopened = Opened(Snapshot(UndoStep));
    EXPECT_EQ(Text(Native(*reopened)).toStdString(), Text(Steps[UndoStep]).toStdString());
    EXPECT_EQ(reopened->Pages.At(0)->Rastrs.At(0)->Loaded, 0);
}

class SessionRasters : public Session {
protected:
    // A session's plan with a BMP and a JPEG raster, the JPEG recoloured by its filter,
    // saved and opened again by another instance of the program.
    void SetUp() override
    {
        Session::SetUp();
        Bmp = SaveImage(QStringLiteral("подложка.bmp"), "BMP");
        Jpeg = SaveImage(QStringLiteral("снимок.jpg"), "JPG");
        Type({QStringLiteral("mcNewPage=<Лист 1>"),
              QStringLiteral("mcNewRastr=<0><%1><0,000000><0,000000><240,000000><160,000000><1><><100><100>"
                             "<100><100><0>")
                  .arg(Bmp),
              QStringLiteral("mcLoadRastr=<0><0>"),
              QStringLiteral("mcNewRastr=<0><%1><0,000000><0,000000><240,000000><160,000000><1><><100><100>"
                             "<100><100><0>")
                  .arg(Jpeg),
              QStringLiteral("mcLoadRastr=<0><1>"),
              QStringLiteral("mcNewRastr=<0><%1><0,000000><0,000000><240,000000><160,000000><1><><50><100>"
                             "<80><120><1>")
                  .arg(Jpeg),
              QStringLiteral("mcLoadRastr=<0><2>")});
        const QString file = Folder() + QStringLiteral("растры.500");
        Map->StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(file));
        Reopened = std::make_unique<TGeoMap>();
        Reopened->Services = &Window;
        Reopened->StrToComm(OpenLine(file));
    }

    RGRastr& Live(int i) { return *Map->Pages.At(0)->Rastrs.At(i); }
    RGRastr& Back(int i) { return *Reopened->Pages.At(0)->Rastrs.At(i); }
    static QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

    std::unique_ptr<TGeoMap> Reopened;
};

TEST_F(SessionRasters, PicturesReadAgainAfterOpenAreThoseOfTheImageReaders)
{
    ASSERT_EQ(Reopened->Pages.At(0)->Rastrs.GetCount(), 3);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QString file = i == 0 ? Bmp : Jpeg;
        ASSERT_EQ(Live(i).Loaded, 1);
        EXPECT_EQ(Rgb(Live(i).Picture->Image), Rgb(ReadRastrPicture(file)));
        EXPECT_EQ(Back(i).FileName, file);
        EXPECT_EQ(Back(i).Loaded, 1);
        EXPECT_EQ(Back(i).Picture->Width(), 24);
        EXPECT_EQ(Back(i).Picture->Height(), 16);
        EXPECT_EQ(Rgb(Back(i).Picture->Image), Rgb(Live(i).Picture->Image));
    }
    EXPECT_EQ(Text(Native(*Reopened)), Text(Native(*Map)));
}

TEST_F(SessionRasters, AFilteredRasterIsFilteredAgainAfterOpen)
{
    ASSERT_EQ(Live(2).FilterApplied, 1);
    const QImage filtered = Rgb(ApplyRasterFilter(ReadRastrPicture(Jpeg), 120, 50, 100, 80));
    ASSERT_EQ(Rgb(Live(2).Picture->Image), filtered);
    EXPECT_EQ(Back(2).FilterOn, 1);
    EXPECT_EQ(Back(2).FilterApplied, 1);
    EXPECT_EQ(Rgb(Back(2).Picture->Image), filtered);
}

// A scan of a whole sheet: 16500 × 16500 pixels of 8 bits, run-length coded, so that the
// file is small and the picture larger than 256 megabytes.
QByteArray ScanBmp()
{
    const auto u16 = [](QByteArray& b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    const auto u32 = [&](QByteArray& b, quint32 v) {
        u16(b, quint16(v & 0xFFFF));
        u16(b, quint16(v >> 16));
    };
    const QByteArray pixels("\x02\x01\x00\x01", 4);   // two black pixels, then the end
    QByteArray b("BM");
    u32(b, 14 + 40 + 8 + pixels.size());
    u32(b, 0);
    u32(b, 14 + 40 + 8);
    u32(b, 40);
    u32(b, 16500);
    u32(b, 16500);
    u16(b, 1);
    u16(b, 8);
    u32(b, 1);   // run-length coded, 8 bits
    u32(b, pixels.size());
    u32(b, 2835);
    u32(b, 2835);
    u32(b, 2);
    u32(b, 0);
    b.append(QByteArray("\xff\xff\xff\x00\x00\x00\x00\x00", 8));
    return b + pixels;
}

// A scan too large for Qt's own image reader loads through the picture registry when
// its command runs; opening the plan, and so every undo and redo, must load it again.
TEST_F(Session, ALargeScanLoadedByItsCommandIsLoadedAgainAfterOpen)
{
    const TLargePictureScope large(qint64(512) << 20);   // the picture takes 272 MB
    const QString scan = Folder() + QStringLiteral("скан листа.bmp");
    WriteBytes(scan, ScanBmp());
    Type({QStringLiteral("mcNewPage=<Лист 1>"),
          QStringLiteral("mcNewRastr=<0><%1><0,000000><0,000000><500,000000><500,000000><1><><100><100>"
                         "<100><100><0>")
              .arg(scan),
          QStringLiteral("mcLoadRastr=<0><0>")});
    ASSERT_EQ(Map->Pages.At(0)->Rastrs.At(0)->Loaded, 1);
    ASSERT_EQ(Map->Pages.At(0)->Rastrs.At(0)->Picture->Width(), 16500);
    Map->StrToComm(QStringLiteral("mcUnLoadRastr=<0><0>"));   // frees the picture before the reopening
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Map->Pages.At(0)->Rastrs.At(0)->Loaded, 1);
    EXPECT_EQ(Map->Pages.At(0)->Rastrs.At(0)->Picture->Width(), 16500);
}

}  // namespace
