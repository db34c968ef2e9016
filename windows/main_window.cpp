#include "main_window.h"

#include "app/handler_guard.h"
#include "app/parameters.h"
#include "cells/cell_map.h"
#include "cells/pointer_selection.h"
#include "mesh/mesh_display.h"
#include "picture_box.h"
#include "plot/field_plot.h"
#include "radio_focus.h"
#include "report/result_text.h"
#include "run/run_calculation.h"
#include "runtime/number_text.h"
#include "twips.h"
#include "windows/colour_legend.h"
#include "windows/coordinate_editor.h"
#include "windows/history_window.h"
#include "windows/text_viewer.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace kestrel {

namespace {

constexpr int kClientWidth = 11835;
constexpr int kClientHeight = 8160;
constexpr int kPictureWidth = kPictureWidthTwips;
constexpr int kPictureHeight = kPictureHeightTwips;

const char* const kInstructions[20] = {
    "「流体有無指定」ボタンをクリックして",
    "障害物の範囲を指定します。",
    "「範囲指定」または「点指定」で範囲を指定します。",
    "指定内容は「変更モード」のラジオボタンで",
    "指定します。",
    "障害物は，「非流体」として指定します。",
    "指定方法には，点指定と範囲指定があります。",
    "「範囲指定」または「点指定」ボタンを",
    "クリックしてください。",
    "範囲指定のときは，範囲の始点をクリックし，",
    "マウスを動かして，終点をクリックします。",
    "障害物の位置は，赤色で表示されます。",
    "メッシュサイズは，「メッシュサイズ」フィールドの",
    "等間隔，またはＸ，Ｙ座標値を指定することで",
    "行います・",
    "障害物の範囲を指定したら，",
    "「計算実行」ボタンをクリックしてください。",
    "確認メッセージが煩わしい場合は，",
    "「表示」オプションの「連続表示」オプションに，",
    "チェックをいれてください。",
};
constexpr int kInstructionTops[20] = {360,  600,  960,  1320, 1560, 1920, 2280, 2520, 2760, 3120,
                                      3360, 3600, 3960, 4200, 4440, 4800, 5040, 5400, 5640, 5880};

} // namespace

MainWindow::MainWindow(SimulationState& state, QWidget* parent)
    : QWidget(parent), m_(state), picture_(kPictureWidth, kPictureHeight), host_(this),
      fields_(state) {
    setObjectName("frmDataIn");
    setWindowTitle("Kestrel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    client_ = new QWidget(this);
    client_->setObjectName("ClientArea");
    client_->setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    layout->addWidget(client_);
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar");
    statusBar_->setSizeGripEnabled(false);
    layout->addWidget(statusBar_);
    buildAnalysisFrame();
    buildDisplayFrame();
    buildMeshFrame();
    buildCellControls();
    buildRunControls();
    buildInstructions();
    host_.attach({ui_.pressure, ui_.confirmEach, ui_.fluid, ui_.invert, field("Text8"),
                  field("Text10"), ui_.status, ui_.rangeToggle},
                 [this] { runDisplayed(); });
    connectHandlers();
    buildMenus();
    formLoad();
    savedContent_ = editedContent();
}

MainWindow::~MainWindow() {
    delete coordinateEditor_;
    delete textViewer_;
    delete historyWindow_;
    delete forceWindow_;
    delete monitorWindow_;
}

QGroupBox* MainWindow::addFrame(QWidget* parent, const char* name, const char* caption, int left,
                                int top, int width, int height) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    // Each frame by its own caption, not by the frame around it.
    frame->setAccessibleName(caption);
    PlaceTwips(frame, left, top, width, height);
    return frame;
}

QLineEdit* MainWindow::addField(QWidget* parent, const char* name, const char* labelName,
                                const char* caption, int labelLeft, int left, int top, int width,
                                int height, const char* accessibleName) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(labelName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceTwips(label, labelLeft, top, left - labelLeft - 60, height);
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName ? accessibleName : caption);
    label->setBuddy(field);
    ui_.fields[name] = field;
    PlaceTwips(field, left, top, width, height);
    return field;
}

