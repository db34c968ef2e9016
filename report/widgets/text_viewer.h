#pragma once
// "実行結果": the result table in a fixed-width font, a redisplay of a chosen
// range, and saving the whole table to a text file.
#include "app/host.h"
#include "app/module1.h"
#include "report/result_text.h"

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
    TextViewer(const Module1& state, Host& host, QWidget* parent = nullptr);

    void setRangeFields(const std::string& firstX, const std::string& lastX,
                        const std::string& firstY, const std::string& lastY) override;
    void setCaption(const std::string& caption) override;
    void setTable(const std::string& text) override;
    void showViewer() override;

    const std::string& table() const { return table_; }
    // Writes the whole table, never cut; false when the file could not be written.
    bool saveTable(const std::string& path) const;

    void redisplay();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QLineEdit* addRangeField(QWidget* frame, const char* name, int left, int top);
    void saveClick();

    const Module1& m_;
    Host& host_;
    std::string table_;
    std::string lastSaveName_;
    QPlainTextEdit* text_ = nullptr;
    QLabel* progress_ = nullptr;
    QLineEdit* range_[4] = {};
};

} // namespace kestrel
