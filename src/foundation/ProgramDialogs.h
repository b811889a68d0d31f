// The program's small modal windows as the core and the main window see them: numbers,
// coordinates, a height mark, an angle, a two-way question, the hot-key and about
// windows, and the raster-export and print parameters. Each entry routine is reached
// through a replaceable hook; the program installs the real windows at start
// (InstallProgramDialogWindows, dialogs/), tests install scripted answers, and without
// a hook every routine answers cancel (2) and leaves its arguments as they were.
#pragma once

#include "foundation/ServDialogs.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

struct TOpenFilter;
struct RGPolygonNode;

// Colour depths as the bitmaps number their pixel formats: 1 one bit, 2 four bits,
// 3 eight bits, 5 sixteen bits, 6 twenty-four bits.
using TPixelDepth = std::uint8_t;

// What the delete-by-code window leaves when it closes, whatever its result.
struct TDelObjectsChoice {
    bool LayersPage = false;      // "Поиск в слоях одного листа" was the page in front
    std::vector<int> Pages;       // the sheets selected on "Поиск в листах", ascending
    int Page = -1;                // the sheet chosen on the layers page; -1 none
    std::vector<int> Layers;      // the layers of that sheet selected, ascending
    int Kind = 0;                 // 0 points, 1 lines, 2 polygons
    QString Text;                 // looked for in the semantics strings
};

// What the transformation window leaves on OK: the factor, the shift (metres), the
// turn (degrees clockwise from north) about (Xc, Yc), and which sheets.
struct TTransformChoice {
    Extended K = 1;
    Extended Dx = 0;
    Extended Dy = 0;
    Extended Angle = 0;
    Extended Xc = 0;
    Extended Yc = 0;
    bool WholePlan = true;        // "весь план"; else "выбранный лист"
    int Page = -1;                // the sheet chosen in the list; -1 none
    int PageCount = 0;            // the sheets the window listed
};

// One member per window; each receives the arguments as its entry routine does and
// writes back what the window copies back, whatever the result.
struct TProgramDialogHooks {
    std::function<TModalResult(int& value, const QString& caption, const QString& message)>
        InpInt;
    std::function<TModalResult(Extended& value, const QString& caption, const QString& message)>
        InpFlt;
    std::function<TModalResult(const QString& caption, Extended& X, Extended& Y)> InpCoord;
    std::function<TModalResult(Extended& height)> InpOtm;
    std::function<TModalResult(const QString& caption, const QString& message,
                               const QString& first, const QString& second)>
        Ask2Way;
    std::function<TModalResult(int& n, Extended& a, Extended& b, const QString& caption,
                               const QString& label1, const QString& label2,
                               const QString& label3)>
        Inp3Int;
    std::function<TModalResult(int& a, int& b, const QString& caption, const QString& label1,
                               const QString& label2)>
        Inp2Int;
    std::function<TModalResult(Extended& angle, const QString& caption)> InpAngle;
    std::function<TModalResult()> HotKeys;
    std::function<TModalResult()> About;
    std::function<TModalResult(int& scale, Extended& dpi, TPixelDepth& depth, Extended x1,
                               Extended y1, Extended x2, Extended y2)>
        SaveRastr;
    std::function<TModalResult(int& scale, TPixelDepth& depth, Extended& kx, Extended& ky)>
        PrintScale;
    // The open filter, edited in place whatever the result.
    std::function<TModalResult(TOpenFilter& filter)> OpenFilter;
    // The object windows of the main plan (dialogs/objects): the point and text editors
    // on the object at (page, layer, index), a new one when isNew; one user caption
    // setting; the move of an object of kind (1 point, 2 line, 3 polygon, 4 text,
    // 5 raster; no layer for a raster) to another sheet or layer.
    std::function<TModalResult(int& page, int& layer, int& index, bool isNew)> PointProp;
    std::function<TModalResult(int& page, int& layer, int& index, bool isNew)> TextProp;
    std::function<TModalResult(Extended& dx, Extended& dy, std::int32_t& rotation,
                               Extended& sizeFactor, std::uint8_t& visibility)>
        UserTextProp;
    std::function<TModalResult(std::uint8_t kind, int& page, int& layer, int& index)>
        ChangePageLayer;
    // The nomenclature inputs, at the mouse; value := the mask edit's text.
    std::function<TModalResult(QString& value, const QString& caption, const QString& message)>
        InpMaskStr;
    std::function<TModalResult(QString& value, const QString& caption, const QString& message)>
        InpNomStr;
    // The find-sheet windows, which show what they find on the main plan themselves.
    std::function<TModalResult()> FindPlanCoord;
    std::function<TModalResult()> FindPlanNom;
    // The delete-by-code window over the main plan's sheets; it issues nothing itself.
    std::function<TModalResult(TDelObjectsChoice& choice)> DelObjects;
    // The sheet chooser; sheet := the chosen index, -1 when none.
    std::function<TModalResult(int& sheet)> SelectPage;
    // The transformation window over the main plan's sheets; it issues nothing itself.
    std::function<TModalResult(TTransformChoice& choice)> Transform;
    // The stamp and frame windows on a list of named texts "^key%value", rebuilt from
    // their fields whatever the result; the stamp window also fills empty fields from
    // lastStamp and copies its fields back there. The stamp corners window: (X1, Y1)
    // upper left, (X2, Y2) lower right, written back whatever the result.
    std::function<TModalResult(QStringList& list, std::array<QString, 18>& lastStamp)> StampDlg;
    std::function<TModalResult(QStringList& list)> RamkaDlg;
    std::function<TModalResult(Extended& X1, Extended& Y1, Extended& X2, Extended& Y2)> InpStampLink;

