#include "history_window.h"

#include "history_chart.h"
#include "report/field_exports.h"
#include "runtime/number_text.h"

#include <cmath>

namespace kestrel {

namespace {

std::string stepText(const StepReport& s) {
    return std::to_string(s.sweeps) + " " + FullPrecisionNumber(s.lastError);
}

} // namespace

ChartWindow* NewHistoryWindow(const SimulationState& m) {
    const std::vector<StepReport>& h = m.history;
    return new ChartWindow(
        new HistoryChart(h, m.historyMethod),
        {"frmHistory", "収束履歴", "HistorySummary", "HistorySave", "history.csv",
         // A history of another length, or other first or last steps (a new
         // run as long as the last), is drawn again.
         [&h] {
             return h.empty() ? std::string()
                              : std::to_string(h.size()) + " " + stepText(h.front()) + " " +
                                    stepText(h.back());
         },
         [&h, &m] {
             if (h.empty()) return std::string("計算の履歴はありません。");
             const StepReport& last = h.back();
             const std::string error =
                 std::isnan(last.lastError) ? std::string("—") : GeneralNumber(last.lastError);
             if (m.historyMethod == Method::Staggered)
                 return std::to_string(h.size()) +
                        " ステップ　最後のステップ: 直接法で解いて、残った発散 " + error;
             return std::to_string(h.size()) + " ステップ　最後のステップ: 反復 " +
                    std::to_string(last.sweeps) + " 回、誤差 " + error;
         },
         [&h] { return HistoryCsv(h); }});
}

} // namespace kestrel
