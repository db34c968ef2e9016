// Case files written and read back: every value to the last bit.
#include "cases/case_writing.h"
#include "cells/cell_map.h"
#include "support/field_bits.h"
#include "support/thrown.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::SameBits;

CaseFile awkwardCase() {
    CaseFile c = DefaultCase();
    SimulationState& m = c.state;
    m.dt = 0.1 + 0.2; // needs all 17 digits
    m.reynolds = 1.0 / 3.0;
    m.stepCount = -5;
    m.maxIter = 32767;
    m.nx = 7;
    m.ny = 4;
    m.meshMode = 0;
    m.meshSizeX = -3;
    m.meshSizeY = 0;
    m.lineScale = 5e-324;
    m.coordListX.redim(8);
    for (int k = 1; k <= 8; ++k)
        m.coordListX(k) = std::ldexp(k, -40);
    m.coordListX(3) = kUnsetCoordinate;
    m.coordListY.redim(5);
    for (int k = 1; k <= 5; ++k)
        m.coordListY(k) = 1e300 * k;
    InitCellMap(m);
    for (const auto& [i, j] : {std::pair{1, 1}, {7, 4}, {3, 2}, {4, 2}, {7, 1}})
        m.cellKind(i, j) = 0;
    m.monitorI = 7; // the last cell
    m.monitorJ = 4;
    m.method = {Method::Staggered, true, true, true, 0.1 + 0.2};
    c.display = Display::Speed;
    c.lineWidth = 3;
    c.displayInterval = 7;
    c.confirmEachDisplay = false;
    return c;
}

TEST(CaseWriting, EveryValueReadsBackToTheSameBits) {
    const CaseFile c = awkwardCase();
    const CaseFile back = ReadCaseFile(WriteCaseText(c));
    const SimulationState& a = c.state;
    const SimulationState& b = back.state;
    for (const auto& [x, y] :
         {std::pair{a.dt, b.dt}, {a.reynolds, b.reynolds}, {a.lineScale, b.lineScale}})
        EXPECT_TRUE(SameBits(x, y) && std::signbit(x) == std::signbit(y)) << x << " " << y;
    EXPECT_EQ(b.stepCount, -5);
    EXPECT_EQ(b.maxIter, 32767);
    EXPECT_EQ(b.nx, 7);
    EXPECT_EQ(b.ny, 4);
    EXPECT_EQ(b.meshMode, 0);
    EXPECT_EQ(b.meshSizeX, -3);
    EXPECT_EQ(b.meshSizeY, 0);
    EXPECT_EQ(b.coordListX, a.coordListX);
    EXPECT_EQ(b.coordListY, a.coordListY);
    EXPECT_EQ(b.cellKind, a.cellKind);
    EXPECT_EQ(std::pair(b.monitorI, b.monitorJ), std::pair(Integer{7}, Integer{4}));
    EXPECT_TRUE(b.method == a.method);
    EXPECT_EQ(back.display, Display::Speed);
    EXPECT_EQ(back.lineWidth, 3);
    EXPECT_EQ(back.displayInterval, 7);
    EXPECT_FALSE(back.confirmEachDisplay);
    // Written again, the text is the same: nothing drifts between saves.
    EXPECT_EQ(WriteCaseText(back), WriteCaseText(c));
}

// A monitor placed before the counts were lowered lies outside the mesh:
// saved, the case opens again, without it.
TEST(CaseWriting, AMonitorOutsideTheCountsIsLeftOut) {
    CaseFile c = DefaultCase();
    c.state.monitorI = 40;
    c.state.monitorJ = 20;
    c.state.nx = 30;
    const CaseFile back = ReadCaseFile(WriteCaseText(c));
    EXPECT_EQ(back.state.monitorI, 0);
    c.state.nx = 40;
    EXPECT_EQ(ReadCaseFile(WriteCaseText(c)).state.monitorI, 40);
}

TEST(CaseWriting, NegativeZeroKeepsItsSign) {
    CaseFile c = DefaultCase();
    c.state.reynolds = -0.0;
    const double back = ReadCaseFile(WriteCaseText(c)).state.reynolds;
    EXPECT_EQ(back, 0);
    EXPECT_TRUE(std::signbit(back));
}

// The defaults as the window saves them, to the byte: files saved before
// and after a change of the code compare equal.
TEST(CaseWriting, TheDefaultsAreWrittenInTheirOwnLayout) {
    EXPECT_EQ(WriteCaseText(DefaultCase()), R"({
  "format": "kestrel-case 1",
  "dt": 0.005, "reynolds": 40, "stepCount": 400, "maxIter": 100,
  "nx": 61, "ny": 31, "meshMode": -1, "meshSizeX": 10, "meshSizeY": 10,
  "obstacleRuns": [],
  "method": "classic", "walls": "no-slip", "inflow": "uniform", "timeStep": "fixed", "safety": 0.5,
  "display": "pressure", "lineScale": 5, "lineWidth": 1,
  "displayInterval": 2, "confirmEachDisplay": true
}
)");
}

