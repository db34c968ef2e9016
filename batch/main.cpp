// kestrel-batch: one calculation without a window, through the same core as
// the run button.
#include "batch_host.h"
#include "batch_outputs.h"
#include "canvas/frame_recorder.h"
#include "cases/case_file.h"
#include "output_checks.h"
#include "plot/field_plot.h"
#include "report/field_exports.h"
#include "report/result_table.h"
#include "report/strouhal.h"
#include "run/run_calculation.h"
#include "runtime/file_writing.h"
#include "runtime/frame_files.h"
#include "runtime/user_text.h"
#include "solver/run_time_steps.h"
#include "solver/solver_options.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <variant>

namespace {

using namespace kestrel;

// Exit statuses, and what each means as --help says it (in their order).
enum Status : int { kDone, kRefused, kRunFailed, kDiverged, kOutputFailed };
constexpr const char* kStatusMeanings[] = {
    "done, every output written",
    "the command line, the case file or an output name was refused; nothing ran",
    "the run was refused or failed; nothing written",
    "the run diverged; the outputs hold the last step whose values were finite",
    "an output could not be made or written (the others were written);\n"
    "     also when the run diverged as well, which is then said too",
};

std::string statusHelp() {
    std::string text = "Exit status:";
    for (std::size_t k = 0; k < std::size(kStatusMeanings); ++k)
        text += "\n  " + std::to_string(k) + "  " + kStatusMeanings[k];
    return text;
}

void say(const std::string& text) {
    std::fprintf(stderr, "kestrel-batch: %s\n", text.c_str());
}

// Progress on stderr, and with --frames the plot of every display interval
// as frame-00001.png, frame-00002.png ... in the folder.
class ProgressAndFrames : public StepObserver {
  public:
    ProgressAndFrames(SimulationState& m, Host& host, std::optional<std::string> folder,
                      long long interval)
        : m_(m), host_(host), interval_(interval) {
        frames_.setFolder(std::move(folder));
    }

    bool stepDone(int n, const StepReport& report) override {
        if (n % 50 == 0 || n == m_.stepCount)
            std::fprintf(stderr, "step %d / %d (%d sweeps)\n", n, m_.stepCount, report.sweeps);
        if (frames_.folder() && !failed_ && n % interval_ == 0) writeFrame();
        return true;
    }
    bool failed() const { return failed_; }

  private:
    // The plot the window would show, written by the window's own recorder.
    void writeFrame() {
        ImageSurface picture(kPictureWidthTwips, kPictureHeightTwips);
        std::string problem;
        if (!ShowResult(m_, host_, picture))
            problem = PlotFailureText(m_, picture);
        else if (const auto failure = frames_.record(picture))
            problem = failure->english();
        if (problem.empty()) return;
        say("--frames: " + problem + "; no further frames are written");
        failed_ = true;
    }

