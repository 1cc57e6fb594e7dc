// The printed page: through the printer dialog and the real printer code into a PDF, rendered by
// pdftoppm and compared pixel for pixel with the reference images in referenz/
// (tools/referenzbilder.sh makes them); with the message of each failed step, and what a cancel
// or a refused target leaves of the file.

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QPrintDialog>
#include <QPrinter>

#include "Bildvergleich.h"
#include "DruckerAusgabe.h"
#include "Gleichungssystem.h"
#include "SystemDrucken.h"
#include "Testhilfen.h"  // <QtTest> brings all of QtCore

using namespace tovik;

namespace {

const QString kHinweis = QStringLiteral("Hinweis: Die Ausgabe konnte nicht gedruckt werden.");

// N equations whose page shows every rule: negative values, thirds rounded down and up, a
// negative value that rounds to zero (B(1)), no grouping in -2001,000, and texts that are never
// printed.
void SystemFuer(int n) {
    GS = Gleichungssystem{"Nordbruecke", "Lager-4711", static_cast<std::int16_t>(n)};
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A[i][j] = ((i + j) % 2 ? -1 : 1) * (10 * i + j + j / 3.0);
        GS.B[i] = i == 1 ? -0.0004 : -1000.5 * i, GS.X[i] = (i % 2 ? i : -i) / 3.0;
    }
}

// What a program writes to its standard output; empty unless it ends well in time.
QString Lauf(const QString& programm, const QStringList& argumente) {
    QProcess prozess;
    prozess.start(programm, argumente);
    return prozess.waitForFinished(kFristMs) && !prozess.exitCode() ? prozess.readAllStandardOutput() : "";
}

// The PDF's page at 100 dpi in grey (a pixel a quarter of a millimetre) against the reference.
QString Abweichung(const QString& pdf, const QString& name) {
    QTemporaryDir ort;
    Lauf("pdftoppm", {"-r", "100", "-gray", "-png", "-singlefile", pdf, ort.filePath("seite")});
    return Bildabweichung(QImage(ort.filePath("seite.png")).convertToFormat(QImage::Format_Grayscale8), name,
                          [](QPoint) { return QStringLiteral("page"); });
}

// The real page, but the width of "-21,333" (A(2,1)) cannot be measured.
struct OhneBreite final : DruckerAusgabe {
    using DruckerAusgabe::DruckerAusgabe;
    bool TextBreite(const QString& t, double& b) override {
        return t != "-21,333" && DruckerAusgabe::TextBreite(t, b);
    }
};

}  // namespace

class TstReport : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { AntwortenAbschliessen(); }
    void init() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty())  // pdffonts comes with it
            TOVIK_SKIP("pdftoppm is missing (poppler-utils, which make test installs)");
    }

    // "Drucken" through the dialog, to the PDF file set on A4 as Drucker() makes it (N = 2 in
    // landscape, as a dialog may choose it), after a report that left its cells and columns in a
    // mess. Cancelled, it prints nothing and touches nothing. Confirmed, the page is a new file
    // (N = 4) or replaces an old one, which keeps its mode, owner and group; both fonts are in
    // it. A failed step shows one message and the report goes on: N = 0 has no column N-1 for
    // the table title; in fehler-3 (printed without the dialog) a text of row 2 cannot be
    // measured, and the rest of that row is lost, its line end included. A target that is not a
    // regular file fails the last step; a page that cannot be drawn at all (no temporary folder)
    // fails every step, and only then is the printer replaced (by one with the same settings).
    void seite_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("meldungen");
        for (int n = 0; n <= 5; ++n)
            QTest::addRow("seite-%d", n) << n << (n == 4 ? "neu.pdf" : "alt.pdf") << int(n == 0);
        QTest::newRow("fehler-3") << 3 << "alt.pdf" << 1;
        QTest::newRow("no temporary folder") << 3 << "alt.pdf" << 13;
        QTest::newRow("to a fifo") << 3 << "fifo" << 1;
    }
    void seite() {
        QFETCH(int, n);
        QFETCH(QString, ziel);
        QFETCH(int, meldungen);
        QTemporaryDir ort;
        const QString pfad = ort.filePath(ziel), alt = ort.filePath("alt.pdf");
        const passwd* niemand = getpwnam("nobody");  // as root, the old PDF is another user's
        QVERIFY(Schreiben(alt, "alt") && QFile::setPermissions(alt, QFile::Permissions(0x6040)) &&
                !mkfifo(qPrintable(ort.filePath("fifo")), 0600));
        QVERIFY(geteuid() != 0 || (niemand && !chown(qPrintable(alt), niemand->pw_uid, niemand->pw_gid)));
        const auto zustand = [&] {
            const QFileInfo d(pfad);  // a pipe is not read: it would block
            return std::tuple(d.permissions(), d.owner(), d.group(), d.isFile() ? Inhalt(pfad) : "");
        };
        auto vorher = zustand();
        SystemFuer(n);
        Drucker().setPageSize(QPageSize(QPageSize::A4));
        Drucker().setPageOrientation(n == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
        Drucker().setOutputFileName(pfad);
        Zelle.fill("alt"), Spalte.fill(999);
        Meldungen gesehen;
        Beantworten<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QCOMPARE(std::pair(gesehen.texte, zustand()), std::pair(QStringList(), vorher));
        // A file as the temporary folder, in which not even root can make a file.
        const auto zurueck = qScopeGuard([tmp = qgetenv("TMPDIR")] { qputenv("TMPDIR", tmp); });
        if (meldungen == 13) qputenv("TMPDIR", QFile::encodeName(alt));
        const bool bild = !QByteArray(QTest::currentDataTag()).contains(' ');
        const QPrinter* const zuvor = &Drucker();
        if (QByteArray(QTest::currentDataTag()).startsWith("fehler")) {
            OhneBreite gestoert(Drucker());
            SystemDrucken(gestoert);
        } else {
            Beantworten<QPrintDialog>([](QPrintDialog* dialog) { dialog->accept(); });
            SystemDrucken(nullptr);
        }
        QCOMPARE(gesehen.texte, QStringList(meldungen, kHinweis));
        QCOMPARE(&Drucker() == zuvor, meldungen != 13);  // only a printer that could not begin is replaced
        if (bild) std::get<3>(vorher) = Inhalt(pfad);    // the new page, which the image checks
        if (ziel == "neu.pdf") vorher = zustand();       // nothing there before, nothing to keep
        QCOMPARE(zustand(), vorher);
        if (!bild) return;
        const QString abweichung = Abweichung(pfad, QTest::currentDataTag());
        QVERIFY2(abweichung.isEmpty(), qPrintable(abweichung));
        QVERIFY(
            Lauf("pdffonts", {pfad})
                .contains(QRegularExpression("LiberationSans-Bold .* yes .*\\n.*LiberationSans .* yes ")));
    }
};

TOVIK_TEST_MAIN(TstReport)
#include "tst_report.moc"
