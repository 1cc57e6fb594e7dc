// The system file as bytes: what is written, what is read, what is refused.

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <random>
#include <variant>

#include "Fehlerfaelle.h"
#include "Gleichungssystem.h"
#include "Hilfen.h"
#include "Meldung.h"
#include "Systemdatei.h"

using namespace tovik;

namespace {

QByteArray Lesen(const QString& pfad) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) return {};
    return datei.readAll();
}

QString Beispielpfad(const QString& name) { return QStringLiteral(TOVIK_BEISPIEL_DIR "/") + name; }

// The values in file order: each row of A, then its B.
QList<double> Werte(const SystemDaten& daten) {
    QList<double> werte;
    for (int i = 1; i <= daten.N; ++i) {
        for (int j = 1; j <= daten.N; ++j) werte << daten.A[i][j];
        werte << daten.B[i];
    }
    return werte;
}

QString Grund(const SchreibErgebnis& ergebnis) {
    const auto* fehler = std::get_if<Fehlergrund>(&ergebnis);
    return fehler ? QString::fromStdString(fehler->text) : QString();
}

}  // namespace

class TstSystemdatei : public QObject {
    Q_OBJECT

private slots:
    void beispielWirdGespeichert() {
        GleichungssystemZuruecksetzen();
        BeispielSystem();
        const SchreibErgebnis ergebnis = SystemSchreiben(DatenAusSystem(GS));
        QVERIFY2(std::holds_alternative<QByteArray>(ergebnis), qPrintable(Grund(ergebnis)));
        const QByteArray bytes = std::get<QByteArray>(ergebnis);
        QCOMPARE(bytes, fehlerfaelle::Beispiel());
        QCOMPARE(bytes.count("\r\n"), 16);
        QCOMPARE(Lesen(Beispielpfad("Test.TVK")), bytes);
    }

    void lesen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("projekt");
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<double>>("werte");
        using fehlerfaelle::Datei;
        using fehlerfaelle::MitZeile;
        const QByteArray beispiel = fehlerfaelle::Beispiel();
        const QList<double> werte{3, 4, 7, 90, 12, 10, 0, 78, 0, 12, 2, 56};

