#include "DruckerAusgabe.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPrinter>

#include "DateiErsetzen.h"

namespace tovik {
namespace {

// The finished PDF replaces its file the way a saved system does (DateiErsetzen): only when
// complete, keeping mode, owner and group, and never over something that is not a regular
// file. A page that did not reach its end is not put anywhere.
bool PdfAblegen(const QString& von, const QString& nach) {
    QFile quelle(von);
    if (!quelle.open(QIODevice::ReadOnly)) return false;
    const QByteArray pdf = quelle.readAll();
    return pdf.trimmed().endsWith("%%EOF") && !DateiErsetzen(nach, pdf);
}

}  // namespace

void EinstellungenUebernehmen(const QPrinter& von, QPrinter& nach) {
    nach.setOutputFormat(von.outputFormat());
    if (von.outputFormat() == QPrinter::NativeFormat) nach.setPrinterName(von.printerName());
    if (!von.outputFileName().isEmpty()) nach.setOutputFileName(von.outputFileName());
    nach.setResolution(von.resolution());
    nach.setPageLayout(von.pageLayout());
    nach.setCopyCount(von.copyCount());
    nach.setCollateCopies(von.collateCopies());
    nach.setColorMode(von.colorMode());
    nach.setDuplex(von.duplex());
    nach.setPageOrder(von.pageOrder());
}

DruckerAusgabe::DruckerAusgabe(QPrinter& drucker)
    // Until Millimeter() is called the unit is the platform's default for printers, twips.
    : m_drucker(drucker), m_punkteJeEinheit(drucker.resolution() / 1440.0) {}

DruckerAusgabe::~DruckerAusgabe() {
    // A report that never reached its end still closes the document it opened.
    if (m_maler.isActive()) m_maler.end();
}

bool DruckerAusgabe::Bereit() {
    switch (m_zustand) {
        case Zustand::Offen:
            return true;
        case Zustand::Gescheitert:
            // A second begin() on the same printer fails as well, only more noisily.
            return false;
        case Zustand::Neu:
            break;
    }
    if (m_drucker.outputFormat() == QPrinter::PdfFormat && !m_drucker.outputFileName().isEmpty()) {
        if (!m_zwischen.isOpen() && !m_zwischen.open()) {
            m_zustand = Zustand::Gescheitert;
            return false;
        }
        m_pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
        EinstellungenUebernehmen(m_drucker, *m_pdf);
        m_pdf->setOutputFileName(m_zwischen.fileName());
    }
    if (!m_maler.begin(&Geraet())) {
        m_zustand = Zustand::Gescheitert;
        return false;
    }
    m_zustand = Zustand::Offen;
    m_maler.setFont(m_schrift);
    return true;
}

double DruckerAusgabe::Zeilenhoehe() const {
    return QFontMetricsF(m_schrift, &Geraet()).lineSpacing() / m_punkteJeEinheit;
}

bool DruckerAusgabe::Millimeter() {
    if (!Bereit()) return false;
    const double alt = m_punkteJeEinheit;
    m_punkteJeEinheit = Geraet().resolution() / 25.4;
    // The position stays where it is on the page.
    m_x = m_x * alt / m_punkteJeEinheit;
    m_y = m_y * alt / m_punkteJeEinheit;
    return true;
}

bool DruckerAusgabe::Schriftart(const QString& name) {
    if (!Bereit() || name.isEmpty()) return false;
    m_schrift.setFamily(name);
    m_maler.setFont(m_schrift);
    return true;
}

bool DruckerAusgabe::Schriftgroesse(double punkte) {
    if (!Bereit() || !(punkte > 0 && punkte <= 2048)) return false;
    m_schrift.setPointSizeF(punkte);
    m_maler.setFont(m_schrift);
    return true;
}

bool DruckerAusgabe::Fett(bool fett) {
    if (!Bereit()) return false;
    m_schrift.setBold(fett);
    m_maler.setFont(m_schrift);
    return true;
}

bool DruckerAusgabe::SetzeX(double x) {
    if (!Bereit()) return false;
    m_x = x;
    return true;
}

bool DruckerAusgabe::SetzeY(double y) {
    if (!Bereit()) return false;
    m_y = y;
    return true;
}

bool DruckerAusgabe::TextBreite(const QString& text, double& breite) {
    if (!Bereit()) return false;
    breite = QFontMetricsF(m_schrift, &Geraet()).horizontalAdvance(text) / m_punkteJeEinheit;
    return true;
}

bool DruckerAusgabe::Drucke(const QString& text, bool zeileEnden) {
    if (!Bereit()) return false;
    if (!text.isEmpty()) {
        const QFontMetricsF masse(m_schrift, &Geraet());
        // The position is the top of the line; QPainter wants the baseline.
        m_maler.drawText(QPointF(m_x * m_punkteJeEinheit, m_y * m_punkteJeEinheit + masse.ascent()), text);
        m_x += masse.horizontalAdvance(text) / m_punkteJeEinheit;
    }
    return zeileEnden ? ZeileEnden() : true;
}

bool DruckerAusgabe::ZeileEnden() {
    if (!Bereit()) return false;
    m_x = 0;
    m_y += Zeilenhoehe();
    return true;
}

bool DruckerAusgabe::DokumentEnden() {
    if (!Bereit()) return false;
    m_zustand = Zustand::Neu;
    m_x = 0;
    m_y = 0;
    const bool beendet = m_maler.end();
    if (!m_pdf) return beendet;
    m_pdf.reset();
    return beendet && PdfAblegen(m_zwischen.fileName(), m_drucker.outputFileName());
}

}  // namespace tovik
