#pragma once
// Shared by the report tests: a system whose cell texts all differ, and its page as it must
// come out.

#include <QList>
#include <QString>

#include "Gleichungssystem.h"

// A(i,j) = 10i + j, B(i) = -1000i - 0.5, X(i) = i/3: every cell text differs from the others,
// B would show a grouping separator, X rounds down and up.
inline void TestSystem(int n) {
    tovik::GleichungssystemZuruecksetzen();
    tovik::GS.Projekt = "Nordbruecke";
    tovik::GS.Position = "Lager-4711";
    tovik::GS.N = static_cast<std::int16_t>(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) tovik::GS.A[i][j] = 10 * i + j;
        tovik::GS.B[i] = -1000 * i - 0.5;
        tovik::GS.X[i] = i / 3.0;
    }
}

// Every field of the record (arrays compared as values).
inline bool GleichesSystem(const tovik::Gleichungssystem& a, const tovik::Gleichungssystem& b) {
    return a.Projekt == b.Projekt && a.Position == b.Position && a.N == b.N && a.A == b.A &&
           a.B == b.B && a.A0 == b.A0 && a.B0 == b.B0 && a.X == b.X && a.Fehler == b.Fehler;
}

struct Zelltext {
    QString text;
    double kante;  // mm in the printable area: start of a left-aligned, end of a right-aligned text
    bool linksbuendig = false;
};
// The printed lines top to bottom, blank lines left out.
using Seite = QList<QList<Zelltext>>;

// Per N: the right edges of the columns of A, then of B and X (mm), and the table's font size.
inline const QList<double> kKanten[] = {{},
                                        {55, 88, 121},
                                        {55, 80, 113, 146},
                                        {55, 80, 105, 138, 171},
                                        {50, 73, 95, 118, 149, 180},
                                        {46, 67, 88, 108, 129, 158, 187}};
inline constexpr double kTabellenSchrift[] = {0, 12, 12, 12, 11, 10};

// The page of TestSystem(n), numbers with the decimal separator `komma`: title, N and the
// table. Three decimals, rounded, never grouped.
inline Seite ErwarteteSeite(int n, const QString& komma) {
    static const char* const x[] = {"", "0,333", "0,667", "1,000", "1,333", "1,667"};
    const QList<double>& kante = kKanten[n];
    const auto links = [](const QString& text) { return Zelltext{text, 20, true}; };
    Seite seite = {{links("Programm  Tovik.vbp, Version 5.0")},
                   {links(QStringLiteral("Anzahl der Gleichungen N =  %1").arg(n))},
                   // with one equation the table title stands in the label column
                   {n == 1 ? links("Koeffizientenmatrix A") : Zelltext{"Koeffizientenmatrix A", kante[n - 2]},
                    {"rechte Seite", kante[n]},
                    {"Ergebnisse", kante[n + 1]}}};
    for (int i = 0; i <= n; ++i) {
        const QString nr = QString::number(i);
        QList<Zelltext> zeile = {links(i == 0 ? "Nr." : nr)};
        for (int k = 1; k <= n; ++k)
            zeile.append({i == 0 ? " " + QString::number(k) : nr + QString::number(k) + komma + "000",
                          kante[k - 1]});
        zeile.append({i == 0 ? "B" : "-" + nr + "000" + komma + "500", kante[n]});
        zeile.append({i == 0 ? "X" : QString(x[i]).replace(",", komma), kante[n + 1]});
        seite.append(zeile);
    }
    return seite;
}
