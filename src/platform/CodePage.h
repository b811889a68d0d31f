// The one place where bytes of files become text and back: code page 1251 for
// reference, settings and plan files, code page 866 for the exchange format.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

enum class TCodePage { Cp1251, Cp866 };

QString DecodeCodePage(const char* data, qsizetype size, TCodePage cp = TCodePage::Cp1251);
QString DecodeCodePage(const QByteArray& bytes, TCodePage cp = TCodePage::Cp1251);

// Characters with no place in the code page are written as "?"; badPosition (when
// given) receives the first such position or -1, so that callers can refuse the text
// instead of silently changing a plan.
QByteArray EncodeCodePage(const QString& text, TCodePage cp = TCodePage::Cp1251,
                          qsizetype* badPosition = nullptr);
bool IsEncodable(const QString& text, TCodePage cp = TCodePage::Cp1251);
// The code page's byte of every character, table[c]; 0 for none and for every character
// below 128 (those are their own bytes). For writers that encode as they fill a block.
const std::array<unsigned char, 0x10000>& EncodeTable(TCodePage cp = TCodePage::Cp1251);

// Lines end at CR LF and at a lone LF; a lone CR ends a line only where the reader's
// format says so. A final line without an end is kept; no empty line is added after
// a final line end.
QStringList SplitLines(const QString& text, bool loneCrEndsLine = false);
// Every line followed by CR LF.
QString JoinLinesCrLf(const QStringList& lines);
