#include "foundation/DelphiFormat.h"

#include "foundation/ErrorTrail.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr int MaxDigits = 18;

// A finite value as 0.D1 D2 ... Dn × 10^Exponent, without trailing zeros; zero has no
// digits. std::to_chars is locale-independent and rounds the exact binary value to
// nearest, which gives the first 18 significant digits the platform worked from.
struct TDecimal {
    bool Negative = false;
    int Exponent = 0;
    std::string Digits;

    bool IsZero() const { return Digits.empty(); }
};

void DropTrailingZeros(TDecimal& d)
{
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty()) {
        d.Exponent = 0;
        d.Negative = false;   // a value that rounds to zero carries no minus sign
    }
}

constexpr std::uint64_t Pow10[20] = {
    1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL,
    100000000ULL, 1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL,
    10000000000000ULL, 100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL,
    100000000000000000ULL, 1000000000000000000ULL, 10000000000000000000ULL};

// The fields of the 80-bit format, read without touching the value as a number: the
// 64-bit mantissa with its explicit leading bit, the biased exponent and the sign.
struct TExtendedBits {
    std::uint64_t Mantissa = 0;
    int Biased = 0;
    bool Negative = false;

    explicit TExtendedBits(const Extended& v)
    {
        static_assert(std::numeric_limits<Extended>::digits == 64);
        std::uint16_t top = 0;
        std::memcpy(&Mantissa, &v, sizeof Mantissa);
        std::memcpy(&top, reinterpret_cast<const char*>(&v) + sizeof Mantissa, sizeof top);
        Biased = top & 0x7FFF;
        Negative = (top & 0x8000) != 0;
    }
    bool IsZero() const { return Biased == 0 && Mantissa == 0; }
    bool IsFinite() const { return Biased != 0x7FFF; }
};

// The 18 digits by exact integer arithmetic for the values plans are made of
// (0.01 <= |a| < 2^63): |a| = m / 2^shift, so |a| × 10^k = m × 10^k / 2^shift fits in
// 128 bits and its remainder decides the rounding (to nearest, ties to even, as
// to_chars). digits (10^17 <= digits < 10^18) and exponent give |a| = 0.digits ×
// 10^exponent. False outside that range.
bool FastDigits18(const TExtendedBits& a, std::uint64_t& digits, int& exponent)
{
    // A normal value is m × 2^(e2 - 64): m / 2^64 in [0.5, 1).
    const std::uint64_t m = a.Mantissa;
    if (a.Biased == 0 || !a.IsFinite() || (m >> 63) == 0)
        return false;   // zero, subnormal, infinite, NaN or not a normal number
    const int e2 = a.Biased - 16382;
    const int shift = 64 - e2;
    if (shift < 1 || shift > 127)
        return false;
    using U128 = unsigned __int128;
    const std::uint64_t low = Pow10[17];
    const std::uint64_t high = Pow10[18];
    // 17 - floor((e2 - 1) × log10 2), near enough for a start: the loop settles k.
    int k = 17 - (((e2 - 1) * 78913) >> 18);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k < 0 || k > 19)
            return false;
        const U128 product = static_cast<U128>(m) * Pow10[k];
        U128 q = product >> shift;
        if (q >= high) {
            --k;
            continue;
        }
        if (q < low) {
            ++k;
            continue;
        }
        const U128 rest = product - (q << shift);
        const U128 half = static_cast<U128>(1) << (shift - 1);
        if (rest > half || (rest == half && (q & 1)))
            ++q;
        exponent = 18 - k;
        if (q == high) {
            q = low;
            ++exponent;
        }
        digits = static_cast<std::uint64_t>(q);
        return true;
    }
    return false;
}

bool FastDigits(Extended a, TDecimal& d)
{
    std::uint64_t digits = 0;
    int exponent = 0;
    if (!FastDigits18(TExtendedBits(a), digits, exponent))
        return false;
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, digits).ptr;
    d.Digits.assign(buffer, end);
    d.Exponent = exponent;
    return true;
}

