#pragma once
// Shared by the window tests: answering message boxes, finding controls by object name,
// and the grid's visibility rule.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <vector>

#include "frm_Tovik.h"

// One message box as the user saw it.
struct Meldungsbox {
    QString titel;
    QString text;
    bool ohneSymbol = false;
    bool nurOk = false;
    bool modal = false;
};

// Answers every modal message box with OK, from a timer, and records it.
class Beantworter : public QObject {
public:
    Beantworter() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Pruefen(); });
        timer_.start();
    }

    std::vector<Meldungsbox> boxen;

    QStringList Texte() const {
        QStringList texte;
        for (const auto& b : boxen) texte << b.text;
        return texte;
    }

private:
    void Pruefen() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        boxen.push_back({box->windowTitle(), box->text(), box->icon() == QMessageBox::NoIcon,
                         box->buttons().size() == 1 && box->standardButtons() == QMessageBox::Ok,
                         box->isModal()});
        box->button(QMessageBox::Ok)->click();
    }

    QTimer timer_;
};

inline QLineEdit* Zelle(frm_Tovik& w, const char* reihe, int k) {
    return w.findChild<QLineEdit*>(QStringLiteral("%1_%2").arg(QLatin1String(reihe)).arg(k));
}

template <class T = QWidget>
T* Element(frm_Tovik& w, const char* name) {
    return w.findChild<T*>(QString::fromLatin1(name));
}

inline const char* const kReihen[] = {"Text4", "Text5", "Text6", "Text7", "Text8",
                                      "Text9", "Text10", "Text11"};

// Empty when exactly the cells of a system of size n are shown (and, with leer, all empty);
// otherwise the first cell that breaks the rule.
inline QString RasterAbweichung(frm_Tovik& w, int n, bool leer) {
    for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 5; ++k) {
            QLineEdit* z = Zelle(w, kReihen[r], k);
            const bool zeileDa = r >= 5 || r < n;  // rows of A only up to n
            const bool soll = zeileDa && k < n;
            if (z->isHidden() == soll) return z->objectName() + (soll ? " hidden" : " shown");
            if (soll && leer && !z->text().isEmpty()) return z->objectName() + " not empty";
        }
    }
    return {};
}

// Types into a field key by key, as the user would; the field gets the focus first.
inline void Tippen(QLineEdit* feld, const QString& text) {
    feld->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(feld, text);
}

// Replaces a field's text by typing: select all, then the new keys.
inline void Ersetzen(QLineEdit* feld, const QString& text) {
    feld->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(feld, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(feld, Qt::Key_Delete);
    else
        QTest::keyClicks(feld, text);
}

// Test programs never meet a desktop's native dialog.
#define TOVIK_FENSTER_TEST_MAIN(Klasse)                      \
    int main(int argc, char** argv) {                        \
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); \
        QApplication app(argc, argv);                        \
        Klasse test;                                         \
        return QTest::qExec(&test, argc, argv);              \
    }
