#include "flow_line.h"

#include "runtime/integer.h"
#include "runtime/lenient_number.h"

#include <algorithm>

namespace kestrel {

int FlowLinePenWidth(const std::string& widthText) {
    return std::max<int>(1, ToInteger(LeadingNumber(widthText)));
}

std::optional<Segment> FlowLineThrough(const SimulationState& m, double x, double y, double u,
                                       double v) {
    if (u * u + v * v <= 0.00001) return std::nullopt;
    const double s = m.lineScale;
    return Segment{static_cast<float>(x - s * u), static_cast<float>(y - s * v),
                   static_cast<float>(x + s * u), static_cast<float>(y + s * v)};
}

} // namespace kestrel
