// Command names, the splitters of parameter strings and their groups, the field
// conversions a handler uses and the formatter every builder uses.
#include "engine/MapCommand.h"

#include "foundation/ErrorTrail.h"

#include <charconv>
#include <string>

namespace {

// In code order; index = code - 1.
const char* const CommandNames[MapCommandLast] = {
    "mcNewMap", "mcOpenMap", "mcAddMap", "mcSetMapScale", "mcSetMapInf", "mcSaveMap",
    "mcSaveSelected", "mcNewPage", "mcDelPage", "mcSetPageProp", "mcChangePageOrder",
    "mcNewLayer", "mcDelLayer", "mcSetLayerProp", "mcChangeLayerOrder", "mcNewRastr",
    "mcLoadRastr", "mcUnLoadRastr", "mcDelRastr", "mcSetRastrProp", "mcChangeRastrOrder",
    "mcNewText", "mcDelText", "mcSetTextProp", "mcChangeTextOrder", "mcNewPoint",
    "mcDelPoint", "mcSetPointProp", "mcChangePointOrder", "mcNewPointIntText",
    "mcDelPointIntText", "mcSetPointIntTextProp", "mcNewLine", "mcDelLine", "mcSetLineProp",
    "mcChangeLineOrder", "mcNewLineIntText", "mcDelLineIntText", "mcSetLineIntText",
    "mcNewLineNode", "mcDelLineNode", "mcSetLineNodeProp", "mcNewLineNodeIntPoint",
    "mcDelLineNodeIntPoint", "mcSetLineNodeIntPoint", "mcChangeLineNodeIntPointOrder",
    "mcChangeLineDirection", "mcNewPolygon", "mcDelPolygon", "mcSetPolygonProp",
    "mcChangePolygonOrder", "mcNewPolygonIntText", "mcDelPolygonIntText",
    "mcSetPolygonIntText", "mcNewPolygonNode", "mcDelPolygonNode", "mcSetPolygonNodeProp",
    "mcNewIntrPolygon", "mcDelIntrPolygon", "mcSetIntrPolygon", "mcNewIntrPolygonNode",
    "mcDelIntrPolygonNode", "mcSetIntrPolygonNode", "mcNewPolygonIntPoint",
    "mcDelPolygonIntPoint", "mcSetPolygonIntPoint", "mcChangePolygonIntPointOrder",
    "mcNewPolygonIntLine", "mcDelPolygonIntLine", "mcSetPolygonIntLine",
    "mcChangePolygonIntLineOrder", "mcNewPolygonIntLineNode", "mcDelPolygonIntLineNode",
    "mcSetPolygonIntLineNode", "mcChangePolygonIntLineDirection", "mcTransform",
    "mcChangeSem", "mcDelObjects", "mcChangeHinSem",
};

[[noreturn]] void RaiseIndex(int i)
{
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(i));
}

[[noreturn]] void RaiseInteger(const QString& s)
{
    throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(s));
}

[[noreturn]] void RaiseAnySeparator()
{
    throw Exception(QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
}

[[noreturn]] void RaiseLocaleReal(const QString& s)
{
    throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(s));
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Converts an ASCII real of the form [digits][.digits][e[sign]digits], sign already
// taken off; false when from_chars does not take all of it.
bool AsciiToReal(const std::string& text, Extended& value)
{
    if (text.empty())
        return false;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto r = std::from_chars(first, last, value, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == last;
}

}  // namespace

QString MapCommandName(TMapCommand comm)
{
    if (!IsMapCommand(comm))
        throw Exception(QStringLiteral("Не определено значение перечисляемого типа"));
    return QLatin1String(CommandNames[comm - 1]);
}

bool FindMapCommand(const QString& name, TMapCommand& comm)
{
    for (int code = MapCommandFirst; code <= MapCommandLast; ++code) {
        if (name == QLatin1String(CommandNames[code - 1])) {
            comm = static_cast<TMapCommand>(code);
            return true;
        }
    }
    return false;
}

QStringList SplitGroups(QStringView text, QChar open, QChar close)
{
    QStringList groups;
    if (text.size() < 2)
        return groups;
    bool inside = false;
    qsizetype start = 0;
    QString last;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const QChar c = text[i];
        if (c == open) {
            inside = true;
            start = i + 1;
        } else if (c == close) {
            if (inside) {
                last = text.mid(start, i - start).toString();
                inside = false;
            }
            groups.append(last);
        }
    }
    return groups;
}

QStringList SplitParamFields(QStringView param)
{
    return SplitGroups(param, QLatin1Char('<'), QLatin1Char('>'));
}

std::int32_t CommandTextToInt(const QString& s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        RaiseInteger(s);
    std::int64_t value = 0;
    for (; i < n; ++i) {
        if (!IsDigit(s[i]))
            RaiseInteger(s);
        value = value * 10 + (s[i].unicode() - '0');
        if (value > std::int64_t(2147483648))
            RaiseInteger(s);
    }
    if (negative)
        value = -value;
    if (value > 2147483647)
        RaiseInteger(s);
    return static_cast<std::int32_t>(value);
}

Extended CommandTextToRealAnySeparator(const QString& s)
{
    // Sign only first and not alone, digits, at most one "." or "," that is not the
    // whole text; nothing else.
    std::string ascii;
    ascii.reserve(static_cast<size_t>(s.size()));
    bool negative = false;
    bool separatorSeen = false;
    bool digitSeen = false;
    for (qsizetype i = 0, n = s.size(); i < n; ++i) {
        const QChar c = s[i];
        if (i == 0 && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            negative = c == QLatin1Char('-');
        } else if (IsDigit(c)) {
            digitSeen = true;
            ascii.push_back(static_cast<char>(c.unicode()));
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !separatorSeen) {
            separatorSeen = true;
            ascii.push_back('.');
        } else {
            RaiseAnySeparator();
        }
    }
    Extended value = 0;
    if (!digitSeen || !AsciiToReal(ascii, value))
        RaiseAnySeparator();
    return negative ? -value : value;
}

