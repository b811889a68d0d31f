// The settings file as one table: each row names its key line, how its value is written
// and read, and where it lives (a field of the main window through the window's key
// table, a field of the main plan or of its sign library). Reading and writing walk the
// same rows, so the two cannot disagree on a key or its order.
#include "mainwindow/UnitMapSetup.h"

#include "engine/GeoMap.h"
#include "engine/draw/MapPainter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/StringNum.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/VclTimer.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"

#include <QLabel>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <variant>
#include <vector>

namespace {

enum class TSetupKind { Text, Integer, Switch, Colour, Real, AutoSave, Background };

using TSlot = std::variant<std::monostate, QString*, std::int32_t*, std::uint8_t*, Extended*>;

// The values a numeric key may take, ends included. A value outside is refused like one
// that does not convert, so the field keeps what it had (its default at start): a
// resolution of 0 or a negative one would leave no plan drawn, and minutes of autosave
// past a few weeks overflow the timer's milliseconds.
struct TSetupRange {
    Extended Min = -1e9L;
    Extended Max = 1e9L;
    bool SkipFour = false;   // the plan's pixel formats have no 4
    bool Holds(Extended v) const { return v >= Min && v <= Max && !(SkipFour && v == 4); }
};

struct TSetupRow {
    const char* Key;
    TSetupKind Kind;
    std::function<TSlot(TFormMap&, TGeoMap&)> Slot;
    int Decimals = 0;    // reals: fixed notation with these decimals
    int Precision = 0;   // after rounding to these significant digits
    TSetupRange Range = {};
};

const char* const BackgroundKey = "@Цвет фона";
// A day: the timer counts milliseconds in an int, which 35,792 minutes would overflow.
const int MaxAutoSaveMinutes = 24 * 60;
const char* const DefaultBackgroundKey = "@Цвет фона по умолчанию";

// A field of the main window under key, found through the window's key table; the
// coordinate-label offsets share one field, the key's place among them naming the entry.
std::function<TSlot(TFormMap&, TGeoMap&)> FormField(const char* key)
{
    return [key](TFormMap& f, TGeoMap&) -> TSlot {
        const char* field = nullptr;
        int entry = 0;
        for (const TSettingsKey& k : MapSettingsKeys()) {
            if (std::strcmp(k.Key, key) == 0) {
                field = k.Field;
                break;
            }
            if (std::strcmp(k.Field, "CoordLabelOffsets") == 0)
                ++entry;
        }
        if (!field)
            throw Exception(QStringLiteral("Нет поля для ключа ") + QString::fromUtf8(key));
        const QLatin1String name(field);
        if (name == QLatin1String("SnapRadius")) return &f.SnapRadius;
        if (name == QLatin1String("PickRadius")) return &f.PickRadius;
        if (name == QLatin1String("PlansFolder")) return &f.PlansFolder;
        if (name == QLatin1String("RastrsFolder")) return &f.RastrsFolder;
        if (name == QLatin1String("FontAutoload")) return &f.FontAutoload;
        if (name == QLatin1String("CreateLineColor")) return &f.CreateLineColor;
        if (name == QLatin1String("CreatePolygonMainSegmColor")) return &f.CreatePolygonMainSegmColor;
        if (name == QLatin1String("CreatePolygonSpecial1SegmColor"))
            return &f.CreatePolygonSpecial1SegmColor;
        if (name == QLatin1String("CreatePolygonSpecial2SegmColor"))
            return &f.CreatePolygonSpecial2SegmColor;
        if (name == QLatin1String("SelectionArrowLength")) return &f.SelectionArrowLength;
        if (name == QLatin1String("SelectionArrowAngle")) return &f.SelectionArrowAngle;
        if (name == QLatin1String("CoordLabelOffsets")) return &f.CoordLabelOffsets[entry];
        if (name == QLatin1String("CoordLabelStyle")) return &f.CoordLabelStyle;
        if (name == QLatin1String("WheelMode")) return &f.WheelMode;
        throw Exception(QStringLiteral("Нет поля ") + name + QStringLiteral(" главного окна"));
    };
}

template <class T>
std::function<TSlot(TFormMap&, TGeoMap&)> MapField(T TGeoMap::*member)
{
    return [member](TFormMap&, TGeoMap& m) -> TSlot { return &(m.*member); };
}

std::function<TSlot(TFormMap&, TGeoMap&)> SignField(std::uint8_t TSymbols::*member)
{
    return [member](TFormMap&, TGeoMap& m) -> TSlot {
        if (!m.Symbols)
            return std::monostate();
        return &(*m.Symbols.*member);
    };
}

const std::vector<TSetupRow>& SetupRows()
{
    using K = TSetupKind;
    static const std::vector<TSetupRow> rows = [] {
        std::vector<TSetupRow> r = {
            {"@Планы", K::Text, FormField("@Планы")},
            {"@Растры", K::Text, FormField("@Растры")},
            {"@Автосохранение", K::AutoSave, nullptr},
            {BackgroundKey, K::Background, nullptr},
            {"@Автозагрузка шрифтов", K::Switch, FormField("@Автозагрузка шрифтов")},
            {"@Файл номенклатур", K::Text, MapField(&TGeoMap::NomenclatureFileName)},
            {"@Спрашивать о неизвестной рабочей семантике", K::Switch,
             SignField(&TSymbols::AskUnknownWorkSem)},
            {"@Спрашивать о неизвестном условном знаке", K::Switch,
             SignField(&TSymbols::AskUnknownSymbol)},
            {"@Разрешение экрана", K::Real, MapField(&TGeoMap::ScreenDpi), 2, 6, {10, 2400}},
            {"@Глубина цвета плана", K::Integer, MapField(&TGeoMap::PlanPixelFormat), 0, 0,
             {1, 6, true}},
            {"@Глубина цвета растров", K::Integer, MapField(&TGeoMap::RastrPixelFormat), 0, 0,
             {0, 6}},
            {"@Цвет границ 500", K::Colour, MapField(&TGeoMap::FrameColor500)},
            {"@Цвет границ 5000", K::Colour, MapField(&TGeoMap::FrameColor5000)},
            {"@Цвет номенклатуры планов", K::Colour, MapField(&TGeoMap::NomColor)},
            {"@Цвет линии", K::Colour, FormField("@Цвет линии")},
            {"@Цвет основной сегмент", K::Colour, FormField("@Цвет основной сегмент")},
            {"@Цвет специальный1 сегмент", K::Colour, FormField("@Цвет специальный1 сегмент")},
            {"@Цвет специальный2 сегмент", K::Colour, FormField("@Цвет специальный2 сегмент")},
            {"@Цвет узлов", K::Colour, MapField(&TGeoMap::NodeColor)},
            {"@Область привязки", K::Integer, FormField("@Область привязки"), 0, 0, {0, 1000}},
            {"@Область выбора", K::Integer, FormField("@Область выбора"), 0, 0, {0, 1000}},
            // Spelt so in every settings file there is.
            {"@Цвет веделения объектов", K::Colour, MapField(&TGeoMap::HighlightColor1)},
            {"@Цвет веделения объектов2", K::Colour, MapField(&TGeoMap::HighlightColor2)},
            {"@Толщина линии выделения", K::Integer, MapField(&TGeoMap::HighlightWidth), 0, 0,
             {0, 100}},
            {"@Длина стрелок выделения", K::Integer, FormField("@Длина стрелок выделения"), 0,
             0, {0, 1000}},
            {"@Угол стрелок выделения", K::Real, FormField("@Угол стрелок выделения"), 3, 6,
             {0, 180}},
        };
        // The sixteen offset keys, in the order the main window's key table gives them.
        for (const TSettingsKey& k : MapSettingsKeys())
            if (std::strcmp(k.Field, "CoordLabelOffsets") == 0)
                r.push_back({k.Key, K::Real, FormField(k.Key), 2, 8, {-1e6L, 1e6L}});
        r.push_back({"@Стиль подписей координат", K::Text, FormField("@Стиль подписей координат")});
        r.push_back({"@Режим колеса мыши", K::Integer, FormField("@Режим колеса мыши"), 0, 0, {0, 2}});
        r.push_back({"@Использовать синонимы", K::Switch, SignField(&TSymbols::UseSynonyms)});
        r.push_back({"@Использовать откат", K::Switch, MapField(&TGeoMap::UndoOn)});
        r.push_back({"@Использовать третью координату в конвертере", K::Switch,
                     MapField(&TGeoMap::UseHCAD)});
        r.push_back({"@Использовать третью координату для подписей в конвертере", K::Switch,
                     MapField(&TGeoMap::UseHCADinText)});
        return r;
    }();
    return rows;
}

const TSetupRow* RowOf(const QString& keyLine)
{
    const QString key = keyLine == QString::fromUtf8(DefaultBackgroundKey)
                            ? QString::fromUtf8(BackgroundKey)
                            : keyLine;
    for (const TSetupRow& row : SetupRows()) {
        if (key == QString::fromUtf8(row.Key))
            return &row;
    }
    return nullptr;
}

// Converts value and stores it; raises when it does not convert, nothing stored.
void ApplyValue(const TSetupRow& row, const QString& keyLine, const QString& value, TFormMap& form,
                TGeoMap& map)
{
    switch (row.Kind) {
    case TSetupKind::AutoSave: {
        const int minutes = StrToInt(value);
        if (minutes > MaxAutoSaveMinutes)
            throw Exception(QStringLiteral("вне допустимых пределов"));
        if (minutes > 0) {
            form.TimerAutosave->SetInterval(minutes * 60000);
            form.AutoSaveOn = 1;
        } else {
            form.AutoSaveOn = 0;   // the interval stays for a later switch-on
        }
        return;
    }
    case TSetupKind::Background:
        map.BackColor = keyLine == QString::fromUtf8(DefaultBackgroundKey) ? clBtnFace
                                                                           : StrToInt(value);
        return;
    default: break;
    }
    const TSlot slot = row.Slot(form, map);
    const auto checked = [&row](auto v) {
        const TSetupRange range = row.Kind == TSetupKind::Switch ? TSetupRange{0, 1} : row.Range;
        if (!std::isfinite(double(v)) || !range.Holds(Extended(v)))
            throw Exception(QStringLiteral("вне допустимых пределов"));
        return v;
    };
    if (auto* text = std::get_if<QString*>(&slot)) {
        // A value the exit could not write back would make it refuse the whole file, and
        // every setting of the session would be lost.
        if (value.contains(u'\r') || value.contains(u'\n'))
            throw Exception(QStringLiteral("Значение не может быть записано в файл настроек"));
        **text = value;
    } else if (auto* number = std::get_if<std::int32_t*>(&slot)) {
        const int v = StrToInt(value);
        **number = row.Kind == TSetupKind::Colour ? v : checked(v);
    } else if (auto* byte = std::get_if<std::uint8_t*>(&slot)) {
        **byte = std::uint8_t(checked(StrToInt(value)));
    } else if (auto* real = std::get_if<Extended*>(&slot)) {
        **real = checked(StrToFlt(value));
    }
}

QString ValueText(const TSetupRow& row, TFormMap& form, TGeoMap& map)
{
    switch (row.Kind) {
    case TSetupKind::AutoSave:
        if (form.AutoSaveOn == 0)
            return QStringLiteral("-1");
        return QString::number(std::lrint(std::nearbyint(form.TimerAutosave->Interval() / 60000.0)));
    case TSetupKind::Background:
        return map.BackColor == clBtnFace ? QStringLiteral("-") : QString::number(map.BackColor);
    default: break;
    }
    const TSlot slot = row.Slot(form, map);
    if (auto* text = std::get_if<QString*>(&slot))
        return **text;
    if (auto* number = std::get_if<std::int32_t*>(&slot))
        return QString::number(**number);
    if (auto* byte = std::get_if<std::uint8_t*>(&slot))
        return QString::number(**byte);
    if (auto* real = std::get_if<Extended*>(&slot))
        return FloatToFixed(**real, row.Decimals, row.Precision);
    return QStringLiteral("0");   // no sign library: its switches read as off
}

void ShowBackground(TFormMap& form, const TGeoMap& map)
{
    if (!form.BackGround)
        return;
    QPalette palette = form.BackGround->palette();
    palette.setColor(QPalette::Window, TColorToQColor(map.BackColor));
    form.BackGround->setPalette(palette);
    form.BackGround->setAutoFillBackground(true);
}

QString UserFile(const QString& name)
{
    return UserFolder + QLatin1Char('/') + name;
}

}  // namespace

