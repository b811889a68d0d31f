// The shared message, question, input and selection windows, and the one call that
// puts them (with the plan-engine questions and the licence window) behind the hooks
// of ServDialogs. Each window is filled by its constructor and read back by its
// accessors after ShowModal; the hooks do the copying the entry routines promise.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TMaskEdit;
class TNumEdit;

// Installs the real windows behind every hook of ServDialogs. The program calls it
// once at start; before that (and in tests that do not call it) nothing is shown. A
// window kept from call to call (the polar window) is dropped, so its choices start
// afresh.
void InstallDialogWindows();

class TFormShowMsgDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormShowMsgDialog(const QString& caption, const QString& text, QWidget* parent = nullptr);

    QPushButton* Button1;   // "Готово"
};

class TFormShowQDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormShowQDialog(const QString& caption, const QString& text, QWidget* parent = nullptr);

    QPushButton* ButtonYes;   // "Да"
    QPushButton* ButtonNo;    // "Нет"
};

class TFormInpStrDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormInpStrDialog(const QString& value, const QString& caption, const QString& text,
                      QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QPushButton* Button1;
};

class TFormInpStr2Dialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormInpStr2Dialog(const QString& masked, const QString& free, const QString& caption,
                       const QString& text, const QString& mask, QWidget* parent = nullptr);

    TMaskEdit* MaskEdit1;
    QLineEdit* Edit1;
    QPushButton* Button1;
};

class TFormSelStrDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormSelStrDialog(const QStringList& list, int index, const QString& caption,
                      const QString& text, QWidget* parent = nullptr);

    // The line chosen in the list (-1 when the text is not a chosen line) and the text.
    TSelection Selection() const;

    QComboBox* ComboBox1;
    QPushButton* Button1;

protected:
    bool event(QEvent* e) override;

private:
    bool Dropped = false;
};

class TFormSelStr2Dialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormSelStr2Dialog(const QStringList& list, int index, const QString& caption,
                       const QString& text, const QString& free, QWidget* parent = nullptr);

    TSelection Selection() const;

    QLineEdit* Edit1;
    QComboBox* ComboBox1;
    QPushButton* Button1;
};

// The denominator in a scale text "1:" followed by seven places: the digits after
// "1:" up to the first blank (all seven when none). False, and denominator untouched,
// unless they make a whole number of 1 or more.
bool ScaleFromText(const QString& text, int& denominator);

class TFormInpScaleDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormInpScaleDialog(int denominator, const QString& caption, const QString& text,
                        QWidget* parent = nullptr);

    TMaskEdit* MaskEdit1;
    QPushButton* Button1;
    QList<QPushButton*> ScaleButtons;   // 100 … 10000

private:
    void Confirm();
};

class TFormInpNomStr2000Dialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormInpNomStr2000Dialog(const QString& value, const QString& caption, const QString& text,
                             QWidget* parent = nullptr);

    TMaskEdit* MaskEdit1;
    QPushButton* Button1;

private:
    // OK only for a complete code; otherwise a message and the window stays open.
    void Confirm();
};

// Created on first use and kept: the choices and values stay as the user left them.
class TFormInpPolarDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormInpPolarDialog(QWidget* parent = nullptr);

    TPolarAnswer Answer();

    QRadioButton* FromStart;    // "от начала базовой линии"
    QRadioButton* FromEnd;      // "от конца базовой линии"
    QRadioButton* LeftAngle;    // "левый угол"
    QRadioButton* RightAngle;   // "правый угол"
    TNumEdit* Distance;
    TNumEdit* Degrees;
    TNumEdit* Minutes;
    TNumEdit* Seconds;
    QPushButton* Button1;
};
