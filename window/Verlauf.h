#pragma once
// The window's one undo history. A state is what the user can change of the system: the text
// of every field that holds it (project, position, N and the 30 cells of A and B), N, and the
// value a cell keeps in the record where its text cannot be read. A step keeps, for each
// field it changed, the other side's text; undo and redo swap it with the state's.
//
// Steps are packed into one string each (a 5 x 5 system changed whole is some 300 bytes), and
// the oldest are dropped beyond kVerlaufGrenze bytes, whatever the user does.

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "Gleichungssystem.h"

namespace tovik {

inline constexpr int kKopffelder = 3;                // Text1, Text2, Text3
inline constexpr int kZellen = (kMaxN + 1) * kMaxN;  // A(1..5, 1..5) row by row, then B(1..5)
inline constexpr int kFelder = kKopffelder + kZellen;
inline constexpr std::size_t kVerlaufGrenze = 512 * 1024;

struct Stand {
    std::array<QString, kFelder> texte;
    // Per cell: empty where the value follows from the text; the record's value where the text
    // cannot be read.
    std::array<std::optional<double>, kZellen> werte;
    std::int16_t n = 0;

    bool operator==(const Stand&) const = default;
};

class Verlauf {
public:
    explicit Verlauf(std::size_t grenze = kVerlaufGrenze) : grenze_(grenze) {}

    // Starts anew from `stand`, with nothing to undo.
    void Beginnen(const Stand& stand);
    // What differs between the last state and `jetzt` becomes one step, which ends everything
    // that could be redone; nothing differs, no step.
    void Festhalten(const Stand& jetzt);
    // Goes one step back or forth; the new state is Aktuell(). False where there is no step.
    bool Rueckgaengig();
    bool Wiederherstellen();

    const Stand& Aktuell() const { return stand_; }
    bool KannRueckgaengig() const { return !zurueck_.empty(); }
    bool KannWiederherstellen() const { return !vor_.empty(); }
    std::size_t Schritte() const { return zurueck_.size() + vor_.size(); }
    // What the steps hold, as allocated.
    std::size_t Bytes() const { return bytes_; }

private:
    struct Schritt {
        std::u16string daten;  // per field: its number, its text's length, the text, a value
        std::int16_t n = 0;    // the other side's N
    };
    static std::size_t Groesse(const Schritt& s);
    // Swaps the fields of `s` with the state's, turning it into the step that goes back.
    Schritt Tauschen(const Schritt& s);
    bool Gehen(std::deque<Schritt>& von, std::deque<Schritt>& nach);
    void Ablegen(std::deque<Schritt>& ziel, Schritt s);

    std::size_t grenze_;
    std::size_t bytes_ = 0;
    Stand stand_;
    std::deque<Schritt> zurueck_, vor_;
};

}  // namespace tovik
