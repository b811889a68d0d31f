// The tool palette: the small stay-on-top window at the screen's right edge through which
// the user switches the main window's modes, zooms, toggles the display switches, opens
// the settings windows and the other tool windows, and sets the attributes of the next
// polygon segment. It holds no plan data. Handlers run on clicks only: a button pressed
// or raised from code (the mode setter, the keys) runs nothing.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>

class QLabel;
class QSlider;
class TExSpeedButton;
class TFormMap;
class TVclTimer;

class TFormInstr1 : public QWidget {
    Q_OBJECT
public:
    explicit TFormInstr1(TFormMap& form, QWidget* owner);
    ~TFormInstr1() override;

    // The twenty buttons, two columns of 25 × 25 pixels.
    TExSpeedButton* sbSelectView;              // "Выбор вида"
    TExSpeedButton* sbAllView;                 // "Весь план в окне"
    TExSpeedButton* sbViewIn;                  // "Увеличить в 2 раза"
    TExSpeedButton* sbViewOut;                 // "Уменьшить в 2 раза"
    TExSpeedButton* sbSelectObject;            // "Выбор объектов"
    TExSpeedButton* sbFormSelectObjectsShow;   // "Настройка выбора объектов"
    TExSpeedButton* sbMoveView;                // "Перемещение вида"
    TExSpeedButton* btLink;                    // "Привязка по точкам"
    TExSpeedButton* sbPoint;                   // "Создавать объекты: Точечные"
    TExSpeedButton* sbText;                    // "Создать надпись"
    TExSpeedButton* sbLine;                    // "Создавать объекты: Линейные"
    TExSpeedButton* sbOtm;                     // "Ввод отметки"
    TExSpeedButton* sbPolygon;                 // "Создавать объекты: Площадные"
    TExSpeedButton* sbInputCoord;              // "Создание объектов по координатам"
    TExSpeedButton* sbNoSem;                   // "Не запрашивать семантику"
    TExSpeedButton* sbCreateProp;              // "Настройка параметров создания объектов"
    TExSpeedButton* btHideSymbols;             // "Не отображать условные знаки"
    TExSpeedButton* ShowPoints;                // "Отображать узлы"
    TExSpeedButton* sbInstr2;                  // "Геометрические построения"
    TExSpeedButton* sbNavigatorShow;           // "Панель навигатора"
    // The palette's opacity, 40 to 255.
    QSlider* TrackBar1;
    // The focus return: 100 ms, started by every activation of the palette.
    TVclTimer* Timer1;
    // The polygon panel, shown in the polygon creation mode only, and its buttons.
    QWidget* pnPolygonProp;
    TExSpeedButton* sbSegmType;                // "Тип сегмента"
    TExSpeedButton* sbSegmStyle;               // "Стиль сегмента"
    TExSpeedButton* sbNodeLine;                // "Линия к узлу"
    TExSpeedButton* sbNodePic;                 // "Рисунок в углу"
    // The panel's glyphs by attribute value.
    QImage imSegmMain, imSegmSpec1, imSegmSpec2;
    QImage imSegmVisible, imSegmInvisible;
    QImage imLineOn, imLineOff;
    QImage imPicOn, imPicOff;

    // The constructions palette, made on the first press of sbInstr2 (owned by the main
    // window; link, not owned here); null before and while no such palette exists.
    QWidget* FormInstr2 = nullptr;
    // The favourites palettes of points, lines and polygons, made on the first right
    // release over their creation button (owned by the main window).
    std::array<QPointer<QWidget>, 3> FormFavorites;
    // Set at creation, cleared by the first tick of Timer1 (which then enters the
    // zoom-rectangle mode when the main window has no mode yet).
    bool FirstActivation = true;

    // Raises all eight mode buttons.
    void ReleaseModeButtons();
    // The four panel glyphs and the nine check marks of the polygon pop-up brought in line
    // with the main window's polygon node attributes; then the surface is repainted. A
    // value outside its set leaves its button and items as they were.
    void UpdatePolygonPanel();
    // Hides each favourites palette that is showing while its creation button is up.
    void HideIdleFavourites();

    // The click handlers, also run by the keys and the tools that work the palette.
    void sbSelectViewClick();
    void sbAllViewClick();
    void sbViewInClick();
    void sbViewOutClick();
    void sbSelectObjectClick();
    void sbFormSelectObjectsShowClick();
    void sbMoveViewClick();
    // Down: snapping on, the screen's nodes and those of the object under construction
    // collected; up: snapping off.
    void btLinkClick();
    void sbPointClick();
    void sbTextClick();
    void sbLineClick();
    void sbOtmClick();
    void sbPolygonClick();
    void sbInputCoordClick();
    void sbCreatePropClick();
    void btHideSymbolsClick();
    void ShowPointsClick();
    // Down: makes the constructions palette once (the palette's opacity, its top, 10
    // pixels from the screen's left edge) and shows it; without one the button springs
    // back up. Up: hides it.
    void sbInstr2Click();
    // Down: makes the navigator once, hands its scale box to the plan and shows it with
    // the focus; up: hides it.
    void sbNavigatorShowClick();
    // The polygon panel: segment type 0 → 1 → 2 → 0, segment style visible ↔ hidden, the
    // node's line and picture toggled.
    void sbSegmTypeClick();
    void sbSegmStyleClick();
    void sbNodeLineClick();
    void sbNodePicClick();
    void TrackBar1Change();
    void Timer1Timer();
    // A mouse button released over a creation button: the right one shows the kind's
    // favourites palette (kind 0 points, 1 lines, 2 polygons), made on first use; every
    // button then hides the palettes whose creation button is up.
    void CreationButtonMouseUp(int kind, Qt::MouseButton button);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    TExSpeedButton* NewButton(const char* name, const char* hint, int x, int y, int group);
    // The creation buttons: down the mode without pressing; up the zoom-rectangle mode
    // with its button pressed.
    void CreationClick(TExSpeedButton* button, int downMode);
    // Draws the whole plan view anew in the given mode on the screen.
    void DrawScreen(int mode);
    // The window's size follows the polygon panel.
    void AutoSize();
    TFormMap& Form;   // link, not owned
};
