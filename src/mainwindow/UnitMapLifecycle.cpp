// The run of the main window: creation, the first show, the start timer, the work-time
// clock, resizing, the question about unsaved changes and the ordered shut-down.
#include "mainwindow/UnitMap.h"

#include "dialogs/settings/UnitSetup.h"
#include "editors/classifier/UnitSemDialog.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/StartMark.h"
#include "imaging/PictureRegistry.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/UnitMapSetup.h"
#include "mainwindow/VclTimer.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QProgressBar>
#include <QTimer>

namespace {

const QString RecentFileName = QStringLiteral("Последние файлы.wri");

QDateTime Now()
{
    return RunEnvironment.Now ? RunEnvironment.Now() : QDateTime::currentDateTime();
}

void RemoveFolderIfEmpty(const QString& path)
{
    if (path.isEmpty())
        return;
    QDir dir(path);
    if (dir.exists() && dir.isEmpty())
        QDir().rmdir(path);
}

}  // namespace

// The program file a further plan starts in.
QString ProgramFile()
{
    const QString own = QCoreApplication::applicationFilePath();
    const QString beside = ProgramFolder + QStringLiteral("velmora6");
    return QFileInfo::exists(beside) ? beside : own;
}

void TFormMap::RunStep(const char* what, const std::function<void()>& step)
{
    try {
        step();
    } catch (const std::exception& e) {
        ShowMsgDialog(QStringLiteral("Ошибка запуска"),
                      QString::fromUtf8(what) + QStringLiteral(": ") + ExceptionMessage(e));
    }
}

void TFormMap::FormCreate()
{
    RecentPlans.clear();
    IgnoreMouse = 1;
    InitAppGlobalVar();
    AppName = QStringLiteral("Free Velmorant 6");
    AppVersion = QStringLiteral("6.07.11.08");
    LogArguments = 1;
    const QDateTime now = Now();
    const QLocale locale;
    StartDateTimeText = locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" в ") +
                        locale.toString(now.time(), QLocale::LongFormat);
    DataFileName.clear();
    ShowStartNotice();

    PrepareSplash();
    FirstShowPending = 1;
    SplashProgress = 0;

    RunStep("Список последних планов", [this] {
        const QString recent = ResolvePath(UserFolder + QLatin1Char('/') + RecentFileName);
        if (!QFileInfo::exists(recent))
            return;
        RecentPlans = ReadTextFileLines(recent);
        RecentPlans.removeAll(QString());
        QAction* first = nullptr;
        for (int i = RecentPlans.size() - 1; i >= 0; --i) {
            const QFileInfo info(RecentPlans[i]);
            auto* item = new QAction(MenuText(info.fileName() + QStringLiteral(" [") +
                                              info.absolutePath() + QLatin1Char(']')),
                                     NHistory);
            item->setData(RecentPlans[i]);
            NHistory->insertAction(first, item);
            first = item;
        }
    });
    SplashStep();

    MainMapOwned = std::make_unique<TGeoMap>();
    MainMap = MainMapOwned.get();
    MainMap->Services = this;
    MainMap->NomenclatureFileName.clear();
    SplashStep();

    RunStep("Настройки по умолчанию", [this] { SetDefaults(); });
    RunStep("Настройки", [] { readsetup(); });
    RunStep("Последний штамп", [] { readLastStamp(); });
    SplashStep();

    RunStep("Номенклатура планшетов", [this] {
        const QString pointer = ProgramFolderPath(QStringLiteral("номенклатуры/по умолчанию.wri"));
        if (MainMap->NomenclatureFileName.isEmpty() && QFileInfo::exists(pointer)) {
            const QStringList lines = ReadTextFileLines(pointer);
            if (lines.size() == 1) {
                QString name = lines.first();
                name.replace(QLatin1Char('\\'), QLatin1Char('/'));
                if (name.startsWith(QLatin1Char('/')))
                    name.remove(0, 1);
                MainMap->NomenclatureFileName =
                    ProgramFolderPath(QStringLiteral("номенклатуры/") + name);
            }
        }
        const QString file = MainMap->NomenclatureFileName;
        if (file.isEmpty())
            return;
        if (QFileInfo::exists(file)) {
            MainMap->LoadNomenclatures(file);
        } else {
            const QString fallback = ProgramFolderPath(QStringLiteral("номенклатуры/500/") +
                                                       QFileInfo(file).fileName());
            if (QFileInfo::exists(fallback))
                MainMap->LoadNomenclatures(fallback);
        }
    });
    SplashStep();

    RunStep("Шрифты", [this] {
        if (FontAutoload != 1)
            return;
        AutoloadFonts = std::make_unique<QStringList>();
        const QString list = ProgramFolderPath(QStringLiteral("Шрифты/Автозагрузка.wri"));
        if (!QFileInfo::exists(list))
            return;
        *AutoloadFonts = ReadTextFileLines(list, true);
        for (const QString& line : *AutoloadFonts) {
            if (line.trimmed().isEmpty())
                continue;
            const int id = QFontDatabase::addApplicationFont(
                ProgramFolderPath(QStringLiteral("Шрифты/") + line.trimmed()));
            if (id >= 0)
                AutoloadFontIds.push_back(id);
        }
    });
    SplashStep();

    UpdateCaption();
    MainMap->ShowPlansBorders = 1;
    MainMap->ShowPlanNom = 1;
    MainMap->ShowCoordCross = 1;
    MainMap->ShowSymbols = 1;
    MainMap->ShowRastrs = 1;
    MainMap->ShowNodes = 0;
    // The classifier window lives for the run, owned by nobody; a classifier file that
    // fails to load is reported and the window keeps what did load.
    RunStep("Классификатор", [] { CreateFormSemDialog(); });
    if (TFormSemDialog* classifier = FormSemDialog())
        classifier->SetSymbols(MainMap->Symbols.get());

    LoadCursors();
    SplashStep();
    // Centred on the screen at a size of its own, then maximised: a desktop without a
    // window manager (a bare X server) leaves the window at that size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QRect normal(QPoint(), area.size() * 4 / 5);
        normal.moveCenter(area.center());
        setGeometry(normal);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    SplashStep();

    if (!SplashPicture.isNull()) {
        QPainter painter(&SplashPicture);
        painter.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
        painter.setPen(QColor(0xF0, 0xFB, 0xFF));
        painter.drawText(QPoint(10, 170 + painter.fontMetrics().ascent()),
                         QStringLiteral("Загрузка настроек...Готово"));
        StartMark1->SetPicture(SplashPicture);
        if (TMark* mark = StartMark1->Mark())
            mark->Logo->SetPicture(SplashPicture);
    }
    TimerCloseStart->SetEnabled(true);
    PlanOpenDialogFilter = FileFormatList().BuildGraphicFilter(
        0, fstBoth, foCompact | foIncludeAll | foIncludeExtension);
    ScatterInPlan = 0;
    ScatterInHeight = 0;
    StartMark1->SetPicture(SplashClean);
}

