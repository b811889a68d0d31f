// Raster underlays from the main window: raster sheets saved and opened by their
// nomenclature, rasters opened and georeferenced by two points or inserted at a click,
// all rasters loaded or unloaded, and the raster pop-up. A picture is read before any
// command is issued, so a missing or broken file is told and leaves the plan as it was.
#include "mainwindow/UnitMap.h"

#include "controls/core/ControlUtils.h"
#include "dialogs/objects/ObjectValues.h"
#include "dialogs/rasters/UnitRasterProp.h"
#include "engine/GeoMap.h"
#include "engine/commands/RasterFilter.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/MapMenuItems.h"
#include "mainwindow/file/FileDialogs.h"
#include "mainwindow/modes/ChosenObject.h"
#include "mainwindow/modes/EditMenus.h"
#include "mainwindow/modes/MapViews.h"
#include "mainwindow/modes/RastrSheets.h"
#include "semantics/signs/Symbols.h"

#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

const QString SheetCodeWrong = QStringLiteral("Имя файла должно начинаться с номенклатуры планшета");
const QString NomenclatureUnknown =
    QStringLiteral("Не удалось определить координаты по заданной номенклатуре");

// Starting values of every raster made here: no filter name, neutral colours,
// brightness 200 and the filter off.
QString NewRastrCommand(int page, const QString& path, const TGeoPoint& bl, const TGeoPoint& tr, int visible)
{
    return TCommandParams()
        .Int(page)
        .Text(path)
        .Fixed(bl.X)
        .Fixed(bl.Y)
        .Fixed(tr.X)
        .Fixed(tr.Y)
        .Int(visible)
        .Text(QString())
        .Int(100)
        .Int(100)
        .Int(100)
        .Int(200)
        .Int(0)
        .Str();
}

QString PageRastr(int page, int rastr) { return TCommandParams().Int(page).Int(rastr).Str(); }

// The rectangle of the 1:500 sheet the file names: south X, west Y, north X, east Y.
// False, with the reason told under caption, for a name without a sheet code or a code
// the nomenclature table does not know.
bool SheetRectOfFile(const QString& fileName, const QString& caption, Extended r[4])
{
    const QString nomenclature = RastrSheetNomenclature(fileName);
    if (nomenclature.isEmpty()) {
        ShowMsgDialog(caption, SheetCodeWrong);
        return false;
    }
    r[0] = r[1] = r[2] = r[3] = 0;
    try {
        MainMap->NomenclatureToCoord(nomenclature, r[0], r[1], r[2], r[3]);
    } catch (const Exception& e) {
        ShowMsgDialog(caption, e.Message);
        return false;
    }
    if (r[0] == 0 && r[1] == 0 && r[2] == 0 && r[3] == 0) {
        ShowMsgDialog(caption, NomenclatureUnknown);
        return false;
    }
    return true;
}

// The picture of fileName read once before anything is issued; false, the reader's
// reason told under caption, when it cannot be read.
bool PictureReadable(const QString& fileName, const QString& caption, QSize& size)
{
    try {
        const QImage picture = ReadRastrPicture(fileName);
        size = picture.size();
        return true;
    } catch (const Exception& e) {
        ShowMsgDialog(caption, e.Message);
        return false;
    }
}

bool ChooseRastrFile(const TFormMap& form, const QString& title, QString& fileName)
{
    return OpenFileNameDialog(title, FilterToNameFilters(form.PlanOpenDialogFilter).join(QStringLiteral(";;")),
                              fileName);
}

// Runs one step of a command sequence; a refused command is told under caption.
template <typename F>
bool Guarded(const QString& caption, F&& step)
{
    try {
        step();
        return true;
    } catch (const Exception& e) {
        ShowMsgDialog(caption, e.Message);
        return false;
    }
}

}  // namespace

QString RastrSheetNomenclature(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    if (name.size() < 6)
        return {};
    for (int i : {0, 1, 2, 4, 5})
        if (!name[i].isDigit() || name[i].unicode() > '9')
            return {};
    if (!name[3].isLetter())
        return {};
    QString base = name.left(3);
    if (name[0] == u'0')
        base = name[1] == u'0' ? name.mid(2, 1) : name.mid(1, 2);
    const QString square = name[4] == u'0' ? name.mid(5, 1) : name.mid(4, 2);
    return base + u'-' + name[3] + u'-' + square;
}

