#pragma once
// The Open and Save commands: pick a file with the window's one file dialog, then load it
// into GS or store GS into it. Every failure is reported through Meldung; GS is replaced
// only by a complete, valid file.

#include <QFileDialog>
#include <QString>

namespace tovik {

// Initial folder of both dialogs: the program's folder + "/Beispiel/", set on first use.
extern QString Verzeichnis;

// Asks for a file and loads Projekt, Position, N, A and B from it. The caller redisplays.
void SystemAusDatei(QFileDialog& CommonDialog1);

// Asks for a file name and stores Projekt, Position, N, A and B into it.
void SystemInDatei(QFileDialog& CommonDialog1);

}  // namespace tovik
