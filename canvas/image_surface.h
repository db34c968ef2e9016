#pragma once
// The drawing area's persistent picture: what is drawn stays until cleared,
// is shown by the picture widget and saved as BMP.
#include "app/limits.h"
#include "app/surface.h"
#include "banded_picture.h"
#include "line_raster.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <functional>
#include <optional>

namespace kestrel {

class ImageSurface : public Surface {
  public:
    ImageSurface(double widthTwips, double heightTwips);

    double widthTwips() const override { return widthTwips_; }
    double heightTwips() const override { return heightTwips_; }
    void setHeightTwips(double twips) override;

    void setScale(float left, float top, float width, float height) override;
    UserScale scale() const override { return scale_; }

    void clear() override;
    void drawLine(float x1, float y1, float x2, float y2, Rgb colour) override;
    void drawBox(float x1, float y1, float x2, float y2, Rgb colour) override;
    void fillBox(float x1, float y1, float x2, float y2, Rgb colour) override;
    void drawCellPlot(const CellPlot& plot) override;

    int penWidth() const override { return penWidth_; }
    void setPenWidth(int width) override;
    DrawMode drawMode() const override { return drawMode_; }
    void setDrawMode(DrawMode mode) override { drawMode_ = mode; }

    void setLegend(ColourLegend legend) override;
    const std::optional<ColourLegend>& legend() const { return legend_; }

    void refresh() override;
    bool savePicture(const std::string& path) const override;
    // The picture as the bytes of an image file ("BMP", "PNG"); empty when it cannot be encoded.
    std::string encoded(const char* format) const;

    QSize size() const { return {columns_, rows_}; }
    // The whole picture as one image: for pictures that fit in memory twice.
    QImage image() const;
    QRgb pixel(int x, int y) const { return pixels_.pixel(x, y); }
    // The part of the picture in area onto painter, at its own position.
    void paint(QPainter& painter, QRect area) const { pixels_.paint(painter, area); }
    // Pixel position (fractions allowed) to user coordinates.
    QPointF toUser(QPointF pixel) const;
    QPointF toPixel(double x, double y) const;

    // Told when the picture changed (repaint later) or must show now
    // (refresh), and when its size changed.
    struct Listener {
        std::function<void()> changed;
        std::function<void()> showNow;
        std::function<void()> resized;
    };
    void setListener(Listener listener) { listener_ = std::move(listener); }
    // The widget has painted the picture as it is now.
    void shown() { changeNotified_ = false; }

    // The tallest a widget can be; memory does not limit the height.
    static constexpr double kMaxHeightPixels = 16777215;
    static constexpr Rgb kBackground = MakeRgb(255, 255, 255);

  private:
    // The picture's pixels for one drawing operation.
    struct Pixels {
        BandedPicture* picture;
        int width;
        int height;
        // The band at hand, kept here rather than asked of the picture for
        // every pixel: a plot's lines are most of its pixels.
        BandedPicture::Span band;
        QRgb* row(int y) {
            if (static_cast<unsigned>(y - band.top) >= unsigned{BandedPicture::kBandRows})
                band = picture->spanOf(y);
            return band.pixels + static_cast<std::size_t>(y - band.top) * width;
        }
        void set(int x, int y, QRgb value, DrawMode mode);          // nothing outside the picture
        void run(int x1, int x2, int y, QRgb value, DrawMode mode); // x1..x2 of row y, clipped
    };
    Pixels pixelsForDrawing();
    static QRgb toQRgb(Rgb c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }
    // The last two conversions along one axis: a plot converts the same node
    // coordinates over and over, and a conversion costs a division.
    struct AxisMemo {
        double user[2] = {0, 0};
        int pixel[2] = {0, 0};
        int filled = 0; // entries in use
        int next = 0;   // the entry to replace
        template <typename Convert> int lookup(double v, Convert convert);
    };
    void drawCellPlotInOrder(const CellPlot& plot);
    void drawCellPlotAtOnce(const CellPlot& plot);
    void drawWideLine(PointD a, PointD b, Rgb colour);
    // The user range maps onto the pixel centres 0 .. size - 1, so the right
    // and bottom edges of a drawing stay visible.
    double pixelXf(double x) const { return (x - scale_.left) / scale_.width * (columns_ - 1); }
    double pixelYf(double y) const { return (y - scale_.top) / scale_.height * (rows_ - 1); }
    int pixelX(double x);
    int pixelY(double y);
    void notifyChanged();

    double widthTwips_;
    double heightTwips_;
    BandedPicture pixels_;
    // The picture's size in pixels, kept beside it: every coordinate needs it.
    int columns_;
    int rows_;
    UserScale scale_;
    AxisMemo memoX_, memoY_; // emptied whenever the scale or the size changes
    int penWidth_ = 1;
    DrawMode drawMode_ = DrawMode::CopyPen;
    Listener listener_;
    bool changeNotified_ = false;
    std::optional<ColourLegend> legend_;
};

} // namespace kestrel
