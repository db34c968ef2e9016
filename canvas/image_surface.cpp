#include "image_surface.h"

#include "line_raster.h"
#include "runtime/failure.h"
#include "runtime/file_writing.h"

#include <QBuffer>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

int pixelsOf(double twips) {
    return std::max(1, static_cast<int>(std::lround(twips / kTwipsPerPixel)));
}

// Pixel index of a user coordinate, saturated so that far-off points stay
// far off without overflowing int.
int saturatedRound(double v) {
    if (std::isnan(v)) return -1;
    return static_cast<int>(RoundHalfAway(std::clamp(v, -1.0e6, 1.0e6)));
}

} // namespace

// Its resolution is the one the twips imply (15 to a pixel: 96 per inch),
// not the screen's, so that the window and the runner save the same file.
QImage ImageSurface::blankPicture(int columns, int rows) {
    QImage picture(columns, rows, QImage::Format_RGB32);
    constexpr double kInchesPerMetre = 1 / 0.0254;
    const int dotsPerMetre = static_cast<int>(std::lround(1440 / kTwipsPerPixel * kInchesPerMetre));
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    picture.fill(toQRgb(kBackground));
    return picture;
}

ImageSurface::ImageSurface(double widthTwips, double heightTwips)
    : widthTwips_(widthTwips), heightTwips_(heightTwips),
      image_(blankPicture(pixelsOf(widthTwips), pixelsOf(heightTwips))), columns_(image_.width()),
      rows_(image_.height()) {}

void ImageSurface::setHeightTwips(double twips) {
    // A picture too tall to hold in memory is refused like any bad height.
    if (!(twips >= 0 && twips <= kMaxHeightPixels * kTwipsPerPixel))
        throw Failure(ErrorNumber::InvalidPropertyValue);
    heightTwips_ = twips;
    const int rows = pixelsOf(twips);
    if (rows != image_.height()) {
        QImage resized = blankPicture(image_.width(), rows);
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
        painter.end();
        image_ = resized;
        rows_ = rows;
        memoY_ = {};
    }
    if (listener_.resized) listener_.resized();
}

void ImageSurface::setScale(float left, float top, float width, float height) {
    scale_ = {left, top, width, height};
    memoX_ = {};
    memoY_ = {};
}

template <typename Convert> int ImageSurface::AxisMemo::lookup(double v, Convert convert) {
    for (int k = 0; k < filled; ++k)
        if (user[k] == v) return pixel[k]; // -0 and +0 land on the same pixel
    const int k = next;
    user[k] = v;
    pixel[k] = convert(v);
    next = 1 - next;
    filled = std::max(filled, k + 1);
    return pixel[k];
}

int ImageSurface::pixelX(double x) {
    return memoX_.lookup(x, [this](double v) { return saturatedRound(pixelXf(v)); });
}
int ImageSurface::pixelY(double y) {
    return memoY_.lookup(y, [this](double v) { return saturatedRound(pixelYf(v)); });
}

QPointF ImageSurface::toUser(QPointF pixel) const {
    return {scale_.left + pixel.x() * scale_.width / std::max(1, image_.width() - 1),
            scale_.top + pixel.y() * scale_.height / std::max(1, image_.height() - 1)};
}

QPointF ImageSurface::toPixel(double x, double y) const {
    return {(x - scale_.left) / scale_.width * (image_.width() - 1),
            (y - scale_.top) / scale_.height * (image_.height() - 1)};
}

void ImageSurface::clear() {
    image_.fill(toQRgb(kBackground));
    notifyChanged();
}

ImageSurface::Pixels ImageSurface::pixelsForDrawing() {
    // bits() detaches the picture once; a pixel at a time through scanLine()
    // would check that for every pixel.
    return {reinterpret_cast<QRgb*>(image_.bits()), image_.bytesPerLine() / 4, columns_, rows_};
}

inline void ImageSurface::Pixels::set(int x, int y, QRgb value, DrawMode mode) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    QRgb& pixel = bits[static_cast<qsizetype>(y) * stride + x];
    pixel = mode == DrawMode::XorPen ? pixel ^ (value & 0x00FFFFFFu) : value;
}

