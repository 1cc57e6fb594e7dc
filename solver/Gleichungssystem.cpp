#include "Gleichungssystem.h"

#include <cmath>
#include <utility>

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

// n is a template argument so that the compiler unrolls the short loops; the order of
// the operations is that of the plain loops.
template <int n>
bool Loesen() {
    double faktor[kMaxIndex + 1][kMaxIndex + 1];  // only the entries written below are read
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

    if (std::fabs(A[n][n]) < kPivotSchwelle) return Stopp(kMeldungPivot);

    // Back substitution into a scratch vector: X is written only when all of it is finite.
    // Non-finite values are sticky under + and *, so an overflow anywhere in the
    // elimination shows up in x, except an infinite pivot (x/inf = 0): test those too.
    double x[kMaxIndex + 1];
    for (int i = n; i >= 1; --i) {
        double s = B[i];
        for (int k = i + 1; k <= n; ++k) s = s - A[i][k] * x[k];
        x[i] = s / A[i][i];
        if (!std::isfinite(x[i]) || !std::isfinite(A[i][i])) return Stopp(kMeldungUeberlauf);
    }
    for (int i = 1; i <= n; ++i) GS.X[i] = x[i];
    return true;
}

}  // namespace

void SystemLoesen() {
    // N outside 0..10 would index outside the record; the callers keep it in 0..5.
    if (GS.N < 0 || GS.N > kMaxIndex) {
        Stopp(kMeldungPivot);
        return;
    }
    constexpr auto tabelle = []<int... n>(std::integer_sequence<int, n...>) {
        return std::array{&Loesen<n>...};
    };
    static constexpr auto loeser = tabelle(std::make_integer_sequence<int, kMaxIndex + 1>{});
    loeser[static_cast<std::size_t>(GS.N)]();
}

}  // namespace tovik