// x / 10^n and its remainder, n in 0..18: each divisor a constant, which the compiler
// turns into a multiplication.
[[gnu::always_inline]] inline std::uint64_t DivPow10(std::uint64_t x, int n, std::uint64_t& rest)
{
    switch (n) {
#define VELMORA_DIV_CASE(N)                       \
    case N: {                                     \
        const std::uint64_t q = x / Pow10[N];    \
        rest = x - q * Pow10[N];                  \
        return q;                                 \
    }
        VELMORA_DIV_CASE(0) VELMORA_DIV_CASE(1) VELMORA_DIV_CASE(2) VELMORA_DIV_CASE(3)
        VELMORA_DIV_CASE(4) VELMORA_DIV_CASE(5) VELMORA_DIV_CASE(6) VELMORA_DIV_CASE(7)
        VELMORA_DIV_CASE(8) VELMORA_DIV_CASE(9) VELMORA_DIV_CASE(10) VELMORA_DIV_CASE(11)
        VELMORA_DIV_CASE(12) VELMORA_DIV_CASE(13) VELMORA_DIV_CASE(14) VELMORA_DIV_CASE(15)
        VELMORA_DIV_CASE(16) VELMORA_DIV_CASE(17) VELMORA_DIV_CASE(18)
#undef VELMORA_DIV_CASE
    default:
        rest = x % Pow10[n];
        return x / Pow10[n];
    }
}

constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits of v: 1 for 0.
inline int DigitCount(std::uint64_t v)
{
    v |= 1;   // the same count, and 0 counts as 1
    const int bitWidth = 64 - std::countl_zero(v);
    const int t = (bitWidth * 1233) >> 12;   // floor(log10(2^bitWidth)), near enough
    return t + (v >= Pow10[t] ? 1 : 0);
}

// The digits of v, ending just before end, two a step.
template <class C>
inline void PutDigitsBefore(std::uint64_t v, C* end)
{
    while (v >= 100) {
        const std::uint64_t pair = v % 100;
        v /= 100;
        *--end = static_cast<C>(DigitPairs[2 * pair + 1]);
        *--end = static_cast<C>(DigitPairs[2 * pair]);
    }
    if (v >= 10) {
        *--end = static_cast<C>(DigitPairs[2 * v + 1]);
        *--end = static_cast<C>(DigitPairs[2 * v]);
    } else {
        *--end = static_cast<C>('0' + v);
    }
}

// FloatToFixed without grouping, for the values FastDigits18 takes whose text has at
// most 18 digits: the 18 digits as one integer, rounded once to the digits kept (halves
// away from zero, the first dropped digit decides, as RoundTo does), then written as
// whole part and decimals. The same text as the general path; -1 outside that range
// (and, for bytes, with a decimal separator outside ASCII).
template <class C>
int FastFixedChars(const Extended& value, int decimals, int precision, C* out)
{
    const char16_t separator = DecimalSeparator.unicode();
    if constexpr (sizeof(C) == 1) {
        if (separator >= 128)
            return -1;
    }
    const TExtendedBits bits(value);
    std::uint64_t units = 0;   // the rounded value × 10^decimals
    // Most values are below 2^40 units and not near a half unit. In double precision
    // the value and its product with the exact power of ten are then within 2^-12 units
    // of the exact product, and the value of 18 digits within 10^-5, so both round to
    // the integer nearest to the product. Values near a half, and larger ones, take the
    // exact way below.
    bool rounded = false;
    const double scaled = std::fabs(static_cast<double>(value)) * static_cast<double>(Pow10[decimals]);
    if (decimals <= 15 && scaled < 0x1p40 && scaled < static_cast<double>(Pow10[std::min(precision, 15)])) {
        constexpr double integral = 0x1p52;   // adding it leaves no fraction bits
        const double nearest = (scaled + integral) - integral;
        const double off = scaled - nearest;
        if (off > -0.49 && off < 0.49) {
            units = static_cast<std::uint64_t>(nearest);
            rounded = true;
        }
    }
    if (!rounded && !bits.IsZero()) {
        std::uint64_t digits = 0;
        int exponent = 0;
        if (!FastDigits18(bits, digits, exponent) || exponent + decimals > MaxDigits)
            return -1;
        const int count = std::min(precision, exponent + decimals);   // digits kept
        if (count >= MaxDigits) {
            units = digits;
        } else if (count >= 0) {
            std::uint64_t dropped = 0;
            std::uint64_t kept = DivPow10(digits, MaxDigits - count, dropped);
            if (dropped >= Pow10[MaxDigits - count] / 2)
                ++kept;
            units = kept * Pow10[exponent + decimals - count];
        }
    }
    std::uint64_t fraction = 0;
    const std::uint64_t whole = DivPow10(units, decimals, fraction);
    int n = 0;
    if (bits.Negative && units != 0)   // a value that rounds to zero carries no minus sign
        out[n++] = static_cast<C>('-');
    n += DigitCount(whole);
    PutDigitsBefore(whole, out + n);
    if (decimals > 0) {
        out[n] = static_cast<C>(separator);
        n += 1 + decimals;
        for (int i = 1; i <= decimals; ++i) {
            out[n - i] = static_cast<C>('0' + fraction % 10);
            fraction /= 10;
        }
    }
    return n;
}

