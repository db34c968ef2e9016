#include "banded_picture.h"

#include <QPainter>
#include <algorithm>

namespace kestrel {

namespace {

int bandsFor(int rows) {
    return (rows + BandedPicture::kBandRows - 1) / BandedPicture::kBandRows;
}

QImage viewOf(const QRgb* pixels, int columns, int rows) {
    return QImage(reinterpret_cast<const uchar*>(pixels), columns, rows,
                  static_cast<qsizetype>(columns) * 4, QImage::Format_RGB32);
}

} // namespace

BandedPicture::BandedPicture(int columns, int rows, QRgb background,
                             std::size_t unpackedBudgetBytes)
    : columns_(columns), rows_(rows), background_(background),
      bands_(static_cast<std::size_t>(bandsFor(rows))),
      unpackedLimit_(std::max<std::size_t>(3, unpackedBudgetBytes / (bandPixels() * 4))) {
    fill(background);
}

void BandedPicture::fill(QRgb value) {
    // Unpacked bands stay unpacked: a plot clears and redraws the same
    // bands every step, and memory taken once is cheaper than taken again.
    // Rows past the picture's end are left alone: resize blanks them when
    // they come back.
    for (std::size_t b = 0; b < bands_.size(); ++b) {
        Band& band = bands_[b];
        if (band.form == Form::Unpacked) {
            const int rows = std::min(kBandRows, rows_ - static_cast<int>(b) * kBandRows);
            std::fill_n(band.pixels.begin(), static_cast<std::size_t>(rows) * columns_, value);
            continue;
        }
        band.form = Form::Uniform;
        band.colour = value;
        band.packed.clear();
    }
}

void BandedPicture::resize(int rows) {
    if (rows > rows_ && rows_ % kBandRows != 0) {
        // The old last band's unused rows may hold what was drawn before a
        // shrink; they become picture again, so blank them.
        const int end = std::min(rows, (rows_ / kBandRows + 1) * kBandRows);
        for (int y = rows_; y < end; ++y)
            std::fill_n(row(y), columns_, background_);
    }
    const std::size_t count = static_cast<std::size_t>(bandsFor(rows));
    if (count < bands_.size()) {
        std::erase_if(unpacked_, [&](int b) { return static_cast<std::size_t>(b) >= count; });
        current_ = {};
    }
    Band blank;
    blank.colour = background_;
    bands_.resize(count, blank);
    rows_ = rows;
}

void BandedPicture::enter(int b) {
    // The band left and the band entered are the two latest used, so
    // unpacking the one never packs the other.
    if (current_.band >= 0) bands_[static_cast<std::size_t>(current_.band)].lastUse = ++uses_;
    Band& band = bands_[static_cast<std::size_t>(b)];
    if (band.form != Form::Unpacked) unpack(b);
    band.lastUse = ++uses_;
    current_ = {b, b * kBandRows, band.pixels.data()};
}

void BandedPicture::unpack(int b) {
    Band& band = bands_[static_cast<std::size_t>(b)];
    if (band.form == Form::Uniform) {
        band.pixels.assign(bandPixels(), band.colour);
    } else {
        const QByteArray bytes = qUncompress(band.packed);
        band.pixels.resize(bandPixels());
        std::copy_n(reinterpret_cast<const QRgb*>(bytes.constData()), bandPixels(),
                    band.pixels.data());
        band.packed.clear();
    }
    band.form = Form::Unpacked;
    band.lastUse = ++uses_; // so that it is not the one packed again at once
    unpacked_.push_back(b);
    if (unpacked_.size() <= unpackedLimit_) return;
    const auto oldest = std::min_element(unpacked_.begin(), unpacked_.end(), [&](int x, int y) {
        return bands_[static_cast<std::size_t>(x)].lastUse <
               bands_[static_cast<std::size_t>(y)].lastUse;
    });
    const int victim = *oldest;
    unpacked_.erase(oldest);
    pack(victim);
}

void BandedPicture::pack(int b) {
    Band& band = bands_[static_cast<std::size_t>(b)];
    const QRgb first = band.pixels.front();
    if (std::all_of(band.pixels.begin(), band.pixels.end(), [&](QRgb p) { return p == first; })) {
        band.form = Form::Uniform;
        band.colour = first;
    } else {
        band.form = Form::Packed;
        band.packed = qCompress(reinterpret_cast<const uchar*>(band.pixels.data()),
                                static_cast<qsizetype>(band.pixels.size() * 4), 1);
    }
    std::vector<QRgb>().swap(band.pixels);
}

const QRgb* BandedPicture::readable(int b, std::vector<QRgb>& scratch) const {
    const Band& band = bands_[static_cast<std::size_t>(b)];
    if (band.form == Form::Unpacked) return band.pixels.data();
    if (band.form == Form::Uniform) {
        scratch.assign(bandPixels(), band.colour);
    } else {
        const QByteArray bytes = qUncompress(band.packed);
        scratch.assign(reinterpret_cast<const QRgb*>(bytes.constData()),
                       reinterpret_cast<const QRgb*>(bytes.constData()) + bandPixels());
    }
    return scratch.data();
}

QRgb BandedPicture::pixel(int x, int y) const {
    const Band& band = bands_[static_cast<std::size_t>(y / kBandRows)];
    if (band.form == Form::Uniform) return band.colour;
    std::vector<QRgb> scratch;
    return readable(y / kBandRows, scratch)[static_cast<std::size_t>(y % kBandRows) * columns_ + x];
}

QImage BandedPicture::bandForPainting(int b) {
    row(b * kBandRows);
    return QImage(reinterpret_cast<uchar*>(bands_[static_cast<std::size_t>(b)].pixels.data()),
                  columns_, kBandRows, static_cast<qsizetype>(columns_) * 4, QImage::Format_RGB32);
}

void BandedPicture::paint(QPainter& painter, QRect area) const {
    area &= QRect(0, 0, columns_, rows_);
    if (area.isEmpty()) return;
    std::vector<QRgb> scratch;
    for (int b = area.top() / kBandRows; b <= area.bottom() / kBandRows; ++b) {
        const int top = b * kBandRows;
        const int height = std::min(kBandRows, rows_ - top);
        const Band& band = bands_[static_cast<std::size_t>(b)];
        if (band.form == Form::Uniform) {
            painter.fillRect(QRect(area.left(), top, area.width(), height) & area,
                             QColor::fromRgb(band.colour));
            continue;
        }
        const QRect part = QRect(0, top, columns_, height) & area;
        painter.drawImage(part.topLeft(), viewOf(readable(b, scratch), columns_, kBandRows),
                          part.translated(0, -top));
    }
}

QImage BandedPicture::rowsImage(int first, int count) const {
    QImage image(columns_, count, QImage::Format_RGB32);
    std::vector<QRgb> scratch;
    for (int y = first; y < first + count;) {
        const int b = y / kBandRows;
        const int end = std::min(first + count, (b + 1) * kBandRows);
        const QRgb* pixels = readable(b, scratch);
        for (; y < end; ++y)
            std::copy_n(pixels + static_cast<std::size_t>(y % kBandRows) * columns_, columns_,
                        reinterpret_cast<QRgb*>(image.scanLine(y - first)));
    }
    return image;
}

} // namespace kestrel
