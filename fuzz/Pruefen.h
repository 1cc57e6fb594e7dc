#pragma once
// Checks inside the fuzz targets: a broken property aborts with a note, which libFuzzer
// reports as a crash and keeps as an artefact.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define PRUEFEN(bedingung)                                                               \
    do {                                                                                 \
        if (!(bedingung)) {                                                              \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #bedingung); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)

// The same double at 15 significant digits; zero carries no sign in the plain number text.
inline bool Gleich15(double a, double b) {
    if (a == 0 && b == 0) return true;
    char ta[40], tb[40];
    std::snprintf(ta, sizeof ta, "%.14e", a);
    std::snprintf(tb, sizeof tb, "%.14e", b);
    return std::strcmp(ta, tb) == 0;
}

// From this on, 15 digits round beyond the largest double, so the text could not be read
// back: the writer puts kGroessterGeschrieben instead.
inline constexpr double kGroessterLesbarer = 1.797693134862315e308;
inline constexpr double kGroessterGeschrieben = 1.79769313486231e308;
