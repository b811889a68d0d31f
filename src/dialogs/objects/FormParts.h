// Small builders the point, line, polygon and contour windows lay out their controls with.
#pragma once

#include "controls/ExSlider.h"
#include "dialogs/objects/NodeLists.h"
#include "dialogs/objects/ObjectEditors.h"
#include "foundation/ui/DialogBase.h"
#include "foundation/ui/NumEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QRect>
#include <QWidget>
#include <initializer_list>

// A real edit with fixed decimals that clears what is no number, "," and "." alike.
inline TNumEdit* RealNumEdit(QWidget* parent, const char* name, int decimals, QRect rect)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->ClearTextIFValueNotFloat = true;
    edit->UniversalDecimalSeparator = true;
    edit->EnableFloatPrecision = true;
    edit->SetNumberOfDecimalDigits(static_cast<std::uint8_t>(decimals));
    edit->setGeometry(rect);
    return edit;
}

// A whole-number edit that clears what is no integer.
inline TNumEdit* IntNumEdit(QWidget* parent, const char* name, QRect rect)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->ClearTextIFValueNotInteger = true;
    edit->setGeometry(rect);
    return edit;
}

inline QLabel* Caption(QWidget* parent, const QString& text, QRect rect, Qt::Alignment align = Qt::AlignLeft)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(rect);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

// A plain button that never takes Enter from the window's default button.
inline QPushButton* PlainButton(QWidget* parent, const char* name, const QString& text, QRect rect)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setGeometry(rect);
    return button;
}

inline QRadioButton* Radio(QWidget* parent, const char* name, const QString& text, QRect rect, QButtonGroup* group)
{
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rect);
    group->addButton(button);
    return button;
}

// The inside of a node window's group "Сдвиг условного знака ": the shift edit ("мм",
// two decimals) and "Авто". A negative shift shows -1 with the edit disabled and "Авто"
// checked; checking "Авто" sets -1 and disables the edit, unchecking enables it.
inline void SignShiftControls(QGroupBox* group, Extended shift, TNumEdit*& edit, QCheckBox*& box)
{
    edit = RealNumEdit(group, "nePicPos", 2, QRect(10, 24, 100, 21));
    Caption(group, QStringLiteral("мм"), QRect(116, 24, 40, 20));
    box = new QCheckBox(QStringLiteral("Авто"), group);
    box->setObjectName(QStringLiteral("cbPicPosAuto"));
    box->setGeometry(10, 52, 150, 20);
    const bool automatic = shift < 0;
    edit->SetFloatValue(automatic ? -1 : shift);
    edit->setEnabled(!automatic);
    box->setChecked(automatic);
    QObject::connect(box, &QCheckBox::toggled, edit, [edit](bool on) {
        if (on)
            edit->SetFloatValue(-1);
        edit->setEnabled(!on);
    });
}

// Where the head's controls stand in a window of its own width.
struct TObjectHeadLayout {
    int NameWidth;            // of the sheet and layer names
    int ButtonX;              // of "Перенести" and "Редактор У.З."
    QString MoveText;         // the move button's text
    QString SignText;         // the caption before the sign's name
    int SignTextWidth;
    QRect Semantics;          // the group "Семантика"
    int MemoHeight;
};

// Lays out the head on form for an object of kind (0 point, 1 line, 2 polygon) whose sign
// is signName; "Редактор У.З." opens the sign shown. The move and "..." buttons are left
// to the window.
inline void BuildObjectHead(TDialogBase* form, TObjectHead& head, int kind, const QString& signName,
                            const QString& semantics, const TObjectHeadLayout& at)
{
    Caption(form, QStringLiteral("Лист"), QRect(8, 10, 40, 16));
    head.LPage = new QLabel(form);
    head.LPage->setObjectName(QStringLiteral("LPage"));
    form->Place(head.LPage, QRect(52, 10, at.NameWidth, 16));
    Caption(form, QStringLiteral("Слой"), QRect(8, 30, 40, 16));
    head.LLayer = new QLabel(form);
    head.LLayer->setObjectName(QStringLiteral("LLayer"));
    form->Place(head.LLayer, QRect(52, 30, at.NameWidth, 16));
    head.sbChangePageLayer = PlainButton(form, "sbChangePageLayer", at.MoveText, QRect(at.ButtonX, 12, 112, 26));

    Caption(form, at.SignText, QRect(8, 56, at.SignTextWidth, 16));
    head.lbSymbol = new QLabel(signName, form);
    head.lbSymbol->setObjectName(QStringLiteral("lbSymbol"));
    const int symbolX = 8 + at.SignTextWidth + 2;
    form->Place(head.lbSymbol, QRect(symbolX, 56, at.ButtonX - 8 - symbolX, 16));
    head.SpeedButton2 = PlainButton(form, "SpeedButton2", QStringLiteral("Редактор У.З."), QRect(at.ButtonX, 50, 112, 26));
    QLabel* symbol = head.lbSymbol;
    QObject::connect(head.SpeedButton2, &QPushButton::clicked, form,
                     [kind, symbol] { EditObjectSign(kind, symbol->text()); });

    const int width = at.Semantics.width();
    auto* group = new QGroupBox(QStringLiteral("Семантика"), form);
    form->Place(group, at.Semantics);
    head.eText = new QLineEdit(semantics, group);
    head.eText->setObjectName(QStringLiteral("eText"));
    head.eText->setGeometry(10, 20, width - 54, 22);
    head.ButtonShowFormSem = PlainButton(group, "ButtonShowFormSem", QStringLiteral("..."), QRect(width - 38, 19, 28, 24));
    head.ButtonShowFormSem->setToolTip(QStringLiteral("Классификатор семантики"));
    head.Memo1 = new QPlainTextEdit(group);
    head.Memo1->setObjectName(QStringLiteral("Memo1"));
    head.Memo1->setReadOnly(true);
    head.Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    head.Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    head.Memo1->setGeometry(10, 48, width - 20, at.MemoHeight);
    QPalette grey = head.Memo1->palette();
    grey.setColor(QPalette::Base, QColor(0xD4, 0xD0, 0xC8));
    head.Memo1->setPalette(grey);
    head.Memo1->setPlainText(DecodeSemantics(kind, semantics));
}

