#pragma once
// The Open and Save commands: pick a file with the window's one file dialog, then load it
// into GS or store GS into it. Every failure is reported through Meldung; GS is replaced
// only by a complete, valid file.

#include <QFileDialog>
#include <QString>

namespace tovik {

// Initial folder of both dialogs, set on first use from BeispielOrdner().
extern QString Verzeichnis;

// Verzeichnis, found (and the examples copied) on the first call. Call it before the file
// dialog is made: Qt's dialog keeps what it has read of a folder, and a hidden folder made
// after that (a new user's ~/.local) cannot be shown in it.
const QString& Anfangsordner();

// Asks for a file and loads Projekt, Position, N, A and B from it. The caller redisplays.
void SystemAusDatei(QFileDialog& CommonDialog1);

// Loads the file at `pfad` as SystemAusDatei loads a chosen one, its messages included.
void SystemLaden(const QString& pfad);

// Asks for a file name and stores Projekt, Position, N, A and B into it.
void SystemInDatei(QFileDialog& CommonDialog1);

}  // namespace tovik