TDecimal ToDecimal(Extended value)
{
    TDecimal d;
    d.Negative = std::signbit(value);
    if (value == 0) {
        d.Negative = false;
        return d;
    }
    if (FastDigits(std::fabs(value), d)) {
        DropTrailingZeros(d);
        return d;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, MaxDigits - 1);
    const char* p = buffer;
    // "d.ddddde±x": take the digits and skip whatever stands for the point.
    for (; p != result.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.Digits.push_back(*p);
    int exponent = 0;
    if (p != result.ptr) {
        ++p;
        std::from_chars(*p == '+' ? p + 1 : p, result.ptr, exponent);
    }
    d.Exponent = exponent + 1;
    DropTrailingZeros(d);
    return d;
}

// Keeps count significant digits, halves away from zero; count <= 0 keeps none, so the
// value becomes zero or, when the first dropped digit is 5 or more, one unit at the
// place just above the digits kept.
void RoundTo(TDecimal& d, int count)
{
    if (d.IsZero() || count >= static_cast<int>(d.Digits.size()))
        return;
    if (count < 0) {
        d.Digits.clear();
        DropTrailingZeros(d);
        return;
    }
    const bool up = d.Digits[count] >= '5';
    d.Digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.Digits[i] == '9') {
            d.Digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.Digits[i];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exponent;
        }
    }
    DropTrailingZeros(d);
}

char DigitAt(const TDecimal& d, int index)
{
    return index >= 0 && index < static_cast<int>(d.Digits.size()) ? d.Digits[index] : '0';
}

// Whole part and decimals of a rounded decimal, with the current separators.
QString PositionalText(const TDecimal& d, int decimals, bool groupThousands)
{
    const int wholeCount = std::max(d.Exponent, 1);
    const bool grouped = groupThousands && !ThousandSeparator.isNull();
    QString text;
    text.reserve(wholeCount + wholeCount / 3 + decimals + 2);
    if (d.Negative)
        text += QLatin1Char('-');
    for (int i = 0; i < wholeCount; ++i) {
        if (grouped && i > 0 && (wholeCount - i) % 3 == 0)
            text += ThousandSeparator;
        text += QLatin1Char(d.Exponent <= 0 ? '0' : DigitAt(d, i));
    }
    if (decimals > 0) {
        text += DecimalSeparator;
        for (int i = 0; i < decimals; ++i)
            text += QLatin1Char(DigitAt(d, d.Exponent + i));
    }
    return text;
}

// The shortest positional form of an already rounded decimal.
QString ShortestPositional(const TDecimal& d)
{
    const int decimals = std::max(0, static_cast<int>(d.Digits.size()) - d.Exponent);
    return PositionalText(d, decimals, false);
}

