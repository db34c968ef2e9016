#pragma once
// The field and the run's history as files other programs read: CSV for
// spreadsheets and scripts, legacy VTK for ParaView and its kin. Numbers
// have 17 significant digits, so they read back as the same doubles.
#include "app/simulation_state.h"

#include <string>
#include <vector>

namespace kestrel {

// i,j,x,y,U,V,P,vorticity of every cell, x and y its centre.
std::string FieldCsv(const SimulationState& m);

// A RECTILINEAR_GRID over the mesh nodes with CELL_DATA: P and speed as
// scalars, (U, V, 0) as the vectors "velocity".
std::string FieldVtk(const SimulationState& m);

// step,sweeps,lastError for every step (lastError empty when no sweep was made).
std::string HistoryCsv(const std::vector<StepReport>& history);

// step,Cd,Cl,CdPressure,CdFriction for every step that had an obstacle.
std::string ForcesCsv(const std::vector<ForceRecord>& forces);

} // namespace kestrel
