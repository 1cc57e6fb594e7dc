#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel fenster("Tovik");
    fenster.show();
    return app.exec();
}
