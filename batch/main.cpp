// kestrel-batch: one calculation without a window, through the same core as
// the run button.
#include "app/run/run_calculation.h"
#include "batch_host.h"
#include "batch_outputs.h"
#include "cases/case_file.h"
#include "plot/image_saving.h"
#include "report/field_exports.h"
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

void say(const std::string& text) {
    std::fprintf(stderr, "kestrel-batch: %s\n", text.c_str());
}

// Progress on stderr, and with --frames the plot of every display interval
// as frame-00001.png, frame-00002.png ... in the folder.
class ProgressAndFrames : public StepObserver {
  public:
    ProgressAndFrames(SimulationState& m, Host& host, std::string folder, long long interval)
        : m_(m), host_(host), folder_(std::move(folder)), interval_(interval) {}

    bool stepDone(int n, const StepReport& report) override {
        if (n % 50 == 0 || n == m_.stepCount)
            std::fprintf(stderr, "step %d / %d (%d sweeps)\n", n, m_.stepCount, report.sweeps);
        if (!folder_.empty() && !failed_ && n % interval_ == 0) writeFrame();
        return true;
    }
    bool failed() const { return failed_; }

  private:
    void writeFrame() {
        const std::string path =
            (std::filesystem::path(folder_) / FrameFileName(++frames_)).string();
        try {
            WriteOutputFile(path, PlotImageFile(m_, host_, path));
        } catch (const std::exception& e) {
            say(std::string("--frames: ") + e.what() + "; no further frames are written");
            failed_ = true;
        }
    }

    SimulationState& m_;
    Host& host_;
    std::string folder_;
    long long interval_;
    int frames_ = 0;
    bool failed_ = false;
};

// The frames' folder, made when missing; false (said why) when it cannot be.
bool prepareFramesFolder(const std::string& folder, long long interval) {
    if (interval == 0) {
        say("--frames needs a displayInterval of 1 or more in the case file");
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        say("--frames: \"" + QuotedExcerpt(folder) + "\" is not a folder that can be made" +
            (error ? ": " + error.message() : std::string()));
        return false;
    }
    return true;
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
    std::vector<Output> outputs = {{"--table", {}}, {"--csv", {}}, {"--image", {}},
                                   {"--stats", {}}, {"--vtk", {}}, {"--history", {}}};
    app.add_option("case", casePath, "case file (JSON)")->required();
    const char* help[] = {"result table in the viewer's text format",
                          "i,j,x,y,U,V,P with full precision",
                          "final plot, BMP or PNG by extension",
                          "sweeps and errors per step, loop time (JSON)",
                          "the field as legacy VTK (rectilinear grid) for ParaView",
                          "step,sweeps,lastError of every step (CSV)"};
    std::vector<CLI::Option*> options;
    for (std::size_t k = 0; k < outputs.size(); ++k)
        options.push_back(app.add_option(outputs[k].option, outputs[k].path, help[k]));
    std::string framesFolder;
    CLI::Option* frames =
        app.add_option("--frames", framesFolder,
                       "folder for the plot of every displayInterval steps (frame-00001.png ...)");
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
    const long long interval = DisplayIntervalOf(c.displayInterval);
    if (frames->count() > 0 && !prepareFramesFolder(framesFolder, interval)) return kRefused;
    ProgressAndFrames observer(m, host, framesFolder, interval);
    const auto start = std::chrono::steady_clock::now();
    const RunEnd end = RunTimeSteps(m, host, observer); // its messages are already printed
    const double loopSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (end != RunEnd::Completed && end != RunEnd::Diverged) return kRunFailed;

    // Every output is made whole before any file is written.
    const std::function<std::string()> makers[] = {
        [&] {
            return BuildResultTable(m, {1, m.nx, 1, m.ny});
        },
        [&] { return FieldCsv(m); },
        [&] { return PlotImageFile(m, host, outputs[2].path); },
        [&] { return StatsJson(m.history, loopSeconds); },
        [&] { return FieldVtk(m); },
        [&] { return HistoryCsv(m.history); },
    };
    int status = end == RunEnd::Diverged ? kDiverged : kDone;
    if (observer.failed()) status = kOutputFailed;
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
        say("the run diverged; the outputs hold step " + std::to_string(m.history.size()));
        return status;
    }
    std::fprintf(stderr, "done: %d steps in %.3f s\n", static_cast<int>(m.history.size()),
                 loopSeconds);
    return status;
}
