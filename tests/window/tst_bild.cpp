// The window as a person sees it: the real window, maximized on a screen of fixed size in an X
// session of its own (tools/x-sitzung.sh), grabbed and compared pixel for pixel with the
// reference images in referenz/: as it starts, with its results, and with all cells of N = 5;
// and the one way in that needs X: a middle click.
// One image holds every control's place, size, caption, font and colour at once. On a
// difference the image seen and a difference image are left in the build folder, and the test
// names the controls whose pixels differ. tools/referenzbilder.sh makes the references anew.

#include <QtWidgets>

#include "Bildvergleich.h"
#include "Testhilfen.h"
#include "frm_Tovik.h"

class TstBild : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;

    // Compares the window with referenz/NAME-1x.png (or -2x at twice the scale), naming each
    // control that differs: a pixel belongs to the innermost control under it.
    void Vergleichen(const QString& name) {
        const qreal massstab = w->devicePixelRatioF();
        const QString abweichung = Bildabweichung(
            w->grab().toImage(), QStringLiteral("%1-%2x").arg(name).arg(massstab), [&](QPoint p) {
                const QWidget* e = w->childAt(QPoint(int(p.x() / massstab), int(p.y() / massstab)));
                return (e ? e : w.get())->objectName();
            });
        QVERIFY2(abweichung.isEmpty(), qPrintable(abweichung));
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

    // Not an image: X11 pastes its selection on a middle click, which only this session has. A
    // block goes where Ctrl+V would put it, not as text into the one cell.
    void mittelklick() {
        QGuiApplication::clipboard()->setText("1\t2\n3\t4", QClipboard::Selection);
        QTest::mouseClick(w->Text5[1], Qt::MiddleButton);
        const auto& a = tovik::GS.A;
        QCOMPARE(QList({a[2][2], a[2][3], a[3][2], a[3][3]}), QList<double>({1, 2, 3, 4}));
        QCOMPARE(w->Text5[1]->text(), "1");
    }
};

TOVIK_TEST_MAIN(TstBild)
#include "tst_bild.moc"
