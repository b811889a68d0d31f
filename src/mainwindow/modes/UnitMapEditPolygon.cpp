// Polygon editing on the plan: a node of any contour, a segment of the outer contour, the
// whole polygon or a caption placement of the chosen found polygon changed by a drag or a
// pop-up item. As with lines, the polygon is read, a copy changed and the whole polygon
// written back as one command (also unchanged); the nodes keep their curve flags.
#include "mainwindow/UnitMap.h"

#include "dialogs/objects/ObjectValues.h"
#include "dialogs/objects/UnitIntrPolygonProp.h"
#include "dialogs/objects/UnitPolygonProp.h"
#include "engine/GeoMap.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/modes/ChosenObject.h"
#include "mainwindow/modes/EditGeometry.h"
#include "mainwindow/modes/EditMenus.h"

#include <algorithm>
#include <cmath>

namespace {

// The style a segment of type shows with when visible; other types keep style.
std::uint8_t VisibleStyle(std::uint8_t type, std::uint8_t style)
{
    switch (type) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 0;
    default: return style;
    }
}

}  // namespace

void TFormMap::EditPolygonObject(TPolygonEditOp op)
{
    const RFindedObject* object = ChosenFound(*this);
    if (!object || object->Kind != fkPolygon)
        return;
    const int page = object->PageIndex, layer = object->LayerIndex, index = object->ObjectIndex;
    RPolygonValues v;
    if (!ReadPolygon(*MainMap, page, layer, index, v))
        return;
    const QString before = SetPolygonParams(page, layer, index, v);
    ArrPolygonNodes& outer = v.Nodes;
    const int n = int(outer.size());
    const int holes = int(v.Holes.size());
    const bool snapped = MainMap->LinkToNodes && Snapped;
    const bool shift = (MoveShift & 1) != 0;
    const TGeoPoint freeMove{Points.Move.Plan.X - Points.Down.Plan.X,
                             Points.Move.Plan.Y - Points.Down.Plan.Y};
    const QSize size = DisplaySurf->size();

    if (SelectedPart == 1) {
        // The contour picked: 0 the outer one, k the inner contour k - 1.
        const int c = SelectedContour;
        ArrPolygonNodes* contour = c == 0 ? &outer : c >= 1 && c <= holes ? &v.Holes[c - 1] : nullptr;
        const int i = SelectedIndex;
        if (contour && i >= 0 && i < int(contour->size())) {
            RGPolygonNode& node = (*contour)[i];
            switch (op) {
            case peApplyDrag: {
                TGeoPoint d = snapped ? TGeoPoint{SnapPoint.X - node.Position.X, SnapPoint.Y - node.Position.Y}
                                      : freeMove;
                d = ShiftRule(d, shift);
                node.Position.X += d.X;
                node.Position.Y += d.Y;
                break;
            }
            case peNodeProperties:
                if (c == 0)
                    PolygonNodePropDlg(v.Precision, node.Position.X, node.Position.Y, node.SignShift,
                                       node.SegmentType, node.SegmentStyle, node.CornerLine, node.CornerPicture);
                else
                    IntrPolygonNodePropDlg(v.Precision, node.Position.X, node.Position.Y, node.SignShift,
                                           node.SegmentStyle, node.CornerPicture);
                break;
            case peDeleteNode:
                if (contour->size() <= 3) {
                    if (c == 0) {
                        if (ShowQDialog(QStringLiteral("Удаление площадного объекта"),
                                        QStringLiteral("В выбранном объекте останется менее 3 узлов; удалить объект?")) ==
                            mrYes) {
                            MainMap->DoCommand(mcDelPolygon, TCommandParams().Int(page).Int(layer).Int(index).Str());
                            MainMap->Draw(size.width(), size.height(), 3, ddScreen);
                            SelectAtClick();
                            return;
                        }
                    } else if (ShowQDialog(QStringLiteral("Удаление площадного объекта"),
                                           QStringLiteral("В выбранном контуре останется менее 3 узлов; удалить контур?")) ==
                               mrYes) {
                        v.Holes.erase(v.Holes.begin() + (c - 1));
                    }
                } else {
                    contour->erase(contour->begin() + i);
                }
                break;
            case peNodeLineShow:
            case peNodeLineHide:
                // An inner node has no corner line.
                if (c == 0)
                    node.CornerLine = op == peNodeLineShow ? 0 : 1;
                break;
            case peNodePictureShow:
            case peNodePictureHide:
                node.CornerPicture = op == peNodePictureShow ? 0 : 1;
                break;
            default:
                break;
            }
        }
    } else if (SelectedPart == 2 && SelectedIndex >= 0 && SelectedIndex < n) {
        const int s = SelectedIndex;
        RGPolygonNode& node = outer[s];
        const auto insertAfter = [&](const TGeoPoint& at) {
            RGPolygonNode added = outer[s];
            added.Position = at;
            added.SignShift = -1;
            outer.insert(outer.begin() + s + 1, added);
        };
        const TGeoPoint a = node.Position, b = outer[(s + 1) % n].Position;
        switch (op) {
        case peSegmentMain:
            node.SegmentType = 0;
            node.SegmentStyle = 0;
            break;
        case peSegmentSpecial1:
            node.SegmentType = 1;
            node.SegmentStyle = 1;
            break;
        case peSegmentSpecial2:
            node.SegmentType = 2;
            node.SegmentStyle = 0;
            break;
        case peSegmentVisible:
            node.SegmentStyle = VisibleStyle(node.SegmentType, node.SegmentStyle);
            break;
        case peSegmentHidden:
            node.SegmentStyle = 2;
            break;
        case peAddNodeAtMiddle:
            insertAfter(TGeoPoint{(a.X + b.X) / 2, (a.Y + b.Y) / 2});
            break;
        case peAddNodeOnSegment:
            insertAfter(PerpendicularFoot(Points.Down.Plan, a, b));
            break;
        default:
            break;
        }
    } else if (SelectedPart == 3 && n >= 1) {
        switch (op) {
        case peApplyDrag: {
            TGeoPoint d = freeMove;
            if (snapped) {
                int nearest = 0;
                Extended best = -1;
                for (int k = 0; k < n; ++k) {
                    const Extended dist =
                        std::hypot(outer[k].Position.X - SnapPoint.X, outer[k].Position.Y - SnapPoint.Y);
                    if (best < 0 || dist < best) {
                        best = dist;
                        nearest = k;
                    }
                }
                d = {SnapPoint.X - outer[nearest].Position.X, SnapPoint.Y - outer[nearest].Position.Y};
            }
            d = ShiftRule(d, shift);
            const auto move = [&](ArrPolygonNodes& contour) {
                for (RGPolygonNode& node : contour) {
                    node.Position.X += d.X;
                    node.Position.Y += d.Y;
                }
            };
            move(outer);
            for (ArrPolygonNodes& hole : v.Holes)
                move(hole);
            break;
        }
        case peInvert:
            std::reverse(outer.begin(), outer.end());
            break;
        case peSegmentsDefault:
            for (RGPolygonNode& node : outer)
                node.SegmentType = node.SegmentStyle = 0;
            break;
        case peShowAllSegments:
            for (RGPolygonNode& node : outer)
                node.SegmentStyle = VisibleStyle(node.SegmentType, node.SegmentStyle);
            break;
        case peHideAllSegments:
            for (RGPolygonNode& node : outer)
                node.SegmentStyle = 2;
            break;
        default:
            break;
        }
    } else if (SelectedPart == 4) {
        // The regions of the inner contours come before the captions' and are no
        // placements.
        const int k = SelectedContour - 1 - holes;
        const int g = SelectedIndex;
        const auto extend = [&](int count) {
            if (int(v.UserTexts.size()) < count)
                v.UserTexts.resize(size_t(count), RUserText{});
        };
        switch (op) {
        case peApplyDrag: {
            const TGeoPoint d = ShiftRule(freeMove, shift);
            if (d.X == 0 && d.Y == 0)
                break;   // no placement is added for a caption that did not move
            int first = -1, count = 0;
            if (MoveShift & 4) {
                first = k;
                count = k >= 0 ? 1 : 0;
            } else {
                for (int r = 0; r < object->Regions.GetCount(); ++r) {
                    const RFindedObjRegion* region = object->Regions.At(r);
                    if (region->IsCaption == 1 && region->Number == g) {
                        if (first < 0)
                            first = r - 1 - holes;
                        ++count;
                    }
                }
            }
            if (first >= 0) {
                extend(first + count);
                for (int j = first; j < first + count; ++j) {
                    v.UserTexts[j].Dx += d.X;
                    v.UserTexts[j].Dy += d.Y;
                }
            }
            break;
        }
        case peCaptionShow:
        case peCaptionHide:
        case peCaptionDefault:
            if (k >= 0) {
                extend(k + 1);
                v.UserTexts[k].Show = op == peCaptionShow ? 1 : op == peCaptionHide ? 2 : 0;
            }
            break;
        default:
            break;
        }
    }

    // A drag that ends where it began, to the polygon's precision, changes nothing.
    const QString after = SetPolygonParams(page, layer, index, v);
    if (op != peApplyDrag || after != before)
        MainMap->DoCommand(mcSetPolygonProp, after);
    MainMap->EditedPage = page;
    MainMap->EditedLayer = layer;
    MainMap->EditedKind = 2;
    MainMap->EditedObject = index;
    MainMap->Draw(size.width(), size.height(), 7, ddScreen);
    RefindSelected();
}