inline void ImageSurface::Pixels::run(int x1, int x2, int y, QRgb value, DrawMode mode) {
    if (y < 0 || y >= height) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, width - 1);
    if (x1 > x2) return;
    QRgb* line = bits + static_cast<qsizetype>(y) * stride;
    if (mode == DrawMode::XorPen) {
        for (int x = x1; x <= x2; ++x)
            line[x] ^= value & 0x00FFFFFFu;
    } else {
        std::fill(line + x1, line + x2 + 1, value);
    }
}

void ImageSurface::drawBox(float x1, float y1, float x2, float y2, Rgb colour) {
    const auto [left, right] = std::minmax({pixelX(x1), pixelX(x2)});
    const auto [top, bottom] = std::minmax({pixelY(y1), pixelY(y2)});
    Pixels pixels = pixelsForDrawing();
    const QRgb value = toQRgb(colour);
    // Every pixel of the outline exactly once, so an exclusive-or box drawn
    // twice leaves the picture as it was.
    pixels.run(left, right, top, value, drawMode_);
    if (bottom > top) pixels.run(left, right, bottom, value, drawMode_);
    for (int y = std::max(top + 1, 0); y <= std::min(bottom - 1, pixels.height - 1); ++y) {
        pixels.set(left, y, value, drawMode_);
        if (right > left) pixels.set(right, y, value, drawMode_);
    }
    notifyChanged();
}

void ImageSurface::fillBox(float x1, float y1, float x2, float y2, Rgb colour) {
    const auto [x1p, x2p] = std::minmax({pixelX(x1), pixelX(x2)});
    const auto [y1p, y2p] = std::minmax({pixelY(y1), pixelY(y2)});
    Pixels pixels = pixelsForDrawing();
    const QRgb value = toQRgb(colour);
    const int left = std::max(x1p, 0);
    const int right = std::min(x2p, pixels.width - 1);
    const int top = std::max(y1p, 0);
    const int bottom = std::min(y2p, pixels.height - 1);
    for (int y = top; y <= bottom && left <= right; ++y)
        pixels.run(left, right, y, value, drawMode_);
    notifyChanged();
}

void ImageSurface::drawLine(float x1, float y1, float x2, float y2, Rgb colour) {
    PointD a{pixelXf(x1), pixelYf(y1)};
    PointD b{pixelXf(x2), pixelYf(y2)};
    if (penWidth_ == 1) {
        Pixels pixels = pixelsForDrawing();
        const QRgb value = toQRgb(colour);
        RasterLine(a, b, pixels.width, pixels.height,
                   [&](int x, int y) { pixels.set(x, y, value, drawMode_); });
        notifyChanged();
        return;
    }
    // Only the part that can touch the picture reaches the painter.
    const double margin = penWidth_ + 2.0;
    a = FinitePoint(a);
    b = FinitePoint(b);
    if (!ClipSegment(a, b, -margin, -margin, image_.width() - 1 + margin,
                     image_.height() - 1 + margin))
        return;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (drawMode_ == DrawMode::XorPen)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen{QColor(RedOf(colour), GreenOf(colour), BlueOf(colour))};
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const QPoint from(static_cast<int>(RoundHalfAway(a.x)), static_cast<int>(RoundHalfAway(a.y)));
    const QPoint to(static_cast<int>(RoundHalfAway(b.x)), static_cast<int>(RoundHalfAway(b.y)));
    if (from == to)
        painter.drawPoint(from); // a zero-length line still leaves a dot
    else
        painter.drawLine(from, to);
    painter.end();
    notifyChanged();
}

void ImageSurface::setPenWidth(int width) {
    if (width < 1) throw Failure(ErrorNumber::InvalidPropertyValue);
    penWidth_ = width;
}

void ImageSurface::refresh() {
    if (listener_.showNow) listener_.showNow();
}

std::string ImageSurface::encoded(const char* format) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image_.save(&buffer, format)) return {};
    return bytes.toStdString();
}

bool ImageSurface::savePicture(const std::string& path) const {
    const std::string bytes = encoded("BMP");
    return !bytes.empty() && !WriteWholeFile(path, bytes);
}

void ImageSurface::notifyChanged() {
    // One repaint request until the picture has been shown again.
    if (changeNotified_ || !listener_.changed) return;
    changeNotified_ = true;
    listener_.changed();
}

} // namespace kestrel
