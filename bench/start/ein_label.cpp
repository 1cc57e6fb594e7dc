// Second peer of the start-up benchmark: one QLabel with a line of text. The bare QWidget
// never touches the font database; this shows what any window with text pays for it.
#include <QLabel>

#include "StartMessung.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel fenster(QStringLiteral("Anzahl der Gleichungen und Unbekannten N ="));
    fenster.installEventFilter(new StartMessung(&fenster));
    fenster.showMaximized();
    return app.exec();
}
