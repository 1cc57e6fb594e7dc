#include "SystemDrucken.h"

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrinter>

#include "Dezimaltrenner.h"
#include "DruckerAusgabe.h"
#include "Gleichungssystem.h"
#include "Meldung.h"
#include "Zahltext.h"

namespace tovik {

std::int16_t Rand = 0;
std::array<std::int16_t, 11> Spalte{};
std::array<QString, 11> Zelle;

namespace {

// One step of the report: its printer operations in order, the first failing one ending it.
// A failed step shows the message once and the caller goes on with the next. An index outside
// the arrays (N = 0 has no column N-1 for the title) fails its step like a printer error.
template <class Anweisungen>
void Schritt(Anweisungen&& anweisungen) {
    bool gelungen = false;
    try {
        gelungen = anweisungen();
    } catch (const std::out_of_range&) {
    }
    if (!gelungen) Meldung(kMeldungDruck, kTitelDruck);
}

std::unique_ptr<QPrinter>& DruckerZeiger() {
    static std::unique_ptr<QPrinter> drucker;
    return drucker;
}

// Called from the application's destructor, while the print support is still there.
void DruckerFreigeben() { DruckerZeiger().reset(); }

// After a failed QPainter::begin() Qt keeps the printer "active" and it refuses every new
// setting, so the dialog could never repair it: start again with a fresh one that carries
// what was chosen.
void DruckerErneuern() {
    auto neu = std::make_unique<QPrinter>(QPrinter::HighResolution);
    EinstellungenUebernehmen(*DruckerZeiger(), *neu);
    DruckerZeiger() = std::move(neu);
}

QString DreiDezimalenText(double wert, const std::string& trenner) {
    return QString::fromStdString(DreiDezimalen(wert, trenner));
}

}  // namespace

QPrinter& Drucker() {
    auto& drucker = DruckerZeiger();
    if (!drucker) {
        drucker = std::make_unique<QPrinter>(QPrinter::HighResolution);
        qAddPostRoutine(DruckerFreigeben);
    }
    return *drucker;
}

void SpaltenSetzen() {
    Rand = 20;
    const double teiler = GS.N == 4 ? 1.1 : GS.N == 5 ? 1.2 : 1.0;
    for (int k = 1; k <= 7; ++k) {
        // nearbyint in the default rounding mode sends an exact half to the even neighbour.
        Spalte[k] = static_cast<std::int16_t>(std::nearbyint((55 + 25 * (k - 1)) / teiler));
    }
}

bool ZeileDrucken(std::int16_t Letzte, std::int16_t Vorschub, Ausgabe& Ausgabe) {
    try {
        if (!Zelle.at(0).isEmpty() && !(Ausgabe.SetzeX(Rand) && Ausgabe.Drucke(Zelle[0], false)))
            return false;
        for (int k = 1; k <= Letzte; ++k) {
            const QString& text = Zelle.at(k);
            if (text.isEmpty()) continue;  // an empty cell prints nothing
            const double rechts = Spalte.at(k);
            double breite = 0;
            if (!Ausgabe.TextBreite(text, breite) || !Ausgabe.SetzeX(rechts - breite) ||
                !Ausgabe.Drucke(text, false))
                return false;
        }
    } catch (const std::out_of_range&) {
        return false;
    }
    if (Vorschub > 0 && !Ausgabe.ZeileEnden()) return false;
    if (Vorschub > 1 && !Ausgabe.ZeileEnden()) return false;
    return true;
}

void SystemDrucken(Ausgabe& Ausgabe) {
    const std::int16_t n = GS.N;
    const std::string trenner = Dezimaltrenner();
    auto& a = Ausgabe;

    Schritt([&] { return a.Millimeter() && a.Schriftart(QStringLiteral("arial")); });
    SpaltenSetzen();
    Schritt([&] { return a.Schriftgroesse(15) && a.Fett(true) && a.SetzeX(Rand) && a.SetzeY(Rand); });
    Schritt([&] { return a.Drucke(QStringLiteral("Programm  Tovik.vbp, Version 5.0"), true); });
    Schritt([&] { return a.ZeileEnden(); });
    Schritt([&] {
        return a.SetzeX(Rand) && a.Schriftgroesse(15) && a.Fett(true) &&
               a.Drucke(QStringLiteral("Anzahl der Gleichungen N = ") + QString::fromStdString(ZahlText(n)),
                        true);
    });
    Schritt([&] { return a.Fett(false) && a.ZeileEnden(); });
    Schritt([&] { return a.Schriftgroesse(n < 4 ? 12 : n == 4 ? 11 : 10); });

    // Title row. The cells are emptied first so that nothing of an earlier row shows, and the
    // columns of B and X are moved right here, once per report (SpaltenSetzen reset them).
    Schritt([&] {
        Zelle.fill(QString());
        Zelle.at(n - 1) = QStringLiteral("Koeffizientenmatrix A");
        Spalte.at(n + 1) += 8;
        Spalte.at(n + 2) += 16;
        Zelle.at(n + 1) = QStringLiteral("rechte Seite");
        Zelle.at(n + 2) = QStringLiteral("Ergebnisse");
        return ZeileDrucken(n + 2, 1, a);
    });
    Schritt([&] {
        Zelle.at(0) = QStringLiteral("Nr.");
        for (int k = 1; k <= n; ++k) Zelle.at(k) = QString::fromStdString(ZahlText(k));
        Zelle.at(n + 1) = QStringLiteral("B");
        Zelle.at(n + 2) = QStringLiteral("X");
        return ZeileDrucken(n + 2, 1, a);
    });
    for (int i = 1; i <= n; ++i) {
        Schritt([&] {
            Zelle.at(0) = QString::fromStdString(GanzeZahl(i));
            for (int j = 1; j <= n; ++j) Zelle.at(j) = DreiDezimalenText(GS.A.at(i).at(j), trenner);
            Zelle.at(n + 1) = DreiDezimalenText(GS.B.at(i), trenner);
            Zelle.at(n + 2) = DreiDezimalenText(GS.X.at(i), trenner);
            return ZeileDrucken(n + 2, 1, a);
        });
    }
    Schritt([&] { return a.DokumentEnden(); });
}

void SystemDrucken(QWidget* eltern) {
    {
        QPrintDialog dialog(&Drucker(), eltern);
        // Confirmed, or cancelled on a real printer, the report goes to the printer that is
        // current now. Where that is a file, a cancel prints nothing: the page would replace
        // the file without the question the dialog asks before it does.
        if (dialog.exec() != QDialog::Accepted && Drucker().outputFormat() == QPrinter::PdfFormat) return;
    }
    bool erneuern = false;
    {
        DruckerAusgabe ausgabe(Drucker());
        SystemDrucken(ausgabe);
        erneuern = ausgabe.BeginnGescheitert();
    }
    if (erneuern) DruckerErneuern();
}

}  // namespace tovik
