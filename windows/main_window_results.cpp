// What the main window shows and exports of a run's results: the probe
// under the pointer, the convergence history, the field as CSV or VTK, and
// the displayed pictures as numbered frames.
#include "cells/pointer_selection.h"
#include "force_window.h"
#include "history_window.h"
#include "main_window.h"
#include "picture_box.h"
#include "plot/field_plot.h"
#include "plot/probe.h"
#include "report/field_exports.h"
#include "runtime/file_writing.h"
#include "runtime/frame_files.h"
#include "solver/time_step.h"

#include <QAction>
#include <QEvent>
#include <QStatusBar>

namespace kestrel {

void MainWindow::runDisplayed() {
    showing_ = Showing::Result;
    refreshProbe();
    stability_.show(m_); // the run's warnings as they stand
    if (const auto error = frames_.record(picture_)) {
        recordFrames(false); // one message, not one for every display that follows
        host_.message("連番画像を保存できません。以降の表示は保存しません。\n" + error->japanese(),
                      Buttons::Ok);
    }
}

void MainWindow::showProbe(float x, float y) {
    QString line;
    if (showing_ == Showing::Result) {
        if (const auto cell = ResultCellAt(m_, x, y))
            line = QString::fromStdString(ProbeText(*cell));
    } else if (showing_ == Showing::CellMap) {
        // The pointer keeps its editing role; the line says only what the cell is.
        const Integer i = CellIndexAt(x);
        const Integer j = CellIndexAt(y);
        if (i >= 1 && j >= 1 && i <= m_.nx && j <= m_.ny && m_.cellKind.inRange(i, j))
            line = QString("i %1  j %2  %3")
                       .arg(i)
                       .arg(j)
                       .arg(m_.cellKind(i, j) == 0 ? "非流体" : "流体");
    }
    if (line.isEmpty())
        statusBar_->clearMessage();
    else
        statusBar_->showMessage(line);
}

void MainWindow::refreshProbe() {
    if (const auto pointer = pictureBox_->pointerInUserUnits())
        showProbe(static_cast<float>(pointer->x()), static_cast<float>(pointer->y()));
    else
        statusBar_->clearMessage();
}

void MainWindow::exportField(Export format) {
    // The field of the last step made, also while a run goes on between
    // steps, on the mesh it was computed for, whatever the counts show now.
    const int nx = m_.U.upper1();
    const int ny = m_.U.upper2();
    const bool haveField = !m_.history.empty() && nx >= 1 && ny >= 1 && m_.V.inRange(nx, ny) &&
                           m_.P.inRange(nx, ny) && m_.xNode.upper() >= nx + 1 &&
                           m_.yNode.upper() >= ny + 1;
    if (!haveField) {
        host_.message("エクスポートする計算結果がありません。先に計算を実行してください。",
                      Buttons::Ok);
        return;
    }
    const bool vtk = format == Export::Vtk;
    const auto chosen = host_.askSaveFileNameWithExtension(
        vtk ? "VTK(*.vtk)|*.vtk|すべてのファイル(*.*)|*.*" : kCsvFilter,
        vtk ? "field.vtk" : "field.csv");
    if (!chosen || chosen->empty()) return;
    struct ComputedCounts { // the writers read the counts from the state
        SimulationState& m;
        Integer nx, ny;
        ~ComputedCounts() {
            m.nx = nx;
            m.ny = ny;
        }
    } restore{m_, m_.nx, m_.ny};
    m_.nx = static_cast<Integer>(nx);
    m_.ny = static_cast<Integer>(ny);
    const std::string bytes = vtk ? FieldVtk(m_) : FieldCsv(m_);
    if (const auto error = WriteWholeFile(*chosen, bytes))
        host_.message("エクスポートできません。\n" + error->japanese(), Buttons::Ok);
}

void MainWindow::showChart(QPointer<ChartWindow>& window,
                           ChartWindow* (*make)(const SimulationState&)) {
    if (!window) window = make(m_);
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::recordFrames(bool on) {
    std::optional<std::string> folder;
    if (on) folder = host_.askFolder(frames_.folder().value_or(std::string()));
    frames_.setFolder(folder);
    framesAction_->setChecked(folder.has_value());
    framesAction_->setStatusTip(
        folder ? QString("連番画像の保存先: %1").arg(QString::fromStdString(*folder)) : QString());
}

// A run's frames never mix with an earlier run's: frame files already in
// the folder are removed when the user agrees, or this run records none.
void MainWindow::framesMayStart() {
    const auto& folder = frames_.folder();
    if (!folder) return;
    const std::vector<std::string> old = FrameFilesIn(*folder);
    if (old.empty()) return;
    const std::string question = "連番画像の保存先「" + *folder + "」には、前の計算の連番画像 (" +
                                 old.front() + " など " + std::to_string(old.size()) +
                                 " 個) があります。\n削除して、この計算の画像で置き換えますか?\n" +
                                 "(いいえ: 連番画像の保存をやめます)";
    if (host_.message(question, Buttons::YesNo) != Answer::Yes) {
        recordFrames(false);
        return;
    }
    if (const auto error = RemoveFrameFiles(*folder)) {
        recordFrames(false);
        host_.message("前の連番画像を削除できません。連番画像の保存をやめます。\n" + *error,
                      Buttons::Ok);
    }
}

void MainWindow::changeEvent(QEvent* event) {
    // The coordinate editor changes the lists the numbers are measured on.
    if (event->type() == QEvent::ActivationChange) stability_.show(m_);
    QWidget::changeEvent(event);
}

void MainWindow::showResultNow() {
    showing_ = ShowResult(m_, host_, picture_) ? Showing::Result : Showing::Other;
}

void MainWindow::startPlacingMonitor() {
    placingMonitor_ = true;
    statusBar_->showMessage("観測点にするセルを、結果の図か流体箇所の図でクリックしてください。");
}

void MainWindow::placeMonitor(float x, float y) {
    std::optional<std::pair<int, int>> cell;
    if (showing_ == Showing::Result) {
        if (const auto probed = ResultCellAt(m_, x, y)) cell = {probed->i, probed->j};
    } else if (showing_ == Showing::CellMap) {
        const Integer i = CellIndexAt(x);
        const Integer j = CellIndexAt(y);
        if (i >= 1 && j >= 1 && i <= m_.nx && j <= m_.ny) cell = {i, j};
    }
    if (!cell) {
        host_.message("観測点を置けません。結果の図か流体箇所の図の、メッシュの内側をクリックして"
                      "ください。",
                      Buttons::Ok);
        return;
    }
    placingMonitor_ = false;
    m_.monitorI = static_cast<Integer>(cell->first);
    m_.monitorJ = static_cast<Integer>(cell->second);
    statusBar_->showMessage(QString("観測点: i %1  j %2。次の計算からステップごとに記録します。")
                                .arg(cell->first)
                                .arg(cell->second));
    pictureBox_->update();
}

std::optional<QRectF> MainWindow::monitorMarker() const {
    const int i = m_.monitorI, j = m_.monitorJ;
    if (i < 1 || j < 1 || i > m_.nx || j > m_.ny) return std::nullopt;
    QPointF from, to;
    if (showing_ == Showing::Result && m_.xNode.upper() > i && m_.yNode.upper() > j) {
        from = picture_.toPixel(m_.xNode(i), m_.yNode(j));
        to = picture_.toPixel(m_.xNode(i + 1), m_.yNode(j + 1));
    } else if (showing_ == Showing::CellMap) {
        from = picture_.toPixel(i - 1, j - 1);
        to = picture_.toPixel(i, j);
    } else {
        return std::nullopt;
    }
    return QRectF(from, to).normalized();
}

} // namespace kestrel
