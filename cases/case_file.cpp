#include "case_file.h"

#include "app/defaults.h"
#include "cells/cell_map.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"
#include "runtime/number_text.h"
#include "runtime/user_text.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

namespace kestrel {

namespace {

using nlohmann::json;

[[noreturn]] void refuse(std::string_view key, const std::string& why) {
    throw CaseError("case file: \"" + QuotedExcerpt(key) + "\" " + why);
}

// Line and column (both from 1) of a byte offset.
std::string placeOf(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t k = 0; k < offset; ++k)
        if (text[k] == '\n') {
            ++line;
            lineStart = k + 1;
        }
    return "line " + std::to_string(line) + ", column " + std::to_string(offset - lineStart + 1);
}

bool isNumberCharacter(char c) {
    return std::string_view("+-.0123456789eE").find(c) != std::string_view::npos;
}

// Where the first number too large for a Double starts (JSON accepts it,
// the program cannot); text.size() when there is none.
std::size_t hugeNumberAt(std::string_view text) {
    bool inString = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (inString) {
            if (c == '\\')
                ++k;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            if (ReadLeadingNumber(text.substr(k, 4096)).overflow) return k;
            while (k + 1 < text.size() && isNumberCharacter(text[k + 1]))
                ++k;
        }
    }
    return text.size();
}

json parse(std::string_view text) {
    try {
        return json::parse(text);
    } catch (const json::parse_error& e) {
        const std::size_t at = e.byte == 0 ? 0 : e.byte - 1;
        const std::size_t from = at > 20 ? at - 20 : 0;
        throw CaseError("case file: " + placeOf(text, at) + ": not valid JSON near \"" +
                        QuotedExcerpt(text.substr(from, at + 1 - from), 30) + "\"");
    } catch (const json::exception&) {
        const std::size_t at = hugeNumberAt(text);
        std::size_t length = 0;
        while (at + length < text.size() && isNumberCharacter(text[at + length]))
            ++length;
        if (at < text.size())
            throw CaseError("case file: " + placeOf(text, at) + ": the number \"" +
                            QuotedExcerpt(text.substr(at, length), 24) + "\" is too large");
        throw CaseError("case file: not valid JSON");
    }
}

double number(const json& j, std::string_view key) {
    if (!j.is_number()) refuse(key, "must be a number");
    return j.get<double>();
}

// A whole number as the window's Integer fields take it: fractions round to
// the nearest, halves to even; the value must then lie in low..high.
Integer integer(const json& j, std::string_view key, int low = -32768, int high = 32767) {
    const std::string range = "must lie in " + std::to_string(low) + ".." + std::to_string(high);
    if (j.is_number_unsigned()) {
        const std::uint64_t v = j.get<std::uint64_t>();
        if (v > static_cast<std::uint64_t>(high) || static_cast<std::int64_t>(v) < low)
            refuse(key, range);
        return static_cast<Integer>(v);
    }
    if (j.is_number_integer()) {
        const std::int64_t v = j.get<std::int64_t>();
        if (v < low || v > high) refuse(key, range);
        return static_cast<Integer>(v);
    }
    if (j.is_number_float()) {
        const double v = RoundHalfEven(j.get<double>());
        if (!(v >= low && v <= high)) refuse(key, range);
        return static_cast<Integer>(v);
    }
    refuse(key, "must be a whole number");
}

void coordinateList(const json& j, std::string_view key, Array1<double>& list) {
    if (!j.is_array()) refuse(key, "must be an array of numbers or null");
    if (j.size() > 32767) refuse(key, "has more than 32767 nodes");
    list.redim(static_cast<int>(j.size()));
    for (std::size_t k = 0; k < j.size(); ++k)
        list(static_cast<int>(k) + 1) = j[k].is_null() ? kUnsetCoordinate : number(j[k], key);
}

void obstacles(const json& j, SimulationState& m) {
    if (!j.is_array()) refuse("obstacles", "must be an array of [i, j] pairs");
    for (const json& cell : j) {
        if (!cell.is_array() || cell.size() != 2)
            refuse("obstacles", "must be an array of [i, j] pairs");
        const Integer i = integer(cell[0], "obstacles", 1, std::max<int>(1, m.nx));
        const Integer k = integer(cell[1], "obstacles", 1, std::max<int>(1, m.ny));
        m.cellKind.at(i, k) = 0;
    }
}

// A list that meshMode 0 reads must hold every node; its cells must have
// finite centres, or the outputs would say inf.
void checkCoordinates(const Array1<double>& list, const char* key, int cells,
                      std::vector<std::string>& warnings) {
    const int nodes = cells + 1;
    if (!list.exists())
        throw CaseError(std::string("case file: meshMode 0 needs \"") + key + "\" with " +
                        std::to_string(nodes) + " nodes; it is missing");
    if (list.upper() < nodes)
        throw CaseError(std::string("case file: \"") + key + "\" has " +
                        std::to_string(list.upper()) + " nodes; meshMode 0 needs " +
                        std::to_string(nodes) + " (" + std::to_string(nodes - list.upper()) +
                        " missing)");
    bool orderWarned = false;
    bool markerWarned = false;
    double previous = 0;
    bool havePrevious = false;
    for (int k = 1; k <= nodes; ++k) {
        const double v = list(k);
        if (v == kUnsetCoordinate) {
            if (!markerWarned)
                warnings.push_back(std::string("\"") + key + "\" node " + std::to_string(k) +
                                   " is -999999 or null, which marks a node without a "
                                   "coordinate: it repeats the node before it");
            markerWarned = true;
            continue;
        }
        if (havePrevious && !std::isfinite(previous + v))
            throw CaseError(std::string("case file: \"") + key + "\" nodes " +
                            std::to_string(k - 1) + " and " + std::to_string(k) +
                            " are too large: the centre of their cell is not a finite number");
        if (havePrevious && v <= previous && !orderWarned) {
            warnings.push_back(std::string("\"") + key + "\" node " + std::to_string(k) + " (" +
                               GeneralNumber(v) + ") is not above the node before it: cells " +
                               "of zero or negative width");
            orderWarned = true;
        }
        previous = v;
        havePrevious = true;
    }
}

