#pragma once
// Small helpers shared by the storage tests.

#include <QString>

#include <cstdio>
#include <cstring>
#include <string>

#include "Gleichungssystem.h"

namespace hilfen {

// Every field of the record, bit for bit where it matters (arrays compared as values).
inline bool Gleich(const tovik::Gleichungssystem& a, const tovik::Gleichungssystem& b) {
    return a.Projekt == b.Projekt && a.Position == b.Position && a.N == b.N && a.A == b.A &&
           a.B == b.B && a.A0 == b.A0 && a.B0 == b.B0 && a.X == b.X && a.Fehler == b.Fehler;
}

// A record in which every field differs from its start value and from the example.
inline tovik::Gleichungssystem Vorher() {
    tovik::Gleichungssystem gs;
    gs.Projekt = "Brücke";
    gs.Position = "Lager 2, Feld 3";
    gs.N = 2;
    for (int i = 0; i <= tovik::kMaxIndex; ++i) {
        for (int j = 0; j <= tovik::kMaxIndex; ++j) {
            gs.A[i][j] = 100 * i + j + 0.5;
            gs.A0[i][j] = -(100 * i + j);
        }
        gs.B[i] = 1000 + i;
        gs.B0[i] = -1000 - i;
        gs.X[i] = 0.25 * i;
    }
    gs.Fehler = true;
    return gs;
}

// The same double at 15 significant digits.
inline bool Gleich15(double a, double b) {
    if (a == 0 && b == 0) return true;  // " 0" carries no sign
    char ta[40], tb[40];
    std::snprintf(ta, sizeof ta, "%.14e", a);
    std::snprintf(tb, sizeof tb, "%.14e", b);
    return std::strcmp(ta, tb) == 0;
}

}  // namespace hilfen
