// The two questions of the plan engine: confirming the deletion of found objects, and
// what to do with a sheet or layer whose name already exists in the plan being read.
#pragma once

#include "foundation/ui/DialogBase.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TTextListBox;

class TFormQDelObjectsDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormQDelObjectsDialog(const QStringList& lines, QWidget* parent = nullptr);

    TTextListBox* ListBox1;   // scrolls sideways for long lines
    QPushButton* Button1;   // "Готово"
};

class TFormDublicateItemDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormDublicateItemDialog(const QString& name, const QString& caption, const QString& text,
                             QWidget* parent = nullptr);

    // 6 rename, 7 add to the existing one, 9 the same for all further cases.
    TModalResult Choice() const;
    // The edited name, as it is handed back when rename is chosen.
    QString Name() const;

    QRadioButton* Rename;      // "изменить название"
    QRadioButton* AddTo;       // "добавить в уже существующий"
    QLineEdit* NameEdit;
    QCheckBox* ForAll;         // "применить ко всем остальным случаям"
    QPushButton* Button1;      // "Готово"

private:
    void ChoiceChanged();
    void Confirm();
};
