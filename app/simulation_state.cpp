#include "simulation_state.h"

#include "surface.h"

namespace kestrel {

void SetPictureScale(Surface& picture, double left, double top, double right, double bottom) {
    const float t = static_cast<float>(top);
    const float l = static_cast<float>(left);
    const float h = static_cast<float>(bottom - top);
    const float w = static_cast<float>(right - left);
    picture.setScale(l, t, w, h);
}

} // namespace kestrel
