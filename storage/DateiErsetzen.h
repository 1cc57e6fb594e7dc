#pragma once
// The one way every output of the program replaces its file: the saved system and the
// printed PDF alike.

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

namespace tovik {

// A short German reason, put behind "Fehler in Sub ...: " by the commands.
struct Fehlergrund {
    std::string text;
};

// Writes `bytes` as the file at `pfad`, atomically: on any failure an existing file keeps its
// old bytes. A target that exists and is not a regular file (after following links) is
// refused; a replaced file keeps its mode, and its owner and group where the process may set
// them. Returns the reason of a failure.
std::optional<Fehlergrund> DateiErsetzen(const QString& pfad, const QByteArray& bytes);

}  // namespace tovik
