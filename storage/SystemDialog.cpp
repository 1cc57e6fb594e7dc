#include "SystemDialog.h"

#include <QCoreApplication>

#include <variant>

#include "Gleichungssystem.h"
#include "Meldung.h"
#include "Systemdatei.h"

namespace tovik {

QString Verzeichnis;

namespace {

constexpr const char* kFilterAlle = "Alle Dateien (*.*)";
constexpr const char* kFilterProjekte = "bisherige Projekte(*.TVK)";
// The name chosen last travels with the dialog, as its file name would.
constexpr const char* kLetzteDatei = "tovikLetzteDatei";

// Shows the dialog and returns the chosen name, empty when the user cancelled.
QString DateiWaehlen(QFileDialog& dialog, const QString& titel, QFileDialog::AcceptMode modus) {
    if (Verzeichnis.isEmpty()) Verzeichnis = QCoreApplication::applicationDirPath() + "/Beispiel/";
    dialog.setWindowTitle(titel);
    dialog.setDirectory(Verzeichnis);
    dialog.setNameFilters({kFilterAlle, kFilterProjekte});
    dialog.selectNameFilter(kFilterProjekte);
    dialog.setAcceptMode(modus);
    dialog.setFileMode(QFileDialog::AnyFile);  // opening does not demand an existing file
    dialog.setOption(QFileDialog::DontConfirmOverwrite, modus != QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString());        // the name is used exactly as chosen
    // After the filter, which in a save dialog would replace the name's extension. A full
    // path also opens the dialog in that file's folder.
    dialog.selectFile(dialog.property(kLetzteDatei).toString());

    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList gewaehlt = dialog.selectedFiles();
    if (gewaehlt.isEmpty()) return {};
    dialog.setProperty(kLetzteDatei, gewaehlt.first());
    return gewaehlt.first();
}

}  // namespace

void SystemAusDatei(QFileDialog& CommonDialog1) {
    const QString pfad =
        DateiWaehlen(CommonDialog1, "vorh. Gleichungssystem laden", QFileDialog::AcceptOpen);
    if (pfad.isEmpty()) return;
    const LeseErgebnis ergebnis = SystemDateiLesen(pfad);
    if (const auto* fehler = std::get_if<Fehlergrund>(&ergebnis)) {
        Meldung("Fehler in Sub SystemAusDatei: " + fehler->text);
        return;
    }
    DatenInSystem(std::get<SystemDaten>(ergebnis), GS);
}

void SystemInDatei(QFileDialog& CommonDialog1) {
    const QString pfad =
        DateiWaehlen(CommonDialog1, "Gleichungssystem speichern", QFileDialog::AcceptSave);
    if (pfad.isEmpty()) return;
    if (const auto fehler = SystemDateiSchreiben(pfad, DatenAusSystem(GS)))
        Meldung("Fehler in Sub SystemInDatei: " + fehler->text);
}

}  // namespace tovik
