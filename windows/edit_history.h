#pragma once
// The obstacle edits that undo and redo step through, within a memory
// budget: when the kept edits would need more, the oldest are dropped.
#include "cell_map_edit.h"

#include <deque>
#include <functional>
#include <memory>

namespace kestrel {

class EditHistory {
  public:
    static constexpr std::size_t kDefaultBudgetBytes = std::size_t{256} << 20;

    // The state whose map (and mesh counts) the edits change, and what to
    // do after undo or redo changed them.
    EditHistory(SimulationState& state, std::function<void()> changedMap)
        : state_(state), changedMap_(std::move(changedMap)) {}

    // Called whenever what can be undone or redone changes.
    void onChange(std::function<void()> changed) { changed_ = std::move(changed); }
    void setBudget(std::size_t bytes);

    // Keeps an edit already made to the map; the edits undone before it are gone.
    void push(std::unique_ptr<CellMapEdit> edit);
    void undo();
    void redo();
    void clear();

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < edits_.size(); }
    QString undoText() const { return canUndo() ? edits_[done_ - 1]->name() : QString(); }
    QString redoText() const { return canRedo() ? edits_[done_]->name() : QString(); }
    std::size_t count() const { return edits_.size(); }
    // How many of the kept edits are applied to the map.
    std::size_t applied() const { return done_; }
    std::size_t bytes() const { return bytes_; }

  private:
    void keepWithinBudget();
    void changed() {
        if (changed_) changed_();
    }

    SimulationState& state_;
    std::function<void()> changedMap_;
    std::function<void()> changed_;
    std::deque<std::unique_ptr<CellMapEdit>> edits_;
    std::size_t done_ = 0; // edits_[0, done_) are applied
    std::size_t bytes_ = 0;
    std::size_t budget_ = kDefaultBudgetBytes;
};

} // namespace kestrel
