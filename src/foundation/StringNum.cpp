#include "foundation/StringNum.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace {

constexpr const char* Module = "StringNum";
static_assert(XYCharsRoom >= 2 * FixedCharsRoom + 1);

bool IsDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }
bool IsSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

void SplitGroups(const QString& str, QStringList& SL, QChar open, QChar close)
{
    SL.clear();
    if (str.size() < 2)
        return;
    bool inGroup = false;
    qsizetype start = 0;
    QString last;
    for (qsizetype i = 0; i < str.size(); ++i) {
        const QChar c = str.at(i);
        if (c == open) {
            inGroup = true;
            start = i + 1;
        } else if (c == close) {
            if (inGroup) {
                last = str.mid(start, i - start);
                inGroup = false;
            }
            SL.append(last);
        }
    }
}

QString XYtoString(Extended X, Extended Y, int decimals)
{
    char16_t text[XYCharsRoom];
    const int n = XYtoChars(X, Y, decimals, text);
    if (n >= 0)
        return QString(reinterpret_cast<const QChar*>(text), n);
    return FloatToFixed(X, decimals, 16) + QLatin1Char(' ') + FloatToFixed(Y, decimals, 16);
}

// The three blank errors shared by StringToXY and StringToXYInt; the position of the
// first blank.
qsizetype SplitAtBlank(const QString& s)
{
    const qsizetype blank = s.indexOf(QLatin1Char(' '));
    if (blank < 0)
        throw Exception(QStringLiteral("Не найден пробел-разделитель чисел в строке"));
    if (blank == 0)
        throw Exception(QStringLiteral("Найден пробел-разделитель чисел в начале строки"));
    if (blank == s.size() - 1)
        throw Exception(QStringLiteral("Найден пробел-разделитель чисел в конце строки"));
    return blank;
}

}  // namespace

void _2DDynaArrToSL(const QString& str, QStringList& SL)
{
    TTrailGuard guard(Module, "Procedure: _2DDynaArrToSL(const str:string; SL:TStringList);",
                      TrailArg("str", str));
    SplitGroups(str, SL, QLatin1Char('('), QLatin1Char(')'));
}

void DynaArrToSL(const QString& str, QStringList& SL)
{
    TTrailGuard guard(Module, "Procedure: DynaArrToSL(const str:string; SL:TStringList);",
                      TrailArg("str", str));
    SplitGroups(str, SL, QLatin1Char('['), QLatin1Char(']'));
}

void DynaArrStrToVars(const QString& str, QStringList& SL)
{
    TTrailGuard guard(Module, "Procedure: DynaArrStrToVars(const str:string; SL:TStringList);",
                      TrailArg("str", str));
    SplitGroups(str, SL, QLatin1Char('{'), QLatin1Char('}'));
}

QString FontStylesToStr(TFontStyles fs)
{
    QString s(4, QLatin1Char('0'));
    const TFontStyle order[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    for (int i = 0; i < 4; ++i)
        if (fs & order[i])
            s[i] = QLatin1Char('1');
    return s;
}

TFontStyles StrToFontStyles(const QString& s)
{
    TFontStyles fs = 0;
    if (s.size() < 3)
        return fs;
    const TFontStyle order[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    const int count = static_cast<int>(std::min<qsizetype>(s.size(), 4));
    for (int i = 0; i < count; ++i)
        if (s.at(i) == QLatin1Char('1'))
            fs |= order[i];
    return fs;
}

QString ConvertDecimalSeparator(const QString& s)
{
    QString result = s;
    for (QChar& c : result)
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            c = DecimalSeparator;
    return result;
}

QString DelThousandSeparators(const QString& s)
{
    QString result = s;
    result.remove(ThousandSeparator);
    return result;
}

bool ValidInteger(const QString& s, bool ThousandSep)
{
    if (s.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (IsSign(s.at(0))) {
        negative = s.at(0) == QLatin1Char('-');
        i = 1;
    }
    long long magnitude = 0;
    bool anyDigit = false;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (IsDigit(c)) {
            anyDigit = true;
            magnitude = magnitude * 10 + (c.unicode() - u'0');
            if (magnitude > 2147483648LL)
                return false;
        } else if (!(ThousandSep && c == ThousandSeparator)) {
            return false;
        }
    }
    return anyDigit && (negative || magnitude <= 2147483647LL);
}

bool ValidFloat(const QString& s, bool ThousandSep, bool UniDecSep)
{
    if (s.isEmpty())
        return false;
    if (s.size() == 1 && IsSign(s.at(0)))
        return false;
    bool separatorSeen = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (IsDigit(c))
            continue;
        if (IsSign(c)) {
            if (i != 0)
                return false;
            continue;
        }
        if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
            if (!UniDecSep && c != DecimalSeparator)
                return false;
            if (separatorSeen || s.size() == 1)
                return false;
            separatorSeen = true;
            continue;
        }
        if (ThousandSep && c == ThousandSeparator)
            continue;
        return false;
    }
    return true;
}

