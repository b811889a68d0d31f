// The sign picture editor's window: its controls, the view buttons, the mouse tools
// (zoom window, pan, selection with hover and drags, creation with rubber bands) and
// the whole-element commands. The picture and the view are computed by SymbolEditModel.
#include "editors/signs/UnitSymbolEdit.h"

#include "controls/ExSpeedButton.h"
#include "controls/TextListBox.h"
#include "editors/signs/TextStyleBase.h"
#include "editors/signs/UnitSymbolTextProp.h"
#include "engine/GeoMap.h"
#include "engine/draw/MapPainter.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/UnitMap.h"
#include "semantics/signs/Symbols.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

const char* const ModeTexts[9] = {
    "режим: Выбор объекта [",   "режим: Выбор вида [",          "режим: Сдвиг вида [",
    "режим: Создание линии [",  "режим: Создание полилинии [",  "режим: Создание полигона [",
    "режим: Создание текста [", "режим: Создание окружности [",
    "режим: Создание полигона в виде окружности ["};
const char* const ModeCursors[9] = {"SELECT", "ZOOM",  "MOVE",  "CROSS", "CROSS",
                                    "CROSS",  "CROSS", "CROSS", "CROSS"};

// Not-xor drawing with antialiasing off: drawn twice, every pixel is back.
void BeginXor(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
}

// Surface coordinates held far inside what QPainter takes.
QPointF Held(const QPointF& p)
{
    constexpr qreal m = 100000;
    return QPointF(std::clamp(p.x(), -m, m), std::clamp(p.y(), -m, m));
}

void NodeSquare(QPainter& p, const QPoint& at)
{
    p.drawRect(QRect(at - QPoint(5, 5), QSize(10, 10)));
}

}  // namespace

TModalResult SymbolEditDlg(TVpLayers* EditPict, const QString& titleSuffix, TGeoMap& map)
{
    TTrailGuard guard("UnitSymbolEdit", "function SymbolEditDlg(const EditPict:TVpLayers):TModalResult;");
    if (!EditPict)
        throw Exception(QStringLiteral("Переданный редактору указатель на экземпляр TVPLayers недействителен!"));
    TFormSymbolEdit window(*EditPict, map, titleSuffix, DialogOwner());
    const TModalResult result = window.ShowModal();
    // The line-sign renderer takes the middle of every polyline's and polygon's east
    // range as its centre; new and moved ones get it here, as the sign loader gives it.
    SetReferencePoints(*EditPict);
    return result;
}

// ---- Surface ----

TSymbolEditSurface::TSymbolEditSurface(TFormSymbolEdit& form, QWidget* parent)
    : QWidget(parent), Form(form)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(100, 100);
}

void TSymbolEditSurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, Form.Canvas);
}

void TSymbolEditSurface::resizeEvent(QResizeEvent*)
{
    Form.SurfaceResized();
}

void TSymbolEditSurface::mousePressEvent(QMouseEvent* e)
{
    Form.SurfaceDown(e->button(), e->position().toPoint());
}

void TSymbolEditSurface::mouseMoveEvent(QMouseEvent* e)
{
    Form.SurfaceMove(e->buttons(), e->position().toPoint());
}

void TSymbolEditSurface::mouseReleaseEvent(QMouseEvent* e)
{
    Form.SurfaceUp(e->button(), e->position().toPoint());
}

// ---- Window ----

