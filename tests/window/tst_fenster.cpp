// The one window: as it comes up (the example in the grid, the design's geometry checked by
// its invariants, captions and fonts, keyboard order, the lower buttons, what a screen reader
// meets) and in use (N, cells and header fields, the commands and every way into them, the
// messages, paste, copy and drop).

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTranslator>
#include <memory>
#include <random>

#include "Gleichungssystem.h"
#include "Meldungsfenster.h"
#include "Mod_Allg.h"
#include "Sprechform.h"
#include "SystemDrucken.h"
#include "Testhilfen.h"
#include "Twips.h"
#include "frm_Tovik.h"

using tovik::GS;

namespace {

// A fresh record (the window loads the example) and a window on it, shown and active.
std::unique_ptr<frm_Tovik> NeuesFenster() {
    tovik::GleichungssystemZuruecksetzen();
    auto w = std::make_unique<frm_Tovik>();
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get())) qFatal("window not active");
    tovik::SetzeMeldungsHook(Unerwartet);  // instead of the window's real boxes
    return w;
}

// The eight cell arrays: rows 1 to 5 of A, B, x, A*x - B.
QList<const frm_Tovik::Feldreihe*> Reihen(const frm_Tovik& w) {
    return {&w.Text4, &w.Text5, &w.Text6, &w.Text7, &w.Text8, &w.Text9, &w.Text10, &w.Text11};
}

// The visible cells by array, e.g. "Text4: 3|4|7" per line; hidden ones are left out.
QString Raster(const frm_Tovik& w) {
    QStringList zeilen;
    for (const auto* reihe : Reihen(w)) {
        QStringList texte;
        for (const QLineEdit* zelle : *reihe)
            if (!zelle->isHidden()) texte << zelle->text();
        if (!texte.isEmpty()) zeilen << (*reihe)[0]->objectName().chopped(2) + ": " + texte.join('|');
    }
    return zeilen.join('\n');
}

// Rows 1..n of A and B in the record, e.g. "1 2 | 3; 4 5 | 6".
QString Satz(int n = GS.N) {
    QStringList zeilen;
    for (int i = 1; i <= n; ++i) {
        QStringList z;
        for (int j = 1; j <= n; ++j) z << QString::number(GS.A[i][j], 'g', 15);
        zeilen << z.join(' ') + " | " + QString::number(GS.B[i], 'g', 15);
    }
    return zeilen.join("; ");
}

// Replaces a field's text by typing: the field takes the focus, all is selected, then the keys.
void Tippen(QLineEdit* feld, const QString& text) {
    feld->setFocus(Qt::TabFocusReason);
    QTest::keyClick(feld, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(feld, text);
}

const QString kBeispiel = "3 4 7 | 90; 12 10 0 | 78; 0 12 2 | 56";
void Klick(QPushButton* knopf) { QTest::mouseClick(knopf, Qt::LeftButton); }

// Keys go to the focused control of the active window, where the window's shortcuts take them.
bool Tasten(QLineEdit* zelle, const char* folge) {
    QApplication::setActiveWindow(zelle->window());
    if (!QTest::qWaitForWindowActive(zelle->window())) return false;
    zelle->setFocus();
    if (folge) QTest::keySequence(zelle, QKeySequence(folge));
    return true;
}

// The messages shown, without their caption "Tovik".
QString Texte(const Meldungen& m) { return m.texte.join('|').remove("Tovik: "); }

// A pasted or dropped text as a test row's name: its control characters shown.
QByteArray Name(QString text) {
    return text.left(40).replace('\t', "\\t").replace('\n', "\\n").replace('\r', "\\r").toUtf8();
}

}  // namespace