// The precision slider, 0 (м) to 3 (мм) a step, at at in parent with its four marks
// centred under the stops at marksY. A precision past 3 shows as 0.
inline TExSlider* PrecisionSlider(QWidget* parent, QPoint at, int marksY, int precision)
{
    auto* slider = new TExSlider(parent);
    slider->setObjectName(QStringLiteral("ExSlider1"));
    slider->setGeometry(at.x(), at.y(), 200, 36);
    slider->SetMaxValue(3);
    slider->SetIncrement(1);
    slider->SetValue(precision <= 3 ? precision : 0);
    const char* const marks[4] = {"м", "дм", "см", "мм"};
    for (int i = 0; i < 4; ++i) {
        const int x = at.x() + slider->ValueToOffset(i) + slider->ThumbRect().width() / 2;
        Caption(parent, QString::fromUtf8(marks[i]), QRect(x - 15, marksY, 30, 16), Qt::AlignHCenter);
    }
    return slider;
}

// The eight buttons of a node list in parent, the first at first and each next one step
// lower, in the order given ("Свойства", "Добавить", "Удалить", "Вставить", then the
// moves, unless said otherwise); "Свойства" is btNodesProp, "Добавить" btNodesAdd and so on.
inline TNodeButtons NodeListButtons(QWidget* parent, QRect first, int step,
                                    std::initializer_list<QPushButton* TNodeButtons::*> order = {
                                        &TNodeButtons::Prop, &TNodeButtons::Add, &TNodeButtons::Del,
                                        &TNodeButtons::Insert, &TNodeButtons::GoUp, &TNodeButtons::GoDown,
                                        &TNodeButtons::GoFirst, &TNodeButtons::GoLast})
{
    struct TButton { QPushButton* TNodeButtons::*Slot; const char* Name; const char* Text; };
    static const TButton all[8] = {{&TNodeButtons::Prop, "btNodesProp", "Свойства"},
                                   {&TNodeButtons::Add, "btNodesAdd", "Добавить"},
                                   {&TNodeButtons::Del, "btNodesDel", "Удалить"},
                                   {&TNodeButtons::Insert, "btNodesInsert", "Вставить"},
                                   {&TNodeButtons::GoUp, "btNodesGoUp", "Вперед"},
                                   {&TNodeButtons::GoDown, "btNodesGoDown", "Назад"},
                                   {&TNodeButtons::GoFirst, "btNodesGoFirst", "В начало"},
                                   {&TNodeButtons::GoLast, "btNodesGoLast", "В конец"}};
    TNodeButtons set;
    int row = 0;
    for (QPushButton* TNodeButtons::*slot : order)
        for (const TButton& b : all)
            if (b.Slot == slot)
                set.*slot = PlainButton(parent, b.Name, QString::fromUtf8(b.Text), first.translated(0, step * row++));
    return set;
}

// The group "Координаты" of a node window at rect on form: "X=" and "Y=" side by side with
// the precision's decimals (none for a precision past 0 to 9).
inline void NodeCoordsGroup(TDialogBase* form, QRect rect, int precision, Extended X, Extended Y, TNumEdit*& neX,
                            TNumEdit*& neY)
{
    const int decimals = precision >= 0 && precision <= 9 ? precision : 0;
    auto* coords = new QGroupBox(QStringLiteral("Координаты"), form);
    form->Place(coords, rect);
    Caption(coords, QStringLiteral("X="), QRect(10, 24, 20, 20));
    neX = RealNumEdit(coords, "neX", decimals, QRect(30, 24, 130, 21));
    Caption(coords, QStringLiteral("Y="), QRect(186, 24, 20, 20));
    neY = RealNumEdit(coords, "neY", decimals, QRect(206, 24, 130, 21));
    neX->SetFloatValue(X);
    neY->SetFloatValue(Y);
}

// The group "Стиль сегмента" of a polygon's node window at rect on form: "Основной" (0),
// "Специальный" (1), "Скрытый" (2); anything else shows as 0.
inline void SegmentStyleGroup(TDialogBase* form, QRect rect, std::uint8_t segmentStyle, QRadioButton*& main,
                              QRadioButton*& special, QRadioButton*& hidden)
{
    auto* style = new QGroupBox(QStringLiteral("Стиль сегмента"), form);
    form->Place(style, rect);
    auto* group = new QButtonGroup(form);
    main = Radio(style, "rbSegmStyleMain", QStringLiteral("Основной"), QRect(10, 22, 150, 20), group);
    special = Radio(style, "rbSegmStyleSpecial", QStringLiteral("Специальный"), QRect(10, 46, 150, 20), group);
    hidden = Radio(style, "rbSegmStyleHide", QStringLiteral("Скрытый"), QRect(10, 70, 150, 20), group);
    (segmentStyle == 1 ? special : segmentStyle == 2 ? hidden : main)->setChecked(true);
}
