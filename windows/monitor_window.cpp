#include "monitor_window.h"

#include "report/strouhal.h"
#include "runtime/number_text.h"
#include "series_chart.h"
#include "solver/forces.h"

namespace kestrel {

std::string StrouhalText(const SimulationState& m) {
    const double length = ReferenceLength(m);
    const Strouhal s = EstimateStrouhal(m.monitorHistory, length);
    if (!s.number)
        return "St —（後半で V が平均を上向きに横切ったのは " + std::to_string(s.crossings) +
               " 回。3 周期以上が必要です）";
    return "St " + SignificantNumber(*s.number, 4) + "（D " + SignificantNumber(length, 6) +
           "、f " + SignificantNumber(*s.frequency, 4) + "、" + std::to_string(s.periods) +
           " 周期）";
}

ChartWindow* NewMonitorWindow(const SimulationState& m) {
    const std::vector<MonitorRecord>& r = m.monitorHistory;
    auto* chart = new SeriesChart<MonitorRecord>(
        r, {"観測点の V", QColor(0, 70, 200), [](const MonitorRecord& x) { return x.v; }},
        {"観測点の P", QColor(200, 30, 30), [](const MonitorRecord& x) { return x.p; }},
        "観測点の記録はまだありません。\n"
        "表示 → 観測点を置く で結果の図のセルをクリックし、計算してください。");
    chart->setObjectName("MonitorChart");
    chart->setAccessibleName("観測点のグラフ");
    return new ChartWindow(
        chart, {"frmMonitor", "観測点の記録", "MonitorSummary", "MonitorSave", "monitor.csv",
                [&r] {
                    return r.empty()
                               ? std::string()
                               : std::to_string(r.size()) + " " + std::to_string(r.back().step) +
                                     " " + FullPrecisionNumber(r.back().v) + " " +
                                     FullPrecisionNumber(r.front().v);
                },
                [&m] {
                    if (m.monitorHistory.empty()) return std::string("観測点の記録はありません。");
                    const MonitorRecord& last = m.monitorHistory.back();
                    return "観測点 (" + std::to_string(m.monitorI) + ", " +
                           std::to_string(m.monitorJ) + ")　ステップ " + std::to_string(last.step) +
                           "　U " + SignificantNumber(last.u, 5) + "　V " +
                           SignificantNumber(last.v, 5) + "　P " + SignificantNumber(last.p, 5) +
                           "　" + StrouhalText(m);
                },
                [&r] { return MonitorCsv(r); }});
}

} // namespace kestrel
