#pragma once
// The row sweep for a lane count, included by each file that builds one
// width. Everything here is internal to that file, so code built for wider
// registers never stands in for the narrow build's.
#include "row_sweep.h"

#include <cstring>

namespace kestrel {
namespace {

// GCC takes a vector size only on a type that does not depend on the template.
template <int kLanes> struct LanesOf;
template <> struct LanesOf<2> {
    typedef double type __attribute__((vector_size(2 * sizeof(double))));
};
template <> struct LanesOf<4> {
    typedef double type __attribute__((vector_size(4 * sizeof(double))));
};

template <int kLanes> struct InLanes {
    using Lanes = typename LanesOf<kLanes>::type;

    static Lanes broadcast(double v) {
        Lanes lanes;
        for (int k = 0; k < kLanes; ++k)
            lanes[k] = v;
        return lanes;
    }
    static Lanes load(const double* p) {
        Lanes v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void store(double* p, Lanes v) { std::memcpy(p, &v, sizeof v); }

    // The correction of point i, written as the sweep's formula is written:
    // every operation in the same order, so every bit the same.
    template <typename T>
    static T correction(T above, T right, T left, T below, T rhs, T centre, T old, T fy4, T fx4,
                        T fx5, T fy5) {
        return (fy4 * above + fx4 * right + fx5 * left + fy5 * below - rhs) * centre - old;
    }

    // Every correction from the row as it was (the row below already swept,
    // the row above not yet), then the new values, in one pass: a group of
    // new values is stored only after the next group has read the old ones
    // next to it.
    template <bool Store, bool Masked>
    static double sweep(const RowSweepContext& c, int j, double* terms) {
        constexpr int first = kFirstSweptPoint;
        const int last = c.last;
        double* __restrict row = c.p + j * c.pStride;
        const double* __restrict below = row - c.pStride;
        const double* __restrict above = row + c.pStride;
        const double* __restrict fx4 = c.fx4;
        const double* __restrict fx5 = c.fx5;
        const double* __restrict rhs = c.rhs + j * c.rhsStride;
        const double* __restrict centre = c.centre + j * c.centreStride;
        const double* __restrict fluid = c.fluidRows[j];
        const double fy4 = c.fy4[j];
        const double fy5 = c.fy5[j];
        const Lanes fy4v = broadcast(fy4);
        const Lanes fy5v = broadcast(fy5);

        // The new values of the group at i and its terms (kept when Store is set).
        struct Group {
            Lanes updated;
            Lanes term;
        };
        const auto group = [&](int i) {
            const Lanes old = load(row + i);
            const Lanes c = correction(load(above + i), load(row + i + 1), load(row + i - 1),
                                       load(below + i), load(rhs + i), load(centre + i), old, fy4v,
                                       load(fx4 + i), load(fx5 + i), fy5v);
            // A cell code of 1 changes no bit: rows without obstacles skip it.
            Group g{old + c, Lanes{}};
            Lanes k{};
            if constexpr (Masked) {
                k = load(fluid + i);
                g.updated = k * old + c;
            }
            // Once the sweep is known to go on, its error is not needed.
            if constexpr (Store) {
                g.term = c * c;
                if constexpr (Masked) g.term = g.term * k;
                store(terms + i, g.term);
            }
            return g;
        };
        if (last - first + 1 < kLanes) {
            // A row shorter than a group, a point at a time.
            double values[kLanes];
            double sum = 0;
            for (int i = first; i <= last; ++i) {
                const double old = row[i];
                const double c = correction(above[i], row[i + 1], row[i - 1], below[i], rhs[i],
                                            centre[i], old, fy4, fx4[i], fx5[i], fy5);
                values[i - first] = Masked ? fluid[i] * old + c : old + c;
                if constexpr (Store) {
                    const double term = Masked ? c * c * fluid[i] : c * c;
                    terms[i] = term;
                    sum += term;
                }
            }
            for (int i = first; i <= last; ++i)
                row[i] = values[i - first];
            return sum;
        }
        Lanes sum = broadcast(0);
        double edgeTerms = 0; // of the points before and after the whole groups
        Group pending = group(first);
        int pendingAt = first;
        // Rows start on a whole vector width, and loads from one split no
        // cache line. The first group does not start on one: it overlaps the
        // next group, which does. Only its points before that count, and its
        // values are stored last, once no group reads the old ones.
        constexpr int firstWhole = (first / kLanes + 1) * kLanes;
        const bool lead = last >= firstWhole + kLanes - 1;
        const Lanes leadValues = pending.updated;
        if (lead) {
            pendingAt = firstWhole;
            if constexpr (Store)
                for (int k = 0; k < firstWhole - first; ++k)
                    edgeTerms += pending.term[k];
            pending = group(pendingAt);
        }
        int i = pendingAt + kLanes;
        // Sums are taken only with terms: adding zeros would still cost an
        // addition a group, since x + 0 is not x when x is -0.
        for (; i + kLanes - 1 <= last; i += kLanes) {
            const Group g = group(i);
            store(row + pendingAt, pending.updated);
            if constexpr (Store) sum += pending.term;
            pending = g;
            pendingAt = i;
        }
        if constexpr (Store) sum += pending.term;
        if (i <= last) {
            // The points left over: one more group, ending at the last point
            // and overlapping the pending one. The row still holds the old
            // values it reads, so the points they share get the same bits
            // twice; only the new points' terms are added.
            const int at = last - kLanes + 1;
            const Group g = group(at);
            if constexpr (Store)
                for (int k = i - at; k < kLanes; ++k)
                    edgeTerms += g.term[k];
            store(row + pendingAt, pending.updated);
            store(row + at, g.updated);
        } else {
            store(row + pendingAt, pending.updated);
        }
        if (lead) store(row + first, leadValues);
        double total = edgeTerms;
        if constexpr (Store)
            for (int k = 0; k < kLanes; ++k)
                total += sum[k];
        return total;
    }

    static RowSweeps sweeps() {
        return {
            kLanes,
            {{sweep<false, false>, sweep<false, true>}, {sweep<true, false>, sweep<true, true>}}};
    }
};

} // namespace
} // namespace kestrel
