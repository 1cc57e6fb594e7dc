// The grid set-up, the display of the record and the three commands that compute or mirror.

#include <QLineEdit>
#include <QLocale>
#include <algorithm>

#include "Zahltext.h"
#include "frm_Tovik.h"

using tovik::GS;

namespace {

using Reihe = frm_Tovik::Feldreihe frm_Tovik::*;
// The eight cell arrays in grid order: rows 1 to 5 of A first, then B, x and A*x - B.
constexpr std::array<Reihe, 8> kReihen = {&frm_Tovik::Text4,  &frm_Tovik::Text5, &frm_Tovik::Text6,
                                          &frm_Tovik::Text7,  &frm_Tovik::Text8, &frm_Tovik::Text9,
                                          &frm_Tovik::Text10, &frm_Tovik::Text11};

// The grid has five places; N beyond them never reaches a cell.
int ImRaster() { return std::clamp<int>(GS.N, 0, tovik::kMaxN); }

// N as far as the record's arrays reach.
int ImSatz() { return std::clamp<int>(GS.N, 0, tovik::kMaxIndex); }

QString Loesungsmarke(int i) {
    return QStringLiteral("X(") + QString::fromStdString(tovik::ZahlText(i)) + QStringLiteral(") = ");
}

std::string Dezimaltrenner() { return QLocale().decimalPoint().toStdString(); }

}  // namespace

void frm_Tovik::FelderEinrichten() {
    const int n = ImRaster();
    for (int i = 0; i < n; ++i) {
        for (Reihe r : kReihen) (this->*r)[i]->setVisible(true);
        for (Reihe r : kReihen) (this->*r)[i]->clear();
    }
    for (int i = n; i < tovik::kMaxN; ++i)
        for (Reihe r : kReihen) (this->*r)[i]->setVisible(false);
    loesungGezeigt_ = false;
    // Rows of A beyond N, within the first N columns.
    for (int zeile = std::max(n, 1); zeile < tovik::kMaxN; ++zeile)
        for (int i = 0; i < n; ++i) (this->*kReihen[zeile])[i]->setVisible(false);
}

void frm_Tovik::ZellenFuellen() {
    for (int i = 1; i <= ImRaster(); ++i) {
        for (int zeile = 1; zeile <= tovik::kMaxN; ++zeile)
            (this->*kReihen[zeile - 1])[i - 1]->setText(
                QString::fromStdString(tovik::ZahlText(GS.A[zeile][i])));
        Text9[i - 1]->setText(QString::fromStdString(tovik::ZahlText(GS.B[i])));
        Text10[i - 1]->setText(Loesungsmarke(i));
    }
}

void frm_Tovik::SystemAnzeigen() {
    FelderEinrichten();
    Text1->setText(QString::fromStdString(GS.Projekt));
    Text2->setText(QString::fromStdString(GS.Position));
    // A long text shows its beginning, not its end.
    for (QLineEdit* kopf : {Text1, Text2}) kopf->home(false);
    // Runs Text3_Change when the text changes: the same N, so nothing is cleared.
    Text3->setText(QString::fromStdString(tovik::ZahlText(GS.N)));
    ZellenFuellen();
}

void frm_Tovik::MatrixSymmetrieren() {
    const int n = ImSatz();
    for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j) GS.A[j][i] = GS.A[i][j];
    SystemAnzeigen();
}

void frm_Tovik::Command1_Click() {
    tovik::SystemLoesen();
    loesungGezeigt_ = !GS.Fehler;
    const std::string trenner = Dezimaltrenner();
    for (int i = 1; i <= ImRaster(); ++i) {
        Text10[i - 1]->setText(
            GS.Fehler ? QString()
                      : Loesungsmarke(i) + QString::fromStdString(tovik::DreiDezimalen(GS.X[i], trenner)));
    }
    // Between two actions the record holds the system as entered, never its reduced form.
    const int n = ImSatz();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) GS.A[i][j] = GS.A0[i][j];
        GS.B[i] = GS.B0[i];
    }
}

void frm_Tovik::Command5_Click() { MatrixSymmetrieren(); }

void frm_Tovik::Command6_Click() {
    const std::string trenner = Dezimaltrenner();
    const int n = ImRaster();
    for (int i = 1; i <= n; ++i) {
        double s = 0;
        for (int j = 1; j <= n; ++j) s = GS.A0[i][j] * GS.X[j] + s;
        s = s - GS.B0[i];
        Text11[i - 1]->setVisible(true);
        // A non-finite component shows as "Überlauf".
        Text11[i - 1]->setText(QString::fromStdString(tovik::Wissenschaftlich(s, trenner)));
    }
}
