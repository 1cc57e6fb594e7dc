#pragma once
// The program-wide record of the linear system A*x = B that the window edits, the solver
// solves, the file stores and the report prints. There is exactly one: GS.

#include <array>
#include <cstdint>
#include <string>

namespace tovik {

inline constexpr int kMaxIndex = 10;  // arrays run 0..10, only 1..N is used
inline constexpr int kMaxN = 5;       // the window's grid has five rows and columns
inline constexpr double kPivotSchwelle = 0.00001;

inline constexpr const char* kMeldungPivot = "*** Hauptdiagonalglied < 10-5!";
inline constexpr const char* kMeldungUeberlauf =
    "*** Zahlenüberlauf beim Lösen: die Koeffizienten sind zu groß!";

using Vektor = std::array<double, kMaxIndex + 1>;
using Matrix = std::array<Vektor, kMaxIndex + 1>;  // first index: equation

struct Gleichungssystem {
    std::string Projekt;   // UTF-8
    std::string Position;  // UTF-8
    std::int16_t N = 0;
    Matrix A{};
    Vektor B{};
    Matrix A0{};  // A as it was at the last solve
    Vektor B0{};
    Vektor X{};  // solution of the last successful solve
    bool Fehler = false;
};

extern Gleichungssystem GS;

// Back to the start-up state (empty texts, N = 0, all zeros); for tests.
void GleichungssystemZuruecksetzen();

// Puts the three-equation example into GS (texts, N, A and B only).
void BeispielSystem();

// Solves GS by elimination without row exchange and back substitution.
// Saves A, B into A0, B0 first and leaves A, B reduced; the caller restores them.
// A diagonal element below kPivotSchwelle in magnitude, or an overflow anywhere,
// stops the solve with a message and Fehler = true; X is then left untouched.
void SystemLoesen();

}  // namespace tovik