TEST(CaseWriting, ObstaclesAreTheCellsWithinTheMeshCounts) {
    CaseFile c = DefaultCase();
    SimulationState& m = c.state;
    m.nx = 6;
    m.ny = 5;
    InitCellMap(m);
    m.cellKind(6, 5) = 0;
    m.cellKind(2, 1) = 0;
    m.nx = 5; // counts lowered after the map was made: cell 6 lies outside
    m.ny = 6; // raised: the map has no row 6
    const std::string text = WriteCaseText(c);
    EXPECT_NE(text.find("\"obstacleRuns\": [\n    [1, 2, 2]\n  ]"), std::string::npos) << text;
    const CaseFile back = ReadCaseFile(text);
    EXPECT_EQ(back.state.cellKind.upper1(), 6);
    EXPECT_EQ(back.state.cellKind.upper2(), 7);
    EXPECT_EQ(back.state.cellKind(2, 1), 0);
    EXPECT_EQ(back.state.cellKind(5, 5), 1);

    m.nx = 8; // beyond the map: its border column is not an obstacle
    m.ny = 4;
    EXPECT_NE(WriteCaseText(c).find("\"obstacleRuns\": [\n    [1, 2, 2]\n  ]"), std::string::npos)
        << WriteCaseText(c);

    m.cellKind.erase(); // never made: no obstacles key, the reader makes it all fluid
    EXPECT_EQ(WriteCaseText(c).find("obstacles"), std::string::npos);
}

// Painted cells are written as runs along rows, so the largest maps save
// within what a case file may hold, and a map that still would not is
// refused instead of written.
TEST(CaseWriting, EveryMapWrittenOpensAgainOrIsRefused) {
    CaseFile c = DefaultCase();
    SimulationState& m = c.state;
    m.nx = m.ny = 3998;
    InitCellMap(m);
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1 + j % 3; i <= m.nx - j % 5; ++i)
            if ((i + j) % 7 != 0 && j % 3 != 0) m.cellKind(i, j) = 0;
    const std::string text = WriteCaseText(c);
    EXPECT_LE(text.size(), kMaxCaseFileBytes);
    EXPECT_EQ(ReadCaseFile(text).state.cellKind, m.cellKind);
    // Both lists at once: the pairs of older files and the runs.
    const CaseFile both =
        ReadCaseFile(R"({"nx": 6, "ny": 3, "obstacles": [[1, 1]], "obstacleRuns": [[3, 2, 4]]})");
    EXPECT_EQ(both.state.cellKind(1, 1), 0);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(both.state.cellKind(i, 3), i >= 2 && i <= 4 ? 0 : 1) << i;

#ifndef __SANITIZE_ADDRESS__        // a minute's work there; the release suite checks it
    for (int j = 1; j <= m.ny; ++j) // a checkerboard is a run a cell
        for (int i = 1; i <= m.nx; ++i)
            m.cellKind(i, j) = static_cast<Integer>((i + j) % 2);
    EXPECT_NE(test::FailureText([&] { WriteCaseText(c); }).find("more than the 64 MiB"),
              std::string::npos);
#endif
}

TEST(CaseWriting, ANumberJsonCannotHoldIsRefusedByName) {
    for (const double bad : {INFINITY, -INFINITY, NAN}) {
        CaseFile c = DefaultCase();
        c.state.lineScale = bad;
        EXPECT_NE(test::FailureText([&] { WriteCaseText(c); }).find("\"lineScale\""),
                  std::string::npos)
            << bad;
    }
    CaseFile c = DefaultCase();
    c.state.coordListY.redim(2);
    c.state.coordListY(2) = NAN;
    EXPECT_THROW(WriteCaseText(c), Failure);
}

TEST(CaseReading, TheWindowsRunOptionsAreCheckedByType) {
    EXPECT_THROW(ReadCaseFile(R"({"confirmEachDisplay": 1})"), Failure);
    EXPECT_THROW(ReadCaseFile(R"({"displayInterval": "2"})"), Failure);
    const CaseFile c = ReadCaseFile(R"({"displayInterval": 0.5, "confirmEachDisplay": false})");
    EXPECT_EQ(c.displayInterval, 0.5);
    EXPECT_FALSE(c.confirmEachDisplay);
}

} // namespace
} // namespace kestrel
