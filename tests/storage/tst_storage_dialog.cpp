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

#include <functional>

#include "Fehlerfaelle.h"
#include "Gleichungssystem.h"
#include "Hilfen.h"
#include "Meldung.h"
#include "SystemDialog.h"
#include "Systemdatei.h"

using namespace tovik;

namespace {

// Answers the next file dialog: lets `pruefen` look at it, then types `name` and presses
// Return, or cancels when `name` is empty. An overwrite question is answered with `ja`;
// after "No" the dialog is cancelled.
class Beantworter : public QObject {
public:
    explicit Beantworter(QString name, std::function<void(QFileDialog&)> pruefen = {}, bool ja = true)
        : name_(std::move(name)), pruefen_(std::move(pruefen)), ja_(ja) {
        connect(&timer_, &QTimer::timeout, this, &Beantworter::Schritt);
        timer_.start(5);
    }

    bool dialogGesehen = false;
    QStringList fragen;  // texts of the overwrite questions

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
            dialogGesehen = true;
            beantwortet_ = true;
            if (pruefen_) pruefen_(*dialog);
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
    std::function<void(QFileDialog&)> pruefen_;
    bool ja_;
    bool beantwortet_ = false;
    bool abbrechen_ = false;
    QTimer timer_;
};

struct Einstellungen {
    QString titel;
    QStringList filter;
    QString gewaehlterFilter;
    QFileDialog::AcceptMode modus{};
    QFileDialog::FileMode dateimodus{};
    bool ohneFrage = false;
    QString endung;
    QString ordner;
    QString name;
};

Einstellungen Ablesen(QFileDialog& dialog) {
    const auto* feld = dialog.findChild<QLineEdit*>("fileNameEdit");
    return {dialog.windowTitle(),
            dialog.nameFilters(),
            dialog.selectedNameFilter(),
            dialog.acceptMode(),
            dialog.fileMode(),
            dialog.testOption(QFileDialog::DontConfirmOverwrite),
            dialog.defaultSuffix(),
            QFileInfo(dialog.directory().absolutePath()).canonicalFilePath(),
            feld ? feld->text() : QString("?")};
}

QByteArray Inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

bool Schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

QString Kanonisch(const QString& pfad) { return QFileInfo(pfad).canonicalFilePath(); }

// The record after loading the example over Vorher(): only the file's fields change.
Gleichungssystem VorherMitBeispiel() {
    Gleichungssystem gs = hilfen::Vorher();
    DatenInSystem(std::get<SystemDaten>(SystemLesen(fehlerfaelle::Beispiel())), gs);
    return gs;
}

}  // namespace

class TstSystemdialog : public QObject {
    Q_OBJECT

    QFileDialog CommonDialog1;  // one dialog for every command, as in the window
    QTemporaryDir ordner;
    QStringList meldungen;
    QStringList titel;
    MeldungsHook alterHook;

private slots:
    void initTestCase() {
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        QVERIFY(ordner.isValid());
        QVERIFY(Verzeichnis.isEmpty());
        alterHook = SetzeMeldungsHook([this](const std::string& text, const std::string& t) {
            meldungen << QString::fromStdString(text);
            titel << QString::fromStdString(t);
        });
    }
    void cleanupTestCase() { SetzeMeldungsHook(alterHook); }
    void init() {
        meldungen.clear();
        titel.clear();
    }

    // First use: the dialog opens in Beispiel beside the program, where the example lies.
    void ladenAusBeispielordner() {
        GS = hilfen::Vorher();
        Einstellungen gesehen;
        Beantworter antwort("Test.TVK", [&](QFileDialog& d) { gesehen = Ablesen(d); });
        SystemAusDatei(CommonDialog1);
        QVERIFY(antwort.dialogGesehen);

        QCOMPARE(Verzeichnis, QCoreApplication::applicationDirPath() + "/Beispiel/");
        QCOMPARE(gesehen.titel, "vorh. Gleichungssystem laden");
        QCOMPARE(gesehen.filter, (QStringList{"Alle Dateien (*.*)", "bisherige Projekte(*.TVK)"}));
        QCOMPARE(gesehen.gewaehlterFilter, "bisherige Projekte(*.TVK)");
        QCOMPARE(gesehen.modus, QFileDialog::AcceptOpen);
        QCOMPARE(gesehen.dateimodus, QFileDialog::AnyFile);  // a missing file is reported, not hidden
        QVERIFY(gesehen.ohneFrage);
        QCOMPARE(gesehen.endung, QString());
        QCOMPARE(gesehen.ordner, Kanonisch(Verzeichnis));
        QCOMPARE(gesehen.name, QString());  // nothing chosen yet
        QVERIFY(antwort.fragen.isEmpty());

        QCOMPARE(meldungen, QStringList());
        QVERIFY(hilfen::Gleich(GS, VorherMitBeispiel()));
    }