TFormSymbolEdit::TFormSymbolEdit(TVpLayers& pict, TGeoMap& map, const QString& titleSuffix,
                                 QWidget* parent)
    : TDialogBase(parent), Pict(pict), Map(map)
{
    setObjectName(QStringLiteral("FormSymbolEdit"));
    setWindowTitle(QStringLiteral("Редактор условных знаков : ") + titleSuffix);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    Sizeable = true;
    TextPropDialog = [](RVpText& text, TSymbols& symbols) { return SymbolTextPropDlg(text, symbols); };

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    // The tool bar.
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 3, 4, 3);
    bar->setSpacing(2);
    root->addLayout(bar);
    sbSelectView = ModeButton(QStringLiteral("Вид"), QStringLiteral("Выбор вида"), 1);
    sbAllView = ToolButton(QStringLiteral("Все"), QStringLiteral("Весь план в окне"));
    sbViewIn = ToolButton(QStringLiteral("*2"), QStringLiteral("Увеличить"));
    sbViewOut = ToolButton(QStringLiteral("/2"), QStringLiteral("Уменьшить"));
    sbMoveView = ModeButton(QStringLiteral("Сдв"), QStringLiteral("Перемещение вида"), 2);
    sbSelectObject = ModeButton(QStringLiteral("Выб"), QStringLiteral("Выбор объектов"), 0);
    sbLine = ModeButton(QStringLiteral("╱"), QStringLiteral("создать линию"), 3);
    sbPolyline = ModeButton(QStringLiteral("╱╲╱"), QStringLiteral("создать полилинию"), 4);
    sbPolygon = ModeButton(QStringLiteral("▱"), QStringLiteral("создать полигон"), 5);
    sbCircle = ModeButton(QStringLiteral("○"), QStringLiteral("создать окружность"), 7);
    sbText = ModeButton(QStringLiteral("A"), QStringLiteral("Создать надпись"), 6);
    sbPCircle = ModeButton(QStringLiteral("⬡"), QStringLiteral("создать полигон-окружность"), 8);
    for (TExSpeedButton* b : {sbSelectView, sbAllView, sbViewIn, sbViewOut, sbMoveView})
        bar->addWidget(b);
    bar->addSpacing(12);
    for (TExSpeedButton* b : {sbSelectObject, sbLine, sbPolyline, sbPolygon, sbCircle, sbText, sbPCircle})
        bar->addWidget(b);
    auto* cornersLabel = new QLabel(QStringLiteral("число\nуглов"), this);
    bar->addWidget(cornersLabel);
    NumEdit2 = new TNumEdit(this);
    NumEdit2->setObjectName(QStringLiteral("NumEdit2"));
    NumEdit2->ClearTextIFValueNotInteger = true;
    NumEdit2->setText(QStringLiteral("8"));
    NumEdit2->setFixedWidth(40);
    bar->addWidget(NumEdit2);
    bar->addStretch(1);
    sbAllView->OnClick = [this] { AllViewClick(); };
    sbViewIn->OnClick = [this] { ZoomClick(true); };
    sbViewOut->OnClick = [this] { ZoomClick(false); };

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    root->addLayout(middle, 1);
    Surface = new TSymbolEditSurface(*this, this);
    middle->addWidget(Surface, 1);

    // The side panel.
    auto* side = new QWidget(this);
    side->setFixedWidth(204);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(4, 4, 4, 4);
    middle->addWidget(side);

    auto* colours = new QGroupBox(QStringLiteral("Цвет"), side);
    auto* colourGrid = new QVBoxLayout(colours);
    auto* colourRow = new QHBoxLayout;
    colourGrid->addLayout(colourRow);
    auto* penLabel = new QLabel(QStringLiteral("линия"), colours);
    auto* brushLabel = new QLabel(QStringLiteral("заливка"), colours);
    pnPenColor = new TColorPanel(colours);
    pnPenColor->setObjectName(QStringLiteral("pnPenColor"));
    pnPenColor->setFixedSize(36, 24);
    pnPenColor->SetColor(0);
    pnBrushColor = new TColorPanel(colours);
    pnBrushColor->setObjectName(QStringLiteral("pnBrushColor"));
    pnBrushColor->setFixedSize(36, 24);
    pnBrushColor->SetColor(0x808080);   // grey
    Image1 = ToolButton(QStringLiteral("⇄"), QString());
    Image1->setObjectName(QStringLiteral("Image1"));
    auto* penBox = new QVBoxLayout;
    penBox->addWidget(penLabel);
    penBox->addWidget(pnPenColor);
    auto* brushBox = new QVBoxLayout;
    brushBox->addWidget(brushLabel);
    brushBox->addWidget(pnBrushColor);
    colourRow->addLayout(penBox);
    colourRow->addWidget(Image1, 0, Qt::AlignBottom);
    colourRow->addLayout(brushBox);
    colourRow->addStretch(1);
    RadioButton1 = new QRadioButton(QStringLiteral("заливка выбранная"), colours);
    RadioButton2 = new QRadioButton(QStringLiteral("заливка фоновая"), colours);
    RadioButton3 = new QRadioButton(QStringLiteral("без заливки"), colours);
    RadioButton1->setChecked(true);
    colourGrid->addWidget(RadioButton1);
    colourGrid->addWidget(RadioButton2);
    colourGrid->addWidget(RadioButton3);
    SpeedButton6 = ToolButton(QStringLiteral("Применить"), QStringLiteral("применить выбранные цвета к выделенному элементу"));
    SpeedButton6->setFixedSize(90, 24);
    colourGrid->addWidget(SpeedButton6, 0, Qt::AlignRight);
    column->addWidget(colours);
    connect(pnPenColor, &TColorPanel::Clicked, this, [this] {
        std::int32_t c = pnPenColor->Color();
        if (ExecColorDialog(c))
            pnPenColor->SetColor(c);
    });
    connect(pnBrushColor, &TColorPanel::Clicked, this, [this] {
        std::int32_t c = pnBrushColor->Color();
        if (ExecColorDialog(c))
            pnBrushColor->SetColor(c);
    });
    Image1->OnClick = [this] { SwapColoursClick(); };
    SpeedButton6->OnClick = [this] { ApplyColoursClick(); };

    auto* widthBox = new QGroupBox(QStringLiteral("Толщина линий"), side);
    auto* widthRow = new QHBoxLayout(widthBox);
    NumEdit1 = new TNumEdit(widthBox);
    NumEdit1->setObjectName(QStringLiteral("NumEdit1"));
    NumEdit1->UniversalDecimalSeparator = true;
    NumEdit1->ClearTextIFValueNotFloat = true;
    NumEdit1->setText(QStringLiteral("0,1"));
    NumEdit1->setFixedWidth(60);
    widthRow->addWidget(NumEdit1);
    widthRow->addWidget(new QLabel(QStringLiteral("мм"), widthBox));
    widthRow->addStretch(1);
    SpeedButton5 = ToolButton(QStringLiteral("Применить"), QStringLiteral("применить толщину к выделенному элементу"));
    SpeedButton5->setFixedSize(90, 24);
    widthRow->addWidget(SpeedButton5);
    column->addWidget(widthBox);
    SpeedButton5->OnClick = [this] { ApplyWidthClick(); };

    auto* foundBox = new QGroupBox(QStringLiteral("Выбранный объект"), side);
    auto* foundRow = new QVBoxLayout(foundBox);
    ComboBox1 = new QComboBox(foundBox);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEnabled(false);
    foundRow->addWidget(ComboBox1);
    column->addWidget(foundBox);
    connect(ComboBox1, &QComboBox::activated, this, [this](int i) { FoundChosen(i); });

    column->addWidget(new QLabel(QStringLiteral("Состав рисунка"), side));
    TextListBox1 = new TTextListBox(side);
    TextListBox1->setObjectName(QStringLiteral("TextListBox1"));
    column->addWidget(TextListBox1, 1);
    connect(TextListBox1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ElementRowClicked(TextListBox1->row(item)); });
    auto* listButtons = new QHBoxLayout;
    SpeedButton1 = ToolButton(QStringLiteral("▲"), QStringLiteral("переместить вверх выделенный элемент"));
    SpeedButton2 = ToolButton(QStringLiteral("▼"), QStringLiteral("переместить вниз выделенный элемент"));
    SpeedButton3 = ToolButton(QStringLiteral("✕"), QStringLiteral("удалить выделенный элемент"));
    SpeedButton4 = ToolButton(QStringLiteral("Очист."), QStringLiteral("очистить рисунок"));
    SpeedButton4->setFixedSize(56, 25);
    for (TExSpeedButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
        listButtons->addWidget(b);
    listButtons->addStretch(1);
    column->addLayout(listButtons);
    SpeedButton1->OnClick = [this] { MoveClick(true); };
    SpeedButton2->OnClick = [this] { MoveClick(false); };
    SpeedButton3->OnClick = [this] { DeleteClick(); };
    SpeedButton4->OnClick = [this] { ClearClick(); };

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    const int widths[4] = {80, 90, 90, 0};
    for (int i = 0; i < 4; ++i) {
        Panels[i] = new QLabel(StatusBar1);
        Panels[i]->setFrameShape(QFrame::Panel);
        Panels[i]->setFrameShadow(QFrame::Sunken);
        if (widths[i] > 0) {
            Panels[i]->setFixedWidth(widths[i]);
            StatusBar1->addWidget(Panels[i]);
        } else {
            StatusBar1->addWidget(Panels[i], 1);
        }
    }
    root->addWidget(StatusBar1);

    TextPopUp = new QMenu(this);
    TextPopUp->addAction(QStringLiteral("Свойства"), this, [this] { TextPropertiesClick(); });

    View.K0 = Map.ScreenDpi / 25.4L;
    View.K = View.K0;
    View.Zoom = 1;
    FillElementList();
    resize(800, 600);
    SetMode(1);
}

