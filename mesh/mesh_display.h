#pragma once
#include "app/host.h"
#include "app/module1.h"
#include "app/surface.h"

namespace kestrel {

// The mesh true to shape: fluid cells cyan, non-fluid red, black outlines.
void DrawMeshShape(Module1& m, Host& host, Surface& picture);
inline void Command6_Click(Module1& m, Host& host, Surface& picture) {
    DrawMeshShape(m, host, picture);
}

} // namespace kestrel
