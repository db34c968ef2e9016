#include "line_raster.h"

namespace kestrel {

bool ClipSegment(PointD& a, PointD& b, double left, double top, double right, double bottom) {
    const PointD c{a.x * 0.5 + b.x * 0.5, a.y * 0.5 + b.y * 0.5};
    const PointD h{b.x * 0.5 - a.x * 0.5, b.y * 0.5 - a.y * 0.5};
    double t0 = -1;
    double t1 = 1;
    const double p[4] = {-h.x, h.x, -h.y, h.y};
    const double q[4] = {c.x - left, right - c.x, c.y - top, bottom - c.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    if (t0 > -1) a = {c.x + t0 * h.x, c.y + t0 * h.y};
    if (t1 < 1) b = {c.x + t1 * h.x, c.y + t1 * h.y};
    return true;
}

} // namespace kestrel
