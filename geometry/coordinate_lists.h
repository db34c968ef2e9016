#pragma once
// The editing logic of the coordinate editor: one list of node coordinates
// per axis, each entry holding the text of its value ("" for none).
#include "app/simulation_state.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrel {

struct CoordinateList {
    std::vector<std::string> values; // entry k is node k + 1
    int selected = -1;

    int count() const { return static_cast<int>(values.size()); }
    bool hasValue(int k) const { return !values.at(static_cast<std::size_t>(k)).empty(); }
    // The entry's value read leniently; nullopt when it has none.
    std::optional<double> value(int k) const;
};

// "0003 : 1.5"; node numbers are zero-padded to four digits.
std::string EntryLabel(int node, const std::string& valueText);

// count entries from a stored list, tolerating a missing or short one.
CoordinateList LoadCoordinateList(const Array1<double>& stored, int count);
// Stores entries 1..count as elements 1..count (unset marker for an empty or
// missing entry); element 0 is 0.
void StoreCoordinateList(const CoordinateList& list, Array1<double>& stored, int count);

void DeleteSelected(CoordinateList& list);
// false when every entry already has a value (nothing changes).
bool InsertValue(CoordinateList& list, double v);
void GenerateEqualSpacing(CoordinateList& list, double step);
void ClearAll(CoordinateList& list);

} // namespace kestrel