TExSpeedButton* TFormSymbolEdit::ModeButton(const QString& caption, const QString& hint, int mode)
{
    TExSpeedButton* b = ToolButton(caption, hint);
    b->SetGroupIndex(1);
    ModeButtons[mode] = b;
    b->OnClick = [this, mode] { SetMode(mode); };
    return b;
}

TExSpeedButton* TFormSymbolEdit::ToolButton(const QString& caption, const QString& hint)
{
    auto* b = new TExSpeedButton(this);
    b->SetCaption(caption);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    b->setFixedSize(caption.size() > 2 ? 36 : 28, 25);
    return b;
}

void TFormSymbolEdit::SetCursorNamed(const char* name)
{
    const QString key = QString::fromLatin1(name);
    if (FormMap && FormMap->Cursors.contains(key))
        Surface->setCursor(FormMap->Cursors.value(key));
    else
        Surface->setCursor(key == QLatin1String("SELECT") || key.startsWith(QLatin1String("ON")) ||
                                   key == QLatin1String("OnRadius")
                               ? Qt::ArrowCursor
                               : key.startsWith(QLatin1String("MOVE")) || key == QLatin1String("MoveRadius")
                               ? Qt::SizeAllCursor
                               : Qt::CrossCursor);
}

void TFormSymbolEdit::showEvent(QShowEvent* e)
{
    TDialogBase::showEvent(e);
    if (Shown)
        return;
    Shown = true;
    setWindowState(windowState() | Qt::WindowMaximized);
    SetMode(1);
}

