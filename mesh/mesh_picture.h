#pragma once
// Fitting the drawing area to the mesh: the height from the mesh's aspect
// ratio, the user coordinates of the nodes, a clean picture.
#include "app/simulation_state.h"
#include "app/surface.h"

namespace kestrel {

// Uses xNode / yNode as they are. A far node at or below 0 is taken as one
// unit past the near node; a zero width fails with division by zero.
void PrepareMeshPicture(const SimulationState& m, Surface& picture);

// The height in twips that PrepareMeshPicture gives a picture widthTwips
// wide (negative for a mirrored mesh, infinite or NaN for a zero width).
double MeshPictureHeightTwips(const SimulationState& m, double widthTwips);

} // namespace kestrel
