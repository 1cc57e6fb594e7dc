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

#include "Berichthilfen.h"
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
    QList<QList<Wort>> zeilen;  // top to bottom, each line left to right
};

Pdf PdfLesen(const QString& pfad) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pfad, "-"});
    Pdf pdf;
    if (!pdftotext.waitForFinished(-1) || pdftotext.exitCode() != 0) return pdf;
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    pdf.seiten = static_cast<int>(html.count("<page "));
    static const QRegularExpression muster(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="[-\d.]+">([^<]*)</word>)re");
    QList<Wort> woerter;
    for (auto it = muster.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        woerter.append({m.captured(4), m.captured(1).toDouble() / kPunkteJeMm,
                        m.captured(2).toDouble() / kPunkteJeMm, m.captured(3).toDouble() / kPunkteJeMm});
    }
    std::sort(woerter.begin(), woerter.end(), [](const Wort& a, const Wort& b) { return a.oben < b.oben; });
    for (const Wort& w : woerter) {
        if (pdf.zeilen.isEmpty() || w.oben - pdf.zeilen.last().first().oben > 0.1)
            pdf.zeilen.append(QList<Wort>());
        pdf.zeilen.last().append(w);
    }
    for (auto& zeile : pdf.zeilen)
        std::sort(zeile.begin(), zeile.end(), [](const Wort& a, const Wort& b) { return a.links < b.links; });
    return pdf;
}

}  // namespace

class TstReportDrucker : public QObject {
    Q_OBJECT

    QTemporaryDir m_ordner;
    QStringList m_meldungen;
    MeldungsHook m_vorher;

    QString Pfad(const QString& name) const {
        // Set TOVIK_PDF_ORDNER to keep the pages for a look.
        return qEnvironmentVariable("TOVIK_PDF_ORDNER", m_ordner.path()) + '/' + name;
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
    // nothing of the header texts. N = 5 has the smallest font and the most columns.
    void seiteImPdf() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestSystem(5);
        const Seite seite = ErwarteteSeite(5, ".");

        const QString pfad = Pfad("bericht.pdf");
        Drucker().setOutputFileName(pfad);
        {
            DruckerAusgabe ausgabe(Drucker());
            SystemDrucken(ausgabe);
        }
        const Pdf pdf = PdfLesen(pfad);
        QVERIFY(m_meldungen.isEmpty());
        QCOMPARE(pdf.seiten, 1);

        const QRectF rand = Drucker().pageRect(QPrinter::Millimeter);
        const QList<QList<Wort>>& zeilen = pdf.zeilen;
        QCOMPARE(zeilen.size(), seite.size());
        QVERIFY(qAbs(zeilen[0][0].oben - rand.top() - 20) < 0.5);
        // Six table lines below the table title; Liberation Sans is 1.15 em high, 4.06 mm at 10 pt.
        QVERIFY(qAbs((zeilen.last()[0].oben - zeilen[2][0].oben) / 6 - 1.15 * 10 / kPunkteJeMm) < 0.02);
        for (qsizetype z = 0; z < seite.size(); ++z) {
            QStringList erwartet, gefunden;
            for (const Zelltext& zelle : seite[z]) erwartet << zelle.text.split(' ', Qt::SkipEmptyParts);
            for (const Wort& w : zeilen[z]) gefunden << w.text;
            QCOMPARE(gefunden, erwartet);  // in order, and nothing else: no Projekt, no Position
            qsizetype w = 0;
            for (const Zelltext& zelle : seite[z]) {
                const qsizetype erstes = w;
                w += zelle.text.split(' ', Qt::SkipEmptyParts).size();
                const double kante =
                    (zelle.linksbuendig ? zeilen[z][erstes].links : zeilen[z][w - 1].rechts) - rand.left();
                QVERIFY2(qAbs(kante - zelle.kante) < 0.5,
                         qPrintable(QString("'%1' at %2 mm").arg(zelle.text).arg(kante)));
            }
        }
    }

    // A file chosen in the dialog is printed to, and stays the printer for the next report,
    // which a cancelled dialog does not stop.
    void dialog() {
        TestSystem(3);
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
        QCOMPARE(Drucker().outputFileName(), gewaehlt);
        QCOMPARE(PdfLesen(gewaehlt).seiten, 1);

        QVERIFY(QFile::remove(gewaehlt));
        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QCOMPARE(PdfLesen(gewaehlt).seiten, 1);
        QVERIFY(m_meldungen.isEmpty());
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
        TestSystem(3);
        Drucker().setOutputFileName(datei.isEmpty() ? datei : Pfad(datei));
        if (Drucker().outputFormat() != QPrinter::PdfFormat)
            QSKIP("this machine has a real printer; the report would go to it");

        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QCOMPARE(m_meldungen, QStringList(21, "Hinweis: Die Ausgabe konnte nicht gedruckt werden."));

        m_meldungen.clear();
        const QString danach = Pfad("danach.pdf");
        Drucker().setOutputFileName(danach);
        DialogBeantworten([](QPrintDialog* dialog) { dialog->reject(); });
        SystemDrucken(nullptr);
        QVERIFY(m_meldungen.isEmpty());
        QCOMPARE(PdfLesen(danach).seiten, 1);
    }
};

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TstReportDrucker test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_report_drucker.moc"
