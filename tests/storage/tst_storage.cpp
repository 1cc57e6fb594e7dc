// The system file: its bytes as written and read, what the file system refuses, and the
// Open and Save commands with the real file dialog.

#include <QFileSystemModel>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <bit>
#include <csignal>

#include "Beispielordner.h"
#include "Gleichungssystem.h"
#include "SystemDialog.h"
#include "Systemdatei.h"
#include "Testhilfen.h"  // <QtTest> brings all of QtCore

using namespace tovik;

namespace {

// What came of reading or writing: the reason of a refusal ("" for none), the bytes written, or
// "Projekt|Position|N values..." of a record read.
QString Text(const Fehlergrund& f) { return QString::fromStdString(f.text); }
QString Text(const std::optional<Fehlergrund>& f) { return f ? Text(*f) : ""; }
QString Text(const QByteArray& bytes) { return QString::fromLatin1(bytes); }
QString Text(const SystemDaten& d) {
    QString t = QString::fromStdString(d.Projekt + "|" + d.Position + "|") + QString::number(d.N);
    for (int i = 1; i <= d.N; ++i)
        for (int j = 1; j <= d.N + 1; ++j) t += ' ' + QString::number(j > d.N ? d.B[i] : d.A[i][j], 'g', 17);
    return t;
}
QString Text(const LeseErgebnis& e) { return e.index() ? Text(std::get<1>(e)) : Text(std::get<0>(e)); }
QString Text(const SchreibErgebnis& e) { return e.index() ? Text(std::get<1>(e)) : Text(std::get<0>(e)); }

const QString kFalschesN = "N muss eine ganze Zahl von 0 bis 5 sein";

SystemDaten Gelesen(const QByteArray& bytes) { return std::get<SystemDaten>(SystemLesen(bytes)); }

// Shell commands in `ordner`, to set up files and to look at them; their output. A command that
// fails, or does not end within the deadline, fails the test.
QByteArray Sh(const QString& ordner, const QString& befehle) {
    QProcess sh;
    sh.setWorkingDirectory(ordner);
    sh.start("sh", {"-ec", befehle});
    if (!sh.waitForFinished(kFristMs) || sh.exitCode() != 0)
        QTest::qFail(qPrintable(befehle + ": " + sh.readAllStandardError()), __FILE__, __LINE__);
    return sh.readAll();
}

// Every entry below the working folder: its type, mode, owner and group; then what the files hold.
const QString kStand = "find . -printf '%p %y %m %U %G\\n' | sort; find . -type f -perm -u=r -exec cat {} +";

// Runs `tun` in a child, with a deadline, and tells whether it gave `erwartet`. Root passes every
// permission check: there the child is "nobody".
const passwd* const kNiemand = getpwnam("nobody");
template <class F>
bool OhneVorrechte(F&& tun, const QString& erwartet) {
    const pid_t kind = fork();
    if (kind == 0 && geteuid() == 0 && (!kNiemand || setgid(kNiemand->pw_gid) || setuid(kNiemand->pw_uid)))
        _exit(2);
    if (kind == 0) _exit((alarm(kFristMs / 1000), tun() == erwartet) ? 0 : 1);
    int status = -1;
    return waitpid(kind, &status, 0) == kind && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

class TstStorage : public QObject {
    Q_OBJECT
    QTemporaryDir ordner;
    const QByteArray beispiel = Zeilen(kBeispielZeilen);

private slots:
    void cleanup() { AntwortenAbschliessen(); }

    // The example record gives the 16 lines of the shipped file; cut anywhere before its last
    // value, a file is refused, at the end of a line because the file ends early. Before bytes
    // are stored they must prove the record: any line of the example made another valid one
    // (a value 1E-13 off, a unit of the 15th digit for the two-digit ones) is named, and why
    // the bytes could not be read is passed on.
    void beispiele() {
        BeispielSystem();
        QCOMPARE(Text(SystemSchreiben(DatenAusSystem(GS))).toLatin1(), beispiel);
        QCOMPARE(Inhalt(TOVIK_BEISPIEL_DIR "/Test.TVK"), beispiel);
        for (qsizetype laenge = 0; laenge < beispiel.size(); ++laenge) {
            const QString gelesen = Text(SystemLesen(beispiel.left(laenge)));
            QVERIFY2(gelesen.startsWith("Test|") == (laenge > beispiel.size() - 4), qPrintable(gelesen));
            if (laenge == 0 || beispiel[laenge - 1] == '\n') QCOMPARE(gelesen, "Dateiende erreicht");
        }
        const QString v = "gespeicherte Daten ließen sich nicht wieder lesen: ";
        const SystemDaten daten = DatenAusSystem(GS);
        const QStringList felder = {"Projekt", "Position", "N",      "A(1,1)", "A(1,2)",
                                    "A(1,3)",  "B(1)",     "A(2,1)", "A(2,2)", "A(2,3)",
                                    "B(2)",    "A(3,1)",   "A(3,2)", "A(3,3)", "B(3)"};
        for (int k = 2; k <= kBeispielZeilen.size(); ++k) {
            const QByteArray anders = k == 4 ? " 2" : kBeispielZeilen[k - 1] + ".0000000000001";
            QCOMPARE(Text(SystemPruefen(MitZeile(k, anders), daten)), v + felder[k - 2] + " weicht ab");
        }
        QCOMPARE(Text(SystemPruefen(MitZeile(11, " "), daten)), v + "keine gültige Zahl in Zeile 11");
    }

    void lesen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("ergebnis");
        const QList<std::tuple<const char*, QByteArray, QString>> faelle = {
            {"any header; LF, CR, CR LF; windows-1252; N -0; a line after",
             "\xef\xbb\xbf### 4.0\n Gr\xfc\xdf \x80,\t\x93Z\x94 \r\xb0\r\n-0\nx", " Grüß €,\t“Z” |°|0"},
            {"number forms",
             Zeilen({"h", "", "", "2.0", "0.25", "-1.5E-05", "+7", "\t1e3 \t ", "1E-330", "-1E+308"}),
             "||2 0.25 -1.5e-05 7 1000 0 -1e+308"},
            {"N 6", MitZeile(4, " 6"), kFalschesN + " (Zeile 4)"},
            {"N -1", MitZeile(4, "-1"), kFalschesN + " (Zeile 4)"},
            {"N 2.5", MitZeile(4, " 2.5"), kFalschesN + " (Zeile 4)"},
            {"A(1,1) 3 4", MitZeile(5, " 3 4"), "keine gültige Zahl in Zeile 5"},
            {"A(2,1) 1E+", MitZeile(9, "1E+"), "keine gültige Zahl in Zeile 9"},
            {"A(2,3) NaN", MitZeile(11, "NaN"), "keine gültige Zahl in Zeile 11"},
            {"A(3,1) 1.2.3", MitZeile(13, "1.2.3"), "keine gültige Zahl in Zeile 13"},
            {"B(2) 1E999", MitZeile(10, " 1E999"), "Überlauf in Zeile 10"},
            {"Projekt Te\\0st", MitZeile(2, QByteArray("Te\0st", 5)), "ungültiges Zeichen in Zeile 2"},
            {"Position \\x81", MitZeile(3, "\x81"), "ungültiges Zeichen in Zeile 3"},
            {"Projekt of 10 MiB", MitZeile(2, QByteArray(10 << 20, 'T')), "Datei zu groß"}};
        for (const auto& [name, bytes, ergebnis] : faelle) QTest::newRow(name) << bytes << ergebnis;
    }
    void lesen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, ergebnis);
        QCOMPARE(Text(SystemLesen(bytes)), ergebnis);
    }

    // Random systems (every size; fractions and zeros, all magnitudes, both signs; texts of
    // windows-1252) are stored, read back, and stored again to the same bytes.
    void rundreise() {
        QRandomGenerator z(4711);
        const std::string texte[] = {"", " \t,.-+09azAZ€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ¡¬­¯°±¿ÀÆ×ØÞßàæ÷øþÿ "};
        for (int durchlauf = 0; durchlauf < 3000; ++durchlauf) {
            SystemDaten d{texte[z.bounded(2)], texte[z.bounded(2)], std::int16_t(z.bounded(6))};
            for (int i = 1; i <= d.N; ++i)
                for (int j = 1; j <= d.N + 1; ++j) {
                    const double bits = std::bit_cast<double>(z.generate64()),
                                 bruch = z.bounded(-100, 101) / double(1 << z.bounded(13));
                    (j > d.N ? d.B[i] : d.A[i][j]) = qIsFinite(bits) && z.bounded(2) ? bits : bruch;
                }
            const QString geschrieben = Text(SystemSchreiben(d));
            QVERIFY2(geschrieben.startsWith("### Tovik 5.0"), qPrintable(geschrieben));
            QCOMPARE(Text(SystemSchreiben(Gelesen(geschrieben.toLatin1()))), geschrieben);
        }
    }

    // What cannot be stored as it is is told before any dialog could ask to replace a file,
    // never written with '?' or a cut-off value: a record with B(2) infinite.
    void schreiben_data() {
        QTest::addColumn<QString>("projekt");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("grund");
        const QList<std::tuple<QString, int, QString>> faelle = {
            {"Brücke 中", 1, "Projekt enthält Zeichen, die windows-1252 nicht kennt"},
            {"a\nb", 1, "Projekt enthält ein Steuerzeichen oder einen Zeilenumbruch"},
            {"", 6, kFalschesN},
            {"", 2, "Überlauf in B(2)"}};
        for (const auto& [p, n, g] : faelle)
            QTest::addRow("%s N %d", qPrintable(QString(p).replace('\n', "\\n")), n) << p << n << g;
    }
    void schreiben() {
        QFETCH(QString, projekt);
        QFETCH(int, n);
        QFETCH(QString, grund);
        QFileDialog CommonDialog1;
        Meldungen meldungen;
        GS = {projekt.toStdString(), "", std::int16_t(n)};
        GS.B[2] = qInf();
        SystemInDatei(CommonDialog1);  // no answerer: a dialog would fail the test
        QCOMPARE(meldungen.texte, QStringList{"Tovik: Fehler in Sub SystemInDatei: " + grund});
    }

    // What the file system may refuse, reading and writing. A written file replaces an old
    // one under exactly the chosen name, keeping its mode, owner and group; a refused one
    // leaves what was there as it was, and nothing beside it.
    void dateien_data() {
        QTest::addColumn<QString>("vorher");  // shell commands that make what is there
        QTest::addColumn<QString>("grund");
        // As root: another owner with root's own group, so that each is kept on its own.
        const QString alt = "printf %5000s >%1; chmod 640 %1; [ $(id -u) != 0 ] || chown nobody:0 %1";
        const QList<std::tuple<const char*, QString, const char*>> faelle = {
            {"read fehlt", "", "Datei nicht gefunden"},
            {"read ordner", "mkdir ordner", "Ordner statt Datei gewählt"},
            {"read gesperrt", "echo x >gesperrt; chmod 200 gesperrt", "Zugriff verweigert"},
            {"read fifo", "mkfifo fifo", "keine gewöhnliche Datei"},
            {"write alt", alt.arg("alt"), ""},
            {"write fehlt/System", "", "Pfad nicht gefunden"},
            {"write ordner", "mkdir ordner", "Ordner statt Datei gewählt"},
            {"write gesperrt/System", "mkdir gesperrt; chmod 555 gesperrt", "Zugriff verweigert"},
            {"write voll", alt.arg("voll") + "; chmod 777 .", "Schreibfehler"},
            {"write fifo", "mkfifo fifo", "keine gewöhnliche Datei"},
            {"write link zur fifo", "mkfifo fifo; ln -s fifo 'link zur fifo'", "keine gewöhnliche Datei"}};
        for (const auto& [name, vorher, grund] : faelle) QTest::newRow(name) << vorher << QString(grund);
    }
    void dateien() {
        QFETCH(QString, vorher);
        QFETCH(QString, grund);
        const QString art = QString(QTest::currentDataTag()).section(' ', 1);
        QTemporaryDir hier;
        // Others may pass through, to meet what "nobody" is refused.
        Sh(hier.path(), "chmod 755 .; " + vorher);
        const QByteArray davor = Sh(hier.path(), kStand);
        const auto tun = [&, ziel = hier.filePath(art)] {
            const rlimit voll{16, 16};  // a limit on the size of written files fails writing even for root
            if (art == "voll") signal(SIGXFSZ, SIG_IGN), setrlimit(RLIMIT_FSIZE, &voll);
            return QTest::currentDataTag()[0] == 'w' ? Text(DateiErsetzen(ziel, beispiel))
                                                     : Text(SystemDateiLesen(ziel));
        };
        // In a child: as "nobody", or with the limit, which must not stay.
        const bool kind = art.startsWith("gesperrt") || art == "voll";
        QCOMPARE(kind ? (OhneVorrechte(tun, grund) ? grund : "(otherwise in a child)") : tun(), grund);
        QCOMPARE(Sh(hier.path(), kStand),
                 grund.isEmpty() ? QByteArray(davor).replace(QByteArray(5000, ' '), beispiel) : davor);
    }

    // The first candidate folder with examples wins: beside the program (build tree), else the
    // user's copy, else the shipped data, which is copied once into the user's data folder;
    // the user's own choices there stay.
    void beispielOrdner() {
        const QString o = ordner.path() + "/";
        QCOMPARE(BeispielOrdner({TOVIK_BEISPIEL_DIR "/.."}, o), TOVIK_BEISPIEL_DIR "/../Beispiel/");
        QCOMPARE(BeispielOrdner({o + "programm", o + "system"}, o + "daten"), QString());
        Sh(o,
           "chmod 755 .; mkdir -m 777 daten; mkdir -p lokal/Beispiel system/Beispiel; "
           "echo neu >lokal/Beispiel/Test.TVK; echo >lokal/Beispiel/Zwei.TVK; chmod 555 */Beispiel");
        const QStringList installiert{o + "programm", o + "daten/tovik", o + "lokal", o + "system"};
        const auto zweimal = [&] {
            // the user deletes one of the copies
            QFile::remove(BeispielOrdner(installiert, o + "daten/tovik") + "Zwei.TVK");
            return BeispielOrdner(installiert, o + "daten/tovik");
        };
        QVERIFY(OhneVorrechte(zweimal, o + "daten/tovik/Beispiel/"));
        QCOMPARE(Sh(o, "ls daten/tovik/Beispiel; cat daten/tovik/Beispiel/*"), "Test.TVK\nneu\n");
    }

    // The commands with the real dialog: what it offers, loading, storing without an
    // extension, the question before replacing, a refusal before any question.
    void dialoge() {
        QFileDialog CommonDialog1;
        // A name typed, then cancelled, is not offered again.
        Beantworten<QFileDialog>([](QFileDialog* dialog) { dialog->selectFile("Tipp"), dialog->reject(); });
        SystemAusDatei(CommonDialog1);
        auto gesehen = Dateiwahl("Test.TVK");
        SystemAusDatei(CommonDialog1);
        QCOMPARE(gesehen->join('|'),
                 "vorh. Gleichungssystem laden|Alle Dateien (*.*) | bisherige Projekte(*.TVK)|"
                 "bisherige Projekte(*.TVK)|" +
                     QFileInfo(Verzeichnis).canonicalFilePath() + "|");
        QCOMPARE(Verzeichnis, QCoreApplication::applicationDirPath() + "/Beispiel/");
        QCOMPARE(Text(DatenAusSystem(GS)), Text(SystemLesen(beispiel)));
        CommonDialog1.selectNameFilter("Alle Dateien (*.*)");  // shows names without a dot too
        QCOMPARE(CommonDialog1.findChild<QFileSystemModel*>()->nameFilters(), QStringList{"*"});

        // A new file, then "No" and "Yes" to the question before replacing it.
        const QString ziel = ordner.filePath("ohne Endung");
        const std::tuple<const char*, bool, const char*> speichern[] = {
            {"eins", true, "Test.TVK"},
            {"zwei", false, "ohne Endung?"},
            {"drei", true, "ohne Endung?"},
        };
        for (const auto& [position, ja, angeboten] : speichern) {
            GS.Position = position;
            gesehen = Dateiwahl(ziel, ja);
            SystemInDatei(CommonDialog1);
            QCOMPARE(gesehen->value(4) + (gesehen->size() > 5 ? "?" : ""), angeboten);  // "?": asked first
            QCOMPARE(Gelesen(Inhalt(ziel)).Position, ja ? position : "eins");
        }
        QCOMPARE(QDir(ordner.path()).entryList({"ohne*"}), QStringList{"ohne Endung"});
    }
};

TOVIK_TEST_MAIN(TstStorage)
#include "tst_storage.moc"
