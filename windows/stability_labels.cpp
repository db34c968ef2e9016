#include "stability_labels.h"

#include "runtime/number_text.h"
#include "solver/flow_account.h"
#include "solver/stability.h"
#include "twips.h"

#include <QLabel>
#include <optional>

namespace kestrel {

namespace {

// The texts' %1 is the limit.
struct Number {
    const char* caption;
    double limit;
    const char* meaning;   // what the number is
    const char* overLimit; // what going beyond the limit means
};

const Number kCfl{"CFL数", kCflLimit,
                  "CFL数 = |u|·Δt / min(Δx, Δy)。流入速度 |u| = 1、最小のセルで計算しています。"
                  "%1 以下が目安です。",
                  "CFL数が %1 を超えています。1 回の時間刻みで流れがセル 1 つより先へ進むため、"
                  "計算が不安定になりやすくなります。時間刻みを小さくしてください。"};
const Number kDiffusion{"拡散数", kDiffusionLimit,
                        "拡散数 = Δt / Re · (1/Δx² + 1/Δy²)。最小のセルで計算しています。"
                        "%1 以下が目安です。",
                        "拡散数が %1 を超えています。粘性項の陽的な計算が不安定になりやすく"
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
    const QString limit = QString::fromStdString(ShortestNumber(n.limit));
    label->setToolTip((over          ? QString::fromUtf8(n.overLimit).arg(limit)
                       : notPositive ? QString::fromUtf8(kNotPositive)
                                     : QString::fromUtf8(n.meaning).arg(limit)) +
                      (value ? QString()
                             : "\nセル幅が正でない箇所があるか、値が有限でないため、"
                               "計算できません。"));
}

const char* const kReynoldsMeaning =
    "障害物の高さ D (障害物がなければ流路の高さ) に基づくレイノルズ数 Re·D です。"
    "入力の「レイノルズ数」はメッシュ座標の長さ 1 あたりの値 (1/ν) なので、教科書のレイノルズ数は"
    "これに D を掛けたものです。";
const char* const kPecletMeaning =
    "格子ペクレ数 |u|·Δx·Re (流入部、|u| = 1)。この方法の 1 次風上差分は |u|·Δx/2 ほどの"
    "数値粘性を加えるため、この数が 2 を大きく超えると、見えている流れは設定したレイノルズ数"
    "よりずっと粘い流れです。";
const char* const kPecletMeaningStaggered =
    "格子ペクレ数 |u|·Δx·Re (流入部、|u| = 1)。スタガード格子法の対流項は 2 次精度 (van Leer "
    "の制限関数) で、数値粘性は格子を細かくすると速く小さくなります。この数が 2 を大きく超える"
    "ところでは、制限関数が働いて局所的に 1 次に近づきます。";

struct Warning {
    QString brief; // shown in the line
    QString full;  // in its tooltip, in words a student can act on
};

// Empty when nothing is amiss.
std::vector<Warning> flowWarnings(const SimulationState& m, const FlowAccount& account) {
    std::vector<Warning> warnings;
    if (account.evenNx)
        warnings.push_back(
            {"nx が偶数", "nx が偶数です。この方法では圧力の水準が上がり続け、計算が暴走することが"
                          "あります (奇数の nx を勧めます)。"});
    if (m.health.pressureRises >= kPressureRiseSteps)
        warnings.push_back(
            {"圧力が漂流", QString("計算領域の平均圧力が %1 ステップ続けて上がっています。"
                                   "圧力の水準が漂流しています (圧力の境界がすべて勾配 0 のため)。")
                               .arg(m.health.pressureRises)});
    if (m.health.outflowRatio && std::abs(*m.health.outflowRatio - 1) > kMassBalanceTolerance)
        warnings.push_back({"質量が保存されない",
                            QString("流出量が流入量と %1 % 違います。質量が保存されていません "
                                    "(時間刻みを小さくすると改善することがあります)。")
                                .arg(QString::fromStdString(
                                    SignificantNumber(100 * (*m.health.outflowRatio - 1), 3)))});
    return warnings;
}

} // namespace

void StabilityLabels::build(QWidget* parent, int left, int top, int width, QLabel* warnings) {
    const int column = width / 2;
    const std::pair<QLabel**, const char*> labels[] = {{&cfl_, "StabilityCfl"},
                                                       {&diffusion_, "StabilityDiffusion"},
                                                       {&reynolds_, "AccountReynolds"},
                                                       {&peclet_, "AccountPeclet"}};
    for (std::size_t k = 0; k < std::size(labels); ++k) {
        *labels[k].first = new QLabel(parent);
        (*labels[k].first)->setObjectName(labels[k].second);
        PlaceTwips(*labels[k].first, left + static_cast<int>(k / 2) * column,
                   top + static_cast<int>(k % 2) * 240, column, 240);
    }
    warnings_ = warnings;
    warnings_->setObjectName("AccountWarnings");
    warnings_->setStyleSheet("color: #b00000;");
    // However long, the line never widens the window.
    warnings_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StabilityLabels::show(const SimulationState& m) {
    const StabilityNumbers numbers = EstimateStability(m);
    showNumber(cfl_, kCfl, numbers.cfl);
    showNumber(diffusion_, kDiffusion, numbers.diffusion);
    const FlowAccount account = AccountOfParameters(m);
    const auto number = [](std::optional<double> v) {
        return v ? QString::fromStdString(SignificantNumber(*v, 6)) : QString("—");
    };
    reynolds_->setText("Re·D " + number(account.reynolds));
    reynolds_->setToolTip(QString(kReynoldsMeaning) + "\nD = " + number(account.length) +
                          (account.ofObstacle ? " (障害物の高さ)" : " (流路の高さ)") +
                          "、ν = 1/レイノルズ数 = " +
                          number(m.reynolds != 0 ? std::optional(1 / m.reynolds) : std::nullopt));
    peclet_->setText("Pe " + number(account.peclet));
    peclet_->setToolTip(m.method.method == Method::Staggered ? kPecletMeaningStaggered
                                                             : kPecletMeaning);
    QStringList brief, full;
    for (const Warning& w : flowWarnings(m, account)) {
        brief << w.brief;
        full << w.full;
    }
    warnings_->setText(brief.isEmpty() ? QString()
                                       : "注意: " + brief.join("、") + " (詳しくはここ)");
    warnings_->setToolTip(full.join("\n"));
}

} // namespace kestrel
