// The one window as it comes up (what a screen reader and the keyboard meet, against a reference
// text; the lower buttons at every size; its look is the reference images'), and what random
// steps bring about too seldom: the copy's x, a cell's long text and its faulty value's box, the
// undo history's limit, and Qt's texts in German. The window in use, what the commands show, the
// N field, every way into a cell, pastes, drops, the file dialogs and the undo history:
// tst_modell and its transcript.

#include "Testhilfen.h"  // first, so that it keeps every include it needs

#include <QPrinter>
#include <QtWidgets>

#include "Fensterhilfen.h"
#include "Meldungsfenster.h"
#include "Mod_Allg.h"
#include "Sprechform.h"
#include "SystemDrucken.h"
#include "Twips.h"
#include "frm_Tovik.h"

using tovik::GS;

#ifdef __SANITIZE_ADDRESS__
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

class TstFenster : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    QTemporaryDir ordner;
    int Px(double twips) const { return tovik::ZuPixel(twips, w->logicalDpiX()); }
    // A line for each control from `z` down, as a screen reader walks the window's tree.
    static void Baum(QAccessibleInterface* z, QStringList& zeilen, const QString& einzug = {}) {
        zeilen << QStringLiteral("%1%2 %3 „%4“ „%5“%6")
                      .arg(einzug, z->object()->objectName(),
                           QMetaEnum::fromType<QAccessible::Role>().valueToKey(z->role()),
                           z->text(QAccessible::Name), z->text(QAccessible::Description),
                           z->state().invisible ? " (verborgen)" : "")
                      .replace('\n', "\\n");
        for (int i = 0; i < z->childCount(); ++i) Baum(z->child(i), zeilen, einzug + "  ");
    }

