#include "cells/cell_map.h"
#include "oracle/literal_solver.h"
#include "solver/boundary_conditions.h"
#include "solver/calculation_factors.h"
#include "solver/solver_steps.h"
#include "support/scripted_host.h"
#include "support/test_state.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::ScriptedHost;

SimulationState specifiedX(std::initializer_list<double> nodes) {
    SimulationState m = test::meshState(static_cast<int>(nodes.size()) - 1, 5);
    m.meshMode = 0;
    m.coordListX.redim(m.nx + 1);
    int k = 1;
    for (double v : nodes)
        m.coordListX(k++) = v;
    m.coordListY.redim(m.ny + 1);
    for (int j = 1; j <= m.ny + 1; ++j)
        m.coordListY(j) = 10.0 * (j - 1);
    return m;
}

TEST(CalculationFactors, NonUniformNodesGiveTheStretchingTerms) {
    SimulationState m = specifiedX({0, 1, 3, 7});
    ScriptedHost host;
    InitCalculationFactors(m, host);
    EXPECT_DOUBLE_EQ(m.facX1(2), 2.0 / 3);
    EXPECT_DOUBLE_EQ(m.facX2(2), 4.0 / 9);
    EXPECT_DOUBLE_EQ(m.facX3(2), 8.0 / 27);
    EXPECT_DOUBLE_EQ(m.facX4(2), 8.0 / 27);
    EXPECT_DOUBLE_EQ(m.facX5(2), 16.0 / 27);
    for (int i : {0, 1, 3, 4})
        EXPECT_EQ(m.facX1(i), 0) << i;
    EXPECT_TRUE(host.messages.empty());
}

TEST(CalculationFactors, EqualSpacingFillsTheInteriorOnly) {
    SimulationState m = test::defaultState();
    ScriptedHost host;
    InitCalculationFactors(m, host);
    EXPECT_EQ(m.facX1.upper(), 62);
    for (int i = 2; i <= 60; ++i) {
        EXPECT_DOUBLE_EQ(m.facX1(i), 0.1);
        EXPECT_DOUBLE_EQ(m.facX2(i), 0.01);
        EXPECT_EQ(m.facX3(i), 0);
        EXPECT_EQ(m.facX4(i), m.facX2(i));
    }
    EXPECT_EQ(m.facX1(1), 0);
    EXPECT_EQ(m.facX1(61), 0);
    EXPECT_DOUBLE_EQ(m.facY1(30), 0.1);
    EXPECT_EQ(m.facY1(31), 0);
}

TEST(CalculationFactors, ZeroWidthPairIsRefusedNamingTheNodes) {
    SimulationState m = specifiedX({0, 10, 20, 10, 40, 50});
    ScriptedHost host;
    const auto f = test::FailureOf([&] { InitCalculationFactors(m, host); });
    ASSERT_TRUE(f);
    EXPECT_EQ(f->number(), 11);
    EXPECT_NE(f->japanese().find("節点 2 と 4"), std::string::npos) << f->japanese();
    EXPECT_NE(f->japanese().find("(10)"), std::string::npos);
}

class BoundaryMaps : public ::testing::Test {
  protected:
    SimulationState m = test::meshState(8, 8);
    ScriptedHost host;
    void solid(int i, int j) { m.cellKind(i, j) = 0; }
    std::vector<std::pair<int, int>> marked() {
        std::vector<std::pair<int, int>> cells;
        for (int j = 0; j <= 9; ++j)
            for (int i = 0; i <= 9; ++i)
                if (m.bcMapA(i, j) != 0) cells.emplace_back(i, j);
        return cells;
    }
};

TEST_F(BoundaryMaps, AllFluidMarksNothing) {
    ASSERT_EQ(InitBoundaryConditions(m, host), 0);
    EXPECT_TRUE(marked().empty());
}

TEST_F(BoundaryMaps, OneSolidCellMarksItsFourNeighbours) {
    solid(5, 5);
    ASSERT_EQ(InitBoundaryConditions(m, host), 0);
    using P = std::pair<int, int>;
    EXPECT_EQ(marked(), (std::vector<P>{{5, 4}, {4, 5}, {6, 5}, {5, 6}}));
    EXPECT_EQ(m.bcMapB(5, 5), 3);
    EXPECT_EQ(m.bcMapB(4, 5), 0);
}

