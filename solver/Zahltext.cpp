#include "Zahltext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace tovik {
namespace {

// Large enough for any double in general format with 15 digits and for fixed format
// of any finite double with three decimals (309 + 1 + 3 digits and a sign).
using Puffer = std::array<char, 400>;

// Replaces the point by the regional separator and lowercase 'e' by 'E'.
std::string Regional(std::string_view roh, std::string_view dezimaltrenner) {
    std::string text;
    text.reserve(roh.size() + dezimaltrenner.size());
    for (char c : roh) {
        if (c == '.')
            text += dezimaltrenner;
        else
            text += (c == 'e' ? 'E' : c);
    }
    return text;
}

// A value that rounds to zero loses its minus sign ("-0.000" would only puzzle).
std::string_view OhneMinusNull(std::string_view text) {
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string_view::npos)
        return text.substr(1);
    return text;
}

bool IstLeer(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// &H / &O integers: the digits that follow, without wrapping into negative values.
bool GanzzahlLesen(std::string_view text, std::size_t pos, int basis, double& wert) {
    double summe = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (IstLeer(c)) continue;
        int ziffer;
        if (c >= '0' && c <= '9')
            ziffer = c - '0';
        else if (c >= 'a' && c <= 'f')
            ziffer = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            ziffer = c - 'A' + 10;
        else
            break;
        if (ziffer >= basis) break;
        summe = summe * basis + ziffer;
    }
    if (!std::isfinite(summe)) return false;
    wert = summe;
    return true;
}

// Fixed-point text with `stellen` decimals. Digits beyond the 15th significant one carry
// no information in a double, so large magnitudes show zeros there rather than the binary
// expansion (1E+100 gives 1 and 100 zeros).
std::string Festkomma(double wert, int stellen) {
    if (!std::isfinite(wert)) return kTextUeberlauf;
    Puffer puffer;
    char* const anfang = puffer.data();
    if (std::fabs(wert) < 1e15) {
        const auto [ende, fehler] =
            std::to_chars(anfang, anfang + puffer.size(), wert, std::chars_format::fixed, stellen);
        (void)fehler;
        return std::string(OhneMinusNull({anfang, static_cast<std::size_t>(ende - anfang)}));
    }
    // d.dddddddddddddde+XXX: 15 significant digits, then zeros up to the point.
    const auto [ende, fehler] =
        std::to_chars(anfang, anfang + puffer.size(), wert, std::chars_format::scientific, 14);
    (void)fehler;
    const std::string_view roh(anfang, static_cast<std::size_t>(ende - anfang));
    const std::size_t e = roh.find('e');
    const int exponent = std::stoi(std::string(roh.substr(e + 1)));
    std::string text;
    for (char c : roh.substr(0, e))
        if (c != '.') text += c;
    const std::size_t vorzeichen = wert < 0 ? 1 : 0;
    text.resize(vorzeichen + static_cast<std::size_t>(exponent) + 1, '0');
    if (stellen > 0) text += '.' + std::string(static_cast<std::size_t>(stellen), '0');
    return text;
}

}  // namespace

std::string_view ZahlTextSchreiben(double wert, ZahlTextPuffer& puffer) {
    // Near the top of the range, 15 digits rounded up would lie beyond the largest double
    // and could not be read back: such values are written as the largest 15-digit value.
    constexpr double kGroessterLesbarer = 1.79769313486231e308;
    const double betrag = std::min(std::fabs(wert), kGroessterLesbarer);
    // Digits go in at offset 1, leaving room for the blank or sign in front; 15 digits,
    // point and "e-308" always fit.
    char* anfang = puffer.data() + 1;
    char* const ende =
        std::to_chars(anfang, puffer.data() + puffer.size(), betrag, std::chars_format::general, 15).ptr;
    if (ende - anfang > 1 && anfang[0] == '0' && anfang[1] == '.') ++anfang;  // ".5", not "0.5"
    // The exponent, if any, is among the last five characters ("e+308").
    for (char* c = ende - 1; c > anfang && c >= ende - 5; --c)
        if (*c == 'e') *c = 'E';
    *--anfang = std::signbit(wert) && wert != 0 ? '-' : ' ';
    return {anfang, static_cast<std::size_t>(ende - anfang)};
}

std::string ZahlText(double wert) {
    ZahlTextPuffer puffer;
    return std::string(ZahlTextSchreiben(wert, puffer));
}