    // The line and polygon editors, as the point editor; the node windows of a line, an
    // outer polygon contour and an inner contour, and the inner-contour window, each
    // writing its values back whatever the result.
    std::function<TModalResult(int& page, int& layer, int& index, bool isNew)> LineProp;
    std::function<TModalResult(int& page, int& layer, int& index, bool isNew)> PolygonProp;
    std::function<TModalResult(int precision, Extended& X, Extended& Y, std::uint8_t& nodeType,
                               Extended& signShift, std::uint8_t& segmentType,
                               std::int32_t& textCounter, std::uint8_t& inverted)>
        LineNodeProp;
    std::function<TModalResult(int precision, Extended& X, Extended& Y, Extended& signShift,
                               std::uint8_t& segmentType, std::uint8_t& segmentStyle,
                               std::uint8_t& nodeLine, std::uint8_t& nodePicture)>
        PolygonNodeProp;
    std::function<TModalResult(int precision, std::vector<RGPolygonNode>& contour)> IntrPolygonProp;
    std::function<TModalResult(int precision, Extended& X, Extended& Y, Extended& signShift,
                               std::uint8_t& segmentStyle, std::uint8_t& nodePicture)>
        IntrPolygonNodeProp;
    // The raster properties window on raster rastr of sheet page of the main plan.
    std::function<TModalResult(int page, int rastr)> RasterProp;
    // The object creation settings window on the main window's settings, opened on the
    // page of that index; it writes every value back whatever the result.
    std::function<TModalResult(int page)> ObjectDest;
};

// The one set in force.
TProgramDialogHooks& ProgramDialogHooks();

// Puts a set in force for its lifetime and restores the previous one after.
class TScopedProgramDialogHooks {
public:
    explicit TScopedProgramDialogHooks(TProgramDialogHooks hooks = {});
    ~TScopedProgramDialogHooks();
    TScopedProgramDialogHooks(const TScopedProgramDialogHooks&) = delete;
    TScopedProgramDialogHooks& operator=(const TScopedProgramDialogHooks&) = delete;

private:
    TProgramDialogHooks Saved;
};

// A whole number with a message; value := the edit's number (0 when it holds none).
// 1 Enter, 2 Esc.
TModalResult InpIntDialog(int& value, const QString& caption, const QString& message);
// A real with a message, "," or "." accepted; value := the edit's number. 1 Enter, 2 Esc.
TModalResult InpFltDialog(Extended& value, const QString& caption, const QString& message);
// A coordinate pair in metres (X north, Y east) with step buttons.
TModalResult InpCoordDialog(const QString& caption, Extended& X, Extended& Y);
// The height of a new height mark in a borderless edit at the mouse.
TModalResult InpOtmDialog(Extended& height);
// Two named answers: 100 the first (also Enter), 101 the second, 2 Esc.
TModalResult Ask2WayDialog(const QString& caption, const QString& message,
                           const QString& first, const QString& second);
// A whole number and two reals under three labels.
TModalResult Inp3IntDialog(int& n, Extended& a, Extended& b, const QString& caption,
                           const QString& label1, const QString& label2, const QString& label3);
// Two whole numbers under two labels.
TModalResult Inp2IntDialog(int& a, int& b, const QString& caption, const QString& label1,
                           const QString& label2);
// An angle in decimal degrees, edited as degrees, minutes and seconds.
TModalResult InpAngleDialog(Extended& angle, const QString& caption);
// The hot-key reference; 1 "Закрыть".
TModalResult ShowHotKeys();
// The about window.
TModalResult ShowAbout();

// The raster export's scale denominator, resolution (dots per inch) and depth for the
// plan rectangle (x1, y1) south-west to (x2, y2) north-east, in metres.
TModalResult SaveRastrDlg(int& scale, Extended& dpi, TPixelDepth& depth, Extended x1,
                          Extended y1, Extended x2, Extended y2);
// The print scale denominator, depth and the calibration factors kx, ky.
TModalResult PrintScaleDlg(int& scale, TPixelDepth& depth, Extended& kx, Extended& ky);

// A nomenclature typed through the mask "000>L00" (three digits, a letter made upper
// case, two digits: "033А01"), or through "000->L-00" ("033-А-01") by InpNomStrDialog.
// value starts the edit and receives its text, fixed characters included, whatever the
// result; 1 Enter or "Готово", 2 Esc.
TModalResult InpMaskStrDialog(QString& value, const QString& caption, const QString& message);
TModalResult InpNomStrDialog(QString& value, const QString& caption, const QString& message);
// "Определить координаты планшета по номенклатуре" and "Найти планшет по координатам".
TModalResult FindPlanCoordDlg();
TModalResult FindPlanNomDlg();
// "Выбор листа": sheet := the index chosen, -1 when none (the plan has no sheets),
// whatever the result; without a window sheet stays.
TModalResult SelectPageDlg(int& sheet);
// The raster properties window on raster rastr of sheet page; 2 without a window.
TModalResult RasterPropDlg(int page, int rastr);
// "Настройка штампа", "Настройка рамки планшета" and "Установка штампа"; without a
// window the list and the corners stay as they were.
TModalResult StampDlg(QStringList& list, std::array<QString, 18>& lastStamp);
TModalResult RamkaDlg(QStringList& list);
TModalResult InpStampLinkDlg(Extended& X1, Extended& Y1, Extended& X2, Extended& Y2);
