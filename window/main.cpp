#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "StartMessung.h"
#include "frm_Tovik.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The program speaks German, so Qt's own dialogs (file, printer, message buttons) do too.
    QTranslator qtDeutsch;
    if (qtDeutsch.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtDeutsch);
    frm_Tovik fenster;
    if (qEnvironmentVariable("TOVIK_BENCH_QUIT") == QLatin1String("1"))
        fenster.installEventFilter(new StartMessung(&fenster));
    fenster.showMaximized();
    return app.exec();
}
