#pragma once
// The explicit part of the staggered method's momentum equation on every
// face that moves: convection by MUSCL reconstruction with the van Leer
// limiter (second order where the flow is smooth, no new extrema near steep
// changes), diffusion by central differences, both conservative over the
// face's own control volume on the cells' real widths.
#include "mac_grid.h"

namespace kestrel::staggered {

enum class Walls { NoSlip, Slip };

// Fills the ghost values around the domain: walls (no-slip or frictionless),
// the inflow (the given U and V = 0) and the outflow (zero gradient).
void FillGhosts(const MacGrid& g, Walls walls, FaceField& u, FaceField& v);

// Whether a face's velocity moves with the flow (both its cells fluid).
bool UFaceMoves(const MacGrid& g, int i, int j);
bool VFaceMoves(const MacGrid& g, int i, int j);

// −convection + ν·diffusion on every moving face (other faces are left alone).
void MomentumTendency(const MacGrid& g, double nu, const FaceField& u, const FaceField& v,
                      FaceField& hu, FaceField& hv);

} // namespace kestrel::staggered
