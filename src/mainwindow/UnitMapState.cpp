// The fields other windows share through the main window: their defaults, the keys they
// are kept under in the settings file, the count of unsaved changes and the rule that
// decides where a new object goes.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/VclTimer.h"
#include "semantics/signs/Symbols.h"

const std::vector<TSettingsKey>& MapSettingsKeys()
{
    static const std::vector<TSettingsKey> keys = [] {
        std::vector<TSettingsKey> k = {
            {"@Область привязки", "SnapRadius"},
            {"@Область выбора", "PickRadius"},
            {"@Автосохранение", "AutoSaveOn"},
            {"@Планы", "PlansFolder"},
            {"@Растры", "RastrsFolder"},
            {"@Автозагрузка шрифтов", "FontAutoload"},
            {"@Цвет линии", "CreateLineColor"},
            {"@Цвет основной сегмент", "CreatePolygonMainSegmColor"},
            {"@Цвет специальный1 сегмент", "CreatePolygonSpecial1SegmColor"},
            {"@Цвет специальный2 сегмент", "CreatePolygonSpecial2SegmColor"},
            {"@Длина стрелок выделения", "SelectionArrowLength"},
            {"@Угол стрелок выделения", "SelectionArrowAngle"},
        };
        static const char* const offsets[16] = {
            "@Сдвиг подписи координат1",  "@Сдвиг подписи координат2",  "@Сдвиг подписи координат3",
            "@Сдвиг подписи координат4",  "@Сдвиг подписи координат5",  "@Сдвиг подписи координат6",
            "@Сдвиг подписи координат7",  "@Сдвиг подписи координат8",  "@Сдвиг подписи координат9",
            "@Сдвиг подписи координат10", "@Сдвиг подписи координат11", "@Сдвиг подписи координат12",
            "@Сдвиг подписи координат13", "@Сдвиг подписи координат14", "@Сдвиг подписи координат15",
            "@Сдвиг подписи координат16"};
        for (const char* key : offsets)
            k.push_back({key, "CoordLabelOffsets"});
        k.push_back({"@Стиль подписей координат", "CoordLabelStyle"});
        k.push_back({"@Режим колеса мыши", "WheelMode"});
        return k;
    }();
    return keys;
}

void TUnsavedChanges::CommandDone(TMapCommand comm)
{
    switch (comm) {
    case mcNewMap:
    case mcOpenMap:
        if (!Reopening)
            FCount = 0;
        return;
    case mcSaveMap:   // the only save that writes the plan whole in its own format
        FCount = 0;
        return;
    case mcSaveSelected: return;
    default: ++FCount; return;
    }
}

void TFormMap::SetDefaults()
{
    PlansFolder = UserFolder;
    RastrsFolder = UserFolder;
    AutoSaveOn = 1;
    TimerAutosave->SetInterval(300000);
    FontAutoload = 1;
    SnapRadius = 50;
    PickRadius = 10;
    CreateLineColor = 0x008000;
    CreatePolygonMainSegmColor = 0x008000;
    CreatePolygonSpecial1SegmColor = 0xFF00FF;
    CreatePolygonSpecial2SegmColor = 0xFF0000;
    SelectionArrowLength = 25;
    SelectionArrowAngle = 8.0L;
    CoordLabelOffsets = {1.7L, 0.1L, 1.7L,  1.5L, -0.1L, 1.5L,  -5.8L, 0.1L,
                         -5.8L, -1.7L, -0.1L, -6.0L, 1.7L, -6.0L, 1.7L, -1.7L};
    CoordLabelStyle = QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)");
    WheelMode = 2;
    CircleTolerance = 0.05L;
    MainMap->UndoOn = 1;
    MainMap->HighlightColor1 = 0xFF0000;
    MainMap->HighlightColor2 = 0x00FFFF;
    MainMap->PrinterScale = 500;
    MainMap->PrintBits = 3;
    MainMap->PrintHeaderOn = 1;

    // The sign library starts with its questions off (the sign windows' private plans keep
    // them so); the user is asked about unknown work semantics and signs until the
    // settings say otherwise.
    TSymbols& symbols = *MainMap->Symbols;
    symbols.AskUnknownWorkSem = 1;
    symbols.AskUnknownSymbol = 1;

    // New texts take the first text style of scale 500.
    symbols.LoadTextStyles(500);
    if (symbols.TextStyles.GoFirstItem()) {
        const TGeoTextStyle& style = *symbols.TextStyles.Item;
        TextStyleName = style.StyleName;
        TextFontName = style.FontName;
        TextFontStyle = style.FontStyle;
        TextFontSize = style.Size;
        TextColor = style.Color;
    }
}

bool TFormMap::ChooseDestination(const TGeoPoint& point, int lm, const QString& sem, int& page,
                                 int& layer)
{
    page = layer = -1;
    QString pageName = DestPageName;
    if (DestAutoPage == 1) {
        pageName = MainMap->CoordToNomenclature(point.X, point.Y);
        if (pageName.isEmpty()) {
            // Asked until a name is given; Esc gives up the object.
            do {
                if (InpStrDialog(DestPageName, QStringLiteral("Введите название листа:"),
                                 QStringLiteral("Не получается автоматически определить название "
                                                "листа по номенклатуре планшета, введите название "
                                                "листа")) != mrOk)
                    return false;
            } while (DestPageName.isEmpty());
            pageName = DestPageName;
            DestAutoPage = 0;
        }
    }
    // A cancelled layer question gives an empty name, and an empty layer name creates
    // nothing: no object, no layer without a name, and not the sheet either, so both
    // names are settled before the sheet is made.
    const QString layerName = DestAutoLayer == 1 ? MainMap->DetectLayer(lm, sem) : DestLayerName;
    if (layerName.isEmpty() || !MainMap->SetPage2(pageName) || !MainMap->SetLayer(layerName))
        return false;
    page = MainMap->GetCurrentPage();
    layer = MainMap->GetCurrentLayer();
    return page >= 0 && layer >= 0;
}
