#include "cell_map_edit.h"

namespace kestrel {

namespace {

bool sameExtents(const Array2<Integer>& a, const Array2<Integer>& b) {
    return a.exists() == b.exists() && a.upper1() == b.upper1() && a.upper2() == b.upper2();
}

} // namespace

CellMapEdit* CellMapEdit::between(const Array2<Integer>& before, const QString& name,
                                  const CellMapTarget& target) {
    const Array2<Integer>& now = target.state.cellKind;
    if (before == now) return nullptr;
    auto* edit = new CellMapEdit(name, target);
    if (!sameExtents(before, now)) {
        edit->remade_ = true;
        edit->oldMap_ = before;
        edit->newMap_ = now;
        return edit;
    }
    const Integer* oldData = before.data();
    const Integer* newData = now.data();
    for (std::size_t k = 0; k < now.size(); ++k)
        if (oldData[k] != newData[k]) {
            edit->cells_.push_back(k);
            edit->oldKinds_.push_back(oldData[k]);
            edit->newKinds_.push_back(newData[k]);
        }
    return edit;
}

void CellMapEdit::redo() {
    if (!pushed_) {
        pushed_ = true;
        return;
    }
    apply(true);
}

void CellMapEdit::apply(bool forward) {
    Array2<Integer>& map = target_.state.cellKind;
    if (remade_) {
        map = forward ? newMap_ : oldMap_;
    } else {
        // Every change of the map goes through the stack, so its cells are
        // where they were; a map of another size is left alone all the same.
        if (!cells_.empty() && cells_.back() >= map.size()) return;
        const std::vector<Integer>& kinds = forward ? newKinds_ : oldKinds_;
        for (std::size_t k = 0; k < cells_.size(); ++k)
            map.data()[cells_[k]] = kinds[k];
    }
    target_.redraw();
}

} // namespace kestrel
