#pragma once
// A surface that records what the report prints, with a simple font model: a character is a
// quarter of the font size wide and a line half of it high (millimetres). Chosen calls can be
// made to fail.

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "Ausgabe.h"

struct Gedruckt {
    QString text;
    QString schrift;
    double groesse = 0;
    bool fett = false;
    bool millimeter = false;
    double links = 0;
    double rechts = 0;
    double y = 0;
    int dokument = 0;
};

class Aufzeichnung final : public tovik::Ausgabe {
public:
    // Gets each call as "Name argument" ("Fett 1", "TextBreite 10,000", "ZeileEnden");
    // true makes that call fail.
    std::function<bool(const QString& aufruf)> scheitert = [](const QString&) { return false; };

    QStringList aufrufe;     // every call, failed or not
    QList<Gedruckt> gedruckt;  // every text printed
    int dokumente = 0;       // documents ended successfully

    static double Breite(const QString& text, double groesse) { return text.size() * groesse / 4; }

    bool Millimeter() override {
        if (Aufruf("Millimeter")) return false;
        m_millimeter = true;
        return true;
    }
    bool Schriftart(const QString& name) override {
        if (Aufruf("Schriftart " + name)) return false;
        m_schrift = name;
        return true;
    }
    bool Schriftgroesse(double punkte) override {
        if (Aufruf("Schriftgroesse " + QString::number(punkte))) return false;
        m_groesse = punkte;
        return true;
    }
    bool Fett(bool fett) override {
        if (Aufruf(QStringLiteral("Fett %1").arg(fett))) return false;
        m_fett = fett;
        return true;
    }
    bool SetzeX(double x) override {
        if (Aufruf("SetzeX " + QString::number(x))) return false;
        m_x = x;
        return true;
    }
    bool SetzeY(double y) override {
        if (Aufruf("SetzeY " + QString::number(y))) return false;
        m_y = y;
        return true;
    }
    double X() const override { return m_x; }
    double Y() const override { return m_y; }
    bool TextBreite(const QString& text, double& breite) override {
        if (Aufruf("TextBreite " + text)) return false;
        breite = Breite(text, m_groesse);
        return true;
    }
    bool Drucke(const QString& text, bool zeileEnden) override {
        if (Aufruf("Drucke " + text)) return false;
        if (!text.isEmpty()) {
            const double breite = Breite(text, m_groesse);
            gedruckt.append({text, m_schrift, m_groesse, m_fett, m_millimeter, m_x, m_x + breite,
                             m_y, dokumente});
            m_x += breite;
        }
        if (zeileEnden) Zeilenende();
        return true;
    }
    bool ZeileEnden() override {
        if (Aufruf("ZeileEnden")) return false;
        Zeilenende();
        return true;
    }
    bool DokumentEnden() override {
        if (Aufruf("DokumentEnden")) return false;
        ++dokumente;
        m_x = m_y = 0;
        return true;
    }

    // The texts printed, in order.
    QStringList Texte() const {
        QStringList texte;
        for (const Gedruckt& g : gedruckt) texte << g.text;
        return texte;
    }

private:
    bool Aufruf(const QString& aufruf) {
        aufrufe << aufruf;
        return scheitert(aufruf);
    }
    void Zeilenende() {
        m_x = 0;
        m_y += m_groesse / 2;
    }

    bool m_millimeter = false;
    QString m_schrift;
    double m_groesse = 8;
    bool m_fett = false;
    double m_x = 0;
    double m_y = 0;
};
