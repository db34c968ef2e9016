#include "field_bits.h"

#include <bit>
#include <cmath>

namespace kestrel::test {

namespace {

std::uint64_t canonicalBits(double v) {
    if (v == 0) return 0;
    if (std::isnan(v)) return 0x7FF8000000000000u;
    return std::bit_cast<std::uint64_t>(v);
}

} // namespace

bool SameBits(double a, double b) {
    return canonicalBits(a) == canonicalBits(b);
}

std::string FirstDifference(const Array2<double>& a, const Array2<double>& b) {
    if (a.upper1() != b.upper1() || a.upper2() != b.upper2()) return "different extents";
    for (int j = 0; j <= a.upper2(); ++j)
        for (int i = 0; i <= a.upper1(); ++i)
            if (!SameBits(a(i, j), b(i, j)))
                return "(" + std::to_string(i) + ", " + std::to_string(j) + ")";
    return {};
}

std::uint64_t FieldFingerprint(const SimulationState& m) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const Array2<double>* a : {&m.U, &m.V, &m.P})
        for (int j = 0; j <= a->upper2(); ++j)
            for (int i = 0; i <= a->upper1(); ++i) {
                const std::uint64_t bits = canonicalBits((*a)(i, j));
                for (int byte = 0; byte < 8; ++byte) {
                    hash ^= (bits >> (8 * byte)) & 0xFFu;
                    hash *= 0x100000001b3u;
                }
            }
    return hash;
}

} // namespace kestrel::test
