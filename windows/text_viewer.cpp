#include "text_viewer.h"

#include "app/handler_guard.h"
#include "runtime/file_writing.h"
#include "runtime/user_text.h"
#include "windows/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace kestrel {

namespace {

const std::string kTextFilter = "テキスト(*.txt)|*.txt|すべてのファイル(*)|*";

QLabel* addLabel(QWidget* parent, const char* name, const char* text, int left, int top,
                 int width = 2895) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    PlaceTwips(label, left, top, width, 255);
    return label;
}

} // namespace

TextViewer::TextViewer(const SimulationState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_(state) {
    setObjectName("frmText");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(TwipsToPixels(9285), TwipsToPixels(4815));

    text_ = new QPlainTextEdit(this);
    text_->setObjectName("Text1");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(9);
    text_->setFont(mono);
    text_->setAccessibleName("実行結果の表");
    PlaceTwips(text_, 0, 0, 6015, 4575);

    auto* redisplayButton = new QPushButton("再表示", this);
    redisplayButton->setObjectName("Command1");
    PlaceTwips(redisplayButton, 6120, 120, 975, 375);
    connect(redisplayButton, &QPushButton::clicked, this,
            [this] { RunGuarded(host_, "再表示", [this] { redisplay(); }); });

    auto* saveButton = new QPushButton("表全体を保存...", this);
    saveButton->setObjectName("SaveTable");
    PlaceTwips(saveButton, 7200, 120, 1935, 375);
    connect(saveButton, &QPushButton::clicked, this,
            [this] { RunGuarded(host_, "表全体を保存", [this] { saveClick(); }); });

    progress_ = addLabel(this, "Label5", "", 6120, 600);

    auto* frame = new QGroupBox("表示範囲", this);
    frame->setObjectName("Frame1");
    PlaceTwips(frame, 6120, 1080, 3015, 1215);
    addLabel(frame, "Label1", "X", 240, 360, 240);
    range_[0] = addRangeField(frame, "Text2", 480, 360);
    addLabel(frame, "Label2", "～", 1200, 360, 240);
    range_[1] = addRangeField(frame, "Text3", 1440, 360);
    addLabel(frame, "Label3", "Ｙ", 240, 720, 240);
    range_[2] = addRangeField(frame, "Text4", 480, 720);
    addLabel(frame, "Label4", "～", 1200, 720, 240);
    range_[3] = addRangeField(frame, "Text5", 1440, 720);

    addLabel(this, "Label6", "表示文字数は65,532までです。", 6120, 2400);
    addLabel(this, "Label7", "表示が途切れている場合は，", 6120, 2760);
    addLabel(this, "Label8", "表示範囲を指定して", 6120, 3000);
    addLabel(this, "Label9", "再表示範囲を指定して下さい。", 6120, 3240);
}

QLineEdit* TextViewer::addRangeField(QWidget* frame, const char* name, int left, int top) {
    auto* field = new QLineEdit(frame);
    field->setObjectName(name);
    PlaceTwips(field, left, top, 615, 270);
    return field;
}

void TextViewer::setRangeFields(const std::string& firstX, const std::string& lastX,
                                const std::string& firstY, const std::string& lastY) {
    const std::string* texts[4] = {&firstX, &lastX, &firstY, &lastY};
    for (int k = 0; k < 4; ++k)
        range_[k]->setText(QString::fromStdString(*texts[k]));
}

void TextViewer::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void TextViewer::setTable(const std::string& text) {
    table_ = text;
    // The area shows the first 65,532 characters; the table is all ASCII.
    text_->setPlainText(QString::fromStdString(text.substr(0, kViewerCharacterLimit)));
}

void TextViewer::showViewer() {
    QWidget::show();
    raise();
    activateWindow();
}

// The whole table of the field as it is now, whatever range the area shows.
void TextViewer::saveClick() {
    const auto range = WholeTableRange(m_);
    if (!range) {
        host_.message(NoResultMessage("表全体を保存"), Buttons::Ok);
        return;
    }
    const auto chosen = host_.askSaveFileName(kTextFilter, lastSaveName_);
    if (!chosen || chosen->empty()) return;
    lastSaveName_ = *chosen;
    const std::string table = BuildResultTable(m_, *range);
    if (const auto error = WriteWholeFile(*chosen, table))
        host_.message("ファイルに書き込めませんでした: " + QuotedExcerpt(*chosen) + " (" +
                          error->japanese() + ")",
                      Buttons::Ok);
}

void TextViewer::redisplay() {
    const auto range =
        RedisplayRange(m_, range_[0]->text().toStdString(), range_[1]->text().toStdString(),
                       range_[2]->text().toStdString(), range_[3]->text().toStdString());
    if (!range) {
        host_.message(NoResultMessage("再表示"), Buttons::Ok);
        return;
    }
    host_.setBusy(true);
    progress_->setText(QString::fromStdString(kProgressCaption));
    try {
        // A run started while the rows are built may re-dimension the fields:
        // the next row then fails and the partial text is dropped.
        const std::string text = BuildResultTable(m_, *range, [this](int j) {
            progress_->setText(QString::fromStdString(ProgressCaption(j, m_.ny)));
            progress_->repaint();
            host_.processEvents();
        });
        setTable(text);
    } catch (...) {
        progress_->clear();
        host_.setBusy(false);
        throw;
    }
    progress_->clear();
    host_.setBusy(false);
}

void TextViewer::closeEvent(QCloseEvent* event) {
    closed_ = true;
    QWidget::closeEvent(event);
}

void TextViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // 700 twips of the frame's height are not the table's: the title bar and
    // borders, and the 240-twip margin below the table at the first size
    // (a 4815-twip client area, a 4575-twip table).
    const int heightTwips = frameGeometry().height() * kTwipsPerPixel - 700;
    if (heightTwips >= 200) text_->setFixedHeight(TwipsToPixels(heightTwips));
}

} // namespace kestrel
