// The leading-number reading, the stricter number line of the file, and the number texts
// made from what was read.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Pruefen.h"
#include "Systemdatei.h"
#include "Zahltext.h"

using namespace tovik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);

    double wert = 4711;
    const bool gelesen = ZahlLesen(text, wert);
    if (!gelesen) {
        PRUEFEN(wert == 4711);  // untouched on failure
    } else {
        PRUEFEN(std::isfinite(wert));
        // Every display form copes with whatever was read.
        PRUEFEN(!DreiDezimalen(wert, ",").empty());
        PRUEFEN(!GanzeZahl(wert).empty());
        PRUEFEN(!Wissenschaftlich(wert, ".").empty());
        const std::string zahlText = ZahlText(wert);
        double zurueck = 0;
        PRUEFEN(ZahlLesen(zahlText, zurueck));
        // Back to 15 digits, but for the top of the range, written as the largest readable text.
        PRUEFEN(std::fabs(wert) < kGroessterLesbarer ? Gleich15(wert, zurueck)
                                                     : zurueck == std::copysign(kGroessterGeschrieben, wert));
    }

    // A number line that the file reader accepts reads as ZahlLesen reads it.
    bool ueberlauf = true;
    const std::optional<double> zeile = ZahlZeileLesen(text, ueberlauf);
    if (zeile) {
        PRUEFEN(!ueberlauf && gelesen);
        PRUEFEN(std::memcmp(&*zeile, &wert, sizeof wert) == 0);
    } else if (ueberlauf) {
        PRUEFEN(!gelesen);
    }
    return 0;
}
