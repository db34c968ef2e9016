#pragma once
// Window layout in twips, the unit the window was designed in; Qt scales
// the resulting logical pixels on high-DPI screens.
#include "app/limits.h"

#include <QWidget>

namespace kestrel {

constexpr int TwipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(height));
}

} // namespace kestrel
