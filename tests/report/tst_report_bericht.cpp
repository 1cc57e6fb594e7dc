// The report on a recording surface: texts, fonts and positions of every printed cell, and
// what happens when the surface fails.

#include <QtTest>

#include <utility>
#include <vector>

#include "Aufzeichnung.h"
#include "Gleichungssystem.h"
#include "Meldung.h"
#include "SystemDrucken.h"

using namespace tovik;

namespace {

// One expected text: where it starts (left-aligned cells) or ends (right-aligned ones).
struct Zelltext {
    QString text;
    double groesse;
    bool fett;
    double kante;
    bool linksbuendig;
    int zeile;  // 0 = title line; the table starts at line 4
};

struct Spalten {
    std::vector<double> a;
    double b;
    double x;
    double groesse;
};

// Right edges and table font of the page, per N.
Spalten SpaltenFuer(int n) {
    switch (n) {
        case 1: return {{55}, 88, 121, 12};
        case 2: return {{55, 80}, 113, 146, 12};
        case 3: return {{55, 80, 105}, 138, 171, 12};
        case 4: return {{50, 73, 95, 118}, 149, 180, 11};
        default: return {{46, 67, 88, 108, 129}, 158, 187, 10};
    }
}

// A(i,j) = 10i + j, B(i) = -i - 0.5, X(i) = i/8: every cell text differs from the others.
void TestSystem(int n) {
    GleichungssystemZuruecksetzen();
    GS.Projekt = "Projektname";
    GS.Position = "Positionstext";
    GS.N = static_cast<std::int16_t>(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A[i][j] = 10 * i + j;
        GS.B[i] = -i - 0.5;
        GS.X[i] = i / 8.0;
    }
}

QList<Zelltext> ErwarteteSeite(int n) {
    const Spalten s = SpaltenFuer(n);
    const double g = s.groesse;
    static const char* const x[] = {"", "0,125", "0,250", "0,375", "0,500", "0,625"};

    QList<Zelltext> seite = {
        {"Programm  Tovik.vbp, Version 5.0", 15, true, 20, true, 0},
        {QStringLiteral("Anzahl der Gleichungen N =  %1").arg(n), 15, true, 20, true, 2},
    };
    if (n == 1)
        seite.append({"Koeffizientenmatrix A", g, false, 20, true, 4});
    else
        seite.append({"Koeffizientenmatrix A", g, false, s.a[n - 2], false, 4});
    seite.append({"rechte Seite", g, false, s.b, false, 4});
    seite.append({"Ergebnisse", g, false, s.x, false, 4});

    seite.append({"Nr.", g, false, 20, true, 5});
    for (int k = 1; k <= n; ++k) seite.append({QStringLiteral(" %1").arg(k), g, false, s.a[k - 1], false, 5});
    seite.append({"B", g, false, s.b, false, 5});
    seite.append({"X", g, false, s.x, false, 5});

    for (int i = 1; i <= n; ++i) {
        const int zeile = 5 + i;
        seite.append({QString::number(i), g, false, 20, true, zeile});
        for (int j = 1; j <= n; ++j)
            seite.append({QStringLiteral("%1%2,000").arg(i).arg(j), g, false, s.a[j - 1], false, zeile});
        seite.append({QStringLiteral("-%1,500").arg(i), g, false, s.b, false, zeile});
        seite.append({x[i], g, false, s.x, false, zeile});
    }
    return seite;
}

// Top of a line: four lines of 15 pt above the table, then lines of the table font.
double ZeilenY(int zeile, double tabellenGroesse) {
    return 20 + 7.5 * qMin(zeile, 4) + tabellenGroesse / 2 * qMax(0, zeile - 4);
}

bool GleicheAufzeichnung(const Gleichungssystem& a, const Gleichungssystem& b) {
    return a.Projekt == b.Projekt && a.Position == b.Position && a.N == b.N && a.A == b.A &&
           a.B == b.B && a.A0 == b.A0 && a.B0 == b.B0 && a.X == b.X && a.Fehler == b.Fehler;
}

}  // namespace

