#include "lenient_number.h"

#include "failure.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace kestrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the numeric prefix of text (after blanks); 0 when none.
std::size_t numericPrefix(std::string_view text, std::size_t start) {
    std::size_t p = start;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
    const std::size_t mantissaStart = p;
    while (p < text.size() && isDigit(text[p]))
        ++p;
    bool digits = p > mantissaStart;
    if (p < text.size() && text[p] == '.') {
        std::size_t q = p + 1;
        while (q < text.size() && isDigit(text[q]))
            ++q;
        digits = digits || q > p + 1;
        p = q;
    }
    if (!digits) return 0;
    // An exponent counts only when digits follow it.
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E' || text[p] == 'd' || text[p] == 'D')) {
        std::size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-')) ++q;
        const std::size_t expDigits = q;
        while (q < text.size() && isDigit(text[q]))
            ++q;
        if (q > expDigits) p = q;
    }
    return p - start;
}

// strtod follows the system language's decimal point; this reads with the
// "C" locale's, which is what every field and file of the program uses.
double readCNumber(const std::string& number) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(number.c_str(), nullptr, c);
}

} // namespace

LenientValue ReadLeadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    const std::size_t length = numericPrefix(text, start);
    if (length == 0) return {};
    std::string number(text.substr(start, length));
    for (char& c : number)
        if (c == 'd' || c == 'D') c = 'e';
    const double value = readCNumber(number);
    if (std::isinf(value)) return {0.0, true};
    return {value, false};
}

double LeadingNumber(std::string_view text) {
    const LenientValue v = ReadLeadingNumber(text);
    if (v.overflow) ThrowOverflow();
    return v.value;
}

} // namespace kestrel
