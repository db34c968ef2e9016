#include "case_file.h"

#include "app/parameters.h"
#include "case_document.h"
#include "cells/cell_map.h"
#include "runtime/file_writing.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"
#include "runtime/number_text.h"
#include "runtime/user_text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrel {

namespace {

using nlohmann::json;

[[noreturn]] void refuse(std::string_view key, const Reason& why) {
    throw CaseFailure(KeyReason(key, why));
}

double number(const json& j, std::string_view key) {
    if (!j.is_number()) refuse(key, {"must be a number", "数値でなければなりません"});
    return j.get<double>();
}

// A whole number as the window's Integer fields take it: fractions round to
// the nearest, halves to even; the value must then lie in low..high.
Integer integer(const json& j, std::string_view key, int low = -32768, int high = 32767) {
    const std::string bounds = std::to_string(low) + ".." + std::to_string(high);
    const Reason range{"must lie in " + bounds, bounds + " の範囲でなければなりません"};
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
    refuse(key, {"must be a whole number", "整数でなければなりません"});
}

void coordinateList(const std::vector<double>& nodes, Array1<double>& list) {
    list.redim(static_cast<int>(nodes.size()));
    for (std::size_t k = 0; k < nodes.size(); ++k)
        list(static_cast<int>(k) + 1) = std::isnan(nodes[k]) ? kUnsetCoordinate : nodes[k];
}

// Cells as i, j pairs, or runs of cells along a row as j, i1, i2.
void obstacles(const CaseDocument& d, SimulationState& m) {
    const int lastI = std::max<int>(1, m.nx), lastJ = std::max<int>(1, m.ny);
    const auto cell = [](std::int32_t v, const char* key, int high) {
        return integer(json(v), key, 1, high);
    };
    if (const auto cells = d.cells.find("obstacles"); cells != d.cells.end())
        for (std::size_t k = 0; k + 1 < cells->second.size(); k += 2)
            m.cellKind.at(cell(cells->second[k], "obstacles", lastI),
                          cell(cells->second[k + 1], "obstacles", lastJ)) = 0;
    if (const auto runs = d.cells.find("obstacleRuns"); runs != d.cells.end())
        for (std::size_t k = 0; k + 2 < runs->second.size(); k += 3) {
            const Integer j = cell(runs->second[k], "obstacleRuns", lastJ);
            const Integer first = cell(runs->second[k + 1], "obstacleRuns", lastI);
            const Integer last = cell(runs->second[k + 2], "obstacleRuns", lastI);
            if (first > last)
                refuse("obstacleRuns", {"must hold runs [j, i1, i2] with i1 <= i2",
                                        "[j, i1, i2] の並びで i1 <= i2 でなければなりません"});
            for (int i = first; i <= last; ++i)
                m.cellKind.at(i, j) = 0;
        }
}

// A list that meshMode 0 reads must hold every node; its cells must have
// finite centres, or the outputs would say inf.
void checkCoordinates(const Array1<double>& list, const char* key, int cells,
                      std::vector<Reason>& warnings) {
    const int nodes = cells + 1;
    if (!list.exists())
        throw CaseFailure({std::string("meshMode 0 needs \"") + key + "\" with " +
                               std::to_string(nodes) + " nodes; it is missing",
                           std::string("meshMode 0 には節点 ") + std::to_string(nodes) + " 個の「" +
                               key + "」が必要ですが、ありません"});
    if (list.upper() < nodes)
        throw CaseFailure(
            KeyReason(key, {"has " + std::to_string(list.upper()) + " nodes; meshMode 0 needs " +
                                std::to_string(nodes) + " (" +
                                std::to_string(nodes - list.upper()) + " missing)",
                            "節点が " + std::to_string(list.upper()) + " 個です。meshMode 0 には " +
                                std::to_string(nodes) + " 個必要です (" +
                                std::to_string(nodes - list.upper()) + " 個不足)"}));
    bool orderWarned = false;
    bool markerWarned = false;
    double previous = 0;
    bool havePrevious = false;
    for (int k = 1; k <= nodes; ++k) {
        const double v = list(k);
        if (v == kUnsetCoordinate) {
            if (!markerWarned)
                warnings.push_back(KeyReason(
                    key, {"node " + std::to_string(k) +
                              " is -999999 or null, which marks a node without a coordinate: it "
                              "repeats the node before it",
                          "節点 " + std::to_string(k) +
                              " は -999999 か null で、座標のない節点です。前の節点と同じ位置に"
                              "なります"}));
            markerWarned = true;
            continue;
        }
        if (havePrevious && !std::isfinite(previous + v))
            throw CaseFailure(KeyReason(
                key, {"nodes " + std::to_string(k - 1) + " and " + std::to_string(k) +
                          " are too large: the centre of their cell is not a finite number",
                      "節点 " + std::to_string(k - 1) + " と " + std::to_string(k) +
                          " が大きすぎ、そのセルの中心が有限の数になりません"}));
        if (havePrevious && v <= previous && !orderWarned) {
            warnings.push_back(KeyReason(
                key, {"node " + std::to_string(k) + " (" + GeneralNumber(v) +
                          ") is not above the node before it: cells of zero or negative width",
                      "節点 " + std::to_string(k) + " (" + GeneralNumber(v) +
                          ") が前の節点より大きくありません。幅が 0 か負のセルになります"}));
            orderWarned = true;
        }
        previous = v;
        havePrevious = true;
    }
}

void warnAboutPhysics(const CaseFile& c, std::vector<Reason>& warnings) {
    const SimulationState& m = c.state;
    if (m.stepCount < 0)
        warnings.push_back(KeyReason("stepCount", {"is negative: no time step is made",
                                                   "負です。時間ステップは進みません"}));
    if (m.dt < 0)
        warnings.push_back(KeyReason("dt", {"is negative: the run goes backwards in time",
                                            "負です。計算は時間をさかのぼります"}));
    if (m.reynolds < 0)
        warnings.push_back(KeyReason("reynolds", {"is negative: physically meaningless",
                                                  "負です。物理的な意味がありません"}));
    if (m.meshMode != 0 && (m.meshSizeX < 0 || m.meshSizeY < 0))
        warnings.push_back({"a negative mesh size: the nodes run backwards, so the picture may "
                            "not show the mesh as it is, or may be too tall to draw",
                            "メッシュサイズが負です。節点が逆向きに並ぶため、図がメッシュのとおり"
                            "に描けないか、高すぎて描けないことがあります"});
}

} // namespace

