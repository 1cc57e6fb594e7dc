// The system file as bytes: what is written, what is read, what is refused; and on disk:
// every way the file system can refuse.

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

#include "Gleichungssystem.h"
#include "Hilfen.h"
#include "Systemdatei.h"

using namespace tovik;
using namespace hilfen;

namespace {

// The values in file order: each row of A, then its B.
QList<double> Werte(const SystemDaten& daten) {
    QList<double> werte;
    for (int i = 1; i <= daten.N; ++i) {
        for (int j = 1; j <= daten.N; ++j) werte << daten.A[i][j];
        werte << daten.B[i];
    }
    return werte;
}

// A double at 15 significant digits; " 0" carries no sign.
QString Ziffern15(double wert) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", wert == 0 ? 0.0 : wert);
    return text;
}

const bool kRoot = geteuid() == 0;

}  // namespace

class TstSystemdatei : public QObject {
    Q_OBJECT

private slots:
    // The example record gives the shipped file: 16 CR LF lines, byte for byte.
    void beispielWirdGespeichert() {
        GleichungssystemZuruecksetzen();
        BeispielSystem();
        const SchreibErgebnis ergebnis = SystemSchreiben(DatenAusSystem(GS));
        QCOMPARE(Grund(ergebnis), QString());
        QCOMPARE(std::get<QByteArray>(ergebnis), Beispiel());
        QCOMPARE(Inhalt(TOVIK_BEISPIEL_DIR "/Test.TVK"), Beispiel());
    }

    void lesen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("projekt");
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<double>>("werte");
        const QList<double> werte{3, 4, 7, 90, 12, 10, 0, 78, 0, 12, 2, 56};

