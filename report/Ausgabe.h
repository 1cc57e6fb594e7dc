#pragma once
// The surface the report writes on: a printer page, or a recorder in tests.
// Every operation tells whether it worked, so that the report can name each failed step
// and go on with the next one.

#include <QString>

namespace tovik {

class Ausgabe {
public:
    virtual ~Ausgabe() = default;

    // From here on positions and lengths are millimetres from the top left corner of the
    // printable area.
    virtual bool Millimeter() = 0;

    virtual bool Schriftart(const QString& name) = 0;
    virtual bool Schriftgroesse(double punkte) = 0;
    virtual bool Fett(bool fett) = 0;

    virtual bool SetzeX(double x) = 0;
    virtual bool SetzeY(double y) = 0;

    // Width of `text` in the current font, in the coordinate unit.
    virtual bool TextBreite(const QString& text, double& breite) = 0;

    // Prints `text` with its top at the current position. Staying on the line moves x to
    // the end of the text; otherwise the line is ended as by ZeileEnden().
    virtual bool Drucke(const QString& text, bool zeileEnden) = 0;

    // x back to the left edge, y down by one line height of the current font.
    virtual bool ZeileEnden() = 0;

    // Sends the page to the device; the next operation starts a new document.
    virtual bool DokumentEnden() = 0;
};

}  // namespace tovik
