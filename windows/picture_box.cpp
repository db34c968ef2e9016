#include "picture_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace kestrel {

namespace {

int buttonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return code;
}

} // namespace

PictureBox::PictureBox(ImageSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setObjectName("Picture1");
    setAccessibleName("描画領域");
    setMouseTracking(true);
    // A click on the map takes the keys from the fields, so Ctrl+Z undoes map edits.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_.setListener({[this] { update(); }, [this] { repaint(); }, [this] { followSize(); }});
    followSize();
}

QSize PictureBox::sizeHint() const {
    return surface_.size();
}

void PictureBox::followSize() {
    setFixedSize(surface_.size());
    update();
    emit pictureResized(size());
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    surface_.paint(painter, event->rect());
    if (const auto marker = marker_ ? marker_() : std::nullopt) {
        painter.setPen(QPen(QColor(255, 0, 255), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(marker->adjusted(-2, -2, 2, 2));
        painter.drawLine(marker->center() - QPointF(4, 0), marker->center() + QPointF(4, 0));
        painter.drawLine(marker->center() - QPointF(0, 4), marker->center() + QPointF(0, 4));
    }
    surface_.shown();
    emit shown();
}

std::optional<QPointF> PictureBox::pointerInUserUnits() const {
    if (!pointer_) return std::nullopt;
    return surface_.toUser(*pointer_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    pointer_ = event->position();
    const QPointF user = surface_.toUser(event->position());
    emit mouseDown(buttonCode(event->button()), static_cast<float>(user.x()),
                   static_cast<float>(user.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    pointer_ = event->position();
    const QPointF user = surface_.toUser(event->position());
    emit mouseMove(static_cast<float>(user.x()), static_cast<float>(user.y()));
}

void PictureBox::leaveEvent(QEvent* event) {
    pointer_.reset();
    emit pointerLeft();
    QWidget::leaveEvent(event);
}

} // namespace kestrel
