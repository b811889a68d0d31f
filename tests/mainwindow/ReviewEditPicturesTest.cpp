// Pictures of the creation and editing pop-ups as they open over a chosen line or polygon,
// of a polygon under construction and of the drag outlines, saved for review (see SaveGrab
// for the folder); each also checks what the picture must show.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "engine/GeoMap.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ReviewEditPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        AddExactView(Run.Form());
        RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>"});
    }
    void Draw()
    {
        const QSize size = Run.Form().DisplaySurf->size();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    }
    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton)
    {
        TFormMap& form = Run.Form();
        QMouseEvent e(QEvent::MouseMove, QPointF(p), form.DisplaySurf->mapToGlobal(QPointF(p)), Qt::NoButton,
                      held, Qt::NoModifier);
        QCoreApplication::sendEvent(form.DisplaySurf, &e);
    }
    void Choose(Extended x, Extended y)
    {
        TFormMap& form = Run.Form();
        form.SetMouseMode(mmSelectObject, 0, true);
        const QPoint p = TSurfaceDriver(form).At(x, y);
        Move(p);
        QTest::mousePress(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, p);
        ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    }
    // The pop-up of the chosen object's part as the right click would open it.
    QMenu* Popup(int part, int index, const QString& picture)
    {
        TFormMap& form = Run.Form();
        form.SelectedPart = std::uint8_t(part);
        form.SelectedIndex = index;
        QMenu* menu = form.SelectedPartPopup();
        if (menu)
            Save(*menu, picture);
        return menu;
    }
    static void Save(QMenu& menu, const QString& picture)
    {
        menu.ensurePolished();
        menu.adjustSize();
        SaveGrab(menu, picture);
    }
    // The captions the menu shows, "-" for a separator, "/" before a sub-menu's items.
    static QStringList Shown(const QMenu& menu)
    {
        QStringList shown;
        for (QAction* a : menu.actions()) {
            if (!a->isVisible())
                continue;
            shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
            if (a->menu())
                for (QAction* sub : a->menu()->actions())
                    shown << QLatin1Char('/') + sub->text();
        }
        return shown;
    }

    TMainWindowRun Run;
};

TEST_F(ReviewEditPictures, LinePopups)
{
    RunCommands({"mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}][{250}{300}{0}{-1}{0}{-1}{1}{0}]"
                 "[{200}{400}{0}{-1}{0}{-1}{0}{0}]>"});
    Draw();
    Choose(200, 200);
    QMenu* line = Popup(3, 0, QStringLiteral("popup-PMLine"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->objectName(), QStringLiteral("PMLine"));
    EXPECT_EQ(Shown(*line), (QStringList{"Свойства объекта", "Добавить узел", "/В линию сегмента", "/В середине сегмента",
                                         "Инвертировать линию", "Замкнуть линию", "Разрезать линию", "-",
                                         "Установить кривую для всех сегментов",
                                         "Установить ломаную прямую для всех сегментов", "-", "Удалить объект", "-",
                                         "Копировать объект"}));
    QMenu* node = Popup(1, 2, QStringLiteral("popup-PMLineNode"));
    ASSERT_NE(node, nullptr);
    // The separator before the hidden "Объединить" is the menu's last and is not shown.
    EXPECT_EQ(Shown(*node), (QStringList{"Свойства узла", "-", "Добавить узел", "-", "Удалить узел", "-"}));
    QMenu* text = Popup(4, 0, QStringLiteral("popup-PMLineText"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Shown(*text), (QStringList{"Показать автотекст", "Скрыть автотекст", "По умолчанию"}));
}

TEST_F(ReviewEditPictures, PolygonPopups)
{
    RunCommands({"mcNewPolygon=<0><0><ЗДН><[{100}{100}{-1}{0}{0}{0}{0}][{100}{140}{-1}{1}{2}{0}{0}]"
                 "[{140}{140}{-1}{0}{0}{1}{1}][{140}{100}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>"});
    Draw();
    Choose(120, 120);
    QMenu* segment = Popup(2, 1, QStringLiteral("popup-PMPolygonSegm"));
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->objectName(), QStringLiteral("PMPolygonSegm"));
    QStringList checked;
    for (QAction* a : segment->actions())
        if (a->isChecked())
            checked << a->text();
    EXPECT_EQ(checked, (QStringList{"Специальный сегмент тип I", "Скытый сегмент"}));
    QMenu* node = Popup(1, 2, QStringLiteral("popup-PMPolygonNode"));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->objectName(), QStringLiteral("PMPolygonNode"));
    Popup(3, 0, QStringLiteral("popup-PMPolygon"));
}

