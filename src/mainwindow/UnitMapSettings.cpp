// The settings window over the main window: what it shows and changes of the window's
// fields, the main plan, its sign library and the classifier window, and the menu item
// that opens it.
#include "dialogs/settings/UnitSetup.h"
#include "editors/classifier/UnitSemDialog.h"
#include "engine/GeoMap.h"
#include "engine/draw/MapPainter.h"
#include "foundation/ErrorTrail.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/VclTimer.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

class TMainSetupTarget : public TSetupTarget {
public:
    TMainSetupTarget(TFormMap& form, TGeoMap& map) : Form(form), Map(map) {}

    RSetupValues Values() override
    {
        RSetupValues v;
        v.PlansFolder = Form.PlansFolder;
        v.RastrsFolder = Form.RastrsFolder;
        v.NomenclatureFile = Map.NomenclatureFileName;
        v.AutoSaveOn = Form.AutoSaveOn == 1;
        v.AutoSaveInterval = Form.TimerAutosave->Interval();
        v.UndoOn = Map.UndoOn != 0;
        v.SnapRadius = Form.SnapRadius;
        v.PickRadius = Form.PickRadius;
        v.ScreenDpi = Map.ScreenDpi;
        v.PlanPixelFormat = Map.PlanPixelFormat;
        v.RastrPixelFormat = Map.RastrPixelFormat;
        v.WheelMode = Form.WheelMode;
        if (const TSymbols* signs = Map.Symbols.get()) {
            v.AskUnknownWorkSem = signs->AskUnknownWorkSem != 0;
            v.AskUnknownSymbol = signs->AskUnknownSymbol != 0;
            v.UseSynonyms = signs->UseSynonyms != 0;
            v.UnknownSigns = signs->UnknownSymbols;
        }
        v.FontAutoload = Form.FontAutoload != 0;
        v.UseHCAD = Map.UseHCAD != 0;
        v.UseHCADinText = Map.UseHCADinText != 0;
        v.Colours = {Map.BackColor,
                     Map.FrameColor500,
                     Map.FrameColor5000,
                     Map.NomColor,
                     Form.CreateLineColor,
                     Form.CreatePolygonMainSegmColor,
                     Form.CreatePolygonSpecial1SegmColor,
                     Form.CreatePolygonSpecial2SegmColor,
                     Map.NodeColor,
                     Map.HighlightColor1,
                     Map.HighlightColor2};
        v.HighlightWidth = Map.HighlightWidth;
        v.ArrowLength = Form.SelectionArrowLength;
        v.ArrowAngle = Form.SelectionArrowAngle;
        return v;
    }

    void SaveExcludes() override
    {
        if (TFormSemDialog* classifier = FormSemDialog())
            classifier->SaveExcludes();
        else if (TSemServices* services = SemServices())
            services->SaveExcludes();
    }

    void LoadExcludes() override
    {
        if (TFormSemDialog* classifier = FormSemDialog())
            classifier->LoadExcludes();
        else if (TSemServices* services = SemServices())
            services->LoadExcludes();
    }

    TModalResult EditClassifier(int mode) override
    {
        int lm = 0;
        QString sem;
        return SemDlg(mode, lm, sem);
    }

    void SignsEdited() override
    {
        try {
            if (Map.Symbols)
                Map.Symbols->LoadSymbols(Map.MapProp.Scale);
            const QSize size = Form.SurfaceSize();
            Map.Draw(size.width(), size.height(), 2, ddScreen);
        } catch (const Exception& e) {
            ShowMsgDialog(QStringLiteral("Условные знаки"), e.Message);
        }
    }

    void MovePaletteAside() override
    {
        QWidget* palette = Form.FormInstr1;
        if (!palette)
            return;
        PalettePlace = palette->pos();
        const QScreen* screen = palette->screen() ? palette->screen() : QGuiApplication::primaryScreen();
        if (screen)
            palette->move(screen->geometry().width(), screen->geometry().height());
        PaletteMoved = true;
    }

