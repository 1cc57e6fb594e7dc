// The printed page: on a recording surface (every text, font and place; failing operations),
// and through the real printer code into PDF files, measured with `pdftotext -bbox`.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QPrintDialog>
#include <QPrinter>

#include "DruckerAusgabe.h"
#include "Gleichungssystem.h"
#include "SystemDrucken.h"
#include "Testhilfen.h"  // <QtTest> brings all of QtCore

using namespace tovik;

namespace {

const QString kHinweis = QStringLiteral("Hinweis: Die Ausgabe konnte nicht gedruckt werden.");

// Puts N equations into GS and returns their page as Aufzeichnung notes it, line by line: the
// title lines at 15 pt bold, the table smaller; the row labels at the margin, every other cell
// ending at its column's edge. With N = 0 there is no column N-1 for the table title, and that
// row is missing. A(i,j) = 10i + j, B(i) = -1000i - 0.5, X(i) = i/3: every cell differs, B would
// show a grouping separator, X rounds down and up.
QStringList Seite(int n) {
    GS = Gleichungssystem{"Nordbruecke", "Lager-4711", static_cast<std::int16_t>(n)};  // texts never printed
    // right edges of the columns of A, then B and X
    static const QList<double> kanten[] = {{55, 80},
                                           {55, 88, 121},
                                           {55, 80, 113, 146},
                                           {55, 80, 105, 138, 171},
                                           {50, 73, 95, 118, 149, 180},
                                           {46, 67, 88, 108, 129, 158, 187}};
    static const char* const x[] = {"0,333", "0,667", "1,000", "1,333", "1,667"};
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
    if (n > 0) bis("Koeffizientenmatrix A", n == 1 ? 20 + 21 : k[n - 2]);  // N = 1: at the margin
    if (n > 0) bis("rechte Seite", k[n]), bis("Ergebnisse", k[n + 1]);
    links("Nr.");
    for (int j = 1; j <= n; ++j) bis(" " + QString::number(j), k[j - 1]);
    bis("B", k[n]), bis("X", k[n + 1]);
    for (int i = 1; i <= n; ++i) {
        const QString nr = QString::number(i);
        links(nr);
        for (int j = 1; j <= n; ++j) GS.A[i][j] = 10 * i + j, bis(nr + QString::number(j) + ",000", k[j - 1]);
        GS.B[i] = -1000 * i - 0.5, GS.X[i] = i / 3.0;
        bis("-" + nr + "000,500", k[n]), bis(x[i - 1], k[n + 1]);
    }
    return texte;
}

// Notes every printed text as "text@left..right size[*]" (bold), under a font model in which
// a character is 1 mm wide. The operations that start with `aus` fail.
struct Aufzeichnung final : Ausgabe {
    QString aus, fett;  // fett: "*" while bold
    QStringList texte;
    double x = 0, pt = 0;

    bool ok(const QString& aufruf) const { return !aufruf.startsWith(aus); }
    bool Millimeter() override { return ok("Millimeter"); }
    bool Schriftart(const QString& name) override { return ok("Schriftart") && name == "arial"; }
    bool Schriftgroesse(double p) override { return ok("Schriftgroesse") && (pt = p, true); }
    bool Fett(bool f) override { return ok("Fett") && (fett = f ? "*" : "", true); }
    bool SetzeX(double nach) override { return ok("SetzeX") && (x = nach, true); }
    bool SetzeY(double y) override { return ok("SetzeY") && y == 20; }
    double X() const override { return x; }
    double Y() const override { return 0; }
    bool TextBreite(const QString& t, double& b) override { return b = t.size(), ok("TextBreite " + t); }
    bool Drucke(const QString& t, bool) override {
        if (!ok("Drucke")) return false;
        if (!t.isEmpty()) texte << QString("%1@%2..%3 %4").arg(t).arg(x).arg(x + t.size()).arg(pt) + fett;
        return x += t.size(), true;
    }
    bool ZeileEnden() override { return ok("ZeileEnden"); }
    bool DokumentEnden() override { return ok("DokumentEnden"); }
};

// What a program writes to its standard output, if it ends in time.
QString Lauf(const QString& programm, const QStringList& argumente) {
    QProcess prozess;
    prozess.start(programm, argumente);
    return prozess.waitForFinished(kFristMs) ? prozess.readAllStandardOutput() : "";
}

// The words of a PDF file with their boxes (mm from the top left corner of Drucker()'s
// printable area), line by line from the top, each line from the left; none unless it has
// exactly one page, landscape A4 (842 pt wide).
QList<std::pair<QString, QRectF>> PdfWoerter(const QString& pfad) {
    const QString html = Lauf("pdftotext", {"-bbox", pfad, "-"});
    const QPointF ecke = Drucker().pageRect(QPrinter::Millimeter).topLeft();
    static const QRegularExpression wort(R"re(xMin="(\S+)" yMin="(\S+)" xMax="(\S+)" [^>]+>([^<]*)<)re");
    QList<std::pair<QString, QRectF>> woerter;
    for (const QRegularExpressionMatch& m : wort.globalMatch(html)) {
        const auto mm = [&](int feld) { return m.captured(feld).toDouble() * 25.4 / 72; };
        woerter.append({m.captured(4), QRectF(QPointF(mm(1), mm(2)) - ecke, QPointF(mm(3), mm(2)) - ecke)});
    }
    std::ranges::sort(woerter, {}, [](const auto& w) { return std::pair(w.second.top(), w.second.left()); });
    return html.count("<page width=\"842") == 1 ? woerter : decltype(woerter)();
}

// Mounts a file system of 64 KB on the folder of `datei` (which needs root), puts `datei` of
// 2 KB on it and fills the rest.
bool VollePlatte(const QString& datei) {
    const QString ort = QFileInfo(datei).path();
    QFile rest(ort + "/rest");
    return QDir().mkpath(ort) && mount("tmpfs", qPrintable(ort), "tmpfs", 0, "size=64k") == 0 &&
           Schreiben(datei, QByteArray(2048, 'a')) && rest.open(QIODevice::WriteOnly) &&
           rest.write(QByteArray(1 << 16, 'r')) < (1 << 16);
}

}  // namespace

