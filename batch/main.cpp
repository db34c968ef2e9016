// kestrel-batch: one calculation without a window, through the same core as
// the run button.
#include "batch_host.h"
#include "batch_outputs.h"
#include "case_file.h"
#include "report/result_table.h"
#include "solver/run_time_steps.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using namespace kestrel;

class RecordSteps : public StepObserver {
  public:
    RecordSteps(RunStats& stats, int total) : stats_(stats), total_(total) {}
    bool stepDone(int n, const StepReport& report) override {
        stats_.steps.push_back(report);
        if (n % 50 == 0 || n == total_)
            std::fprintf(stderr, "step %d / %d (%d sweeps)\n", n, total_, report.sweeps);
        return true;
    }

  private:
    RunStats& stats_;
    int total_;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const char* endMessage(RunEnd end) {
    switch (end) {
    case RunEnd::Refused:
        return "the run was refused";
    case RunEnd::Diverged:
        return "the run diverged";
    default:
        return "the run did not complete";
    }
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Kestrel batch runner: one calculation without a window"};
    std::string casePath, tablePath, csvPath, imagePath, statsPath;
    app.add_option("case", casePath, "case file (JSON)")->required();
    app.add_option("--table", tablePath, "result table in the viewer's text format");
    app.add_option("--csv", csvPath, "i,j,x,y,U,V,P with full precision");
    app.add_option("--image", imagePath, "final plot, BMP or PNG by extension");
    app.add_option("--stats", statsPath, "sweeps and errors per step, loop time (JSON)");
    CLI11_PARSE(app, argc, argv);

    try {
        CaseFile c = ReadCaseFile(readFile(casePath));
        Module1& m = c.state;
        BatchHost host(c.pressureDisplay, c.lineWidth);
        RunStats stats;
        RecordSteps record(stats, m.stepCount);
        const auto start = std::chrono::steady_clock::now();
        const RunEnd end = RunTimeSteps(m, host, record);
        stats.loopSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (end != RunEnd::Completed) {
            std::fprintf(stderr, "kestrel-batch: %s: %s\n", endMessage(end),
                         host.lastMessage().c_str());
            return 1;
        }
        if (!tablePath.empty()) WriteTextFile(tablePath, BuildResultTable(m, {1, m.nx, 1, m.ny}));
        if (!csvPath.empty()) WriteTextFile(csvPath, CsvTable(m));
        if (!statsPath.empty()) WriteTextFile(statsPath, StatsJson(stats));
        if (!imagePath.empty() && !WritePlotImage(m, host, imagePath))
            throw std::runtime_error("cannot write " + imagePath);
        std::fprintf(stderr, "done: %d steps in %.3f s\n", static_cast<int>(stats.steps.size()),
                     stats.loopSeconds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrel-batch: %s\n", e.what());
        return 1;
    }
}
