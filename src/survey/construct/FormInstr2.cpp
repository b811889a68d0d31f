// The constructions palette. It keeps no objects of its own: every figure goes to the
// plan through the main window's creators, so the creation settings, the semantics
// question and the destination rule apply as they do to objects drawn with the mouse.
#include "survey/construct/FormInstr2.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "foundation/Constructions.h"
#include "foundation/DelphiFormat.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/DialogBase.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/VclTimer.h"
#include "survey/construct/ConstructDialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QShowEvent>

namespace {

constexpr int GlyphSize = 20;
const QRgb GlyphKey = qRgb(255, 0, 255);   // the bottom-left pixel: left unpainted

// A glyph drawn by paint on the transparent key, without smoothing (a blended edge
// would not match the key).
QImage Glyph(const std::function<void(QPainter&)>& paint)
{
    QImage image(GlyphSize, GlyphSize, QImage::Format_RGB32);
    image.fill(GlyphKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    paint(p);
    return image;
}

const QColor BaseColor(0, 0, 160);
const QColor FigureColor(0, 0, 0);
const QColor PointColor(220, 0, 0);

void BaseLine(QPainter& p, int y = 16)
{
    p.setPen(QPen(BaseColor, 2));
    p.drawLine(2, y, 17, y);
}

void Dot(QPainter& p, int x, int y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(PointColor);
    p.drawRect(x - 1, y - 1, 3, 3);
    p.setBrush(Qt::NoBrush);
}

QImage PolarGlyph()
{
    return Glyph([](QPainter& p) {
        BaseLine(p);
        p.setPen(QPen(FigureColor, 1));
        p.drawLine(3, 16, 13, 4);
        p.drawArc(QRect(-3, 10, 13, 13), 0, 50 * 16);
        Dot(p, 13, 4);
    });
}

QImage LinearGlyph()
{
    return Glyph([](QPainter& p) {
        BaseLine(p);
        p.setPen(QPen(FigureColor, 1));
        p.drawLine(2, 16, 7, 4);
        p.drawLine(17, 16, 7, 4);
        Dot(p, 7, 4);
    });
}

QImage SquareGlyph()
{
    return Glyph([](QPainter& p) {
        p.setPen(QPen(FigureColor, 1));
        p.drawRect(3, 3, 13, 13);
        BaseLine(p);
    });
}

QImage CircleGlyph()
{
    return Glyph([](QPainter& p) {
        p.setPen(QPen(FigureColor, 1));
        p.drawEllipse(QRect(2, 2, 15, 15));
        Dot(p, 9, 9);
    });
}

QImage DeletePointsGlyph()
{
    return Glyph([](QPainter& p) {
        Dot(p, 4, 5);
        Dot(p, 14, 8);
        Dot(p, 7, 15);
        p.setPen(QPen(FigureColor, 2));
        p.drawLine(4, 4, 15, 15);
        p.drawLine(15, 4, 4, 15);
    });
}

TNumEdit* CoordinateEdit(QWidget* parent, const char* name, const QRect& rect)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->ClearTextIFValueNotFloat = true;
    edit->UniversalDecimalSeparator = true;
    edit->EnableFloatPrecision = true;
    edit->SetNumberOfDecimalDigits(3);
    edit->setAlignment(Qt::AlignRight);
    edit->setGeometry(rect);
    return edit;
}

TExSpeedButton* ToolButton(QWidget* parent, const char* name, const QString& hint, const QImage& glyph,
                           const QRect& rect)
{
    auto* b = new TExSpeedButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->SetGlyph(glyph);
    b->setGeometry(rect);
    return b;
}

// Presses the tool palette's "Не запрашивать семантику" for its lifetime when asked,
// and releases it on leaving whatever happened meanwhile.
class TNoSemanticsQuestion {
public:
    TNoSemanticsQuestion(TFormMap& form, bool press)
        : Button(form.FormInstr1 ? form.FormInstr1->sbNoSem : nullptr)
    {
        if (press && Button)
            Button->SetDown(true);
    }
    ~TNoSemanticsQuestion()
    {
        if (Button)
            Button->SetDown(false);
    }
    TNoSemanticsQuestion(const TNoSemanticsQuestion&) = delete;
    TNoSemanticsQuestion& operator=(const TNoSemanticsQuestion&) = delete;

private:
    QPointer<TExSpeedButton> Button;
};

}  // namespace

