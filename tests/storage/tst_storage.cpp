// The system file: random records written and read back, and a few exact rows that pin the
// format; what the file system refuses. The random cases take their seed from TOVIK_SAAT where
// set; a failure prints it.

#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <bit>
#include <csignal>
#include <cstdlib>

#include "Beispielordner.h"
#include "Gleichungssystem.h"
#include "Systemdatei.h"
#include "Testhilfen.h"  // <QtTest> brings all of QtCore

using namespace tovik;

namespace {

// Lines as the program writes them, each ended by CR LF.
QByteArray Zeilen(const QList<QByteArray>& zeilen) {
    QByteArray bytes;
    for (const QByteArray& zeile : zeilen) bytes += zeile + "\r\n";
    return bytes;
}

// The example system as the program stores it.
const QList<QByteArray> kBeispielZeilen = {"### Tovik 5.0", "Test", "1",  " 3",  " 3", " 4",  " 7", " 90",
                                           " 12",           " 10",  " 0", " 78", " 0", " 12", " 2", " 56"};

// The example file with line `nummer` (from 1) replaced.
QByteArray MitZeile(int nummer, const QByteArray& zeile) {
    QList<QByteArray> zeilen = kBeispielZeilen;
    zeilen[nummer - 1] = zeile;
    return Zeilen(zeilen);
}

// The k-th value of a record in the order of the file, A(1,1) ... A(1,N), B(1), A(2,1) ..., and
// its name.
double& Wert(SystemDaten& d, int k, QString* name = nullptr) {
    const int i = k / (d.N + 1) + 1, j = k % (d.N + 1) + 1;
    if (name) *name = j > d.N ? QString("B(%1)").arg(i) : QString("A(%1,%2)").arg(i).arg(j);
    return j > d.N ? d.B[i] : d.A[i][j];
}

// What came of reading or writing: the reason of a refusal ("" for none), the bytes written, or
// "Projekt|Position|N values..." of a record read.
QString Text(const std::optional<Fehlergrund>& f) { return f ? QString::fromStdString(f->text) : ""; }
QString Text(const Fehlergrund& f) { return Text(std::optional(f)); }
QString Text(const QByteArray& bytes) { return QString::fromLatin1(bytes); }
QString Text(SystemDaten d) {
    QString t = QString::fromStdString(d.Projekt + "|" + d.Position + "|") + QString::number(d.N);
    for (int k = 0; k < d.N * (d.N + 1); ++k) t += ' ' + QString::number(Wert(d, k), 'g', 17);
    return t;
}
template <class... T>
QString Text(const std::variant<T...>& e) {
    return std::visit([](const auto& x) { return Text(x); }, e);
}

}  // namespace

