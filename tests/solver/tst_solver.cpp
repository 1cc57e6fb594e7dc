// The solver on the record, and the number texts: written, read, shown.

#include <limits>

#include "Gleichungssystem.h"
#include "Testhilfen.h"
#include "Zahltext.h"

using namespace tovik;

class TstSolver : public QObject {
    Q_OBJECT
    static QString Zahl(double wert) { return QString::number(wert, 'g', QLocale::FloatingPointShortest); }

private slots:
    void init() { GleichungssystemZuruecksetzen(); }

    // A system row by row, "A(i,1) ... A(i,N) B(i); ...". Solved: X, and A0, B0 as entered.
    // Refused: the one message, Fehler, X as the solve before left it, and " B" where B is still
    // as entered, the stop coming before B was reduced.
    void loesen_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("ergebnis");
        const QString tovik = "Tovik: ", pivot = tovik + kMeldungPivot, ueber = tovik + kMeldungUeberlauf;
        const QList<std::pair<QString, QString>> faelle = {
            // the example: the exact doubles of the order of operations
            {"3 4 7 90; 12 10 0 78; 0 12 2 56", "3.9176954732510247 3.098765432098768 9.407407407407407"},
            {"0.00001 0.00001", "1"},
            {"-0.00001 0.00002", "-2"},
            {"2 0 0 0 0 4; 1 4 0 0 0 5; 0 0 8 0 0 8; 0 0 0 2 0 1; 0 0 0 0 1 7", "2 0.75 1 0.5 7"},
            {"0 1 5; 1 0 6", pivot + " B"},
            {"-0.0000099999 1", pivot + " B"},
            {"1 2 3; 1 2.000001 3", pivot},
            {"", pivot + " B"},
            {";;;;;;;;;;", pivot + " B"},  // N = 11, beyond the arrays
            {"1e-5 1e300 1; 1e300 1 1", ueber},
            {"1e-5 1 1e308; 0 1e-5 1e308", ueber + " B"},
            {"1e-5 1 1e308; 1e300 1e308 1", ueber}};
        for (const auto& [s, e] : faelle) QTest::addRow("\"%s\"", qPrintable(s)) << s << e;
    }
    void loesen() {
        QFETCH(QString, system);
        QFETCH(QString, ergebnis);
        Meldungen meldungen;
        const QStringList werte = system.split(QRegularExpression("[; ]"), Qt::SkipEmptyParts);
        const int n = GS.N = std::int16_t(system.isEmpty() ? 0 : system.count(';') + 1), m = n + 1;
        for (int k = 0; k < werte.size(); ++k)
            (k % m < n ? GS.A[k / m + 1][k % m + 1] : GS.B[k / m + 1]) = werte[k].toDouble();
        GS.X = {0, 11, 22};
        GS.Fehler = !ergebnis.startsWith("Tovik");  // the solve has to set it either way
        const Gleichungssystem vorher = GS;
        SystemLoesen();
        QStringList x = meldungen.texte;
        for (int j = 1; j <= GS.N && !GS.Fehler; ++j) x << Zahl(GS.X[j]);
        if (GS.Fehler && GS.B == vorher.B) x << "B";
        QCOMPARE(x.join(' '), ergebnis);
        if (GS.Fehler) QVERIFY(GS.X == vorher.X);
        if (GS.N <= kMaxIndex) QVERIFY(GS.A0 == vorher.A && GS.B0 == vorher.B);
    }

    // Plain number text | three decimals | whole number | scientific, the separator handed in.
    // An empty form is not looked at: the plain text of a value that is never written, the
    // display forms of one too long for a line.
    void zahlFormen_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("formen");
        const QList<std::pair<double, const char*>> faelle = {
            {3, " 3|3,000|3|3,00E+00"},
            {0, " 0|0,000|0|0,00E+00"},
            {-0.0, " 0|0,000|0|0,00E+00"},
            {0.5, " .5|0,500|0|5,00E-01"},
            {-0.25, "-.25|-0,250|0|-2,50E-01"},
            {1.0 / 3, " .333333333333333|0,333|0|3,33E-01"},
            {2.0 / 3, " .666666666666667|0,667|1|6,67E-01"},
            {3.9176954732510247, " 3.91769547325102|3,918|4|3,92E+00"},
            {-12.5, "-12.5|-12,500|-12|-1,25E+01"},
            {1e15, " 1E+15|1000000000000000,000|1000000000000000|1,00E+15"},
            {999999999999999.0, " 999999999999999|999999999999999,000|999999999999999|1,00E+15"},
            // beyond 15 digits zeros, not the binary expansion (99999999999999991611392)
            {-1e23, "-1E+23|-100000000000000000000000,000|-100000000000000000000000|-1,00E+23"},
            {-0.0001, "-.0001|0,000|0|-1,00E-04"},
            {1.5e-5, " 1.5E-05|0,000|0|1,50E-05"},
            {-2.842170943040401e-14, "-2.8421709430404E-14|0,000|0|-2,84E-14"},
            {5e-324, " 4.94065645841247E-324|0,000|0|4,94E-324"},
            {qInf(), "|Überlauf|Überlauf|Überlauf"},
            {qQNaN(), "|Überlauf|Überlauf|Überlauf"},
            // 15 digits rounded up would lie beyond the largest double: the largest readable instead
            {std::numeric_limits<double>::max(), " 1.79769313486231E+308|||"}};
        for (const auto& [wert, formen] : faelle) QTest::addRow("%.17g", wert) << wert << formen;
    }
    void zahlFormen() {
        QFETCH(double, wert);
        QFETCH(QString, formen);
        ZahlTextPuffer puffer;
        puffer.fill('.');  // as an earlier, longer text left it: only what is written counts
        QCOMPARE(std::string(ZahlTextSchreiben(wert, puffer)), ZahlText(wert));
        QStringList alle = QString::fromStdString(ZahlText(wert) + "|" + DreiDezimalen(wert, ",") + "|" +
                                                  GanzeZahl(wert) + "|" + Wissenschaftlich(wert, ","))
                               .split('|');
        for (int k = 0; k < alle.size(); ++k) alle[k] = formen.section('|', k, k).isEmpty() ? "" : alle[k];
        QCOMPARE(alle.join('|'), formen);
    }

    // What is read, or that the value lies beyond a double and the target is left alone.
    // Blanks, tabs and line feeds are skipped everywhere: spread between all characters, they
    // change nothing.
    void zahlLesen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("wert");
        const QList<std::pair<QString, QString>> faelle = {
            {"", "0"},
            {"abc", "0"},
            {" .5", "0.5"},
            {"-2.5", "-2.5"},
            {"2,9", "2"},
            {"1.000.5", "1"},
            {"12abc", "12"},
            {"1e3", "1000"},
            {"+7", "7"},
            {"1E+x", "1"},
            {".", "0"},
            {"E5", "0"},
            {"5\r7", "5"},
            {"&HA9F-", "2719"},
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
            {"1E999", "beyond, kept 99"},
            {"1.8E308", "beyond, kept 99"},
            {"1E+000000000000000000400", "beyond, kept 99"},
            {"0.001e312", "beyond, kept 99"},
            {"." + QString(330, '0') + "1E+5", "0"},  // below the smallest double, an exponent far from it
            {"1." + QString(400, '1') + "E-400", "0"},
            {"1" + QString(400, '0') + "E-50", "beyond, kept 99"},
            {"&H" + QString(300, 'F'), "beyond, kept 99"}};
        for (const auto& [t, w] : faelle) QTest::addRow("\"%s\"", qPrintable(t.left(40))) << t << w;
    }
    void zahlLesen() {
        QFETCH(QString, text);
        QFETCH(QString, wert);
        for (const QString& t : {text, text.split(QString()).join(" \t\n")}) {
            double gelesen = 99;
            const bool gelungen = ZahlLesen(t.toStdString(), gelesen);
            QCOMPARE((gelungen ? "" : "beyond, kept ") + Zahl(gelesen), wert);
        }
    }
};

TOVIK_TEST_GUILESS_MAIN(TstSolver)
#include "tst_solver.moc"
