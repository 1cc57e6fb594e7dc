#include "DateiErsetzen.h"

#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace tovik {
namespace {

// The new file takes the owner and group of the one it replaces (QSaveFile keeps only the
// mode). Only root may give a file away; anyone may try the group. Failing both, it stays ours.
void EigentuemerUebernehmen(int handle, const QFileInfo& alt) {
    const uid_t besitzer = alt.ownerId();
    const gid_t gruppe = alt.groupId();
    if (handle < 0 || (besitzer == geteuid() && gruppe == getegid())) return;
    if (fchown(handle, besitzer, gruppe) != 0) (void)fchown(handle, static_cast<uid_t>(-1), gruppe);
}

}  // namespace

std::optional<Fehlergrund> DateiErsetzen(const QString& pfad, const QByteArray& bytes) {
    const QFileInfo info(pfad);  // follows links: what counts is the file they lead to
    if (info.isDir()) return Fehlergrund{"Ordner statt Datei gewählt"};
    // Replacing a pipe, a device or a socket with a regular file would break what it is for,
    // and a pipe could block the program.
    if (info.exists() && !info.isFile()) return Fehlergrund{"keine gewöhnliche Datei"};

    // Written beside the old file and renamed over it only when complete. Unbuffered: with
    // Qt's write buffer a failed flush (disk full) still let commit() replace the old file
    // with a truncated one; a direct write reports the short count.
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QFileInfo ordner(info.absolutePath());
        if (!ordner.isDir()) return Fehlergrund{"Pfad nicht gefunden"};
        if (datei.error() == QFileDevice::PermissionsError || !ordner.isWritable() ||
            (info.exists() && !info.isWritable()))
            return Fehlergrund{"Zugriff verweigert"};
        return Fehlergrund{"Datei kann nicht angelegt werden"};
    }
    if (info.exists()) EigentuemerUebernehmen(datei.handle(), info);
    if (datei.write(bytes) != bytes.size()) {
        datei.cancelWriting();
        return Fehlergrund{"Schreibfehler"};
    }
    if (!datei.commit()) return Fehlergrund{"Schreibfehler"};
    return std::nullopt;
}

}  // namespace tovik
