#include "parameters.h"

#include "runtime/number_text.h"

namespace kestrel {

namespace {

using S = CaseParameters;
constexpr CaseLine kRun = CaseLine::Run;
constexpr CaseLine kMesh = CaseLine::Mesh;
constexpr CaseLine kDisplay = CaseLine::Display;

// In the order a case file lists them.
const Parameter kParameters[] = {
    {"dt", "時間刻み", "Text1", &S::dt, 0.005, 0, 0, kRun, false, true},
    {"reynolds", "レイノルズ数", "Text2", &S::reynolds, 40, 0, 0, kRun, false, true},
    {"stepCount", "計算回数", "Text3", &S::stepCount, 400},
    {"maxIter", "収束最大", "Text9", &S::maxIter, 100},
    {"nx", "メッシュ数 X", "Text4", &S::nx, 61, -32768, 32767, kMesh, true, true},
    {"ny", "メッシュ数 Y", "Text5", &S::ny, 31, -32768, 32767, kMesh, true, true},
    // Chosen with the equal-spacing and given-coordinates buttons: -1 equal.
    {"meshMode", nullptr, nullptr, &S::meshMode, kTrue, -1, 0, kMesh, true, true},
    {"meshSizeX", "メッシュサイズ X", "Text6", &S::meshSizeX, 10, -32768, 32767, kMesh, true, true},
    {"meshSizeY", "メッシュサイズ Y", "Text7", &S::meshSizeY, 10, -32768, 32767, kMesh, true, true},
    {"lineScale", "流線の尺度", "Text11", &S::lineScale, 5, 0, 0, kDisplay},
};

} // namespace

std::span<const Parameter> Parameters() {
    return kParameters;
}

double ValueOf(const Parameter& p, const CaseParameters& m) {
    return std::visit([&](auto member) { return static_cast<double>(m.*member); }, p.member);
}

std::string TextOf(const Parameter& p, const CaseParameters& m) {
    if (const auto* member = std::get_if<Integer CaseParameters::*>(&p.member))
        return std::to_string(m.**member);
    return ShortestNumber(m.*std::get<double CaseParameters::*>(p.member));
}

void CopyParameter(const Parameter& p, const CaseParameters& from, CaseParameters& to) {
    std::visit([&](auto member) { to.*member = from.*member; }, p.member);
}

void ApplyDefaults(CaseParameters& m) {
    for (const Parameter& p : kParameters)
        std::visit(
            [&](auto member) {
                m.*member = static_cast<std::decay_t<decltype(m.*member)>>(p.defaultValue);
            },
            p.member);
}

} // namespace kestrel
