#include "batch_outputs.h"

#include "canvas/image_surface.h"
#include "mesh/mesh_picture.h"
#include "plot/field_plot.h"
#include "report/strouhal.h"
#include "runtime/file_writing.h"
#include "runtime/number_text.h"
#include "runtime/user_text.h"
#include "solver/forces.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace kestrel {

namespace {

bool endsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".png";
}

} // namespace

// Why a plot failed, where the mesh's shape says.
std::string PlotFailureText(const SimulationState& m, const ImageSurface& picture) {
    const double twips = MeshPictureHeightTwips(m, picture.widthTwips());
    const double pixels = std::round(twips / kTwipsPerPixel);
    const std::string tall = "the picture would be " + ShortestNumber(pixels) + " pixels tall";
    if (twips < 0)
        return "the plot could not be drawn: " + tall +
               ", as the mesh runs backwards (a negative mesh size or descending nodes)";
    if (pixels > ImageSurface::kMaxHeightPixels)
        return "the plot could not be drawn: " + tall + "; at most " +
               ShortestNumber(ImageSurface::kMaxHeightPixels) + " can be drawn";
    return "the plot could not be drawn";
}

std::string StatsJson(const std::vector<StepReport>& history, double loopSeconds) {
    nlohmann::json sweeps = nlohmann::json::array();
    nlohmann::json errors = nlohmann::json::array();
    for (const StepReport& s : history) {
        sweeps.push_back(s.sweeps);
        errors.push_back(std::isnan(s.lastError) ? nlohmann::json(nullptr)
                                                 : nlohmann::json(s.lastError));
    }
    nlohmann::json j{{"sweeps", sweeps}, {"lastError", errors}, {"loopSeconds", loopSeconds}};
    return j.dump(1) + "\n";
}

std::string PlotImageFile(SimulationState& m, Host& host, const std::string& path) {
    ImageSurface picture(kPictureWidthTwips, kPictureHeightTwips);
    if (!ShowResult(m, host, picture)) throw OutputFailure(PlotFailureText(m, picture));
    const std::string bytes = picture.encoded(endsWithPng(path) ? "PNG" : "BMP");
    if (bytes.empty())
        throw OutputFailure("the picture (" + std::to_string(picture.size().width()) + " x " +
                            std::to_string(picture.size().height()) +
                            " pixels) is too large to encode in memory");
    return bytes;
}

std::string StrouhalLine(const SimulationState& m) {
    const double length = ReferenceLength(m);
    const Strouhal s = EstimateStrouhal(m.monitorHistory, length);
    if (!s.number)
        return "Strouhal number: none; V at the monitor crossed its mean upwards " +
               std::to_string(s.crossings) +
               " times in the run's second half, and three periods are needed";
    return "Strouhal number St = D f = " + SignificantNumber(*s.number, 6) +
           " (f = " + SignificantNumber(*s.frequency, 6) + ", D = " + ShortestNumber(length) +
           ", " + std::to_string(s.periods) + " periods)";
}

Failure OutputFailure(std::string english) {
    return Failure(Reason{std::move(english), {}});
}

void WriteOutputFile(const std::string& path, const std::string& bytes) {
    if (const auto error = WriteWholeFile(path, bytes))
        throw OutputFailure("cannot write \"" + QuotedExcerpt(path) + "\": " + error->english());
}

} // namespace kestrel
