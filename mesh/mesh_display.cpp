#include "mesh_display.h"

#include "app/handler_guard.h"
#include "cells/cell_map.h"
#include "geometry/mesh_nodes.h"
#include "mesh_picture.h"
#include "runtime/failure.h"

namespace kestrel {

void DrawMeshShape(SimulationState& m, Host& host, Surface& picture) {
    try {
        BuildMeshNodes(m, host);
        PrepareMeshPicture(m, picture);
        for (int i = 2; i <= m.nx + 1; ++i) {
            for (int j = 2; j <= m.ny + 1; ++j) {
                const Rgb colour = CellColour(m.cellKind.at(i - 1, j - 1));
                DrawOutlinedBox(picture, static_cast<float>(m.xNode(i - 1)),
                                static_cast<float>(m.yNode(j - 1)), static_cast<float>(m.xNode(i)),
                                static_cast<float>(m.yNode(j)), colour);
            }
        }
    } catch (const Failure& f) {
        host.message(FailureMessage(f.japanese(), "相似形表示"), Buttons::Ok);
    }
}

} // namespace kestrel
