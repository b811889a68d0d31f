// The settings file and the last stamp: every key written and read back, the readers'
// tolerance (either decimal separator, later values, unknown keys, a bad value skipped),
// and the main window reading them at start and writing them at exit.
#include "MainWindowFixture.h"

#include "engine/draw/MapPainter.h"
#include "mainwindow/UnitMapSetup.h"
#include "mainwindow/VclTimer.h"
#include "platform/CodePage.h"
#include "semantics/signs/Symbols.h"
#include "support/TestHelpers.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

// The 48 key lines in the order they are written, byte for byte as every settings
// file has them (the two highlight keys misspelt).
const QStringList ExpectedKeys = {
    QStringLiteral("@Планы"),
    QStringLiteral("@Растры"),
    QStringLiteral("@Автосохранение"),
    QStringLiteral("@Цвет фона"),
    QStringLiteral("@Автозагрузка шрифтов"),
    QStringLiteral("@Файл номенклатур"),
    QStringLiteral("@Спрашивать о неизвестной рабочей семантике"),
    QStringLiteral("@Спрашивать о неизвестном условном знаке"),
    QStringLiteral("@Разрешение экрана"),
    QStringLiteral("@Глубина цвета плана"),
    QStringLiteral("@Глубина цвета растров"),
    QStringLiteral("@Цвет границ 500"),
    QStringLiteral("@Цвет границ 5000"),
    QStringLiteral("@Цвет номенклатуры планов"),
    QStringLiteral("@Цвет линии"),
    QStringLiteral("@Цвет основной сегмент"),
    QStringLiteral("@Цвет специальный1 сегмент"),
    QStringLiteral("@Цвет специальный2 сегмент"),
    QStringLiteral("@Цвет узлов"),
    QStringLiteral("@Область привязки"),
    QStringLiteral("@Область выбора"),
    QStringLiteral("@Цвет веделения объектов"),
    QStringLiteral("@Цвет веделения объектов2"),
    QStringLiteral("@Толщина линии выделения"),
    QStringLiteral("@Длина стрелок выделения"),
    QStringLiteral("@Угол стрелок выделения"),
    QStringLiteral("@Сдвиг подписи координат1"),
    QStringLiteral("@Сдвиг подписи координат2"),
    QStringLiteral("@Сдвиг подписи координат3"),
    QStringLiteral("@Сдвиг подписи координат4"),
    QStringLiteral("@Сдвиг подписи координат5"),
    QStringLiteral("@Сдвиг подписи координат6"),
    QStringLiteral("@Сдвиг подписи координат7"),
    QStringLiteral("@Сдвиг подписи координат8"),
    QStringLiteral("@Сдвиг подписи координат9"),
    QStringLiteral("@Сдвиг подписи координат10"),
    QStringLiteral("@Сдвиг подписи координат11"),
    QStringLiteral("@Сдвиг подписи координат12"),
    QStringLiteral("@Сдвиг подписи координат13"),
    QStringLiteral("@Сдвиг подписи координат14"),
    QStringLiteral("@Сдвиг подписи координат15"),
    QStringLiteral("@Сдвиг подписи координат16"),
    QStringLiteral("@Стиль подписей координат"),
    QStringLiteral("@Режим колеса мыши"),
    QStringLiteral("@Использовать синонимы"),
    QStringLiteral("@Использовать откат"),
    QStringLiteral("@Использовать третью координату в конвертере"),
    QStringLiteral("@Использовать третью координату для подписей в конвертере"),
};

class SetupFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMainWindowRun::TOptions options;
        options.CollectMessages = true;
        Run = std::make_unique<TMainWindowRun>(options);
        Run->Start();
        File = Run->Folder() + QStringLiteral("настройки-тест.wri");
    }

    TFormMap& Form() { return Run->Form(); }

    // Reads a file of lines into the window and the plan.
    bool ReadLines(const QStringList& lines)
    {
        WriteBytes(File, EncodeCodePage(JoinLinesCrLf(lines)));
        return ReadSetupFile(File, Form(), *MainMap);
    }

    std::unique_ptr<TMainWindowRun> Run;
    QString File;
};

}  // namespace