void TFormSymbolEdit::done(int r)
{
    HideXor();
    TDialogBase::done(r);
}

int TFormSymbolEdit::SelectedElement() const
{
    const int i = ComboBox1->currentIndex();
    if (!ComboBox1->isEnabled() || i < 0 || i >= int(Found.size()))
        return -1;
    const int element = Found[std::size_t(i)].Index;
    return element < Pict.GetCount() ? element : -1;
}

int TFormSymbolEdit::PickHalfSide() const
{
    const int p = FormMap ? FormMap->PickRadius : 10;
    return int(Round(Extended(p) / 2));
}

TNewPrimStyle TFormSymbolEdit::NewStyle() const
{
    TNewPrimStyle s;
    s.PenColor = pnPenColor->Color();
    s.FillColor = pnBrushColor->Color();
    s.FillKind = RadioButton1->isChecked() ? vfColor : RadioButton2->isChecked() ? vfBackdrop : vfNone;
    s.Width = NumEdit1->FloatValue();
    return s;
}

void TFormSymbolEdit::SetMode(int mode)
{
    if (mode < 0 || mode > 8)
        return;
    HideXor();
    // An abandoned gesture leaves its fixed segments on the canvas: the tile wipes them.
    const bool abandoned = Step > 0 && Mode >= 3 && !Canvas.isNull();
    Mode = mode;
    Step = 0;
    if (abandoned)
        RefreshCanvas();
    if (mode == 0)
        Hover = {};
    if (ModeButtons[mode])
        ModeButtons[mode]->SetDown(true);
    SetCursorNamed(ModeCursors[mode]);
    Panels[3]->setText(QString::fromUtf8(ModeTexts[mode]) + QString::number(Step) + u']');
}

// ---- View ----

