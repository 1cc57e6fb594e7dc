#include "Gleichungssystem.h"

#include <cmath>

#include "Meldung.h"

namespace tovik {

Gleichungssystem GS;

void GleichungssystemZuruecksetzen() { GS = Gleichungssystem{}; }

void BeispielSystem() {
    static constexpr double a[3][3] = {{3, 4, 7}, {12, 10, 0}, {0, 12, 2}};
    static constexpr double b[3] = {90, 78, 56};
    GS.Projekt = "Test";
    GS.Position = "1";
    GS.N = 3;
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) GS.A[i][j] = a[i - 1][j - 1];
        GS.B[i] = b[i - 1];
    }
}

namespace {

bool Stopp(const char* text) {
    GS.Fehler = true;
    Meldung(text);
    return false;
}

// True when the reduced upper triangle and right-hand side are all finite.
bool ReduziertEndlich(int n) {
    for (int i = 1; i <= n; ++i) {
        if (!std::isfinite(GS.B[i])) return false;
        for (int k = i; k <= n; ++k)
            if (!std::isfinite(GS.A[i][k])) return false;
    }
    return true;
}

bool Loesen() {
    const int n = GS.N;
    Matrix faktor{};
    auto& A = GS.A;
    auto& B = GS.B;

    GS.Fehler = false;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A0[i][j] = A[i][j];
        GS.B0[i] = B[i];
    }

    // Elimination, without exchanging rows; the multipliers are kept for B.
    for (int j = 1; j <= n - 1; ++j) {
        if (std::fabs(A[j][j]) < kPivotSchwelle) return Stopp(kMeldungPivot);
        for (int k = j + 1; k <= n; ++k) {
            faktor[k][j] = (-A[k][j]) / A[j][j];
            for (int l = j + 1; l <= n; ++l) A[k][l] = faktor[k][j] * A[j][l] + A[k][l];
        }
    }
    for (int j = 1; j <= n - 1; ++j)
        for (int k = j + 1; k <= n; ++k) B[k] = faktor[k][j] * B[j] + B[k];

    if (!ReduziertEndlich(n)) return Stopp(kMeldungUeberlauf);
    if (std::fabs(A[n][n]) < kPivotSchwelle) return Stopp(kMeldungPivot);

    // Back substitution into a scratch vector: X is written only when all of it is finite.
    Vektor x = GS.X;
    for (int i = n; i >= 1; --i) {
        double s = B[i];
        for (int k = i + 1; k <= n; ++k) s = s - A[i][k] * x[k];
        x[i] = s / A[i][i];
        if (!std::isfinite(x[i])) return Stopp(kMeldungUeberlauf);
    }
    GS.X = x;
    return true;
}

}  // namespace

void SystemLoesen() {
    // N outside 0..10 would index outside the record; the callers keep it in 0..5.
    if (GS.N < 0 || GS.N > kMaxIndex) {
        Stopp(kMeldungPivot);
        return;
    }
    Loesen();
}

}  // namespace tovik
