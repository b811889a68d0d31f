// The navigator window and its pan and zoom operations, which need no window.
#include "mainwindow/FormNavigator.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "foundation/ui/DialogBase.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/UnitMap.h"

#include "resources/navigator_arrows.xpm"
#include "resources/navigator_card.xpm"

#include <QComboBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

#include <cmath>

TFormNavigator* FormNavigator = nullptr;

namespace {

constexpr int StepGroup = 1;
constexpr int ArrowSize = 15;
constexpr int Margin = 4;
constexpr int CardTop = 28;
constexpr int CardSize = 77;
constexpr int RightColumn = Margin + CardSize + 4;
constexpr int RightWidth = 72;

QImage ArrowGlyph(int index)
{
    static const QImage strip(navigator_arrows_xpm);
    return strip.copy(index * ArrowSize, 0, ArrowSize, ArrowSize);
}

// The view as the surface shows it; nothing without a main window and a scaled view.
bool ViewReady()
{
    return FormMap && MainMap && MainMap->FactorX != 0 && MainMap->FactorY != 0;
}

void DrawScreen(int mode)
{
    const QSize size = FormMap->SurfaceSize();
    MainMap->Draw(size.width(), size.height(), TDrawMode(mode), ddScreen);
}

}  // namespace

TFormNavigator::TFormNavigator(TFormMap& form)
    : QWidget(&form, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      Form(form)
{
    setObjectName(QStringLiteral("FormNavigator"));
    setWindowTitle(QStringLiteral("Навигатор"));
    setFont(DialogFont());
    setWindowOpacity(200.0 / 255);

    auto button = [this](const char* name, const char* hint, QRect place) {
        auto* b = new TExSpeedButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setGeometry(place);
        return b;
    };

    // The steps in a row above the card.
    const int stepWidth = (RightColumn + RightWidth - Margin - 3 * 2) / 4;
    const std::tuple<TExSpeedButton**, const char*, const char*, const char*> steps[] = {
        {&btn1, "btn1", "100%", "изменять вид на 100%"},
        {&btn12, "btn12", "50%", "изменять вид на 50%"},
        {&btn14, "btn14", "25%", "изменять вид на 25 %"},
        {&btn18, "btn18", "12%", "изменять вид на 12%"}};
    int x = Margin;
    for (const auto& [field, name, caption, hint] : steps) {
        TExSpeedButton* b = button(name, hint, QRect(x, Margin, stepWidth, 20));
        b->SetCaption(QString::fromUtf8(caption));
        b->SetGroupIndex(StepGroup);
        b->SetAllowAllUp(true);
        *field = b;
        x += stepWidth + 2;
    }
    btn14->SetDown(true);

    // The arrows on the card.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap::fromImage(QImage(navigator_card_xpm)));
    Image1->setGeometry(Margin, CardTop, CardSize, CardSize);
    const std::tuple<TExSpeedButton**, const char*, const char*, void (*)()> arrows[] = {
        {&PlanMoveUpLeft, "PlanMoveUpLeft", "Обзор выше,левее", &PlanMoveUpLeftClick},
        {&PlanMoveUp, "PlanMoveUp", "Обзор выше", &PlanMoveUpClick},
        {&PlanMoveUpRight, "PlanMoveUpRight", "Обзор выше,правее", &PlanMoveUpRightClick},
        {&PlanMoveLeft, "PlanMoveLeft", "Обзор левее", &PlanMoveLeftClick},
        {&btBack, "btBack", "Предыдущий вид", &btBackClick},
        {&PlanMoveRight, "PlanMoveRight", "Обзор правее", &PlanMoveRightClick},
        {&PlanmoveDownLeft, "PlanmoveDownLeft", "Обзор ниже,левее", &PlanMoveDownLeftClick},
        {&PlanMoveDown, "PlanMoveDown", "Обзор ниже", &PlanMoveDownClick},
        {&PlanMoveDownRight, "PlanMoveDownRight", "Обзор ниже,правее", &PlanMoveDownRightClick}};
    int i = 0;
    for (const auto& [field, name, hint, handler] : arrows) {
        TExSpeedButton* b = button(
            name, hint, QRect(Margin + 1 + (i % 3) * 25, CardTop + 1 + (i / 3) * 25, 25, 25));
        b->SetGlyph(ArrowGlyph(i));
        b->SetFlat(true);
        b->SetTransparent(true);  // the card shows between the arrows
        b->SetGrayedInactive(false);
        b->SetAllowTimer(true);   // repeats while held
        b->OnClick = handler;
        *field = b;
        ++i;
    }

    // Zoom and scale to the right of the card.
    btIn = button("btIn", "Увеличить", QRect(RightColumn, CardTop, RightWidth, 24));
    btIn->SetCaption(QStringLiteral("+"));
    btOut = button("btOut", "Уменьшить", QRect(RightColumn, CardTop + 26, RightWidth, 24));
    btOut->SetCaption(QStringLiteral("-"));
    for (TExSpeedButton* b : {btIn, btOut}) {
        b->SetAllowTimer(true);
        QFont big = b->font();
        big.setBold(true);
        big.setPixelSize(16);
        b->setFont(big);
    }
    btIn->OnClick = &btInClick;
    btOut->OnClick = &btOutClick;

    MapScale = new QComboBox(this);
    MapScale->setObjectName(QStringLiteral("MapScale"));
    MapScale->setEditable(true);
    MapScale->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : {"100", "500", "1000", "2000", "5000", "10000", "25000", "50000",
                             "100000", "200000"})
        MapScale->addItem(QString::fromLatin1(item));
    MapScale->setEditText(QStringLiteral("500"));
    QFont bold = MapScale->font();
    bold.setBold(true);
    bold.setPointSize(10);
    MapScale->setFont(bold);
    QPalette light = MapScale->palette();
    light.setColor(QPalette::Base, QColor(0xF4, 0xF8, 0xFF));
    MapScale->setPalette(light);
    MapScale->setGeometry(RightColumn, CardTop + CardSize - 24, RightWidth, 24);
    // The user's changes only: the plan writes the box after every drawing too.
    connect(MapScale->lineEdit(), &QLineEdit::textEdited, this, [this] { MapScaleChange(); });
    connect(MapScale, &QComboBox::activated, this, [this] { MapScaleChange(); });

    setFixedSize(RightColumn + RightWidth + Margin, CardTop + CardSize + Margin);
}

