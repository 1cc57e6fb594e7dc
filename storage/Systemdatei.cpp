#include "Systemdatei.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>

#include "Zahltext.h"

namespace tovik {
namespace {

constexpr const char* kZeichensatz = "windows-1252";
constexpr const char* kDateiende = "Dateiende erreicht";
constexpr const char* kFalschesN = "N muss eine ganze Zahl von 0 bis 5 sein";

Fehlergrund InZeile(const char* was, int zeile) {
    return {std::string(was) + " in Zeile " + std::to_string(zeile)};
}

// Control characters have no place in a one-line text; C1 codes are also what the bytes
// 81, 8D, 8F, 90 and 9D decode to, which windows-1252 leaves undefined.
bool IstSteuerzeichen(QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || (u >= 0x7F && u <= 0x9F);
}

// Splits the bytes into lines ended by CR LF, LF or CR. A last line without its end counts.
class Zeilen {
public:
    explicit Zeilen(std::string_view bytes) : rest_(bytes) {}

    bool Naechste(std::string_view& zeile) {
        if (rest_.empty()) return false;
        const std::size_t ende = std::min(rest_.find_first_of("\r\n"), rest_.size());
        zeile = rest_.substr(0, ende);
        std::size_t weiter = ende;
        if (weiter < rest_.size()) {
            weiter += rest_.compare(weiter, 2, "\r\n") == 0 ? 2 : 1;
        }
        rest_.remove_prefix(weiter);
        ++nummer_;
        return true;
    }

