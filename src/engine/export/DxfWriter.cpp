// The byte stream of the DXF export.
#include "engine/export/DxfWriter.h"

#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace {

constexpr std::size_t BlockSize = std::size_t(1) << 20;

}  // namespace

TDxfWriter::TDxfWriter(QIODevice* out) : Out(out), Block(BlockSize + 4096) {}

void TDxfWriter::Line(QStringView line)
{
    Put(line, line);
}

void TDxfWriter::Pair(int code, QStringView value)
{
    char head[8];
    const int c = std::clamp(code, 0, 999);
    head[0] = c >= 100 ? char('0' + c / 100) : ' ';
    head[1] = c >= 10 ? char('0' + c / 10 % 10) : ' ';
    head[2] = char('0' + c % 10);
    const std::size_t room = Used + 5;
    if (room > Block.size())
        Block.resize(std::max(room, 2 * Block.size()));
    std::copy(head, head + 3, Block.data() + Used);
    Block[Used + 3] = '\r';
    Block[Used + 4] = '\n';
    Used += 5;
    Put(value, value);
}

void TDxfWriter::TextPair(int code, QStringView text)
{
    static const auto& table = EncodeTable(TCodePage::Cp1251);
    QString value;
    value.reserve(text.size());
    bool changed = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;   // one break, one blank
            value += u' ';
            changed = true;
        } else if (c < 128 ? c == 0 : table[c] == 0) {
            // A character beyond the basic plane is one character of two code units.
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            value += u'?';
            changed = true;
        } else {
            value += QChar(c);
        }
    }
    if (changed)
        ++Changed;
    Pair(code, value);
}

void TDxfWriter::Put(QStringView text, QStringView line)
{
    static const auto& table = EncodeTable(TCodePage::Cp1251);
    const std::size_t room = Used + static_cast<std::size_t>(text.size()) + 2;
    if (room > Block.size())
        Block.resize(std::max(room, 2 * Block.size()));
    char* out = Block.data();
    std::size_t at = Used;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        unsigned char b = c < 128 ? static_cast<unsigned char>(c) : table[c];
        if (c == u'\r' || c == u'\n')
            throw Exception(QStringLiteral("Текст с переводом строки нельзя записать в файл DXF: %1")
                                .arg(line.toString().simplified()));
        if (b == 0)
            throw Exception(QStringLiteral("Символ \"%1\" (U+%2) нельзя записать в файл DXF: его нет "
                                           "в кодировке 1251.\rТекст: %3")
                                .arg(qc)
                                .arg(c, 4, 16, QLatin1Char('0'))
                                .arg(line.toString()));
        out[at++] = static_cast<char>(b);
    }
    out[at++] = '\r';
    out[at++] = '\n';
    Used = at;
    if (Out && Used >= BlockSize)
        Flush();
}

void TDxfWriter::Flush()
{
    if (!Out || Used == 0)
        return;
    const auto size = static_cast<qint64>(Used);
    if (Out->write(Block.data(), size) != size)
        throw Exception(QStringLiteral("Ошибка записи файла DXF: %1").arg(Out->errorString()));
    Used = 0;
}

QString TDxfWriter::Text() const
{
    return DecodeCodePage(Block.data(), static_cast<qsizetype>(Used), TCodePage::Cp1251);
}

QStringList TDxfWriter::Lines() const
{
    QStringList lines = Text().split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
