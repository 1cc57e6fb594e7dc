#include "Programmstart.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "frm_Tovik.h"

namespace {

// Name, version, and Qt's own texts (dialogs, message buttons, the command line help) in
// German, as the program speaks.
void Einrichten(QCoreApplication& app, QTranslator& qtDeutsch) {
    QCoreApplication::setApplicationName(QStringLiteral("tovik"));
    QCoreApplication::setApplicationVersion(QStringLiteral("5.0"));
    if (qtDeutsch.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtDeutsch);
}

// The command line: tovik [DATEI]. Help and version end the program at once; a wrong call
// ends it with status 2. Returns the file to load, if one is named.
std::optional<QString> Befehlszeile(const QCoreApplication& app) {
    QCommandLineParser befehlszeile;
    befehlszeile.setApplicationDescription(QStringLiteral(
        "Lineare Gleichungssysteme mit bis zu fünf Unbekannten eingeben, lösen, speichern und drucken."));
    befehlszeile.addHelpOption();
    befehlszeile.addVersionOption();
    befehlszeile.addPositionalArgument(QStringLiteral("DATEI"),
                                       QStringLiteral("Gleichungssystem, das nach dem Start geladen wird."),
                                       QStringLiteral("[DATEI]"));
    const bool gelesen = befehlszeile.parse(app.arguments());
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
    QTranslator qtDeutsch;
    if (NurAuskunft(argc, argv)) {
        QCoreApplication app(argc, argv);
        Einrichten(app, qtDeutsch);
        Befehlszeile(app);  // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    Einrichten(app, qtDeutsch);
    const std::optional<QString> datei = Befehlszeile(app);

    frm_Tovik fenster;
    if (vorDemZeigen) vorDemZeigen(fenster);
    fenster.showMaximized();
    // Once the window is up, so that a refusal shows over it, as after "Öfffnen".
    if (datei) QTimer::singleShot(0, &fenster, [&fenster, &datei] { fenster.DateiLaden(*datei); });
    return app.exec();
}

}  // namespace tovik
