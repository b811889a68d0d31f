// Every item of the menu bar, of the twelve pop-ups of the drawing surface and of the
// button panel run once on a small plan, each in a fresh window: windows the item opens
// are answered with a cancel, programs it starts go to the fixture's stand-ins. Nothing
// may throw, crash or hang, and the plan's native text may change only under the items
// whose work is to change it.
#include "SurfaceTestSupport.h"

#include "mainwindow/file/FileDialogs.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

const char* const PopupNames[] = {"PMCreatePolygon", "PMCreateLine", "PMRastr",        "PMPoint",
                                  "PMLine",          "PMPolygon",    "PMText",         "PMLineNode",
                                  "PMLineText",      "PMPolygonNode", "PMPolygonSegm", "PMPolygonText"};

struct RItemRef {
    QString Path;                        // where the user finds it, for the messages
    QString Popup;                       // the pop-up it belongs to, or empty
    std::function<void()> Run;
};

void CollectMenu(QMenu& menu, const QString& path, const QString& popup, std::vector<RItemRef>& out)
{
    for (QAction* a : menu.actions()) {
        if (a->isSeparator())
            continue;
        const QString here = path + QLatin1Char('/') + a->text();
        if (a->menu()) {
            CollectMenu(*a->menu(), here, popup, out);
            continue;
        }
        out.push_back({here, popup, [a] { a->trigger(); }});
    }
}

// The items of a window in one fixed order, so that the same index finds the same item
// in the next window.
std::vector<RItemRef> AllItems(TFormMap& form)
{
    std::vector<RItemRef> out;
    for (QAction* a : form.menuBar()->actions()) {
        if (a->menu())
            CollectMenu(*a->menu(), a->text(), QString(), out);
        else
            out.push_back({a->text(), QString(), [a] { a->trigger(); }});
    }
    for (const char* name : PopupNames)
        if (auto* menu = form.findChild<QMenu*>(QLatin1String(name)))
            CollectMenu(*menu, QLatin1String(name), QLatin1String(name), out);
    QStringList hints = form.PanelButtons.keys();
    hints.sort();
    for (const QString& hint : hints) {
        QToolButton* b = form.PanelButtons.value(hint);
        out.push_back({QStringLiteral("панель/") + hint, QString(), [b] { b->click(); }});
    }
    return out;
}

// The items whose work is to change the plan, by where the user finds them.
const std::set<QString>& MayChangeThePlan()
{
    static const std::set<QString> items = {
        QStringLiteral("PMPoint/Удалить объект"),
        QStringLiteral("PMPoint/Превратить пикет в отметку"),
        QStringLiteral("PMLine/Инвертировать линию"),
        QStringLiteral("PMLine/Замкнуть линию"),
        QStringLiteral("PMLine/Разрезать линию"),
        QStringLiteral("PMLine/Добавить узел/В линию сегмента"),
        QStringLiteral("PMLine/Добавить узел/В середине сегмента"),
        QStringLiteral("PMLine/Установить кривую для всех сегментов"),
        QStringLiteral("PMLine/Установить ломаную прямую для всех сегментов"),
        QStringLiteral("PMLine/Удалить объект"),
        QStringLiteral("PMPolygon/Установить свойства сегментов по умолчанию"),
        QStringLiteral("PMPolygon/Инвертировать полигон"),
        QStringLiteral("PMPolygon/Показать все сегмены"),
        QStringLiteral("PMPolygon/Скрыть все сегменты"),
        QStringLiteral("PMPolygon/Удалить объект"),
        QStringLiteral("PMText/Удалить надпись"),
        QStringLiteral("PMLineNode/Удалить узел"),
        QStringLiteral("PMLineText/Показать автотекст"),
        QStringLiteral("PMLineText/Скрыть автотекст"),
        QStringLiteral("PMLineText/По умолчанию"),
        QStringLiteral("PMPolygonNode/Линию к узлу показать"),
        QStringLiteral("PMPolygonNode/Линию к узлу скрыть"),
        QStringLiteral("PMPolygonNode/Рисунок в узле показать"),
        QStringLiteral("PMPolygonNode/Рисунок в узле скрыть"),
        QStringLiteral("PMPolygonNode/Удалить узел"),
        QStringLiteral("PMPolygonSegm/Основной сегмент"),
        QStringLiteral("PMPolygonSegm/Специальный сегмент тип I"),
        QStringLiteral("PMPolygonSegm/Специальный сегмент тип II"),
        QStringLiteral("PMPolygonSegm/Видимый сегмент"),
        QStringLiteral("PMPolygonSegm/Скытый сегмент"),
        QStringLiteral("PMPolygonSegm/Добавить узел/В линию сегмента"),
        QStringLiteral("PMPolygonSegm/Добавить узел/В середине сегмента"),
        QStringLiteral("PMPolygonText/Показать автотекст"),
        QStringLiteral("PMPolygonText/Скрыть автотекст"),
        QStringLiteral("PMPolygonText/автотекст по умолчанию"),
        QStringLiteral("панель/Штамп"),      // the stamp goes onto the plan
        QStringLiteral("панель/отменить"),   // the plan's commands undone
    };
    return items;
}

// Any modal window or menu left open is answered with a cancel, and its class recorded.
class TCancelEverything {
public:
    TCancelEverything()
    {
        Timer.setInterval(20);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                Seen << QString::fromUtf8(popup->metaObject()->className());
                popup->close();
            }
            if (QWidget* w = QApplication::activeModalWidget()) {
                Seen << QString::fromUtf8(w->metaObject()->className());
                if (auto* d = qobject_cast<QDialog*>(w))
                    d->reject();
                else
                    w->close();
            }
        });
        Timer.start();
    }
    QStringList Seen;

