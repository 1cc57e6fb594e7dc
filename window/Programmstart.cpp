#include "Programmstart.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "QtDeutsch.h"
#include "frm_Tovik.h"

namespace {

// The name and version that the help and the version tell.
void Einrichten() {
    QCoreApplication::setApplicationName(QStringLiteral("tovik"));
    QCoreApplication::setApplicationVersion(QStringLiteral("5.0"));
}

// The command line: tovik [DATEI]. Help and version end the program at once; a wrong call
// ends it with status 2. Returns the file to load, if one is named.
std::optional<QString> Befehlszeile(const QCoreApplication& app) {
    // Only an option brings Qt's texts to the terminal (the help's headings, the message for
    // a wrong option); a plain start, with or without a file, goes without them.
    const QStringList argumente = app.arguments();
    const QStringList nachName = argumente.mid(1);
    if (std::any_of(nachName.begin(), nachName.end(), [](const QString& a) { return a.startsWith(u'-'); }))
        tovik::QtDeutschLaden();
    QCommandLineParser befehlszeile;
    befehlszeile.setApplicationDescription(QStringLiteral(
        "Lineare Gleichungssysteme mit bis zu fünf Unbekannten eingeben, lösen, speichern und drucken."));
    befehlszeile.addHelpOption();
    befehlszeile.addVersionOption();
    befehlszeile.addPositionalArgument(QStringLiteral("DATEI"),
                                       QStringLiteral("Gleichungssystem, das nach dem Start geladen wird."),
                                       QStringLiteral("[DATEI]"));
    const bool gelesen = befehlszeile.parse(argumente);
    if (gelesen && befehlszeile.isSet(QStringLiteral("help"))) befehlszeile.showHelp(0);
    if (gelesen && befehlszeile.isSet(QStringLiteral("version"))) befehlszeile.showVersion();
    const QStringList dateien = befehlszeile.positionalArguments();
    if (!gelesen || dateien.size() > 1) {
        const QString fehler =
            gelesen ? QStringLiteral("Es kann nur eine Datei geladen werden.") : befehlszeile.errorText();
        std::fprintf(stderr, "tovik: %s\nAufruf: tovik [--help] [--version] [DATEI]\n", qPrintable(fehler));
        std::exit(2);
    }
    if (dateien.isEmpty()) return std::nullopt;
    return dateien.first();
}

// Help and version are answered on the terminal, also where there is no display.
bool NurAuskunft(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--") break;
        for (const char* auskunft : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (option == auskunft) return true;
    }
    return false;
}

}  // namespace

namespace tovik {

int ProgrammStarten(int argc, char** argv, const std::function<void(QWidget&)>& vorDemZeigen) {
    if (NurAuskunft(argc, argv)) {
        QCoreApplication app(argc, argv);
        Einrichten();
        Befehlszeile(app);  // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    Einrichten();
    const std::optional<QString> datei = Befehlszeile(app);

    frm_Tovik fenster;
    if (vorDemZeigen) vorDemZeigen(fenster);
    fenster.showMaximized();
    // Once the window is up, so that a refusal shows over it, as after "Öfffnen".
    if (datei) QTimer::singleShot(0, &fenster, [&fenster, &datei] { fenster.DateiLaden(*datei); });
    return app.exec();
}

}  // namespace tovik
