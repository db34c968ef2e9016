#include "cell_map.h"

#include "app/handler_guard.h"
#include "runtime/failure.h"

namespace kestrel {

namespace {

const std::string kInitQuestion = "流体箇所データが初期化されます。よろしいですか？";

std::string describe(int error) {
    return StandardDescription(static_cast<ErrorNumber>(error));
}

} // namespace

void InitCellMap(SimulationState& m) {
    if (static_cast<long long>(m.nx + 2) * (m.ny + 2) > kMaxMeshCells) ThrowOutOfMemory();
    m.cellKind.redim(AddInteger(m.nx, 1), AddInteger(m.ny, 1));
    for (int i = 1; i <= m.nx; ++i)
        for (int j = 1; j <= m.ny; ++j)
            m.cellKind(i, j) = 1;
}

void DrawOutlinedBox(Surface& picture, float x1, float y1, float x2, float y2, Rgb fill) {
    picture.fillBox(x1, y1, x2, y2, fill);
    picture.drawBox(x1, y1, x2, y2, kOutlineColour);
}

void DrawCell(const SimulationState& m, Surface& picture, int i, int j) {
    const Rgb colour = CellColour(m.cellKind.at(i, j));
    DrawOutlinedBox(picture, static_cast<float>(i - 1), static_cast<float>(j - 1),
                    static_cast<float>(i), static_cast<float>(j), colour);
}

int DrawCellMap(SimulationState& m, Surface& picture) {
    try {
        if (m.nx == 0) ThrowDivisionByZero();
        picture.setHeightTwips(static_cast<float>(m.ny * picture.widthTwips() / m.nx));
        SetPictureScale(picture, 0, 0, m.nx, m.ny);
        picture.clear();
        for (int i = 1; i <= m.nx; ++i)
            for (int j = 1; j <= m.ny; ++j)
                DrawCell(m, picture, i, j);
        return 0;
    } catch (const Failure& f) {
        return f.number();
    }
}

int ShowCellMap(SimulationState& m, Host& host, Surface& picture) {
    int e = DrawCellMap(m, picture);
    if (e == 0) return 0;
    if (host.message(kInitQuestion, Buttons::YesNo) == Answer::Yes) {
        try {
            InitCellMap(m);
            e = DrawCellMap(m, picture);
        } catch (const Failure& f) {
            e = f.number(); // a mesh count the map cannot be made for
        }
        if (e != 0) host.message(FailureMessage(describe(e), "流体箇所表示"), Buttons::Ok);
        return e;
    }
    host.message("初期化が必要な理由：" + FailureMessage(describe(e), "流体箇所表示"), Buttons::Ok);
    return e;
}

Integer NewCellKind(Host& host, Integer v) {
    switch (host.changeMode()) {
    case ChangeMode::Invert:
        return static_cast<Integer>(1 - v);
    case ChangeMode::Fluid:
        return 1;
    default:
        return 0;
    }
}

void StartCellEditing(SimulationState& m, Host& host, Surface& picture) {
    if (ShowCellMap(m, host, picture) != 0) return;
    m.pickState = host.rangeSelection() ? PickState::RangeStart : PickState::Cell;
}

void ToggleRangeSelection(SimulationState& m, Host& host, Surface& picture) {
    if (ShowCellMap(m, host, picture) != 0) return;
    const bool range = !host.rangeSelection();
    m.pickState = range ? PickState::RangeStart : PickState::Cell;
    host.setRangeSelection(range);
}

void ResetCellMap(SimulationState& m, Host& host, Surface& picture) {
    if (host.message(kInitQuestion, Buttons::YesNo) == Answer::No) return;
    int e = 0;
    try {
        InitCellMap(m);
        e = DrawCellMap(m, picture);
    } catch (const Failure& f) {
        e = f.number();
    }
    if (e != 0) host.message(FailureMessage(describe(e), "流体箇所初期化"), Buttons::Ok);
}

} // namespace kestrel
