// The tool palette's buttons, their click handlers and the polygon panel.
#include "mainwindow/FormInstr1.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "foundation/ui/DialogBase.h"
#include "mainwindow/FormNavigator.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/modes/Creators.h"
#include "survey/SurveyDialogs.h"

#include "resources/palette_buttons.xpm"
#include "resources/polygon_panel.xpm"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSlider>

#include <cmath>

namespace {

constexpr int ModeGroup = 2;
constexpr int PaletteWidth = 53;    // two columns of 25 pixels at x 1 and 27
constexpr int ButtonsHeight = 268;  // the last row ends at 267
constexpr int PanelTop = 270;
constexpr int GlyphSize = 18;
constexpr int PanelGlyphWidth = 40;
constexpr int PanelGlyphHeight = 24;

// The glyph of the button at index of the palette's strip (the button order of the table).
QImage PaletteGlyph(int index)
{
    static const QImage strip(palette_buttons_xpm);
    return strip.copy(index * GlyphSize, 0, GlyphSize, GlyphSize).convertToFormat(QImage::Format_RGB32);
}

QImage PanelGlyph(int index)
{
    static const QImage strip(polygon_panel_xpm);
    return strip.copy(index * PanelGlyphWidth, 0, PanelGlyphWidth, PanelGlyphHeight)
        .convertToFormat(QImage::Format_RGB32);   // as the buttons keep their glyphs
}

// The item of the polygon pop-up with that caption, made checkable; null without one.
QAction* PolygonItem(TFormMap& form, const char* caption)
{
    if (!form.PMCreatePolygon)
        return nullptr;
    const QString text = QString::fromUtf8(caption);
    for (QAction* a : form.PMCreatePolygon->actions())
        if (a->text() == text) {
            a->setCheckable(true);
            return a;
        }
    return nullptr;
}

// Checks the item of index among captions and clears the others.
void CheckOneOf(TFormMap& form, std::initializer_list<const char*> captions, int index)
{
    int i = 0;
    for (const char* caption : captions) {
        if (QAction* a = PolygonItem(form, caption))
            a->setChecked(i == index);
        ++i;
    }
}

// A main-menu item by its name; null while the menu has none.
void CheckMenuItem(TFormMap& form, const char* name, bool checked)
{
    if (auto* item = form.findChild<QAction*>(QString::fromLatin1(name))) {
        item->setCheckable(true);
        item->setChecked(checked);
    }
}

}  // namespace

