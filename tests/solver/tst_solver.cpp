// The solver on the record, and the number texts: written, read, shown.

#include <cmath>
#include <limits>

#include "Gleichungssystem.h"
#include "Testhilfen.h"
#include "Zahltext.h"

using namespace tovik;

namespace {

constexpr double kMax = std::numeric_limits<double>::max();

}  // namespace

class TstSolver : public QObject {
    Q_OBJECT

private slots:
    void init() { GleichungssystemZuruecksetzen(); }

    // Solved: X. Refused: the message, Fehler, X kept from the solve before, and B as entered
    // unless the stop came after B was reduced.
    void loesen_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<double>>("system");  // row by row: A(i,1..n), B(i)
        QTest::addColumn<QString>("ergebnis");      // X(1..n), or the message and whether B is as entered
        // the example: the exact doubles of the order of operations
        QTest::newRow("example") << 3 << QList<double>{3, 4, 7, 90, 12, 10, 0, 78, 0, 12, 2, 56}
                                 << "3.9176954732510247 3.098765432098768 9.407407407407407";
        QTest::newRow("N=1") << 1 << QList<double>{4, 2} << "0.5";
        QTest::newRow("pivot equals threshold") << 1 << QList<double>{0.00001, 0.00001} << "1";
        QTest::newRow("negative pivot equals threshold") << 1 << QList<double>{-0.00001, 0.00002} << "-2";
        QTest::newRow("N=5") << 5 << QList<double>{2, 0, 0, 0, 0, 4, 1, 4, 0, 0, 0, 5, 0, 0, 8,
                                                   0, 0, 8, 0, 0, 0, 2, 0, 1, 0, 0, 0, 0, 1, 7}
                             << "2 0.75 1 0.5 7";
        QTest::newRow("reordered") << 2 << QList<double>{1, 0, 5, 0, 1, 6} << "5 6";
        const QString pivot = kMeldungPivot, ueber = kMeldungUeberlauf;
        QTest::newRow("zero diagonal") << 2 << QList<double>{0, 1, 5, 1, 0, 6} << pivot + " B";
        QTest::newRow("just below threshold") << 1 << QList<double>{-0.0000099999, 1} << pivot + " B";
        QTest::newRow("diagonal becomes small") << 2 << QList<double>{1, 2, 3, 1, 2.000001, 3} << pivot;
        QTest::newRow("N=0") << 0 << QList<double>{} << pivot + " B";
        QTest::newRow("N beyond the arrays") << 11 << QList<double>(110, 1.0) << pivot + " B";
        QTest::newRow("overflow in elimination") << 2 << QList<double>{1e-5, 1e300, 1, 1e300, 1, 1} << ueber;
        QTest::newRow("overflow in substitution")
            << 2 << QList<double>{1e-5, 1, 1e308, 0, 1e-5, 1e308} << ueber + " B";
        QTest::newRow("overflow in right-hand side")
            << 2 << QList<double>{1e-5, 1, 1e308, 1e300, 1e308, 1} << ueber;
    }
    void loesen() {
        QFETCH(int, n);
        QFETCH(QList<double>, system);
        QFETCH(QString, ergebnis);
        Meldungen meldungen;
        GS.X[1] = 11;
        GS.X[2] = 22;
        GS.Fehler = !ergebnis.startsWith("*");
        const int m = std::min(n, kMaxIndex);
        for (int i = 1; i <= m; ++i) {
            for (int j = 1; j <= m; ++j) GS.A[i][j] = system[(i - 1) * (m + 1) + j - 1];
            GS.B[i] = system[(i - 1) * (m + 1) + m];
        }
        GS.N = static_cast<std::int16_t>(n);
        const Vektor b = GS.B;
        SystemLoesen();
        QStringList x;
        for (int j = 1; j <= n && !GS.Fehler; ++j)
            x << QString::number(GS.X[j], 'g', QLocale::FloatingPointShortest);
        if (GS.Fehler) x << meldungen.texte.join('|').remove("Tovik: ") + (GS.B == b ? " B" : "");
        QCOMPARE(x.join(' '), ergebnis);
        QCOMPARE(meldungen.texte.size(), GS.Fehler ? 1 : 0);
        if (GS.Fehler) QCOMPARE(std::pair(GS.X[1], GS.X[2]), std::pair(11.0, 22.0));
    }

    void zahlText_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        const QList<std::pair<double, const char*>> faelle = {
            {3, " 3"},
            {0, " 0"},
            {-0.0, " 0"},
            {-2.5, "-2.5"},
            {0.5, " .5"},
            {-0.25, "-.25"},
            {1.0 / 3, " .333333333333333"},
            {2.0 / 3, " .666666666666667"},
            {1e15, " 1E+15"},
            {999999999999999.0, " 999999999999999"},
            {1.5e-5, " 1.5E-05"},
            {0.0001, " .0001"},
            {-1e-5, "-1E-05"},
            {1e100, " 1E+100"},
            {12.25, " 12.25"},
            {5e-324, " 4.94065645841247E-324"},
            // 15 digits rounded up would lie beyond the largest double: the largest readable instead
            {kMax, " 1.79769313486231E+308"},
            {-kMax, "-1.79769313486231E+308"}};
        for (const auto& [wert, text] : faelle) QTest::newRow(text) << wert << text;
    }
    void zahlText() {
        QFETCH(double, wert);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(ZahlText(wert)), text);
        // Into a buffer that an earlier, longer text left full: only what is written counts.
        ZahlTextPuffer puffer;
        puffer.fill('.');
        QCOMPARE(QString::fromStdString(std::string(ZahlTextSchreiben(wert, puffer))), text);
    }

    // What is read, or that the value lies beyond a double and the target is left alone.
    void zahlLesen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("wert");
        const QList<std::pair<const char*, const char*>> faelle = {
            {"", "0"},
            {"abc", "0"},
            {" .5", "0.5"},
            {"-2.5", "-2.5"},
            {"2,9", "2"},
            {"1.000.5", "1"},
            {"12abc", "12"},
            {"3 4", "34"},
            {"\t1\n2 .\t5", "12.5"},
            {"1e3", "1000"},
            {"- 7", "-7"},
            {"+7", "7"},
            {"2 E - 3", "0.002"},
            {"1E+x", "1"},
            {".", "0"},
            {"E5", "0"},
            {"5\r7", "5"},
            {"&H1F-", "31"},
            {"&hff", "255"},
            {"&O17", "15"},
            {"&O78", "7"},
            {"& X", "0"},
            {"1E-999", "0"},
            {"-123e-400", "0"},
            {"1E-99999999999999999999", "0"},
            {"0.000001e306", "1e+300"},
            {".0001E-305", "1e-309"},
            {"1.7976931348623157E308", "1.7976931348623157e+308"},
            {"1E999", "-"},
            {"-1E999", "-"},
            {"1.8E308", "-"},
            {"1E+000000000000000000400", "-"},
            {"0.001e312", "-"}};
        for (const auto& [text, wert] : faelle) QTest::newRow(text) << text << wert;
        // below the smallest double, with an exponent far from it
        QTest::newRow("330 zeros, 1E+5") << "." + QString(330, '0') + "1E+5"
                                         << "0";
        QTest::newRow("400 digits after the point, E-400") << "1." + QString(400, '1') + "E-400"
                                                           << "0";
        QTest::newRow("400 digits") << "1" + QString(400, '0') << "-";
        QTest::newRow("&H beyond a double") << "&H" + QString(300, 'F') << "-";
    }
    void zahlLesen() {
        QFETCH(QString, text);
        QFETCH(QString, wert);
        double gelesen = 99;
        const bool gelungen = ZahlLesen(text.toStdString(), gelesen);
        QCOMPARE(gelungen        ? QString::number(gelesen, 'g', QLocale::FloatingPointShortest)
                 : gelesen == 99 ? "-"
                                 : "?",
                 wert);
    }

    // Three decimals | whole number | scientific, with the separator handed in.
    void anzeigeformen_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("formen");
        const QList<std::pair<double, const char*>> faelle = {
            {3.9176954732510247, "3,918|4|3,92E+00"},
            {-12.5, "-12,500|-12|-1,25E+01"},
            {0, "0,000|0|0,00E+00"},
            {-0.0001, "0,000|0|-1,00E-04"},
            {123.4, "123,400|123|1,23E+02"},
            {-2.842170943040401e-14, "0,000|0|-2,84E-14"},
            {1e16, "10000000000000000,000|10000000000000000|1,00E+16"},
            {2.5, "2,500|2|2,50E+00"},
            {-1.5e20, "-150000000000000000000,000|-150000000000000000000|-1,50E+20"},
            {qInf(), "Überlauf|Überlauf|Überlauf"},
            {qQNaN(), "Überlauf|Überlauf|Überlauf"}};
        for (const auto& [wert, formen] : faelle) QTest::newRow(formen) << wert << formen;
    }
    void anzeigeformen() {
        QFETCH(double, wert);
        QFETCH(QString, formen);
        QCOMPARE(QString::fromStdString(DreiDezimalen(wert, ",") + "|" + GanzeZahl(wert) + "|" +
                                        Wissenschaftlich(wert, ",")),
                 formen);
    }
};

TOVIK_TEST_GUILESS_MAIN(TstSolver)
#include "tst_solver.moc"