private:
    QTimer Timer;
};

// A point, a line, a polygon and a text in sheet 0, layer 0, drawn one metre a pixel.
void SmallPlan(TFormMap& form)
{
    RunCommands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Дома>",
                 "mcNewPoint=<0><0><ТОЧ><100><200><2><0><><0><0>",
                 "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}][{250}{300}{0}{-1}{0}{-1}{1}{0}]"
                 "[{200}{400}{0}{-1}{0}{-1}{0}{1}]>",
                 "mcNewPolygon=<0><0><ЗДН><[{400}{400}{-1}{0}{0}{0}{0}][{400}{500}{-1}{0}{0}{0}{0}]"
                 "[{500}{500}{-1}{0}{0}{0}{0}][{500}{400}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>",
                 "mcNewText=<0><0><Река><50><450><450><1.5><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    ExactView(form);
}

// The object a pop-up acts on chosen with a click, the pointer then left over the part
// the pop-up is for: a node, a segment or the inside.
void ChooseFor(TFormMap& form, const QString& popup)
{
    struct RAt {
        const char* Popup;
        Extended X, Y;             // the click that chooses
        Extended OverX, OverY;     // where the pointer rests
    };
    static const RAt at[] = {
        {"PMPoint", 100, 200, 100, 200},       {"PMLine", 200, 200, 225, 250},
        {"PMLineNode", 200, 200, 250, 300},    {"PMLineText", 200, 200, 225, 250},
        {"PMPolygon", 400, 400, 450, 450},     {"PMPolygonNode", 400, 400, 500, 500},
        {"PMPolygonSegm", 400, 400, 400, 450}, {"PMPolygonText", 400, 400, 450, 450},
        {"PMText", 50, 450, 50, 450},
    };
    form.SetMouseMode(mmSelectObject, 0, true);
    form.btClearSelectedClick();
    const TSurfaceDriver mouse(form);
    const TPixelMouse pixel{form};
    for (const RAt& a : at)
        if (popup == QLatin1String(a.Popup)) {
            pixel.Click(mouse.At(a.X, a.Y));
            pixel.Move(mouse.At(a.OverX, a.OverY));
        }
}

QByteArray PlanText(const QString& file)
{
    MainMap->WriteDataToFile(file);
    return FileBytes(file);
}

}  // namespace

TEST(EveryItem, RunOnceOnASmallPlanChangesThePlanOnlyWhereItIsMeantTo)
{
    size_t count = 0;
    {
        TMainWindowRun probe;
        probe.Start();
        count = AllItems(probe.Form()).size();
    }
    ASSERT_GT(count, 100u);
    QStringList shown;
    for (size_t i = 0; i < count; ++i) {
        TMainWindowRun::TOptions options;
        options.CollectMessages = true;
        TMainWindowRun run(options);
        run.Start();
        TFormMap& form = run.Form();
        SmallPlan(form);
        const RItemRef item = AllItems(form)[i];
        SCOPED_TRACE(item.Path.toStdString());
        ChooseFor(form, item.Popup);
        const QByteArray before = PlanText(run.Folder() + QStringLiteral("до.500"));
        // The system's own windows answered with a cancel; the program's windows are
        // real and cancelled as the user cancels them.
        const TFileDialogHooks savedFiles = FileDialogHooks();
        FileDialogHooks().OpenFileName = [](const QString&, const QString&, QString&) { return false; };
        FileDialogHooks().OpenFileNames = [](const QString&, const QString&, QStringList&) { return false; };
        FileDialogHooks().SelectFolder = [](const QString&, QString&) { return false; };
        MapHooks().PrintDialog = [](QPrinter&, QWidget*) { return false; };
        MapHooks().ChooseColor = [](std::int32_t&) { return false; };
        TCancelEverything cancel;
        try {
            item.Run();
            for (int k = 0; k < 5; ++k)
                QCoreApplication::processEvents();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "threw: " << e.what();
        }
        const QByteArray after = PlanText(run.Folder() + QStringLiteral("после.500"));
        if (before != after)
            EXPECT_TRUE(MayChangeThePlan().count(item.Path)) << "the plan changed";
        FileDialogHooks() = savedFiles;
        // A window cancelled leaves nothing open behind it.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << cancel.Seen.join(QStringLiteral(", ")).toStdString();
        for (const QString& w : cancel.Seen)
            shown << item.Path + QStringLiteral(" → ") + w;
        run.ExitAnswer = mrNo;   // the plan is left unsaved
    }
    // The program's own windows, each opened by its item and cancelled; no system window
    // opens past its stand-in.
    const QStringList expected = {
        QStringLiteral("Файл/Создать план → TFormNewMapDialog"),
        QStringLiteral("Файл/Восстановление данных → TFormRestore"),
        QStringLiteral("План/Новый → TFormNewMapDialog"),
        QStringLiteral("План/Листы → TFormPages"),
        QStringLiteral("План/Растры → TFormRastrs"),
        QStringLiteral("План/Слои → TFormLayers"),
        QStringLiteral("План/Текстовые объекты → TFormTexts"),
        QStringLiteral("План/Точечные объекты → TFormPoints"),
        QStringLiteral("План/Линейные объекты → TFormLines"),
        QStringLiteral("План/Площадные объекты → TFormPolygons"),
        QStringLiteral("План/командный процессор → TFormCommandDialog"),
        QStringLiteral("Настройка → TFormSetup"),
        QStringLiteral("панель/Создать план → TFormNewMapDialog"),
    };
    EXPECT_TEXT_EQ(shown.join(QLatin1Char('\n')), expected.join(QLatin1Char('\n')));
}
