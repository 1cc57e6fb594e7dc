// The one window as it comes up (the example, what a screen reader and the keyboard meet, the
// lower buttons at every size; its look is the reference images'), what its commands show, and
// Qt's texts in German. Cells, paste and undo: tst_eingabe; the window in use: tst_modell.

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

class TstFenster : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    QTemporaryDir ordner;
    int Px(double twips) const { return tovik::ZuPixel(twips, w->logicalDpiX()); }

private slots:
    void init() { w = NeuesFenster(); }
    void cleanup() {
        AntwortenAbschliessen();
        w.reset();
    }

    // Maximized and titled, the example in the record, nothing computed, the focus in the first
    // field; how the window looks is the reference images' (tst_bild). The styling of a button
    // sets face, size and weight, whatever the button had, and only of Command1 to Command4.
    void start() {
        QVERIFY(w->isMaximized());
        QCOMPARE(w->windowTitle(), "Programm  Tovik.vbp, Version 5.0");
        QCOMPARE(QApplication::focusWidget(), w->Text1);
        QCOMPARE(QString::fromStdString(GS.Projekt + "|" + GS.Position + "|") + Satz(),
                 "Test|1|" + kBeispiel);
        QCOMPARE(GS.X[1], 0.0);  // the report would print it
        w->Command1->setFont(QFont("Serif", 20, QFont::Bold));
        KnopfEinrichten(*w, 1, "Berechnen");
        KnopfEinrichten(*w, 5, "X");
        QCOMPARE(w->Command1->font(), w->Command2->font());
        QCOMPARE(w->Command5->text(), "A symmetrisch");
    }

    // What a screen reader meets: the names of fields and cells, each caption's control named by
    // it as a voice should say it; the window a window, the lines mere separators. Of size N, the Tab key
    // visits every shown control that takes the focus, each named, no two alike; with all cells (N = 5) in
    // the order of the design's tab indices. The Tab out of a header field takes its text into the record, at
    // any length. And what a voice is given for the text of a result (x or A*x - B): numbers with a decimal
    // comma, their signs and exponents in words; what only looks like a number or a label stays as it is.
    void zugang() {
        const auto z = [](QObject* e) { return QAccessible::queryAccessibleInterface(e); };
        const std::pair<QWidget*, QString> namen[] = {
            {w->Text5[2], "A Zeile 2 Spalte 3"},
            {w->Text9[0], "B Zeile 1"},
            {w->Text10[0], "Lösung x 1"},
            {w->Text11[4], "Kontrolle Zeile 5"},
            {w->Text3, w->Label4->text().chopped(2)},  // the label without " =", and its note
        };
        for (const auto& [e, name] : namen) QCOMPARE(z(e)->text(QAccessible::Name), name);
        QCOMPARE(z(w->Text3)->text(QAccessible::Description), w->Label8->text());
        for (QWidget* e : w->findChildren<QWidget*>(QRegularExpression("^(Label|Frame|Command)\\d+$"))) {
            const QString text = e->property(qobject_cast<QGroupBox*>(e) ? "title" : "text").toString();
            QCOMPARE(z(e)->text(QAccessible::Name).replace('\n', ' '), tovik::Sprechform(text));
        }
        QCOMPARE(z(w.get())->role(), QAccessible::Window);
        for (QFrame* linie : {w->Line1, w->Line2, w->Line3, w->Line4})
            QCOMPARE(z(linie)->role(), QAccessible::Separator);
        QString erwartet =
            "Text1 Text2 Text3 Text4_0 Text5_0 Text6_0 Text7_0 Text8_0 Text9_0 Text10_0 Command2 Command3 "
            "Command4 Text11_0 Command5 Command6";
        for (int reihe : {11, 10, 4, 5, 6, 7, 8, 9})
            for (int k = 1; k < 5; ++k) erwartet += QString(" Text%1_%2").arg(reihe).arg(k);
        w->Text1->setText(QString(40000, 'P'));  // taken by the Tab out of it, at any length
        for (const auto& [n, bedienbar] : {std::pair(3, 3 + 9 + 9 + 6), std::pair(5, 3 + 25 + 15 + 6)}) {
            w->Text3->setText(QString::number(n));  // 3 header fields, A, B, x, A*x - B, 6 buttons
            w->Text1->setFocus();
            QStringList folge;
            QSet<QString> genannt;
            do {
                folge << QApplication::focusWidget()->objectName();
                genannt << z(QApplication::focusWidget())->text(QAccessible::Name);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } while (QApplication::focusWidget() != w->Text1 && folge.size() < 100);
            genannt.remove(QString());
            QCOMPARE(QList({folge.size(), genannt.size()}), QList<qsizetype>({bedienbar, bedienbar}));
            if (n == 5) QCOMPARE(folge.join(' '), erwartet + " Command1");
        }
        QCOMPARE(GS.Projekt.size(), 40000u);
        const std::pair<const char*, const char*> gesprochen[] = {
            {"X( 19) = -9.5", "x 19 gleich minus 9,5"},
            {"X(\t2) \r=4,25", "x 2 gleich4,25"},
            {"X( ) = 1", "X( ) = 1"},
            {"X( 2 =", "X( 2 ="},
            {"X(7)=", "x 7 gleich"},
            {"1.00E+05", "1,00 mal zehn hoch 5"},
            {"-.5E-3", "-.5 mal zehn hoch minus 3"},
            {"2E5 3E+ 7.", "2E5 3E+ 7."},
            {"a - b--4", "a - b-minus 4"},
            {"1.2.3", "1,2.3"},
            {"a(i,i) <> 0\n  x", "a(i,i) ungleich 0 x"},
        };
        for (const auto& [text, stimme] : gesprochen)
            for (QLineEdit* zelle : {w->Text10[0], w->Text11[4]}) {
                zelle->setText(text);
                QCOMPARE(z(zelle)->text(QAccessible::Description), QString(stimme));
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

    // Berechnen: the solution with the regional separator, the record back as entered. The
    // control product belongs to the last solve: an edit or a new solve does not change it.
    // A refused solve: its message, no solution. Mirroring shows the record again: plain number
    // text with a point whatever the locale, the labels without solution. Ctrl+Shift+C copies
    // the record as tab-separated lines in the user's separator, x only while it belongs to the
    // record, nothing without a system. A header field is taken when left for a button, not
    // for another program.
    void befehle() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Meldungen meldungen;
        const auto kopie = [&] {
            QGuiApplication::clipboard()->clear();
            return Tasten(w->Text1, "Ctrl+Shift+C") ? QGuiApplication::clipboard()->text() : "(not active)";
        };
        // The columns x and A*x - B; before any solve the control product is zero.
        const auto spalten = [&] { return Raster(*w).section('\n', 4); };
        Klick(w->Command6);
        QCOMPARE(spalten(), "X( 1) = |X( 2) = |X( 3) = \n0,00E+00|0,00E+00|0,00E+00");
        Klick(w->Command1);
        Klick(w->Command6);
        QCOMPARE(spalten(), "X( 1) = 3,918|X( 2) = 3,099|X( 3) = 9,407\n0,00E+00|-2,84E-14|2,84E-14");
        QCOMPARE(kopie().section('\n', 2), "0\t12\t2\t56\t9,40740740740741\n");
        for (auto [zelle, alt] : {std::pair(w->Text4[0], "3"), {w->Text4[2], "7"}, {w->Text9[2], "56"}}) {
            Tippen(zelle, "5");  // x no longer solves the record, and then again it does
            const int ohne = kopie().count('\t');
            Tippen(zelle, alt);
            QCOMPARE(QList({ohne, int(kopie().count('\t'))}), QList({9, 12}));
        }
        w->Text3->setText("03");  // the same N shows the system, x no longer
        QCOMPARE(kopie().count('\t'), 9);
        Tippen(w->Text9[0], "100");
        Klick(w->Command6);
        Klick(w->Command1);
        QCOMPARE(spalten(), "X( 1) = 4,123|X( 2) = 2,852|X( 3) = 10,889\n0,00E+00|-2,84E-14|2,84E-14");
        GS.X[1] = std::numeric_limits<double>::max();
        Klick(w->Command6);
        QCOMPARE(w->Text11[0]->text() + w->Text11[1]->text(), "ÜberlaufÜberlauf");
        Tippen(w->Text4[0], "0");
        Klick(w->Command1);
        QCOMPARE(Texte(meldungen) + spalten().section('\n', 0, 0), "*** Hauptdiagonalglied < 10-5!||");
        QCOMPARE(Satz(3), "0 4 7 | 100; 12 10 0 | 78; 0 12 2 | 56");
        Tippen(w->Text4[1], "-,25");
        Tippen(w->Text9[1], ",5");
        Tippen(w->Text2, "7b");
        QFocusEvent fort(QEvent::FocusOut, Qt::ActiveWindowFocusReason);  // to another program: not taken
        QApplication::sendEvent(w->Text2, &fort);
        QCOMPARE(GS.Position, "1");
        Klick(w->Command5);  // but the click on a button takes it
        QCOMPARE(Satz(3) + w->Text2->text() + Raster(*w),
                 "0 -0.25 7 | 100; -0.25 10 0 | 0.5; 7 0 2 | 567b 0|-.25| 7\n-.25| 10| 0\n 7| 0| 2\n"
                 " 100| .5| 56\nX( 1) = |X( 2) = |X( 3) = \n||");
        Tippen(w->Text4[2], "-2,5E+20");  // the tables' digits are whole ones, as short as they go
        kopie();
        QVERIFY(QGuiApplication::clipboard()->mimeData()->html().contains("<td>-25E19</td><td>100</td>"));
        w->Text3->setText("0");
        QCOMPARE(kopie(), "");  // no system, nothing copied
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
        QGuiApplication::clipboard()->setText("1\t2\t3\n4\t5\t6\n");  // before the menu, which offers it then
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
