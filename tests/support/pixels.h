#pragma once
#include "canvas/image_surface.h"
#include "scripted_host.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kestrel::test {

// Colour (0xRRGGBB) of the pixel at a point in the surface's user coordinates.
inline QRgb pixelAt(const ImageSurface& s, double x, double y) {
    const QPointF p = s.toPixel(x, y);
    return s.pixel(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))) &
           0xFFFFFF;
}

// A drawing area the size of the main window's, with a host for messages.
class PictureTest : public ::testing::Test {
  protected:
    ScriptedHost host;
    ImageSurface s{kPictureWidthTwips, kPictureHeightTwips};
    QRgb at(double x, double y) const { return pixelAt(s, x, y); }
};

} // namespace kestrel::test
