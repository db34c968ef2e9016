#include "result_text.h"

#include "runtime/failure.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

std::string ProgressCaption(int j, int ny) {
    return kProgressCaption + " " + std::to_string(j) + " / " + std::to_string(ny);
}

void ShowResultText(const SimulationState& m, Host& host,
                    const std::function<ResultViewer&()>& loadViewer) {
    const std::string lastX = std::to_string(m.nx);
    const std::string lastY = std::to_string(m.ny);
    // The viewer is looked up at each use: the user may close it while the
    // rows are built, and the table then goes to a new one.
    const auto viewer = [&]() -> ResultViewer& {
        ResultViewer& v = loadViewer();
        v.setRangeFields("1", lastX, "1", lastY);
        v.setCaption("実行結果");
        return v;
    };
    try {
        viewer();
        host.setBusy(true);
        host.showStatus(kProgressCaption);
        const std::string text = BuildResultTable(m, {1, m.nx, 1, m.ny}, [&](int j) {
            host.showStatus(ProgressCaption(j, m.ny));
            host.processEvents();
        });
        ResultViewer& shown = viewer();
        shown.setTable(text);
        host.showStatus("");
        host.setBusy(false);
        shown.showViewer();
    } catch (const Failure& f) {
        host.showStatus("");
        host.setBusy(false);
        host.message(f.japanese() + "(結果テキスト生成)" + kNoResultNote, Buttons::Ok);
    }
}

std::string NoResultMessage(const std::string& operation) {
    return StandardDescription(ErrorNumber::SubscriptOutOfRange) + "(" + operation + ")" +
           kNoResultNote;
}

namespace {

// Whole numbers for the loop counters; out-of-Integer values saturate, the
// limits below bring them back into the mesh anyway.
int rangeValue(const std::string& text) {
    const double v = RoundHalfEven(ReadLeadingNumber(text).value);
    return static_cast<int>(std::clamp(v, -2.0e9, 2.0e9));
}

} // namespace

std::optional<TableRange> WholeTableRange(const SimulationState& m) {
    if (!m.U.exists() || !m.V.exists() || !m.P.exists()) return std::nullopt;
    return TableRange{
        1, std::min({static_cast<int>(m.nx), m.U.upper1(), m.V.upper1(), m.P.upper1()}), 1,
        std::min({static_cast<int>(m.ny), m.U.upper2(), m.V.upper2(), m.P.upper2()})};
}

std::optional<TableRange> RedisplayRange(const SimulationState& m, const std::string& firstX,
                                         const std::string& lastX, const std::string& firstY,
                                         const std::string& lastY) {
    if (!WholeTableRange(m)) return std::nullopt;
    int a = rangeValue(firstX);
    int b = rangeValue(lastX);
    int c = rangeValue(firstY);
    int d = rangeValue(lastY);
    if (a > b) std::swap(a, b);
    if (c > d) std::swap(c, d);
    a = std::max(a, 1);
    c = std::max(c, 1);
    // nx / ny may have been raised since the run: never read past the fields.
    const TableRange whole = *WholeTableRange(m);
    b = std::min(b, whole.lastI);
    d = std::min(d, whole.lastJ);
    return TableRange{a, b, c, d};
}

} // namespace kestrel
