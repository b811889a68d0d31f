// Plan commands as text: the codes and their names, the parameter string of fields in
// "<" ">" with the groups nested inside a field, the accessor through which a handler
// converts fields, and the one formatter through which every builder writes them.
// Kept apart from GeoMap.h so that the windows that build commands include little.
#pragma once

#include "foundation/StringNum.h"
#include "platform/Platform.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

struct RUserText;

// Codes 1 to 79; 0 is no command and has no name. The name of a command is its
// identifier exactly as written here.
enum TMapCommand : std::uint8_t {
    mcNewMap = 1,
    mcOpenMap = 2,
    mcAddMap = 3,
    mcSetMapScale = 4,
    mcSetMapInf = 5,
    mcSaveMap = 6,
    mcSaveSelected = 7,
    mcNewPage = 8,
    mcDelPage = 9,
    mcSetPageProp = 10,
    mcChangePageOrder = 11,
    mcNewLayer = 12,
    mcDelLayer = 13,
    mcSetLayerProp = 14,
    mcChangeLayerOrder = 15,
    mcNewRastr = 16,
    mcLoadRastr = 17,
    mcUnLoadRastr = 18,
    mcDelRastr = 19,
    mcSetRastrProp = 20,
    mcChangeRastrOrder = 21,
    mcNewText = 22,
    mcDelText = 23,
    mcSetTextProp = 24,
    mcChangeTextOrder = 25,
    mcNewPoint = 26,
    mcDelPoint = 27,
    mcSetPointProp = 28,
    mcChangePointOrder = 29,
    mcNewPointIntText = 30,
    mcDelPointIntText = 31,
    mcSetPointIntTextProp = 32,
    mcNewLine = 33,
    mcDelLine = 34,
    mcSetLineProp = 35,
    mcChangeLineOrder = 36,
    mcNewLineIntText = 37,
    mcDelLineIntText = 38,
    mcSetLineIntText = 39,
    mcNewLineNode = 40,
    mcDelLineNode = 41,
    mcSetLineNodeProp = 42,
    mcNewLineNodeIntPoint = 43,
    mcDelLineNodeIntPoint = 44,
    mcSetLineNodeIntPoint = 45,
    mcChangeLineNodeIntPointOrder = 46,
    mcChangeLineDirection = 47,
    mcNewPolygon = 48,
    mcDelPolygon = 49,
    mcSetPolygonProp = 50,
    mcChangePolygonOrder = 51,
    mcNewPolygonIntText = 52,
    mcDelPolygonIntText = 53,
    mcSetPolygonIntText = 54,
    mcNewPolygonNode = 55,
    mcDelPolygonNode = 56,
    mcSetPolygonNodeProp = 57,
    mcNewIntrPolygon = 58,
    mcDelIntrPolygon = 59,
    mcSetIntrPolygon = 60,
    mcNewIntrPolygonNode = 61,
    mcDelIntrPolygonNode = 62,
    mcSetIntrPolygonNode = 63,
    mcNewPolygonIntPoint = 64,
    mcDelPolygonIntPoint = 65,
    mcSetPolygonIntPoint = 66,
    mcChangePolygonIntPointOrder = 67,
    mcNewPolygonIntLine = 68,
    mcDelPolygonIntLine = 69,
    mcSetPolygonIntLine = 70,
    mcChangePolygonIntLineOrder = 71,
    mcNewPolygonIntLineNode = 72,
    mcDelPolygonIntLineNode = 73,
    mcSetPolygonIntLineNode = 74,
    mcChangePolygonIntLineDirection = 75,
    mcTransform = 76,
    mcChangeSem = 77,
    mcDelObjects = 78,
    mcChangeHinSem = 79,
};

constexpr int MapCommandFirst = 1;
constexpr int MapCommandLast = 79;

inline bool IsMapCommand(int code) { return code >= MapCommandFirst && code <= MapCommandLast; }

// The command's name; a code outside 1 to 79 raises "Не определено значение
// перечисляемого типа".
QString MapCommandName(TMapCommand comm);

// The code whose name equals name exactly (letter case counts); false when none does.
bool FindMapCommand(const QString& name, TMapCommand& comm);

// Splits text into the groups enclosed by open and close, in order. A text of fewer
// than two characters gives none; characters outside groups are skipped; an opening
// bracket inside a group starts the group again; a closing bracket outside a group
// repeats the last group's text (an empty text when none came before). Groups do not
// nest. One pass over text: node lists of any length split in linear time.
QStringList SplitGroups(QStringView text, QChar open, QChar close);

// The fields of a parameter string: its "<" ">" groups, numbered from 0, taken
// verbatim (no blank is trimmed, no escape exists).
QStringList SplitParamFields(QStringView param);

// The fields of one command (or the "{" "}" values of one group) as a handler reads
// them. Every accessor converts one field or raises with the message the user reads;
// none changes anything, so a handler that converts every field into a staging record
// before it touches the plan leaves the plan untouched when a field is bad.
// A number past the last field raises "List index out of bounds (%d)".
class TCommandFields {
public:
    TCommandFields() = default;
    explicit TCommandFields(QStringList fields) : Fields(std::move(fields)) {}

