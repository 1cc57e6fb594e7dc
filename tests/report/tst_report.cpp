// The printed page: on a recording surface (every text, font and place; failing operations),
// and through the real printer code into PDF files, measured with `pdftotext -bbox`.

#include <QApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "Ausgabe.h"
#include "DruckerAusgabe.h"
#include "Gleichungssystem.h"
#include "SystemDrucken.h"
#include "Testhilfen.h"

using namespace tovik;

namespace {

const QString kHinweis = QStringLiteral("Hinweis: Die Ausgabe konnte nicht gedruckt werden.");

// A(i,j) = 10i + j, B(i) = -1000i - 0.5, X(i) = i/3: every cell differs, B would show a
// grouping separator, X rounds down and up.
void TestSystem(int n) {
    GleichungssystemZuruecksetzen();
    GS.Projekt = "Nordbruecke";
    GS.Position = "Lager-4711";
    GS.N = static_cast<std::int16_t>(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A[i][j] = 10 * i + j;
        GS.B[i] = -1000 * i - 0.5;
        GS.X[i] = i / 3.0;
    }
}

// One printed text: left-aligned at `kante`, or ending there (mm).
struct Text {
    QString text;
    double kante;
    bool links = false;
};

// The page of TestSystem(n), line by line, with the decimal separator `komma`.
QList<QList<Text>> ErwarteteSeite(int n, const QString& komma) {
    // right edges of the columns of A, then B and X
    static const QList<double> kanten[] = {{}, {55, 88, 121}, {55, 80, 113, 146}, {55, 80, 105, 138, 171},
                                           {50, 73, 95, 118, 149, 180}, {46, 67, 88, 108, 129, 158, 187}};
    static const char* const x[] = {"", "0,333", "0,667", "1,000", "1,333", "1,667"};
    const QList<double>& k = kanten[n];
    const auto links = [](const QString& t) { return Text{t, 20, true}; };
    QList<QList<Text>> seite = {{links("Programm  Tovik.vbp, Version 5.0")},
                                {links(QStringLiteral("Anzahl der Gleichungen N =  %1").arg(n))},
                                {n == 1 ? links("Koeffizientenmatrix A") : Text{"Koeffizientenmatrix A", k[n - 2]},
                                 {"rechte Seite", k[n]}, {"Ergebnisse", k[n + 1]}}};
    for (int i = 0; i <= n; ++i) {
        const QString nr = QString::number(i);
        QList<Text> zeile = {links(i == 0 ? "Nr." : nr)};
        for (int j = 1; j <= n; ++j)
            zeile.append({i == 0 ? " " + QString::number(j) : nr + QString::number(j) + komma + "000", k[j - 1]});
        zeile.append({i == 0 ? "B" : "-" + nr + "000" + komma + "500", k[n]});
        zeile.append({i == 0 ? "X" : QString(x[i]).replace(",", komma), k[n + 1]});
        seite.append(zeile);
    }
    return seite;
}

// Records the page under a simple font model: a character is a quarter of the font size wide,
// a line half of it high (mm). Chosen operations can be made to fail.
class Aufzeichnung final : public Ausgabe {
public:
    std::function<bool(const QString& aufruf)> scheitert = [](const QString&) { return false; };
    QStringList gedruckt;  // "text | size [bold] | left edge..right edge | y", every text in order
    int dokumente = 0;

    bool Millimeter() override { return Tun("Millimeter", [&] { mm_ = true; }); }
    bool Schriftart(const QString& name) override { return Tun("Schriftart", [&] { schrift_ = name; }); }
    bool Schriftgroesse(double p) override { return Tun("Schriftgroesse", [&] { groesse_ = p; }); }
    bool Fett(bool fett) override { return Tun("Fett", [&] { fett_ = fett; }); }
    bool SetzeX(double x) override { return Tun("SetzeX " + QString::number(x), [&] { x_ = x; }); }
    bool SetzeY(double y) override { return Tun("SetzeY", [&] { y_ = y; }); }
    double X() const override { return x_; }
    double Y() const override { return y_; }
    bool TextBreite(const QString& text, double& breite) override {
        return Tun("TextBreite " + text, [&] { breite = Breite(text); });
    }
    bool Drucke(const QString& text, bool zeileEnden) override {
        return Tun("Drucke " + text, [&] {
            if (!text.isEmpty())
                gedruckt << QString::asprintf("%s | %s %g%s | %.2f..%.2f | %.2f", qPrintable(text), qPrintable(schrift_),
                                              groesse_, fett_ ? " bold" : "", x_, x_ + Breite(text), mm_ ? y_ : -1);
            x_ += Breite(text);
            if (zeileEnden) Zeilenende();
        });
    }
    bool ZeileEnden() override { return Tun("ZeileEnden", [&] { Zeilenende(); }); }
    bool DokumentEnden() override { return Tun("DokumentEnden", [&] { ++dokumente, x_ = y_ = 0; }); }

private:
    template <class Wirkung>
    bool Tun(const QString& aufruf, Wirkung&& wirkung) {
        if (scheitert(aufruf)) return false;
        wirkung();
        return true;
    }
    double Breite(const QString& text) const { return text.size() * groesse_ / 4; }
    void Zeilenende() { x_ = 0, y_ += groesse_ / 2; }

