#include "pressure_solver.h"

#include "time_step.h"

#include <cstring>

namespace kestrel {

namespace {

constexpr int kFirst = kFirstSweptPoint;

// Whether cells first..last of a row are all fluid: most rows of a channel
// are, and a test of every cell in turn showed in the profile of a run.
bool allFluid(const Integer* kind, int first, int last) {
    bool all = true;
    for (int i = first; i <= last; ++i)
        all &= kind[i] == 1;
    return all;
}

} // namespace

PressureSolver::PressureSolver(SimulationState& m, const SolverOptions& options)
    : m_(m), options_(options), sweeps_(ChooseRowSweeps(options.lanes)),
      fluidRow_(static_cast<std::size_t>(std::max(m.ny + 1, 0)), nullptr),
      solidsBefore_(static_cast<std::size_t>(std::max(m.ny + 2, 0)), 0) {
    const std::size_t stride = static_cast<std::size_t>(m.P.stride());
    std::vector<int> maskedRows;
    for (int j = 2; j <= m.ny - 1; ++j) {
        solidsBefore_[static_cast<std::size_t>(j)] = solids_.size();
        const bool hasSolids = !allFluid(m.cellKind.row(j), 2, m.nx - 1);
        for (int i = 2; hasSolids && i <= m.nx - 1; ++i) {
            if (m.cellKind(i, j) == 1) continue;
            if (i >= 3 && i <= m.nx - 2 && (maskedRows.empty() || maskedRows.back() != j))
                maskedRows.push_back(j);
            // Neighbours in the order the sum is taken: i - 1, i + 1, j + 1, j - 1.
            SolidPoint solid{static_cast<std::size_t>(j) * stride + static_cast<std::size_t>(i),
                             {},
                             0,
                             static_cast<double>(m.bcMapB(i, j))};
            const int di[4] = {-1, 1, 0, 0};
            const int dj[4] = {0, 0, 1, -1};
            for (int n = 0; n < 4; ++n)
                if (m.bcMapA(i + di[n], j + dj[n]) != 0)
                    solid.neighbour[solid.count++] = static_cast<std::size_t>(j + dj[n]) * stride +
                                                     static_cast<std::size_t>(i + di[n]);
            solids_.push_back(solid);
        }
        solidsBefore_[static_cast<std::size_t>(j) + 1] = solids_.size();
    }
    // The cell codes as numbers, only for the rows that need them: most rows
    // of a channel have no obstacle.
    fluid_.resize(maskedRows.size() * stride);
    double* codes = fluid_.data();
    for (const int j : maskedRows) {
        for (int i = 3; i <= m.nx - 2; ++i)
            codes[i] = m.cellKind(i, j);
        fluidRow_[static_cast<std::size_t>(j)] = codes;
        codes += stride;
    }
    // Rows whose centre coefficients are all the same (every mesh with equal
    // Y spacing) share one, which then stays in the cache.
    const Array2<double>& rhs = m.work1; // made by PreparePressureEquation
    const Array2<double>& centre = m.work2;
    if (m.ny >= 5 && m.nx >= 5) {
        sharedCentre_ = centre.row(3);
        for (int j = 4; j <= m.ny - 2 && sharedCentre_; ++j)
            if (std::memcmp(centre.row(j) + 3, sharedCentre_ + 3,
                            static_cast<std::size_t>(m.nx - 4) * sizeof(double)) != 0)
                sharedCentre_ = nullptr;
    }
    rows_ = {m.P.row(0),
             m.P.stride(),
             rhs.row(0),
             rhs.stride(),
             sharedCentre_ ? sharedCentre_ : centre.row(0),
             sharedCentre_ ? 0 : centre.stride(),
             m.facX4.data(),
             m.facX5.data(),
             m.facY4.data(),
             m.facY5.data(),
             fluidRow_.data(),
             m.nx - 2};
    const int rows = std::max(m.ny - 4, 0);
    const int columns = std::max(m.nx - 4, 0);
    termRows_ = static_cast<std::size_t>(rows);
    termStride_ = stride;
    const double termCount = static_cast<double>(rows) * static_cast<double>(columns);
    surelyAboveFactor_ = 1 - 2 * (termCount + 16) * 0x1p-52;
}

// Only non-fluid points change: each takes the mean of its marked fluid
// neighbours, which are never themselves changed here.
void PressureSolver::setObstacles(std::size_t from, std::size_t to) {
    double* p = m_.P.row(0);
    for (std::size_t n = from; n < to; ++n) {
        const SolidPoint& s = solids_[n];
        double sum = 0;
        for (int k = 0; k < s.count; ++k)
            sum = sum + p[s.neighbour[k]];
        p[s.at] = sum * s.weight / 12;
    }
}

void PressureSolver::setObstacleRow(int j) {
    setObstacles(solidsBefore_[static_cast<std::size_t>(j)],
                 solidsBefore_[static_cast<std::size_t>(j) + 1]);
}

void PressureSolver::copyBoundaryColumns(int j) {
    double* row = m_.P.row(j);
    row[2] = row[3];
    row[m_.nx - 1] = row[m_.nx - 2];
}

void PressureSolver::copyRow(int to, int from) {
    double* target = m_.P.row(to);
    const double* source = m_.P.row(from);
    for (int i = 1; i <= m_.nx; ++i)
        target[i] = source[i];
}

// Every read sees what it would see after the whole of the previous phase:
// the obstacle points of a row are set once the rows around it are swept,
// the columns copied once no obstacle point reads them any more, and a row
// swept once the row above it has its obstacle points.
void PressureSolver::step(int r, Sweep& s) {
    const int ny = m_.ny;
    if (r == kFirstStep) {
        if (ny - 1 >= 2) setObstacleRow(2);
        copyBoundaryColumns(1);
        return;
    }
    if (r <= ny - 1) setObstacleRow(r);
    if (r - 1 <= ny) copyBoundaryColumns(r - 1);
    if (r == kRowCopyStep) copyRow(2, 3);
    if (r == std::max(ny, kRowCopyStep)) copyRow(ny - 1, ny - 2);
    const int j = r - 2;
    if (j >= 3 && j <= ny - 2) sweepRow(j, s);
}

// The solids are kept in row order, so all rows at once are all solids in turn.
void PressureSolver::setObstaclePressure() {
    setObstacles(0, solids_.size());
}

void PressureSolver::setPressureBoundary() {
    for (int j = 1; j <= m_.ny; ++j)
        copyBoundaryColumns(j);
    copyRow(2, 3);
    copyRow(m_.ny - 1, m_.ny - 2);
}

double PressureSolver::sweep(bool lastAllowed) {
    Sweep s = startSweep(1, lastAllowed);
    for (int j = 3; j <= m_.ny - 2; ++j) {
        sweepRow(j, s);
        if (j % kRowsBetweenCalls == 0 && options_.betweenPhases) options_.betweenPhases();
    }
    return error(s);
}

int PressureSolver::lastStep() const {
    return std::max(m_.ny + 1, kRowCopyStep);
}

PressureSolver::Sweep PressureSolver::startSweep(int k, bool lastAllowed) {
    // Made when first needed (one thread needs only one), and left unset:
    // only the rows of a sweep that may end the iteration are written, and
    // only they are summed.
    CacheLineBuffer<double>& terms = terms_[k % kIterationsAtOnce];
    if (!terms) terms = MakeCacheLineBuffer<double>(termRows_ * termStride_);
    return Sweep{terms.get(), 0, lastAllowed, false};
}

// One row, in the lanes chosen for this processor.
[[gnu::always_inline]] inline void PressureSolver::sweepRow(int j, Sweep& s) {
    if (m_.nx - 4 <= 0) return; // no interior point in the row
    const bool masked = fluidRow_[static_cast<std::size_t>(j)] != nullptr;
    if (s.goesOn) {
        sweeps_.sweep[false][masked](rows_, j, nullptr);
        return;
    }
    s.unordered += sweeps_.sweep[true][masked](rows_, j, termRow(s, j));
    s.goesOn = surelyAbove(s, s.unordered);
}

// The same n non-negative terms summed in two orders differ by a relative
// (n + 16) 2^-52 at most: well above the tolerance, the order cannot change
// the decision to go on, and the terms need not be kept. The partial sums
// only grow, so that can be known before the sweep ends.
bool PressureSolver::surelyAbove(const Sweep& s, double unordered) const {
    return !s.lastAllowed && !options_.sumEveryErrorInOrder &&
           unordered * surelyAboveFactor_ > kPressureTolerance;
}

double PressureSolver::exactError(const Sweep& s) const {
    double err = 0;
    for (int j = 3; j <= m_.ny - 2; ++j) {
        const double* row = termRow(s, j);
        for (int i = kFirst; i <= m_.nx - 2; ++i)
            err = err + row[i];
    }
    return err;
}

// Laid out as the rows of P, so that whole groups are stored whole.
double* PressureSolver::termRow(const Sweep& s, int j) const {
    return s.terms + static_cast<std::size_t>(j - 3) * termStride_;
}

double PressureSolver::error(const Sweep& s) const {
    return s.goesOn ? s.unordered : exactError(s);
}

} // namespace kestrel
