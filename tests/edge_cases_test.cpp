// A fixed run pinned to the bit, and the edge cases of the plots, the run
// loop and the pointer that the other suites leave open.
#include "canvas/image_surface.h"
#include "cells/cell_map.h"
#include "cells/pointer_selection.h"
#include "mesh/mesh_display.h"
#include "plot/color_scale.h"
#include "plot/field_plot.h"
#include "plot/flow_line.h"
#include "run/run_calculation.h"
#include "runtime/failure.h"
#include "solver/boundary_conditions.h"
#include "solver/solver_steps.h"
#include "support/field_bits.h"
#include "support/pixels.h"
#include "support/scripted_host.h"
#include "support/sweep_recorder.h"
#include "support/test_state.h"
#include "support/thrown.h"

#include <gtest/gtest.h>
#include <limits>
#include <numeric>

namespace kestrel {
namespace {

using test::pixelAt;
using test::ScriptedHost;

// Code that the fast and the plain loops share (mesh factors, boundary maps,
// initial fields) cannot be checked by comparing the two: pin the result of
// the default case instead.
TEST(GoldenRun, DefaultCaseWithTheFiveByFiveObstacle) {
    SimulationState m = test::meshState(61, 31);
    test::addDefaultObstacle(m);
    ScriptedHost host;
    test::SweepRecorder steps;
    ASSERT_EQ(RunTimeSteps(m, host, steps), RunEnd::Completed);
    ASSERT_EQ(steps.sweeps.size(), 400u);
    EXPECT_EQ(std::accumulate(steps.sweeps.begin(), steps.sweeps.end(), 0), 31436);
    EXPECT_EQ(steps.sweeps.front(), 100);
    EXPECT_EQ(test::FieldFingerprint(m), 4627700611804036714u);
}

TEST(PressureIteration, AnErrorOfExactlyTheToleranceEndsIt) {
    // One interior point whose correction is exactly 0.01: its square is the
    // Double nearest 0.0001, the tolerance itself.
    SimulationState m = test::meshState(5, 5);
    test::initialiseRun(m);
    m.work1(3, 3) = -0.02;
    m.work2(3, 3) = 0.5;
    const double error = SweepPressure(m);
    EXPECT_EQ(error, 0.0001);
    EXPECT_TRUE(PressureConverged(error));
    EXPECT_FALSE(PressureConverged(std::nextafter(0.0001, 1.0)));
}

TEST(BoundaryMapEdges, ObstaclesOnTheLastInnerRowAndColumnAreWeighted) {
    SimulationState m = test::meshState(8, 8);
    m.cellKind(4, 7) = 0; // row ny - 1
    m.cellKind(7, 4) = 0; // column nx - 1
    ScriptedHost host;
    ASSERT_EQ(InitBoundaryConditions(m, host), 0);
    EXPECT_EQ(m.bcMapB(4, 7), 3);
    EXPECT_EQ(m.bcMapB(7, 4), 3);
    EXPECT_EQ(m.bcMapA(4, 8), 1);
    EXPECT_EQ(m.bcMapA(8, 4), 1);
}

TEST(FieldCheck, EveryArrayOfAStepMustCoverTheMesh) {
    SimulationState m = test::meshState(8, 6);
    test::initialiseRun(m);
    EXPECT_TRUE(SolverArraysCover(m));
    for (Array2<double> SimulationState::*work :
         {&SimulationState::work1, &SimulationState::work2, &SimulationState::work3}) {
        SimulationState shrunk = m;
        (shrunk.*work).redim(7, 6);
        EXPECT_FALSE(SolverArraysCover(shrunk));
    }
    SimulationState factors = m;
    factors.facY4.redim(5);
    EXPECT_FALSE(SolverArraysCover(factors));
}

// The state's arrays say which of them a missed index was in.
TEST(FieldCheck, AMissedIndexNamesTheArrayForDevelopers) {
    SimulationState m = test::meshState(8, 6);
    test::initialiseRun(m);
    EXPECT_NE(test::FailureText([&] { m.U.at(9, 2); }).find("U(9, 2) outside 0..8 x 0..6"),
              std::string::npos);
}

TEST(FieldCheck, ANonFiniteValueInAnyFieldCounts) {
    for (Array2<double> SimulationState::*field :
         {&SimulationState::U, &SimulationState::V, &SimulationState::P}) {
        SimulationState m = test::meshState(6, 6);
        test::initialiseRun(m);
        EXPECT_TRUE(FieldIsFinite(m));
        (m.*field)(6, 6) = std::numeric_limits<double>::quiet_NaN();
        EXPECT_FALSE(FieldIsFinite(m));
        (m.*field)(6, 6) = -std::numeric_limits<double>::infinity();
        EXPECT_FALSE(FieldIsFinite(m));
    }
}

class ResultDisplay : public test::PictureTest {
  protected:
    ResultDisplay() {
        test::initialiseRun(m);
        for (int j = 1; j <= 6; ++j)
            for (int i = 1; i <= 8; ++i) {
                m.U(i, j) = 0.1 * i;
                m.V(i, j) = 0.05 * j;
                m.P(i, j) = i - j;
            }
    }
    QImage drawn(bool (*plot)(SimulationState&, Host&, Surface&)) {
        ImageSurface other{kPictureWidthTwips, kPictureHeightTwips};
        plot(m, host, other);
        return other.image();
    }
    SimulationState m = test::meshState(8, 6);
};

TEST_F(ResultDisplay, TheColourOptionPicksThePlot) {
    ShowResult(m, host, s);
    EXPECT_EQ(s.image(), drawn(DrawPressurePlot));
    EXPECT_NE(s.image(), drawn(DrawSpeedPlot));
    host.shownDisplay = Display::Speed;
    ShowResult(m, host, s);
    EXPECT_EQ(s.image(), drawn(DrawSpeedPlot));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ResultDisplay, SpeedsAtTheEndsOfTheRangeTakeTheEndBands) {
    m.lineScale = 0;
    host.shownDisplay = Display::Speed;
    // The fastest and the slowest cells lie in the ring: give two inner cells
    // exactly their speeds.
    m.U(7, 5) = 0.8;
    m.V(7, 5) = 0.3;
    m.U(2, 2) = 0.1;
    m.V(2, 2) = 0.05;
    ShowResult(m, host, s);
    ASSERT_EQ(m.speedMax, std::sqrt(0.3 * 0.3 + 0.8 * 0.8));
    EXPECT_EQ(pixelAt(s, 62, 42), 0xFF4040u); // band 10
    EXPECT_EQ(pixelAt(s, 12, 12), 0x64C880u); // band 1
}

TEST_F(ResultDisplay, ASpeedWhoseSquareOverflowsIsAFailureOfThePlot) {
    m.U(3, 3) = 1e155;
    host.shownDisplay = Display::Speed;
    ShowResult(m, host, s);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "オーバーフローしました。 (計算結果表示)");
}

TEST_F(ResultDisplay, MeshCountsLoweredAfterTheRunShowTheFirstCells) {
    m.nx = 6;
    m.ny = 5;
    m.lineScale = 0;
    ShowResult(m, host, s);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(s.scale().width, 60);
    EXPECT_EQ(s.scale().height, 50);
    EXPECT_EQ(pixelAt(s, 53, 23), 0x000000u); // the new last column is black
    EXPECT_NE(pixelAt(s, 43, 23), 0x000000u);
}

void drawFlowLine(const SimulationState& m, ImageSurface& s, int penWidth, double u, double v) {
    const auto line = FlowLineThrough(m, 0, 0, u, v);
    ASSERT_TRUE(line);
    s.setPenWidth(penWidth);
    s.drawLine(line->x1, line->y1, line->x2, line->y2, kFlowLineColour);
}

TEST_F(ResultDisplay, FlowLinesAlongADiagonalAsAPointAndWithANegativeScale) {
    SetPictureScale(s, -10, -10, 10, 10);
    drawFlowLine(m, s, 1, 0.6, 0.8); // lineScale 5: from (-3, -4) to (3, 4)
    EXPECT_EQ(pixelAt(s, -3, -4), 0x0000FFu);
    EXPECT_EQ(pixelAt(s, 3, 4), 0x0000FFu);
    EXPECT_EQ(pixelAt(s, 0, 0), 0x0000FFu);
    EXPECT_NE(pixelAt(s, 3.6, 4.8), 0x0000FFu);
    const QImage diagonal = s.image();

    s.clear();
    m.lineScale = -5; // the same segment with its ends swapped
    drawFlowLine(m, s, 1, 0.6, 0.8);
    EXPECT_EQ(s.image(), diagonal);

    s.clear();
    m.lineScale = 0;
    drawFlowLine(m, s, 3, 0.6, 0.8);
    EXPECT_EQ(pixelAt(s, 0, 0), 0x0000FFu); // a dot in the pen width
    EXPECT_NE(pixelAt(s, 1, 1), 0x0000FFu);
}

class RunLoop : public ::testing::Test {
  protected:
    RunLoop() { m.stepCount = 5; }
    std::vector<std::string> captions() const { return host.statusLog; }
    SimulationState m = test::meshState(12, 8);
    ScriptedHost host;
    ImageSurface picture{kPictureWidthTwips, kPictureHeightTwips};
    SaveDialogState dialog;
};

TEST_F(RunLoop, IntervalOneDisplaysEveryStep) {
    host.confirm = false;
    host.displayInterval = "1";
    EXPECT_EQ(StartRun(m, host, picture, dialog), RunEnd::Completed);
    EXPECT_EQ(captions().size(), 5u);
    EXPECT_EQ(captions().back(), "計算結果 5回目");
}

TEST_F(RunLoop, StopPressedDuringADueDisplayLetsThatStepFinish) {
    host.confirm = false;
    // Events run at the start of steps 1 and 2, then after the display of
    // step 2: the press lands there.
    host.onProcessEvents = [this] {
        if (host.processEventsCalls == 3) RequestStop(m);
    };
    EXPECT_EQ(StartRun(m, host, picture, dialog), RunEnd::Stopped);
    EXPECT_EQ(captions(), std::vector<std::string>{"計算結果 2回目"});

    SimulationState twoSteps = test::meshState(12, 8);
    twoSteps.stepCount = 2;
    ScriptedHost quiet;
    quiet.displayInterval = "1000";
    StartRun(twoSteps, quiet, picture, dialog);
    EXPECT_EQ(test::FieldFingerprint(m), test::FieldFingerprint(twoSteps));
}

class PointerStates : public test::PictureTest {
  protected:
    PointerStates() {
        InitCellMap(m);
        DrawCellMap(m, s);
    }
    void down(int button, float x, float y) { PressOnPicture(m, host, s, button, x, y); }
    SimulationState m = test::meshState(10, 6);
};

TEST_F(PointerStates, OnlyTheLeftButtonActsInAnyState) {
    for (Integer state : {0, 1, 2, 3}) {
        m.pickState = static_cast<PickState>(state);
        const QImage before = s.image();
        for (int button : {2, 4}) {
            down(button, 3.5f, 2.5f);
            EXPECT_EQ(m.pickState, static_cast<PickState>(state));
            EXPECT_EQ(m.cellKind(4, 3), 1);
            EXPECT_EQ(s.image(), before) << "state " << state << " button " << button;
        }
    }
}

TEST_F(PointerStates, MovesDrawOnlyWhileARangeIsOpen) {
    for (Integer state : {0, 1, 2}) {
        m.pickState = static_cast<PickState>(state);
        const QImage before = s.image();
        MoveOnPicture(m, s, 5.5f, 4.5f);
        EXPECT_EQ(s.image(), before) << "state " << state;
        EXPECT_EQ(m.rangeEndI, 0);
    }
}

TEST_F(PointerStates, AClickAtTheLeftEdgeChangesTheBorderColumn) {
    m.pickState = PickState::Cell;
    const QImage before = s.image();
    down(1, 0.0f, 2.5f);
    EXPECT_EQ(m.cellKind(0, 3), 1); // inverted from the border's 0
    EXPECT_EQ(m.cellKind(1, 3), 1);
    EXPECT_EQ(pixelAt(s, 0.5, 2.5), before.pixel(s.toPixel(0.5, 2.5).toPoint()) & 0xFFFFFF);
}

TEST_F(PointerStates, AfterAResultPlotClicksUseThePlotsCoordinates) {
    test::initialiseRun(m);
    DrawPressurePlot(m, host, s); // mesh size 10: the plot runs from 0 to 100
    m.pickState = PickState::Cell;
    down(1, 35.0f, 25.0f); // cell (35, 25) lies outside the map: ends quietly
    down(1, 5.0f, 3.0f);
    EXPECT_EQ(m.cellKind(5, 3), 0);
    EXPECT_EQ(pixelAt(s, 4.5, 2.5), 0xFF0000u); // its square, drawn in the plot's units
    EXPECT_TRUE(host.messages.empty());
}

TEST(MeshDisplayEdges, ARaisedColumnCountShowsTheFormerBorderInRed) {
    ScriptedHost host;
    ImageSurface s{kPictureWidthTwips, kPictureHeightTwips};
    SimulationState m = test::meshState(6, 4);
    m.nx = 7;
    DrawMeshShape(m, host, s);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(pixelAt(s, 65, 15), 0xFF0000u);
    EXPECT_EQ(pixelAt(s, 55, 15), 0x00FFFFu);
    m.nx = 8;
    DrawMeshShape(m, host, s);
    EXPECT_EQ(host.messages.back().text, "インデックスが有効範囲にありません。 (相似形表示)");
}

} // namespace
} // namespace kestrel
