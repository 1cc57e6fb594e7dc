#pragma once
// Values moved in and out as a spreadsheet moves them: a pasted block read into lines of
// values, and the system written as tab-separated lines.

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace tovik {

// A pasted block of values, one line per equation.
struct Block {
    qsizetype zeilen = 0;  // lines, without the empty ones at the end
    qsizetype breite = 0;  // values of the longest line
    // The values of the first kMaxN lines, at most kMaxN + 2 of each, trimmed of blanks: more
    // can never be placed, and a huge paste must not become millions of strings.
    QList<QStringList> werte;
};

// Reads a pasted text as a block: tabs and semicolons separate values, CR LF, LF and CR end
// lines; one line end at the very end and the empty lines before it are dropped. A text that
// then holds no separator is a single value, and one that holds nothing but line ends and
// blanks no block either: both give nullopt.
std::optional<Block> BlockLesen(QStringView text);

// A value as a spreadsheet reads it: the plain number text without its leading blank, a zero
// before a leading separator, and `trenner` as the decimal separator.
QString WertText(double wert, QChar trenner);

}  // namespace tovik
