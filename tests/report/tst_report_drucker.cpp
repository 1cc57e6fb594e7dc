// The report through the real printer code: printed to PDF files, measured with
// `pdftotext -bbox`, and the "Drucken" command with its printer dialog.

#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include "DruckerAusgabe.h"
#include "Gleichungssystem.h"
#include "Meldung.h"
#include "SystemDrucken.h"

using namespace tovik;

namespace {

constexpr double kPunkteJeMm = 72 / 25.4;

struct Wort {
    QString text;
    double links;   // mm from the left edge of the paper
    double oben;
    double rechts;
};

struct Pdf {
    int seiten = 0;
    QList<Wort> woerter;
};

Pdf PdfLesen(const QString& pfad) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pfad, "-"});
    Pdf pdf;
    if (!pdftotext.waitForFinished(-1) || pdftotext.exitCode() != 0) return pdf;
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    pdf.seiten = static_cast<int>(html.count("<page "));
    static const QRegularExpression wort(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="[-\d.]+">([^<]*)</word>)re");
    for (auto it = wort.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        pdf.woerter.append({m.captured(4), m.captured(1).toDouble() / kPunkteJeMm,
                            m.captured(2).toDouble() / kPunkteJeMm,
                            m.captured(3).toDouble() / kPunkteJeMm});
    }
    return pdf;
}

// The words of the page grouped into lines, top to bottom, each line left to right.
QList<QList<Wort>> Zeilen(QList<Wort> woerter) {
    std::sort(woerter.begin(), woerter.end(),
              [](const Wort& a, const Wort& b) { return a.oben < b.oben; });
    QList<QList<Wort>> zeilen;
    for (const Wort& w : woerter) {
        if (zeilen.isEmpty() || w.oben - zeilen.last().first().oben > 0.1)
            zeilen.append(QList<Wort>{});
        zeilen.last().append(w);
    }
    for (auto& zeile : zeilen)
        std::sort(zeile.begin(), zeile.end(),
                  [](const Wort& a, const Wort& b) { return a.links < b.links; });
    return zeilen;
}

struct Zelltext {
    QString text;
    double kante;  // mm in the printable area: start of a left-aligned, end of a right-aligned text
    bool linksbuendig = false;
};
using Seite = QList<QList<Zelltext>>;

Zelltext Links(const QString& text) { return {text, 20, true}; }

// Title, N and the table, for the columns of this N.
Seite ErwarteteSeite(int n, const std::vector<double>& a, double b, double x,
                     const std::function<QString(int, int)>& zelle) {
    Seite seite = {{Links("Programm  Tovik.vbp, Version 5.0")},
                   {Links(QStringLiteral("Anzahl der Gleichungen N =  %1").arg(n))},
                   {{"Koeffizientenmatrix A", a[n - 2]}, {"rechte Seite", b}, {"Ergebnisse", x}}};
    QList<Zelltext> kopf = {Links("Nr.")};
    for (int k = 1; k <= n; ++k) kopf.append({QString::number(k), a[k - 1]});
    kopf << Zelltext{"B", b} << Zelltext{"X", x};
    seite.append(kopf);
    for (int i = 1; i <= n; ++i) {
        QList<Zelltext> zeile = {Links(QString::number(i))};
        for (int k = 1; k <= n; ++k) zeile.append({zelle(i, k), a[k - 1]});
        zeile << Zelltext{zelle(i, n + 1), b} << Zelltext{zelle(i, n + 2), x};
        seite.append(zeile);
    }
    return seite;
}

}  // namespace

Q_DECLARE_METATYPE(Seite)

class TstReportDrucker : public QObject {
    Q_OBJECT

    QTemporaryDir m_ordner;
    QStringList m_meldungen;
    MeldungsHook m_vorher;

    QString Pfad(const QString& name) const {
        // Set TOVIK_PDF_ORDNER to keep the pages for a look.
        const QString ordner = qEnvironmentVariable("TOVIK_PDF_ORDNER", m_ordner.path());
        return ordner + '/' + name;
    }

