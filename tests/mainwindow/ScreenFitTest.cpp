// Every window of the program opened on a laptop's screen (1366 × 768, a task bar taking
// its bottom 40 pixels) and on a full-HD one: each shows with its title bar and borders
// inside the work area and with every button in reach, either on the window itself or in
// the part that scrolls. With VELMORA_PNG_DIR set, each window's picture is saved there
// for a review by eye ("<screen>-<window class>-<entry>.png").
#include "SurfaceTestSupport.h"

#include "dialogs/find/InstallFindDialogs.h"
#include "dialogs/general/InputDialogs.h"
#include "dialogs/objects/FormObjectDest.h"
#include "dialogs/objects/ObjectWindows.h"
#include "dialogs/rasters/UnitRasterProp.h"
#include "dialogs/stamps/UnitStamp.h"
#include "editors/EditorDialogs.h"
#include "editors/classifier/SemSmallDialogs.h"
#include "editors/classifier/UnitSemDialog.h"
#include "editors/signs/SignPropBase.h"
#include "engine/GeoMap.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/DialogBase.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "mainwindow/PaletteWindows.h"
#include "mainwindow/file/FileDialogs.h"
#include "semantics/codec/SemDialogs.h"
#include "survey/SurveyDialogs.h"
#include "survey/construct/ConstructDialogs.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

struct RScreen {
    const char* Name;
    QRect Geometry;
    QRect WorkArea;
};

// Every window the inspector meets is looked at once: its frame against the work area,
// its buttons against the window and their parents. A modal window is then cancelled,
// as the user cancels it.
class TWindowInspector {
public:
    TWindowInspector(const RScreen& screen, QWidget* mainWindow) : Screen(screen), Main(mainWindow)
    {
        Timer.setInterval(20);
        QObject::connect(&Timer, &QTimer::timeout, [this] { Tick(); });
        Timer.start();
    }

    QString Entry;                            // the entry being run, for the faults
    QStringList Faults;
    std::map<QString, QString> Seen;          // window class → the entry that showed it
    int ShownNow = 0;                         // windows seen since the entry started

    void Tick()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != Main && w->isVisible() && !(w->windowType() == Qt::ToolTip) &&
                !(w->windowType() == Qt::Popup))
                Inspect(*w);
        if (QWidget* w = QApplication::activeModalWidget()) {
            Inspect(*w);
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
            else
                w->close();
        }
    }

private:
    void Inspect(QWidget& w)
    {
        // A window on the stack of its entry may take the address of the last one.
        for (const QPointer<QWidget>& looked : Looked)
            if (looked == &w)
                return;
        Looked.emplace_back(&w);
        ++ShownNow;
        const QString name = QString::fromUtf8(w.metaObject()->className());
        Seen.emplace(name, Entry);
        const QString where = Entry + QStringLiteral(" → ") + name;
        const QMargins frame = WindowFrame(w);
        // A maximised window is the window manager's to fit: what it cannot go below
        // must fit.
        const QSize size = w.isMaximized() ? w.minimumSizeHint().expandedTo(w.minimumSize()) : w.size();
        const QPoint at = w.isMaximized() ? Screen.WorkArea.topLeft() : w.pos();
        const QRect framed = QRect(at, size).adjusted(0, 0, frame.left() + frame.right(),
                                                      frame.top() + frame.bottom());
        if (!Screen.WorkArea.contains(framed))
            Faults << QStringLiteral("%1: the window %2,%3 %4×%5 passes the work area")
                          .arg(where)
                          .arg(framed.x())
                          .arg(framed.y())
                          .arg(framed.width())
                          .arg(framed.height());
        for (QAbstractButton* b : w.findChildren<QAbstractButton*>()) {
            // The buttons of a window it owns are that window's own.
            if (b->window() != &w || !b->isVisibleTo(&w) || b->size().isEmpty())
                continue;
            // A button is in reach when no parent up to the window cuts it; inside a
            // scrolled part, the part itself must lie in the window.
            QWidget* inner = b;
            for (QWidget* p = b->parentWidget(); p && p != &w; p = p->parentWidget())
                if (auto* scroll = qobject_cast<QAbstractScrollArea*>(p);
                    scroll && scroll->viewport()->isAncestorOf(b))
                    inner = scroll;
            for (QWidget* p = inner->parentWidget(); p; p = p->parentWidget()) {
                const QRect r(inner->mapTo(p, QPoint(0, 0)), inner->size());
                if (!p->rect().contains(r)) {
                    Faults << QStringLiteral("%1: the button \"%2\" (%3) is cut by %4")
                                  .arg(where, b->text(), b->objectName(),
                                       QString::fromUtf8(p->metaObject()->className()));
                    break;
                }
                if (p == &w)
                    break;
            }
        }
        // The title in a window manager's bold title font, with room for the icon and the
        // close box; a tool window's small title and a frameless window are left aside.
        if (!(w.windowFlags() & Qt::FramelessWindowHint) && w.windowType() != Qt::Tool) {
            QFont title(QStringLiteral("DejaVu Sans"));
            title.setPixelSize(13);
            title.setBold(true);
            if (QFontMetrics(title).horizontalAdvance(w.windowTitle()) + 80 > w.width())
                Faults << QStringLiteral("%1: the title \"%2\" is cut at %3 pixels")
                              .arg(where, w.windowTitle())
                              .arg(w.width());
        }
        const QString folder = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VELMORA_PNG_DIR"));
        if (!folder.isEmpty())
            SaveGrab(w, QString::fromUtf8(Screen.Name) + QLatin1Char('-') + name + QLatin1Char('-') +
                            QString(Entry).replace(QRegularExpression(QStringLiteral("[/ .…]+")),
                                                   QStringLiteral("_")));
    }

    RScreen Screen;
    QWidget* Main;                            // link, not owned: looked at by its own tests
    std::vector<QPointer<QWidget>> Looked;
    QTimer Timer;
};