TFormInstr1::TFormInstr1(TFormMap& form, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint),
      Form(form)
{
    setObjectName(QStringLiteral("FormInstr1"));
    setWindowTitle(QStringLiteral("Инструменты"));
    setFont(DialogFont());

    sbSelectView = NewButton("sbSelectView", "Выбор вида", 1, 0, ModeGroup);
    sbAllView = NewButton("sbAllView", "Весь план в окне", 27, 0, 0);
    sbViewIn = NewButton("sbViewIn", "Увеличить в 2 раза", 1, 25, 0);
    sbViewOut = NewButton("sbViewOut", "Уменьшить в 2 раза", 27, 25, 0);
    sbSelectObject = NewButton("sbSelectObject", "Выбор объектов", 1, 51, ModeGroup);
    sbFormSelectObjectsShow =
        NewButton("sbFormSelectObjectsShow", "Настройка выбора объектов", 27, 51, 0);
    sbMoveView = NewButton("sbMoveView", "Перемещение вида", 1, 77, ModeGroup);
    btLink = NewButton("btLink", "Привязка по точкам", 27, 77, 1);
    sbPoint = NewButton("sbPoint", "Создавать объекты: Точечные", 1, 103, ModeGroup);
    sbText = NewButton("sbText", "Создать надпись", 27, 103, ModeGroup);
    sbLine = NewButton("sbLine", "Создавать объекты: Линейные", 1, 128, ModeGroup);
    sbOtm = NewButton("sbOtm", "Ввод отметки", 27, 128, ModeGroup);
    sbPolygon = NewButton("sbPolygon", "Создавать объекты: Площадные", 1, 154, ModeGroup);
    sbInputCoord = NewButton("sbInputCoord", "Создание объектов по координатам", 27, 154, 0);
    sbNoSem = NewButton("sbNoSem", "Не запрашивать семантику", 1, 179, 500);
    sbCreateProp = NewButton("sbCreateProp", "Настройка параметров создания объектов", 27, 179, 0);
    btHideSymbols = NewButton("btHideSymbols", "Не отображать условные знаки", 1, 216, 11);
    ShowPoints = NewButton("ShowPoints", "Отображать узлы", 27, 216, 9);
    sbInstr2 = NewButton("sbInstr2", "Геометрические построения", 1, 242, 65);
    sbNavigatorShow = NewButton("sbNavigatorShow", "Панель навигатора", 27, 242, 52);
    sbInstr2->SetFlat(true);
    sbNavigatorShow->SetFlat(true);

    // Glyphs in the order of the table; the three caption buttons have none.
    TExSpeedButton* const withGlyphs[] = {
        sbSelectView, sbAllView,  nullptr,      nullptr,      sbSelectObject,
        sbFormSelectObjectsShow,  sbMoveView,   btLink,       sbPoint,
        nullptr,      sbLine,     sbOtm,        sbPolygon,    sbInputCoord,
        sbNoSem,      sbCreateProp, btHideSymbols, ShowPoints, sbInstr2,
        sbNavigatorShow};
    for (int i = 0; i < int(std::size(withGlyphs)); ++i)
        if (withGlyphs[i])
            withGlyphs[i]->SetGlyph(PaletteGlyph(i));
    sbViewIn->SetCaption(QStringLiteral("*2"));
    sbViewOut->SetCaption(QStringLiteral("/2"));
    sbText->SetCaption(QStringLiteral("A"));
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(12);
    sbText->setFont(bold);
    sbSelectView->SetDown(true);

    sbSelectView->OnClick = [this] { sbSelectViewClick(); };
    sbAllView->OnClick = [this] { sbAllViewClick(); };
    sbViewIn->OnClick = [this] { sbViewInClick(); };
    sbViewOut->OnClick = [this] { sbViewOutClick(); };
    sbSelectObject->OnClick = [this] { sbSelectObjectClick(); };
    sbFormSelectObjectsShow->OnClick = [this] { sbFormSelectObjectsShowClick(); };
    sbMoveView->OnClick = [this] { sbMoveViewClick(); };
    btLink->OnClick = [this] { btLinkClick(); };
    sbPoint->OnClick = [this] { sbPointClick(); };
    sbText->OnClick = [this] { sbTextClick(); };
    sbLine->OnClick = [this] { sbLineClick(); };
    sbOtm->OnClick = [this] { sbOtmClick(); };
    sbPolygon->OnClick = [this] { sbPolygonClick(); };
    sbInputCoord->OnClick = [this] { sbInputCoordClick(); };
    sbCreateProp->OnClick = [this] { sbCreatePropClick(); };
    btHideSymbols->OnClick = [this] { btHideSymbolsClick(); };
    ShowPoints->OnClick = [this] { ShowPointsClick(); };
    sbInstr2->OnClick = [this] { sbInstr2Click(); };
    sbNavigatorShow->OnClick = [this] { sbNavigatorShowClick(); };
    const std::pair<TExSpeedButton*, int> creators[] = {{sbPoint, 0}, {sbLine, 1}, {sbPolygon, 2}};
    for (const auto& [button, kind] : creators)
        button->OnMouseUp = [this, kind = kind](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
            CreationButtonMouseUp(kind, b);
        };

    // The opacity slider sits in the gap between the settings and the display switches.
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(40, 255);
    TrackBar1->setValue(220);
    TrackBar1->setTickPosition(QSlider::NoTicks);
    TrackBar1->setFocusPolicy(Qt::NoFocus);
    TrackBar1->setStyleSheet(QStringLiteral(
        "QSlider::groove:horizontal { height: 2px; background: #808080; margin: 0 2px; }"
        "QSlider::handle:horizontal { width: 6px; margin: -4px 0; background: #D4D0C8;"
        " border: 1px solid #404040; }"));
    TrackBar1->setGeometry(0, 205, PaletteWidth, 10);
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });

    // The polygon panel below the buttons.
    pnPolygonProp = new QWidget(this);
    pnPolygonProp->setObjectName(QStringLiteral("pnPolygonProp"));
    auto label = [this](const char* text, int y) {
        auto* l = new QLabel(QString::fromUtf8(text), pnPolygonProp);
        l->setGeometry(1, y, PaletteWidth - 1, 13);
        return l;
    };
    auto panelButton = [this](const char* name, const char* hint, int y) {
        auto* b = new TExSpeedButton(pnPolygonProp);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setGeometry(1, y, 50, 33);
        return b;
    };
    label("Сегмент:", 0);
    sbSegmType = panelButton("sbSegmType", "Тип сегмента", 14);
    sbSegmStyle = panelButton("sbSegmStyle", "Стиль сегмента", 48);
    label("  Узел:   ", 83);
    sbNodeLine = panelButton("sbNodeLine", "Линия к узлу", 97);
    sbNodePic = panelButton("sbNodePic", "Рисунок в углу", 131);
    pnPolygonProp->setGeometry(0, PanelTop, PaletteWidth, 165);
    imSegmMain = PanelGlyph(0);
    imSegmSpec1 = PanelGlyph(1);
    imSegmSpec2 = PanelGlyph(2);
    imSegmVisible = PanelGlyph(3);
    imSegmInvisible = PanelGlyph(4);
    imLineOn = PanelGlyph(5);
    imLineOff = PanelGlyph(6);
    imPicOn = PanelGlyph(7);
    imPicOff = PanelGlyph(8);
    sbSegmType->SetGlyph(imSegmMain);
    sbSegmStyle->SetGlyph(imSegmVisible);
    sbNodeLine->SetGlyph(imLineOn);
    sbNodePic->SetGlyph(imPicOn);
    sbSegmType->OnClick = [this] { sbSegmTypeClick(); };
    sbSegmStyle->OnClick = [this] { sbSegmStyleClick(); };
    sbNodeLine->OnClick = [this] { sbNodeLineClick(); };
    sbNodePic->OnClick = [this] { sbNodePicClick(); };
    pnPolygonProp->hide();
    pnPolygonProp->installEventFilter(this);
    AutoSize();

    Timer1 = new TVclTimer(100, false, [this] { Timer1Timer(); }, this);

    // At the right edge of the screen, 80 pixels down.
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    move(screenWidth - 65, 80);
    FirstActivation = true;

    // The creators ask whether a favourites palette shows; the palette holds them.
    if (!FavouritesPaletteShown)
        FavouritesPaletteShown = [](int lm) {
            if (!FormMap || !FormMap->FormInstr1 || lm < 0 || lm > 2)
                return false;
            const QWidget* palette = FormMap->FormInstr1->FormFavorites[lm];
            return palette && palette->isVisible();
        };
}

