// The one window: as it comes up (the example in the grid, the design's geometry checked by
// its invariants, captions, fonts, keyboard order, the lower buttons, message boxes, what a
// screen reader meets) and in use (N, cells and header fields, the commands, open and save,
// the keys).

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTranslator>
#include <memory>

#include "Gleichungssystem.h"
#include "Meldungsfenster.h"
#include "Mod_Allg.h"
#include "Sprechform.h"
#include "Systemdatei.h"
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
QString Satz(int n) {
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
    QTest::keySequence(zelle, QKeySequence(folge));
    return true;
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

    void start() {
        QVERIFY(w->isMaximized());
        QCOMPARE(w->windowTitle(), "Programm  Tovik.vbp, Version 5.0");
        QCOMPARE(QApplication::focusWidget(), w->Text1);
        QCOMPARE(w->Text1->text() + '|' + w->Text2->text() + '|' + w->Text3->text(), "Test|1| 3");
        QCOMPARE(Raster(*w),
                 "Text4:  3| 4| 7\nText5:  12| 10| 0\nText6:  0| 12| 2\nText9:  90| 78| 56\n"
                 "Text10: X( 1) = |X( 2) = |X( 3) = \nText11: ||");
        QCOMPARE(GS.X[1], 0.0);  // nothing is computed at start-up
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
        // One control per way its font is set: every face is arial, only frame captions are red.
        QStringList schriften;
        for (const char* name :
             {"Frame1", "Label5", "Label4", "Label1", "Command6", "Command3", "Text10_0"}) {
            const QWidget* e = w->findChild<QWidget*>(name);
            schriften << QString("%1 %2%3%4")
                             .arg(e->font().family())
                             .arg(e->font().pointSizeF())
                             .arg(e->font().bold() ? " bold" : "",
                                  e->palette().color(QPalette::WindowText) == Qt::red ? " red" : "");
        }
        QCOMPARE(schriften.join('|'),
                 "arial 12 bold red|arial 10 bold|arial 7.5|arial 12 bold|arial 10 bold|arial 14|arial 7.5");
        KnopfEinrichten(*w, 5, "X");  // only Command1 to Command4, though Command5 follows the name rule
        QCOMPARE(std::pair(w->Command5->text(), w->Command5->font().pointSizeF()),
                 std::pair(QString("A symmetrisch"), 10.0));
        w->Command1->setFont(QFont("Serif"));  // the styling sets the face too
        KnopfEinrichten(*w, 1, "Berechnen");
        QCOMPARE(w->Command1->font().family(), "arial");
    }

    // Any wrong number in the design tables breaks one of these: every control inside its
    // container and clear of the others there; the cells in rows and columns at the design's
    // pitch, all of one height; every caption inside its control at its font.
    void entwurf() {
        w->setWindowState(Qt::WindowNoState);
        w->resize(Px(16000), Px(9600));  // room for every frame
        QTRY_COMPARE(w->width(), Px(16000));
        for (QWidget* behaelter :
             std::initializer_list<QWidget*>{w.get(), w->Frame1, w->Frame2, w->Frame3, w->Frame4}) {
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
            QCOMPARE(std::pair(rahmen->y(), rahmen->height()),
                     std::pair(w->Frame2->y(), w->Frame2->height()));
        QCOMPARE(w->Frame1->geometry().right(), w->Frame4->geometry().right());
        const auto reihen = Reihen(*w);
        const QPoint ecke = w->Text4[0]->mapTo(w.get(), QPoint());
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < tovik::kMaxN; ++k) {
                const QLineEdit* zelle = (*reihen[r])[k];
                const QPoint ort = zelle->mapTo(w.get(), QPoint());
                // A: rows of A down, columns right; B, x, A*x - B: element k on the row of A(k+1, .)
                const QPoint soll =
                    r < 5 ? ecke + QPoint(Px(840) * k, Px(360) * r)
                          : QPoint((*reihen[r])[0]->mapTo(w.get(), QPoint()).x(), ecke.y() + Px(360) * k);
                QVERIFY2(ort == soll && zelle->height() == Px(285) && (r > 5 || zelle->width() == Px(735)),
                         qPrintable(zelle->objectName()));
            }
        // What lines up: the column headings on one line, the cells of x and A*x - B under theirs;
        // the title with the header frame and the note; the frames' buttons on one line; the
        // brackets as far from their cells on either side, all four alike.
        const auto oben = [&](const QWidget* e) { return e->mapTo(w.get(), QPoint()).y(); };
        for (const QLabel* k : {w->Label6, w->Label10, w->Label11})
            QCOMPARE(std::pair(oben(k), k->height()), std::pair(oben(w->Label5), w->Label5->height()));
        for (const QLabel* k : {w->Label2, w->Label3, w->Label4})
            QCOMPARE(k->height(), w->Label5->height());  // one line each
        QCOMPARE(std::tuple(w->Text10[0]->x(), w->Text11[0]->x(), w->Text4[0]->x()),
                 std::tuple(w->Label10->x(), w->Label11->x(), w->Label5->x()));
        QCOMPARE(std::pair(w->Label1->y(), w->Label1->x()), std::pair(w->Frame1->y(), w->Label9->x()));
        QCOMPARE(std::pair(oben(w->Command1), oben(w->Command6)),
                 std::pair(oben(w->Command5), oben(w->Command5)));
        const auto mitte = [](const QFrame* l) { return l->geometry().center().x(); };
        QCOMPARE(w->Text4[0]->x() - mitte(w->Line2), w->Text9[0]->x() - mitte(w->Line3));
        QCOMPARE(mitte(w->Line1) - w->Text8[4]->geometry().right(),
                 mitte(w->Line4) - w->Text9[0]->geometry().right());
        for (const QFrame* l : {w->Line1, w->Line3, w->Line4})
            QCOMPARE(std::pair(l->y(), l->height()), std::pair(w->Line2->y(), w->Line2->height()));
        QCOMPARE(w->Line2->y(), w->Text4[0]->y());
        for (const QLabel* l : w->findChildren<QLabel*>()) {
            const QRect text = l->fontMetrics().boundingRect(l->contentsRect(),
                                                             Qt::TextWordWrap | l->alignment(), l->text());
            QVERIFY2(l->contentsRect().contains(text), qPrintable(l->objectName()));
        }
        for (const QPushButton* k : w->findChildren<QPushButton*>())
            QVERIFY2(k->fontMetrics().horizontalAdvance(k->text()) + 8 < k->width() &&
                         k->fontMetrics().height() + 4 < k->height(),
                     qPrintable(k->objectName()));
        for (const QGroupBox* g : w->findChildren<QGroupBox*>())
            QVERIFY2(g->fontMetrics().horizontalAdvance(g->title()) + 16 < g->width(),
                     qPrintable(g->objectName()));
    }

    // What a screen reader meets: names and descriptions a voice reads right (the point of a
    // result is said as a decimal comma); of size N, every focusable, shown control named, no
    // two alike, no hidden cell; the window a window, the lines mere separators.
    void zugang() {
        w->Command1->click();
        const std::tuple<QWidget*, const char*, const char*> namen[] = {
            {w->Frame2, "Eingaben", ""},
            {w->Text5[2], "A Zeile 2 Spalte 3", ""},
            {w->Text9[0], "B Zeile 1", ""},
            {w->Text10[0], "Lösung x 1", "x 1 gleich 3,918"},
            {w->Text11[4], "Kontrolle Zeile 5", ""},
            {w->Text3, "Anzahl der Gleichungen und Unbekannten N",
             "(Bei Eingabe von N wird das Gleichungssystem gelöscht!)"},
            {w->Label9,
             "(Voraussetzung: Hauptdiagonalelemente a(i,i) ungleich 0 falls nicht erfüllt: Reihenfolge der "
             "Gleichungen ändern!)",
             ""}};
        for (const auto& [e, name, beschreibung] : namen) {
            QAccessibleInterface* z = QAccessible::queryAccessibleInterface(e);
            QCOMPARE(z->text(QAccessible::Name) + "|" + z->text(QAccessible::Description),
                     QString(name) + "|" + beschreibung);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(w.get())->role(), QAccessible::Window);
        for (QFrame* linie : {w->Line1, w->Line2, w->Line3, w->Line4})
            QCOMPARE(QAccessible::queryAccessibleInterface(linie)->role(), QAccessible::Separator);
        for (const auto& [n, bedienbar] : {std::pair("3", 3 + 9 + 9 + 6), std::pair("5", 3 + 25 + 15 + 6)}) {
            Tippen(w->Text3, n);  // 3 header fields, A, B, x, A*x - B, 6 buttons
            QSet<QString> gefunden;
            for (QWidget* e : w->findChildren<QWidget*>()) {
                QAccessibleInterface* z = QAccessible::queryAccessibleInterface(e);
                if (z->state().focusable && !z->state().invisible) gefunden << z->text(QAccessible::Name);
            }
            QCOMPARE(gefunden.size(), bedienbar);
            QVERIFY(!gefunden.contains(QString()));
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
        const int n = 5;
        w->Text3->setText(QString::number(n));
        w->Text1->setFocus();
        const auto zellen = [&](int reihe, int ab) {
            QStringList namen;
            for (int k = ab; k < n; ++k) namen << QString("Text%1_%2").arg(reihe).arg(k);
            return namen;
        };
        QStringList erwartet = {"Text1", "Text2", "Text3"};
        for (int r = 4; r < 4 + n; ++r) erwartet << zellen(r, 0).first();
        erwartet << "Text9_0"
                 << "Text10_0"
                 << "Command2"
                 << "Command3"
                 << "Command4"
                 << "Text11_0"
                 << "Command5"
                 << "Command6" << zellen(11, 1) << zellen(10, 1);
        for (int r = 4; r < 4 + n; ++r) erwartet << zellen(r, 1);
        erwartet << zellen(9, 1) << "Command1"
                 << "Text1";
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
            QTRY_COMPARE(k->geometry(),
                         QRect(links - Px(1750), client.height() - Px(960), Px(1750), Px(600)));
            links -= Px(1750 + 175);
        }
    }

    // A plain modal box, captioned as given. The Enter that closes it never reaches the cell
    // behind it, whose row would be read again and bring the same message back.
    void meldungsfenster() {
        tovik::SetzeMeldungsHook(tovik::MeldungsfensterZeigen);
        QStringList gesehen;
        const auto antwort = [&](QMessageBox* box) {
            gesehen << QString("%1: %2 %3 %4")
                           .arg(box->windowTitle(), box->text())
                           .arg(box->icon())
                           .arg(box->buttons().size());
            QApplication::setActiveWindow(box);  // up is not yet active: Enter would go to the cell
            QTest::keyPress(box->focusWidget(), Qt::Key_Return);
        };
        Beantworten<QMessageBox>(antwort);
        Tippen(w->Text4[0], "1E999");
        QTest::keyRelease(w->Text4[0], Qt::Key_Return);
        QCOMPARE(gesehen, QStringList{"Tovik: fehlerhafte Eingabe 0 1"});
    }

    // Every change of the field reads N; a new N zeroes the old system and shows exactly its
    // empty cells.
    void nFeld_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("danach");  // field text afterwards; " 5" after the message
        const QList<std::tuple<const char*, int, const char*>> faelle = {
            {"03", 3, "03"},  {"2,9", 2, "2,9"}, {"2.5", 2, "2.5"},  {"3.5", 4, "3.5"},
            {"5.5", 5, " 5"}, {"37", 5, " 5"},   {"40000", 5, " 5"}, {"1E999", 5, " 5"},
            {"", 0, ""},      {"abc", 0, "abc"}, {"-3", 0, "-3"},    {"1", 1, "1"}};
        for (const auto& [feld, n, danach] : faelle) QTest::newRow(feld) << feld << n << danach;
    }
    void nFeld() {
        QFETCH(QString, feld);
        QFETCH(int, n);
        QFETCH(QString, danach);
        Meldungen meldungen;
        w->Text3->setText(feld);
        QCOMPARE(meldungen.texte,
                 QStringList(danach == " 5", "Tovik: max. Rang des Gleichungssystems: N = 5"));
        QCOMPARE(int(GS.N), n);
        QCOMPARE(w->Text3->text(), danach);
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
        const QList<std::pair<QString, double>> faelle = {{"1,5", 1.5},   {"-,5", -0.5}, {"1,5,3", 1.5},
                                                          {"1.000,5", 1}, {"", 0},       {"abc", 0},
                                                          {"12abc", 12},  {"3 4", 34},   {"1E999", qQNaN()}};
        for (const auto& [text, wert] : faelle) QTest::newRow(qPrintable(text)) << text << wert;
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
            QCOMPARE(QList<double>(ziel->begin() + 1, ziel->begin() + 5),
                     (QList<double>{7, std::isnan(wert) ? 10 : wert, 2000, 5}));
            QCOMPARE(meldungen.texte, QStringList(std::isnan(wert), "Tovik: fehlerhafte Eingabe"));
            QCOMPARE((*zellen)[1]->text(), text);
        }
    }

    // The header fields reach the record when left (a click on a command leaves them first),
    // at any length.
    void kopfFelder() {
        Tippen(w->Text1, "X");
        QFocusEvent fort(QEvent::FocusOut, Qt::ActiveWindowFocusReason);  // to another program: not left
        QApplication::sendEvent(w->Text1, &fort);
        QCOMPARE(GS.Projekt, "Test");
        QTest::keyClick(w->Text1, Qt::Key_Tab);
        QCOMPARE(GS.Projekt, "X");
        GS.Projekt = std::string(40000, 'P');
        Tippen(w->Text2, "Neu");
        Klick(w->Command5);  // mirrors, and shows the record again
        QCOMPARE(GS.Position, "Neu");
        w->Text1->setFocus();
        w->Text2->setFocus();
        QCOMPARE(GS.Projekt.size(), 40000u);
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
        const QString ergebnis = "X( 1) = 3,918|X( 2) = 3,099|X( 3) = 9,407 0,00E+00|-2,84E-14|2,84E-14";
        QCOMPARE(spalten(), ergebnis);
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
        QVERIFY(meldungen.texte.isEmpty());

        Tippen(w->Text4[0], "0");
        Klick(w->Command1);
        QCOMPARE(meldungen.texte, QStringList{"Tovik: *** Hauptdiagonalglied < 10-5!"});
        QCOMPARE(spalten().section(' ', 0, 0), "||");
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

    // "Öfffnen" shows what it loaded, and after a refusal the record as it was; the keys run
    // the lower buttons from a cell, and their release there does no harm.
    void oeffnenUndTasten() {
        const QString datei = ordner.filePath("Zwei.TVK");
        QVERIFY(Schreiben(datei, Zeilen({"h", "Zwei", "P", " 2", " 1", " 2", " 3", " 4", " 5", " 6"})));
        QVERIFY(Schreiben(ordner.filePath("Fall.TVK"), "h\r\nX\r\n"));
        Meldungen meldungen;
        const auto oeffnen = [&](const QString& name, const std::function<void()>& befehl) {
            const auto gesehen = Dateiwahl(name);
            befehl();
            return gesehen->value(0);
        };
        QCOMPARE(oeffnen(datei, [&] { Klick(w->Command3); }), "vorh. Gleichungssystem laden");
        QCOMPARE(w->Text1->text() + Raster(*w),
                 "ZweiText4:  1| 2\nText5:  4| 5\nText9:  3| 6\nText10: X( 1) = |X( 2) = \nText11: |");
        w->Text4[0]->setText("9");
        QCOMPARE(oeffnen(ordner.filePath("Fall.TVK"), [&] { QVERIFY(Tasten(w->Text4[0], "Ctrl+O")); }),
                 "vorh. Gleichungssystem laden");
        QCOMPARE(meldungen.texte, QStringList{"Tovik: Fehler in Sub SystemAusDatei: Dateiende erreicht"});
        QCOMPARE(Satz(2) + w->Text4[0]->text(), "1 2 | 3; 4 5 | 6 1");
        QCOMPARE(oeffnen("", [&] { QVERIFY(Tasten(w->Text5[1], "Ctrl+S")); }), "Gleichungssystem speichern");
        QCOMPARE(Satz(2), "1 2 | 3; 4 5 | 6");
        bool drucken = false;
        Beantworten<QPrintDialog>([&](QPrintDialog* d) { drucken = true, d->reject(); });
        QVERIFY(Tasten(w->Text9[0], "Ctrl+P"));
        QVERIFY(drucken);
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