TEST_F(SetupFile, EveryKeyRoundTripsInOrder)
{
    TSeparatorScope comma(QLatin1Char(','));
    TFormMap& f = Form();
    TGeoMap& m = *MainMap;
    ASSERT_TRUE(m.Symbols);
    f.PlansFolder = QStringLiteral("/home/геодезист/планы");
    f.RastrsFolder = QStringLiteral("/home/геодезист/растры");
    f.TimerAutosave->SetInterval(600000);
    f.AutoSaveOn = 1;
    m.BackColor = 255;
    f.FontAutoload = 0;
    m.NomenclatureFileName = QStringLiteral("номенклатуры/город.wri");
    m.Symbols->AskUnknownWorkSem = 0;
    m.Symbols->AskUnknownSymbol = 0;
    m.ScreenDpi = 96.5L;
    m.PlanPixelFormat = 3;
    m.RastrPixelFormat = 6;
    m.FrameColor500 = 1;
    m.FrameColor5000 = 2;
    m.NomColor = 3;
    f.CreateLineColor = 4;
    f.CreatePolygonMainSegmColor = 5;
    f.CreatePolygonSpecial1SegmColor = 6;
    f.CreatePolygonSpecial2SegmColor = 7;
    m.NodeColor = 8;
    f.SnapRadius = 31;
    f.PickRadius = 7;
    m.HighlightColor1 = 9;
    m.HighlightColor2 = std::int32_t(0x80000005);   // a system colour: negative
    m.HighlightWidth = 3;
    f.SelectionArrowLength = 33;
    f.SelectionArrowAngle = 12.5L;
    for (int i = 0; i < 16; ++i)
        f.CoordLabelOffsets[i] = -2 + i * 0.25L;
    f.CoordLabelStyle = QStringLiteral(">МОЙ СТИЛЬ");
    f.WheelMode = 1;
    m.Symbols->UseSynonyms = 1;
    m.UndoOn = 0;
    m.UseHCAD = 1;
    m.UseHCADinText = 1;

    WriteSetupFile(File, f, m);
    const QByteArray bytes = FileBytes(File);
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList lines = DecodeCodePage(bytes).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 97);   // 48 pairs and the empty text after the last CR LF
    QStringList keys;
    for (int i = 0; i < 96; i += 2)
        keys << lines[i];
    EXPECT_EQ(keys, ExpectedKeys);
    EXPECT_EQ(keys, SetupKeys());
    const auto valueOf = [&lines](const QString& key) { return lines[lines.indexOf(key) + 1]; };
    EXPECT_EQ(valueOf(QStringLiteral("@Автосохранение")), QStringLiteral("10"));
    EXPECT_EQ(valueOf(QStringLiteral("@Цвет фона")), QStringLiteral("255"));
    EXPECT_EQ(valueOf(QStringLiteral("@Разрешение экрана")), QStringLiteral("96,50"));
    EXPECT_EQ(valueOf(QStringLiteral("@Угол стрелок выделения")), QStringLiteral("12,500"));
    EXPECT_EQ(valueOf(QStringLiteral("@Сдвиг подписи координат1")), QStringLiteral("-2,00"));
    EXPECT_EQ(valueOf(QStringLiteral("@Цвет веделения объектов2")), QStringLiteral("-2147483643"));

    f.SetDefaults();
    m.BackColor = clBtnFace;
    m.NomenclatureFileName.clear();
    m.Symbols->AskUnknownWorkSem = m.Symbols->AskUnknownSymbol = 1;
    m.Symbols->UseSynonyms = 0;
    m.ScreenDpi = 92.89L;
    m.PlanPixelFormat = 6;
    m.RastrPixelFormat = 4;
    m.FrameColor500 = m.FrameColor5000 = m.NomColor = m.NodeColor = 0;
    m.HighlightColor1 = m.HighlightColor2 = 0;
    m.HighlightWidth = 1;
    m.UseHCAD = m.UseHCADinText = 0;

    ASSERT_TRUE(ReadSetupFile(File, f, m));
    EXPECT_EQ(f.PlansFolder, QStringLiteral("/home/геодезист/планы"));
    EXPECT_EQ(f.RastrsFolder, QStringLiteral("/home/геодезист/растры"));
    EXPECT_EQ(f.AutoSaveOn, 1);
    EXPECT_EQ(f.TimerAutosave->Interval(), 600000);
    EXPECT_EQ(m.BackColor, 255);
    EXPECT_EQ(f.FontAutoload, 0);
    EXPECT_EQ(m.NomenclatureFileName, QStringLiteral("номенклатуры/город.wri"));
    EXPECT_EQ(m.Symbols->AskUnknownWorkSem, 0);
    EXPECT_EQ(m.Symbols->AskUnknownSymbol, 0);
    EXPECT_EQ(m.ScreenDpi, 96.5L);
    EXPECT_EQ(m.PlanPixelFormat, 3);
    EXPECT_EQ(m.RastrPixelFormat, 6);
    EXPECT_EQ(m.FrameColor500, 1);
    EXPECT_EQ(m.FrameColor5000, 2);
    EXPECT_EQ(m.NomColor, 3);
    EXPECT_EQ(f.CreateLineColor, 4);
    EXPECT_EQ(f.CreatePolygonMainSegmColor, 5);
    EXPECT_EQ(f.CreatePolygonSpecial1SegmColor, 6);
    EXPECT_EQ(f.CreatePolygonSpecial2SegmColor, 7);
    EXPECT_EQ(m.NodeColor, 8);
    EXPECT_EQ(f.SnapRadius, 31);
    EXPECT_EQ(f.PickRadius, 7);
    EXPECT_EQ(m.HighlightColor1, 9);
    EXPECT_EQ(m.HighlightColor2, std::int32_t(0x80000005));
    EXPECT_EQ(m.HighlightWidth, 3);
    EXPECT_EQ(f.SelectionArrowLength, 33);
    EXPECT_EQ(f.SelectionArrowAngle, 12.5L);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(f.CoordLabelOffsets[i], -2 + i * 0.25L) << i;
    EXPECT_EQ(f.CoordLabelStyle, QStringLiteral(">МОЙ СТИЛЬ"));
    EXPECT_EQ(f.WheelMode, 1);
    EXPECT_EQ(m.Symbols->UseSynonyms, 1);
    EXPECT_EQ(m.UndoOn, 0);
    EXPECT_EQ(m.UseHCAD, 1);
    EXPECT_EQ(m.UseHCADinText, 1);
    EXPECT_TRUE(Run->Messages.empty());
}

