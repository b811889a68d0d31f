// The masked edit of the windows: callers and layouts give masks in the original
// "mask;save literals;blank" form, which is translated once into a Qt input mask, and
// Text reads back as the original control gave it (unfilled places as blanks).
#pragma once

#include <QLineEdit>
#include <QString>
#include <vector>

// A mask as Qt takes it, with what is needed to give the text back in the original form.
struct TDelphiMask {
    QString InputMask;              // for QLineEdit::setInputMask, blank included
    bool SaveLiterals = true;       // Text keeps the fixed characters
    QChar Blank = QLatin1Char('_'); // the character shown in an unfilled place
    std::vector<bool> Literal;      // per displayed place: a fixed character
};

// Original mask characters: "0" digit required, "9" digit optional, "#" digit or sign
// optional, "L"/"l" letter required/optional (any alphabet), "A"/"a" letter or digit,
// "C"/"c" any character, ">" upper case, "<" lower case, "<>" no case change, "\x" the
// fixed character x, "_" a fixed blank, "!" (blank placement) ignored; every other
// character is fixed. The second field "0" drops the fixed characters from Text; the
// third is the blank. An empty mask gives an empty InputMask (free text).
TDelphiMask TranslateDelphiMask(const QString& mask);

// Text in the original form from what the edit displays: unfilled places become
// blanks, fixed characters stay only when SaveLiterals is set; without them the
// unfilled places at the end are dropped ("" for an empty edit).
QString DelphiMaskText(const TDelphiMask& mask, const QString& displayed);

class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    // The mask in the original form; an empty mask makes a free edit.
    void SetEditMask(const QString& mask);
    QString EditMask() const { return Mask; }

    // The text in the original form (see DelphiMaskText); setting it fills the places
    // in order, skipping fixed characters.
    QString Text() const;
    void SetText(const QString& text);

protected:
    // A typed character fills the next free place and never stands for a fixed
    // character: "1500" typed over the scale edit "1:___" gives 1:1500, where Qt's own
    // edit would take the first "1" for the fixed one.
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool FixedPlace(int place) const;

    QString Mask;
    TDelphiMask Translated;
};
