#include <QtTest>

#include <cmath>
#include <string>
#include <vector>

#include "Gleichungssystem.h"
#include "Meldung.h"

using namespace tovik;

Q_DECLARE_METATYPE(std::vector<double>)

namespace {

// Loads a system given row-major: each row holds A(i,1..n) followed by B(i).
void Laden(int n, const std::vector<double>& zeilen) {
    GS.N = static_cast<std::int16_t>(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A[i][j] = zeilen[(i - 1) * (n + 1) + (j - 1)];
        GS.B[i] = zeilen[(i - 1) * (n + 1) + n];
    }
}

}  // namespace

class TstSolver : public QObject {
    Q_OBJECT
    std::vector<std::string> meldungen;

private slots:
    void init() {
        GleichungssystemZuruecksetzen();
        meldungen.clear();
        SetzeMeldungsHook([this](const std::string& text, const std::string& titel) {
            QCOMPARE(titel, std::string("Tovik"));
            meldungen.push_back(text);
        });
    }
    void cleanup() { SetzeMeldungsHook({}); }

    void startZustand() {
        QCOMPARE(GS.N, std::int16_t(0));
        QVERIFY(GS.Projekt.empty() && GS.Position.empty() && !GS.Fehler);
        for (int i = 0; i <= kMaxIndex; ++i) {
            QCOMPARE(GS.B[i], 0.0);
            QCOMPARE(GS.X[i], 0.0);
            for (int j = 0; j <= kMaxIndex; ++j) QCOMPARE(GS.A[i][j], 0.0);
        }
    }

    void beispielExakt() {
        BeispielSystem();
        QCOMPARE(GS.Projekt, std::string("Test"));
        QCOMPARE(GS.Position, std::string("1"));
        QCOMPARE(GS.N, std::int16_t(3));
        SystemLoesen();
        QVERIFY(meldungen.empty());
        QVERIFY(!GS.Fehler);
        // Bit-exact results of the prescribed order of operations.
        QCOMPARE(GS.X[1], 3.9176954732510247);
        QCOMPARE(GS.X[2], 3.098765432098768);
        QCOMPARE(GS.X[3], 9.407407407407407);
        // Reduced upper triangle; below the diagonal the entered values stay.
        const double reduziert[3][3] = {{3, 4, 7}, {12, -6, -28}, {0, 12, -54}};
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) QCOMPARE(GS.A[i][j], reduziert[i - 1][j - 1]);
        QCOMPARE(GS.B[1], 90.0);
        QCOMPARE(GS.B[2], -282.0);
        QCOMPARE(GS.B[3], -508.0);
        const double a0[3][3] = {{3, 4, 7}, {12, 10, 0}, {0, 12, 2}};
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) QCOMPARE(GS.A0[i][j], a0[i - 1][j - 1]);
        QCOMPARE(GS.B0[3], 56.0);
        QCOMPARE(GS.A[0][0], 0.0);
        QCOMPARE(GS.X[4], 0.0);  // outside 1..N nothing is written
    }

    void loesbar_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<std::vector<double>>("system");
        QTest::addColumn<std::vector<double>>("x");
        QTest::newRow("N=1") << 1 << std::vector<double>{4, 2} << std::vector<double>{0.5};
        QTest::newRow("pivot equals threshold")
            << 1 << std::vector<double>{0.00001, 0.00001} << std::vector<double>{1};
        QTest::newRow("negative pivot equals threshold")
            << 1 << std::vector<double>{-0.00001, 0.00002} << std::vector<double>{-2};
        QTest::newRow("diagonal N=5")
            << 5
            << std::vector<double>{2, 0, 0, 0, 0, 4, 0, 4, 0, 0, 0, 4, 0, 0, 8, 0, 0, 8,
                                   0, 0, 0, 2, 0, 1, 0, 0, 0, 0, 1, 7}
            << std::vector<double>{2, 1, 1, 0.5, 7};
        QTest::newRow("reordered zero-pivot system")
            << 2 << std::vector<double>{1, 0, 5, 0, 1, 6} << std::vector<double>{5, 6};
    }
    void loesbar() {
        QFETCH(int, n);
        QFETCH(std::vector<double>, system);
        QFETCH(std::vector<double>, x);
        Laden(n, system);
        SystemLoesen();
        QVERIFY(meldungen.empty());
        QVERIFY(!GS.Fehler);
        for (int j = 1; j <= n; ++j) QCOMPARE(GS.X[j], x[j - 1]);
    }

    // Every refusal: message, Fehler, X kept from the previous solve, B untouched when
    // the stop comes during elimination.
    void verweigert_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<std::vector<double>>("system");
        QTest::addColumn<std::string>("meldung");
        QTest::addColumn<bool>("bUnveraendert");
        const std::string pivot = kMeldungPivot, ueber = kMeldungUeberlauf;
        QTest::newRow("zero diagonal") << 2 << std::vector<double>{0, 1, 5, 1, 0, 6} << pivot << true;
        QTest::newRow("just below threshold")
            << 1 << std::vector<double>{0.0000099999, 1} << pivot << true;
        QTest::newRow("diagonal becomes small")
            << 2 << std::vector<double>{1, 2, 3, 1, 2.000001, 3} << pivot << false;
        QTest::newRow("N=0") << 0 << std::vector<double>{} << pivot << true;
        QTest::newRow("overflow in elimination")
            << 2 << std::vector<double>{1e-5, 1e300, 1, 1e300, 1, 1} << ueber << false;
        QTest::newRow("overflow in back substitution")
            << 2 << std::vector<double>{1e-5, 1, 1e308, 0, 1e-5, 1e308} << ueber << false;
        QTest::newRow("overflow in right-hand side")
            << 2 << std::vector<double>{1e-5, 1, 1e308, 1e300, 1e308, 1} << ueber << false;
    }
    void verweigert() {
        QFETCH(int, n);
        QFETCH(std::vector<double>, system);
        QFETCH(std::string, meldung);
        QFETCH(bool, bUnveraendert);
        GS.X[1] = 11;
        GS.X[2] = 22;  // "previous solution"
        Laden(n, system);
        const Vektor b = GS.B;
        SystemLoesen();
        QCOMPARE(meldungen, std::vector<std::string>{meldung});
        QVERIFY(GS.Fehler);
        QCOMPARE(GS.X[1], 11.0);
        QCOMPARE(GS.X[2], 22.0);
        if (bUnveraendert) QVERIFY(GS.B == b);
        for (int i = 1; i <= n; ++i) QCOMPARE(GS.B0[i], b[i]);
    }

    void fehlerWirdZurueckgesetzt() {
        Laden(1, {0, 1});
        SystemLoesen();
        QVERIFY(GS.Fehler);
        Laden(1, {2, 1});
        SystemLoesen();
        QVERIFY(!GS.Fehler);
        QCOMPARE(GS.X[1], 0.5);
    }
};

QTEST_GUILESS_MAIN(TstSolver)
#include "tst_solver.moc"