void CopyCaseContents(const SimulationState& from, SimulationState& to) {
    to.coordListX = from.coordListX;
    to.coordListY = from.coordListY;
    to.cellKind = from.cellKind;
    to.monitorI = from.monitorI;
    to.monitorJ = from.monitorJ;
    to.method = from.method;
}

Failure CaseFailure(const Reason& reason) {
    return Failure(reason, "case file");
}

Reason KeyReason(std::string_view key, const Reason& why) {
    return {"\"" + QuotedExcerpt(key) + "\" " + why.english,
            "「" + QuotedExcerpt(key) + "」は" + why.japanese};
}

CaseFile DefaultCase() {
    CaseFile c;
    ApplyDefaults(c.state);
    InitCellMap(c.state);
    return c;
}

namespace {

// A file that says it is another format, or a newer one, is refused by name.
void checkFormat(const CaseDocument& d) {
    if (!d.has("format")) return;
    const json& format = d.values["format"];
    if (format == kCaseFormat) return;
    const bool newer =
        format.is_string() && format.get<std::string>().rfind("kestrel-case ", 0) == 0;
    refuse("format", newer ? Reason{"is a newer case format than this Kestrel reads (\"" +
                                        std::string(kCaseFormat) + "\")",
                                    "は、この Kestrel が読めない新しい形式です。新しい "
                                    "Kestrel で開いてください"}
                           : Reason{"must be \"" + std::string(kCaseFormat) + "\"",
                                    "\"" + std::string(kCaseFormat) + "\" でなければなりません"});
}

// The parameter table's keys; new counts make a new all-fluid map.
void readParameters(const CaseDocument& d, SimulationState& m) {
    const json& j = d.values;
    for (const Parameter& p : Parameters()) {
        if (!d.has(p.key)) continue;
        if (const auto* member = std::get_if<Integer CaseParameters::*>(&p.member))
            m.** member = integer(j[p.key], p.key, p.lowest, p.highest);
        else
            m.*std::get<double CaseParameters::*>(p.member) = number(j[p.key], p.key);
    }
    if (!d.has("nx") && !d.has("ny")) return;
    // The cell map is made for any count from 1; a run needs more (it says so).
    const auto fits = [](int count) { return count >= 1 && count <= kMaxMeshCount; };
    if (!fits(m.nx) || !fits(m.ny))
        refuse(fits(m.nx) ? "ny" : "nx",
               {"must lie in 1.." + std::to_string(kMaxMeshCount),
                "1.." + std::to_string(kMaxMeshCount) + " の範囲でなければなりません"});
    if (static_cast<long long>(m.nx + 2) * (m.ny + 2) > kMaxMeshCells)
        throw CaseFailure(
            {"\"nx\" and \"ny\" give more than " + std::to_string(kMaxMeshCells) + " cells",
             "「nx」と「ny」ではセルが " + std::to_string(kMaxMeshCells) + " 個を超えます"});
    InitCellMap(m);
}

void readMonitor(const CaseDocument& d, SimulationState& m) {
    const auto monitor = d.lists.find("monitor");
    if (monitor == d.lists.end()) return;
    const std::vector<double>& at = monitor->second;
    if (at.size() != 2)
        refuse("monitor", {"must be [i, j], one cell of the mesh",
                           "[i, j] (メッシュのセル一つ) でなければなりません"});
    m.monitorI = integer(json(at[0]), "monitor", 1, std::max<int>(1, m.nx));
    m.monitorJ = integer(json(at[1]), "monitor", 1, std::max<int>(1, m.ny));
}

// One of the words a key may take, as its index in words.
int choice(const CaseDocument& d, const char* key, std::initializer_list<const char*> words) {
    const json& value = d.values[key];
    int index = 0;
    for (const char* word : words) {
        if (value.is_string() && value == word) return index;
        ++index;
    }
    std::string english, japanese;
    index = 0;
    for (const char* word : words) {
        const std::string quoted = "\"" + std::string(word) + "\"";
        english += (index == 0                                    ? ""
                    : index + 1 == static_cast<int>(words.size()) ? " or "
                                                                  : ", ") +
                   quoted;
        japanese += (index == 0 ? "" : "、") + quoted;
        ++index;
    }
    refuse(key, {"must be " + english, japanese + " のどれかでなければなりません"});
}

// Which method computes, and the second method's options.
void readMethod(const CaseDocument& d, MethodChoice& c) {
    if (d.has("method"))
        c.method = static_cast<Method>(choice(d, "method", {"classic", "staggered"}));
    if (d.has("walls")) c.frictionlessWalls = choice(d, "walls", {"no-slip", "slip"}) == 1;
    if (d.has("inflow")) c.parabolicInflow = choice(d, "inflow", {"uniform", "parabolic"}) == 1;
    if (d.has("timeStep")) c.automaticTimeStep = choice(d, "timeStep", {"fixed", "auto"}) == 1;
    if (d.has("safety")) {
        c.safety = number(d.values["safety"], "safety");
        if (!(c.safety > 0 && c.safety <= 1))
            refuse("safety",
                   {"must lie above 0 and at most 1", "0 より大きく 1 以下でなければなりません"});
    }
}

// The window's display and run options.
void readDisplayOptions(const CaseDocument& d, CaseFile& c) {
    const json& j = d.values;
    if (d.has("display")) {
        const json& display = j["display"];
        if (!display.is_string() ||
            (display != "pressure" && display != "speed" && display != "vorticity"))
            refuse("display",
                   {"must be \"pressure\", \"speed\" or \"vorticity\"",
                    "\"pressure\"、\"speed\"、\"vorticity\" のどれかでなければなりません"});
        c.display = display == "pressure" ? Display::Pressure
                    : display == "speed"  ? Display::Speed
                                          : Display::Vorticity;
    }
    // As in the window's field, a width below 1 draws with 1.
    if (d.has("lineWidth")) c.lineWidth = integer(j["lineWidth"], "lineWidth");
    if (d.has("displayInterval"))
        c.displayInterval = number(j["displayInterval"], "displayInterval");
    if (d.has("confirmEachDisplay")) {
        if (!j["confirmEachDisplay"].is_boolean())
            refuse("confirmEachDisplay",
                   {"must be true or false", "true か false でなければなりません"});
        c.confirmEachDisplay = j["confirmEachDisplay"].get<bool>();
    }
}

} // namespace

