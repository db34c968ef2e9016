#include "pointer_selection.h"

#include "cell_map.h"
#include "runtime/failure.h"

#include <cmath>

namespace kestrel {

namespace {

void drawRubberBand(const SimulationState& m, Surface& picture) {
    const DrawMode saved = picture.drawMode();
    picture.setDrawMode(DrawMode::XorPen);
    picture.drawBox(m.rangeStartI, m.rangeStartJ, m.rangeEndI, m.rangeEndJ, kRubberBandColour);
    picture.setDrawMode(saved);
}

void changeCell(SimulationState& m, Host& host, Surface& picture, int i, int j) {
    Integer& cell = m.cellKind.at(i, j);
    cell = NewCellKind(host, cell);
    DrawCell(m, picture, i, j);
}

} // namespace

Integer CellIndexAt(double position) {
    return ToInteger(std::floor(position + 0.99999));
}

void PressOnPicture(SimulationState& m, Host& host, Surface& picture, int button, float x,
                    float y) {
    if (button != 1) return;
    try {
        switch (m.pickState) {
        case PickState::Cell:
            changeCell(m, host, picture, CellIndexAt(x), CellIndexAt(y));
            break;
        case PickState::RangeStart: {
            const Integer i = CellIndexAt(x);
            const Integer j = CellIndexAt(y);
            m.rangeStartI = AddInteger(i, -1);
            m.rangeStartJ = AddInteger(j, -1);
            m.rangeEndI = i;
            m.rangeEndJ = j;
            drawRubberBand(m, picture);
            m.pickState = PickState::RangeEnd;
            break;
        }
        case PickState::RangeEnd: {
            drawRubberBand(m, picture);
            const Integer i = CellIndexAt(x);
            const Integer j = CellIndexAt(y);
            for (int c = m.rangeStartI + 1; c <= i; ++c)
                for (int r = m.rangeStartJ + 1; r <= j; ++r)
                    changeCell(m, host, picture, c, r);
            m.pickState = PickState::RangeStart;
            break;
        }
        case PickState::Off:
            break;
        }
    } catch (const Failure&) {
        // Clicks outside the map end quietly; what was changed stays.
    }
}

void MoveOnPicture(SimulationState& m, Surface& picture, float x, float y) {
    if (m.pickState != PickState::RangeEnd) return;
    try {
        const Integer endI = CellIndexAt(x);
        const Integer endJ = CellIndexAt(y);
        drawRubberBand(m, picture);
        m.rangeEndI = endI;
        m.rangeEndJ = endJ;
        drawRubberBand(m, picture);
    } catch (const Failure&) {
        // A position too far off for an Integer index leaves the band where it is.
    }
}

} // namespace kestrel
