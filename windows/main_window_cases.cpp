// The main window's case files: what a case holds of the window, opening
// and saving it, and the question before unsaved work would be lost.
#include "cases/case_writing.h"
#include "cells/cell_map.h"
#include "main_window.h"
#include "method_menu.h"
#include "plot/flow_line.h"
#include "run/run_calculation.h"
#include "runtime/file_writing.h"
#include "windows/coordinate_editor.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <new>

namespace kestrel {

namespace {

const std::string kCaseFilter = "ケース(*.json)|*.json|すべてのファイル(*.*)|*.*";

} // namespace

CaseFile MainWindow::currentCase() {
    CaseFile c;
    SimulationState& s = c.state;
    for (const Parameter& p : Parameters())
        CopyParameter(p, m_, s);
    CopyCaseContents(m_, s);
    c.display = host_.display();
    // The two texts read when used are saved as what they are read as.
    c.lineWidth = FlowLinePenWidth(host_.lineWidthText());
    c.displayInterval = static_cast<double>(DisplayInterval(host_.displayIntervalText()));
    c.confirmEachDisplay = host_.confirmEachDisplay();
    return c;
}

void MainWindow::applyCase(const CaseFile& c) {
    const SimulationState& s = c.state;
    setFieldTexts(s, c.displayInterval, c.lineWidth);
    (s.meshMode == kTrue ? ui_.equalSpacing : ui_.givenCoordinates)->setChecked(true);
    option1Click();
    (c.confirmEachDisplay ? ui_.confirmEach : ui_.continuous)->setChecked(true);
    (c.display == Display::Speed ? ui_.speed : ui_.pressure)->setChecked(true);
    vorticityAction_->setChecked(c.display == Display::Vorticity);

    // The editor would show the lists it was opened with.
    if (coordinateEditor_) coordinateEditor_->closeWithoutAsking();
    CopyCaseContents(s, m_);
    methodMenu_->sync();
    showing_ = Showing::CellMap;
    // An opened map is ready to edit, as after 流体有無指定; a range begun
    // on the old map is dropped.
    if (DrawCellMap(m_, picture_) == 0)
        m_.pickState = host_.rangeSelection() ? PickState::RangeStart : PickState::Cell;
    stability_.show(m_);
}

bool MainWindow::caseMayChange() {
    if (!running_) return true;
    host_.message("計算中はケースを開けません。停止してから、もう一度操作してください。",
                  Buttons::Ok);
    return false;
}

bool MainWindow::openCaseFile(const std::string& path) {
    if (!caseMayChange()) return false;
    CaseFile c;
    try {
        c = ReadCaseFile(ReadCaseText(path));
    } catch (const Failure& e) {
        host_.message("ケースを開けません: " + path + "\n" + e.japanese() +
                          "\nファイルを直してから、もう一度開いてください。",
                      Buttons::Ok);
        return false;
    } catch (const std::bad_alloc&) {
        host_.message("ケースを開けません: " + path + "\nメモリが足りず、読み込めませんでした。",
                      Buttons::Ok);
        return false;
    }
    applyCase(c);
    edits_.clear();
    setCasePath(path);
    if (!c.warnings.empty()) {
        std::string text = "ケースを開きました。次の点に注意してください。";
        for (const Reason& warning : c.warnings)
            text += "\n・" + warning.japanese;
        host_.message(text, Buttons::Ok);
    }
    return true;
}

bool MainWindow::readyToReplaceCase() {
    if (!caseMayChange()) return false;
    // Lists typed into the editor and not yet stored are work too: the
    // editor's own question comes first, and what it stores is then asked about.
    if (coordinateEditor_ && coordinateEditor_->isVisible() && !coordinateEditor_->close())
        return false;
    return askToSaveChanges();
}

void MainWindow::openCaseFromDialog() {
    if (!readyToReplaceCase()) return;
    const auto chosen = host_.askOpenFileName(kCaseFilter, casePath_);
    if (chosen) openCaseFile(*chosen);
}

void MainWindow::openRecentCase(const QString& path) {
    if (!readyToReplaceCase()) return;
    if (!openCaseFile(path.toStdString()) && !QFileInfo::exists(path)) recent_.remove(path);
}

bool MainWindow::saveCase(SaveTarget target) {
    if (!parametersInUse()) return false;
    std::string text;
    try {
        text = WriteCaseText(currentCase());
        ReadCaseFile(text); // what cannot be opened again is not saved
    } catch (const Failure& e) {
        host_.message("このケースは保存できません。\n" + e.japanese(), Buttons::Ok);
        return false;
    }
    std::optional<std::string> chosen = casePath_;
    if (target == SaveTarget::AskForName || casePath_.empty())
        chosen = host_.askSaveFileNameWithExtension(kCaseFilter,
                                                    casePath_.empty() ? "case.json" : casePath_);
    if (!chosen || chosen->empty()) return false;
    if (const auto error = WriteWholeFile(*chosen, text)) {
        host_.message("ケースを保存できません。\n" + error->japanese(), Buttons::Ok);
        return false;
    }
    setCasePath(*chosen);
    return true;
}

bool MainWindow::askToSaveChanges() {
    if (editedContent() == savedContent_) return true;
    switch (host_.message("保存しますか?", Buttons::YesNoCancel)) {
    case Answer::Yes:
        return saveCase(SaveTarget::CurrentFile);
    case Answer::No:
        return true;
    default:
        return false;
    }
}

std::string MainWindow::editedContent() {
    // What a save would write: values, not texts, so 0.0050 for 0.005 or
    // 61.4 in a whole-number field is no change.
    try {
        return WriteCaseText(currentCase());
    } catch (const Failure&) {
        // A case that cannot be written: its texts tell one state from another.
        std::string content = "unwritable\n";
        for (const auto& [name, text] : ui_.fields)
            content += text->text().toStdString() + '\n';
        return content;
    }
}

void MainWindow::setCasePath(const std::string& path) {
    casePath_ = path;
    savedContent_ = editedContent();
    recent_.add(QString::fromStdString(path));
    setWindowTitle("Kestrel - " + QFileInfo(QString::fromStdString(path)).fileName());
}

} // namespace kestrel
