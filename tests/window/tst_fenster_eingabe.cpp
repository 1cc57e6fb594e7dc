// Typing into the window: the N field, the cells of A and B, the header fields, and the
// reading of one cell text.

#include <memory>

#include "Fensterhilfen.h"
#include "Gleichungssystem.h"
#include "Meldung.h"
#include "Mod_Allg.h"

using tovik::GS;

namespace {

const QString kRang = QStringLiteral("max. Rang des Gleichungssystems: N = 5");
const QString kFehlerhaft = QStringLiteral("fehlerhafte Eingabe");

bool BeispielImSatz() {
    const double a[3][3] = {{3, 4, 7}, {12, 10, 0}, {0, 12, 2}};
    const double b[3] = {90, 78, 56};
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j)
            if (GS.A[i][j] != a[i - 1][j - 1]) return false;
        if (GS.B[i] != b[i - 1]) return false;
    }
    return true;
}

bool BlockNull(int n) {
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            if (GS.A[i][j] != 0) return false;
        if (GS.B[i] != 0) return false;
    }
    return true;
}

}  // namespace

class TstFensterEingabe : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;

private slots:
    void init() {
        tovik::GleichungssystemZuruecksetzen();
        w = std::make_unique<frm_Tovik>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() { w.reset(); }

    // The whole field text at once, as the program or a paste would set it.
    void nFeld_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("meldungen");
        QTest::addColumn<QString>("danach");  // field text afterwards
        QTest::addColumn<bool>("behalten");   // example system still in the record
        QTest::newRow("same N with zero") << "03" << 3 << 0 << "03" << true;
        QTest::newRow("same N with blank") << " 3 " << 3 << 0 << " 3 " << true;
        QTest::newRow("comma ends") << "2,9" << 2 << 0 << "2,9" << false;
        QTest::newRow("half to even down") << "2.5" << 2 << 0 << "2.5" << false;
        QTest::newRow("half to even up") << "3.5" << 4 << 0 << "3.5" << false;
        QTest::newRow("4.6 rounds to 5") << "4.6" << 5 << 0 << "4.6" << false;
        QTest::newRow("5.5 rounds to 6") << "5.5" << 5 << 1 << " 5" << false;
        QTest::newRow("37") << "37" << 5 << 1 << " 5" << false;
        QTest::newRow("beyond 16 bits") << "40000" << 5 << 1 << " 5" << false;
        QTest::newRow("beyond a double") << "1E999" << 5 << 1 << " 5" << false;
        QTest::newRow("empty") << "" << 0 << 0 << "" << false;
        QTest::newRow("letters") << "abc" << 0 << 0 << "abc" << false;
        QTest::newRow("negative") << "-3" << 0 << 0 << "-3" << false;
        QTest::newRow("small negative") << "-0.4" << 0 << 0 << "-0.4" << false;
        QTest::newRow("hexadecimal") << "&H4" << 4 << 0 << "&H4" << false;
    }
    void nFeld() {
        QFETCH(QString, feld);
        QFETCH(int, n);
        QFETCH(int, meldungen);
        QFETCH(QString, danach);
        QFETCH(bool, behalten);
        Beantworter antwort;
        w->Text3->setText(feld);
        QCOMPARE(int(antwort.boxen.size()), meldungen);
        for (const auto& b : antwort.boxen) {
            QCOMPARE(b.text, kRang);
            QCOMPARE(b.titel, QStringLiteral("Tovik"));
        }
        QCOMPARE(int(GS.N), n);
        QCOMPARE(w->Text3->text(), danach);
        QCOMPARE(BeispielImSatz(), behalten);
        if (!behalten) QVERIFY(BlockNull(3));
        QCOMPARE(RasterAbweichung(*w, n, true), QString());
    }

    // Key by key into the field, as the user types.
    void nGetippt_data() {
        QTest::addColumn<bool>("vorne");  // typed at the start instead of the end
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("meldungen");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<bool>("behalten");
        QTest::newRow("7 behind the 3") << false << "7" << 5 << 1 << " 5" << false;
        QTest::newRow("0 in front") << true << "0" << 3 << 0 << "0 3" << true;
        QTest::newRow("blank behind") << false << " " << 3 << 0 << " 3 " << true;
    }
    void nGetippt() {
        QFETCH(bool, vorne);
        QFETCH(QString, tasten);
        QFETCH(int, n);
        QFETCH(int, meldungen);
        QFETCH(QString, danach);
        QFETCH(bool, behalten);
        Beantworter antwort;
        w->Text3->setFocus();
        QTest::keyClick(w->Text3, vorne ? Qt::Key_Home : Qt::Key_End);
        QTest::keyClicks(w->Text3, tasten);
        QCOMPARE(antwort.Texte(), QStringList(meldungen, kRang));
        QCOMPARE(int(GS.N), n);
        QCOMPARE(w->Text3->text(), danach);
        QCOMPARE(BeispielImSatz(), behalten);
        if (!behalten) QVERIFY(BlockNull(5));
        // Same N or not, the visible cells are emptied; the values stay in the record.
        QCOMPARE(RasterAbweichung(*w, n, true), QString());
    }

    void nVonFuenfAufZwei() {
        Beantworter antwort;
        Ersetzen(w->Text3, "5");
        for (int i = 1; i <= 5; ++i) {
            for (int j = 1; j <= 5; ++j) GS.A[i][j] = 1;
            GS.B[i] = 1;
        }
        GS.A[6][6] = 9;  // outside the block: untouched
        Ersetzen(w->Text3, "2");
        QVERIFY(antwort.boxen.empty());
        QCOMPARE(GS.N, std::int16_t(2));
        QVERIFY(BlockNull(5));
        QCOMPARE(GS.A[6][6], 9.0);
        QCOMPARE(RasterAbweichung(*w, 2, true), QString());
        // Deleting the digit leaves an empty field: N = 0, every cell hidden.
        QTest::keyClick(w->Text3, Qt::Key_Backspace);
        QCOMPARE(GS.N, std::int16_t(0));
        QCOMPARE(RasterAbweichung(*w, 0, true), QString());
    }

    // A cell is read on the release of a key, not on its press; the text keeps the comma.
    void einsKommaFuenf() {
        QLineEdit* zelle = Zelle(*w, "Text5", 1);  // A(2,2)
        zelle->setFocus();
        zelle->clear();
        const std::pair<Qt::Key, double> schritte[] = {{Qt::Key_1, 1}, {Qt::Key_Comma, 1}, {Qt::Key_5, 1.5}};
        double vorher = 10;
        for (const auto& [taste, wert] : schritte) {
            QTest::keyPress(zelle, taste);
            QCOMPARE(GS.A[2][2], vorher);
            QTest::keyRelease(zelle, taste);
            QCOMPARE(GS.A[2][2], wert);
            vorher = wert;
        }
        QCOMPARE(zelle->text(), QStringLiteral("1,5"));
        QCOMPARE(GS.A[2][1], 12.0);  // the rest of the row read from its own cells
        QCOMPARE(GS.A[2][3], 0.0);
        QCOMPARE(GS.A[1][2], 4.0);   // other rows untouched
    }

    // Every release re-reads the whole row, also cells changed without a key.
    void zeileNeuGelesen_data() {
        QTest::addColumn<QString>("reihe");
        QTest::addColumn<int>("zeile");  // 1..5 for A, 0 for B
        QTest::newRow("row 1") << "Text4" << 1;
        QTest::newRow("row 3") << "Text6" << 3;
        QTest::newRow("B") << "Text9" << 0;
    }
    void zeileNeuGelesen() {
        QFETCH(QString, reihe);
        QFETCH(int, zeile);
        const QByteArray name = reihe.toLatin1();
        Zelle(*w, name, 0)->setText("7");  // pasted: no key release yet
        Zelle(*w, name, 1)->setText("");
        const tovik::Vektor& ziel = zeile ? GS.A[zeile] : GS.B;
        const double alt = ziel[1];
        QVERIFY(alt != 7);
        QLineEdit* dritte = Zelle(*w, name, 2);
        dritte->setFocus();
        QTest::keyPress(dritte, Qt::Key_Shift);
        QCOMPARE(ziel[1], alt);
        QTest::keyRelease(dritte, Qt::Key_Shift);
        QCOMPARE(ziel[1], 7.0);
        QCOMPARE(ziel[2], 0.0);
    }

    // N = 2: two cells per row are read; the rest of the record row stays.
    void nurNZellenGelesen() {
        Ersetzen(w->Text3, "2");
        GS.A[1][3] = 5;
        Tippen(Zelle(*w, "Text4", 0), "8");
        QCOMPARE(GS.A[1][1], 8.0);
        QCOMPARE(GS.A[1][2], 0.0);
        QCOMPARE(GS.A[1][3], 5.0);
    }

    // The release of Tab belongs to the cell that has just received the focus.
    void tabulatorLoslassenImNeuenFeld() {
        Zelle(*w, "Text5", 0)->setText("8");
        QLineEdit* von = Zelle(*w, "Text4", 0);
        von->setFocus();
        QTest::keyPress(von, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Zelle(*w, "Text5", 0));
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(GS.A[2][1], 8.0);
    }

    void ueberlaufBehaeltWert() {
        Beantworter antwort;
        QLineEdit* zelle = Zelle(*w, "Text4", 1);  // A(1,2) = 4
        zelle->setFocus();
        QTest::keyClick(zelle, Qt::Key_End);
        QTest::keyClicks(zelle, "E999");  // 4E, 4E9, 4E99 read; 4E999 overflows
        QCOMPARE(antwort.Texte(), QStringList{kFehlerhaft});
        QCOMPARE(antwort.boxen[0].titel, QStringLiteral("Tovik"));
        QCOMPARE(GS.A[1][2], 4e99);
        QCOMPARE(GS.A[1][1], 3.0);
        // The message comes again at the next release in the row, until corrected.
        QTest::keyClick(Zelle(*w, "Text4", 0), Qt::Key_Right);
        QCOMPARE(antwort.boxen.size(), std::size_t(2));
        QTest::keyClick(zelle, Qt::Key_Backspace);
        QCOMPARE(antwort.boxen.size(), std::size_t(2));
        QCOMPARE(GS.A[1][2], 4e99);
    }

    void kopfFelderBeimVerlassen() {
        Tippen(w->Text1, "X");
        QCOMPARE(GS.Projekt, std::string("Test"));  // not yet: the field still has the focus
        QTest::keyClick(w->Text1, Qt::Key_Tab);
        QCOMPARE(GS.Projekt, std::string("TestX"));
        Ersetzen(w->Text2, "");
        QTest::mouseClick(w->Command6, Qt::LeftButton);  // a click takes the focus
        QCOMPARE(GS.Position, std::string());
        // Typing in the solution and control columns changes no value.
        const tovik::Gleichungssystem vorher = GS;
        Tippen(Zelle(*w, "Text10", 0), "9");
        Tippen(Zelle(*w, "Text11", 0), "9");
        QCOMPARE(GS.X, vorher.X);
        QCOMPARE(GS.A, vorher.A);
        QCOMPARE(GS.B, vorher.B);
    }

    // An edited header field is taken before the clicked command runs.
    void kopfVorDemBefehl() {
        Tippen(w->Text1, "Neu");
        QTest::mouseClick(w->Command5, Qt::LeftButton);
        QCOMPARE(GS.Projekt, std::string("TestNeu"));
        QCOMPARE(w->Text1->text(), QStringLiteral("TestNeu"));
    }

    void zahlAusText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::addColumn<bool>("meldung");
        QTest::newRow("point") << "1.5" << 1.5 << false;
        QTest::newRow("comma") << "1,5" << 1.5 << false;
        QTest::newRow("comma only in front") << "-,5" << -0.5 << false;
        QTest::newRow("second comma ends") << "1,5,3" << 1.5 << false;
        QTest::newRow("thousands dot") << "1.000,5" << 1.0 << false;
        QTest::newRow("trailing comma") << "1," << 1.0 << false;
        QTest::newRow("empty") << "" << 0.0 << false;
        QTest::newRow("blanks") << "   " << 0.0 << false;
        QTest::newRow("letters") << "abc" << 0.0 << false;
        QTest::newRow("leading number") << "12abc" << 12.0 << false;
        QTest::newRow("blank inside") << "3 4" << 34.0 << false;
        QTest::newRow("exponent") << "2e3" << 2000.0 << false;
        QTest::newRow("comma and exponent") << "2,5E2" << 250.0 << false;
        QTest::newRow("overflow") << "1E999" << 7.0 << true;
        QTest::newRow("comma at 32768") << QString(32766, ' ') + "1,5" << 7.0 << true;
        QTest::newRow("comma at 32767") << QString(32765, ' ') + "1,5" << 1.5 << false;
    }
    void zahlAusText() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QFETCH(bool, meldung);
        QStringList meldungen;
        const auto vorher = tovik::SetzeMeldungsHook(
            [&](const std::string& t, const std::string&) { meldungen << QString::fromStdString(t); });
        double ziel = 7;
        const QString kopie = text;
        ZahlAusText(text, ziel);
        tovik::SetzeMeldungsHook(vorher);
        QCOMPARE(ziel, wert);
        QCOMPARE(meldungen, meldung ? QStringList{kFehlerhaft} : QStringList{});
        QCOMPARE(text, kopie);
    }
};

TOVIK_FENSTER_TEST_MAIN(TstFensterEingabe)
#include "tst_fenster_eingabe.moc"
