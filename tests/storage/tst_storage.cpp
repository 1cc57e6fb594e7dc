// The system file: its bytes as written and read, what the file system refuses, and the
// Open and Save commands with the real file dialog.

#include <QFileSystemModel>
#include <QTemporaryDir>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cmath>
#include <csignal>
#include <cstring>
#include <random>

#include "Gleichungssystem.h"
#include "SystemDialog.h"
#include "Systemdatei.h"
#include "Testhilfen.h"

using namespace tovik;

namespace {

QString Grund(const std::optional<Fehlergrund>& f) { return f ? QString::fromStdString(f->text) : QString(); }

// What came of reading or writing: "Projekt|Position|N values..." of a read file, the bytes of
// a written one, or the reason for a refusal.
template <class T>
QString Beschreibung(const std::variant<T, Fehlergrund>& e) {
    if (const auto* f = std::get_if<Fehlergrund>(&e)) return QString::fromStdString(f->text);
    if constexpr (std::is_same_v<T, QByteArray>) {
        return QString::fromLatin1(std::get<QByteArray>(e));
    } else {
        const SystemDaten& d = std::get<SystemDaten>(e);
        QString text = QString::fromStdString(d.Projekt + "|" + d.Position + "|") + QString::number(d.N);
        for (int i = 1; i <= d.N; ++i) {
            for (int j = 1; j <= d.N; ++j) text += ' ' + QString::number(d.A[i][j], 'g', 17);
            text += ' ' + QString::number(d.B[i], 'g', 17);
        }
        return text;
    }
}

SystemDaten Gelesen(const QByteArray& bytes) { return std::get<SystemDaten>(SystemLesen(bytes)); }

// Root passes every permission check: what tests a permission runs as "nobody" there. Tells
// whether `tun` gave `erwartet`.
const passwd* const kNiemand = getpwnam("nobody");
template <class F>
bool OhneVorrechte(F&& tun, const QString& erwartet) {
    if (geteuid() != 0) return tun() == erwartet;
    if (!kNiemand) return false;
    const pid_t kind = fork();
    if (kind == 0)
        _exit(setgid(kNiemand->pw_gid) == 0 && setuid(kNiemand->pw_uid) == 0 && tun() == erwartet ? 0 : 1);
    int status = -1;
    waitpid(kind, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

class TstStorage : public QObject {
    Q_OBJECT
    QTemporaryDir ordner;

private slots:
    void cleanup() { AntwortenAbschliessen(); }
    void initTestCase() {
        // Others may pass through, to meet what "nobody" is to be refused.
        QVERIFY(ordner.isValid() && QFile::setPermissions(ordner.path(), QFile::Permissions(0x7755)));
    }

    // The example record gives the 16 lines of the shipped file; cut anywhere before its last
    // value, a file is refused.
    void beispiele() {
        GleichungssystemZuruecksetzen();
        BeispielSystem();
        const QByteArray beispiel = Zeilen(kBeispielZeilen);
        QCOMPARE(Beschreibung(SystemSchreiben(DatenAusSystem(GS))).toLatin1(), beispiel);
        QCOMPARE(Inhalt(TOVIK_BEISPIEL_DIR "/Test.TVK"), beispiel);
        for (qsizetype laenge = 0; laenge < beispiel.size(); ++laenge)
            QVERIFY2(std::holds_alternative<Fehlergrund>(SystemLesen(beispiel.left(laenge))) ==
                         (laenge <= beispiel.lastIndexOf(" 56") + 1),
                     qPrintable(QString::number(laenge)));
    }

    void lesen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("ergebnis");
        const QString zahl = "keine gültige Zahl in Zeile %1",
                      n = "N muss eine ganze Zahl von 0 bis 5 sein (Zeile 4)";
        const QList<std::pair<QByteArray, QString>> faelle = {
            {"### Tovik 5.0\nTest\r1\r\n 1\n 3\r 4", "Test|1|1 3 4"},  // CR LF, LF, CR, no end at the end
            {Zeilen({"\xef\xbb\xbf### 4.0", "", "", " 0", "x"}),
             "||0"},  // any header, lines after the values
            {Zeilen({"h",
                     " Br\xfc"
                     "cke \x80 5,\t\x93"
                     "a\x94 ",
                     "\xdf", "-0"}),
             " Brücke € 5,\t“a” |ß|0"},
            {Zeilen({"h", "P", "Q", "2.0", "0.25", "-1.5E-05", "+7", "\t1e3  ",
                     "." + QByteArray(330, '0') + "1E+5", "-1.7976931348623157E+308"}),
             "P|Q|2 0.25 -1.5e-05 7 1000 0 -1.7976931348623157e+308"},
            {"", "Dateiende erreicht"},
            {Zeilen(kBeispielZeilen.first(15)), "Dateiende erreicht"},
            {MitZeile(4, " 6"), n},
            {MitZeile(4, "-1"), n},
            {MitZeile(4, " 2.5"), n},
            {MitZeile(7, " 7a"), zahl.arg(7)},
            {MitZeile(5, " 3 4"), zahl.arg(5)},
            {MitZeile(9, "1E+"), zahl.arg(9)},
            {MitZeile(11, "NaN"), zahl.arg(11)},
            {MitZeile(10, " 1E999"), "Überlauf in Zeile 10"},
            {MitZeile(2, QByteArray("Te\0st", 5)), "ungültiges Zeichen in Zeile 2"},
            {MitZeile(3, "\x81"), "ungültiges Zeichen in Zeile 3"},
            {MitZeile(2, QByteArray(10 << 20, 'T')), "Datei zu groß"}};
        for (const auto& [bytes, ergebnis] : faelle)
            QTest::newRow(qPrintable(ergebnis.left(40))) << bytes << ergebnis;
    }
    void lesen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, ergebnis);
        QCOMPARE(Beschreibung(SystemLesen(bytes)), ergebnis);
    }

