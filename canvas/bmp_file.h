#pragma once
// A picture as a 24-bit BMP file, made a band of rows at a time so that a
// picture too tall to hold twice in memory still saves. The bytes are those
// Qt's own writer gives for the same picture.
#include "banded_picture.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrel {

// The file's size in bytes; above the format's 4 GiB no file can be made.
std::uint64_t BmpFileSize(const BandedPicture& picture);

// Gives the file's bytes piece by piece, an empty piece after the last.
std::function<std::string_view()> BmpPieces(const BandedPicture& picture, int dotsPerMetre);

} // namespace kestrel
