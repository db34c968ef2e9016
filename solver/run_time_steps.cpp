#include "run_time_steps.h"

#include "app/handler_guard.h"
#include "boundary_conditions.h"
#include "calculation_factors.h"
#include "flow_account.h"
#include "forces.h"
#include "runtime/failure.h"
#include "thread_choice.h"

#include <algorithm>
#include <chrono>

namespace kestrel {

namespace {

// What a run keeps of each step beside the field.
void clearRecords(SimulationState& m, int steps) {
    m.history.clear();
    m.history.reserve(static_cast<std::size_t>(std::max(steps, 0)));
    m.forceHistory.clear();
    m.monitorHistory.clear();
    m.health = {};
}

void recordStep(SimulationState& m, int n, const StepReport& report) {
    m.history.push_back(report);
    UpdateFlowHealth(m, m.health);
    if (auto forces = ForcesOnObstacle(m)) {
        forces->step = n;
        m.forceHistory.push_back(*forces);
    }
    if (m.monitorI >= 1 && m.monitorI <= m.nx && m.monitorJ >= 1 && m.monitorJ <= m.ny) {
        const int i = m.monitorI, j = m.monitorJ;
        m.monitorHistory.push_back({n, m.U(i, j), m.V(i, j), m.P(i, j)});
    }
}

struct FieldSnapshot {
    Array2<double> U, V, P;
    void take(const SimulationState& m) {
        U = m.U;
        V = m.V;
        P = m.P;
    }
    void restore(SimulationState& m) const {
        m.U = U;
        m.V = V;
        m.P = P;
    }
};

std::string stepText(int n) {
    return std::to_string(n) + " 回目";
}

// What to do when the listed mesh misses node coordinates.
std::string coordinatesHint(const SimulationState& m) {
    const auto covers = [](const Array1<double>& list, int nodes) {
        return list.exists() && list.upper() >= nodes;
    };
    if (m.meshMode != kFalse || (covers(m.coordListX, m.nx + 1) && covers(m.coordListY, m.ny + 1)))
        return "";
    return "\n座標値指定で、X 方向 " + std::to_string(m.nx + 1) + " 個と Y 方向 " +
           std::to_string(m.ny + 1) + " 個の節点の座標を入力してください。";
}

} // namespace

RunEnd RunTimeSteps(SimulationState& m, Host& host, StepObserver& observer) {
    if (auto problem = RunParameterProblem(m)) {
        host.message("計算を開始できません。" + *problem, Buttons::Ok);
        return RunEnd::Refused;
    }
    try {
        InitCalculationFactors(m, host);
    } catch (const Failure& f) {
        host.message(FailureMessage(f.description(), "計算因子初期化") + coordinatesHint(m),
                     Buttons::Ok);
        return RunEnd::Failed;
    }
    if (InitBoundaryConditions(m, host) != 0) return RunEnd::Failed;
    SetInitialConditions(m);

    FieldSnapshot lastFinite;
    ThreadChooser threads;
    const int steps = m.stepCount;
    clearRecords(m, steps);
    for (int n = 1; n <= steps; ++n) {
        host.processEvents();
        if (m.stopRequested != 0) return RunEnd::Stopped;
        // The fields stay editable during a run; refuse what the step cannot use.
        if (auto problem = RunParameterProblem(m)) {
            host.message("計算を中止しました (" + stepText(n) + ")。" + *problem, Buttons::Ok);
            return RunEnd::Failed;
        }
        try {
            CheckSolverArrays(m);
        } catch (const Failure& f) {
            host.message(FailureMessage(f.description(), "計算実行 " + stepText(n)), Buttons::Ok);
            return RunEnd::Failed;
        }
        lastFinite.take(m);
        threads.beforeStep(m);
        const auto start = std::chrono::steady_clock::now();
        const StepReport report = AdvanceTimeStep(m);
        threads.afterStep(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            report.sweeps);
        if (!FieldIsFinite(m)) {
            lastFinite.restore(m);
            host.message("計算が発散しました。" + stepText(n) +
                             "の時間ステップで値が数値の範囲を超えたため、計算を中止しました。" +
                             "結果は " + stepText(n - 1) +
                             "のものです。時間刻みを小さくしてください。",
                         Buttons::Ok);
            return RunEnd::Diverged;
        }
        recordStep(m, n, report);
        if (!observer.stepDone(n, report)) return RunEnd::Cancelled;
    }
    return RunEnd::Completed;
}

} // namespace kestrel
