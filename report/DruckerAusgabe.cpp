#include "DruckerAusgabe.h"

#include <QFontMetricsF>
#include <QPrinter>

namespace tovik {

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
    if (!m_maler.begin(&m_drucker)) {
        m_zustand = Zustand::Gescheitert;
        return false;
    }
    m_zustand = Zustand::Offen;
    m_maler.setFont(m_schrift);
    return true;
}

double DruckerAusgabe::Zeilenhoehe() const {
    return QFontMetricsF(m_schrift, &m_drucker).lineSpacing() / m_punkteJeEinheit;
}

bool DruckerAusgabe::Millimeter() {
    if (!Bereit()) return false;
    const double alt = m_punkteJeEinheit;
    m_punkteJeEinheit = m_drucker.resolution() / 25.4;
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
    breite = QFontMetricsF(m_schrift, &m_drucker).horizontalAdvance(text) / m_punkteJeEinheit;
    return true;
}

bool DruckerAusgabe::Drucke(const QString& text, bool zeileEnden) {
    if (!Bereit()) return false;
    if (!text.isEmpty()) {
        const QFontMetricsF masse(m_schrift, &m_drucker);
        // The position is the top of the line; QPainter wants the baseline.
        m_maler.drawText(QPointF(m_x * m_punkteJeEinheit, m_y * m_punkteJeEinheit + masse.ascent()),
                         text);
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
    return m_maler.end();
}

}  // namespace tovik
