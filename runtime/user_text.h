#pragma once
// The user's own text quoted in a message: short, one line, and safe to
// print on a terminal whatever bytes it holds.
#include <string>
#include <string_view>

namespace kestrel {

// At most maxCharacters characters of text; control characters and bytes
// that are not UTF-8 written as \n, \t, \xNN; a cut text ends with "…".
std::string QuotedExcerpt(std::string_view text, std::size_t maxCharacters = 60);

} // namespace kestrel
