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
    EXPECT_EQ(m.pickState, 1);
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
    EXPECT_EQ(m.pickState, 0);
    EXPECT_FALSE(host.range);
}

TEST_F(CellMap, RangeButtonTogglesItsCaptionAndState) {
    host.answers = {Answer::Yes};
    ToggleRangeSelection(m, host, picture);
    EXPECT_EQ(m.pickState, 2);
    EXPECT_TRUE(host.range);
    StartCellEditing(m, host, picture);
    EXPECT_EQ(m.pickState, 2);
    ToggleRangeSelection(m, host, picture);
    EXPECT_EQ(m.pickState, 1);
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
    EXPECT_EQ(m.pickState, 0);
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

TEST_F(CellMap, ChangeModeDecidesTheNewValue) {
    EXPECT_EQ(NewCellKind(host, 1), 0);
    EXPECT_EQ(NewCellKind(host, 0), 1);
    host.mode = ChangeMode::Fluid;
    EXPECT_EQ(NewCellKind(host, 0), 1);
    EXPECT_EQ(NewCellKind(host, 1), 1);
    host.mode = ChangeMode::NonFluid;
    EXPECT_EQ(NewCellKind(host, 1), 0);
}

class Pointer : public CellMap {
  protected:
    Pointer() {
        InitCellMap(m);
        DrawCellMap(m, picture);
    }
    void down(float x, float y, int button = 1) {
        PressOnPicture(m, host, picture, button, 0, x, y);
    }
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
    m.pickState = 1;
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
    MoveOnPicture(m, picture, 0, 0, 8.5f, 6.5f);
    EXPECT_EQ(solidCount(), 0);
    EXPECT_EQ(picture.image(), before);
}

TEST_F(Pointer, RangeChangesTheRectangleColumnByColumn) {
    m.pickState = 2;
    const QImage before = picture.image();
    down(1.5f, 2.5f); // cell (2, 3)
    EXPECT_EQ(m.pickState, 3);
    EXPECT_EQ(m.rangeStartI, 1);
    EXPECT_EQ(m.rangeStartJ, 2);
    EXPECT_NE(picture.image(), before); // band around the start cell
    MoveOnPicture(m, picture, 0, 0, 3.5f, 4.5f);
    EXPECT_EQ(m.rangeEndI, 4);
    EXPECT_EQ(m.rangeEndJ, 5);
    down(3.5f, 4.5f); // cell (4, 5)
    EXPECT_EQ(m.pickState, 2);
    EXPECT_EQ(solidCount(), 9);
    EXPECT_EQ(m.cellKind(2, 3), 0);
    EXPECT_EQ(m.cellKind(4, 5), 0);
    EXPECT_EQ(m.cellKind(5, 5), 1);
}

TEST_F(Pointer, ReversedRangeChangesNothingButErasesTheBand) {
    m.pickState = 2;
    const QImage before = picture.image();
    down(5.5f, 5.5f);
    MoveOnPicture(m, picture, 0, 0, 2.5f, 7.5f);
    down(2.5f, 7.5f);
    EXPECT_EQ(solidCount(), 0);
    EXPECT_EQ(m.pickState, 2);
    EXPECT_EQ(picture.image(), before);
}

TEST_F(Pointer, SameCellRangeChangesOnlyThatCell) {
    m.pickState = 2;
    down(5.5f, 5.5f);
    down(5.2f, 5.9f);
    EXPECT_EQ(solidCount(), 1);
    EXPECT_EQ(m.cellKind(6, 6), 0);
}

TEST_F(Pointer, ClicksOutsideTheMapFailSilently) {
    m.pickState = 2;
    down(58.5f, 28.5f);
    down(80.0f, 29.5f); // runs past the map's columns
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m.pickState, 3);
    EXPECT_EQ(m.cellKind(62, 30), 1); // border column inverted before the failure
    m.pickState = 1;
    down(1e9f, 1.0f);
    EXPECT_TRUE(host.messages.empty());
}

TEST(Surface, ExclusiveOrBoxTwiceRestoresThePicture) {
    ImageSurface s(kPictureWidthTwips, kPictureHeightTwips);
    SetPictureScale(s, 0, 0, 61, 31);
    s.fillBox(0, 0, 30, 20, MakeRgb(0, 255, 255));
    const QImage before = s.image();
    s.setDrawMode(DrawMode::XorPen);
    s.drawBox(3, 4, 10, 12, MakeRgb(255, 0, 0));
    // Each corner changed once, and nothing beyond the outline.
    const QPoint low = s.toPixel(3, 4).toPoint(), high = s.toPixel(10, 12).toPoint();
    for (const QPoint corner : {low, high, QPoint(low.x(), high.y()), QPoint(high.x(), low.y())})
        EXPECT_NE(s.image().pixel(corner), before.pixel(corner)) << corner.x() << " " << corner.y();
    for (const QPoint outside : {QPoint(low.x(), high.y() + 1), QPoint(high.x(), high.y() + 1),
                                 QPoint(low.x(), low.y() - 1)})
        EXPECT_EQ(s.image().pixel(outside), before.pixel(outside))
            << outside.x() << " " << outside.y();
    s.drawBox(3, 4, 10, 12, MakeRgb(255, 0, 0));
    EXPECT_EQ(s.image(), before);
}

