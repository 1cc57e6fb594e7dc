#include "Mod_Allg.h"

#include <QLineEdit>
#include <QPushButton>

#include "Meldung.h"
#include "Twips.h"
#include "Zahltext.h"
#include "frm_Tovik.h"

void Schrift(QWidget* steuerelement, int punkte, bool fett, const QString& familie) {
    QFont schrift = steuerelement->font();
    if (!familie.isEmpty()) schrift.setFamily(familie);
    schrift.setPointSize(punkte);
    schrift.setBold(fett);
    steuerelement->setFont(schrift);
}

void KnopfEinrichten(frm_Tovik& fenster, std::int16_t nummer, QString text) {
    if (nummer < 1 || nummer > 4) return;
    auto* knopf = fenster.findChild<QPushButton*>(QStringLiteral("Command%1").arg(nummer));
    if (!knopf) return;
    QRectF ort = tovik::LiesTwips(knopf).value_or(QRectF());
    ort.setHeight(600);
    ort.setWidth(1750);
    tovik::SetzeTwips(knopf, ort);
    Schrift(knopf, 14, false, QStringLiteral("arial"));
    knopf->setText(text);
    knopf->setAccessibleName(text);
}

void Zeigen(QLineEdit* feld, const QString& text) {
    feld->setText(text);
    feld->home(false);
}

std::optional<double> ZellWert(QString text) {
    const qsizetype komma = text.indexOf(u',');
    // The comma's place is kept as a 16-bit number: one beyond 32767 makes the text faulty.
    if (komma + 1 > 32767) return std::nullopt;
    if (komma >= 0) text[komma] = u'.';
    if (text.isEmpty()) text = QStringLiteral("0");
    double wert = 0;
    if (!tovik::ZahlLesen(text.toStdString(), wert)) return std::nullopt;
    return wert;
}

void ZahlAusText(QString text, double& ziel) {
    if (const auto wert = ZellWert(std::move(text)))
        ziel = *wert;
    else
        tovik::Meldung("fehlerhafte Eingabe");
}
