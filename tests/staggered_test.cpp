// The second method against what viscous channel flow must do: the
// developed profile and pressure gradient with second-order convergence, a
// parabolic inflow kept to round-off, frictionless walls keeping a uniform
// stream, no divergence after any step, vortices shed behind a body, and
// every case it cannot compute refused with a reason before the run.
#include "cases/case_file.h"
#include "solver/run_time_steps.h"
#include "staggered/pressure_projection.h"
#include "support/scripted_host.h"
#include "support/sweep_recorder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

// An equal mesh of cells of size 1 with the second method, its time step
// chosen each step unless extra (more keys) fixes it.
SimulationState secondMethodCase(int nx, int ny, double reynolds, int steps,
                                 const std::string& extra = "") {
    const bool fixed = extra.find("timeStep") != std::string::npos;
    return ReadCaseFile(
               std::string(R"({"method": "staggered", )") +
               (fixed ? "" : R"("timeStep": "auto", )") + "\"nx\": " + std::to_string(nx) +
               ", \"ny\": " + std::to_string(ny) +
               ", \"meshSizeX\": 1, \"meshSizeY\": 1, \"reynolds\": " + std::to_string(reynolds) +
               ", \"stepCount\": " + std::to_string(steps) + extra + "}")
        .state;
}

RunEnd run(SimulationState& m, test::ScriptedHost& host) {
    test::SweepRecorder steps;
    return RunTimeSteps(m, host, steps);
}

double parabola(double eta) {
    return 1.5 * (1 - (2 * eta - 1) * (2 * eta - 1));
}

struct ChannelResult {
    double profileError;  // largest |U - parabola| at nine tenths of the length, over 1.5
    double gradient;      // dp/dx over the second half, least squares on the middle row
    double bottomV, topV; // V one H from the inlet, in the rows by the walls
};

// Uniform inflow into a channel 8 H long, Re·H = 20 (ν = H / 20 per cell).
ChannelResult developedChannel(int h) {
    SimulationState m = secondMethodCase(8 * h, h, 20.0 / h, 150 * h);
    test::ScriptedHost host;
    EXPECT_EQ(run(m, host), RunEnd::Completed);
    ChannelResult r{0, 0, m.V(h, 1), m.V(h, h)};
    const int column = 8 * h * 9 / 10;
    for (int j = 1; j <= h; ++j)
        r.profileError =
            std::max(r.profileError, std::abs(m.U(column, j) - parabola((j - 0.5) / h)) / 1.5);
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 4 * h; i <= column; ++i) {
        const double x = i - 0.5, p = m.P(i, h / 2);
        n += 1;
        sx += x;
        sy += p;
        sxx += x * x;
        sxy += x * p;
    }
    r.gradient = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    return r;
}

TEST(SecondMethod, AChannelDevelopsPoiseuilleFlowAtSecondOrder) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "a minute of the unoptimised build for code the other tests run there too; "
                    "the release suite checks the flow";
#endif
    const ChannelResult coarse = developedChannel(6), middle = developedChannel(12),
                        fine = developedChannel(24);
    EXPECT_GE(coarse.profileError / middle.profileError, 3.5);
    EXPECT_GE(middle.profileError / fine.profileError, 3.5);
    EXPECT_LT(fine.profileError, 0.01);
    const double exact = -12 * (24 / 20.0) / (24.0 * 24.0); // -12 ν / H²
    EXPECT_NEAR(fine.gradient / exact, 1, 0.02);
    // Near the inlet the walls' layers push the flow towards the middle,
    // alike from either wall.
    EXPECT_GT(coarse.bottomV, 1e-3);
    EXPECT_NEAR(coarse.bottomV / coarse.topV, -1, 1e-9);
}