class TstReport : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { AntwortenAbschliessen(); }
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The whole page for every N, with the cells and columns left in a mess as an earlier
    // report could leave them; a second report gives the same page and the record stays as it
    // was. A failed step shows one message and the report goes on with the next; a failure
    // inside a row loses the rest of that row only.
    void seite_data() {
        QTest::addColumn<QString>("aus");           // operations starting with this fail
        QTest::addColumn<QList<int>>("meldungen");  // for N = 0 to 5; N = 0 has no column N-1 for the title
        QTest::addColumn<QStringList>("weg");       // texts missing from the page, "*" for all
        QTest::newRow("nothing fails") << "-" << QList<int>{1, 0, 0, 0, 0, 0} << QStringList();
        // 9 steps before the data rows, one per data row, the end of the document
        QTest::newRow("everything fails") << "" << QList<int>{10, 11, 12, 13, 14, 15} << QStringList("*");
        // 2 steps, the title row, the head row and every data row end a line
        QTest::newRow("ZeileEnden fails") << "ZeileEnden" << QList<int>{4, 5, 6, 7, 8, 9} << QStringList();
        QTest::newRow("TextBreite 22,000 fails")
            << "TextBreite 22,000" << QList<int>{1, 0, 1, 1, 1, 1}
            << QStringList{"22,000", "23,000", "24,000", "25,000", "-2000,500", "0,667"};
    }
    void seite() {
        QFETCH(QString, aus);
        QFETCH(QList<int>, meldungen);
        QFETCH(QStringList, weg);
        for (int n = 0; n <= 5; ++n) {
            QStringList soll = Seite(n);
            soll.removeIf([&](const auto& t) { return weg.contains("*") || weg.contains(t.split('@')[0]); });
            const Gleichungssystem vorher = GS;
            Zelle.fill("alt"), Spalte.fill(999);
            for (int bericht = 0; bericht < 2; ++bericht) {
                Aufzeichnung ausgabe;
                ausgabe.aus = aus;
                Meldungen gesehen;
                SystemDrucken(ausgabe);
                QCOMPARE(std::pair(n, gesehen.texte), std::pair(n, QStringList(meldungen[n], kHinweis)));
                QCOMPARE(ausgabe.texte, soll);
            }
            QVERIFY(GS.A == vorher.A && GS.B == vorher.B && GS.X == vorher.X && GS.N == vorher.N);
        }
    }

    // "Drucken" through the real printer code, to the PDF file set on the printer. Cancelled,
    // the dialog prints nothing and touches nothing. Confirmed: a new page replaces an old file
    // only when complete, keeping its mode, owner and group; a target that is not a regular file
    // (also behind a link), or a full disk, fails the last step with one message and leaves what
    // was there as it was; a page that cannot be drawn at all (no temporary folder) fails every
    // step. The page printed is the page chosen on the printer, with every text in order, the
    // title's left edge and top at the margin of 20 mm, the lines 1.15 em of Liberation Sans
    // apart (15 and 12 pt), X ending at its column, the title lines bold.
    void drucken_data() {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("meldungen");  // of the confirmed print
        QTest::newRow("old file") << "alt.pdf" << 0;
        QTest::newRow("old file, no temporary folder") << "alt.pdf" << 13;
        QTest::newRow("/dev/full") << "/dev/full" << 1;
        QTest::newRow("fifo") << "fifo" << 1;
        QTest::newRow("link to a fifo") << "link" << 1;
        QTest::newRow("old file on a full disk") << "voll/alt.pdf" << 1;
    }
    void drucken() {
        QFETCH(QString, ziel);
        QFETCH(int, meldungen);
        QTemporaryDir ort;
        const QString pfad = ziel.startsWith('/') ? ziel : ort.filePath(ziel), alt = ort.filePath("alt.pdf");
        QVERIFY(Schreiben(alt, "alt") && QFile::setPermissions(alt, QFile::Permissions(0x6040)));
        // As root, the old PDF is another user's, and stays theirs.
        if (geteuid() == 0) Lauf("chown", {"nobody:nogroup", alt});
        QVERIFY(geteuid() != 0 || QFileInfo(alt).owner() == "nobody");
        QVERIFY(!mkfifo(qPrintable(ort.filePath("fifo")), 0600) && QFile::link("fifo", ort.filePath("link")));
        const auto aushaengen = qScopeGuard([&] { umount2(qPrintable(ort.filePath("voll")), MNT_DETACH); });
        if (ziel.startsWith("voll/") && !VollePlatte(pfad)) TOVIK_SKIP("mounting a file system needs root");
        // What is there, mode, owner and group included (gone, it would have none), and what it
        // holds. A pipe is not read: it would block.
        const auto zustand = [&](bool inhalt) {
            const QFileInfo d(pfad);
            return std::tuple(d.isFile(), d.permissions(), d.owner(), d.group(),
                              d.isFile() && inhalt ? Inhalt(pfad) : "");
        };
        const auto vorher = zustand(true), vorherOhneInhalt = zustand(false);
        // the words of the page, in order
        const auto soll = Seite(3).join(' ').split(QRegularExpression(" |@\\S+ \\S+"), Qt::SkipEmptyParts);

        Meldungen gesehen;
        Drucker().setPageOrientation(QPageLayout::Landscape);  // the page as chosen goes into the PDF
        Drucker().setOutputFileName(pfad);
        Beantworten<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QCOMPARE(std::pair(gesehen.texte, zustand(true)), std::pair(QStringList(), vorher));
        // A file as the temporary folder, in which not even root can make a file.
        const auto zurueck = qScopeGuard([tmp = qgetenv("TMPDIR")] { qputenv("TMPDIR", tmp); });
        if (meldungen == 13) qputenv("TMPDIR", QFile::encodeName(alt));
        Beantworten<QPrintDialog>([](QPrintDialog* dialog) { dialog->accept(); });
        SystemDrucken(nullptr);
        QCOMPARE(gesehen.texte, QStringList(meldungen, kHinweis));
        // Only a new page replaces the content (checked below).
        QCOMPARE(zustand(meldungen > 0), meldungen > 0 ? vorher : vorherOhneInhalt);
        if (meldungen > 0) return;

        if (QStandardPaths::findExecutable("pdftotext").isEmpty())  // pdffonts comes with it
            TOVIK_SKIP("pdftotext is missing (poppler-utils, which make test installs)");
        const auto nah = [](double a, double b) { return std::abs(a - b) < 0.3; };
        const auto woerter = PdfWoerter(pfad);
        QStringList texte;
        for (const auto& [text, rahmen] : woerter) texte << text;
        QCOMPARE(texte, soll);
        const QRectF &titel = woerter.first().second, &x = woerter.last().second;
        QVERIFY(nah(titel.left(), 20) && nah(titel.top(), 20) && nah(x.right(), 171) &&
                nah(x.top(), 20 + (4 * 15 + 4 * 12) * 1.15 * 25.4 / 72));
        QVERIFY(Lauf("pdffonts", {pfad})
                    .contains(QRegularExpression("LiberationSans-Bold .*\n.*LiberationSans ")));
        DruckerAusgabe d(Drucker());  // a font without a name or of no size is refused
        QVERIFY(!d.Schriftart("") && !d.Schriftgroesse(0) && d.Schriftgroesse(0.5) &&
                d.Schriftgroesse(2048) && !d.Schriftgroesse(2049));
    }
};

TOVIK_TEST_MAIN(TstReport)
#include "tst_report.moc"