void TFormSymbolEdit::Render(int viewMode)
{
    const int w = std::max(1, Surface->width());
    const int h = std::max(1, Surface->height());
    View.W = w;
    View.H = h;
    if (Offscreen.size() != QSize(3 * w, 3 * h))
        Offscreen = QImage(3 * w, 3 * h, QImage::Format_RGB32);
    SurfaceOffset = QPoint(w, h);
    switch (viewMode) {
    case 0:
        View.SetExtentsOf(Pict);
        View.Fit();
        break;
    case 2:
    case 5:
        View.Fit();
        break;
    case 3:
        View.ZoomTo(View.Zoom);
        break;
    default:
        break;
    }
    const QString zoom = ZoomText(View.K, View.K0);
    Panels[0]->setText(zoom);
    if (zoom == QLatin1String("ошибка")) {
        Offscreen.fill(Qt::white);
        return;
    }
    RenderSymbolPicture(Offscreen, SurfaceOffset, Pict, View, *Map.Symbols);
    RefreshCanvas();
}

void TFormSymbolEdit::RefreshCanvas()
{
    XorShown = nullptr;   // the copy wipes any band
    const QSize size = Surface->size();
    if (Canvas.size() != size)
        Canvas = QImage(size, QImage::Format_RGB32);
    Canvas.fill(Qt::white);
    {
        QPainter p(&Canvas);
        p.drawImage(QPoint(0, 0), Offscreen, QRect(SurfaceOffset, size));
        if (Mode == 0 && SelectedElement() >= 0)
            DrawHighlight(p);
    }
    Surface->update();
}

void TFormSymbolEdit::DrawHighlight(QPainter& p)
{
    const RVpLayer* layer = Pict.At(SelectedElement());
    if (!layer)
        return;
    BeginXor(p);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.setBrush(Qt::NoBrush);
    const QPolygon handles = HandlePoints(*layer, View);
    switch (ElementKind(*layer)) {
    case spkPolygon:
        for (const QPoint& q : handles)
            NodeSquare(p, q);
        p.drawPolygon(handles);
        break;
    case spkCircle: {
        NodeSquare(p, handles[0]);
        const qreal r = qreal(layer->Circles.At(0)->Radius * View.K);
        p.drawEllipse(Held(QPointF(handles[0])), r, r);
        break;
    }
    case spkLine:
    case spkPolyline:
        for (const QPoint& q : handles)
            NodeSquare(p, q);
        p.drawPolyline(handles);
        break;
    case spkText:
        p.drawPolygon(handles);
        break;
    default:
        break;
    }
}

void TFormSymbolEdit::ShowXor(std::function<void(QPainter&)> draw)
{
    QPainter p(&Canvas);
    BeginXor(p);
    if (XorShown)
        XorShown(p);
    draw(p);
    XorShown = std::move(draw);
    Surface->update();
}

void TFormSymbolEdit::HideXor()
{
    if (!XorShown)
        return;
    {
        QPainter p(&Canvas);
        BeginXor(p);
        XorShown(p);
    }
    XorShown = nullptr;
    Surface->update();
}

void TFormSymbolEdit::SurfaceResized()
{
    if (Shown || isVisible())
        Render(Offscreen.isNull() ? 0 : 2);
}

void TFormSymbolEdit::FillElementList()
{
    TextListBox1->clear();
    TextListBox1->addItems(ElementRows(Pict));
}

void TFormSymbolEdit::ShowFound()
{
    ComboBox1->clear();
    if (Found.empty()) {
        ComboBox1->setEnabled(false);
        TextListBox1->clearSelection();
        return;
    }
    for (const TFindedObject& f : Found)
        ComboBox1->addItem(f.Name);
    ComboBox1->setEnabled(true);
    ComboBox1->setCurrentIndex(0);
    TextListBox1->setCurrentRow(Found.front().Index);
}

void TFormSymbolEdit::EndEdit()
{
    Found.clear();
    Hover = {};
    ShowFound();
    FillElementList();
}

// ---- Buttons ----

void TFormSymbolEdit::AllViewClick()
{
    Render(0);
}

void TFormSymbolEdit::ZoomClick(bool in)
{
    View.Zoom = in ? View.K / View.K0 * 1.2L : View.K / View.K0 / 1.2L;
    Render(3);
}

void TFormSymbolEdit::ApplyColoursClick()
{
    if (RVpLayer* layer = Pict.At(SelectedElement())) {
        const TNewPrimStyle s = NewStyle();
        ApplyColours(*layer, s.PenColor, s.FillColor, s.FillKind);
        Render(1);
    }
}

