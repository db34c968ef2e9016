// The picture's drawing rules: exclusive-or boxes, the scale, and lines
// clipped to the picture without moving a pixel, whatever their ends.
#include "app/simulation_state.h"
#include "canvas/frame_recorder.h"
#include "canvas/image_surface.h"
#include "canvas/line_raster.h"

#include <QImage>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kestrel {
namespace {

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

// Pixels a line leaves on a 20 x 10 grid, in the order visited.
std::vector<std::pair<int, int>> rasterised(PointD a, PointD b) {
    std::vector<std::pair<int, int>> pixels;
    RasterLine(a, b, 20, 10, [&](int x, int y) { pixels.emplace_back(x, y); });
    return pixels;
}

TEST(LineRaster, EndsThatAreNotNumbersOrInfinite) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const auto row = [](int from, int to, int y) {
        std::vector<std::pair<int, int>> pixels;
        for (int x = from; x <= to; ++x)
            pixels.emplace_back(x, y);
        return pixels;
    };
    EXPECT_EQ(rasterised({nan, 5}, {6, 5}), row(0, 6, 5)); // not a number counts as 0
    EXPECT_EQ(rasterised({-inf, 5}, {inf, 5}), row(0, 19, 5));
    EXPECT_EQ(rasterised({3, 2}, {1e30, 2}), row(3, 19, 2));
    EXPECT_TRUE(rasterised({inf, inf}, {inf, inf}).empty());
    EXPECT_EQ(rasterised({2.5, 7}, {-0.5, 7}), row(0, 3, 7)); // halves away from zero
}

// Clipped to the grid, a line leaves the pixels, in the order, that it leaves
// on a grid holding it whole: steep or flat, either way, ends on any side.
TEST(LineRaster, AClippedLineLeavesThePixelsOfTheWholeLine) {
    std::srand(11);
    for (int n = 0; n < 2000; ++n) {
        const auto at = [](int size) { return std::rand() % (5 * size) - 2 * size; };
        const PointD a{1.0 * at(20), 1.0 * at(10)}, b{1.0 * at(20), 1.0 * at(10)};
        std::vector<std::pair<int, int>> whole;
        RasterLine({a.x + 40, a.y + 20}, {b.x + 40, b.y + 20}, 100, 50, [&](int x, int y) {
            if (x >= 40 && x < 60 && y >= 20 && y < 30) whole.emplace_back(x - 40, y - 20);
        });
        ASSERT_EQ(rasterised(a, b), whole)
            << "(" << a.x << ", " << a.y << ") - (" << b.x << ", " << b.y << ")";
    }
}

// A long line keeps its near end wherever its far end lies.
TEST(LineRaster, AFarEndDoesNotMoveTheNearOne) {
    PointD near{3, 2};
    PointD far{1e30, 2 + 1e29};
    ASSERT_TRUE(ClipSegment(near, far, 0, 0, 100, 100));
    EXPECT_EQ(near.x, 3);
    EXPECT_EQ(near.y, 2);
    EXPECT_NEAR(far.x, 100, 1e-9); // leaves through the right side, at a tenth of the slope
    EXPECT_NEAR(far.y, 11.7, 1e-9);

    PointD up{1e29, -1e30}; // the far end first, leaving through the top
    PointD inside{50, 50};
    ASSERT_TRUE(ClipSegment(up, inside, 0, 0, 100, 100));
    EXPECT_EQ(inside.x, 50);
    EXPECT_EQ(inside.y, 50);
    EXPECT_NEAR(up.x, 55, 1e-9);
    EXPECT_NEAR(up.y, 0, 1e-9);

    PointD a{-1e30, 5};
    PointD b{1e30, 5};
    ASSERT_TRUE(ClipSegment(a, b, 0, 0, 100, 100)); // both ends far: from the middle
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(b.x, 100);
    EXPECT_EQ(a.y, 5);
    EXPECT_FALSE(ClipSegment(a = {-1e30, 500}, b = {1e30, 500}, 0, 0, 100, 100));
}

TEST(WideLines, EndsThatAreNotNumbersOrInfinite) {
    ImageSurface s{300, 300};
    s.setScale(0, 0, 19, 19);
    s.setPenWidth(3);
    s.drawLine(std::numeric_limits<float>::quiet_NaN(), 10, 5, 10, MakeRgb(0, 0, 255));
    EXPECT_EQ(s.image().pixel(2, 10) & 0xFFFFFF, 0x0000FFu); // from 0
    EXPECT_EQ(s.image().pixel(10, 10) & 0xFFFFFF, 0xFFFFFFu);
    s.drawLine(12, 4, std::numeric_limits<float>::infinity(), 4, MakeRgb(0, 0, 255));
    EXPECT_EQ(s.image().pixel(9, 4) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(s.image().pixel(19, 4) & 0xFFFFFF, 0x0000FFu); // to the edge
    s.clear();
    constexpr float inf = std::numeric_limits<float>::infinity();
    s.drawLine(-inf, -inf, 5, 10, MakeRgb(0, 0, 255)); // up and left at 45 degrees
    EXPECT_EQ(s.image().pixel(0, 5) & 0xFFFFFF, 0x0000FFu);
}

// A frame that cannot be written is a failure naming its file, in either
// language; the numbering goes on.
TEST(FrameRecorder, AFrameThatIsNotWrittenIsAFailureNamingItsFile) {
    const std::string folder = ::testing::TempDir() + "kestrel-frames-missing";
    FrameRecorder recorder;
    recorder.setFolder(folder);
    recorder.startRun();
    const ImageSurface picture(kPictureWidthTwips, kPictureHeightTwips);
    ASSERT_TRUE(recorder.record(picture));
    const auto failure = recorder.record(picture);
    ASSERT_TRUE(failure);
    const std::string file = folder + "/frame-00002.png";
    EXPECT_EQ(failure->english(), "cannot write \"" + file + "\": No such file or directory");
    EXPECT_EQ(failure->japanese(), file + ": ファイルかフォルダーがありません");
}

} // namespace
} // namespace kestrel
