// Where the grid meets the record. For A(1..N, 1..N) and B(1..N) the record holds what the
// shown cells read as, an empty cell 0, whatever way a text got there:
// - a key changes a cell: its row is read at the key's release, as always; should that release
//   not come to the row (the focus moved on, a dialog or an input method took it), at the
//   release of any key in the window;
// - anything else changes a cell (its menu, the mouse, a drop, an input method): the row is read
//   at once;
// - a command that uses the system finds every cell read (Befehl);
// - the program writes the cells from the record, and reads them back.
// A cell that cannot be read (beyond a double) keeps the value it had and brings its message
// when its text has changed, and at every key release in its row.
// Here too: the N field, the header fields, and the states of the undo history.

#include <QLineEdit>
#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>
#include <limits>

#include "Meldung.h"
#include "Mod_Allg.h"
#include "Zahltext.h"
#include "frm_Tovik.h"

using tovik::GS;

const std::array<frm_Tovik::Feldreihe frm_Tovik::*, 8> frm_Tovik::kReihen = {
    &frm_Tovik::Text4, &frm_Tovik::Text5, &frm_Tovik::Text6,  &frm_Tovik::Text7,
    &frm_Tovik::Text8, &frm_Tovik::Text9, &frm_Tovik::Text10, &frm_Tovik::Text11};

int frm_Tovik::ImRaster() { return std::clamp<int>(GS.N, 0, tovik::kMaxN); }

namespace {

// The record's place of element k of row `zeile` (6 is B).
double& Ziel(int zeile, int k) { return zeile <= tovik::kMaxN ? GS.A[zeile][k + 1] : GS.B[k + 1]; }

// Rows 1..N of A and the column of B are shown; the rest of A never counts.
bool Gezeigt(int zeile) { return zeile <= frm_Tovik::ImRaster() || zeile == tovik::kMaxN + 1; }

// A cell's place in the history's fields.
int Feld(int zeile, int k) { return tovik::kKopffelder + (zeile - 1) * tovik::kMaxN + k; }

}  // namespace

void frm_Tovik::Text3_Change() {
    if (nFeldSperre_) return;
    double wert = 0;
    // A text beyond the range of a double counts like any value above 5.
    if (!tovik::ZahlLesen(Text3->text().toStdString(), wert)) wert = std::numeric_limits<double>::infinity();
    const double gerundet = std::nearbyint(wert);  // halves go to the even neighbour

    std::int16_t n;
    if (gerundet > tovik::kMaxN) {
        tovik::Meldung("max. Rang des Gleichungssystems: N = 5");
        n = tovik::kMaxN;
        // The field then reads 5, and this run does what that reading would do.
        const QScopedValueRollback sperre(nFeldSperre_, true);
        Text3->setText(QString::fromStdString(tovik::ZahlText(n)));
    } else {
        n = static_cast<std::int16_t>(std::max(gerundet, 0.0));  // a negative N makes no system, silently
    }

    if (n == GS.N) {
        // The same N keeps the system, and the emptied cells show it again.
        FelderEinrichten();
        WerteZeigen();
        return;
    }
    // The old system goes, and the new cells are empty: both blocks are zero.
    const int bis = std::max<int>(ImRaster(), n);
    for (int i = 1; i <= bis; ++i) {
        for (int j = 1; j <= bis; ++j) GS.A[i][j] = 0;
        GS.B[i] = 0;
    }
    GS.N = n;
    FelderEinrichten();
}

void frm_Tovik::Text1_LostFocus() { GS.Projekt = Text1->text().toStdString(); }

void frm_Tovik::Text2_LostFocus() { GS.Position = Text2->text().toStdString(); }

void frm_Tovik::ZeileLesen(int zeile, Melden melden) {
    const Feldreihe& zellen = Reihe(zeile);
    const int n = ImRaster();
    // Marked read before any message, whose box could bring a reading of its own.
    std::array<bool, tovik::kMaxN> neu{};
    for (int k = 0; k < n; ++k) neu[k] = geaendert_.remove(zellen[k]);
    for (int k = 0; k < n; ++k) {
        if (melden == Melden::Alle || (melden == Melden::Geaenderte && neu[k]))
            ZahlAusText(zellen[k]->text(), Ziel(zeile, k));
        else if (const auto wert = ZellWert(zellen[k]->text()))
            Ziel(zeile, k) = *wert;
    }
}

void frm_Tovik::GeaenderteLesen() {
    for (int zeile = 1; zeile <= tovik::kMaxN + 1 && !geaendert_.isEmpty(); ++zeile)
        if (std::any_of(Reihe(zeile).begin(), Reihe(zeile).end(),
                        [this](QLineEdit* z) { return geaendert_.contains(z); }))
            ZeileLesen(zeile, Melden::Geaenderte);
}