    // Splits a parameter string of "<" ">" fields.
    static TCommandFields FromParam(QStringView param);
    // Splits the "{" "}" values of one group (a node, a user text, a sheet list).
    static TCommandFields FromValues(QStringView group);

    int Count() const { return static_cast<int>(Fields.size()); }
    bool Has(int i) const { return i >= 0 && i < Count(); }
    const QStringList& All() const { return Fields; }

    // The field text unchanged.
    const QString& Text(int i) const;
    // A decimal integer of 32 bits; leading blanks and a sign are accepted.
    // "'%s' is not a valid integer value" otherwise.
    std::int32_t Int(int i) const;
    // An integer of which only the low 8 bits are kept.
    std::uint8_t Byte(int i) const;
    // An integer; 0 is false, any other value true.
    bool Flag(int i) const;
    // "1"/"0" characters for bold, italic, underline and strikeout; never fails.
    TFontStyles FontStyles(int i) const;
    // True when the field, upper-cased, is "TRUE"; never fails.
    bool Switch(int i) const;
    // A real with "." or "," as decimal separator, no exponent, no thousands
    // separator; "Некорректный вид вещественного числа в строковом формате" otherwise.
    Extended RealAnySeparator(int i) const;
    // A real with the locale's decimal separator only, exponent allowed, blanks around
    // it ignored; "'%s' is not a valid floating point value" otherwise.
    Extended RealLocale(int i) const;

    // The "[" "]" groups of field i (nodes, user texts), each split into its values.
    std::vector<TCommandFields> Groups(int i) const;
    // The "(" ")" groups of field i (inner contours), each split into its "[" "]"
    // groups of values.
    std::vector<std::vector<TCommandFields>> Contours(int i) const;
    // The "{" "}" values of field i (a sheet list, an over-line list).
    TCommandFields Values(int i) const;
    // The user-text list of field i: one "[" "]" group per user text, each of the five
    // values Dx, Dy (reals, either separator), Angle (integer), SizeFactor (real) and
    // Show (byte). An empty field gives none; a group short of a value raises the
    // index error with that value's number.
    std::vector<RUserText> UserTexts(int i) const;

private:
    QStringList Fields;
};

// Conversions of a single text, as the accessors apply them (for values that reach a
// handler by other ways than a field).
std::int32_t CommandTextToInt(const QString& s);
Extended CommandTextToRealAnySeparator(const QString& s);
Extended CommandTextToRealLocale(const QString& s);

// The plan's information text is the one field that may hold several lines; a command
// carries it on one journal line with every line break (CR LF, a lone CR or LF) as "¶",
// and the handler takes each "¶" back as a CR, the line break the plan file gives back.
// Converting a text that holds no line break changes nothing, so a journal line read
// back passes through unchanged.
inline constexpr QChar CommandLineBreak = u'\u00B6';
QString LinesToCommandText(const QString& text);
QString CommandTextToLines(const QString& text);

// Every value that enters the plan passes this check: the plan file and its undo
// snapshots are code page 1251, and a character without place there would make every
// later save and snapshot fail. Raises "<what>: знака "…" нет в кодовой странице 1251…".
void CheckPlanCodePage(const QString& text, const QString& what);

// The one formatter of parameter strings: every builder of a command writes its
// fields through it. A text holding "<", ">" or a line break is refused with a clear
// message before anything is built, so no value can shift the fields of a command or
// split a journal line.
class TCommandParams {
public:
    TCommandParams& Int(std::int64_t v);
    // "%f" with decimals decimals (2 unless given), the locale's separator, never an
    // exponent.
    TCommandParams& Fixed(Extended v, int decimals = 2);
    // "%s": the text unchanged.
    TCommandParams& Text(const QString& v);
    // A field already made of groups (TCommandValues, "[" "]" or "(" ")" lists).
    TCommandParams& Field(const QString& v) { return Text(v); }
    // A text of several lines (the plan's information): its line breaks as
    // LinesToCommandText writes them.
    TCommandParams& Lines(const QString& v) { return Text(LinesToCommandText(v)); }

    const QString& Str() const { return S; }
    operator const QString&() const { return S; }

private:
    QString S;
};

// The "{" "}" values of one group (a node, a user text, a sheet index). A text value
// may hold none of the brackets of the command grammar nor a line break, so it can
// neither end its group nor shift the fields around it.
class TCommandValues {
public:
    TCommandValues& Int(std::int64_t v);
    TCommandValues& Fixed(Extended v, int decimals = 2);
    TCommandValues& Text(const QString& v);

    const QString& Str() const { return S; }
    // The values enclosed in open and close ("[" "]" for a node or a user text).
    QString Group(QChar open = QLatin1Char('['), QChar close = QLatin1Char(']')) const;

private:
    QString S;
};

// Raises when text cannot stand as a command field; the check of TCommandParams.
void CheckCommandField(const QString& text);
