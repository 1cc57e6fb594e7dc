#pragma once
// Values moved in and out as a spreadsheet moves them: a pasted text read into values, each
// exactly or not at all, and the system written as tab-separated lines.

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace tovik {

// What a text pasted into a cell is.
struct Einfuegung {
    enum class Art {
        Nichts,     // blanks and line ends only: the cell's own paste takes it
        Wert,       // one value, which goes where the cell's cursor is
        Block,      // lines of values
        Abgelehnt,  // something that does not read as a number: `meldung` names it
    };
    Art art = Art::Nichts;
    qsizetype zeilen = 0;  // lines, without the empty ones at the end
    qsizetype breite = 0;  // values of the longest line
    // The values as the cells take them (a typographic minus as "-"), an empty one for an
    // empty cell: of the first kMaxN lines, at most kMaxN + 2 of each, since more can never
    // be placed and a huge paste must not become millions of strings.
    QList<QStringList> werte;
    QString meldung;
};

// Reads a pasted text. Lines end with CR LF, LF or CR; one line end at the very end and the
// empty lines before it are dropped. Tabs or semicolons separate values; a line with neither is
// split at runs of blanks, so "1 2 3 4" is four values. A value must read whole as a number:
// a sign (also the typographic minus), digits with at most one decimal comma or point, an
// exponent. One value with no separator around it is a Wert.
Einfuegung EinfuegungLesen(QStringView text);

// The text of one value if it reads whole as a number, as a cell takes it; none otherwise.
std::optional<QString> Zahlwert(QStringView wert);

// A value in a form that a spreadsheet reads as the same number whatever its locale: a whole
// number, or whole digits and a power of ten (15E-1 for 1.5), no separator that a locale
// could read another way. 15 significant digits, as the plain number text.
QString Austauschform(double wert);

// A value as a spreadsheet reads it: the plain number text without its leading blank, a zero
// before a leading separator, and `trenner` as the decimal separator.
QString WertText(double wert, QChar trenner);

}  // namespace tovik