// The program's real windows behind every hook for the span of a test, the system's own
// file and colour windows cancelled, the programs it would start left to the run's
// stand-ins.
class TRealWindows {
public:
    TRealWindows()
    {
        const TMapHooks standIns = MapHooks();
        InstallDialogWindows();
        InstallProgramDialogWindows();
        InstallObjectWindows();
        InstallObjectDestWindow();
        InstallFindDialogWindows();
        InstallStampDialogWindows();
        InstallSurveyWindows();
        InstallClassifierWindows();
        InstallSignDialogs();
        InstallRasterWindows();
        InstallPaletteWindows();
        MapHooks().StartDetached = standIns.StartDetached;
        MapHooks().ShowQExitDialog = standIns.ShowQExitDialog;
        MapHooks().SaveFileName = [](const QString&, const QString&, QString&) { return false; };
        MapHooks().Terminate = standIns.Terminate;
        MapHooks().MenuExec = standIns.MenuExec;
        MapHooks().Launch = standIns.Launch;
        MapHooks().ChooseColor = [](std::int32_t&) { return false; };
        FileDialogHooks().OpenFileName = [](const QString&, const QString&, QString&) { return false; };
        FileDialogHooks().OpenFileNames = [](const QString&, const QString&, QStringList&) { return false; };
        FileDialogHooks().SelectFolder = [](const QString&, QString&) { return false; };
    }
    ~TRealWindows()
    {
        FileDialogHooks() = SavedFiles;
        MapHooks() = SavedMap;
    }

private:
    TScopedDialogHooks Dialogs;
    TScopedProgramDialogHooks Program;
    TScopedSurveyDialogHooks Survey;
    TScopedEditorDialogHooks Editors;
    TScopedSemDialogHooks Sem;
    TMapHooks SavedMap = MapHooks();
    TFileDialogHooks SavedFiles = FileDialogHooks();
};

// A point, a line, a polygon with an inner contour, a text and a second sheet.
void SmallPlan(TFormMap& form)
{
    RunCommands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Дома>", "mcNewPage=<Лист 2>",
                 "mcNewPoint=<0><0><ТОЧ><100><200><2><0><><0><0>",
                 "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}][{250}{300}{0}{-1}{0}{-1}{1}{0}]"
                 "[{200}{400}{0}{-1}{0}{-1}{0}{1}]>",
                 "mcNewPolygon=<0><0><ЗДН><[{400}{400}{-1}{0}{0}{0}{0}][{400}{500}{-1}{0}{0}{0}{0}]"
                 "[{500}{500}{-1}{0}{0}{0}{0}][{500}{400}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>",
                 "mcNewText=<0><0><Река><50><450><450><1.5><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    ExactView(form);
}

struct REntry {
    const char* Name;
    std::function<void(const QString& folder)> Run;
};

