#pragma once
// The printed one-page report of the current system: title, N, and the table of A, B and X.

#include <array>
#include <cstdint>

#include <QString>

#include "Ausgabe.h"

class QPrinter;
class QWidget;

namespace tovik {

inline constexpr const char* kMeldungDruck = "Die Ausgabe konnte nicht gedruckt werden.";
inline constexpr const char* kTitelDruck = "Hinweis";

// Left edge of the title lines and of the row labels, and the top margin (mm).
extern std::int16_t Rand;
// Spalte[k], k >= 1: right edge of table column k (mm).
extern std::array<std::int16_t, 11> Spalte;
// The table row about to be printed: Zelle[0] left-aligned at Rand, Zelle[k] right-aligned
// at Spalte[k].
extern std::array<QString, 11> Zelle;

// The program-wide printer, kept for the program's life so that the printer (or file) chosen
// in the dialog stays current for the next report. Needs a QGuiApplication.
QPrinter& Drucker();

// The command behind "Drucken": the printer dialog on Drucker(), then the report on it,
// whether the dialog was confirmed or cancelled; but a cancel where the printer is a file
// (PDF) prints nothing and touches no file. Failures are shown, never passed on.
void SystemDrucken(QWidget* eltern);

// The report on any surface. Every failed step shows "Die Ausgabe konnte nicht gedruckt
// werden." and the report goes on with the next one. Reads GS, changes nothing in it.
void SystemDrucken(Ausgabe& Ausgabe);

// Rand = 20 and the base column edges Spalte[1..7] for GS.N.
void SpaltenSetzen();

// Prints Zelle[0..Letzte] as one row and ends `Vorschub` lines (at most two). Stops at the
// first failing operation and returns false; the rest of the row is then not printed.
bool ZeileDrucken(std::int16_t Letzte, std::int16_t Vorschub, Ausgabe& Ausgabe);

}  // namespace tovik