bool ValidNumSymbols(const QString& s)
{
    return std::all_of(s.begin(), s.end(), IsDigit);
}

bool ValidNumSymbol(QChar c)
{
    return IsDigit(c);
}

bool ValidNumSymbolsRange(const QString& s, int range)
{
    return s.size() == range && ValidNumSymbols(s);
}

QString XYtoString0(Extended X, Extended Y)
{
    TTrailGuard guard(Module, "Function: XYtoString0(const X,Y:extended):string;",
                      TrailArg("X", X), TrailArg("Y", Y));
    return XYtoString(X, Y, 0);
}

QString XYtoString1(Extended X, Extended Y)
{
    TTrailGuard guard(Module, "Function: XYtoString1(const X,Y:extended):string;",
                      TrailArg("X", X), TrailArg("Y", Y));
    return XYtoString(X, Y, 1);
}

QString XYtoString2(Extended X, Extended Y)
{
    TTrailGuard guard(Module, "Function: XYtoString2(const X,Y:extended):string;",
                      TrailArg("X", X), TrailArg("Y", Y));
    return XYtoString(X, Y, 2);
}

QString XYtoString3(Extended X, Extended Y)
{
    TTrailGuard guard(Module, "Function: XYtoString3(const X,Y:extended):string;",
                      TrailArg("X", X), TrailArg("Y", Y));
    return XYtoString(X, Y, 3);
}

template <class C>
int XYChars(Extended X, Extended Y, int decimals, C* out)
{
    const int nx = FloatToFixedChars(X, decimals, 16, out);
    if (nx < 0)
        return -1;
    out[nx] = static_cast<C>(' ');
    const int ny = FloatToFixedChars(Y, decimals, 16, out + nx + 1);
    return ny < 0 ? -1 : nx + 1 + ny;
}

int XYtoChars(Extended X, Extended Y, int decimals, char16_t* out)
{
    return XYChars(X, Y, decimals, out);
}

int XYtoChars(Extended X, Extended Y, int decimals, char* out)
{
    return XYChars(X, Y, decimals, out);
}

bool ShortStringToXY(QStringView s, Extended& X, Extended& Y)
{
    // Another separator would read "," and "." differently in StrToFlt.
    if (DecimalSeparator != QLatin1Char(',') && DecimalSeparator != QLatin1Char('.'))
        return false;
    const qsizetype blank = s.indexOf(u' ');
    Extended x = 0;
    Extended y = 0;
    if (blank <= 0 || !ShortDecimalToFloat(s.left(blank), x) ||
        !ShortDecimalToFloat(s.mid(blank + 1), y))
        return false;
    X = x;
    Y = y;
    return true;
}

bool StringToXY(const QString& s, Extended& X, Extended& Y)
{
    TTrailGuard guard(Module, "Function: StringToXY(const s:string; var X,Y:extended):boolean;",
                      TrailArg("s", s));
    if (ShortStringToXY(s, X, Y))
        return true;
    const qsizetype blank = SplitAtBlank(s);
    const QString first = s.left(blank);
    const QString second = s.mid(blank + 1);
    if (!ValidFloat(first, false, true))
        return false;
    if (!ValidFloat(second, false, true)) {
        X = 0;
        Y = 0;
        throw Exception(QStringLiteral("Не получается преобразовать строку в два вещественных числа"));
    }
    const Extended x = StrToFlt(first);
    const Extended y = StrToFlt(second);
    X = x;
    Y = y;
    return true;
}

bool StringToXYInt(const QString& s, int& X, int& Y)
{
    TTrailGuard guard(Module, "Function: StringToXYInt(const s:string; var X,Y:integer):boolean;",
                      TrailArg("s", s));
    X = 0;
    Y = 0;
    const qsizetype blank = SplitAtBlank(s);
    const QString first = s.left(blank);
    const QString second = s.mid(blank + 1);
    if (!ValidInteger(first, false))
        return false;
    if (!ValidInteger(second, false))
        throw Exception(QStringLiteral("Не получается преобразовать строку в два целых числа"));
    X = StrToInt(first);
    Y = StrToInt(second);
    return true;
}

