#pragma once
#include "runtime/integer.h"

namespace kestrel {

// Velocity of a row masked by the cell codes: fluid points take the new
// value, non-fluid points become zero.
inline void maskRow(int first, int last, const Integer* __restrict kind,
                    const double* __restrict inU, const double* __restrict inV,
                    double* __restrict u, double* __restrict v) {
    for (int i = first; i <= last; ++i) {
        const double k = kind[i];
        u[i] = k * inU[i];
        v[i] = k * inV[i];
    }
}

} // namespace kestrel
