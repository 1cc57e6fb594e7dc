// The system file reader: any bytes are either refused with a reason or give a record
// that is written again and reads back to the same record.

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <string>
#include <variant>

#include "Pruefen.h"
#include "Systemdatei.h"

using namespace tovik;

namespace {

void PruefenGueltig(const SystemDaten& daten) {
    PRUEFEN(daten.N >= 0 && daten.N <= kMaxN);
    for (int i = 0; i <= kMaxIndex; ++i) {
        for (int j = 0; j <= kMaxIndex; ++j) {
            const bool imBlock = i >= 1 && j >= 1 && i <= daten.N && j <= daten.N;
            PRUEFEN(std::isfinite(daten.A[i][j]) && (imBlock || daten.A[i][j] == 0));
        }
        PRUEFEN(std::isfinite(daten.B[i]) && (i >= 1 && i <= daten.N ? true : daten.B[i] == 0));
    }
}

// The writer's one documented deviation: a value whose 15 digits would round beyond the
// largest double is written as the largest readable 15-digit value instead.
bool WieGeschrieben(double zurueck, double wert) {
    if (std::fabs(wert) >= kGroessterLesbarer) return zurueck == std::copysign(kGroessterGeschrieben, wert);
    return Gleich15(zurueck, wert);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t groesse) {
    const QByteArray datei =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), qsizetype(groesse));
    const LeseErgebnis ergebnis = SystemLesen(datei);
    if (const auto* fehler = std::get_if<Fehlergrund>(&ergebnis)) {
        PRUEFEN(!fehler->text.empty());
        return 0;
    }
    const SystemDaten& daten = std::get<SystemDaten>(ergebnis);
    PruefenGueltig(daten);

    // Whatever the reader accepts, the writer stores, and it reads back as written.
    const SchreibErgebnis geschrieben = SystemSchreiben(daten);
    PRUEFEN(std::holds_alternative<QByteArray>(geschrieben));
    const QByteArray& neu = std::get<QByteArray>(geschrieben);
    const LeseErgebnis wieder = SystemLesen(neu);
    PRUEFEN(std::holds_alternative<SystemDaten>(wieder));
    const SystemDaten& zurueck = std::get<SystemDaten>(wieder);
    PRUEFEN(zurueck.Projekt == daten.Projekt && zurueck.Position == daten.Position);
    PRUEFEN(zurueck.N == daten.N);
    for (int i = 1; i <= daten.N; ++i) {
        for (int j = 1; j <= daten.N; ++j) PRUEFEN(WieGeschrieben(zurueck.A[i][j], daten.A[i][j]));
        PRUEFEN(WieGeschrieben(zurueck.B[i], daten.B[i]));
    }
    // The written form is stable.
    const SchreibErgebnis nochmal = SystemSchreiben(zurueck);
    PRUEFEN(std::holds_alternative<QByteArray>(nochmal) && std::get<QByteArray>(nochmal) == neu);
    return 0;
}