// "1.2345E6", "1E-5": the general format's exponent form.
QString GeneralExponent(const TDecimal& d, int exponentDigits)
{
    QString text;
    if (d.Negative)
        text += QLatin1Char('-');
    text += QLatin1Char(d.Digits[0]);
    if (d.Digits.size() > 1) {
        text += DecimalSeparator;
        text += QLatin1String(d.Digits.data() + 1, static_cast<qsizetype>(d.Digits.size() - 1));
    }
    const int e = d.Exponent - 1;
    text += QLatin1Char('E');
    if (e < 0)
        text += QLatin1Char('-');
    text += QString::number(std::abs(e)).rightJustified(exponentDigits, QLatin1Char('0'));
    return text;
}

QString NonFiniteText(Extended value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

void RequireFinite(Extended value)
{
    if (!std::isfinite(value))
        throw Exception(QStringLiteral("Значение \"%1\" не является конечным числом и не может быть записано")
                            .arg(NonFiniteText(value)));
}

}  // namespace

QString FloatToStrF(Extended value, TFloatFormat format, int precision, int digits)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    precision = std::clamp(precision, 1, MaxDigits);
    TDecimal d = ToDecimal(value);
    switch (format) {
    case ffGeneral: {
        RoundTo(d, precision);
        if (d.IsZero())
            return QStringLiteral("0");
        if (d.Exponent > precision || d.Exponent < -3)
            return GeneralExponent(d, std::clamp(digits, 0, 4));
        return ShortestPositional(d);
    }
    case ffExponent: {
        RoundTo(d, precision);
        QString text;
        if (d.Negative)
            text += QLatin1Char('-');
        text += QLatin1Char(DigitAt(d, 0));
        if (precision > 1) {
            text += DecimalSeparator;
            for (int i = 1; i < precision; ++i)
                text += QLatin1Char(DigitAt(d, i));
        }
        const int e = d.IsZero() ? 0 : d.Exponent - 1;
        text += QLatin1Char('E');
        text += e < 0 ? QLatin1Char('-') : QLatin1Char('+');
        text += QString::number(std::abs(e)).rightJustified(std::clamp(digits, 0, 4), QLatin1Char('0'));
        return text;
    }
    case ffFixed:
    case ffNumber: {
        digits = std::clamp(digits, 0, MaxDigits);
        RoundTo(d, std::min(precision, d.Exponent + digits));
        if (d.Exponent > precision)
            return GeneralExponent(d, 0);
        return PositionalText(d, digits, format == ffNumber);
    }
    }
    return QString();
}

QString FloatToStr(Extended value)
{
    return FloatToStrF(value, ffGeneral, 15, 0);
}

QString FloatToFixed(Extended value, int decimals, int precision, bool groupThousands)
{
    RequireFinite(value);
    decimals = std::clamp(decimals, 0, MaxDigits);
    precision = std::clamp(precision, 1, MaxDigits);
    if (!groupThousands) {
        char16_t text[FixedCharsRoom];
        const int n = FastFixedChars(value, decimals, precision, text);
        if (n >= 0)
            return QString(reinterpret_cast<const QChar*>(text), n);
    }
    TDecimal d = ToDecimal(value);
    RoundTo(d, std::min(precision, d.Exponent + decimals));
    return PositionalText(d, decimals, groupThousands);
}

int FloatToFixedChars(Extended value, int decimals, int precision, char16_t* out)
{
    return FastFixedChars(value, std::clamp(decimals, 0, MaxDigits), std::clamp(precision, 1, MaxDigits),
                          out);
}

int FloatToFixedChars(Extended value, int decimals, int precision, char* out)
{
    return FastFixedChars(value, std::clamp(decimals, 0, MaxDigits), std::clamp(precision, 1, MaxDigits),
                          out);
}

QString FloatToPlain(Extended value, int precision)
{
    RequireFinite(value);
    TDecimal d = ToDecimal(value);
    RoundTo(d, std::clamp(precision, 1, MaxDigits));
    return ShortestPositional(d);
}

