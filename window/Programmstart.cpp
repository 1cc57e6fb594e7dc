#include "Programmstart.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "QtDeutsch.h"
#include "frm_Tovik.h"

namespace {

// The name and version that the help and the version tell.
void Einrichten() {
    QCoreApplication::setApplicationName(QStringLiteral("tovik"));
    QCoreApplication::setApplicationVersion(QStringLiteral("5.0"));
}

// Qt's own options, which QApplication takes off the command line as it starts: the platform
// and its plugins, the first window's geometry, title and icon, a restored session, the style,
// and X11's display. Known here as well, so that the call is judged whole before anything
// graphical starts: those that take a value, and those that do not.
constexpr const char* kQtOptionenMitWert[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "style",           "stylesheet",         "display",       "geometry"};
constexpr const char* kQtOptionenOhneWert[] = {"reverse", "widgetcount"};

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
    // Qt's options start with one dash, as X11's always did.
    befehlszeile.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    befehlszeile.setApplicationDescription(QStringLiteral(
        "Lineare Gleichungssysteme mit bis zu fünf Unbekannten eingeben, lösen, speichern und drucken."));
    befehlszeile.addHelpOption();
    befehlszeile.addVersionOption();
    const auto qtOptionen = [&](const auto& namen, const QString& wert) {
        for (const char* name : namen) {
            QCommandLineOption option(QString::fromLatin1(name), QString(), wert);
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            befehlszeile.addOption(option);
        }
    };
    qtOptionen(kQtOptionenMitWert, QStringLiteral("x"));
    qtOptionen(kQtOptionenOhneWert, QString());
    befehlszeile.addPositionalArgument(QStringLiteral("DATEI"),
                                       QStringLiteral("Gleichungssystem, das nach dem Start geladen wird."),
                                       QStringLiteral("[DATEI]"));
    const bool gelesen = befehlszeile.parse(argumente);
    if (gelesen && befehlszeile.isSet(QStringLiteral("help"))) befehlszeile.showHelp(0);
    // With Qt's options, which only Qt's own handling of the command line lists.
    if (gelesen && befehlszeile.isSet(QStringLiteral("help-all"))) befehlszeile.process(argumente);
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

}  // namespace

namespace tovik {

int ProgrammStarten(int argc, char** argv, const std::function<void(QWidget&)>& vorDemZeigen) {
    std::optional<QString> datei;
    {
        // Help, version and a wrong call are answered before anything graphical starts, so
        // also where no display can be reached.
        const QCoreApplication befehlszeile(argc, argv);
        Einrichten();
        datei = Befehlszeile(befehlszeile);
    }
    QApplication app(argc, argv);
    Einrichten();

    frm_Tovik fenster;
    if (vorDemZeigen) vorDemZeigen(fenster);
    fenster.showMaximized();
    // Once the window is up, so that a refusal shows over it, as after "Öfffnen".
    if (datei) QTimer::singleShot(0, &fenster, [&fenster, &datei] { fenster.DateiLaden(*datei); });
    return app.exec();
}

}  // namespace tovik
