// Peer of the start-up benchmark: a bare Qt program showing one empty QWidget.
#include <QWidget>

#include "StartMessung.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget fenster;
    fenster.installEventFilter(new StartMessung(&fenster));
    fenster.showMaximized();
    return app.exec();
}
