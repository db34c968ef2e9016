#include "case_writing.h"

#include "runtime/number_text.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

std::string number(double v, const char* key) {
    if (!std::isfinite(v))
        throw CaseFailure(
            KeyReason(key, {"is " + ShortestNumber(v) + ", which a case file cannot hold",
                            ShortestNumber(v) + " で、ケースファイルに書けません"}));
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

// Painted cells as runs along each row, [j, i1, i2]: a few bytes a run
// instead of a pair a cell.
std::string obstacleRuns(const SimulationState& m) {
    const Array2<Integer>& map = m.cellKind;
    const int lastI = std::min<int>(m.nx, map.upper1() - 1);
    const int lastJ = std::min<int>(m.ny, map.upper2() - 1);
    std::string text = "  \"obstacleRuns\": [";
    int count = 0;
    for (int j = 1; j <= lastJ; ++j)
        for (int i = 1; i <= lastI; ++i) {
            if (map(i, j) != 0) continue;
            const int first = i;
            while (i < lastI && map(i + 1, j) == 0)
                ++i;
            text += count == 0 ? "\n    " : count % 6 == 0 ? ",\n    " : ", ";
            text += "[" + std::to_string(j) + ", " + std::to_string(first) + ", " +
                    std::to_string(i) + "]";
            ++count;
        }
    return text + (count > 0 ? "\n  ],\n" : "],\n");
}

// The parameters of one line of the file, as "key": value pairs.
std::string parametersOn(CaseLine line, const SimulationState& m) {
    std::string text;
    for (const Parameter& p : Parameters()) {
        if (p.line != line) continue;
        if (!text.empty()) text += ", ";
        const bool whole = std::holds_alternative<Integer CaseParameters::*>(p.member);
        text += pair(p.key, whole ? TextOf(p, m) : number(ValueOf(p, m), p.key));
    }
    return text;
}

} // namespace

std::string WriteCaseText(const CaseFile& c) {
    const SimulationState& m = c.state;
    std::string text = "{\n  " + pair("format", "\"" + std::string(kCaseFormat) + "\"") + ",\n  ";
    text += parametersOn(CaseLine::Run, m) + ",\n  ";
    text += parametersOn(CaseLine::Mesh, m) + ",\n";
    if (m.coordListX.exists()) text += coordinateList(m.coordListX, "coordListX");
    if (m.coordListY.exists()) text += coordinateList(m.coordListY, "coordListY");
    if (m.cellKind.exists()) text += obstacleRuns(m);
    const MethodChoice& method = m.method;
    text +=
        "  " + pair("method", method.method == Method::Staggered ? "\"staggered\"" : "\"classic\"");
    text += ", " + pair("walls", method.frictionlessWalls ? "\"slip\"" : "\"no-slip\"");
    text += ", " + pair("inflow", method.parabolicInflow ? "\"parabolic\"" : "\"uniform\"");
    text += ", " + pair("timeStep", method.automaticTimeStep ? "\"auto\"" : "\"fixed\"");
    text += ", " + pair("safety", number(method.safety, "safety")) + ",\n";
    const char* const displays[] = {"\"pressure\"", "\"speed\"", "\"vorticity\""};
    text += "  " + pair("display", displays[static_cast<int>(c.display)]);
    text += ", " + parametersOn(CaseLine::Display, m);
    text += ", " + pair("lineWidth", std::to_string(c.lineWidth)) + ",\n  ";
    text += pair("displayInterval", number(c.displayInterval, "displayInterval")) + ", ";
    text += pair("confirmEachDisplay", c.confirmEachDisplay ? "true" : "false");
    // A monitor the counts no longer reach records nothing, and would make
    // the file one that cannot be opened again: it is left out.
    if (m.monitorI >= 1 && m.monitorJ >= 1 && m.monitorI <= m.nx && m.monitorJ <= m.ny)
        text += ",\n  " + pair("monitor", "[" + std::to_string(m.monitorI) + ", " +
                                              std::to_string(m.monitorJ) + "]");
    text += "\n}\n";
    if (text.size() > kMaxCaseFileBytes)
        throw CaseFailure({"the case would take " + std::to_string(text.size() >> 20) +
                               " MiB, more than the " + std::to_string(kMaxCaseFileBytes >> 20) +
                               " MiB a case file may hold",
                           "ケースが " + std::to_string(text.size() >> 20) +
                               " MiB になり、ケースファイルの上限 " +
                               std::to_string(kMaxCaseFileBytes >> 20) + " MiB を超えます"});
    return text;
}

} // namespace kestrel
