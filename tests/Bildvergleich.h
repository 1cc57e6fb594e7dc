#pragma once
// The comparison with a reference image, shared by the window's and the page's tests: exact,
// pixel for pixel, since the same fonts and toolkit render the same pixels.

#include <QDir>
#include <QImage>
#include <QMap>
#include <QString>
#include <functional>

// Compares `ist` with referenz/NAME.png (TOVIK_REFERENZ); "" when equal. Otherwise leaves the
// image seen and a difference image (what differs red) as NAME.png and NAME-differenz.png in
// the test's build folder (TOVIK_BILDABLAGE), and names what differs: each area that `bereich`
// gives a differing pixel, with its rectangle in pixels.
inline QString Bildabweichung(const QImage& gesehen, const QString& name,
                              const std::function<QString(QPoint)>& bereich) {
    const QImage ist = gesehen.convertToFormat(QImage::Format_RGB32),
                 soll = QImage(TOVIK_REFERENZ "/" + name + ".png").convertToFormat(QImage::Format_RGB32);
    if (ist == soll && !ist.isNull()) return {};
    QImage differenz = ist;
    QMap<QString, QRect> flaechen;
    for (int y = 0; y < ist.height() && ist.size() == soll.size(); ++y)
        for (int x = 0; x < ist.width(); ++x)
            if (ist.pixel(x, y) != soll.pixel(x, y))
                flaechen[bereich({x, y})] |= QRect(x, y, 1, 1), differenz.setPixel(x, y, qRgb(255, 0, 0));
    const QString ablage = TOVIK_BILDABLAGE "/" + name;
    QDir().mkpath(TOVIK_BILDABLAGE), gesehen.save(ablage + ".png"), differenz.save(ablage + "-differenz.png");
    QStringList wo;
    for (auto f = flaechen.begin(); f != flaechen.end(); ++f)
        wo << QString::asprintf("%s (x %d..%d, y %d..%d)", qPrintable(f.key()), f->left(), f->right(),
                                f->top(), f->bottom());
    return name + " differs in " + (wo.isEmpty() ? QStringLiteral("size") : wo.join(", ")) +
           " (seen: " + ablage + ".png)";
}