TEST(Surface, AnExclusiveOrBoxOfNoWidthStillShows) {
    ImageSurface s(15 * 40, 15 * 30);
    SetPictureScale(s, 0, 0, 39, 29);
    s.setDrawMode(DrawMode::XorPen);
    s.drawBox(10, 5, 10, 20, MakeRgb(255, 0, 0)); // a vertical line: each pixel once
    for (int y = 5; y <= 20; ++y)
        EXPECT_EQ(s.image().pixel(10, y) & 0xFFFFFF, 0x00FFFFu) << y; // white ^ red
    s.drawBox(5, 8, 30, 8, MakeRgb(255, 0, 0));                       // a horizontal one
    EXPECT_EQ(s.image().pixel(20, 8) & 0xFFFFFF, 0x00FFFFu);
}

TEST(Surface, ScaleMapsCornersAndRejectsBadPenWidths) {
    ImageSurface s(kPictureWidthTwips, kPictureHeightTwips);
    SetPictureScale(s, 0, 0, 61, 31);
    EXPECT_EQ(s.scale().width, 61);
    EXPECT_EQ(s.scale().height, 31);
    EXPECT_EQ(s.toPixel(0, 0), QPointF(0, 0));
    EXPECT_EQ(s.toPixel(61, 31), QPointF(480, 248));
    EXPECT_EQ(s.toUser(QPointF(480, 248)), QPointF(61, 31)); // and back, corner to corner
    EXPECT_EQ(s.toUser(QPointF(0, 0)), QPointF(0, 0));
    EXPECT_THROW(s.setPenWidth(0), Failure);
    EXPECT_THROW(s.setHeightTwips(-1), Failure);
    EXPECT_THROW(s.setHeightTwips(1e9), Failure);
}

} // namespace
} // namespace kestrel

namespace kestrel {
namespace {

// Every pixel of the midpoint rule from the left (then upper) end, those
// outside the picture skipped: what the surface must draw, without clipping.
QImage wholeLine(QSize size, long long x0, long long y0, long long x1, long long y1) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (std::pair(x1, y1) < std::pair(x0, y0)) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const long long dx = std::llabs(x1 - x0);
    const long long dy = std::llabs(y1 - y0);
    const long long steps = std::max(dx, dy);
    for (long long k = 0; k <= steps; ++k) {
        const long long along = steps == 0 ? 0 : (2 * k * std::min(dx, dy) + steps) / (2 * steps);
        const long long x = dx >= dy ? x0 + (x1 >= x0 ? k : -k) : x0 + (x1 >= x0 ? along : -along);
        const long long y = dx >= dy ? y0 + (y1 >= y0 ? along : -along) : y0 + (y1 >= y0 ? k : -k);
        if (x >= 0 && y >= 0 && x < size.width() && y < size.height())
            image.setPixel(static_cast<int>(x), static_cast<int>(y), qRgb(0, 0, 255));
    }
    return image;
}

TEST(Surface, LinesAreClippedToThePictureWithoutMovingAPixel) {
    ImageSurface s(15 * 40, 15 * 30); // 40 x 30 pixels, user units = pixels
    SetPictureScale(s, 0, 0, 39, 29);
    std::srand(7);
    for (int n = 0; n < 3000; ++n) {
        const auto coordinate = [](int size) { return std::rand() % (5 * size) - 2 * size; };
        const int x0 = coordinate(40), y0 = coordinate(30), x1 = coordinate(40),
                  y1 = coordinate(30);
        s.clear();
        s.drawLine(static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                   static_cast<float>(y1), MakeRgb(0, 0, 255));
        ASSERT_EQ(s.image(), wholeLine({40, 30}, x0, y0, x1, y1))
            << "(" << x0 << ", " << y0 << ") - (" << x1 << ", " << y1 << ")";
    }
}

TEST(Surface, AnEndlessLineDrawsItsVisiblePartAtOnce) {
    ImageSurface s(15 * 40, 15 * 30);
    SetPictureScale(s, 0, 0, 39, 29);
    s.drawLine(-1e30f, 5, 1e30f, 5, MakeRgb(0, 0, 255));
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(s.image().pixel(x, 5) & 0xFFFFFF, 0x0000FFu) << x;
    s.clear();
    s.drawLine(-3e38f, -3e38f, 3e38f, 3e38f, MakeRgb(0, 0, 255));
    EXPECT_EQ(s.image().pixel(10, 10) & 0xFFFFFF, 0x0000FFu);
    s.setPenWidth(3);
    s.drawLine(-1e30f, 20, 1e30f, 20, MakeRgb(255, 0, 0));
    EXPECT_EQ(s.image().pixel(39, 20) & 0xFFFFFF, 0xFF0000u);
}

} // namespace
} // namespace kestrel