        QTest::newRow("as stored") << beispiel << "Test" << "1" << 3 << werte;
        QTest::newRow("LF") << QByteArray(beispiel).replace("\r\n", "\n") << "Test" << "1" << 3 << werte;
        QTest::newRow("CR") << QByteArray(beispiel).replace("\r\n", "\r") << "Test" << "1" << 3 << werte;
        QTest::newRow("mixed line ends")
            << QByteArray("### Tovik 5.0\nTest\r1\r\n 3\n 3\r 4\r\n 7\n 90\n 12\r 10\r 0\n 78\r\n 0\n 12\r 2\n 56")
            << "Test" << "1" << 3 << werte;
        QTest::newRow("no line end at the end") << beispiel.chopped(2) << "Test" << "1" << 3 << werte;
        QTest::newRow("other version") << MitZeile(1, "### Tovik 4.0") << "Test" << "1" << 3 << werte;
        QTest::newRow("header with commas") << MitZeile(1, "a, b, \"c\"") << "Test" << "1" << 3 << werte;
        QTest::newRow("empty header") << MitZeile(1, "") << "Test" << "1" << 3 << werte;
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + beispiel << "Test" << "1" << 3 << werte;
        QTest::newRow("lines after the last value")
            << beispiel + "Kommentar\r\n 99\r\n" << "Test" << "1" << 3 << werte;
        QTest::newRow("empty texts") << Datei({"### Tovik 5.0", "", "", " 1", " 4", " 10"}) << ""
                                     << "" << 1 << QList<double>{4, 10};
        QTest::newRow("commas and blanks kept whole")
            << Datei({"### Tovik 5.0", " Haus, Dach  ", "a,b\tc", " 0"}) << " Haus, Dach  "
            << "a,b\tc" << 0 << QList<double>{};
        QTest::newRow("windows-1252 letters")
            << Datei({"### Tovik 5.0", "Br\xfc" "cke \x80 5", "\x93Zitat\x94 \xdf\xe9", " 0"})
            << "Brücke € 5" << "“Zitat” ßé" << 0 << QList<double>{};
        QTest::newRow("N = 0") << Datei({"### Tovik 5.0", "P", "Q", " 0"}) << "P" << "Q" << 0
                               << QList<double>{};
        QTest::newRow("N written 3.0") << MitZeile(4, "3.0") << "Test" << "1" << 3 << werte;
        QTest::newRow("N written 3E0") << MitZeile(4, "3E0") << "Test" << "1" << 3 << werte;
        QTest::newRow("N written -0") << Datei({"h", "P", "Q", "-0"}) << "P" << "Q" << 0 << QList<double>{};
        QTest::newRow("forms of other programs")
            << Datei({"h", "P", "Q", "2", "0.25", "-0.5", "1E+15", "1.5E-05", "+7", "\t12.5  "})
            << "P" << "Q" << 2 << QList<double>{0.25, -0.5, 1e15, 1.5e-5, 7, 12.5};
        QTest::newRow("more forms")
            << Datei({"h", "P", "Q", " 2", "2e3", "5.", "-.125", "1E-999", "0001", "-1.7976931348623157E+308"})
            << "P" << "Q" << 2 << QList<double>{2000, 5, -0.125, 0, 1, -1.7976931348623157e308};
    }
    void lesen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, projekt);
        QFETCH(QString, position);
        QFETCH(int, n);
        QFETCH(QList<double>, werte);
        const LeseErgebnis ergebnis = SystemLesen(bytes);
        const auto* fehler = std::get_if<Fehlergrund>(&ergebnis);
        QVERIFY2(!fehler, fehler ? fehler->text.c_str() : "");
        const SystemDaten& daten = std::get<SystemDaten>(ergebnis);
        QCOMPARE(QString::fromStdString(daten.Projekt), projekt);
        QCOMPARE(QString::fromStdString(daten.Position), position);
        QCOMPARE(int(daten.N), n);
        QCOMPARE(Werte(daten), werte);
    }

    void abgelehnt_data() { fehlerfaelle::Hinzufuegen(); }
    void abgelehnt() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, grund);
        const LeseErgebnis ergebnis = SystemLesen(bytes);
        const auto* fehler = std::get_if<Fehlergrund>(&ergebnis);
        QVERIFY2(fehler, "accepted");
        QCOMPARE(QString::fromStdString(fehler->text), grund);
    }

    // Cut anywhere before the last value, a file is refused. A last line without its end is
    // accepted, so a cut inside the last number cannot be told from a shorter number.
    void jedeAbgeschnitteneDatei() {
        const QByteArray beispiel = fehlerfaelle::Beispiel();
        const qsizetype letzteZeile = beispiel.lastIndexOf(" 56");
        for (qsizetype laenge = 0; laenge < beispiel.size(); ++laenge) {
            const LeseErgebnis ergebnis = SystemLesen(beispiel.left(laenge));
            if (laenge <= letzteZeile + 1)
                QVERIFY2(std::holds_alternative<Fehlergrund>(ergebnis), qPrintable(QString::number(laenge)));
            else
                QVERIFY2(std::holds_alternative<SystemDaten>(ergebnis), qPrintable(QString::number(laenge)));
        }
    }

    // Random systems of every size, all magnitudes and both signs, and texts from the whole
    // of windows-1252, come back to 15 significant digits; a second save gives the same bytes.
    void rundreise() {
        std::mt19937_64 zufall(4711);
        std::uniform_int_distribution<std::uint64_t> bits;
        std::uniform_int_distribution<int> groesse(0, kMaxN);
        std::uniform_int_distribution<int> laenge(0, 40);
        const QString zeichen = QString::fromUtf8(
            " ,;.-+0123456789abcxyzABCXYZ\täöüÄÖÜß€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ¡¢£¤¥¦§¨©ª«¬­®¯°±²³´µ¶·¸¹º»¼½¾¿ÀÁÂÃÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕ×ØÙÚÛÝÞàáâãåæçèéêëìíîïðñòóôõ÷øùúûýþÿ");
        std::uniform_int_distribution<int> zeichenWahl(0, int(zeichen.size()) - 1);
        const auto text = [&] {
            QString t;
            for (int k = laenge(zufall); k > 0; --k) t += zeichen[zeichenWahl(zufall)];
            return t.toStdString();
        };
        const auto zahl = [&] {
            double wert;
            do {
                const std::uint64_t b = bits(zufall);
                std::memcpy(&wert, &b, sizeof wert);
            } while (!std::isfinite(wert) || std::fabs(wert) > 1.797693134862315e308);
            return wert;
        };

        for (int durchlauf = 0; durchlauf < 3000; ++durchlauf) {
            SystemDaten daten;
            daten.Projekt = text();
            daten.Position = text();
            daten.N = static_cast<std::int16_t>(groesse(zufall));
            for (int i = 1; i <= daten.N; ++i) {
                for (int j = 1; j <= daten.N; ++j) daten.A[i][j] = zahl();
                daten.B[i] = zahl();
            }
            const SchreibErgebnis geschrieben = SystemSchreiben(daten);
            QVERIFY2(std::holds_alternative<QByteArray>(geschrieben), qPrintable(Grund(geschrieben)));
            const QByteArray& bytes = std::get<QByteArray>(geschrieben);
            const LeseErgebnis gelesen = SystemLesen(bytes);
            QVERIFY2(std::holds_alternative<SystemDaten>(gelesen), bytes.constData());
            const SystemDaten& zurueck = std::get<SystemDaten>(gelesen);
            QCOMPARE(zurueck.Projekt, daten.Projekt);
            QCOMPARE(zurueck.Position, daten.Position);
            QCOMPARE(zurueck.N, daten.N);
            const QList<double> vorher = Werte(daten), nachher = Werte(zurueck);
            for (qsizetype k = 0; k < vorher.size(); ++k)
                QVERIFY2(hilfen::Gleich15(vorher[k], nachher[k]), bytes.constData());
            QCOMPARE(std::get<QByteArray>(SystemSchreiben(zurueck)), bytes);
        }
    }

    void schreibenAbgelehnt_data() {
        QTest::addColumn<QByteArray>("projekt");  // UTF-8
        QTest::addColumn<QByteArray>("position");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("a21");
        QTest::addColumn<double>("b2");
        QTest::addColumn<QString>("grund");
        const QString fremdP = "Projekt enthält Zeichen, die windows-1252 nicht kennt";
        const QString fremdQ = "Position enthält Zeichen, die windows-1252 nicht kennt";
        const QString steuerP = "Projekt enthält ein Steuerzeichen oder einen Zeilenumbruch";
        const QString steuerQ = "Position enthält ein Steuerzeichen oder einen Zeilenumbruch";
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("Chinese") << QByteArray("Brücke 中") << QByteArray("1") << 2 << 1.0 << 1.0 << fremdP;
        QTest::newRow("Greek") << QByteArray("P") << QByteArray("Ω") << 2 << 1.0 << 1.0 << fremdQ;
        QTest::newRow("emoji") << QByteArray("P") << QByteArray("\xf0\x9f\x98\x80") << 2 << 1.0 << 1.0 << fremdQ;
        QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe") << QByteArray("1") << 2 << 1.0 << 1.0 << fremdP;
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QByteArray("1") << 2 << 1.0 << 1.0 << fremdP;
        QTest::newRow("line feed") << QByteArray("a\nb") << QByteArray("1") << 2 << 1.0 << 1.0 << steuerP;
        QTest::newRow("carriage return") << QByteArray("P") << QByteArray("1\r") << 2 << 1.0 << 1.0 << steuerQ;
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray("1") << 2 << 1.0 << 1.0 << steuerP;
        QTest::newRow("U+0081") << QByteArray("\xc2\x81") << QByteArray("1") << 2 << 1.0 << 1.0 << steuerP;
        QTest::newRow("N = 6") << QByteArray("P") << QByteArray("1") << 6 << 1.0 << 1.0
                               << "N muss eine ganze Zahl von 0 bis 5 sein";
        QTest::newRow("N = -1") << QByteArray("P") << QByteArray("1") << -1 << 1.0 << 1.0
                                << "N muss eine ganze Zahl von 0 bis 5 sein";
        QTest::newRow("infinite A") << QByteArray("P") << QByteArray("1") << 2 << -inf << 1.0 << "Überlauf in A(2,1)";
        QTest::newRow("NaN B") << QByteArray("P") << QByteArray("1") << 2 << 1.0 << std::nan("") << "Überlauf in B(2)";
    }
    void schreibenAbgelehnt() {
        QFETCH(QByteArray, projekt);
        QFETCH(QByteArray, position);
        QFETCH(int, n);
        QFETCH(double, a21);
        QFETCH(double, b2);
        QFETCH(QString, grund);
        SystemDaten daten;
        daten.Projekt = projekt.toStdString();
        daten.Position = position.toStdString();
        daten.N = static_cast<std::int16_t>(n);
        for (int i = 1; i <= 2; ++i) {
            for (int j = 1; j <= 2; ++j) daten.A[i][j] = i + j;
            daten.B[i] = i;
        }
        daten.A[2][1] = a21;
        daten.B[2] = b2;
        QCOMPARE(Grund(SystemSchreiben(daten)), grund);
    }

    // Loading replaces Projekt, Position, N and the block 1..N of A and B, nothing else.
    void datenInSystem() {
        SystemDaten daten;
        daten.Projekt = "Neu";
        daten.Position = "7";
        daten.N = 3;
        for (int i = 0; i <= kMaxIndex; ++i) {
            for (int j = 0; j <= kMaxIndex; ++j) daten.A[i][j] = -9;  // outside 1..N: ignored
            daten.B[i] = -9;
        }
        for (int i = 1; i <= 3; ++i) {
            for (int j = 1; j <= 3; ++j) daten.A[i][j] = 10 * i + j;
            daten.B[i] = i;
        }
        Gleichungssystem gs = hilfen::Vorher();
        Gleichungssystem erwartet = hilfen::Vorher();
        erwartet.Projekt = "Neu";
        erwartet.Position = "7";
        erwartet.N = 3;
        for (int i = 1; i <= 3; ++i) {
            for (int j = 1; j <= 3; ++j) erwartet.A[i][j] = 10 * i + j;
            erwartet.B[i] = i;
        }
        DatenInSystem(daten, gs);
        QVERIFY(hilfen::Gleich(gs, erwartet));

        const SystemDaten zurueck = DatenAusSystem(gs);
        QCOMPARE(zurueck.Projekt, "Neu");
        QCOMPARE(zurueck.N, 3);
        QCOMPARE(zurueck.A[3][3], 33.0);
        QCOMPARE(zurueck.A[4][4], 0.0);  // outside the block: not taken
        QCOMPARE(zurueck.B[0], 0.0);
    }

    // A record whose N lies beyond the arrays is neither copied out of bounds nor written.
    void unmoeglichesN() {
        Gleichungssystem gs = hilfen::Vorher();
        gs.N = 30000;
        const SystemDaten daten = DatenAusSystem(gs);
        QCOMPARE(Grund(SystemSchreiben(daten)), "N muss eine ganze Zahl von 0 bis 5 sein");
    }

    void beispielDateien_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("abgewiesen");
        QTest::addColumn<QList<double>>("x");
        QTest::newRow("example") << "Test.TVK" << false << QList<double>{952.0 / 243, 251.0 / 81, 254.0 / 27};
        QTest::newRow("one equation") << "EineGleichung.TVK" << false << QList<double>{2.5};
        QTest::newRow("symmetric") << "Symmetrisch.TVK" << false << QList<double>{1, -1, 2, 0, 3};
        QTest::newRow("zero on the diagonal") << "Nulldiagonale.TVK" << true << QList<double>{};
        QTest::newRow("reordered") << "Umgestellt.TVK" << false << QList<double>{1, 2, 3};
        QTest::newRow("decimal fractions") << "Dezimalbrueche.TVK" << false << QList<double>{1.5, -0.5, 0.25};
    }
    void beispielDateien() {
        QFETCH(QString, name);
        QFETCH(bool, abgewiesen);
        QFETCH(QList<double>, x);
        const QByteArray bytes = Lesen(Beispielpfad(name));
        const LeseErgebnis ergebnis = SystemLesen(bytes);
        QVERIFY(std::holds_alternative<SystemDaten>(ergebnis));
        const SystemDaten& daten = std::get<SystemDaten>(ergebnis);
        // Stored exactly as the program would store it.
        QCOMPARE(std::get<QByteArray>(SystemSchreiben(daten)), bytes);

        QStringList meldungen;
        const MeldungsHook alt = SetzeMeldungsHook(
            [&](const std::string& text, const std::string&) { meldungen << QString::fromStdString(text); });
        GleichungssystemZuruecksetzen();
        DatenInSystem(daten, GS);
        SystemLoesen();
        SetzeMeldungsHook(alt);
        QCOMPARE(GS.Fehler, abgewiesen);
        QCOMPARE(meldungen, abgewiesen ? QStringList{kMeldungPivot} : QStringList{});
        if (abgewiesen) return;
        QCOMPARE(x.size(), int(daten.N));
        for (int i = 1; i <= daten.N; ++i)
            QVERIFY2(std::fabs(GS.X[i] - x[i - 1]) <= 1e-12 * std::max(1.0, std::fabs(x[i - 1])),
                     qPrintable(QString("X(%1) = %2").arg(i).arg(GS.X[i], 0, 'g', 17)));
    }

    // Every shipped file is in the table above.
    void beispielOrdnerVollstaendig() {
        const QStringList dateien = QDir(TOVIK_BEISPIEL_DIR).entryList({"*"}, QDir::Files, QDir::Name);
        QCOMPARE(dateien, (QStringList{"Dezimalbrueche.TVK", "EineGleichung.TVK", "Nulldiagonale.TVK",
                                       "Symmetrisch.TVK", "Test.TVK", "Umgestellt.TVK"}));
    }
};

QTEST_GUILESS_MAIN(TstSystemdatei)
#include "tst_storage_datei.moc"
