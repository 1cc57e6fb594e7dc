// The system file: its bytes as written and read, what the file system refuses, and the
// Open and Save commands with the real file dialog.

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <cstring>
#include <pwd.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Gleichungssystem.h"
#include "SystemDialog.h"
#include "Systemdatei.h"
#include "Testhilfen.h"

using namespace tovik;

namespace {

QByteArray Datei(const QList<QByteArray>& zeilen) {
    QByteArray bytes;
    for (const QByteArray& zeile : zeilen) bytes += zeile + "\r\n";
    return bytes;
}

const QList<QByteArray> kBeispiel = {"### Tovik 5.0", "Test", "1", " 3", " 3", " 4", " 7", " 90",
                                     " 12", " 10", " 0", " 78", " 0", " 12", " 2", " 56"};

QByteArray MitZeile(int nummer, const QByteArray& zeile) {
    QList<QByteArray> zeilen = kBeispiel;
    zeilen[nummer - 1] = zeile;
    return Datei(zeilen);
}

QByteArray Inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray("(nicht lesbar)");
}

bool Schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

QString Grund(const std::optional<Fehlergrund>& f) { return f ? QString::fromStdString(f->text) : QString(); }
template <class T>
QString Grund(const std::variant<T, Fehlergrund>& e) {
    return Grund(std::holds_alternative<Fehlergrund>(e) ? std::optional(std::get<Fehlergrund>(e)) : std::nullopt);
}

SystemDaten Gelesen(const QByteArray& bytes) { return std::get<SystemDaten>(SystemLesen(bytes)); }

// Root passes every permission check, so what tests a permission runs as "nobody" there.
const passwd* const kNiemand = getpwnam("nobody");

