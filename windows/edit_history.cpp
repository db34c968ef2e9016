#include "edit_history.h"

namespace kestrel {

void EditHistory::setBudget(std::size_t bytes) {
    budget_ = bytes;
    keepWithinBudget();
    changed();
}

void EditHistory::push(std::unique_ptr<CellMapEdit> edit) {
    while (edits_.size() > done_) {
        bytes_ -= edits_.back()->bytes();
        edits_.pop_back();
    }
    bytes_ += edit->bytes();
    edits_.push_back(std::move(edit));
    done_ = edits_.size();
    keepWithinBudget();
    changed();
}

void EditHistory::undo() {
    if (!canUndo()) return;
    edits_[--done_]->apply(state_, false);
    changedMap_();
    changed();
}

void EditHistory::redo() {
    if (!canRedo()) return;
    edits_[done_++]->apply(state_, true);
    changedMap_();
    changed();
}

void EditHistory::clear() {
    edits_.clear();
    done_ = 0;
    bytes_ = 0;
    changed();
}

void EditHistory::keepWithinBudget() {
    // The newest edit stays, whatever it costs: the last step can always be undone.
    while (bytes_ > budget_ && edits_.size() > 1 && done_ > 1) {
        bytes_ -= edits_.front()->bytes();
        edits_.pop_front();
        --done_;
    }
}

} // namespace kestrel
