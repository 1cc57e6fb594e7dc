#pragma once
// Common to the window tests: a fresh window on the example, message boxes answered and
// recorded, typing, and compact views of the grid and the record.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "Gleichungssystem.h"
#include "frm_Tovik.h"

using tovik::GS;

// The example system as Satz(3) shows it.
inline const QString kBeispielSatz = QStringLiteral("3 4 7 | 90; 12 10 0 | 78; 0 12 2 | 56");

// Answers every modal message box with OK, from a timer, and records it as "caption: text".
class Beantworter : public QObject {
public:
    Beantworter() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            texte << box->windowTitle() + QStringLiteral(": ") + box->text();
            schlicht = schlicht && box->icon() == QMessageBox::NoIcon && box->isModal() &&
                       box->buttons().size() == 1 && box->standardButtons() == QMessageBox::Ok;
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(5);
    }
    QStringList texte;
    bool schlicht = true;  // every box so far: no icon, OK only, modal

private:
    QTimer timer_;
};

inline void Zeigen(QWidget& w) {
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) qFatal("window not active");
}

// A fresh record (the example is loaded by the window) and a new window on it.
inline std::unique_ptr<frm_Tovik> NeuesFenster(bool zeigen) {
    tovik::GleichungssystemZuruecksetzen();
    auto w = std::make_unique<frm_Tovik>();
    if (zeigen) Zeigen(*w);
    return w;
}

inline constexpr frm_Tovik::Feldreihe frm_Tovik::*kReihen[] = {
    &frm_Tovik::Text4, &frm_Tovik::Text5, &frm_Tovik::Text6,  &frm_Tovik::Text7,
    &frm_Tovik::Text8, &frm_Tovik::Text9, &frm_Tovik::Text10, &frm_Tovik::Text11};

// Empty when exactly the cells of a system of size n are shown (and, with leer, all empty);
// otherwise the first cell that breaks the rule.
inline QString RasterAbweichung(const frm_Tovik& w, int n, bool leer) {
    for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < tovik::kMaxN; ++k) {
            const QLineEdit* z = (w.*kReihen[r])[k];
            const bool soll = (r >= 5 || r < n) && k < n;  // rows of A only up to n
            if (z->isHidden() == soll) return z->objectName() + (soll ? " hidden" : " shown");
            if (soll && leer && !z->text().isEmpty()) return z->objectName() + " not empty";
        }
    }
    return {};
}

// The texts of the first n cells of a row.
inline QStringList Spalte(const frm_Tovik::Feldreihe& reihe, int n) {
    QStringList texte;
    for (int k = 0; k < n; ++k) texte << reihe[k]->text();
    return texte;
}

// Rows 1..n of A and B in the record, e.g. "1 2 | 3; 4 5 | 6".
inline QString Satz(int n) {
    QStringList zeilen;
    for (int i = 1; i <= n; ++i) {
        QStringList z;
        for (int j = 1; j <= n; ++j) z << QString::number(GS.A[i][j], 'g', 15);
        zeilen << z.join(' ') + QStringLiteral(" | ") + QString::number(GS.B[i], 'g', 15);
    }
    return zeilen.join(QStringLiteral("; "));
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
    QTest::keyClicks(feld, text);
}

// Test programs never meet a desktop's native dialog.
#define TOVIK_FENSTER_TEST_MAIN(Klasse)                          \
    int main(int argc, char** argv) {                            \
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); \
        QApplication app(argc, argv);                            \
        Klasse test;                                             \
        return QTest::qExec(&test, argc, argv);                  \
    }
