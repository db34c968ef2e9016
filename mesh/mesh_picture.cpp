#include "mesh_picture.h"

#include "runtime/failure.h"

namespace kestrel {

void PrepareMeshPicture(const SimulationState& m, Surface& picture) {
    const double x1 = m.xNode.at(1);
    double x2 = m.xNode.at(m.nx + 1);
    const double y1 = m.yNode.at(1);
    double y2 = m.yNode.at(m.ny + 1);
    if (x2 <= 0) x2 = x1 + 1;
    if (y2 <= 0) y2 = y1 + 1;
    const double w = x2 - x1;
    const double h = y2 - y1;
    if (w == 0) ThrowDivisionByZero();
    picture.setHeightTwips(static_cast<float>(h * picture.widthTwips() / w));
    SetPictureScale(picture, x1, y1, x2, y2);
    picture.clear();
}

} // namespace kestrel
