#include "color_scale.h"

#include "runtime/failure.h"

#include <cmath>

namespace kestrel {

namespace {

constexpr Rgb kBands[10] = {
    MakeRgb(100, 200, 128), MakeRgb(120, 230, 128), MakeRgb(140, 255, 64), MakeRgb(160, 255, 64),
    MakeRgb(200, 255, 64),  MakeRgb(255, 255, 64),  MakeRgb(255, 192, 64), MakeRgb(255, 128, 64),
    MakeRgb(255, 100, 64),  MakeRgb(255, 64, 64),
};

template <typename Better>
double arrayExtreme(const Array2<double>& a, int n1, int n2, Better better) {
    double r = a.at(1, 1);
    for (int j = 1; j <= n2; ++j)
        for (int i = 1; i <= n1; ++i)
            if (better(a.at(i, j), r)) r = a(i, j);
    return r;
}

} // namespace

Rgb colorMap(const double& minDT, const double& maxDT, const double& V) {
    const double width = maxDT - minDT;
    if (width == 0) ThrowDivisionByZero();
    const double t = (V - minDT) / width * 100;
    for (int band = 0; band < 9; ++band)
        if (t < 10.0 * (band + 1)) return kBands[band];
    return kBands[9];
}

void WidenEmptyRange(double minimum, double& maximum) {
    if (maximum <= minimum) maximum = minimum + 10;
}

void FindSpeedRange(SimulationState& m) {
    const double first = m.V.at(1, 1) * m.V.at(1, 1) + m.U.at(1, 1) * m.U.at(1, 1);
    if (!std::isfinite(first)) ThrowOverflow();
    double largest = first;
    double smallest = first;
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i) {
            const double s = m.V.at(i, j) * m.V(i, j) + m.U.at(i, j) * m.U(i, j);
            // Squares of finite speeds above ~1.3e154 leave the Double range.
            if (!std::isfinite(s)) ThrowOverflow();
            if (s > largest) largest = s;
            if (s < smallest) smallest = s;
        }
    m.speedMax = std::sqrt(largest);
    m.speedMin = std::sqrt(smallest);
}

double ArrayMax(const Array2<double>& a, int n1, int n2) {
    return arrayExtreme(a, n1, n2, [](double x, double r) { return x > r; });
}

double ArrayMin(const Array2<double>& a, int n1, int n2) {
    return arrayExtreme(a, n1, n2, [](double x, double r) { return x < r; });
}

} // namespace kestrel
