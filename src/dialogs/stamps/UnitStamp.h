// The windows of stamps and sheet frames: the stamp's and the frame's named texts field
// by field, and the two corners a stamp is placed on. The text windows read a list of
// named texts "^key%value", show one field per key they know and rebuild the list from
// the fields; a key the list lacks leaves its field disabled and unwritten.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QStringList>
#include <QValidator>
#include <array>
#include <vector>

class QLineEdit;
class QPushButton;
class TNumEdit;

// One line of a named-text list as the windows read it: the key between the first
// character and the first "%", the value after it. False for a line of one character or
// none and for a line without "%".
struct RNamedTextLine {
    QString Key;
    bool HasValue = false;   // something follows the "%"
    QString Value;
};
bool ReadNamedTextLine(const QString& line, RNamedTextLine& read);

// A field of a stamp or frame takes no "<" or ">" (no command could carry the text) and
// no character the plan's code page lacks; such a character is refused as it is typed.
class TNamedTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    // The text without the characters a field refuses.
    static QString Clean(const QString& text);
};

// One key of a window: the key, its field's name and label, the starting text.
struct RNamedTextKey {
    const char* Key;
    const char* Field;
    const char* Label;
    const char* Start;
};
// The 18 stamp keys in the order of the remembered texts, and the 21 frame keys in the
// order the frame window writes them back.
const std::vector<RNamedTextKey>& StampKeys();
const std::vector<RNamedTextKey>& RamkaKeys();

// The fields of a text window, found by key.
class TNamedTextForm : public TDialogBase {
    Q_OBJECT
public:
    TNamedTextForm(const std::vector<RNamedTextKey>& keys, QWidget* parent);

    // The field of key; null for a key the window does not know.
    QLineEdit* Field(const QString& key) const;
    QPushButton* Button1 = nullptr;   // "Готово"

protected:
    // A labelled field at a row of a group (or of the window).
    QLineEdit* AddField(QWidget* parent, int index, const QString& label, int top, int labelWidth,
                        int editWidth);
    const std::vector<RNamedTextKey>& Keys;
    std::vector<QLineEdit*> Fields;   // by key index
};

class TFormStamp : public TNamedTextForm {
    Q_OBJECT
public:
    explicit TFormStamp(QWidget* parent = nullptr);

    // Reads the list: the fields of its keys enabled, each with its value, or with the
    // remembered text of its slot when the line has none.
    void Fill(const QStringList& list, const std::array<QString, 18>& lastStamp);
    // The list rebuilt from the enabled fields in key order, an empty field written as
    // one blank; the enabled fields' texts copied into their slots of lastStamp.
    void Rebuild(QStringList& list, std::array<QString, 18>& lastStamp) const;
};

class TFormRamka : public TNamedTextForm {
    Q_OBJECT
public:
    explicit TFormRamka(QWidget* parent = nullptr);

    // Reads the list: the fields of its keys enabled, a value replacing the starting text.
    void Fill(const QStringList& list);
    // Every empty field becomes one blank; the list rebuilt from the enabled fields.
    void Rebuild(QStringList& list);
};

class TFormInpStampLink : public TDialogBase {
    Q_OBJECT
public:
    TFormInpStampLink(Extended X1, Extended Y1, Extended X2, Extended Y2, QWidget* parent = nullptr);

    TNumEdit* NumEdit1;   // upper left X
    TNumEdit* NumEdit2;   // upper left Y
    TNumEdit* NumEdit3;   // lower right X
    TNumEdit* NumEdit4;   // lower right Y
    QPushButton* Button1;
};

TModalResult RunStampDlg(QStringList& list, std::array<QString, 18>& lastStamp);
TModalResult RunRamkaDlg(QStringList& list);
TModalResult RunInpStampLink(Extended& X1, Extended& Y1, Extended& X2, Extended& Y2);

// Puts the three windows behind their hooks of ProgramDialogs.
void InstallStampDialogWindows();
