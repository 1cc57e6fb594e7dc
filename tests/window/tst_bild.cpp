// The window as a person sees it: the real window, maximized on a screen of fixed size in an X
// session of its own (tools/x-sitzung.sh), grabbed and compared pixel for pixel with the
// reference images in referenz/: as it starts, with its results, and with all cells of N = 5.
// One image holds every control's place, size, caption, font and colour at once. On a
// difference the image seen and a difference image are left in the build folder, and the test
// names the controls whose pixels differ. tools/referenzbilder.sh makes the references anew.

#include <QtWidgets>

#include "Testhilfen.h"
#include "frm_Tovik.h"

namespace {

// Where the images seen are left: the test's build folder.
QString Ablage(const QString& name) { return QDir(TOVIK_BILDABLAGE).filePath(name); }

// The difference image: what stayed, faint; what differs, red.
QImage Differenzbild(const QImage& ist, const QImage& soll) {
    QImage bild = ist;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QRgb p = ist.pixel(x, y);
            bild.setPixel(x, y,
                          p == soll.pixel(x, y)
                              ? qRgb(191 + qGray(p) / 4, 191 + qGray(p) / 4, 191 + qGray(p) / 4)
                              : qRgb(255, 0, 0));
        }
    return bild;
}

}  // namespace

class TstBild : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;

    // Compares the window with referenz/NAME-1x.png (or -2x at twice the scale).
    void Vergleichen(const QString& name) {
        const qreal massstab = w->devicePixelRatioF();
        const QString datei = QStringLiteral("%1-%2x.png").arg(name).arg(massstab);
        QFile::remove(Ablage(datei));
        QFile::remove(Ablage(QString(datei).replace(".png", "-differenz.png")));
        const QImage ist = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage soll =
            QImage(QStringLiteral(TOVIK_REFERENZ "/") + datei).convertToFormat(QImage::Format_RGB32);
        if (ist == soll) return;
        QVERIFY(QDir().mkpath(TOVIK_BILDABLAGE));
        QVERIFY(ist.save(Ablage(datei)));
        if (ist.size() != soll.size())
            QFAIL(qPrintable(QString::asprintf("%s is %d x %d pixels, the reference %d x %d (seen: %s)",
                                               qPrintable(datei), ist.width(), ist.height(), soll.width(),
                                               soll.height(), qPrintable(Ablage(datei)))));
        // Each differing pixel belongs to the innermost control under it.
        QMap<QString, QRect> flaechen;
        for (int y = 0; y < ist.height(); ++y)
            for (int x = 0; x < ist.width(); ++x) {
                if (ist.pixel(x, y) == soll.pixel(x, y)) continue;
                const QWidget* e = w->childAt(QPoint(int(x / massstab), int(y / massstab)));
                flaechen[(e ? e : w.get())->objectName()] |= QRect(x, y, 1, 1);
            }
        QStringList wo;
        for (auto f = flaechen.begin(); f != flaechen.end(); ++f)
            wo << QString::asprintf("%s (x %d..%d, y %d..%d)", qPrintable(f.key()), f->left(), f->right(),
                                    f->top(), f->bottom());
        const QString differenz = Ablage(QString(datei).replace(".png", "-differenz.png"));
        QVERIFY(Differenzbild(ist, soll).save(differenz));
        QFAIL(qPrintable(QStringLiteral("%1 differs in %2 (seen: %3, difference: %4)")
                             .arg(datei, wo.join(", "), Ablage(datei), differenz)));
    }

private slots:
    // The window as the program shows it, on a screen of fixed size: maximized, the focus where
    // the start-up puts it, with its cursor shown steadily (a blinking one would be in one image
    // and not in the next), the mouse pointer in a corner where no control is.
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            TOVIK_SKIP("needs an X session of its own (tools/x-sitzung.sh)");
        QApplication::setCursorFlashTime(0);
        // The results with the separator of the program's users, whatever the machine's language.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomLeft());
        w = std::make_unique<frm_Tovik>();
        tovik::SetzeMeldungsHook(Unerwartet);
        w->showMaximized();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const QSize bildschirm = w->screen()->availableGeometry().size();
        QTRY_VERIFY2(w->isMaximized() && w->frameGeometry().size() == bildschirm,
                     qPrintable(QStringLiteral("%1 x %2").arg(w->width()).arg(w->height())));
    }
    void cleanupTestCase() { w.reset(); }

    // The example system, nothing computed.
    void start() { Vergleichen(QStringLiteral("start")); }

    // After "Berechnen" and "A * x - B =": x and the control product in their columns.
    void ergebnis() {
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QTest::mouseClick(w->Command6, Qt::LeftButton);
        Vergleichen(QStringLiteral("ergebnis"));
    }

    // N = 5 typed: all five rows of every array, empty, the focus in the N field.
    void fuenf() {
        w->Text3->setFocus(Qt::TabFocusReason);  // which selects its text
        QTest::keyClicks(w->Text3, "5");
        Vergleichen(QStringLiteral("fuenf"));
    }
};

TOVIK_TEST_MAIN(TstBild)
#include "tst_bild.moc"
