#include "canvas/image_surface.h"
#include "cells/cell_map.h"
#include "cells/pointer_selection.h"
#include "support/pixels.h"
#include "support/scripted_host.h"
#include "support/test_state.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::ScriptedHost;

using test::pixelAt;

class CellMap : public ::testing::Test {
  protected:
    SimulationState m = test::defaultState();
    ScriptedHost host;
    ImageSurface picture{kPictureWidthTwips, kPictureHeightTwips};
};

TEST_F(CellMap, FirstCommandOffersTheMapAndSwitchesEditingOn) {
    host.answers = {Answer::Yes};
    StartCellEditing(m, host, picture);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "流体箇所データが初期化されます。よろしいですか？");
    EXPECT_EQ(host.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(m.pickState, PickState::Cell);
    EXPECT_EQ(m.cellKind.upper1(), 62);
    EXPECT_EQ(m.cellKind(61, 31), 1);
    EXPECT_EQ(m.cellKind(62, 31), 0);
    EXPECT_NEAR(picture.heightTwips(), 31.0 * 7215 / 61, 0.01);
    EXPECT_EQ(picture.image().height(), 244);
}

TEST_F(CellMap, AnsweringNoExplainsWhyAndChangesNothing) {
    ToggleRangeSelection(m, host, picture);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text,
              "初期化が必要な理由：インデックスが有効範囲にありません。 (流体箇所表示)");
    EXPECT_EQ(m.pickState, PickState::Off);
    EXPECT_FALSE(host.range);
}

