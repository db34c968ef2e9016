// kestrel-batch: one calculation without a window, through the same core as
// the run button.
#include "batch_host.h"
#include "batch_outputs.h"
#include "cases/case_file.h"
#include "report/result_table.h"
#include "runtime/user_text.h"
#include "solver/run_time_steps.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

namespace {

using namespace kestrel;

// Exit statuses, also listed by --help.
enum Status : int {
    kDone = 0,
    kRefused = 1,   // the command line, the case file or an output name
    kRunFailed = 2, // the run was refused or failed; nothing written
    kDiverged = 3,  // outputs hold the last finite step
    kOutputFailed = 4,
};

constexpr const char* kStatusHelp =
    "Exit status:\n"
    "  0  done, every output written\n"
    "  1  the command line, the case file or an output name was refused; nothing ran\n"
    "  2  the run was refused or failed; nothing written\n"
    "  3  the run diverged; the outputs hold the last step whose values were finite\n"
    "  4  an output could not be made or written (the others were written)";

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

void say(const std::string& text) {
    std::fprintf(stderr, "kestrel-batch: %s\n", text.c_str());
}

struct Output {
    const char* option;
    std::string path;
};

// Empty names, two outputs into one file and an output over the case file
// are refused before anything runs.
bool outputsAreDistinct(const std::string& casePath, const std::vector<Output>& outputs,
                        const std::vector<bool>& given) {
    std::map<std::filesystem::path, std::string> taken;
    std::error_code error;
    taken[std::filesystem::weakly_canonical(casePath, error)] = "the case file";
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        if (!given[k]) continue;
        const Output& o = outputs[k];
        if (o.path.empty()) {
            say(std::string(o.option) + " needs a file name");
            return false;
        }
        const auto where = std::filesystem::weakly_canonical(o.path, error);
        if (const auto it = taken.find(where); it != taken.end()) {
            say(std::string(o.option) + " \"" + QuotedExcerpt(o.path) + "\" is also " + it->second);
            return false;
        }
        taken[where] = std::string("the file of ") + o.option;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Kestrel batch runner: one calculation without a window"};
    app.footer(kStatusHelp);
    app.set_version_flag("--version", std::string("kestrel-batch ") + KESTREL_VERSION);
    std::string casePath;
    std::vector<Output> outputs = {
        {"--table", {}}, {"--csv", {}}, {"--image", {}}, {"--stats", {}}};
    app.add_option("case", casePath, "case file (JSON)")->required();
    const char* help[] = {
        "result table in the viewer's text format", "i,j,x,y,U,V,P with full precision",
        "final plot, BMP or PNG by extension", "sweeps and errors per step, loop time (JSON)"};
    std::vector<CLI::Option*> options;
    for (std::size_t k = 0; k < outputs.size(); ++k)
        options.push_back(app.add_option(outputs[k].option, outputs[k].path, help[k]));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kDone : kRefused;
    }
    std::vector<bool> given;
    for (CLI::Option* o : options)
        given.push_back(o->count() > 0);
    if (!outputsAreDistinct(casePath, outputs, given)) return kRefused;

    CaseFile c;
    try {
        c = ReadCaseFile(ReadCaseText(casePath));
    } catch (const CaseError& e) {
        say(e.what());
        return kRefused;
    }
    for (const std::string& warning : c.warnings)
        say("warning: " + warning);

    SimulationState& m = c.state;
    BatchHost host(c.display, c.lineWidth);
    RunStats stats;
    RecordSteps record(stats, m.stepCount);
    const auto start = std::chrono::steady_clock::now();
    const RunEnd end = RunTimeSteps(m, host, record); // its messages are already printed
    stats.loopSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (end != RunEnd::Completed && end != RunEnd::Diverged) return kRunFailed;

    // Every output is made whole before any file is written.
    const std::function<std::string()> makers[] = {
        [&] {
            return BuildResultTable(m, {1, m.nx, 1, m.ny});
        },
        [&] { return CsvTable(m); },
        [&] { return PlotImageFile(m, host, outputs[2].path); },
        [&] { return StatsJson(stats); },
    };
    int status = end == RunEnd::Diverged ? kDiverged : kDone;
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        if (!given[k]) continue;
        try {
            WriteOutputFile(outputs[k].path, makers[k]());
        } catch (const std::exception& e) {
            say(std::string(outputs[k].option) + ": " + e.what());
            status = kOutputFailed;
        }
    }
    if (status == kOutputFailed) return status;
    if (end == RunEnd::Diverged) {
        say("the run diverged; the outputs hold step " + std::to_string(stats.steps.size()));
        return status;
    }
    std::fprintf(stderr, "done: %d steps in %.3f s\n", static_cast<int>(stats.steps.size()),
                 stats.loopSeconds);
    return status;
}
