#include "method_menu.h"

#include "runtime/number_text.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>

namespace kestrel {

namespace {

// Two checkable entries of which one is on.
std::pair<QAction*, QAction*> pairOf(QMenu* menu, const char* first, const char* second) {
    auto* group = new QActionGroup(menu);
    QAction* a = menu->addAction(first);
    QAction* b = menu->addAction(second);
    for (QAction* action : {a, b}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    return {a, b};
}

} // namespace

MethodMenu::MethodMenu(QMenuBar* bar, MethodChoice& choice, QWidget* dialogParent)
    : QObject(bar), choice_(choice), dialogParent_(dialogParent) {
    QMenu* menu = bar->addMenu("計算(&C)");
    std::tie(classic_, staggered_) = pairOf(menu, "従来の方法 (一つの格子、一次風上差分)",
                                            "スタガード格子法 (壁の摩擦、二次精度)");
    classic_->setStatusTip(
        "この教材のもとの計算方法です。壁に摩擦がなく、数値粘性が大きい方法です");
    staggered_->setStatusTip("速度をセルの面、圧力をセルの中心に置く方法です。壁に摩擦があり、"
                             "解析解や文献の値と合うことを確かめてあります");
    options_ = menu->addMenu("スタガード格子法の設定");
    std::tie(noSlip_, slip_) =
        pairOf(options_, "流路の壁: 摩擦あり (すべりなし)", "流路の壁: 摩擦なし (すべりあり)");
    options_->addSeparator();
    std::tie(uniform_, parabolic_) =
        pairOf(options_, "流入: 一様 (速度 1)", "流入: 放物線分布 (平均速度 1)");
    options_->addSeparator();
    automatic_ = options_->addAction("時間刻みを毎ステップ自動で決める");
    automatic_->setCheckable(true);
    safety_ = options_->addAction("安全係数…");

    const auto set = [this](QAction* action, auto apply) {
        connect(action, &QAction::triggered, this, [this, apply] {
            apply();
            sync();
            emit changed();
        });
    };
    set(classic_, [this] { choice_.method = Method::Classic; });
    set(staggered_, [this] { choice_.method = Method::Staggered; });
    set(noSlip_, [this] { choice_.frictionlessWalls = false; });
    set(slip_, [this] { choice_.frictionlessWalls = true; });
    set(uniform_, [this] { choice_.parabolicInflow = false; });
    set(parabolic_, [this] { choice_.parabolicInflow = true; });
    set(automatic_, [this] { choice_.automaticTimeStep = automatic_->isChecked(); });
    set(safety_, [this] { askSafety(); });
    sync();
}

void MethodMenu::sync() {
    (choice_.method == Method::Staggered ? staggered_ : classic_)->setChecked(true);
    (choice_.frictionlessWalls ? slip_ : noSlip_)->setChecked(true);
    (choice_.parabolicInflow ? parabolic_ : uniform_)->setChecked(true);
    automatic_->setChecked(choice_.automaticTimeStep);
    safety_->setText(
        QString::fromStdString("安全係数 (今 " + GeneralNumber(choice_.safety) + ")…"));
    safety_->setEnabled(choice_.automaticTimeStep);
    options_->setEnabled(choice_.method == Method::Staggered);
}

void MethodMenu::askSafety() {
    bool ok = false;
    const double value = QInputDialog::getDouble(
        dialogParent_, "安全係数",
        "自動の時間刻みは、安定限界にこの係数を掛けた値です (0 より大きく 1 以下)。",
        choice_.safety, 0.01, 1, 2, &ok);
    if (ok) choice_.safety = value;
}

} // namespace kestrel
