// Stamps, sheet frames and coordinate labels on the main plan. A stamp or frame is a
// template plan merged in as a sheet of its own, renamed, filled in through its named
// texts and shifted into place; the labels are two texts at a crossing of the grid.
// Mode 17 (the stamp) waits for the drag that places it; mode 25 waits for a crossing
// (left down, modes/UnitMapGridPick.cpp) and makes the labels at the release.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/file/UnitOpenFilter.h"
#include "dialogs/objects/ObjectFields.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/GsCatcher.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/stamps/Stamps.h"

#include <QFileInfo>
#include <QToolButton>

namespace {

const char* const Module = "UnitMap";
const QString DecorLayer = QStringLiteral("Оформление");

// The palette's snap button pressed and its click handler run: snapping on.
void PressLinkButton(TFormMap& form)
{
    if (!form.FormInstr1)
        return;
    form.FormInstr1->btLink->SetDown(true);
    if (form.FormInstr1->btLink->OnClick)
        form.FormInstr1->btLink->OnClick();
}

void DrawScreen(TFormMap& form, int mode)
{
    const QSize size = form.SurfaceSize();
    MainMap->Draw(size.width(), size.height(), mode, ddScreen);
}

// The template of kind ("штамп", "рамка") for the scale; false, the user told, when the
// file is missing.
bool TemplateFile(const QString& kind, int scale, QString& path)
{
    path = ProgramFolderPath(QStringLiteral("Шаблоны/") + kind + QLatin1Char('.') + QString::number(scale));
    if (QFileInfo(path).isFile())
        return true;
    ShowMsgDialog(QStringLiteral("Файл не найден"),
                  QStringLiteral("Не обнаружен файл шаблона (") + kind + QStringLiteral(") ") + path);
    return false;
}

// Merges the template and gives the sheet it brings (named exactly templateSheet) the
// name, hidden; the sheet's index, -1 when the template had no such sheet (the engine
// then says "Страница не найдена!"). Only the merged sheets are looked at: a sheet of
// that name left in the plan before must not take the name in the new one's place.
int MergeTemplate(const QString& path, const QString& templateSheet, const QString& name)
{
    ResetOpenFilter();
    const int before = MainMap->GetPagesCount();
    MainMap->DoCommand(mcAddMap, TCommandParams().Text(path).Text(QStringLiteral("New")));
    int index = -1;
    for (int i = before; i < MainMap->GetPagesCount() && index < 0; ++i)
        if (MainMap->Pages.At(i)->Name == templateSheet)
            index = i;
    MainMap->DoCommand(mcSetPageProp, TCommandParams().Int(index).Text(name).Int(0));
    return index;
}

// The stamp merged as sheet name, measured and waiting for its place (mode 17).
void AddStamp(TFormMap& form, const QString& path, const QString& name)
{
    MergeTemplate(path, QStringLiteral("^штамп"), name);
    TGeoPoint min, max;
    MainMap->MaxMinCoord(name, min, max);
    form.StampSizeY = max.Y - min.Y;
    form.StampSizeX = max.X - min.X;
    form.SetMouseMode(mmSetStamp, 0, false);
    form.StampPageName = name;
}

QString Kilometres(Extended metres)
{
    return FloatToStrF(metres / 1000, ffFixed, 5, 1);
}

void Transform(int page, Extended dX, Extended dY)
{
    MainMap->DoCommand(mcTransform,
                       TCommandParams().Int(page).Fixed(1).Fixed(dX).Fixed(dY).Fixed(0).Fixed(0).Fixed(0));
}

}  // namespace

