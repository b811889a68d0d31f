// The hot keys of the main window and its mouse wheel. Every key of the window passes
// HandleHotKey first (the application's event filter); the keys act through the tool
// palette's buttons as a click on them would, so they do nothing before the palette
// exists. The wheel zooms about the cursor or scrolls the view by the navigator's steps,
// in the wheel mode of the settings.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/FormNavigator.h"

#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolButton>
#include <QWheelEvent>
#include <cstdlib>

#include "resources/wheel_actions.xpm"

namespace {

constexpr int GlyphSize = 23;
constexpr int WheelStep = 120;   // one notch of a wheel

// The keys held as the Shift sets of the mouse handlers: 1 Shift, 2 Alt, 4 Ctrl.
int ShiftSet(Qt::KeyboardModifiers mods)
{
    return (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::AltModifier ? 2 : 0) |
           (mods & Qt::ControlModifier ? 4 : 0);
}

// The key as its place on the keyboard names it: under the Russian layout a letter key
// arrives as its Cyrillic letter, and Ctrl+S must still be Ctrl+S.
int LatinKey(const QKeyEvent& e)
{
    struct TPair {
        char16_t Cyrillic;
        int Latin;
    };
    static const TPair pairs[] = {{u'Ф', Qt::Key_A}, {u'С', Qt::Key_C}, {u'Д', Qt::Key_L},
                                  {u'З', Qt::Key_P}, {u'Ы', Qt::Key_S}, {u'Ч', Qt::Key_X},
                                  {u'Я', Qt::Key_Z}};
    const int key = e.key();
    for (const TPair& p : pairs)
        if (key == p.Cyrillic || key == QChar(p.Cyrillic).toLower().unicode())
            return p.Latin;
    return key;
}

// A palette button pressed from code as the user presses it: down, then its click.
void PressAndClick(TExSpeedButton* button, TFormInstr1& palette, void (TFormInstr1::*click)())
{
    button->SetDown(true);
    (palette.*click)();
}

}  // namespace

QImage WheelGlyph(int n)
{
    static const QImage strip(wheel_actions_xpm);
    if (n < 0 || n > 2)
        return {};
    return strip.copy(n * GlyphSize, 0, GlyphSize, GlyphSize);
}

void TFormMap::ConnectKeysAndWheel()
{
    WheelBtn = PanelButtons.value(QStringLiteral("Режим колеса мыши"));
    if (!WheelBtn)
        return;
    WheelBtn->setObjectName(QStringLiteral("WheelBtn"));
    WheelBtn->setText({});
    WheelBtn->setIconSize(QSize(GlyphSize, GlyphSize));
    connect(WheelBtn, &QToolButton::clicked, this, [this] { WheelBtnClick(); });
    SetWheelAction(WheelAction);
}

// ---- Keys --------------------------------------------------------------------------------

bool TFormMap::HandleHotKey(QKeyEvent& e)
{
    // Keys of the start-up, before the palette is made, do nothing.
    if (!FormInstr1)
        return false;
    TFormInstr1& palette = *FormInstr1;
    const int key = LatinKey(e);
    int shift = ShiftSet(e.modifiers());
    // A modifier key's own press counts as held: some systems report it held only from
    // the next event on.
    if (key == Qt::Key_Shift)
        shift |= 1;
    else if (key == Qt::Key_Alt)
        shift |= 2;
    else if (key == Qt::Key_Control)
        shift |= 4;
    const bool keypad = e.modifiers() & Qt::KeypadModifier;
    // The rows are tried in order and several may act on one key. A key that acted is
    // taken: a focused control does not act on it again.
    bool acted = false;

    if (shift == 0) {
        acted = true;
        switch (key) {
        case Qt::Key_F1: PressAndClick(palette.sbPoint, palette, &TFormInstr1::sbPointClick); break;
        case Qt::Key_F2: PressAndClick(palette.sbLine, palette, &TFormInstr1::sbLineClick); break;
        case Qt::Key_F3: PressAndClick(palette.sbPolygon, palette, &TFormInstr1::sbPolygonClick); break;
        case Qt::Key_F4: PressAndClick(palette.sbText, palette, &TFormInstr1::sbTextClick); break;
        case Qt::Key_F5: PressAndClick(palette.sbOtm, palette, &TFormInstr1::sbOtmClick); break;
        case Qt::Key_F6:
            PressAndClick(palette.sbSelectView, palette, &TFormInstr1::sbSelectViewClick);
            break;
        case Qt::Key_F7:
            PressAndClick(palette.sbSelectObject, palette, &TFormInstr1::sbSelectObjectClick);
            break;
        case Qt::Key_F8: RestoreMouseMode(); break;
        case Qt::Key_F12:
            NTraceGorizontalClick();
            break;
        default: acted = false; break;
        }
    }

    if (shift == 4) {
        // "=" and "-" beside the digits only: the keypad's plus and minus are other keys.
        const bool zoomKeys = !keypad && palette.isVisible();
        if (key == Qt::Key_S) {
            palette.btLink->SetDown(!palette.btLink->Down());
            palette.btLinkClick();
            acted = true;
        } else if (key == Qt::Key_Equal && zoomKeys) {
            palette.sbViewInClick();
            acted = true;
        } else if (key == Qt::Key_Minus && zoomKeys) {
            palette.sbViewOutClick();
            acted = true;
        }
        if (MouseMode == mmCreatePolygon) {
            const bool before = acted;
            acted = true;
            switch (key) {
            case Qt::Key_A: palette.sbSegmStyleClick(); break;
            case Qt::Key_C: SetPolygonAttributes(2, -1, -1, -1); break;   // special type II
            case Qt::Key_L: palette.sbNodeLineClick(); break;
            case Qt::Key_P: palette.sbNodePicClick(); break;
            case Qt::Key_X: SetPolygonAttributes(1, -1, -1, -1); break;   // special type I
            case Qt::Key_Z: SetPolygonAttributes(0, -1, -1, -1); break;   // main segment
            default: acted = before; break;
            }
        }
    }

    if (MouseMode == mmSelectObject) {
        if (key == Qt::Key_Backspace || (key == Qt::Key_Delete && shift == 1)) {
            DeleteSelectedObject();
            acted = true;
        } else if (key == Qt::Key_Escape) {
            btClearSelectedClick();
            acted = true;
        } else if (key == Qt::Key_Space) {
            SelectNextFoundObject();
            acted = true;
        }
    }

    // Ctrl during a point's drag: the gizmo changes to its cross at the next move.
    if (shift == 4 && MouseMode == mmCreatePoint && ButtonHeld && HeldButton == 0 &&
        !PointCtrlFlag) {
        PointCtrlFlag = true;
        PaintBitmap();
        acted = true;
    }

    // Shift alone switches the manual wheel's action; holding it down does not go on
    // switching.
    if (key == Qt::Key_Shift && shift == 1 && WheelMode == 0 && !e.isAutoRepeat()) {
        SetWheelAction(-1);
        acted = true;
    }
    return acted;
}

