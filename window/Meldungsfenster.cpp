#include "Meldungsfenster.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace tovik {
namespace {

// Closes the box on the release of Return, Enter or Escape instead of on the press.
// Otherwise the release would reach the cell behind the box, whose key-up re-reads the
// faulty row and opens the same message again: Enter could never get rid of it.
class SchliessenBeimLoslassen : public QObject {
public:
    explicit SchliessenBeimLoslassen(QMessageBox* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject*, QEvent* ereignis) override {
        const bool drueck = ereignis->type() == QEvent::KeyPress;
        if (!drueck && ereignis->type() != QEvent::KeyRelease) return false;
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        switch (taste->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Escape:
                break;
            default:
                return false;
        }
        if (drueck) {
            gedrueckt_ = !taste->isAutoRepeat() || gedrueckt_;
        } else if (gedrueckt_ && !taste->isAutoRepeat()) {
            box_->button(QMessageBox::Ok)->click();
        }
        return true;
    }

private:
    QMessageBox* box_;
    bool gedrueckt_ = false;
};

}  // namespace

void MeldungsfensterZeigen(const std::string& text, const std::string& titel) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(titel), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    auto* filter = new SchliessenBeimLoslassen(&box);
    box.installEventFilter(filter);
    box.button(QMessageBox::Ok)->installEventFilter(filter);
    box.exec();
}

}  // namespace tovik
