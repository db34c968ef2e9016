#include "stability.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

// The smallest cell width along one axis, as the mesh would be built.
std::optional<double> smallestWidth(bool equal, Integer size, const Array1<double>& list,
                                    int cells) {
    const auto widths = CellWidths(equal, size, list, cells);
    if (!widths) return std::nullopt;
    return *std::min_element(widths->begin(), widths->end());
}

std::optional<double> finite(double v) {
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

} // namespace

std::optional<std::vector<double>> CellWidths(bool equal, Integer size, const Array1<double>& list,
                                              int cells) {
    if (cells < 1) return std::nullopt;
    if (equal) {
        if (size <= 0) return std::nullopt;
        return std::vector<double>(static_cast<std::size_t>(cells), size);
    }
    if (!list.exists() || list.upper() < cells + 1) return std::nullopt;
    // An unset node repeats the one before it, as the mesh builder does.
    double previous = list(1) == kUnsetCoordinate ? 0 : list(1);
    std::vector<double> widths;
    for (int k = 2; k <= cells + 1; ++k) {
        const double node = list(k) == kUnsetCoordinate ? previous : list(k);
        const double width = node - previous;
        if (!(width > 0)) return std::nullopt;
        widths.push_back(width);
        previous = node;
    }
    return widths;
}

StabilityNumbers EstimateStability(const SimulationState& m) {
    const bool equal = m.meshMode != 0;
    const auto dx = smallestWidth(equal, m.meshSizeX, m.coordListX, m.nx);
    const auto dy = smallestWidth(equal, m.meshSizeY, m.coordListY, m.ny);
    if (!dx || !dy) return {};
    const double inflowSpeed = 1;
    return {finite(inflowSpeed * m.dt / std::min(*dx, *dy)),
            finite(m.dt / m.reynolds * (1 / (*dx * *dx) + 1 / (*dy * *dy)))};
}

} // namespace kestrel