void TFormMap::PMPolygonSegmPopup()
{
    const RFindedObject* object = ChosenFound(*this);
    RPolygonValues v;
    if (!object || !ReadPolygon(*MainMap, object->PageIndex, object->LayerIndex, object->ObjectIndex, v) ||
        SelectedIndex < 0 || SelectedIndex >= int(v.Nodes.size()))
        return;
    const RGPolygonNode& node = v.Nodes[SelectedIndex];
    static const char* const types[] = {"Основной сегмент", "Специальный сегмент тип I", "Специальный сегмент тип II"};
    if (node.SegmentType <= 2)
        if (QAction* a = FindMenuItem(PMPolygonSegm, types[node.SegmentType]))
            a->setChecked(true);
    const char* style = node.SegmentStyle <= 1 ? "Видимый сегмент" : node.SegmentStyle == 2 ? "Скытый сегмент" : nullptr;
    if (QAction* a = style ? FindMenuItem(PMPolygonSegm, style) : nullptr)
        a->setChecked(true);
}

void TFormMap::PMPolygonNodePopup()
{
    const RFindedObject* object = ChosenFound(*this);
    RPolygonValues v;
    if (!object || !ReadPolygon(*MainMap, object->PageIndex, object->LayerIndex, object->ObjectIndex, v))
        return;
    const int c = SelectedContour;
    const ArrPolygonNodes* contour =
        c == 0 ? &v.Nodes : c >= 1 && c <= int(v.Holes.size()) ? &v.Holes[c - 1] : nullptr;
    if (!contour || SelectedIndex < 0 || SelectedIndex >= int(contour->size()))
        return;
    const RGPolygonNode& node = (*contour)[SelectedIndex];
    if (node.CornerLine <= 1)
        if (QAction* a = FindMenuItem(PMPolygonNode, node.CornerLine == 0 ? "Линию к узлу показать" : "Линию к узлу скрыть"))
            a->setChecked(true);
    if (node.CornerPicture <= 1)
        if (QAction* a =
                FindMenuItem(PMPolygonNode, node.CornerPicture == 0 ? "Рисунок в узле показать" : "Рисунок в узле скрыть"))
            a->setChecked(true);
}

