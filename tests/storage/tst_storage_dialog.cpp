// The Open and Save commands with the real file dialog, answered from the event loop.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "Gleichungssystem.h"
#include "Hilfen.h"
#include "Meldung.h"
#include "SystemDialog.h"
#include "Systemdatei.h"

using namespace tovik;
using namespace hilfen;

namespace {

QString Kanonisch(const QString& pfad) { return QFileInfo(pfad).canonicalFilePath(); }

// The dialog as the user meets it: title, filters, chosen filter, mode, overwrite question,
// extension, folder and name offered.
QStringList Ablesen(QFileDialog& d) {
    const auto* feld = d.findChild<QLineEdit*>("fileNameEdit");
    return {d.windowTitle(),
            d.nameFilters().join(" | "),
            d.selectedNameFilter(),
            d.acceptMode() == QFileDialog::AcceptSave ? "Speichern" : "Öffnen",
            d.fileMode() == QFileDialog::AnyFile ? "jede Datei" : "nur vorhandene",
            d.testOption(QFileDialog::DontConfirmOverwrite) ? "ohne Frage" : "mit Frage",
            "Endung " + d.defaultSuffix(),
            Kanonisch(d.directory().absolutePath()),
            feld ? feld->text() : "?"};
}

// Answers the next file dialog: notes what it shows, then types `name` and presses Return,
// or cancels when `name` is empty. An overwrite question is answered with `ja`;
// after "No" the dialog is cancelled.
class Beantworter : public QObject {
public:
    explicit Beantworter(QString name, bool ja = true) : name_(std::move(name)), ja_(ja) {
        connect(&timer_, &QTimer::timeout, this, &Beantworter::Schritt);
        timer_.start(5);
    }

    QStringList gesehen;  // Ablesen() of the dialog; empty if none came
    QStringList fragen;   // texts of the overwrite questions

private:
    void Schritt() {
        QWidget* oben = QApplication::activeModalWidget();
        if (auto* frage = qobject_cast<QMessageBox*>(oben)) {
            fragen << frage->text();
            frage->button(ja_ ? QMessageBox::Yes : QMessageBox::No)->click();
            abbrechen_ = !ja_;
            return;
        }
        auto* dialog = qobject_cast<QFileDialog*>(oben);
        if (!dialog) {
            if (beantwortet_) timer_.stop();
            return;
        }
        if (beantwortet_ && !abbrechen_) return;  // Return is still on its way
        if (!beantwortet_) {
            beantwortet_ = true;
            gesehen = Ablesen(*dialog);
            if (!name_.isEmpty()) {
                auto* feld = dialog->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(feld);
                // Typing deselects the file chosen last only while the field has the focus.
                QApplication::setActiveWindow(dialog);
                feld->setFocus();
                feld->setText(name_);
                // Queued: an overwrite question would block right inside the key press.
                QMetaObject::invokeMethod(
                    feld, [feld] { QTest::keyClick(feld, Qt::Key_Return); }, Qt::QueuedConnection);
                return;
            }
        }
        dialog->reject();
        timer_.stop();
    }

    QString name_;
    bool ja_;
    bool beantwortet_ = false;
    bool abbrechen_ = false;
    QTimer timer_;
};

const QString kFilter = "Alle Dateien (*.*) | bisherige Projekte(*.TVK)";
const QString kTvk = "bisherige Projekte(*.TVK)";

}  // namespace

class TstSystemdialog : public QObject {
    Q_OBJECT

    QFileDialog CommonDialog1;  // one dialog for every command, as in the window
    QTemporaryDir ordner;
    QStringList meldungen;  // "title: text"
    MeldungsHook alterHook;

private slots:
    void initTestCase() {
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        QVERIFY(ordner.isValid());
        QVERIFY(Verzeichnis.isEmpty());
        alterHook = SetzeMeldungsHook([this](const std::string& text, const std::string& titel) {
            meldungen << QString::fromStdString(titel + ": " + text);
        });
    }
    void cleanupTestCase() { SetzeMeldungsHook(alterHook); }
    void init() { meldungen.clear(); }

    // First use: the dialog opens in Beispiel beside the program, where the example lies.
    // A missing file is reported, not hidden, so any name may be chosen.
    void ladenAusBeispielordner() {
        GS = Vorher();
        Beantworter antwort("Test.TVK");
        SystemAusDatei(CommonDialog1);
        QCOMPARE(Verzeichnis, QCoreApplication::applicationDirPath() + "/Beispiel/");
        QCOMPARE(antwort.gesehen, (QStringList{"vorh. Gleichungssystem laden", kFilter, kTvk, "Öffnen",
                                       "jede Datei", "ohne Frage", "Endung ", Kanonisch(Verzeichnis), ""}));
        QCOMPARE(meldungen, QStringList());
        // Projekt, Position, N and the block 1..N of A and B come from the file, nothing else.
        Gleichungssystem erwartet = Vorher();
        erwartet.Projekt = "Test";
        erwartet.Position = "1";
        erwartet.N = 3;
        const double zeilen[3][4] = {{3, 4, 7, 90}, {12, 10, 0, 78}, {0, 12, 2, 56}};
        for (int i = 1; i <= 3; ++i) {
            for (int j = 1; j <= 3; ++j) erwartet.A[i][j] = zeilen[i - 1][j - 1];
            erwartet.B[i] = zeilen[i - 1][3];
        }
        QVERIFY(Gleich(GS, erwartet));
    }

