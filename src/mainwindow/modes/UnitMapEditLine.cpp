// Line editing on the plan: a node, the whole line or a caption placement of the chosen
// found line changed by a drag or a pop-up item. Every operation reads the line, changes
// a copy and writes the whole line back as one command, even when nothing changed; the
// nodes carry their origins so the points attached to a node stay with it.
#include "mainwindow/UnitMap.h"

#include "dialogs/objects/ObjectValues.h"
#include "dialogs/objects/UnitLineProp.h"
#include "engine/GeoMap.h"
#include "foundation/GeoServ.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/modes/ChosenObject.h"
#include "mainwindow/modes/EditGeometry.h"
#include "mainwindow/modes/EditMenus.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <numeric>

namespace {

// A node as this editor makes it: automatic attributes, no attached points.
RGLineNodeData NewNode(const TGeoPoint& at, const RGLineNodeData& from)
{
    RGLineNodeData n;
    n.Position = at;
    n.Curve = from.Curve;
    n.InvertText = from.InvertText;
    return n;
}

// The placements extended to count entries with the neutral values.
void ExtendPlacements(ArrUserTexts& texts, size_t count)
{
    if (texts.size() < count)
        texts.resize(count, RUserText{});
}

// Whether node k of the stored line has points attached to it.
bool NodeHasPoints(int page, int layer, int index, int k)
{
    const RGPage* p = MainMap->Pages.At(page);
    const RGLayer* l = p ? p->Layers.At(layer) : nullptr;
    const RGLine* line = l ? l->Lines.At(index) : nullptr;
    const RGLineNode* node = line ? line->Nodes.At(k) : nullptr;
    return node && node->NodePoints.GetCount() > 0;
}

}  // namespace