TEST_F(SetupFile, EveryWindowKeyOfTheKeyTableIsWritten)
{
    const QStringList keys = SetupKeys();
    for (const TSettingsKey& k : MapSettingsKeys())
        EXPECT_TRUE(keys.contains(QString::fromUtf8(k.Key))) << k.Key;
}

TEST_F(SetupFile, EmptyNomenclatureNameReadsBackAndLaterKeysStillRead)
{
    MainMap->NomenclatureFileName.clear();
    Form().WheelMode = 0;
    WriteSetupFile(File, Form(), *MainMap);
    MainMap->NomenclatureFileName = QStringLiteral("было");
    Form().WheelMode = 2;
    ASSERT_TRUE(ReadSetupFile(File, Form(), *MainMap));
    EXPECT_TRUE(MainMap->NomenclatureFileName.isEmpty());
    EXPECT_EQ(Form().WheelMode, 0);
}

TEST_F(SetupFile, ResolutionTakesEitherSeparator)
{
    for (const char* text : {"92,89", "92.89"}) {
        SCOPED_TRACE(text);
        for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
            TSeparatorScope scope(separator);
            MainMap->ScreenDpi = 0;
            ASSERT_TRUE(ReadLines({QStringLiteral("@Разрешение экрана"), QString::fromUtf8(text)}));
            EXPECT_EQ(MainMap->ScreenDpi, 92.89L);
        }
    }
}

