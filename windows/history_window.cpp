#include "history_window.h"

#include "app/handler_guard.h"
#include "history_chart.h"
#include "report/field_exports.h"
#include "runtime/file_writing.h"
#include "runtime/number_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace kestrel {

HistoryWindow::HistoryWindow(const SimulationState& m) : m_(m), dialogs_(this) {
    setObjectName("frmHistory");
    setWindowTitle("収束履歴");
    setAttribute(Qt::WA_DeleteOnClose);
    chart_ = new HistoryChart(m.history, this);
    summary_ = new QLabel(this);
    summary_->setObjectName("HistorySummary");
    auto* save = new QPushButton("CSV で保存…", this);
    save->setObjectName("HistorySave");
    connect(save, &QPushButton::clicked, this,
            [this] { RunGuarded(dialogs_, "収束履歴の保存", [this] { saveCsv(); }); });
    auto* row = new QHBoxLayout;
    row->addWidget(summary_, 1);
    row->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart_, 1);
    layout->addLayout(row);
    // A run steps inside the event loop, so a timer sees its history grow;
    // a look is cheap, and only a history that changed is drawn again.
    connect(&timer_, &QTimer::timeout, this, [this] { refresh(); });
    timer_.start(200);
    refresh();
}

bool HistoryWindow::Shown::operator==(const Shown& other) const {
    const auto same = [](const StepReport& a, const StepReport& b) {
        return a.sweeps == b.sweeps &&
               (a.lastError == b.lastError || (std::isnan(a.lastError) && std::isnan(b.lastError)));
    };
    return count == other.count && same(first, other.first) && same(last, other.last);
}

HistoryWindow::Shown HistoryWindow::shownOf(const std::vector<StepReport>& history) {
    if (history.empty()) return {};
    return {history.size(), history.front(), history.back()};
}

void HistoryWindow::refresh() {
    const std::vector<StepReport>& h = m_.history;
    if (shown_ == shownOf(h)) return;
    shown_ = shownOf(h);
    if (h.empty()) {
        summary_->setText("計算の履歴はありません。");
    } else {
        const StepReport& last = h.back();
        summary_->setText(QString("%1 ステップ　最後のステップ: 反復 %2 回、誤差 %3")
                              .arg(h.size())
                              .arg(last.sweeps)
                              .arg(QString::fromStdString(std::isnan(last.lastError)
                                                              ? std::string("—")
                                                              : GeneralNumber(last.lastError))));
    }
    chart_->update();
}

void HistoryWindow::saveCsv() {
    const auto chosen = dialogs_.askSaveFileNameWithExtension(
        "CSV(*.csv)|*.csv|すべてのファイル(*.*)|*.*", "history.csv");
    if (!chosen || chosen->empty()) return;
    if (const auto error = WriteWholeFile(*chosen, HistoryCsv(m_.history)))
        dialogs_.message("収束履歴を保存できません。\n" + *error, Buttons::Ok);
}

} // namespace kestrel
