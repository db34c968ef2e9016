// Undo of obstacle edits on the largest maps: compact, bounded, exact.
#include "cells/cell_map.h"
#include "windows/edit_history.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

Array2<Integer> mapOf(int nx, int ny) {
    SimulationState m;
    m.nx = static_cast<Integer>(nx);
    m.ny = static_cast<Integer>(ny);
    InitCellMap(m);
    return m.cellKind;
}

void invert(Array2<Integer>& map, int i1, int i2, int j1, int j2) {
    for (int j = j1; j <= j2; ++j)
        for (int i = i1; i <= i2; ++i)
            map(i, j) = static_cast<Integer>(map(i, j) == 0 ? 1 : 0);
}

TEST(EditHistory, LargeRangesAreKeptAsRunsAndUndoneExactly) {
    Array2<Integer> map = mapOf(3998, 3998);
    int redraws = 0;
    EditHistory history(map, [&] { ++redraws; });
    std::vector<Array2<Integer>> states{map};
    for (int k = 0; k < 5; ++k) { // 7.7 M cells each, over a map the earlier ones changed
        const Array2<Integer> before = map;
        invert(map, 100 + k, 3000 + k, 200 - k, 2800 + 2 * k);
        map(1 + k, 1 + k) = 0; // and one cell apart
        history.push(CellMapEdit::between(before, map, "反転"));
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

TEST(EditHistory, AMapMadeAnewComesBackWithItsExtents) {
    Array2<Integer> map = mapOf(9, 7);
    map(3, 4) = 0;
    const Array2<Integer> small = map;
    EditHistory history(map, [] {});
    map = mapOf(20, 11);
    map(18, 10) = 0;
    const Array2<Integer> large = map;
    history.push(CellMapEdit::between(small, large, "流体有無指定"));
    history.undo();
    EXPECT_EQ(map, small);
    history.redo();
    EXPECT_EQ(map, large);
    EXPECT_EQ(CellMapEdit::between(map, map, "x"), nullptr) << "no change, no step";
}

TEST(EditHistory, TheOldestEditsGoWhenTheBudgetIsSpent) {
    Array2<Integer> map = mapOf(400, 300);
    EditHistory history(map, [] {});
    std::vector<Array2<Integer>> states{map};
    for (int k = 0; k < 10; ++k) {
        const Array2<Integer> before = map;
        invert(map, 1, 400, 1 + k * 20, 10 + k * 20); // ten rows: ten runs
        history.push(CellMapEdit::between(before, map, "反転"));
        states.push_back(map);
    }
    const std::size_t perEdit = history.bytes() / 10;
    history.setBudget(perEdit * 3 + perEdit / 2);
    EXPECT_EQ(history.count(), 3u);
    for (int k = 10; k > 7; --k) {
        ASSERT_TRUE(history.canUndo());
        history.undo();
        EXPECT_EQ(map, states[k - 1]);
    }
    EXPECT_FALSE(history.canUndo()) << "the dropped steps are gone, not half there";
    history.setBudget(0);
    history.redo();
    history.push(CellMapEdit::between(states[8], states[9], "x")); // the newest always stays
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

} // namespace
} // namespace kestrel
