// The built program's command line where no display can be reached: help, version and every
// wrong call are answered on the terminal, never by a crash in Qt's platform plugin.

#include "Testhilfen.h"  // <QtTest> brings all of QtCore

class TstBefehlszeile : public QObject {
    Q_OBJECT

private slots:
    // The arguments; the exit status and the first line on the terminal (standard output for
    // status 0, standard error otherwise), the other stream staying empty. Each call with the
    // platform left to Qt and with X11 asked for, neither having a display.
    void ohneAnzeige_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QByteArray>("plattform");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("zeile");
        const QString aufruf = "Aufruf: " TOVIK_PROGRAMM " [Optionen] [DATEI]";
        const QList<std::tuple<QString, int, QString>> faelle = {
            {"--bogus", 2, "tovik: Unbekannte Option 'bogus'."},
            {"-x Eins.TVK", 2, "tovik: Unbekannte Option 'x'."},
            {"Eins.TVK Zwei.TVK", 2, "tovik: Es kann nur eine Datei geladen werden."},
            {"--platform", 2, "tovik: Nach '--platform' fehlt der Wert."},
            // Qt's own options are taken with their values, and not as the file
            {"-platform offscreen -style fusion Eins.TVK Zwei.TVK", 2,
             "tovik: Es kann nur eine Datei geladen werden."},
            {"--help", 0, aufruf},
            {"--help-all", 0, aufruf},
            {"-v", 0, "tovik 5.0"}};
        for (const QByteArray plattform : {"", "xcb"})
            for (const auto& [argumente, status, zeile] : faelle)
                QTest::addRow("%s, QT_QPA_PLATFORM %s", qPrintable(argumente),
                              plattform.isEmpty() ? "unset" : plattform.constData())
                    << argumente.split(' ') << plattform << status << zeile;
    }
    void ohneAnzeige() {
        QFETCH(QStringList, argumente);
        QFETCH(QByteArray, plattform);
        QFETCH(int, status);
        QFETCH(QString, zeile);
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        for (const char* anzeige : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"})
            umgebung.remove(anzeige);
        if (!plattform.isEmpty()) umgebung.insert("QT_QPA_PLATFORM", plattform);
        QProcess tovik;
        tovik.setProcessEnvironment(umgebung);
        tovik.start(TOVIK_PROGRAMM, argumente);
        QVERIFY2(tovik.waitForFinished(kFristMs), "tovik does not end");
        const QString ausgabe = tovik.readAllStandardOutput(), fehler = tovik.readAllStandardError();
        const QString& terminal = status == 0 ? ausgabe : fehler;
        QCOMPARE(std::tuple(tovik.exitStatus(), tovik.exitCode(), terminal.section('\n', 0, 0)),
                 std::tuple(QProcess::NormalExit, status, zeile));
        QVERIFY2((status == 0 ? fehler : ausgabe).isEmpty(), qPrintable(fehler + ausgabe));
    }
};

TOVIK_TEST_GUILESS_MAIN(TstBefehlszeile)
#include "tst_befehlszeile.moc"