TEST_F(ReviewEditPictures, CreationPopupsAndAPolygonUnderConstruction)
{
    TFormMap& form = Run.Form();
    Draw();
    Save(*form.PMCreateLine, QStringLiteral("popup-PMCreateLine"));
    EXPECT_EQ(Shown(*form.PMCreateLine), (QStringList{"Закончить линию", "Закончить полосу"}));
    Save(*form.PMCreatePolygon, QStringLiteral("popup-PMCreatePolygon"));
    EXPECT_EQ(Shown(*form.PMCreatePolygon),
              (QStringList{"Закончить полигон", "-", "Основной сегмент", "Специальный сегмент тип I",
                           "Специальный сегмент тип II", "-", "Видимый сегмент", "Скрытый сегмент", "-",
                           "Линия к узлу есть", "Линия к узлу нет", "-", "Рисунок в узле есть",
                           "Рисунок в узле нет"}));
    form.SetMouseMode(mmCreatePolygon, 0, true);
    TSurfaceDriver mouse(form);
    mouse.Click(100, 100);
    mouse.Click(100, 160);
    // An attribute chosen is what the pop-up shows checked, each set on its own.
    form.SetPolygonAttributes(1, -1, -1, -1);
    form.SetPolygonAttributes(-1, -1, -1, 1);
    QStringList checked;
    for (QAction* a : form.PMCreatePolygon->actions())
        if (a->isChecked())
            checked << a->text();
    EXPECT_EQ(checked, (QStringList{"Специальный сегмент тип I", "Видимый сегмент", "Линия к узлу есть",
                                    "Рисунок в узле нет"}));
    Save(*form.PMCreatePolygon, QStringLiteral("popup-PMCreatePolygon-special"));
    mouse.Click(160, 160);
    Move(mouse.At(170, 110));
    SaveGrab(*form.DisplaySurf, QStringLiteral("polygon-under-construction"));
    EXPECT_EQ(form.CreateNodes.size(), 3u);
}

TEST_F(ReviewEditPictures, DragOutlines)
{
    RunCommands({"mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}][{250}{300}{0}{-1}{0}{-1}{1}{0}]"
                 "[{200}{400}{0}{-1}{0}{-1}{0}{0}]>",
                 "mcNewPolygon=<0><0><ЗДН><[{100}{100}{-1}{0}{0}{0}{0}][{100}{140}{-1}{0}{0}{0}{0}]"
                 "[{140}{140}{-1}{0}{0}{0}{0}][{140}{100}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>"});
    Draw();
    TFormMap& form = Run.Form();
    const TSurfaceDriver driver(form);
    struct Case {
        const char* Picture;
        TGeoPoint Choose;
        TGeoPoint Grip;
    };
    const Case cases[] = {
        {"drag-line-node", {200, 200}, {250, 300}},
        {"drag-line-whole", {200, 200}, {225, 250}},
        {"drag-polygon-node", {120, 120}, {140, 140}},
        {"drag-polygon-whole", {120, 120}, {120, 120}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Picture);
        Choose(c.Choose.X, c.Choose.Y);
        const QPoint grip = driver.At(c.Grip.X, c.Grip.Y);
        Move(grip);
        QTest::mousePress(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, grip);
        Move(grip + QPoint(15, 10), Qt::LeftButton);
        Move(grip + QPoint(30, 20), Qt::LeftButton);
        EXPECT_TRUE(form.DragBand.Drawn);
        SaveGrab(*form.DisplaySurf, QString::fromLatin1(c.Picture));
        // Esc-less end: back to the grip, which writes the object back unchanged.
        Move(grip, Qt::LeftButton);
        QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, grip);
        form.btClearSelectedClick();
    }
}

}  // namespace
