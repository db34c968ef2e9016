#include "force_window.h"

#include "force_chart.h"
#include "report/field_exports.h"
#include "runtime/number_text.h"

namespace kestrel {

ChartWindow* NewForceWindow(const SimulationState& m) {
    const std::vector<ForceRecord>& f = m.forceHistory;
    return new ChartWindow(
        new ForceChart(f),
        {"frmForces", "抗力・揚力", "ForceSummary", "ForceSave", "forces.csv",
         [&f] {
             return f.empty() ? std::string()
                              : std::to_string(f.size()) + " " + std::to_string(f.back().step) +
                                    " " + FullPrecisionNumber(f.back().cd) + " " +
                                    FullPrecisionNumber(f.front().cd);
         },
         [&f] {
             if (f.empty())
                 return std::string("障害物がないか、まだ計算していません。力は i 3〜nx−2、"
                                    "j 3〜ny−2 の非流体セルに働くものを数えます。");
             const ForceRecord& last = f.back();
             return "ステップ " + std::to_string(last.step) + "　Cd " +
                    SignificantNumber(last.cd, 6) + "（圧力 " +
                    SignificantNumber(last.cdPressure, 6) + "、摩擦 " +
                    SignificantNumber(last.cdFriction, 6) + "）　Cl " +
                    SignificantNumber(last.cl, 6);
         },
         [&f] { return ForcesCsv(f); }});
}

} // namespace kestrel
