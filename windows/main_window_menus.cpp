// The main window's menu bar, and undo of obstacle edits.
#include "app/handler_guard.h"
#include "cell_map_edit.h"
#include "cells/cell_map.h"
#include "force_window.h"
#include "history_window.h"
#include "main_window.h"
#include "method_menu.h"
#include "monitor_window.h"

#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>

namespace kestrel {

void MainWindow::buildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName("MenuBar");
    layout()->setMenuBar(bar);
    // Every command runs guarded under its own name, as the buttons do.
    const auto add = [this](QMenu* menu, const char* name, auto work) {
        QAction* action = menu->addAction(name);
        connect(action, &QAction::triggered, this,
                [this, name, work] { RunGuarded(host_, name, work); });
        return action;
    };

    QMenu* file = bar->addMenu("ファイル(&F)");
    add(file, "ケースを開く…", [this] { openCaseFromDialog(); })->setShortcut(QKeySequence::Open);
    add(file, "ケースを保存", [this] {
        saveCase(SaveTarget::CurrentFile);
    })->setShortcut(QKeySequence::Save);
    add(file, "名前を付けて保存…", [this] {
        saveCase(SaveTarget::AskForName);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    recentMenu_ = file->addMenu("最近使ったケース");
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
    fillRecentMenu(); // also when the menu is reached from the keyboard
    file->addSeparator();
    QMenu* exports = file->addMenu("エクスポート");
    add(exports, "CSV…", [this] { exportField(Export::Csv); });
    add(exports, "VTK…", [this] { exportField(Export::Vtk); });
    framesAction_ = file->addAction("実行中の表示を連番画像で保存…");
    framesAction_->setCheckable(true);
    connect(framesAction_, &QAction::triggered, this,
            [this](bool on) { RunGuarded(host_, "連番画像の保存", [&] { recordFrames(on); }); });
    file->addSeparator();
    add(file, "終了", [this] { close(); })->setShortcut(QKeySequence::Quit);

    QMenu* edit = bar->addMenu("編集(&E)");
    undo_ = add(edit, "元に戻す", [this] { edits_.undo(); });
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = add(edit, "やり直し", [this] { edits_.redo(); });
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edits_.onChange([this] { updateEditActions(); });
    updateEditActions();

    QMenu* view = bar->addMenu("表示(&V)");
    add(view, "収束履歴…", [this] { showChart(historyWindow_, NewHistoryWindow); });
    add(view, "抗力・揚力…", [this] { showChart(forceWindow_, NewForceWindow); });
    vorticityAction_ = view->addAction("渦度");
    vorticityAction_->setCheckable(true);
    host_.setVorticityChoice(vorticityAction_);
    // Chosen or left, the result shows at once by the colour map now chosen.
    connect(vorticityAction_, &QAction::triggered, this, [this] {
        if (!m_.U.exists()) return;
        RunGuarded(host_, "計算結果表示", [this] { showResultNow(); });
    });
    view->addSeparator();
    add(view, "観測点を置く", [this] { startPlacingMonitor(); });
    add(view, "観測点の記録…", [this] { showChart(monitorWindow_, NewMonitorWindow); });

    methodMenu_ = new MethodMenu(bar, m_.method, this);
    connect(methodMenu_, &MethodMenu::changed, this, [this] { stability_.show(m_); });

    QMenu* help = bar->addMenu("ヘルプ(&H)");
    add(help, "Kestrel について", [this] { showAbout(); });
    add(help, "Qt について", [] { QApplication::aboutQt(); });
}

void MainWindow::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList paths = recent_.paths();
    if (paths.isEmpty()) recentMenu_->addAction("(なし)")->setEnabled(false);
    for (const QString& path : paths) {
        QAction* entry = recentMenu_->addAction(path);
        connect(entry, &QAction::triggered, this,
                [this, path] { RunGuarded(host_, "ケースを開く", [&] { openRecentCase(path); }); });
    }
}

void MainWindow::showAbout() {
    QMessageBox::about(this, "Kestrel について",
                       QString("<p><b>Kestrel %1</b></p>"
                               "<p>二次元の非圧縮性流れを学び、探るためのプログラム</p>"
                               "<p>使用しているライブラリ:<br>"
                               "Qt %2 (GNU LGPL 3.0)<br>"
                               "nlohmann/json (MIT License)<br>"
                               "Eigen (MPL 2.0)<br>"
                               "SuiteSparse CHOLMOD (GNU LGPL 2.1)</p>")
                           .arg(KESTREL_VERSION, qVersion()));
}

void MainWindow::recordMapEdit(const Array2<Integer>& before, const char* name) {
    if (auto edit = CellMapEdit::between(before, m_.cellKind, name)) edits_.push(std::move(edit));
}

// Undo and redo show what they changed: the map, and the counts it was
// made for in their fields.
void MainWindow::showUndoneMap() {
    for (const auto& [name, count] : {std::pair{"Text4", m_.nx}, {"Text5", m_.ny}}) {
        QLineEdit* counts = field(name);
        if (counts->text() != QString::number(count)) counts->setText(QString::number(count));
    }
    if (m_.pickState == PickState::RangeEnd)
        m_.pickState = PickState::RangeStart; // a range begun on the other map is dropped
    showing_ = Showing::CellMap;
    DrawCellMap(m_, picture_);
    refreshProbe();
}

void MainWindow::updateEditActions() {
    // The map is the run's while it steps, so it is not changed under it.
    undo_->setEnabled(edits_.canUndo() && !running_);
    redo_->setEnabled(edits_.canRedo() && !running_);
    undo_->setStatusTip(edits_.undoText());
    redo_->setStatusTip(edits_.redoText());
}

} // namespace kestrel