private slots:
    void init() { w = NeuesFenster(); }
    void cleanup() {
        AntwortenAbschliessen();
        w.reset();
    }

    // Maximized (its title: referenz/zugang.txt), the example in the record, nothing computed;
    // how the window looks is the reference images' (tst_bild). The styling of a button
    // sets face, size and weight, whatever the button had, and only of Command1 to Command4.
    void start() {
        QVERIFY(w->isMaximized());
        QCOMPARE(GS.X[1], 0.0);  // the report would print it
        w->Command1->setFont(QFont("Serif", 20, QFont::Bold));
        KnopfEinrichten(*w, 1, "Berechnen");
        KnopfEinrichten(*w, 5, "X");
        QCOMPARE(w->Command1->font(), w->Command2->font());
        QCOMPARE(w->Command5->text(), "A symmetrisch");
    }

    // What a screen reader meets, against referenz/zugang.txt, which a person has read: the
    // window's tree of controls (hidden ones marked) with x and A*x - B computed, each with its
    // role, name and description (numbers with a decimal comma, their signs and exponents in
    // words), then the Tab key's round through the shown controls at N = 3 and N = 5.
    // The Tab out of a header field takes its text into the record, at any length. What a
    // voice is given for texts the window does not make itself: only what is a number changes.
    void zugang() {
        QStringList gesehen;
        Klick(w->Command1), Klick(w->Command6);
        Baum(QAccessible::queryAccessibleInterface(w.get()), gesehen);
        w->Text1->setText(QString(40000, 'P'));  // taken by the Tab out of it, at any length
        for (const char* n : {"3", "5"}) {
            w->Text3->setText(n);
            w->Text1->setFocus();
            QStringList folge;
            do {
                folge << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } while (QApplication::focusWidget() != w->Text1 && folge.size() < 100);
            gesehen << "Tab, N = " + QString(n) + ": " + folge.join(' ');
        }
        QCOMPARE(GS.Projekt.size(), 40000u);
        ProtokollVergleichen(TOVIK_REFERENZ "/zugang.txt", TOVIK_BILDABLAGE, gesehen);
        const std::pair<const char*, const char*> gesprochen[] = {
            {"X( 19) = -9.5", "x 19 gleich minus 9,5"},
            {"X(\t2) \r=4,25", "x 2 gleich4,25"},
            {"X( 2 =", "X( 2 ="},
            {"X( 3) 5", "X( 3) 5"},
            {"1.00E+05", "1,00 mal zehn hoch 5"},
            {"-.5E-3", "-.5 mal zehn hoch minus 3"},
            {"a - b--4 3E+", "a - b-minus 4 3E+"},
            {"1.2.3", "1,2.3"},
            {"a(i,i) <> 0\n  x", "a(i,i) ungleich 0 x"},
        };
        for (const auto& [text, stimme] : gesprochen) {
            w->Text11[4]->setText(text);
            QCOMPARE(QAccessible::queryAccessibleInterface(w->Text11[4])->text(QAccessible::Description),
                     QString(stimme));
        }
    }

    // Speichern, Öfffnen, Drucken stand in a row at the lower right corner, spaced by the size
    // of Drucken whatever their own (smaller here), which they keep: restored to the design's
    // size, maximized, minimized (no client area).
    void untereKnoepfe() {
        for (QPushButton* k : {w->Command3, w->Command4}) tovik::SetzeTwips(k, QRectF(0, 0, 1000, 400));
        for (const auto zustand : {Qt::WindowNoState, Qt::WindowMaximized, Qt::WindowMinimized}) {
            w->setWindowState(zustand);
            QTRY_COMPARE(w->windowState(), zustand);
            if (zustand == Qt::WindowNoState) QTRY_COMPARE(w->size(), QSize(Px(9285), Px(8550)));
            const QSize client = zustand == Qt::WindowMinimized ? QSize(0, 0) : w->size();
            for (auto [k, faktor] : {std::pair(w->Command2, 1.3), {w->Command3, 2.4}, {w->Command4, 3.5}})
                QTRY_COMPARE(k->pos(), QPoint(client.width() - Px(1750 * faktor), client.height() - Px(960)));
        }
        QCOMPARE(QList({w->Command2->size(), w->Command3->size(), w->Command4->size()}),
                 QList({QSize(Px(1750), Px(600)), QSize(Px(1000), Px(400)), QSize(Px(1000), Px(400))}));
    }

    // What the model test (tst_modell) brings about too seldom: x is copied only while it
    // solves the record, whichever value of A or B changes, and again once the value is back
    // (and pasted back, it is left out); not after the same N shows the system again, nor
    // after a refused solve. A control product beyond a double shows "Überlauf". A header
    // field is taken when left for a button, not for another program.
    void befehle() {
        const auto tabs = [&] {
            QGuiApplication::clipboard()->clear();
            return Tasten(w->Text1, "Ctrl+Shift+C") ? QGuiApplication::clipboard()->text().count('\t') : -1;
        };
        Klick(w->Command1);
        for (auto [zelle, alt] : {std::pair(w->Text4[0], "3"), {w->Text4[2], "7"}, {w->Text9[2], "56"}}) {
            Tippen(zelle, "5");
            const auto ohne = tabs();
            Tippen(zelle, alt);
            QCOMPARE(QList({ohne, tabs()}), QList<qsizetype>({9, 12}));
        }
        const QString satz = Satz();
        QVERIFY(Tasten(w->Text4[0], "Ctrl+V"));  // the copy with x pasted back: the same system
        QCOMPARE(Satz(), satz);
        w->Text3->setText("03");
        QCOMPARE(tabs(), 9);
        Klick(w->Command1);
        GS.X[1] = std::numeric_limits<double>::max();
        Klick(w->Command6);
        QCOMPARE(w->Text11[0]->text() + w->Text11[1]->text(), "ÜberlaufÜberlauf");
        Meldungen meldungen;
        Tippen(w->Text4[0], "0");  // a refused solve leaves no x to copy
        Klick(w->Command1);
        QCOMPARE(Texte(meldungen) + QString::number(tabs()), tovik::kMeldungPivot + QString("9"));
        Tippen(w->Text2, "7b");
        QFocusEvent fort(QEvent::FocusOut, Qt::ActiveWindowFocusReason);  // to another program: not taken
        QApplication::sendEvent(w->Text2, &fort);
        QCOMPARE(GS.Position, "1");
        Klick(w->Command5);  // but the click on a button takes it
        QCOMPARE(GS.Position, "7b");
    }

    // A key release in a cell reads the first N cells of its row into the record, the press
    // nothing; a comma is read as far out as a cell's 32767 characters reach, a point groups no
    // thousands. A value beyond a double is told in a plain modal box captioned "Tovik"
    // and never reaches the record; the key that closes the box, and the keys of a dialog
    // opened by a key, go up over the cell behind: its row is not read again, where its faulty
    // value would bring the message back. A value dropped into a cell that has not the focus
    // shows its beginning, as every cell left does. How cells read what is typed: tst_modell.
    void zellen() {
        w->Text3->setText("5");
        w->Text7[1]->setText(QString(32761, '0') + "1.000,");  // without a key: read at once
        Tippen(w->Text7[2], " 2e");
        QTest::keyPress(w->Text7[2], Qt::Key_3);
        QVERIFY(GS.A[4][3] != 2000);  // nothing read on the press
        QTest::keyRelease(w->Text7[2], Qt::Key_3);
        QCOMPARE(QList(GS.A[4].begin() + 1, GS.A[4].begin() + 4), QList<double>({0, 1, 2000}));
        tovik::SetzeMeldungsHook(tovik::MeldungsfensterZeigen);  // a box more would fail the test
        QStringList gesehen;
        const auto antwort = [&](QMessageBox* box) {
            const bool schlicht = box->icon() == QMessageBox::NoIcon && box->buttons().size() == 1;
            gesehen << box->windowTitle() + ": " + box->text() + (schlicht ? "" : " (not plain)");
            QTest::keyPress(box, Qt::Key_Escape);
        };
        Beantworten<QMessageBox>(antwort);
        Tippen(w->Text4[0], "1E99");
        QTest::keyClick(w->Text4[0], Qt::Key_9);  // its release brings the message
        QTest::keyRelease(w->Text4[0], Qt::Key_Escape);
        Beantworten<QFileDialog>([](QFileDialog* dialog) { QTest::keyPress(dialog, Qt::Key_Escape); });
        QVERIFY(Tasten(w->Text4[0], ""));
        QTest::keyPress(w->Text4[0], Qt::Key_S, Qt::ControlModifier);  // Ctrl+S goes up in the dialog
        QTest::keyRelease(w->Text4[0], Qt::Key_Escape);
        Beantworten<QMessageBox>(antwort);
        QTest::keyClick(w->Text4[0], Qt::Key_Shift);  // but every key going up in the row tells it again
        QCOMPARE(gesehen.join('|'), "Tovik: fehlerhafte Eingabe|Tovik: fehlerhafte Eingabe");
        QCOMPARE(GS.A[1][1], 1e99);                           // as read before
        QVERIFY(Fallen(w->Text5[3], "-271828182845904,52"));  // into a cell that has not the focus
        QCOMPARE(w->Text5[3]->cursorPosition(), 0);           // which shows its beginning, as one left
    }

    // The undo history by itself: a text as long as a field holds, the value of a cell that
    // cannot be read, and N, back and forth; beyond its limit the oldest steps go first. It
    // counts all it holds.
    void verlauf() {
        tovik::Stand a, b, c;
        b.texte[0] = QString(32768, 'x');
        c.texte[tovik::kKopffelder] = "1E999", c.werte[0] = 7, c.n = 2;
        for (const std::size_t grenze : {tovik::kVerlaufGrenze, std::size_t(1000)}) {
            tovik::Verlauf verlauf(grenze);
            verlauf.Beginnen(a);
            verlauf.Festhalten(b), verlauf.Festhalten(c);
            QVERIFY(verlauf.Bytes() <= grenze);
            QCOMPARE(verlauf.Rueckgaengig() && verlauf.Rueckgaengig(), grenze > 1000);
            QVERIFY(!verlauf.Rueckgaengig());
            QCOMPARE(verlauf.Aktuell(), grenze > 1000 ? a : c);
            while (verlauf.Wiederherstellen()) QVERIFY(verlauf.Aktuell() == b || verlauf.Aktuell() == c);
            QCOMPARE(verlauf.Aktuell(), c);
        }
#ifdef __SANITIZE_ADDRESS__  // which counts every allocation
        // What the steps hold is what the history counts towards its limit, short texts (inside
        // the string) and longer ones (beside it) alike; a tenth more for the blocks of its deques.
        QStringList texte;
        for (int i = 0; i < 2000; ++i) texte << QString(i % 40 + 1, QChar(u'a' + i % 26));
        tovik::Stand d;
        tovik::Verlauf verlauf(std::size_t(1) << 30);
        verlauf.Beginnen(d);
        const std::size_t vorher = __sanitizer_get_current_allocated_bytes();
        for (const QString& text : texte) d.texte[1] = text, verlauf.Festhalten(d);
        const std::size_t belegt = __sanitizer_get_current_allocated_bytes() - vorher;
        QVERIFY2(belegt <= verlauf.Bytes() * 11 / 10,
                 qPrintable(QString("%1 held, %2 counted").arg(belegt).arg(verlauf.Bytes())));
#endif
    }

    // Qt's texts are German wherever they appear, though loaded only then: each way in is
    // taken by a window started without them. The cell's menu pastes a block as the keys do.
    void qtTexteDeutsch() {
        const auto ohneDeutsch = [&] {
            qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
            init();
        };
        tovik::Drucker().setOutputFileName(ordner.filePath("Seite.pdf"));
        QStringList gesehen;
        for (QPushButton* frm_Tovik::*knopf : {&frm_Tovik::Command3, &frm_Tovik::Command2}) {
            ohneDeutsch();
            Beantworten<QDialog>([&](QDialog* d) {
                gesehen << d->findChild<QDialogButtonBox*>()->buttons().value(0)->text();
                d->reject();
            });
            Klick(w.get()->*knopf);
        }
        ohneDeutsch();
        QGuiApplication::clipboard()->setText(
            "1\t2\t3\r\n4\t5\t6\r\n");  // before the menu, which offers it then
        QContextMenuEvent menue(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(w->Text4[0], &menue);  // Undo, Redo, -, Cut, Copy, Paste, ...
        gesehen << QApplication::activePopupWidget()->actions().value(0)->text();
        QApplication::activePopupWidget()->actions().value(5)->trigger();
        QApplication::activePopupWidget()->close();
        QCOMPARE(Satz(), "1 2 | 3; 4 5 | 6");
        ohneDeutsch();
        QAccessible::setActive(true);  // a screen reader comes up and asks what a button does
        auto* knopf = QAccessible::queryAccessibleInterface(w->Command1)->actionInterface();
        gesehen << knopf->localizedActionName(QAccessibleActionInterface::pressAction());
        QAccessible::setActive(false);
        QCOMPARE(gesehen.join('|'), "&Öffnen|&Drucken|&Rückgängig\tStrg+Z|Drücken");
    }
};

TOVIK_TEST_MAIN(TstFenster)
#include "tst_fenster.moc"
