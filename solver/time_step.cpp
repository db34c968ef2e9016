#include "time_step.h"

#include "pressure_iterations.h"
#include "runtime/failure.h"
#include "solver_steps.h"

#include <cmath>

namespace kestrel {

namespace {

std::optional<std::string> meshCountProblem(const char* name, int count) {
    if (count < kMinRunMeshCount)
        return std::string("メッシュ数 ") + name + " が " + std::to_string(count) +
               " です。計算には " + std::to_string(kMinRunMeshCount) + " 以上が必要です。";
    if (count > kMaxMeshCount)
        return std::string("メッシュ数 ") + name + " が " + std::to_string(count) + " です。" +
               std::to_string(kMaxMeshCount) + " 以下にしてください。";
    return std::nullopt;
}

bool covers(const Array2<double>& a, int nx, int ny) {
    return a.inRange(nx, ny);
}

} // namespace

std::optional<std::string> RunParameterProblem(const CaseParameters& m) {
    if (auto p = meshCountProblem("X", m.nx)) return p;
    if (auto p = meshCountProblem("Y", m.ny)) return p;
    if (static_cast<long long>(m.nx + 2) * (m.ny + 2) > kMaxMeshCells)
        return "メッシュ数 X × Y (" + std::to_string(m.nx) + " × " + std::to_string(m.ny) +
               ") が大きすぎます。" + std::to_string(kMaxMeshCells) + " セル以下にしてください。";
    if (m.dt == 0) return std::string("時間刻みが 0 です。0 以外の値を入力してください。");
    if (m.reynolds == 0)
        return std::string("レイノルズ数が 0 です。0 以外の値を入力してください。");
    return std::nullopt;
}

bool SolverArraysCover(const SimulationState& m) {
    const int nx = m.nx;
    const int ny = m.ny;
    bool ok = covers(m.U, nx, ny) && covers(m.V, nx, ny) && covers(m.P, nx, ny) &&
              covers(m.work1, nx, ny) && covers(m.work2, nx, ny) && covers(m.work3, nx, ny) &&
              m.cellKind.inRange(nx, ny) && m.bcMapA.inRange(nx, ny) && m.bcMapB.inRange(nx, ny);
    for (const auto* f : {&m.facX1, &m.facX2, &m.facX3, &m.facX4, &m.facX5})
        ok = ok && f->inRange(nx);
    for (const auto* f : {&m.facY1, &m.facY2, &m.facY3, &m.facY4, &m.facY5})
        ok = ok && f->inRange(ny);
    return ok;
}

void CheckSolverArrays(const SimulationState& m) {
    if (!SolverArraysCover(m)) ThrowOutOfRange();
}

StepReport AdvanceTimeStep(SimulationState& m) {
    return AdvanceTimeStep(m, {});
}

StepReport AdvanceTimeStep(SimulationState& m, const SolverOptions& options) {
    const auto between = [&] {
        if (options.betweenPhases) options.betweenPhases();
    };
    SetVelocityBoundary(m);
    ComputeProvisionalVelocity(m, options);
    between();
    PreparePressureEquation(m, options);
    between();
    const StepReport report = SolvePressure(m, options);
    between();
    CorrectVelocity(m, options);
    return report;
}

bool FieldIsFinite(const FlowField& m) {
    for (const auto* a : {&m.U, &m.V, &m.P}) {
        for (int j = 0; j <= a->upper2(); ++j) {
            const double* row = a->row(j);
            double probe = 0;
            for (int i = 0; i <= a->upper1(); ++i)
                probe += row[i] - row[i]; // 0 for finite values, NaN otherwise
            if (probe != 0) return false;
        }
    }
    return true;
}

} // namespace kestrel