        QTest::newRow("CR LF, LF, CR, no end at the end")
            << QByteArray("### Tovik 5.0\nTest\r1\r\n 3\n 3\r 4\r\n 7\n 90\n 12\r 10\r 0\n 78\r\n 0\n 12\r 2\n 56")
            << "Test" << "1" << 3 << werte;
        QTest::newRow("header not looked at, lines after the last value ignored")
            << MitZeile(1, "\xef\xbb\xbf### Tovik 4.0") + "Kommentar\r\n 99\r\n" << "Test" << "1" << 3 << werte;
        QTest::newRow("texts empty or kept whole in windows-1252, N = -0")
            << Datei({"h", "", " Br\xfc" "cke \x80 5,\t\x93Zitat\x94 \xdf\xe9  ", "-0"}) << ""
            << " Brücke € 5,\t“Zitat” ßé  " << 0 << QList<double>{};
        QTest::newRow("forms of other programs, N written 3.0")
            << Datei({"h", "P", "Q", "3.0", "0.25", "-0.5", "1E+15", "1.5E-05", "+7", "\t12.5  ", "2e3",
                      "5.", "-.125", "1E-999", "0001", "-1.7976931348623157E+308"})
            << "P" << "Q" << 3
            << QList<double>{0.25, -0.5, 1e15, 1.5e-5, 7, 12.5, 2000, 5, -0.125, 0, 1, -1.7976931348623157e308};
    }
    void lesen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, projekt);
        QFETCH(QString, position);
        QFETCH(int, n);
        QFETCH(QList<double>, werte);
        const LeseErgebnis ergebnis = SystemLesen(bytes);
        QCOMPARE(Grund(ergebnis), QString());
        const SystemDaten& daten = std::get<SystemDaten>(ergebnis);
        QCOMPARE(QString::fromStdString(daten.Projekt), projekt);
        QCOMPARE(QString::fromStdString(daten.Position), position);
        QCOMPARE(int(daten.N), n);
        QCOMPARE(Werte(daten), werte);
    }

    void abgelehnt_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("grund");
        const QString ende = "Dateiende erreicht";
        const QString falschesN = "N muss eine ganze Zahl von 0 bis 5 sein (Zeile 4)";
        const auto keine = [](int zeile) { return QString("keine gültige Zahl in Zeile %1").arg(zeile); };
        const QString zeichen2 = "ungültiges Zeichen in Zeile 2";
        const QString zeichen3 = "ungültiges Zeichen in Zeile 3";

        QTest::newRow("empty file") << QByteArray() << ende;
        QTest::newRow("header only") << Datei({"### Tovik 5.0"}) << ende;
        // The values read so far must not count; abgeschnitten() cuts at every byte.
        QTest::newRow("last value missing") << Datei(kBeispielZeilen.first(15)) << ende;

        QTest::newRow("N = 6") << MitZeile(4, " 6") << falschesN;
        QTest::newRow("N = 10") << MitZeile(4, " 10") << falschesN;
        QTest::newRow("N = -1") << MitZeile(4, "-1") << falschesN;
        QTest::newRow("N = 99999") << MitZeile(4, " 99999") << falschesN;
        QTest::newRow("N = 2.5") << MitZeile(4, " 2.5") << falschesN;

        QTest::newRow("letters") << MitZeile(5, "abc") << keine(5);
        QTest::newRow("letters after a number") << MitZeile(7, " 7a") << keine(7);
        QTest::newRow("two numbers") << MitZeile(5, " 3 4") << keine(5);
        QTest::newRow("decimal comma") << MitZeile(6, "3,5") << keine(6);
        QTest::newRow("empty number line") << MitZeile(8, "") << keine(8);
        QTest::newRow("point alone") << MitZeile(8, ".") << keine(8);
        QTest::newRow("exponent without digits") << MitZeile(9, "1E+") << keine(9);
        QTest::newRow("C hexadecimal") << MitZeile(9, "0x10") << keine(9);
        QTest::newRow("NaN") << MitZeile(11, "NaN") << keine(11);
        QTest::newRow("-inf") << MitZeile(11, "-inf") << keine(11);
        QTest::newRow("NUL after a number") << MitZeile(12, QByteArray(" 7\0", 3)) << keine(12);
        QTest::newRow("1E999") << MitZeile(10, " 1E999") << "Überlauf in Zeile 10";

        QTest::newRow("NUL in Projekt") << MitZeile(2, QByteArray("Te\0st", 5)) << zeichen2;
        QTest::newRow("DEL") << MitZeile(3, "\x7f") << zeichen3;
        for (const char* byte : {"\x81", "\x8d", "\x8f", "\x90", "\x9d"})  // undefined in windows-1252
            QTest::addRow("byte %02X", uchar(*byte)) << MitZeile(3, QByteArray("a") + byte) << zeichen3;
        QTest::newRow("10 MB line") << MitZeile(2, QByteArray(10 << 20, 'T')) << "Datei zu groß";
    }
    void abgelehnt() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, grund);
        QCOMPARE(Grund(SystemLesen(bytes)), grund);
    }

    // Cut anywhere before the last value, a file is refused. A last line without its end is
    // accepted, so a cut inside the last number cannot be told from a shorter number.
    void abgeschnitten() {
        const QByteArray beispiel = Beispiel();
        const qsizetype letzteZeile = beispiel.lastIndexOf(" 56");
        for (qsizetype laenge = 0; laenge < beispiel.size(); ++laenge)
            QVERIFY2(std::holds_alternative<Fehlergrund>(SystemLesen(beispiel.left(laenge))) ==
                         (laenge <= letzteZeile + 1),
                     qPrintable(QString::number(laenge)));
    }

    // Random systems of every size, all magnitudes and both signs, and texts from the whole
    // of windows-1252, come back to 15 significant digits; a second save gives the same bytes.
    void rundreise() {
        std::mt19937_64 zufall(4711);
        const auto bis = [&](int n) { return std::uniform_int_distribution<int>(0, n)(zufall); };
        const QString zeichen = QString::fromUtf8(
            " ,;.-+0123456789abcxyzABCXYZ\täöüÄÖÜß€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ¡¢£¤¥¦§¨©ª«¬­®¯°±²³´µ¶·¸¹º»¼½¾¿ÀÁÂÃÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕ×ØÙÚÛÝÞàáâãåæçèéêëìíîïðñòóôõ÷øùúûýþÿ");
        const auto text = [&] {
            QString t;
            for (int k = bis(40); k > 0; --k) t += zeichen[bis(int(zeichen.size()) - 1)];
            return t.toStdString();
        };
        const auto zahl = [&] {
            double wert;
            do {
                const std::uint64_t b = zufall();
                std::memcpy(&wert, &b, sizeof wert);
            } while (!std::isfinite(wert) || std::fabs(wert) > 1.797693134862315e308);
            return wert;
        };

        for (int durchlauf = 0; durchlauf < 3000; ++durchlauf) {
            SystemDaten daten{text(), text(), static_cast<std::int16_t>(bis(kMaxN))};
            for (int i = 1; i <= daten.N; ++i) {
                for (int j = 1; j <= daten.N; ++j) daten.A[i][j] = zahl();
                daten.B[i] = zahl();
            }
            const SchreibErgebnis geschrieben = SystemSchreiben(daten);
            QCOMPARE(Grund(geschrieben), QString());
            const QByteArray& bytes = std::get<QByteArray>(geschrieben);
            const LeseErgebnis gelesen = SystemLesen(bytes);
            QCOMPARE(Grund(gelesen), QString());
            const SystemDaten& zurueck = std::get<SystemDaten>(gelesen);
            QCOMPARE(zurueck.Projekt, daten.Projekt);
            QCOMPARE(zurueck.Position, daten.Position);
            QCOMPARE(zurueck.N, daten.N);
            const QList<double> vorher = Werte(daten), nachher = Werte(zurueck);
            for (qsizetype k = 0; k < vorher.size(); ++k) QCOMPARE(Ziffern15(nachher[k]), Ziffern15(vorher[k]));
            QCOMPARE(std::get<QByteArray>(SystemSchreiben(zurueck)), bytes);
        }
    }

    // A record that cannot be stored as it is; its N is 2 and A(2,1), B(2) finite unless the
    // row says otherwise.
    void schreibenAbgelehnt_data() {
        QTest::addColumn<QByteArray>("projekt");  // UTF-8
        QTest::addColumn<QByteArray>("position");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("a21");
        QTest::addColumn<double>("b2");
        QTest::addColumn<QString>("grund");
        const QString fremd = " enthält Zeichen, die windows-1252 nicht kennt";
        const QString steuer = " enthält ein Steuerzeichen oder einen Zeilenumbruch";
        const QString falschesN = "N muss eine ganze Zahl von 0 bis 5 sein";
        const QByteArray p = "P";
        QTest::newRow("Chinese") << QByteArray("Brücke 中") << p << 2 << 1.0 << 1.0 << "Projekt" + fremd;
        QTest::newRow("emoji") << p << QByteArray("\xf0\x9f\x98\x80") << 2 << 1.0 << 1.0 << "Position" + fremd;
        QTest::newRow("line feed") << QByteArray("a\nb") << p << 2 << 1.0 << 1.0 << "Projekt" + steuer;
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << p << 2 << 1.0 << 1.0 << "Projekt" + steuer;
        QTest::newRow("U+0081") << p << QByteArray("\xc2\x81") << 2 << 1.0 << 1.0 << "Position" + steuer;
        QTest::newRow("N = 6") << p << p << 6 << 1.0 << 1.0 << falschesN;
        QTest::newRow("N = -1") << p << p << -1 << 1.0 << 1.0 << falschesN;
        // beyond the arrays: neither copied out of bounds nor written
        QTest::newRow("N = 30000") << p << p << 30000 << 1.0 << 1.0 << falschesN;
        QTest::newRow("infinite A") << p << p << 2 << -qInf() << 1.0 << "Überlauf in A(2,1)";
        QTest::newRow("NaN B") << p << p << 2 << 1.0 << qQNaN() << "Überlauf in B(2)";
    }
    void schreibenAbgelehnt() {
        QFETCH(QByteArray, projekt);
        QFETCH(QByteArray, position);
        QFETCH(int, n);
        QFETCH(double, a21);
        QFETCH(double, b2);
        QFETCH(QString, grund);
        Gleichungssystem gs = Vorher();
        gs.Projekt = projekt.toStdString();
        gs.Position = position.toStdString();
        gs.N = static_cast<std::int16_t>(n);
        gs.A[2][1] = a21;
        gs.B[2] = b2;
        QCOMPARE(Grund(SystemSchreiben(DatenAusSystem(gs))), grund);
    }

    // Every shipped file reads, is stored exactly as the program would store it, and solves
    // (or is refused) as the README says.
    void beispielDateien_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<double>>("x");  // empty: refused for the zero on the diagonal
        QTest::newRow("example") << "Test.TVK" << QList<double>{952.0 / 243, 251.0 / 81, 254.0 / 27};
        QTest::newRow("one equation") << "EineGleichung.TVK" << QList<double>{2.5};
        QTest::newRow("symmetric") << "Symmetrisch.TVK" << QList<double>{1, -1, 2, 0, 3};
        QTest::newRow("zero on the diagonal") << "Nulldiagonale.TVK" << QList<double>{};
        QTest::newRow("reordered") << "Umgestellt.TVK" << QList<double>{1, 2, 3};
        QTest::newRow("decimal fractions") << "Dezimalbrueche.TVK" << QList<double>{1.5, -0.5, 0.25};
    }
    void beispielDateien() {
        QFETCH(QString, name);
        QFETCH(QList<double>, x);
        const QByteArray bytes = Inhalt(TOVIK_BEISPIEL_DIR "/" + name);
        const LeseErgebnis ergebnis = SystemLesen(bytes);
        QCOMPARE(Grund(ergebnis), QString());
        QCOMPARE(std::get<QByteArray>(SystemSchreiben(std::get<SystemDaten>(ergebnis))), bytes);
        GleichungssystemZuruecksetzen();
        DatenInSystem(std::get<SystemDaten>(ergebnis), GS);
        SystemLoesen();  // a refusal goes to stderr
        QCOMPARE(GS.Fehler, x.isEmpty());
        if (!x.isEmpty()) QCOMPARE(int(GS.N), x.size());
        for (int i = 1; i <= x.size(); ++i)
            QVERIFY2(std::fabs(GS.X[i] - x[i - 1]) <= 1e-12 * std::max(1.0, std::fabs(x[i - 1])),
                     qPrintable(QString("X(%1) = %2").arg(i).arg(GS.X[i], 0, 'g', 17)));
    }
    void beispielOrdnerVollstaendig() {
        QCOMPARE(QDir(TOVIK_BEISPIEL_DIR).entryList(QDir::Files, QDir::Name),
                 (QStringList{"Dezimalbrueche.TVK", "EineGleichung.TVK", "Nulldiagonale.TVK",
                              "Symmetrisch.TVK", "Test.TVK", "Umgestellt.TVK"}));
    }

    // Any name, also a link, is read as it is; what cannot be read is refused with a reason.
    void dateiLesen_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");  // empty: read
        QTest::newRow("link without extension") << "ohne Endung" << "";
        QTest::newRow("missing file") << "fehlt" << "Datei nicht gefunden";
        QTest::newRow("folder chosen") << "ordner" << "Ordner statt Datei gewählt";
        // Root reads any file; a folder in the file's place is what root cannot pass.
        QTest::newRow("not readable") << "nicht lesbar"
                                      << (kRoot ? "Ordner statt Datei gewählt" : "Zugriff verweigert");
        QTest::newRow("named pipe") << "fifo" << "keine gewöhnliche Datei";
        QTest::newRow("10 MB file") << "gross" << "Datei zu groß";
    }
    void dateiLesen() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        const QString pfad = ordner.filePath(art);
        if (art == "ohne Endung") {
            QVERIFY(Schreiben(ordner.filePath("ziel.TVK"), Beispiel()));
            QVERIFY(QFile::link(ordner.filePath("ziel.TVK"), pfad));
        } else if (art == "ordner" || (art == "nicht lesbar" && kRoot)) {
            QVERIFY(QDir().mkdir(pfad));
        } else if (art == "nicht lesbar") {
            QVERIFY(Schreiben(pfad, Beispiel()));
            QVERIFY(QFile::setPermissions(pfad, QFileDevice::WriteOwner));
        } else if (art == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        } else if (art == "gross") {
            QVERIFY(Schreiben(pfad, MitZeile(2, QByteArray(10 << 20, 'T'))));
        }
        const LeseErgebnis ergebnis = SystemDateiLesen(pfad);
        QCOMPARE(Grund(ergebnis), grund);
        if (grund.isEmpty()) QCOMPARE(std::get<SystemDaten>(ergebnis).B[3], 56.0);
    }

    // Written under exactly the chosen name over a longer file, which keeps its permissions;
    // or refused, with an old file kept byte for byte. No temporary file is left behind.
    void dateiSchreiben_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");  // empty: written
        QTest::newRow("over a longer file") << "alt" << "";
        QTest::newRow("missing folder") << "ordner fehlt" << "Pfad nicht gefunden";
        QTest::newRow("folder chosen") << "ordner" << "Ordner statt Datei gewählt";
        // procfs takes no new files, not even from root.
        QTest::newRow("read-only location")
            << "proc" << (kRoot ? "Datei kann nicht angelegt werden" : "Zugriff verweigert");
        if (!kRoot)  // root writes into any folder
            QTest::newRow("read-only folder") << "schreibgeschuetzt" << "Zugriff verweigert";
        QTest::newRow("disk full over an old file") << "voll" << "Schreibfehler";
        QTest::newRow("text not in windows-1252 over an old file")
            << "text" << "Projekt enthält Zeichen, die windows-1252 nicht kennt";
    }
    void dateiSchreiben() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        const QByteArray altesBytes(5000, 'x');
        const bool alteDatei = art == "alt" || art == "schreibgeschuetzt" || art == "voll" || art == "text";
        QString pfad = ordner.filePath("System");
        if (alteDatei) {
            QVERIFY(Schreiben(pfad, altesBytes));
            QVERIFY(QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadGroup));
        }
        if (art == "ordner fehlt") pfad = ordner.filePath("fehlt/System");
        if (art == "ordner") QVERIFY(QDir().mkdir(pfad));
        if (art == "proc") pfad = QString("/proc/tovik-%1.TVK").arg(getpid());
        if (art == "schreibgeschuetzt")
            QVERIFY(QFile::setPermissions(ordner.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        SystemDaten daten = std::get<SystemDaten>(SystemLesen(Beispiel()));
        if (art == "text") daten.Projekt = "Brücke 中";

        // A limit on the size of written files makes writing fail even for root; the
        // signal the kernel sends on the excess is ignored.
        rlimit grenze{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &grenze), 0);
        const rlimit alt = grenze;
        if (art == "voll") {
            std::signal(SIGXFSZ, SIG_IGN);
            grenze.rlim_cur = 16;  // far less than the file
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &grenze), 0);
        }
        const std::optional<Fehlergrund> fehler = SystemDateiSchreiben(pfad, daten);
        setrlimit(RLIMIT_FSIZE, &alt);
        QFile::setPermissions(ordner.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);

        QCOMPARE(Grund(fehler), grund);
        if (alteDatei) {
            QCOMPARE(Inhalt(pfad), grund.isEmpty() ? Beispiel() : altesBytes);
            QCOMPARE(QFile::permissions(pfad) & (QFileDevice::ReadOther | QFileDevice::WriteGroup),
                     QFileDevice::Permissions());
        } else if (art == "ordner") {
            QVERIFY(QFileInfo(pfad).isDir());
        } else {
            QVERIFY(!QFileInfo::exists(pfad));
        }
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 alteDatei ? QStringList{"System"} : QStringList{});
    }
};

QTEST_GUILESS_MAIN(TstSystemdatei)
#include "tst_storage_datei.moc"