    // The name chosen last is offered again, in its folder; no extension is added.
    void speichernOhneEndung() {
        GleichungssystemZuruecksetzen();
        BeispielSystem();
        const Gleichungssystem vorher = GS;
        const QString ziel = ordner.filePath("ohne Endung");
        Beantworter antwort(ziel);
        SystemInDatei(CommonDialog1);
        QCOMPARE(antwort.gesehen, (QStringList{"Gleichungssystem speichern", kFilter, kTvk, "Speichern",
                                       "jede Datei", "mit Frage", "Endung ", Kanonisch(Verzeichnis),
                                       "Test.TVK"}));
        QVERIFY(antwort.fragen.isEmpty());  // a new file needs no question
        QCOMPARE(meldungen, QStringList());
        QCOMPARE(Inhalt(ziel), Beispiel());
        QVERIFY(Gleich(GS, vorher));
        QCOMPARE(Verzeichnis, QCoreApplication::applicationDirPath() + "/Beispiel/");  // set once
    }

    // Cancelled, neither command does anything. Both offer the name chosen last, in its folder.
    void abbrechen() {
        GS = Vorher();
        for (auto* befehl : {&SystemAusDatei, &SystemInDatei}) {
            Beantworter antwort("");
            befehl(CommonDialog1);
            QCOMPARE(antwort.gesehen.mid(7), (QStringList{Kanonisch(ordner.path()), "ohne Endung"}));
        }
        QCOMPARE(meldungen, QStringList());
        QVERIFY(Gleich(GS, Vorher()));
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files), QStringList{"ohne Endung"});
        QCOMPARE(Inhalt(ordner.filePath("ohne Endung")), Beispiel());
    }

    // Saving over a file asks first; "No" keeps the old file, "Yes" stores the record.
    void ueberschreiben() {
        const QString ziel = ordner.filePath("ohne Endung");
        GS = Vorher();
        for (bool ja : {false, true}) {
            Beantworter antwort(ziel, ja);
            SystemInDatei(CommonDialog1);
            QCOMPARE(antwort.fragen.size(), 1);
            QVERIFY2(antwort.fragen[0].contains("ohne Endung"), qPrintable(antwort.fragen[0]));
            QCOMPARE(std::get<SystemDaten>(SystemLesen(Inhalt(ziel))).Projekt, ja ? "Brücke" : "Test");
        }
        QCOMPARE(meldungen, QStringList());
    }

    // A refused file: one message with the command's prefix, and the record exactly as it
    // was. Every reason is in tst_storage_datei; here a missing file, a late refusal,
    // and a save into a missing folder, which makes no folder.
    void abgelehnt_data() {
        QTest::addColumn<bool>("speichern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // null: no file
        QTest::addColumn<QString>("meldung");
        const QString laden = "Tovik: Fehler in Sub SystemAusDatei: ";
        QTest::newRow("missing file") << false << "fehlt.TVK" << QByteArray() << laden + "Datei nicht gefunden";
        QTest::newRow("last value") << false << "Fall.TVK" << MitZeile(16, " 1E999")
                                    << laden + "Überlauf in Zeile 16";
        QTest::newRow("missing folder") << true << "fehlt/System.TVK" << QByteArray()
                                        << "Tovik: Fehler in Sub SystemInDatei: Pfad nicht gefunden";
    }
    void abgelehnt() {
        QFETCH(bool, speichern);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, meldung);
        if (!bytes.isNull()) QVERIFY(Schreiben(ordner.filePath(name), bytes));
        GS = Vorher();
        Beantworter antwort(ordner.filePath(name));
        speichern ? SystemInDatei(CommonDialog1) : SystemAusDatei(CommonDialog1);
        QVERIFY(!antwort.gesehen.isEmpty());
        QCOMPARE(meldungen, QStringList{meldung});
        QVERIFY(Gleich(GS, Vorher()));
        QVERIFY(!QFileInfo::exists(ordner.filePath("fehlt")));
    }
};

int main(int argc, char** argv) {
    // No desktop's own dialog may appear under test.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TstSystemdialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storage_dialog.moc"
