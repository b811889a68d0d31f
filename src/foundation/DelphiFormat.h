// Numbers as text and back the way the original platform's run time did it, written
// without the C library (whose locale would turn "." into ","). Every other routine
// that turns a number into text or text into a number goes through this file.
//
// Two families of real formatting:
// - display forms (FloatToStrF, FloatToStr) behave as the platform did and may fall
//   back to exponent form ("1E-6", "1.2346E6"); use them only for text nobody reads back;
// - read-back forms (FloatToFixed, FloatToPlain, Format "%f") never write an exponent,
//   so every text a reader of ours takes back converts; they refuse infinity and NaN.
//
// Rounding of every real form: the value's first 18 significant decimal digits (the
// exact binary value rounded to nearest), then halves away from zero at the last digit
// kept: 1.005 with two decimals gives "1.01", 0.125 gives "0.13". A value that rounds to
// zero is written without a minus sign. Separators are the process-wide
// DecimalSeparator and ThousandSeparator of platform/Platform.h, read at each call.
#pragma once

#include "platform/Platform.h"

#include <QString>
#include <QStringView>
#include <concepts>
#include <initializer_list>

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// The platform's FloatToStrF. precision is clamped to 1..18, digits to 0..18 for
// ffFixed/ffNumber (decimals) and 0..4 for ffGeneral/ffExponent (least exponent digits).
// - ffGeneral: the shortest form of up to precision significant digits; exponent form
//   ("1.5E20", "1E-5") when the decimal exponent exceeds precision or the value is
//   below 0.0001.
// - ffExponent: "d.ddd" with precision digits in all, "E", a sign, at least digits digits.
// - ffFixed: digits decimals, after rounding to precision significant digits (digits
//   past them written as zeros: 412345.678 at precision 8, 3 decimals is "412345.680");
//   when the whole part needs more than precision digits, the ffGeneral exponent form.
// - ffNumber: ffFixed with the whole part grouped by ThousandSeparator.
// Infinity and NaN give "INF", "-INF" and "NAN".
QString FloatToStrF(Extended value, TFloatFormat format, int precision, int digits);

// The platform's general format: FloatToStrF(value, ffGeneral, 15, 0).
QString FloatToStr(Extended value);

// Fixed notation for text that is read back: decimals decimals (0..18) after rounding to
// precision (1..18) significant digits; whole-part digits beyond precision are written
// as zeros instead of switching to exponent form. groupThousands inserts
// ThousandSeparator into the whole part. Throws Exception for infinity and NaN.
QString FloatToFixed(Extended value, int decimals, int precision = 18, bool groupThousands = false);

// FloatToFixed's text without grouping, written into out (room for FixedCharsRoom
// characters) for the writers of large files, without a QString per number. Covers
// the finite values from 0.01 to 2^63 whose text has at most 18 digits, and zero;
// returns the number of characters written, or -1 (nothing meaningful written) for
// any other value, whose text FloatToFixed gives (or refuses). The byte form writes
// ASCII and also gives -1 while DecimalSeparator is not ASCII.
inline constexpr int FixedCharsRoom = 24;
int FloatToFixedChars(Extended value, int decimals, int precision, char16_t* out);
int FloatToFixedChars(Extended value, int decimals, int precision, char* out);

// The general format's digits (shortest form of up to precision significant digits)
// always in positional notation: 1e-6 is "0.000001", 1e20 is "100000000000000000000".
// Throws Exception for infinity and NaN.
QString FloatToPlain(Extended value, int precision = 15);

// One argument of Format: integers, reals (double or Extended) or texts.
class TFormatArg {
public:
    enum TKind { faInteger, faReal, faText };

    template <std::integral T>
        requires(!std::same_as<T, bool>)
    TFormatArg(T v) : Kind(faInteger), Integer(static_cast<Int64>(v)) {}
    template <std::floating_point T>
    TFormatArg(T v) : Kind(faReal), Real(static_cast<Extended>(v)) {}
    TFormatArg(const QString& v) : Kind(faText), Text(v) {}
    TFormatArg(const char* v) : Kind(faText), Text(QString::fromUtf8(v)) {}

    TKind Kind;
    Int64 Integer = 0;
    Extended Real = 0;
    QString Text;
};

// The platform's Format for the conversions the program uses:
//   "%d" an integer ("%.3d" at least three digits),
//   "%s" a text ("%.5s" at most five characters),
//   "%f" a real in fixed notation with two decimals ("%.3f" with three), the
//        DecimalSeparator, read-back rules (never an exponent, see FloatToFixed),
//   "%%" a percent sign;
// each optionally with "-" (pad on the right) and a width ("%8.3f", "%-4d"), padded
// with blanks. A conversion without a matching argument, or of the wrong kind, throws
// Exception "Format '<format>' invalid or incompatible with argument". Surplus arguments
// are ignored.
QString Format(const QString& format, std::initializer_list<TFormatArg> args);

// The platform's StrToInt: optional leading blanks, an optional "+" or "-", decimal
// digits, nothing after them, within -2147483648..2147483647. Otherwise throws
// Exception "'<s>' is not a valid integer value".
int StrToInt(const QString& s);
int StrToIntDef(const QString& s, int defaultValue);
bool TryStrToInt(const QString& s, int& value);

// The platform's StrToFloat: optional blanks around, an optional sign, digits with at
// most one DecimalSeparator (at least one digit in all), an optional exponent "E"/"e"
// with optional sign and digits. No thousand separators. Out of the range of Extended
// counts as not a number. Otherwise throws "'<s>' is not a valid floating point value".
// The result is the correctly rounded Extended of the decimal text.
Extended StrToFloat(const QString& s);
bool TryStrToFloat(const QString& s, Extended& value);

// The conversion behind the read-back readers: [sign] digits [decimalSeparator digits],
// nothing else, at least one digit, correctly rounded to Extended. False for anything
// else and for a value out of range.
bool DecimalTextToFloat(const QString& s, QChar decimalSeparator, Extended& value);

// The common case of the read-back readers in one pass over the text: [sign] digits
// ["," or "." digits] with at least one digit, at most 19 significant digits and 27
// decimals. The value DecimalTextToFloat gives for the same text (with that separator);
// false, value untouched, for any other text, which the general routines then judge.
bool ShortDecimalToFloat(QStringView s, Extended& value);
