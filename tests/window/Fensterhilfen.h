#pragma once
// Shared by the window tests: a fresh window on the example, and compact views of the grid
// and the record.

#include <memory>

#include "Gleichungssystem.h"
#include "Testhilfen.h"
#include "frm_Tovik.h"

using tovik::GS;

// A fresh record (the window loads the example) and a window on it, shown and active.
inline std::unique_ptr<frm_Tovik> NeuesFenster() {
    tovik::GleichungssystemZuruecksetzen();
    auto w = std::make_unique<frm_Tovik>();
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get())) qFatal("window not active");
    return w;
}

// The eight cell arrays: rows 1 to 5 of A, B, x, A*x - B.
inline QList<const frm_Tovik::Feldreihe*> Reihen(const frm_Tovik& w) {
    return {&w.Text4, &w.Text5, &w.Text6, &w.Text7, &w.Text8, &w.Text9, &w.Text10, &w.Text11};
}

// The visible cells by array, e.g. "Text4: 3|4|7" per line; hidden ones are left out.
inline QString Raster(const frm_Tovik& w) {
    QStringList zeilen;
    for (const auto* reihe : Reihen(w)) {
        QStringList texte;
        for (const QLineEdit* zelle : *reihe)
            if (!zelle->isHidden()) texte << zelle->text();
        if (!texte.isEmpty()) zeilen << (*reihe)[0]->objectName().chopped(2) + ": " + texte.join('|');
    }
    return zeilen.join('\n');
}

// Rows 1..n of A and B in the record, e.g. "1 2 | 3; 4 5 | 6".
inline QString Satz(int n) {
    QStringList zeilen;
    for (int i = 1; i <= n; ++i) {
        QStringList z;
        for (int j = 1; j <= n; ++j) z << QString::number(GS.A[i][j], 'g', 15);
        zeilen << z.join(' ') + " | " + QString::number(GS.B[i], 'g', 15);
    }
    return zeilen.join("; ");
}

// Replaces a field's text by typing: the field takes the focus, all is selected, then the keys.
inline void Tippen(QLineEdit* feld, const QString& text) {
    feld->setFocus(Qt::TabFocusReason);
    QTest::keyClick(feld, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(feld, text);
}
