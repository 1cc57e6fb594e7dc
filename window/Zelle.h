#pragma once
// A cell of the grid: a line edit that tells whether a change of its text comes from one of
// its own key presses. Such a change is read at the key's release; any other (a menu, the
// mouse, a drop, an input method) is read as it happens.

#include <QKeyEvent>
#include <QLineEdit>

class Zelle : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    bool TasteGedrueckt() const { return taste_; }

protected:
    void keyPressEvent(QKeyEvent* ereignis) override {
        const bool vorher = taste_;
        taste_ = true;
        QLineEdit::keyPressEvent(ereignis);
        taste_ = vorher;
    }

private:
    bool taste_ = false;
};
