#include "user_text.h"

#include <cstdio>

namespace kestrel {

namespace {

// Length of the valid UTF-8 sequence at text[at], 0 when it is not one.
std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned int code = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (byte(k) & 0x3Fu);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not text.
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

std::string escapedByte(unsigned char c) {
    switch (c) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        return hex;
    }
    }
}

} // namespace

std::string QuotedExcerpt(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        if (characters == maxCharacters) return out + "…";
        const std::size_t length = utf8Length(text, at);
        const auto c = static_cast<unsigned char>(text[at]);
        if (length == 0 || c < 0x20 || c == 0x7F) {
            out += escapedByte(c);
            at += 1;
        } else {
            // C1 controls (U+0080..U+009F) would steer a terminal too.
            const bool c1 =
                length == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
            if (c1) {
                out += escapedByte(c) + escapedByte(static_cast<unsigned char>(text[at + 1]));
            } else {
                out.append(text.substr(at, length));
            }
            at += length;
        }
        ++characters;
    }
    return out;
}

} // namespace kestrel
