#pragma once
// "XY座標の設定": the X and Y node coordinate lists of a non-uniform mesh,
// stored into the state when the user closes the window and says Yes.
#include "app/simulation_state.h"
#include "geometry/coordinate_lists.h"
#include "windows/qt_dialogs.h"

#include <QWidget>

class QListWidget;
class QLineEdit;

namespace kestrel {

class CoordinateEditor : public QWidget {
    Q_OBJECT
  public:
    explicit CoordinateEditor(SimulationState& state, QWidget* parent = nullptr);

    // Closes with the main window, leaving the stored lists as they are.
    void closeWithoutAsking();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Group {
        CoordinateList list;
        QListWidget* view = nullptr;
        QLineEdit* valueField = nullptr;
    };
    void buildGroup(int index, const char* caption, int left);
    void load();
    void showList(int index);
    void readSelection(int index);
    void store();

    void deleteClick(int index);
    void insertClick(int index);
    void generateClick(int index);
    void clearClick(int index);

    SimulationState& m_;
    QtDialogs host_{this}; // the editor's questions open over the editor
    Group groups_[2];
    bool asking_ = true;
};

} // namespace kestrel
