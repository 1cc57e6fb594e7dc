// SystemLoesen against Eigen's fixed-size PartialPivLU on the same systems, in one run.
// Both sides copy the system in and the solution out, as a solve from the window does.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>
#include <algorithm>
#include <random>

#include "Gleichungssystem.h"
#include "Meldung.h"

namespace {

template <int N>
struct Systeme {
    Eigen::Matrix<double, N, N> a;
    Eigen::Matrix<double, N, 1> b;
    Systeme() {
        // Diagonally dominant, so that elimination without row exchange is stable.
        std::mt19937 zufall(N);
        std::uniform_real_distribution<double> wert(-10, 10);
        for (int i = 0; i < N; ++i) {
            for (int j = 0; j < N; ++j) a(i, j) = wert(zufall);
            a(i, i) += 100;
            b(i) = wert(zufall);
        }
    }
};

template <int N>
void BM_SystemLoesen(benchmark::State& state) {
    const Systeme<N> s;
    tovik::Matrix a{};
    tovik::Vektor b{};
    for (int i = 0; i < N; ++i) {
        for (int j = 0; j < N; ++j) a[i + 1][j + 1] = s.a(i, j);
        b[i + 1] = s.b(i);
    }
    tovik::GS.N = N;
    for (auto _ : state) {
        for (int i = 1; i <= N; ++i) std::copy_n(&a[i][1], N, &tovik::GS.A[i][1]);
        std::copy_n(&b[1], N, &tovik::GS.B[1]);
        benchmark::DoNotOptimize(tovik::GS.A.data());
        tovik::SystemLoesen();
        benchmark::DoNotOptimize(tovik::GS.X);
    }
    if (tovik::GS.Fehler) state.SkipWithError("system refused");
}

template <int N>
void BM_EigenPartialPivLU(benchmark::State& state) {
    const Systeme<N> s;
    Eigen::Matrix<double, N, N> a;
    Eigen::Matrix<double, N, 1> b, x;
    for (auto _ : state) {
        a = s.a;
        b = s.b;
        benchmark::DoNotOptimize(a.data());
        x = a.partialPivLu().solve(b);
        benchmark::DoNotOptimize(x.data());
    }
}

}  // namespace

BENCHMARK(BM_SystemLoesen<3>);
BENCHMARK(BM_EigenPartialPivLU<3>);
BENCHMARK(BM_SystemLoesen<5>);
BENCHMARK(BM_EigenPartialPivLU<5>);

BENCHMARK_MAIN();
