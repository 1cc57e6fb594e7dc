#include <QtTest>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "Zahltext.h"

using namespace tovik;

class TstZahltext : public QObject {
    Q_OBJECT

private slots:
    void zahlText_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        QTest::newRow("3") << 3.0 << " 3";
        QTest::newRow("90") << 90.0 << " 90";
        QTest::newRow("0") << 0.0 << " 0";
        QTest::newRow("-0") << -0.0 << " 0";
        QTest::newRow("-2.5") << -2.5 << "-2.5";
        QTest::newRow(".5") << 0.5 << " .5";
        QTest::newRow("-.25") << -0.25 << "-.25";
        QTest::newRow("1/3") << 1.0 / 3 << " .333333333333333";
        QTest::newRow("2/3 rounds") << 2.0 / 3 << " .666666666666667";
        QTest::newRow("1E+15") << 1e15 << " 1E+15";
        QTest::newRow("below 1E+15") << 999999999999999.0 << " 999999999999999";
        QTest::newRow("rounds up to 1E+15") << 999999999999999.6 << " 1E+15";
        QTest::newRow("1.5E-05") << 1.5e-5 << " 1.5E-05";
        QTest::newRow(".0001") << 0.0001 << " .0001";
        QTest::newRow("-1E-05") << -1e-5 << "-1E-05";
        QTest::newRow("1E+100") << 1e100 << " 1E+100";
        // Rounded up it would not read back: written as the largest readable 15-digit text.
        QTest::newRow("max") << std::numeric_limits<double>::max() << " 1.79769313486231E+308";
        QTest::newRow("-max") << -std::numeric_limits<double>::max() << "-1.79769313486231E+308";
        QTest::newRow("largest readable") << 1.79769313486231e308 << " 1.79769313486231E+308";
        QTest::newRow("subnormal") << 5e-324 << " 4.94065645841247E-324";
        QTest::newRow("12.25") << 12.25 << " 12.25";
        QTest::newRow("0.1+0.2") << 0.1 + 0.2 << " .3";
    }
    void zahlText() {
        QFETCH(double, wert);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(ZahlText(wert)), text);
    }

    void zahlLesen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow(" .5") << " .5" << 0.5;
        QTest::newRow("-2.5") << "-2.5" << -2.5;
        QTest::newRow("comma ends") << "2,9" << 2.0;
        QTest::newRow("second point ends") << "1.000.5" << 1.0;
        QTest::newRow("12abc") << "12abc" << 12.0;
        QTest::newRow("inner blank") << "3 4" << 34.0;
        QTest::newRow("tabs and line feeds") << "\t1\n2 .\t5" << 12.5;
        QTest::newRow("1e3") << "1e3" << 1000.0;
        QTest::newRow("1E3") << "1E3" << 1000.0;
        QTest::newRow("+7") << "+7" << 7.0;
        QTest::newRow("- 7") << "- 7" << -7.0;
        QTest::newRow("-,5 without comma rule") << "-,5" << 0.0;
        QTest::newRow("-.5") << "-.5" << -0.5;
        QTest::newRow("exponent blanks") << "2 E - 3" << 0.002;
        QTest::newRow("E without digits") << "1E" << 1.0;
        QTest::newRow("E sign without digits") << "1E+x" << 1.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("E alone") << "E5" << 0.0;
        QTest::newRow("1.") << "1." << 1.0;
        QTest::newRow("1E+15") << " 1E+15" << 1e15;
        QTest::newRow("1.5E-05") << " 1.5E-05" << 1.5e-5;
        QTest::newRow("leading zero") << "0.25" << 0.25;
        QTest::newRow("carriage return ends") << "5\r7" << 5.0;
        QTest::newRow("&H") << "&H1F" << 31.0;
        QTest::newRow("&h lower") << "&hff" << 255.0;
        QTest::newRow("&HFFFF no wrap") << "&HFFFF" << 65535.0;
        QTest::newRow("&O") << "&O17" << 15.0;
        QTest::newRow("&O stops at 8") << "&O78" << 7.0;
        QTest::newRow("& alone") << "&" << 0.0;
        QTest::newRow("&X") << "&X12" << 0.0;
        QTest::newRow("underflow is 0") << "1E-999" << 0.0;
        QTest::newRow("negative underflow") << "-123e-400" << -0.0;
        QTest::newRow("huge exponent digits underflow") << "1E-99999999999999999999" << 0.0;
        QTest::newRow("many zeros then exponent") << "0.000001e306" << 1e300;
        QTest::newRow("max") << "1.7976931348623157E308" << std::numeric_limits<double>::max();
    }
    void zahlLesen() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        double gelesen = 99;
        QVERIFY(ZahlLesen(text.toStdString(), gelesen));
        QCOMPARE(gelesen, wert);
    }

    void zahlLesenUeberlauf_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("E999") << "1E999";
        QTest::newRow("negative E999") << "-1E999";
        QTest::newRow("just above max") << "1.8E308";
        QTest::newRow("long exponent") << "1E+000000000000000000400";
        QTest::newRow("digits only") << (QString("1") + QString(400, '0'));
        QTest::newRow("small mantissa big exponent") << "0.001e312";
        QTest::newRow("&H beyond double") << (QString("&H") + QString(300, 'F'));
    }
    void zahlLesenUeberlauf() {
        QFETCH(QString, text);
        double gelesen = 42;
        QVERIFY(!ZahlLesen(text.toStdString(), gelesen));
        QCOMPARE(gelesen, 42.0);  // untouched on failure
    }

    // The top of the range reads back, within the 15 digits written.
    void zahlTextGrenzeLesbar() {
        for (double wert : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                            1.797693134862315e308}) {
            double gelesen = 0;
            QVERIFY(ZahlLesen(ZahlText(wert), gelesen));
            QVERIFY(std::fabs(gelesen - wert) <= 1e-14 * std::fabs(wert));
        }
    }


    // What is written must read back to the same value at 15 significant digits.
    void zahlTextRundreise() {
        std::mt19937_64 zufall(20261206);
        std::uniform_int_distribution<std::uint64_t> bits;
        for (int n = 0; n < 200000; ++n) {
            double wert;
            const std::uint64_t b = bits(zufall);
            std::memcpy(&wert, &b, sizeof wert);  // all magnitudes, subnormals, both signs
            if (!std::isfinite(wert)) continue;
            const std::string text = ZahlText(wert);
            double gelesen = 0;
            QVERIFY2(ZahlLesen(text, gelesen), text.c_str());
            char erwartet[40], zurueck[40];
            std::snprintf(erwartet, sizeof erwartet, "%.14e", wert);
            std::snprintf(zurueck, sizeof zurueck, "%.14e", gelesen);
            QVERIFY2(std::strcmp(erwartet, zurueck) == 0, (text + " read as " + zurueck).c_str());
            QVERIFY2(text.find(',') == std::string::npos && text.back() != ' ', text.c_str());
        }
    }

    void anzeigeformen_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("trenner");
        QTest::addColumn<QString>("drei");
        QTest::addColumn<QString>("ganz");
        QTest::addColumn<QString>("wiss");
        QTest::newRow("3.918 en") << 3.9176954732510247 << "." << "3.918" << "4" << "3.92E+00";
        QTest::newRow("3.918 de") << 3.9176954732510247 << "," << "3,918" << "4" << "3,92E+00";
        QTest::newRow("-12.5 de") << -12.5 << "," << "-12,500" << "-12" << "-1,25E+01";
        QTest::newRow("3") << 3.0 << "," << "3,000" << "3" << "3,00E+00";
        QTest::newRow("0") << 0.0 << "." << "0.000" << "0" << "0.00E+00";
        QTest::newRow("-0.0001") << -0.0001 << "." << "0.000" << "0" << "-1.00E-04";
        QTest::newRow("123.4") << 123.4 << "." << "123.400" << "123" << "1.23E+02";
        QTest::newRow("-0.000123") << -0.000123 << "," << "0,000" << "0" << "-1,23E-04";
        QTest::newRow("-2.84E-14")
            << -2.842170943040401e-14 << "," << "0,000" << "0" << "-2,84E-14";
        QTest::newRow("1E+100") << 1e100 << "." << "1" + QString(100, '0') + ".000"
                                << "1" + QString(100, '0') << "1.00E+100";
        QTest::newRow("-1.5E+20") << -1.5e20 << "," << "-150000000000000000000,000"
                                  << "-150000000000000000000" << "-1,50E+20";
        QTest::newRow("half goes even") << 2.5 << "." << "2.500" << "2" << "2.50E+00";
        QTest::newRow("inf") << std::numeric_limits<double>::infinity() << "," << "Überlauf"
                             << "Überlauf" << "Überlauf";
        QTest::newRow("nan") << std::nan("") << "," << "Überlauf" << "Überlauf" << "Überlauf";
    }
    void anzeigeformen() {
        QFETCH(double, wert);
        QFETCH(QString, trenner);
        QFETCH(QString, drei);
        QFETCH(QString, ganz);
        QFETCH(QString, wiss);
        const std::string t = trenner.toStdString();
        QCOMPARE(QString::fromStdString(DreiDezimalen(wert, t)), drei);
        QCOMPARE(QString::fromStdString(GanzeZahl(wert)), ganz);
        QCOMPARE(QString::fromStdString(Wissenschaftlich(wert, t)), wiss);
    }
};

QTEST_GUILESS_MAIN(TstZahltext)
#include "tst_zahltext.moc"
