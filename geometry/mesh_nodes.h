#pragma once
// Node coordinates of the mesh, from equal spacing or the stored lists.
#include "app/host.h"
#include "app/simulation_state.h"

namespace kestrel {

inline const std::string kMissingXMessage = "X座標が設定されていない箇所があります";
inline const std::string kMissingXYMessage = "XY座標が設定されていない箇所があります";

// Fills xNode / yNode. An unset node is reported once per call; a list
// without an element for a node fails with the index failure.
void BuildMeshNodes(SimulationState& m, Host& host);

} // namespace kestrel
