#include "Meldungsfenster.h"

#include <QApplication>
#include <QMessageBox>

namespace tovik {

// The release of the Enter that closes the box never reaches a cell behind it: the window
// counts only releases of keys that went down in it.
void MeldungsfensterZeigen(const std::string& text, const std::string& titel) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(titel), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace tovik
