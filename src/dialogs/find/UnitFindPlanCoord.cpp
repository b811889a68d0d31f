// Finding a 1:500 sheet by its nomenclature. The conversions are the main plan's; the
// window only composes the name, shows the corners and adds a view for the sheet.
#include "dialogs/find/UnitFindPlanCoord.h"

#include "engine/EngineServices.h"
#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/modes/MapViews.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>

namespace {

// The sheet as a square with its cells, between the two corner pairs.
class TSheetPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.fillRect(r, Qt::white);
        p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DotLine));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(r.left() + r.width() * i / 4, r.top(), r.left() + r.width() * i / 4, r.bottom());
            p.drawLine(r.left(), r.top() + r.height() * i / 4, r.right(), r.top() + r.height() * i / 4);
        }
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(r.adjusted(1, 1, 0, 0));
        p.setBrush(Qt::black);
        p.drawEllipse(QPoint(r.left() + 2, r.bottom() - 1), 3, 3);   // the two corners shown
        p.drawEllipse(QPoint(r.right() - 1, r.top() + 2), 3, 3);
    }
};

TNumEdit* CornerEdit(QWidget* parent, const char* name)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->ClearTextIFValueNotFloat = true;
    edit->UniversalDecimalSeparator = true;
    edit->EnableFloatPrecision = true;
    edit->SetNumberOfDecimalDigits(0);
    return edit;
}

}  // namespace

QString ComposeNomenclature(const QString& base, const QString& letter, const QString& cell)
{
    QString name = base + QLatin1Char('-') + letter + QLatin1Char('-') + cell;
    for (int i = 0; i < 2; ++i)
        if (name.startsWith(QLatin1Char('0')))
            name.remove(0, 1);
    if (name.size() >= 2 && name.at(name.size() - 2) == QLatin1Char('0'))
        name.remove(name.size() - 2, 1);
    return name;
}

void ShowPlanView(Extended x1, Extended y1, Extended x2, Extended y2)
{
    if (!MainMap)
        return;
    AppendMapView(*MainMap, x1, y1, x2, y2);
    const QSize surface = MainMap->Ui().SurfaceSize();
    MainMap->Draw(surface.width(), surface.height(), 4, ddScreen);
}

QLabel* NomenclatureLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("Label1"));
    QFont big = label->font();
    big.setBold(true);
    if (big.pixelSize() > 0)   // the windows' font is sized in pixels
        big.setPixelSize(big.pixelSize() * 3 / 2);
    else
        big.setPointSizeF(big.pointSizeF() * 1.5);
    label->setFont(big);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

