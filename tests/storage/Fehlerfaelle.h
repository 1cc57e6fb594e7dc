#pragma once
// Files that must be refused, with the reason the reader gives. Shared by the byte-level
// test of the reader and the test of the Open command, which also checks that GS survives.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtTest>

#include <initializer_list>

namespace fehlerfaelle {

inline QByteArray Datei(std::initializer_list<QByteArray> zeilen) {
    QByteArray bytes;
    for (const QByteArray& zeile : zeilen) bytes += zeile + "\r\n";
    return bytes;
}

// The example system exactly as stored.
inline QByteArray Beispiel() {
    return Datei({"### Tovik 5.0", "Test", "1", " 3", " 3", " 4", " 7", " 90", " 12", " 10", " 0",
                  " 78", " 0", " 12", " 2", " 56"});
}

inline QList<QByteArray> BeispielZeilen() {
    QList<QByteArray> zeilen = Beispiel().split('\n');
    zeilen.removeLast();  // after the last line end
    for (QByteArray& zeile : zeilen) zeile.chop(1);  // the CR
    return zeilen;
}

// The example with line `nummer` (1-based) replaced.
inline QByteArray MitZeile(int nummer, const QByteArray& zeile) {
    QList<QByteArray> zeilen = BeispielZeilen();
    zeilen[nummer - 1] = zeile;
    QByteArray bytes;
    for (const QByteArray& z : zeilen) bytes += z + "\r\n";
    return bytes;
}

inline QString Keine(int zeile) { return QString("keine gültige Zahl in Zeile %1").arg(zeile); }

// Columns "bytes" (QByteArray) and "grund" (QString, the reason without the prefix).
inline void Hinzufuegen() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("grund");
    const QString ende = "Dateiende erreicht";
    const QString falschesN = "N muss eine ganze Zahl von 0 bis 5 sein (Zeile 4)";

    QTest::newRow("empty file") << QByteArray() << ende;
    QTest::newRow("only a line end") << QByteArray("\r\n") << ende;
    QTest::newRow("header only") << Datei({"### Tovik 5.0"}) << ende;
    QTest::newRow("header without line end") << QByteArray("### Tovik 5.0") << ende;
    // Cut after every complete line: the values read so far must not count.
    const QList<QByteArray> zeilen = BeispielZeilen();
    for (int n = 2; n < zeilen.size(); ++n) {
        QByteArray teil;
        for (int k = 0; k < n; ++k) teil += zeilen[k] + "\r\n";
        QTest::addRow("ends after line %d", n) << teil << ende;
    }
    QTest::newRow("ends inside line 9") << Beispiel().left(Beispiel().indexOf(" 12\r\n") + 2) << ende;
    QTest::newRow("ends inside a CR LF") << Beispiel().left(Beispiel().indexOf(" 78\r\n") + 4) << ende;

    QTest::newRow("N = 6") << MitZeile(4, " 6") << falschesN;
    QTest::newRow("N = 10") << MitZeile(4, " 10") << falschesN;
    QTest::newRow("N = -1") << MitZeile(4, "-1") << falschesN;
    QTest::newRow("N = 99999") << MitZeile(4, " 99999") << falschesN;
    QTest::newRow("N = 2.5") << MitZeile(4, " 2.5") << falschesN;
    QTest::newRow("N = 1E300") << MitZeile(4, " 1E+300") << falschesN;
    QTest::newRow("N = 1E999") << MitZeile(4, " 1E999") << "Überlauf in Zeile 4";
    QTest::newRow("N empty") << MitZeile(4, "") << Keine(4);
    QTest::newRow("N letters") << MitZeile(4, "drei") << Keine(4);