TEST_F(BoundaryMaps, TwoSolidCellsShareTheirNeighbours) {
    solid(5, 5);
    solid(6, 5);
    ASSERT_EQ(InitBoundaryConditions(m, host), 0);
    using P = std::pair<int, int>;
    EXPECT_EQ(marked(), (std::vector<P>{{5, 4}, {6, 4}, {4, 5}, {7, 5}, {5, 6}, {6, 6}}));
    EXPECT_EQ(m.bcMapB(5, 5), 4);
    EXPECT_EQ(m.bcMapB(6, 5), 4);
}

TEST_F(BoundaryMaps, EdgeAndBuriedSolidCells) {
    solid(1, 4);
    for (int i = 4; i <= 6; ++i)
        for (int j = 4; j <= 6; ++j)
            solid(i, j);
    ASSERT_EQ(InitBoundaryConditions(m, host), 0);
    EXPECT_EQ(m.bcMapA(2, 4), 1);
    EXPECT_EQ(m.bcMapB(1, 4), 0); // first column never weighted
    EXPECT_EQ(m.bcMapB(5, 5), 0); // surrounded by solids
    EXPECT_EQ(m.bcMapB(4, 4), 6); // corner: two fluid neighbours
    EXPECT_EQ(m.bcMapB(5, 4), 12);
}

TEST_F(BoundaryMaps, MissingOrSmallMapIsReportedAndStopsTheRun) {
    m.cellKind.erase();
    EXPECT_EQ(InitBoundaryConditions(m, host), 9);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "インデックスが有効範囲にありません。 (境界条件初期化)");
    EXPECT_EQ(host.messages[0].buttons, Buttons::Ok);

    InitCellMap(m);
    m.nx = 10; // raised past the map's border column
    EXPECT_NE(InitBoundaryConditions(m, host), 0);
}

TEST(InitialConditions, UniformInflowInsideZeroOnTheLowEdges) {
    SimulationState m = test::defaultState();
    SetInitialConditions(m);
    EXPECT_EQ(m.U(61, 31), 1);
    EXPECT_EQ(m.U(0, 5), 0);
    EXPECT_EQ(m.U(5, 0), 0);
    EXPECT_EQ(m.V(3, 3), 0);
    EXPECT_EQ(m.U.upper1(), 61);
}

TEST(VelocityBoundary, WallsThenOutflowOwningTheCorners) {
    SimulationState m = test::meshState(6, 6);
    test::initialiseRun(m);
    for (int j = 0; j <= 6; ++j)
        for (int i = 0; i <= 6; ++i) {
            m.U(i, j) = 100 * i + j;
            m.V(i, j) = 1000 + 100 * i + j;
        }
    SetVelocityBoundary(m);
    EXPECT_EQ(m.U(3, 6), m.U(3, 4));
    EXPECT_EQ(m.V(3, 6), -1304);
    EXPECT_EQ(m.V(3, 5), 0);
    EXPECT_EQ(m.U(3, 1), 303);
    EXPECT_EQ(m.V(3, 1), -1303);
    EXPECT_EQ(m.V(3, 2), 0);
    EXPECT_EQ(m.U(6, 3), 403);
    EXPECT_EQ(m.V(5, 3), 1403);
    EXPECT_EQ(m.V(5, 2), 0);         // outflow copy of the 0 just set
    EXPECT_EQ(m.U(6, 6), m.U(4, 4)); // corner ends with the outflow value
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(m.V(i, 2), 0);
        EXPECT_EQ(m.V(i, 5), 0);
    }
}

TEST(VelocityBoundary, FourRowsOverlapInTheStatedOrder) {
    SimulationState m = test::meshState(6, 4);
    test::initialiseRun(m);
    m.U(3, 2) = 7;
    m.V(3, 2) = 2;
    m.U(3, 3) = 9;
    SetVelocityBoundary(m);
    EXPECT_EQ(m.U(3, 1), 7);
    EXPECT_EQ(m.U(3, 3), 7);
    EXPECT_EQ(m.U(3, 4), 7);
    EXPECT_EQ(m.V(3, 4), -2);
    EXPECT_EQ(m.V(3, 1), 0);
    EXPECT_EQ(m.V(3, 2), 0);
    EXPECT_EQ(m.V(3, 3), 0);
}

