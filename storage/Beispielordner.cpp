#include "Beispielordner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tovik {

QString BeispielOrdner(const QStringList& ordner, const QString& datenOrdner) {
    QString mitgeliefert;
    for (const QString& kandidat : ordner)
        if (QFileInfo(kandidat + QStringLiteral("/Beispiel")).isDir()) {
            mitgeliefert = kandidat + QStringLiteral("/Beispiel/");
            break;
        }
    if (mitgeliefert.isEmpty() || QFileInfo(mitgeliefert).isWritable() || datenOrdner.isEmpty())
        return mitgeliefert;
    const QString nutzer = datenOrdner + QStringLiteral("/Beispiel/");
    if (QFileInfo::exists(nutzer)) return nutzer;  // copied before: what the user keeps there is theirs
    if (!QDir().mkpath(nutzer)) return mitgeliefert;
    for (const QFileInfo& beispiel : QDir(mitgeliefert).entryInfoList(QDir::Files))
        QFile::copy(beispiel.filePath(), nutzer + beispiel.fileName());
    return nutzer;
}

}  // namespace tovik