// A parabolic inflow stays as it came; frictionless walls keep U = 1.
TEST(SecondMethod, AnEmptyChannelKeepsWhatItsWallsAllow) {
    for (const char* extra : {R"(, "inflow": "parabolic")", R"(, "walls": "slip")"}) {
        SimulationState m = secondMethodCase(30, 12, 5, 300, extra);
        test::ScriptedHost host;
        ASSERT_EQ(run(m, host), RunEnd::Completed) << extra;
        const bool parabolic = m.method.parabolicInflow;
        double largest = 0;
        for (int j = 1; j <= 12; ++j)
            for (int i = 1; i <= 30; ++i) {
                largest = std::max(largest, std::abs(m.U(i, j) - m.U(1, j)) + std::abs(m.V(i, j)));
                if (!parabolic) largest = std::max(largest, std::abs(m.U(i, j) - 1));
            }
        EXPECT_LT(largest, 1e-10) << extra;
        // The parabola is the method's own on this mesh: close to the exact one.
        if (parabolic) {
            EXPECT_NEAR(m.U(1, 6), parabola(5.5 / 12), 0.02);
        }
    }
}

TEST(SecondMethod, ABodyShedsVorticesAndNoCellKeepsDivergence) {
    // A square of 4 cells in a channel of 24, Re·D = 100.
    std::string runs;
    for (int j = 11; j <= 14; ++j)
        runs += (runs.empty() ? "" : ",") + std::string("[") + std::to_string(j) + ", 21, 24]";
    SimulationState m = secondMethodCase(
        120, 24, 25, 3000, R"(, "obstacleRuns": [)" + runs + R"(], "monitor": [40, 14])");
    test::ScriptedHost host;
    ASSERT_EQ(run(m, host), RunEnd::Completed);
    double largest = 0;
    for (const StepReport& r : m.history)
        largest = std::max(largest, r.lastError);
    EXPECT_LT(largest, staggered::kDivergenceBound);
    EXPECT_EQ(m.historyMethod, Method::Staggered);
    ASSERT_FALSE(m.forceHistory.empty());
    double lowest = INFINITY, highest = -INFINITY;
    for (std::size_t k = m.monitorHistory.size() / 2; k < m.monitorHistory.size(); ++k) {
        lowest = std::min(lowest, m.monitorHistory[k].v);
        highest = std::max(highest, m.monitorHistory[k].v);
    }
    EXPECT_GT(highest - lowest, 0.1) << "no shedding behind the body";
    // The solid cells hold no flow, and their pressure reads 0.
    EXPECT_EQ(m.U(22, 12), 0);
    EXPECT_EQ(m.P(22, 12), 0);
}

// The published set-up (a square of side D centred in a channel 8 D high and
// 50 D long, a quarter of the way along, parabolic inflow, Re on the largest
// inflow speed 1.5) at Re 40 with D = 4 cells: the recirculation length
// behind the body against the published fit Lr/D = -0.065 + 0.0554 Re
// (Breuer et al. 2000). docs/validation.md has the finer meshes.
TEST(SecondMethod, TheWakeOfASquareAtRe40IsAsLongAsPublished) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "a minute of the unoptimised build for code the other tests run there too; "
                    "the release suite checks the flow";
#endif
    const int d = 4, h = 8 * d, front = 12 * d;
    std::string runs;
    for (int j = h / 2 - d / 2 + 1; j <= h / 2 + d / 2; ++j)
        runs += (runs.empty() ? "" : ",") + std::string("[") + std::to_string(j) + ", " +
                std::to_string(front + 1) + ", " + std::to_string(front + d) + "]";
    SimulationState m =
        secondMethodCase(50 * d, h, 40 / 1.5 / d, 4000,
                         R"(, "inflow": "parabolic", "obstacleRuns": [)" + runs + "]");
    test::ScriptedHost host;
    ASSERT_EQ(run(m, host), RunEnd::Completed);
    // On the centre line (between rows h/2 and h/2 + 1), where U turns positive again.
    const auto centre = [&](int i) { return 0.5 * (m.U(i, h / 2) + m.U(i, h / 2 + 1)); };
    int i = front + d + 1;
    while (centre(i) >= 0)
        ++i;
    while (centre(i + 1) < 0)
        ++i;
    const double end = i - 0.5 + centre(i) / (centre(i) - centre(i + 1));
    const double length = (end - (front + d)) / d;
    EXPECT_NEAR(length, -0.065 + 0.0554 * 40, 0.1 * 2.151) << length;
}

