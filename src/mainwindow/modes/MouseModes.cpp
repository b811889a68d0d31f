// The mode table. Each interaction family puts its handlers into the rows of its modes.
#include "mainwindow/modes/MouseModes.h"

namespace {

using B = TModeButton;
using E = TModeEffect;

TMouseModeRow Row(const char* name, const char* caption, const char* cursor, bool stored,
                  B button = B::None, E effect = E::None)
{
    TMouseModeRow row;
    row.Name = name;
    row.Caption = caption;
    row.Cursor = cursor;
    row.StepStored = stored;
    row.Button = button;
    row.Effect = effect;
    return row;
}

TMouseModeRow StepRow(const char* name, std::array<const char*, 4> captions,
                      std::array<const char*, 4> cursors, bool stored, B button = B::None,
                      E effect = E::None)
{
    TMouseModeRow row = Row(name, nullptr, nullptr, stored, button, effect);
    row.StepCaptions = captions;
    row.StepCursors = cursors;
    return row;
}

std::array<TMouseModeRow, MouseModeCount> BuildRows()
{
    // Captions and cursors as the user knows them ("учатка" included).
    return {{
        Row("mmNone", "режим не выбран", nullptr, false, B::ReleaseAll),
        Row("mmSelectView", "режим: Выбор вида [", "ZOOM", true, B::SelectView),
        Row("mmMoveView", "режим: Сдвиг вида [", "MOVE", true, B::MoveView),
        Row("mmSelectObject", "режим: Выбор объекта [", "SELECT", true, B::SelectObject,
            E::ClearSelectedPart),
        Row("mmPrintArea", "режим: Выбор участка для печати [", "PRINT", true, B::ReleaseAll,
            E::PrintFrameUndrawn),
        Row("mmSaveArea", "режим: Выбор учатка для сохранения [", "SELECTSAVEREGION", true),
        StepRow("mmLinkRastr",
                {nullptr, "режим: Привязка растра - Точка 1[", "режим: Привязка растра - Точка 2[",
                 nullptr},
                {nullptr, "CROSS", "CROSS", nullptr}, true, B::ReleaseAll, E::SelectLinkRastr),
        Row("mmCreateText", "режим: Создание текстового объекта [", "CROSS", true, B::Text),
        Row("mmCreatePoint", "режим: Создание точечного объекта [", "CROSS", true, B::Point),
        Row("mmCreateLine", "режим: Создание линейного объекта [", "CROSS", true, B::Line),
        Row("mmCreatePolygon", "режим: Создание площадного объекта [", "CROSS", true, B::Polygon,
            E::PolygonPanel),
        Row("mmCreateOtm", "режим: Создание отметки [", "CROSS", true, B::Otm),
        Row("mmSelectNode", "режим: Выбор узла [", "SELECT", false),
        Row("mmSelectSegment", "режим: Выбор сегмента [", "SELECT", false),
        Row("mmMoveObject", "режим: Сдвиг объекта [", "MOVEOBJECT", false),
        Row("mmMoveNode", "режим: Сдвиг узла [", "MOVEOBJECT", false),
        Row("mmMoveSegment", "режим: Сдвиг сегмента [", "MOVEOBJECT", false),
        Row("mmSetStamp", "режим: Установка штампа [", "STAMP", false),
        // The caption of node adding depends on the end chosen: ModeCaption.
        Row("mmAddLineNode", nullptr, "CROSS", false, B::None, E::BandUndrawn),
        Row("mmMergeLines", "режим: Объединение линейных объектов[", "CROSS", false, B::None,
            E::BandUndrawn),
        Row("mmOGZ", "режим: Обратная геодезическая задача[", "CROSS", false),
        Row("mmSampleCoords", "режим: выборка координат с плана[", "CROSS", false),
        StepRow("mmTraceContour",
                {"режим: Проложение горизонтали,выбор первой отметки [",
                 "режим: Проложение горизонтали,выбор второй отметки [", nullptr, nullptr},
                {"GTRACE1", "GTRACE2", nullptr, nullptr}, true),
        Row("mmCreateCircle", "режим: Построение окружности [", "CROSS", true),
        Row("mmInterpolateHeights", "режим: Высотная интерполяция [", "CROSS", true),
        Row("mmCoordLabels", "режим: Создание подписей координат [", "COORDTEXT", false),
        StepRow("mmBaseLinePoint",
                {nullptr, "режим: Выбор точки 1 исходной линии для геометрических построений [",
                 "режим: Выбор точки 2 исходной линии для геометрических построений [", nullptr},
                {nullptr, "SelectSLinePoint1", "SelectSLinePoint2", nullptr}, true),
        Row("mmInsertRastr", "режим: Вставка растра по курсору[", "SetRastrBL", true, B::ReleaseAll),
        Row("mmCapturePointPicture", "режим: выбор точечного рисунка [", "CAPPICTPOINT", true),
        Row("mmCaptureLinePicture", "режим: выбор линейного рисунка [", "CAPPICTLINE", true),
        Row("mmCapturePolygonPicture", "режим: выбор площадного рисунка [", "CAPPICTPOLYGON", true),
        StepRow("mmCheckHeights",
                {"режим: проверка высот, выбор опорного пикета 1 [",
                 "режим: проверка высот, выбор опорного пикета 2 [",
                 "режим: проверка высот,выбор места [", nullptr},
                {"CROSS", "CROSS", "CROSS", nullptr}, true),
    }};
}

}  // namespace

