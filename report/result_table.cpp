#include "result_table.h"

#include "runtime/number_text.h"

#include <cmath>

namespace kestrel {

namespace {

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

std::string FormatFixed4(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
    // Forty decimals are exact enough to tell a halfway value from its
    // neighbours for every double that can round to one.
    const std::string expansion = FixedNumber(std::fabs(v), 40);
    const std::size_t point = expansion.find('.');
    std::string digits = expansion.substr(0, point) + expansion.substr(point + 1, 4);
    if (expansion[point + 5] >= '5') incrementDigits(digits);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string result =
        digits.substr(0, digits.size() - 4) + "." + digits.substr(digits.size() - 4);
    return (v < 0 && !zero) ? "-" + result : result;
}

std::string RightAligned(const std::string& text, std::size_t width) {
    const std::string padded = std::string(width, ' ') + text;
    return padded.substr(padded.size() - width);
}

void AppendTableRow(std::string& out, const SimulationState& m, int i, int j) {
    const double u = m.U.at(i, j);
    const double v = m.V.at(i, j);
    const double p = m.P.at(i, j);
    out += RightAligned(std::to_string(i), 6);
    out += RightAligned(std::to_string(j), 6);
    out += RightAligned(FormatFixed4(u), 10);
    out += RightAligned(FormatFixed4(v), 10);
    out += RightAligned(FormatFixed4(p), 10);
    out += "\r\n";
}

std::string BuildResultTable(const SimulationState& m, TableRange range,
                             const std::function<void(int j)>& beforeRow) {
    std::string text = kTableHeader;
    for (int j = range.firstJ; j <= range.lastJ; ++j) {
        if (beforeRow) beforeRow(j);
        for (int i = range.firstI; i <= range.lastI; ++i)
            AppendTableRow(text, m, i, j);
    }
    return text;
}

} // namespace kestrel