TFormFindPlanCoord::TFormFindPlanCoord(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Определить координаты планшета по номенклатуре"));
    // Wide enough for its long title; the sheet picture and its corners keep the middle.
    SetClientSize(496, 300);

    auto* baseLabel = new QLabel(QStringLiteral("Базовый лист"), this);
    Place(baseLabel, QRect(12, 10, 90, 16));
    NumEdit1 = new TNumEdit(this);
    NumEdit1->setObjectName(QStringLiteral("NumEdit1"));
    NumEdit1->ClearTextIFValueNotInteger = true;
    NumEdit1->ClearAndChangeToOldValue = true;
    Place(NumEdit1, QRect(12, 28, 90, 21));

    auto* letterLabel = new QLabel(QStringLiteral("Часть"), this);
    Place(letterLabel, QRect(118, 10, 60, 16));
    auto* letters = new QButtonGroup(this);
    letters->setExclusive(true);
    QToolButton** buttons[4] = {&SpeedButton1, &SpeedButton2, &SpeedButton3, &SpeedButton4};
    const char* captions[4] = {"А", "Б", "В", "Г"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        b->setText(QString::fromUtf8(captions[i]));
        b->setCheckable(true);
        // As the quarters lie: А north-west, Б north-east, В south-west, Г south-east.
        Place(b, QRect(118 + (i % 2) * 27, 28 + (i / 2) * 25, 25, 23));
        letters->addButton(b);
        connect(b, &QToolButton::clicked, this, [this] { NumEdit1Change(); });
        *buttons[i] = b;
    }
    SpeedButton1->setChecked(true);

    auto* cellLabel = new QLabel(QStringLiteral("Планшет"), this);
    Place(cellLabel, QRect(190, 10, 70, 16));
    NumEdit2 = new TNumEdit(this);
    NumEdit2->setObjectName(QStringLiteral("NumEdit2"));
    NumEdit2->ClearTextIFValueNotInteger = true;
    Place(NumEdit2, QRect(190, 28, 60, 21));

    Label1 = NomenclatureLabel(this);
    Place(Label1, QRect(262, 24, 150, 30));

    auto* picture = new TSheetPicture(this);
    Place(picture, QRect(188, 96, 120, 120));
    // The north-east corner above the sheet's top right, the south-west one below its
    // bottom left.
    auto cornerRow = [this](const char* xName, const char* yName, int left, int top, TNumEdit*& x,
                            TNumEdit*& y) {
        auto* xl = new QLabel(QStringLiteral("X="), this);
        Place(xl, QRect(left, top + 3, 20, 16));
        x = CornerEdit(this, xName);
        Place(x, QRect(left + 20, top, 90, 21));
        auto* yl = new QLabel(QStringLiteral("Y="), this);
        Place(yl, QRect(left, top + 27, 20, 16));
        y = CornerEdit(this, yName);
        Place(y, QRect(left + 20, top + 24, 90, 21));
    };
    cornerRow("NumEdit5", "NumEdit6", 314, 66, NumEdit5, NumEdit6);
    cornerRow("NumEdit3", "NumEdit4", 72, 196, NumEdit3, NumEdit4);

    Button1 = AddButton(QStringLiteral("Найти планшет"), QRect(12, 264, 130, 26), mrNone);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BitBtn1 = AddButton(QStringLiteral("Закрыть окно"), QRect(374, 264, 110, 26), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    for (QPushButton* b : {Button1, BitBtn1})
        b->setAutoDefault(false);   // Enter in an edit closes nothing

    for (TNumEdit* edit : {NumEdit1, NumEdit2, NumEdit3, NumEdit4, NumEdit5, NumEdit6})
        connect(edit, &TNumEdit::Changed, this, [this] { NumEdit1Change(); });
    NumEdit1->setFocus();
}

QString TFormFindPlanCoord::Letter() const
{
    if (SpeedButton2->isChecked())
        return QStringLiteral("Б");
    if (SpeedButton3->isChecked())
        return QStringLiteral("В");
    if (SpeedButton4->isChecked())
        return QStringLiteral("Г");
    return QStringLiteral("А");
}

bool TFormFindPlanCoord::NumbersGiven()
{
    return NumEdit1->ExistIntegerValue() && NumEdit2->ExistIntegerValue() &&
           NumEdit1->IntegerValue() != 0 && NumEdit2->IntegerValue() != 0;
}

bool TFormFindPlanCoord::Corners(Extended& x1, Extended& y1, Extended& x2, Extended& y2)
{
    // A cell the quarters do not have would make the conversion raise at a keystroke:
    // it names no sheet, so nothing is looked up.
    const int cell = NumEdit2->IntegerValue();
    bool found = false;
    if (cell >= 1 && cell <= 16 && MainMap)
        found = MainMap->NomenclatureToCoord(Name, x1, y1, x2, y2);
    if (!found)
        for (TNumEdit* edit : {NumEdit3, NumEdit4, NumEdit5, NumEdit6})
            edit->clear();
    return found;
}

void TFormFindPlanCoord::ShowCorners(Extended x1, Extended y1, Extended x2, Extended y2)
{
    NumEdit3->SetFloatValue(x1);
    NumEdit4->SetFloatValue(y1);
    NumEdit5->SetFloatValue(x2);
    NumEdit6->SetFloatValue(y2);
}

void TFormFindPlanCoord::NumEdit1Change()
{
    // Writing the corners changes their edits, whose change runs this again.
    if (Updating)
        return;
    Updating = true;
    const auto done = qScopeGuard([this] { Updating = false; });
    Button1->setEnabled(false);
    Name = ComposeNomenclature(NumEdit1->text(), Letter(), NumEdit2->text());
    Label1->setText(Name);
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (NumbersGiven() && Corners(x1, y1, x2, y2)) {
        ShowCorners(x1, y1, x2, y2);
        Button1->setEnabled(true);
    }
}

void TFormFindPlanCoord::Button1Click()
{
    if (!NumbersGiven())
        return;
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool found = false;
    {
        Updating = true;
        const auto done = qScopeGuard([this] { Updating = false; });
        found = Corners(x1, y1, x2, y2);
        if (found)
            ShowCorners(x1, y1, x2, y2);
    }
    Button1->setEnabled(false);
    if (found)
        ShowPlanView(x1, y1, x2, y2);
}

TModalResult RunFindPlanCoord()
{
    TFormFindPlanCoord form(DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal();
}
