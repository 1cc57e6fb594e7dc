// The report on a recording surface: texts, fonts and positions of every printed cell, and
// what happens when the surface fails.

#include <QtTest>

#include <functional>

#include "Ausgabe.h"
#include "Berichthilfen.h"
#include "Gleichungssystem.h"
#include "Meldung.h"
#include "SystemDrucken.h"

using namespace tovik;

namespace {

// One printed text as "text | font size [bold] | x from..to | y", positions in mm.
QString Beschreibung(const QString& text, const QString& schrift, double groesse, bool fett,
                     double links, double y) {
    return QString::asprintf("%s | %s %g%s | x %.3f..%.3f | y %.3f", qPrintable(text), qPrintable(schrift),
                             groesse, fett ? " bold" : "", links, links + text.size() * groesse / 4, y);
}

// Records what the report prints, with a simple font model: a character is a quarter of the
// font size wide and a line half of it high (mm). Chosen calls can be made to fail.
class Aufzeichnung final : public Ausgabe {
public:
    // Gets each call as "Name argument" ("Fett 1", "TextBreite 10,000", "ZeileEnden");
    // true makes that call fail.
    std::function<bool(const QString& aufruf)> scheitert = [](const QString&) { return false; };

    QStringList aufrufe;            // every call, failed or not
    QList<QStringList> seiten{{}};  // per document, every text printed as Beschreibung()
    QStringList texte;              // every text printed, in order
    int dokumente = 0;              // documents ended successfully

    bool Millimeter() override { return Tun("Millimeter", [&] { m_mm = true; }); }
    bool Schriftart(const QString& name) override {
        return Tun("Schriftart " + name, [&] { m_schrift = name; });
    }
    bool Schriftgroesse(double p) override {
        return Tun("Schriftgroesse " + QString::number(p), [&] { m_groesse = p; });
    }
    bool Fett(bool fett) override { return Tun(QStringLiteral("Fett %1").arg(fett), [&] { m_fett = fett; }); }
    bool SetzeX(double x) override { return Tun("SetzeX " + QString::number(x), [&] { m_x = x; }); }
    bool SetzeY(double y) override { return Tun("SetzeY " + QString::number(y), [&] { m_y = y; }); }
    double X() const override { return m_x; }
    double Y() const override { return m_y; }
    bool TextBreite(const QString& text, double& breite) override {
        return Tun("TextBreite " + text, [&] { breite = text.size() * m_groesse / 4; });
    }
    bool Drucke(const QString& text, bool zeileEnden) override {
        return Tun("Drucke " + text, [&] {
            if (!text.isEmpty()) {
                texte << text;
                seiten.last() << Beschreibung(text, m_schrift + (m_mm ? " mm" : " twips"), m_groesse,
                                              m_fett, m_x, m_y);
            }
            m_x += text.size() * m_groesse / 4;
            if (zeileEnden) Zeilenende();
        });
    }
    bool ZeileEnden() override { return Tun("ZeileEnden", [&] { Zeilenende(); }); }
    bool DokumentEnden() override {
        return Tun("DokumentEnden", [&] {
            ++dokumente;
            seiten.append(QStringList());
            m_x = m_y = 0;
        });
    }

private:
    template <class Wirkung>
    bool Tun(const QString& aufruf, Wirkung&& wirkung) {
        aufrufe << aufruf;
        if (scheitert(aufruf)) return false;
        wirkung();
        return true;
    }
    void Zeilenende() {
        m_x = 0;
        m_y += m_groesse / 2;
    }

    bool m_mm = false;
    QString m_schrift;
    double m_groesse = 8;
    bool m_fett = false;
    double m_x = 0;
    double m_y = 0;
};

// The page of TestSystem(n) under the font model: two title lines of 15 pt bold with a
// blank line after each, then the table lines.
QStringList ErwartetePlatzierung(int n) {
    const Seite seite = ErwarteteSeite(n, ",");
    const double tabelle = kTabellenSchrift[n];
    QStringList texte;
    for (qsizetype z = 0; z < seite.size(); ++z) {
        const double groesse = z < 2 ? 15 : tabelle;
        const double y = z < 2 ? 20 + 15 * z : 50 + (z - 2) * tabelle / 2;
        for (const Zelltext& e : seite[z]) {
            const double links = e.linksbuendig ? e.kante : e.kante - e.text.size() * groesse / 4;
            texte << Beschreibung(e.text, "arial mm", groesse, z < 2, links, y);
        }
    }
    return texte;
}

}  // namespace

class TstReportBericht : public QObject {
    Q_OBJECT

    QStringList m_meldungen;  // "title: text"
    MeldungsHook m_vorher;

private slots:
    void initTestCase() {
        m_vorher = SetzeMeldungsHook([this](const std::string& text, const std::string& titel) {
            m_meldungen << QString::fromStdString(titel + ": " + text);
        });
    }
    void cleanupTestCase() { SetzeMeldungsHook(m_vorher); }
    void init() {
        m_meldungen.clear();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    // The whole page, text by text, for every N. Cells and columns are left in a mess before,
    // as an earlier report could leave them: the title row must not show any of it. A second
    // report gives the same page: the column shifts of B and X must not add up.
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
        SystemDrucken(ausgabe);

        QVERIFY(m_meldungen.isEmpty());
        QCOMPARE(ausgabe.dokumente, 2);
        QVERIFY(GleichesSystem(GS, vorher));
        QCOMPARE(ausgabe.seiten[0], ErwartetePlatzierung(n));
        QCOMPARE(ausgabe.seiten[1], ausgabe.seiten[0]);
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
        // two blank lines and the end of each of the five rows
        QTest::newRow("every line end") << "ZeileEnden" << -1 << 7 << "" << 0;
        QTest::newRow("width in a data row") << "TextBreite 22,000" << 0 << 1 << "22,000" << 4;
        // the fifth time x goes to the margin: the label of row 2
        QTest::newRow("position of a row label") << "SetzeX 20" << 4 << 1 << "2" << 6;
    }
    void fehler() {
        QFETCH(QString, aufruf);
        QFETCH(int, vorkommen);
        QFETCH(int, meldungen);
        QFETCH(QString, abText);
        QFETCH(int, verloren);

        TestSystem(3);
        const Gleichungssystem vorher = GS;

        QStringList erwartet;
        for (const QList<Zelltext>& zeile : ErwarteteSeite(3, ","))
            for (const Zelltext& zelle : zeile) erwartet << zelle.text;
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

        QCOMPARE(m_meldungen, QStringList(meldungen, "Hinweis: Die Ausgabe konnte nicht gedruckt werden."));
        QCOMPARE(ausgabe.aufrufe.constLast(), "DokumentEnden");
        QCOMPARE(ausgabe.texte, erwartet);
        QVERIFY(GleichesSystem(GS, vorher));
    }

    // N = 0 has no column for the table title: that one step fails, the rest of the page comes.
    void ohneGleichungen() {
        GleichungssystemZuruecksetzen();
        Aufzeichnung ausgabe;
        SystemDrucken(ausgabe);
        QCOMPARE(m_meldungen.size(), 1);
        QCOMPARE(ausgabe.dokumente, 1);
        QCOMPARE(ausgabe.texte, (QStringList{"Programm  Tovik.vbp, Version 5.0", "Anzahl der Gleichungen N =  0",
                                             "rechte Seite", "Ergebnisse", "Nr.", "B", "X"}));
        QVERIFY(ausgabe.seiten[0].constLast().contains("..96.000 |"));  // X at 80 + 16 mm
    }
};

QTEST_GUILESS_MAIN(TstReportBericht)
#include "tst_report_bericht.moc"
