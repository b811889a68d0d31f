// Text conversions shared by the plan file, the command parameter strings, the exchange
// import, the DXF export and the number edit: bracketed groups, font styles as flag
// characters, separators, validation of number texts, coordinate pairs, a growing-buffer
// append, code page 866 letters, locale-independent real output. Number formatting itself
// lives in DelphiFormat.h. Routines that can fail leave an error trail ("StringNum").
#pragma once

#include "platform/Platform.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QStringList>
#include <cstdint>

// Font styles as a set of flags, in the order the style strings write them.
enum TFontStyle : std::uint8_t {
    fsBold = 0x01,
    fsItalic = 0x02,
    fsUnderline = 0x04,
    fsStrikeOut = 0x08,
};
using TFontStyles = std::uint8_t;   // an or-ed set of TFontStyle

// Group splitters. Each clears SL and, for a str of at least 2 characters, adds the text
// between every opening bracket and the next closing bracket as one line. Characters
// outside groups are skipped; an opening bracket inside a group restarts the group
// (groups do not nest); a closing bracket outside a group adds the last group's text
// once more (an empty line when no group came before); an unclosed group is dropped.
void _2DDynaArrToSL(const QString& str, QStringList& SL);   // "(" ")": inner contours
void DynaArrToSL(const QString& str, QStringList& SL);      // "[" "]": nodes
void DynaArrStrToVars(const QString& str, QStringList& SL); // "{" "}": values of a node

// Exactly four characters "1"/"0": bold, italic, underline, strikeout.
QString FontStylesToStr(TFontStyles fs);
// Shorter than 3 characters: no style. Otherwise characters 1 to 3 set bold, italic,
// underline when "1", a fourth "1" sets strikeout; any other character leaves its flag clear.
TFontStyles StrToFontStyles(const QString& s);

// Every "," and "." becomes DecimalSeparator.
QString ConvertDecimalSeparator(const QString& s);
// s without any ThousandSeparator.
QString DelThousandSeparators(const QString& s);

// Validators: they never convert, change or throw.
// An optional sign (not alone), digits, and ThousandSeparator anywhere when ThousandSep;
// the value (separators removed) within -2147483648..2147483647.
bool ValidInteger(const QString& s, bool ThousandSep);
// An optional sign (not alone), digits anywhere, at most one decimal separator (not the
// whole text): "," and "." when UniDecSep, else only the one equal to DecimalSeparator;
// ThousandSeparator anywhere when ThousandSep ("," and "." always count as decimal
// separators). No digit is required ("-." passes) and no exponent is accepted.
bool ValidFloat(const QString& s, bool ThousandSep, bool UniDecSep);
bool ValidNumSymbols(const QString& s);            // only "0".."9"; true for ""
bool ValidNumSymbol(QChar c);
bool ValidNumSymbolsRange(const QString& s, int range);   // exactly range digits

// X and Y in fixed notation with 0..3 decimals (16 significant digits), one blank
// between, DecimalSeparator. Never an exponent; infinity or NaN throws.
QString XYtoString0(Extended X, Extended Y);
QString XYtoString1(Extended X, Extended Y);
QString XYtoString2(Extended X, Extended Y);
QString XYtoString3(Extended X, Extended Y);
// The text of XYtoString0..3 (decimals 0..3) written into out (room for XYCharsRoom
// characters) for the writers of large files; the number of characters, or -1 for a
// pair outside the range FloatToFixedChars covers, whose text XYtoString0..3 give.
// The byte form writes ASCII (-1 also while DecimalSeparator is not ASCII).
inline constexpr int XYCharsRoom = 2 * 24 + 1;
int XYtoChars(Extended X, Extended Y, int decimals, char16_t* out);
int XYtoChars(Extended X, Extended Y, int decimals, char* out);

// Splits s at its first blank; the second part is everything after it. Throws for no
// blank, a leading or a trailing blank. An invalid first part gives false with X, Y
// untouched; a valid first and invalid second part sets X = Y = 0 and throws. Both
// parts accept "," and "." and no thousand separators.
bool StringToXY(const QString& s, Extended& X, Extended& Y);
// The common case of StringToXY in one pass: two numbers of ShortDecimalToFloat's form
// split by one blank. True with the values StringToXY gives; false, X and Y untouched,
// for any other text, whose result or error StringToXY gives.
bool ShortStringToXY(QStringView s, Extended& X, Extended& Y);
// The same for two integers, with X = Y = 0 set first.
bool StringToXYInt(const QString& s, int& X, int& Y);

// A real from a text with "," or "." as decimal separator, no exponent, no thousand
// separators and at least one digit; otherwise throws "Некорректный вид вещественного
// числа в строковом формате". The result is the Extended nearest to the decimal text.
Extended StrToFlt(const QString& s);

// Copies addstr into mainstr at the 1-based pos and advances pos by its length. When the
// room after pos (length - pos) is not larger than the added length, mainstr grows by
// steps of 128 characters (filled with blanks) until it is. Callers start at pos 1 and
// cut mainstr to pos - 1 at the end. Storage grows geometrically, so building a long
// text this way stays linear. A pos below 1 throws.
void AddToStr(int& pos, QString& mainstr, const QString& addstr);

// Code page 866 Russian letters (bytes 128..175 and 224..241) become the same letters of
// code page 1251; every other byte stays. The text form takes a line decoded as code
// page 1251 (each character one byte of the file) and gives the line as read in 866
// for those letters.
QByteArray StrDosToWin(const QByteArray& s);
QString StrDosToWin(const QString& s);

// Exchange-format fields. X is the text after the leading blanks up to the next blank,
// Y the text after the following blanks up to the next blank; "," and "." count as the
// decimal separator; each is read by StrToFloat (its error when it does not convert).
void ReadXYofForaString(const QString& s, Extended& X, Extended& Y);
// Every digit, "," and "." of s in order, read by StrToInt (a sign is dropped, a
// separator makes the conversion fail).
void ReadIntOfForaString(const QString& s, int& n);

// Locale-independent output with "." (DXF export, sign files): fixed notation with 3
// decimals at 12 significant digits, and the general format's shortest form of up to
// 15 significant digits. Neither writes an exponent.
QString FltToStr3(Extended x);
QString FltToStr(Extended x);