CaseFile ReadCaseFile(std::string_view text) {
    const CaseDocument d = ReadCaseDocument(text);
    checkFormat(d);
    CaseFile c = DefaultCase();
    SimulationState& m = c.state;
    readParameters(d, m);
    for (auto [key, list] : {std::pair{"coordListX", &m.coordListX}, {"coordListY", &m.coordListY}})
        if (const auto nodes = d.lists.find(key); nodes != d.lists.end())
            coordinateList(nodes->second, *list);
    if (m.meshMode == 0) {
        checkCoordinates(m.coordListX, "coordListX", m.nx, c.warnings);
        checkCoordinates(m.coordListY, "coordListY", m.ny, c.warnings);
    }
    obstacles(d, m);
    readMonitor(d, m);
    readMethod(d, m.method);
    readDisplayOptions(d, c);
    warnAboutPhysics(c, c.warnings);
    return c;
}

std::string ReadCaseText(const std::string& path) {
    const std::string name = QuotedExcerpt(path);
    const auto cannotRead = [&name](int error) {
        return CaseFailure({"cannot read \"" + name + "\": " + std::strerror(error),
                            "「" + name + "」を読めません: " + SystemReasonInJapanese(error)});
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw cannotRead(errno);
    struct stat file {};
    if (::fstat(fd, &file) == 0 && S_ISDIR(file.st_mode)) {
        ::close(fd);
        throw CaseFailure({"\"" + name + "\" is a folder, not a file",
                           "「" + name + "」はフォルダーです。ケースのファイルを選んでください"});
    }
    std::string text;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = errno;
            ::close(fd);
            if (n < 0) throw cannotRead(error);
            return text;
        }
        text.append(block, static_cast<std::size_t>(n));
        if (text.size() > kMaxCaseFileBytes) {
            ::close(fd);
            const std::string limit = std::to_string(kMaxCaseFileBytes >> 20) + " MiB";
            throw CaseFailure({"\"" + name + "\" is larger than " + limit,
                               "「" + name + "」は " + limit + " より大きく、開けません"});
        }
    }
}

} // namespace kestrel