TEST_F(CellMap, RangeButtonTogglesItsCaptionAndState) {
    host.answers = {Answer::Yes};
    ToggleRangeSelection(m, host, picture);
    EXPECT_EQ(m.pickState, PickState::RangeStart);
    EXPECT_TRUE(host.range);
    StartCellEditing(m, host, picture);
    EXPECT_EQ(m.pickState, PickState::RangeStart);
    ToggleRangeSelection(m, host, picture);
    EXPECT_EQ(m.pickState, PickState::Cell);
    EXPECT_FALSE(host.range);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(CellMap, MapSmallerThanTheMeshIsOfferedAgainAndZeroCountFails) {
    InitCellMap(m);
    m.nx = 63;
    host.answers = {Answer::Yes};
    StartCellEditing(m, host, picture);
    EXPECT_EQ(m.cellKind.upper1(), 64);
    m.nx = 0;
    host.answers = {Answer::Yes};
    StartCellEditing(m, host, picture);
    EXPECT_EQ(host.messages.back().text, "0 で除算しました。 (流体箇所表示)");
    m.nx = -5;
    host.answers = {Answer::Yes};
    StartCellEditing(m, host, picture);
    EXPECT_EQ(host.messages.back().text, "インデックスが有効範囲にありません。 (流体箇所表示)");
    m.nx = m.ny = 30000; // a map this size would exhaust memory
    host.answers = {Answer::Yes};
    StartCellEditing(m, host, picture);
    EXPECT_EQ(host.messages.back().text, "メモリが不足しています。 (流体箇所表示)");
}

TEST_F(CellMap, InitialiseAnsweredNoKeepsTheMapAndTheDrawing) {
    InitCellMap(m);
    m.cellKind(3, 3) = 0;
    const QImage before = picture.image();
    ResetCellMap(m, host, picture);
    EXPECT_EQ(m.cellKind(3, 3), 0);
    EXPECT_EQ(picture.image(), before);
    host.answers = {Answer::Yes};
    ResetCellMap(m, host, picture);
    EXPECT_EQ(m.cellKind(3, 3), 1);
    EXPECT_EQ(m.pickState, PickState::Off);
}

TEST_F(CellMap, DrawnMapHasRedObstacleCyanFluidBlackOutlines) {
    InitCellMap(m);
    m.cellKind(1, 1) = 0;
    ASSERT_EQ(DrawCellMap(m, picture), 0);
    EXPECT_EQ(pixelAt(picture, 0.5, 0.5), 0xFF0000u);
    EXPECT_EQ(pixelAt(picture, 1.5, 0.5), 0x00FFFFu);
    EXPECT_EQ(pixelAt(picture, 1.0, 0.5), 0x000000u);
    EXPECT_EQ(pixelAt(picture, 30.5, 31.0), 0x000000u);
    EXPECT_EQ(pixelAt(picture, 61.0, 15.5), 0x000000u);
}

class Pointer : public CellMap {
  protected:
    Pointer() {
        InitCellMap(m);
        DrawCellMap(m, picture);
    }
    void down(float x, float y, int button = 1) { PressOnPicture(m, host, picture, button, x, y); }
    int solidCount() const {
        int n = 0;
        for (int j = 1; j <= m.ny; ++j)
            for (int i = 1; i <= m.nx; ++i)
                n += m.cellKind(i, j) == 0;
        return n;
    }
};

TEST_F(Pointer, IndexRuleUsesFiveNines) {
    EXPECT_EQ(CellIndexAt(2.3), 3);
    EXPECT_EQ(CellIndexAt(3.000004f), 3);
    EXPECT_EQ(CellIndexAt(3.00002f), 4);
    EXPECT_EQ(CellIndexAt(0), 0);
}

TEST_F(Pointer, PointModeInvertsAndRedraws) {
    m.pickState = PickState::Cell;
    down(4.5f, 2.5f);
    EXPECT_EQ(m.cellKind(5, 3), 0);
    EXPECT_EQ(pixelAt(picture, 4.5, 2.5), 0xFF0000u);
    down(4.5f, 2.5f);
    EXPECT_EQ(m.cellKind(5, 3), 1);
    EXPECT_EQ(pixelAt(picture, 4.5, 2.5), 0x00FFFFu);
    down(4.5f, 2.5f, 2);
    down(4.5f, 2.5f, 4);
    EXPECT_EQ(m.cellKind(5, 3), 1);
}

TEST_F(Pointer, NothingHappensBeforeEditingIsOn) {
    const QImage before = picture.image();
    down(4.5f, 2.5f);
    MoveOnPicture(m, picture, 8.5f, 6.5f);
    EXPECT_EQ(solidCount(), 0);
    EXPECT_EQ(picture.image(), before);
}

TEST_F(Pointer, RangeChangesTheRectangleColumnByColumn) {
    m.pickState = PickState::RangeStart;
    const QImage before = picture.image();
    down(1.5f, 2.5f); // cell (2, 3)
    EXPECT_EQ(m.pickState, PickState::RangeEnd);
    EXPECT_EQ(m.rangeStartI, 1);
    EXPECT_EQ(m.rangeStartJ, 2);
    EXPECT_NE(picture.image(), before); // band around the start cell
    MoveOnPicture(m, picture, 3.5f, 4.5f);
    EXPECT_EQ(m.rangeEndI, 4);
    EXPECT_EQ(m.rangeEndJ, 5);
    down(3.5f, 4.5f); // cell (4, 5)
    EXPECT_EQ(m.pickState, PickState::RangeStart);
    EXPECT_EQ(solidCount(), 9);
    EXPECT_EQ(m.cellKind(2, 3), 0);
    EXPECT_EQ(m.cellKind(4, 5), 0);
    EXPECT_EQ(m.cellKind(5, 5), 1);
}

TEST_F(Pointer, ReversedRangeChangesNothingButErasesTheBand) {
    m.pickState = PickState::RangeStart;
    const QImage before = picture.image();
    down(5.5f, 5.5f);
    MoveOnPicture(m, picture, 2.5f, 7.5f);
    down(2.5f, 7.5f);
    EXPECT_EQ(solidCount(), 0);
    EXPECT_EQ(m.pickState, PickState::RangeStart);
    EXPECT_EQ(picture.image(), before);
}

TEST_F(Pointer, SameCellRangeChangesOnlyThatCell) {
    m.pickState = PickState::RangeStart;
    down(5.5f, 5.5f);
    down(5.2f, 5.9f);
    EXPECT_EQ(solidCount(), 1);
    EXPECT_EQ(m.cellKind(6, 6), 0);
}

TEST_F(Pointer, ClicksOutsideTheMapFailSilently) {
    m.pickState = PickState::RangeStart;
    down(58.5f, 28.5f);
    down(80.0f, 29.5f); // runs past the map's columns
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m.pickState, PickState::RangeEnd);
    EXPECT_EQ(m.cellKind(62, 30), 1); // border column inverted before the failure
    m.pickState = PickState::Cell;
    down(1e9f, 1.0f);
    EXPECT_TRUE(host.messages.empty());
}

} // namespace
} // namespace kestrel