void TFormMap::SelectNextFoundObject()
{
    QComboBox* box = ComboBoxSelectedObjects();
    const int n = box ? box->count() : 0;
    if (n <= 0)
        return;
    int i = box->currentIndex() + 1;
    if (i > n - 1)
        i = 0;
    box->setCurrentIndex(i);
    ComboBoxSelectedObjectsChange();
}

// ---- Wheel -------------------------------------------------------------------------------

void TFormMap::SetWheelAction(int n)
{
    if (n < 0)
        WheelAction = std::uint8_t((WheelAction + 1) % 3);
    else
        WheelAction = std::uint8_t(n == 1 || n == 2 ? n : 0);
    if (WheelBtn)
        WheelBtn->setIcon(QIcon(QPixmap::fromImage(WheelGlyph(WheelAction))));
}

void TFormMap::WheelBtnClick()
{
    if (WheelMode == 0)
        SetWheelAction(-1);
}

namespace {

// The wheel's turn as the window takes it. Some systems turn Shift+wheel into a sideways
// turn: it is the same notch.
void TakeWheel(TFormMap& form, QWheelEvent& e)
{
    const QPoint turn = e.angleDelta();
    form.FormMouseWheel(ShiftSet(e.modifiers()), turn.y() != 0 ? turn.y() : turn.x());
    e.accept();
}

}  // namespace

void TFormMap::wheelEvent(QWheelEvent* e) { TakeWheel(*this, *e); }
// The surface hands its wheel to the window, as its other mouse events.
void TDisplaySurface::wheelEvent(QWheelEvent* e) { TakeWheel(Form, *e); }

void TFormMap::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::MiddleButton && WheelMode == 0)
        SetWheelAction(-1);
    QMainWindow::mousePressEvent(e);
}

void TFormMap::FormMouseWheel(int shift, int wheelDelta)
{
    if (wheelDelta == 0)
        return;
    // A turn the other way starts a new sum.
    if (WheelRest != 0 && (WheelRest < 0) != (wheelDelta < 0))
        WheelRest = 0;
    WheelRest += wheelDelta;
    while (std::abs(WheelRest) >= WheelStep) {
        const int delta = WheelRest > 0 ? WheelStep : -WheelStep;
        WheelRest -= delta;
        // No view yet (start-up, an empty window): nothing to zoom or scroll.
        if (!MainMap || MainMap->FactorX == 0 || MainMap->FactorY == 0)
            continue;
        switch (WheelMode) {
        case 0:
            if (WheelAction == 1)
                WheelScrollHorizontal(delta);
            else if (WheelAction == 2)
                WheelScrollVertical(delta);
            else
                WheelZoom(delta);
            break;
        case 1:
            if (shift == 0)
                WheelScrollVertical(delta);
            else if (shift == 1)
                WheelZoom(delta);
            else if (shift == 4)
                WheelScrollHorizontal(delta);
            break;
        case 2:
            if (shift == 0)
                WheelZoom(delta);
            else if (shift == 1)
                WheelScrollVertical(delta);
            else if (shift == 4)
                WheelScrollHorizontal(delta);
            break;
        default: break;
        }
    }
}

void TFormMap::WheelScrollVertical(int wheelDelta)
{
    if (WheelMode != 0)
        SetWheelAction(2);
    if (wheelDelta <= 0)
        TFormNavigator::PlanMoveDownClick();
    else
        TFormNavigator::PlanMoveUpClick();
}

void TFormMap::WheelScrollHorizontal(int wheelDelta)
{
    if (WheelMode != 0)
        SetWheelAction(1);
    if (wheelDelta <= 0)
        TFormNavigator::PlanMoveLeftClick();
    else
        TFormNavigator::PlanMoveRightClick();
}

void TFormMap::WheelZoom(int wheelDelta)
{
    // The zoom keeps the plan point under the cursor where it is.
    MainMap->ZoomAnchorOn = 1;
    MainMap->ZoomAnchor = Points.Move.Screen;
    const struct TAnchorOff {
        TGeoMap& Map;
        ~TAnchorOff() { Map.ZoomAnchorOn = 0; }
    } anchorOff{*MainMap};
    if (WheelMode != 0)
        SetWheelAction(0);
    if (wheelDelta <= 0)
        TFormNavigator::btOutClick();
    else
        TFormNavigator::btInClick();
}