// The force on painted cells after the last step, against the sum written
// out here: each fluid neighbour's pressure on the shared face and its
// velocity's shear to the face half a cell away, over D/2.
TEST(SecondMethod, TheForceOnTheBodyIsPressureAndShearOnItsFaces) {
    // A 3 × 2 body off the centre line, on a mesh whose rows narrow upwards.
    SimulationState m = secondMethodCase(
        40, 12, 20, 300, R"(, "meshMode": 0, "coordListX": [)" + [] {
            std::string list;
            for (int k = 0; k <= 40; ++k)
                list += (k ? ", " : "") + std::to_string(k);
            return list;
        }() + R"(], "coordListY": [0, 1.4, 2.7, 3.9, 5, 6, 6.9, 7.7, 8.4, 9, 9.5, 9.9, 10.2],
            "obstacleRuns": [[6, 10, 12], [7, 10, 12]])");
    test::ScriptedHost host;
    ASSERT_EQ(run(m, host), RunEnd::Completed);
    const auto dx = [&](int i) { return m.xNode(i + 1) - m.xNode(i); };
    const auto dy = [&](int j) { return m.yNode(j + 1) - m.yNode(j); };
    const auto fluid = [&](int i, int j) { return m.cellKind(i, j) != 0; };
    const double nu = 1 / m.reynolds;
    double fx = 0, fy = 0, height = 0;
    for (int j = 6; j <= 7; ++j) {
        height += dy(j);
        for (int i = 10; i <= 12; ++i) {
            if (fluid(i - 1, j)) {
                fx += m.P(i - 1, j) * dy(j);
                fy += nu * m.V(i - 1, j) / (dx(i - 1) / 2) * dy(j);
            }
            if (fluid(i + 1, j)) {
                fx -= m.P(i + 1, j) * dy(j);
                fy += nu * m.V(i + 1, j) / (dx(i + 1) / 2) * dy(j);
            }
            if (fluid(i, j - 1)) {
                fy += m.P(i, j - 1) * dx(i);
                fx += nu * m.U(i, j - 1) / (dy(j - 1) / 2) * dx(i);
            }
            if (fluid(i, j + 1)) {
                fy -= m.P(i, j + 1) * dx(i);
                fx += nu * m.U(i, j + 1) / (dy(j + 1) / 2) * dx(i);
            }
        }
    }
    ASSERT_FALSE(m.forceHistory.empty());
    const ForceRecord& last = m.forceHistory.back();
    EXPECT_EQ(last.step, 300);
    EXPECT_NEAR(last.cd, fx / (height / 2), 1e-12 * std::abs(last.cd));
    EXPECT_NEAR(last.cl, fy / (height / 2), 1e-12 * std::abs(last.cl));
    EXPECT_GT(last.cd, 0);
    EXPECT_GT(last.cdFriction, 0); // the shear drags the body downstream
    EXPECT_NEAR(last.cdPressure + last.cdFriction, last.cd, 1e-12 * last.cd);
}

TEST(SecondMethod, CasesItCannotComputeAreRefusedBeforeTheRun) {
    const struct {
        std::string extra;
        const char* message;
    } cases[] = {
        // A ring of painted cells shuts fluid in.
        {R"(, "obstacleRuns": [[3, 3, 7], [4, 3, 3], [4, 7, 7], [5, 3, 7]])",
         "流出口につながらない流体のセルが 3 個あります"},
        // The whole outflow column painted.
        {R"(, "obstacleRuns": [[1, 20, 20], [2, 20, 20], [3, 20, 20], [4, 20, 20], [5, 20, 20],
             [6, 20, 20], [7, 20, 20], [8, 20, 20]])",
         "流出口 (右端の列) に流体のセルがありません"},
        // A fixed step far beyond the explicit limit.
        {R"(, "timeStep": "fixed", "dt": 5)", "この計算方法の今の流れでの安定限界"},
    };
    for (const auto& c : cases) {
        SimulationState m = secondMethodCase(20, 8, 10, 5, c.extra);
        test::ScriptedHost host;
        EXPECT_EQ(run(m, host), RunEnd::Refused) << c.extra;
        ASSERT_FALSE(host.messages.empty()) << c.extra;
        EXPECT_NE(host.messages[0].text.find(c.message), std::string::npos)
            << host.messages[0].text;
        EXPECT_TRUE(m.history.empty());
    }
}

} // namespace
} // namespace kestrel
