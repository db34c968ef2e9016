#include "case_writing.h"

#include "runtime/number_text.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

std::string number(double v, const char* key) {
    if (!std::isfinite(v))
        throw CaseError(std::string("case file: \"") + key + "\" is " + ShortestNumber(v) +
                        ", which a case file cannot hold");
    // "-0" would read back as the whole number 0 and lose its sign.
    if (v == 0 && std::signbit(v)) return "-0.0";
    return ShortestNumber(v);
}

std::string pair(const char* key, const std::string& value) {
    return std::string("\"") + key + "\": " + value;
}

std::string coordinateList(const Array1<double>& list, const char* key) {
    std::string text = std::string("  \"") + key + "\": [";
    for (int k = 1; k <= list.upper(); ++k) {
        if (k > 1) text += k % 10 == 1 ? ",\n    " : ", ";
        text += list(k) == kUnsetCoordinate ? "null" : number(list(k), key);
    }
    return text + "],\n";
}

std::string obstacles(const SimulationState& m) {
    const Array2<Integer>& map = m.cellKind;
    const int lastI = std::min<int>(m.nx, map.upper1() - 1);
    const int lastJ = std::min<int>(m.ny, map.upper2() - 1);
    std::string text = "  \"obstacles\": [";
    int count = 0;
    for (int j = 1; j <= lastJ; ++j)
        for (int i = 1; i <= lastI; ++i) {
            if (map(i, j) != 0) continue;
            text += count == 0 ? "\n    " : count % 8 == 0 ? ",\n    " : ", ";
            text += "[" + std::to_string(i) + ", " + std::to_string(j) + "]";
            ++count;
        }
    return text + (count > 0 ? "\n  ],\n" : "],\n");
}

} // namespace

std::string WriteCaseText(const CaseFile& c) {
    const SimulationState& m = c.state;
    std::string text = "{\n  ";
    text += pair("dt", number(m.dt, "dt")) + ", ";
    text += pair("reynolds", number(m.reynolds, "reynolds")) + ", ";
    text += pair("stepCount", std::to_string(m.stepCount)) + ", ";
    text += pair("maxIter", std::to_string(m.maxIter)) + ",\n  ";
    text += pair("nx", std::to_string(m.nx)) + ", ";
    text += pair("ny", std::to_string(m.ny)) + ", ";
    text += pair("meshMode", std::to_string(m.meshMode)) + ", ";
    text += pair("meshSizeX", std::to_string(m.meshSizeX)) + ", ";
    text += pair("meshSizeY", std::to_string(m.meshSizeY)) + ",\n";
    if (m.coordListX.exists()) text += coordinateList(m.coordListX, "coordListX");
    if (m.coordListY.exists()) text += coordinateList(m.coordListY, "coordListY");
    if (m.cellKind.exists()) text += obstacles(m);
    text += "  " + pair("display", c.display == Display::Pressure ? "\"pressure\"" : "\"speed\"");
    text += ", " + pair("lineScale", number(m.lineScale, "lineScale"));
    text += ", " + pair("lineWidth", std::to_string(c.lineWidth)) + ",\n  ";
    text += pair("displayInterval", number(c.displayInterval, "displayInterval")) + ", ";
    text += pair("confirmEachDisplay", c.confirmEachDisplay ? "true" : "false") + "\n}\n";
    return text;
}

} // namespace kestrel
