// Plan geometry conventions: X north, Y east, metres. A direction angle (TGeoAngle)
// is in degrees clockwise from north; a screen angle (TWinAngle) in tenths of a degree
// counter-clockwise from screen east. Screen pixels: x right, y down.
#pragma once

#include "platform/Platform.h"

#include <array>
#include <cstdint>
#include <vector>

using TGeoAngle = Extended;
using TWinAngle = std::int32_t;

struct TGeoPoint {
    Extended X = 0;
    Extended Y = 0;
};

inline TGeoPoint GeoPoint(Extended x, Extended y) { return TGeoPoint{x, y}; }

// Four corners of a possibly rotated rectangle; edges 1→2, 2→3, 3→4, 4→1.
using TGeoRect = std::array<TGeoPoint, 4>;

using TArrayFloats = std::vector<Extended>;
using TArrayIntegers = std::vector<std::int32_t>;

// The side on which a measured traverse angle lies.
enum TAngleType : std::uint8_t { atLeft = 0, atRight = 1 };

// How two segments meet (RangeLineIntersect). Callers compare with the numbers too.
enum TIntersectStatus : std::uint8_t {
    isNone = 0,          // the segments do not meet
    isParallel = 1,      // parallel lines, apart
    isCollinear = 2,     // the two lines coincide (the segments may or may not overlap)
    isSame = 3,          // the same two end points, in either order
    isCross = 4,         // a crossing strictly inside both segments
    isEndCross = 5       // a crossing at an end point of either segment
};

// The 23 kinds of extended semantic values, named after their short codes
// (ГШ is GH, as on the classifier window's buttons). Kept as a byte in records.
enum TSemExt : std::uint8_t {
    seM = 0,   // Материал
    seS,       // Состояние
    seGV,      // Высота
    seGR,      // Диаметр
    seGT,      // Толщина
    seGG,      // Глубина
    seGP,      // Площадь
    seGH,      // Ширина
    seGD,      // Длина
    seGS,      // Сечение
    seGO,      // Объем
    seTG,      // Грузоподъемность
    seTS,      // Скорость
    seTR,      // Дебит
    seTP,      // Течение
    seTD,      // Давление
    seTN,      // Напряжение
    seTK,      // Количество
    seID,      // Дата
    seII,      // Имя
    seIV,      // Отметка
    seIT,      // Надпись
    seIN       // Номер
};
inline constexpr int SemExtCount = 23;

// Screen angle (tenths, counter-clockwise from east; any value, taken modulo 3600)
// to a direction angle in degrees, in [0, 360). 900 gives 0, 0 gives 90.
TGeoAngle WinToGeoAngle(TWinAngle wa);

// Direction angle in degrees (any finite value, folded into the circle first) to a
// screen angle in tenths, in [0, 3599]; halves of a tenth go to the even tenth.
// 0 gives 900, 90 gives 0. Throws on an infinite or NaN angle.
TWinAngle GeoToWinAngle(TGeoAngle ga);

// A screen offset (x right, y down) to plan axes: (x, y) becomes (-y, x).
inline void WinToGeoCoord(Extended& x, Extended& y)
{
    const Extended screenX = x;
    x = -y;
    y = screenX;
}