void TFormSymbolEdit::ApplyWidthClick()
{
    if (RVpLayer* layer = Pict.At(SelectedElement())) {
        ApplyWidth(*layer, NumEdit1->FloatValue());
        Render(1);
    }
}

void TFormSymbolEdit::MoveClick(bool up)
{
    const int row = TextListBox1->currentRow();
    if (!MoveElement(Pict, row, up))
        return;
    EndEdit();
    TextListBox1->setCurrentRow(up ? row - 1 : row + 1);
    Render(1);
}

void TFormSymbolEdit::DeleteClick()
{
    const int row = TextListBox1->currentRow();
    if (!Pict.GoItem(row))
        return;
    Pict.DeleteItem();
    EndEdit();
    Render(1);
}

void TFormSymbolEdit::ClearClick()
{
    Pict.DeleteAll();
    EndEdit();
    Render(1);
}

void TFormSymbolEdit::SwapColoursClick()
{
    const std::int32_t pen = pnPenColor->Color();
    pnPenColor->SetColor(pnBrushColor->Color());
    pnBrushColor->SetColor(pen);
}

void TFormSymbolEdit::ElementRowClicked(int row)
{
    if (row < 0 || row >= Pict.GetCount())
        return;
    SetMode(0);
    Found = {{row, TextListBox1->item(row)->text()}};
    ComboBox1->clear();
    ComboBox1->addItem(Found.front().Name);
    ComboBox1->setEnabled(true);
    ComboBox1->setCurrentIndex(0);
    Pict.GoItem(row);
    RefreshCanvas();
}

void TFormSymbolEdit::FoundChosen(int index)
{
    if (index < 0 || index >= int(Found.size()))
        return;
    TextListBox1->setCurrentRow(Found[std::size_t(index)].Index);
    RefreshCanvas();
}

void TFormSymbolEdit::TextPropertiesClick()
{
    RVpLayer* layer = Pict.At(SelectedElement());
    if (!layer || layer->Texts.GetCount() == 0)
        return;
    TextPropDialog(*layer->Texts.At(0), *Map.Symbols);
    Render(1);
}

// ---- Mouse ----

void TFormSymbolEdit::SurfaceDown(Qt::MouseButton button, const QPoint& at)
{
    PressPoint = at;
    PressMM = View.ToMM(at);
    Moved = false;
    if (button == Qt::RightButton && Mode != 2) {
        // The right button pans in every mode and gives the mode back on release.
        HideXor();
        SavedMode = Mode;
        SavedStep = Step;
        Panning = true;
        PanButton = button;
        SetCursorNamed("MOVEDN");
        return;
    }
    if (button != Qt::LeftButton)
        return;
    LeftHeld = true;
    switch (Mode) {
    case 0:
        if (Hover.State != hsNothing)
            SetCursorNamed(Hover.State == hsNode ? "MOVENODE" : Hover.State == hsBody ? "MOVEOBJECT" : "MoveRadius");
        break;
    case 1:
        Step = 1;
        break;
    case 2:
        Step = 1;
        Panning = true;
        PanButton = button;
        SetCursorNamed("MOVEDN");
        break;
    default:
        CreationPress(PressMM);
        break;
    }
    if (Mode >= 0 && Mode <= 8)
        Panels[3]->setText(QString::fromUtf8(ModeTexts[Mode]) + QString::number(Step) + u']');
}

void TFormSymbolEdit::CreationPress(const TGeoPoint& at)
{
    if (Mode == 6) {
        const TGeoTextStyles& styles = Map.Symbols->TextStyles;
        // A library without styles gives the text no style name.
        const QString style = styles.GetCount() > 0 ? styles.At(0)->StyleName : QString();
        RVpText& text = AddText(Pict, style, at);
        Render(1);
        TextPropDialog(text, *Map.Symbols);
        Created();
        return;
    }
    if (Step == 0) {
        Points = {at};
        Step = 1;
        return;
    }
    const TNewPrimStyle s = NewStyle();
    switch (Mode) {
    case 3:
        AddLine(Pict, s, Points.front(), at);
        Created();
        break;
    case 4:
    case 5:
        Points.push_back(at);
        break;
    case 7: {
        Extended r = 0;
        Dist(Points.front(), at, r);
        AddCircle(Pict, s, Points.front(), r);
        Created();
        break;
    }
    case 8: {
        const int n = NumEdit2->IntegerValue();
        if (n < 3) {
            HideXor();
            ShowMsgDialog(QStringLiteral("Ошибка"), QStringLiteral("Число углов должно быть не меньше 3"));
            Points.clear();
            Step = 0;
            RefreshCanvas();
            return;
        }
        Extended r = 0;
        Dist(Points.front(), at, r);
        Points = RegularPolygonCorners(Points.front(), r, n);
        AddPolygon(Pict, s, Points);
        Created();
        break;
    }
    default:
        break;
    }
}