QStringList SetupKeys()
{
    QStringList keys;
    for (const TSetupRow& row : SetupRows())
        keys << QString::fromUtf8(row.Key);
    return keys;
}

bool ReadSetupFile(const QString& path, TFormMap& form, TGeoMap& map)
{
    TTrailGuard guard("UnitMap", "function readsetup:boolean;", TrailArg("path", path));
    if (!FileExistsIgnoringCase(path))
        return false;
    const QStringList lines = ReadTextFileLines(path);
    QString key;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('@'))) {
            key = line;
            continue;
        }
        if (const TSetupRow* row = RowOf(key)) {
            try {
                ApplyValue(*row, key, line, form, map);
            } catch (const Exception&) {
                // Skipped, not fatal: stopping here would let the exit write every later
                // setting back as its default.
                ShowMsgDialog(QStringLiteral("Настройки"),
                              QStringLiteral("Неверное значение ключа ") + key +
                                  QStringLiteral(": ") + line);
            }
        }
        ShowBackground(form, map);
    }
    return true;
}

QStringList SetupLines(TFormMap& form, TGeoMap& map)
{
    QStringList lines;
    for (const TSetupRow& row : SetupRows()) {
        const bool defaultBackground =
            row.Kind == TSetupKind::Background && map.BackColor == clBtnFace;
        lines << (defaultBackground ? QString::fromUtf8(DefaultBackgroundKey)
                                    : QString::fromUtf8(row.Key));
        lines << ValueText(row, form, map);
    }
    return lines;
}

