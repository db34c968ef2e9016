#include "case_file.h"

#include "cells/cell_map.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace kestrel {

namespace {

using nlohmann::json;

[[noreturn]] void refuse(const std::string& key, const std::string& why) {
    throw std::runtime_error("case file: \"" + key + "\" " + why);
}

double number(const json& j, const std::string& key) {
    if (!j.is_number()) refuse(key, "must be a number");
    const double v = j.get<double>();
    if (!std::isfinite(v)) refuse(key, "must be finite");
    return v;
}

Integer integer(const json& j, const std::string& key, int low = -32768, int high = 32767) {
    if (!j.is_number_integer()) refuse(key, "must be a whole number");
    const long long v = j.get<long long>();
    if (v < low || v > high)
        refuse(key, "must lie in " + std::to_string(low) + ".." + std::to_string(high));
    return static_cast<Integer>(v);
}

void coordinateList(const json& j, const std::string& key, Array1<double>& list) {
    if (!j.is_array()) refuse(key, "must be an array of numbers or null");
    if (j.size() + 1 > 32767) refuse(key, "is too long");
    list.redim(static_cast<int>(j.size()));
    for (std::size_t k = 0; k < j.size(); ++k)
        list(static_cast<int>(k) + 1) = j[k].is_null() ? kUnsetCoordinate : number(j[k], key);
}

void obstacles(const json& j, Module1& m) {
    if (!j.is_array()) refuse("obstacles", "must be an array of [i, j] pairs");
    for (const json& cell : j) {
        if (!cell.is_array() || cell.size() != 2)
            refuse("obstacles", "must be an array of [i, j] pairs");
        const Integer i = integer(cell[0], "obstacles", 1, std::max<int>(1, m.nx));
        const Integer k = integer(cell[1], "obstacles", 1, std::max<int>(1, m.ny));
        m.cellKind.at(i, k) = 0;
    }
}

} // namespace

CaseFile DefaultCase() {
    CaseFile c;
    Module1& m = c.state;
    m.dt = 0.005;
    m.reynolds = 40;
    m.stepCount = 400;
    m.nx = 61;
    m.ny = 31;
    m.meshSizeX = 10;
    m.meshSizeY = 10;
    m.maxIter = 100;
    m.lineScale = 5;
    m.meshMode = kTrue;
    InitCellMap(m);
    return c;
}

CaseFile ReadCaseFile(const std::string& text) {
    json j;
    try {
        j = json::parse(text);
    } catch (const json::parse_error& e) {
        throw std::runtime_error(std::string("case file: not valid JSON: ") + e.what());
    }
    if (!j.is_object()) throw std::runtime_error("case file: must hold a JSON object");
    static const char* const known[] = {"dt",        "reynolds",   "stepCount",  "maxIter",
                                        "nx",        "ny",         "meshMode",   "meshSizeX",
                                        "meshSizeY", "coordListX", "coordListY", "obstacles",
                                        "display",   "lineScale",  "lineWidth"};
    for (const auto& item : j.items())
        if (std::find(std::begin(known), std::end(known), item.key()) == std::end(known))
            refuse(item.key(), "is not a known key");

    CaseFile c = DefaultCase();
    Module1& m = c.state;
    auto has = [&j](const char* key) { return j.contains(key); };
    if (has("dt")) m.dt = number(j["dt"], "dt");
    if (has("reynolds")) m.reynolds = number(j["reynolds"], "reynolds");
    if (has("lineScale")) m.lineScale = number(j["lineScale"], "lineScale");
    const std::pair<const char*, Integer*> integers[] = {
        {"stepCount", &m.stepCount}, {"maxIter", &m.maxIter},    {"nx", &m.nx}, {"ny", &m.ny},
        {"meshSizeX", &m.meshSizeX}, {"meshSizeY", &m.meshSizeY}};
    for (const auto& [key, target] : integers)
        if (has(key)) *target = integer(j[key], key);
    if (has("nx") || has("ny")) {
        if (m.nx < 1 || m.ny < 1 || m.nx > 32766 || m.ny > 32766)
            refuse(has("nx") ? "nx" : "ny", "must lie in 1..32766");
        if (static_cast<long long>(m.nx + 2) * (m.ny + 2) > kMaxMeshCells)
            refuse("nx", "and ny give more than " + std::to_string(kMaxMeshCells) + " cells");
        InitCellMap(m);
    }
    if (has("meshMode")) m.meshMode = integer(j["meshMode"], "meshMode", -1, 0);
    if (has("coordListX")) coordinateList(j["coordListX"], "coordListX", m.coordListX);
    if (has("coordListY")) coordinateList(j["coordListY"], "coordListY", m.coordListY);
    if (has("obstacles")) obstacles(j["obstacles"], m);
    if (has("display")) {
        const json& d = j["display"];
        if (!d.is_string() || (d != "pressure" && d != "speed"))
            refuse("display", "must be \"pressure\" or \"speed\"");
        c.pressureDisplay = d == "pressure";
    }
    if (has("lineWidth")) c.lineWidth = integer(j["lineWidth"], "lineWidth", 1, 32767);
    return c;
}

} // namespace kestrel