TEST_F(SetupFile, ValueLinesApplyInTurnUnderTheirKey)
{
    Form().SnapRadius = 50;
    Form().PickRadius = 10;
    Form().PlansFolder = QStringLiteral("/было");
    ASSERT_TRUE(ReadLines({QStringLiteral("15"),   // before any key: nothing
                           QStringLiteral("@Область привязки"), QStringLiteral("20"),
                           QStringLiteral("30"),   // a later value wins
                           QStringLiteral("@Неизвестный ключ"), QStringLiteral("40"),
                           QStringLiteral("@Планы "), QStringLiteral("/стало"),
                           QStringLiteral("@Область выбора"), QStringLiteral("7")}));
    EXPECT_EQ(Form().SnapRadius, 30);
    EXPECT_EQ(Form().PickRadius, 7);
    EXPECT_EQ(Form().PlansFolder, QStringLiteral("/было")) << "a key with a trailing blank is unknown";
    EXPECT_TRUE(Run->Messages.empty());
}

TEST_F(SetupFile, BackgroundColourAndItsDefault)
{
    struct Case {
        QStringList Lines;
        std::int32_t Colour;
    };
    const Case cases[] = {
        {{QStringLiteral("@Цвет фона"), QStringLiteral("255")}, 255},
        {{QStringLiteral("@Цвет фона"), QStringLiteral("255"), QStringLiteral("@Цвет фона по умолчанию"),
          QStringLiteral("-")},
         clBtnFace},
        {{QStringLiteral("@Цвет фона по умолчанию"), QStringLiteral("что угодно")}, clBtnFace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Lines.join(QLatin1Char('|')).toStdString());
        MainMap->BackColor = 12345;
        ASSERT_TRUE(ReadLines(c.Lines));
        EXPECT_EQ(MainMap->BackColor, c.Colour);
        EXPECT_EQ(Form().BackGround->palette().color(QPalette::Window), TColorToQColor(c.Colour));
    }
    MainMap->BackColor = clBtnFace;
    const QStringList lines = SetupLines(Form(), *MainMap);
    EXPECT_EQ(lines[6], QStringLiteral("@Цвет фона по умолчанию"));
    EXPECT_EQ(lines[7], QStringLiteral("-"));
}

TEST_F(SetupFile, AutosaveOffKeepsTheInterval)
{
    struct Case {
        const char* Value;
        std::uint8_t On;
        int Interval;
        const char* Written;
    };
    const Case cases[] = {{"-1", 0, 300000, "-1"}, {"0", 0, 300000, "-1"}, {"7", 1, 420000, "7"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Value);
        Form().TimerAutosave->SetInterval(300000);
        Form().AutoSaveOn = 1;
        ASSERT_TRUE(ReadLines({QStringLiteral("@Автосохранение"), QString::fromUtf8(c.Value)}));
        EXPECT_EQ(Form().AutoSaveOn, c.On);
        EXPECT_EQ(Form().TimerAutosave->Interval(), c.Interval);
        EXPECT_EQ(SetupLines(Form(), *MainMap)[5], QString::fromUtf8(c.Written));
    }
}

TEST_F(SetupFile, BadValueIsReportedAndSkippedTheRestRead)
{
    Form().SnapRadius = 50;
    MainMap->ScreenDpi = 92.89L;
    ASSERT_TRUE(ReadLines({QStringLiteral("@Область привязки"), QStringLiteral("пять"),
                           QStringLiteral("@Разрешение экрана"), QStringLiteral("9,5,1"),
                           QStringLiteral("@Область выбора"), QString(),
                           QStringLiteral("@Режим колеса мыши"), QStringLiteral("1")}));
    EXPECT_EQ(Form().SnapRadius, 50);
    EXPECT_EQ(MainMap->ScreenDpi, 92.89L);
    EXPECT_EQ(Form().WheelMode, 1) << "reading goes on after a bad value";
    const std::vector<QString> expected = {
        QStringLiteral("Настройки: Неверное значение ключа @Область привязки: пять"),
        QStringLiteral("Настройки: Неверное значение ключа @Разрешение экрана: 9,5,1"),
        QStringLiteral("Настройки: Неверное значение ключа @Область выбора: ")};
    EXPECT_EQ(Run->Messages, expected);
}