QPushButton* MainWindow::addButton(QWidget* parent, const char* name, const char* caption, int left,
                                   int top, int width, int height) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    PlaceTwips(button, left, top, width, height);
    return button;
}

QRadioButton* MainWindow::addOption(QWidget* parent, const char* name, const char* caption,
                                    int left, int top, int width) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    PlaceTwips(option, left, top, width, 270);
    FollowChosenOptionWithTab(option);
    return option;
}

void MainWindow::buildAnalysisFrame() {
    QGroupBox* frame = addFrame(client_, "Frame1", "解析条件", 120, 120, 7215, 735);
    addField(frame, "Text1", "Label1", "時間刻み", 60, 840, 360, 615);
    addField(frame, "Text2", "Label2", "レイノルズ数", 1500, 2640, 360, 855);
    addField(frame, "Text3", "Label3", "計算回数", 3540, 4440, 360, 735);
    addField(frame, "Text9", "Label10", "収束最大", 5280, 6240, 360, 735);
}

void MainWindow::buildDisplayFrame() {
    QGroupBox* frame = addFrame(client_, "Frame6", "表示オプション", 120, 960, 7215, 1215);
    QGroupBox* run = addFrame(frame, "Frame8", "実行時", 120, 240, 1335, 855);
    ui_.confirmEach = addOption(run, "Option4", "表示確認", 120, 240, 1150);
    ui_.confirmEach->setChecked(true);
    ui_.continuous = addOption(run, "Option5", "連続表示", 120, 540, 1150);
    QGroupBox* colour = addFrame(frame, "Frame9", "カラー表示", 3480, 240, 1695, 855);
    ui_.pressure = addOption(colour, "Option6", "圧力", 120, 240, 1500);
    ui_.pressure->setChecked(true);
    ui_.speed = addOption(colour, "Option7", "速度絶対値", 120, 540, 1500);
    addField(frame, "Text8", "Label8", "表示間隔", 1500, 2520, 330, 735, 255);
    addField(frame, "Text10", "Label11", "流線の線幅", 1500, 2520, 600, 735, 255);
    addField(frame, "Text11", "Label14", "流線の尺度", 1500, 2520, 870, 735, 255);
    ui_.redisplay = addButton(frame, "Command9", "計算結果再表示", 5280, 600, 1815);
}

void MainWindow::buildMeshFrame() {
    QGroupBox* frame = addFrame(client_, "Frame2", "メッシュデータ", 120, 2280, 7215, 975);
    QGroupBox* counts = addFrame(frame, "Frame3", "メッシュ数", 240, 240, 2160, 615);
    addField(counts, "Text4", "Label4", "X", 60, 360, 270, 615, 270, "メッシュ数 X");
    addField(counts, "Text5", "Label5", "Y", 1020, 1320, 270, 615, 270, "メッシュ数 Y");
    ui_.equalSpacing = addOption(frame, "Option1", "等間隔", 2520, 360, 900);
    ui_.equalSpacing->setChecked(true);
    ui_.givenCoordinates = addOption(frame, "Option2", "指定", 2520, 600, 900);
    QGroupBox* sizes = addFrame(frame, "Frame4", "メッシュサイズ", 3480, 240, 1935, 615);
    addField(sizes, "Text6", "Label7", "X", 60, 360, 270, 615, 270, "メッシュサイズ X");
    addField(sizes, "Text7", "Label6", "Y", 1020, 1320, 270, 615, 270, "メッシュサイズ Y");
    ui_.coordinates = addButton(frame, "Command2", "座標値指定", 5520, 360, 1575, 495);
}

