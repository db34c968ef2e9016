#pragma once
// Comparing and fingerprinting fields by their bit patterns: +0 and -0 count
// as the same value, every NaN as the same value; nothing else is equal.
#include "app/simulation_state.h"

#include <cstdint>
#include <string>

namespace kestrel::test {

bool SameBits(double a, double b);

// Where the two arrays first differ ("" when they agree bit for bit).
std::string FirstDifference(const Array2<double>& a, const Array2<double>& b);

// FNV-1a over the bit patterns of U, V and P, in storage order.
std::uint64_t FieldFingerprint(const SimulationState& m);

} // namespace kestrel::test
