// The operations of the line and polygon editors of the main window.
#pragma once

#include <cstdint>

enum TLineEditOp : std::uint8_t {
    leApplyDrag = 1,
    leNodeProperties = 2,
    leDeleteNode = 3,
    leAddNodeAtMiddle = 4,
    leAddNodeOnSegment = 5,
    leAddEndNode = 6,
    leInvert = 7,
    leClose = 8,
    leCut = 9,
    leCaptionDefault = 10,
    leCaptionShow = 11,
    leCaptionHide = 12,
    leSetLength = 20,
    leSetAngle = 21,
    leAllCurved = 40,
    leAllStraight = 41,
};

enum TPolygonEditOp : std::uint8_t {
    peApplyDrag = 1,
    peInvert = 7,
    peSegmentsDefault = 20,
    peSegmentMain = 40,
    peSegmentSpecial1 = 41,
    peSegmentSpecial2 = 42,
    peSegmentVisible = 43,
    peSegmentHidden = 44,
    peAddNodeOnSegment = 45,
    peAddNodeAtMiddle = 46,
    peNodeProperties = 50,
    peShowAllSegments = 80,
    peHideAllSegments = 81,
    peDeleteNode = 90,
    peCaptionShow = 120,
    peCaptionHide = 121,
    peCaptionDefault = 122,
    peNodeLineShow = 130,
    peNodeLineHide = 131,
    peNodePictureShow = 132,
    peNodePictureHide = 133,
};