const TMouseModeRow& ModeRow(TMouseMode mode)
{
    static const std::array<TMouseModeRow, MouseModeCount> rows = [] {
        std::array<TMouseModeRow, MouseModeCount> built = BuildRows();
        FillModeHandlers(built);
        return built;
    }();
    static const TMouseModeRow empty;
    return mode < MouseModeCount ? rows[mode] : empty;
}

QString ModeCaption(TMouseMode mode, std::uint8_t step, int selectedIndex)
{
    if (mode >= MouseModeCount)
        return {};
    const TMouseModeRow& row = ModeRow(mode);
    const char* text = row.Caption;
    if (mode == mmAddLineNode)
        text = selectedIndex == 0 ? "режим: Добавление узла в начало линии["
                                  : "режим: Добавление узла в конец линии[";
    else if (!text)
        text = step < row.StepCaptions.size() ? row.StepCaptions[step] : nullptr;
    if (!text)
        return {};
    QString caption = QString::fromUtf8(text);
    if (caption.endsWith(QLatin1Char('[')))
        caption += QString::number(step) + QLatin1Char(']');
    return caption;
}

QString ModeCursor(TMouseMode mode, std::uint8_t step)
{
    if (mode >= MouseModeCount)
        return {};
    const TMouseModeRow& row = ModeRow(mode);
    if (row.Cursor)
        return QString::fromLatin1(row.Cursor);
    const char* name = step < row.StepCursors.size() ? row.StepCursors[step] : nullptr;
    return name ? QString::fromLatin1(name) : QString();
}

bool TModeMemory::ShouldSave(TMouseMode current, TMouseMode mode, std::uint8_t step) const
{
    return SavedMouseMode == mmNone || SavedMouseMode == mmSelectView || !ModeSaved ||
           mode == mmSelectView ||
           (mode == mmMoveView && current != mmSelectView && current != mmMoveView) ||
           mode == mmPrintArea || mode == mmSaveArea || (mode == mmLinkRastr && step == 1) ||
           mode == mmAddLineNode || mode == mmMergeLines || mode == mmOGZ;
}

void TModeMemory::Save(TMouseMode mode, std::uint8_t step, const TEventPoints& points)
{
    SavedMouseMode = mode;
    SavedMouseStep = step;
    SavedPrevDown = points.PrevDown;
    SavedPrevUp = points.PrevUp;
    SavedPrevMove = points.PrevMove;
    ModeSaved = true;
}

void TModeMemory::RestorePoints(TEventPoints& points) const
{
    points.PrevDown = SavedPrevDown;
    points.PrevUp = SavedPrevUp;
    points.PrevMove = SavedPrevMove;
}