    bool mm_ = false, fett_ = false;
    QString schrift_;
    double groesse_ = 8, x_ = 0, y_ = 0;
};

// What Aufzeichnung must record for TestSystem(n): the two title lines at 15 pt bold, each
// followed by a blank line, then the table without blank lines.
QStringList ErwartetAufgezeichnet(int n) {
    const double tabelle = n < 4 ? 12 : n == 4 ? 11 : 10;
    const QList<QList<Text>> seite = ErwarteteSeite(n, ",");
    QStringList texte;
    for (qsizetype z = 0; z < seite.size(); ++z) {
        const double groesse = z < 2 ? 15 : tabelle;
        const double y = z < 2 ? 20 + 15 * z : 50 + (z - 2) * tabelle / 2;
        for (const Text& t : seite[z]) {
            const double breite = t.text.size() * groesse / 4;
            const double links = t.links ? t.kante : t.kante - breite;
            texte << QString::asprintf("%s | arial %g%s | %.2f..%.2f | %.2f", qPrintable(t.text), groesse,
                                       z < 2 ? " bold" : "", links, links + breite, y);
        }
    }
    return texte;
}

QStringList Texte(const QList<QList<Text>>& seite) {
    QStringList texte;
    for (const auto& zeile : seite)
        for (const Text& t : zeile) texte << t.text;
    return texte;
}

// The words of a PDF page with their left and right edges, top to bottom, left to right (mm).
struct Wort {
    QString text;
    double links, oben, rechts;
};
QList<Wort> PdfWoerter(const QString& pfad, int& seiten) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pfad, "-"});
    seiten = -1;
    if (!pdftotext.waitForFinished(-1) || pdftotext.exitCode() != 0) return {};
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    seiten = int(html.count("<page "));
    static const QRegularExpression muster(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="[-\d.]+">([^<]*)</word>)re");
    constexpr double mm = 25.4 / 72;
    QList<Wort> woerter;
    for (auto it = muster.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        woerter.append({m.captured(4), m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                        m.captured(3).toDouble() * mm});
    }
    std::stable_sort(woerter.begin(), woerter.end(), [](const Wort& a, const Wort& b) {
        return std::abs(a.oben - b.oben) > 0.1 ? a.oben < b.oben : a.links < b.links;
    });
    return woerter;
}

}  // namespace

class TstReport : public QObject {
    Q_OBJECT
    QTemporaryDir ordner_;

