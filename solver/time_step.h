#pragma once
// One whole time step, and the checks that keep a run from starting or
// going on with inputs the solver cannot use.
#include "app/simulation_state.h"
#include "solver_options.h"

#include <optional>
#include <string>

namespace kestrel {

constexpr double kPressureTolerance = 0.0001;

// An error at or below the tolerance ends the pressure iteration of a step.
constexpr bool PressureConverged(double error) {
    return error <= kPressureTolerance;
}

// Velocity boundary, provisional velocity, up to maxIter pressure sweeps
// ending at an error <= kPressureTolerance, velocity correction.
StepReport AdvanceTimeStep(SimulationState& m);
StepReport AdvanceTimeStep(SimulationState& m, const SolverOptions& options);

// Why the solver cannot run with these parameters; nullopt when it can.
std::optional<std::string> RunParameterProblem(const CaseParameters& m);

// Whether every array a time step reads or writes covers the current nx and ny.
bool SolverArraysCover(const SimulationState& m);

// Throws the index failure when an array the step reads or writes does not
// cover the current nx and ny.
void CheckSolverArrays(const SimulationState& m);

bool FieldIsFinite(const FlowField& m);

} // namespace kestrel
