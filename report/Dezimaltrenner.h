#pragma once
// The user's decimal separator, read in this one place for every number the program writes
// in the user's style (the printed page, the window's results, a copied system).

#include <QLocale>
#include <string>

namespace tovik {

// That of the default QLocale: the system's, unless a test sets another.
inline std::string Dezimaltrenner() { return QLocale().decimalPoint().toStdString(); }

}  // namespace tovik
