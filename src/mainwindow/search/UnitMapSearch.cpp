// The "Поиск" menu (a sheet by its nomenclature or a point in it, a text of the plan)
// and the plan menu's commands over the whole plan: transformation, semantics
// replacement, synonyms, heights by point numbers, deletion by code.
#include "mainwindow/UnitMap.h"

#include "dialogs/find/FindDialog.h"
#include "dialogs/find/UnitDelObjects.h"
#include "dialogs/find/UnitTransform.h"
#include "editors/EditorDialogs.h"
#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/GsCatcher.h"
#include "mainwindow/MapMenuItems.h"
#include "mainwindow/modes/MapViews.h"
#include "semantics/signs/Symbols.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <cmath>

namespace {

// Draws the main plan on the screen with mode; an error is reported.
void DrawScreen(TFormMap& form, TDrawMode mode)
{
    if (!MainMap)
        return;
    try {
        const QSize size = form.SurfaceSize();
        MainMap->Draw(size.width(), size.height(), mode, ddScreen);
    } catch (...) {
        HandleApplicationException(&form, std::current_exception());
    }
}

}  // namespace

void TFormMap::ConnectSearchCommands()
{

    QMenu* sheet = NSearch->addMenu(QStringLiteral("Планшет"));
    sheet->menuAction()->setObjectName(QStringLiteral("NFindPlan"));
    AddMapCommand(*this, sheet, nullptr, "по координатам", "NFindPlanFromCoord", &TFormMap::NFindPlanFromCoordClick);
    AddMapCommand(*this, sheet, nullptr, "по номенклатуре", "NFindPlanFromNom", &TFormMap::NFindPlanFromNomClick);
    AddMapCommand(*this, NSearch, nullptr, "Надпись", "NFindText", &TFormMap::NFindTextClick);

    // The plan menu's commands over the whole plan go before its last group, the
    // command window.
    QAction* before = nullptr;
    const QList<QAction*> plan = NPlan->actions();
    for (qsizetype i = plan.size() - 1; i >= 0; --i)
        if (plan[i]->isSeparator()) {
            before = plan[i];
            break;
        }
    NPlan->insertSeparator(before);
    auto* conversions = new QMenu(QStringLiteral("Преобразования"), NPlan);
    conversions->menuAction()->setObjectName(QStringLiteral("NConversions"));
    NPlan->insertMenu(before, conversions);
    AddMapCommand(*this, conversions, nullptr, "Трансформация", "NTransform", &TFormMap::NTransformClick);
    AddMapCommand(*this, conversions, nullptr, "Замена семантики", "NChangeSem", &TFormMap::NChangeSemClick);
    AddMapCommand(*this, conversions, nullptr, "Замена неизвестной семантики на синонимы", "N74", &TFormMap::N74Click);
    AddMapCommand(*this, conversions, nullptr, "Изменение высот отметок с номерами ...", "N79", &TFormMap::N79Click);
    NPlan->insertSeparator(before);
    AddMapCommand(*this, NPlan, before, "Удаление объектов", "N41", &TFormMap::N41Click);
}

void TFormMap::NFindPlanFromNomClick() { FindPlanCoordDlg(); }

void TFormMap::NFindPlanFromCoordClick() { FindPlanNomDlg(); }

void TFormMap::NFindTextClick()
{
    if (!FindDialog1) {
        FindDialog1 = new TFindDialog(this);
        FindDialog1->OnShow = [this] { FindDialog1Show(); };
        FindDialog1->OnFind = [this] { FindDialog1Find(); };
    }
    if (FindDialog1->isVisible()) {   // already open: brought to the front, not shown anew
        FindDialog1->raise();
        FindDialog1->activateWindow();
    } else {
        FindDialog1->show();
    }
}

void TFormMap::FindDialog1Show() { FindFromStart = true; }

void TFormMap::FindDialog1Find()
{
    if (!MainMap || !FindDialog1)
        return;
    // Without the case box: any case, and a text holding the sample is found; with it:
    // only a text equal to the sample.
    const bool loose = !FindDialog1->MatchCase->isChecked();
    const QString sample = FindDialog1->FindText->text();
    int page = 0, layer = 0, text = 0;
    QString found;
    Extended x = 0, y = 0;
    try {
        const bool fromStart = FindFromStart;
        FindFromStart = false;
        const int result =
            fromStart ? MainMap->BeginFindScript(sample, page, layer, text, loose, loose, found, x, y)
                      : MainMap->NextFindScript(sample, page, layer, text, loose, loose, found, x, y);
        if (result != mrYes)
            return;
        // At the sign library's scale first, to learn the extent the window shows there;
        // then that extent about the text, as a view of its own.
        const QSize size = SurfaceSize();
        const int libraryScale = MainMap->Symbols ? MainMap->Symbols->GetScale() : 0;
        MainMap->DisplayScale = libraryScale > 0 ? libraryScale : MainMap->MapProp.Scale;
        MainMap->Draw(size.width(), size.height(), 5, ddScreen);
        Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        MainMap->ScrToGeo(size.height(), 0, 0, x1, y1);
        MainMap->ScrToGeo(size.height(), size.width(), size.height(), x2, y2);
        const Extended halfX = std::fabs(x1 - x2) / 2;
        const Extended halfY = std::fabs(y2 - y1) / 2;
        AppendMapView(*MainMap, x - halfX, y - halfY, x + halfX, y + halfY);
        MainMap->Draw(size.width(), size.height(), 4, ddScreen);
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::NTransformClick()
{
    try {
        TransformDialog();
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::NChangeSemClick()
{
    try {
        ChangeSemDlg();
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
    DrawScreen(*this, 2);
}

void TFormMap::N74Click()
{
    if (!MainMap)
        return;
    try {
        MainMap->ApplySynonyms();
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
    DrawScreen(*this, 3);
}

void TFormMap::N79Click()
{
    if (!MainMap)
        return;
    int first = 0;
    int last = 0;
    Extended increment = 0;
    QString code = QStringLiteral("ОТА");
    if (ChangeHinSemDlg(first, last, increment, code) != mrOk)
        return;
    try {
        // The increment as entered: two decimals would turn 0.125 m into 0.13 m.
        MainMap->DoCommand(mcChangeHinSem, TCommandParams()
                                               .Text(code)
                                               .Int(first)
                                               .Int(last)
                                               .Fixed(increment, ReadBackDecimals(increment)));
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
        return;
    }
    DrawScreen(*this, 2);
}

void TFormMap::N41Click()
{
    try {
        DelObjectsDlg();
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
    DrawScreen(*this, 2);
}
