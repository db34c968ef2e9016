#pragma once
// "実行結果": the result table in a fixed-width font, a redisplay of a chosen
// range, and saving the whole table to a text file.
#include "app/simulation_state.h"
#include "report/result_text.h"
#include "windows/qt_dialogs.h"

#include <QWidget>

class QPlainTextEdit;
class QLabel;
class QLineEdit;

namespace kestrel {

// The text area shows at most this many characters of a table.
constexpr int kViewerCharacterLimit = 65532;

class TextViewer : public QWidget, public ResultViewer {
    Q_OBJECT
  public:
    explicit TextViewer(const SimulationState& state, QWidget* parent = nullptr);

    void setRangeFields(const std::string& firstX, const std::string& lastX,
                        const std::string& firstY, const std::string& lastY) override;
    void setCaption(const std::string& caption) override;
    void setTable(const std::string& text) override;
    void showViewer() override;

    // The table as last handed over, before the text area cuts it.
    const std::string& table() const { return table_; }

    void redisplay();
    // Closed by the user: it goes away, and the next table needs a new viewer.
    bool closed() const { return closed_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QLineEdit* addRangeField(QWidget* frame, const char* name, int left, int top);
    void saveClick();

    const SimulationState& m_;
    QtDialogs host_{this}; // the viewer's messages open over the viewer
    std::string table_;
    std::string lastSaveName_;
    QPlainTextEdit* text_ = nullptr;
    QLabel* progress_ = nullptr;
    QLineEdit* range_[4] = {};
    bool closed_ = false;
};

} // namespace kestrel
