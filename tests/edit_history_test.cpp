// Undo of obstacle edits on the largest maps: compact, bounded, exact.
#include "cells/cell_map.h"
#include "windows/edit_history.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

SimulationState mapOf(int nx, int ny) {
    SimulationState m;
    m.nx = static_cast<Integer>(nx);
    m.ny = static_cast<Integer>(ny);
    InitCellMap(m);
    return m;
}

// Records the edit from `before` to the state's map now.
void push(EditHistory& history, const SimulationState& before, const SimulationState& now) {
    history.push(CellMapEdit::between(before.cellKind, now.cellKind, "編集"));
}

void invert(Array2<Integer>& map, int i1, int i2, int j1, int j2) {
    for (int j = j1; j <= j2; ++j)
        for (int i = i1; i <= i2; ++i)
            map(i, j) = static_cast<Integer>(map(i, j) == 0 ? 1 : 0);
}

TEST(EditHistory, LargeRangesAreKeptAsRunsAndUndoneExactly) {
    SimulationState m = mapOf(3998, 3998);
    Array2<Integer>& map = m.cellKind;
    int redraws = 0;
    EditHistory history(m, [&] { ++redraws; });
    std::vector<Array2<Integer>> states{map};
    for (int k = 0; k < 5; ++k) { // 7.7 M cells each, over a map the earlier ones changed
        const SimulationState before = m;
        invert(map, 100 + k, 3000 + k, 200 - k, 2800 + 2 * k);
        map(1 + k, 1 + k) = 0; // and one cell apart
        push(history, before, m);
        states.push_back(map);
    }
    EXPECT_LT(history.bytes(), std::size_t{1} << 20) << "a run a row, not bytes a cell";
    for (int k = 5; k > 0; --k) {
        history.undo();
        EXPECT_EQ(map, states[k - 1]) << k;
    }
    EXPECT_FALSE(history.canUndo());
    for (int k = 1; k <= 5; ++k) {
        history.redo();
        EXPECT_EQ(map, states[k]) << k;
    }
    EXPECT_EQ(redraws, 10);
}

TEST(EditHistory, AMapMadeAnewComesBackWithItsExtentsAndCounts) {
    SimulationState m = mapOf(9, 7);
    m.cellKind(3, 4) = 0;
    const SimulationState small = m;
    EditHistory history(m, [] {});
    m = mapOf(20, 11);
    m.cellKind(18, 10) = 0;
    const SimulationState large = m;
    push(history, small, large);
    history.undo();
    EXPECT_EQ(m.cellKind, small.cellKind);
    EXPECT_EQ(m.nx, 9);
    EXPECT_EQ(m.ny, 7);
    history.redo();
    EXPECT_EQ(m.cellKind, large.cellKind);
    EXPECT_EQ(m.nx, 20);
    EXPECT_EQ(m.ny, 11);
    EXPECT_EQ(CellMapEdit::between(m.cellKind, m.cellKind, "x"), nullptr) << "no change, no step";
}

TEST(EditHistory, TheOldestEditsGoWhenTheBudgetIsSpent) {
    SimulationState m = mapOf(400, 300);
    Array2<Integer>& map = m.cellKind;
    EditHistory history(m, [] {});
    std::vector<SimulationState> states{m};
    for (int k = 0; k < 10; ++k) {
        invert(map, 1, 400, 1 + k * 20, 10 + k * 20); // ten rows: ten runs
        push(history, states.back(), m);
        states.push_back(m);
    }
    const std::size_t perEdit = history.bytes() / 10;
    history.setBudget(perEdit * 3 + perEdit / 2);
    EXPECT_EQ(history.count(), 3u);
    for (int k = 10; k > 7; --k) {
        ASSERT_TRUE(history.canUndo());
        history.undo();
        EXPECT_EQ(map, states[k - 1].cellKind);
    }
    EXPECT_FALSE(history.canUndo()) << "the dropped steps are gone, not half there";
    history.setBudget(0);
    history.redo();
    push(history, states[8], states[9]); // the newest always stays
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

} // namespace
} // namespace kestrel