void MainWindow::buildCellControls() {
    ui_.initialiseMap = addButton(client_, "Command4", "流体箇所初期化", 120, 3360, 1695, 330);
    ui_.similarShape = addButton(client_, "Command6", "相似形表示", 1920, 3360, 1575, 330);
    QGroupBox* mode = addFrame(client_, "Frame5", "変更モード", 3600, 3360, 3735, 615);
    addOption(mode, "Option3_0", "非流体", 120, 270, 840);
    ui_.fluid = addOption(mode, "Option3_1", "流体", 1080, 270, 900);
    ui_.invert = addOption(mode, "Option3_2", "反転", 2040, 270, 900);
    ui_.invert->setChecked(true);
    ui_.editMap = addButton(client_, "Command3", "流体有無指定", 120, 3720, 1695, 330);
    ui_.rangeToggle = addButton(client_, "Command5", "範囲指定", 1920, 3720, 1575, 330);

    pictureArea_ = new QScrollArea(client_);
    pictureArea_->setObjectName("Picture1Area");
    pictureArea_->setFrameShape(QFrame::NoFrame);
    pictureArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pictureArea_->setBackgroundRole(QPalette::Dark);
    PlaceTwips(pictureArea_, 120, 4080, kPictureWidth, kPictureHeight);
    pictureBox_ = new PictureBox(picture_);
    pictureBox_->setMarker([this] { return monitorMarker(); });
    auto* legend = new ColourLegendBar(client_);
    PlaceTwips(legend, 120, 7830, kPictureWidth, 315);
    connect(pictureBox_, &PictureBox::shown, legend,
            [this, legend] { legend->setLegend(picture_.legend()); });
    pictureArea_->setWidget(pictureBox_);
    // A picture taller than the area scrolls; the area then widens by the
    // scroll bar (into the gap beside it) so that no column is hidden.
    connect(pictureBox_, &PictureBox::pictureResized, this, [this](QSize size) {
        const int width = TwipsToPixels(kPictureWidth);
        const int height = TwipsToPixels(kPictureHeight);
        const int bar =
            size.height() > height ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
        pictureArea_->resize(width + bar, height);
    });
}

void MainWindow::buildRunControls() {
    ui_.run = addButton(client_, "Command1", "計算実行", 7440, 240, 1000);
    ui_.stop = addButton(client_, "Command7", "停止", 8520, 240, 1000);
    ui_.resultText = addButton(client_, "Command8", "結果のテキスト表示", 9600, 240, 2100);
    ui_.status = new QLabel(client_);
    ui_.status->setObjectName("Label13");
    PlaceTwips(ui_.status, 7440, 720, 4215, 255);
    ui_.savePicture = addButton(client_, "Command10", "表示画像保存", 7440, 1080, 1695);
    auto* warnings = new QLabel(statusBar_);
    statusBar_->addWidget(warnings,
                          1); // the probe's line covers it while the pointer is over the plot
    stability_.build(client_, 9240, 1050, 2460, warnings);
}

void MainWindow::buildInstructions() {
    QGroupBox* frame = addFrame(client_, "Frame7", "操作説明", 7560, 1560, 4215, 6495);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85); // the longest line must fit the frame
    for (int k = 0; k < 20; ++k) {
        auto* line = new QLabel(kInstructions[k], frame);
        line->setObjectName(QString("Label12_%1").arg(k));
        line->setFont(small);
        PlaceTwips(line, 240, kInstructionTops[k], 3915, 240);
    }
}

template <typename Signal, typename Sender, typename Work>
void MainWindow::onEvent(Sender* sender, Signal signal, const char* operation, Needs needs,
                         Work work) {
    connect(sender, signal, this, [this, operation, needs, work](auto... args) {
        RunGuarded(host_, operation, [&] {
            if (needs != Needs::Nothing && !parametersInUse(needs)) return;
            work(args...);
        });
        refreshProbe(); // what is under the pointer may have changed with the picture
    });
}

