#include "image_surface.h"

#include "bmp_file.h"
#include "runtime/failure.h"
#include "runtime/file_writing.h"

#include <QBuffer>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

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

// Its resolution is the one the twips imply (15 to a pixel: 96 per inch),
// not the screen's, so that the window and the runner save the same file.
const int kDotsPerMetre = static_cast<int>(std::lround(1440 / kTwipsPerPixel / 0.0254));

// A picture held twice for one image (PNG, tests) stays below this.
constexpr qsizetype kMaxWholeImageBytes = qsizetype{1} << 30;

} // namespace

ImageSurface::ImageSurface(double widthTwips, double heightTwips)
    : widthTwips_(widthTwips), heightTwips_(heightTwips),
      pixels_(pixelsOf(widthTwips), pixelsOf(heightTwips), toQRgb(kBackground)),
      columns_(pixels_.columns()), rows_(pixels_.rows()) {}

void ImageSurface::setHeightTwips(double twips) {
    if (!(twips >= 0 && twips <= kMaxHeightPixels * kTwipsPerPixel))
        throw Failure(ErrorNumber::InvalidPropertyValue);
    heightTwips_ = twips;
    const int rows = pixelsOf(twips);
    if (rows != rows_) {
        pixels_.resize(rows);
        rows_ = rows;
        memoY_ = {};
    }
    if (listener_.resized) listener_.resized();
}

QImage ImageSurface::image() const {
    if (qsizetype{columns_} * rows_ * 4 > kMaxWholeImageBytes) return {};
    QImage whole = pixels_.rowsImage(0, rows_);
    whole.setDotsPerMeterX(kDotsPerMetre);
    whole.setDotsPerMeterY(kDotsPerMetre);
    return whole;
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
    return {scale_.left + pixel.x() * scale_.width / std::max(1, columns_ - 1),
            scale_.top + pixel.y() * scale_.height / std::max(1, rows_ - 1)};
}

QPointF ImageSurface::toPixel(double x, double y) const {
    return {pixelXf(x), pixelYf(y)};
}

void ImageSurface::clear() {
    pixels_.fill(toQRgb(kBackground));
    legend_.reset();
    notifyChanged();
}

ImageSurface::Pixels ImageSurface::pixelsForDrawing() {
    return {&pixels_, columns_, rows_, {}};
}

inline void ImageSurface::Pixels::set(int x, int y, QRgb value, DrawMode mode) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    QRgb& pixel = row(y)[x];
    pixel = mode == DrawMode::XorPen ? pixel ^ (value & 0x00FFFFFFu) : value;
}

inline void ImageSurface::Pixels::run(int x1, int x2, int y, QRgb value, DrawMode mode) {
    if (y < 0 || y >= height) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, width - 1);
    if (x1 > x2) return;
    QRgb* line = row(y);
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
    drawWideLine(a, b, colour);
    notifyChanged();
}

void ImageSurface::drawWideLine(PointD a, PointD b, Rgb colour) {
    // Only the part that can touch the picture reaches the painter.
    const double margin = penWidth_ + 2.0;
    a = FinitePoint(a);
    b = FinitePoint(b);
    if (!ClipSegment(a, b, -margin, -margin, columns_ - 1 + margin, rows_ - 1 + margin)) return;
    const QPoint from(static_cast<int>(RoundHalfAway(a.x)), static_cast<int>(RoundHalfAway(a.y)));
    const QPoint to(static_cast<int>(RoundHalfAway(b.x)), static_cast<int>(RoundHalfAway(b.y)));
    QPen pen{QColor(RedOf(colour), GreenOf(colour), BlueOf(colour))};
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    // Each band the pen can reach is painted with the line moved by its top
    // row, a whole number of pixels, so the bands join as one picture would.
    const int reach = penWidth_ + 1;
    const int firstBand =
        std::max(0, (std::min(from.y(), to.y()) - reach)) / BandedPicture::kBandRows;
    const int lastBand =
        std::min(pixels_.bandCount() - 1,
                 std::max(0, std::max(from.y(), to.y()) + reach) / BandedPicture::kBandRows);
    for (int band = firstBand; band <= lastBand; ++band) {
        QImage part = pixels_.bandForPainting(band);
        QPainter painter(&part);
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (drawMode_ == DrawMode::XorPen)
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(pen);
        const QPoint shift(0, band * BandedPicture::kBandRows);
        if (from == to)
            painter.drawPoint(from - shift); // a zero-length line still leaves a dot
        else
            painter.drawLine(from - shift, to - shift);
    }
}

void ImageSurface::setPenWidth(int width) {
    if (width < 1) throw Failure(ErrorNumber::InvalidPropertyValue);
    penWidth_ = width;
}

void ImageSurface::setLegend(ColourLegend legend) {
    legend_ = std::move(legend);
    notifyChanged();
}

void ImageSurface::refresh() {
    if (listener_.showNow) listener_.showNow();
}

std::string ImageSurface::encoded(const char* format) const {
    if (std::string_view(format) == "BMP") {
        if (BmpFileSize(pixels_) > kMaxWholeImageBytes) return {};
        std::string bytes;
        const auto pieces = BmpPieces(pixels_, kDotsPerMetre);
        for (std::string_view piece = pieces(); !piece.empty(); piece = pieces())
            bytes += piece;
        return bytes;
    }
    const QImage whole = image();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (whole.isNull() || !whole.save(&buffer, format)) return {};
    return bytes.toStdString();
}

bool ImageSurface::savePicture(const std::string& path) const {
    if (BmpFileSize(pixels_) > std::numeric_limits<std::uint32_t>::max()) return false;
    return !WriteWholeFile(path, BmpPieces(pixels_, kDotsPerMetre));
}

void ImageSurface::notifyChanged() {
    // One repaint request until the picture has been shown again.
    if (changeNotified_ || !listener_.changed) return;
    changeNotified_ = true;
    listener_.changed();
}

} // namespace kestrel
