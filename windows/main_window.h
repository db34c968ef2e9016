#pragma once
// The main window: parameter fields, mesh options, the cell-map and run
// buttons, the drawing area and the operating instructions.
#include "app/simulation_state.h"
#include "canvas/image_surface.h"
#include "main_window_host.h"
#include "parameter_fields.h"
#include "plot/image_saving.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QScrollArea;

namespace kestrel {

class CoordinateEditor;
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

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildAnalysisFrame();
    void buildDisplayFrame();
    void buildMeshFrame();
    void buildCellControls();
    void buildRunControls();
    void buildInstructions();
    void connectHandlers();
    void formLoad();

    void option1Click();
    void command1Click();
    void command2Click();
    void command8Click();

    // Connects a control's signal to work that runs guarded under the
    // operation's name; with parameters, only while every field is in use.
    enum class Needs { Nothing, Parameters };
    template <typename Signal, typename Sender, typename Work>
    void onEvent(Sender* sender, Signal signal, const char* operation, Needs needs, Work work);
    bool parametersInUse();

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
    ImageSurface picture_;
    MainWindowHost host_;
    SaveDialogState saveDialog_;
    ParameterFields fields_;
    bool running_ = false;
    QScrollArea* pictureArea_ = nullptr;
    PictureBox* pictureBox_ = nullptr;
    QPointer<CoordinateEditor> coordinateEditor_;
    QPointer<TextViewer> textViewer_;
};

} // namespace kestrel
