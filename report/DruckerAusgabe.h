#pragma once
// The report's surface on a real printer (or a PDF file): QPainter on a QPrinter.

#include <QFont>
#include <QPainter>
#include <QTemporaryFile>
#include <memory>

#include "Ausgabe.h"

class QPrinter;

namespace tovik {

// Copies what a printer dialog may have chosen (device or file, page, copies, ...) onto
// another printer.
void EinstellungenUebernehmen(const QPrinter& von, QPrinter& nach);

// Not final: a test makes one of its operations fail on the real page.
class DruckerAusgabe : public Ausgabe {
public:
    // The printer must outlive the surface. The page is begun by the first operation.
    explicit DruckerAusgabe(QPrinter& drucker);
    ~DruckerAusgabe() override;
    DruckerAusgabe(const DruckerAusgabe&) = delete;
    DruckerAusgabe& operator=(const DruckerAusgabe&) = delete;

    bool Millimeter() override;
    bool Schriftart(const QString& name) override;
    bool Schriftgroesse(double punkte) override;
    bool Fett(bool fett) override;
    bool SetzeX(double x) override;
    bool SetzeY(double y) override;
    bool TextBreite(const QString& text, double& breite) override;
    bool Drucke(const QString& text, bool zeileEnden) override;
    bool ZeileEnden() override;
    bool DokumentEnden() override;

    // True once QPainter::begin() has failed on the printer. Qt then leaves the printer
    // "active" for good, so its owner has to replace it before it can be used again.
    bool BeginnGescheitert() const { return m_zustand == Zustand::Gescheitert; }

private:
    enum class Zustand { Neu, Offen, Gescheitert };

    // Begins the page on first use; false when the printer cannot be used.
    bool Bereit();
    double Zeilenhoehe() const;
    // Where the page is drawn: the printer, or the stand-in of a PDF file.
    QPrinter& Geraet() const { return m_pdf ? *m_pdf : m_drucker; }

    QPrinter& m_drucker;
    // Qt's PDF writer does not report a failed write (a full disk), so a PDF file is drawn
    // into a temporary file by a stand-in printer and put in its place at the end.
    std::unique_ptr<QPrinter> m_pdf;
    QTemporaryFile m_zwischen;
    QPainter m_maler;
    Zustand m_zustand = Zustand::Neu;
    double m_punkteJeEinheit;  // device pixels per coordinate unit
    QFont m_schrift;
    double m_x = 0;
    double m_y = 0;
};

}  // namespace tovik