template <typename Work> auto MainWindow::asMapEdit(const char* name, Work work) {
    return [this, name, work](auto... args) {
        const Array2<Integer> before = m_.cellKind;
        try {
            work(args...);
        } catch (...) {
            recordMapEdit(before, name); // what it changed before failing stays changed
            throw;
        }
        recordMapEdit(before, name);
    };
}

bool MainWindow::parametersInUse(Needs needs) {
    std::vector<const QLineEdit*> among;
    if (needs == Needs::Mesh)
        for (const Parameter& p : Parameters())
            if (p.meshCommandsRead && p.field) among.push_back(field(p.field));
    const auto problem = fields_.notInUseProblem(among);
    if (problem) host_.message(*problem, Buttons::Ok);
    return !problem;
}

void MainWindow::connectHandlers() {
    connectFields();
    connectCommands();
    connectPicture();
}

void MainWindow::connectFields() {
    for (const Parameter& p : Parameters())
        if (p.field) fields_.add(field(p.field), p);
    // After the fields' own handlers, so the numbers see the values in use.
    for (const Parameter& p : Parameters())
        if (p.field && p.stabilityReads)
            connect(field(p.field), &QLineEdit::textChanged, this, [this] { stability_.show(m_); });
}

void MainWindow::connectCommands() {
    const auto clicked = &QAbstractButton::clicked;
    const Needs none = Needs::Nothing;
    const Needs parameters = Needs::Parameters;
    const Needs mesh = Needs::Mesh;
    onEvent(ui_.equalSpacing, clicked, "等間隔", none, [this](bool) { option1Click(); });
    onEvent(ui_.givenCoordinates, clicked, "指定", none, [this](bool) { option1Click(); });
    const auto showResult = [this](bool) {
        vorticityAction_->setChecked(false); // one of the window's own two options again
        showResultNow();
    };
    onEvent(ui_.pressure, clicked, "計算結果表示", none, showResult);
    onEvent(ui_.speed, clicked, "計算結果表示", none, showResult);

    onEvent(ui_.run, clicked, "計算実行", parameters, [this](bool) { command1Click(); });
    onEvent(ui_.stop, clicked, "停止", none, [this](bool) { RequestStop(m_); });
    onEvent(ui_.coordinates, clicked, "座標値指定", none, [this](bool) { command2Click(); });
    // The map editing commands draw the map, and may make it anew.
    onEvent(ui_.editMap, clicked, "流体有無指定", mesh, asMapEdit("流体有無指定", [this](bool) {
                showing_ = Showing::CellMap;
                StartCellEditing(m_, host_, picture_);
            }));
    onEvent(ui_.initialiseMap, clicked, "流体箇所初期化", mesh,
            asMapEdit("流体箇所初期化", [this](bool) {
                showing_ = Showing::CellMap;
                ResetCellMap(m_, host_, picture_);
            }));
    onEvent(ui_.rangeToggle, clicked, "範囲指定", mesh, asMapEdit("範囲指定", [this](bool) {
                showing_ = Showing::CellMap;
                ToggleRangeSelection(m_, host_, picture_);
            }));
    onEvent(ui_.similarShape, clicked, "相似形表示", mesh, [this](bool) {
        showing_ = Showing::Other;
        DrawMeshShape(m_, host_, picture_);
    });
    onEvent(ui_.resultText, clicked, "結果テキスト生成", none, [this](bool) { command8Click(); });
    onEvent(ui_.redisplay, clicked, "計算結果表示", none, showResult);
    onEvent(ui_.savePicture, clicked, "表示画像保存", none,
            [this](bool) { SavePicture(host_, picture_, saveDialog_); });
}