    // Random systems (every size; zeros, fractions, all magnitudes, both signs; texts of
    // windows-1252) are stored, read back, and stored again to the same bytes.
    void rundreise() {
        std::mt19937_64 zufall(4711);
        const auto bis = [&](int n) { return std::uniform_int_distribution<int>(0, n)(zufall); };
        const std::string texte[] = {"", "Brücke € 5,\t“Zitat” ß",
                                     " ,.-+09azAZ‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’•–—˜™š›œžŸ ¡¬­¯°±¿ÀÆ×ØÞàæ÷øþÿ "};
        const auto zahl = [&] {
            if (bis(1)) return bis(1) ? (bis(200) - 100) / double(1 << bis(12)) : 0.0;
            double wert;
            const std::uint64_t b = zufall();
            std::memcpy(&wert, &b, sizeof wert);
            return std::isfinite(wert) ? wert : 0.0;
        };
        for (int durchlauf = 0; durchlauf < 3000; ++durchlauf) {
            SystemDaten daten{texte[bis(2)], texte[bis(2)], static_cast<std::int16_t>(bis(kMaxN))};
            for (int i = 1; i <= daten.N; ++i) {
                for (int j = 1; j <= daten.N; ++j) daten.A[i][j] = zahl();
                daten.B[i] = zahl();
            }
            const QString geschrieben = Beschreibung(SystemSchreiben(daten));
            QVERIFY2(geschrieben.startsWith("### Tovik 5.0"), qPrintable(geschrieben));
            QCOMPARE(Beschreibung(SystemSchreiben(Gelesen(geschrieben.toLatin1()))), geschrieben);
        }
    }