TFormInstr1::~TFormInstr1() = default;

TExSpeedButton* TFormInstr1::NewButton(const char* name, const char* hint, int x, int y, int group)
{
    auto* b = new TExSpeedButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromUtf8(hint));
    b->setGeometry(x, y, 25, 25);
    if (group != 0) {
        b->SetGroupIndex(group);
        b->SetAllowAllUp(true);
    }
    return b;
}

void TFormInstr1::AutoSize()
{
    const int height = pnPolygonProp->isVisibleTo(this) ? PanelTop + pnPolygonProp->height()
                                                         : ButtonsHeight;
    setFixedSize(PaletteWidth, height);
}

bool TFormInstr1::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == pnPolygonProp &&
        (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent))
        AutoSize();
    return QWidget::eventFilter(watched, e);
}

bool TFormInstr1::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        Timer1->SetEnabled(true);
    return QWidget::event(e);
}

void TFormInstr1::closeEvent(QCloseEvent* e)
{
    // Closing the palette closes the program through the main window, with its question
    // about unsaved changes; the palette stays when that close is cancelled.
    e->ignore();
    if (Form.close())
        hide();
}

void TFormInstr1::ReleaseModeButtons()
{
    for (TExSpeedButton* b : {sbSelectView, sbSelectObject, sbMoveView, sbPoint, sbLine,
                              sbPolygon, sbText, sbOtm})
        b->SetDown(false);
}

void TFormInstr1::HideIdleFavourites()
{
    const TExSpeedButton* const buttons[] = {sbPoint, sbLine, sbPolygon};
    for (int kind = 0; kind < 3; ++kind) {
        QWidget* palette = FormFavorites[kind];
        if (palette && palette->isVisible() && !buttons[kind]->Down())
            palette->hide();
    }
}

void TFormInstr1::DrawScreen(int mode)
{
    if (!MainMap)
        return;
    const QSize size = Form.SurfaceSize();
    MainMap->Draw(size.width(), size.height(), TDrawMode(mode), ddScreen);
}

// ---- The view ----------------------------------------------------------------------------