void TFormMap::EditLineObject(TLineEditOp op)
{
    const RFindedObject* object = ChosenFound(*this);
    if (!object || object->Kind != fkLine)
        return;
    const int page = object->PageIndex, layer = object->LayerIndex, index = object->ObjectIndex;
    RLineValues v;
    if (!ReadLine(*MainMap, page, layer, index, v))
        return;
    std::vector<int>& origin = v.NodeOrigins;
    origin.resize(v.Nodes.size());
    std::iota(origin.begin(), origin.end(), 0);
    const QString before = SetLineParams(page, layer, index, v);
    const int n = int(v.Nodes.size());
    const bool snapped = MainMap->LinkToNodes && Snapped;
    const bool shift = (MoveShift & 1) != 0;
    const TGeoPoint freeMove{Points.Move.Plan.X - Points.Down.Plan.X,
                             Points.Move.Plan.Y - Points.Down.Plan.Y};
    const auto insertAfter = [&](int s, const TGeoPoint& at) {
        v.Nodes.insert(v.Nodes.begin() + s + 1, NewNode(at, v.Nodes[s]));
        origin.insert(origin.begin() + s + 1, -1);
    };
    bool issue = SelectedPart == 1 || SelectedPart == 3 || SelectedPart == 4;
    std::unique_ptr<RLineValues> cutPart;

    if (SelectedPart == 1 && SelectedIndex >= 0 && SelectedIndex < n) {
        const int i = SelectedIndex;
        RGLineNodeData& node = v.Nodes[i];
        switch (op) {
        case leApplyDrag: {
            TGeoPoint d = snapped ? TGeoPoint{SnapPoint.X - node.Position.X, SnapPoint.Y - node.Position.Y}
                                  : freeMove;
            d = ShiftRule(d, shift);
            node.Position.X += d.X;
            node.Position.Y += d.Y;
            break;
        }
        case leNodeProperties:
            LineNodePropDlg(v.Precision, node.Position.X, node.Position.Y, node.NodeType, node.SignShift,
                            node.SegmentType, node.TextCounter, node.InvertText);
            break;
        case leDeleteNode:
            if (n <= 2) {
                if (ShowQDialog(QStringLiteral("Удаление линейного объекта"),
                                QStringLiteral("В выбранном объекте останется менее 2 узлов; удалить объект?")) ==
                    mrYes) {
                    MainMap->DoCommand(mcDelLine, TCommandParams().Int(page).Int(layer).Int(index).Str());
                    const QSize size = DisplaySurf->size();
                    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
                    SelectAtClick();
                    return;
                }
            } else {
                v.Nodes.erase(v.Nodes.begin() + i);
                origin.erase(origin.begin() + i);
            }
            break;
        case leAddEndNode: {
            const TGeoPoint q = snapped ? SnapPoint : Points.Down.Plan;
            if (i == 0) {
                v.Nodes.insert(v.Nodes.begin(), NewNode(q, v.Nodes.front()));
                origin.insert(origin.begin(), -1);
            } else {
                RGLineNodeData added = NewNode(q, v.Nodes.back());
                added.InvertText = 0;
                v.Nodes.push_back(added);
                origin.push_back(-1);
            }
            RestoreMouseMode();
            break;
        }
        default:
            break;
        }
    } else if (SelectedPart == 3 && n >= 1) {
        const int s = std::clamp(SelectedIndex, 0, std::max(0, n - 2));
        const bool segment = n >= 2;
        switch (op) {
        case leApplyDrag: {
            TGeoPoint d = freeMove;
            if (snapped) {
                // The node nearest to the snap point lands on it (the earlier on a tie).
                int nearest = 0;
                Extended best = -1;
                for (int k = 0; k < n; ++k) {
                    const Extended dist = std::hypot(v.Nodes[k].Position.X - SnapPoint.X,
                                                     v.Nodes[k].Position.Y - SnapPoint.Y);
                    if (best < 0 || dist < best) {
                        best = dist;
                        nearest = k;
                    }
                }
                d = {SnapPoint.X - v.Nodes[nearest].Position.X, SnapPoint.Y - v.Nodes[nearest].Position.Y};
            }
            d = ShiftRule(d, shift);
            for (RGLineNodeData& node : v.Nodes) {
                node.Position.X += d.X;
                node.Position.Y += d.Y;
            }
            break;
        }
        case leAddNodeAtMiddle:
            if (segment) {
                const TGeoPoint a = v.Nodes[s].Position, b = v.Nodes[s + 1].Position;
                insertAfter(s, TGeoPoint{(a.X + b.X) / 2, (a.Y + b.Y) / 2});
            }
            break;
        case leAddNodeOnSegment:
            if (segment)
                insertAfter(s, PerpendicularFoot(Points.Down.Plan, v.Nodes[s].Position, v.Nodes[s + 1].Position));
            break;
        case leInvert:
            std::reverse(v.Nodes.begin(), v.Nodes.end());
            std::reverse(origin.begin(), origin.end());
            break;
        case leClose:
            // The copy of the first node keeps its attributes, not its attached points.
            v.Nodes.push_back(v.Nodes.front());
            origin.push_back(-1);
            break;
        case leCut: {
            if (!segment)
                break;
            // The nodes going to the new line would leave their attached points behind.
            for (int k = s + 1; k < n; ++k)
                if (NodeHasPoints(page, layer, index, k)) {
                    ShowMsgDialog(QStringLiteral("Разрезать линию"),
                                  QStringLiteral("К узлам отрезаемой части привязаны точки"));
                    issue = false;
                    break;
                }
            if (!issue)
                break;
            insertAfter(s, PerpendicularFoot(Points.Down.Plan, v.Nodes[s].Position, v.Nodes[s + 1].Position));
            cutPart = std::make_unique<RLineValues>(v);
            cutPart->UserTexts.clear();
            cutPart->NodeOrigins.clear();
            cutPart->Nodes.erase(cutPart->Nodes.begin(), cutPart->Nodes.begin() + s + 1);
            v.UserTexts.clear();
            v.Nodes.resize(s + 2);
            origin.resize(s + 2);
            break;
        }
        case leSetLength:
        case leSetAngle:
            if (n == 2) {
                Extended length = 0;
                TGeoAngle angle = 0;
                const TGeoPoint a = v.Nodes[0].Position, b = v.Nodes[1].Position;
                OGZ(a.X, a.Y, b.X, b.Y, length, angle);
                const bool ok = op == leSetLength
                                    ? InpFltDialog(length, QStringLiteral("Изменить длину линии"),
                                                   QStringLiteral("введите значение длины линии, угол линии будет сохранен")) == mrOk
                                    : InpAngleDialog(angle, QStringLiteral("Изменить угол линии")) == mrOk;
                if (ok)
                    v.Nodes[1].Position = PGZ(a, length, angle);
            }
            break;
        case leAllCurved:
        case leAllStraight:
            for (RGLineNodeData& node : v.Nodes)
                node.Curve = op == leAllCurved ? 1 : 0;
            break;
        default:
            break;
        }
    } else if (SelectedPart == 4) {
        const int k = SelectedContour - 1;
        const int g = SelectedIndex;
        switch (op) {
        case leApplyDrag: {
            const TGeoPoint d = ShiftRule(freeMove, shift);
            if (d.X == 0 && d.Y == 0)
                break;   // no placement is added for a caption that did not move
            if (MoveShift & 4) {
                if (k >= 0) {
                    ExtendPlacements(v.UserTexts, size_t(k) + 1);
                    v.UserTexts[k].Dx += d.X;
                    v.UserTexts[k].Dy += d.Y;
                }
                break;
            }
            // The whole station: every caption region of the same group moves.
            int first = -1, count = 0;
            for (int r = 0; r < object->Regions.GetCount(); ++r) {
                const RFindedObjRegion* region = object->Regions.At(r);
                if (region->IsCaption == 1 && region->Number == g) {
                    if (first < 0)
                        first = r - 1;
                    ++count;
                }
            }
            if (first >= 0) {
                ExtendPlacements(v.UserTexts, size_t(first + count));
                for (int j = first; j < first + count; ++j) {
                    v.UserTexts[j].Dx += d.X;
                    v.UserTexts[j].Dy += d.Y;
                }
            }
            break;
        }
        case leCaptionDefault:
            if (k >= 0 && int(v.UserTexts.size()) >= k + 1)
                v.UserTexts[k].Show = 0;
            break;
        case leCaptionShow:
        case leCaptionHide:
            if (k >= 0) {
                ExtendPlacements(v.UserTexts, size_t(k) + 1);
                v.UserTexts[k].Show = op == leCaptionShow ? 1 : 2;
            }
            break;
        default:
            break;
        }
    }

    // A drag that ends where it began, to the line's precision, changes nothing.
    if (issue && op == leApplyDrag && !cutPart && SetLineParams(page, layer, index, v) == before)
        issue = false;
    if (issue) {
        MainMap->DoCommand(mcSetLineProp, SetLineParams(page, layer, index, v));
        if (cutPart) {
            MainMap->DoCommand(mcNewLine, NewLineParams(page, layer, *cutPart));
            MainMap->EditedPage = page;
            MainMap->EditedLayer = layer;
            MainMap->EditedKind = 1;
            MainMap->EditedObject = -1;
            const QSize size = DisplaySurf->size();
            MainMap->Draw(size.width(), size.height(), 7, ddScreen);
        }
    }
    MainMap->EditedPage = page;
    MainMap->EditedLayer = layer;
    MainMap->EditedKind = 1;
    MainMap->EditedObject = index;
    const QSize size = DisplaySurf->size();
    MainMap->Draw(size.width(), size.height(), 7, ddScreen);
    RefindSelected();
}