void TFormMap::PrepareSplash()
{
    // Our own start picture: a plan sheet's corner with contour lines.
    SplashPicture = QImage(450, 210, QImage::Format_RGB32);
    SplashPicture.fill(QColor(0x1E, 0x3A, 0x5F));
    QPainter painter(&SplashPicture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x5B, 0x8C, 0xB8), 1.2));
    for (int i = 0; i < 7; ++i)
        painter.drawEllipse(QPointF(330, 150), 40.0 + i * 22, 24.0 + i * 14);
    painter.setPen(QColor(0xF0, 0xFB, 0xFF));
    painter.setFont(QFont(QStringLiteral("Liberation Serif"), 26, QFont::Bold));
    painter.drawText(QRect(10, 80, 430, 50), Qt::AlignLeft | Qt::AlignVCenter, AppName);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont small(QStringLiteral("Liberation Sans"), 10);
    painter.setFont(small);
    const int ascent = painter.fontMetrics().ascent();
    auto text = [&](QPoint at, const QString& s, const QColor& ink, const QColor* brush) {
        const QRect box = painter.fontMetrics().boundingRect(s).translated(at + QPoint(0, ascent));
        if (brush)
            painter.fillRect(box.adjusted(-1, 0, 1, 0), *brush);
        painter.setPen(ink);
        painter.drawText(at + QPoint(0, ascent), s);
    };
    const QColor white(Qt::white);
    const QColor paper(0xF0, 0xFB, 0xFF);   // $FFFBF0
    const QColor navy(0x00, 0x00, 0x80);    // $800000
    text({310, 5}, QStringLiteral("Comp: ") + ComputerName, Qt::black, &white);
    text({310, 20}, QStringLiteral("User: ") + UserName, Qt::black, &white);
    if (NewUser) {
        QFont bold(QStringLiteral("Liberation Sans"), 12, QFont::Bold);
        bold.setUnderline(true);
        painter.setFont(bold);
        text({10, 40}, QStringLiteral("Новый пользователь "), paper, &navy);
        painter.setFont(small);
    }
    text({10, 5}, QStringLiteral("ver: ") + AppVersion, paper, nullptr);
    painter.end();
    SplashClean = SplashPicture.copy();
    QPainter loading(&SplashPicture);
    loading.setFont(small);
    loading.setPen(paper);
    loading.drawText(QPoint(10, 170 + ascent), QStringLiteral("Загрузка настроек..."));
    loading.end();
    StartMark1->SetPicture(SplashPicture);
    StartMark1->ShowTime = 1;
    StartMark1->SetActive(true);
}