    QTest::newRow("letters after a number") << MitZeile(7, " 7a") << Keine(7);
    QTest::newRow("letters only") << MitZeile(5, "abc") << Keine(5);
    QTest::newRow("two numbers") << MitZeile(5, " 3 4") << Keine(5);
    QTest::newRow("two numbers, tab") << MitZeile(5, "3\t4") << Keine(5);
    QTest::newRow("decimal comma") << MitZeile(6, "3,5") << Keine(6);
    QTest::newRow("second point") << MitZeile(6, "1.2.3") << Keine(6);
    QTest::newRow("empty number line") << MitZeile(8, "") << Keine(8);
    QTest::newRow("blanks only") << MitZeile(8, "   ") << Keine(8);
    QTest::newRow("point alone") << MitZeile(8, ".") << Keine(8);
    QTest::newRow("sign alone") << MitZeile(8, "-") << Keine(8);
    QTest::newRow("blank after sign") << MitZeile(8, "- 7") << Keine(8);
    QTest::newRow("exponent without digits") << MitZeile(9, "1E") << Keine(9);
    QTest::newRow("exponent sign without digits") << MitZeile(9, "1E+") << Keine(9);
    QTest::newRow("exponent alone") << MitZeile(9, "E5") << Keine(9);
    QTest::newRow("fractional exponent") << MitZeile(9, "1E5.5") << Keine(9);
    QTest::newRow("hexadecimal") << MitZeile(9, "&H10") << Keine(9);
    QTest::newRow("C hexadecimal") << MitZeile(9, "0x10") << Keine(9);
    QTest::newRow("1E999") << MitZeile(10, " 1E999") << "Überlauf in Zeile 10";
    QTest::newRow("-1E999") << MitZeile(10, "-1E999") << "Überlauf in Zeile 10";
    QTest::newRow("just beyond the largest double") << MitZeile(10, " 1.79769313486232E+308")
                                                    << "Überlauf in Zeile 10";
    QTest::newRow("NaN") << MitZeile(11, "NaN") << Keine(11);
    QTest::newRow("nan") << MitZeile(11, " nan") << Keine(11);
    QTest::newRow("Inf") << MitZeile(11, "Inf") << Keine(11);
    QTest::newRow("-inf") << MitZeile(11, "-inf") << Keine(11);
    QTest::newRow("Infinity") << MitZeile(11, " Infinity") << Keine(11);
    QTest::newRow("1.#INF") << MitZeile(11, " 1.#INF") << Keine(11);
    QTest::newRow("NUL in a number line") << MitZeile(12, QByteArray(" 7\0", 3)) << Keine(12);
    QTest::newRow("NUL instead of a number") << MitZeile(12, QByteArray(1, '\0')) << Keine(12);
    QTest::newRow("many digits") << MitZeile(5, " " + QByteArray(500000, '9')) << "Überlauf in Zeile 5";
    QTest::newRow("many letters") << MitZeile(5, QByteArray(500000, 'x')) << Keine(5);

    const QString zeichen2 = "ungültiges Zeichen in Zeile 2";
    const QString zeichen3 = "ungültiges Zeichen in Zeile 3";
    QTest::newRow("NUL in Projekt") << MitZeile(2, QByteArray("Te\0st", 5)) << zeichen2;
    QTest::newRow("undefined byte 81") << MitZeile(2, "Test\x81") << zeichen2;
    QTest::newRow("undefined byte 8D") << MitZeile(3, "\x8d") << zeichen3;
    QTest::newRow("undefined byte 8F") << MitZeile(3, "a\x8f") << zeichen3;
    QTest::newRow("undefined byte 90") << MitZeile(2, "\x90") << zeichen2;
    QTest::newRow("undefined byte 9D") << MitZeile(3, "1\x9d") << zeichen3;
    QTest::newRow("control character") << MitZeile(2, "Te\x01st") << zeichen2;
    QTest::newRow("DEL") << MitZeile(3, "\x7f") << zeichen3;
    QTest::newRow("10 MB line") << MitZeile(2, QByteArray(10 << 20, 'T')) << "Datei zu groß";
}

}  // namespace fehlerfaelle
