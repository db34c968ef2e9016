// The fast time step against the plain loops: the same bits in U, V and P
// (+0 and -0 alike) and the same sweep counts, step after step.
#include "oracle/literal_solver.h"
#include "solver/helper_thread.h"
#include "solver/pressure_iterations.h"
#include "solver/pressure_solver.h"
#include "solver/thread_choice.h"
#include "solver/time_step.h"
#include "solver/two_threads.h"
#include "support/field_bits.h"
#include "support/test_state.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sched.h>
#include <thread>

namespace kestrel {
namespace {

void expectSameField(const SimulationState& fast, const SimulationState& plain, int step) {
    for (const auto& [f, p, name] :
         {std::tuple{&fast.U, &plain.U, "U"}, std::tuple{&fast.V, &plain.V, "V"},
          std::tuple{&fast.P, &plain.P, "P"}})
        ASSERT_EQ(test::FirstDifference(*f, *p), "") << name << " at step " << step;
}

// The threads and lanes the case under test takes.
SolverOptions caseWay;

// From a state ready to step.
void compareSteps(SimulationState m, int steps, SolverOptions options = {}) {
    options.threads = caseWay.threads;
    options.lanes = caseWay.lanes;
    SimulationState plain = m;
    for (int n = 1; n <= steps; ++n) {
        const StepReport a = AdvanceTimeStep(m, options);
        const StepReport b = literal::AdvanceTimeStep(plain);
        ASSERT_EQ(a.sweeps, b.sweeps) << "step " << n;
        ASSERT_TRUE(test::SameBits(a.lastError, b.lastError)) << "step " << n;
        expectSameField(m, plain, n);
    }
}

void compareRuns(SimulationState m, int steps, const SolverOptions& options = {}) {
    test::initialiseRun(m);
    compareSteps(m, steps, options);
}

// Every case on one thread and with two iterations at once, whatever the
// mesh's size would choose, and in every width of lanes the processor runs.
struct Way {
    SolverThreads threads;
    int lanes;
};
class FastSolver : public testing::TestWithParam<Way> {
  protected:
    void SetUp() override {
        if (GetParam().lanes > WidestLanes()) GTEST_SKIP() << "the processor runs fewer lanes";
        caseWay.threads = GetParam().threads;
        caseWay.lanes = GetParam().lanes;
    }
    void TearDown() override { caseWay = {}; }
};

void square(SimulationState& m, int i0, int j0, int size) {
    for (int i = i0; i < i0 + size; ++i)
        for (int j = j0; j < j0 + size; ++j)
            m.cellKind(i, j) = 0;
}

TEST_P(FastSolver, DefaultMeshWithSquareObstacle) {
    SimulationState m = test::meshState(61, 31);
    square(m, 15, 14, 5);
    compareRuns(m, 40);
}

TEST_P(FastSolver, NonUniformMeshWithScatteredObstacles) {
    SimulationState m = test::meshState(23, 17);
    test::stretchCoordinates(m);
    square(m, 6, 6, 3);
    m.cellKind(1, 9) = 0;  // first column
    m.cellKind(12, 2) = 0; // on the bottom wall line
    m.cellKind(20, 15) = 0;
    m.cellKind(21, 15) = 0;
    m.dt = 0.01;
    compareRuns(m, 30);
}

// Obstacles on the wall lines and beside them, and a pressure field that is
// uneven everywhere, ghost points included: every copy of the boundary and
// every obstacle point of every row shows in the field.
TEST_P(FastSolver, UnevenStartWithObstaclesOnEveryWallLine) {
    SimulationState m = test::meshState(26, 14);
    m.cellKind(9, 2) = 0;   // bottom wall line
    m.cellKind(17, 13) = 0; // top wall line
    m.cellKind(18, 13) = 0;
    m.cellKind(2, 7) = 0;  // left wall line
    m.cellKind(25, 6) = 0; // right wall line
    m.cellKind(12, 12) = 0;
    test::initialiseRun(m);
    for (int j = 0; j <= m.P.upper2(); ++j)
        for (int i = 0; i <= m.P.upper1(); ++i)
            m.P(i, j) = 0.001 * ((7 * i + 3 * j) % 11) - 0.004;
    compareSteps(m, 15);
}

TEST_P(FastSolver, SmallestMeshAndFewSweeps) {
    SimulationState m = test::meshState(5, 5, 1);
    compareRuns(m, 20);
    SimulationState limited = test::meshState(30, 12);
    limited.maxIter = 3; // every step ends on its last sweep
    square(limited, 10, 5, 2);
    compareRuns(limited, 25);
}

TEST_P(FastSolver, EveryRowLengthModuloTheVectorWidth) {
    for (int nx = 5; nx <= 16; ++nx) { // rows of 1 to 12 points
        SimulationState m = test::meshState(nx, 9);
        square(m, nx / 2, 4, 2);
        m.cellKind(3, 3) = 0;      // on the first inner point of a row
        m.cellKind(nx - 2, 7) = 0; // on the last one
        SCOPED_TRACE("nx " + std::to_string(nx));
        compareRuns(m, 12);
    }
}

TEST_P(FastSolver, OneSweepAStepAndNoStepsAtAll) {
    SimulationState m = test::meshState(21, 11);
    square(m, 8, 4, 3);
    m.maxIter = 1;
    compareRuns(m, 10);
    SimulationState none = test::meshState(21, 11);
    none.maxIter = 0;
    compareRuns(none, 3);
}

// Every error summed in order, as if each decision were too close to call:
// nothing may change, neither the fields nor the sweep counts nor the errors.
TEST_P(FastSolver, SummingEveryErrorInOrderChangesNothing) {
    SolverOptions inOrder;
    inOrder.sumEveryErrorInOrder = true;
    SimulationState m = test::meshState(61, 31);
    square(m, 15, 14, 5);
    compareRuns(m, 25, inOrder);
    SimulationState stretched = test::meshState(23, 17);
    square(stretched, 6, 6, 3);
    stretched.dt = 0.01;
    compareRuns(stretched, 10, inOrder);
}

TEST_P(FastSolver, UnstableRunBlowsUpAtTheSameStep) {
    SimulationState m = test::divergingState();
    test::initialiseRun(m);
    SimulationState plain = m;
    int fastStep = 0;
    int plainStep = 0;
    for (int n = 1; n <= 200 && (fastStep == 0 || plainStep == 0); ++n) {
        AdvanceTimeStep(m, caseWay);
        literal::AdvanceTimeStep(plain);
        if (fastStep == 0 && !FieldIsFinite(m)) fastStep = n;
        if (plainStep == 0 && !FieldIsFinite(plain)) plainStep = n;
    }
    ASSERT_GT(fastStep, 0);
    EXPECT_EQ(fastStep, plainStep);
    // The overflowing field itself, infinities and NaNs included.
    EXPECT_EQ(test::FirstDifference(m.U, plain.U), "");
    EXPECT_EQ(test::FirstDifference(m.V, plain.V), "");
    EXPECT_EQ(test::FirstDifference(m.P, plain.P), "");
}

// The window's redraws inside a step: on the stepping thread, between its
// phases, its rows of provisional velocity and its sweeps, and nothing
// changes. A step cut to one sweep shows how many came from the sweeps: one
// between each two, and on a mesh taller than kRowsBetweenCalls rows more,
// from inside the sweeps.
TEST_P(FastSolver, CallsBetweenPhasesChangeNothing) {
    for (const int rows : {31, 2 * PressureSolver::kRowsBetweenCalls + 40}) {
        SimulationState m = test::meshState(rows > 31 ? 14 : 61, rows);
        square(m, 8, 14, 4);
        test::initialiseRun(m);
        SimulationState alone = m;
        int calls = 0;
        SolverOptions options = caseWay;
        const std::thread::id stepping = std::this_thread::get_id();
        options.betweenPhases = [&] {
            EXPECT_EQ(std::this_thread::get_id(), stepping);
            ++calls;
        };
        for (int n = 1; n <= 5; ++n) {
            SimulationState once = m;
            once.maxIter = 1;
            calls = 0;
            AdvanceTimeStep(once, options);
            const int callsOfOneSweep = calls;
            calls = 0;
            const StepReport a = AdvanceTimeStep(m, options);
            const StepReport b = AdvanceTimeStep(alone, caseWay);
            ASSERT_EQ(a.sweeps, b.sweeps);
            ASSERT_GT(a.sweeps, 1);
            EXPECT_GE(callsOfOneSweep, 3 + 1) << "three phases and at least a row";
            if (rows == 31)
                EXPECT_GE(calls - callsOfOneSweep, a.sweeps - 1) << "one between each two sweeps";
            else
                EXPECT_GT(calls - callsOfOneSweep, a.sweeps) << "inside sweeps too";
            expectSameField(m, alone, n);
        }
    }
}

// A mesh large enough that the solver itself chooses two threads.
TEST(FastSolverChoosing, ChannelWithObstacleLargeEnoughForTwoThreads) {
    SimulationState m = test::meshState(300, 220);
    square(m, 70, 100, 20);
    m.maxIter = 60;
    compareRuns(m, 3);
}

// A process held to one core (taskset, a container) must not spin two
// threads on it.
TEST(FastSolverChoosing, CountsOnlyTheCoresThisProcessMayUse) {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    int first = 0;
    while (!CPU_ISSET(first, &all))
        ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const int cores = AvailableCores();
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
    EXPECT_EQ(cores, 1);
    EXPECT_EQ(AvailableCores(), CPU_COUNT(&all));
}

// Steps that change between one and two threads in the middle of a run
// give the plain loops' numbers, as steps on either alone do.
TEST(ThreadChoice, StepsSwitchingThreadsMidRunKeepTheBits) {
    SimulationState m = test::meshState(130, 260, 1);
    square(m, 40, 120, 12);
    m.maxIter = 12;
    test::initialiseRun(m);
    SimulationState plain = m;
    SolverOptions options;
    for (int n = 1; n <= 6; ++n) {
        options.stepOnOneThread = n % 2 == 0 || n == 5;
        const StepReport a = AdvanceTimeStep(m, options);
        const StepReport b = literal::AdvanceTimeStep(plain);
        ASSERT_EQ(a.sweeps, b.sweeps) << "step " << n;
        expectSameField(m, plain, n);
    }
}

// The steps of a 40-step run as the chooser sets them: 1 for a step on one
// thread, 2 for two, with a sweep costing secondsOf(two threads).
std::string chosenSteps(const SimulationState& m, SolverThreads threads, int othersRunning,
                        double (*secondsOf)(bool two)) {
    ThreadChooser chooser([othersRunning] { return othersRunning; });
    std::string steps;
    for (int n = 1; n <= 40; ++n) {
        SolverOptions step;
        step.threads = threads;
        step.stepOnOneThread = chooser.beforeStep(m, threads);
        const bool two = WorthTwoThreads(m, step);
        steps += two ? '2' : '1';
        chooser.afterStep(secondsOf(two), 4);
    }
    return steps;
}

// The chooser keeps the choice that takes less time a sweep, tries the other
// now and then for two steps, and waits longer after a try that lost.
TEST(ThreadChoice, TheFasterChoiceIsKeptAndTheOtherTriedLessOften) {
    SimulationState m = test::meshState(130, 260, 1);
    if (!LargeEnoughForTwoThreads(m)) GTEST_SKIP() << "one core: no choice to make";
    const auto busy = [](bool two) { return two ? 6.0 : 1.0; }; // two threads lose 6 times
    const auto idle = [](bool two) { return two ? 1.0 : 1.5; }; // two gain
    EXPECT_EQ(chosenSteps(m, SolverThreads::Auto, 0, busy),
              "1122" + std::string(17, '1') + "22" + std::string(17, '1'));
    const std::string steps = chosenSteps(m, SolverThreads::Auto, 0, idle);
    EXPECT_EQ(steps.substr(0, 13), "1122222222211") << steps;
    EXPECT_EQ(std::count(steps.begin(), steps.end(), '1'), 6) << steps;
    // Only the last step of a try counts: the first moves the field between
    // the cores' caches, and the run's first step starts from cold ones.
    const auto firstStepsSlow = [](bool two) {
        static int step = 0;
        return ++step % 2 == 1 ? 10.0 : two ? 1.5 : 1.0;
    };
    EXPECT_EQ(chosenSteps(m, SolverThreads::Auto, 0, firstStepsSlow).substr(0, 8), "11221111");
    // Another program running: two threads are not even tried.
    EXPECT_EQ(chosenSteps(m, SolverThreads::Auto, 1, idle), std::string(40, '1'));
    // A fixed choice is kept; a small mesh keeps to one thread.
    EXPECT_EQ(chosenSteps(m, SolverThreads::One, 0, idle), std::string(40, '1'));
    EXPECT_EQ(chosenSteps(m, SolverThreads::Two, 0, busy), std::string(40, '2'));
    EXPECT_EQ(chosenSteps(test::meshState(20, 10, 1), SolverThreads::Auto, 0, idle),
              std::string(40, '1'));
}

INSTANTIATE_TEST_SUITE_P(ThreadsAndLanes, FastSolver,
                         testing::Values(Way{SolverThreads::One, 2}, Way{SolverThreads::Always, 2},
                                         Way{SolverThreads::One, 4}, Way{SolverThreads::Always, 4}),
                         [](const testing::TestParamInfo<Way>& info) {
                             return std::string(info.param.threads == SolverThreads::One
                                                    ? "OneThread"
                                                    : "TwoThreads") +
                                    std::to_string(info.param.lanes) + "Lanes";
                         });

} // namespace
} // namespace kestrel
