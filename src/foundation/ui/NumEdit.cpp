// The number edit: validation on every change and the value accessors.
#include "foundation/ui/NumEdit.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"

#include <cmath>

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
    TextChanged();
}

void TNumEdit::TextChanged()
{
    ++Depth;
    try {
        Change();
    } catch (...) {
        --Depth;
        throw;
    }
    --Depth;
    if (Depth == 0)
        emit Changed();
}

bool TNumEdit::Wipeable() const
{
    const QString t = text();
    return !t.isEmpty() && t != QLatin1String("-") && t != QLatin1String("+");
}

void TNumEdit::Change()
{
    const QString current = text();
    TTrailGuard guard("NumEdit", "procedure TNumEdit.Change;", TrailArg("Text", current));
    if (ValidInteger(current, UniversalThousandSeparator)) {
        IntegerPresent = 1;
        LastInteger = IntegerValue();
    } else {
        IntegerPresent = 0;
        if (ClearTextIFValueNotInteger && Wipeable()) {
            setText(QString());
            if (ClearAndChangeToOldValue)
                SetIntegerValue(LastInteger);
        }
    }
    if (ValidFloat(text(), UniversalThousandSeparator, UniversalDecimalSeparator)) {
        FloatPresent = 1;
        LastFloat = FloatValue();
    } else {
        FloatPresent = 0;
        if (ClearTextIFValueNotFloat && Wipeable()) {
            setText(QString());
            if (ClearAndChangeToOldValue)
                SetFloatValue(LastFloat);
        }
    }
}

int TNumEdit::IntegerValue()
{
    TTrailGuard guard("NumEdit", "function TNumEdit.GetIntegerValue:integer;");
    const QString t = text();
    if (ValidInteger(t, UniversalThousandSeparator)) {
        int value = 0;
        if (TryStrToInt(UniversalThousandSeparator ? DelThousandSeparators(t) : t, value))
            return value;
        return 0;
    }
    if (ClearTextIFValueNotInteger && Wipeable())
        setText(QString());
    return 0;
}

void TNumEdit::SetIntegerValue(int value)
{
    TTrailGuard guard("NumEdit", "procedure TNumEdit.SetIntegerValue(const Value: integer);",
                      TrailArg("Value", value));
    setText(QString::number(value));
}

Extended TNumEdit::FloatValue()
{
    TTrailGuard guard("NumEdit", "function TNumEdit.GetFloatValue:extended;");
    QString t = text();
    if (ValidFloat(t, UniversalThousandSeparator, UniversalDecimalSeparator)) {
        if (UniversalDecimalSeparator)
            t = ConvertDecimalSeparator(t);
        if (UniversalThousandSeparator)
            t = DelThousandSeparators(t);
        // A text without a digit ("-.", "+,") is on its way to a number: it reads as 0.
        Extended value = 0;
        if (DecimalTextToFloat(t, DecimalSeparator, value))
            return value;
        return 0;
    }
    if (ClearTextIFValueNotFloat && Wipeable())
        setText(QString());
    return 0;
}

void TNumEdit::SetFloatValue(Extended value)
{
    TTrailGuard guard("NumEdit", "procedure TNumEdit.SetFloatValue(const Value: extended);",
                      TrailArg("Value", value));
    if (ClearTextIFValueNotInteger || !std::isfinite(value))
        return;
    if (EnableFloatPrecision)
        setText(FloatToFixed(value, NumberOfDecimalDigits, 16, EnableThousandInFloat));
    else
        setText(FloatToPlain(value, 15));
}

bool TNumEdit::ExistIntegerValue() const
{
    return ValidInteger(text(), UniversalThousandSeparator);
}

bool TNumEdit::ExistFloatValue() const
{
    return ValidFloat(text(), UniversalThousandSeparator, UniversalDecimalSeparator);
}
