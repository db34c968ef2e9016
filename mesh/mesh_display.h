#pragma once
#include "app/host.h"
#include "app/simulation_state.h"
#include "app/surface.h"

namespace kestrel {

// The mesh true to shape: fluid cells cyan, non-fluid red, black outlines.
void DrawMeshShape(SimulationState& m, Host& host, Surface& picture);

} // namespace kestrel
