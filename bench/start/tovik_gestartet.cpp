// tovik as its main starts it, with the benchmark's clock readings on the window.
#include <QWidget>

#include "Programmstart.h"
#include "StartMessung.h"

int main(int argc, char** argv) {
    return tovik::ProgrammStarten(
        argc, argv, [](QWidget& fenster) { fenster.installEventFilter(new StartMessung(&fenster)); });
}
