#include "Sprechform.h"

namespace tovik {
namespace {

// A plain scan, not regular expressions: Qt compiles those to machine code at their first
// use, which the start-up (it speaks "X( 1) =" and the precondition) paid with 0.4 MB.

bool Ziffer(QChar c) { return c >= u'0' && c <= u'9'; }
bool Leer(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// The end of the run of digits from `ab`.
qsizetype Ziffernende(QStringView s, qsizetype ab) {
    while (ab < s.size() && Ziffer(s[ab])) ++ab;
    return ab;
}

// "X( 1) =" -> "x 1 gleich": read as written, it comes out as a letter, a bracket and a digit.
QString Marken(QStringView s) {
    QString aus;
    for (qsizetype i = 0; i < s.size();) {
        if (s.sliced(i).startsWith(u"X(")) {
            qsizetype k = i + 2;
            while (k < s.size() && Leer(s[k])) ++k;
            const qsizetype ziffern = k, ende = Ziffernende(s, k);
            k = ende;
            if (ende > ziffern && k < s.size() && s[k] == u')') {
                for (++k; k < s.size() && Leer(s[k]);) ++k;
                if (k < s.size() && s[k] == u'=') {
                    aus += QStringLiteral("x ");
                    aus += s.sliced(ziffern, ende - ziffern);
                    aus += QStringLiteral(" gleich");
                    i = k + 1;
                    continue;
                }
            }
        }
        aus += s[i++];
    }
    return aus;
}

}  // namespace

QString Sprechform(const QString& text) {
    QString s = Marken(text);
    s.replace(QStringLiteral("<>"), QStringLiteral(" ungleich "));
    // The window never groups digits, so a point or comma between digits is the decimal
    // separator, whichever the locale chose; a voice would take a point for thousands.
    QString aus;
    for (qsizetype i = 0; i < s.size();) {
        const bool minus = s[i] == u'-' && i + 1 < s.size() && Ziffer(s[i + 1]);
        const qsizetype ab = minus ? i + 1 : i;
        qsizetype k = Ziffernende(s, ab);
        if (k == ab) {
            aus += s[i++];
            continue;
        }
        if (minus) aus += QStringLiteral("minus ");
        aus += QStringView(s).sliced(ab, k - ab);
        if (k + 1 < s.size() && (s[k] == u'.' || s[k] == u',') && Ziffer(s[k + 1])) {
            const qsizetype ende = Ziffernende(s, k + 1);
            aus += u',';
            aus += QStringView(s).sliced(k + 1, ende - k - 1);
            k = ende;
        }
        if (k + 2 < s.size() && s[k] == u'E' && (s[k + 1] == u'+' || s[k + 1] == u'-') && Ziffer(s[k + 2])) {
            const qsizetype ende = Ziffernende(s, k + 2);
            aus += QStringLiteral(" mal zehn hoch ");
            if (s[k + 1] == u'-') aus += QStringLiteral("minus ");
            aus += QString::number(
                QStringView(s).sliced(k + 2, ende - k - 2).toInt());  // "E+05" is said "hoch 5"
            k = ende;
        }
        i = k;
    }
    // Blanks and line breaks fold into single blanks.
    return aus.simplified();
}

}  // namespace tovik