void TFormSymbolEdit::FinishPoints()
{
    const TNewPrimStyle s = NewStyle();
    if (Mode == 4)
        AddPolyline(Pict, s, Points);
    else
        AddPolygon(Pict, s, Points);
    Created();
}

void TFormSymbolEdit::Created()
{
    XorShown = nullptr;
    Points.clear();
    EndEdit();
    Render(1);
    SetMode(Mode);
}

void TFormSymbolEdit::SurfaceMove(Qt::MouseButtons buttons, const QPoint& at)
{
    const TGeoPoint mm = View.ToMM(at);
    Panels[1]->setText(CoordText(mm.X));
    Panels[2]->setText(CoordText(mm.Y));
    if (at != PressPoint)
        Moved = true;
    if (Panning) {
        SurfaceOffset = QPoint(View.W, View.H) - (at - PressPoint);
        QPainter p(&Canvas);
        p.fillRect(Canvas.rect(), Qt::white);
        p.drawImage(QPoint(0, 0), Offscreen, QRect(SurfaceOffset, Canvas.size()));
        XorShown = nullptr;
        Surface->update();
        return;
    }
    if (Mode == 1 && Step == 1 && (buttons & Qt::LeftButton)) {
        const QRect r = QRect(PressPoint, at).normalized();
        ShowXor([r](QPainter& p) {
            p.setPen(QPen(QColor(0, 128, 0), 2));   // 32768
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        });
        return;
    }
    if (Mode == 0) {
        const RVpLayer* layer = Pict.At(SelectedElement());
        if (!layer)
            return;
        if (LeftHeld && (buttons & Qt::LeftButton) && Hover.State != hsNothing) {
            const TGeoPoint offset = GeoPoint(mm.X - PressMM.X, mm.Y - PressMM.Y);
            const TDragPreview preview = DragPreview(*layer, Hover, offset, mm, View);
            ShowXor([preview](QPainter& p) {
                p.setPen(QPen(QColor(255, 0, 0), 1, Qt::DashLine));
                p.setBrush(Qt::NoBrush);
                for (const QPolygonF& line : preview.Lines) {
                    QPolygonF held;
                    for (const QPointF& q : line)
                        held << Held(q);
                    p.drawPolyline(held);
                }
                if (preview.Circle) {
                    const qreal r = std::min<qreal>(qreal(preview.Radius), 100000);
                    p.drawEllipse(Held(preview.Centre), r, r);
                }
            });
            return;
        }
        if (!LeftHeld) {
            Hover = HoverAt(*layer, View, at, PickHalfSide());
            static const char* const names[4] = {"SELECT", "ONNODE", "ONOBJECT", "OnRadius"};
            SetCursorNamed(names[Hover.State]);
        }
        return;
    }
    if (Mode >= 3 && Mode != 6 && Step == 1)
        RubberBand(at);
}

