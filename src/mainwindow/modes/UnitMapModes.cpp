// The mode setter with its one-slot memory, the mode menu items and the creation
// destination shown in the menu.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "mainwindow/FormInstr1.h"

#include <QAction>
#include <QMenu>

namespace {

TExSpeedButton* PaletteButton(TFormInstr1& palette, TModeButton button)
{
    switch (button) {
    case TModeButton::SelectView: return palette.sbSelectView;
    case TModeButton::MoveView: return palette.sbMoveView;
    case TModeButton::SelectObject: return palette.sbSelectObject;
    case TModeButton::Text: return palette.sbText;
    case TModeButton::Point: return palette.sbPoint;
    case TModeButton::Line: return palette.sbLine;
    case TModeButton::Polygon: return palette.sbPolygon;
    case TModeButton::Otm: return palette.sbOtm;
    case TModeButton::None:
    case TModeButton::ReleaseAll: break;
    }
    return nullptr;
}

}  // namespace

void TFormMap::SetMouseMode(TMouseMode Mode, std::uint8_t Step, bool Press)
{
    if (!FormInstr1)
        return;
    if (ModeMemory.ShouldSave(MouseMode, Mode, Step))
        SaveMouseMode();
    MouseMode = Mode;
    if (FormInstr1->isVisible() && Mode != mmCreatePolygon && FormInstr1->pnPolygonProp->isVisible())
        FormInstr1->pnPolygonProp->hide();

    const TMouseModeRow& row = ModeRow(Mode);
    const bool known = Mode < MouseModeCount;
    // A raster link needs its sheet and raster: without them the mode value alone changes.
    const bool applies =
        known && (row.Effect != TModeEffect::SelectLinkRastr ||
                  (MainMap && MainMap->SelectRastr(LinkPage, LinkRastr)));
    if (applies) {
        if (Press && row.Button == TModeButton::ReleaseAll)
            FormInstr1->ReleaseModeButtons();
        const QString cursor = ModeCursor(Mode, row.StepStored ? Step : MouseStep);
        if (!cursor.isEmpty())
            DisplaySurf->setCursor(Cursors.value(cursor, QCursor(Qt::CrossCursor)));
        if (row.StepStored)
            MouseStep = Step;
        if (Press)
            if (TExSpeedButton* b = PaletteButton(*FormInstr1, row.Button))
                b->SetDown(true);
        const QString caption = ModeCaption(Mode, MouseStep, SelectedIndex);
        if (!caption.isEmpty())
            NMouseMode->setTitle(caption);
        switch (row.Effect) {
        case TModeEffect::ClearSelectedPart: SelectedPart = 0; break;
        case TModeEffect::PrintFrameUndrawn: PrintBand.MarkUndrawn(); break;
        case TModeEffect::PolygonPanel:
            if (FormInstr1->isVisible()) {
                FormInstr1->UpdatePolygonPanel();
                FormInstr1->pnPolygonProp->show();
            }
            break;
        case TModeEffect::BandUndrawn: NodeBand.MarkUndrawn(); break;
        case TModeEffect::SelectLinkRastr:
        case TModeEffect::None: break;
        }
    }
    PaintBitmap();
}

void TFormMap::SaveMouseMode()
{
    ModeMemory.Save(MouseMode, MouseStep, Points);
}

void TFormMap::RestoreMouseMode()
{
    ModeMemory.RestorePoints(Points);
    SetMouseMode(ModeMemory.SavedMouseMode, std::uint8_t(ModeMemory.SavedMouseStep), true);
    ModeMemory.ModeSaved = false;
}

void TFormMap::NSelectViewClick() { SetMouseMode(mmSelectView, 0, true); }
void TFormMap::NMoveViewClick() { SetMouseMode(mmMoveView, 0, true); }
void TFormMap::NSelectObjectClick() { SetMouseMode(mmSelectObject, 0, true); }

void TFormMap::ShowObjectDestination()
{
    const QString page = DestAutoPage ? QStringLiteral("ЛИСТ=авто") : QStringLiteral("ЛИСТ=") + DestPageName;
    const QString layer =
        DestAutoLayer ? QStringLiteral("СЛОЙ=авто") : QStringLiteral("СЛОЙ=") + DestLayerName;
    PageInf->setText(MenuText(QLatin1Char('[') + page + QStringLiteral(";  ") + layer + QLatin1Char(']')));
}