// Guards a resolution of 0 leaving no plan drawn, a negative one drawing nothing, and
// 40,000 minutes of autosave overflowing the timer's milliseconds.
TEST_F(SetupFile, ValuesOutOfRangeKeepTheDefaultWithOneMessageEach)
{
    struct Case {
        const char* Key;
        const char* Value;
    };
    const Case cases[] = {
        {"@Разрешение экрана", "0"},          {"@Разрешение экрана", "-96"},
        {"@Разрешение экрана", "1e300"},      {"@Автосохранение", "40000"},
        {"@Глубина цвета плана", "4"},        {"@Глубина цвета плана", "7"},
        {"@Глубина цвета растров", "-1"},     {"@Область привязки", "-5"},
        {"@Область выбора", "100000"},        {"@Толщина линии выделения", "-1"},
        {"@Длина стрелок выделения", "-3"},   {"@Угол стрелок выделения", "720"},
        {"@Режим колеса мыши", "3"},          {"@Использовать откат", "2"},
        {"@Сдвиг подписи координат1", "1e12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key + std::string(" ") + c.Value);
        const QString key = QString::fromUtf8(c.Key);
        Run->Messages.clear();
        const QStringList before = SetupLines(Form(), *MainMap);
        ASSERT_TRUE(ReadLines({key, QString::fromUtf8(c.Value)}));
        EXPECT_EQ(SetupLines(Form(), *MainMap), before);
        const std::vector<QString> expected = {QStringLiteral("Настройки: Неверное значение ключа ") +
                                               key + QStringLiteral(": ") +
                                               QString::fromUtf8(c.Value)};
        EXPECT_EQ(Run->Messages, expected);
    }
    // The ends of the ranges are taken.
    ASSERT_TRUE(ReadLines({QStringLiteral("@Автосохранение"), QStringLiteral("1440"),
                           QStringLiteral("@Глубина цвета плана"), QStringLiteral("5"),
                           QStringLiteral("@Режим колеса мыши"), QStringLiteral("0")}));
    EXPECT_EQ(Form().TimerAutosave->Interval(), 1440 * 60000);
    EXPECT_EQ(MainMap->PlanPixelFormat, 5);
    EXPECT_EQ(Form().WheelMode, 0);
}

// Guards the values the exit could not write back, found by fuzzing the file: a text with a
// lone CR was taken, and at exit the whole settings file was refused, every setting of the
// session lost; an autosave interval past 35791 minutes overflowed the timer's milliseconds.
TEST_F(SetupFile, ValuesThatCannotBeWrittenBackAreRefused)
{
    struct Case {
        const char* Key;
        QString Value;
    };
    const Case cases[] = {
        {"@Стиль подписей координат", QStringLiteral(">НАДПИСИ\rЕЩЕ")},
        {"@Планы", QStringLiteral("/home/a\rb")},
        {"@Автосохранение", QStringLiteral("40000")},
        {"@Автосохранение", QStringLiteral("2147483647")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key);
        Run->Messages.clear();
        Form().CoordLabelStyle = QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)");
        Form().PlansFolder = QStringLiteral("/home");
        Form().TimerAutosave->SetInterval(300000);
        // Written as bytes: the writer refuses such a line.
        WriteBytes(File, EncodeCodePage(QString::fromUtf8(c.Key) + QStringLiteral("\r\n") + c.Value +
                                        QStringLiteral("\r\n")));
        ASSERT_TRUE(ReadSetupFile(File, Form(), *MainMap));
        ASSERT_EQ(Run->Messages.size(), 1u);
        EXPECT_TRUE(Run->Messages[0].startsWith(QStringLiteral("Настройки: Неверное значение ключа ") +
                                                QString::fromUtf8(c.Key)))
            << Run->Messages[0].toStdString();
        EXPECT_EQ(Form().CoordLabelStyle, QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)"));
        EXPECT_EQ(Form().PlansFolder, QStringLiteral("/home"));
        EXPECT_EQ(Form().TimerAutosave->Interval(), 300000);
        EXPECT_NO_THROW(WriteSetupFile(File, Form(), *MainMap));
    }
}

