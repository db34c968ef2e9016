#include "field_exports.h"

#include "runtime/number_text.h"
#include "fields/vorticity.h"

#include <cmath>

namespace kestrel {

namespace {

// Cell values in VTK's order (x fastest), one per line.
template <typename Value> std::string cellValues(const SimulationState& m, Value value) {
    std::string out;
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i)
            out += value(i, j) + "\n";
    return out;
}

std::string coordinates(const char* axis, const Array1<double>& nodes, int cells) {
    std::string out = std::string(axis) + "_COORDINATES " + std::to_string(cells + 1) + " double\n";
    for (int k = 1; k <= cells + 1; ++k)
        out += FullPrecisionNumber(nodes.at(k)) + (k % 6 == 0 || k == cells + 1 ? "\n" : " ");
    return out;
}

} // namespace

std::string FieldCsv(const SimulationState& m) {
    std::string out = "i,j,x,y,U,V,P,vorticity\n";
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i) {
            const double x = 0.5 * (m.xNode.at(i) + m.xNode.at(i + 1));
            const double y = 0.5 * (m.yNode.at(j) + m.yNode.at(j + 1));
            out += std::to_string(i) + "," + std::to_string(j) + "," + FullPrecisionNumber(x) +
                   "," + FullPrecisionNumber(y) + "," + FullPrecisionNumber(m.U.at(i, j)) + "," +
                   FullPrecisionNumber(m.V.at(i, j)) + "," + FullPrecisionNumber(m.P.at(i, j)) +
                   "," + FullPrecisionNumber(VorticityAt(m, i, j)) + "\n";
        }
    return out;
}

std::string FieldVtk(const SimulationState& m) {
    std::string out = "# vtk DataFile Version 3.0\n"
                      "Kestrel field\n"
                      "ASCII\n"
                      "DATASET RECTILINEAR_GRID\n";
    out += "DIMENSIONS " + std::to_string(m.nx + 1) + " " + std::to_string(m.ny + 1) + " 1\n";
    out += coordinates("X", m.xNode, m.nx);
    out += coordinates("Y", m.yNode, m.ny);
    out += "Z_COORDINATES 1 double\n0\n";
    out += "CELL_DATA " + std::to_string(static_cast<long long>(m.nx) * m.ny) + "\n";
    out += "SCALARS P double 1\nLOOKUP_TABLE default\n";
    out += cellValues(m, [&](int i, int j) { return FullPrecisionNumber(m.P.at(i, j)); });
    out += "SCALARS speed double 1\nLOOKUP_TABLE default\n";
    out += cellValues(m, [&](int i, int j) {
        return FullPrecisionNumber(
            std::sqrt(m.U.at(i, j) * m.U.at(i, j) + m.V.at(i, j) * m.V.at(i, j)));
    });
    out += "SCALARS vorticity double 1\nLOOKUP_TABLE default\n";
    out += cellValues(m, [&](int i, int j) { return FullPrecisionNumber(VorticityAt(m, i, j)); });
    out += "VECTORS velocity double\n";
    out += cellValues(m, [&](int i, int j) {
        return FullPrecisionNumber(m.U.at(i, j)) + " " + FullPrecisionNumber(m.V.at(i, j)) + " 0";
    });
    return out;
}

std::string HistoryCsv(const std::vector<StepReport>& history) {
    std::string out = "step,sweeps,lastError\n";
    for (std::size_t k = 0; k < history.size(); ++k) {
        const StepReport& s = history[k];
        out += std::to_string(k + 1) + "," + std::to_string(s.sweeps) + "," +
               (std::isnan(s.lastError) ? std::string() : FullPrecisionNumber(s.lastError)) + "\n";
    }
    return out;
}

std::string ForcesCsv(const std::vector<ForceRecord>& forces) {
    std::string out = "step,Cd,Cl,CdPressure,CdFriction\n";
    for (const ForceRecord& f : forces)
        out += std::to_string(f.step) + "," + ShortestNumber(f.cd) + "," + ShortestNumber(f.cl) +
               "," + ShortestNumber(f.cdPressure) + "," + ShortestNumber(f.cdFriction) + "\n";
    return out;
}

} // namespace kestrel
