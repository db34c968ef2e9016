#pragma once
// Window layout in twips, the unit the window was designed in; Qt scales
// the resulting logical pixels on high-DPI screens.
#include <QWidget>

namespace kestrel {

constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}

inline void placeTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

} // namespace kestrel