void TFormInstr1::sbSelectViewClick()
{
    if (sbSelectView->Down())
        Form.SetMouseMode(mmSelectView, 0, false);
    else
        Form.RestoreMouseMode();
    HideIdleFavourites();
}

void TFormInstr1::sbAllViewClick() { Form.ShowWholePlan(); }

void TFormInstr1::sbViewInClick()
{
    if (!MainMap)
        return;
    MainMap->DisplayScale = std::int32_t(std::nearbyint(MainMap->OutputScale * 0.5));
    DrawScreen(5);
}

void TFormInstr1::sbViewOutClick()
{
    if (!MainMap)
        return;
    MainMap->DisplayScale = MainMap->OutputScale * 2;
    DrawScreen(5);
}

void TFormInstr1::sbMoveViewClick()
{
    // Down or up, the click means the pan.
    Form.SetMouseMode(mmMoveView, 0, false);
    HideIdleFavourites();
}

void TFormInstr1::btLinkClick()
{
    if (!MainMap)
        return;
    if (btLink->Down()) {
        MainMap->LinkToNodes = 1;
        MainMap->FindScreenNodes();
        Form.RegisterCreatingObjectNodes();
    } else {
        MainMap->LinkToNodes = 0;
    }
}

void TFormInstr1::btHideSymbolsClick()
{
    const bool hide = btHideSymbols->Down();
    if (MainMap)
        MainMap->ShowSymbols = hide ? 0 : 1;
    CheckMenuItem(Form, "NShowSymbols", !hide);
    DrawScreen(3);
}

void TFormInstr1::ShowPointsClick()
{
    const bool show = ShowPoints->Down();
    if (MainMap)
        MainMap->ShowNodes = show ? 1 : 0;
    CheckMenuItem(Form, "NShowNodes", show);
    DrawScreen(3);
}

// ---- Selection -----------------------------------------------------------------------------

void TFormInstr1::sbSelectObjectClick()
{
    if (sbSelectObject->Down()) {
        Form.SetMouseMode(mmSelectObject, 0, false);
    } else {
        Form.btClearSelectedClick();   // the selection is dropped with the mode
        Form.SetMouseMode(mmSelectView, 0, true);
    }
    HideIdleFavourites();
}

void TFormInstr1::sbFormSelectObjectsShowClick()
{
    if (MapHooks().SelectSetupDlg)
        MapHooks().SelectSetupDlg();
}

// ---- Creation ------------------------------------------------------------------------------

void TFormInstr1::CreationClick(TExSpeedButton* button, int downMode)
{
    if (button->Down())
        Form.SetMouseMode(TMouseMode(downMode), 0, false);
    else
        Form.SetMouseMode(mmSelectView, 0, true);
    HideIdleFavourites();
}

void TFormInstr1::sbPointClick() { CreationClick(sbPoint, mmCreatePoint); }
void TFormInstr1::sbLineClick() { CreationClick(sbLine, mmCreateLine); }
void TFormInstr1::sbOtmClick() { CreationClick(sbOtm, mmCreateOtm); }
void TFormInstr1::sbPolygonClick() { CreationClick(sbPolygon, mmCreatePolygon); }

void TFormInstr1::sbTextClick()
{
    // The text's settings page first; the text mode follows whatever it answers.
    if (sbText->Down() && MapHooks().ObjectDestDlg)
        MapHooks().ObjectDestDlg(3);
    CreationClick(sbText, mmCreateText);
}

void TFormInstr1::sbInputCoordClick()
{
    if (MapHooks().CreateCoordObjDlg)
        MapHooks().CreateCoordObjDlg();
}

void TFormInstr1::sbCreatePropClick()
{
    if (MapHooks().ObjectDestDlg)
        MapHooks().ObjectDestDlg(0);
}

void TFormInstr1::CreationButtonMouseUp(int kind, Qt::MouseButton button)
{
    if (button == Qt::RightButton && kind >= 0 && kind < 3) {
        QPointer<QWidget>& palette = FormFavorites[kind];
        if (!palette && MapHooks().NewFormFavorites) {
            palette = MapHooks().NewFormFavorites(kind, &Form);
            if (palette) {
                palette->setWindowOpacity(windowOpacity());
                palette->move(5, y() + 50 * kind);
            }
        }
        if (palette)
            palette->show();
    }
    HideIdleFavourites();
}

// ---- Tool windows --------------------------------------------------------------------------

