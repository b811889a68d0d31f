#include "foundation/GeoDataObjectsCoords.h"
#include "foundation/GeoDataObjectsFound.h"
#include "foundation/GeoDataObjectsRefs.h"

#include <gtest/gtest.h>

#include <initializer_list>

TEST(DataModelLists, FreshCoordinateRecords)
{
    TGeoPoints points;
    points.AddItem();
    EXPECT_EQ(points.Item->X, 0);
    EXPECT_EQ(points.Item->Y, 0);
    TExtGeoPoints track;
    track.AddItem();
    EXPECT_EQ(track.Item->Point.X, 0);
    EXPECT_EQ(track.Item->NodeIndex, 0);
    RS1Point s;
    EXPECT_EQ(s.DirAngle, 0);
    EXPECT_EQ(s.Flag, 0);
    RASegm a;
    EXPECT_EQ(a.Sector + a.SegmentCount, 0);
    EXPECT_EQ(a.AngleSum + a.LengthSum, 0);
}

TEST(DataModelLists, InsertingAtTheStartShiftsThePoints)
{
    TGeoPoints points;
    for (int i = 1; i <= 3; ++i)
        points.AddPoint(i, 0);
    ASSERT_TRUE(points.InsertItem(0));
    EXPECT_EQ(points.GetIndex(), 0);
    points.Item->X = 9;
    ASSERT_EQ(points.GetCount(), 4);
    const Extended expected[] = {9, 1, 2, 3};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(points.At(i)->X, expected[i]);
}

TEST(DataModelLists, RectangleListLeavesTheRectanglesToTheirOwner)
{
    TGeoRect frames[2]{};
    frames[1][3] = GeoPoint(7, 8);
    {
        TGeoRectList list;
        list.AddItem(&frames[0]);
        list.AddItem(&frames[1]);
        EXPECT_EQ(list.Item, &frames[1]);
        list.GoFirstItem();
        EXPECT_TRUE(list.DeleteItem());
        EXPECT_EQ(list.Item, &frames[1]);
    }   // the list's end frees nothing either
    EXPECT_EQ(frames[1][3].X, 7);
}

TEST(DataModelLists, ContourListItemsOwnTheirPoints)
{
    TListGeoPoints contours;
    contours.AddItem();
    contours.Item->Points.AddPoint(1, 2);
    contours.AddItem();
    contours.Item->Points.AddPoint(3, 4);
    contours.Item->Points.AddPoint(5, 6);
    contours.GoFirstItem();
    EXPECT_TRUE(contours.DeleteItem());   // frees the first point list (AddressSanitizer)
    EXPECT_EQ(contours.Item->Points.GetCount(), 2);
}

TEST(DataModelLists, DirectionClassesMergeOppositeDirections)
{
    TASegms classes;
    classes.AddSegment(44, 1);    // key 4
    classes.AddSegment(46, 2);    // key 5; its opposite 226 has key 23: none, new class
    classes.AddSegment(226, 3);   // key 23: none; its opposite 46 has key 5
    ASSERT_EQ(classes.GetCount(), 2);
    EXPECT_EQ(classes.At(0)->Sector, 4);
    EXPECT_EQ(classes.At(0)->SegmentCount, 1);
    EXPECT_EQ(classes.At(1)->Sector, 5);
    EXPECT_EQ(classes.At(1)->SegmentCount, 2);
    EXPECT_EQ(classes.At(1)->AngleSum, 92);   // counted as 46, the opposite direction
    EXPECT_EQ(classes.At(1)->LengthSum, 5);
    EXPECT_EQ(classes.GetIndex(), 1);
}

TEST(DataModelLists, DirectionClassKeysRoundHalvesToEven)
{
    struct Case { TGeoAngle a; std::int32_t sector; };
    const Case cases[] = {{25, 2}, {35, 4}, {4.9L, 0}, {355, 36}, {360, 36}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.a));
        TASegms classes;
        classes.AddSegment(c.a, 1);
        EXPECT_EQ(classes.Item->Sector, c.sector);
    }
}

TEST(DataModelLists, AnOppositeSegmentCountsWithTheClassDirection)
{
    TASegms classes;
    classes.AddSegment(350, 1);   // key 35
    classes.AddSegment(170, 1);   // key 17; opposite 350 → key 35: merged
    classes.AddSegment(10, 1);    // key 1: new
    ASSERT_EQ(classes.GetCount(), 2);
    EXPECT_EQ(classes.At(0)->SegmentCount, 2);
    EXPECT_EQ(classes.At(0)->AngleSum, 700);
}

