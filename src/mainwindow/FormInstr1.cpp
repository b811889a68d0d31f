#include "mainwindow/FormInstr1.h"

#include "controls/ExSpeedButton.h"
#include "mainwindow/UnitMap.h"
#include "survey/SurveyDialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int ModeGroup = 1;
constexpr int ButtonWidth = 42;   // the widest caption, "Прив", whole
constexpr int ButtonHeight = 28;
}

TFormInstr1::TFormInstr1(TFormMap& form, QWidget* owner)
    : QWidget(owner, Qt::Tool), Form(form)
{
    setObjectName(QStringLiteral("FormInstr1"));
    setWindowTitle(QStringLiteral("Инструменты"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    layout->addLayout(grid);
    auto place = [grid](TExSpeedButton* b, int row, int column) { grid->addWidget(b, row, column); };
    sbSelectView = ModeButton(QStringLiteral("Вид"), QStringLiteral("Выбор вида"));
    sbMoveView = ModeButton(QStringLiteral("Сдв"), QStringLiteral("Сдвиг вида"));
    sbSelectObject = ModeButton(QStringLiteral("Выб"), QStringLiteral("Выбор объекта"));
    sbText = ModeButton(QStringLiteral("Т"), QStringLiteral("Создание текстовых объектов"));
    sbPoint = ModeButton(QStringLiteral("•"), QStringLiteral("Создание точечных объектов"));
    sbLine = ModeButton(QStringLiteral("╱"), QStringLiteral("Создание линейных объектов"));
    sbPolygon = ModeButton(QStringLiteral("▱"), QStringLiteral("Создание площадных объектов"));
    sbOtm = ModeButton(QStringLiteral("+h"), QStringLiteral("Создание отметок"));
    int placed = 0;
    for (TExSpeedButton* b : {sbSelectView, sbMoveView, sbSelectObject, sbText, sbPoint, sbLine,
                              sbPolygon, sbOtm}) {
        place(b, placed / 2, placed % 2);
        ++placed;
    }
    btLink = new TExSpeedButton(this);
    btLink->setObjectName(QStringLiteral("btLink"));
    btLink->SetCaption(QStringLiteral("Прив"));
    btLink->setToolTip(QStringLiteral("Привязка"));
    btLink->setFixedSize(ButtonWidth, ButtonHeight);
    place(btLink, 4, 0);
    sbNoSem = new TExSpeedButton(this);
    sbNoSem->setObjectName(QStringLiteral("sbNoSem"));
    sbNoSem->SetCaption(QStringLiteral("Без"));
    sbNoSem->setToolTip(QStringLiteral("Без семантики"));
    sbNoSem->SetGroupIndex(2);
    sbNoSem->SetAllowAllUp(true);
    sbNoSem->setFixedSize(ButtonWidth, ButtonHeight);
    place(sbNoSem, 4, 1);
    sbInstr2 = new TExSpeedButton(this);
    sbInstr2->setObjectName(QStringLiteral("sbInstr2"));
    sbInstr2->SetCaption(QStringLiteral("Постр"));
    sbInstr2->setToolTip(QStringLiteral("Геометрические построения"));
    sbInstr2->SetFlat(true);
    sbInstr2->SetGroupIndex(3);
    sbInstr2->SetAllowAllUp(true);
    sbInstr2->setFixedHeight(ButtonHeight);
    sbInstr2->OnClick = [this] { sbInstr2Click(); };
    grid->addWidget(sbInstr2, 5, 0, 1, 2);
    pnPolygonProp = new QWidget(this);
    pnPolygonProp->setObjectName(QStringLiteral("pnPolygonProp"));
    auto* panel = new QVBoxLayout(pnPolygonProp);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(new QLabel(QStringLiteral("Сегмент: основной"), pnPolygonProp));
    pnPolygonProp->hide();
    layout->addWidget(pnPolygonProp);
    layout->addStretch();
}

TExSpeedButton* TFormInstr1::ModeButton(const QString& caption, const QString& hint)
{
    auto* b = new TExSpeedButton(this);
    b->SetCaption(caption);
    b->setToolTip(hint);
    b->SetGroupIndex(ModeGroup);
    b->SetAllowAllUp(true);
    b->setFixedSize(ButtonWidth, ButtonHeight);
    return b;
}

void TFormInstr1::ReleaseModeButtons()
{
    for (TExSpeedButton* b : {sbSelectView, sbMoveView, sbSelectObject, sbText, sbPoint, sbLine,
                              sbPolygon, sbOtm})
        b->SetDown(false);
}

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

void TFormInstr1::UpdatePolygonPanel()
{
    static const char* const segmentTypes[] = {"основной", "специальный тип 1", "специальный тип 2"};
    auto* label = pnPolygonProp->findChild<QLabel*>();
    if (label && Form.PolygonSegmentType < 3)
        label->setText(QStringLiteral("Сегмент: ") +
                       QString::fromUtf8(segmentTypes[Form.PolygonSegmentType]));
}