class TstReportBericht : public QObject {
    Q_OBJECT

    QList<std::pair<QString, QString>> m_meldungen;
    MeldungsHook m_vorher;

private slots:
    void initTestCase() {
        m_vorher = SetzeMeldungsHook([this](const std::string& text, const std::string& titel) {
            m_meldungen.append({QString::fromStdString(text), QString::fromStdString(titel)});
        });
    }
    void cleanupTestCase() { SetzeMeldungsHook(m_vorher); }
    void init() {
        m_meldungen.clear();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void spaltenSetzen_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("spalten");
        const QList<int> bis3 = {55, 80, 105, 130, 155, 180, 205};
        QTest::newRow("N=0") << 0 << bis3;
        QTest::newRow("N=1") << 1 << bis3;
        QTest::newRow("N=3") << 3 << bis3;
        QTest::newRow("N=4") << 4 << QList<int>{50, 73, 95, 118, 141, 164, 186};
        // 105 / 1.2 = 87.5 goes to the even 88
        QTest::newRow("N=5") << 5 << QList<int>{46, 67, 88, 108, 129, 150, 171};
    }
    void spaltenSetzen() {
        QFETCH(int, n);
        QFETCH(QList<int>, spalten);
        GS.N = static_cast<std::int16_t>(n);
        Rand = 0;
        Spalte.fill(-1);
        SpaltenSetzen();
        QCOMPARE(Rand, std::int16_t(20));
        QList<int> gesetzt;
        for (int k = 1; k <= 7; ++k) gesetzt << Spalte[k];
        QCOMPARE(gesetzt, spalten);
    }

