// What the flow does beyond its field: drag and lift on the painted obstacle
// against a plain loop over the formula, written here apart from the
// product's code (every step of runs on an equal mesh, a stretched mesh with
// two bodies and cells against the walls); the monitor cell's record and the
// Strouhal number taken from it.
#include "cells/cell_map.h"
#include "fields/vorticity.h"
#include "report/strouhal.h"
#include "solver/flow_account.h"
#include "solver/run_time_steps.h"
#include "support/scripted_host.h"
#include "support/sweep_recorder.h"
#include "support/test_state.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

struct Expected {
    double fx = 0, fy = 0, fxPressure = 0, fxFriction = 0, height = 0;
};

// The formula as written down for every tool that reports forces.
Expected plainLoop(const SimulationState& m) {
    Expected e;
    const double nu = 1 / m.reynolds;
    auto x = [&](int i) { return m.xNode.at(i); };
    auto y = [&](int j) { return m.yNode.at(j); };
    auto inside = [&](int i, int j) { return 3 <= i && i <= m.nx - 2 && 3 <= j && j <= m.ny - 2; };
    auto fluid = [&](int i, int j) { return inside(i, j) && m.cellKind.at(i, j) != 0; };
    for (int j = 3; j <= m.ny - 2; ++j) {
        const double ly = (y(j + 1) - y(j - 1)) / 2;
        bool rowHasCell = false;
        for (int i = 3; i <= m.nx - 2; ++i) {
            if (m.cellKind.at(i, j) != 0) continue;
            rowHasCell = true;
            const double lx = (x(i + 1) - x(i - 1)) / 2;
            if (fluid(i - 1, j)) {
                e.fx += m.P.at(i - 1, j) * ly;
                e.fxPressure += m.P.at(i - 1, j) * ly;
                e.fy += nu * m.V.at(i - 1, j) / (x(i) - x(i - 1)) * ly;
            }
            if (fluid(i + 1, j)) {
                e.fx -= m.P.at(i + 1, j) * ly;
                e.fxPressure -= m.P.at(i + 1, j) * ly;
                e.fy += nu * m.V.at(i + 1, j) / (x(i + 1) - x(i)) * ly;
            }
            if (fluid(i, j - 1)) {
                e.fy += m.P.at(i, j - 1) * lx;
                e.fx += nu * m.U.at(i, j - 1) / (y(j) - y(j - 1)) * lx;
                e.fxFriction += nu * m.U.at(i, j - 1) / (y(j) - y(j - 1)) * lx;
            }
            if (fluid(i, j + 1)) {
                e.fy -= m.P.at(i, j + 1) * lx;
                e.fx += nu * m.U.at(i, j + 1) / (y(j + 1) - y(j)) * lx;
                e.fxFriction += nu * m.U.at(i, j + 1) / (y(j + 1) - y(j)) * lx;
            }
        }
        if (rowHasCell) e.height += ly;
    }
    return e;
}

void expectClose(double actual, double expected, const char* what, int step) {
    EXPECT_LE(std::abs(actual - expected), 1e-12 * std::max(1.0, std::abs(expected)))
        << what << " at step " << step << ": " << actual << " against " << expected;
}

// After every step, the recorded coefficients against the plain loop.
struct CheckEveryStep : StepObserver {
    const SimulationState& m;
    int checked = 0;
    explicit CheckEveryStep(const SimulationState& state) : m(state) {}
    bool stepDone(int n, const StepReport&) override {
        const Expected e = plainLoop(m);
        if (e.height == 0) {
            EXPECT_TRUE(m.forceHistory.empty() || m.forceHistory.back().step != n);
            return true;
        }
        const ForceRecord& f = m.forceHistory.back();
        EXPECT_EQ(f.step, n);
        const double half = e.height / 2;
        expectClose(f.cd, e.fx / half, "Cd", n);
        expectClose(f.cl, e.fy / half, "Cl", n);
        expectClose(f.cdPressure, e.fxPressure / half, "CdPressure", n);
        expectClose(f.cdFriction, e.fxFriction / half, "CdFriction", n);
        ++checked;
        return true;
    }
};

int runChecked(SimulationState& m) {
    test::ScriptedHost host;
    CheckEveryStep check(m);
    EXPECT_EQ(RunTimeSteps(m, host, check), RunEnd::Completed);
    return check.checked;
}

TEST(Forces, TheDefaultObstacleMatchesThePlainLoopAndItsPublishedValues) {
    SimulationState m = test::defaultState();
    InitCellMap(m);
    test::addDefaultObstacle(m);
    EXPECT_EQ(runChecked(m), 400);
    ASSERT_EQ(m.forceHistory.size(), 400u);
    EXPECT_NEAR(m.forceHistory.back().cd, 2.95665023, 5e-9);
    EXPECT_NEAR(m.forceHistory.back().cl, -0.00734755750, 5e-12);
}

