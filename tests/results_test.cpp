// What a run leaves for a user to look at and take elsewhere: the probe,
// the stability numbers, the history and the exported field.
#include "batch/batch_host.h"
#include "plot/probe.h"
#include "report/field_exports.h"
#include "solver/run_time_steps.h"
#include "solver/stability.h"
#include "support/field_bits.h"
#include "support/test_state.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace kestrel {
namespace {

using test::SameBits;

struct Recorder : StepObserver {
    std::vector<StepReport> reports;
    bool stepDone(int, const StepReport& r) override {
        reports.push_back(r);
        return true;
    }
};

// A short run of the given state, its steps recorded as the observer saw them.
std::vector<StepReport> run(SimulationState& m, int steps) {
    m.stepCount = static_cast<Integer>(steps);
    BatchHost host(Display::Pressure, 1);
    Recorder recorder;
    EXPECT_EQ(RunTimeSteps(m, host, recorder), RunEnd::Completed);
    return recorder.reports;
}

SimulationState stretchedState() {
    SimulationState m = test::meshState(5, 5);
    m.meshMode = 0;
    m.coordListX.redim(6);
    const double xs[] = {0, 1, 3, 7, 15, 16};
    for (int k = 1; k <= 6; ++k)
        m.coordListX(k) = xs[k - 1];
    m.coordListY.redim(6);
    const double ys[] = {0, 0.5, 2, 2.25, 3, 4};
    for (int k = 1; k <= 6; ++k)
        m.coordListY(k) = ys[k - 1];
    return m;
}

std::vector<double> numbersAfter(const std::string& text, const std::string& heading, int count) {
    std::istringstream in(text.substr(text.find(heading) + heading.size()));
    std::vector<double> values;
    std::string word;
    while (static_cast<int>(values.size()) < count && in >> word)
        values.push_back(std::strtod(word.c_str(), nullptr));
    return values;
}

TEST(Probe, FindsTheCellUnderAPointOnUniformStretchedAndMirroredMeshes) {
    SimulationState m = test::meshState(61, 31);
    test::addDefaultObstacle(m);
    run(m, 3);
    auto cell = ResultCellAt(m, 135, 145);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->i, 14);
    EXPECT_EQ(cell->j, 15);
    EXPECT_EQ(cell->x, 135);
    EXPECT_EQ(cell->y, 145);
    EXPECT_TRUE(SameBits(cell->u, m.U(14, 15)) && SameBits(cell->p, m.P(14, 15)));
    EXPECT_EQ(cell->speed, std::sqrt(m.U(14, 15) * m.U(14, 15) + m.V(14, 15) * m.V(14, 15)));
    EXPECT_FALSE(cell->border);
    EXPECT_EQ(ResultCellAt(m, 140, 0)->i, 15) << "a node belongs to the cell after it";
    EXPECT_EQ(ResultCellAt(m, 139.999, 0)->i, 14);
    EXPECT_TRUE(ResultCellAt(m, 0, 0)->border);
    EXPECT_TRUE(ResultCellAt(m, 300, 305)->border) << "the top row alone";
    EXPECT_TRUE(ResultCellAt(m, 300, 5)->border) << "the bottom row alone";
    EXPECT_TRUE(ResultCellAt(m, 605, 150)->border);
    EXPECT_EQ(ResultCellAt(m, 605, 150)->i, 61);
    EXPECT_FALSE(ResultCellAt(m, 610, 150)) << "the last node closes the mesh";
    EXPECT_FALSE(ResultCellAt(m, -0.001, 150));
    EXPECT_FALSE(ResultCellAt(m, 150, 310));

