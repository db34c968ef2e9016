#pragma once
// 16-bit Integer of the shared state, with the rounding conversion the
// parameter fields use.
#include <cstdint>

namespace kestrel {

using Integer = std::int16_t;

constexpr Integer kTrue = -1;
constexpr Integer kFalse = 0;

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// roundHalfEven, then into an Integer; throws the overflow failure outside
// -32768..32767 (and for NaN).
Integer ToInteger(double value);

// Sum or difference in Integer arithmetic; overflow fails as above.
Integer AddInteger(int a, int b);

} // namespace kestrel
