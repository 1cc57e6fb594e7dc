// The printed page: on a recording surface (every text, font and place; failing operations),
// and through the real printer code into PDF files, measured with `pdftotext -bbox`.

#include <sys/mount.h>
#include <sys/stat.h>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

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
    GS = Gleichungssystem{"Nordbruecke", "Lager-4711", static_cast<std::int16_t>(n)};  // texts never printed
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A[i][j] = 10 * i + j;
        GS.B[i] = -1000 * i - 0.5;
        GS.X[i] = i / 3.0;
    }
}

// The page of TestSystem(n) as Aufzeichnung notes it, line by line: the title lines at 15 pt
// bold, the table smaller; the row labels at the margin, every other cell ending at its
// column's edge. With N = 0 there is no column N-1 for the table title, and that row is missing.
QStringList Erwartet(int n) {
    // right edges of the columns of A, then B and X
    static const QList<double> kanten[] = {{55, 80},
                                           {55, 88, 121},
                                           {55, 80, 113, 146},
                                           {55, 80, 105, 138, 171},
                                           {50, 73, 95, 118, 149, 180},
                                           {46, 67, 88, 108, 129, 158, 187}};
    static const char* const x[] = {"X", "0,333", "0,667", "1,000", "1,333", "1,667"};
    const QList<double>& k = kanten[n];
    QString groesse = "15*";
    QStringList texte;
    const auto bis = [&](const QString& t, double rechts) {
        texte << QString("%1@%2..%3 %4").arg(t).arg(rechts - t.size()).arg(rechts).arg(groesse);
    };
    const auto links = [&](const QString& t) { bis(t, 20 + t.size()); };
    links("Programm  Tovik.vbp, Version 5.0");
    links(QStringLiteral("Anzahl der Gleichungen N =  %1").arg(n));
    groesse = n < 4 ? "12" : n == 4 ? "11" : "10";
    if (n == 1) links("Koeffizientenmatrix A");
    if (n > 1) bis("Koeffizientenmatrix A", k[n - 2]);
    if (n > 0) bis("rechte Seite", k[n]), bis("Ergebnisse", k[n + 1]);
    for (int i = 0; i <= n; ++i) {
        const QString nr = QString::number(i);
        links(i == 0 ? "Nr." : nr);
        for (int j = 1; j <= n; ++j)
            bis(i == 0 ? " " + QString::number(j) : nr + QString::number(j) + ",000", k[j - 1]);
        bis(i == 0 ? "B" : "-" + nr + "000,500", k[n]);
        bis(x[i], k[n + 1]);
    }
    return texte;
}

// Notes every printed text as "text@left..right size[*]" (bold), under a font model in which
// a character is 1 mm wide. The operations that `scheitert` names fail.
class Aufzeichnung final : public Ausgabe {
public:
    std::function<bool(const QString& aufruf)> scheitert;
    QStringList texte;

    bool Millimeter() override { return !scheitert("Millimeter"); }
    bool Schriftart(const QString& name) override { return !scheitert("Schriftart") && name == "arial"; }
    bool Schriftgroesse(double p) override { return !scheitert("Schriftgroesse") && (groesse_ = p, true); }
    bool Fett(bool fett) override { return !scheitert("Fett") && (fett_ = fett, true); }
    bool SetzeX(double x) override { return !scheitert("SetzeX") && (x_ = x, true); }
    bool SetzeY(double y) override { return !scheitert("SetzeY") && y == 20; }
    double X() const override { return x_; }
    double Y() const override { return 0; }
    bool TextBreite(const QString& t, double& b) override {
        return !scheitert("TextBreite " + t) && (b = t.size(), true);
    }
    bool Drucke(const QString& t, bool) override {
        if (scheitert("Drucke " + t)) return false;
        const QString art = QString::number(groesse_) + (fett_ ? "*" : "");
        if (!t.isEmpty()) texte << QString("%1@%2..%3 %4").arg(t).arg(x_).arg(x_ + t.size()).arg(art);
        x_ += t.size();
        return true;
    }
    bool ZeileEnden() override { return !scheitert("ZeileEnden"); }
    bool DokumentEnden() override { return !scheitert("DokumentEnden"); }

private:
    double x_ = 0, groesse_ = 0;
    bool fett_ = false;
};

struct Wort {
    QString text;
    double links, rechts, oben;  // mm
};