TEST(Forces, AStretchedMeshWithTwoBodiesMatchesThePlainLoop) {
    SimulationState m = test::meshState(30, 18);
    test::stretchCoordinates(m);
    for (int i = 6; i <= 8; ++i)
        for (int j = 7; j <= 10; ++j)
            m.cellKind(i, j) = 0;
    m.cellKind(18, 5) = 0;
    m.cellKind(19, 6) = 0; // touching only at a corner
    m.dt = 0.01;
    m.stepCount = 60;
    EXPECT_EQ(runChecked(m), 60);
}

// Cells on the wall lines and beside them: those outside the counted region
// neither feel a force nor give a painted neighbour a fluid face.
TEST(Forces, CellsAgainstTheWallsCountOnlyInsideTheRegion) {
    SimulationState m = test::meshState(24, 14);
    for (int j = 1; j <= 4; ++j)
        m.cellKind(10, j) = 0; // from the bottom wall up into the region
    m.cellKind(3, 7) = 0;      // first counted column
    m.cellKind(2, 8) = 0;      // outside: not counted
    m.stepCount = 50;
    EXPECT_EQ(runChecked(m), 50);
    EXPECT_EQ(plainLoop(m).height, 30) << "rows 3 and 4 of the wall column, and row 7";
}

TEST(Forces, NoCellInTheRegionIsNoObstacleAndNoRecord) {
    SimulationState m = test::meshState(24, 14);
    m.cellKind(10, 2) = 0;
    m.cellKind(23, 7) = 0;
    m.stepCount = 20;
    EXPECT_EQ(runChecked(m), 0);
    EXPECT_TRUE(m.forceHistory.empty());
}

// The monitor cell's U, V and P after every step, the last equal to the
// field; a cell the counts no longer reach records nothing.
TEST(Monitor, RecordsTheCellAfterEveryStep) {
    SimulationState m = test::meshState(24, 14);
    m.monitorI = 12;
    m.monitorJ = 9;
    m.stepCount = 15;
    test::ScriptedHost host;
    CheckEveryStep none(m);
    ASSERT_EQ(RunTimeSteps(m, host, none), RunEnd::Completed);
    ASSERT_EQ(m.monitorHistory.size(), 15u);
    const MonitorRecord& last = m.monitorHistory.back();
    EXPECT_EQ(last.step, 15);
    EXPECT_EQ(last.u, m.U(12, 9));
    EXPECT_EQ(last.v, m.V(12, 9));
    EXPECT_EQ(last.p, m.P(12, 9));
    EXPECT_EQ(MonitorCsv(m.monitorHistory).substr(0, 13), "step,U,V,P\n1,");
    m.monitorI = 25;
    ASSERT_EQ(RunTimeSteps(m, host, none), RunEnd::Completed);
    EXPECT_TRUE(m.monitorHistory.empty());
}

// Steps of dt, or (uneven) of 0.5, 1 and 1.5 dt in turn, as a time step
// chosen each step makes them.
std::vector<MonitorRecord> sampled(int steps, double dt, double frequency, double mean,
                                   bool uneven) {
    std::vector<MonitorRecord> records;
    double t = 0;
    for (int n = 1; n <= steps; ++n) {
        t += uneven ? dt * (0.5 + 0.5 * (n % 3)) : dt;
        records.push_back({n, 0, mean + std::sin(2 * M_PI * frequency * t + 0.3), 0, t});
    }
    return records;
}

// A sampled sine of known frequency: the crossings of its mean in the second
// half, interpolated between steps, give the frequency back.
TEST(Strouhal, ASinesFrequencyComesBackFromItsUpwardCrossings) {
    const struct {
        int steps;
        double dt, frequency, mean, length;
        int crossings;
        bool uneven = false;
    } cases[] = {
        {4000, 0.01, 0.5, 0, 2, 10},       // ten periods in the second half
        {4000, 0.01, 0.5, 3.5, 7, 10},     // about its own mean, not zero
        {4000, 0.01, 0.37, 0, 1, 7},       // a period of 270.27 steps: crossings between steps
        {1000, 0.02, 0.21, -1, 1, 2},      // too few periods: no number
        {4000, 0.01, 0.5, 0, 2, 10, true}, // steps of changing length: the times count
    };
    for (const auto& c : cases) {
        const Strouhal s =
            EstimateStrouhal(sampled(c.steps, c.dt, c.frequency, c.mean, c.uneven), c.length);
        EXPECT_EQ(s.crossings, c.crossings) << c.frequency;
        if (c.crossings < 4) {
            EXPECT_FALSE(s.number);
            continue;
        }
        ASSERT_TRUE(s.number);
        EXPECT_NEAR(*s.frequency, c.frequency, 1e-6 * c.frequency);
        EXPECT_DOUBLE_EQ(*s.number, c.length * *s.frequency);
    }
    EXPECT_EQ(EstimateStrouhal({}, 1).crossings, 0);
}