void TFormInstr1::sbInstr2Click()
{
    if (!sbInstr2->Down()) {
        if (FormInstr2)
            FormInstr2->hide();
        return;
    }
    if (!FormInstr2) {
        FormInstr2 = NewFormInstr2(&Form);
        if (!FormInstr2) {
            sbInstr2->SetDown(false);
            return;
        }
        FormInstr2->setWindowOpacity(windowOpacity());
        FormInstr2->move(10, y());
    }
    FormInstr2->show();
}

void TFormInstr1::sbNavigatorShowClick()
{
    if (!sbNavigatorShow->Down()) {
        if (FormNavigator)
            FormNavigator->hide();
        return;
    }
    if (!FormNavigator) {
        FormNavigator = new TFormNavigator(Form);
        Form.ScaleBox = FormNavigator->MapScale;   // the plan writes its scale there
    }
    FormNavigator->show();
    FormNavigator->raise();
    FormNavigator->activateWindow();
    FormNavigator->setFocus();
}

void TFormInstr1::TrackBar1Change()
{
    const qreal opacity = TrackBar1->value() / 255.0;
    setWindowOpacity(opacity);
    for (QWidget* w : {static_cast<QWidget*>(FormNavigator), FormInstr2})
        if (w && w->isVisible())
            w->setWindowOpacity(opacity);
}

void TFormInstr1::Timer1Timer()
{
    // Until both windows show, the timer keeps ticking.
    if (!isVisible() || !Form.isVisible())
        return;
    Form.activateWindow();
    Form.setFocus();
    Timer1->SetEnabled(false);
    if (FirstActivation) {
        // Only a window still without a mode gets the zoom mode here: a mode the user has
        // already chosen (the click that activated the palette) stays.
        if (Form.MouseMode == mmNone)
            Form.SetMouseMode(mmSelectView, 0, true);
        FirstActivation = false;
    }
}

// ---- The polygon panel ---------------------------------------------------------------------

void TFormInstr1::sbSegmTypeClick()
{
    std::uint8_t& type = Form.PolygonSegmentType;
    std::uint8_t& style = Form.PolygonSegmentStyle;
    type = type >= 2 ? 0 : type + 1;
    if (style != 2)
        style = type == 1 ? 1 : 0;   // a hidden style survives any type
    UpdatePolygonPanel();
}

void TFormInstr1::sbSegmStyleClick()
{
    std::uint8_t& style = Form.PolygonSegmentStyle;
    if (style == 0 || style == 1)
        style = 2;
    else if (style == 2)
        style = Form.PolygonSegmentType == 1 ? 1 : 0;
    UpdatePolygonPanel();
}

void TFormInstr1::sbNodeLineClick()
{
    Form.PolygonNodeLine = Form.PolygonNodeLine == 0 ? 1 : 0;
    UpdatePolygonPanel();
}

void TFormInstr1::sbNodePicClick()
{
    Form.PolygonNodePicture = Form.PolygonNodePicture == 0 ? 1 : 0;
    UpdatePolygonPanel();
}

void TFormInstr1::UpdatePolygonPanel()
{
    const int type = Form.PolygonSegmentType;
    if (type <= 2) {
        const QImage* const glyphs[] = {&imSegmMain, &imSegmSpec1, &imSegmSpec2};
        sbSegmType->SetGlyph(*glyphs[type]);
        CheckOneOf(Form, {"Основной сегмент", "Специальный сегмент тип I", "Специальный сегмент тип II"},
                   type);
    }
    const int style = Form.PolygonSegmentStyle;
    if (style <= 2) {
        const bool hidden = style == 2;
        sbSegmStyle->SetGlyph(hidden ? imSegmInvisible : imSegmVisible);
        CheckOneOf(Form, {"Видимый сегмент", "Скрытый сегмент"}, hidden ? 1 : 0);
    }
    const int line = Form.PolygonNodeLine;
    if (line <= 1) {
        sbNodeLine->SetGlyph(line == 0 ? imLineOn : imLineOff);
        CheckOneOf(Form, {"Линия к узлу есть", "Линия к узлу нет"}, line);
    }
    const int picture = Form.PolygonNodePicture;
    if (picture <= 1) {
        sbNodePic->SetGlyph(picture == 0 ? imPicOn : imPicOff);
        CheckOneOf(Form, {"Рисунок в узле есть", "Рисунок в узле нет"}, picture);
    }
    Form.PaintBitmap();
}
