#pragma once
// Straight lines on a pixel grid. The pixels are those of the midpoint rule
// walked from the end that comes first (left, then top), so a line and its
// reverse are the same. Only the steps that land on the grid are visited:
// a line costs what it shows, however long it is.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <type_traits>
#include <utility>

namespace kestrel {

struct PointD {
    double x;
    double y;
};

// A point clipping can work with: not a number as 0, infinities as ±1e300.
inline PointD FinitePoint(PointD p) {
    const auto finite = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -1e300, 1e300); };
    return {finite(p.x), finite(p.y)};
}

// Liang-Barsky: the part of a-b inside [left, right] x [top, bottom];
// false when none. An end inside the box stays exactly as it was and the
// other is found from it; with both ends outside the segment is taken from
// its middle. Either way where a very long line crosses the box is found to
// the precision of the box, not of the far ends.
bool ClipSegment(PointD& a, PointD& b, double left, double top, double right, double bottom);

// Nearest whole number, halves away from zero; exact for |v| < 2^52.
inline long long RoundHalfAway(double v) {
    const auto whole = static_cast<long long>(v); // toward zero
    const double rest = v - static_cast<double>(whole);
    return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

// Calls plot(x, y) for every pixel of the line from a to b (pixel
// coordinates, rounded to the nearest pixel centre) that lies in
// 0..width-1 x 0..height-1.
template <typename Plot> void RasterLine(PointD a, PointD b, int width, int height, Plot plot) {
    // Far enough outside any picture to change no pixel inside it, near
    // enough for exact 64-bit pixel arithmetic.
    constexpr double kFar = 1099511627776.0; // 2^40
    // NaN compares false, so a line with one is never taken as inside.
    const bool inside = a.x >= -0.5 && a.y >= -0.5 && b.x >= -0.5 && b.y >= -0.5 && a.x < width &&
                        b.x < width && a.y < height && b.y < height;
    if (!inside) {
        a = FinitePoint(a);
        b = FinitePoint(b);
        if (!ClipSegment(a, b, -kFar, -kFar, kFar, kFar)) return;
    }
    long long x0 = RoundHalfAway(a.x);
    long long y0 = RoundHalfAway(a.y);
    long long x1 = RoundHalfAway(b.x);
    long long y1 = RoundHalfAway(b.y);
    if (std::pair(x1, y1) < std::pair(x0, y0)) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    const long long major0 = xMajor ? x0 : y0;
    const long long minor0 = xMajor ? y0 : x0;
    const long long majorSteps = std::llabs(xMajor ? x1 - x0 : y1 - y0);
    const long long minorSteps = std::llabs(xMajor ? y1 - y0 : x1 - x0);
    const long long majorSign = (xMajor ? x1 >= x0 : y1 >= y0) ? 1 : -1;
    const long long minorSign = (xMajor ? y1 >= y0 : x1 >= x0) ? 1 : -1;
    const long long twiceMajor = 2 * majorSteps;
    // Walks steps k = from..to, starting with the minor coordinate and the
    // remainder of the division below as they are at step `from`. The step
    // of the minor coordinate is taken without a branch: it comes at no
    // pattern a branch could learn.
    const auto walk = [&](long long from, long long to, long long minor, long long remainder) {
        long long major = major0 + majorSign * from;
        const auto steps = [&](auto xMajorAxis) {
            for (long long k = from; k <= to; ++k) {
                if constexpr (decltype(xMajorAxis)::value)
                    plot(static_cast<int>(major), static_cast<int>(minor));
                else
                    plot(static_cast<int>(minor), static_cast<int>(major));
                major += majorSign;
                remainder += 2 * minorSteps;
                const long long carry = remainder >= twiceMajor ? 1 : 0;
                remainder -= carry * twiceMajor;
                minor += carry * minorSign;
            }
        };
        if (xMajor)
            steps(std::true_type{});
        else
            steps(std::false_type{});
    };
    // The common case, a line wholly on the grid: walk it from its start.
    if (x0 >= 0 && y0 >= 0 && x1 >= 0 && y1 >= 0 && x0 < width && x1 < width && y0 < height &&
        y1 < height)
        return walk(0, majorSteps, minor0, majorSteps);
    const long long majorSize = xMajor ? width : height;
    const long long minorSize = xMajor ? height : width;
    // After k major steps the minor coordinate has moved
    // floor((2 k minorSteps + majorSteps) / (2 majorSteps)) steps.
    const auto minorAt = [&](long long k) -> long long {
        if (majorSteps == 0) return minor0;
        const __int128 numerator = static_cast<__int128>(2 * k) * minorSteps + majorSteps;
        return minor0 + minorSign * static_cast<long long>(numerator / twiceMajor);
    };
    // The steps whose major coordinate lies on the grid...
    long long first = std::max(majorSign > 0 ? -major0 : major0 - (majorSize - 1), 0LL);
    long long last = std::min(majorSign > 0 ? majorSize - 1 - major0 : major0, majorSteps);
    if (first > last) return;
    // ...narrowed to those whose minor one does too: it moves one way only.
    const auto firstTrue = [&](long long lo, long long hi, auto holds) {
        while (lo <= hi) {
            const long long mid = lo + (hi - lo) / 2;
            if (holds(mid))
                hi = mid - 1;
            else
                lo = mid + 1;
        }
        return lo;
    };
    if (minorSign > 0) {
        first = firstTrue(first, last, [&](long long k) { return minorAt(k) >= 0; });
        last = firstTrue(first, last, [&](long long k) { return minorAt(k) > minorSize - 1; }) - 1;
    } else {
        first = firstTrue(first, last, [&](long long k) { return minorAt(k) <= minorSize - 1; });
        last = firstTrue(first, last, [&](long long k) { return minorAt(k) < 0; }) - 1;
    }
    if (first > last) return;
    // Start the walk where the run starts, with the remainder of that division.
    const long long remainder =
        majorSteps == 0
            ? 0
            : static_cast<long long>((static_cast<__int128>(2 * first) * minorSteps + majorSteps) %
                                     twiceMajor);
    walk(first, last, minorAt(first), remainder);
}

} // namespace kestrel