void TFormMap::ConnectPolygonEditCommands()
{
    const auto bind = [this](QMenu* menu, const char* caption, TPolygonEditOp op) {
        if (QAction* a = FindMenuItem(menu, caption))
            connect(a, &QAction::triggered, this, [this, op] { EditPolygonObject(op); });
    };
    bind(PMPolygon, "Инвертировать полигон", peInvert);
    bind(PMPolygon, "Установить свойства сегментов по умолчанию", peSegmentsDefault);
    bind(PMPolygon, "Показать все сегмены", peShowAllSegments);
    bind(PMPolygon, "Скрыть все сегменты", peHideAllSegments);
    bind(PMPolygonSegm, "Основной сегмент", peSegmentMain);
    bind(PMPolygonSegm, "Специальный сегмент тип I", peSegmentSpecial1);
    bind(PMPolygonSegm, "Специальный сегмент тип II", peSegmentSpecial2);
    bind(PMPolygonSegm, "Видимый сегмент", peSegmentVisible);
    bind(PMPolygonSegm, "Скытый сегмент", peSegmentHidden);
    bind(PMPolygonSegm, "В линию сегмента", peAddNodeOnSegment);
    bind(PMPolygonSegm, "В середине сегмента", peAddNodeAtMiddle);
    bind(PMPolygonNode, "Свойства узла", peNodeProperties);
    bind(PMPolygonNode, "Удалить узел", peDeleteNode);
    bind(PMPolygonNode, "Линию к узлу показать", peNodeLineShow);
    bind(PMPolygonNode, "Линию к узлу скрыть", peNodeLineHide);
    bind(PMPolygonNode, "Рисунок в узле показать", peNodePictureShow);
    bind(PMPolygonNode, "Рисунок в узле скрыть", peNodePictureHide);
    bind(PMPolygonText, "Показать автотекст", peCaptionShow);
    bind(PMPolygonText, "Скрыть автотекст", peCaptionHide);
    bind(PMPolygonText, "автотекст по умолчанию", peCaptionDefault);
}
