// The shared test header: compiled here before anything else, so that it keeps every include
// it needs; and its watchdog, which must not let a forgotten menu hang a test.

#include "Testhilfen.h"

#include <QMenu>

class TstTesthilfen : public QObject {
    Q_OBJECT

private slots:
    // A menu that nobody closes fails the test at the deadline and is closed, instead of
    // holding the test until ctest kills it.
    void vergessenesMenue() {
        QMenu menue;
        menue.addAction("Eins");
        menue.addAction("Zwei");
        QElapsedTimer seit;
        seit.start();
        QEXPECT_FAIL("", "the watchdog fails the menu nobody closes", Continue);
        menue.exec(QPoint(0, 0));
        QVERIFY2(seit.hasExpired(kFristMs - 1) && !seit.hasExpired(kFristMs + 2000),
                 qPrintable(QString::number(seit.elapsed())));
        QVERIFY(!menue.isVisible());
    }
};

TOVIK_TEST_MAIN(TstTesthilfen)
#include "tst_testhilfen.moc"
