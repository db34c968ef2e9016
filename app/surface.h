#pragma once
// The drawing area as the core sees it: a persistent picture with a user
// coordinate system. Sizes are in twips (1/1440 inch).
#include "cell_plot.h"
#include "rgb.h"

#include <string>
#include <vector>

namespace kestrel {

enum class DrawMode { CopyPen, XorPen };

struct UserScale {
    float left = 0;
    float top = 0;
    float width = 1;
    float height = 1;
};

// What the colours of a colour map stand for: band k covers values from
// edges[k] to edges[k + 1].
struct ColourLegend {
    std::string quantity;
    std::vector<Rgb> bands;
    std::vector<double> edges;
    bool operator==(const ColourLegend&) const = default;
};

class Surface {
  public:
    virtual ~Surface() = default;

    virtual double widthTwips() const = 0;
    virtual double heightTwips() const = 0;
    virtual void setHeightTwips(double twips) = 0;

    virtual void setScale(float left, float top, float width, float height) = 0;
    virtual UserScale scale() const = 0;

    virtual void clear() = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    virtual void drawBox(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    virtual void fillBox(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    // Lines with the plot's pen width; the surface's own stays as it was.
    virtual void drawCellPlot(const CellPlot& plot) = 0;

    virtual int penWidth() const = 0;
    // Widths below 1 fail with the invalid-property failure.
    virtual void setPenWidth(int width) = 0;
    virtual DrawMode drawMode() const = 0;
    virtual void setDrawMode(DrawMode mode) = 0;

    // The legend of the colour map just drawn, shown beside the picture and
    // never in it; clear() removes it.
    virtual void setLegend(ColourLegend legend) = 0;

    // Show what was drawn now, without waiting for the event loop.
    virtual void refresh() = 0;
    // Writes the picture as BMP whatever the name; false when it could not.
    virtual bool savePicture(const std::string& path) const = 0;
};

} // namespace kestrel