// What the run means, from the parameters and the map as the fields show them.
TEST(FlowAccount, TheReferenceLengthReynoldsAndPecletNumbers) {
    SimulationState channel = test::meshState(61, 31);
    SimulationState obstacle = channel;
    test::addDefaultObstacle(obstacle);
    SimulationState even = test::meshState(60, 31);
    SimulationState stretched = test::meshState(30, 18);
    test::stretchCoordinates(stretched);
    SimulationState flat = test::meshState(61, 31);
    flat.meshSizeX = 0;
    const struct {
        const SimulationState& m;
        std::optional<double> length, reynolds, peclet;
        bool ofObstacle, evenNx;
    } cases[] = {
        {channel, 310, 12400, 400, false, false}, // 31 rows of 10, Re 40
        {obstacle, 50, 2000, 400, true, false},   // rows 14..18
        {even, 310, 12400, 400, false, true},
        {stretched, std::nullopt, std::nullopt, 0.64 * 40, false, true}, // first column 0.64
        {flat, std::nullopt, std::nullopt, std::nullopt, false, false},
    };
    for (const auto& c : cases) {
        const FlowAccount a = AccountOfParameters(c.m);
        if (c.length) {
            EXPECT_EQ(a.length, c.length);
            EXPECT_EQ(a.reynolds, c.reynolds);
        }
        ASSERT_EQ(a.peclet.has_value(), c.peclet.has_value()) << c.m.nx;
        if (c.peclet) {
            EXPECT_NEAR(*a.peclet, *c.peclet, 1e-12);
        }
        EXPECT_EQ(a.ofObstacle, c.ofObstacle);
        EXPECT_EQ(a.evenNx, c.evenNx);
    }
}

// An empty channel keeps U = 1: what flows in flows out. The default
// obstacle's pressure level drifts up step after step with an even nx.
TEST(FlowHealth, MassBalanceAndADriftingPressureLevel) {
    test::ScriptedHost host;
    test::SweepRecorder none;
    SimulationState channel = test::meshState(61, 31);
    channel.stepCount = 50;
    ASSERT_EQ(RunTimeSteps(channel, host, none), RunEnd::Completed);
    EXPECT_EQ(channel.health.outflowRatio, 1.0);
    for (int nx : {60, 61}) {
        SimulationState m = test::meshState(nx, 31);
        test::addDefaultObstacle(m);
        m.stepCount = 1500;
        ASSERT_EQ(RunTimeSteps(m, host, none), RunEnd::Completed);
        EXPECT_EQ(m.health.pressureRises >= kPressureRiseSteps, nx == 60)
            << nx << ": " << m.health.pressureRises;
    }
}

// A shear and a rotation that differences reproduce exactly: U = a·y,
// V = b·x give ω = b − a in every cell, at the edges too, on a stretched
// mesh; a painted cell has none.
TEST(Vorticity, ALinearFieldHasItsExactVorticityEverywhere) {
    SimulationState m = test::meshState(7, 5);
    test::stretchCoordinates(m);
    test::initialiseRun(m);
    const double a = 0.75, b = -2.5;
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i) {
            m.U(i, j) = a * m.yNode(j);
            m.V(i, j) = b * m.xNode(i);
        }
    m.cellKind(4, 3) = 0;
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i)
            EXPECT_NEAR(VorticityAt(m, i, j), i == 4 && j == 3 ? 0 : b - a, 1e-12) << i << "," << j;
    // V = x² tells the stencils apart: (x² at high − at low) / (high − low) is
    // the sum of the two nodes' x, central inside and one-sided at the ends.
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i) {
            m.U(i, j) = 0;
            m.V(i, j) = m.xNode(i) * m.xNode(i);
        }
    for (int i = 1; i <= m.nx; ++i) {
        const int low = std::max(i - 1, 1), high = std::min(i + 1, static_cast<int>(m.nx));
        EXPECT_NEAR(VorticityAt(m, i, 2), m.xNode(low) + m.xNode(high), 1e-12) << i;
    }
}

} // namespace
} // namespace kestrel
