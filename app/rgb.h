#pragma once
// Colours as the core stores them.
#include <cstdint>

namespace kestrel {

using Rgb = std::uint32_t; // R + 256 G + 65536 B

constexpr Rgb MakeRgb(int r, int g, int b) {
    return static_cast<Rgb>(r) | (static_cast<Rgb>(g) << 8) | (static_cast<Rgb>(b) << 16);
}
constexpr int RedOf(Rgb c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Rgb c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Rgb c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

} // namespace kestrel
