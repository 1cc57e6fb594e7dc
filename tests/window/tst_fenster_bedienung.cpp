// Using the window: N, the cells and header fields, the commands that compute, check, mirror,
// open and save, and the keys.

#include <QPrintDialog>
#include <QTemporaryDir>
#include <random>

#include "Fensterhilfen.h"
#include "Mod_Allg.h"
#include "Systemdatei.h"

namespace {

const QString kBeispiel = "3 4 7 | 90; 12 10 0 | 78; 0 12 2 | 56";
void Klick(QPushButton* knopf) { QTest::mouseClick(knopf, Qt::LeftButton); }

// Keys go to the focused control of the active window, where the window's shortcuts take them.
void Tasten(QLineEdit* zelle, const char* folge) {
    QApplication::setActiveWindow(zelle->window());
    QVERIFY(QTest::qWaitForWindowActive(zelle->window()));
    zelle->setFocus();
    QTest::keySequence(zelle, QKeySequence(folge));
}

}  // namespace

class TstFensterBedienung : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    QTemporaryDir ordner;

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        w = NeuesFenster();
    }
    void cleanup() { w.reset(); }

    // Every change of the field reads N; a new N zeroes the old system and shows exactly its
    // empty cells.
    void nFeld_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("danach");  // field text afterwards; " 5" after the message
        const QList<std::tuple<const char*, int, const char*>> faelle = {
            {"03", 3, "03"}, {"2,9", 2, "2,9"}, {"2.5", 2, "2.5"}, {"3.5", 4, "3.5"}, {"5.5", 5, " 5"}, {"37", 5, " 5"},
            {"40000", 5, " 5"}, {"1E999", 5, " 5"}, {"", 0, ""}, {"abc", 0, "abc"}, {"-3", 0, "-3"}, {"1", 1, "1"}};
        for (const auto& [feld, n, danach] : faelle) QTest::newRow(feld) << feld << n << danach;
    }
    void nFeld() {
        QFETCH(QString, feld);
        QFETCH(int, n);
        QFETCH(QString, danach);
        Meldungen meldungen;
        w->Text3->setText(feld);
        QCOMPARE(meldungen.texte.size(), danach == " 5" ? 1 : 0);
        QCOMPARE(meldungen.texte.value(0, "Tovik: max. Rang des Gleichungssystems: N = 5"),
                 "Tovik: max. Rang des Gleichungssystems: N = 5");
        QCOMPARE(int(GS.N), n);
        QCOMPARE(w->Text3->text(), danach);
        QCOMPARE(Satz(3), n == 3 ? kBeispiel : "0 0 0 | 0; 0 0 0 | 0; 0 0 0 | 0");
        QStringList raster;
        for (int r = 0; r < 8; ++r)
            if (n > 0 && (r < n || r >= 5)) raster << QString("Text%1: ").arg(r + 4) + QStringList(n, "").join('|');
        QCOMPARE(Raster(*w), raster.join('\n'));
    }

    // A key release in a cell reads the first N cells of its row into the record, also cells
    // changed without a key; the press reads nothing; the text stays as typed. Only the first
    // comma is the decimal point; a value beyond a double, or that comma past place 32767, is
    // told and leaves the value of the last good release.
    void zellen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");  // NaN: told, and the value stays
        const QList<std::pair<QString, double>> faelle = {
            {"1,5", 1.5}, {"-,5", -0.5}, {"1,5,3", 1.5}, {"1.000,5", 1}, {"", 0}, {"abc", 0}, {"12abc", 12}, {"3 4", 34},
            {"1E999", qQNaN()}};
        for (const auto& [text, wert] : faelle) QTest::newRow(qPrintable(text)) << text << wert;
    }
    void zellen() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        const std::pair<const frm_Tovik::Feldreihe*, tovik::Vektor*> zeilen[] = {
            {&w->Text4, &GS.A[1]}, {&w->Text5, &GS.A[2]}, {&w->Text6, &GS.A[3]},
            {&w->Text7, &GS.A[4]}, {&w->Text8, &GS.A[5]}, {&w->Text9, &GS.B}};
        for (const auto& [zellen, ziel] : zeilen) {
            Meldungen meldungen;
            (*zellen)[0]->setText("7");
            (*zellen)[1]->setText(text);
            (*zellen)[2]->setText(" 2e3");
            (*ziel)[2] = 10;
            (*ziel)[4] = 5;  // beyond N = 3: never read
            const QString vorher = Satz(3);
            QTest::keyPress((*zellen)[2], Qt::Key_Shift);
            QCOMPARE(Satz(3), vorher);
            QTest::keyRelease((*zellen)[2], Qt::Key_Shift);
            QCOMPARE(QList<double>(ziel->begin() + 1, ziel->begin() + 5), (QList<double>{7, std::isnan(wert) ? 10 : wert, 2000, 5}));
            QCOMPARE(meldungen.texte, QStringList(std::isnan(wert), "Tovik: fehlerhafte Eingabe"));
            QCOMPARE((*zellen)[1]->text(), text);
        }
        // A cell holds 32767 characters; a longer text, given directly, has its comma too far.
        Meldungen meldungen;
        double ziel = 7;
        for (int vorn : {32765, 32766}) ZahlAusText(QString(vorn, ' ') + "1,5", ziel);
        QCOMPARE(QString::number(ziel) + meldungen.texte.join(""), "1.5Tovik: fehlerhafte Eingabe");
    }

    // The header fields reach the record when left (a click on a command leaves them first),
    // at any length.
    void kopfFelder() {
        Tippen(w->Text1, "X");
        QCOMPARE(GS.Projekt, "Test");
        QTest::keyClick(w->Text1, Qt::Key_Tab);
        QCOMPARE(GS.Projekt, "X");
        GS.Projekt = std::string(40000, 'P');
        Tippen(w->Text2, "Neu");
        Klick(w->Command5);  // mirrors, and shows the record again
        QCOMPARE(GS.Position, "Neu");
        w->Text1->setFocus();
        w->Text2->setFocus();
        QCOMPARE(GS.Projekt.size(), 40000u);
    }

    // Berechnen: the solution with the regional separator, the record back as entered. The
    // control product belongs to the last solve: an edit or a new solve does not change it.
    // A refused solve: its message, no solution. Mirroring shows the record again: plain number
    // text with a point whatever the locale, the labels without solution.
    void befehle() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Meldungen meldungen;
        const auto spalten = [&] { return Raster(*w).section('\n', 4).remove("Text10: ").replace("\nText11: ", " "); };
        Klick(w->Command6);  // before any solve: zeros
        QCOMPARE(spalten(), "X( 1) = |X( 2) = |X( 3) =  0,00E+00|0,00E+00|0,00E+00");
        Klick(w->Command1);
        Klick(w->Command6);
        const QString ergebnis = "X( 1) = 3,918|X( 2) = 3,099|X( 3) = 9,407 0,00E+00|-2,84E-14|2,84E-14";
        QCOMPARE(spalten(), ergebnis);
        QCOMPARE(w->Text11[1]->accessibleDescription(), "minus 2,84 mal zehn hoch minus 14");  // as a voice says it
        QCOMPARE(Satz(3), kBeispiel);
        Tippen(w->Text9[0], "100");
        Klick(w->Command6);
        Klick(w->Command1);
        QCOMPARE(spalten(), "X( 1) = 4,123|X( 2) = 2,852|X( 3) = 10,889 0,00E+00|-2,84E-14|2,84E-14");
        GS.X[1] = std::numeric_limits<double>::max();
        Klick(w->Command6);
        QCOMPARE(spalten().section(' ', -1).section('|', 0, 1), "Überlauf|Überlauf");
        QVERIFY(meldungen.texte.isEmpty());

        Tippen(w->Text4[0], "0");
        Klick(w->Command1);
        QCOMPARE(meldungen.texte, QStringList{"Tovik: *** Hauptdiagonalglied < 10-5!"});
        QCOMPARE(spalten().section(' ', 0, 0), "||");
        QCOMPARE(Satz(3), "0 4 7 | 100; 12 10 0 | 78; 0 12 2 | 56");

        GS.A[1][2] = -0.25;
        GS.B[2] = 0.5;
        GS.Position = "7b";
        Klick(w->Command5);
        QCOMPARE(Satz(3), "0 -0.25 7 | 100; -0.25 10 0 | 0.5; 7 0 2 | 56");
        QCOMPARE(w->Text2->text() + Raster(*w), "7bText4:  0|-.25| 7\nText5: -.25| 10| 0\nText6:  7| 0| 2\n"
                                                "Text9:  100| .5| 56\nText10: X( 1) = |X( 2) = |X( 3) = \nText11: ||");
    }

    // "Öfffnen" shows what it loaded, and after a refusal the record as it was; the keys run
    // the lower buttons from a cell, and their release there does no harm.
    void oeffnenUndTasten() {
        const QString datei = ordner.filePath("Zwei.TVK");
        QVERIFY(Schreiben(datei, Zeilen({"h", "Zwei", "P", " 2", " 1", " 2", " 3", " 4", " 5", " 6"})));
        QVERIFY(Schreiben(ordner.filePath("Fall.TVK"), "h\r\nX\r\n"));
        Meldungen meldungen;
        const auto oeffnen = [&](const QString& name, const std::function<void()>& befehl) {
            const auto gesehen = Dateiwahl(name);
            befehl();
            return gesehen->value(0);
        };
        QCOMPARE(oeffnen(datei, [&] { Klick(w->Command3); }), "vorh. Gleichungssystem laden");
        QCOMPARE(w->Text1->text() + Raster(*w), "ZweiText4:  1| 2\nText5:  4| 5\nText9:  3| 6\nText10: X( 1) = |X( 2) = \nText11: |");
        w->Text4[0]->setText("9");
        QCOMPARE(oeffnen(ordner.filePath("Fall.TVK"), [&] { Tasten(w->Text4[0], "Ctrl+O"); }),
                 "vorh. Gleichungssystem laden");
        QCOMPARE(meldungen.texte, QStringList{"Tovik: Fehler in Sub SystemAusDatei: Dateiende erreicht"});
        QCOMPARE(Satz(2) + w->Text4[0]->text(), "1 2 | 3; 4 5 | 6 1");
        QCOMPARE(oeffnen("", [&] { Tasten(w->Text5[1], "Ctrl+S"); }), "Gleichungssystem speichern");
        QCOMPARE(Satz(2), "1 2 | 3; 4 5 | 6");
        bool drucken = false;
        Beantworten<QPrintDialog>([&](QPrintDialog* d) { drucken = true, d->reject(); });
        Tasten(w->Text9[0], "Ctrl+P");
        QVERIFY2(drucken, qPrintable(meldungen.texte.join("|")));
        Tasten(w->Text9[0], "Ctrl+Q");
        QVERIFY(!w->isVisible());
    }

    // What is typed reaches the record, goes into a file and comes back from it and from
    // the cells that show it, value for value.
    void rundreise() {
        Tippen(w->Text3, "4");
        std::mt19937 zufall(11);
        QList<double> getippt;
        for (auto* reihe : {&w->Text4, &w->Text5, &w->Text6, &w->Text7, &w->Text9})
            for (int k = 0; k < 4; ++k) {
                const QString text = QString::number(std::ldexp(int(zufall() % 20001) - 10000, int(zufall() % 60) - 40), 'g', 15);
                getippt << text.toDouble();
                Tippen((*reihe)[k], QString(text).replace('.', ','));
            }
        const auto satz = [] {
            QList<double> werte;
            for (int i = 1; i <= 5; ++i)
                for (int j = 1; j <= 4; ++j) werte << (i < 5 ? GS.A[i][j] : GS.B[j]);
            return werte;
        };
        QCOMPARE(satz(), getippt);
        const QString datei = ordner.filePath("Rundreise.TVK");
        QVERIFY(!tovik::DateiSchreiben(datei, std::get<QByteArray>(tovik::SystemSchreiben(tovik::DatenAusSystem(GS)))));
        GS = tovik::Gleichungssystem{};
        w->DateiLaden(datei);
        for (auto* reihe : {&w->Text4, &w->Text5, &w->Text6, &w->Text7, &w->Text9}) QTest::keyClick((*reihe)[0], Qt::Key_Right);
        QCOMPARE(satz(), getippt);
    }
};

TOVIK_TEST_MAIN(TstFensterBedienung)
#include "tst_fenster_bedienung.moc"
