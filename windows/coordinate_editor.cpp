#include "coordinate_editor.h"

#include "app/handler_guard.h"
#include "runtime/failure.h"
#include "runtime/lenient_number.h"
#include "runtime/user_text.h"
#include "windows/twips.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kestrel {

CoordinateEditor::CoordinateEditor(SimulationState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_(state) {
    setObjectName("frmXYPlace");
    setWindowTitle("XY座標の設定");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPixels(6600), TwipsToPixels(5400));
    buildGroup(0, "Ｘ座標", 120);
    buildGroup(1, "Ｙ座標", 3360);
    load();
}

void CoordinateEditor::buildGroup(int index, const char* caption, int left) {
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(QString("Frame1_%1").arg(index));
    PlaceTwips(frame, left, 120, 3120, 5160);
    Group& g = groups_[index];
    g.view = new QListWidget(frame);
    g.view->setObjectName(QString("List1_%1").arg(index));
    g.view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    g.view->setAccessibleName(caption);
    PlaceTwips(g.view, 120, 300, 1800, 4700);
    g.valueField = new QLineEdit(frame);
    g.valueField->setObjectName(QString("Text1_%1").arg(index));
    g.valueField->setAccessibleName(QString(caption) + " 挿入する値");
    PlaceTwips(g.valueField, 2040, 300, 960, 300);

    const std::pair<const char*, void (CoordinateEditor::*)(int)> buttons[] = {
        {"削除", &CoordinateEditor::deleteClick},
        {"挿入", &CoordinateEditor::insertClick},
        {"等間隔生成", &CoordinateEditor::generateClick},
        {"全クリア", &CoordinateEditor::clearClick},
    };
    int top = 720;
    int number = 1;
    for (const auto& [text, handler] : buttons) {
        auto* button = new QPushButton(text, frame);
        button->setObjectName(QString("Command%1_%2").arg(number++).arg(index));
        PlaceTwips(button, 2040, top, 960, 375);
        connect(button, &QPushButton::clicked, this, [this, index, handler = handler, text] {
            RunGuarded(host_, text, [&] {
                readSelection(index);
                (this->*handler)(index);
            });
        });
        top += 480;
    }
}

void CoordinateEditor::load() {
    groups_[0].valueField->clear();
    groups_[1].valueField->clear();
    groups_[0].list = LoadCoordinateList(m_.coordListX, m_.nx + 1);
    groups_[1].list = LoadCoordinateList(m_.coordListY, m_.ny + 1);
    showList(0);
    showList(1);
}

void CoordinateEditor::showList(int index) {
    Group& g = groups_[index];
    g.view->clear();
    for (int k = 0; k < g.list.count(); ++k)
        g.view->addItem(
            QString::fromStdString(EntryLabel(k + 1, g.list.values[static_cast<std::size_t>(k)])));
    g.view->setCurrentRow(g.list.selected);
}

// Only an entry the user selected counts: the current row alone (set by
// keyboard focus) is no selection.
void CoordinateEditor::readSelection(int index) {
    const QList<QListWidgetItem*> selected = groups_[index].view->selectedItems();
    groups_[index].list.selected = selected.isEmpty() ? -1 : groups_[index].view->row(selected[0]);
}

void CoordinateEditor::deleteClick(int index) {
    DeleteSelected(groups_[index].list);
    showList(index);
}

void CoordinateEditor::insertClick(int index) {
    Group& g = groups_[index];
    const std::string text = g.valueField->text().toStdString();
    const LenientValue v = ReadLeadingNumber(text);
    if (v.overflow) {
        host_.message("「" + QuotedExcerpt(text) + "」は扱える範囲を超えているため挿入できません。",
                      Buttons::Ok);
        return;
    }
    if (!InsertValue(g.list, v.value)) host_.message("挿入できません", Buttons::Ok);
    showList(index);
}

void CoordinateEditor::generateClick(int index) {
    GenerateEqualSpacing(groups_[index].list, index == 0 ? m_.meshSizeX : m_.meshSizeY);
    showList(index);
}

void CoordinateEditor::clearClick(int index) {
    ClearAll(groups_[index].list);
    showList(index);
}

void CoordinateEditor::store() {
    for (const auto& [axis, count] : {std::pair{"X", m_.nx}, std::pair{"Y", m_.ny}})
        if (count + 1 < 0)
            throw Failure(ErrorNumber::SubscriptOutOfRange,
                          std::string("メッシュ数 ") + axis + " が " + std::to_string(count) +
                              " のため、座標値を格納できません。");
    StoreCoordinateList(groups_[0].list, m_.coordListX, m_.nx + 1);
    StoreCoordinateList(groups_[1].list, m_.coordListY, m_.ny + 1);
}

void CoordinateEditor::closeWithoutAsking() {
    asking_ = false;
    close();
}

void CoordinateEditor::closeEvent(QCloseEvent* event) {
    if (!asking_) {
        event->accept();
        return;
    }
    switch (host_.message("XY座標値を入れ替えますか?", Buttons::YesNoCancel)) {
    case Answer::Cancel:
        event->ignore();
        return;
    case Answer::Yes:
        // A list that cannot be stored keeps the window open with its work.
        if (!RunGuarded(host_, "XY座標の設定", [this] { store(); })) {
            event->ignore();
            return;
        }
        break;
    default:
        break;
    }
    event->accept();
}

} // namespace kestrel