// Every entry routine of a window, with arguments that open it on the small plan.
std::vector<REntry> Entries()
{
    static Extended x = 100, y = 200, z = 0, w = 0;
    static int i = 0, j = 0, k = 0, l = 0;
    static QString s, t;
    static std::uint8_t b1 = 0, b2 = 0, b3 = 0, b4 = 0;
    static std::int32_t i32 = 0;
    static TPixelDepth depth = 6;
    return {
        {"ShowMsgDialog", [](const QString&) { ShowMsgDialog(QStringLiteral("Сообщение"), QStringLiteral("Объект не найден")); }},
        {"ShowQDialog", [](const QString&) { ShowQDialog(QStringLiteral("Вопрос"), QStringLiteral("Сохранить изменения?")); }},
        {"InpStrDialog", [](const QString&) { InpStrDialog(s, QStringLiteral("Ввод"), QStringLiteral("Введите название")); }},
        {"InpStr2Dialog", [](const QString&) { QString m; InpStr2Dialog(m, s, QStringLiteral("Ввод"), QStringLiteral("Введите номер"), QStringLiteral("000")); }},
        {"SelStrDialog", [](const QString&) { QStringList list{QStringLiteral("Дома"), QStringLiteral("Дороги")}; SelStrDialog(list, i, j, QStringLiteral("Выбор"), QStringLiteral("Выберите слой")); }},
        {"SelStr2Dialog", [](const QString&) { QStringList list{QStringLiteral("Дома")}; SelStr2Dialog(list, i, j, QStringLiteral("Выбор"), QStringLiteral("Выберите слой"), s); }},
        {"InpScaleDialog", [](const QString&) { InpScaleDialog(i = 500, QStringLiteral("Масштаб"), QStringLiteral("Введите масштаб")); }},
        {"InpNomStr2000Dialog", [](const QString&) { InpNomStr2000Dialog(s, QStringLiteral("Номенклатура"), QStringLiteral("Введите номенклатуру")); }},
        {"InpPolarDialog", [](const QString&) { InpPolarDialog(0, 0, 100, 100, x, y); }},
        {"QDelObjectsDlg", [](const QString&) { QDelObjectsDlg({QStringLiteral("ТОЧ"), QStringLiteral("ЛЭП")}); }},
        {"DublicateItemDlg", [](const QString&) { s = QStringLiteral("Дома"); DublicateItemDlg(s, QStringLiteral("Слой"), QStringLiteral("Слой уже есть")); }},
        {"FirstStartDlg", [](const QString&) { FirstStartDlg(); }},
        {"MessageDlg", [](const QString&) { MessageDlg(QStringLiteral("Файл не найден"), mtWarning); }},
        {"InpIntDialog", [](const QString&) { InpIntDialog(i, QStringLiteral("Число"), QStringLiteral("Введите число")); }},
        {"InpFltDialog", [](const QString&) { InpFltDialog(x, QStringLiteral("Число"), QStringLiteral("Введите число")); }},
        {"InpCoordDialog", [](const QString&) { InpCoordDialog(QStringLiteral("Координаты"), x, y); }},
        {"InpOtmDialog", [](const QString&) { InpOtmDialog(z); }},
        {"Ask2WayDialog", [](const QString&) { Ask2WayDialog(QStringLiteral("Вопрос"), QStringLiteral("Куда?"), QStringLiteral("Сюда"), QStringLiteral("Туда")); }},
        {"Inp3IntDialog", [](const QString&) { Inp3IntDialog(i, x, y, QStringLiteral("Ввод"), QStringLiteral("Число"), QStringLiteral("Шаг"), QStringLiteral("Начало")); }},
        {"Inp2IntDialog", [](const QString&) { Inp2IntDialog(i, j, QStringLiteral("Ввод"), QStringLiteral("От"), QStringLiteral("До")); }},
        {"InpAngleDialog", [](const QString&) { InpAngleDialog(z, QStringLiteral("Угол")); }},
        {"ShowHotKeys", [](const QString&) { ShowHotKeys(); }},
        {"ShowAbout", [](const QString&) { ShowAbout(); }},
        {"SaveRastrDlg", [](const QString&) { SaveRastrDlg(i = 500, x = 300, depth, 0, 0, 500, 500); }},
        {"PrintScaleDlg", [](const QString&) { PrintScaleDlg(i = 500, depth, x = 1, y = 1); }},
        {"InpMaskStrDialog", [](const QString&) { InpMaskStrDialog(s, QStringLiteral("Номенклатура"), QStringLiteral("Введите номенклатуру")); }},
        {"InpNomStrDialog", [](const QString&) { InpNomStrDialog(s, QStringLiteral("Номенклатура"), QStringLiteral("Введите номенклатуру")); }},
        {"FindPlanCoordDlg", [](const QString&) { FindPlanCoordDlg(); }},
        {"FindPlanNomDlg", [](const QString&) { FindPlanNomDlg(); }},
        {"SelectPageDlg", [](const QString&) { SelectPageDlg(i = 0); }},
        {"RasterPropDlg", [](const QString&) { RasterPropDlg(0, 0); }},
        {"StampDlg", [](const QString&) { QStringList list; std::array<QString, 18> last; StampDlg(list, last); }},
        {"RamkaDlg", [](const QString&) { QStringList list; RamkaDlg(list); }},
        {"InpStampLinkDlg", [](const QString&) { InpStampLinkDlg(x, y, z, w); }},
        {"PointProp", [](const QString&) { i = 0, j = 0, k = 0; ProgramDialogHooks().PointProp(i, j, k, false); }},
        {"TextProp", [](const QString&) { i = 0, j = 0, k = 0; ProgramDialogHooks().TextProp(i, j, k, false); }},
        {"LineProp", [](const QString&) { i = 0, j = 0, k = 0; ProgramDialogHooks().LineProp(i, j, k, false); }},
        {"PolygonProp", [](const QString&) { i = 0, j = 0, k = 0; ProgramDialogHooks().PolygonProp(i, j, k, false); }},
        {"UserTextProp", [](const QString&) { ProgramDialogHooks().UserTextProp(x, y, i32, z, b1); }},
        {"ChangePageLayer", [](const QString&) { i = 0, j = 0, k = 0; ProgramDialogHooks().ChangePageLayer(1, i, j, k); }},
        {"OpenFilter", [](const QString&) { TOpenFilter filter; ProgramDialogHooks().OpenFilter(filter); }},
        {"DelObjects", [](const QString&) { TDelObjectsChoice choice; ProgramDialogHooks().DelObjects(choice); }},
        {"Transform", [](const QString&) { TTransformChoice choice; ProgramDialogHooks().Transform(choice); }},
        {"LineNodeProp", [](const QString&) { ProgramDialogHooks().LineNodeProp(2, x, y, b1, z, b2, i32, b3); }},
        {"PolygonNodeProp", [](const QString&) { ProgramDialogHooks().PolygonNodeProp(2, x, y, z, b1, b2, b3, b4); }},
        {"IntrPolygonProp", [](const QString&) {
             std::vector<RGPolygonNode> contour(3);
             contour[1].Position = GeoPoint(420, 420);
             contour[2].Position = GeoPoint(420, 440);
             ProgramDialogHooks().IntrPolygonProp(2, contour);
         }},
        {"IntrPolygonNodeProp", [](const QString&) { ProgramDialogHooks().IntrPolygonNodeProp(2, x, y, z, b1, b2); }},
        {"ObjectDest", [](const QString&) { ProgramDialogHooks().ObjectDest(0); }},
        {"SelectSetupDlg", [](const QString&) { MapHooks().SelectSetupDlg(); }},
        {"CreateCoordObjDlg", [](const QString&) { MapHooks().CreateCoordObjDlg(); }},
        {"OGZDialog", [](const QString&) { OGZDialog(x, y, 0, 0, 100, 100); }},
        {"NextDirAngleDlg", [](const QString&) { NextDirAngleDlg(); }},
        {"PGZDialog", [](const QString&) { PGZDialog(); }},
        {"TheodolitDlg", [](const QString&) { TheodolitDlg(); }},
        {"InputTaheoDlg", [](const QString&) { InputTaheoDlg(); }},
        {"InpOGZDialog", [](const QString&) { InpOGZDialog(x, y, z, w); }},
        {"QStripDialog", [](const QString&) { QStripDialog(i = 2, j, k, x = 5); }},
        {"Inp2LinesDialog", [](const QString&) { Inp2LinesDialog(x, y, 0, 0, 100, 100); }},
        {"InpSQRDialog", [](const QString&) { std::array<TGeoPoint, 4> corners; InpSQRDialog(corners, i = 0, 0, 0, 100, 100); }},
        {"InpCircleDialog", [](const QString&) { InpCircleDialog(x, y, z, i = 0, j = 6, 0, 0, 100, 100); }},
        {"SymbolManagerDlg", [](const QString&) { SymbolManagerDlg(500); }},
        {"EditSymbolDlg point", [](const QString& folder) { EditSymbolDlg(folder + QStringLiteral("Условные знаки/500/Точечные/КЛД-Ф001;Н001;М;С.wri"), 500, 0); }},
        {"EditSymbolDlg line", [](const QString& folder) { EditSymbolDlg(folder + QStringLiteral("Условные знаки/500/Линейные/БРД.wri"), 500, 1); }},
        {"EditSymbolDlg polygon", [](const QString& folder) { EditSymbolDlg(folder + QStringLiteral("Условные знаки/500/Площадные/ЗДН-Ф001;К012;Н003;М;С.wri"), 500, 2); }},
        {"ChangeSemDlg", [](const QString&) { ChangeSemDlg(); }},
        {"ChangeHinSemDlg", [](const QString&) { ChangeHinSemDlg(i = 1, j = 10, x = 1, s); }},
        {"NewWrkSemDlg", [](const QString&) { s = QStringLiteral("ЗДН"); NewWrkSemDlg(s, QStringLiteral("здание\r"), t, QStringLiteral("Новый объект")); }},
        {"SelectMSDlg", [](const QString&) { QStringList m, st; SelectMSDlg(m, st); }},
        {"SemDlg", [](const QString&) { s.clear(); if (TFormSemDialog* form = FormSemDialog()) form->Execute(0, i = 0, s); }},
        {"AddSymbolDlg", [](const QString&) { QString source, file; AddSymbolDlg(QStringLiteral("Не найден условный знак -добавление"), 0, QStringLiteral("ТОЧ"), QString(), QString(), 500, source, file); }},
    };
}

}  // namespace

