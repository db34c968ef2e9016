#pragma once
// The picture's pixels in bands of rows, so that a mesh far taller than wide
// still draws, shows and saves: a band of one colour is kept as that colour,
// the bands drawn on lately as pixels, and the others packed (zlib). The
// pixels held unpacked stay under a fixed budget whatever the height.
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

class QPainter;

namespace kestrel {

class BandedPicture {
  public:
    static constexpr int kBandRows = 256;
    static constexpr std::size_t kUnpackedBudgetBytes = std::size_t{256} << 20;

    BandedPicture(int columns, int rows, QRgb background,
                  std::size_t unpackedBudgetBytes = kUnpackedBudgetBytes);

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    void fill(QRgb value);
    // The top rows stay, new rows are the background.
    void resize(int rows);

    // Row y's pixels to change. The pointer stays valid until a row of a
    // third band is asked for (the two latest bands are never packed).
    QRgb* row(int y);
    // The band that holds row y, valid as row()'s pointers are.
    struct Span {
        int top = -(1 << 30); // row of pixels[0]
        QRgb* pixels = nullptr;
    };
    Span spanOf(int y) {
        row(y);
        return {current_.top, current_.pixels};
    }
    QRgb pixel(int x, int y) const;

    // Band b as an image to paint on; its top row is b * kBandRows.
    QImage bandForPainting(int band);
    int bandCount() const { return static_cast<int>(bands_.size()); }

    // The rows of area onto painter at their own position.
    void paint(QPainter& painter, QRect area) const;
    // Rows first .. first + count - 1 as one image (count small enough for memory).
    QImage rowsImage(int first, int count) const;

  private:
    enum class Form { Uniform, Unpacked, Packed };
    struct Band {
        Form form = Form::Uniform;
        QRgb colour = 0;
        std::vector<QRgb> pixels;
        QByteArray packed;
        std::uint64_t lastUse = 0;
    };
    std::size_t bandPixels() const { return static_cast<std::size_t>(columns_) * kBandRows; }
    // Makes band the current one, its pixels at hand.
    void enter(int band);
    void unpack(int band);
    void pack(int band);
    // The band's pixels for reading, unpacked into scratch when they are not at hand.
    const QRgb* readable(int band, std::vector<QRgb>& scratch) const;

    int columns_;
    int rows_;
    QRgb background_;
    std::vector<Band> bands_;
    std::vector<int> unpacked_; // the bands held as pixels
    std::size_t unpackedLimit_;
    std::uint64_t uses_ = 0;
    // The band rows are drawn on now: a line or a plot stays in one band for
    // many pixels, and finding it again for each would cost a plot a third.
    struct Current {
        int band = -1;
        int top = -(1 << 30);
        QRgb* pixels = nullptr;
    } current_;
};

inline QRgb* BandedPicture::row(int y) {
    const unsigned offset = static_cast<unsigned>(y - current_.top);
    if (offset >= static_cast<unsigned>(kBandRows)) enter(y / kBandRows);
    return current_.pixels + static_cast<std::size_t>(y - current_.top) * columns_;
}

} // namespace kestrel