TFormInstr2::TFormInstr2(TFormMap& form)
    : QWidget(&form, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Form(form)
{
    setObjectName(QStringLiteral("FormInstr2"));
    setWindowTitle(QStringLiteral("Геометрические построения"));
    setFont(DialogFont());
    setFixedSize(276, 196);
    if (form.FormInstr1)
        PaletteButton = form.FormInstr1->sbInstr2;

    auto* group = new QGroupBox(QStringLiteral("Исходная линия"), this);
    group->setGeometry(4, 2, 268, 118);
    const auto row = [group](int y, TExSpeedButton*& button, const char* caption, const char* hint,
                             const char* name, TNumEdit*& x, const char* xName, TNumEdit*& yEdit,
                             const char* yName) {
        button = new TExSpeedButton(group);
        button->setObjectName(QLatin1String(name));
        button->SetCaption(QString::fromUtf8(caption));
        button->setToolTip(QString::fromUtf8(hint));
        button->setGeometry(8, y, 60, 22);
        (new QLabel(QStringLiteral("x"), group))->setGeometry(74, y + 3, 10, 16);
        x = CoordinateEdit(group, xName, QRect(84, y, 84, 22));
        (new QLabel(QStringLiteral("y"), group))->setGeometry(173, y + 3, 10, 16);
        yEdit = CoordinateEdit(group, yName, QRect(182, y, 78, 22));
    };
    row(20, SpeedButton1, "Начало", "Выбрать начальную точку исходной линии", "SpeedButton1",
        NumEdit1, "NumEdit1", NumEdit2, "NumEdit2");
    row(46, SpeedButton2, "Конец", "Выбрать конечную точку исходной линии", "SpeedButton2",
        NumEdit3, "NumEdit3", NumEdit4, "NumEdit4");
    lbA = new QLabel(QStringLiteral("Дир.угол"), group);
    lbA->setObjectName(QStringLiteral("lbA"));
    lbA->setGeometry(8, 74, 252, 16);
    lbD = new QLabel(QStringLiteral("Длина"), group);
    lbD->setObjectName(QStringLiteral("lbD"));
    lbD->setGeometry(8, 94, 252, 16);

    cbTP = new QCheckBox(QStringLiteral(" исп.точки построения"), this);
    cbTP->setObjectName(QStringLiteral("cbTP"));
    cbTP->setGeometry(8, 126, 220, 20);
    cbTP->setChecked(true);

    SpeedButton3 = ToolButton(this, "SpeedButton3", QStringLiteral("полярная засечка"), PolarGlyph(),
                              QRect(8, 156, 32, 32));
    SpeedButton4 = ToolButton(this, "SpeedButton4", QStringLiteral("линейная засечка"), LinearGlyph(),
                              QRect(42, 156, 32, 32));
    SpeedButton8 = ToolButton(this, "SpeedButton8", QStringLiteral("квадрат,прямоугольник"),
                              SquareGlyph(), QRect(76, 156, 32, 32));
    SpeedButton7 = ToolButton(this, "SpeedButton7", QStringLiteral("окружность,многоугольник"),
                              CircleGlyph(), QRect(110, 156, 32, 32));
    sbDelTP = ToolButton(this, "sbDelTP", QStringLiteral("Удалить точки построения"),
                         DeletePointsGlyph(), QRect(236, 156, 32, 32));

    Timer2 = new TVclTimer(500, false, [this] { Timer2Timer(); }, this);

    SpeedButton1->OnClick = [this] { SpeedButton1Click(); };
    SpeedButton2->OnClick = [this] { SpeedButton2Click(); };
    SpeedButton3->OnClick = [this] { SpeedButton3Click(); };
    SpeedButton4->OnClick = [this] { SpeedButton4Click(); };
    SpeedButton8->OnClick = [this] { SpeedButton8Click(); };
    SpeedButton7->OnClick = [this] { SpeedButton7Click(); };
    sbDelTP->OnClick = [this] { sbDelTPClick(); };
    for (TNumEdit* e : {NumEdit1, NumEdit2, NumEdit3, NumEdit4})
        connect(e, &TNumEdit::Changed, this, [this] { CheckBaseLine(); });
}

void TFormInstr2::CheckBaseLine()
{
    for (TNumEdit* e : {NumEdit1, NumEdit2, NumEdit3, NumEdit4})
        if (!e->ExistFloatValue()) {
            Timer2->SetEnabled(false);
            return;
        }
    const TGeoPoint start = GeoPoint(NumEdit1->FloatValue(), NumEdit2->FloatValue());
    const TGeoPoint end = GeoPoint(NumEdit3->FloatValue(), NumEdit4->FloatValue());
    Extended length = 0;
    TGeoAngle direction = 0;
    OGZ(start.X, start.Y, end.X, end.Y, length, direction);
    // Whole seconds carried into the minutes, so that no "60''" is ever shown.
    int g = 0, m = 0;
    Extended s = 0;
    pGG_GMSRound(g, m, s, direction, 0);
    lbA->setText(QStringLiteral("Дир.угол %1°%2'%3''").arg(g).arg(m).arg(FloatToFixed(s, 0)));
    lbD->setText(QStringLiteral("Длина ") + FloatToFixed(length, 3) + QStringLiteral("м"));
    if (length != 0) {
        BaseStart = start;
        BaseEnd = end;
        Timer2->SetEnabled(true);
    } else {
        Timer2->SetEnabled(false);
    }
}

void TFormInstr2::EditedBaseLine(Extended& X1, Extended& Y1, Extended& X2, Extended& Y2)
{
    X1 = NumEdit1->FloatValue();
    Y1 = NumEdit2->FloatValue();
    X2 = NumEdit3->FloatValue();
    Y2 = NumEdit4->FloatValue();
}

void TFormInstr2::SpeedButton1Click() { Form.SetMouseMode(mmBaseLinePoint, 1, false); }

void TFormInstr2::SpeedButton2Click() { Form.SetMouseMode(mmBaseLinePoint, 2, false); }

void TFormInstr2::Intersection(bool polar)
{
    const bool constructionPoint = cbTP->isChecked();
    const TNoSemanticsQuestion noQuestion(Form, constructionPoint);
    if (constructionPoint)
        Form.PointCode = ConstructionPointCode;
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    EditedBaseLine(x1, y1, x2, y2);
    Extended x = 0, y = 0;
    const TModalResult result = polar ? InpPolarDialog(x1, y1, x2, y2, x, y)
                                      : Inp2LinesDialog(x, y, x1, y1, x2, y2);
    if (result == mrOk)
        Form.CreatePointByCoordinates(x, y);
}

void TFormInstr2::SpeedButton3Click() { Intersection(true); }

void TFormInstr2::SpeedButton4Click() { Intersection(false); }

void TFormInstr2::SpeedButton8Click()
{
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    EditedBaseLine(x1, y1, x2, y2);
    std::array<TGeoPoint, 4> corners{};
    int kind = ckPolygon;
    if (InpSQRDialog(corners, kind, x1, y1, x2, y2) != mrOk)
        return;
    Form.CreateNodes = FigureNodes({corners.begin(), corners.end()}, {0, 0, 0, 0, 0}, kind == ckLine);
    if (kind == ckLine)
        Form.CreateLineFromNodes();
    else
        Form.CreatePolygonFromNodes();
}

void TFormInstr2::SpeedButton7Click()
{
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    EditedBaseLine(x1, y1, x2, y2);
    Extended xc = 0, yc = 0, radius = 0;
    int kind = ckPolygon, n = 0;
    if (InpCircleDialog(xc, yc, radius, kind, n, x1, y1, x2, y2) != mrOk)
        return;
    Form.CreateNodes =
        FigureNodes(PolygonVertices(GeoPoint(xc, yc), radius, n), {0, 0, 1, 1, 0}, kind == ckLine);
    if (kind == ckLine)
        Form.CreateLineFromNodes();
    else
        Form.CreatePolygonFromNodes();
}

void TFormInstr2::sbDelTPClick()
{
    if (!MainMap)
        return;
    MainMap->DoCommand(mcDelObjects, TCommandParams()
                                         .Int(-1)
                                         .Int(-1)
                                         .Int(1)
                                         .Int(0)
                                         .Int(0)
                                         .Text(ConstructionPointObject)
                                         .Str());
    const QSize size = Form.SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 2, ddScreen);
}

