// The crash reporter: the report, the journal and the picture byte for byte or read back,
// the message as the user reads it, the trail cleared between reports, and a report that
// cannot be written told in the message instead of failing a second time.
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/GsCatcher.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "imaging/PictureReaders.h"
#include "platform/CodePage.h"
#include "support/ModalScript.h"
#include "support/TestRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPalette>
#include <QTimer>
#include <QEventLoop>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <linux/capability.h>
#include <new>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const QString Stars = QStringLiteral("****************************************************");
const QString Dashes = QStringLiteral("-----------------------------------------------------");

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString ReportText(const QString& path)
{
    return DecodeCodePage(FileBytes(path));
}

TDialogHooks RecordingBoxes(QStringList* boxes)
{
    TDialogHooks hooks;
    hooks.MessageDlg = [boxes](const QString& text, TMsgDlgType type) {
        EXPECT_EQ(type, mtError);
        boxes->append(text);
        return mrOk;
    };
    return hooks;
}

// Every value of the quantisation tables of a JPEG file, in file order.
std::vector<int> QuantisationValues(const QByteArray& jpeg)
{
    std::vector<int> values;
    const auto byte = [&jpeg](qsizetype at) {
        return at < jpeg.size() ? int(uchar(jpeg[at])) : 0;
    };
    for (qsizetype at = 2; at + 4 <= jpeg.size() && byte(at) == 0xFF && byte(at + 1) != 0xDA;
         at += 2 + (byte(at + 2) << 8 | byte(at + 3))) {
        if (byte(at + 1) != 0xDB)
            continue;
        const qsizetype end = at + 2 + (byte(at + 2) << 8 | byte(at + 3));
        for (qsizetype p = at + 4; p < end;) {
            const bool wide = byte(p++) >> 4;
            for (int i = 0; i < 64; ++i, p += wide ? 2 : 1)
                values.push_back(wide ? byte(p) << 8 | byte(p + 1) : byte(p));
        }
    }
    return values;
}

std::exception_ptr Failure(const QString& message)
{
    return std::make_exception_ptr(Exception(message));
}

// A folder made read-only for the life of the object, for whoever runs the test. Root
// writes into such a folder by its capabilities to override file modes; they are
// dropped from this thread's effective set meanwhile (staying permitted, so they come
// back), and the folder's mode then holds for root as for anyone.
class TReadOnlyFolder {
public:
    explicit TReadOnlyFolder(const QString& path) : Path(path)
    {
        Header.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &Header, Saved) == 0) {
            __user_cap_data_struct lowered[2] = {Saved[0], Saved[1]};
            lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
            Lowered = syscall(SYS_capset, &Header, lowered) == 0;
        }
        QFile::setPermissions(Path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~TReadOnlyFolder()
    {
        QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (Lowered)
            syscall(SYS_capset, &Header, Saved);
    }
    TReadOnlyFolder(const TReadOnlyFolder&) = delete;
    TReadOnlyFolder& operator=(const TReadOnlyFolder&) = delete;

private:
    QString Path;
    __user_cap_header_struct Header{};
    __user_cap_data_struct Saved[2]{};
    bool Lowered = false;
};

class CrashReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        Window.setObjectName(QStringLiteral("FormMap"));
        Window.resize(120, 80);
        QPalette palette = Window.palette();
        palette.setColor(QPalette::Window, WindowColour);
        Window.setPalette(palette);
        Window.setAutoFillBackground(true);
        Catcher.ActiveWindow = [this] { return &Window; };
    }

    // The base name of a report at the run's fixed clock.
    static QString Base(const QString& window = QStringLiteral("FormMap"))
    {
        return QFileInfo(QCoreApplication::applicationFilePath()).fileName() + QLatin1Char('_') +
               window + QStringLiteral("_05.03.2024_09.30.00");
    }
    static QString Errors() { return SessionFolder + QStringLiteral("/Errors/"); }
    static QString SavedTail(const QString& base, const QString& files)
    {
        return QStringLiteral("Отчет об ошибке сохранен в файлах:\r") + base +
               QStringLiteral("  (") + files + QStringLiteral(")\rв  каталоге: \r") + Errors() +
               QStringLiteral("  ");
    }

    static inline const QColor WindowColour{0x20, 0x80, 0xC0};
    TTestRun Run{{QStringLiteral("лицензия.rtf")}};
    QStringList Boxes;
    TScopedDialogHooks Hooks{RecordingBoxes(&Boxes)};
    QWidget Window;
    TgsCatcher Catcher;
};

}  // namespace

