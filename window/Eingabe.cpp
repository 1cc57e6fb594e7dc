// What the user types reaches the record here: N, the header texts and the rows of A and B.

#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <limits>

#include "Meldung.h"
#include "Mod_Allg.h"
#include "Zahltext.h"
#include "frm_Tovik.h"

using tovik::GS;

void frm_Tovik::Text3_Change() {
    double wert = 0;
    // A text beyond the range of a double counts like any value above 5.
    if (!tovik::ZahlLesen(Text3->text().toStdString(), wert)) wert = std::numeric_limits<double>::infinity();
    const double gerundet = std::nearbyint(wert);  // halves go to the even neighbour

    std::int16_t n = 0;
    if (gerundet > tovik::kMaxN) {
        tovik::Meldung("max. Rang des Gleichungssystems: N = 5");
        n = tovik::kMaxN;
        // Runs this handler once more, nested, on a field that reads 5.
        Text3->setText(QString::fromStdString(tovik::ZahlText(n)));
    } else if (gerundet > 0) {
        n = static_cast<std::int16_t>(gerundet);
    }  // a negative N makes no system: 0, without a message

    if (n != GS.N) {
        const int alt = std::clamp<int>(GS.N, 0, tovik::kMaxIndex);
        for (int i = 1; i <= alt; ++i) {
            for (int j = 1; j <= alt; ++j) GS.A[i][j] = 0;
            GS.B[i] = 0;
        }
        GS.N = n;
    }
    FelderEinrichten();
}

void frm_Tovik::Text1_LostFocus() { GS.Projekt = Text1->text().toStdString(); }

void frm_Tovik::Text2_LostFocus() { GS.Position = Text2->text().toStdString(); }

void frm_Tovik::ZeileLesen(const Feldreihe& zeile, tovik::Vektor& ziel) {
    const int n = std::clamp<int>(GS.N, 0, tovik::kMaxN);
    for (int i = 1; i <= n; ++i) ZahlAusText(zeile[i - 1]->text(), ziel[i]);
}

// Every key release re-reads the whole row, whichever of its cells it came from.
void frm_Tovik::Text4_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(Text4, GS.A[1]); }
void frm_Tovik::Text5_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(Text5, GS.A[2]); }
void frm_Tovik::Text6_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(Text6, GS.A[3]); }
void frm_Tovik::Text7_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(Text7, GS.A[4]); }
void frm_Tovik::Text8_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(Text8, GS.A[5]); }
void frm_Tovik::Text9_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(Text9, GS.B); }
