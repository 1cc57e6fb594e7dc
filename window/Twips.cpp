#include "Twips.h"

#include <QVariant>
#include <QWidget>
#include <cmath>

namespace tovik {
namespace {

constexpr const char* kEigenschaft = "twips";

}  // namespace

int ZuPixel(double twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / kTwipsJeZoll)); }

double ZuTwips(int pixel, double dpi) { return pixel * kTwipsJeZoll / dpi; }

void SetzeTwips(QWidget* steuerelement, const QRectF& twips) {
    steuerelement->setProperty(kEigenschaft, twips);
    const double dx = steuerelement->logicalDpiX();
    const double dy = steuerelement->logicalDpiY();
    steuerelement->setGeometry(ZuPixel(twips.left(), dx), ZuPixel(twips.top(), dy),
                               ZuPixel(twips.width(), dx), ZuPixel(twips.height(), dy));
}

std::optional<QRectF> LiesTwips(const QWidget* steuerelement) {
    const QVariant wert = steuerelement->property(kEigenschaft);
    if (!wert.canConvert<QRectF>()) return std::nullopt;
    return wert.toRectF();
}

}  // namespace tovik