    // Answers the printer dialog as soon as it is up.
    void DialogBeantworten(std::function<void(QPrintDialog*)> antwort) {
        auto* warten = new QTimer(this);
        warten->setInterval(10);
        connect(warten, &QTimer::timeout, this, [warten, antwort] {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                warten->deleteLater();
                warten->stop();
                antwort(dialog);
            }
        });
        warten->start();
    }

    static void BeispielGeloest() {
        GleichungssystemZuruecksetzen();
        BeispielSystem();
        SystemLoesen();
        GS.A = GS.A0;  // as the compute command leaves the record
        GS.B = GS.B0;
    }

    // The report as a PDF through the program-wide printer, without the dialog.
    Pdf Drucken(const QString& pfad) {
        Drucker().setOutputFileName(pfad);
        {
            DruckerAusgabe ausgabe(Drucker());
            SystemDrucken(ausgabe);
        }
        return PdfLesen(pfad);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_ordner.isValid());
        m_vorher = SetzeMeldungsHook([this](const std::string& text, const std::string& titel) {
            m_meldungen << QString::fromStdString(titel + ": " + text);
        });
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "poppler-utils missing");
    }
    void cleanupTestCase() { SetzeMeldungsHook(m_vorher); }
    void init() { m_meldungen.clear(); }

    // Every cell of the table on one page, right edges at their columns, rows in order, and
    // nothing of the header texts.
    void seiteImPdf_data() {
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<int>("n");
        QTest::addColumn<Seite>("seite");

        static const char* const beispiel[4][6] = {
            {},
            {"", "3,000", "4,000", "7,000", "90,000", "3,918"},
            {"", "12,000", "10,000", "0,000", "78,000", "3,099"},
            {"", "0,000", "12,000", "2,000", "56,000", "9,407"}};
        QTest::newRow("example, German") << "de_DE" << 3
            << ErwarteteSeite(3, {55, 80, 105}, 138, 171,
                              [](int i, int k) { return QString(beispiel[i][k]); });

        // See FuenfGleichungen() for the values.
        static const char* const x[] = {"", "-0.333", "-0.667", "-1.000", "-1.333", "-1.667"};
        QTest::newRow("N=5, English") << "en_US" << 5
            << ErwarteteSeite(5, {46, 67, 88, 108, 129}, 158, 187, [](int i, int k) -> QString {
                   if (k == 6) return QString::number(i) + "000.125";
                   if (k == 7) return x[i];
                   return i == k ? "100.500" : QString::number(-(i + k) / 4.0, 'f', 3);
               });
    }
    void seiteImPdf() {
        QFETCH(QString, sprache);
        QFETCH(int, n);
        QFETCH(Seite, seite);
        QLocale::setDefault(QLocale(sprache));
        if (n == 3) {
            BeispielGeloest();
        } else {
            GleichungssystemZuruecksetzen();
            GS.N = 5;
            for (int i = 1; i <= 5; ++i) {
                for (int k = 1; k <= 5; ++k) GS.A[i][k] = i == k ? 100.5 : -(i + k) / 4.0;
                GS.B[i] = 1000 * i + 0.125;
                GS.X[i] = -i / 3.0;
            }
        }
        GS.Projekt = "Nordbruecke";
        GS.Position = "Lager-4711";

        const Pdf pdf = Drucken(Pfad(QStringLiteral("bericht-%1.pdf").arg(n)));
        QVERIFY(m_meldungen.isEmpty());
        QCOMPARE(pdf.seiten, 1);

        const double randLinks = Drucker().pageRect(QPrinter::Millimeter).left();
        const double randOben = Drucker().pageRect(QPrinter::Millimeter).top();
        const QList<QList<Wort>> zeilen = Zeilen(pdf.woerter);
        QCOMPARE(zeilen.size(), seite.size());
        QVERIFY(qAbs(zeilen[0][0].oben - randOben - 20) < 0.5);

        for (qsizetype z = 0; z < seite.size(); ++z) {
            const QList<Wort>& woerter = zeilen[z];
            qsizetype w = 0;
            for (const Zelltext& zelle : seite[z]) {
                const QStringList teile = zelle.text.split(' ', Qt::SkipEmptyParts);
                const QByteArray wo = QStringLiteral("line %1, '%2'").arg(z).arg(zelle.text).toUtf8();
                QVERIFY2(w + teile.size() <= woerter.size(), wo + " missing");
                for (qsizetype t = 0; t < teile.size(); ++t)
                    QVERIFY2(woerter[w + t].text == teile[t], wo + " found '" + woerter[w + t].text.toUtf8() + "'");
                const double kante = zelle.linksbuendig ? woerter[w].links
                                                        : woerter[w + teile.size() - 1].rechts;
                QVERIFY2(qAbs(kante - randLinks - zelle.kante) < 0.5,
                         wo + " at " + QByteArray::number(kante - randLinks) + " mm");
                w += teile.size();
            }
            QCOMPARE(w, woerter.size());
        }
        for (const Wort& w : pdf.woerter)
            QVERIFY2(!w.text.contains("Nordbruecke") && !w.text.contains("Lager"), qPrintable(w.text));
    }

    // A cancelled dialog does not stop the report: it goes to the printer current before.
    void dialogAbgebrochen() {
        BeispielGeloest();
        const QString pfad = Pfad("abgebrochen.pdf");
        QFile::remove(pfad);
        Drucker().setOutputFileName(pfad);
        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QVERIFY(m_meldungen.isEmpty());
        const Pdf pdf = PdfLesen(pfad);
        QCOMPARE(pdf.seiten, 1);
        QCOMPARE(pdf.woerter.first().text, "Programm");
    }

    // A file chosen in the dialog is printed to, and stays the printer for the next report.
    void dialogBestaetigt() {
        BeispielGeloest();
        Drucker().setOutputFileName(Pfad("vorher.pdf"));
        const QString gewaehlt = Pfad("gewaehlt.pdf");
        QFile::remove(gewaehlt);
        bool eingetragen = false;
        DialogBeantworten([&](QPrintDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>("filename");
            if (name) {
                name->setText(gewaehlt);
                eingetragen = true;
            }
            dialog->accept();
        });
        SystemDrucken(nullptr);
        QVERIFY2(eingetragen, "no file name field in the printer dialog");
        QVERIFY(m_meldungen.isEmpty());
        QCOMPARE(Drucker().outputFileName(), gewaehlt);
        QCOMPARE(PdfLesen(gewaehlt).seiten, 1);

        QVERIFY(QFile::remove(gewaehlt));
        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QCOMPARE(PdfLesen(gewaehlt).seiten, 1);
    }

    // A printer that cannot be used: one message per step, no crash, and the next report on a
    // usable choice works (Qt refuses new settings on a printer whose begin() failed).
    void unbrauchbarerDrucker_data() {
        QTest::addColumn<QString>("datei");
        QTest::newRow("no printer, no file") << "";
        QTest::newRow("folder missing") << "fehlt/bericht.pdf";
    }
    void unbrauchbarerDrucker() {
        QFETCH(QString, datei);
        BeispielGeloest();
        const Gleichungssystem vorher = GS;
        Drucker().setOutputFileName(datei.isEmpty() ? datei : Pfad(datei));
        if (Drucker().outputFormat() != QPrinter::PdfFormat)
            QSKIP("this machine has a real printer; the report would go to it");

        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QCOMPARE(m_meldungen.size(), 21);
        QCOMPARE(m_meldungen.count("Hinweis: Die Ausgabe konnte nicht gedruckt werden."), 21);
        QCOMPARE(GS.X, vorher.X);
        QCOMPARE(GS.A, vorher.A);

        m_meldungen.clear();
        const QString danach = Pfad("danach.pdf");
        Drucker().setOutputFileName(danach);
        QCOMPARE(Drucker().outputFileName(), danach);
        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QVERIFY(m_meldungen.isEmpty());
        QCOMPARE(PdfLesen(danach).seiten, 1);
    }

    // The surface itself: printing moves x to the end of the text, a line end goes back to
    // the left edge and down by the line height of the current font.
    void flaeche() {
        Drucker().setOutputFileName(Pfad("flaeche.pdf"));
        DruckerAusgabe ausgabe(Drucker());
        QVERIFY(ausgabe.Millimeter());
        QVERIFY(ausgabe.Schriftart("arial"));
        QVERIFY(ausgabe.Schriftgroesse(12));
        QVERIFY(ausgabe.SetzeX(30));
        QVERIFY(ausgabe.SetzeY(40));
        double breite = 0;
        QVERIFY(ausgabe.TextBreite("Ergebnisse", breite));
        // Liberation Sans: "Ergebnisse" is 5.002 em wide, a line 1.15 em high; 12 pt = 4.233 mm
        QVERIFY(qAbs(breite - 5.002 * 4.2333) < 0.05);
        QVERIFY(ausgabe.Drucke("Ergebnisse", false));
        QCOMPARE(ausgabe.X(), 30 + breite);
        QCOMPARE(ausgabe.Y(), 40.0);
        QVERIFY(ausgabe.ZeileEnden());
        QCOMPARE(ausgabe.X(), 0.0);
        QVERIFY(qAbs(ausgabe.Y() - 40 - 1.15 * 4.2333) < 0.05);
        QVERIFY(ausgabe.Schriftgroesse(24));
        QVERIFY(ausgabe.Drucke("Seite", true));
        QVERIFY(qAbs(ausgabe.Y() - 40 - 3 * 1.15 * 4.2333) < 0.05);
        QVERIFY(!ausgabe.Schriftgroesse(0));
        QVERIFY(ausgabe.DokumentEnden());
    }
};

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TstReportDrucker test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_report_drucker.moc"
