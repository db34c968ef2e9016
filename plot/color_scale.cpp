#include "color_scale.h"

#include "runtime/failure.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

constexpr Rgb kBands[10] = {
    MakeRgb(100, 200, 128), MakeRgb(120, 230, 128), MakeRgb(140, 255, 64), MakeRgb(160, 255, 64),
    MakeRgb(200, 255, 64),  MakeRgb(255, 255, 64),  MakeRgb(255, 192, 64), MakeRgb(255, 128, 64),
    MakeRgb(255, 100, 64),  MakeRgb(255, 64, 64),
};

constexpr Rgb kDivergingBands[10] = {
    MakeRgb(40, 60, 200),   MakeRgb(80, 110, 230),  MakeRgb(130, 160, 245), MakeRgb(180, 205, 250),
    MakeRgb(225, 235, 255), MakeRgb(255, 230, 225), MakeRgb(250, 190, 170), MakeRgb(240, 140, 110),
    MakeRgb(220, 80, 60),   MakeRgb(180, 30, 30),
};

ColourLegend tenBands(const std::string& quantity, const Rgb (&bands)[10], double minimum,
                      double maximum) {
    ColourLegend legend{quantity, {bands, bands + 10}, {}};
    for (int k = 0; k <= 10; ++k)
        legend.edges.push_back(minimum + (maximum - minimum) * k / 10);
    return legend;
}

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

ColourLegend BandLegend(const std::string& quantity, double minimum, double maximum) {
    return tenBands(quantity, kBands, minimum, maximum);
}

Rgb DivergingColour(double minimum, double maximum, double v) {
    const double t = (v - minimum) / (maximum - minimum) * 10;
    const int band = std::isnan(t) ? 0 : static_cast<int>(std::clamp(std::floor(t), 0.0, 9.0));
    return kDivergingBands[band];
}

ColourLegend DivergingLegend(const std::string& quantity, double minimum, double maximum) {
    return tenBands(quantity, kDivergingBands, minimum, maximum);
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