namespace {

// The general case: blanks may stand anywhere, so the number is gathered first.
bool ZahlSammelnUndLesen(std::string_view text, double& wert) {
    std::size_t pos = 0;
    auto weiter = [&] {
        while (pos < text.size() && IstLeer(text[pos])) ++pos;
        return pos < text.size() ? text[pos] : '\0';
    };

    if (weiter() == '&') {
        ++pos;
        const char art = weiter();
        if (art == 'H' || art == 'h') return GanzzahlLesen(text, pos + 1, 16, wert);
        if (art == 'O' || art == 'o') return GanzzahlLesen(text, pos + 1, 8, wert);
        wert = 0;
        return true;
    }

    // Gather the number without its blanks: sign, mantissa, exponent.
    std::string kompakt;
    bool negativ = false;
    if (const char c = weiter(); c == '+' || c == '-') {
        negativ = c == '-';
        ++pos;
    }
    // The place of the first significant digit (1 for "5", 0 for ".5", -2 for ".005") tells a
    // value too large for a double from one too small.
    bool punkt = false, bedeutsam = false;
    long stelle = 0;
    for (char c = weiter(); (c >= '0' && c <= '9') || (c == '.' && !punkt); c = weiter()) {
        if (c == '.')
            punkt = true;
        else if (c != '0')
            bedeutsam = true;
        if (c != '.' && !punkt && bedeutsam) ++stelle;
        if (c == '0' && punkt && !bedeutsam) --stelle;
        kompakt += c;
        ++pos;
    }
    long exponent = 0;
    if (const char c = weiter(); (c == 'E' || c == 'e') && !kompakt.empty()) {
        std::string exponentText;
        ++pos;
        if (const char s = weiter(); s == '+' || s == '-') {
            exponentText += s;
            ++pos;
        }
        // The exponent's size, held at a bound far beyond the range (leading zeros count for
        // nothing: E-000000032 is E-32).
        long groesse = 0;
        for (char z = weiter(); z >= '0' && z <= '9'; z = weiter()) {
            exponentText += z;
            groesse = std::min(groesse * 10 + (z - '0'), 9999999L);
            ++pos;
        }
        if (exponentText.find_first_of("0123456789") != std::string::npos) {
            kompakt += 'e';
            kompakt += exponentText;
            exponent = exponentText[0] == '-' ? -groesse : groesse;
        }
    }

    double betrag = 0;
    const auto [ende, fehler] = std::from_chars(kompakt.data(), kompakt.data() + kompakt.size(), betrag);
    (void)ende;
    if (fehler == std::errc::result_out_of_range) {
        // Too small a value becomes 0; only too large a one is a failure.
        if (stelle + exponent > 0) return false;
        betrag = 0;
    } else if (fehler != std::errc()) {
        betrag = 0;  // nothing that continues a number: "", ".", "abc"
    }
    wert = negativ ? -betrag : betrag;
    return true;
}

}  // namespace

bool ZahlLesen(std::string_view text, double& wert) {
    // Fast path for the usual text without inner blanks: let from_chars read in place and
    // fall back to the general case wherever a blank or an exponent could go on.
    std::size_t pos = std::min(text.find_first_not_of(" \t\n"), text.size());
    bool negativ = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negativ = text[pos++] == '-';
    if (pos < text.size() && ((text[pos] >= '0' && text[pos] <= '9') || text[pos] == '.')) {
        double betrag = 0;
        const auto [ende, fehler] = std::from_chars(text.data() + pos, text.data() + text.size(), betrag);
        const std::size_t stopp = static_cast<std::size_t>(ende - text.data());
        const bool weiterMoeglich =
            stopp < text.size() && (IstLeer(text[stopp]) || text[stopp] == 'e' || text[stopp] == 'E');
        if (fehler == std::errc() && !weiterMoeglich) {
            wert = negativ ? -betrag : betrag;
            return true;
        }
    }
    return ZahlSammelnUndLesen(text, wert);
}

std::string DreiDezimalen(double wert, std::string_view dezimaltrenner) {
    if (!std::isfinite(wert)) return kTextUeberlauf;
    return Regional(Festkomma(wert, 3), dezimaltrenner);
}

std::string GanzeZahl(double wert) { return Festkomma(wert, 0); }

std::string Wissenschaftlich(double wert, std::string_view dezimaltrenner) {
    if (!std::isfinite(wert)) return kTextUeberlauf;
    Puffer puffer;
    const auto [ende, fehler] =
        std::to_chars(puffer.data(), puffer.data() + puffer.size(), wert, std::chars_format::scientific, 2);
    (void)fehler;
    return Regional(OhneMinusNull({puffer.data(), static_cast<std::size_t>(ende - puffer.data())}),
                    dezimaltrenner);
}

}  // namespace tovik
