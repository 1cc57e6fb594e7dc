// The plain number text and the leading-number reading against bare std::to_chars /
// std::from_chars of the same values, in one run.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "Zahltext.h"

namespace {

const std::vector<double>& Werte() {
    static const std::vector<double> werte = [] {
        std::mt19937_64 zufall(7);
        std::uniform_real_distribution<double> mantisse(-10, 10);
        std::uniform_int_distribution<int> exponent(-20, 20);
        std::vector<double> v(1024);
        for (double& w : v) w = mantisse(zufall) * std::pow(10.0, exponent(zufall));
        return v;
    }();
    return werte;
}

const std::vector<std::string>& Texte() {
    static const std::vector<std::string> texte = [] {
        std::vector<std::string> t;
        for (double w : Werte()) t.push_back(tovik::ZahlText(w));
        return t;
    }();
    return texte;
}

void BM_ZahlText(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = tovik::ZahlText(Werte()[i++ & 1023]);
        benchmark::DoNotOptimize(text);
    }
}

void BM_ZahlTextSchreiben(benchmark::State& state) {
    tovik::ZahlTextPuffer puffer;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tovik::ZahlTextSchreiben(Werte()[i++ & 1023], puffer));
        benchmark::DoNotOptimize(puffer);
    }
}

void BM_ToChars(benchmark::State& state) {
    std::array<char, 64> puffer;
    std::size_t i = 0;
    for (auto _ : state) {
        auto r = std::to_chars(puffer.data(), puffer.data() + puffer.size(), Werte()[i++ & 1023],
                               std::chars_format::general, 15);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(puffer);
    }
}

void BM_ZahlLesen(benchmark::State& state) {
    std::size_t i = 0;
    double wert = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tovik::ZahlLesen(Texte()[i++ & 1023], wert));
        benchmark::DoNotOptimize(wert);
    }
}

void BM_FromChars(benchmark::State& state) {
    std::size_t i = 0;
    double wert = 0;
    for (auto _ : state) {
        // The bare call needs the blank and the missing zero that the plain text has
        // removed; from_chars reads ".5" but not " .5", so skip the first character.
        const std::string& t = Texte()[i++ & 1023];
        const std::size_t start = t[0] == ' ' || t[0] == '-' ? 1 : 0;
        auto r = std::from_chars(t.data() + start, t.data() + t.size(), wert);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(wert);
    }
}

}  // namespace

BENCHMARK(BM_ZahlText);
BENCHMARK(BM_ZahlTextSchreiben);
BENCHMARK(BM_ToChars);
BENCHMARK(BM_ZahlLesen);
BENCHMARK(BM_FromChars);

BENCHMARK_MAIN();
