#include "strouhal.h"

#include "runtime/number_text.h"

#include <string>

namespace kestrel {

Strouhal EstimateStrouhal(const std::vector<MonitorRecord>& records, double length) {
    const std::size_t first = records.size() / 2;
    if (records.size() - first < 2) return {};
    double mean = 0;
    for (std::size_t k = first; k < records.size(); ++k)
        mean += records[k].v;
    mean /= static_cast<double>(records.size() - first);
    std::optional<double> firstCrossing;
    double lastCrossing = 0;
    int crossings = 0;
    for (std::size_t k = first + 1; k < records.size(); ++k) {
        const MonitorRecord& a = records[k - 1];
        const MonitorRecord& b = records[k];
        if (!(a.v < mean && b.v >= mean)) continue;
        const double at = a.time + (mean - a.v) / (b.v - a.v) * (b.time - a.time);
        if (!firstCrossing) firstCrossing = at;
        lastCrossing = at;
        ++crossings;
    }
    Strouhal s;
    s.crossings = crossings;
    s.periods = std::max(0, crossings - 1);
    if (s.periods < 3 || !(lastCrossing > *firstCrossing)) return s;
    s.frequency = s.periods / (lastCrossing - *firstCrossing);
    s.number = length * *s.frequency;
    return s;
}

std::string MonitorCsv(const std::vector<MonitorRecord>& records) {
    std::string out = "step,U,V,P\n";
    for (const MonitorRecord& r : records)
        out += std::to_string(r.step) + "," + ShortestNumber(r.u) + "," + ShortestNumber(r.v) +
               "," + ShortestNumber(r.p) + "\n";
    return out;
}

} // namespace kestrel
