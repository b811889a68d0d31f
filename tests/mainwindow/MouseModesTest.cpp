// The mode table and the one-slot memory, without a window.
#include "mainwindow/modes/MouseModes.h"

#include <gtest/gtest.h>

TEST(MouseModes, StepCaptionsAndCursorsOnlyWhereTheTableGivesThem)
{
    struct Case {
        TMouseMode Mode;
        std::uint8_t Step;
        const char* Caption;   // "" unchanged
        const char* Cursor;    // "" unchanged
    };
    const Case cases[] = {
        {mmNone, 3, "режим не выбран", ""},
        {mmSelectView, 4, "режим: Выбор вида [4]", "ZOOM"},
        {mmSaveArea, 0, "режим: Выбор учатка для сохранения [0]", "SELECTSAVEREGION"},
        {mmLinkRastr, 0, "", ""},
        {mmLinkRastr, 1, "режим: Привязка растра - Точка 1[1]", "CROSS"},
        {mmLinkRastr, 2, "режим: Привязка растра - Точка 2[2]", "CROSS"},
        {mmLinkRastr, 3, "", ""},
        {mmSetStamp, 1, "режим: Установка штампа [1]", "STAMP"},
        {mmTraceContour, 0, "режим: Проложение горизонтали,выбор первой отметки [0]", "GTRACE1"},
        {mmTraceContour, 1, "режим: Проложение горизонтали,выбор второй отметки [1]", "GTRACE2"},
        {mmTraceContour, 2, "", ""},
        {mmBaseLinePoint, 0, "", ""},
        {mmBaseLinePoint, 2, "режим: Выбор точки 2 исходной линии для геометрических построений [2]",
         "SelectSLinePoint2"},
        {mmCheckHeights, 2, "режим: проверка высот,выбор места [2]", "CROSS"},
        {mmCheckHeights, 3, "", ""},
        {mmInsertRastr, 0, "режим: Вставка растра по курсору[0]", "SetRastrBL"},
        {32, 0, "", ""},
        {255, 1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Mode) << " step " << int(c.Step));
        EXPECT_EQ(ModeCaption(c.Mode, c.Step, 5), QString::fromUtf8(c.Caption));
        EXPECT_EQ(ModeCursor(c.Mode, c.Step), QString::fromUtf8(c.Cursor));
    }
}

TEST(MouseModes, NodeAddingCaptionNamesTheEndOfTheLine)
{
    EXPECT_EQ(ModeCaption(mmAddLineNode, 0, 0), QStringLiteral("режим: Добавление узла в начало линии[0]"));
    EXPECT_EQ(ModeCaption(mmAddLineNode, 2, 7), QStringLiteral("режим: Добавление узла в конец линии[2]"));
}

TEST(MouseModes, RowsAboveTheLastAreEmpty)
{
    const TMouseModeRow& row = ModeRow(200);
    EXPECT_STREQ(row.Name, "");
    EXPECT_EQ(row.Button, TModeButton::None);
    for (int b = 0; b < 3; ++b) {
        EXPECT_EQ(row.Down[b], nullptr);
        EXPECT_EQ(row.Up[b], nullptr);
    }
    EXPECT_STREQ(ModeRow(mmCheckHeights).Name, "mmCheckHeights");
}

TEST(MouseModes, MemoryIsRefreshedByTheSevenRules)
{
    struct Case {
        bool Saved;
        TMouseMode SavedMode;
        TMouseMode Current;
        TMouseMode Mode;
        std::uint8_t Step;
        bool Expected;
    };
    const Case cases[] = {
        // Nothing saved, or a saved mode of 0 or 1: always.
        {false, mmSelectObject, mmCreateLine, mmCreatePoint, 0, true},
        {true, mmNone, mmCreateLine, mmCreatePoint, 0, true},
        {true, mmSelectView, mmCreateLine, mmCreatePoint, 0, true},
        // A saved mode of 2 or more stays for ordinary modes.
        {true, mmSelectObject, mmCreateLine, mmCreatePoint, 0, false},
        {true, mmCreateLine, mmSelectObject, mmSetStamp, 0, false},
        // The zoom always saves.
        {true, mmSelectObject, mmMoveView, mmSelectView, 0, true},
        // A pan saves unless it starts from the zoom or a pan.
        {true, mmSelectObject, mmCreateLine, mmMoveView, 0, true},
        {true, mmSelectObject, mmSelectView, mmMoveView, 0, false},
        {true, mmSelectObject, mmMoveView, mmMoveView, 0, false},
        // The temporary modes.
        {true, mmSelectObject, mmCreateLine, mmPrintArea, 0, true},
        {true, mmSelectObject, mmCreateLine, mmSaveArea, 0, true},
        {true, mmSelectObject, mmCreateLine, mmLinkRastr, 1, true},
        {true, mmSelectObject, mmCreateLine, mmLinkRastr, 2, false},
        {true, mmSelectObject, mmCreateLine, mmAddLineNode, 0, true},
        {true, mmSelectObject, mmCreateLine, mmMergeLines, 0, true},
        {true, mmSelectObject, mmCreateLine, mmOGZ, 0, true},
        {true, mmSelectObject, mmCreateLine, mmSampleCoords, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "saved " << c.Saved << " mode " << int(c.SavedMode)
                                        << " current " << int(c.Current) << " new " << int(c.Mode));
        TModeMemory memory;
        memory.ModeSaved = c.Saved;
        memory.SavedMouseMode = c.SavedMode;
        EXPECT_EQ(memory.ShouldSave(c.Current, c.Mode, c.Step), c.Expected);
    }
}

TEST(MouseModes, MemoryKeepsThePreviousEventPoints)
{
    TEventPoints points;
    points.PrevDown.Screen = QPoint(1, 2);
    points.PrevUp.Plan = TGeoPoint(3, 4);
    points.PrevMove.Screen = QPoint(5, 6);
    points.Down.Screen = QPoint(9, 9);
    TModeMemory memory;
    memory.Save(mmCreateLine, 3, points);
    EXPECT_TRUE(memory.ModeSaved);
    EXPECT_EQ(memory.SavedMouseMode, mmCreateLine);
    EXPECT_EQ(memory.SavedMouseStep, 3);
    TEventPoints later;
    memory.RestorePoints(later);
    EXPECT_EQ(later.PrevDown.Screen, QPoint(1, 2));
    EXPECT_EQ(later.PrevUp.Plan.X, 3);
    EXPECT_EQ(later.PrevMove.Screen, QPoint(5, 6));
    EXPECT_EQ(later.Down.Screen, QPoint());   // the latest points are not part of the slot
}
