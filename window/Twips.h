#pragma once
// The window is designed in twips (1440 per inch). Every control keeps its twips rectangle
// and is placed from it through ZuPixel, the one place where twips become pixels.

#include <QRectF>
#include <optional>

class QWidget;

namespace tovik {

inline constexpr double kTwipsJeZoll = 1440;

// Pixels for a twips length at the given logical dpi, rounded once.
int ZuPixel(double twips, double dpi);

// Twips for a pixel length at the given logical dpi.
double ZuTwips(int pixel, double dpi);

// Remembers `twips` on the widget and places it there.
void SetzeTwips(QWidget* steuerelement, const QRectF& twips);

// The twips rectangle last given to the widget; none for a widget never placed in twips.
std::optional<QRectF> LiesTwips(const QWidget* steuerelement);

}  // namespace tovik
