// The grid set-up, the display of the record and the three commands that compute or mirror.

#include <QLineEdit>
#include <QScopedValueRollback>
#include <algorithm>

#include "Dezimaltrenner.h"
#include "Mod_Allg.h"
#include "Zahltext.h"
#include "frm_Tovik.h"

using tovik::GS;

namespace {

QString Loesungsmarke(int i) {
    return QStringLiteral("X(") + QString::fromStdString(tovik::ZahlText(i)) + QStringLiteral(") = ");
}

}  // namespace

void frm_Tovik::Sichtbarkeit() {
    const int n = ImRaster();
    for (int i = 0; i < tovik::kMaxN; ++i)
        for (auto r : kReihen) (this->*r)[i]->setVisible(i < n);
    // Rows of A beyond N, within the first N columns.
    for (int zeile = std::max(n, 1); zeile < tovik::kMaxN; ++zeile)
        for (int i = 0; i < n; ++i) (this->*kReihen[zeile])[i]->setVisible(false);
}

void frm_Tovik::FelderEinrichten() {
    const QScopedValueRollback schreiben(programmSchreibt_, true);
    Sichtbarkeit();
    for (int i = 0; i < ImRaster(); ++i)
        for (auto r : kReihen) (this->*r)[i]->clear();
    geaendert_.clear();
    loesungGezeigt_ = false;
}

void frm_Tovik::ZellenFuellen() {
    const QScopedValueRollback schreiben(programmSchreibt_, true);
    WerteZeigen();
    for (int i = 1; i <= ImRaster(); ++i) Zeigen(Text10[i - 1], Loesungsmarke(i));
}

void frm_Tovik::SystemAnzeigen() {
    const QScopedValueRollback schreiben(programmSchreibt_, true);
    FelderEinrichten();
    Zeigen(Text1, QString::fromStdString(GS.Projekt));
    Zeigen(Text2, QString::fromStdString(GS.Position));
    // Runs Text3_Change when the text changes: the same N, so nothing is cleared.
    Text3->setText(QString::fromStdString(tovik::ZahlText(GS.N)));
    ZellenFuellen();
}

void frm_Tovik::MatrixSymmetrieren() {
    const int n = ImRaster();
    for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j) GS.A[j][i] = GS.A[i][j];
    SystemAnzeigen();
}

void frm_Tovik::Command1_Click() {
    tovik::SystemLoesen();
    loesungGezeigt_ = !GS.Fehler;
    const std::string trenner = tovik::Dezimaltrenner();
    for (int i = 1; i <= ImRaster(); ++i) {
        Zeigen(Text10[i - 1],
               GS.Fehler ? QString()
                         : Loesungsmarke(i) + QString::fromStdString(tovik::DreiDezimalen(GS.X[i], trenner)));
    }
    // Between two actions the record holds the system as entered, never its reduced form.
    const int n = ImRaster();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A[i][j] = GS.A0[i][j];
        GS.B[i] = GS.B0[i];
    }
}

void frm_Tovik::Command5_Click() { MatrixSymmetrieren(); }

void frm_Tovik::Command6_Click() {
    const std::string trenner = tovik::Dezimaltrenner();
    const int n = ImRaster();
    for (int i = 1; i <= n; ++i) {
        double s = 0;
        for (int j = 1; j <= n; ++j) s = GS.A0[i][j] * GS.X[j] + s;
        s = s - GS.B0[i];
        Text11[i - 1]->setVisible(true);
        // A non-finite component shows as "Überlauf".
        Zeigen(Text11[i - 1], QString::fromStdString(tovik::Wissenschaftlich(s, trenner)));
    }
}