template <class F>
QString OhneVorrechte(F&& tun) {
    if (geteuid() != 0) return tun();
    int rohr[2];
    if (!kNiemand || pipe(rohr) != 0) return QStringLiteral("kein Benutzer nobody");
    const pid_t kind = fork();
    if (kind == 0) {
        close(rohr[0]);
        const bool gewechselt = setgid(kNiemand->pw_gid) == 0 && setuid(kNiemand->pw_uid) == 0;
        const QByteArray text = gewechselt ? tun().toUtf8() : QByteArray("setuid gescheitert");
        _exit(write(rohr[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1);
    }
    close(rohr[1]);
    QByteArray text;
    char puffer[512];
    for (ssize_t n; (n = read(rohr[0], puffer, sizeof puffer)) > 0;) text.append(puffer, n);
    close(rohr[0]);
    waitpid(kind, nullptr, 0);
    return QString::fromUtf8(text);
}

// Answers the next file dialog: notes what it shows, then enters `name` (a cancel when
// empty). An overwrite question is answered with `ja`; after "No" the dialog is cancelled.
class Dialogantwort : public QObject {
public:
    explicit Dialogantwort(QString name, bool ja = true) : name_(std::move(name)), ja_(ja) {
        connect(&takt_, &QTimer::timeout, this, &Dialogantwort::Schritt);
        takt_.start(5);
    }
    QStringList gesehen;  // title, filters as listed, chosen filter, folder, name offered
    QStringList fragen;   // the overwrite questions

private:
    void Schritt() {
        QWidget* oben = QApplication::activeModalWidget();
        if (auto* frage = qobject_cast<QMessageBox*>(oben)) {
            fragen << frage->text();
            frage->button(ja_ ? QMessageBox::Yes : QMessageBox::No)->click();
            return;
        }
        auto* dialog = qobject_cast<QFileDialog*>(oben);
        if (!dialog) return;
        auto* feld = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (gesehen.isEmpty()) {
            const auto* typen = dialog->findChild<QComboBox*>("fileTypeCombo");
            QStringList filter;
            for (int i = 0; typen && i < typen->count(); ++i) filter << typen->itemText(i);
            gesehen = QStringList{dialog->windowTitle(), filter.join(" | "), dialog->selectedNameFilter(),
                                  QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(),
                                  feld ? feld->text() : "?"};
            if (!name_.isEmpty() && feld) {
                QApplication::setActiveWindow(dialog);
                feld->setFocus();
                feld->setText(name_);
                // Queued: an overwrite question blocks inside the key press.
                QMetaObject::invokeMethod(feld, [feld] { QTest::keyClick(feld, Qt::Key_Return); },
                                          Qt::QueuedConnection);
                return;
            }
        } else if (ja_ || fragen.isEmpty()) {
            return;  // Return is on its way
        }
        dialog->reject();
    }

    QString name_;
    bool ja_;
    QTimer takt_;
};

}  // namespace

class TstStorage : public QObject {
    Q_OBJECT
    QTemporaryDir ordner;

private slots:
    void initTestCase() {
        QVERIFY(ordner.isValid());
        // Others may pass through, to reach what "nobody" is to be refused.
        QVERIFY(QFile::setPermissions(ordner.path(), QFile::Permissions(0x7755)));
    }

    // The example record gives the 16 lines of the shipped file, and every shipped file is
    // read and written again byte for byte.
    void beispiele() {
        GleichungssystemZuruecksetzen();
        BeispielSystem();
        QCOMPARE(std::get<QByteArray>(SystemSchreiben(DatenAusSystem(GS))), Datei(kBeispiel));
        const QDir beispiele(TOVIK_BEISPIEL_DIR);
        QCOMPARE(beispiele.entryList(QDir::Files).size(), 6);
        for (const QFileInfo& datei : beispiele.entryInfoList(QDir::Files)) {
            const QByteArray bytes = Inhalt(datei.filePath());
            const auto daten = SystemLesen(bytes);
            QCOMPARE(Grund(daten), QString());
            QCOMPARE(std::get<QByteArray>(SystemSchreiben(std::get<SystemDaten>(daten))), bytes);
        }
        QCOMPARE(Inhalt(beispiele.filePath("Test.TVK")), Datei(kBeispiel));
    }

    void lesen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("texte");  // Projekt | Position
        QTest::addColumn<QList<double>>("werte");  // N, then the values in file order
        QTest::newRow("CR LF, LF, CR, no end at the end")
            << QByteArray("### Tovik 5.0\nTest\r1\r\n 1\n 3\r 4") << "Test|1" << QList<double>{1, 3, 4};
        QTest::newRow("any header, lines after the last value ignored")
            << Datei({"\xef\xbb\xbf### Tovik 4.0", "", "", " 0", "Kommentar"}) << "|" << QList<double>{0};
        QTest::newRow("texts whole, in windows-1252")
            << Datei({"h", " Br\xfc" "cke \x80 5,\t\x93Zitat\x94 ", "\xdf", "-0"}) << " Brücke € 5,\t“Zitat” |ß"
            << QList<double>{0};
        QTest::newRow("number forms of other programs")
            << Datei({"h", "P", "Q", "3.0", "0.25", "-0.5", "1E+15", "1.5E-05", "+7", "\t12.5  ", "2e3", "5.",
                      "-.125", "1E-999", "." + QByteArray(330, '0') + "1E+5", "-1.7976931348623157E+308"})
            << "P|Q" << QList<double>{3, 0.25, -0.5, 1e15, 1.5e-5, 7, 12.5, 2000, 5, -0.125, 0, 0, -1.7976931348623157e308};
    }
    void lesen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, texte);
        QFETCH(QList<double>, werte);
        const auto ergebnis = SystemLesen(bytes);
        QCOMPARE(Grund(ergebnis), QString());
        const SystemDaten& d = std::get<SystemDaten>(ergebnis);
        QCOMPARE(QString::fromStdString(d.Projekt + "|" + d.Position), texte);
        QList<double> gelesen{double(d.N)};
        for (int i = 1; i <= d.N; ++i) {
            for (int j = 1; j <= d.N; ++j) gelesen << d.A[i][j];
            gelesen << d.B[i];
        }
        QCOMPARE(gelesen, werte);
    }

    void abgelehnt_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("grund");
        const QString falschesN = "N muss eine ganze Zahl von 0 bis 5 sein (Zeile 4)";
        QTest::newRow("empty") << QByteArray() << "Dateiende erreicht";
        QTest::newRow("last value missing") << Datei(kBeispiel.first(15)) << "Dateiende erreicht";
        QTest::newRow("N = 6") << MitZeile(4, " 6") << falschesN;
        QTest::newRow("N = -1") << MitZeile(4, "-1") << falschesN;
        QTest::newRow("N = 2.5") << MitZeile(4, " 2.5") << falschesN;
        QTest::newRow("letters after a number") << MitZeile(7, " 7a") << "keine gültige Zahl in Zeile 7";
        QTest::newRow("two numbers") << MitZeile(5, " 3 4") << "keine gültige Zahl in Zeile 5";
        QTest::newRow("exponent without digits") << MitZeile(9, "1E+") << "keine gültige Zahl in Zeile 9";
        QTest::newRow("NaN") << MitZeile(11, "NaN") << "keine gültige Zahl in Zeile 11";
        QTest::newRow("1E999") << MitZeile(10, " 1E999") << "Überlauf in Zeile 10";
        QTest::newRow("NUL in Projekt") << MitZeile(2, QByteArray("Te\0st", 5)) << "ungültiges Zeichen in Zeile 2";
        QTest::newRow("undefined byte") << MitZeile(3, "\x81") << "ungültiges Zeichen in Zeile 3";
        QTest::newRow("10 MB") << MitZeile(2, QByteArray(10 << 20, 'T')) << "Datei zu groß";
    }
    void abgelehnt() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, grund);
        QCOMPARE(Grund(SystemLesen(bytes)), grund);
    }

    // Cut anywhere before the last value, a file is refused: values read so far never count.
    void abgeschnitten() {
        const QByteArray beispiel = Datei(kBeispiel);
        const qsizetype letzte = beispiel.lastIndexOf(" 56");
        for (qsizetype laenge = 0; laenge < beispiel.size(); ++laenge)
            QVERIFY2(std::holds_alternative<Fehlergrund>(SystemLesen(beispiel.left(laenge))) == (laenge <= letzte + 1),
                     qPrintable(QString::number(laenge)));
    }

    // Random systems (every size, zeros, fractions, all magnitudes, both signs; texts from the
    // whole of windows-1252) are stored, read back to 15 digits, and stored to the same bytes.
    void rundreise() {
        std::mt19937_64 zufall(4711);
        const auto bis = [&](int n) { return std::uniform_int_distribution<int>(0, n)(zufall); };
        const QString zeichen = QString::fromUtf8(" ,.-+09azAZ\täöüß€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ¡¬­®¯°±¿ÀÆ×ØÞßàæ÷øþÿ");
        const auto text = [&] {
            QString t;
            for (int k = bis(30); k > 0; --k) t += zeichen[bis(int(zeichen.size()) - 1)];
            return t.toStdString();
        };
        const auto zahl = [&]() -> double {
            switch (bis(3)) {
                case 0: return 0;
                case 1: return (bis(200) - 100) / double(1 << bis(12));
                default:
                    double wert;
                    do {
                        const std::uint64_t b = zufall();
                        std::memcpy(&wert, &b, sizeof wert);
                    } while (!std::isfinite(wert));
                    return wert;
            }
        };
        for (int durchlauf = 0; durchlauf < 3000; ++durchlauf) {
            SystemDaten daten{text(), text(), static_cast<std::int16_t>(bis(kMaxN))};
            for (int i = 1; i <= daten.N; ++i) {
                for (int j = 1; j <= daten.N; ++j) daten.A[i][j] = zahl();
                daten.B[i] = zahl();
            }
            const auto geschrieben = SystemSchreiben(daten);
            QCOMPARE(Grund(geschrieben), QString());
            const QByteArray& bytes = std::get<QByteArray>(geschrieben);
            QCOMPARE(std::get<QByteArray>(SystemSchreiben(Gelesen(bytes))), bytes);
        }
    }

    // Reading back what is about to be stored catches bytes that would not give the record.
    void pruefen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("grund");
        const QString vorsatz = "gespeicherte Daten ließen sich nicht wieder lesen: ";
        QTest::newRow("as written") << Datei(kBeispiel) << "";
        QTest::newRow("blank number line") << MitZeile(11, " ") << vorsatz + "keine gültige Zahl in Zeile 11";
        QTest::newRow("15th digit off") << MitZeile(6, " 4.00000000000001") << vorsatz + "A(1,2) weicht ab";
        QTest::newRow("B") << MitZeile(16, " 55") << vorsatz + "B(3) weicht ab";
        QTest::newRow("Position") << MitZeile(3, "2") << vorsatz + "Position weicht ab";
    }
    void pruefen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, grund);
        QCOMPARE(Grund(SystemPruefen(bytes, Gelesen(Datei(kBeispiel)))), grund);
    }

    // What cannot be stored as it is: never written with '?' or a cut-off value.
    void schreibenAbgelehnt_data() {
        QTest::addColumn<QString>("projekt");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("b2");
        QTest::addColumn<QString>("grund");
        QTest::newRow("Chinese") << "Brücke 中" << 2 << 1.0 << "Projekt enthält Zeichen, die windows-1252 nicht kennt";
        QTest::newRow("line feed") << "a\nb" << 2 << 1.0 << "Projekt enthält ein Steuerzeichen oder einen Zeilenumbruch";
        QTest::newRow("N = 6") << "P" << 6 << 1.0 << "N muss eine ganze Zahl von 0 bis 5 sein";
        QTest::newRow("N beyond the arrays") << "P" << 30000 << 1.0 << "N muss eine ganze Zahl von 0 bis 5 sein";
        QTest::newRow("NaN") << "P" << 2 << qQNaN() << "Überlauf in B(2)";
    }
    void schreibenAbgelehnt() {
        QFETCH(QString, projekt);
        QFETCH(int, n);
        QFETCH(double, b2);
        QFETCH(QString, grund);
        Gleichungssystem gs;
        gs.Projekt = projekt.toStdString();
        gs.N = static_cast<std::int16_t>(n);
        gs.B[2] = b2;
        QCOMPARE(Grund(SystemSchreiben(DatenAusSystem(gs))), grund);
    }

    void dateiLesen_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");
        QTest::newRow("link without extension") << "link" << "";
        QTest::newRow("missing") << "fehlt" << "Datei nicht gefunden";
        QTest::newRow("folder") << "ordner" << "Ordner statt Datei gewählt";
        QTest::newRow("not readable") << "gesperrt" << "Zugriff verweigert";
        QTest::newRow("named pipe") << "fifo" << "keine gewöhnliche Datei";
        QTest::newRow("10 MB") << "gross" << "Datei zu groß";
    }
    void dateiLesen() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        const QString pfad = ordner.filePath("lesen-" + art);
        QFile::remove(pfad);
        if (art == "link") QVERIFY(Schreiben(pfad + ".TVK", Datei(kBeispiel)) && QFile::link(pfad + ".TVK", pfad));
        if (art == "ordner") QVERIFY(QDir().mkpath(pfad));
        if (art == "gesperrt") QVERIFY(Schreiben(pfad, Datei(kBeispiel)) && QFile::setPermissions(pfad, QFile::WriteOwner));
        if (art == "fifo") QCOMPARE(mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        if (art == "gross") QVERIFY(Schreiben(pfad, MitZeile(2, QByteArray(10 << 20, 'T'))));
        QCOMPARE(OhneVorrechte([&] { return Grund(SystemDateiLesen(pfad)); }), grund);
    }

    // Written under exactly the chosen name, in place of an old file whose mode, owner and group
    // it keeps; or refused, and an old file or special file stays as it was.
    void dateiSchreiben_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");
        QTest::newRow("over a longer file") << "alt" << "";
        QTest::newRow("missing folder") << "fehlt/System" << "Pfad nicht gefunden";
        QTest::newRow("folder") << "ordner" << "Ordner statt Datei gewählt";
        QTest::newRow("read-only folder") << "gesperrt/System" << "Zugriff verweigert";
        QTest::newRow("disk full") << "voll" << "Schreibfehler";
        QTest::newRow("named pipe") << "fifo" << "keine gewöhnliche Datei";
        QTest::newRow("link to a pipe") << "link" << "keine gewöhnliche Datei";
    }
    void dateiSchreiben() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        QTemporaryDir hier(ordner.filePath("XXXXXX"));
        QVERIFY(QFile::setPermissions(hier.path(), QFile::Permissions(0x7755)));
        const QString pfad = hier.filePath(art);
        const QByteArray alt(5000, 'x');
        const bool alteDatei = art == "alt" || art == "voll";
        if (alteDatei) {
            QVERIFY(Schreiben(pfad, alt) && QFile::setPermissions(pfad, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
            if (geteuid() == 0 && kNiemand) QCOMPARE(chown(QFile::encodeName(pfad), kNiemand->pw_uid, kNiemand->pw_gid), 0);
        }
        if (art == "ordner") QVERIFY(QDir().mkpath(pfad));
        if (art == "gesperrt/System")
            QVERIFY(QDir().mkpath(hier.filePath("gesperrt")) &&
                    QFile::setPermissions(hier.filePath("gesperrt"), QFile::Permissions(0x5555)));
        if (art == "fifo" || art == "link") QCOMPARE(mkfifo(QFile::encodeName(hier.filePath("fifo")).constData(), 0600), 0);
        if (art == "link") QVERIFY(QFile::link(hier.filePath("fifo"), pfad));
        QFileInfo vorher(pfad);
        vorher.stat();  // what the old file is, before it is replaced

        // A limit on the size of written files makes writing fail even for root.
        rlimit grenze{};
        getrlimit(RLIMIT_FSIZE, &grenze);
        const rlimit frei = grenze;
        if (art == "voll") {
            std::signal(SIGXFSZ, SIG_IGN);
            grenze.rlim_cur = 16;
            setrlimit(RLIMIT_FSIZE, &grenze);
        }
        const QByteArray bytes = Datei(kBeispiel);
        const QString ergebnis = art == "gesperrt/System"
                                     ? OhneVorrechte([&] { return Grund(DateiSchreiben(pfad, bytes)); })
                                     : Grund(DateiSchreiben(pfad, bytes));
        setrlimit(RLIMIT_FSIZE, &frei);
        QCOMPARE(ergebnis, grund);

        const QFileInfo nachher(pfad);
        QCOMPARE(std::tuple(nachher.exists(), nachher.isFile(), nachher.isDir()),
                 std::tuple(vorher.exists() || grund.isEmpty(), vorher.isFile() || grund.isEmpty(), vorher.isDir()));
        if (alteDatei) {
            QCOMPARE(Inhalt(pfad), grund.isEmpty() ? bytes : alt);
            QCOMPARE(nachher.permissions(), vorher.permissions());
            QCOMPARE(std::pair(nachher.ownerId(), nachher.groupId()), std::pair(vorher.ownerId(), vorher.groupId()));
        }
        // Nothing is left beside the file.
        QCOMPARE(QDir(hier.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks).size(), alteDatei ? 1 : 0);
    }

    // Where the program's own folder may not be written, the examples are copied once into
    // the user's; what the user keeps there is never replaced.
    void beispielOrdner() {
        QCOMPARE(BeispielOrdner(TOVIK_BEISPIEL_DIR "/..", ordner.path()), TOVIK_BEISPIEL_DIR "/../Beispiel/");
        const QString programm = ordner.filePath("programm"), daten = ordner.filePath("daten");
        QVERIFY(QDir().mkpath(programm + "/Beispiel") && QDir().mkpath(daten + "/tovik"));
        QVERIFY(Schreiben(programm + "/Beispiel/Test.TVK", "neu") && Schreiben(programm + "/Beispiel/Zwei.TVK", "2"));
        QVERIFY(QFile::setPermissions(programm + "/Beispiel", QFile::Permissions(0x5555)));
        QVERIFY(QFile::setPermissions(daten + "/tovik", QFile::Permissions(0x7777)));
        const QString ergebnis = OhneVorrechte([&] {
            const QString erstes = BeispielOrdner(programm, daten + "/tovik");
            QFile::remove(erstes + "Zwei.TVK");  // the user deletes one
            const QString zweites = BeispielOrdner(programm, daten + "/tovik");
            return erstes == zweites ? erstes + " " + QDir(erstes).entryList(QDir::Files).join(',') : zweites;
        });
        QCOMPARE(ergebnis, daten + "/tovik/Beispiel/ Test.TVK");
        QCOMPARE(Inhalt(daten + "/tovik/Beispiel/Test.TVK"), "neu");
    }

    // The commands with the real dialog: what it offers, loading, storing without an
    // extension, the question before replacing, cancelling, and each command's message.
    void dialoge() {
        QFileDialog CommonDialog1;
        Meldungen meldungen;
        GleichungssystemZuruecksetzen();
        {
            Dialogantwort antwort("Test.TVK");
            SystemAusDatei(CommonDialog1);
            QCOMPARE(antwort.gesehen, (QStringList{"vorh. Gleichungssystem laden",
                                                   "Alle Dateien (*.*) | bisherige Projekte(*.TVK)",
                                                   "bisherige Projekte(*.TVK)",
                                                   QFileInfo(Verzeichnis).canonicalFilePath(), ""}));
        }
        QCOMPARE(Verzeichnis, QCoreApplication::applicationDirPath() + "/Beispiel/");
        QCOMPARE(GS.Projekt, "Test");
        QCOMPARE(int(GS.N), 3);
        // "Alle Dateien" shows names without a dot too.
        CommonDialog1.selectNameFilter("Alle Dateien (*.*)");
        QCOMPARE(CommonDialog1.findChild<QFileSystemModel*>()->nameFilters(), QStringList{"*"});

        // A new file, then "No" and "Yes" to the question before replacing it.
        const QString ziel = ordner.filePath("ohne Endung");
        const std::tuple<const char*, bool, const char*, int> speichern[] = {
            {"eins", true, "Test.TVK", 0}, {"zwei", false, "ohne Endung", 1}, {"drei", true, "ohne Endung", 1}};
        for (const auto& [position, ja, angeboten, fragen] : speichern) {
            GS.Position = position;
            Dialogantwort antwort(ziel, ja);
            SystemInDatei(CommonDialog1);
            QCOMPARE(antwort.gesehen.value(4), angeboten);
            QCOMPARE(antwort.fragen.size(), fragen);
            QCOMPARE(Gelesen(Inhalt(ziel)).Position, ja ? position : "eins");
        }
        for (auto* befehl : {&SystemAusDatei, &SystemInDatei}) {
            Dialogantwort abbrechen("");
            befehl(CommonDialog1);
            QVERIFY(!abbrechen.gesehen.isEmpty());
        }
        QCOMPARE(QDir(ordner.path()).entryList({"ohne*"}), QStringList{"ohne Endung"});
        QCOMPARE(GS.Position, "drei");  // the cancelled load changed nothing

        QVERIFY(Schreiben(ordner.filePath("Fall.TVK"), MitZeile(16, " 1E999")));
        {
            Dialogantwort falsch(ordner.filePath("Fall.TVK"));
            SystemAusDatei(CommonDialog1);
        }
        QCOMPARE(GS.Position, "drei");
        // A text the file cannot hold is told before any dialog asks to replace a file.
        GS.Projekt = "中";
        Dialogantwort keiner(ziel);
        SystemInDatei(CommonDialog1);
        QVERIFY(keiner.gesehen.isEmpty());
        QCOMPARE(meldungen.texte, (QStringList{"Tovik: Fehler in Sub SystemAusDatei: Überlauf in Zeile 16",
                                               "Tovik: Fehler in Sub SystemInDatei: Projekt enthält Zeichen, "
                                               "die windows-1252 nicht kennt"}));
        QCOMPARE(Gelesen(Inhalt(ziel)).Position, "drei");
    }
};

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TstStorage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storage.moc"
