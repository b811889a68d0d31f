// Small builders the line, polygon and contour windows lay out their controls with.
#pragma once

#include "foundation/ui/NumEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QPushButton>
#include <QRect>
#include <QWidget>

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
