#pragma once
// The legend of the colour map on screen, below the drawing area and not in
// its picture: the quantity, its lowest and highest values and the bands
// between them; every band's edges in the tooltip. Empty while the picture
// shows no colour map.
#include "app/surface.h"

#include <QWidget>
#include <optional>

namespace kestrel {

class ColourLegendBar : public QWidget {
  public:
    explicit ColourLegendBar(QWidget* parent = nullptr);
    void setLegend(const std::optional<ColourLegend>& legend);
    const std::optional<ColourLegend>& legend() const { return legend_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<ColourLegend> legend_;
};

} // namespace kestrel