    SimulationState s = stretchedState();
    run(s, 2);
    EXPECT_EQ(ResultCellAt(s, 2.9, 0.4)->i, 2);
    EXPECT_EQ(ResultCellAt(s, 3, 0.5)->i, 3);
    EXPECT_EQ(ResultCellAt(s, 3, 0.5)->j, 2);
    EXPECT_EQ(ResultCellAt(s, 14, 2.2)->j, 3);
    EXPECT_FALSE(ResultCellAt(s, 14, 2.2)->border);
    EXPECT_TRUE(ResultCellAt(s, 15.5, 2.2)->border) << "column 5 of 5";
    EXPECT_EQ(ResultCellAt(s, 3, 0.5)->x, 5);

    SimulationState mirrored = test::meshState(6, 5);
    mirrored.meshSizeX = -10;
    run(mirrored, 1);
    EXPECT_EQ(ResultCellAt(mirrored, -15, 5)->i, 2);

    SimulationState never = test::meshState(6, 5);
    EXPECT_FALSE(ResultCellAt(never, 5, 5)) << "no run, no field";
}

TEST(Probe, TextNamesEveryValueAndTheBorder) {
    ProbedCell c{3, 1, 25, 5, 0.5, -0.25, 1e-7, 0.55901699437494745, true};
    EXPECT_EQ(ProbeText(c), "i 3  j 1  x 25  y 5  U 0.5  V -0.25  P 1e-07  速度 0.55902  (境界)");
}

TEST(Stability, TheDefaultsAndAStretchedMesh) {
    SimulationState m = test::defaultState();
    StabilityNumbers n = EstimateStability(m);
    ASSERT_TRUE(n.cfl && n.diffusion);
    EXPECT_DOUBLE_EQ(*n.cfl, 0.0005);
    EXPECT_DOUBLE_EQ(*n.diffusion, 2.5e-6);
    m.meshSizeY = 4; // the smaller side counts for the CFL number
    EXPECT_DOUBLE_EQ(*EstimateStability(m).cfl, 0.005 / 4);
    EXPECT_DOUBLE_EQ(*EstimateStability(m).diffusion, 0.005 / 40 * (0.01 + 1.0 / 16));

    SimulationState s = stretchedState();
    s.dt = 0.1;
    s.reynolds = 10;
    n = EstimateStability(s);
    EXPECT_DOUBLE_EQ(*n.cfl, 0.1 / 0.25); // the thinnest row, 2 .. 2.25
    EXPECT_DOUBLE_EQ(*n.diffusion, 0.01 * (1 + 16));

    s.coordListX(1) = kUnsetCoordinate; // the first node unset is 0, as the mesh has it
    EXPECT_DOUBLE_EQ(*EstimateStability(s).cfl, 0.1 / 0.25);
    s.coordListY(1) = kUnsetCoordinate;
    s.coordListY(2) = 0.05; // now the thinnest row
    EXPECT_DOUBLE_EQ(*EstimateStability(s).cfl, 0.1 / 0.05);
    s = stretchedState();
    s.coordListX(3) = kUnsetCoordinate; // repeats node 2: a cell of no width
    EXPECT_FALSE(EstimateStability(s).cfl);
    s = stretchedState();
    s.coordListY.redim(5); // a node short
    EXPECT_FALSE(EstimateStability(s).diffusion);
    m = test::defaultState();
    m.meshSizeX = 0;
    EXPECT_FALSE(EstimateStability(m).cfl);
    m = test::defaultState();
    m.reynolds = 0;
    EXPECT_TRUE(EstimateStability(m).cfl);
    EXPECT_FALSE(EstimateStability(m).diffusion);
}

