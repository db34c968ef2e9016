#include "line_raster.h"

namespace kestrel {

namespace {

struct Box {
    double left, top, right, bottom;
    bool holds(PointD p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};

// From `from`, inside the box, towards `to`: where the segment leaves it.
PointD exitPoint(PointD from, PointD to, const Box& box) {
    const PointD d{to.x - from.x, to.y - from.y};
    double t = 1;
    if (d.x > 0) t = std::min(t, (box.right - from.x) / d.x);
    if (d.x < 0) t = std::min(t, (box.left - from.x) / d.x);
    if (d.y > 0) t = std::min(t, (box.bottom - from.y) / d.y);
    if (d.y < 0) t = std::min(t, (box.top - from.y) / d.y);
    return t < 1 ? PointD{from.x + t * d.x, from.y + t * d.y} : to;
}

} // namespace

bool ClipSegment(PointD& a, PointD& b, double left, double top, double right, double bottom) {
    const Box box{left, top, right, bottom};
    // An end inside stays, and the other is found from it: taken from the
    // middle, a far end's magnitude would swallow the near end's digits.
    if (box.holds(a)) {
        b = exitPoint(a, b, box);
        return true;
    }
    if (box.holds(b)) {
        a = exitPoint(b, a, box);
        return true;
    }
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
