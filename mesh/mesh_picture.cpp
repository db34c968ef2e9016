#include "mesh_picture.h"

#include "runtime/failure.h"

namespace kestrel {

namespace {

struct Corners {
    double x1, y1, x2, y2;
};

Corners cornersOf(const SimulationState& m) {
    Corners c{m.xNode.at(1), m.yNode.at(1), m.xNode.at(m.nx + 1), m.yNode.at(m.ny + 1)};
    if (c.x2 <= 0) c.x2 = c.x1 + 1;
    if (c.y2 <= 0) c.y2 = c.y1 + 1;
    return c;
}

} // namespace

double MeshPictureHeightTwips(const SimulationState& m, double widthTwips) {
    const Corners c = cornersOf(m);
    return static_cast<float>((c.y2 - c.y1) * widthTwips / (c.x2 - c.x1));
}

void PrepareMeshPicture(const SimulationState& m, Surface& picture) {
    const Corners c = cornersOf(m);
    if (c.x2 - c.x1 == 0) ThrowDivisionByZero();
    picture.setHeightTwips(MeshPictureHeightTwips(m, picture.widthTwips()));
    SetPictureScale(picture, c.x1, c.y1, c.x2, c.y2);
    picture.clear();
}

} // namespace kestrel