class TstFenster : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    QTemporaryDir ordner;
    int Px(double twips) const { return tovik::ZuPixel(twips, w->logicalDpiX()); }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        w = NeuesFenster();
    }
    void cleanup() {
        AntwortenAbschliessen();
        w.reset();
    }

    // The example in the grid, nothing computed; every caption, and every control's font by
    // the names that have it (the styling of a button sets face, size and weight, and only of
    // Command1 to Command4): every face is arial, only frame captions are red.
    void start() {
        QVERIFY(w->isMaximized());
        QCOMPARE(w->windowTitle(), "Programm  Tovik.vbp, Version 5.0");
        QCOMPARE(QApplication::focusWidget(), w->Text1);
        QCOMPARE(w->Text1->text() + '|' + w->Text2->text() + '|' + w->Text3->text() + '\n' + Raster(*w),
                 "Test|1| 3\nText4:  3| 4| 7\nText5:  12| 10| 0\nText6:  0| 12| 2\nText9:  90| 78| 56\n"
                 "Text10: X( 1) = |X( 2) = |X( 3) = \nText11: ||");
        QCOMPARE(GS.X[1], 0.0);
        w->Command1->setFont(QFont("Serif", 20, QFont::Bold));
        KnopfEinrichten(*w, 1, "Berechnen");
        KnopfEinrichten(*w, 5, "X");
        QStringList texte;
        for (const QWidget* e : w->findChildren<QWidget*>(QRegularExpression("^(Label|Frame|Command)\\d+$")))
            texte << e->objectName() + "=" +
                         e->property(qobject_cast<const QGroupBox*>(e) ? "title" : "text").toString();
        texte.sort();
        QCOMPARE(
            texte.join('|'),
            "Command1=Berechnen|Command2=Drucken|Command3=Öfffnen|Command4=Speichern|Command5=A symmetrisch|"
            "Command6=A * x - B =|Frame1=Einheiten |Frame2=Eingaben |Frame3=Ergebnisse |Frame4=Kontrolle |"
            "Label10=Lösungen x|Label11=Nullvektor|Label1=Lösung von linearen Gleichungssystemen nach Tovik\n"
            "mit mehrfachen rechten Seiten|Label2=Projekt|Label3=Position|Label4=Anzahl der Gleichungen und "
            "Unbekannten N =|Label5=Koeffizientenmatrix A|Label6=rechte Seite B|Label7=* x =|Label8=(Bei "
            "Eingabe von N wird das Gleichungssystem gelöscht!)|Label9=(Voraussetzung: Hauptdiagonalelemente "
            "a(i,i) <> 0\nfalls nicht erfüllt: Reihenfolge der Gleichungen ändern!)");
        const std::pair<const char*, const char*> schriften[] = {
            {"arial 12 bold red", "Frame[1-4]"},
            {"arial 14", "Command[1-4]"},
            {"arial 10 bold", "Command[56]|Label([5-79]|1[01])"},
            {"arial 12 bold", "Label1"},
            {"arial 7.5", "Label[2348]|Text\\d+(_\\d)?"}};
        for (const QWidget* e :
             w->findChildren<QWidget*>(QRegularExpression("^(Frame|Command|Label|Text)\\d"))) {
            const QFont f = e->font();
            const bool rot = e->palette().color(QPalette::WindowText) == Qt::red;
            for (const auto& [soll, namen] : schriften)
                if (QRegularExpression(QString("^(%1)$").arg(namen)).match(e->objectName()).hasMatch())
                    QCOMPARE(QString("%1 %2 %3%4%5")
                                 .arg(e->objectName(), f.family(), QString::number(f.pointSizeF()),
                                      f.bold() ? " bold" : "", rot ? " red" : ""),
                             e->objectName() + " " + soll);
        }
    }

    // Any wrong number in the design tables breaks one of these: every control inside its
    // container and clear of the others there; the cells in rows and columns at the design's
    // pitch; the text boxes of their size; what lines up in the design; every caption inside
    // its control at its font.
    void entwurf() {
        w->setWindowState(Qt::WindowNoState);
        w->resize(Px(16000), Px(9600));  // room for every frame
        QTRY_COMPARE(w->width(), Px(16000));
        for (QWidget* behaelter : QList<QWidget*>{w.get(), w->Frame1, w->Frame2, w->Frame3, w->Frame4}) {
            const auto kinder = behaelter->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            QVERIFY(kinder.size() >= 4);
            for (const QWidget* a : kinder) {
                QVERIFY2(behaelter->rect().contains(a->geometry()), qPrintable(a->objectName()));
                for (const QWidget* b : kinder) {
                    const QRect schnitt = a->geometry() & b->geometry();  // Label3 touches Text2 by 15 twips
                    QVERIFY2(a == b || std::min(schnitt.width(), schnitt.height()) <= 1,
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
                }
            }
        }
        const auto ort = [&](const QWidget* e) { return e->mapTo(w.get(), QPoint()); };
        const auto reihen = Reihen(*w);
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < tovik::kMaxN; ++k) {
                // A: rows down, columns right; B, x, A*x - B: element k on the row of A(k+1, .)
                const QPoint soll =
                    r < 5 ? ort(w->Text4[0]) + QPoint(Px(840) * k, Px(360) * r)
                          : QPoint(ort((*reihen[r])[0]).x(), ort(w->Text4[0]).y() + Px(360) * k);
                QVERIFY2(ort((*reihen[r])[k]) == soll, qPrintable((*reihen[r])[k]->objectName()));
            }
        for (const QLineEdit* t : w->findChildren<QLineEdit*>()) {
            const int breite = t->objectName().startsWith("Text10")   ? 1455
                               : t->objectName().startsWith("Text11") ? 1215
                                                                      : 735;
            QVERIFY2(t->size() == QSize(Px(breite), Px(285)), qPrintable(t->objectName()));
        }
        // The frames of the grid in one row, the header frame ending with the last; the column
        // headings on one line, one line high, the cells of x and A*x - B under theirs; the
        // title with the header frame and the note; the frames' buttons on one line; the
        // brackets as far from their cells on either side, all four alike.
        const auto zeile = [](const QWidget* e) { return std::pair(e->y(), e->height()); };
        for (const QWidget* e : {w->Frame3, w->Frame4}) QCOMPARE(zeile(e), zeile(w->Frame2));
        QCOMPARE(w->Frame1->geometry().right(), w->Frame4->geometry().right());
        for (const QLabel* e : {w->Label6, w->Label10, w->Label11}) QCOMPARE(ort(e).y(), ort(w->Label5).y());
        for (const QLabel* e : {w->Label2, w->Label3, w->Label4, w->Label6, w->Label10, w->Label11})
            QCOMPARE(e->height(), w->Label5->height());
        QCOMPARE(
            QList({w->Text10[0]->x(), w->Text11[0]->x(), w->Text4[0]->x(), w->Label1->y(), w->Label1->x()}),
            QList({w->Label10->x(), w->Label11->x(), w->Label5->x(), w->Frame1->y(), w->Label9->x()}));
        QCOMPARE(QList({ort(w->Command1).y(), ort(w->Command6).y()}), QList<int>(2, ort(w->Command5).y()));
        const auto mitte = [](const QFrame* l) { return l->geometry().center().x(); };
        QCOMPARE(w->Text4[0]->x() - mitte(w->Line2), w->Text9[0]->x() - mitte(w->Line3));
        QCOMPARE(mitte(w->Line1) - w->Text8[4]->geometry().right(),
                 mitte(w->Line4) - w->Text9[0]->geometry().right());
        for (const QFrame* l : {w->Line1, w->Line3, w->Line4}) QCOMPARE(zeile(l), zeile(w->Line2));
        QCOMPARE(w->Line2->y(), w->Text4[0]->y());
        for (const QLabel* l : w->findChildren<QLabel*>()) {
            const auto art = Qt::TextWordWrap | l->alignment();
            QVERIFY2(
                l->contentsRect().contains(l->fontMetrics().boundingRect(l->contentsRect(), art, l->text())),
                qPrintable(l->objectName()));
        }
        for (const QPushButton* k : w->findChildren<QPushButton*>()) {
            const QFontMetrics m = k->fontMetrics();
            QVERIFY2(m.horizontalAdvance(k->text()) + 8 < k->width() && m.height() + 4 < k->height(),
                     qPrintable(k->objectName()));
        }
        for (const QGroupBox* g : w->findChildren<QGroupBox*>())
            QVERIFY2(g->fontMetrics().horizontalAdvance(g->title()) + 16 < g->width(),
                     qPrintable(g->objectName()));
    }

    // What a screen reader meets: names and descriptions a voice reads right (the point of a
    // result is said as a decimal comma); of size N, every focusable, shown control named, no
    // two alike, no hidden cell; the window a window, the lines mere separators.
    void zugang() {
        w->Command1->click();
        const std::pair<QWidget*, const char*> namen[] = {
            {w->Frame2, "Eingaben|"},
            {w->Text5[2], "A Zeile 2 Spalte 3|"},
            {w->Text9[0], "B Zeile 1|"},
            {w->Text10[0], "Lösung x 1|x 1 gleich 3,918"},
            {w->Text11[4], "Kontrolle Zeile 5|"},
            {w->Text3,
             "Anzahl der Gleichungen und Unbekannten N|(Bei Eingabe von N wird das Gleichungssystem "
             "gelöscht!)"},
            {w->Label9,
             "(Voraussetzung: Hauptdiagonalelemente a(i,i) ungleich 0 falls nicht erfüllt: Reihenfolge der "
             "Gleichungen ändern!)|"}};
        const auto z = [](QObject* e) { return QAccessible::queryAccessibleInterface(e); };
        for (const auto& [e, text] : namen)
            QCOMPARE(z(e)->text(QAccessible::Name) + "|" + z(e)->text(QAccessible::Description), text);
        QCOMPARE(z(w.get())->role(), QAccessible::Window);
        for (QFrame* linie : {w->Line1, w->Line2, w->Line3, w->Line4})
            QCOMPARE(z(linie)->role(), QAccessible::Separator);
        for (const auto& [n, bedienbar] : {std::pair("3", 3 + 9 + 9 + 6), std::pair("5", 3 + 25 + 15 + 6)}) {
            Tippen(w->Text3, n);  // 3 header fields, A, B, x, A*x - B, 6 buttons
            QSet<QString> gefunden;
            for (QWidget* e : w->findChildren<QWidget*>())
                if (z(e)->state().focusable && !z(e)->state().invisible)
                    gefunden << z(e)->text(QAccessible::Name);
            QCOMPARE(gefunden.size() - gefunden.contains(QString()), bedienbar);
        }
    }

    // What a voice is given for a shown text: numbers with a decimal comma, their signs and
    // exponents in words; what only looks like a number or a label stays as it is.
    void sprechform_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gesprochen");
        const QList<std::pair<const char*, const char*>> faelle = {
            {"X( 12) = -3.5", "x 12 gleich minus 3,5"},
            {"X(\t2) \r=4,25", "x 2 gleich4,25"},
            {"X( ) = 1", "X( ) = 1"},
            {"X( 2 =", "X( 2 ="},
            {"X(7)=", "x 7 gleich"},
            {"X(1) x", "X(1) x"},
            {"X(2", "X(2"},
            {"3 -", "3 -"},
            {"1.00E+05", "1,00 mal zehn hoch 5"},
            {"-.5E-3", "-.5 mal zehn hoch minus 3"},
            {"2E5 3E+ 7.", "2E5 3E+ 7."},
            {"a - b--4", "a - b-minus 4"},
            {"1.2.3", "1,2.3"},
            {"a(i,i) <> 0\n  x", "a(i,i) ungleich 0 x"},
        };
        for (const auto& [text, gesprochen] : faelle) QTest::newRow(text) << text << gesprochen;
    }
    void sprechform() {
        QFETCH(QString, text);
        QTEST(tovik::Sprechform(text), "gesprochen");
    }

    // The keyboard order of all cells (N = 5), by the design's tab indices.
    void tabulatorfolge() {
        w->Text3->setText("5");
        w->Text1->setFocus();
        QString erwartet =
            "Text1 Text2 Text3 Text4_0 Text5_0 Text6_0 Text7_0 Text8_0 Text9_0 Text10_0 Command2 Command3 "
            "Command4 Text11_0 Command5 Command6";
        for (int reihe : {11, 10, 4, 5, 6, 7, 8, 9})
            for (int k = 1; k < 5; ++k) erwartet += QString(" Text%1_%2").arg(reihe).arg(k);
        erwartet += " Command1 Text1";
        QString folge = QApplication::focusWidget()->objectName();
        while (folge.size() < erwartet.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            folge += " " + QApplication::focusWidget()->objectName();
        }
        QCOMPARE(folge, erwartet);
    }

    // Speichern, Öfffnen, Drucken stand in a row at the lower right corner, spaced by the size
    // of Drucken whatever their own, at every size and state.
    void untereKnoepfe_data() {
        QTest::addColumn<int>("zustand");
        QTest::addColumn<QSize>("twips");   // client area; the window's own when empty
        QTest::addColumn<QSize>("eigene");  // of Öfffnen and Speichern
        QTest::newRow("maximized") << int(Qt::WindowMaximized) << QSize() << QSize(1750, 600);
        QTest::newRow("design size") << int(Qt::WindowNoState) << QSize(9285, 8550) << QSize(1750, 600);
        QTest::newRow("minimized") << int(Qt::WindowMinimized) << QSize(0, 0) << QSize(1750, 600);
        QTest::newRow("Öfffnen and Speichern smaller")
            << int(Qt::WindowNoState) << QSize(9285, 8550) << QSize(1000, 400);
    }
    void untereKnoepfe() {
        QFETCH(int, zustand);
        QFETCH(QSize, twips);
        QFETCH(QSize, eigene);
        for (QPushButton* k : {w->Command3, w->Command4}) tovik::SetzeTwips(k, QRectF(QPointF(), eigene));
        w->setWindowState(Qt::WindowNoState);
        if (twips.width() > 0) w->resize(Px(twips.width()), Px(twips.height()));
        w->setWindowState(Qt::WindowState(zustand));
        QTRY_COMPARE(int(w->windowState()), zustand);
        const QSize client = twips.isValid() ? QSize(Px(twips.width()), Px(twips.height())) : w->size();
        const std::tuple<QPushButton*, double, QSize> knoepfe[] = {
            {w->Command2, 1.3, {1750, 600}}, {w->Command3, 2.4, eigene}, {w->Command4, 3.5, eigene}};
        for (const auto& [k, faktor, groesse] : knoepfe) {
            const QPoint ecke(client.width() - Px(1750 * faktor), client.height() - Px(960));
            QTRY_COMPARE(k->geometry(), QRect(ecke, QSize(Px(groesse.width()), Px(groesse.height()))));
        }
    }

    // A message is a plain modal box, captioned "Tovik". The Escape or Enter that closes it, or
    // a dialog opened by a key (whose keys went up in it), goes up over the cell behind: the
    // cell's row is not read again, where its faulty value would bring the message back.
    void loslassen_data() {
        QTest::addColumn<bool>("dialog");
        QTest::newRow("message box") << false;
        QTest::newRow("save dialog opened by key") << true;
    }
    void loslassen() {
        QFETCH(bool, dialog);
        tovik::SetzeMeldungsHook(tovik::MeldungsfensterZeigen);  // a second box would fail the test
        QString gesehen;
        Beantworten<QDialog>([&](QDialog* d) {
            const auto* box = qobject_cast<QMessageBox*>(d);
            gesehen =
                d->windowTitle() +
                (box ? QString(": %1 %2 %3").arg(box->text()).arg(box->icon()).arg(box->buttons().size())
                     : "");
            QTest::keyRelease(d, Qt::Key_S, Qt::ControlModifier);
            QTest::keyPress(d, Qt::Key_Escape);
        });
        QVERIFY(Tasten(w->Text4[0], nullptr));
        w->Text4[0]->setText(dialog ? "1E999" : "1E99");
        if (dialog)
            QTest::keyPress(w->Text4[0], Qt::Key_S, Qt::ControlModifier);  // Ctrl+S goes up in the dialog
        if (!dialog) QTest::keyClick(w->Text4[0], Qt::Key_9);              // its release brings the message
        QTest::keyRelease(w->Text4[0], Qt::Key_Escape);
        QCOMPARE(gesehen, dialog ? "Gleichungssystem speichern" : "Tovik: fehlerhafte Eingabe 0 1");
    }

    // Every change of the field reads N; a new N zeroes the old system and shows exactly its
    // empty cells.
    void nFeld_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("danach");  // field text afterwards; " 5" after the message
        QTest::newRow("03") << "03" << 3 << "03";
        QTest::newRow("2,9") << "2,9" << 2 << "2,9";
        QTest::newRow("2.5") << "2.5" << 2 << "2.5";
        QTest::newRow("3.5") << "3.5" << 4 << "3.5";
        QTest::newRow("5.5") << "5.5" << 5 << " 5";
        QTest::newRow("40000") << "40000" << 5 << " 5";
        QTest::newRow("1E999") << "1E999" << 5 << " 5";
        QTest::newRow("empty") << "" << 0 << "";
        QTest::newRow("-3") << "-3" << 0 << "-3";
        QTest::newRow("1") << "1" << 1 << "1";
    }
    void nFeld() {
        QFETCH(QString, feld);
        QFETCH(int, n);
        QFETCH(QString, danach);
        Meldungen meldungen;
        w->Text3->setText(feld);
        QCOMPARE(Texte(meldungen) + "|" + w->Text3->text(),
                 (danach == " 5" ? "max. Rang des Gleichungssystems: N = 5|" : "|") + danach);
        QCOMPARE(int(GS.N), n);
        QCOMPARE(Satz(3), n == 3 ? kBeispiel : "0 0 0 | 0; 0 0 0 | 0; 0 0 0 | 0");
        QStringList raster;
        for (int r = 0; r < 8; ++r)
            if (n > 0 && (r < n || r >= 5))
                raster << QString("Text%1: ").arg(r + 4) + QStringList(n, "").join('|');
        QCOMPARE(Raster(*w), raster.join('\n'));
    }

    // A key release in a cell reads the first N cells of its row into the record, also cells
    // changed without a key; the press reads nothing; the text stays as typed. Only the first
    // comma is the decimal point; a value beyond a double is told and leaves the value of the
    // last good release.
    void zellen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");  // NaN: told, and the value stays
        QTest::newRow("1,5") << "1,5" << 1.5;
        QTest::newRow("-,5") << "-,5" << -0.5;
        QTest::newRow("1,5,3") << "1,5,3" << 1.5;
        QTest::newRow("1.000,5") << "1.000,5" << 1.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("1E999") << "1E999" << qQNaN();
    }
    void zellen() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        const std::pair<const frm_Tovik::Feldreihe*, tovik::Vektor*> zeilen[] = {
            {&w->Text4, &GS.A[1]}, {&w->Text5, &GS.A[2]}, {&w->Text6, &GS.A[3]},
            {&w->Text7, &GS.A[4]}, {&w->Text8, &GS.A[5]}, {&w->Text9, &GS.B}};
        for (const auto& [zellen, ziel] : zeilen) {
            Meldungen meldungen;
            (*zellen)[0]->setText("7");
            (*zellen)[1]->setText(text);
            (*zellen)[2]->setText(" 2e3");
            (*ziel)[2] = 10;
            (*ziel)[4] = 5;  // beyond N = 3: never read
            const QString vorher = Satz(3);
            QTest::keyPress((*zellen)[2], Qt::Key_Shift);
            QCOMPARE(Satz(3), vorher);
            QTest::keyRelease((*zellen)[2], Qt::Key_Shift);
            QCOMPARE(QList(ziel->begin() + 1, ziel->begin() + 5),
                     QList<double>({7, std::isnan(wert) ? 10 : wert, 2000, 5}));
            QCOMPARE(Texte(meldungen) + (*zellen)[1]->text(),
                     (std::isnan(wert) ? "fehlerhafte Eingabe" : "") + text);
        }
    }

    // A header field reaches the record when it is left, not when the window is; at any length.
    void kopfFelder() {
        GS.Projekt = std::string(40000, 'P');
        w->SystemAnzeigen();
        Tippen(w->Text2, "X");
        QFocusEvent fort(QEvent::FocusOut, Qt::ActiveWindowFocusReason);  // to another program
        QApplication::sendEvent(w->Text2, &fort);
        QCOMPARE(GS.Position, "1");
        QTest::keyClick(w->Text2, Qt::Key_Tab);
        w->Text1->setFocus();
        w->Text2->setFocus();
        QCOMPARE(GS.Position + " " + std::to_string(GS.Projekt.size()), "X 40000");
    }

    // Berechnen: the solution with the regional separator, the record back as entered. The
    // control product belongs to the last solve: an edit or a new solve does not change it.
    // A refused solve: its message, no solution. Mirroring shows the record again: plain number
    // text with a point whatever the locale, the labels without solution.
    void befehle() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Meldungen meldungen;
        const auto spalten = [&] {
            return Raster(*w).section('\n', 4).remove("Text10: ").replace("\nText11: ", " ");
        };
        Klick(w->Command6);  // before any solve: zeros
        QCOMPARE(spalten(), "X( 1) = |X( 2) = |X( 3) =  0,00E+00|0,00E+00|0,00E+00");
        Klick(w->Command1);
        Klick(w->Command6);
        QCOMPARE(spalten(), "X( 1) = 3,918|X( 2) = 3,099|X( 3) = 9,407 0,00E+00|-2,84E-14|2,84E-14");
        QCOMPARE(w->Text11[1]->accessibleDescription(),
                 "minus 2,84 mal zehn hoch minus 14");  // as a voice says it
        QCOMPARE(Satz(3), kBeispiel);
        Tippen(w->Text9[0], "100");
        Klick(w->Command6);
        Klick(w->Command1);
        QCOMPARE(spalten(), "X( 1) = 4,123|X( 2) = 2,852|X( 3) = 10,889 0,00E+00|-2,84E-14|2,84E-14");
        GS.X[1] = std::numeric_limits<double>::max();
        Klick(w->Command6);
        QCOMPARE(spalten().section(' ', -1).section('|', 0, 1), "Überlauf|Überlauf");
        Tippen(w->Text4[0], "0");
        Klick(w->Command1);
        QCOMPARE(Texte(meldungen) + spalten().section(' ', 0, 0), "*** Hauptdiagonalglied < 10-5!||");
        QCOMPARE(Satz(3), "0 4 7 | 100; 12 10 0 | 78; 0 12 2 | 56");
        GS.A[1][2] = -0.25;
        GS.B[2] = 0.5;
        GS.Position = "7b";
        Klick(w->Command5);
        QCOMPARE(Satz(3), "0 -0.25 7 | 100; -0.25 10 0 | 0.5; 7 0 2 | 56");
        QCOMPARE(w->Text2->text() + Raster(*w),
                 "7bText4:  0|-.25| 7\nText5: -.25| 10| 0\nText6:  7| 0| 2\n"
                 "Text9:  100| .5| 56\nText10: X( 1) = |X( 2) = |X( 3) = \nText11: ||");
    }

    // Whichever way a command comes (a click, its key from the field, Enter on its button), it
    // first takes the header field as typed: into the record, the file and the screen. A
    // refused file leaves the record, and the grid shows it again.
    void befehlswege_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("feld");
        for (const char* befehl : {"save", "open cancelled", "open refused", "print"})
            for (const char* weg : {"click", "key", "Enter"})
                for (const char* feld : {"Text1", "Text2"})
                    QTest::addRow("%s by %s from %s", befehl, weg, feld) << befehl << weg << feld;
    }
    void befehlswege() {
        QFETCH(QString, befehl);
        QFETCH(QString, weg);
        QFETCH(QString, feld);
        const std::map<QString, std::pair<QPushButton*, const char*>> knoepfe = {
            {"save", {w->Command4, "Ctrl+S"}},
            {"open", {w->Command3, "Ctrl+O"}},
            {"print", {w->Command2, "Ctrl+P"}}};
        const auto [knopf, taste] = knoepfe.at(befehl.section(' ', 0, 0));
        const QString datei = ordner.filePath(befehl == "save" ? "Neu.TVK" : "Fall.TVK");
        QVERIFY(Schreiben(ordner.filePath("Fall.TVK"), "h\r\nX\r\n"));
        tovik::Drucker().setOutputFileName(ordner.filePath("Seite.pdf"));
        if (befehl == "print") Beantworten<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
        if (befehl != "print") Dateiwahl(befehl == "open cancelled" ? "" : datei);
        Meldungen meldungen;
        auto* kopf = w->findChild<QLineEdit*>(feld);
        w->Text4[0]->setText("9");  // without a key: not in the record
        Tippen(kopf, "Neu");
        if (weg == "click") Klick(knopf);
        if (weg == "key") QVERIFY(Tasten(kopf, taste));
        if (weg == "Enter") knopf->setFocus(), QTest::keyClick(knopf, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(GS.Projekt + "|" + GS.Position) + "|" + kopf->text() + "|" +
                     w->Text4[0]->text(),
                 QString(feld == "Text1" ? "Neu|1|Neu|" : "Test|Neu|Neu|") +
                     (befehl.startsWith("open") ? " 3" : "9"));
        QCOMPARE(Texte(meldungen),
                 befehl == "open refused" ? "Fehler in Sub SystemAusDatei: Dateiende erreicht" : "");
        if (befehl == "save")
            QCOMPARE(Inhalt(datei).split('\r').mid(1, 2).join(""),
                     feld == "Text1" ? "\nNeu\n1" : "\nTest\nNeu");
    }

    // A block pasted into a cell spreads from there, A's columns then B, and the rows it
    // reaches are read; k lines of k + 1 values (k + 2 with x) into A(1,1) set N = k first. A
    // block that does not fit is told and changes nothing; one value is the cell's own paste.
    // Each changed cell undoes the paste in one step.
    void einfuegen_data() {
        QTest::addColumn<QString>("zelle");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("danach");  // the changed cells' texts | record | message
        const QString zwei = "2 1 1 3 5 6|2 1 | 5; 1 3 | 6|",
                      nicht = "|" + kBeispiel + "|Der eingefügte Block passt nicht: ";
        const QList<std::tuple<const char*, QString, QString>> faelle = {
            {"Text5_1", "7\n", "7\n|3 4 7 | 90; 12 7 0 | 78; 0 12 2 | 56|"},
            {"Text5_0", "1\t2\t3\t4", "1 2 3 4|3 4 7 | 90; 1 2 3 | 4; 0 12 2 | 56|"},
            {"Text5_1", "1,5;-2.5\r\n;\r\n", "1,5 -2.5  |3 4 7 | 90; 12 1.5 -2.5 | 78; 0 0 0 | 56|"},
            {"Text5_0", "0\n1E999", "0 1E999|3 4 7 | 90; 0 10 0 | 78; 0 12 2 | 56|fehlerhafte Eingabe"},
            {"Text9_0", "8\n9\n\n", "8 9|3 4 7 | 8; 12 10 0 | 9; 0 12 2 | 56|"},
            {"Text4_0", "2\t1\t5\n1\t3\t6\n", zwei},
            {"Text4_0", "2;1;5;1,8\n1;3;6;1,4", zwei},
            {"Text4_1", "1\t2\t3\t4",
             nicht + "1 Zeile mit bis zu 4 Werten, ab A(1,2) ist Platz für 3 Zeilen mit 3 Werten."},
            {"Text5_0", "1\n2\n3",
             nicht + "3 Zeilen mit bis zu 1 Wert, ab A(2,1) ist Platz für 2 Zeilen mit 4 Werten."},
            {"Text9_0", "8\t9",
             nicht + "1 Zeile mit bis zu 2 Werten, ab B(1) ist Platz für 3 Zeilen mit 1 Wert."},
            {"Text4_0", QString("1\n").repeated(10000),
             nicht + "10000 Zeilen mit bis zu 1 Wert, ab A(1,1) ist Platz für 3 Zeilen mit 4 Werten."},
            {"Text4_0", QString("1\t2\t3\t4\t5\t6\t7\n").repeated(6),
             nicht + "6 Zeilen mit bis zu 7 Werten, ab A(1,1) ist Platz für 3 Zeilen mit 4 Werten."}};
        for (const auto& [zelle, text, danach] : faelle) QTest::newRow(Name(text)) << zelle << text << danach;
    }
    void einfuegen() {
        QFETCH(QString, zelle);
        QFETCH(QString, text);
        auto* feld = w->findChild<QLineEdit*>(zelle);
        QList<std::pair<QLineEdit*, QString>> vorher;
        for (QLineEdit* e : w->findChildren<QLineEdit*>(QRegularExpression("^Text[4-9]_")))
            if (!e->isHidden()) vorher.append({e, e->text()});
        QGuiApplication::clipboard()->setText(text);
        Meldungen meldungen;
        QVERIFY(Tasten(feld, "Ctrl+A"));
        QTest::keyClick(feld, Qt::Key_V, Qt::ControlModifier);
        QStringList geaendert;
        for (QLineEdit* e : w->findChildren<QLineEdit*>(QRegularExpression("^Text[4-9]_")))
            if (!e->isHidden() && !vorher.contains({e, e->text()})) geaendert << e->text();
        QTEST(geaendert.join(' ') + "|" + Satz() + "|" + Texte(meldungen), "danach");
        for (const auto& [e, alt] : vorher)
            if (GS.N == 3) {  // a new N has built the grid anew
                e->undo();
                QCOMPARE(e->text(), alt);
            }
    }

    // Ctrl+Shift+C copies the record as tab-separated lines in the user's separator, x only
    // while it belongs to the record; pasted into A(1,1) of a new window, by the keys or by the
    // cell's menu, it gives the same system.
    void kopieren() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto kopie = [&] {
            QGuiApplication::clipboard()->clear();
            Tasten(w->Text1, "Ctrl+Shift+C");
            return QGuiApplication::clipboard()->text();
        };
        QCOMPARE(kopie(), "3\t4\t7\t90\n12\t10\t0\t78\n0\t12\t2\t56\n");
        Klick(w->Command1);
        QCOMPARE(kopie().section('\n', 2), "0\t12\t2\t56\t9,40740740740741\n");
        for (const auto& [zelle, wert] :
             {std::pair(w->Text4[0], "3"), {w->Text4[2], "7"}, {w->Text9[2], "56"}}) {
            Tippen(zelle, "5");  // x no longer solves the record, and then again it does
            const int ohne = kopie().count('\t');
            Tippen(zelle, wert);
            QCOMPARE(QList({ohne, int(kopie().count('\t'))}), QList({9, 12}));
        }
        w->Text3->setText("0");
        QCOMPARE(kopie(), "");  // no system, nothing copied
        std::mt19937 zufall(20);
        std::uniform_real_distribution<double> wert(-1, 1);
        for (int runde = 0; runde < 20; ++runde) {
            QLocale::setDefault(runde % 2 ? QLocale(QLocale::German) : QLocale(QLocale::English));
            GS.N = 1 + zufall() % 5;
            for (int i = 1; i <= GS.N; ++i) {
                for (int j = 0; j <= GS.N; ++j)
                    (j ? GS.A[i][j] : GS.B[i]) = wert(zufall) * std::pow(10.0, zufall() % 31 - 16.0);
                GS.A[i][i] = std::round(wert(zufall) * 1e4 + 2e4) * 1e11;  // solvable without a row exchange
            }
            w->SystemAnzeigen();
            if (runde % 3) Klick(w->Command1);  // then x is copied too, and left out when pasted
            const QString system = Satz();
            QCOMPARE(kopie().count('\t'), GS.N * (GS.N + (runde % 3 ? 1 : 0)));
            w = NeuesFenster();  // pasted by the keys, or by the cell's menu: Undo, Redo, -, Cut, Copy, Paste
            QContextMenuEvent menue(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
            QVERIFY(runde % 2 ? Tasten(w->Text4[0], "Ctrl+V") : QApplication::sendEvent(w->Text4[0], &menue));
            if (QWidget* menu = QApplication::activePopupWidget())
                menu->actions().at(5)->trigger(), menu->close();
            QCOMPARE(Satz(), system);
        }
    }

    // A system file dropped on the window or on any of its fields loads as "Öfffnen" loads one
    // (a refused one leaves the system); other files are ignored, also the path text that comes
    // with them; a block of text dropped on a cell spreads as pasted.
    void ablegen_data() {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QString>("daten");   // a file in the test's folder, or text with a tab
        QTest::addColumn<QString>("danach");  // taken? | N: record | the target's text | message
        const QString zwei = "1|2: 1 2 | 3; 4 5 | 6|", drei = "|3: " + kBeispiel + "|";
        QTest::newRow("Text4_0 Zwei.TVK") << "Text4_0"
                                          << "Zwei.TVK" << zwei + " 1|";
        QTest::newRow("frm_Tovik zwei.tvk") << "frm_Tovik"
                                            << "zwei.tvk" << zwei + "|";
        QTest::newRow("Text1 Zwei.TVK") << "Text1"
                                        << "Zwei.TVK" << zwei + "Zwei|";
        QTest::newRow("Text5_0 Fall.TVK")
            << "Text5_0"
            << "Fall.TVK"
            << "1" + drei + " 12|Fehler in Sub SystemAusDatei: Dateiende erreicht";
        QTest::newRow("Text4_0 Zwei.txt") << "Text4_0"
                                          << "Zwei.txt"
                                          << "0" + drei + " 3|";
        QTest::newRow("Text5_1 1\\t2\\n3\\t4") << "Text5_1"
                                               << "1\t2\n3\t4"
                                               << "1|3: 3 4 7 | 90; 12 1 2 | 78; 0 3 4 | 56|1|";
    }
    void ablegen() {
        QFETCH(QString, ziel);
        QFETCH(QString, daten);
        const QByteArray zwei = Zeilen({"h", "Zwei", "P", " 2", " 1", " 2", " 3", " 4", " 5", " 6"});
        for (const char* name : {"Zwei.TVK", "zwei.tvk", "Zwei.txt", "Fall.TVK"})
            QVERIFY(Schreiben(ordner.filePath(name), name[0] == 'F' ? zwei.left(10) : zwei));
        QMimeData mime;  // a file as file managers offer it: its address, and its path as text
        mime.setText(daten.contains('\t') ? daten : ordner.filePath(daten));
        if (!daten.contains('\t')) mime.setUrls({QUrl::fromLocalFile(ordner.filePath(daten))});
        QWidget* ort = ziel == w->objectName() ? w.get() : w->findChild<QWidget*>(ziel);
        Meldungen meldungen;
        QDragEnterEvent hinein(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent fallen(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ort, &hinein);
        QApplication::sendEvent(ort, &fallen);
        QCoreApplication::processEvents();  // the load waits for the drop to end
        const QString genommen = hinein.isAccepted() && fallen.isAccepted() ? "1|" : "0|";
        QTEST(genommen + QString::number(GS.N) + ": " + Satz() + "|" + ort->property("text").toString() +
                  "|" + Texte(meldungen),
              "danach");
    }

    // Qt's texts are German wherever they appear, though loaded only then: each way in is
    // taken by a window started without them.
    void qtTexteDeutsch() {
        const auto ohneDeutsch = [&] {
            qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
            w = NeuesFenster();
        };
        QStringList gesehen;
        for (QPushButton* frm_Tovik::*knopf : {&frm_Tovik::Command3, &frm_Tovik::Command2}) {
            ohneDeutsch();
            Meldungen meldungen;  // printing after the cancelled printer dialog finds no printer
            Beantworten<QDialog>([&](QDialog* d) {
                for (const QAbstractButton* k : d->findChild<QDialogButtonBox*>()->buttons())
                    gesehen << k->text();
                d->reject();
            });
            Klick(w.get()->*knopf);
        }
        ohneDeutsch();
        QContextMenuEvent menue(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(w->Text4[0], &menue);
        gesehen << QApplication::activePopupWidget()->actions().value(0)->text();
        QApplication::activePopupWidget()->close();
        ohneDeutsch();
        QAccessible::setActive(true);  // a screen reader comes up and asks what a button does
        gesehen << QAccessible::queryAccessibleInterface(w->Command1)
                       ->actionInterface()
                       ->localizedActionName(QAccessibleActionInterface::pressAction());
        QAccessible::setActive(false);
        QCOMPARE(gesehen.join('|'),
                 "&Öffnen|Abbrechen|&Drucken|Abbrechen|&Einstellungen >>|&Rückgängig\tStrg+Z|Drücken");
    }
};

TOVIK_TEST_MAIN(TstFenster)
#include "tst_fenster.moc"