TEST_F(CrashReport, ReportJournalPictureAndMessageAsTheUserGetsThem)
{
    *ErrorInfo = QStringList{QStringLiteral("Module name: GeoServ"),
                             QStringLiteral("Function: fNormalAngle(a:extended):extended;"),
                             QStringLiteral("Argument a=1,5")};
    *CommandLog = QStringList{QStringLiteral("NewMap=<500><>"),
                              QStringLiteral("NewPoint=<0><0><ЗДН><1,00><2,00>")};
    const QStringList journal = *CommandLog;

    Catcher.HandleException(&Window, Failure(QStringLiteral("Деление на ноль")));

    const QString path = Errors() + Base();
    EXPECT_EQ(Catcher.ReportPath, path);
    const QString trail = QStringLiteral(
        "Module name: GeoServ\r\nFunction: fNormalAngle(a:extended):extended;\r\n"
        "Argument a=1,5\r\n");
    const QString report =
        QStringLiteral("******** This report is created by automated ********* \r\n"
                       "      Computer name is: [test-pc]\r\n"
                       "        User name is: [tester]\r\n"
                       "Application name is: [Free Velmorant 6]\r\n"
                       "Application ver is: [6.07.11.08]\r\n"
                       "Error is: [Деление на ноль]\r\n") +
        Dashes + QStringLiteral("\r\nErrorInfo: \r\n") + trail + QStringLiteral("\r\n") + Dashes +
        QStringLiteral("\r\n******************** End of report *******************\r\n");
    EXPECT_EQ(FileBytes(path + QStringLiteral(".txt")), EncodeCodePage(report));
    EXPECT_EQ(FileBytes(path + QStringLiteral(".Log")),
              EncodeCodePage(QStringLiteral("NewMap=<500><>\r\nNewPoint=<0><0><ЗДН><1,00><2,00>\r\n")));
    const QImage picture = ReadJpegPicture(path + QStringLiteral(".jpg"));
    EXPECT_EQ(picture.size(), QSize(120, 80));
    const QColor middle = picture.pixelColor(60, 40);
    const int away = std::abs(middle.red() - WindowColour.red()) +
                     std::abs(middle.green() - WindowColour.green()) +
                     std::abs(middle.blue() - WindowColour.blue());
    EXPECT_LE(away, 6) << middle.name().toStdString();   // the window's own pixels
    // Quality 100: every step of every quantisation table is 1.
    const std::vector<int> steps = QuantisationValues(FileBytes(path + QStringLiteral(".jpg")));
    EXPECT_FALSE(steps.empty());
    EXPECT_TRUE(std::all_of(steps.begin(), steps.end(), [](int step) { return step == 1; }));

    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_EQ(Boxes[0], QStringLiteral("Ошибка : Деление на ноль\r") + Stars +
                            QStringLiteral("\rИнформация :\r") + trail + Stars + QStringLiteral("\r") +
                            SavedTail(Base(), QStringLiteral("txt,jpg,log")));
    EXPECT_TRUE(ErrorInfo->isEmpty());
    EXPECT_EQ(*CommandLog, journal);
}

TEST_F(CrashReport, EmptyTrailIsSaidInTheFileAndTheMessage)
{
    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));

    // The note ends in a CR of its own, and the report's line end follows it.
    EXPECT_TRUE(ReportText(Errors() + Base() + QStringLiteral(".txt"))
                    .contains(QStringLiteral("ErrorInfo: \r\nErrorInfo is Empty\r\r\n") + Dashes));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].contains(QStringLiteral("Информация :\rErrorInfo is Empty\r") + Stars))
        << Boxes[0].toStdString();
    EXPECT_EQ(FileBytes(Errors() + Base() + QStringLiteral(".Log")), QByteArray());
}

TEST_F(CrashReport, WithoutActiveWindowTheReportSaysWhyThereIsNoPicture)
{
    Catcher.ActiveWindow = [] { return nullptr; };
    ErrorInfo->append(QStringLiteral("Module name: GeoMap"));

    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));

    const QString path = Errors() + Base(QStringLiteral("(Nil)"));
    EXPECT_TRUE(ReportText(path + QStringLiteral(".txt"))
                    .contains(QStringLiteral("ErrorInfo: \r\nModule name: GeoMap\r\n"
                                             "Невозможно создать ScreenShot - "
                                             "Screen.ActiveForm=nil\r\n\r\n")));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".jpg")));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_FALSE(Boxes[0].contains(QStringLiteral("ScreenShot")));
    // The message names only the files that are there.
    EXPECT_TRUE(Boxes[0].endsWith(SavedTail(Base(QStringLiteral("(Nil)")), QStringLiteral("txt,log"))))
        << Boxes[0].toStdString();
}