class TstStorage : public QObject {
    Q_OBJECT
    const QByteArray beispiel = Zeilen(kBeispielZeilen);

private slots:
    // Bytes read: the record, or the reason of the refusal. A file named "as written" is exactly
    // what the program writes for the record read from it: the example's 16 lines (the record
    // BeispielSystem makes), the number texts, every shipped example.
    void lesen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("ergebnis");  // not looked at where empty
        const QString n = "N muss eine ganze Zahl von 0 bis 5 sein (Zeile 4)";
        QTest::newRow("as written: the example") << beispiel << "Test|1|3 3 4 7 90 12 10 0 78 0 12 2 56";
        QTest::newRow("as written: number texts")
            << Zeilen({"### Tovik 5.0", "", "", " 2", " .5", "-.25", " 1E+15", " .333333333333333", "-1.5",
                       " 1.5E-05"})
            << "||2 0.5 -0.25 1000000000000000 0.33333333333333298 -1.5 1.5e-05";
        for (const QFileInfo& datei : QDir(TOVIK_BEISPIEL_DIR).entryInfoList({"*.TVK"}))
            QTest::addRow("as written: %s", qPrintable(datei.fileName())) << Inhalt(datei.filePath()) << "";
        QTest::newRow("any header; LF, CR, CR LF; windows-1252; N -0; a line after")
            << QByteArray("\xef\xbb\xbf### 4.0\n Gr\xfc\xdf \x80,\t\x93Z\x94 \r\xb0\r\n-0\nx")
            << " Grüß €,\t“Z” |°|0";
        QTest::newRow("number forms")
            << Zeilen({"h", "", "", "2.0", "0.25", "-1.5E-05", "+7", "\t1e3 \t ", "1E-330", "-1E+308"})
            << "||2 0.25 -1.5e-05 7 1000 0 -1e+308";
        QTest::newRow("N 6") << MitZeile(4, " 6") << n;
        QTest::newRow("B(2) 1E999") << MitZeile(10, " 1E999") << "Überlauf in Zeile 10";
        QTest::newRow("A(1,1) 3 4") << MitZeile(5, " 3 4") << "keine gültige Zahl in Zeile 5";
        QTest::newRow("A(1,2) 1E+") << MitZeile(6, " 1E+") << "keine gültige Zahl in Zeile 6";
        QTest::newRow("Position \\x81") << MitZeile(3, "\x81") << "ungültiges Zeichen in Zeile 3";
        QTest::newRow("cut after line 15") << beispiel.chopped(5) << "Dateiende erreicht";
        const QByteArray mib = MitZeile(2, QByteArray((1 << 20) - beispiel.size() + 4, 'T'));  // 1 MiB in all
        QTest::newRow("as written: 1 MiB") << mib << "";
        QTest::newRow("1 MiB and a byte") << mib + "x"
                                          << "Datei zu groß";
    }
    void lesen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, ergebnis);
        const LeseErgebnis gelesen = SystemLesen(bytes);
        if (!ergebnis.isEmpty()) QCOMPARE(Text(gelesen), ergebnis);
        BeispielSystem();
        if (bytes == beispiel) QCOMPARE(Text(DatenAusSystem(GS)), Text(gelesen));
        if (QByteArray(QTest::currentDataTag()).startsWith("as written"))  // a refusal fails with its reason
            QCOMPARE(gelesen.index() ? Text(gelesen) : Text(SystemSchreiben(std::get<0>(gelesen))),
                     Text(bytes));
    }

    // Before bytes are stored they must give the record back: a line made to give another record
    // (a value a unit of its 15th digit off) is named, and why bytes could not be read is passed
    // on; the same value written otherwise passes.
    void pruefen() {
        const SystemDaten daten = std::get<SystemDaten>(SystemLesen(beispiel));
        const QString v = "gespeicherte Daten ließen sich nicht wieder lesen: ";
        QCOMPARE(Text(SystemPruefen(MitZeile(3, "2"), daten)) +
                     Text(SystemPruefen(MitZeile(8, "9.000000000000001E1"), daten)),
                 v + "Position weicht ab");
        QCOMPARE(Text(SystemPruefen(MitZeile(12, " 78.0000000000001"), daten)), v + "B(2) weicht ab");
        QCOMPARE(Text(SystemPruefen(MitZeile(11, " "), daten)), v + "keine gültige Zahl in Zeile 11");
    }

    // Random records: texts of windows-1252 or not (with a character it has not, invalid UTF-8,
    // a control character), N from 0 to 5, values of every size and kind and now and then one
    // that is not finite. Refused with the reason of the first fault, or stored as bytes that
    // read back (also through GS) to the texts, N and every value rounded to 15 digits, and
    // store again to the same bytes. (What any bytes read to, faulty files included, is the
    // reader's fuzzer's, fuzz/fuzz_systemdatei.cpp, which CI runs.)
    void zufall() {
        const quint32 saat =
            qEnvironmentVariableIsSet("TOVIK_SAAT") ? qEnvironmentVariableIntValue("TOVIK_SAAT") : 4711;
        QRandomGenerator z(saat);
        // texts: windows-1252, then not (from 5), then with a control character (from 8)
        const std::string texte[] = {
            "",       "Test", " \t,.-+09azAZ", "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ\u00a0¡¬\u00ad¯°±¿ÀÆ×ØÞßàæ÷øþÿ",
            "Brücke", "中",   "Ω\u2028",       "\xc3",
            "a\nb",   "\r",   "\x01\x7f",      "\u0085"};
        const double besondere[] = {1.0 / 3, 1e15,   999999999999999.0,      1e-4,
                                    -1.5e-5, -0.0,   1.7976931348623157e308, 5e-324,
                                    qInf(),  qQNaN()};
        int fall = 0;
        const auto zeigen = qScopeGuard([&] {
            if (QTest::currentTestFailed()) qWarning("seed %u, case %d", saat, fall);
        });
        for (; fall < 5000; ++fall) {
            SystemDaten d{"", "", std::int16_t(z.bounded(6))};
            QString grund;
            for (auto [text, feld] : {std::pair(&d.Projekt, "Projekt"), std::pair(&d.Position, "Position")}) {
                const int a = z.bounded(4) ? z.bounded(5) : z.bounded(12), b = z.bounded(12),
                          art = std::max(a, b);
                *text = texte[a] + texte[b];
                if (grund.isEmpty() && art >= 5)
                    grund = feld + QString(art < 8 ? " enthält Zeichen, die windows-1252 nicht kennt"
                                                   : " enthält ein Steuerzeichen oder einen Zeilenumbruch");
            }
            SystemDaten soll = d;  // with every value rounded to 15 digits
            for (int k = 0; k < d.N * (d.N + 1); ++k) {
                const double bits = std::bit_cast<double>(z.generate64()),
                             bruch = z.bounded(-999, 1000) / double(z.bounded(1, 13));
                QString feld;
                const double w = Wert(d, k, &feld) = !z.bounded(30) ? besondere[z.bounded(10)]
                                                     : qIsFinite(bits) && z.bounded(2) ? bits
                                                                                       : bruch;
                // rounded by the C library, an exact half to even; beyond the range, the largest 15 digits
                std::array<char, 40> text;
                std::snprintf(text.data(), text.size(), "%.14e", w);
                Wert(soll, k) = std::clamp(std::strtod(text.data(), nullptr), -1.79769313486231e308,
                                           1.79769313486231e308);
                if (grund.isEmpty() && !qIsFinite(w)) grund = "Überlauf in " + feld;
            }
            const SchreibErgebnis geschrieben = SystemSchreiben(d);
            QCOMPARE(geschrieben.index() ? Text(geschrieben) : "", grund);
            if (!grund.isEmpty()) continue;
            const QByteArray bytes = std::get<QByteArray>(geschrieben);
            const LeseErgebnis gelesen = SystemLesen(bytes);
            QVERIFY2(!gelesen.index(), qPrintable(Text(gelesen)));
            DatenInSystem(std::get<0>(gelesen), GS);
            QCOMPARE(Text(DatenAusSystem(GS)) + Text(gelesen), Text(soll) + Text(soll));
            QCOMPARE(Text(SystemSchreiben(std::get<0>(gelesen))), Text(bytes));
        }
    }

    // What the file system refuses, with its reason, leaving everything as it was: reading a file
    // that is not there, a folder, a FIFO, a file that may not be read; writing into a folder
    // that is not there, over a folder, a FIFO or a link to one, onto a full disk (a limit on
    // the size of files), where the old file keeps its bytes, or into a folder that may not be
    // written. Root passes every check of rights, so there the test acts as "nobody" for a while.
    // Examples shipped where the user may not write are copied once into the user's data folder.
    void dateien() {
        QTemporaryDir ort;
        const auto pfad = [&](const char* name) { return ort.filePath(name); };
        const auto lesbar = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(Schreiben(pfad("alt"), "alt") && Schreiben(pfad("gesperrt"), "x") &&
                QDir().mkpath(pfad("ordner/Beispiel")) && Schreiben(pfad("ordner/Beispiel/A.TVK"), "a") &&
                QDir().mkpath(pfad("frei/Beispiel")) && QDir().mkdir(pfad("daten")) &&
                QFile::setPermissions(pfad("daten"), QFile::Permissions(0x7777)) &&
                !mkfifo(qPrintable(pfad("fifo")), 0600) && QFile::link("fifo", pfad("link")));
        QVERIFY(QFile::setPermissions(pfad("gesperrt"), QFile::WriteOwner) &&
                QFile::setPermissions(pfad("ordner"), lesbar) &&
                QFile::setPermissions(ort.path(), lesbar | QFile::WriteOwner));
        QStringList gruende;
        gruende << BeispielOrdner({pfad("frei")}, pfad("daten")).remove(ort.path());  // where it may write
        for (const char* name : {"fehlt", "ordner", "fifo"}) gruende << Text(SystemDateiLesen(pfad(name)));
        for (const char* name : {"fehlt/System", "ordner", "fifo", "link"})
            gruende << Text(DateiErsetzen(pfad(name), beispiel));
        rlimit grenze{};
        const rlimit klein{16, (getrlimit(RLIMIT_FSIZE, &grenze), grenze.rlim_max)};
        signal(SIGXFSZ, SIG_IGN), setrlimit(RLIMIT_FSIZE, &klein);
        gruende << Text(DateiErsetzen(pfad("alt"), beispiel));
        setrlimit(RLIMIT_FSIZE, &grenze), signal(SIGXFSZ, SIG_DFL);
        const passwd* niemand = getpwnam("nobody");
        const bool root = geteuid() == 0;
        QVERIFY(!root || (niemand && !setresgid(niemand->pw_gid, niemand->pw_gid, 0) &&
                          !setresuid(niemand->pw_uid, niemand->pw_uid, 0)));
        gruende << Text(SystemDateiLesen(pfad("gesperrt")))
                << Text(DateiErsetzen(pfad("ordner") + "/System", beispiel))
                << BeispielOrdner({pfad("fehlt"), pfad("ordner")}, pfad("daten")).remove(ort.path());
        QVERIFY(!root || (!setresuid(0, 0, 0) && !setresgid(0, 0, 0)));
        const auto alles = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(
            gruende << Inhalt(pfad("alt")) + Inhalt(pfad("daten/Beispiel/A.TVK"))
                    << QDir(ort.path()).entryList(alles).join(' ')
                    << QDir(pfad("ordner")).entryList(alles).join(' '),
            QString(
                "/frei/Beispiel/|Datei nicht gefunden|Ordner statt Datei gewählt|keine gewöhnliche "
                "Datei|Pfad nicht gefunden|"
                "Ordner statt Datei gewählt|keine gewöhnliche Datei|keine gewöhnliche Datei|Schreibfehler|"
                "Zugriff verweigert|Zugriff verweigert|/daten/Beispiel/|alta|alt daten fifo frei gesperrt "
                "link ordner|Beispiel")
                .split('|'));
    }
};

TOVIK_TEST_GUILESS_MAIN(TstStorage)
#include "tst_storage.moc"
