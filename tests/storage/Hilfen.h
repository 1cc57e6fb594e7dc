#pragma once
// Shared by the storage tests: the example file as bytes, plain file access, the reason of
// a refusal and a record to load over.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

#include "Gleichungssystem.h"
#include "Systemdatei.h"

namespace hilfen {

inline QByteArray Datei(const QList<QByteArray>& zeilen) {
    QByteArray bytes;
    for (const QByteArray& zeile : zeilen) bytes += zeile + "\r\n";
    return bytes;
}

inline const QList<QByteArray> kBeispielZeilen = {"### Tovik 5.0", "Test", "1", " 3", " 3", " 4",
                                                  " 7", " 90", " 12", " 10", " 0", " 78",
                                                  " 0", " 12", " 2", " 56"};

// The example system exactly as stored.
inline QByteArray Beispiel() { return Datei(kBeispielZeilen); }

// The example with line `nummer` (1-based) replaced.
inline QByteArray MitZeile(int nummer, const QByteArray& zeile) {
    QList<QByteArray> zeilen = kBeispielZeilen;
    zeilen[nummer - 1] = zeile;
    return Datei(zeilen);
}

inline QByteArray Inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

inline bool Schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// The reason of a refusal, empty when there was none.
inline QString Grund(const tovik::Fehlergrund* f) { return f ? QString::fromStdString(f->text) : QString(); }
inline QString Grund(const std::optional<tovik::Fehlergrund>& f) { return Grund(f ? &*f : nullptr); }
template <class... T>
QString Grund(const std::variant<T...>& e) { return Grund(std::get_if<tovik::Fehlergrund>(&e)); }

// Every field of the record (arrays compared as values).
inline bool Gleich(const tovik::Gleichungssystem& a, const tovik::Gleichungssystem& b) {
    return a.Projekt == b.Projekt && a.Position == b.Position && a.N == b.N && a.A == b.A &&
           a.B == b.B && a.A0 == b.A0 && a.B0 == b.B0 && a.X == b.X && a.Fehler == b.Fehler;
}

// A record in which every field differs from its start value and from the example.
inline tovik::Gleichungssystem Vorher() {
    tovik::Gleichungssystem gs;
    gs.Projekt = "Brücke";
    gs.Position = "Lager 2, Feld 3";
    gs.N = 2;
    for (int i = 0; i <= tovik::kMaxIndex; ++i) {
        for (int j = 0; j <= tovik::kMaxIndex; ++j) {
            gs.A[i][j] = 100 * i + j + 0.5;
            gs.A0[i][j] = -(100 * i + j);
        }
        gs.B[i] = 1000 + i;
        gs.B0[i] = -1000 - i;
        gs.X[i] = 0.25 * i;
    }
    gs.Fehler = true;
    return gs;
}

}  // namespace hilfen
