// Typing into the window: the N field, the cells of A and B, the header fields, and the
// reading of one cell text.

#include "Fensterhilfen.h"
#include "Meldung.h"
#include "Mod_Allg.h"

namespace {

const QString kRang = QStringLiteral("Tovik: max. Rang des Gleichungssystems: N = 5");
const QString kFehlerhaft = QStringLiteral("fehlerhafte Eingabe");

}  // namespace

class TstFensterEingabe : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;

private slots:
    void init() { w = NeuesFenster(true); }
    void cleanup() { w.reset(); }

    // Typing and pasting both reach the field's change handler; a new N zeroes the old block.
    void nFeld_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("meldung");
        QTest::addColumn<QString>("danach");  // field text afterwards
        QTest::newRow("same N with zero") << "03" << 3 << false << "03";
        QTest::newRow("comma ends") << "2,9" << 2 << false << "2,9";
        QTest::newRow("half to even down") << "2.5" << 2 << false << "2.5";
        QTest::newRow("half to even up") << "3.5" << 4 << false << "3.5";
        QTest::newRow("5.5 rounds to 6") << "5.5" << 5 << true << " 5";
        QTest::newRow("37") << "37" << 5 << true << " 5";
        QTest::newRow("beyond 16 bits") << "40000" << 5 << true << " 5";
        QTest::newRow("beyond a double") << "1E999" << 5 << true << " 5";
        QTest::newRow("empty") << "" << 0 << false << "";
        QTest::newRow("letters") << "abc" << 0 << false << "abc";
        QTest::newRow("negative") << "-3" << 0 << false << "-3";
    }
    void nFeld() {
        QFETCH(QString, feld);
        QFETCH(int, n);
        QFETCH(bool, meldung);
        QFETCH(QString, danach);
        Beantworter antwort;
        w->Text3->setText(feld);
        QCOMPARE(antwort.texte, meldung ? QStringList{kRang} : QStringList{});
        QCOMPARE(int(GS.N), n);
        QCOMPARE(w->Text3->text(), danach);
        QCOMPARE(Satz(3), n == 3 ? kBeispielSatz : QStringLiteral("0 0 0 | 0; 0 0 0 | 0; 0 0 0 | 0"));
        QCOMPARE(RasterAbweichung(*w, n, true), QString());
    }

    // A cell is read on the release of a key, not on its press; the text keeps the comma.
    void einsKommaFuenf() {
        QLineEdit* zelle = w->Text5[1];  // A(2,2) = 10
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
    }

    // A release anywhere in a row re-reads its first N cells, also ones changed without a
    // key (pasted); each of the six rows reaches its own row of the record.
    void zeileNeuGelesen() {
        const std::pair<const frm_Tovik::Feldreihe&, tovik::Vektor&> zeilen[] = {
            {w->Text4, GS.A[1]}, {w->Text5, GS.A[2]}, {w->Text6, GS.A[3]},
            {w->Text7, GS.A[4]}, {w->Text8, GS.A[5]}, {w->Text9, GS.B}};
        for (const auto& [zellen, ziel] : zeilen) {
            zellen[0]->setText("7");
            zellen[1]->setText("-1");
            ziel[4] = 5;  // beyond N = 3: its cell is not read
            QTest::keyRelease(zellen[2], Qt::Key_Shift);
            const QString name = zellen[2]->objectName();
            QCOMPARE(QStringLiteral("%1: %2 %3 %4").arg(name).arg(ziel[1]).arg(ziel[2]).arg(ziel[4]), name + ": 7 -1 5");
        }
    }

    // An overflowing cell brings the message and keeps the last good value.
    void fehlerhafteEingabe() {
        Beantworter antwort;
        Tippen(w->Text4[1], "E999");  // " 4E", " 4E9", " 4E99" read; " 4E999" overflows
        QCOMPARE(antwort.texte, QStringList{"Tovik: " + kFehlerhaft});
        QCOMPARE(GS.A[1][2], 4e99);
    }

    // Header fields reach the record when left, also by a click on a command, before it runs.
    void kopfFelder() {
        Tippen(w->Text1, "X");
        QCOMPARE(GS.Projekt, std::string("Test"));  // not while the field has the focus
        QTest::keyClick(w->Text1, Qt::Key_Tab);
        QCOMPARE(GS.Projekt, std::string("TestX"));
        Ersetzen(w->Text2, "Neu");
        QTest::mouseClick(w->Command5, Qt::LeftButton);  // mirrors and shows the record again
        QCOMPARE(GS.Position, std::string("Neu"));
        QCOMPARE(w->Text2->text(), QStringLiteral("Neu"));
    }

    // Only the first comma is the decimal point; beyond a double, or with that comma past
    // place 32767, the text is faulty and the target stays.
    void zahlAusText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::addColumn<bool>("meldung");
        QTest::newRow("comma") << "1,5" << 1.5 << false;
        QTest::newRow("comma only in front") << "-,5" << -0.5 << false;
        QTest::newRow("second comma ends") << "1,5,3" << 1.5 << false;
        QTest::newRow("empty") << "" << 0.0 << false;
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
        ZahlAusText(text, ziel);
        tovik::SetzeMeldungsHook(vorher);
        QCOMPARE(ziel, wert);
        QCOMPARE(meldungen, meldung ? QStringList{kFehlerhaft} : QStringList{});
    }
};

TOVIK_FENSTER_TEST_MAIN(TstFensterEingabe)
#include "tst_fenster_eingabe.moc"