TEST_F(CrashReport, WithoutTrailOrJournalTheReportSaysSoAndWritesNoJournal)
{
    auto trail = std::move(ErrorInfo);
    auto journal = std::move(CommandLog);

    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));

    EXPECT_TRUE(ReportText(Errors() + Base() + QStringLiteral(".txt"))
                    .contains(QStringLiteral("ErrorInfo: \r\nErrorInfo not created\r\r\n")));
    EXPECT_FALSE(QFileInfo::exists(Errors() + Base() + QStringLiteral(".Log")));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith(SavedTail(Base(), QStringLiteral("txt,jpg"))));
    ErrorInfo = std::move(trail);
    CommandLog = std::move(journal);
}

// Two failures in the same second on the same window once gave one name, and the second
// report overwrote the first.
TEST_F(CrashReport, SecondFailureInTheSameSecondGetsAReportOfItsOwnWithOnlyItsTrail)
{
    ErrorInfo->append(QStringLiteral("первый"));
    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой 1")));
    EXPECT_TRUE(ErrorInfo->isEmpty());
    ErrorInfo->append(QStringLiteral("второй"));
    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой 2")));

    const QString first = Errors() + Base();
    const QString second = Errors() + Base() + QStringLiteral("_2");
    EXPECT_EQ(Catcher.ReportPath, second);
    for (const QString& path : {first, second}) {
        for (const char* extension : {".txt", ".jpg", ".Log"})
            EXPECT_TRUE(QFileInfo::exists(path + QLatin1String(extension))) << extension;
    }
    const QString firstText = ReportText(first + QStringLiteral(".txt"));
    const QString secondText = ReportText(second + QStringLiteral(".txt"));
    EXPECT_TRUE(firstText.contains(QStringLiteral("ErrorInfo: \r\nпервый\r\n\r\n")));
    EXPECT_TRUE(secondText.contains(QStringLiteral("Error is: [сбой 2]")));
    EXPECT_TRUE(secondText.contains(QStringLiteral("ErrorInfo: \r\nвторой\r\n\r\n")));
    EXPECT_FALSE(secondText.contains(QStringLiteral("первый")));
    ASSERT_EQ(Boxes.size(), 2);
    EXPECT_TRUE(Boxes[1].endsWith(SavedTail(Base() + QStringLiteral("_2"),
                                            QStringLiteral("txt,jpg,log"))));
}

TEST_F(CrashReport, ReportThatCannotBeSavedIsToldAndTheProgramGoesOn)
{
    // "Errors" taken by a file: the folder cannot be made, whoever runs the test.
    QFile blocker(SessionFolder + QStringLiteral("/Errors"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ErrorInfo->append(QStringLiteral("Module name: GeoMap"));

    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));

    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith(QStringLiteral("Отчет об ошибке не сохранен:\rНе удается создать папку ") +
                                  SessionFolder + QStringLiteral("/Errors")))
        << Boxes[0].toStdString();
    EXPECT_FALSE(Boxes[0].contains(QStringLiteral("сохранен в файлах")));
    EXPECT_TRUE(ErrorInfo->isEmpty());
}

// Before the run folders existed the report went to "/Errors" at the root of the disk.
TEST_F(CrashReport, FailureBeforeTheRunFolderExistsWritesNothing)
{
    const QString runFolder = std::exchange(SessionFolder, QString());
    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));
    SessionFolder = runFolder;

    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith(
        QStringLiteral("Отчет об ошибке не сохранен:\rПапка запуска программы еще не создана")))
        << Boxes[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/Errors")));
    EXPECT_FALSE(QFileInfo::exists(Errors()));
}