    // Before bytes are stored, they are read back and must give the record again; and what
    // cannot be stored as it is is refused, never written with '?' or a cut-off value.
    void schreiben_data() {
        QTest::addColumn<QByteArray>("bytes");  // to check against the example; empty: write this record
        QTest::addColumn<QString>("projekt");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("grund");
        const QString vorsatz = "gespeicherte Daten ließen sich nicht wieder lesen: ",
                      n = "N muss eine ganze Zahl von 0 bis 5 sein";
        const QList<std::tuple<QByteArray, QString, int, QString>> faelle = {
            {Zeilen(kBeispielZeilen), "", 0, ""},
            {MitZeile(11, " "), "", 0, vorsatz + "keine gültige Zahl in Zeile 11"},
            {MitZeile(6, " 4.00000000000001"), "", 0, vorsatz + "A(1,2) weicht ab"},
            {MitZeile(3, "2"), "", 0, vorsatz + "Position weicht ab"},
            {"", "Brücke 中", 1, "Projekt enthält Zeichen, die windows-1252 nicht kennt"},
            {"", "a\nb", 1, "Projekt enthält ein Steuerzeichen oder einen Zeilenumbruch"},
            {"", "", 6, n},
            {"", "", 30000, n},
            {"", "", 2, "Überlauf in B(2)"}};
        for (const auto& [bytes, projekt, n, grund] : faelle)
            QTest::newRow(qPrintable(grund.right(30))) << bytes << projekt << n << grund;
    }
    void schreiben() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, projekt);
        QFETCH(int, n);
        QFETCH(QString, grund);
        Gleichungssystem gs;
        gs.Projekt = projekt.toStdString();
        gs.N = static_cast<std::int16_t>(n);
        gs.B[2] = qInf();
        QCOMPARE(bytes.isEmpty() ? Beschreibung(SystemSchreiben(DatenAusSystem(gs)))
                                 : Grund(SystemPruefen(bytes, Gelesen(Zeilen(kBeispielZeilen)))),
                 grund);
    }

    // What the file system may refuse, reading and writing. A written file replaces an old
    // one under exactly the chosen name, keeping its mode, owner and group; a refused one
    // leaves what was there as it was, and nothing beside it.
    void dateien_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("schreiben");
        QTest::addColumn<QString>("grund");
        const QList<std::tuple<const char*, bool, const char*>> faelle = {
            {"fehlt", false, "Datei nicht gefunden"},
            {"ordner", false, "Ordner statt Datei gewählt"},
            {"gesperrt", false, "Zugriff verweigert"},
            {"fifo", false, "keine gewöhnliche Datei"},
            {"alt", true, ""},
            {"fehlt/System", true, "Pfad nicht gefunden"},
            {"ordner", true, "Ordner statt Datei gewählt"},
            {"gesperrt/System", true, "Zugriff verweigert"},
            {"voll", true, "Schreibfehler"},
            {"fifo", true, "keine gewöhnliche Datei"},
            {"link zur fifo", true, "keine gewöhnliche Datei"}};
        for (const auto& [art, schreiben, grund] : faelle)
            QTest::addRow("%s %s", schreiben ? "write" : "read", art) << art << schreiben << grund;
    }
    void dateien() {
        QFETCH(QString, art);
        QFETCH(bool, schreiben);
        QFETCH(QString, grund);
        QTemporaryDir hier(ordner.filePath("XXXXXX"));
        QVERIFY(QFile::setPermissions(hier.path(), QFile::Permissions(0x7755)));
        const QString pfad = hier.filePath(art);
        const auto fifo = [](const QString& p) {
            return mkfifo(QFile::encodeName(p).constData(), 0600) == 0;
        };
        if (art == "ordner" || art == "gesperrt/System")
            QVERIFY(QDir().mkpath(hier.filePath(art.section('/', 0, 0))));
        if (art == "gesperrt/System")
            QVERIFY(QFile::setPermissions(hier.filePath("gesperrt"), QFile::Permissions(0x5555)));
        if (art == "gesperrt")
            QVERIFY(Schreiben(pfad, "x") && QFile::setPermissions(pfad, QFile::WriteOwner));
        if (art == "fifo" || art == "link zur fifo") QVERIFY(fifo(hier.filePath("fifo")));
        if (art == "link zur fifo") QVERIFY(QFile::link(hier.filePath("fifo"), pfad));
        if (art == "alt" || art == "voll") {
            QVERIFY(Schreiben(pfad, QByteArray(5000, 'x')) &&
                    QFile::setPermissions(pfad, QFile::Permissions(0x6040)));
            if (geteuid() == 0 && kNiemand)
                QCOMPARE(chown(QFile::encodeName(pfad), kNiemand->pw_uid, kNiemand->pw_gid), 0);
        }
        QFileInfo vorher(pfad);
        vorher.stat();                                               // before anything is replaced
        const QByteArray alt = vorher.isFile() ? Inhalt(pfad) : "";  // a pipe would block

        // A limit on the size of written files makes writing fail even for root.
        rlimit frei{}, grenze{0, 0};
        getrlimit(RLIMIT_FSIZE, &frei);
        grenze = {art == "voll" ? 16 : frei.rlim_cur, frei.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &grenze);
        const auto tun = [&] {
            return schreiben ? Grund(DateiSchreiben(pfad, Zeilen(kBeispielZeilen)))
                             : Beschreibung(SystemDateiLesen(pfad));
        };
        const QString ergebnis =
            art.startsWith("gesperrt") ? (OhneVorrechte(tun, grund) ? grund : "(not as nobody)") : tun();
        setrlimit(RLIMIT_FSIZE, &frei);
        QCOMPARE(ergebnis, grund);

        const QFileInfo nachher(pfad);
        const bool neu = schreiben && grund.isEmpty();
        QCOMPARE(std::tuple(nachher.exists(), nachher.isFile(), nachher.isDir(),
                            nachher.isFile() ? Inhalt(pfad) : ""),
                 std::tuple(vorher.exists() || neu, vorher.isFile() || neu, vorher.isDir(),
                            neu ? Zeilen(kBeispielZeilen) : alt));
        QCOMPARE(std::tuple(nachher.permissions(), nachher.ownerId(), nachher.groupId()),
                 std::tuple(vorher.permissions(), vorher.ownerId(), vorher.groupId()));
        QCOMPARE(QDir(hier.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks).size(),
                 int(vorher.isFile()));
    }

    // The first candidate folder with examples wins: beside the program (build tree), else the
    // user's copy, else the shipped data, which is copied once into the user's data folder;
    // the user's own choices there stay.
    void beispielOrdner() {
        QCOMPARE(BeispielOrdner({TOVIK_BEISPIEL_DIR "/.."}, ordner.path()),
                 TOVIK_BEISPIEL_DIR "/../Beispiel/");
        const QString daten = ordner.filePath("daten"), lokal = ordner.filePath("lokal"),
                      system = ordner.filePath("system");
        QCOMPARE(BeispielOrdner({ordner.filePath("programm"), system}, daten), QString());
        QVERIFY(QDir().mkpath(lokal + "/Beispiel") && QDir().mkpath(system + "/Beispiel") &&
                QDir().mkpath(daten));
        QVERIFY(Schreiben(lokal + "/Beispiel/Test.TVK", "neu") &&
                Schreiben(lokal + "/Beispiel/Zwei.TVK", "2") &&
                Schreiben(system + "/Beispiel/Test.TVK", "alt"));
        for (const QString& mitgeliefert : {lokal, system})
            QVERIFY(QFile::setPermissions(mitgeliefert + "/Beispiel", QFile::Permissions(0x5555)));
        QVERIFY(QFile::setPermissions(daten, QFile::Permissions(0x7777)));
        const QStringList installiert{ordner.filePath("programm"), daten + "/tovik", lokal, system};
        QVERIFY(OhneVorrechte(
            [&] {
                const QString erstes = BeispielOrdner(installiert, daten + "/tovik");
                QFile::remove(erstes + "Zwei.TVK");  // the user deletes one
                return BeispielOrdner(installiert, daten + "/tovik") +
                       QDir(erstes).entryList(QDir::Files).join(',');
            },
            daten + "/tovik/Beispiel/Test.TVK"));
        QCOMPARE(Inhalt(daten + "/tovik/Beispiel/Test.TVK"), "neu");
    }

    // The commands with the real dialog: what it offers, loading, storing without an
    // extension, the question before replacing, a refusal before any question.
    void dialoge() {
        QFileDialog CommonDialog1;
        Meldungen meldungen;
        GleichungssystemZuruecksetzen();
        Beantworten<QFileDialog>([](QFileDialog* dialog) {  // a name typed, then cancelled: not offered
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("Tipp");
            dialog->reject();
        });
        SystemAusDatei(CommonDialog1);
        auto gesehen = Dateiwahl("Test.TVK");
        SystemAusDatei(CommonDialog1);
        QCOMPARE(
            *gesehen,
            (QStringList{"vorh. Gleichungssystem laden", "Alle Dateien (*.*) | bisherige Projekte(*.TVK)",
                         "bisherige Projekte(*.TVK)", QFileInfo(Verzeichnis).canonicalFilePath(), ""}));
        QCOMPARE(Verzeichnis, QCoreApplication::applicationDirPath() + "/Beispiel/");
        QCOMPARE(Beschreibung(LeseErgebnis(DatenAusSystem(GS))),
                 Beschreibung(SystemLesen(Zeilen(kBeispielZeilen))));
        CommonDialog1.selectNameFilter("Alle Dateien (*.*)");  // shows names without a dot too
        QCOMPARE(CommonDialog1.findChild<QFileSystemModel*>()->nameFilters(), QStringList{"*"});

        // A new file, then "No" and "Yes" to the question before replacing it.
        const QString ziel = ordner.filePath("ohne Endung");
        const std::tuple<const char*, bool, const char*> speichern[] = {
            {"eins", true, "Test.TVK"}, {"zwei", false, "ohne Endung"}, {"drei", true, "ohne Endung"}};
        for (const auto& [position, ja, angeboten] : speichern) {
            GS.Position = position;
            gesehen = Dateiwahl(ziel, ja);
            SystemInDatei(CommonDialog1);
            QCOMPARE(gesehen->value(4), angeboten);
            QCOMPARE(gesehen->size(), QString(angeboten) == "Test.TVK" ? 5 : 6);  // with the question
            QCOMPARE(Gelesen(Inhalt(ziel)).Position, ja ? position : "eins");
        }
        QCOMPARE(QDir(ordner.path()).entryList({"ohne*"}), QStringList{"ohne Endung"});
        // A text the file cannot hold is told before any dialog could ask to replace a file.
        GS.Projekt = "中";
        SystemInDatei(CommonDialog1);  // no answerer: a dialog would fail the test
        QCOMPARE(
            meldungen.texte,
            QStringList{
                "Tovik: Fehler in Sub SystemInDatei: Projekt enthält Zeichen, die windows-1252 nicht kennt"});
    }
};

TOVIK_TEST_MAIN(TstStorage)
#include "tst_storage.moc"
