#include "integer.h"

#include "failure.h"

#include <cfenv>
#include <cmath>

namespace kestrel {

double RoundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; make that explicit.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return r;
}

Integer ToInteger(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0)) ThrowOverflow();
    return static_cast<Integer>(r);
}

Integer AddInteger(int a, int b) {
    return ToInteger(static_cast<double>(a) + b);
}

} // namespace kestrel
