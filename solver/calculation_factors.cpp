#include "calculation_factors.h"

#include "geometry/mesh_nodes.h"
#include "runtime/failure.h"
#include "runtime/number_text.h"

#include <cmath>

namespace kestrel {

namespace {

struct FactorArrays {
    Array1<double>& f1;
    Array1<double>& f2;
    Array1<double>& f3;
    Array1<double>& f4;
    Array1<double>& f5;
};

[[noreturn]] void zeroWidth(const char* axis, int k, double coordinate) {
    throw Failure(ErrorNumber::DivisionByZero,
                  std::string(axis) + " 座標の節点 " + std::to_string(k - 1) + " と " +
                      std::to_string(k + 1) + " が同じ値 (" + GeneralNumber(coordinate) +
                      ") です。メッシュ幅が 0 になるため計算できません。");
}

void computeFactors(const Array1<double>& x, int count, FactorArrays f, const char* axis) {
    for (auto* a : {&f.f1, &f.f2, &f.f3, &f.f4, &f.f5})
        a->redim(count + 1);
    for (int i = 2; i <= count - 1; ++i) {
        const double width = x.at(i + 1) - x.at(i - 1);
        if (width == 0) zeroWidth(axis, i, x.at(i + 1));
        f.f1(i) = 2 / width;
        f.f2(i) = f.f1(i) * f.f1(i);
        f.f3(i) = std::pow(f.f1(i), 3.0) * ((x(i + 1) - 2 * x(i)) + x(i - 1));
        f.f4(i) = f.f2(i) - 0.5 * f.f3(i);
        f.f5(i) = f.f2(i) + 0.5 * f.f3(i);
    }
}

} // namespace

void InitCalculationFactors(SimulationState& m, Host& host) {
    BuildMeshNodes(m, host);
    computeFactors(m.xNode, m.nx, {m.facX1, m.facX2, m.facX3, m.facX4, m.facX5}, "X");
    computeFactors(m.yNode, m.ny, {m.facY1, m.facY2, m.facY3, m.facY4, m.facY5}, "Y");
}

} // namespace kestrel
