#pragma once
// One obstacle edit as an undo step: a click, a range, an initialisation, or
// a map made anew for other mesh counts. Edits within one map keep only the
// cells they changed; a map made anew keeps both whole maps.
#include "app/simulation_state.h"

#include <QUndoCommand>
#include <functional>
#include <vector>

namespace kestrel {

// What undo works on: the state's map, and the picture, redrawn when it
// shows the map.
struct CellMapTarget {
    SimulationState& state;
    std::function<void()> redraw;
};

class CellMapEdit : public QUndoCommand {
  public:
    // The edit from `before` to the state's map now; null when nothing changed.
    static CellMapEdit* between(const Array2<Integer>& before, const QString& name,
                                const CellMapTarget& target);

    void undo() override { apply(false); }
    void redo() override;

  private:
    CellMapEdit(const QString& name, const CellMapTarget& target)
        : QUndoCommand(name), target_(target) {}
    void apply(bool forward);

    CellMapTarget target_;
    bool pushed_ = false; // made after the edit itself: the push's redo has nothing to do
    // Within one map: the changed cells by their place in the map's storage.
    std::vector<std::size_t> cells_;
    std::vector<Integer> oldKinds_, newKinds_;
    // A map made anew: both whole maps.
    bool remade_ = false;
    Array2<Integer> oldMap_{"cellKind"}, newMap_{"cellKind"};
};

} // namespace kestrel
