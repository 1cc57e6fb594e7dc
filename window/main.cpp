#include <QApplication>

#include "StartMessung.h"
#include "frm_Tovik.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frm_Tovik fenster;
    if (qEnvironmentVariable("TOVIK_BENCH_QUIT") == QLatin1String("1"))
        fenster.installEventFilter(new StartMessung(&fenster));
    fenster.showMaximized();
    return app.exec();
}
