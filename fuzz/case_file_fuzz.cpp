// libFuzzer target: any bytes as a case file. A case the reader accepts is
// written again and must read back to the same text; one that is small
// enough is also run for a few steps and written out as the table, the CSV,
// the VTK and the picture, all in memory. (Run with -close_fd_mask=2:
// the runner's messages go to stderr.)
#include "batch/batch_host.h"
#include "batch/batch_outputs.h"
#include "cases/case_file.h"
#include "cases/case_writing.h"
#include "report/field_exports.h"
#include "report/result_table.h"
#include "solver/run_time_steps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

using namespace kestrel;

class Quiet : public StepObserver {
  public:
    bool stepDone(int, const StepReport&) override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CaseFile c;
    try {
        c = ReadCaseFile(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const Failure&) {
        return 0;
    }
    // Whatever was accepted saves, and opens again as what was saved.
    const std::string text = WriteCaseText(c);
    if (WriteCaseText(ReadCaseFile(text)) != text) __builtin_trap();
    SimulationState& m = c.state;
    if (static_cast<long long>(m.nx) * m.ny > 2500) return 0;
    m.stepCount = std::min<Integer>(m.stepCount, 3);
    m.maxIter = std::min<Integer>(m.maxIter, 5);
    BatchHost host(c.display, c.lineWidth);
    Quiet quiet;
    const RunEnd end = RunTimeSteps(m, host, quiet);
    if (end != RunEnd::Completed && end != RunEnd::Diverged) return 0;
    BuildResultTable(m, {1, m.nx, 1, m.ny});
    FieldCsv(m);
    FieldVtk(m);
    HistoryCsv(m.history);
    // A picture is small when the mesh is not much taller than wide.
    const double width = m.xNode(m.nx + 1) - m.xNode(1);
    const double height = m.yNode(m.ny + 1) - m.yNode(1);
    if (!(std::fabs(height) <= 4 * std::fabs(width))) return 0;
    try {
        PlotImageFile(m, host, "fuzz.png");
    } catch (const Failure&) {
        // a plot that cannot be drawn is reported, never a crash
    }
    return 0;
}
