#pragma once
// What a German voice should say for a text the window shows.

#include <QString>

namespace tovik {

// "X( 1) = 3.918" -> "x 1 gleich 3,918", "-2.84E-14" -> "minus 2,84 mal zehn hoch minus 14",
// "<>" -> "ungleich"; the rest stays, blanks and line breaks fold into single blanks.
QString Sprechform(const QString& text);

}  // namespace tovik
