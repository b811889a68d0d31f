// Node capture of the line and polygon creation (modes 9 and 10), left button down.
// Steps: 0 no node yet; 1 nodes are being added, the band follows the mouse.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"

void TFormMap::CaptureCreateNode()
{
    const bool polygon = MouseMode == mmCreatePolygon;
    if (MouseStep == 0)
        MouseStep = 1;
    RCreateNode node;
    if (polygon) {
        node.SegmentType = PolygonSegmentType;
        node.SegmentStyle = PolygonSegmentStyle;
        node.NodeLine = PolygonNodeLine;
        node.NodePicture = PolygonNodePicture;
    }
    const bool snapped = MainMap->LinkToNodes && Snapped;
    node.Point = snapped ? SnapPoint : Points.Down.Plan;   // a snapped node lies exactly on its target
    CreateNodes.push_back(node);
    if (!polygon && snapped)
        PaintBitmap();   // the line is drawn again, with its new node, by the resume
    // The nodes under construction can be snapped to.
    auto record = std::make_unique<RFAPoint>();
    record->PlanPoint = node.Point;
    MainMap->GeoToScr(DisplaySurf->height(), node.Point.X, node.Point.Y, record->ScreenX,
                      record->ScreenY);
    record->ObjectKind = polygon ? 2 : 1;
    MainMap->ScreenNodes.AddItem(std::move(record));
    if (polygon) {
        // The whole window afresh: the picture copied again and the polygon redrawn on it.
        DisplaySurfPaint();
        update();
    }
}
