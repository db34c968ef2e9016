#include "boundary_conditions.h"

#include "app/handler_guard.h"
#include "runtime/failure.h"

namespace kestrel {

namespace {

void markFluidNextToSolid(SimulationState& m) {
    const Array2<Integer>& k = m.cellKind;
    Array2<Integer>& a = m.bcMapA;
    for (int j = 1; j <= m.ny; ++j) {
        for (int i = 1; i <= m.nx - 1; ++i)
            if (k.at(i + 1, j) - k.at(i, j) == -1) a(i, j) = 1;
        for (int i = m.nx; i >= 2; --i)
            if (k.at(i, j) - k.at(i - 1, j) == 1) a(i, j) = 1;
    }
    // Row by row, as the map lies in memory: a mark is only ever set, so the
    // order does not change the map, and column by column took seconds on
    // the largest meshes.
    for (int j = 1; j <= m.ny - 1; ++j)
        for (int i = 1; i <= m.nx; ++i)
            if (k.at(i, j + 1) - k.at(i, j) == -1) a(i, j) = 1;
    for (int j = m.ny; j >= 2; --j)
        for (int i = 1; i <= m.nx; ++i)
            if (k.at(i, j) - k.at(i, j - 1) == 1) a(i, j) = 1;
}

void weighSolidCells(SimulationState& m) {
    const Array2<Integer>& a = m.bcMapA;
    for (int j = 2; j <= m.ny - 1; ++j) {
        for (int i = 2; i <= m.nx - 1; ++i) {
            const int s =
                (a(i + 1, j) + a(i - 1, j) + a(i, j + 1) + a(i, j - 1)) * (1 - m.cellKind.at(i, j));
            // A solid point takes the mean of its s fluid neighbours as
            // sum · (12 / s) / 12: 12 is a whole multiple of every s in 1..4,
            // so the weight is stored as a whole number.
            if (s >= 1 && s <= 4) m.bcMapB(i, j) = static_cast<Integer>(12 / s);
        }
    }
}

} // namespace

int InitBoundaryConditions(SimulationState& m, Host& host, const std::function<void()>& between) {
    try {
        m.bcMapA.redim(AddInteger(m.nx, 1), AddInteger(m.ny, 1), between);
        m.bcMapB.redim(AddInteger(m.nx, 1), AddInteger(m.ny, 1), between);
        markFluidNextToSolid(m);
        if (between) between();
        weighSolidCells(m);
        return 0;
    } catch (const Failure& f) {
        host.message(FailureMessage(f.japanese(), "境界条件初期化"), Buttons::Ok);
        return f.number();
    }
}

void SetInitialConditions(SimulationState& m, const std::function<void()>& between) {
    for (auto* a : {&m.U, &m.V, &m.P, &m.work1, &m.work2, &m.work3})
        a->redim(m.nx, m.ny, between);
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i) {
            m.U(i, j) = 1.0;
            m.V(i, j) = 0;
            m.P(i, j) = 0;
        }
}

} // namespace kestrel
