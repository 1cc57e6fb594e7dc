// The window as it comes up: the example in the grid, captions, fonts and places of the
// controls, the keyboard order, the lower buttons, and the message boxes.

#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <cmath>

#include "Fensterhilfen.h"
#include "Meldung.h"
#include "Mod_Allg.h"

namespace {

int Px(double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

int RotePixel(const QImage& bild) {
    int anzahl = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QColor c = bild.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++anzahl;
        }
    return anzahl;
}

}  // namespace

class TstFensterAufbau : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;

private slots:
    void init() { w = NeuesFenster(false); }
    void cleanup() { w.reset(); }

    void startZustand() {
        Zeigen(*w);
        QVERIFY(w->isMaximized());
        QCOMPARE(w->windowTitle(), QStringLiteral("Programm  Tovik.vbp, Version 5.0"));
        QCOMPARE(QApplication::focusWidget(), w->Text1);
        QCOMPARE(QStringList({w->Text1->text(), w->Text2->text(), w->Text3->text()}),
                 (QStringList{"Test", "1", " 3"}));
        QCOMPARE(RasterAbweichung(*w, 3, false), QString());
        QCOMPARE(Spalte(w->Text4, 3), (QStringList{" 3", " 4", " 7"}));
        QCOMPARE(Spalte(w->Text5, 3), (QStringList{" 12", " 10", " 0"}));
        QCOMPARE(Spalte(w->Text9, 3), (QStringList{" 90", " 78", " 56"}));
        QCOMPARE(Spalte(w->Text10, 3), (QStringList{"X( 1) = ", "X( 2) = ", "X( 3) = "}));
        QCOMPARE(Spalte(w->Text11, 3), QStringList(3, QString()));
        QCOMPARE(GS.X[1], 0.0);  // nothing is computed at start-up
        // The file dialog is made on first use and then kept.
        QVERIFY(!w->findChild<QFileDialog*>());
        QFileDialog* dialog = &w->CommonDialog1();
        QCOMPARE(&w->CommonDialog1(), dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("CommonDialog1"));
    }

    // One row per way a caption or font is set; a frame's caption font must not reach the
    // controls inside it.
    void beschriftung_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");  // caption, also the accessible name
        QTest::addColumn<bool>("arial");    // face set to arial, not left at the default
        QTest::addColumn<int>("punkte");    // 0: the window's default size
        QTest::addColumn<bool>("fett");
        QTest::newRow("Frame1") << "Frame1" << "Einheiten " << true << 12 << true;
        QTest::newRow("Label5 in Frame2") << "Label5" << "Koeffizientenmatrix A" << false << 10 << true;
        QTest::newRow("Label4 in Frame2") << "Label4" << "Anzahl der Gleichungen und Unbekannten N ="
                                          << false << 0 << false;
        QTest::newRow("Command6") << "Command6" << "A * x - B =" << true << 10 << true;
        QTest::newRow("Command3") << "Command3" << "Öfffnen" << true << 14 << false;
    }
    void beschriftung() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, arial);
        QFETCH(int, punkte);
        QFETCH(bool, fett);
        QWidget* e = w->findChild<QWidget*>(name);
        QVERIFY(e);
        QCOMPARE(e->property(qobject_cast<QGroupBox*>(e) ? "title" : "text").toString(), text);
        QCOMPARE(e->accessibleName(), text);
        QCOMPARE(e->font().family(), arial ? QStringLiteral("arial") : w->font().family());
        QCOMPARE(e->font().pointSizeF(), punkte ? double(punkte) : w->font().pointSizeF());
        QCOMPARE(e->font().bold(), fett);
    }

    // The cells come from a loop of their own: accessible names and the plain font.
    void zellen() {
        QCOMPARE(w->Text5[2]->accessibleName(), QStringLiteral("A(2,3)"));
        QCOMPARE(w->Text9[0]->accessibleName(), QStringLiteral("B(1)"));
        QCOMPARE(w->Text10[0]->font().pointSizeF(), w->font().pointSizeF());
        QVERIFY(!w->Text10[0]->font().bold());
    }

    // The red caption belongs to the frame alone; the controls inside keep their colours.
    void rahmenRotNurImTitel() {
        Zeigen(*w);
        for (QGroupBox* rahmen : {w->Frame1, w->Frame2, w->Frame3, w->Frame4}) {
            const QImage bild = rahmen->grab().toImage();
            const int titelHoehe = rahmen->fontMetrics().height();
            QVERIFY2(RotePixel(bild.copy(0, 0, bild.width(), titelHoehe)) > 20, qPrintable(rahmen->objectName()));
        }
        for (QWidget* e : std::initializer_list<QWidget*>{w->Label4, w->Text1, w->Text4[0], w->Command5})
            QVERIFY2(RotePixel(e->grab().toImage()) == 0, qPrintable(e->objectName()));
    }

    // Spot checks of the twips placing: one per container, cell rows in both directions.
    void orte_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Text2") << "Text2" << "Frame1" << QRect(3960, 360, 735, 285);
        QTest::newRow("A row steps right") << "Text6_2" << "Frame2" << QRect(2520, 1920, 735, 285);
        QTest::newRow("x steps down") << "Text10_4" << "Frame3" << QRect(480, 2640, 1455, 285);
        QTest::newRow("A*x-B") << "Text11_1" << "Frame4" << QRect(720, 1560, 1215, 285);
    }
    void orte() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        QWidget* e = w->findChild<QWidget*>(name);
        QVERIFY(e);
        QCOMPARE(e->parentWidget()->objectName(), container);
        const int dx = w->logicalDpiX(), dy = w->logicalDpiY();
        QCOMPARE(e->geometry(), QRect(Px(twips.x(), dx), Px(twips.y(), dy), Px(twips.width(), dx),
                                      Px(twips.height(), dy)));
    }

    // The brackets of A and B: centred on their x, spanning all five rows.
    void klammern() {
        const std::pair<QFrame*, int> linien[] = {{w->Line2, 600}, {w->Line1, 5160}, {w->Line3, 6480}, {w->Line4, 7680}};
        for (const auto& [l, x] : linien) {
            QCOMPARE(l->parentWidget(), static_cast<QWidget*>(w->Frame2));
            QCOMPARE(l->geometry().center().x(), Px(x, w->logicalDpiX()));
            QCOMPARE(l->geometry().top(), Px(1200, w->logicalDpiY()));
            QCOMPARE(l->geometry().height(), Px(1800, w->logicalDpiY()));
        }
    }

    void tabulatorfolge() {
        Zeigen(*w);
        const QStringList erwartet = {
            "Text1", "Text2", "Text3", "Text4_0", "Text5_0", "Text6_0", "Text9_0", "Text10_0",
            "Command2", "Command3", "Command4", "Text11_0", "Command5", "Command6", "Text11_1",
            "Text11_2", "Text10_1", "Text10_2", "Text4_1", "Text4_2", "Text5_1", "Text5_2",
            "Text6_1", "Text6_2", "Text9_1", "Text9_2", "Command1", "Text1"};
        QStringList folge{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < erwartet.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            folge << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(folge, erwartet);
    }

    // Command2 to Command4 keep to the lower right, spaced by Command2's size.
    void untereKnoepfe_data() {
        QTest::addColumn<int>("zustand");       // Qt::WindowState
        QTest::addColumn<QList<int>>("links");  // Command2 to Command4, in twips
        QTest::addColumn<int>("oben");
        QTest::newRow("design size") << int(Qt::WindowNoState) << QList<int>{7010, 5085, 3160} << 7590;
        QTest::newRow("minimized") << int(Qt::WindowMinimized) << QList<int>{-2275, -4200, -6125} << -960;
    }
    void untereKnoepfe() {
        QFETCH(int, zustand);
        QFETCH(QList<int>, links);
        QFETCH(int, oben);
        w->setWindowState(Qt::WindowNoState);
        Zeigen(*w);
        const int dx = w->logicalDpiX(), dy = w->logicalDpiY();
        QCOMPARE(w->size(), QSize(Px(9285, dx), Px(8550, dy)));
        w->setWindowState(Qt::WindowState(zustand));
        QTRY_COMPARE(int(w->windowState()), zustand);
        const QPushButton* knoepfe[] = {w->Command2, w->Command3, w->Command4};
        for (int i = 0; i < 3; ++i)
            QTRY_COMPARE(knoepfe[i]->geometry(), QRect(Px(links[i], dx), Px(oben, dy), Px(1750, dx), Px(600, dy)));
        // Restoring changes only the state, not the pixel size: the buttons still follow,
        // as they follow any other size.
        w->setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(w->Command2->pos(), QPoint(Px(7010, dx), Px(7590, dy)));
        w->resize(w->width() + 100, w->height() + 50);
        QTRY_COMPARE(w->Command2->pos(), QPoint(Px(w->width() * 1440.0 / dx - 2275, dx),
                                                Px(w->height() * 1440.0 / dy - 960, dy)));
    }

    // Only Command1 to Command4 are styled, though Command5 follows the same name rule.
    void knopfEinrichtenNurEinsBisVier() {
        const QRect ort = w->Command5->geometry();
        KnopfEinrichten(*w, 5, QStringLiteral("X"));
        QCOMPARE(w->Command5->geometry(), ort);
        QCOMPARE(w->Command5->text(), QStringLiteral("A symmetrisch"));
    }

    void meldungsfenster() {
        Beantworter antwort;
        tovik::Meldung("Probe");
        QCOMPARE(antwort.texte, QStringList{"Tovik: Probe"});
        QVERIFY(antwort.schlicht);
    }

    // The box closes on the release of Enter, so that release never reaches a cell behind it.
    void meldungSchliesstBeimLoslassen() {
        bool nachDruckOffen = false, geschlossen = false;
        QTimer::singleShot(20, this, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QWidget* ziel = box && box->focusWidget() ? box->focusWidget() : box;
            if (!ziel) return;
            QTest::keyPress(ziel, Qt::Key_Return);
            nachDruckOffen = box->isVisible();
            QTest::keyRelease(ziel, Qt::Key_Return);
            geschlossen = !box->isVisible();
        });
        QTimer notbremse;  // never hang if the box ignored the keys
        connect(&notbremse, &QTimer::timeout, [] {
            if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) b->done(0);
        });
        notbremse.start(2000);
        tovik::Meldung("Enter");
        QVERIFY(nachDruckOffen);
        QVERIFY(geschlossen);
    }
};

TOVIK_FENSTER_TEST_MAIN(TstFensterAufbau)
#include "tst_fenster_aufbau.moc"
