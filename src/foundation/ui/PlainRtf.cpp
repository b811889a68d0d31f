// The plain RTF reader.
#include "foundation/ui/PlainRtf.h"

#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"

#include <QFile>
#include <vector>

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Groups whose text is not part of the document.
bool IsDestination(const QByteArray& word)
{
    static const char* const skipped[] = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "headerl",
        "headerr", "headerf", "footerl", "footerr", "footerf", "footnote", "object",
        "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "xmlnstbl",
        "themedata", "colorschememapping", "latentstyles", "datastore", "filetbl", "field",
        "fldinst", "bkmkstart", "bkmkend"};
    for (const char* s : skipped) {
        if (word == s)
            return true;
    }
    return false;
}

struct TGroupState {
    bool Skip = false;
    int UnicodeSkip = 1;   // fallback characters after "\uN"
};

[[noreturn]] void NotRtf()
{
    throw Exception(QStringLiteral("Файл не является документом RTF"));
}

}  // namespace

QString RtfToPlainText(const QByteArray& rtf)
{
    if (!rtf.startsWith("{\\rtf"))
        NotRtf();
    QString text;
    QByteArray pending;   // code page bytes not yet decoded
    auto flush = [&] {
        if (!pending.isEmpty()) {
            text += DecodeCodePage(pending);
            pending.clear();
        }
    };
    std::vector<TGroupState> groups;
    TGroupState state;
    int skipFallback = 0;   // characters still to drop after "\uN"
    const qsizetype n = rtf.size();
    auto emitByte = [&](char c) {
        if (state.Skip)
            return;
        if (skipFallback > 0) {
            --skipFallback;
            return;
        }
        pending += c;
    };
    auto emitText = [&](const QString& s) {
        if (state.Skip)
            return;
        flush();
        text += s;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char c = rtf.at(i);
        if (c == '{') {
            groups.push_back(state);
            skipFallback = 0;
            // "{\*\word" marks a destination a reader may ignore.
            if (i + 2 < n && rtf.at(i + 1) == '\\' && rtf.at(i + 2) == '*')
                state.Skip = true;
        } else if (c == '}') {
            if (groups.empty())
                NotRtf();
            state = groups.back();
            groups.pop_back();
            skipFallback = 0;
            if (groups.empty()) {
                flush();
                return text;   // what follows the document's group is not part of it
            }
        } else if (c == '\\') {
            if (i + 1 >= n)
                NotRtf();
            const char next = rtf.at(i + 1);
            if (IsLetter(next)) {
                qsizetype j = i + 1;
                while (j < n && IsLetter(rtf.at(j)))
                    ++j;
                const QByteArray word = rtf.mid(i + 1, j - i - 1);
                bool hasParam = false;
                long long param = 0;
                bool negative = false;
                if (j < n && rtf.at(j) == '-' && j + 1 < n && IsDigit(rtf.at(j + 1))) {
                    negative = true;
                    ++j;
                }
                while (j < n && IsDigit(rtf.at(j))) {
                    hasParam = true;
                    if (param < 100000000)
                        param = param * 10 + (rtf.at(j) - '0');
                    ++j;
                }
                if (negative)
                    param = -param;
                if (j < n && rtf.at(j) == ' ')
                    ++j;   // the delimiting blank belongs to the word
                i = j - 1;
                if (IsDestination(word)) {
                    state.Skip = true;
                } else if (word == "par" || word == "line" || word == "sect" || word == "page") {
                    emitText(QStringLiteral("\n"));
                } else if (word == "tab") {
                    emitText(QStringLiteral("\t"));
                } else if (word == "uc" && hasParam) {
                    state.UnicodeSkip = int(param < 0 ? 0 : param);
                } else if (word == "u" && hasParam) {
                    const char16_t code = char16_t(param < 0 ? param + 65536 : param);
                    emitText(QString(QChar(code)));
                    if (!state.Skip)
                        skipFallback = state.UnicodeSkip;
                } else if (word == "emdash") {
                    emitText(QString(QChar(0x2014)));
                } else if (word == "endash") {
                    emitText(QString(QChar(0x2013)));
                } else if (word == "bullet") {
                    emitText(QString(QChar(0x2022)));
                } else if (word == "lquote") {
                    emitText(QString(QChar(0x2018)));
                } else if (word == "rquote") {
                    emitText(QString(QChar(0x2019)));
                } else if (word == "ldblquote") {
                    emitText(QString(QChar(0x201C)));
                } else if (word == "rdblquote") {
                    emitText(QString(QChar(0x201D)));
                }
                continue;
            }
            ++i;
            switch (next) {
            case '\'': {
                const int hi = i + 1 < n ? HexValue(rtf.at(i + 1)) : -1;
                const int lo = i + 2 < n ? HexValue(rtf.at(i + 2)) : -1;
                if (hi < 0 || lo < 0)
                    NotRtf();
                emitByte(char(hi * 16 + lo));
                i += 2;
                break;
            }
            case '\\':
            case '{':
            case '}':
                emitByte(next);
                break;
            case '~':
                emitText(QString(QChar(0x00A0)));
                break;
            case '_':
                emitText(QString(QChar(0x2011)));
                break;
            case '\r':
            case '\n':
                emitText(QStringLiteral("\n"));   // an escaped line end is \par
                break;
            default:
                break;   // "\-", "\*", "\|", "\:" and the like carry no text
            }
        } else if (c == '\r' || c == '\n') {
            // Line ends of the file are not text.
        } else {
            emitByte(c);
        }
    }
    NotRtf();   // the document's group never closed
}

QString ReadRtfFile(const QString& fileName)
{
    TTrailGuard guard("FirstStart", "function ReadRtfFile(FileName:string):string;",
                      TrailArg("FileName", fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл \"%1\"").arg(fileName));
    return RtfToPlainText(file.readAll());
}
