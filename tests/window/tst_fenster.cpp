// The one window as it comes up (what a screen reader and the keyboard meet, the lower buttons
// at every size; its look is the reference images'), and what random steps bring about too
// seldom: the copy's x, a cell's long text and its faulty value's box, odd pastes and drops,
// the undo history's limit, and Qt's texts in German. The window in use, what the commands show,
// the N field, every way into a cell and the undo history: tst_modell and its transcript.

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
            {"X( 2 =", "X( 2 ="},
            {"X( 3) 5", "X( 3) 5"},
            {"1.00E+05", "1,00 mal zehn hoch 5"},
            {"-.5E-3", "-.5 mal zehn hoch minus 3"},
            {"a - b--4 3E+", "a - b-minus 4 3E+"},
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

    // What the model test (tst_modell) brings about too seldom: x is copied only while it
    // solves the record, whichever value of A or B changes, and again once the value is back;
    // not after the same N shows the system again, nor after a refused solve. A control
    // product beyond a double shows "Überlauf". A header field is taken when left for a
    // button, not for another program.
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
    // value would bring the message back. How cells read what is typed: tst_modell.
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
        QCOMPARE(GS.A[1][1], 1e99);  // as read before
    }

    // What is pasted into a cell (Ctrl+V, its menu) or dropped on the window reads exactly or
    // not at all; how blocks are read and placed, the model test's transcript holds. Here what
    // it does not make: a text that is no number, a long value named by its beginning, a block
    // of 10000 lines, a typeset minus by the menu. One Ctrl+Z takes the whole paste or drop
    // back. Dragged text is a copy, never a move. A system file dropped on the window or any
    // of its fields loads as "Öfffnen" loads one (a refused one leaves the system); other files
    // are refused, also the path text that comes with them; a drag with neither is not taken.
    void einfuegen_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QString>("daten");   // dropped: a file of the test's folder, text or an image
        QTest::addColumn<QString>("danach");  // the changed cells' texts | record | message
        const QString beispiel = "|" + kBeispiel + "|",
                      nicht = beispiel + "Der eingefügte Block passt nicht: ",
                      keine = beispiel +
                              "Im eingefügten Block ist Wert %1 in Zeile 1 keine Zahl: „%2“. "
                              "Es wurde nichts eingefügt.",
                      keinText =
                          beispiel + "Der eingefügte Text „%1“ ist keine Zahl; es wurde nichts eingefügt.";
        const QString zwei = " 1  2  4  5  3  6|1 2 | 3; 4 5 | 6|";
        const std::tuple<const char*, const char*, QString, QString> faelle[] = {
            {"menu", "Text5_1", "\u22127,5", "-7,5|3 4 7 | 90; 12 -7.5 0 | 78; 0 12 2 | 56|"},
            {"paste", "Text4_0", "1e", keinText.arg("1e")},
            {"paste", "Text4_0", "1\t2\t" + QString(40, '9') + "x", keine.arg(3).arg(QString(30, '9') + "…")},
            {"paste", "Text4_0", QString("1\t2\t3\t4\t5\t6\t7\n").repeated(10000),
             nicht + "10000 Zeilen mit bis zu 7 Werten, ab A(1,1) ist Platz für 3 Zeilen mit 4 Werten."},
            {"drop", "Text1", "zwei.tvk", zwei},
            {"drop", "Text5_0", "Fall.TVK", beispiel + "Fehler in Sub SystemAusDatei: Dateiende erreicht"},
            {"drop", "Text4_0", "Zwei.txt", beispiel},
            {"drop", "Text5_1", "1\t2\n3\t4", "1 2 3 4|3 4 7 | 90; 12 1 2 | 78; 0 3 4 | 56|"},
            {"move", "Text5_1", "1 2\n3 4", beispiel},  // a source that offers a move only
            {"image", "Text5_1", "PNG", beispiel},      // no text, no file
        };
        for (const auto& [weg, ziel, daten, danach] : faelle) {
            // Named by the way, the target and the text, its control characters shown.
            const auto name = daten.left(40).replace('\t', "\\t").replace('\n', "\\n").replace('\r', "\\r");
            QTest::addRow("%s %s %s", weg, ziel, qPrintable(name)) << weg << ziel << daten << danach;
        }
    }
    void einfuegen() {
        QFETCH(QString, weg);
        QFETCH(QString, ziel);
        QFETCH(QString, daten);
        const bool datei = weg == "drop" && daten.contains('.');  // else text, moved only where "move"
        QWidget* ort = w->findChild<QWidget*>(ziel);
        const QList<QLineEdit*> zellen = w->findChildren<QLineEdit*>(QRegularExpression("^Text[4-9]_"));
        QGuiApplication::clipboard()->setText(daten);
        QMimeData mime;  // a file as file managers offer it: its address, and its path as text
        if (weg == "image")
            mime.setData("image/png", daten.toLatin1());
        else
            mime.setText(datei ? ordner.filePath(daten) : daten);
        if (datei) {
            const QByteArray zwei = Zeilen({"h", "Zwei", "P", " 2", " 1", " 2", " 3", " 4", " 5", " 6"});
            QVERIFY(Schreiben(ordner.filePath(daten), daten == "Fall.TVK" ? zwei.left(10) : zwei));
            mime.setUrls({QUrl::fromLocalFile(ordner.filePath(daten))});
        }
        Meldungen meldungen;
        const QString anfang = Zustand(*w);
        QStringList vorher, geaendert;
        for (const QLineEdit* e : zellen) vorher << e->text();
        if (weg == "paste") QVERIFY(Tasten(ort, "Ctrl+A, Ctrl+V"));
        if (weg == "menu") {  // as a right click: the field takes the focus, all of it selected
            ort->setFocus(Qt::MouseFocusReason);
            static_cast<QLineEdit*>(ort)->selectAll();
            Menue(static_cast<QLineEdit*>(ort), 5);
        }
        if (weg != "paste" && weg != "menu")
            QCOMPARE(Fallen(ort, mime, weg == "move" ? Qt::MoveAction : Qt::CopyAction | Qt::MoveAction),
                     !daten.endsWith(".txt") && weg == "drop");
        for (int i = 0; i < zellen.size(); ++i)
            if (zellen[i]->text() != vorher[i]) geaendert << zellen[i]->text();
        QTEST(geaendert.join(' ') + "|" + Satz() + "|" + Texte(meldungen), "danach");
        QCOMPARE(w->Text1->text(), QString::fromStdString(GS.Projekt));  // a loaded header shown too
        // A value longer than its cell shows its beginning; one Ctrl+Z takes the paste back.
        for (const QLineEdit* e : zellen) QVERIFY(e->cursorPosition() == 0 || e->hasFocus());
        QVERIFY(Tasten(w->Text4[0], "Ctrl+Z"));
        QCOMPARE(Zustand(*w), anfang);
    }

    // The one file dialog of Open and Save: its title, its filters (the second chosen), first
    // the folder of the examples, then that of the file chosen last, whose name it offers
    // again; a name typed and then cancelled it does not.
    void dateidialog() {
        Beantworten<QFileDialog>([](QFileDialog* d) {
            d->findChild<QLineEdit*>("fileNameEdit")->setText("X.TVK");
            d->reject();
        });
        QVERIFY(Tasten(w->Text1, "Ctrl+O"));
        const auto erst = Dateiwahl(ordner.filePath("A.TVK"));
        QVERIFY(Tasten(w->Text1, "Ctrl+S"));
        const auto dann = Dateiwahl("");
        QVERIFY(Tasten(w->Text1, "Ctrl+S"));
        QCOMPARE(erst->join('|').remove(QRegularExpression("[^|]*/Beispiel")),
                 "Gleichungssystem speichern|Alle Dateien (*.*) | bisherige Projekte(*.TVK)|bisherige "
                 "Projekte(*.TVK)||");
        QCOMPARE(dann->mid(3).join('|'), QFileInfo(ordner.path()).canonicalFilePath() + "|A.TVK");
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
