#pragma once
// The equation system file: CR LF lines of windows-1252 text,
//
//   ### Tovik 5.0
//   <Projekt>
//   <Position>
//   N
//   A(1,1) ... A(1,N), B(1), A(2,1) ... B(N)     one plain number text per line
//
// Reading and writing work on bytes, apart from the record GS, so that every fault can be
// fed in directly. A file is taken whole or not at all.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "DateiErsetzen.h"
#include "Gleichungssystem.h"

namespace tovik {

inline constexpr const char* kKopfzeile = "### Tovik 5.0";

// Far beyond anything the program writes (two header texts and 34 number lines); a larger
// file is not a system file and is not read into memory whole.
inline constexpr qsizetype kMaxDateiGroesse = 1 << 20;

// The part of the record that a file holds. Texts are UTF-8; only 1..N of A and B count.
struct SystemDaten {
    std::string Projekt;
    std::string Position;
    std::int16_t N = 0;
    Matrix A{};
    Vektor B{};
};

using LeseErgebnis = std::variant<SystemDaten, Fehlergrund>;
using SchreibErgebnis = std::variant<QByteArray, Fehlergrund>;

// Parses a whole file. Refuses, with a reason: an early end, N that is not a whole number
// from 0 to 5, a number line that does not hold exactly one finite number, text lines with
// control characters or bytes that windows-1252 leaves undefined, more than kMaxDateiGroesse.
// Lines may end in CR LF, LF or CR; the header line is not looked at; lines after the last
// value are ignored.
LeseErgebnis SystemLesen(const QByteArray& bytes);

// The file exactly as stored. Refuses texts that windows-1252 cannot hold (never writes
// '?' instead), line breaks or other control characters in the texts, N outside 0..5 and
// values that are not finite. The bytes are proven by SystemPruefen before they are returned.
SchreibErgebnis SystemSchreiben(const SystemDaten& daten);

// Reads `bytes` back with SystemLesen: they must give `daten` again, texts and N exactly,
// every value to its 15 significant digits. Returns the reason when they do not.
std::optional<Fehlergrund> SystemPruefen(const QByteArray& bytes, const SystemDaten& daten);

// One number line: optional blanks or tabs, an optional sign, digits with at most one point
// (at least one digit), an optional exponent (E or e, optional sign, digits), optional
// blanks or tabs. The value comes from ZahlLesen. Returns nullopt for anything else and
// sets `ueberlauf` when the number lies beyond the range of a double.
std::optional<double> ZahlZeileLesen(std::string_view zeile, bool& ueberlauf);

// Copies only Projekt, Position, N, A(1..N, 1..N) and B(1..N); nothing else of GS.
SystemDaten DatenAusSystem(const Gleichungssystem& gs);
void DatenInSystem(const SystemDaten& daten, Gleichungssystem& gs);

// Reads and parses the file at `pfad`.
LeseErgebnis SystemDateiLesen(const QString& pfad);

}  // namespace tovik
