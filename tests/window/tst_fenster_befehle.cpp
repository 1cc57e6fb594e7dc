// The commands that compute, check and mirror, and the display of the record.

#include <QLocale>
#include <limits>

#include "Fensterhilfen.h"

namespace {

const QStringList kKontrolle = {"0.00E+00", "-2.84E-14", "2.84E-14"};

void Klick(QPushButton* knopf) { QTest::mouseClick(knopf, Qt::LeftButton); }

}  // namespace

class TstFensterBefehle : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    const QLocale vorher_;

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        w = NeuesFenster(true);
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(vorher_);
    }

    // The solution and control product follow the default locale's decimal separator.
    void beispiel_data() {
        QTest::addColumn<QLocale>("gebiet");
        QTest::addColumn<QStringList>("loesung");
        QTest::addColumn<QStringList>("kontrolle");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << QStringList{"X( 1) = 3.918", "X( 2) = 3.099", "X( 3) = 9.407"} << kKontrolle;
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
        Klick(w->Command1);
        QCOMPARE(Spalte(w->Text10, 3), loesung);
        QCOMPARE(Satz(3), kBeispielSatz);  // the entered system again, not its reduced form
        Klick(w->Command6);
        QCOMPARE(Spalte(w->Text11, 3), kontrolle);
        QVERIFY(antwort.texte.isEmpty());
    }

    // The control product belongs to the last solve, not to what the cells now show, and a
    // new solve leaves it standing.
    void kontrolleZurLetztenLoesung() {
        Klick(w->Command1);
        Ersetzen(w->Text9[0], "100");
        Klick(w->Command6);
        QCOMPARE(Spalte(w->Text11, 3), kKontrolle);
        Klick(w->Command1);
        QCOMPARE(w->Text10[0]->text(), QStringLiteral("X( 1) = 4.123"));
        QCOMPARE(Spalte(w->Text11, 3), kKontrolle);
    }

    void kontrolleUeberlauf() {
        Klick(w->Command1);
        GS.X[1] = std::numeric_limits<double>::max();
        Klick(w->Command6);
        QCOMPARE(Spalte(w->Text11, 3), (QStringList{"Überlauf", "Überlauf", "2.84E-14"}));
    }

    // A solve refused during the elimination: one message, no solution shown, and the
    // record holds the entered system, not the partly reduced one.
    void abgelehnt() {
        Ersetzen(w->Text3, "2");
        GS.A[1][1] = GS.A[1][2] = GS.A[2][1] = 1;
        GS.A[2][2] = 1.000001;
        GS.B[1] = GS.B[2] = 2;
        w->SystemAnzeigen();  // shows "X( 1) = " and "X( 2) = "
        Beantworter antwort;
        Klick(w->Command1);
        QCOMPARE(antwort.texte, QStringList{"Tovik: *** Hauptdiagonalglied < 10-5!"});
        QCOMPARE(Spalte(w->Text10, 2), QStringList(2, QString()));
        QCOMPARE(Satz(2), QStringLiteral("1 1 | 2; 1 1.000001 | 2"));
    }

    // Mirroring copies the upper triangle down and shows the record again, without solution.
    void symmetrisch() {
        Klick(w->Command1);
        Klick(w->Command5);
        QCOMPARE(Satz(3), QStringLiteral("3 4 7 | 90; 4 10 0 | 78; 7 0 2 | 56"));
        QCOMPARE(Spalte(w->Text6, 3), (QStringList{" 7", " 0", " 2"}));
        QCOMPARE(Spalte(w->Text10, 3), (QStringList{"X( 1) = ", "X( 2) = ", "X( 3) = "}));
    }

    // The display, as after opening a file: plain number text with a point whatever the
    // locale, the header texts, and N taken without clearing the record.
    void anzeige() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        GS.Projekt = "Neu, mit Komma";
        GS.Position = "7b";
        GS.N = 2;
        GS.A[1][2] = -0.25;
        GS.B[2] = 0.5;
        w->SystemAnzeigen();
        QCOMPARE(QStringList({w->Text1->text(), w->Text2->text(), w->Text3->text()}),
                 (QStringList{"Neu, mit Komma", "7b", " 2"}));
        QCOMPARE(Spalte(w->Text4, 2), (QStringList{" 3", "-.25"}));
        QCOMPARE(Spalte(w->Text9, 2), (QStringList{" 90", " .5"}));
        QCOMPARE(RasterAbweichung(*w, 2, false), QString());
        QCOMPARE(Satz(2), QStringLiteral("3 -0.25 | 90; 12 10 | 0.5"));
    }
};

TOVIK_FENSTER_TEST_MAIN(TstFensterBefehle)
#include "tst_fenster_befehle.moc"
