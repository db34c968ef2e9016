#include "image_surface.h"

#include "runtime/failure.h"

#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

int pixelsOf(double twips) {
    return std::max(1, static_cast<int>(std::lround(twips / kTwipsPerPixel)));
}

QRgb toQRgb(Rgb c) {
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

// Pixel index of a user coordinate, saturated so that far-off points stay
// far off without overflowing int.
int saturatedRound(double v) {
    if (std::isnan(v)) return -1;
    return static_cast<int>(std::lround(std::clamp(v, -1.0e6, 1.0e6)));
}

} // namespace

ImageSurface::ImageSurface(double widthTwips, double heightTwips)
    : widthTwips_(widthTwips), heightTwips_(heightTwips),
      image_(pixelsOf(widthTwips), pixelsOf(heightTwips), QImage::Format_RGB32) {
    image_.fill(toQRgb(kBackground));
}

void ImageSurface::setHeightTwips(double twips) {
    // A picture too tall to hold in memory is refused like any bad height.
    if (!(twips >= 0 && twips <= kMaxHeightPixels * kTwipsPerPixel))
        throw Failure(ErrorNumber::InvalidPropertyValue);
    heightTwips_ = twips;
    const int rows = pixelsOf(twips);
    if (rows != image_.height()) {
        QImage resized(image_.width(), rows, QImage::Format_RGB32);
        resized.fill(toQRgb(kBackground));
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
        painter.end();
        image_ = resized;
    }
    if (listener_.resized) listener_.resized();
}

void ImageSurface::setScale(float left, float top, float width, float height) {
    scale_ = {left, top, width, height};
}

// The user range maps onto the pixel centres 0 .. size - 1, so the right and
// bottom edges of a drawing stay visible.
int ImageSurface::pixelX(double x) const {
    return saturatedRound((x - scale_.left) / scale_.width * (image_.width() - 1));
}
int ImageSurface::pixelY(double y) const {
    return saturatedRound((y - scale_.top) / scale_.height * (image_.height() - 1));
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

void ImageSurface::setPixel(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    if (drawMode_ == DrawMode::XorPen)
        line[x] ^= toQRgb(colour) & 0x00FFFFFFu;
    else
        line[x] = toQRgb(colour);
}

void ImageSurface::horizontalRun(int x1, int x2, int y, Rgb colour) {
    if (y < 0 || y >= image_.height()) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, image_.width() - 1);
    if (x1 > x2) return;
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    if (drawMode_ == DrawMode::XorPen) {
        for (int x = x1; x <= x2; ++x)
            line[x] ^= toQRgb(colour) & 0x00FFFFFFu;
    } else {
        std::fill(line + x1, line + x2 + 1, toQRgb(colour));
    }
}

void ImageSurface::verticalRun(int x, int y1, int y2, Rgb colour) {
    for (int y = y1; y <= y2; ++y)
        setPixel(x, y, colour);
}

void ImageSurface::drawBox(float x1, float y1, float x2, float y2, Rgb colour) {
    const auto [left, right] = std::minmax({pixelX(x1), pixelX(x2)});
    const auto [top, bottom] = std::minmax({pixelY(y1), pixelY(y2)});
    // Every pixel of the outline exactly once, so an exclusive-or box drawn
    // twice leaves the picture as it was.
    horizontalRun(left, right, top, colour);
    if (bottom > top) horizontalRun(left, right, bottom, colour);
    if (bottom - top > 1) {
        verticalRun(left, top + 1, bottom - 1, colour);
        if (right > left) verticalRun(right, top + 1, bottom - 1, colour);
    }
    notifyChanged();
}

void ImageSurface::fillBox(float x1, float y1, float x2, float y2, Rgb colour) {
    const auto [x1p, x2p] = std::minmax({pixelX(x1), pixelX(x2)});
    const auto [y1p, y2p] = std::minmax({pixelY(y1), pixelY(y2)});
    const int top = std::max(y1p, 0);
    const int bottom = std::min(y2p, image_.height() - 1);
    for (int y = top; y <= bottom; ++y)
        horizontalRun(x1p, x2p, y, colour);
    notifyChanged();
}

// Thin lines pixel by pixel: a painter per line would cost more than the
// line itself, and a plot draws one per cell.
void ImageSurface::thinLine(QPoint a, QPoint b, Rgb colour) {
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    QPoint p = a;
    while (true) {
        setPixel(p.x(), p.y(), colour);
        if (p == b) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.rx() += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.ry() += sy;
        }
    }
}

void ImageSurface::drawLine(float x1, float y1, float x2, float y2, Rgb colour) {
    if (penWidth_ == 1) {
        thinLine({pixelX(x1), pixelY(y1)}, {pixelX(x2), pixelY(y2)}, colour);
        notifyChanged();
        return;
    }
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (drawMode_ == DrawMode::XorPen)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen{QColor(redOf(colour), greenOf(colour), blueOf(colour))};
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const QPoint a(pixelX(x1), pixelY(y1));
    const QPoint b(pixelX(x2), pixelY(y2));
    if (a == b)
        painter.drawPoint(a); // a zero-length line still leaves a dot
    else
        painter.drawLine(a, b);
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

bool ImageSurface::savePicture(const std::string& path) const {
    QImageWriter writer(QString::fromStdString(path), "bmp");
    return writer.write(image_);
}

void ImageSurface::notifyChanged() {
    // One repaint request until the picture has been shown again.
    if (changeNotified_ || !listener_.changed) return;
    changeNotified_ = true;
    listener_.changed();
}

} // namespace kestrel