    // Answers the printer dialog as soon as it is up.
    void DialogBeantworten(std::function<void(QPrintDialog*)> antwort) {
        auto* takt = new QTimer(this);
        connect(takt, &QTimer::timeout, this, [takt, antwort] {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                takt->deleteLater();
                takt->stop();
                antwort(dialog);
            }
        });
        takt->start(10);
    }

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The whole page for every N. The cells and columns are left in a mess, as an earlier
    // report could leave them: nothing of it shows, and a second report gives the same page.
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
        Meldungen meldungen;
        Aufzeichnung ausgabe;
        SystemDrucken(ausgabe);
        const QStringList erste = ausgabe.gedruckt;
        ausgabe.gedruckt.clear();
        SystemDrucken(ausgabe);
        QCOMPARE(erste, ErwartetAufgezeichnet(n));
        QCOMPARE(ausgabe.gedruckt, erste);
        QCOMPARE(ausgabe.dokumente, 2);
        QVERIFY(meldungen.texte.isEmpty());
        QVERIFY(GS.A == vorher.A && GS.B == vorher.B && GS.X == vorher.X && GS.N == vorher.N);
    }

    // A failed step shows one message and the report goes on with the next step; a failure
    // inside a row loses the rest of that row only.
    void schritte_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("aufruf");  // operations starting with this fail
        QTest::addColumn<int>("vorkommen");   // only this one of them, or all if -1
        QTest::addColumn<int>("meldungen");
        QTest::addColumn<QStringList>("texte");  // what is printed
        const QStringList alles = Texte(ErwarteteSeite(3, ","));
        const auto ohne = [&](const QStringList& verloren) {
            QStringList bleibt = alles;
            for (const QString& t : verloren) bleibt.removeOne(t);
            return bleibt;
        };
        // 8 steps before the table, one per row (2 + N), the end of the document
        QTest::newRow("printer unusable") << 3 << "" << -1 << 13 << QStringList();
        QTest::newRow("every line end") << 3 << "ZeileEnden" << -1 << 7 << alles;
        QTest::newRow("end of the document") << 3 << "DokumentEnden" << -1 << 1 << alles;
        QTest::newRow("width in a data row") << 3 << "TextBreite 22,000" << 0 << 1
                                             << ohne({"22,000", "23,000", "-2000,500", "0,667"});
        QTest::newRow("title line") << 3 << "Drucke Programm" << 0 << 1 << ohne({alles.first()});
        // no column N-1 for the table title: that row alone goes
        QTest::newRow("N = 0") << 0 << "-" << 0 << 1
                               << QStringList{alles.first(), "Anzahl der Gleichungen N =  0", "Nr.", "B", "X"};
    }
    void schritte() {
        QFETCH(int, n);
        QFETCH(QString, aufruf);
        QFETCH(int, vorkommen);
        QFETCH(int, meldungen);
        QFETCH(QStringList, texte);
        TestSystem(n);
        Aufzeichnung ausgabe;
        int gezaehlt = 0;
        ausgabe.scheitert = [&](const QString& a) {
            return a.startsWith(aufruf) && (vorkommen < 0 || gezaehlt++ == vorkommen);
        };
        Meldungen gesehen;
        SystemDrucken(ausgabe);
        QCOMPARE(gesehen.texte, QStringList(meldungen, kHinweis));
        QStringList gedruckt;
        for (const QString& g : ausgabe.gedruckt) gedruckt << g.section(" | ", 0, 0);
        QCOMPARE(gedruckt, texte);
        if (n == 0) QCOMPARE(ausgabe.gedruckt.last(), "X | arial 12 | 77.00..80.00 | 50.00");  // not moved
    }

    // The real page: one PDF page, every cell at its place, nothing of the header texts.
    // N = 5 has the smallest font and the most columns.
    void seiteImPdf() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestSystem(5);
        const QString pfad = ordner_.filePath("bericht.pdf");
        Drucker().setOutputFileName(pfad);
        {
            DruckerAusgabe ausgabe(Drucker());
            Meldungen meldungen;
            SystemDrucken(ausgabe);
            QVERIFY(meldungen.texte.isEmpty());
        }
        int seiten = 0;
        const QList<Wort> woerter = PdfWoerter(pfad, seiten);
        QCOMPARE(seiten, 1);
        const QRectF rand = Drucker().pageRect(QPrinter::Millimeter);
        QVERIFY(std::abs(woerter.value(0).oben - rand.top() - 20) < 0.5);
        qsizetype w = 0;
        for (const auto& zeile : ErwarteteSeite(5, "."))
            for (const Text& t : zeile) {
                const qsizetype erstes = w;
                w += t.text.split(' ', Qt::SkipEmptyParts).size();
                QVERIFY(w <= woerter.size());
                const double kante = (t.links ? woerter[erstes].links : woerter[w - 1].rechts) - rand.left();
                QVERIFY2(std::abs(kante - t.kante) < 0.5 && woerter[erstes].text == t.text.split(' ', Qt::SkipEmptyParts)[0],
                         qPrintable(QString("'%1' at %2 mm").arg(t.text).arg(kante)));
            }
        QCOMPARE(w, woerter.size());
        // Seven table lines, 1.15 em of Liberation Sans at 10 pt apart.
        QVERIFY(std::abs((woerter.last().oben - woerter[10].oben) / 6 - 1.15 * 10 * 25.4 / 72) < 0.02);
    }

    // "Drucken": the file chosen in the dialog is printed to and stays the printer; a cancelled
    // dialog still prints. A printer that cannot be used gives one message per step, and is
    // usable again once a file is chosen; a file that cannot be written fails the last step.
    void druckbefehl() {
        TestSystem(3);
        const QString gewaehlt = ordner_.filePath("gewaehlt.pdf");
        DialogBeantworten([&](QPrintDialog* dialog) {
            if (auto* name = dialog->findChild<QLineEdit*>("filename")) name->setText(gewaehlt);
            dialog->accept();
        });
        Meldungen meldungen;
        SystemDrucken(nullptr);
        QCOMPARE(Drucker().outputFileName(), gewaehlt);
        QVERIFY(QFile::remove(gewaehlt));
        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        int seiten = 0;
        PdfWoerter(gewaehlt, seiten);
        QCOMPARE(seiten, 1);
        QVERIFY(meldungen.texte.isEmpty());

        if (QPrinter().outputFormat() != QPrinter::PdfFormat) QSKIP("a real printer is installed here");
        const std::pair<QString, int> faelle[] = {{"", 13}, {gewaehlt, 0}, {"/dev/full", 1}, {gewaehlt, 0}};
        for (const auto& [datei, anzahl] : faelle) {
            Drucker().setOutputFileName(datei);
            DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
            SystemDrucken(nullptr);
            QCOMPARE(meldungen.texte, QStringList(anzahl, kHinweis));
            meldungen.texte.clear();
        }
    }
};

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TstReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_report.moc"
