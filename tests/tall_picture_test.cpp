// Pictures taller than one band of rows, and far taller than memory would
// hold unpacked: they draw, show and save as one picture would.
#include "canvas/bmp_file.h"
#include "canvas/image_surface.h"
#include "runtime/failure.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

constexpr int kBand = BandedPicture::kBandRows;

QRgb patternAt(int x, int y) {
    return qRgb((x * 7 + y) & 0xFF, (y * 13) & 0xFF, ((x ^ y) * 3) & 0xFF);
}

std::string qtBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

std::string joined(const std::function<std::string_view()>& pieces) {
    std::string all;
    for (std::string_view piece = pieces(); !piece.empty(); piece = pieces())
        all += piece;
    return all;
}

// A width that needs row padding in a BMP, a height that ends inside a band,
// and room for only three bands unpacked: most bands are packed and
// unpacked again on the way.
TEST(BandedPicture, PackedBandsReadBackPaintAndSaveAsDrawn) {
    const int columns = 37, rows = 7 * kBand + 45;
    BandedPicture picture(columns, rows, qRgb(255, 255, 255), 3 * kBand * columns * 4);
    for (int y = 0; y < rows; ++y)
        if (y / kBand != 2) // band 2 stays one colour
            for (int x = 0; x < columns; ++x)
                picture.row(y)[x] = patternAt(x, y);
    // Rows of the first band again, after it was packed.
    picture.row(3)[5] = qRgb(1, 2, 3);

    QImage expected(columns, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            expected.setPixel(x, y, y / kBand == 2 ? qRgb(255, 255, 255) : patternAt(x, y));
    expected.setPixel(5, 3, qRgb(1, 2, 3));

    EXPECT_EQ(picture.rowsImage(0, rows), expected);
    EXPECT_EQ(picture.pixel(5, 3), qRgb(1, 2, 3));
    EXPECT_EQ(picture.pixel(36, rows - 1), patternAt(36, rows - 1));
    QImage painted(columns, rows, QImage::Format_RGB32);
    painted.fill(Qt::black);
    QPainter painter(&painted);
    picture.paint(painter, QRect(0, kBand - 10, columns, 3 * kBand)); // a window's worth
    painter.end();
    EXPECT_EQ(painted.copy(0, kBand - 10, columns, 3 * kBand),
              expected.copy(0, kBand - 10, columns, 3 * kBand));
    EXPECT_EQ(painted.pixel(0, kBand - 11), qRgb(0, 0, 0)) << "painted outside the area";

    expected.setDotsPerMeterX(3780);
    expected.setDotsPerMeterY(3780);
    EXPECT_EQ(joined(BmpPieces(picture, 3780)), qtBmp(expected));
    EXPECT_EQ(BmpFileSize(picture), qtBmp(expected).size());
}

// Rows given up by a smaller height come back blank, not with what was
// drawn on them before; the rows kept keep their pixels.
TEST(BandedPicture, RowsThatComeBackAfterAShrinkAreBlank) {
    BandedPicture picture(8, 2 * kBand, qRgb(255, 255, 255));
    for (int y = 0; y < 2 * kBand; ++y)
        std::fill_n(picture.row(y), 8, qRgb(0, 0, 255));
    picture.resize(kBand + 10);
    picture.resize(3 * kBand);
    EXPECT_EQ(picture.pixel(3, kBand + 9), qRgb(0, 0, 255));
    for (int y : {kBand + 10, 2 * kBand - 1, 2 * kBand, 3 * kBand - 1})
        EXPECT_EQ(picture.pixel(3, y), qRgb(255, 255, 255)) << y;
    picture.fill(qRgb(9, 9, 9));
    EXPECT_EQ(picture.pixel(7, 3 * kBand - 1), qRgb(9, 9, 9));
}

// Wide lines cross band edges as on one picture: the same pixels as Qt's
// painter gives on a single image, in copy and exclusive-or mode.
TEST(TallSurface, WideLinesAcrossBandsMatchOnePicture) {
    ImageSurface s(kTwipsPerPixel * 100, kTwipsPerPixel * (3 * kBand + 17));
    const QSize size = s.size();
    s.setScale(0, 0, static_cast<float>(size.width() - 1), static_cast<float>(size.height() - 1));
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(qRgb(255, 255, 255));
    QPainter painter(&expected);
    const struct {
        int width;
        QPoint from, to;
        DrawMode mode;
    } lines[] = {{5, {10, 20}, {90, 3 * kBand + 10}, DrawMode::CopyPen},
                 {3, {50, kBand - 1}, {50, kBand}, DrawMode::CopyPen},
                 {7, {0, 2 * kBand}, {99, 2 * kBand}, DrawMode::XorPen},
                 {4, {30, kBand + 2}, {30, kBand + 2}, DrawMode::CopyPen}};
    for (const auto& line : lines) {
        QPen pen(QColor(200, 10, 30));
        pen.setWidth(line.width);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.setCompositionMode(line.mode == DrawMode::XorPen
                                       ? QPainter::RasterOp_SourceXorDestination
                                       : QPainter::CompositionMode_SourceOver);
        if (line.from == line.to)
            painter.drawPoint(line.from);
        else
            painter.drawLine(line.from, line.to);
        s.setPenWidth(line.width);
        s.setDrawMode(line.mode);
        s.drawLine(line.from.x(), line.from.y(), line.to.x(), line.to.y(), MakeRgb(200, 10, 30));
    }
    painter.end();
    QImage drawn = s.image();
    drawn.setDotsPerMeterX(expected.dotsPerMeterX());
    drawn.setDotsPerMeterY(expected.dotsPerMeterY());
    EXPECT_EQ(drawn, expected);
}

// A mesh 80 times taller than wide: its picture is drawn whole, its bottom
// row too, where one image of that height was refused before.
TEST(TallSurface, AMeshFarTallerThanWideDraws) {
    ImageSurface s(kTwipsPerPixel * 481, kTwipsPerPixel * 100);
    s.setHeightTwips(kTwipsPerPixel * 481 * 80);
    EXPECT_EQ(s.size(), QSize(481, 481 * 80));
    s.setScale(0, 0, 5, 400);
    s.fillBox(0, 399, 5, 400, MakeRgb(255, 0, 0));
    EXPECT_EQ(s.pixel(240, 481 * 80 - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(s.pixel(240, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_THROW(s.setHeightTwips(kTwipsPerPixel * (ImageSurface::kMaxHeightPixels + 1)), Failure);
}

} // namespace
} // namespace kestrel
