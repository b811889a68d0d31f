#include "foundation/GeoDataObjectsCoords.h"
#include "foundation/GeoDataObjectsFound.h"
#include "foundation/GeoDataObjectsRefs.h"

#include <gtest/gtest.h>

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