// ---------------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void ThrowFormatError(const QString& format)
{
    throw Exception(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
}

}  // namespace

QString Format(const QString& format, std::initializer_list<TFormatArg> args)
{
    QString result;
    result.reserve(format.size() + 16 * static_cast<qsizetype>(args.size()));
    auto nextArg = args.begin();
    const qsizetype n = format.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            const qsizetype next = format.indexOf(QLatin1Char('%'), i);
            const qsizetype end = next < 0 ? n : next;
            result += QStringView(format).mid(i, end - i);
            i = end;
            continue;
        }
        ++i;
        if (i < n && format.at(i) == QLatin1Char('%')) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        bool left = false;
        if (i < n && format.at(i) == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        int width = 0;
        while (i < n && format.at(i).isDigit() && format.at(i).unicode() < 128) {
            width = std::min(width * 10 + (format.at(i).unicode() - '0'), 100000);
            ++i;
        }
        int prec = -1;
        if (i < n && format.at(i) == QLatin1Char('.')) {
            ++i;
            prec = 0;
            while (i < n && format.at(i).isDigit() && format.at(i).unicode() < 128) {
                prec = std::min(prec * 10 + (format.at(i).unicode() - '0'), 100000);
                ++i;
            }
        }
        if (i >= n || nextArg == args.end())
            ThrowFormatError(format);
        const char16_t type = format.at(i).toLower().unicode();
        ++i;
        const TFormatArg& arg = *nextArg++;
        QString piece;
        switch (type) {
        case u'd': {
            if (arg.Kind != TFormatArg::faInteger)
                ThrowFormatError(format);
            const bool negative = arg.Integer < 0;
            const unsigned long long magnitude =
                negative ? 0ULL - static_cast<unsigned long long>(arg.Integer)
                         : static_cast<unsigned long long>(arg.Integer);
            QString digits = QString::number(magnitude);
            if (prec > digits.size())
                digits = digits.rightJustified(prec, QLatin1Char('0'));
            piece = negative ? QLatin1Char('-') + digits : digits;
            break;
        }
        case u's':
            if (arg.Kind != TFormatArg::faText)
                ThrowFormatError(format);
            piece = prec >= 0 ? arg.Text.left(prec) : arg.Text;
            break;
        case u'f':
            if (arg.Kind != TFormatArg::faReal)
                ThrowFormatError(format);
            piece = FloatToFixed(arg.Real, prec < 0 ? 2 : prec);
            break;
        default:
            ThrowFormatError(format);
        }
        if (piece.size() < width)
            piece = left ? piece.leftJustified(width) : piece.rightJustified(width);
        result += piece;
    }
    return result;
}

// ---------------------------------------------------------------------------------
// Text to numbers

bool TryStrToInt(const QString& s, int& value)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && s.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
        negative = s.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return false;
    long long magnitude = 0;
    for (; i < n; ++i) {
        const char16_t c = s.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > 2147483648LL)
            return false;
    }
    if (!negative && magnitude > 2147483647LL)
        return false;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

int StrToInt(const QString& s)
{
    int value = 0;
    if (!TryStrToInt(s, value))
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return value;
}

int StrToIntDef(const QString& s, int defaultValue)
{
    int value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

namespace {

// Scans [sign] digits [separator digits] [E [sign] digits] from s[i] on into an ASCII
// text that from_chars reads; i is left after the last character taken.
bool ScanReal(const QString& s, qsizetype& i, QChar decimalSeparator, bool allowExponent,
              std::string& ascii)
{
    const qsizetype n = s.size();
    if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
        if (s.at(i) == QLatin1Char('-'))
            ascii.push_back('-');
        ++i;
    }
    bool anyDigit = false;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        const QChar c = s.at(i);
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            ascii.push_back(static_cast<char>(c.unicode()));
            anyDigit = true;
        } else if (c == decimalSeparator && !separatorSeen) {
            ascii.push_back('.');
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return false;
    if (allowExponent && i < n && (s.at(i) == QLatin1Char('E') || s.at(i) == QLatin1Char('e'))) {
        ascii.push_back('e');
        ++i;
        if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
            ascii.push_back(static_cast<char>(s.at(i).unicode()));
            ++i;
        }
        bool exponentDigit = false;
        for (; i < n && s.at(i).unicode() >= u'0' && s.at(i).unicode() <= u'9'; ++i) {
            ascii.push_back(static_cast<char>(s.at(i).unicode()));
            exponentDigit = true;
        }
        if (!exponentDigit)
            return false;
    }
    return true;
}