void WriteSetupFile(const QString& path, TFormMap& form, TGeoMap& map)
{
    TTrailGuard guard("UnitMap", "procedure writesetup;", TrailArg("path", path));
    WriteTextFileLines(path, SetupLines(form, map));
}

bool ReadLastStampFile(const QString& path, std::array<QString, 18>& stamp)
{
    TTrailGuard guard("UnitMap", "function readLastStamp:boolean;", TrailArg("path", path));
    if (!FileExistsIgnoringCase(path))
        return false;
    const QStringList lines = ReadTextFileLines(path);
    for (int i = 0; i < int(stamp.size()) && i < lines.size(); ++i)
        stamp[i] = lines[i];
    return true;
}

void WriteLastStampFile(const QString& path, const std::array<QString, 18>& stamp)
{
    TTrailGuard guard("UnitMap", "function WriteLastStamp:boolean;", TrailArg("path", path));
    WriteTextFileLines(path, QStringList(stamp.begin(), stamp.end()));
}

bool readsetup()
{
    if (!FormMap || !MainMap)
        return false;
    return ReadSetupFile(UserFile(SetupFileName), *FormMap, *MainMap);
}

void writesetup()
{
    if (FormMap && MainMap)
        WriteSetupFile(UserFile(SetupFileName), *FormMap, *MainMap);
}

bool readLastStamp()
{
    return FormMap && ReadLastStampFile(UserFile(LastStampFileName), FormMap->LastStamp);
}

bool WriteLastStamp()
{
    if (FormMap)
        WriteLastStampFile(UserFile(LastStampFileName), FormMap->LastStamp);
    return true;
}
