#pragma once
// One row of a pressure sweep, in as many lanes as the processor runs: the
// same code built for two lanes (every x86-64) and for four (AVX), the width
// chosen when the program runs. Both give the same bits.
#include <cstddef>

namespace kestrel {

// The first point of a row the sweep corrects.
constexpr int kFirstSweptPoint = 3;

// What the rows' sweeps read and write, made once per pressure solve.
// Points kFirstSweptPoint..last of a row are corrected.
struct RowSweepContext {
    double* p;              // P's element (0, 0)
    std::ptrdiff_t pStride; // between its rows
    const double* rhs;      // the right-hand side's element (0, 0)
    std::ptrdiff_t rhsStride;
    const double* centre;        // the centre coefficients' (0, 0), or the one row all share
    std::ptrdiff_t centreStride; // 0 when all share one
    const double* fx4;           // facX4 and facX5 by i
    const double* fx5;
    const double* fy4; // facY4 and facY5 by j
    const double* fy5;
    const double* const* fluidRows; // by j: the cell codes as numbers, or null without obstacles
    int last;
};

// Sweeps row j; with terms (Store) the error terms go there in order and
// their sum in lanes is returned, without them 0.
using RowSweep = double (*)(const RowSweepContext& c, int j, double* terms);

struct RowSweeps {
    int lanes;
    RowSweep sweep[2][2]; // [store terms][masked by cell codes]
};

RowSweeps TwoLaneRowSweeps();
RowSweeps FourLaneRowSweeps(); // only where the processor runs AVX

// The widest lanes this processor runs: 4 with AVX, else 2.
int WidestLanes();

// The sweeps of that many lanes (2 or 4); 0 for the widest this processor runs.
const RowSweeps& ChooseRowSweeps(int lanes);

} // namespace kestrel