// The words of a PDF file, line by line from the top, each line from the left; `seiten` tells
// how many pages it has.
QList<Wort> PdfWoerter(const QString& pfad, int& seiten) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pfad, "-"});
    const QString html = pdftotext.waitForFinished(kFristMs) ? pdftotext.readAllStandardOutput() : "";
    seiten = int(html.count("<page "));
    static const QRegularExpression wort(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)<)re");
    QList<Wort> woerter;
    for (const QRegularExpressionMatch& m : wort.globalMatch(html)) {
        const auto mm = [&](int feld) { return m.captured(feld).toDouble() * 25.4 / 72; };
        woerter.append({m.captured(4), mm(1), mm(3), mm(2)});
    }
    std::stable_sort(woerter.begin(), woerter.end(), [](const Wort& a, const Wort& b) {
        return std::abs(a.oben - b.oben) > 0.5 ? a.oben < b.oben : a.links < b.links;
    });
    return woerter;
}

// A file system of 64 KB of its own, unmounted at the end; it needs root.
struct Platte {
    QByteArray ort;
    bool eingehaengt = false;
    explicit Platte(const QString& ordner) : ort(QFile::encodeName(ordner)) {}
    ~Platte() {
        if (eingehaengt) umount2(ort.constData(), MNT_DETACH);
    }
    // Mounts it with `datei` of 2 KB on it, and fills the rest.
    bool Fuellen(const QString& datei) {
        eingehaengt = QDir().mkpath(ort) && mount("tmpfs", ort.constData(), "tmpfs", 0, "size=64k") == 0;
        QFile rest(ort + "/rest");
        if (!eingehaengt || !Schreiben(datei, QByteArray(2048, 'a')) || !rest.open(QIODevice::WriteOnly))
            return false;
        while (rest.write(QByteArray(512, 'r')) == 512 && rest.flush()) {
        }
        return true;
    }
};

}  // namespace