void TFormInstr2::Timer2Timer() { Form.ConstructionPreview(BaseStart, BaseEnd); }

// Only the program's own showing and hiding count: the window system hides a tool window
// with its minimised owner and shows it again with it, and the palette's button stays.
void TFormInstr2::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous())
        CheckBaseLine();
}

void TFormInstr2::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (e->spontaneous())
        return;
    Timer2->SetEnabled(false);
    if (PaletteButton)
        PaletteButton->SetDown(false);
}

TCreateNodeArr FigureNodes(const std::vector<TGeoPoint>& vertices,
                           const std::array<std::uint8_t, 5>& attributes, bool closeLine)
{
    TCreateNodeArr nodes;
    nodes.reserve(vertices.size() + 1);
    for (const TGeoPoint& v : vertices) {
        RCreateNode node;
        node.Point = v;
        node.SegmentType = attributes[0];
        node.SegmentStyle = attributes[1];
        node.NodeLine = attributes[2];
        node.NodePicture = attributes[3];
        node.Curve = attributes[4];
        nodes.push_back(node);
    }
    if (closeLine && !nodes.empty())
        nodes.push_back(nodes.front());
    return nodes;
}

QWidget* NewConstructionsPalette(QWidget* owner)
{
    auto* form = qobject_cast<TFormMap*>(owner);
    return form ? new TFormInstr2(*form) : nullptr;
}
