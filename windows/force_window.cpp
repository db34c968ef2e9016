#include "force_window.h"

#include "report/field_exports.h"
#include "runtime/number_text.h"
#include "series_chart.h"

namespace kestrel {

ChartWindow* NewForceWindow(const SimulationState& m) {
    const std::vector<ForceRecord>& f = m.forceHistory;
    auto* chart = new SeriesChart<ForceRecord>(
        f, {"抗力係数 Cd", QColor(0, 70, 200), [](const ForceRecord& r) { return r.cd; }},
        {"揚力係数 Cl", QColor(200, 30, 30), [](const ForceRecord& r) { return r.cl; }},
        "障害物に働く力はまだありません。\n"
        "障害物 (非流体) を置いて計算すると、ステップごとに表示します。");
    chart->setObjectName("ForceChart");
    chart->setAccessibleName("抗力・揚力のグラフ");
    return new ChartWindow(
        chart, {"frmForces", "抗力・揚力", "ForceSummary", "ForceSave", "forces.csv",
                [&f] {
                    return f.empty()
                               ? std::string()
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