TEST(DataModelLists, FreshReferenceRecords)
{
    RMapView v;
    const Extended expected[] = {10, 10, 100, 100, 10, 10};
    const Extended got[] = {v.ViewXMin, v.ViewYMin, v.ViewXMax, v.ViewYMax, v.FactorX,
                            v.FactorY};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(got[i], expected[i]) << i;

    TNomenclatures nomenclatures;
    EXPECT_EQ(nomenclatures.Mode, 2);
    EXPECT_EQ(nomenclatures.Extra, 500);

    TGeoTextStyle style;
    EXPECT_EQ(style.Color, 0);
    EXPECT_EQ(style.Size, 0);
    EXPECT_EQ(style.FontStyle, 0);

    RSemText rule;
    EXPECT_EQ(rule.OwnStyle, nullptr);
    EXPECT_EQ(rule.Mode, 0);
    EXPECT_EQ(rule.Dx + rule.Dy + rule.Step, 0);

    RFindedSemProp prop;
    EXPECT_EQ(prop.RuleIndex, -1);
}

TEST(DataModelLists, CaptionRuleMatchesByKeyAndCode)
{
    struct Case { const char* key; const char* code; const char* propKey; const char* propCode; bool match; };
    const Case cases[] = {
        {"ГВ", "-1", "ГВ", "17", true},       // a negative code takes any code
        {"ГВ", "-1", "ГВ", "00", true},
        {"ГВ", "-1", "ГР", "17", false},      // but only of its key
        {"Ф", "012", "Ф", "012", true},
        {"Ф", "012", "Ф", "013", false},
        {"Ф", "-0", "Ф", "013", false},       // zero is not negative
        {"Ф", "-", "Ф", "013", false},
        {"Ф", "-1a", "Ф", "013", false},
        {"Ф", " -5", "Ф", "013", true},
        {"Ф", "-99999999999", "Ф", "013", false},   // not a 32-bit integer
        {"М", "", "М", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        RSemText rule;
        rule.PropKey = QString::fromUtf8(c.key);
        rule.PropCode = QString::fromUtf8(c.code);
        RFindedSemProp prop;
        prop.Key = QString::fromUtf8(c.propKey);
        prop.Code = QString::fromUtf8(c.propCode);
        EXPECT_EQ(CaptionRuleMatches(rule, prop), c.match);
    }
}

TEST(DataModelLists, DeletingACaptionRuleFreesItsStyle)
{
    TSemTexts rules;
    rules.AddItem();
    rules.Item->OwnStyle = std::make_unique<TUserStyle>();
    rules.Item->OwnStyle->FontName = QStringLiteral("Arial");
    EXPECT_TRUE(rules.DeleteItem());   // AddressSanitizer reports a leaked style
    EXPECT_EQ(rules.GetCount(), 0);
}

TEST(DataModelLists, FreshSearchResult)
{
    TFindedObjects found;
    found.AddItem();
    const RFindedObject& f = *found.Item;
    EXPECT_EQ(f.PageIndex, -1);
    EXPECT_EQ(f.LayerIndex, -1);
    EXPECT_EQ(f.ObjectIndex, -1);
    EXPECT_EQ(f.Kind, fkPoint);
    EXPECT_EQ(f.Tag, -1);
    EXPECT_EQ(f.Regions.GetCount() + f.Track.GetCount(), 0);

    found.Item->Regions.AddItem();
    const RFindedObjRegion& r = *found.Item->Regions.Item;
    EXPECT_EQ(r.IsCaption, 0);
    EXPECT_EQ(r.Number, 0);
    EXPECT_EQ(r.Outline.GetCount(), 0);
}

TEST(DataModelLists, ClearingResultsFreesOutlinesAndTracks)
{
    TFindedObjects found;
    for (int i = 0; i < 3; ++i) {
        found.AddItem();
        found.Item->Track.AddItem();
        for (int j = 0; j < 2; ++j) {
            found.Item->Regions.AddItem();
            found.Item->Regions.Item->Outline.AddPoint(i, j);
        }
    }
    found.DeleteAll();   // AddressSanitizer reports any outline or track left behind
    EXPECT_EQ(found.GetCount(), 0);
}

namespace {

// Walks the chain with one running shift, as the renderer does.
Extended WalkChain(std::initializer_list<TGeoPoint> chain, Extended step, TS1Points& out,
                   Extended shift = 0)
{
    const TGeoPoint* prev = nullptr;
    for (const TGeoPoint& p : chain) {
        if (prev)
            TraceSegment(shift, *prev, p, step, out);
        prev = &p;
    }
    return shift;
}

}  // namespace

TEST(DataModelLists, SegmentWalkCarriesItsShiftIntoTheNextSegment)
{
    // Due north, so every distance is exact: 25 m, then 15 m, then 3 m, step 10.
    TS1Points placed;
    const Extended shift = WalkChain({{0, 0}, {25, 0}, {40, 0}, {43, 0}}, 10, placed);
    const Extended expectedX[] = {0, 10, 20, 30, 40};
    const Extended expectedFrom[] = {0, 0, 0, 25, 40};
    ASSERT_EQ(placed.GetCount(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(placed.At(i)->AtPoint.X, expectedX[i]);
        EXPECT_EQ(placed.At(i)->AtPoint.Y, 0);
        EXPECT_EQ(placed.At(i)->FromPoint.X, expectedFrom[i]);
        EXPECT_EQ(placed.At(i)->DirAngle, 0);
        EXPECT_EQ(placed.At(i)->Flag, 0);
    }
    EXPECT_EQ(shift, 7);   // the next placement lies 7 m into the following segment
}

TEST(DataModelLists, SegmentWalkShiftCases)
{
    struct Case {
        const char* name;
        Extended length, shiftIn, step;
        int placements;
        Extended shiftOut;
    };
    const Case cases[] = {
        {"shorter than the shift", 3, 5, 10, 0, 2},
        {"exactly the shift", 5, 5, 10, 0, 0},
        {"a placement on the end is not made", 20, 0, 10, 2, 0},
        {"zero length", 0, 4, 10, 0, 4},
        {"step 0 lays nothing", 20, 0, 0, 0, 0},
        {"negative step lays nothing", 20, 3, -1, 0, 3},
        // Guards against a bad step freezing the shift: a segment not longer than the
        // shift uses up its length whatever the step.
        {"step 0 on a segment shorter than the shift", 3, 5, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TS1Points placed;
        Extended shift = c.shiftIn;
        TraceSegment(shift, GeoPoint(100, 100), GeoPoint(100 + c.length, 100), c.step, placed);
        EXPECT_EQ(placed.GetCount(), c.placements);
        EXPECT_EQ(shift, c.shiftOut);
    }
}

TEST(DataModelLists, SegmentWalkAlongAnOddDirection)
{
    // 3-4-5 triangle: length 50, direction about 53.13°.
    TS1Points placed;
    TGeoPoints plain;
    Extended shift = 2, plainShift = 2;
    TraceSegment(shift, GeoPoint(0, 0), GeoPoint(30, 40), 15, placed);
    TraceSegment(plainShift, GeoPoint(0, 0), GeoPoint(30, 40), 15, plain);
    ASSERT_EQ(placed.GetCount(), 4);   // at 2, 17, 32, 47
    ASSERT_EQ(plain.GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const Extended d = 2 + 15 * i;
        EXPECT_NEAR(double(placed.At(i)->AtPoint.X), double(d * 0.6L), 1e-12);
        EXPECT_NEAR(double(placed.At(i)->AtPoint.Y), double(d * 0.8L), 1e-12);
        EXPECT_NEAR(double(placed.At(i)->DirAngle), 53.130102354155978, 1e-12);
        EXPECT_EQ(plain.At(i)->X, placed.At(i)->AtPoint.X);
        EXPECT_EQ(plain.At(i)->Y, placed.At(i)->AtPoint.Y);
    }
    EXPECT_NEAR(double(shift), 12, 1e-12);
    EXPECT_EQ(plainShift, shift);
}

// Guards against a walk that never advances: a step lost in the distances would loop
// until memory runs out.
TEST(DataModelLists, SegmentWalkWithAStepTooSmallToAdvanceLaysNothing)
{
    TS1Points placed;
    Extended shift = 0;
    TraceSegment(shift, GeoPoint(0, 0), GeoPoint(1e6L, 0), 1e-30L, placed);
    EXPECT_EQ(placed.GetCount(), 0);
    EXPECT_EQ(shift, 0);
}
