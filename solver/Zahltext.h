#pragma once
// The five ways numbers pass between text and value.
//
// Two are locale-independent and are read back: the plain number text (ZahlText) and the
// leading-number reading (ZahlLesen). Three are display forms with the regional decimal
// separator handed in by the caller; they show a non-finite value as "Überlauf".

#include <array>
#include <string>
#include <string_view>

namespace tovik {

inline constexpr const char* kTextUeberlauf = "Überlauf";

// Plain number text: a blank before a value that is not negative, "-" before a negative one,
// 15 significant digits without trailing zeros, a point as separator, no zero before the
// point; exponent form below 1E-04 and from 1E+15 on (" 1E+15", " 1.5E-05").
std::string ZahlText(double wert);

// The same text in a caller's buffer, without a string per number; the view points into it.
using ZahlTextPuffer = std::array<char, 32>;
std::string_view ZahlTextSchreiben(double wert, ZahlTextPuffer& puffer);

// Leading-number reading. Blanks, tabs and line feeds are skipped everywhere; then an
// optional sign, digits with at most one point, an optional exponent (E or e, sign, digits),
// or &H / &O with a hexadecimal / octal integer. Reading stops at the first character that
// does not continue the number; nothing read gives 0. Returns false only when the value
// lies beyond the range of a double; `wert` is then left untouched.
bool ZahlLesen(std::string_view text, double& wert);

// Three decimals, at least one digit before the separator ("###0.000", "##0.000").
std::string DreiDezimalen(double wert, std::string_view dezimaltrenner);

// Rounded to a whole number, at least one digit ("#0").
std::string GanzeZahl(double wert);

// One digit, the separator, two digits, "E", the exponent's sign and two or more digits.
std::string Wissenschaftlich(double wert, std::string_view dezimaltrenner);

}  // namespace tovik