void warnAboutPhysics(const CaseFile& c, std::vector<std::string>& warnings) {
    const SimulationState& m = c.state;
    if (m.stepCount < 0) warnings.push_back("\"stepCount\" is negative: no time step is made");
    if (m.dt < 0) warnings.push_back("\"dt\" is negative: the run goes backwards in time");
    if (m.reynolds < 0) warnings.push_back("\"reynolds\" is negative: physically meaningless");
    if (m.meshMode != 0 && (m.meshSizeX < 0 || m.meshSizeY < 0))
        warnings.push_back("a negative mesh size: the mesh is drawn mirrored");
}

} // namespace

CaseFile DefaultCase() {
    CaseFile c;
    ApplyDefaults(c.state);
    c.lineWidth = kDefaults.lineWidth;
    c.displayInterval = kDefaults.displayInterval;
    InitCellMap(c.state);
    return c;
}

CaseFile ReadCaseFile(std::string_view text) {
    const json j = parse(text);
    if (!j.is_object()) throw CaseError("case file: must hold a JSON object { ... }");
    static const char* const known[] = {"dt",
                                        "reynolds",
                                        "stepCount",
                                        "maxIter",
                                        "nx",
                                        "ny",
                                        "meshMode",
                                        "meshSizeX",
                                        "meshSizeY",
                                        "coordListX",
                                        "coordListY",
                                        "obstacles",
                                        "display",
                                        "lineScale",
                                        "lineWidth",
                                        "displayInterval",
                                        "confirmEachDisplay"};
    for (const auto& item : j.items())
        if (std::find(std::begin(known), std::end(known), item.key()) == std::end(known))
            refuse(item.key(), "is not a known key");

    CaseFile c = DefaultCase();
    SimulationState& m = c.state;
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
        // The cell map is made for any count from 1; a run needs more (it says so).
        const auto fits = [](int count) { return count >= 1 && count <= kMaxMeshCount; };
        if (!fits(m.nx) || !fits(m.ny))
            refuse(fits(m.nx) ? "ny" : "nx", "must lie in 1.." + std::to_string(kMaxMeshCount));
        if (static_cast<long long>(m.nx + 2) * (m.ny + 2) > kMaxMeshCells)
            refuse("nx", "and \"ny\" give more than " + std::to_string(kMaxMeshCells) + " cells");
        InitCellMap(m);
    }
    if (has("meshMode")) m.meshMode = integer(j["meshMode"], "meshMode", -1, 0);
    if (has("coordListX")) coordinateList(j["coordListX"], "coordListX", m.coordListX);
    if (has("coordListY")) coordinateList(j["coordListY"], "coordListY", m.coordListY);
    if (m.meshMode == 0) {
        checkCoordinates(m.coordListX, "coordListX", m.nx, c.warnings);
        checkCoordinates(m.coordListY, "coordListY", m.ny, c.warnings);
    }
    if (has("obstacles")) obstacles(j["obstacles"], m);
    if (has("display")) {
        const json& d = j["display"];
        if (!d.is_string() || (d != "pressure" && d != "speed"))
            refuse("display", "must be \"pressure\" or \"speed\"");
        c.display = d == "pressure" ? Display::Pressure : Display::Speed;
    }
    // As in the window's field, a width below 1 draws with 1.
    if (has("lineWidth")) c.lineWidth = integer(j["lineWidth"], "lineWidth");
    if (has("displayInterval")) c.displayInterval = number(j["displayInterval"], "displayInterval");
    if (has("confirmEachDisplay")) {
        if (!j["confirmEachDisplay"].is_boolean())
            refuse("confirmEachDisplay", "must be true or false");
        c.confirmEachDisplay = j["confirmEachDisplay"].get<bool>();
    }
    warnAboutPhysics(c, c.warnings);
    return c;
}

std::string ReadCaseText(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw CaseError("case file: \"" + QuotedExcerpt(path) + "\" is a folder, not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CaseError("case file: cannot read \"" + QuotedExcerpt(path) + "\"");
    std::string text;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        text.append(block, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxCaseFileBytes)
            throw CaseError("case file: \"" + QuotedExcerpt(path) + "\" is larger than " +
                            std::to_string(kMaxCaseFileBytes >> 20) + " MiB");
    }
    if (in.bad()) throw CaseError("case file: cannot read \"" + QuotedExcerpt(path) + "\"");
    return text;
}

} // namespace kestrel