Extended CommandTextToRealLocale(const QString& s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s[first] == QLatin1Char(' '))
        ++first;
    while (last > first && s[last - 1] == QLatin1Char(' '))
        --last;
    std::string ascii;
    ascii.reserve(static_cast<size_t>(last - first));
    bool negative = false;
    qsizetype i = first;
    if (i < last && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    bool mantissaDigit = false;
    bool separatorSeen = false;
    for (; i < last; ++i) {
        const QChar c = s[i];
        if (IsDigit(c)) {
            mantissaDigit = true;
            ascii.push_back(static_cast<char>(c.unicode()));
        } else if (c == DecimalSeparator && !separatorSeen) {
            separatorSeen = true;
            ascii.push_back('.');
        } else {
            break;
        }
    }
    if (!mantissaDigit)
        RaiseLocaleReal(s);
    if (i < last) {
        if (s[i] != QLatin1Char('e') && s[i] != QLatin1Char('E'))
            RaiseLocaleReal(s);
        ascii.push_back('e');
        ++i;
        if (i < last && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
            ascii.push_back(static_cast<char>(s[i].unicode()));
            ++i;
        }
        bool exponentDigit = false;
        for (; i < last; ++i) {
            if (!IsDigit(s[i]))
                RaiseLocaleReal(s);
            exponentDigit = true;
            ascii.push_back(static_cast<char>(s[i].unicode()));
        }
        if (!exponentDigit)
            RaiseLocaleReal(s);
    }
    Extended value = 0;
    if (!AsciiToReal(ascii, value) || !std::isfinite(value))
        RaiseLocaleReal(s);
    return negative ? -value : value;
}

TCommandFields TCommandFields::FromParam(QStringView param)
{
    return TCommandFields(SplitParamFields(param));
}

TCommandFields TCommandFields::FromValues(QStringView group)
{
    return TCommandFields(SplitGroups(group, QLatin1Char('{'), QLatin1Char('}')));
}

const QString& TCommandFields::Text(int i) const
{
    if (!Has(i))
        RaiseIndex(i);
    return Fields[i];
}

std::int32_t TCommandFields::Int(int i) const { return CommandTextToInt(Text(i)); }

std::uint8_t TCommandFields::Byte(int i) const
{
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(Int(i)) & 0xFFu);
}

bool TCommandFields::Flag(int i) const { return Int(i) != 0; }

bool TCommandFields::Switch(int i) const
{
    return Text(i).toUpper() == QLatin1String("TRUE");
}

Extended TCommandFields::RealAnySeparator(int i) const
{
    return CommandTextToRealAnySeparator(Text(i));
}

Extended TCommandFields::RealLocale(int i) const { return CommandTextToRealLocale(Text(i)); }

std::vector<TCommandFields> TCommandFields::Groups(int i) const
{
    const QStringList groups = SplitGroups(Text(i), QLatin1Char('['), QLatin1Char(']'));
    std::vector<TCommandFields> result;
    result.reserve(static_cast<size_t>(groups.size()));
    for (const QString& g : groups)
        result.push_back(FromValues(g));
    return result;
}

std::vector<std::vector<TCommandFields>> TCommandFields::Contours(int i) const
{
    const QStringList contours = SplitGroups(Text(i), QLatin1Char('('), QLatin1Char(')'));
    std::vector<std::vector<TCommandFields>> result;
    result.reserve(static_cast<size_t>(contours.size()));
    for (const QString& c : contours) {
        const QStringList nodes = SplitGroups(c, QLatin1Char('['), QLatin1Char(']'));
        std::vector<TCommandFields> contour;
        contour.reserve(static_cast<size_t>(nodes.size()));
        for (const QString& node : nodes)
            contour.push_back(FromValues(node));
        result.push_back(std::move(contour));
    }
    return result;
}

TCommandFields TCommandFields::Values(int i) const { return FromValues(Text(i)); }

void CheckCommandField(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n'))
            throw Exception(QStringLiteral("Значение \"%1\" нельзя передать в команду: "
                                           "символы \"<\", \">\" и перевод строки "
                                           "в нём недопустимы")
                                .arg(text));
    }
}

TCommandParams& TCommandParams::Int(std::int64_t v)
{
    S += QLatin1Char('<') + QString::number(v) + QLatin1Char('>');
    return *this;
}

TCommandParams& TCommandParams::Text(const QString& v)
{
    CheckCommandField(v);
    S += QLatin1Char('<') + v + QLatin1Char('>');
    return *this;
}

TCommandValues& TCommandValues::Int(std::int64_t v)
{
    S += QLatin1Char('{') + QString::number(v) + QLatin1Char('}');
    return *this;
}

TCommandValues& TCommandValues::Text(const QString& v)
{
    CheckCommandField(v);
    for (const QChar c : v) {
        if (c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('[') ||
            c == QLatin1Char(']') || c == QLatin1Char('(') || c == QLatin1Char(')'))
            throw Exception(QStringLiteral("Значение \"%1\" нельзя передать в команду: "
                                           "скобки в нём недопустимы")
                                .arg(v));
    }
    S += QLatin1Char('{') + v + QLatin1Char('}');
    return *this;
}

QString TCommandValues::Group(QChar open, QChar close) const { return open + S + close; }