void frm_Tovik::AllesLesen() {
    for (int zeile = 1; zeile <= tovik::kMaxN + 1; ++zeile)
        if (Gezeigt(zeile)) ZeileLesen(zeile, Melden::Keine);
}

void frm_Tovik::FeldBearbeitet(QLineEdit* feld) {
    if (programmSchreibt_) return;
    offenesFeld_ = feld;
    for (int zeile = 1; zeile <= tovik::kMaxN + 1; ++zeile) {
        const Feldreihe& zellen = Reihe(zeile);
        const auto zelle = std::find(zellen.begin(), zellen.end(), feld);
        if (zelle == zellen.end()) continue;
        geaendert_.insert(*zelle);
        if (!(*zelle)->TasteGedrueckt()) ZeileLesen(zeile, Melden::Geaenderte);
        return;
    }
}

void frm_Tovik::WerteZeigen() {
    const QScopedValueRollback schreiben(programmSchreibt_, true);
    // All five rows of each column, the rows beyond N into hidden cells.
    for (int zeile = 1; zeile <= tovik::kMaxN + 1; ++zeile)
        for (int k = 0; k < ImRaster(); ++k)
            Zeigen(Reihe(zeile)[k], QString::fromStdString(tovik::ZahlText(Ziel(zeile, k))));
    AllesLesen();
}

std::array<QLineEdit*, tovik::kFelder> frm_Tovik::Felder() const {
    std::array<QLineEdit*, tovik::kFelder> felder{Text1, Text2, Text3};
    for (int zeile = 1; zeile <= tovik::kMaxN + 1; ++zeile)
        for (int k = 0; k < tovik::kMaxN; ++k) felder[Feld(zeile, k)] = (this->*kReihen[zeile - 1])[k];
    return felder;
}

tovik::Stand frm_Tovik::Erfassen() const {
    // The shown cells only: what hidden ones hold is never seen, and is no change to undo. Where
    // a shown cell cannot be read, the record keeps a value of its own.
    tovik::Stand stand;
    const auto felder = Felder();
    for (int f = 0; f < tovik::kKopffelder; ++f) stand.texte[f] = felder[f]->text();
    for (int zeile = 1; zeile <= tovik::kMaxN + 1; ++zeile)
        for (int k = 0; k < ImRaster() && Gezeigt(zeile); ++k) {
            const QString& text = stand.texte[Feld(zeile, k)] = felder[Feld(zeile, k)]->text();
            if (!ZellWert(text)) stand.werte[Feld(zeile, k) - tovik::kKopffelder] = Ziel(zeile, k);
        }
    stand.n = GS.N;
    return stand;
}

void frm_Tovik::Anwenden(const tovik::Stand& stand) {
    // A step back over a change of N shows the grid as typing that N would, x and A*x - B empty.
    if (stand.n != GS.N) {
        GS.N = stand.n;
        Sichtbarkeit();
        for (int k = 0; k < ImRaster(); ++k) Text10[k]->clear(), Text11[k]->clear();
        loesungGezeigt_ = false;
    }
    const auto felder = Felder();
    const QScopedValueRollback sperre(nFeldSperre_, true), schreiben(programmSchreibt_, true);
    for (int f = 0; f < tovik::kFelder; ++f) {
        if (felder[f]->text() != stand.texte[f]) felder[f]->setText(stand.texte[f]);
        if (!felder[f]->hasFocus()) felder[f]->home(false);
    }
    Text1_LostFocus();
    Text2_LostFocus();
    for (int zeile = 1; zeile <= tovik::kMaxN + 1; ++zeile)
        for (int k = 0; k < ImRaster() && Gezeigt(zeile); ++k) {
            const auto& wert = stand.werte[Feld(zeile, k) - tovik::kKopffelder];
            Ziel(zeile, k) = wert ? *wert : ZellWert(stand.texte[Feld(zeile, k)]).value();
        }
    geaendert_.clear();
}

void frm_Tovik::Grenze() {
    verlauf_.Festhalten(Erfassen());
    offenesFeld_ = nullptr;
}

void frm_Tovik::Rueckgaengig() {
    AllesLesen();
    Grenze();
    if (verlauf_.Rueckgaengig()) Anwenden(verlauf_.Aktuell());
}

void frm_Tovik::Wiederherstellen() {
    AllesLesen();
    Grenze();
    if (verlauf_.Wiederherstellen()) Anwenden(verlauf_.Aktuell());
}

// Every key release re-reads the whole row, whichever of its cells it came from.
void frm_Tovik::Text4_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(1, Melden::Alle); }
void frm_Tovik::Text5_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(2, Melden::Alle); }
void frm_Tovik::Text6_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(3, Melden::Alle); }
void frm_Tovik::Text7_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(4, Melden::Alle); }
void frm_Tovik::Text8_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(5, Melden::Alle); }
void frm_Tovik::Text9_KeyUp(std::int16_t, std::int16_t, std::int16_t) { ZeileLesen(6, Melden::Alle); }