    SimulationState& m_;
    Host& host_;
    long long interval_;
    FrameRecorder frames_;
    bool failed_ = false;
};

// What the run writes: each option with its help and how its bytes are made.
struct OutputKind {
    const char* option;
    const char* help;
    std::function<std::string(SimulationState&, Host&, const std::string& path, double seconds)>
        make;
};

const OutputKind kOutputs[] = {
    {"--table", "result table in the viewer's text format",
     [](SimulationState& m, Host&, const std::string&, double) {
         return BuildResultTable(m, {1, m.nx, 1, m.ny});
     }},
    {"--csv", "i,j,x,y,U,V,P,vorticity with full precision",
     [](SimulationState& m, Host&, const std::string&, double) { return FieldCsv(m); }},
    {"--image", "final plot, BMP or PNG by extension",
     [](SimulationState& m, Host& host, const std::string& path, double) {
         return PlotImageFile(m, host, path);
     }},
    {"--stats", "sweeps and errors per step, loop time (JSON)",
     [](SimulationState& m, Host&, const std::string&, double seconds) {
         return StatsJson(m.history, seconds);
     }},
    {"--vtk", "the field as legacy VTK (rectilinear grid) for ParaView",
     [](SimulationState& m, Host&, const std::string&, double) { return FieldVtk(m); }},
    {"--history", "step,sweeps,lastError of every step (CSV)",
     [](SimulationState& m, Host&, const std::string&, double) { return HistoryCsv(m.history); }},
    {"--forces", "step,Cd,Cl,CdPressure,CdFriction on the painted obstacle (CSV)",
     [](SimulationState& m, Host&, const std::string&, double) {
         if (m.forceHistory.empty())
             throw OutputFailure("no painted cell lies in i 3..nx-2, j 3..ny-2: there is no "
                                 "obstacle and no force; nothing was written");
         return ForcesCsv(m.forceHistory);
     }},
    {"--monitor", "step,U,V,P at the case's monitor cell (CSV); prints the Strouhal number",
     [](SimulationState& m, Host&, const std::string&, double) {
         if (m.monitorI == 0)
             throw OutputFailure("the case has no \"monitor\": [i, j]; nothing was written");
         return MonitorCsv(m.monitorHistory);
     }},
};
constexpr std::size_t kOutputCount = std::size(kOutputs);

// The case, or the status to end with (its reason already said).
std::optional<CaseFile> readCase(const std::string& path) {
    try {
        CaseFile c = ReadCaseFile(ReadCaseText(path));
        for (const Reason& warning : c.warnings)
            say("warning: " + warning.english);
        return c;
    } catch (const Failure& e) {
        say("case file: " + e.english()); // a refusal's reason, or the runtime's
    } catch (const std::bad_alloc&) {
        say("not enough memory to read \"" + QuotedExcerpt(path) + "\"");
    }
    return std::nullopt;
}

// What the command line asked for.
struct Request {
    std::string casePath;
    std::optional<std::string> paths[kOutputCount]; // the outputs asked for
    std::optional<FramesOutput> frames;
    SolverThreads threads = SolverThreads::Auto;
};

// The request, or the status to end with (help and version end with 0).
std::variant<Request, int> parseCommandLine(int argc, char** argv) {
    CLI::App app{"Kestrel batch runner: one calculation without a window"};
    app.footer(statusHelp());
    app.set_version_flag("--version", std::string("kestrel-batch ") + KESTREL_VERSION);
    Request r;
    app.add_option("case", r.casePath, "case file (JSON)")->required();
    std::string paths[kOutputCount];
    CLI::Option* given[kOutputCount];
    for (std::size_t k = 0; k < kOutputCount; ++k)
        given[k] = app.add_option(kOutputs[k].option, paths[k], kOutputs[k].help);
    FramesOutput frames;
    CLI::Option* framesGiven =
        app.add_option("--frames", frames.folder,
                       "folder for the plot of every displayInterval steps (frame-00001.png ...)");
    app.add_flag("--replace-frames", frames.replaceOld,
                 "remove the frame files an earlier run left in the --frames folder");
    std::string threads = "auto";
    app.add_option("--threads", threads,
                   "1, 2, or auto: on large meshes each step takes the faster of one and two "
                   "threads as the machine's load allows (default auto); the numbers are the same")
        ->check(CLI::IsMember({"1", "2", "auto"}));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kDone : kRefused;
    }
    for (std::size_t k = 0; k < kOutputCount; ++k)
        if (given[k]->count() > 0) r.paths[k] = paths[k];
    if (framesGiven->count() > 0) r.frames = frames;
    r.threads = threads == "1"   ? SolverThreads::One
                : threads == "2" ? SolverThreads::Two
                                 : SolverThreads::Auto;
    return r;
}

// Each output asked for, made whole before its file is written; whether all were.
bool writeOutputs(const Request& r, SimulationState& m, Host& host, double loopSeconds) {
    bool all = true;
    for (std::size_t k = 0; k < kOutputCount; ++k) {
        if (!r.paths[k]) continue;
        try {
            WriteOutputFile(*r.paths[k], kOutputs[k].make(m, host, *r.paths[k], loopSeconds));
        } catch (const std::exception& e) {
            say(std::string(kOutputs[k].option) + ": " + e.what());
            all = false;
        }
    }
    return all;
}

} // namespace

int main(int argc, char** argv) {
    ProtectOutputsFromSignals();
    auto parsed = parseCommandLine(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Request& request = std::get<Request>(parsed);

    std::optional<CaseFile> c = readCase(request.casePath);
    if (!c) return kRefused;
    SimulationState& m = c->state;
    const long long interval = DisplayIntervalOf(c->displayInterval);
    if (request.frames && interval == 0) {
        say("--frames needs a displayInterval of 1 or more in the case file");
        return kRefused;
    }
    std::vector<NamedOutput> files;
    for (std::size_t k = 0; k < kOutputCount; ++k)
        if (request.paths[k]) files.push_back({kOutputs[k].option, *request.paths[k]});
    if (const auto problem = PrepareOutputs(request.casePath, files, request.frames)) {
        say(*problem);
        return kRefused;
    }

    BatchHost host(c->display, c->lineWidth);
    ProgressAndFrames observer(
        m, host, request.frames ? std::optional(request.frames->folder) : std::nullopt, interval);
    const auto start = std::chrono::steady_clock::now();
    const RunEnd end =
        RunTimeSteps(m, host, observer, request.threads); // its messages are already printed
    const double loopSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (end != RunEnd::Completed && end != RunEnd::Diverged) return kRunFailed;

    const int status =
        writeOutputs(request, m, host, loopSeconds) && !observer.failed() ? kDone : kOutputFailed;
    if (end == RunEnd::Diverged) {
        say("the run diverged; the outputs hold step " + std::to_string(m.history.size()));
        return status == kOutputFailed ? kOutputFailed : kDiverged;
    }
    if (!m.monitorHistory.empty()) say(StrouhalLine(m));
    if (status == kDone)
        std::fprintf(stderr, "done: %d steps in %.3f s\n", static_cast<int>(m.history.size()),
                     loopSeconds);
    return status;
}