// Powers of ten up to 10^27 are exact in Extended (5^27 < 2^64).
constexpr Extended Pow10Extended[28] = {
    1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L, 1e10L, 1e11L, 1e12L, 1e13L,
    1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L,
    1e26L, 1e27L};

// "[-]digits[.digits]" with at most 19 significant digits and 27 decimals: the digits
// as an exact integer divided by an exact power of ten, one correctly rounded division,
// the same result as the general path. False when the text is outside that form.
bool FastAsciiToExtended(const std::string& ascii, Extended& value)
{
    std::uint64_t mantissa = 0;
    int significant = 0;
    int decimals = 0;
    bool afterPoint = false;
    size_t i = 0;
    const bool negative = !ascii.empty() && ascii[0] == '-';
    if (negative)
        i = 1;
    for (; i < ascii.size(); ++i) {
        const char c = ascii[i];
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        if (mantissa != 0 || c != '0')
            ++significant;
        if (significant > 19)
            return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        if (afterPoint)
            ++decimals;
    }
    if (decimals > 27)
        return false;
    Extended v = static_cast<Extended>(mantissa) / Pow10Extended[decimals];
    value = negative ? -v : v;
    return true;
}

// FastAsciiToExtended straight from the text, with "," and "." as the separator.
bool FastTextToExtended(QStringView s, Extended& value)
{
    std::uint64_t mantissa = 0;
    int significant = 0;
    int decimals = 0;
    bool afterPoint = false;
    bool anyDigit = false;
    qsizetype i = 0;
    const qsizetype n = s.size();
    const bool negative = n > 0 && s[0] == u'-';
    if (n > 0 && (negative || s[0] == u'+'))
        i = 1;
    for (; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'.' || c == u',') {
            if (afterPoint)
                return false;
            afterPoint = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return false;
        anyDigit = true;
        if (mantissa != 0 || c != u'0')
            ++significant;
        if (significant > 19)
            return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - u'0');
        if (afterPoint)
            ++decimals;
    }
    if (!anyDigit || decimals > 27)
        return false;
    Extended v = static_cast<Extended>(mantissa) / Pow10Extended[decimals];
    value = negative ? -v : v;
    return true;
}

bool AsciiToExtended(const std::string& ascii, Extended& value)
{
    if (FastAsciiToExtended(ascii, value))
        return true;
    // from_chars takes no "+" and no "-" as the only sign, which ScanReal never leaves.
    Extended v = 0;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    const auto result = std::from_chars(first, last, v, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

}  // namespace

bool DecimalTextToFloat(const QString& s, QChar decimalSeparator, Extended& value)
{
    std::string ascii;
    ascii.reserve(static_cast<size_t>(s.size()));
    qsizetype i = 0;
    if (!ScanReal(s, i, decimalSeparator, false, ascii) || i != s.size())
        return false;
    return AsciiToExtended(ascii, value);
}

bool ShortDecimalToFloat(QStringView s, Extended& value)
{
    return FastTextToExtended(s, value);
}

bool TryStrToFloat(const QString& s, Extended& value)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && s.at(i) == QLatin1Char(' '))
        ++i;
    std::string ascii;
    if (!ScanReal(s, i, DecimalSeparator, true, ascii))
        return false;
    while (i < n && s.at(i) == QLatin1Char(' '))
        ++i;
    if (i != n)
        return false;
    return AsciiToExtended(ascii, value);
}

Extended StrToFloat(const QString& s)
{
    Extended value = 0;
    if (!TryStrToFloat(s, value))
        throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    return value;
}
