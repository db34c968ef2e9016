#include "number_text.h"

#include <cctype>
#include <charconv>

namespace kestrel {

namespace {

std::string toChars(double v, std::chars_format format, int precision) {
    // Room for 309 integer digits, a point and the largest precision we ask for.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, v, format, precision);
    return std::string(text, result.ptr);
}

} // namespace

std::string GeneralNumber(double v) {
    std::string s = toChars(v, std::chars_format::general, 15);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string FullPrecisionNumber(double v) {
    return toChars(v, std::chars_format::general, 17);
}

std::string ShortestNumber(double v) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, v);
    return std::string(text, result.ptr);
}

std::string SignificantNumber(double v, int digits) {
    return toChars(v, std::chars_format::general, digits);
}

std::string FixedNumber(double v, int decimals) {
    return toChars(v, std::chars_format::fixed, decimals);
}

} // namespace kestrel
