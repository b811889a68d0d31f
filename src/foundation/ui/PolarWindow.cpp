// The polar-intersection window: station and side of the measured angle, the distance
// and the angle in degrees, minutes and seconds.
#include "foundation/ui/ServDialogsWindows.h"

#include "foundation/ui/NumEdit.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

namespace {

// A small sketch beside a choice: the base line with the station marked, or the side
// the angle opens to.
QLabel* Sketch(QWidget* parent, const QRect& rect, bool atEnd, int side)
{
    QPixmap pixmap(rect.size());
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const int y = rect.height() / 2;
    const int x1 = 4;
    const int x2 = rect.width() - 5;
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(x1, y, x2, y);
    const int station = atEnd ? x2 : x1;
    p.setBrush(Qt::red);
    p.drawEllipse(QPoint(station, y), 2, 2);
    if (side != 0) {
        p.setPen(QPen(Qt::blue, 1));
        p.drawLine(station, y, station + (atEnd ? -8 : 8), y - side * (y - 2));
    }
    auto* label = new QLabel(parent);
    label->setGeometry(rect);
    label->setPixmap(pixmap);
    return label;
}

TNumEdit* NumberEdit(QWidget* parent, const QRect& rect, Extended value)
{
    auto* edit = new TNumEdit(parent);
    edit->ClearTextIFValueNotFloat = true;
    edit->ClearAndChangeToOldValue = true;
    edit->UniversalDecimalSeparator = true;
    edit->SetFloatValue(value);
    edit->setGeometry(rect);
    return edit;
}

}  // namespace

TFormInpPolarDialog::TFormInpPolarDialog(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Полярная засечка"));
    SetClientSize(363, 162);

    auto* station = new QFrame(this);
    station->setFrameShape(QFrame::StyledPanel);
    Place(station, QRect(2, 4, 204, 48));
    FromStart = new QRadioButton(QStringLiteral("от начала базовой линии"), station);
    FromStart->setGeometry(4, 3, 158, 20);
    FromEnd = new QRadioButton(QStringLiteral("от конца базовой линии"), station);
    FromEnd->setGeometry(4, 25, 158, 20);
    Sketch(station, QRect(164, 3, 36, 20), false, 0);
    Sketch(station, QRect(164, 25, 36, 20), true, 0);
    FromStart->setChecked(true);

    auto* side = new QFrame(this);
    side->setFrameShape(QFrame::StyledPanel);
    Place(side, QRect(213, 3, 144, 49));
    LeftAngle = new QRadioButton(QStringLiteral("левый угол"), side);
    LeftAngle->setGeometry(4, 3, 98, 20);
    RightAngle = new QRadioButton(QStringLiteral("правый угол"), side);
    RightAngle->setGeometry(4, 26, 98, 20);
    Sketch(side, QRect(104, 3, 36, 20), false, 1);
    Sketch(side, QRect(104, 26, 36, 20), false, -1);
    LeftAngle->setChecked(true);

    auto* values = new QFrame(this);
    values->setFrameShape(QFrame::StyledPanel);
    Place(values, QRect(1, 62, 356, 70));
    (new QLabel(QStringLiteral("Расстояние,м"), values))->move(6, 4);
    (new QLabel(QStringLiteral("Угол, гр.мин.сек."), values))->move(132, 3);
    Distance = NumberEdit(values, QRect(5, 17, 112, 21), 10);
    Degrees = NumberEdit(values, QRect(144, 17, 28, 21), 90);
    Minutes = NumberEdit(values, QRect(174, 17, 28, 21), 0);
    Seconds = NumberEdit(values, QRect(204, 17, 28, 21), 0);

    Button1 = AddButton(QStringLiteral("Готово"), QRect(283, 136, 75, 24), mrOk);
    Button1->setDefault(true);
    Distance->setFocus();
}

TPolarAnswer TFormInpPolarDialog::Answer()
{
    TPolarAnswer answer;
    answer.FromEnd = !FromStart->isChecked();
    answer.RightAngle = !LeftAngle->isChecked();
    answer.Distance = Distance->FloatValue();
    answer.Degrees = Degrees->FloatValue();
    answer.Minutes = Minutes->FloatValue();
    answer.Seconds = Seconds->FloatValue();
    return answer;
}