    int Nummer() const { return nummer_; }

private:
    std::string_view rest_;
    int nummer_ = 0;
};

std::optional<Fehlergrund> TextLesen(Zeilen& zeilen, std::string& text) {
    std::string_view zeile;
    if (!zeilen.Naechste(zeile)) return Fehlergrund{kDateiende};
    QStringDecoder decoder(kZeichensatz);
    if (!decoder.isValid()) return Fehlergrund{"Zeichensatz windows-1252 nicht verfügbar"};
    const QString gelesen = decoder.decode(QByteArrayView(zeile.data(), qsizetype(zeile.size())));
    if (decoder.hasError() || std::any_of(gelesen.begin(), gelesen.end(), IstSteuerzeichen))
        return InZeile("ungültiges Zeichen", zeilen.Nummer());
    text = gelesen.toStdString();
    return std::nullopt;
}

std::optional<Fehlergrund> ZahlHolen(Zeilen& zeilen, double& wert) {
    std::string_view zeile;
    if (!zeilen.Naechste(zeile)) return Fehlergrund{kDateiende};
    bool ueberlauf = false;
    const std::optional<double> zahl = ZahlZeileLesen(zeile, ueberlauf);
    if (!zahl) return InZeile(ueberlauf ? "Überlauf" : "keine gültige Zahl", zeilen.Nummer());
    wert = *zahl;
    return std::nullopt;
}

std::optional<Fehlergrund> TextSchreiben(QByteArray& bytes, const std::string& text, const char* feld) {
    const QString q = QString::fromStdString(text);  // invalid UTF-8 becomes U+FFFD
    if (std::any_of(q.begin(), q.end(), IstSteuerzeichen))
        return Fehlergrund{std::string(feld) + " enthält ein Steuerzeichen oder einen Zeilenumbruch"};
    QStringEncoder encoder(kZeichensatz);
    QStringDecoder decoder(kZeichensatz);
    if (!encoder.isValid() || !decoder.isValid())
        return Fehlergrund{"Zeichensatz windows-1252 nicht verfügbar"};
    const QByteArray kodiert = encoder.encode(q);
    // The encoder drops some characters silently (lone surrogates), so check the way back too.
    if (encoder.hasError() || decoder.decode(kodiert) != q)
        return Fehlergrund{std::string(feld) + " enthält Zeichen, die windows-1252 nicht kennt"};
    bytes += kodiert;
    bytes += "\r\n";
    return std::nullopt;
}

// The plain number text of every finite value reads back; a non-finite one is never written.
std::optional<Fehlergrund> ZahlSchreiben(QByteArray& bytes, double wert, const std::string& feld) {
    if (!std::isfinite(wert)) return Fehlergrund{"Überlauf in " + feld};
    ZahlTextPuffer puffer;
    const std::string_view text = ZahlTextSchreiben(wert, puffer);
    bytes += QByteArrayView(text.data(), qsizetype(text.size()));
    bytes += "\r\n";
    return std::nullopt;
}

std::string Feld(const char* name, int i, int j = 0) {
    std::string text = std::string(name) + "(" + std::to_string(i);
    if (j > 0) text += "," + std::to_string(j);
    return text + ")";
}

}  // namespace

std::optional<double> ZahlZeileLesen(std::string_view zeile, bool& ueberlauf) {
    ueberlauf = false;
    const auto leer = [](char c) { return c == ' ' || c == '\t'; };
    const auto ziffer = [](char c) { return c >= '0' && c <= '9'; };
    while (!zeile.empty() && leer(zeile.front())) zeile.remove_prefix(1);
    while (!zeile.empty() && leer(zeile.back())) zeile.remove_suffix(1);

    // Only the shape is checked here; ZahlLesen alone turns digits into a value.
    std::size_t p = 0;
    const auto zeichen = [&](std::size_t i) { return i < zeile.size() ? zeile[i] : '\0'; };
    if (zeichen(p) == '+' || zeichen(p) == '-') ++p;
    std::size_t ziffern = 0;
    bool punkt = false;
    for (; p < zeile.size(); ++p) {
        if (ziffer(zeile[p]))
            ++ziffern;
        else if (zeile[p] == '.' && !punkt)
            punkt = true;
        else
            break;
    }
    if (ziffern == 0) return std::nullopt;
    if (zeichen(p) == 'E' || zeichen(p) == 'e') {
        ++p;
        if (zeichen(p) == '+' || zeichen(p) == '-') ++p;
        const std::size_t anfang = p;
        while (ziffer(zeichen(p))) ++p;
        if (p == anfang) return std::nullopt;
    }
    if (p != zeile.size()) return std::nullopt;

    double wert = 0;
    if (!ZahlLesen(zeile, wert)) {
        ueberlauf = true;
        return std::nullopt;
    }
    return wert;
}

LeseErgebnis SystemLesen(const QByteArray& bytes) {
    if (bytes.size() > kMaxDateiGroesse) return Fehlergrund{"Datei zu groß"};
    Zeilen zeilen({bytes.constData(), std::size_t(bytes.size())});

    std::string_view kopf;  // any header is accepted, whatever its version
    if (!zeilen.Naechste(kopf)) return Fehlergrund{kDateiende};

    SystemDaten daten;
    if (auto fehler = TextLesen(zeilen, daten.Projekt)) return *fehler;
    if (auto fehler = TextLesen(zeilen, daten.Position)) return *fehler;

    double n = 0;
    if (auto fehler = ZahlHolen(zeilen, n)) return *fehler;
    if (n < 0 || n > kMaxN || n != std::trunc(n))
        return Fehlergrund{std::string(kFalschesN) + " (Zeile " + std::to_string(zeilen.Nummer()) + ")"};
    daten.N = static_cast<std::int16_t>(n);

    for (int i = 1; i <= daten.N; ++i) {
        for (int j = 1; j <= daten.N; ++j)
            if (auto fehler = ZahlHolen(zeilen, daten.A[i][j])) return *fehler;
        if (auto fehler = ZahlHolen(zeilen, daten.B[i])) return *fehler;
    }
    return daten;
}

SchreibErgebnis SystemSchreiben(const SystemDaten& daten) {
    if (daten.N < 0 || daten.N > kMaxN) return Fehlergrund{kFalschesN};
    QByteArray bytes(kKopfzeile);
    bytes += "\r\n";
    if (auto fehler = TextSchreiben(bytes, daten.Projekt, "Projekt")) return *fehler;
    if (auto fehler = TextSchreiben(bytes, daten.Position, "Position")) return *fehler;
    if (auto fehler = ZahlSchreiben(bytes, daten.N, "N")) return *fehler;
    for (int i = 1; i <= daten.N; ++i) {
        for (int j = 1; j <= daten.N; ++j)
            if (auto fehler = ZahlSchreiben(bytes, daten.A[i][j], Feld("A", i, j))) return *fehler;
        if (auto fehler = ZahlSchreiben(bytes, daten.B[i], Feld("B", i))) return *fehler;
    }
    if (auto fehler = SystemPruefen(bytes, daten)) return *fehler;
    return bytes;
}

std::optional<Fehlergrund> SystemPruefen(const QByteArray& bytes, const SystemDaten& daten) {
    const std::string vorsatz = "gespeicherte Daten ließen sich nicht wieder lesen: ";
    const LeseErgebnis gelesen = SystemLesen(bytes);
    if (const auto* fehler = std::get_if<Fehlergrund>(&gelesen)) return Fehlergrund{vorsatz + fehler->text};
    const SystemDaten& zurueck = std::get<SystemDaten>(gelesen);
    if (zurueck.Projekt != daten.Projekt) return Fehlergrund{vorsatz + "Projekt weicht ab"};
    if (zurueck.Position != daten.Position) return Fehlergrund{vorsatz + "Position weicht ab"};
    if (zurueck.N != daten.N) return Fehlergrund{vorsatz + "N weicht ab"};
    // The file holds 15 significant digits: a value may come back rounded to them (half a
    // unit of the 15th digit) and then to the nearest double (less than a quarter unit more),
    // never off by a whole unit.
    const auto gleich = [](double a, double b) {
        const double groesser = std::max(std::fabs(a), std::fabs(b));
        return a == b || std::fabs(a - b) <= 0.75 * std::pow(10.0, std::floor(std::log10(groesser)) - 14);
    };
    for (int i = 1; i <= daten.N; ++i) {
        for (int j = 1; j <= daten.N; ++j)
            if (!gleich(zurueck.A[i][j], daten.A[i][j]))
                return Fehlergrund{vorsatz + Feld("A", i, j) + " weicht ab"};
        if (!gleich(zurueck.B[i], daten.B[i])) return Fehlergrund{vorsatz + Feld("B", i) + " weicht ab"};
    }
    return std::nullopt;
}

SystemDaten DatenAusSystem(const Gleichungssystem& gs) {
    SystemDaten daten;
    daten.Projekt = gs.Projekt;
    daten.Position = gs.Position;
    daten.N = gs.N;  // kept as it is, so that writing refuses a wrong one
    const int n = std::clamp<int>(gs.N, 0, kMaxIndex);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) daten.A[i][j] = gs.A[i][j];
        daten.B[i] = gs.B[i];
    }
    return daten;
}