bool LinkedRastrCorners(const TGeoPoint& p1, const TGeoPoint& p2, const TGeoPoint& q1,
                        const TGeoPoint& q2, TGeoPoint& bl, TGeoPoint& tr)
{
    if (p2.X == p1.X || p2.Y == p1.Y)
        return false;
    const Extended kx = std::fabs((q2.X - q1.X) / (p2.X - p1.X));
    const Extended ky = std::fabs((q2.Y - q1.Y) / (p2.Y - p1.Y));
    const TGeoPoint newBl = GeoPoint(q1.X - std::fabs(bl.X - p1.X) * kx, q1.Y - std::fabs(bl.Y - p1.Y) * ky);
    const TGeoPoint newTr = GeoPoint(q2.X + std::fabs(tr.X - p2.X) * kx, q2.Y + std::fabs(tr.Y - p2.Y) * ky);
    bl = newBl;
    tr = newTr;
    return true;
}

TGeoPoint InsertedRastrTR(const TGeoPoint& bl, int height, int width, int dpiWidth, int dpiHeight, int scale)
{
    const Extended metresPerMm = scale / 1000.0L;
    const Extended h = metresPerMm * height / (dpiHeight / 25.4L);
    const Extended w = metresPerMm * width / (dpiWidth / 25.4L);
    return GeoPoint(bl.X + h, bl.Y + w);
}