void TFormMap::AddEndNodeUp()
{
    EditLineObject(leAddEndNode);
}

void TFormMap::PMLineNodePopup()
{
    QAction* add = FindMenuItem(PMLineNode, "Добавить узел");
    QAction* merge = FindMenuItem(PMLineNode, "Объединить");
    const RFindedObject* object = ChosenFound(*this);
    RLineValues v;
    const bool end = object && ReadLine(*MainMap, object->PageIndex, object->LayerIndex, object->ObjectIndex, v) &&
                     (SelectedIndex == 0 || SelectedIndex == int(v.Nodes.size()) - 1);
    for (QAction* a : {add, merge})
        if (a)
            a->setEnabled(end);
}

void TFormMap::PMLineTextPopup()
{
    const RFindedObject* object = ChosenFound(*this);
    RLineValues v;
    int show = 0;
    const int k = SelectedContour - 1;
    if (object && ReadLine(*MainMap, object->PageIndex, object->LayerIndex, object->ObjectIndex, v) && k >= 0 &&
        k < int(v.UserTexts.size()))
        show = v.UserTexts[k].Show;
    const char* mark = show == 1 ? "Показать автотекст" : show == 2 ? "Скрыть автотекст" : "По умолчанию";
    if (QAction* a = FindMenuItem(PMLineText, mark))
        a->setChecked(true);
}