void DatenInSystem(const SystemDaten& daten, Gleichungssystem& gs) {
    gs.Projekt = daten.Projekt;
    gs.Position = daten.Position;
    gs.N = daten.N;
    const int n = std::clamp<int>(daten.N, 0, kMaxIndex);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) gs.A[i][j] = daten.A[i][j];
        gs.B[i] = daten.B[i];
    }
}

LeseErgebnis SystemDateiLesen(const QString& pfad) {
    const QFileInfo info(pfad);
    if (!info.exists()) return Fehlergrund{"Datei nicht gefunden"};
    if (info.isDir()) return Fehlergrund{"Ordner statt Datei gewählt"};
    // A pipe or device could block the program or never end.
    if (!info.isFile()) return Fehlergrund{"keine gewöhnliche Datei"};
    if (info.size() > kMaxDateiGroesse) return Fehlergrund{"Datei zu groß"};

    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        if (datei.error() == QFileDevice::PermissionsError || !info.isReadable())
            return Fehlergrund{"Zugriff verweigert"};
        return Fehlergrund{"Datei kann nicht geöffnet werden"};
    }
    const QByteArray bytes = datei.read(kMaxDateiGroesse + 1);  // it may have grown since
    if (datei.error() != QFileDevice::NoError) return Fehlergrund{"Lesefehler"};
    return SystemLesen(bytes);
}

}  // namespace tovik