void TFormMap::SplashStep()
{
    // Seven steps, painted as a bar at (10, 190) of the splash.
    ++SplashProgress;
    if (SplashPicture.isNull())
        return;
    QPainter painter(&SplashPicture);
    const QRect bar(10, 190, 200, 8);
    painter.fillRect(bar, QColor(0x10, 0x20, 0x38));
    painter.fillRect(QRect(bar.topLeft(), QSize(bar.width() * std::min(SplashProgress, 7) / 7, 8)),
                     QColor(0x5B, 0xC0, 0x7B));
    painter.end();
    if (TMark* mark = StartMark1->Mark())
        mark->Logo->SetPicture(SplashPicture);
}

void TFormMap::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    // The first show runs once the window is up and the event loop has it.
    if (FirstShowPending == 1)
        QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TFormMap::FormShow()
{
    if (FirstShowPending != 1)
        return;
    FirstShowPending = 0;
    if (NewUser) {
        if (FirstStartDlg() != mrOk) {
            // The run ends once start-up returns to the event loop; the steps below run.
            TerminateRequested = true;
            if (MapHooks().Terminate)
                MapHooks().Terminate();
            else
                QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        RunStep("Ярлык на рабочем столе", [] { CreateDesktopShortcut(); });
        RunStep("Ассоциации файлов планов", [] { RegisterPlanExtensions(); });
        RunStep("Номенклатура планшетов", [] {
            if (QFileInfo::exists(MainMap->NomenclatureFileName))
                MainMap->LoadNomenclatures(MainMap->NomenclatureFileName);
        });
        CreateToolPalette();
    }
    // From here on the main window ends the run when it closes.
    QGuiApplication::setQuitOnLastWindowClosed(true);
    IgnoreMouse = 0;
    RunStep("Новый план", [this] {
        MainMap->DoCommand(mcNewMap, TCommandParams().Int(500).Text(QString()));
        DataFileName.clear();
        UpdateCaption();
        const QSize size = SurfaceSize();
        MainMap->Draw(size.width(), size.height(), 0, ddScreen);
    });
    DocStartTime = Now().toString(QStringLiteral("hh.mm.ss"));
    QDir().mkpath(SessionFolder + QLatin1Char('/') + DocStartTime + QStringLiteral(" без имени"));
    UndoStep = 0;
    KeepStartSnapshot(QString());

    if (!Arguments.isEmpty()) {
        MainMap->OpenFilter = TOpenFilter();
        LoadFile(Arguments.first());
        for (int i = 1; i < Arguments.size(); ++i)
            StartProgramDetached(ProgramFile(), {Arguments[i]}, ProgramFolder);
    }
}

void TFormMap::TimerCloseStartTimer()
{
    TimerCloseStart->SetEnabled(false);
    FadeInMainWindow();
    if (!NewUser)
        CreateToolPalette();
    ShowObjectDestination();
}

void TFormMap::FadeInMainWindow()
{
    if (IsHeadless())
        return StartMark1->CloseMark();
    for (int i = 1; i <= 50; ++i)
        setWindowOpacity(10.0 * (i / 2) / 255);
    setWindowOpacity(1.0);
    StartMark1->CloseMark();
}

void TFormMap::FadeInToolPalette()
{
    if (!FormInstr1 || IsHeadless())
        return;
    for (int i = 1; i <= 22; ++i) {
        FormInstr1->setWindowOpacity(10.0 * i / 255);
        Delay(10);
    }
    FormInstr1->setWindowOpacity(220.0 / 255);
}

void TFormMap::Delay(int ms)
{
    if (ms <= 0)
        return;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, ms - int(clock.elapsed()));
}

