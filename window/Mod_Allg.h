#pragma once
// Helpers of the window: fonts, button styling, and the writing and reading of one cell.

#include <QString>
#include <cstdint>
#include <optional>

class frm_Tovik;
class QLineEdit;
class QWidget;

// Sets a control's font size and weight, and its face where one is given.
void Schrift(QWidget* steuerelement, int punkte, bool fett, const QString& familie = {});

// Writes a text into a field and shows its beginning, as every value the program writes: a
// long one cut at the field's right edge, never a tail such as "845904,52" that reads as
// another number.
void Zeigen(QLineEdit* feld, const QString& text);

// Styles Command1 to Command4 of the window (600 x 1750 twips, arial 14, the caption);
// any other number leaves every button as it is.
void KnopfEinrichten(frm_Tovik& fenster, std::int16_t nummer, QString text);

// The value of a cell text: the first comma counts as the decimal point and an empty text as
// 0. None for a value beyond the range of a double.
std::optional<double> ZellWert(QString text);

// Reads a cell text into `ziel`: the first comma counts as the decimal point and an empty
// text as 0. A value beyond the range of a double brings "fehlerhafte Eingabe" and leaves
// `ziel` as it was.
void ZahlAusText(QString text, double& ziel);
