#pragma once
// A case file's JSON read with a bound: values go straight into what the
// case keeps (single values, and flat lists of numbers for the long arrays),
// and unknown keys, repeated keys and malformed entries are refused while
// reading, so memory stays within a few times the file's size whatever the
// file holds.
#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The keys whose value is a list of numbers or of small arrays of numbers.
enum class ListKind { Coordinates, Cells, Runs };

struct CaseDocument {
    // Every key given with one value. A key that should hold a list keeps
    // what was given instead only when it is not an array; a key that should
    // hold one value keeps an empty array or object when given one.
    nlohmann::json values = nlohmann::json::object();
    // The coordinate lists, a null as NaN.
    std::map<std::string, std::vector<double>, std::less<>> lists;
    // The cell lists, flattened: cells as i, j pairs, runs as j, i1, i2
    // triples; each number rounded to a whole one as the window's fields
    // round, and any beyond 32 bits as the lowest 32-bit number.
    std::map<std::string, std::vector<std::int32_t>, std::less<>> cells;

    bool has(std::string_view key) const;
};

// Throws CaseFailure naming the key, or the line and column, of what is wrong.
CaseDocument ReadCaseDocument(std::string_view text);

// The known keys and what each holds: a list kind, or none for one value.
const std::map<std::string, std::optional<ListKind>, std::less<>>& CaseKeys();

// The line and column (both from 1) of a byte offset.
struct Place {
    std::size_t line, column;
};
Place PlaceIn(std::string_view text, std::size_t offset);

} // namespace kestrel