// Mesh spacing 1 and a vanishing viscosity: the provisional U is U - dt CUx.
TEST(ProvisionalVelocity, UpwindTakesTheDifferenceFromUpstream) {
    for (bool literalLoops : {false, true}) {
        SimulationState m = test::meshState(5, 5, 1);
        m.dt = 1;
        m.reynolds = 1e300;
        test::initialiseRun(m);
        m.U(2, 3) = 1;
        m.U(3, 3) = 2;
        m.U(4, 3) = 5;
        literalLoops ? literal::ComputeProvisionalVelocity(m) : ComputeProvisionalVelocity(m);
        EXPECT_EQ(m.U(3, 3), 0) << "backward difference: CUx = 2";

        m.U(3, 3) = -2;
        literalLoops ? literal::ComputeProvisionalVelocity(m) : ComputeProvisionalVelocity(m);
        EXPECT_EQ(m.U(3, 3), 12) << "forward difference: CUx = -14";
    }
}

TEST(ProvisionalVelocity, UniformStreamStaysAndSolidsStop) {
    SimulationState m = test::meshState(7, 7);
    m.cellKind(4, 4) = 0;
    test::initialiseRun(m);
    ComputeProvisionalVelocity(m);
    EXPECT_EQ(m.work2(4, 4), 1);
    EXPECT_EQ(m.U(4, 4), 0);
    EXPECT_EQ(m.U(3, 4), 1);
    EXPECT_EQ(m.work3(3, 3), 0);
}

TEST(PressureEquation, SolidCellTakesTheMeanOfItsFluidNeighbours) {
    for (bool literalLoops : {false, true}) {
        SimulationState m = test::meshState(7, 7);
        m.cellKind(4, 4) = m.cellKind(5, 4) = m.cellKind(4, 5) = 0;
        m.cellKind(2, 2) = m.cellKind(3, 2) = m.cellKind(2, 3) = 0; // neighbours: ghost points
        test::initialiseRun(m);
        ASSERT_EQ(m.bcMapB(4, 4), 6);
        m.P(3, 4) = 1.0;
        m.P(4, 3) = 3.0;
        m.P(2, 2) = 8;
        literalLoops ? literal::SetObstaclePressure(m) : SetObstaclePressure(m);
        EXPECT_EQ(m.P(4, 4), 2.0);
        EXPECT_EQ(m.P(2, 2), 0);
        EXPECT_EQ(m.P(3, 4), 1.0);
    }
}

TEST(PressureEquation, BoundaryCopiesLeaveTheDiagonalInCorners) {
    SimulationState m = test::meshState(8, 7);
    test::initialiseRun(m);
    for (int j = 0; j <= 7; ++j)
        for (int i = 0; i <= 8; ++i)
            m.P(i, j) = 10 * i + j;
    SetPressureBoundary(m);
    EXPECT_EQ(m.P(2, 4), m.P(3, 4));
    EXPECT_EQ(m.P(7, 4), 64);
    EXPECT_EQ(m.P(2, 2), 33);
    EXPECT_EQ(m.P(7, 6), 65);
    EXPECT_EQ(m.P(1, 1), 11); // ghost points are left alone here
}

TEST(PressureEquation, SolvedFieldSweepsToZeroError) {
    SimulationState m = test::meshState(9, 8);
    test::initialiseRun(m);
    PreparePressureEquation(m);
    EXPECT_EQ(SweepPressure(m), 0);
    SimulationState small = test::meshState(4, 9);
    test::initialiseRun(small);
    EXPECT_EQ(SweepPressure(small), 0); // no interior points
}

TEST(PressureEquation, SolidCorrectionsDoNotCountInTheError) {
    SimulationState m = test::meshState(7, 7);
    m.cellKind(4, 5) = 0; // in the last interior row: no later row reads it
    test::initialiseRun(m);
    PreparePressureEquation(m);
    m.work1(4, 5) = -1e6; // a huge correction at the solid point only
    const double e = SweepPressure(m);
    EXPECT_EQ(e, 0);
    EXPECT_GT(m.P(4, 5), 1e3);
}

TEST(VelocityCorrection, SubtractsThePressureGradient) {
    SimulationState m = test::meshState(7, 7, 1);
    test::initialiseRun(m);
    m.P(4, 4) = 3;
    m.P(2, 4) = 1;
    CorrectVelocity(m);
    EXPECT_DOUBLE_EQ(m.U(3, 4), 1 - 0.005);
    EXPECT_EQ(m.U(5, 5), 1); // flat pressure leaves the velocity
}

} // namespace
} // namespace kestrel