Extended StrToFlt(const QString& s)
{
    TTrailGuard guard(Module, "Function: StrToFlt(const s:string):extended;", TrailArg("s", s));
    Extended value = 0;
    // Another separator would read "," and "." differently below.
    if ((DecimalSeparator == QLatin1Char(',') || DecimalSeparator == QLatin1Char('.')) &&
        ShortDecimalToFloat(s, value))
        return value;
    // ValidFloat lets "-", "-." and the like pass; they are refused here as well, with
    // the same message, instead of failing later in some caller.
    if (!ValidFloat(s, false, true) ||
        !DecimalTextToFloat(ConvertDecimalSeparator(s), DecimalSeparator, value))
        throw Exception(QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
    return value;
}

void AddToStr(int& pos, QString& mainstr, const QString& addstr)
{
    TTrailGuard guard(Module, "Procedure: AddToStr(var pos:integer; var mainstr:string; const addstr:string);",
                      TrailArg("pos", pos), TrailArg("addstr", addstr));
    if (pos < 1)
        throw Exception(QStringLiteral("Неверная позиция добавления в строку: %1").arg(pos));
    const qsizetype add = addstr.size();
    qsizetype length = mainstr.size();
    if (length - pos <= add) {
        length += ((pos + add - length) / 128 + 1) * 128;
        if (length > mainstr.capacity())
            mainstr.reserve(std::max(length, 2 * mainstr.capacity()));
        mainstr.resize(length, QLatin1Char(' '));
    }
    std::copy(addstr.cbegin(), addstr.cend(), mainstr.begin() + (pos - 1));
    pos += static_cast<int>(add);
}

QByteArray StrDosToWin(const QByteArray& s)
{
    QByteArray result = s;
    for (char& b : result) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 128 && u <= 175)
            b = static_cast<char>(u + 64);    // А..Я, а..п
        else if (u >= 224 && u <= 239)
            b = static_cast<char>(u + 16);    // р..я
        else if (u == 240)
            b = static_cast<char>(0xA8);      // Ё
        else if (u == 241)
            b = static_cast<char>(0xB8);      // ё
    }
    return result;
}

QString StrDosToWin(const QString& s)
{
    TTrailGuard guard(Module, "Function: StrDosToWin(const s:string):string;", TrailArg("s", s));
    // Each character of the line stands for one byte read as code page 1251; the 66
    // letter bytes become the letters they are in code page 866.
    static const struct TLetterTable {
        QChar From[66];
        QChar To[66];
        TLetterTable()
        {
            QByteArray bytes;
            for (int b = 128; b <= 175; ++b)
                bytes.append(static_cast<char>(b));
            for (int b = 224; b <= 241; ++b)
                bytes.append(static_cast<char>(b));
            const QString from = DecodeCodePage(bytes, TCodePage::Cp1251);
            const QString to = DecodeCodePage(bytes, TCodePage::Cp866);
            for (int i = 0; i < 66; ++i) {
                From[i] = from.at(i);
                To[i] = to.at(i);
            }
        }
    } table;
    QString result = s;
    for (QChar& c : result) {
        if (c.unicode() < 128)
            continue;
        const QChar* hit = std::find(std::begin(table.From), std::end(table.From), c);
        if (hit != std::end(table.From))
            c = table.To[hit - std::begin(table.From)];
    }
    return result;
}

void ReadXYofForaString(const QString& s, Extended& X, Extended& Y)
{
    TTrailGuard guard(Module, "Procedure: ReadXYofForaString(const s:string; var X,Y:extended);",
                      TrailArg("s", s));
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto nextField = [&]() {
        while (i < n && s.at(i) == QLatin1Char(' '))
            ++i;
        const qsizetype start = i;
        while (i < n && s.at(i) != QLatin1Char(' '))
            ++i;
        return ConvertDecimalSeparator(s.mid(start, i - start));
    };
    const QString xText = nextField();
    const QString yText = nextField();
    const Extended x = StrToFloat(xText);
    const Extended y = StrToFloat(yText);
    X = x;
    Y = y;
}

void ReadIntOfForaString(const QString& s, int& n)
{
    TTrailGuard guard(Module, "Procedure: ReadIntOfForaString(const s:string; var n:integer);",
                      TrailArg("s", s));
    QString digits;
    for (const QChar c : s)
        if (IsDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('.'))
            digits += c;
    n = StrToInt(digits);
}

QString FltToStr3(Extended x)
{
    TTrailGuard guard(Module, "Function: FltToStr3(x:extended):string;", TrailArg("x", x));
    return FloatToFixed(x, 3, 12).replace(QLatin1Char(','), QLatin1Char('.'));
}

QString FltToStr(Extended x)
{
    TTrailGuard guard(Module, "Function: FltToStr(x:extended):string;", TrailArg("x", x));
    return FloatToPlain(x, 15).replace(QLatin1Char(','), QLatin1Char('.'));
}
