#pragma once
// Shows the drawing area's picture and reports pointer events in its user
// coordinates. Moves keep coming while a button is held after a press
// inside, also outside the area; between presses they come whenever the
// pointer is over it.
#include "canvas/image_surface.h"

#include <QWidget>
#include <functional>
#include <optional>

namespace kestrel {

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    PictureBox(ImageSurface& surface, QWidget* parent = nullptr);
    QSize sizeHint() const override;

    // Where the pointer is over the area, in the user coordinates the
    // picture has now; nullopt when it is not over the area.
    std::optional<QPointF> pointerInUserUnits() const;

    // A rectangle drawn over the picture in pixels (the monitor cell), asked
    // for at every paint; drawn over the picture, not into it, so saved
    // pictures stay as the plot made them.
    void setMarker(std::function<std::optional<QRectF>()> marker) { marker_ = std::move(marker); }

  signals:
    void mouseDown(int button, float x, float y);
    void mouseMove(float x, float y);
    void pictureResized(QSize size);
    void pointerLeft();
    // The picture was painted as it is now.
    void shown();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void followSize();
    ImageSurface& surface_;
    std::optional<QPointF> pointer_; // in pixels
    std::function<std::optional<QRectF>()> marker_;
};

} // namespace kestrel