void TFormMap::sbStampClick()
{
    try {
        SetStamp1(1);
        PressLinkButton(*this);
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::sbRamkaClick()
{
    try {
        SetStamp1(2);
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::sbTextCoordClick()
{
    SetMouseMode(mmCoordLabels, 0, false);
    PressLinkButton(*this);
}

void TFormMap::ConnectStampCommands()
{
    const struct {
        const char* Hint;
        void (TFormMap::*Click)();
    } buttons[] = {{"Штамп", &TFormMap::sbStampClick},
                   {"Рамка планшета", &TFormMap::sbRamkaClick},
                   {"Подписи координат", &TFormMap::sbTextCoordClick}};
    for (const auto& b : buttons)
        if (QToolButton* button = PanelButtons.value(QString::fromUtf8(b.Hint)))
            connect(button, &QToolButton::clicked, this, [this, click = b.Click] { (this->*click)(); });
}

void TFormMap::SetStamp1(std::uint8_t sm)
{
    const int kindArg = sm;
    TTrailGuard guard(Module, "procedure TFormMap.SetStamp1(const sm:byte);", TrailArg("sm", kindArg));
    std::int32_t scale = 0;
    MainMap->GetScale(scale);
    if (scale != 500 && scale != 2000) {
        ShowMsgDialog(QStringLiteral("Ошибка"),
                      QStringLiteral("Программа рассчитана на создание зарамочного оформления для 500 и "
                                     "2000 масштабов"));
        return;
    }
    const bool stamp = sm == 1;
    const QString kind = stamp ? QStringLiteral("штамп") : QStringLiteral("рамка");
    TArrayIntegers indexes;
    QStringList names;
    MainMap->FindPages(QLatin1Char('^') + kind, indexes, names);
    QString path;
    if (names.isEmpty()) {
        if (!TemplateFile(kind, scale, path))
            return;
        if (stamp)
            AddStamp(*this, path, StampSheetName(1));
        else
            BuildSheetFrame(scale, path);
    } else {
        const TModalResult answer = Ask2WayDialog(
            QStringLiteral("Выберете действие"),
            stamp ? QStringLiteral("В текущем файле уже есть штампы; можно изменить существующие либо "
                                   "добавить новый")
                  : QStringLiteral("В текущем файле уже есть рамки; можно изменить существующие либо "
                                   "добавить новую"),
            QStringLiteral("изменить"), QStringLiteral("добавить"));
        if (answer == 100) {
            int chosen = 0;
            bool go = names.size() == 1;
            if (!go) {
                QStringList choice = names;
                int added = 0;
                const TModalResult result = SelStrDialog(
                    choice, chosen, added, stamp ? QStringLiteral("Быбор штампа") : QStringLiteral("Быбор рамки"),
                    stamp ? QStringLiteral("В текущем файле обнаружено несколько штампов; для изменения "
                                           "свойств необходимо выбрать один")
                          : QStringLiteral("В текущем файле обнаружено несколько рамок; для изменения "
                                           "свойств необходимо выбрать одну"));
                // Only a sheet of the list: a typed name is no stamp.
                go = result == mrOk && added == 0 && chosen >= 0 && chosen < names.size();
            }
            if (go) {
                const QString name = names.at(chosen);
                QStringList texts;
                MainMap->GetNamedTexts(name, DecorLayer, texts);
                if (stamp)
                    StampDlg(texts, LastStamp);
                else
                    RamkaDlg(texts);
                MainMap->SetNamedTexts(name, DecorLayer, texts);
            }
        } else if (answer == 101) {
            if (!TemplateFile(kind, scale, path))
                return;
            if (stamp)
                AddStamp(*this, path, StampSheetName(NextStampNumber(names)));
            else
                BuildSheetFrame(scale, path);
        }
    }
    DrawScreen(*this, 3);
}

void TFormMap::BuildSheetFrame(int scale, const QString& path)
{
    TTrailGuard guard(Module, "procedure BuildSheetFrame;", TrailArg("scale", scale), TrailArg("path", path));
    const bool large = scale == 500;
    QString typed;
    const TModalResult answer =
        large ? InpNomStrDialog(typed, QStringLiteral("Номенклатура планшета"), QString())
              : InpNomStr2000Dialog(typed, QStringLiteral("Номенклатура планшета"), QString());
    if (answer != mrOk)
        return;
    const QString nomenclature = NormaliseNomenclature(typed);
    // The sheet's rectangle before anything is merged: a nomenclature the table does not
    // know, or a frame that is already there, must leave no template sheet behind.
    Extended xS = 0, yW = 0, xN = 0, yE = 0;
    const QString unknown = QStringLiteral("Не удалось определить координаты по заданной номенклатуре");
    bool known = false;
    try {
        known = MainMap->NomenclatureToCoord(large ? nomenclature : nomenclature + QStringLiteral("-13"), xS, yW,
                                             xN, yE);
    } catch (const Exception&) {
        known = false;
    }
    if (!known) {
        ShowMsgDialog(QStringLiteral("Ошибка"), unknown + QStringLiteral(": ") + typed);
        return;
    }
    if (!large) {
        xN = xS + 1000;
        yE = yW + 1000;
    }
    const QString name = QStringLiteral("^рамка") + typed;
    int existing = -1;
    MainMap->GetPageIndex(name, existing);
    if (existing >= 0) {
        ShowMsgDialog(QStringLiteral("Ошибка"), QStringLiteral("Лист с именем \"%1\" уже есть").arg(name));
        return;
    }

    const int page = MergeTemplate(path, QStringLiteral("^рамка"), name);
    QStringList texts;
    MainMap->GetNamedTexts(name, DecorLayer, texts);
    texts << QStringLiteral("^номенклатура%") + nomenclature;
    const auto nomAt = [&](Extended x, Extended y) {
        const QString n = MainMap->CoordToNomenclature(x, y);
        return large ? n : TrimNomenclatureTail(n);
    };
    if (large) {
        const auto metres = [](Extended v) { return FloatToStrF(v, ffFixed, 16, 0); };
        texts << QStringLiteral("^xсев%") + metres(xN) << QStringLiteral("^xюг%") + metres(xS)
              << QStringLiteral("^yзап%") + metres(yW) << QStringLiteral("^yвост%") + metres(yE);
        texts << QStringLiteral("^номсев%") + nomAt(xN + 50, yE - 50)
              << QStringLiteral("^номюг%") + nomAt(xS - 50, yW + 50)
              << QStringLiteral("^номзап%") + nomAt(xS + 50, yW - 50)
              << QStringLiteral("^номвост%") + nomAt(xN - 50, yE + 50);
        RamkaDlg(texts);
    } else {
        texts << QStringLiteral("^xсев%") + Kilometres(xS + 1000) << QStringLiteral("^xюг%") + Kilometres(xS)
              << QStringLiteral("^yзап%") + Kilometres(yW) << QStringLiteral("^yвост%") + Kilometres(yW + 1000);
        texts << QStringLiteral("^номсев%") + nomAt(xS + 1050, yE - 50)
              << QStringLiteral("^номюг%") + nomAt(xS - 50, yW + 50)
              << QStringLiteral("^номзап%") + nomAt(xS + 50, yW - 50)
              << QStringLiteral("^номвост%") + nomAt(xN - 50, yE + 50);
        RamkaDlg(texts);
        for (int i = 1; i <= 4; ++i)
            texts << QStringLiteral("^x%1%").arg(i) + Kilometres(xS + 200 * i);
        for (int i = 1; i <= 4; ++i)
            texts << QStringLiteral("^y%1%").arg(i) + Kilometres(yW + 200 * i);
    }
    MainMap->SetNamedTexts(name, DecorLayer, texts);
    Transform(page, xS, yW);
    DrawScreen(*this, 0);
    MainMap->DoCommand(mcSetPageProp, TCommandParams().Int(page).Text(name).Int(1));
}

void TFormMap::PlaceStamp(const QString& pageName)
{
    TTrailGuard guard(Module, "procedure TFormMap.PlaceStamp(pagename:string);", TrailArg("pagename", pageName));
    std::int32_t scale = 0;
    MainMap->GetScale(scale);
    const Extended a = 5 * Extended(scale) / 1000;
    const Extended b = 50 * Extended(scale) / 1000;
    TGeoPoint& upperLeft = Snapped ? StampCorner : Points.Down.Plan;
    TGeoPoint& lowerRight = Snapped ? SnapPoint : Points.Up.Plan;
    InpStampLinkDlg(upperLeft.X, upperLeft.Y, lowerRight.X, lowerRight.Y);
    const TGeoPoint corner1 = upperLeft;
    const TGeoPoint corner2 = lowerRight;
    const std::array<RStampPolygon, 4> polygons =
        StampFramePolygons(corner1.X, corner1.Y, corner2.X, corner2.Y, a, b);

    int page = -1, layer = -1;
    MainMap->GetPageIndex(pageName, page);
    if (page >= 0)
        MainMap->GetLayerIndex(page, DecorLayer, layer);
    if (page >= 0 && layer >= 0) {
        Transform(page, corner2.X, corner2.Y - StampSizeY);
        for (const RStampPolygon& polygon : polygons)
            MainMap->DoCommand(mcNewPolygon, TCommandParams()
                                                 .Int(page)
                                                 .Int(layer)
                                                 .Text(polygon.Semantics)
                                                 .Field(polygon.Nodes)
                                                 .Int(3)
                                                 .Text(QString())
                                                 .Fixed(0)
                                                 .Fixed(0)
                                                 .Text(QString())
                                                 .Int(-1));
        MainMap->DoCommand(mcSetPageProp, TCommandParams().Int(page).Text(pageName).Int(1));
        QStringList texts;
        MainMap->GetNamedTexts(pageName, DecorLayer, texts);
        StampDlg(texts, LastStamp);
        MainMap->SetNamedTexts(pageName, DecorLayer, texts);
        DrawScreen(*this, 0);
    }
    RestoreMouseMode();
}

void TFormMap::StampRelease()
{
    StampUp();
    try {
        PlaceStamp(StampPageName);
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::CreateCoordLabels()
{
    TTrailGuard guard(Module, "procedure TFormMap.CreateCoordLabels;");
    int page = -1, layer = -1;
    // The labels go to the caption layer unless a layer is chosen, as texts do.
    const std::uint8_t autoLayer = DestAutoLayer;
    const QString layerName = DestLayerName;
    if (DestAutoLayer == 1) {
        DestAutoLayer = 0;
        DestLayerName = MainMap->CaptionLayerName;
    }
    const bool placed = ChooseDestination(Points.Up.Plan, 0, QString(), page, layer);
    DestAutoLayer = autoLayer;
    DestLayerName = layerName;
    if (!placed || CoordLabelStyle.isEmpty())
        return;
    const QString style = StyleNameField(CoordLabelStyle);
    for (const RCoordLabel& label : CoordLabels(CoordLabelQuadrant, CoordLabelCross, CoordLabelOffsets))
        MainMap->DoCommand(mcNewText, TCommandParams()
                                          .Int(page)
                                          .Int(layer)
                                          .Text(label.Text)
                                          .Fixed(label.At.X)
                                          .Fixed(label.At.Y)
                                          .Int(label.Angle)
                                          .Fixed(1)
                                          .Text(style)
                                          .Int(0)
                                          .Text(QString())
                                          .Int(0)
                                          .Fixed(0)
                                          .Text(QString()));
    DrawScreen(*this, 3);
    MouseStep = 0;
    PressLinkButton(*this);
}

void TFormMap::CoordLabelsRelease()
{
    // Only a picked crossing has labels to make: a press beside the grid was told so.
    if (MouseStep != 1)
        return;
    try {
        CreateCoordLabels();
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}
