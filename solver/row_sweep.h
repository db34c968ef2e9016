#pragma once
// One row of a pressure sweep, in as many lanes as the processor runs: the
// same code built for two lanes (every x86-64) and for four (AVX), the width
// chosen when the program runs. Both give the same bits.
namespace kestrel {

// The first point of a row the sweep corrects.
constexpr int kFirstSweptPoint = 3;

// What one row's sweep reads and writes. Points kFirstSweptPoint..last of
// `row` are corrected; `fluid` holds the cell codes as numbers, or is null
// for a row without obstacles.
struct RowSweepInput {
    double* row;
    const double* below;
    const double* above;
    const double* fx4;
    const double* fx5;
    const double* rhs;
    const double* centre;
    const double* fluid;
    double fy4;
    double fy5;
    int last;
};

// Sweeps the row; with terms (Store) the error terms go there in order and
// their sum in lanes is returned, without them 0.
using RowSweep = double (*)(const RowSweepInput& in, double* terms);

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