TFormNavigator::~TFormNavigator()
{
    if (FormMap && FormMap->ScaleBox == MapScale)
        FormMap->ScaleBox = nullptr;
    if (FormNavigator == this)
        FormNavigator = nullptr;
}

Extended TFormNavigator::PanStep()
{
    if (FormNavigator) {
        if (FormNavigator->btn1->Down())
            return 1;
        if (FormNavigator->btn12->Down())
            return 0.5L;
        if (FormNavigator->btn14->Down())
            return 0.25L;
    }
    return 0.125L;
}

Extended TFormNavigator::ZoomFactor()
{
    if (FormNavigator) {
        if (FormNavigator->btn1->Down())
            return 2;
        if (FormNavigator->btn12->Down())
            return 1.5L;
        if (FormNavigator->btn14->Down())
            return 1.25L;
    }
    return 1.125L;
}

void TFormNavigator::ShowViewScale()
{
    if (FormNavigator && MainMap)
        FormNavigator->MapScale->setEditText(QString::number(MainMap->OutputScale));
}

void TFormNavigator::Pan(int dx, int dy)
{
    if (!ViewReady())
        return;
    const Extended f = PanStep();
    const QSize size = FormMap->SurfaceSize();
    const int H = size.height();
    Extended xBottom = 0, yLeft = 0, xTop = 0, yRight = 0;
    MainMap->ScrToGeo(H, 0, H, xBottom, yLeft);
    MainMap->ScrToGeo(H, size.width(), 0, xTop, yRight);
    const Extended shiftX = dx * (xTop - xBottom) * f;
    const Extended shiftY = dy * (yRight - yLeft) * f;
    auto view = std::make_unique<RMapView>();
    if (const RMapView* current = MainMap->MapViews.Item) {
        *view = *current;
    } else {
        view->ViewXMin = MainMap->ViewXMin;
        view->ViewYMin = MainMap->ViewYMin;
        view->ViewXMax = MainMap->ViewXMax;
        view->ViewYMax = MainMap->ViewYMax;
        view->FactorX = MainMap->FactorX;
        view->FactorY = MainMap->FactorY;
    }
    view->ViewXMin += shiftX;
    view->ViewXMax += shiftX;
    view->ViewYMin += shiftY;
    view->ViewYMax += shiftY;
    MainMap->MapViews.AddItem(std::move(view));
    MainMap->DrawPan(size.width(), size.height());
    ShowViewScale();
}

void TFormNavigator::PlanMoveUpLeftClick() { Pan(1, -1); }
void TFormNavigator::PlanMoveUpClick() { Pan(1, 0); }
void TFormNavigator::PlanMoveUpRightClick() { Pan(1, 1); }
void TFormNavigator::PlanMoveLeftClick() { Pan(0, -1); }
void TFormNavigator::PlanMoveRightClick() { Pan(0, 1); }
void TFormNavigator::PlanMoveDownLeftClick() { Pan(-1, -1); }
void TFormNavigator::PlanMoveDownClick() { Pan(-1, 0); }
void TFormNavigator::PlanMoveDownRightClick() { Pan(-1, 1); }

void TFormNavigator::btBackClick()
{
    if (!FormMap || !MainMap)
        return;
    if (MainMap->MapViews.GoLastItem())
        MainMap->MapViews.DeleteItem();
    DrawScreen(3);
    ShowViewScale();
}

void TFormNavigator::Zoom(bool in)
{
    if (!FormMap || !MainMap)
        return;
    const Extended f = ZoomFactor();
    const Extended V = MainMap->OutputScale;
    const auto N = std::int32_t(std::nearbyint(in ? V / f : V * f));
    std::int32_t& R = MainMap->DisplayScale;
    if (N == R)
        R += in ? -1 : 1;   // the scale always changes
    else
        R = N;
    DrawScreen(5);
    ShowViewScale();
}

void TFormNavigator::btInClick() { Zoom(true); }
void TFormNavigator::btOutClick() { Zoom(false); }

void TFormNavigator::MapScaleChange()
{
    if (!MainMap)
        return;
    bool ok = false;
    const int scale = MapScale->currentText().trimmed().toInt(&ok);
    if (!ok || scale < 1)
        return;   // typing goes on; nothing to draw yet
    MainMap->DisplayScale = scale;
    DrawScreen(5);
}

void TFormNavigator::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (e->spontaneous())
        return;
    ShowViewScale();
    if (TFormInstr1* palette = Form.FormInstr1) {
        const QRect frame = frameGeometry();
        move(palette->frameGeometry().left() - frame.width(), palette->frameGeometry().top());
    }
}

void TFormNavigator::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (!e->spontaneous() && Form.FormInstr1)
        Form.FormInstr1->sbNavigatorShow->SetDown(false);
}

// The plan's scale after each screen drawing, into the navigator's box once handed over.
void TFormMap::SetScaleBox(const QString& text)
{
    if (ScaleBox)
        ScaleBox->setEditText(text);
}
