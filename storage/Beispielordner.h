#pragma once
// Where the example systems are, and the user's own copy of them where the shipped ones
// cannot be written.

#include <QString>
#include <QStringList>

namespace tovik {

// The folder the dialogs open in first: the Beispiel/ of the first of `ordner` that has one.
// Where the user may write there (the build tree, or the user's copy) that is the folder;
// otherwise (installed) it is `datenOrdner`/Beispiel/, which is made and filled with copies
// of the shipped examples the first time only. Empty when no folder has examples.
QString BeispielOrdner(const QStringList& ordner, const QString& datenOrdner);

}  // namespace tovik