void TFormSymbolEdit::RubberBand(const QPoint& mouse)
{
    const TNewPrimStyle s = NewStyle();
    const int width = int(std::min<Extended>(1000, std::max<Extended>(0, Round(s.Width * View.K))));
    const QColor colour = TColorToQColor(s.PenColor);
    std::vector<QPointF> fixed;
    for (const TGeoPoint& q : Points)
        fixed.push_back(Held(View.ToScreen(q)));
    // The last band goes first: the fixed segments, drawn plainly, stay on the canvas
    // until the next repaint, and erasing a band over them would punch them out.
    HideXor();
    if (fixed.size() > 1) {
        QPainter p(&Canvas);
        p.setPen(QPen(colour, std::max(1, width)));
        for (std::size_t i = 1; i < fixed.size(); ++i)
            p.drawLine(fixed[i - 1], fixed[i]);
    }
    const QPointF m(mouse);
    const int mode = Mode;
    QBrush brush = Qt::NoBrush;
    if (s.FillKind == vfColor)
        brush = QBrush(TColorToQColor(s.FillColor));
    else if (s.FillKind == vfBackdrop)
        brush = QBrush(Qt::white);
    std::vector<QPointF> outline;
    if (mode == 8) {
        const int n = NumEdit2->IntegerValue();
        Extended r = 0;
        Dist(Points.front(), View.ToMM(mouse), r);
        for (const TGeoPoint& q : RegularPolygonCorners(Points.front(), r, n))
            outline.push_back(Held(View.ToScreen(q)));
        // A corner count whose steps do not sum to 360 exactly leaves the last side open.
        if (outline.size() > 2 && outline.back() != outline.front())
            outline.push_back(outline.front());
    }
    ShowXor([=](QPainter& p) {
        p.setPen(QPen(colour, std::max(1, width)));
        p.setBrush(Qt::NoBrush);
        switch (mode) {
        case 7: {
            p.setBrush(brush);
            const qreal r = std::hypot(m.x() - fixed.front().x(), m.y() - fixed.front().y());
            p.drawEllipse(fixed.front(), r, r);
            break;
        }
        case 8:
            if (outline.size() > 1)
                p.drawPolyline(outline.data(), int(outline.size()));
            break;
        default:
            p.drawLine(fixed.back(), m);
            if (mode == 5 && fixed.size() >= 2)
                p.drawLine(fixed.front(), m);
            break;
        }
    });
}

void TFormSymbolEdit::SurfaceUp(Qt::MouseButton button, const QPoint& at)
{
    const TGeoPoint releaseMM = View.ToMM(at);
    if (button == Qt::LeftButton)
        LeftHeld = false;
    if (Panning && button == PanButton) {
        Panning = false;
        const bool right = PanButton == Qt::RightButton;
        if (Moved) {
            View.Pan(PressMM, releaseMM);
            Render(4);
        } else {
            SurfaceOffset = QPoint(View.W, View.H);   // nothing moved: the canvas stands
        }
        if (right) {
            // The interrupted mode and step come back as they were (the hover too).
            Mode = SavedMode;
            Step = SavedStep;
            if (ModeButtons[Mode])
                ModeButtons[Mode]->SetDown(true);
            SetCursorNamed(ModeCursors[Mode]);
            Panels[3]->setText(QString::fromUtf8(ModeTexts[Mode]) + QString::number(Step) + u']');
            if (!Moved) {
                // A right click: it finishes a polyline or polygon of more than one
                // point, and opens the text's pop-up over a selected text.
                if ((Mode == 4 || Mode == 5) && Step == 1 && Points.size() > 1)
                    FinishPoints();
                else if (Mode == 0 && Hover.State == hsBody) {
                    const RVpLayer* layer = Pict.At(SelectedElement());
                    if (layer && layer->Texts.GetCount() > 0)
                        TextPopUp->popup(Surface->mapToGlobal(at));
                }
            }
        } else {
            Step = 0;
            SetMode(2);
        }
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (Mode == 1 && Step == 1) {
        HideXor();
        Step = 0;
        View.SetExtents(PressMM, releaseMM);
        Render(5);
        SetMode(1);
        return;
    }
    if (Mode != 0)
        return;
    if (Hover.State == hsNothing) {
        const Extended half = PickHalfSide() / View.K;
        Found = FindElementsAt(Pict, releaseMM, half);
        ShowFound();
        RefreshCanvas();
        return;
    }
    // A press on the selected element ends as a drag, also without movement.
    HideXor();
    if (RVpLayer* layer = Pict.At(SelectedElement())) {
        ApplyDrag(*layer, Hover, GeoPoint(releaseMM.X - PressMM.X, releaseMM.Y - PressMM.Y), releaseMM);
        Render(1);
        static const char* const names[4] = {"SELECT", "ONNODE", "ONOBJECT", "OnRadius"};
        SetCursorNamed(names[Hover.State]);
    }
}
