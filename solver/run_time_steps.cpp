#include "run_time_steps.h"

#include "app/handler_guard.h"
#include "boundary_conditions.h"
#include "calculation_factors.h"
#include "flow_account.h"
#include "forces.h"
#include "runtime/failure.h"
#include "runtime/number_text.h"
#include "staggered/body_forces.h"
#include "staggered/staggered_solver.h"
#include "thread_choice.h"

#include <algorithm>
#include <chrono>

namespace kestrel {

namespace {

// What a run keeps of each step beside the field.
void clearRecords(SimulationState& m, int steps) {
    m.history.clear();
    m.historyMethod = m.method.method;
    m.history.reserve(static_cast<std::size_t>(std::max(steps, 0)));
    m.forceHistory.clear();
    m.monitorHistory.clear();
    m.health = {};
}

// time: since the run started; second: the staggered method's solver, if
// it is the one running.
void recordStep(SimulationState& m, int n, const StepReport& report, double time,
                const staggered::StaggeredSolver* second) {
    m.history.push_back(report);
    UpdateFlowHealth(m, m.health);
    auto forces =
        second ? staggered::ForcesOnBody(second->grid(), 1 / m.reynolds, m) : ForcesOnObstacle(m);
    if (forces) {
        forces->step = n;
        m.forceHistory.push_back(*forces);
    }
    if (m.monitorI >= 1 && m.monitorI <= m.nx && m.monitorJ >= 1 && m.monitorJ <= m.ny) {
        const int i = m.monitorI, j = m.monitorJ;
        m.monitorHistory.push_back({n, m.U(i, j), m.V(i, j), m.P(i, j), time});
    }
}

staggered::Settings secondMethodSettings(const SimulationState& m) {
    return {1 / m.reynolds,
            m.method.frictionlessWalls ? staggered::Walls::Slip : staggered::Walls::NoSlip,
            m.method.parabolicInflow ? staggered::Inflow::Parabolic : staggered::Inflow::Uniform};
}

std::string beyondStableStep(double dt, double limit) {
    return "時間刻み " + GeneralNumber(dt) + " が、この計算方法の今の流れでの安定限界 " +
           GeneralNumber(limit) + " を超えています。時間刻みを小さくするか、" +
           "時間刻みを自動で決めるようにしてください。";
}

// The staggered method's solver for this run, or why it cannot start.
std::optional<std::string> startSecondMethod(const SimulationState& m,
                                             std::optional<staggered::StaggeredSolver>& second) {
    auto grid = staggered::BuildMacGrid(m);
    if (auto problem = staggered::GridProblem(grid)) return problem;
    second.emplace(std::move(grid), secondMethodSettings(m));
    const double limit = second->stableTimeStep();
    if (!m.method.automaticTimeStep && !(m.dt <= limit)) return beyondStableStep(m.dt, limit);
    return std::nullopt;
}

struct FieldSnapshot {
    Array2<double> U, V, P;
    // Between parts of the copies `between` runs: on the largest mesh each
    // takes a noticeable part of a second the first time.
    void take(const SimulationState& m, const std::function<void()>& between) {
        U.copy(m.U, between);
        V.copy(m.V, between);
        P.copy(m.P, between);
    }
    void restore(SimulationState& m) const {
        m.U = U;
        m.V = V;
        m.P = P;
    }
};

// Steps on meshes this large take long enough that the window should be
// redrawn inside them, at most this often: a step of 1000 x 500 takes tens
// of milliseconds, one of the largest mesh seconds.
constexpr double kRedrawInsideStepsFrom = 1 << 18; // cells
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

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

RunEnd RunTimeSteps(SimulationState& m, Host& host, StepObserver& observer, SolverThreads threads) {
    // On a large mesh the window is redrawn between the phases of the run's
    // set-up and of each step, not only between steps.
    auto lastRedraw = std::chrono::steady_clock::now();
    SolverOptions options;
    options.threads = threads;
    if (static_cast<double>(m.nx) * m.ny >= kRedrawInsideStepsFrom)
        options.betweenPhases = [&] {
            if (std::chrono::steady_clock::now() - lastRedraw < kRedrawInterval) return;
            host.redrawDuringStep();
            lastRedraw = std::chrono::steady_clock::now();
        };
    const auto pulse = [&] {
        if (options.betweenPhases) options.betweenPhases();
    };
    if (auto problem = RunParameterProblem(m)) {
        host.message("計算を開始できません。" + *problem, Buttons::Ok);
        return RunEnd::Refused;
    }
    try {
        InitCalculationFactors(m, host);
    } catch (const Failure& f) {
        host.message(FailureMessage(f.japanese(), "計算因子初期化") + coordinatesHint(m),
                     Buttons::Ok);
        return RunEnd::Failed;
    }
    pulse();
    if (InitBoundaryConditions(m, host, options.betweenPhases) != 0) return RunEnd::Failed;
    pulse();
    SetInitialConditions(m, options.betweenPhases);
    std::optional<staggered::StaggeredSolver> second;
    if (m.method.method == Method::Staggered) {
        if (auto problem = startSecondMethod(m, second)) {
            host.message("計算を開始できません。" + *problem, Buttons::Ok);
            return RunEnd::Refused;
        }
        second->writeCellValues(m);
    }

    pulse();
    FieldSnapshot lastFinite;
    ThreadChooser chooser;
    const int steps = m.stepCount;
    clearRecords(m, steps);
    double time = 0;
    for (int n = 1; n <= steps; ++n) {
        host.processEvents();
        lastRedraw = std::chrono::steady_clock::now();
        if (m.stopRequested != 0) return RunEnd::Stopped;
        // The fields stay editable during a run; refuse what the step cannot use.
        if (auto problem = RunParameterProblem(m)) {
            host.message("計算を中止しました (" + stepText(n) + ")。" + *problem, Buttons::Ok);
            return RunEnd::Failed;
        }
        try {
            CheckSolverArrays(m);
        } catch (const Failure& f) {
            host.message(FailureMessage(f.japanese(), "計算実行 " + stepText(n)), Buttons::Ok);
            return RunEnd::Failed;
        }
        pulse();
        lastFinite.take(m, options.betweenPhases);
        pulse();
        StepReport report;
        if (second) {
            const double limit = second->stableTimeStep();
            const double dt = m.method.automaticTimeStep ? m.method.safety * limit : m.dt;
            if (!(dt <= limit)) {
                host.message("計算を中止しました (" + stepText(n) + ")。" +
                                 beyondStableStep(dt, limit),
                             Buttons::Ok);
                return RunEnd::Failed;
            }
            report = second->step(dt);
            second->writeCellValues(m);
            time += dt;
        } else {
            options.stepOnOneThread = chooser.beforeStep(m, threads);
            const auto start = std::chrono::steady_clock::now();
            report = AdvanceTimeStep(m, options);
            chooser.afterStep(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                report.sweeps);
            time = n * m.dt;
        }
        pulse();
        if (!FieldIsFinite(m)) {
            lastFinite.restore(m);
            host.message("計算が発散しました。" + stepText(n) +
                             "の時間ステップで値が数値の範囲を超えたため、計算を中止しました。" +
                             "結果は " + stepText(n - 1) +
                             "のものです。時間刻みを小さくしてください。",
                         Buttons::Ok);
            return RunEnd::Diverged;
        }
        pulse();
        recordStep(m, n, report, time, second ? &*second : nullptr);
        pulse();
        if (!observer.stepDone(n, report)) return RunEnd::Cancelled;
    }
    return RunEnd::Completed;
}

} // namespace kestrel
