// The commands that compute, check and mirror, and the display of the record.

#include <QLocale>
#include <limits>
#include <memory>

#include "Fensterhilfen.h"
#include "Gleichungssystem.h"

using tovik::GS;

namespace {

const QString kPivot = QStringLiteral("*** Hauptdiagonalglied < 10-5!");

QStringList Spalte(frm_Tovik& w, const char* reihe, int n) {
    QStringList texte;
    for (int k = 0; k < n; ++k) texte << Zelle(w, reihe, k)->text();
    return texte;
}

}  // namespace

class TstFensterBefehle : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    QLocale vorher_;

    void Klick(QPushButton* knopf) { QTest::mouseClick(knopf, Qt::LeftButton); }

    // Types a whole system into the window: N, then every cell, row by row.
    void Eingeben(const QString& n, const QList<QStringList>& zeilen, const QStringList& b) {
        Ersetzen(w->Text3, n);
        for (int i = 0; i < zeilen.size(); ++i)
            for (int j = 0; j < zeilen[i].size(); ++j) Tippen(Zelle(*w, kReihen[i], j), zeilen[i][j]);
        for (int i = 0; i < b.size(); ++i) Tippen(Zelle(*w, "Text9", i), b[i]);
    }

private slots:
    void init() {
        vorher_ = QLocale();
        tovik::GleichungssystemZuruecksetzen();
        w = std::make_unique<frm_Tovik>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(vorher_);
    }

    void beispiel_data() {
        QTest::addColumn<QLocale>("gebiet");
        QTest::addColumn<QStringList>("loesung");
        QTest::addColumn<QStringList>("kontrolle");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << QStringList{"X( 1) = 3.918", "X( 2) = 3.099", "X( 3) = 9.407"}
                                 << QStringList{"0.00E+00", "-2.84E-14", "2.84E-14"};
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << QStringList{"X( 1) = 3,918", "X( 2) = 3,099", "X( 3) = 9,407"}
                                << QStringList{"0,00E+00", "-2,84E-14", "2,84E-14"};
    }
    void beispiel() {
        QFETCH(QLocale, gebiet);
        QFETCH(QStringList, loesung);
        QFETCH(QStringList, kontrolle);
        QLocale::setDefault(gebiet);
        Beantworter antwort;
        const tovik::Gleichungssystem eingabe = GS;
        Klick(w->Command1);
        QCOMPARE(Spalte(*w, "Text10", 3), loesung);
        QCOMPARE(GS.X[1], 3.9176954732510247);
        QVERIFY(!GS.Fehler);
        // The record is back to the entered system, not its reduced form.
        QCOMPARE(GS.A, eingabe.A);
        QCOMPARE(GS.B, eingabe.B);
        QCOMPARE(Spalte(*w, "Text4", 3), (QStringList{" 3", " 4", " 7"}));
        QVERIFY(Spalte(*w, "Text11", 3).join("").isEmpty());  // untouched by compute
        Klick(w->Command6);
        QCOMPARE(Spalte(*w, "Text11", 3), kontrolle);
        QVERIFY(antwort.boxen.empty());
    }

    void kontrolleVorDerBerechnung() {
        Klick(w->Command6);
        QCOMPARE(Spalte(*w, "Text11", 3), (QStringList{"0.00E+00", "0.00E+00", "0.00E+00"}));
    }

    // The control product belongs to the last solve, not to what the cells now show.
    void kontrolleZurLetztenLoesung() {
        Klick(w->Command1);
        Ersetzen(Zelle(*w, "Text9", 0), "100");
        QCOMPARE(GS.B[1], 100.0);
        Klick(w->Command6);
        QCOMPARE(Spalte(*w, "Text11", 3), (QStringList{"0.00E+00", "-2.84E-14", "2.84E-14"}));
        // A second compute leaves the old control product standing.
        Klick(w->Command1);
        QCOMPARE(Zelle(*w, "Text10", 0)->text(), QStringLiteral("X( 1) = 4.123"));
        QCOMPARE(Spalte(*w, "Text11", 3), (QStringList{"0.00E+00", "-2.84E-14", "2.84E-14"}));
    }

    void kontrolleUeberlauf() {
        Klick(w->Command1);
        GS.X[1] = std::numeric_limits<double>::max();
        Klick(w->Command6);
        QCOMPARE(Zelle(*w, "Text11", 0)->text(), QStringLiteral("Überlauf"));
        QCOMPARE(Zelle(*w, "Text11", 2)->text(), QStringLiteral("2.84E-14"));
    }

    void abgelehnt_data() {
        QTest::addColumn<QString>("n");
        QTest::addColumn<QList<QStringList>>("a");
        QTest::addColumn<QStringList>("b");
        QTest::newRow("zero pivot") << "2" << QList<QStringList>{{"0", "1"}, {"1", "0"}} << QStringList{"1", "2"};
        QTest::newRow("small during elimination")
            << "2" << QList<QStringList>{{"1", "2"}, {"1", "2,000001"}} << QStringList{"3", "3"};
        QTest::newRow("overflow") << "2" << QList<QStringList>{{"1E-5", "1E300"}, {"1E300", "1"}}
                                  << QStringList{"1E300", "1"};
    }
    void abgelehnt() {
        QFETCH(QString, n);
        QFETCH(QList<QStringList>, a);
        QFETCH(QStringList, b);
        Klick(w->Command1);  // a good solve first: X must survive the refused one
        const tovik::Vektor xAlt = GS.X;
        Eingeben(n, a, b);
        const tovik::Gleichungssystem eingabe = GS;
        Beantworter antwort;
        Klick(w->Command1);
        QCOMPARE(antwort.boxen.size(), std::size_t(1));
        QCOMPARE(antwort.boxen[0].titel, QStringLiteral("Tovik"));
        if (QTest::currentDataTag() != QByteArray("overflow")) QCOMPARE(antwort.boxen[0].text, kPivot);
        QVERIFY(GS.Fehler);
        QCOMPARE(GS.X, xAlt);
        QCOMPARE(Spalte(*w, "Text10", 2), (QStringList{"", ""}));
        QCOMPARE(GS.A, eingabe.A);
        QCOMPARE(GS.B, eingabe.B);
        QCOMPARE(Spalte(*w, "Text4", 2), a[0]);  // the grid still shows what was typed
    }

    void eigenesSystem() {
        Eingeben("2", {{"2", "1"}, {"1", "3"}}, {"3", "5"});
        Klick(w->Command1);
        QCOMPARE(Spalte(*w, "Text10", 2), (QStringList{"X( 1) = 0.800", "X( 2) = 1.400"}));
        QCOMPARE(GS.A[1][1], 2.0);
        QCOMPARE(GS.A[2][1], 1.0);
        QCOMPARE(GS.B[2], 5.0);
    }

    void symmetrisch() {
        Klick(w->Command1);
        Klick(w->Command6);
        const tovik::Vektor x = GS.X, b = GS.B;
        Klick(w->Command5);
        const double erwartet[3][3] = {{3, 4, 7}, {4, 10, 0}, {7, 0, 2}};
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) QCOMPARE(GS.A[i][j], erwartet[i - 1][j - 1]);
        QCOMPARE(GS.X, x);
        QCOMPARE(GS.B, b);
        QCOMPARE(Spalte(*w, "Text5", 3), (QStringList{" 4", " 10", " 0"}));
        QCOMPARE(Spalte(*w, "Text6", 3), (QStringList{" 7", " 0", " 2"}));
        QCOMPARE(Spalte(*w, "Text10", 3), (QStringList{"X( 1) = ", "X( 2) = ", "X( 3) = "}));
        QCOMPARE(Spalte(*w, "Text11", 3), (QStringList{"", "", ""}));
        QCOMPARE(RasterAbweichung(*w, 3, false), QString());
    }

    // The display writes the plain number text: point as separator whatever the locale.
    void anzeigeKlartext() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        GS.Projekt = "Neu, mit Komma";
        GS.Position = "";
        GS.A[1][1] = 0.5;
        GS.A[1][2] = -0.25;
        GS.B[3] = -2.5;
        w->SystemAnzeigen();
        QCOMPARE(w->Text1->text(), QStringLiteral("Neu, mit Komma"));
        QCOMPARE(w->Text2->text(), QString());
        QCOMPARE(w->Text3->text(), QStringLiteral(" 3"));
        QCOMPARE(Spalte(*w, "Text4", 2), (QStringList{" .5", "-.25"}));
        QCOMPARE(Zelle(*w, "Text9", 2)->text(), QStringLiteral("-2.5"));
        QCOMPARE(GS.N, std::int16_t(3));
        QCOMPARE(GS.A[1][1], 0.5);  // the display clears nothing
    }

    void nullGleichungen() {
        Ersetzen(w->Text3, "0");
        Beantworter antwort;
        Klick(w->Command1);
        QCOMPARE(antwort.Texte(), QStringList{kPivot});
        Klick(w->Command6);
        Klick(w->Command5);
        QCOMPARE(antwort.boxen.size(), std::size_t(1));
        QCOMPARE(w->Text3->text(), QStringLiteral(" 0"));
        QCOMPARE(RasterAbweichung(*w, 0, false), QString());
    }

    // N = 1: mirroring changes nothing but still removes the solution value.
    void einsSymmetrisch() {
        Eingeben("1", {{"4"}}, {"2"});
        Klick(w->Command1);
        QCOMPARE(Zelle(*w, "Text10", 0)->text(), QStringLiteral("X( 1) = 0.500"));
        Klick(w->Command5);
        QCOMPARE(Zelle(*w, "Text10", 0)->text(), QStringLiteral("X( 1) = "));
        QCOMPARE(GS.A[1][1], 4.0);
    }
};

TOVIK_FENSTER_TEST_MAIN(TstFensterBefehle)
#include "tst_fenster_befehle.moc"
