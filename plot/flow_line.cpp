#include "flow_line.h"

#include "runtime/integer.h"
#include "runtime/lenient_number.h"

#include <algorithm>

namespace kestrel {

int FlowLinePenWidth(const std::string& widthText) {
    return std::max<int>(1, ToInteger(LeadingNumber(widthText)));
}

void DrawFlowLine(const SimulationState& m, Surface& picture, int penWidth, double x, double y,
                  double u, double v) {
    const double q = u * u + v * v;
    if (q <= 0.00001) return;
    const double s = m.lineScale;
    const double x1 = x - s * u;
    const double y1 = y - s * v;
    const double x2 = x + s * u;
    const double y2 = y + s * v;
    const int saved = picture.penWidth();
    picture.setPenWidth(penWidth);
    picture.drawLine(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                     static_cast<float>(y2), kFlowLineColour);
    picture.setPenWidth(saved);
}

} // namespace kestrel
