#pragma once
#include "canvas/image_surface.h"

#include <cmath>

namespace kestrel::test {

// Colour (0xRRGGBB) of the pixel at a point in the surface's user coordinates.
inline QRgb pixelAt(const ImageSurface& s, double x, double y) {
    const QPointF p = s.toPixel(x, y);
    return s.image().pixel(static_cast<int>(std::lround(p.x())),
                           static_cast<int>(std::lround(p.y()))) &
           0xFFFFFF;
}

} // namespace kestrel::test