namespace {

// The picked end node's position; false for a node in the middle.
bool PickedEnd(TFormMap& form, TGeoPoint& at)
{
    const RFindedObject* object = ChosenFound(form);
    RLineValues v;
    if (!object || object->Kind != fkLine ||
        !ReadLine(*MainMap, object->PageIndex, object->LayerIndex, object->ObjectIndex, v) || v.Nodes.empty())
        return false;
    const int i = form.SelectedIndex;
    if (i != 0 && i != int(v.Nodes.size()) - 1)
        return false;
    at = v.Nodes[i].Position;
    return true;
}

}  // namespace

void TFormMap::NLineNodeAddClick()
{
    TGeoPoint at;
    if (!PickedEnd(*this, at))
        return;
    SetMouseMode(mmAddLineNode, 0, false);
    LineEndAnchor = at;
}

void TFormMap::NLineMClick()
{
    TGeoPoint at;
    if (!PickedEnd(*this, at))
        return;
    SetMouseMode(mmMergeLines, 0, false);
    LineEndAnchor = at;
}

void TFormMap::ConnectLineEditCommands()
{
    const auto bind = [this](QMenu* menu, const char* caption, TLineEditOp op) {
        if (QAction* a = FindMenuItem(menu, caption))
            connect(a, &QAction::triggered, this, [this, op] { EditLineObject(op); });
    };
    bind(PMLineNode, "Свойства узла", leNodeProperties);
    bind(PMLineNode, "Удалить узел", leDeleteNode);
    bind(PMLine, "В середине сегмента", leAddNodeAtMiddle);
    bind(PMLine, "В линию сегмента", leAddNodeOnSegment);
    bind(PMLine, "Инвертировать линию", leInvert);
    bind(PMLine, "Замкнуть линию", leClose);
    bind(PMLine, "Разрезать линию", leCut);
    bind(PMLine, "Изменить длину линии", leSetLength);
    bind(PMLine, "Изменить угол линии", leSetAngle);
    bind(PMLine, "Установить кривую для всех сегментов", leAllCurved);
    bind(PMLine, "Установить ломаную прямую для всех сегментов", leAllStraight);
    bind(PMLineText, "По умолчанию", leCaptionDefault);
    bind(PMLineText, "Показать автотекст", leCaptionShow);
    bind(PMLineText, "Скрыть автотекст", leCaptionHide);
    if (QAction* a = FindMenuItem(PMLineNode, "Добавить узел"))
        connect(a, &QAction::triggered, this, [this] { NLineNodeAddClick(); });
    if (QAction* a = FindMenuItem(PMLineNode, "Объединить"))
        connect(a, &QAction::triggered, this, [this] { NLineMClick(); });
}
