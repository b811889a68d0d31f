// The validated number edit through which every window takes numbers. It keeps the
// last valid integer and real of its text, wipes or restores text that is no number as
// its options say, accepts either decimal separator on request and never raises for
// what the user types.
#pragma once

#include "platform/Platform.h"

#include <QLineEdit>
#include <cstdint>

class TNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumEdit(QWidget* parent = nullptr);

    // Options, stored in each window's layout; setting one only stores it.
    bool ClearAndChangeToOldValue = false;     // a wiped text gets the last valid value back
    bool ClearTextIFValueNotInteger = false;   // wipe text that is no valid integer
    bool ClearTextIFValueNotFloat = false;     // wipe text that is no valid real
    bool UniversalDecimalSeparator = false;    // "," and "." both separate decimals
    bool UniversalThousandSeparator = false;   // the locale's thousand separator passes
    bool EnableFloatPrecision = false;         // reals written with fixed decimals
    std::uint8_t NumberOfDecimalDigits = 0;    // those decimals
    bool EnableThousandInFloat = false;        // with fixed decimals, group thousands
    void SetNumberOfDecimalDigits(std::uint8_t digits) { NumberOfDecimalDigits = digits; }

    // The text's value when it is a valid integer, else 0; reading it wipes invalid text
    // (not "", "-" or "+") of an integer edit. Writing sets the decimal text.
    int IntegerValue();
    void SetIntegerValue(int value);

    // The text's value when it is a valid real, else 0 (also for a text without a digit
    // such as "-.", which passes while the user types); reading it wipes invalid text
    // of a real edit. Writing does nothing in an integer edit; otherwise the text is the
    // value in fixed notation: up to 15 significant digits with trailing zeros trimmed,
    // or NumberOfDecimalDigits decimals (grouped by thousands on request) with
    // EnableFloatPrecision. Infinity and NaN leave the text as it is.
    Extended FloatValue();
    void SetFloatValue(Extended value);

    bool ExistIntegerValue() const;
    bool ExistFloatValue() const;

    // The last valid values seen by Change.
    int LastIntegerValue() const { return LastInteger; }
    Extended LastFloatValue() const { return LastFloat; }

signals:
    // The window's change event: after validation and any wiping, once per change.
    void Changed();

protected:
    // Runs on every text change, also when the program sets the text.
    virtual void Change();

private:
    void TextChanged();
    bool Wipeable() const;

    int LastInteger = 0;
    Extended LastFloat = 0;
    std::uint8_t IntegerPresent = 0;
    std::uint8_t FloatPresent = 0;
    int Depth = 0;   // nested changes: a wipe changes the text inside Change
};
