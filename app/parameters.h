#pragma once
// The case's parameters that the state holds, one row each: its key in case
// files, the window's field that shows it, its default and what reads it.
// The window's fields, the case reader and writer, the runner's defaults and
// the tests all come from this table, so a new parameter is one new row.
#include "app/simulation_state.h"

#include <span>
#include <string>
#include <variant>

namespace kestrel {

// Where a case file writes a parameter: its line, in this order.
enum class CaseLine { Run, Mesh, Display };

struct Parameter {
    const char* key;     // in case files: the state's own name
    const char* caption; // the field as the user reads it; nullptr when no field shows it
    const char* field;   // the window's field (its object name); nullptr for none
    std::variant<double CaseParameters::*, Integer CaseParameters::*> member;
    double defaultValue;
    int lowest = -32768; // for whole numbers
    int highest = 32767;
    CaseLine line = CaseLine::Run;
    bool meshCommandsRead = false; // the map and mesh commands read it too
    bool stabilityReads = false;   // the CFL and diffusion numbers change with it
};

std::span<const Parameter> Parameters();

// The parameter's value in m, as a number.
double ValueOf(const Parameter& p, const CaseParameters& m);
// Its value as a field and a case file show it: whole numbers as they are,
// others in the fewest digits that read back to the same double.
std::string TextOf(const Parameter& p, const CaseParameters& m);
void CopyParameter(const Parameter& p, const CaseParameters& from, CaseParameters& to);

// Every parameter at its default: a fresh start. The cell map, the lists
// and the fields are left as they are.
void ApplyDefaults(CaseParameters& m);

// The window's display options at a fresh start; a case file holds them too.
struct DisplayDefaults {
    double displayInterval = 2; // read from its field when a run starts, not stored
    int lineWidth = 1;          // read from its field for every flow line, not stored
    bool confirmEachDisplay = true;
};
inline constexpr DisplayDefaults kDisplayDefaults{};

} // namespace kestrel