    void RestorePalette() override
    {
        QWidget* palette = Form.FormInstr1;
        if (palette && PaletteMoved)
            palette->move(PalettePlace);
        PaletteMoved = false;
    }

    void SetUseSynonyms(bool on) override
    {
        if (Map.Symbols)
            Map.Symbols->UseSynonyms = on;
    }
    void SetDxfHeights(bool inMarks, bool inCaptions) override
    {
        Map.UseHCAD = inMarks;
        Map.UseHCADinText = inCaptions;
    }
    void SetWheelMode(int mode) override { Form.WheelMode = std::uint8_t(mode); }
    void SetUnknownSigns(const QStringList& names) override
    {
        if (Map.Symbols)
            Map.Symbols->UnknownSymbols = names;
    }
    void SetFontAutoload(bool on) override { Form.FontAutoload = on; }
    void SetAskSwitches(bool workSem, bool signs) override
    {
        if (!Map.Symbols)
            return;
        Map.Symbols->AskUnknownWorkSem = workSem;
        Map.Symbols->AskUnknownSymbol = signs;
    }
    void SetPlansFolder(const QString& folder) override { Form.PlansFolder = folder; }
    void SetRastrsFolder(const QString& folder) override { Form.RastrsFolder = folder; }
    void SetAutoSave(bool on, int interval) override
    {
        if (on)
            Form.TimerAutosave->SetInterval(interval);
        Form.AutoSaveOn = on;
    }
    void SetBackground(std::int32_t colour) override
    {
        Map.BackColor = colour;
        if (QLabel* ground = Form.BackGround) {
            QPalette palette = ground->palette();
            palette.setColor(QPalette::Window, TColorToQColor(colour));
            ground->setPalette(palette);
            ground->setAutoFillBackground(true);
        }
    }
    bool LoadNomenclatures(const QString& fileName) override
    {
        try {
            Map.LoadNomenclatures(fileName);
        } catch (const Exception& e) {
            ShowMsgDialog(QStringLiteral("Файл номенклатур"), e.Message);
            return false;
        }
        Map.NomenclatureFileName = fileName;
        return true;
    }
    void SetScreenDpi(Extended dpi) override { Map.ScreenDpi = dpi; }
    void SetPixelFormats(int plan, int rastr) override
    {
        Map.PlanPixelFormat = std::uint8_t(plan);
        Map.RastrPixelFormat = std::uint8_t(rastr);
    }
    void SetColours(const std::array<std::int32_t, 11>& c) override
    {
        Map.FrameColor500 = c[1];
        Map.FrameColor5000 = c[2];
        Map.NomColor = c[3];
        Form.CreateLineColor = c[4];
        Form.CreatePolygonMainSegmColor = c[5];
        Form.CreatePolygonSpecial1SegmColor = c[6];
        Form.CreatePolygonSpecial2SegmColor = c[7];
        Map.NodeColor = c[8];
    }
    void SetSnapRadius(int pixels) override { Form.SnapRadius = pixels; }
    void SetPickRadius(int pixels) override { Form.PickRadius = pixels; }
    void SetHighlight(std::int32_t colour1, std::int32_t colour2, int width, int arrowLength,
                      Extended arrowAngle) override
    {
        Map.HighlightColor1 = colour1;
        Map.HighlightColor2 = colour2;
        Map.HighlightWidth = width;
        Form.SelectionArrowLength = arrowLength;
        Form.SelectionArrowAngle = arrowAngle;
    }
    void SetUndoOn(bool on) override { Map.UndoOn = on; }

private:
    TFormMap& Form;   // link, not owned
    TGeoMap& Map;     // link, not owned
    QPoint PalettePlace;
    bool PaletteMoved = false;
};

}  // namespace

TModalResult SetupDlg()
{
    if (!FormMap || !MainMap)
        return mrCancel;
    TMainSetupTarget target(*FormMap, *MainMap);
    return SetupDlg(target);
}

void TFormMap::NSetupClick()
{
    TimerAutosave->SetEnabled(false);
    SetupDlg();
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    if (AutoSaveOn == 1)
        TimerAutosave->SetEnabled(true);
}