void TFormMap::TimerWorkTimeTimer()
{
    bool changed = false;
    if (++WorkSeconds >= 60) {
        WorkSeconds = 0;
        ++WorkMinutes;
        changed = true;
        if (WorkMinutes >= 60) {
            WorkMinutes = 0;
            ++WorkHours;
        }
    }
    if (!changed)
        return;
    auto two = [](int v) { return (v <= 9 ? QStringLiteral("0") : QString()) + QString::number(v); };
    Clock->setText(two(WorkHours) + QLatin1Char(':') + two(WorkMinutes));
}

void TFormMap::ClockClick()
{
    // The fifth letter is a Latin c, as the program always wrote it.
    ShowMsgDialog(QStringLiteral("Запуcк ") + StartDateTimeText, QString());
}

void TFormMap::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TFormMap::FormResize()
{
    if (!MainMap || MainMap->DrawBusy || FirstShowPending == 1 || MainMap->MapProp.Scale <= 0)
        return;
    const QSize size = SurfaceSize();
    RunStep("Перерисовка", [&] {
        MainMap->Draw(size.width(), size.height(), 4, ddScreen);
    });
}

QString TFormMap::ExitQuestionText() const
{
    const QChar cr(u'\r');
    const QFileInfo file(DataFileName);
    return QStringLiteral("Файл данных был изменен, но изменения не сохранены на диске!") + cr +
           QStringLiteral("Имя файла:") +
           (DataFileName.isEmpty() ? QStringLiteral("не задано") : file.fileName()) + cr +
           QStringLiteral("Путь файла:") +
           (DataFileName.isEmpty() ? QStringLiteral("не определен") : file.absolutePath()) + cr +
           QStringLiteral("Количество несохраненных команд:") + QString::number(Unsaved.Count()) +
           cr + QStringLiteral(" нажмите 'Да' чтобы сохранить.");
}

bool TFormMap::FormCloseQuery()
{
    // The window's own count decides: the journal empties at every undo.
    if (!MainMap || Unsaved.Count() <= 0 || SessionEnding)
        return true;
    const int answer =
        ShowQExitDialog(QStringLiteral("Внимание, несохраненные данные!"), ExitQuestionText());
    if (answer == mrNo)
        return true;
    if (answer != mrYes)
        return false;   // Esc and the close box keep the window and the work
    return DataFileState == 0 || DataFileName.isEmpty() ? SaveAs() : SavePlan(DataFileName);
}

void TFormMap::SessionEnd()
{
    // Nobody may be there to answer a question. The files are written at once, not when
    // the event loop gives the window up: the session manager may end the process first.
    // A run folder that holds the undo snapshots stays for the next start's restore.
    SessionEnding = true;
    IgnoreMouse = 1;
    close();
    FormDestroy();
    if (MapHooks().Terminate)
        MapHooks().Terminate();
    else
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void TFormMap::closeEvent(QCloseEvent* e)
{
    if (FormCloseQuery())
        e->accept();
    else
        e->ignore();
}

void TFormMap::FormDestroy()
{
    if (Destroyed)
        return;
    Destroyed = true;
    if (FormInstr1)
        FormInstr1->hide();
    RunStep("Настройки", [] { writesetup(); });
    RunStep("Последний штамп", [] { WriteLastStamp(); });
    RunStep("Список последних планов", [this] {
        if (!UserFolder.isEmpty() && QFileInfo(UserFolder).isDir())
            WriteTextFileLines(UserFolder + QLatin1Char('/') + RecentFileName, RecentPlans);
    });
    if (MainMap)
        RunStep("Список отсутствующих знаков", [] { MainMap->SaveUnknownSymbols(); });
    RemoveFolderIfEmpty(SessionFolder);
    if (!SessionFolder.isEmpty())
        RemoveFolderIfEmpty(QFileInfo(SessionFolder).absolutePath());
    if (FontAutoload == 1 && AutoloadFonts) {
        for (int id : AutoloadFontIds)
            QFontDatabase::removeApplicationFont(id);
        AutoloadFontIds.clear();
        AutoloadFonts.reset();
    }
    RunStep("Классификатор", [] { FreeFormSemDialog(); });
    if (MainMap == MainMapOwned.get())
        MainMap = nullptr;
    MainMapOwned.reset();
    FreeAppGlobalVar();
}

void TFormMap::ReopenAsChange(const QString& fileName)
{
    Unsaved.Reopening = true;
    try {
        MainMap->DoCommand(mcOpenMap, TCommandParams().Text(fileName).Text(QStringLiteral("New")));
    } catch (...) {
        Unsaved.Reopening = false;
        throw;
    }
    Unsaved.Reopening = false;
    Unsaved.Reopened();
}