// A press edits the map, or places the monitor after 観測点を置く; a move
// draws a range and updates the probe line.
void MainWindow::connectPicture() {
    const Needs none = Needs::Nothing;
    onEvent(pictureBox_, &PictureBox::mouseDown, "流体有無指定", none,
            [this, edit = asMapEdit("流体有無指定", [this](int b, float x, float y) {
                       PressOnPicture(m_, host_, picture_, b, x, y);
                   })](int b, float x, float y) {
                if (placingMonitor_)
                    placeMonitor(x, y);
                else
                    edit(b, x, y);
            });
    onEvent(pictureBox_, &PictureBox::mouseMove, "範囲指定", none, [this](float x, float y) {
        MoveOnPicture(m_, picture_, x, y);
        showProbe(x, y);
    });
    connect(pictureBox_, &PictureBox::pointerLeft, this, [this] { refreshProbe(); });
}

void MainWindow::setFieldTexts(const SimulationState& s, double displayInterval, int lineWidth) {
    std::vector<std::pair<const char*, std::string>> texts = {
        {"Text8", ShortestNumber(displayInterval)}, {"Text10", std::to_string(lineWidth)}};
    for (const Parameter& p : Parameters())
        if (p.field) texts.emplace_back(p.field, TextOf(p, s));
    // Each text goes through its field's change handler into the state.
    for (const auto& [name, text] : texts)
        field(name)->setText(QString::fromStdString(text));
}

void MainWindow::formLoad() {
    SimulationState defaults;
    ApplyDefaults(defaults);
    setFieldTexts(defaults, kDisplayDefaults.displayInterval, kDisplayDefaults.lineWidth);
    m_.meshMode = kTrue;
    ui_.coordinates->setEnabled(false);
    stability_.show(m_);
}

void MainWindow::option1Click() {
    const bool equal = ui_.equalSpacing->isChecked();
    m_.meshMode = equal ? kTrue : kFalse;
    ui_.coordinates->setEnabled(!equal);
    field("Text6")->setEnabled(equal);
    field("Text7")->setEnabled(equal);
    stability_.show(m_);
}

void MainWindow::command1Click() {
    // A run started from inside a run would re-initialise the fields under
    // the running loop, so the button is off while a run goes on.
    if (running_) return;
    framesMayStart();
    QPushButton* run = ui_.run;
    // Whatever ends the run, the window leaves the running state with it.
    struct Running {
        MainWindow& w;
        QPushButton* run;
        Running(MainWindow& w, QPushButton* run) : w(w), run(run) {
            w.running_ = true;
            w.fields_.setRunning(true);
            run->setEnabled(false);
            w.updateEditActions();
        }
        ~Running() {
            run->setEnabled(true);
            w.fields_.setRunning(false);
            w.running_ = false;
            w.updateEditActions();
        }
    } running(*this, run);
    frames_.startRun();
    // Each display of the run that is drawn shows the field (see
    // runDisplayed); a run that diverged shows its last finite field.
    showing_ = Showing::Other;
    if (StartRun(m_, host_, picture_, saveDialog_) == RunEnd::Diverged) showing_ = Showing::Result;
    stability_.show(m_); // the warnings of the run as it ended
}

void MainWindow::command2Click() {
    if (!coordinateEditor_) coordinateEditor_ = new CoordinateEditor(m_);
    coordinateEditor_->show();
    coordinateEditor_->raise();
    coordinateEditor_->activateWindow();
}

void MainWindow::command8Click() {
    ShowResultText(m_, host_, [this]() -> ResultViewer& {
        if (!textViewer_ || textViewer_->closed()) textViewer_ = new TextViewer(m_);
        return *textViewer_;
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool close = false; // a failure while asking keeps the work and the window
    RunGuarded(host_, "終了", [&] { close = askToSaveChanges(); });
    if (!close) {
        event->ignore();
        return;
    }
    // Closing the main window ends the program, a run in progress included:
    // the run stops at its next step and the event loop then quits.
    m_.stopRequested = kTrue;
    if (coordinateEditor_) coordinateEditor_->closeWithoutAsking();
    if (textViewer_) textViewer_->close();
    if (historyWindow_) historyWindow_->close();
    if (forceWindow_) forceWindow_->close();
    if (monitorWindow_) monitorWindow_->close();
    event->accept();
    QApplication::quit();
}

} // namespace kestrel