    // The name chosen last is offered again, in its folder; no extension is added.
    void speichernOhneEndung() {
        GleichungssystemZuruecksetzen();
        BeispielSystem();
        const Gleichungssystem vorher = GS;
        const QString ziel = ordner.filePath("ohne Endung");
        Einstellungen gesehen;
        Beantworter antwort(ziel, [&](QFileDialog& d) { gesehen = Ablesen(d); });
        SystemInDatei(CommonDialog1);
        QVERIFY(antwort.dialogGesehen);

        QCOMPARE(gesehen.titel, "Gleichungssystem speichern");
        QCOMPARE(gesehen.filter, (QStringList{"Alle Dateien (*.*)", "bisherige Projekte(*.TVK)"}));
        QCOMPARE(gesehen.gewaehlterFilter, "bisherige Projekte(*.TVK)");
        QCOMPARE(gesehen.modus, QFileDialog::AcceptSave);
        QVERIFY(!gesehen.ohneFrage);
        QCOMPARE(gesehen.endung, QString());
        QCOMPARE(gesehen.name, "Test.TVK");
        QCOMPARE(gesehen.ordner, Kanonisch(Verzeichnis));
        QVERIFY(antwort.fragen.isEmpty());  // a new file needs no question

        QCOMPARE(meldungen, QStringList());
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files), QStringList{"ohne Endung"});
        QCOMPARE(Inhalt(ziel), fehlerfaelle::Beispiel());
        QVERIFY(hilfen::Gleich(GS, vorher));  // saving changes nothing
        QCOMPARE(Verzeichnis, QCoreApplication::applicationDirPath() + "/Beispiel/");  // set once
    }

    void abbrechen() {
        GS = hilfen::Vorher();
        Einstellungen gesehen;
        {
            Beantworter antwort("", [&](QFileDialog& d) { gesehen = Ablesen(d); });
            SystemAusDatei(CommonDialog1);
            QVERIFY(antwort.dialogGesehen);
        }
        QCOMPARE(gesehen.name, "ohne Endung");
        QCOMPARE(gesehen.ordner, Kanonisch(ordner.path()));
        {
            Beantworter antwort("");
            SystemInDatei(CommonDialog1);
            QVERIFY(antwort.dialogGesehen);
        }
        QCOMPARE(meldungen, QStringList());
        QVERIFY(hilfen::Gleich(GS, hilfen::Vorher()));
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files), QStringList{"ohne Endung"});
        QCOMPARE(Inhalt(ordner.filePath("ohne Endung")), fehlerfaelle::Beispiel());
    }

    // Saving over a file asks first; "No" keeps the old file.
    void ueberschreiben() {
        const QString ziel = ordner.filePath("ohne Endung");
        GS = hilfen::Vorher();
        {
            Beantworter antwort(ziel, {}, false);
            SystemInDatei(CommonDialog1);
            QCOMPARE(antwort.fragen.size(), 1);
            QVERIFY2(antwort.fragen[0].contains("ohne Endung"), qPrintable(antwort.fragen[0]));
        }
        QCOMPARE(Inhalt(ziel), fehlerfaelle::Beispiel());
        {
            Beantworter antwort(ziel, {}, true);
            SystemInDatei(CommonDialog1);
            QCOMPARE(antwort.fragen.size(), 1);
        }
        QCOMPARE(meldungen, QStringList());
        const LeseErgebnis gelesen = SystemLesen(Inhalt(ziel));
        QVERIFY(std::holds_alternative<SystemDaten>(gelesen));
        QCOMPARE(std::get<SystemDaten>(gelesen).Projekt, "Brücke");
    }

    // Every refused file: one message, and the record exactly as it was.
    void ladenAbgelehnt_data() { fehlerfaelle::Hinzufuegen(); }
    void ladenAbgelehnt() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, grund);
        const QString pfad = ordner.filePath("Fall.TVK");
        QVERIFY(Schreiben(pfad, bytes));
        GS = hilfen::Vorher();
        Beantworter antwort(pfad);
        SystemAusDatei(CommonDialog1);
        QVERIFY(antwort.dialogGesehen);
        QCOMPARE(meldungen, QStringList{"Fehler in Sub SystemAusDatei: " + grund});
        QCOMPARE(titel, QStringList{"Tovik"});
        QVERIFY(hilfen::Gleich(GS, hilfen::Vorher()));
    }

    void ladenDateiFehlt() {
        GS = hilfen::Vorher();
        Beantworter antwort(ordner.filePath("gibt es nicht.TVK"));
        SystemAusDatei(CommonDialog1);
        QCOMPARE(meldungen, QStringList{"Fehler in Sub SystemAusDatei: Datei nicht gefunden"});
        QVERIFY(hilfen::Gleich(GS, hilfen::Vorher()));
    }

    void speichernAbgelehnt_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("projekt");
        QTest::addColumn<QString>("grund");
        QTest::newRow("missing folder") << "fehlt/System.TVK" << QByteArray("P") << "Pfad nicht gefunden";
        QTest::newRow("text not in windows-1252")
            << "alt.TVK" << QByteArray("中") << "Projekt enthält Zeichen, die windows-1252 nicht kennt";
    }
    void speichernAbgelehnt() {
        QFETCH(QString, name);
        QFETCH(QByteArray, projekt);
        QFETCH(QString, grund);
        const QByteArray altesBytes = "### Tovik 5.0\r\nalt\r\n\r\n 0\r\n";
        QVERIFY(Schreiben(ordner.filePath("alt.TVK"), altesBytes));
        GS = hilfen::Vorher();
        GS.Projekt = projekt.toStdString();
        const Gleichungssystem vorher = GS;
        Beantworter antwort(ordner.filePath(name));
        SystemInDatei(CommonDialog1);
        QCOMPARE(meldungen, QStringList{"Fehler in Sub SystemInDatei: " + grund});
        QCOMPARE(titel, QStringList{"Tovik"});
        QCOMPARE(Inhalt(ordner.filePath("alt.TVK")), altesBytes);
        QVERIFY(!QFileInfo::exists(ordner.filePath("fehlt")));
        QVERIFY(hilfen::Gleich(GS, vorher));
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