void TFormMap::ConnectRastrCommands()
{
    // "Файл": the raster sheets in their own group before printing.
    QAction* print = nullptr;
    for (QAction* a : NFile->actions())
        if (a->objectName() == QLatin1String("NPrintPlan"))
            print = a;
    AddMapCommand(*this, NFile, print, "Открыть растровый планшет", "NOpenRasterPlanshet", &TFormMap::OpenRPlanClick);
    AddMapCommand(*this, NFile, print, "Сохранить растровый планшет", "NSaveRasterPlanshet", &TFormMap::SaveRPlanClick);
    NFile->insertSeparator(print);
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Открыть растровый планшет")))
        connect(b, &QToolButton::clicked, this, [this] { OpenRPlanClick(); });
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Сохранить растровый планшет")))
        connect(b, &QToolButton::clicked, this, [this] { SaveRPlanClick(); });

    // "План": before its last group, the command window.
    QAction* before = nullptr;
    const QList<QAction*> plan = NPlan->actions();
    for (qsizetype i = plan.size() - 1; i >= 0 && !before; --i)
        if (plan[i]->isSeparator())
            before = plan[i];
    NPlan->insertSeparator(before);
    N63 = AddMapCommand(*this, NPlan, before, "Загрузить растры", "N63", &TFormMap::N63Click);
    N64 = AddMapCommand(*this, NPlan, before, "Выгрузить растры", "N64", &TFormMap::N64Click);
    N64->setEnabled(false);
    NPlan->insertSeparator(before);
    AddMapCommand(*this, NPlan, before, "Открыть и привязать растр", "NLinkRastr", &TFormMap::NLinkRastrClick);
    auto* insert = new QAction(QStringLiteral("Вставить растр по курсору"), NPlan);
    insert->setObjectName(QStringLiteral("N73"));
    NPlan->insertAction(before, insert);
    connect(insert, &QAction::triggered, this, [this] { SetMouseMode(mmInsertRastr, 0, false); });
    connect(NPlan, &QMenu::aboutToShow, this, [this] { NPlanClick(); });

    const auto bind = [this](const char* caption, void (TFormMap::*handler)()) {
        if (QAction* a = FindMenuItem(PMRastr, caption))
            connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    bind("Свойства растра", &TFormMap::NRastrPropClick);
    bind("Загрузить растр", &TFormMap::NRastrLoadClick);
    bind("Выгрузить растр", &TFormMap::NRastrUnloadClick);
    bind("Привязать растр", &TFormMap::NRastrLinkClick);
    bind("Удалить растр", &TFormMap::NRastrDelClick);
}

void TFormMap::NPlanClick()
{
    if (!MainMap)
        return;
    // Asking moves the engine's sheet cursor; the current sheet stays the user's.
    const int page = MainMap->GetCurrentPage();
    const bool has = MainMap->HasRastrs();
    if (page >= 0)
        MainMap->Pages.GoItem(page);
    N63->setEnabled(has);
    N64->setEnabled(has);
}

void TFormMap::N63Click()
{
    if (MainMap)
        Guarded(QStringLiteral("Загрузить растры"), [] { MainMap->LoadAllRastrs(); });
}

void TFormMap::N64Click()
{
    if (MainMap)
        Guarded(QStringLiteral("Выгрузить растры"), [] { MainMap->UnLoadAllRastrs(); });
}

void TFormMap::SaveRPlanClick()
{
    if (!MainMap)
        return;
    const QString caption = QStringLiteral("Сохранить растровый планшет");
    QString code = QStringLiteral("033А01");
    if (InpMaskStrDialog(code, QStringLiteral("Номенклатура планшета"), QString()) != mrOk)
        return;
    QString fileName = code;
    if (!SaveFileNameDialog(caption, QStringLiteral("BMP (*.bmp);;JPEG (*.jpg);;TIFF (*.tif)"), fileName))
        return;
    Extended r[4];
    if (!SheetRectOfFile(fileName, caption, r))
        return;
    Guarded(caption, [&] { MainMap->SaveToRaster(fileName, true, r[0], r[1], r[2], r[3]); });
}

void TFormMap::OpenRPlanClick()
{
    if (!MainMap)
        return;
    const QString caption = QStringLiteral("Открыть растровый планшет");
    QString fileName;
    if (!ChooseRastrFile(*this, caption, fileName))
        return;
    Extended r[4];
    QSize size;
    if (!SheetRectOfFile(fileName, caption, r) || !PictureReadable(fileName, caption, size))
        return;
    const TGeoPoint bl = GeoPoint(r[0], r[1]), tr = GeoPoint(r[2], r[3]);
    Guarded(caption, [&] {
        if (!MainMap->SetPage2(RastrSheetNomenclature(fileName)))
            return;
        const int page = MainMap->GetCurrentPage();
        MainMap->DoCommand(mcNewRastr, NewRastrCommand(page, fileName, bl, tr, 1));
        MainMap->DoCommand(mcLoadRastr, PageRastr(page, MainMap->GetCurrentRastr()));
    });
    AppendMapView(*MainMap, bl, tr);
    RedrawSurface(4);
}

void TFormMap::NLinkRastrClick()
{
    if (!MainMap)
        return;
    const QString caption = QStringLiteral("Открыть и привязать растр");
    QString fileName;
    if (!ChooseRastrFile(*this, caption, fileName))
        return;
    QSize size;
    if (!PictureReadable(fileName, caption, size))
        return;
    const QString pageName = QStringLiteral("растр ") + QFileInfo(fileName).fileName();
    int page = -1;
    if (MainMap->GetPagesCount() > 0) {
        if (ShowQDialog(QStringLiteral("Выбор листа для растра"),
                        QStringLiteral("Создать новый лист с названием \"растр\"+(имя файла) - да; "
                                       "выбрать лист из списка - нет")) == mrYes) {
            page = MainMap->IndexOfPage(pageName);
        } else {
            if (SelectPageDlg(page) != mrOk || page < 0)
                return;
        }
    }
    const QSize surface = SurfaceSize();
    const int w = surface.width(), h = surface.height();
    const bool done = Guarded(caption, [&] {
        TGeoPoint bl, tr;
        MainMap->ScrToGeo(h, 0, h, bl.X, bl.Y);
        MainMap->ScrToGeo(h, w, 0, tr.X, tr.Y);
        if (page < 0) {
            MainMap->DoCommand(mcNewPage, TCommandParams().Text(pageName).Str());
            page = MainMap->GetPagesCount() - 1;
        }
        MainMap->DoCommand(mcNewRastr, NewRastrCommand(page, fileName, bl, tr, 0));
        const int r = MainMap->SelectPageLastRastr(page);
        MainMap->DoCommand(mcLoadRastr, PageRastr(page, r));
        RRastrValues v;
        ReadRastr(*MainMap, page, r, v);
        int ph = MainMap->RastrHeight, pw = MainMap->RastrWidth;
        if (ph == 0 || pw == 0) {
            ph = h;
            pw = w;
        }
        // Laid out at 24 pixels a metre from the surface's lower left corner.
        v.TR = GeoPoint(v.BL.X + ph / 24.0L, v.BL.Y + pw / 24.0L);
        v.Visible = 1;
        MainMap->DoCommand(mcSetRastrProp, SetRastrPropParams(page, r, v));
        AppendMapView(*MainMap, v.BL, v.TR);
        RedrawSurface(4);
        LinkRastr = r;
        LinkPage = page;
    });
    if (done)
        SetMouseMode(mmLinkRastr, 1, false);
}

void TFormMap::LinkRastrByTwoPoints()
{
    RRastrValues v;
    if (!MainMap || !ReadRastr(*MainMap, LinkPage, LinkRastr, v))
        return;
    if (!LinkedRastrCorners(LinkRastrPoint1, LinkRastrPoint2, LinkTargetPoint1, LinkTargetPoint2, v.BL, v.TR))
        return;
    v.Visible = 1;
    Guarded(QStringLiteral("Привязка растра"),
            [&] { MainMap->DoCommand(mcSetRastrProp, SetRastrPropParams(LinkPage, LinkRastr, v)); });
}

void TFormMap::InsertRastrUp()
{
    InsertRastrAtCursor();
    RestoreMouseMode();
}

void TFormMap::InsertRastrAtCursor()
{
    if (!MainMap)
        return;
    const QString caption = QStringLiteral("Вставить растр по курсору");
    int page = -1;
    if (SelectPageDlg(page) != mrOk || page < 0)
        return;
    QString fileName;
    if (!ChooseRastrFile(*this, caption, fileName))
        return;
    const TGeoPoint bl = Points.Up.Plan;
    int dpiWidth = 300, dpiHeight = 300;
    do {
        if (Inp2IntDialog(dpiWidth, dpiHeight, QStringLiteral("Разрешение растра"),
                          QStringLiteral("DPI по ширине"), QStringLiteral("DPI по высоте")) != mrOk)
            return;
    } while (dpiWidth <= 0 || dpiHeight <= 0);
    QSize size;
    if (!PictureReadable(fileName, caption, size))
        return;
    Guarded(caption, [&] {
        MainMap->DoCommand(mcNewRastr,
                           NewRastrCommand(page, fileName, bl, GeoPoint(bl.X + 100, bl.Y + 100), 0));
        const int r = MainMap->SelectPageLastRastr(page);
        MainMap->DoCommand(mcLoadRastr, PageRastr(page, r));
        RRastrValues v;
        ReadRastr(*MainMap, page, r, v);
        int ph = MainMap->RastrHeight, pw = MainMap->RastrWidth;
        if (ph == 0 || pw == 0) {
            ShowMsgDialog(QStringLiteral("Ошибка в определении размера растра"), QString());
            const QSize surface = SurfaceSize();
            ph = surface.height();
            pw = surface.width();
        }
        const int scale = MainMap->Symbols ? MainMap->Symbols->GetScale() : 500;
        v.BL = bl;
        v.TR = InsertedRastrTR(bl, ph, pw, dpiWidth, dpiHeight, scale);
        v.Visible = 1;
        MainMap->DoCommand(mcSetRastrProp, SetRastrPropParams(page, r, v));
    });
    RedrawSurface(3);
}

void TFormMap::NRastrPropClick()
{
    if (const RFindedObject* found = ChosenFound(*this, fkRastr)) {
        RasterPropDlg(found->PageIndex, found->ObjectIndex);
        RedrawSurface(3);
        RefindSelected();
    }
}

void TFormMap::NRastrDelClick()
{
    const RFindedObject* found = ChosenFound(*this, fkRastr);
    if (!found)
        return;
    const QString params = PageRastr(found->PageIndex, found->ObjectIndex);
    Guarded(QStringLiteral("Удалить растр"), [&] { MainMap->DoCommand(mcDelRastr, params); });
    RedrawSurface(3);
    SelectAtClick();
}

void TFormMap::NRastrLoadClick()
{
    if (const RFindedObject* found = ChosenFound(*this, fkRastr)) {
        const QString params = PageRastr(found->PageIndex, found->ObjectIndex);
        Guarded(QStringLiteral("Загрузить растр"), [&] { MainMap->DoCommand(mcLoadRastr, params); });
        RedrawSurface(3);
    }
}

void TFormMap::NRastrUnloadClick()
{
    if (const RFindedObject* found = ChosenFound(*this, fkRastr)) {
        const QString params = PageRastr(found->PageIndex, found->ObjectIndex);
        Guarded(QStringLiteral("Выгрузить растр"), [&] { MainMap->DoCommand(mcUnLoadRastr, params); });
        RedrawSurface(3);
    }
}

void TFormMap::NRastrLinkClick()
{
    const RFindedObject* found = ChosenFound(*this, fkRastr);
    if (!found)
        return;
    LinkPage = found->PageIndex;
    LinkRastr = found->ObjectIndex;
    btClearSelectedClick();
    SetMouseMode(mmLinkRastr, 1, false);
}
