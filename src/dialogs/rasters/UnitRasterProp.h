// "Свойства растра": one raster underlay of one sheet of the main plan — its corners,
// file, visibility, whether its picture is loaded, and its colour filter with a preview
// through the engine's own filter. Every change reaches the plan as a raster command.
#pragma once

#include "dialogs/objects/ObjectValues.h"
#include "foundation/ui/DialogBase.h"

#include <QImage>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;
class TFilenameEdit;
class TGeoMap;
class TNumEdit;

// The folder of colour profiles "Растровые фильтры" in the program folder.
QString RasterProfilesFolder();
// A colour profile: four lines, brightness, red, green, blue, each a whole number. The
// reader raises "Строка N профиля <file> не является целым числом" for a line that is
// no whole number and for a missing line; the writer raises what the file raises.
void ReadRasterProfile(const QString& path, int& L, int& r, int& g, int& b);
void WriteRasterProfile(const QString& path, int L, int r, int g, int b);

class TFormRasterProp : public TDialogBase {
    Q_OBJECT
public:
    TFormRasterProp(TGeoMap& map, int page, int rastr, QWidget* parent = nullptr);

    // The raster shown; "Изменить" may move it to another sheet.
    int PageIndex = 0;
    int RastrIndex = 0;
    RRastrValues Values;       // as last read or edited
    QImage PreviewPicture;     // the raster's picture scaled to the preview

    // Replaces the profile file dialogs (tests): save or open, the file chosen in
    // fileName; false when cancelled.
    static std::function<bool(bool save, QString& fileName)> ProfileDialogHook;

    // Reads the raster afresh and fills every control.
    void FormShow();
    // PreviewPicture := picture scaled into the preview, proportions kept.
    void FitPreview(const QImage& picture);
    // The preview: PreviewPicture, filtered while the filter button is down.
    void DrawPreview();
    QString StatusText() const;

    QLabel* Image1;
    QLabel* LPage;
    QPushButton* sbChangePageLayer;
    TNumEdit* XBL;
    TNumEdit* YBL;
    TNumEdit* XTR;
    TNumEdit* YTR;
    TFilenameEdit* RastrLink;
    QRadioButton* rbVisible;
    QRadioButton* rbHide;
    QLabel* StaticText;
    QPushButton* btLoad;
    QPushButton* btUnLoad;
    QToolButton* btFilterOn;
    QToolButton* ExSpeedButton1;   // "0": the four levels back to neutral
    QToolButton* ButtonSave;
    QToolButton* ButtonOpen;
    QSlider* slLight;
    QSlider* slRed;
    QSlider* slGreen;
    QSlider* slBlue;
    QPushButton* BitBtn1;          // "Закрыть"

private:
    void RastrLinkChange();
    void btLoadClick();
    void btUnLoadClick();
    void btFilterOnClick();
    void SliderChange(int& level, int value);
    void ExSpeedButton1Click();
    void ButtonSaveClick();
    void ButtonOpenClick();
    void sbChangePageLayerClick();
    void BitBtn1Click();
    void SetSliders(int L, int r, int g, int b);
    void LoadPreview();
    void UpdateStatus();
    bool Loaded();
    // Runs a raster command; false, with the message shown, when it is refused.
    bool Issue(TMapCommand comm, const QString& params);

    TGeoMap& Map;              // link, not owned
    bool Filling = false;      // the controls are being filled: the path edit keeps still
    bool SettingSliders = false;
};

// The window on raster rastr of sheet page of the main plan; 1 after "Закрыть".
TModalResult RunRasterProp(int page, int rastr);
// Puts the window into its hook.
void InstallRasterWindows();
