#include "Sprechform.h"

#include <QRegularExpression>

namespace tovik {

QString Sprechform(const QString& text) {
    // Read as written, "X( 1) =" comes out as a letter, a bracket and a digit.
    static const QRegularExpression marke(QStringLiteral(R"(X\(\s*(\d+)\)\s*=)"));
    // The window never groups digits, so a point or comma between digits is the decimal
    // separator, whichever the locale chose; a voice would take a point for thousands.
    static const QRegularExpression zahl(QStringLiteral(R"((-?)(\d+)(?:[.,](\d+))?(?:E([+-])(\d+))?)"));
    QString s = text;
    s.replace(marke, QStringLiteral("x \\1 gleich"));
    s.replace(QStringLiteral("<>"), QStringLiteral(" ungleich "));
    QString aus;
    qsizetype bis = 0;
    for (const QRegularExpressionMatch& m : zahl.globalMatch(s)) {
        aus += s.mid(bis, m.capturedStart() - bis);
        if (!m.captured(1).isEmpty()) aus += QStringLiteral("minus ");
        aus += m.captured(2);
        if (m.hasCaptured(3)) aus += u',' + m.captured(3);
        if (m.hasCaptured(5)) {
            aus += QStringLiteral(" mal zehn hoch ");
            if (m.captured(4) == u"-") aus += QStringLiteral("minus ");
            aus += QString::number(m.captured(5).toInt());  // "E+05" is said "hoch 5"
        }
        bis = m.capturedEnd();
    }
    aus += s.mid(bis);
    return aus.simplified();
}

}  // namespace tovik
