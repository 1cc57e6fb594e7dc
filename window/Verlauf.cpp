#include "Verlauf.h"

#include <cstring>

namespace tovik {
namespace {

constexpr char16_t kMitWert = 0x100;  // beside the field's number: a value follows the text
constexpr char16_t kLang = 0x8000;    // a length of two units follows
constexpr std::size_t kWertEinheiten = sizeof(double) / sizeof(char16_t);

void Anhaengen(std::u16string& daten, int feld, const QString& text, const std::optional<double>& wert) {
    daten += static_cast<char16_t>(feld | (wert ? kMitWert : 0));
    const auto laenge = static_cast<std::uint32_t>(text.size());
    if (laenge >= kLang) daten += static_cast<char16_t>(kLang | (laenge >> 16));
    daten += static_cast<char16_t>(laenge & 0xffff);
    daten.append(reinterpret_cast<const char16_t*>(text.utf16()), laenge);
    if (wert) {
        char16_t bits[kWertEinheiten];
        std::memcpy(bits, &*wert, sizeof bits);
        daten.append(bits, kWertEinheiten);
    }
}

bool Gleich(const QString& a, const QString& b) {
    // Two texts that share their data are the same without a look at it.
    return a.constData() == b.constData() ? a.size() == b.size() : a == b;
}

}  // namespace

void Verlauf::Beginnen(const Stand& stand) {
    stand_ = stand;
    zurueck_.clear();
    vor_.clear();
    bytes_ = 0;
}

void Verlauf::Festhalten(const Stand& jetzt) {
    Schritt s{{}, stand_.n};
    for (int f = 0; f < kFelder; ++f) {
        const std::optional<double>* wert = f < kKopffelder ? nullptr : &stand_.werte[f - kKopffelder];
        if (Gleich(stand_.texte[f], jetzt.texte[f]) && (!wert || *wert == jetzt.werte[f - kKopffelder]))
            continue;
        Anhaengen(s.daten, f, stand_.texte[f], wert ? *wert : std::nullopt);
    }
    if (s.daten.empty() && s.n == jetzt.n) return;
    stand_ = jetzt;
    for (const Schritt& alt : vor_) bytes_ -= Groesse(alt);
    vor_.clear();
    Ablegen(zurueck_, std::move(s));
}

bool Verlauf::Rueckgaengig() { return Gehen(zurueck_, vor_); }

bool Verlauf::Wiederherstellen() { return Gehen(vor_, zurueck_); }

std::size_t Verlauf::Groesse(const Schritt& s) {
    // A short text lives inside the string itself (7 units in libstdc++); a longer one on the heap.
    constexpr std::size_t kInnen = 15 / sizeof(char16_t);
    const std::size_t kapazitaet = s.daten.capacity();
    return sizeof(Schritt) + (kapazitaet > kInnen ? (kapazitaet + 1) * sizeof(char16_t) : 0);
}

Verlauf::Schritt Verlauf::Tauschen(const Schritt& s) {
    Schritt zurueck{{}, stand_.n};
    stand_.n = s.n;
    const char16_t* z = s.daten.data();
    const char16_t* const ende = z + s.daten.size();
    while (z < ende) {
        const int feld = *z & 0xff;
        const bool mitWert = *z++ & kMitWert;
        std::uint32_t laenge = *z++;
        if (laenge & kLang) laenge = ((laenge & ~kLang) << 16) | *z++;
        QString text(reinterpret_cast<const QChar*>(z), laenge);
        z += laenge;
        std::optional<double> wert;
        if (mitWert) {
            double w;
            std::memcpy(&w, z, sizeof w);
            wert = w;
            z += kWertEinheiten;
        }
        std::optional<double>* zellwert = feld < kKopffelder ? nullptr : &stand_.werte[feld - kKopffelder];
        Anhaengen(zurueck.daten, feld, stand_.texte[feld], zellwert ? *zellwert : std::nullopt);
        stand_.texte[feld] = std::move(text);
        if (zellwert) *zellwert = wert;
    }
    return zurueck;
}

bool Verlauf::Gehen(std::deque<Schritt>& von, std::deque<Schritt>& nach) {
    if (von.empty()) return false;
    Schritt s = std::move(von.back());
    von.pop_back();
    bytes_ -= Groesse(s);
    Ablegen(nach, Tauschen(s));
    return true;
}

void Verlauf::Ablegen(std::deque<Schritt>& ziel, Schritt s) {
    s.daten.shrink_to_fit();
    bytes_ += Groesse(s);
    ziel.push_back(std::move(s));
    // The oldest step goes first; where nothing is left to undo, the furthest redo.
    while (bytes_ > grenze_ && Schritte() > 0) {
        std::deque<Schritt>& fort = zurueck_.empty() ? vor_ : zurueck_;
        bytes_ -= Groesse(fort.front());
        fort.pop_front();
    }
}

}  // namespace tovik
