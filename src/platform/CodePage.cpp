// Code pages 1251 (reference, settings and plan files) and 866 (exchange format):
// our own tables for the upper half; the lower half is ASCII in both.
#include "platform/CodePage.h"

#include <array>

namespace {

const char16_t Cp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

const char16_t Cp866High[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

struct TReverseTable {
    std::array<unsigned char, 0x10000> Byte{};   // 0 = no place in the code page
    explicit TReverseTable(const char16_t* high)
    {
        for (int i = 0; i < 128; ++i)
            Byte[high[i]] = static_cast<unsigned char>(128 + i);
    }
};

const char16_t* HighTable(TCodePage cp)
{
    return cp == TCodePage::Cp866 ? Cp866High : Cp1251High;
}

const TReverseTable& Reverse(TCodePage cp)
{
    static const TReverseTable r1251(Cp1251High);
    static const TReverseTable r866(Cp866High);
    return cp == TCodePage::Cp866 ? r866 : r1251;
}

}  // namespace

QString DecodeCodePage(const char* data, qsizetype size, TCodePage cp)
{
    const char16_t* high = HighTable(cp);
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = QChar(b < 128 ? char16_t(b) : high[b - 128]);
    }
    return out;
}

QString DecodeCodePage(const QByteArray& bytes, TCodePage cp)
{
    return DecodeCodePage(bytes.constData(), bytes.size(), cp);
}

QByteArray EncodeCodePage(const QString& text, TCodePage cp, qsizetype* badPosition)
{
    if (badPosition)
        *badPosition = -1;
    const TReverseTable& rev = Reverse(cp);
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 128) {
            dst[i] = static_cast<char>(c);
            continue;
        }
        const unsigned char b = rev.Byte[c];
        if (b == 0) {
            if (badPosition && *badPosition < 0)
                *badPosition = i;
            dst[i] = '?';
        } else {
            dst[i] = static_cast<char>(b);
        }
    }
    return out;
}

const std::array<unsigned char, 0x10000>& EncodeTable(TCodePage cp)
{
    return Reverse(cp).Byte;
}

bool IsEncodable(const QString& text, TCodePage cp)
{
    qsizetype bad = -1;
    EncodeCodePage(text, cp, &bad);
    return bad < 0;
}

QStringList SplitLines(const QString& text, bool loneCrEndsLine)
{
    QStringList lines;
    const qsizetype n = text.size();
    const QChar* p = text.constData();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c == u'\n') {
            lines.append(QString(p + start, i - start));
            start = i + 1;
        } else if (c == u'\r') {
            if (i + 1 < n && p[i + 1].unicode() == u'\n') {
                lines.append(QString(p + start, i - start));
                ++i;
                start = i + 1;
            } else if (loneCrEndsLine) {
                lines.append(QString(p + start, i - start));
                start = i + 1;
            }
        }
    }
    if (start < n)
        lines.append(QString(p + start, n - start));
    return lines;
}

QString JoinLinesCrLf(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() + 2;
    QString out;
    out.reserve(total);
    for (const QString& l : lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}
