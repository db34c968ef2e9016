#include "stability_labels.h"

#include "runtime/number_text.h"
#include "solver/stability.h"
#include "twips.h"

#include <QLabel>
#include <optional>

namespace kestrel {

namespace {

struct Number {
    const char* caption;
    double limit;
    const char* meaning;   // what the number is
    const char* overLimit; // what going beyond the limit means
};

const Number kCfl{"CFL数", kCflLimit,
                  "CFL数 = |u|·Δt / min(Δx, Δy)。流入速度 |u| = 1、最小のセルで計算しています。"
                  "1 以下が目安です。",
                  "CFL数が 1 を超えています。1 回の時間刻みで流れがセル 1 つより先へ進むため、"
                  "計算が不安定になりやすくなります。時間刻みを小さくしてください。"};
const Number kDiffusion{"拡散数", kDiffusionLimit,
                        "拡散数 = Δt / Re · (1/Δx² + 1/Δy²)。最小のセルで計算しています。"
                        "0.5 以下が目安です。",
                        "拡散数が 0.5 を超えています。粘性項の陽的な計算が不安定になりやすく"
                        "なります。時間刻みを小さくしてください。"};

// A number at or below zero comes from a time step or Reynolds number at
// or below zero: no run of physical meaning.
constexpr const char* kNotPositive =
    "この数が 0 以下なのは、時間刻みかレイノルズ数が 0 以下だからです。"
    "物理的な意味のある計算になりません。正の値にしてください。";

void showNumber(QLabel* label, const Number& n, std::optional<double> value) {
    const bool over = value && *value > n.limit;
    const bool notPositive = value && !(*value > 0);
    label->setText(QString("%1 %2").arg(n.caption).arg(
        value ? QString::fromStdString(SignificantNumber(*value, 4)) : QString("—")));
    label->setStyleSheet(over || notPositive ? "color: #d00000; font-weight: bold;" : QString());
    label->setToolTip(QString::fromUtf8(over          ? n.overLimit
                                        : notPositive ? kNotPositive
                                                      : n.meaning) +
                      (value ? QString()
                             : "\nセル幅が正でない箇所があるか、値が有限でないため、"
                               "計算できません。"));
}

} // namespace

void StabilityLabels::build(QWidget* parent, int left, int top, int width) {
    cfl_ = new QLabel(parent);
    cfl_->setObjectName("StabilityCfl");
    PlaceTwips(cfl_, left, top, width, 240);
    diffusion_ = new QLabel(parent);
    diffusion_->setObjectName("StabilityDiffusion");
    PlaceTwips(diffusion_, left, top + 240, width, 240);
}

void StabilityLabels::show(const SimulationState& m) {
    const StabilityNumbers numbers = EstimateStability(m);
    showNumber(cfl_, kCfl, numbers.cfl);
    showNumber(diffusion_, kDiffusion, numbers.diffusion);
}

} // namespace kestrel
