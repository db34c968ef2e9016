#include "image_surface.h"

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
double ImageSurface::pixelXf(double x) const {
    return (x - scale_.left) / scale_.width * (image_.width() - 1);
}
double ImageSurface::pixelYf(double y) const {
    return (y - scale_.top) / scale_.height * (image_.height() - 1);
}
int ImageSurface::pixelX(double x) const {
    return saturatedRound(pixelXf(x));
}
int ImageSurface::pixelY(double y) const {
    return saturatedRound(pixelYf(y));
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
    if (x < 0 || x >= image_.width()) return;
    for (int y = std::max(y1, 0); y <= std::min(y2, image_.height() - 1); ++y)
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

namespace {

// Liang-Barsky: the part of the segment a-b inside the box; false when none.
// The segment is taken from its middle, c + t h with t in -1..1, so that
// where a very long line crosses the box is found to the precision of the
// box, not of the far ends.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& box) {
    const QPointF c = a * 0.5 + b * 0.5;
    const QPointF h = b * 0.5 - a * 0.5;
    double t0 = -1;
    double t1 = 1;
    const double p[4] = {-h.x(), h.x(), -h.y(), h.y()};
    const double q[4] = {c.x() - box.left(), box.right() - c.x(), c.y() - box.top(),
                         box.bottom() - c.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    // An end inside the box stays exactly as it was.
    if (t0 > -1) a = c + t0 * h;
    if (t1 < 1) b = c + t1 * h;
    return true;
}

// Far enough outside any picture that clipping there changes no pixel inside
// it, near enough that pixel arithmetic stays exact in 64 bits.
constexpr double kFar = 1099511627776.0; // 2^40

QPointF finitePoint(double x, double y) {
    const auto limit = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -1e300, 1e300); };
    return {limit(x), limit(y)};
}

// First k in [lo, hi] where the monotone predicate holds; hi + 1 when none does.
template <typename Predicate> long long firstTrue(long long lo, long long hi, Predicate holds) {
    while (lo <= hi) {
        const long long mid = lo + (hi - lo) / 2;
        if (holds(mid))
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return lo;
}

} // namespace

// Thin lines pixel by pixel: a painter per line would cost more than the
// line itself, and a plot draws one per cell. The pixels are those of the
// midpoint rule from the end that comes first (left, then top), so a line
// and its reverse are the same; only the steps that land in the picture are
// visited, so a line costs what it shows, however long it is.
void ImageSurface::thinLine(QPointF a, QPointF b, Rgb colour) {
    if (!clipSegment(a, b, QRectF(QPointF(-kFar, -kFar), QPointF(kFar, kFar)))) return;
    long long x0 = std::llround(a.x());
    long long y0 = std::llround(a.y());
    long long x1 = std::llround(b.x());
    long long y1 = std::llround(b.y());
    if (std::pair(x1, y1) < std::pair(x0, y0)) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    const long long major0 = xMajor ? x0 : y0;
    const long long minor0 = xMajor ? y0 : x0;
    const long long majorSteps = std::llabs(xMajor ? x1 - x0 : y1 - y0);
    const long long minorSteps = std::llabs(xMajor ? y1 - y0 : x1 - x0);
    const int majorSign = (xMajor ? x1 >= x0 : y1 >= y0) ? 1 : -1;
    const int minorSign = (xMajor ? y1 >= y0 : x1 >= x0) ? 1 : -1;
    const long long majorSize = xMajor ? image_.width() : image_.height();
    const long long minorSize = xMajor ? image_.height() : image_.width();
    // Minor coordinate after k major steps: round(k * minorSteps / majorSteps), halves down.
    const auto minorAt = [&](long long k) -> long long {
        if (majorSteps == 0) return minor0;
        const __int128 numerator = static_cast<__int128>(2 * k) * minorSteps + majorSteps;
        return minor0 + minorSign * static_cast<long long>(numerator / (2 * majorSteps));
    };
    // Steps whose major coordinate lies in the picture.
    long long first = majorSign > 0 ? -major0 : major0 - (majorSize - 1);
    long long last = majorSign > 0 ? majorSize - 1 - major0 : major0;
    first = std::max(first, 0LL);
    last = std::min(last, majorSteps);
    if (first > last) return;
    // The minor coordinate moves one way only: the steps inside form one run.
    if (minorSign > 0) {
        first = firstTrue(first, last, [&](long long k) { return minorAt(k) >= 0; });
        last = firstTrue(first, last, [&](long long k) { return minorAt(k) > minorSize - 1; }) - 1;
    } else {
        first = firstTrue(first, last, [&](long long k) { return minorAt(k) <= minorSize - 1; });
        last = firstTrue(first, last, [&](long long k) { return minorAt(k) < 0; }) - 1;
    }
    for (long long k = first; k <= last; ++k) {
        const long long major = major0 + majorSign * k;
        const long long minor = minorAt(k);
        setPixel(static_cast<int>(xMajor ? major : minor), static_cast<int>(xMajor ? minor : major),
                 colour);
    }
}

void ImageSurface::drawLine(float x1, float y1, float x2, float y2, Rgb colour) {
    QPointF a = finitePoint(pixelXf(x1), pixelYf(y1));
    QPointF b = finitePoint(pixelXf(x2), pixelYf(y2));
    if (penWidth_ == 1) {
        thinLine(a, b, colour);
        notifyChanged();
        return;
    }
    // Only the part that can touch the picture reaches the painter.
    const double margin = penWidth_ + 2.0;
    if (!clipSegment(a, b,
                     QRectF(QPointF(-margin, -margin),
                            QPointF(image_.width() - 1 + margin, image_.height() - 1 + margin))))
        return;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (drawMode_ == DrawMode::XorPen)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen{QColor(redOf(colour), greenOf(colour), blueOf(colour))};
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const QPoint from(static_cast<int>(std::lround(a.x())), static_cast<int>(std::lround(a.y())));
    const QPoint to(static_cast<int>(std::lround(b.x())), static_cast<int>(std::lround(b.y())));
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
