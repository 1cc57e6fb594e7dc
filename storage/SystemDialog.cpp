#include "SystemDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QLineEdit>
#include <QStandardPaths>

#include <variant>

#include "Beispielordner.h"
#include "DateiErsetzen.h"
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

// The two filters. "*.*" would hide every name without a dot, so Qt filters all files by "*";
// the widget dialog picks a filter by its place in the list, so its list may keep showing
// the program's own text.
void FilterSetzen(QFileDialog& dialog) {
    dialog.setNameFilters({QStringLiteral("Alle Dateien (*)"), kFilterProjekte});
    if (auto* typen = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        typen->setItemText(0, kFilterAlle);
    dialog.selectNameFilter(kFilterProjekte);
}

// Shows the dialog and returns the chosen name, empty when the user cancelled.
QString DateiWaehlen(QFileDialog& dialog, const QString& titel, QFileDialog::AcceptMode modus) {
    dialog.setWindowTitle(titel);
    dialog.setDirectory(Anfangsordner());
    FilterSetzen(dialog);
    dialog.setAcceptMode(modus);
    dialog.setFileMode(QFileDialog::AnyFile);  // opening does not demand an existing file
    dialog.setOption(QFileDialog::DontConfirmOverwrite, modus != QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString());  // the name is used exactly as chosen
    // After the filter, which in a save dialog would replace the name's extension. A full
    // path also opens the dialog in that file's folder. Only the name chosen last is offered:
    // selectFile("") would leave a name typed and then cancelled in the field.
    const QString letzte = dialog.property(kLetzteDatei).toString();
    dialog.selectFile(letzte);
    auto* feld = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (feld && letzte.isEmpty()) feld->clear();

    const bool gewaehlt = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    // A completion list still open when Enter closed the dialog would float over the window
    // and swallow the next click.
    if (feld && feld->completer()) feld->completer()->popup()->hide();
    if (!gewaehlt) return {};
    const QString datei = dialog.selectedFiles().first();
    dialog.setProperty(kLetzteDatei, datei);
    return datei;
}

}  // namespace

const QString& Anfangsordner() {
    // Beside the program in the build tree; installed, where Qt looks for the program's data
    // (the user's own data folder first, then share/tovik of /usr/local and /usr).
    if (Verzeichnis.isEmpty())
        Verzeichnis = BeispielOrdner(QStringList{QCoreApplication::applicationDirPath()} +
                                         QStandardPaths::standardLocations(QStandardPaths::AppDataLocation),
                                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return Verzeichnis;
}

void SystemAusDatei(QFileDialog& CommonDialog1) {
    const QString pfad = DateiWaehlen(CommonDialog1, "vorh. Gleichungssystem laden", QFileDialog::AcceptOpen);
    if (!pfad.isEmpty()) SystemLaden(pfad);
}

void SystemLaden(const QString& pfad) {
    const LeseErgebnis ergebnis = SystemDateiLesen(pfad);
    if (const auto* fehler = std::get_if<Fehlergrund>(&ergebnis)) {
        Meldung("Fehler in Sub SystemAusDatei: " + fehler->text);
        return;
    }
    DatenInSystem(std::get<SystemDaten>(ergebnis), GS);
}

void SystemInDatei(QFileDialog& CommonDialog1) {
    const auto melden = [](const Fehlergrund& fehler) {
        Meldung("Fehler in Sub SystemInDatei: " + fehler.text);
    };
    // A record that cannot be stored is told before the dialog would ask to replace a file.
    const SchreibErgebnis bytes = SystemSchreiben(DatenAusSystem(GS));
    if (const auto* fehler = std::get_if<Fehlergrund>(&bytes)) return melden(*fehler);
    const QString pfad = DateiWaehlen(CommonDialog1, "Gleichungssystem speichern", QFileDialog::AcceptSave);
    if (pfad.isEmpty()) return;
    if (const auto fehler = DateiErsetzen(pfad, std::get<QByteArray>(bytes))) melden(*fehler);
}

}  // namespace tovik
