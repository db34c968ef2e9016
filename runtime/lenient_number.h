#pragma once
// Reading numbers from text fields the forgiving way: the longest leading
// part that reads as a number, 0 when there is none.
#include <string_view>

namespace kestrel {

struct LenientValue {
    double value = 0.0;
    bool overflow = false; // the leading number does not fit a Double
};

LenientValue ReadLeadingNumber(std::string_view text);

// The value alone; an overflowing number throws the overflow failure.
double LeadingNumber(std::string_view text);

} // namespace kestrel
