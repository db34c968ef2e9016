#pragma once
// The main window: parameter fields, mesh options, the cell-map and run
// buttons, the drawing area and the operating instructions below a menu bar
// for case files, undo of obstacle edits and help.
#include "app/simulation_state.h"
#include "canvas/frame_recorder.h"
#include "canvas/image_surface.h"
#include "cases/case_file.h"
#include "edit_history.h"
#include "main_window_host.h"
#include "parameter_fields.h"
#include "plot/image_saving.h"
#include "recent_cases.h"
#include "stability_labels.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <string>

class QAction;
class QLineEdit;
class QMenu;
class QStatusBar;
class QLabel;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QScrollArea;

namespace kestrel {

class CoordinateEditor;
class ChartWindow;
class MethodMenu;
class TextViewer;
class PictureBox;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(SimulationState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    ImageSurface& picture() { return picture_; }
    Host& host() { return host_; }
    bool running() const { return running_; }

    // Opens a case file: every field and option, the coordinate lists and the
    // map, drawn. A file that cannot be opened changes nothing; a message
    // says why. False then.
    bool openCaseFile(const std::string& path);
    // The case file last opened or saved; empty before either.
    const std::string& casePath() const { return casePath_; }
    EditHistory& edits() { return edits_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildAnalysisFrame();
    void buildDisplayFrame();
    void buildMeshFrame();
    void buildCellControls();
    void buildRunControls();
    void buildInstructions();
    void connectHandlers();
    void connectFields();   // the parameter fields and the numbers they change
    void connectCommands(); // the buttons and options
    void connectPicture();  // pointer events on the drawing area
    void formLoad();
    void setFieldTexts(const SimulationState& s, double displayInterval, int lineWidth);

    void option1Click();
    void command1Click();
    void command2Click();
    void command8Click();

    // Case files (main_window_cases.cpp).
    bool caseMayChange();
    bool readyToReplaceCase();
    void openCaseFromDialog();
    void openRecentCase(const QString& path);
    // The case's own file once it has one (Ctrl+S), or a name asked for.
    enum class SaveTarget { CurrentFile, AskForName };
    bool saveCase(SaveTarget target);
    bool askToSaveChanges();
    CaseFile currentCase();
    void applyCase(const CaseFile& c);
    std::string editedContent();
    void setCasePath(const std::string& path);

    // The menu bar and undo (main_window_menus.cpp).
    void buildMenus();
    void fillRecentMenu();
    void showAbout();
    // Records what work changed in the cell map as one undo step.
    template <typename Work> auto asMapEdit(const char* name, Work work);
    void recordMapEdit(const Array2<Integer>& before, const char* name);
    void showUndoneMap();
    void updateEditActions();

    // What the window shows and exports of a run (main_window_results.cpp).
    void runDisplayed();
    void showProbe(float x, float y);
    void refreshProbe();
    enum class Export { Csv, Vtk };
    void exportField(Export format);
    // The chart window kept in window, made by make when there is none.
    // The result plot by the colour map chosen now.
    void showResultNow();
    // 観測点を置く: the next click on a result plot or the cell map chooses the cell.
    void startPlacingMonitor();
    void placeMonitor(float x, float y);
    // The monitor cell's rectangle in pixels, where the picture shows cells.
    std::optional<QRectF> monitorMarker() const;
    void showChart(QPointer<ChartWindow>& window, ChartWindow* (*make)(const SimulationState&));
    void recordFrames(bool on);
    void framesMayStart();

    // Connects a control's signal to work that runs guarded under the
    // operation's name; with parameters, only while every field is in use.
    // The fields a command reads, which must show the values in use: none,
    // the mesh's (counts and sizes), or all.
    enum class Needs { Nothing, Mesh, Parameters };
    template <typename Signal, typename Sender, typename Work>
    void onEvent(Sender* sender, Signal signal, const char* operation, Needs needs, Work work);
    bool parametersInUse(Needs needs = Needs::Parameters);
    // The field of that object name ("Text1"); every field is one.
    QLineEdit* field(const std::string& name) const { return ui_.fields.at(name); }

    // The controls the code uses after building them, by what they are; the
    // object names stay the ones the tests and the users' documents know.
    struct Controls {
        std::map<std::string, QLineEdit*> fields; // by object name
        QRadioButton *equalSpacing, *givenCoordinates, *confirmEach, *continuous, *pressure, *speed,
            *fluid, *invert;
        QPushButton *run, *stop, *resultText, *savePicture, *redisplay, *coordinates, *editMap,
            *initialiseMap, *rangeToggle, *similarShape;
        QLabel* status;
    } ui_{};

    QLineEdit* addField(QWidget* parent, const char* name, const char* labelName,
                        const char* caption, int labelLeft, int left, int top, int width,
                        int height = 270, const char* accessibleName = nullptr);
    QPushButton* addButton(QWidget* parent, const char* name, const char* caption, int left,
                           int top, int width, int height = 375);
    QRadioButton* addOption(QWidget* parent, const char* name, const char* caption, int left,
                            int top, int width);
    QGroupBox* addFrame(QWidget* parent, const char* name, const char* caption, int left, int top,
                        int width, int height);

    SimulationState& m_;
    QWidget* client_ = nullptr; // every control, at its place below the menu bar
    ImageSurface picture_;
    MainWindowHost host_;
    SaveDialogState saveDialog_;
    ParameterFields fields_;
    bool running_ = false;
    QScrollArea* pictureArea_ = nullptr;
    PictureBox* pictureBox_ = nullptr;
    QPointer<CoordinateEditor> coordinateEditor_;
    QPointer<TextViewer> textViewer_;

    EditHistory edits_{m_, [this] { showUndoneMap(); }};
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    RecentCases recent_;
    std::string casePath_;
    std::string savedContent_; // editedContent() at the last open or save, or at start

    enum class Showing { Other, CellMap, Result };
    Showing showing_ = Showing::Other; // what the drawing area shows
    QStatusBar* statusBar_ = nullptr;  // the probe's line, and the menus' tips
    StabilityLabels stability_;
    FrameRecorder frames_;
    QAction* framesAction_ = nullptr;
    MethodMenu* methodMenu_ = nullptr;
    QAction* vorticityAction_ = nullptr; // 表示 → 渦度: plots by vorticity while checked
    QPointer<ChartWindow> historyWindow_;
    QPointer<ChartWindow> forceWindow_;
    QPointer<ChartWindow> monitorWindow_;
    bool placingMonitor_ = false; // the next click on the picture places the monitor cell
};

} // namespace kestrel