TEST_F(SetupFile, MissingFileChangesNothing)
{
    Form().SnapRadius = 44;
    EXPECT_FALSE(ReadSetupFile(Run->Folder() + QStringLiteral("нет такого.wri"), Form(), *MainMap));
    EXPECT_EQ(Form().SnapRadius, 44);
}

TEST_F(SetupFile, LastStampReadsAtMostEighteenLines)
{
    const QString file = Run->Folder() + QStringLiteral("штамп.wri");
    struct Case {
        int Lines;
        int Filled;   // entries taken from the file
    };
    for (const Case c : {Case{20, 18}, Case{3, 3}}) {
        SCOPED_TRACE(c.Lines);
        QStringList lines;
        for (int i = 0; i < c.Lines; ++i)
            lines << QStringLiteral("строка %1").arg(i);
        WriteBytes(file, EncodeCodePage(JoinLinesCrLf(lines)));
        std::array<QString, 18> stamp;
        stamp.fill(QStringLiteral("прежнее"));
        ASSERT_TRUE(ReadLastStampFile(file, stamp));
        for (int i = 0; i < 18; ++i)
            EXPECT_EQ(stamp[i], i < c.Filled ? lines[i] : QStringLiteral("прежнее")) << i;
    }
    std::array<QString, 18> stamp;
    stamp[0] = QStringLiteral("ООО «Геодезия»");
    stamp[17] = QStringLiteral("12.03.2024");
    WriteLastStampFile(file, stamp);
    const QByteArray bytes = FileBytes(file);
    EXPECT_EQ(bytes.count("\r\n"), 18);
    EXPECT_EQ(DecodeCodePage(bytes).split(QStringLiteral("\r\n")).mid(0, 18),
              QStringList(stamp.begin(), stamp.end()));
    EXPECT_FALSE(ReadLastStampFile(Run->Folder() + QStringLiteral("нет.wri"), stamp));
}

TEST(SetupAtStartAndExit, ReadWhenTheWindowIsMadeWrittenWhenItGoes)
{
    TMainWindowRun::TOptions options;
    options.Prepare = [](const QString& program) {
        const QString user = program + QStringLiteral("Пользователи/test-pc/tester/");
        WriteBytes(user + QStringLiteral("Настройки.wri"),
                   EncodeCodePage(JoinLinesCrLf({QStringLiteral("@Область привязки"),
                                                 QStringLiteral("77"),
                                                 QStringLiteral("@Режим колеса мыши"),
                                                 QStringLiteral("0")})));
        WriteBytes(user + QStringLiteral("Последний штамп.wri"),
                   EncodeCodePage(JoinLinesCrLf({QStringLiteral("ООО «Изыскатель»")})));
    };
    TMainWindowRun run(options);
    run.Start();
    EXPECT_EQ(run.Form().SnapRadius, 77);
    EXPECT_EQ(run.Form().WheelMode, 0);
    EXPECT_EQ(run.Form().LastStamp[0], QStringLiteral("ООО «Изыскатель»"));
    run.Form().PickRadius = 13;
    run.Form().LastStamp[1] = QStringLiteral("Директор");
    run.Finish();
    const QString user = run.Folder() + QStringLiteral("Пользователи/test-pc/tester/");
    const QStringList setup = DecodeCodePage(FileBytes(user + QStringLiteral("Настройки.wri")))
                                  .split(QStringLiteral("\r\n"));
    ASSERT_EQ(setup.size(), 97);
    EXPECT_EQ(setup[setup.indexOf(QStringLiteral("@Область привязки")) + 1], QStringLiteral("77"));
    EXPECT_EQ(setup[setup.indexOf(QStringLiteral("@Область выбора")) + 1], QStringLiteral("13"));
    const QStringList stamp = DecodeCodePage(FileBytes(user + QStringLiteral("Последний штамп.wri")))
                                  .split(QStringLiteral("\r\n"));
    ASSERT_EQ(stamp.size(), 19);
    EXPECT_EQ(stamp[0], QStringLiteral("ООО «Изыскатель»"));
    EXPECT_EQ(stamp[1], QStringLiteral("Директор"));
}
