// Command names, the splitters of parameter strings and their groups, the field
// conversions a handler uses and the formatter every builder uses.
#include "engine/commands/MapCommand.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/StringNum.h"
#include "platform/CodePage.h"

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

bool IsGroupBracket(QChar c)
{
    return c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('[') ||
           c == QLatin1Char(']') || c == QLatin1Char('(') || c == QLatin1Char(')');
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

std::int32_t CommandTextToInt(const QString& s) { return StrToInt(s); }

Extended CommandTextToRealAnySeparator(const QString& s) { return StrToFlt(s); }

Extended CommandTextToRealLocale(const QString& s) { return StrToFloat(s); }

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

TFontStyles TCommandFields::FontStyles(int i) const { return StrToFontStyles(Text(i)); }

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

std::vector<RUserText> TCommandFields::UserTexts(int i) const
{
    const std::vector<TCommandFields> groups = Groups(i);
    std::vector<RUserText> texts;
    texts.reserve(groups.size());
    for (const TCommandFields& g : groups) {
        RUserText t;
        t.Dx = g.RealAnySeparator(0);
        t.Dy = g.RealAnySeparator(1);
        t.Angle = g.Int(2);
        t.SizeFactor = g.RealAnySeparator(3);
        t.Show = g.Byte(4);
        texts.push_back(t);
    }
    return texts;
}

QString LinesToCommandText(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QString(CommandLineBreak));
    s.replace(QLatin1Char('\r'), CommandLineBreak);
    s.replace(QLatin1Char('\n'), CommandLineBreak);
    return s;
}

QString CommandTextToLines(const QString& text)
{
    QString s = text;
    s.replace(CommandLineBreak, QLatin1Char('\r'));
    return s;
}

void CheckPlanCodePage(const QString& text, const QString& what)
{
    qsizetype bad = -1;
    EncodeCodePage(text, TCodePage::Cp1251, &bad);
    if (bad >= 0)
        throw Exception(QStringLiteral("%1: знака \"%2\" нет в кодовой странице 1251, "
                                       "файл плана не может его хранить")
                            .arg(what, QString(text.at(bad))));
}

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

TCommandParams& TCommandParams::Fixed(Extended v, int decimals)
{
    S += QLatin1Char('<') + FloatToFixed(v, decimals) + QLatin1Char('>');
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

TCommandValues& TCommandValues::Fixed(Extended v, int decimals)
{
    S += QLatin1Char('{') + FloatToFixed(v, decimals) + QLatin1Char('}');
    return *this;
}

TCommandValues& TCommandValues::Text(const QString& v)
{
    CheckCommandField(v);
    for (const QChar c : v) {
        if (IsGroupBracket(c))
            throw Exception(QStringLiteral("Значение \"%1\" нельзя передать в команду: "
                                           "скобки в нём недопустимы")
                                .arg(v));
    }
    S += QLatin1Char('{') + v + QLatin1Char('}');
    return *this;
}

QString TCommandValues::Group(QChar open, QChar close) const { return open + S + close; }
