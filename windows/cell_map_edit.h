#pragma once
// One obstacle edit as an undo step: a click, a range, an initialisation, or
// a map made anew for other mesh counts, which brings its counts back with
// it. Kept compactly, so that large maps can be edited many times: an edit
// within one map keeps runs of changed cells (a range is a run a row), a map
// made anew keeps both maps as runs of equal values.
#include "app/simulation_state.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace kestrel {

class CellMapEdit {
  public:
    // The edit from `before` to `now`; null when nothing changed.
    static std::unique_ptr<CellMapEdit> between(const Array2<Integer>& before,
                                                const Array2<Integer>& now, const QString& name);

    // Makes the state's map what it was after the edit (forward) or before
    // it; a map made anew also sets the mesh counts it was made for.
    void apply(SimulationState& m, bool forward) const;

    const QString& name() const { return name_; }
    // The memory the edit keeps.
    std::size_t bytes() const;

  private:
    // Equal values in storage order.
    struct Run {
        std::size_t start;
        std::uint32_t length;
        Integer value; // within one map: old ^ new; a whole map: the value
    };
    struct WholeMap {
        int upper1 = -1, upper2 = -1;
        std::vector<Run> runs;
    };
    static WholeMap encode(const Array2<Integer>& map);
    static void decode(const WholeMap& whole, Array2<Integer>& map);

    explicit CellMapEdit(const QString& name) : name_(name) {}

    QString name_;
    bool remade_ = false;
    std::vector<Run> changes_; // within one map
    WholeMap oldMap_, newMap_; // a map made anew
};

} // namespace kestrel