// A folder made read-only, where nothing of the report can go: the message says the
// report was not saved and why, the trail is cleared, and the next report, once the
// folder takes files again, is whole.
TEST_F(CrashReport, ReadOnlyRunFolderIsToldAndTheProgramGoesOn)
{
    struct Case {
        const char* Name;
        QString Locked;            // the folder made read-only
        QStringList Told;          // what the message must name after "не сохранен:"
    };
    const QString errors = SessionFolder + QStringLiteral("/Errors");
    const Case cases[] = {
        {"run folder", SessionFolder, {QStringLiteral("Не удается создать папку ") + errors}},
        {"Errors folder", errors,
         {Errors() + Base() + QStringLiteral(".jpg"), Errors() + Base() + QStringLiteral(".txt"),
          Errors() + Base() + QStringLiteral(".Log")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Boxes.clear();
        ASSERT_TRUE(QDir().mkpath(c.Locked));
        {
            TReadOnlyFolder locked(c.Locked);
            ASSERT_FALSE(QDir().mkdir(c.Locked + QStringLiteral("/probe")))
                << "the folder still takes new entries";
            ErrorInfo->append(QStringLiteral("Module name: GeoMap"));

            Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));

            ASSERT_EQ(Boxes.size(), 1);
            const qsizetype told =
                Boxes[0].indexOf(QStringLiteral("\rОтчет об ошибке не сохранен:\r"));
            ASSERT_GE(told, 0) << Boxes[0].toStdString();
            for (const QString& name : c.Told)
                EXPECT_GE(Boxes[0].indexOf(name, told), 0) << name.toStdString();
            EXPECT_FALSE(Boxes[0].contains(QStringLiteral("сохранен в файлах")));
            EXPECT_TRUE(ErrorInfo->isEmpty());
            EXPECT_TRUE(QDir(errors).isEmpty());
        }
        // Another failure: the same one again within seconds would only be counted.
        Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой после")));
        ASSERT_EQ(Boxes.size(), 2);
        EXPECT_TRUE(Boxes[1].endsWith(SavedTail(Base(), QStringLiteral("txt,jpg,log"))))
            << Boxes[1].toStdString();
        for (const char* extension : {".txt", ".jpg", ".Log"})
            ASSERT_TRUE(QFile::remove(Errors() + Base() + QLatin1String(extension))) << extension;
    }
}

TEST_F(CrashReport, FileThatCannotBeWrittenIsNamedBesideTheOnesSaved)
{
    // A folder where the picture should go makes that one file fail.
    ASSERT_TRUE(QDir().mkpath(Errors() + Base() + QStringLiteral(".jpg")));

    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));

    ASSERT_EQ(Boxes.size(), 1);
    const QString tail = SavedTail(Base(), QStringLiteral("txt,log")) +
                         QStringLiteral("\rНе удалось сохранить:\rРисунок JPEG \"") + Errors() +
                         Base() + QStringLiteral(".jpg\" не записан: ");
    EXPECT_TRUE(Boxes[0].contains(tail)) << Boxes[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(Errors() + Base() + QStringLiteral(".txt")));
}

TEST_F(CrashReport, TextCodePage1251LacksBecomesQuestionMark)
{
    ErrorInfo->append(QStringLiteral("путь ✓"));
    Catcher.HandleException(nullptr, Failure(QStringLiteral("Ошибка 中 €")));

    const QByteArray bytes = FileBytes(Errors() + Base() + QStringLiteral(".txt"));
    EXPECT_TRUE(bytes.contains(EncodeCodePage(QStringLiteral("Error is: [Ошибка ? €]\r\n"))));
    EXPECT_TRUE(bytes.contains(EncodeCodePage(QStringLiteral("путь ?\r\n"))));
}

TEST_F(CrashReport, FailingMessageBoxDoesNotEscapeTheHandler)
{
    TDialogHooks throwing;
    int shown = 0;
    throwing.MessageDlg = [&shown](const QString&, TMsgDlgType) -> TModalResult {
        ++shown;
        throw std::runtime_error("no window");
    };
    TScopedDialogHooks scoped(throwing);
    ErrorInfo->append(QStringLiteral("строка"));

    Catcher.HandleException(nullptr, Failure(QStringLiteral("сбой")));

    EXPECT_EQ(shown, 2);   // the report's box, then the short one
    EXPECT_TRUE(QFileInfo::exists(Errors() + Base() + QStringLiteral(".txt")));
    EXPECT_TRUE(ErrorInfo->isEmpty());
}

TEST_F(CrashReport, EnabledCatcherIsTheApplicationsOneHandler)
{
    HandleApplicationException(nullptr, Failure(QStringLiteral("без обработчика")));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_EQ(Boxes.last(), QStringLiteral("без обработчика"));

    Catcher.SetEnabled(true);
    EXPECT_TRUE(Catcher.Enabled());
    HandleApplicationException(nullptr, Failure(QStringLiteral("первый")));
    ASSERT_EQ(Boxes.size(), 2);
    EXPECT_TRUE(Boxes.last().startsWith(QStringLiteral("Ошибка : первый\r")));

    {
        TgsCatcher other;
        other.ActiveWindow = [] { return nullptr; };
        other.SetEnabled(true);
        Catcher.SetEnabled(false);   // no longer the installed one: removes nothing
        HandleApplicationException(nullptr, Failure(QStringLiteral("второй")));
        ASSERT_EQ(Boxes.size(), 3);
        EXPECT_EQ(other.ReportPath, Errors() + Base(QStringLiteral("(Nil)")));
    }
    // The one installed went with its catcher.
    HandleApplicationException(nullptr, Failure(QStringLiteral("третий")));
    ASSERT_EQ(Boxes.size(), 4);
    EXPECT_EQ(Boxes.last(), QStringLiteral("третий"));
}

