#include "chart_window.h"

#include "app/handler_guard.h"
#include "runtime/file_writing.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

ChartWindow::ChartWindow(QWidget* chart, Parts parts)
    : parts_(std::move(parts)), dialogs_(this), chart_(chart) {
    setObjectName(parts_.objectName);
    setWindowTitle(parts_.title);
    setAttribute(Qt::WA_DeleteOnClose);
    summary_ = new QLabel(this);
    summary_->setObjectName(parts_.summaryName);
    auto* save = new QPushButton("CSV で保存…", this);
    save->setObjectName(parts_.saveName);
    connect(save, &QPushButton::clicked, this, [this] {
        RunGuarded(dialogs_, std::string(parts_.title) + "の保存", [this] { saveCsv(); });
    });
    auto* row = new QHBoxLayout;
    row->addWidget(summary_, 1);
    row->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart_, 1);
    layout->addLayout(row);
    connect(&timer_, &QTimer::timeout, this, [this] { refresh(); });
    timer_.start(200);
    refresh();
}

void ChartWindow::refresh() {
    std::string now = parts_.signature();
    if (shown_ == now) return;
    shown_ = std::move(now);
    summary_->setText(QString::fromStdString(parts_.summary()));
    chart_->update();
}

void ChartWindow::saveCsv() {
    const auto chosen = dialogs_.askSaveFileNameWithExtension(kCsvFilter, parts_.csvFileName);
    if (!chosen || chosen->empty()) return;
    if (const auto error = WriteWholeFile(*chosen, parts_.csv()))
        dialogs_.message(std::string(parts_.title) + "を保存できません。\n" + error->japanese(),
                         Buttons::Ok);
}

} // namespace kestrel
