#include "cell_map_edit.h"

namespace kestrel {

namespace {

bool sameExtents(const Array2<Integer>& a, const Array2<Integer>& b) {
    return a.exists() == b.exists() && a.upper1() == b.upper1() && a.upper2() == b.upper2();
}

} // namespace

std::unique_ptr<CellMapEdit> CellMapEdit::between(const Array2<Integer>& before,
                                                  const Array2<Integer>& now, const QString& name) {
    if (before == now) return nullptr;
    std::unique_ptr<CellMapEdit> edit(new CellMapEdit(name));
    if (!sameExtents(before, now)) {
        edit->remade_ = true;
        edit->oldMap_ = encode(before);
        edit->newMap_ = encode(now);
        return edit;
    }
    const Integer* oldData = before.data();
    const Integer* newData = now.data();
    std::vector<Run>& runs = edit->changes_;
    for (std::size_t k = 0; k < now.size(); ++k) {
        const auto change = static_cast<Integer>(oldData[k] ^ newData[k]);
        if (change == 0) continue;
        if (!runs.empty() && runs.back().start + runs.back().length == k &&
            runs.back().value == change)
            ++runs.back().length;
        else
            runs.push_back({k, 1, change});
    }
    runs.shrink_to_fit();
    return edit;
}

CellMapEdit::WholeMap CellMapEdit::encode(const Array2<Integer>& map) {
    WholeMap whole;
    if (!map.exists()) return whole;
    whole.upper1 = map.upper1();
    whole.upper2 = map.upper2();
    const Integer* data = map.data();
    for (std::size_t k = 0; k < map.size(); ++k) {
        if (!whole.runs.empty() && whole.runs.back().value == data[k])
            ++whole.runs.back().length;
        else
            whole.runs.push_back({k, 1, data[k]});
    }
    whole.runs.shrink_to_fit();
    return whole;
}

void CellMapEdit::decode(const WholeMap& whole, Array2<Integer>& map) {
    if (whole.upper1 < 0) {
        map.erase();
        return;
    }
    map.redim(whole.upper1, whole.upper2);
    Integer* data = map.data();
    for (const Run& run : whole.runs)
        std::fill(data + run.start, data + run.start + run.length, run.value);
}

void CellMapEdit::apply(SimulationState& m, bool forward) const {
    Array2<Integer>& map = m.cellKind;
    if (remade_) {
        decode(forward ? newMap_ : oldMap_, map);
        // A map holds its border ring: the counts it was made for are one less.
        if (map.exists()) {
            m.nx = static_cast<Integer>(map.upper1() - 1);
            m.ny = static_cast<Integer>(map.upper2() - 1);
        }
        return;
    }
    // Every change of the map goes through the history, so its cells are
    // where they were; a map of another size is left alone all the same.
    if (!changes_.empty() && changes_.back().start + changes_.back().length > map.size()) return;
    Integer* data = map.data();
    for (const Run& run : changes_) // exclusive-or: the same step both ways
        for (std::size_t k = run.start; k < run.start + run.length; ++k)
            data[k] = static_cast<Integer>(data[k] ^ run.value);
}

std::size_t CellMapEdit::bytes() const {
    return sizeof *this +
           (changes_.capacity() + oldMap_.runs.capacity() + newMap_.runs.capacity()) * sizeof(Run);
}

} // namespace kestrel
