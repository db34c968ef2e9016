#pragma once
// The inflow of the staggered method, mean speed 1: uniform, or the fully
// developed channel profile. The parabola 1.5·(1 − (2y/H − 1)²) is taken as
// the method's own discrete form on this mesh (the steady solution of its
// diffusion with walls that have friction), which differs from the parabola
// by the mesh's second-order error, so that an empty channel keeps it to
// round-off.
#include "mac_grid.h"

#include <vector>

namespace kestrel::staggered {

enum class Inflow { Uniform, Parabolic };

// U on the inflow face of rows 1..ny (index 0 unused), whose flux over the
// channel height is H.
std::vector<double> InflowProfile(const MacGrid& g, Inflow inflow);

} // namespace kestrel::staggered