TEST(CrashReportMessage, EveryExceptionIsToldByItsOwnText)
{
    struct Case {
        const char* Name;
        std::exception_ptr Thrown;
        QString Message;
    };
    const Case cases[] = {
        {"ours", std::make_exception_ptr(Exception(QStringLiteral("Слой не найден"))),
         QStringLiteral("Слой не найден")},
        {"picture", std::make_exception_ptr(EPictureError(QStringLiteral("Рисунок поврежден"))),
         QStringLiteral("Рисунок поврежден")},
        {"library", std::make_exception_ptr(std::bad_alloc()), QStringLiteral("std::bad_alloc")},
        {"library, UTF-8", std::make_exception_ptr(std::runtime_error("нет места")),
         QStringLiteral("нет места")},
        {"no text", std::make_exception_ptr(std::runtime_error("")),
         QStringLiteral("Неизвестная ошибка")},
        {"not an exception class", std::make_exception_ptr(42),
         QStringLiteral("Неизвестная ошибка")},
        {"none", std::exception_ptr(), QStringLiteral("Неизвестная ошибка")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(CaughtExceptionMessage(c.Thrown), c.Message);
    }
}

// The error box the report is shown in: every kind of line end starts a new line, the
// kind gives the caption and the icon, and the one button answers OK.
TEST(CrashReportBox, StandardBoxShowsTheLinesWithTheKindsCaption)
{
    TScopedDialogHooks scope;
    InstallDialogWindows();
    struct Case {
        TMsgDlgType Type;
        const char* Caption;
        QMessageBox::Icon Icon;
        TModalScript::TStep Act;
    };
    const Case cases[] = {{mtError, "Ошибка", QMessageBox::Critical, Enter},
                          {mtWarning, "Внимание", QMessageBox::Warning, Esc},
                          {mtInformation, "Информация", QMessageBox::Information, Enter}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Caption);
        TModalScript script;
        script.Then("QMessageBox", [&c](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QString::fromUtf8(c.Caption));
            EXPECT_EQ(box->icon(), c.Icon);
            EXPECT_EQ(box->text(), QStringLiteral("один\nдва\nтри\n\nчетыре"));
            c.Act(w);
        });
        EXPECT_EQ(MessageDlg(QStringLiteral("один\rдва\r\nтри\n\rчетыре"), c.Type), mrOk);
        EXPECT_TRUE(script.Done());
    }
}

// Guards the flood of report windows from a failure on every tick of a timer: one window
// and one report holding the count, and the program goes on.
TEST_F(CrashReport, AFailureRepeatingOnATimerIsReportedOnceWithItsCount)
{
    Catcher.SetEnabled(true);
    QTimer timer;
    timer.setInterval(0);
    int ticks = 0;
    QEventLoop loop;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // What the application's event filter does with a handler's exception.
        try {
            ErrorInfo->append(QStringLiteral("Module name: UnitMap"));
            throw Exception(QStringLiteral("Таймер: деление на ноль"));
        } catch (...) {
            HandleApplicationException(nullptr, std::current_exception());
        }
        if (++ticks == 40)
            loop.quit();
    });
    timer.start();
    loop.exec();
    timer.stop();

    ASSERT_EQ(Boxes.size(), 1);
    const QString text = ReportText(Errors() + Base() + QStringLiteral(".txt"));
    EXPECT_TRUE(text.contains(QStringLiteral("Error is: [Таймер: деление на ноль]\r\nTimes repeated: [40]\r\n")))
        << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Errors() + Base() + QStringLiteral("_2.txt")));
    EXPECT_TRUE(ErrorInfo->isEmpty());

    // Past the few seconds, or with another message, it is a failure of its own again.
    const QDateTime later = RunEnvironment.Now().addSecs(6);
    RunEnvironment.Now = [later] { return later; };
    HandleApplicationException(nullptr, Failure(QStringLiteral("Таймер: деление на ноль")));
    HandleApplicationException(nullptr, Failure(QStringLiteral("другой сбой")));
    EXPECT_EQ(Boxes.size(), 3);
}
