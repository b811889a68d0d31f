// "Параметры создания объектов": where new objects go (sheet and layer, fixed or
// automatic), the precision of their coordinates, and the defaults of new points, texts,
// polygons and coordinate labels. The window has no cancel: whatever way it closes, every
// value it shows is written back into the main window's settings.
#pragma once

#include "foundation/GeoTypes.h"
#include "foundation/ui/DialogBase.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;
class TAnglePaintBox;
class TExSlider;
class TFontComboBox;
class TFormMap;
class TNumEdit;

// The main window's creation settings the window edits, as the main window keeps them.
struct RObjectDest {
    std::uint8_t DestAutoPage = 1;
    QString DestPageName;
    std::uint8_t DestAutoLayer = 1;
    QString DestLayerName;
    std::int32_t CreatePrecision = 2;
    Extended PointSignAngle = 0;          // degrees
    std::uint8_t PointCaptionLine = 0;    // 0 default, 1 on, 2 off
    std::uint8_t AutoTextAllFromFirst = 0;
    Extended AutoTextDX = 0;              // mm of the plan
    Extended AutoTextDY = 0;
    std::uint8_t AutoTextView = 0;        // 0 default, 1 on, 2 off
    std::int32_t AutoTextAngle = 0;       // tenths of a degree
    Extended AutoTextSizeFactor = 1;
    std::int32_t TextAngle = 0;           // tenths of a degree
    QString TextStyleName;                // empty: new texts take their own font
    QString TextFontName;
    std::uint8_t TextFontStyle = 0;       // 1 bold, 2 italic, 4 underline
    Extended TextFontSize = 0;            // mm
    std::int32_t TextColor = 0;           // 0x00BBGGRR
    QString TextCaption;
    std::uint8_t ShowPolygonPopup = 1;
    std::array<Extended, 16> CoordLabelOffsets{};   // dx, dy pairs, mm
    QString CoordLabelStyle;

    static RObjectDest Of(const TFormMap& form);
    void WriteTo(TFormMap& form) const;
};

// The window on the main window's settings, opened on the page of index (0 "Точечные",
// 1 "Линейные", 2 "Площадные", 3 "Текстовые", 4 "Подписи координат"); every value is
// written back and the destination shown in the main menu, whatever the result. 2 and
// nothing changed without a window or a main window.
TModalResult ObjectDestDlg(int page);

// Puts the real window behind ObjectDestDlg.
void InstallObjectDestWindow();

class TFormObjectDest : public TDialogBase {
    Q_OBJECT
public:
    // Loads values over the main plan's visible sheets and layers and its text styles,
    // and shows the page of index page.
    TFormObjectDest(const RObjectDest& values, int page, QWidget* parent = nullptr);

    // The values as the window shows them.
    RObjectDest Values() const;

    QGroupBox* gbPage;
    QComboBox* cbPage;
    QCheckBox* AutoPage;
    QGroupBox* gbLayer;
    QComboBox* cbLayer;
    QCheckBox* AutoLay;
    QGroupBox* gbPrecision;        // "Точность" with the slider and its marks
    TExSlider* ExSlider1;
    QPushButton* BitBtn1;          // "Готово"

    QTabWidget* pcObjects;
    TNumEdit* PointneAngleZnak;
    TExSlider* PointSliderAngleZnak;
    TAnglePaintBox* PointpbAngleZnak;
    QToolButton* PointsbAuto;
    QToolButton* PointsbOn;
    QToolButton* PointsbOff;
    QCheckBox* cbShowPopup;        // "показывать контекстное меню"
    QLineEdit* eText;
    QTabWidget* pcText;            // "Стиль", "Шрифт"
    QWidget* tsStyle;
    QWidget* tsFont;
    QComboBox* cbStyle;
    QPlainTextEdit* Memo1;
    TFontComboBox* FontSelector;
    TNumEdit* neFS;
    QPushButton* pnColor;
    QToolButton* sbFB;
    QToolButton* sbFI;
    QToolButton* sbFU;
    TNumEdit* neTextAngle;
    TExSlider* TextSlider;
    TAnglePaintBox* TextPbAngle;
    std::array<TNumEdit*, 16> NumEdits{};   // NumEdit1 ... NumEdit16
    QComboBox* ComboBox1;

    QGroupBox* UTPanel;            // "Настройки автотекста"
    QCheckBox* UTcbAll;
    TNumEdit* UTneX;
    TNumEdit* UTneY;
    TNumEdit* UTneAngle;
    TExSlider* UTSlider;
    TAnglePaintBox* UTpbAngle;
    QToolButton* UTsbAuto;
    QToolButton* UTsbOn;
    QToolButton* UTsbOff;
    TNumEdit* UTneKSz;

    void AutoPageClick();
    void AutoLayClick();
    void cbPageChange();
    void UTcbAllClick();
    void pcObjectsChange();
    void cbStyleChange();
    void pnColorClick();

private:
    // Fills the layer list with the visible layers of the sheet chosen in cbPage and
    // selects selected (-1 none).
    void FillLayers();
    // After another sheet: the layer named DestLayerName when listed, else the first.
    void SelectLayerAfterPageChange();
    void SetColor(int color);
    void ShowStyleFont(const QString& styleName);

    std::vector<int> VisiblePages;   // the plan's index of each line of cbPage
    QString LayerName;               // DestLayerName as opened
    QString CoordLabelStyle;         // kept when ComboBox1 has no selection
    int Color = 0;
};
