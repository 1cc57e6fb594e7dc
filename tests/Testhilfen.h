#pragma once
// Shared by the test programs: the program's messages recorded instead of shown.

#include <QStringList>

#include "Meldung.h"

// While it lives, every message is recorded as "caption: text" instead of being shown.
class Meldungen {
public:
    Meldungen()
        : vorher_(tovik::SetzeMeldungsHook([this](const std::string& text, const std::string& titel) {
              texte << QString::fromStdString(titel + ": " + text);
          })) {}
    ~Meldungen() { tovik::SetzeMeldungsHook(std::move(vorher_)); }
    Meldungen(const Meldungen&) = delete;
    Meldungen& operator=(const Meldungen&) = delete;

    QStringList texte;

private:
    tovik::MeldungsHook vorher_;
};