class TstReport : public QObject {
    Q_OBJECT
    QTemporaryDir ordner_;

private slots:
    void cleanup() { AntwortenAbschliessen(); }
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The whole page for every N, with the cells and columns left in a mess as an earlier
    // report could leave them; a second report gives the same page. A failed step shows one
    // message and the report goes on with the next; a failure inside a row loses the rest of
    // that row only.
    void seite_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("aufruf");  // operations starting with this fail
        QTest::addColumn<int>("meldungen");
        QTest::addColumn<QStringList>("verloren");  // texts missing from the page
        for (int n = 1; n <= 5; ++n) QTest::addRow("N=%d", n) << n << "-" << 0 << QStringList();
        QTest::newRow("N=0, no column for the table title") << 0 << "-" << 1 << QStringList();
        // 8 steps before the table, one per row (2 + N), the end of the document
        QTest::newRow("printer unusable") << 3 << "" << 13 << QStringList("*");
        QTest::newRow("line end") << 3 << "ZeileEnden" << 7
                                  << QStringList();  // 2 steps and 5 rows end a line
        QTest::newRow("width in a data row")
            << 3 << "TextBreite 22,000" << 1 << QStringList{"22,000", "23,000", "-2000,500", "0,667"};
    }
    void seite() {
        QFETCH(int, n);
        QFETCH(QString, aufruf);
        QFETCH(int, meldungen);
        QFETCH(QStringList, verloren);
        TestSystem(n);
        const Gleichungssystem vorher = GS;
        Zelle.fill("alt");
        Spalte.fill(999);
        QStringList erwartet;
        for (const QString& t : Erwartet(n))
            if (!verloren.contains(t.section('@', 0, 0)) && verloren != QStringList("*")) erwartet << t;
        for (int bericht = 0; bericht < 2; ++bericht) {
            Aufzeichnung ausgabe;
            ausgabe.scheitert = [&](const QString& a) { return a.startsWith(aufruf); };
            Meldungen gesehen;
            SystemDrucken(ausgabe);
            QCOMPARE(gesehen.texte, QStringList(meldungen, kHinweis));
            QCOMPARE(ausgabe.texte, erwartet);
        }
        QVERIFY(GS.A == vorher.A && GS.B == vorher.B && GS.X == vorher.X && GS.N == vorher.N);
    }

    // "Drucken" through the real printer code: the file chosen in the dialog gets one page with
    // every text in order, at its place.
    void drucken() {
        for (const char* werkzeug : {"pdftotext", "pdffonts"})
            if (QStandardPaths::findExecutable(werkzeug).isEmpty())
                TOVIK_SKIP("pdftotext and pdffonts are missing (poppler-utils, which make test installs)");
        TestSystem(3);
        const QString gewaehlt = ordner_.filePath("gewaehlt.pdf");
        Beantworten<QPrintDialog>([&](QPrintDialog* dialog) {
            // Printing to a file chosen explicitly: no print queue of the machine is ever used.
            auto* drucker = dialog->findChild<QComboBox*>("printers");
            drucker->setCurrentIndex(drucker->count() - 1);
            dialog->findChild<QLineEdit*>("filename")->setText(gewaehlt);
            dialog->accept();
        });
        Meldungen meldungen;
        SystemDrucken(nullptr);
        int seiten = 0;
        const QList<Wort> woerter = PdfWoerter(gewaehlt, seiten);
        QStringList texte, erwartet;
        for (const Wort& wort : woerter) texte << wort.text;
        for (const QString& text : Erwartet(3))
            erwartet << text.section('@', 0, 0).split(' ', Qt::SkipEmptyParts);
        QCOMPARE(std::pair(seiten, texte), std::pair(1, erwartet));
        // The title's left edge and top at the margin of 20 mm inside the printable area; the
        // lines 1.15 em of Liberation Sans apart (15 and 12 pt); X ending at its column.
        const QRectF rand = Drucker().pageRect(QPrinter::Millimeter);
        const Wort &titel = woerter.first(), &x = woerter.last();
        QVERIFY(std::abs(titel.links - rand.left() - 20) < 0.3 &&
                std::abs(titel.oben - rand.top() - 20) < 0.3);
        QVERIFY(std::abs(x.oben - titel.oben - (4 * 15 + 4 * 12) * 1.15 * 25.4 / 72) < 0.3);
        QVERIFY(std::abs(x.rechts - rand.left() - 171) < 0.3);
        QProcess pdffonts;  // bold title lines, a plain table
        pdffonts.start("pdffonts", {gewaehlt});
        QVERIFY(pdffonts.waitForFinished(kFristMs) &&
                QRegularExpression("LiberationSans-Bold .*\n.*LiberationSans ")
                    .match(pdffonts.readAll())
                    .hasMatch());
        QVERIFY(meldungen.texte.isEmpty());
        DruckerAusgabe falsch(Drucker());  // a font without a name or of no size is refused
        QVERIFY(!falsch.Schriftart("") && !falsch.Schriftgroesse(0) && !falsch.Schriftgroesse(4096) &&
                falsch.Schriftgroesse(10));
    }

    // Where the page goes. A new page replaces the old file only when complete, keeping its
    // mode; a target that is not a regular file (also behind a link), or a full disk, fails the
    // last step with one message and leaves what was there as it was. A printer that cannot be
    // used fails every step. After any of these, a file chosen anew gets the page, also when
    // the dialog is cancelled.
    void ablegen_data() {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("meldungen");
        QTest::newRow("no file") << "" << 13;
        QTest::newRow("old file") << "alt.pdf" << 0;
        QTest::newRow("/dev/full") << "/dev/full" << 1;
        QTest::newRow("fifo") << "fifo" << 1;
        QTest::newRow("link to a fifo") << "link" << 1;
        QTest::newRow("old file on a full disk") << "voll/alt.pdf" << 1;
    }
    void ablegen() {
        QFETCH(QString, ziel);
        QFETCH(int, meldungen);
        TestSystem(3);
        QTemporaryDir hier;
        QVERIFY(Schreiben(hier.filePath("alt.pdf"), QByteArray(2048, 'a')));
        QVERIFY(QFile::setPermissions(hier.filePath("alt.pdf"), QFile::Permissions(0x6040)));
        QVERIFY(mkfifo(QFile::encodeName(hier.filePath("fifo")), 0600) == 0);
        QVERIFY(QFile::link(hier.filePath("fifo"), hier.filePath("link")));
        const QString pfad = ziel.isEmpty() || ziel.startsWith('/') ? ziel : hier.filePath(ziel);
        Platte voll(hier.filePath("voll"));
        if (ziel.startsWith("voll/") && !voll.Fuellen(pfad))
            TOVIK_SKIP("a small file system needs root to mount");
        QFileInfo vorher(pfad);
        vorher.stat();                                               // before anything is replaced
        const QByteArray alt = vorher.isFile() ? Inhalt(pfad) : "";  // a pipe would block

        Meldungen gesehen;
        for (const QString& datei : {pfad, hier.filePath("neu.pdf")}) {
            Drucker().setOutputFileName(datei);
            Beantworten<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
            SystemDrucken(nullptr);
        }
        QCOMPARE(gesehen.texte, QStringList(meldungen, kHinweis));
        QVERIFY(Inhalt(hier.filePath("neu.pdf")).trimmed().endsWith("%%EOF"));
        if (ziel.isEmpty()) return;
        const QFileInfo nachher(pfad);
        const QByteArray jetzt = nachher.isFile() ? Inhalt(pfad) : "";
        QCOMPARE(
            std::tuple(nachher.exists(), nachher.isFile(), nachher.permissions(), jetzt.startsWith("%PDF")),
            std::tuple(true, vorher.isFile(), vorher.permissions(), meldungen == 0));
        if (meldungen > 0) QCOMPARE(jetzt, alt);
    }
};

TOVIK_TEST_MAIN(TstReport)
#include "tst_report.moc"
