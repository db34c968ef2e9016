#pragma once
// Numbers written as text the same way whatever the system language: "." is
// always the decimal point, there is never a digit grouping.
#include <string>

namespace kestrel {

// Up to 15 significant digits, no padding, exponents as 1E-05 / 1E+15.
std::string GeneralNumber(double v);

// 17 significant digits: reads back as exactly the same double.
std::string FullPrecisionNumber(double v);

// The fewest digits that read back as exactly the same double ("0.005",
// "1e-07"); what a field shows so that reading it gives the value again.
std::string ShortestNumber(double v);

// At most `digits` significant digits, no trailing zeros ("0.12346", "1.5e-07").
std::string SignificantNumber(double v, int digits);

// `decimals` digits after the point, rounded to nearest (as printf's %.*f).
std::string FixedNumber(double v, int decimals);

} // namespace kestrel