// Guards the line and polygon windows (700 × 724 and 760 × 814) centred on the whole
// screen, which put "Готово" under the task bar of a 1366 × 768 screen, and every other
// window that passes the work area, cuts its buttons or its title.
TEST(ScreenFit, EveryWindowKeepsItsButtonsInsideTheWorkArea)
{
    const RScreen screens[] = {
        {"1366x768", QRect(0, 0, 1366, 768), QRect(0, 0, 1366, 728)},
        {"1920x1080", QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)},
    };
    for (const RScreen& screen : screens) {
        SCOPED_TRACE(screen.Name);
        SetTestScreen(screen.Geometry, screen.WorkArea);
        {
            TMainWindowRun::TOptions options;
            options.CollectMessages = true;
            TMainWindowRun run(options);
            run.Start();
            SmallPlan(run.Form());
            const TRealWindows real;
            TWindowInspector inspector(screen, &run.Form());
            QStringList silent;
            for (const REntry& entry : Entries()) {
                inspector.Entry = QString::fromUtf8(entry.Name);
                inspector.ShownNow = 0;
                try {
                    entry.Run(run.Folder());
                } catch (const std::exception& e) {
                    ADD_FAILURE() << entry.Name << " threw: " << e.what();
                }
                for (int n = 0; n < 5; ++n)
                    QCoreApplication::processEvents();
                inspector.Tick();
                if (inspector.ShownNow == 0)
                    silent << inspector.Entry;
            }
            EXPECT_TRUE(silent.isEmpty()) << "no window: " << silent.join(QStringLiteral(", ")).toStdString();
            // The windows of the menu bar's items, the program's exit aside.
            for (QAction* top : run.Form().menuBar()->actions()) {
                if (!top->menu()) {
                    inspector.Entry = top->text();
                    top->trigger();
                    for (int n = 0; n < 5; ++n)
                        QCoreApplication::processEvents();
                    inspector.Tick();
                    continue;
                }
                for (QAction* a : top->menu()->actions()) {
                    if (a->isSeparator() || a->menu() || a->text().contains(QStringLiteral("Выход")))
                        continue;
                    inspector.Entry = top->text() + QLatin1Char('/') + a->text();
                    a->trigger();
                    for (int n = 0; n < 5; ++n)
                        QCoreApplication::processEvents();
                    inspector.Tick();
                }
            }
            EXPECT_TRUE(inspector.Faults.isEmpty()) << inspector.Faults.join(QLatin1Char('\n')).toStdString();
            EXPECT_GT(inspector.Seen.size(), 60u);
            run.ExitAnswer = mrNo;
        }
        SetTestScreen(QRect(), QRect());
    }
}