TEST(History, HoldsEveryStepAsTheRunReportedIt) {
    SimulationState m = test::meshState(61, 31);
    test::addDefaultObstacle(m);
    const std::vector<StepReport> seen = run(m, 12);
    ASSERT_EQ(m.history.size(), 12u);
    for (std::size_t k = 0; k < seen.size(); ++k) {
        EXPECT_EQ(m.history[k].sweeps, seen[k].sweeps);
        EXPECT_TRUE(SameBits(m.history[k].lastError, seen[k].lastError));
    }
    const std::string csv = HistoryCsv(m.history);
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "step,sweeps,lastError");
    for (std::size_t k = 0; k < seen.size(); ++k) {
        ASSERT_TRUE(std::getline(lines, line));
        int step = 0, sweeps = 0;
        char rest[64] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d,%63s", &step, &sweeps, rest), 3) << line;
        EXPECT_EQ(step, static_cast<int>(k) + 1);
        EXPECT_EQ(sweeps, seen[k].sweeps);
        EXPECT_TRUE(SameBits(std::strtod(rest, nullptr), seen[k].lastError));
    }
    run(m, 2);
    EXPECT_EQ(m.history.size(), 2u) << "a new run starts a new history";
    EXPECT_EQ(HistoryCsv({{0, NAN}}), "step,sweeps,lastError\n1,0,\n");
}

TEST(History, ADivergedRunKeepsOnlyItsFiniteSteps) {
    SimulationState m = test::divergingState();
    BatchHost host(Display::Pressure, 1);
    Recorder recorder;
    ASSERT_EQ(RunTimeSteps(m, host, recorder), RunEnd::Diverged);
    EXPECT_EQ(m.history.size(), recorder.reports.size());
    EXPECT_LT(m.history.size(), 300u);
}

TEST(Exports, VtkAndCsvReadBackToTheField) {
    SimulationState m = stretchedState();
    m.cellKind(2, 2) = 0;
    run(m, 4);
    const std::string vtk = FieldVtk(m);
    EXPECT_EQ(vtk.rfind("# vtk DataFile Version 3.0\nKestrel field\nASCII\n"
                        "DATASET RECTILINEAR_GRID\nDIMENSIONS 6 6 1\n",
                        0),
              0u)
        << vtk.substr(0, 200);
    const auto xs = numbersAfter(vtk, "X_COORDINATES 6 double\n", 6);
    const auto ys = numbersAfter(vtk, "Y_COORDINATES 6 double\n", 6);
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(xs[k - 1], m.xNode(k));
        EXPECT_EQ(ys[k - 1], m.yNode(k));
    }
    EXPECT_NE(vtk.find("Z_COORDINATES 1 double\n0\nCELL_DATA 25\n"), std::string::npos);
    const auto p = numbersAfter(vtk, "SCALARS P double 1\nLOOKUP_TABLE default\n", 25);
    const auto speed = numbersAfter(vtk, "SCALARS speed double 1\nLOOKUP_TABLE default\n", 25);
    const auto velocity = numbersAfter(vtk, "VECTORS velocity double\n", 75);
    int k = 0;
    for (int j = 1; j <= 5; ++j)
        for (int i = 1; i <= 5; ++i, ++k) {
            EXPECT_TRUE(SameBits(p[k], m.P(i, j))) << i << "," << j;
            EXPECT_TRUE(
                SameBits(speed[k], std::sqrt(m.U(i, j) * m.U(i, j) + m.V(i, j) * m.V(i, j))));
            EXPECT_TRUE(SameBits(velocity[3 * k], m.U(i, j)));
            EXPECT_TRUE(SameBits(velocity[3 * k + 1], m.V(i, j)));
            EXPECT_EQ(velocity[3 * k + 2], 0);
        }

    std::istringstream csv(FieldCsv(m));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "i,j,x,y,U,V,P,vorticity");
    int rows = 0;
    while (std::getline(csv, line)) {
        int i = 0, j = 0;
        double x = 0, y = 0, u = 0, v = 0, pressure = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d,%lf,%lf,%lf,%lf,%lf", &i, &j, &x, &y, &u, &v,
                              &pressure),
                  7);
        EXPECT_EQ(x, 0.5 * (m.xNode(i) + m.xNode(i + 1)));
        EXPECT_TRUE(SameBits(u, m.U(i, j)) && SameBits(v, m.V(i, j)) &&
                    SameBits(pressure, m.P(i, j)));
        ++rows;
    }
    EXPECT_EQ(rows, 25);
}

} // namespace
} // namespace kestrel