    // The whole page, text by text, for every N. Cells and columns are left in a mess before,
    // as an earlier report could leave them: the title row must not show any of it.
    void seite_data() {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 5; ++n) QTest::addRow("N=%d", n) << n;
    }
    void seite() {
        QFETCH(int, n);
        TestSystem(n);
        const Gleichungssystem vorher = GS;
        Zelle.fill("alt");
        Spalte.fill(999);

        Aufzeichnung ausgabe;
        SystemDrucken(ausgabe);

        QVERIFY(m_meldungen.isEmpty());
        QCOMPARE(ausgabe.dokumente, 1);
        QCOMPARE(ausgabe.aufrufe.constLast(), "DokumentEnden");
        QVERIFY(GleicheAufzeichnung(GS, vorher));

        const QList<Zelltext> erwartet = ErwarteteSeite(n);
        const double tabelle = SpaltenFuer(n).groesse;
        QCOMPARE(ausgabe.Texte().size(), erwartet.size());
        for (qsizetype i = 0; i < erwartet.size(); ++i) {
            const Gedruckt& g = ausgabe.gedruckt[i];
            const Zelltext& e = erwartet[i];
            const QByteArray wo = QStringLiteral("text %1 '%2'").arg(i).arg(e.text).toUtf8();
            QVERIFY2(g.text == e.text, wo + " printed as '" + g.text.toUtf8() + "'");
            QVERIFY2(g.schrift == "arial" && g.millimeter, wo);
            QVERIFY2(g.groesse == e.groesse && g.fett == e.fett, wo);
            QVERIFY2(qAbs((e.linksbuendig ? g.links : g.rechts) - e.kante) < 1e-9,
                     wo + " at " + QByteArray::number(g.links) + ".." + QByteArray::number(g.rechts));
            QVERIFY2(qAbs(g.y - ZeilenY(e.zeile, tabelle)) < 1e-9, wo + " y " + QByteArray::number(g.y));
        }
    }

    // Both runs leave the same page; the column shifts of B and X must not add up.
    void zweimalDrucken() {
        TestSystem(4);
        Aufzeichnung ausgabe;
        SystemDrucken(ausgabe);
        SystemDrucken(ausgabe);
        QCOMPARE(ausgabe.dokumente, 2);
        const qsizetype halb = ausgabe.gedruckt.size() / 2;
        QCOMPARE(ausgabe.gedruckt.size(), 2 * halb);
        for (qsizetype i = 0; i < halb; ++i) {
            const Gedruckt& erster = ausgabe.gedruckt[i];
            const Gedruckt& zweiter = ausgabe.gedruckt[halb + i];
            QCOMPARE(erster.dokument, 0);
            QCOMPARE(zweiter.dokument, 1);
            QCOMPARE(zweiter.text, erster.text);
            QCOMPARE(zweiter.links, erster.links);
            QCOMPARE(zweiter.y, erster.y);
        }
        QVERIFY(m_meldungen.isEmpty());
    }

    // The three-decimal form with the regional separator; a wide text still ends at its own
    // column and reaches into the one before.
    void zahlenformen_data() {
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        QTest::newRow("-0.5 de") << "de_DE" << -0.5 << "-0,500";
        QTest::newRow("-0.5 en") << "en_US" << -0.5 << "-0.500";
        QTest::newRow("rounded up") << "en_US" << 3.0996 << "3.100";
        QTest::newRow("no grouping") << "de_DE" << 1234567.125 << "1234567,125";
        QTest::newRow("wider than a column") << "en_US" << 123456789012.5 << "123456789012.500";
    }
    void zahlenformen() {
        QFETCH(QString, sprache);
        QFETCH(double, wert);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(sprache));
        GleichungssystemZuruecksetzen();
        GS.N = 1;
        GS.A[1][1] = GS.B[1] = GS.X[1] = wert;

        Aufzeichnung ausgabe;
        SystemDrucken(ausgabe);

        const QList<Gedruckt> zeile = ausgabe.gedruckt.mid(ausgabe.gedruckt.size() - 4);
        QCOMPARE(zeile[0].text, "1");
        const double kanten[] = {55, 88, 121};
        for (int k = 1; k <= 3; ++k) {
            QCOMPARE(zeile[k].text, text);
            QCOMPARE(zeile[k].rechts, kanten[k - 1]);
        }
    }

    // Each failed call is one failed step: one message each, and the report still ends the
    // document. A failure inside a row loses the rest of that row only.
    void fehler_data() {
        QTest::addColumn<QString>("aufruf");      // calls equal to this fail (all if empty) ...
        QTest::addColumn<int>("vorkommen");       // ... only this one of them, or all if -1
        QTest::addColumn<int>("meldungen");
        QTest::addColumn<QString>("abText");      // first text that goes missing
        QTest::addColumn<int>("verloren");        // how many texts go missing from there on

        // 2 + 4 + 1 + 1 + 4 + 2 + 1 steps around the title, N and the fonts, one per row
        // (2 + N), and the end of the document.
        QTest::newRow("printer unusable") << "" << -1 << 21 << "Programm  Tovik.vbp, Version 5.0" << 29;
        QTest::newRow("millimetres") << "Millimeter" << 0 << 1 << "" << 0;
        QTest::newRow("font name") << "Schriftart arial" << 0 << 1 << "" << 0;
        QTest::newRow("bold") << "Fett 1" << 0 << 1 << "" << 0;
        QTest::newRow("title line") << "Drucke Programm  Tovik.vbp, Version 5.0" << 0 << 1
                                    << "Programm  Tovik.vbp, Version 5.0" << 1;
        QTest::newRow("blank line") << "ZeileEnden" << 0 << 1 << "" << 0;
        // two blank lines and the end of each of the five rows
        QTest::newRow("every line end") << "ZeileEnden" << -1 << 7 << "" << 0;
        QTest::newRow("table font") << "Schriftgroesse 12" << 0 << 1 << "" << 0;
        QTest::newRow("width in title row") << "TextBreite rechte Seite" << 0 << 1 << "rechte Seite" << 2;
        QTest::newRow("width in a data row") << "TextBreite 10,000" << 0 << 1 << "10,000" << 4;
        QTest::newRow("print in a data row") << "Drucke 78,000" << 0 << 1 << "78,000" << 2;
        // the fifth time x goes to the margin: the label of row 2
        QTest::newRow("position of a row label") << "SetzeX 20" << 4 << 1 << "2" << 6;
        QTest::newRow("end of document") << "DokumentEnden" << 0 << 1 << "" << 0;
    }
    void fehler() {
        QFETCH(QString, aufruf);
        QFETCH(int, vorkommen);
        QFETCH(int, meldungen);
        QFETCH(QString, abText);
        QFETCH(int, verloren);

        GleichungssystemZuruecksetzen();
        BeispielSystem();
        GS.X[1] = 952.0 / 243;
        GS.X[2] = 251.0 / 81;
        GS.X[3] = 254.0 / 27;
        const Gleichungssystem vorher = GS;

        Aufzeichnung ganz;
        SystemDrucken(ganz);
        QVERIFY(m_meldungen.isEmpty());
        QStringList erwartet = ganz.Texte();
        if (verloren > 0) {
            const qsizetype ab = erwartet.indexOf(abText);
            QVERIFY(ab >= 0);
            erwartet.remove(ab, verloren);
        }

        Aufzeichnung ausgabe;
        int gezaehlt = 0;
        ausgabe.scheitert = [&](const QString& a) {
            return (aufruf.isEmpty() || a == aufruf) && (vorkommen < 0 || gezaehlt++ == vorkommen);
        };
        SystemDrucken(ausgabe);

        QCOMPARE(m_meldungen.size(), meldungen);
        for (const auto& [text, titel] : std::as_const(m_meldungen)) {
            QCOMPARE(text, "Die Ausgabe konnte nicht gedruckt werden.");
            QCOMPARE(titel, "Hinweis");
        }
        QCOMPARE(ausgabe.aufrufe.constLast(), "DokumentEnden");
        QCOMPARE(ausgabe.Texte(), erwartet);
        QVERIFY(GleicheAufzeichnung(GS, vorher));
    }

    // N = 0 has no column for the table title: that one step fails, the rest of the page comes.
    void ohneGleichungen() {
        GleichungssystemZuruecksetzen();
        Aufzeichnung ausgabe;
        SystemDrucken(ausgabe);
        QCOMPARE(m_meldungen.size(), 1);
        QCOMPARE(ausgabe.dokumente, 1);
        QCOMPARE(ausgabe.Texte(), (QStringList{"Programm  Tovik.vbp, Version 5.0",
                                               "Anzahl der Gleichungen N =  0", "rechte Seite",
                                               "Ergebnisse", "Nr.", "B", "X"}));
        QCOMPARE(ausgabe.gedruckt.constLast().rechts, 80.0 + 16);
    }

    void zeileDrucken_data() {
        QTest::addColumn<int>("vorschub");
        QTest::addColumn<double>("y");
        QTest::newRow("stays on the line") << 0 << 0.0;
        QTest::newRow("one line end") << 1 << 5.0;
        QTest::newRow("and a blank line") << 2 << 10.0;
    }
    void zeileDrucken() {
        QFETCH(int, vorschub);
        QFETCH(double, y);
        Rand = 20;
        Spalte = {0, 40, 60};
        Zelle.fill(QString());
        Zelle[0] = "a";
        Zelle[2] = "bb";
        Aufzeichnung ausgabe;
        QVERIFY(ausgabe.Schriftgroesse(10));
        QVERIFY(ZeileDrucken(2, static_cast<std::int16_t>(vorschub), ausgabe));
        QCOMPARE(ausgabe.Texte(), (QStringList{"a", "bb"}));
        QCOMPARE(ausgabe.gedruckt[1].links, 55.0);
        QCOMPARE(ausgabe.Y(), y);
        // Past the last cell there is nothing to print: the row fails, it does not run off.
        Zelle.fill("c");
        QVERIFY(!ZeileDrucken(11, 0, ausgabe));
    }
};

QTEST_GUILESS_MAIN(TstReportBericht)
#include "tst_report_bericht.moc"
