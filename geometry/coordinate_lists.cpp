#include "coordinate_lists.h"

#include "runtime/lenient_number.h"
#include "runtime/number_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kestrel {

namespace {

std::string textOf(std::optional<double> v) {
    return v ? GeneralNumber(*v) : std::string();
}

void rebuild(CoordinateList& list, const std::vector<std::optional<double>>& values) {
    for (std::size_t k = 0; k < list.values.size(); ++k)
        list.values[k] = textOf(values[k]);
}

int clampSelection(int position, int count) {
    return std::min(position, count - 1);
}

} // namespace

std::optional<double> CoordinateList::value(int k) const {
    if (!hasValue(k)) return std::nullopt;
    return ReadLeadingNumber(values.at(static_cast<std::size_t>(k))).value;
}

std::string EntryLabel(int node, const std::string& valueText) {
    char label[32];
    std::snprintf(label, sizeof label, "%04d : ", node);
    return label + valueText;
}

CoordinateList LoadCoordinateList(const Array1<double>& stored, int count) {
    CoordinateList list;
    list.values.resize(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 1; i <= count; ++i)
        if (stored.inRange(i) && stored(i) != kUnsetCoordinate)
            list.values[static_cast<std::size_t>(i - 1)] = GeneralNumber(stored(i));
    return list;
}

void StoreCoordinateList(const CoordinateList& list, Array1<double>& stored, int count) {
    stored.redim(count);
    for (int i = 1; i <= count; ++i) {
        const bool present = i - 1 < list.count();
        stored(i) = present ? list.value(i - 1).value_or(kUnsetCoordinate) : kUnsetCoordinate;
    }
}

void DeleteSelected(CoordinateList& list) {
    if (list.selected < 0 || list.selected >= list.count()) return;
    const int n = list.count();
    std::vector<std::optional<double>> values;
    for (int k = 0; k < n; ++k)
        if (k != list.selected) values.push_back(list.value(k));
    values.push_back(std::nullopt);
    rebuild(list, values);
    list.selected = clampSelection(list.selected, n);
}

bool InsertValue(CoordinateList& list, double v) {
    const int n = list.count();
    std::vector<std::optional<double>> values(static_cast<std::size_t>(n));
    int e = 0;
    while (e < n && list.hasValue(e)) {
        values[static_cast<std::size_t>(e)] = list.value(e);
        ++e;
    }
    if (e == n) {
        list.selected = n > 0 ? 0 : -1;
        return false;
    }
    int p = 0;
    while (p < e && !(v <= *values[static_cast<std::size_t>(p)]))
        ++p;
    for (int k = e - 1; k >= p; --k)
        values[static_cast<std::size_t>(k + 1)] = values[static_cast<std::size_t>(k)];
    values[static_cast<std::size_t>(p)] = v;
    // Everything after the grown head is empty.
    for (int k = e + 1; k < n; ++k)
        values[static_cast<std::size_t>(k)] = std::nullopt;
    rebuild(list, values);
    list.selected = clampSelection(p, n);
    return true;
}

void GenerateEqualSpacing(CoordinateList& list, double step) {
    const int n = list.count();
    int f = n - 1;
    while (f >= 0 && !list.hasValue(f))
        --f;
    std::vector<std::optional<double>> values(static_cast<std::size_t>(n));
    double x = 0;
    for (int k = 0; k <= f; ++k)
        values[static_cast<std::size_t>(k)] = list.value(k).value_or(0.0);
    if (f >= 0) x = *values[static_cast<std::size_t>(f)] + step;
    for (int k = f + 1; k < n; ++k) {
        values[static_cast<std::size_t>(k)] = x;
        x = x + step;
    }
    rebuild(list, values);
    list.selected = f >= 0 ? clampSelection(f, n) : -1;
}

void ClearAll(CoordinateList& list) {
    for (std::string& v : list.values)
        v.clear();
    list.selected = -1;
}

} // namespace kestrel
