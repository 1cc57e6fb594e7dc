// The window as it comes up: the example in the grid, the design's geometry checked by its
// invariants, captions and fonts, the keyboard order, the lower buttons, the message boxes.

#include <QGroupBox>
#include <QLabel>

#include "Fensterhilfen.h"
#include "Mod_Allg.h"
#include "Twips.h"

namespace {

int RotePixel(const QImage& bild) {
    int anzahl = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QColor c = bild.pixelColor(x, y);
            anzahl += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    return anzahl;
}

}  // namespace

class TstFensterAufbau : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    int Px(double twips) const { return tovik::ZuPixel(twips, w->logicalDpiX()); }

private slots:
    void init() { w = NeuesFenster(); }
    void cleanup() { w.reset(); }

    void start() {
        QVERIFY(w->isMaximized());
        QCOMPARE(w->windowTitle(), "Programm  Tovik.vbp, Version 5.0");
        QCOMPARE(QApplication::focusWidget(), w->Text1);
        QCOMPARE(w->Text1->text() + '|' + w->Text2->text() + '|' + w->Text3->text(), "Test|1| 3");
        QCOMPARE(Raster(*w), "Text4:  3| 4| 7\nText5:  12| 10| 0\nText6:  0| 12| 2\nText9:  90| 78| 56\n"
                             "Text10: X( 1) = |X( 2) = |X( 3) = \nText11: ||");
        QCOMPARE(GS.X[1], 0.0);  // nothing is computed at start-up
        QVERIFY(!w->findChild<QFileDialog*>());  // made on first use, then kept
        QCOMPARE(&w->CommonDialog1(), &w->CommonDialog1());
    }

    // Any wrong number in the design tables breaks one of these: every control inside its
    // container and clear of the others there; the cells in rows and columns at the design's
    // pitch, all of one height; every caption inside its control at its font.
    void entwurf() {
        w->setWindowState(Qt::WindowNoState);
        w->resize(Px(16000), Px(9600));  // room for every frame
        QTRY_COMPARE(w->width(), Px(16000));
        for (QWidget* behaelter : std::initializer_list<QWidget*>{w.get(), w->Frame1, w->Frame2, w->Frame3, w->Frame4}) {
            const auto kinder = behaelter->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            QVERIFY(kinder.size() >= 4);
            for (const QWidget* a : kinder) {
                QVERIFY2(behaelter->rect().contains(a->geometry()), qPrintable(a->objectName()));
                for (const QWidget* b : kinder) {
                    const QRect schnitt = a->geometry() & b->geometry();  // Label3 touches Text2 by 15 twips
                    QVERIFY2(a == b || schnitt.width() <= 1 || schnitt.height() <= 1,
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
                }
            }
        }
        // The frames of the grid stand in one row; the header frame ends where the last of them does.
        for (const QGroupBox* rahmen : {w->Frame3, w->Frame4})
            QCOMPARE(std::pair(rahmen->y(), rahmen->height()), std::pair(w->Frame2->y(), w->Frame2->height()));
        QCOMPARE(w->Frame1->geometry().right(), w->Frame4->geometry().right());
        const auto reihen = Reihen(*w);
        const QPoint ecke = w->Text4[0]->mapTo(w.get(), QPoint());
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < tovik::kMaxN; ++k) {
                const QLineEdit* zelle = (*reihen[r])[k];
                const QPoint ort = zelle->mapTo(w.get(), QPoint());
                // A: rows of A down, columns right; B, x, A*x - B: element k on the row of A(k+1, .)
                const QPoint soll = r < 5 ? ecke + QPoint(Px(840) * k, Px(360) * r)
                                          : QPoint((*reihen[r])[0]->mapTo(w.get(), QPoint()).x(), ecke.y() + Px(360) * k);
                QVERIFY2(ort == soll && zelle->height() == Px(285) && (r > 5 || zelle->width() == Px(735)),
                         qPrintable(zelle->objectName()));
            }
        for (const QLabel* l : w->findChildren<QLabel*>()) {
            const QRect text = l->fontMetrics().boundingRect(l->contentsRect(), Qt::TextWordWrap | l->alignment(), l->text());
            QVERIFY2(l->contentsRect().contains(text), qPrintable(l->objectName()));
        }
        for (const QPushButton* k : w->findChildren<QPushButton*>())
            QVERIFY2(k->fontMetrics().horizontalAdvance(k->text()) + 8 < k->width() &&
                         k->fontMetrics().height() + 4 < k->height(), qPrintable(k->objectName()));
        for (const QGroupBox* g : w->findChildren<QGroupBox*>())
            QVERIFY2(g->fontMetrics().horizontalAdvance(g->title()) + 16 < g->width(), qPrintable(g->objectName()));
    }

    // One row per way a caption's font is set (every face is arial); a frame's red caption
    // font reaches no control inside.
    void schriften_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("schrift");
        QTest::newRow("frame") << "Frame1" << "12 bold";
        QTest::newRow("label in a frame") << "Label5" << "10 bold";
        QTest::newRow("plain label in a frame") << "Label4" << "7.5";
        QTest::newRow("title") << "Label1" << "12 bold";
        QTest::newRow("button in a frame") << "Command6" << "10 bold";
        QTest::newRow("lower button") << "Command3" << "14";
        QTest::newRow("cell") << "Text10_0" << "7.5";
    }
    void schriften() {
        QFETCH(QString, name);
        QFETCH(QString, schrift);
        const QFont f = w->findChild<QWidget*>(name)->font();
        QCOMPARE(f.family() + QString(" %1%2").arg(f.pointSizeF()).arg(f.bold() ? " bold" : ""), "arial " + schrift);
        for (QGroupBox* rahmen : w->findChildren<QGroupBox*>())
            QVERIFY(RotePixel(rahmen->grab(QRect(0, 0, rahmen->width(), rahmen->fontMetrics().height())).toImage()) > 20);
        for (QWidget* e : std::initializer_list<QWidget*>{w->Label4, w->Text1, w->Text4[0], w->Command5})
            QCOMPARE(RotePixel(e->grab().toImage()), 0);
    }

    void tabulatorfolge() {
        const QStringList erwartet = {
            "Text1", "Text2", "Text3", "Text4_0", "Text5_0", "Text6_0", "Text9_0", "Text10_0", "Command2", "Command3",
            "Command4", "Text11_0", "Command5", "Command6", "Text11_1", "Text11_2", "Text10_1", "Text10_2", "Text4_1",
            "Text4_2", "Text5_1", "Text5_2", "Text6_1", "Text6_2", "Text9_1", "Text9_2", "Command1", "Text1"};
        QStringList folge{QApplication::focusWidget()->objectName()};
        while (folge.size() < erwartet.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            folge << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(folge, erwartet);
    }

    // Speichern, Öfffnen, Drucken stand in a row at the lower right corner, spaced by the size
    // of Drucken, at every size and state.
    void untereKnoepfe_data() {
        QTest::addColumn<int>("zustand");
        QTest::addColumn<QSize>("twips");  // client area; the window's own when empty
        QTest::newRow("maximized") << int(Qt::WindowMaximized) << QSize();
        QTest::newRow("design size") << int(Qt::WindowNoState) << QSize(9285, 8550);
        QTest::newRow("narrow") << int(Qt::WindowNoState) << QSize(3000, 6000);
        QTest::newRow("minimized") << int(Qt::WindowMinimized) << QSize(0, 0);
    }
    void untereKnoepfe() {
        QFETCH(int, zustand);
        QFETCH(QSize, twips);
        w->setWindowState(Qt::WindowNoState);
        if (twips.width() > 0) w->resize(Px(twips.width()), Px(twips.height()));
        w->setWindowState(Qt::WindowState(zustand));
        QTRY_COMPARE(int(w->windowState()), zustand);
        const QSize client = twips.isValid() ? QSize(Px(twips.width()), Px(twips.height())) : w->size();
        int links = client.width() - Px(525);
        for (const QPushButton* k : {w->Command2, w->Command3, w->Command4}) {
            QTRY_COMPARE(k->geometry(), QRect(links - Px(1750), client.height() - Px(960), Px(1750), Px(600)));
            links -= Px(1750 + 175);
        }
    }

    // Only Command1 to Command4 are styled, though Command5 follows the same name rule.
    void knopfEinrichten() {
        const QRect ort = w->Command5->geometry();
        KnopfEinrichten(*w, 5, "X");
        QCOMPARE(w->Command5->geometry(), ort);
        QCOMPARE(w->Command5->text(), "A symmetrisch");
    }

    // A plain modal box, captioned as given; it closes on the release of Enter, so that the
    // release never reaches a cell behind it.
    void meldungsfenster() {
        QString gesehen;
        QTimer::singleShot(20, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            gesehen = box->windowTitle() + ": " + box->text() + QString(" %1 %2").arg(box->icon()).arg(box->buttons().size());
            QTest::keyPress(box->focusWidget(), Qt::Key_Return);
            gesehen += box->isVisible() ? " open" : " closed";
            QTest::keyRelease(box->focusWidget(), Qt::Key_Return);
            if (box->isVisible()) gesehen += " after the release", box->done(0);
        });
        tovik::Meldung("Probe", "Hinweis");
        QCOMPARE(gesehen, "Hinweis: Probe 0 1 open");
    }
};

TOVIK_TEST_MAIN(TstFensterAufbau)
#include "tst_fenster_aufbau.moc"
