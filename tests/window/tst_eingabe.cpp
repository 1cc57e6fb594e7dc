// Where the grid meets the record: N, the cells read as typed, pasted and dropped text read
// exactly or refused, each paste one step of the undo history. The rest of the window in use,
// every way into a cell and the history, is the random model's (tst_modell).

#include <QPrinter>
#include <QtWidgets>

#include "Fensterhilfen.h"
#include "Meldungsfenster.h"
#include "Mod_Allg.h"
#include "SystemDrucken.h"
#include "Systemdatei.h"

using tovik::GS;

namespace {

// Rows 1..n of a record of zeros.
QString Null(int n) {
    tovik::Gleichungssystem null;
    std::swap(null, GS);
    const QString satz = Satz(n);
    std::swap(null, GS);
    return satz;
}

}  // namespace

class TstEingabe : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    QTemporaryDir ordner;

private slots:
    void init() { w = NeuesFenster(); }
    void cleanup() {
        AntwortenAbschliessen();
        w.reset();
    }

    // Every change of the field reads N: halves go to the even neighbour, a comma ends the
    // number, a negative N is 0; above 5, also beyond 16 bits or a double, it is told and the
    // field then reads 5. A new N zeroes the old system and what an earlier, larger one left
    // behind the empty cells; the same N keeps the system and shows it again.
    void nFeld_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("danach");  // N | the field's text | the message
        const QString fuenf = "5| 5|max. Rang des Gleichungssystems: N = 5";
        QTest::newRow("03") << QString("03") << "3|03|";
        QTest::newRow("2,9") << QString("2,9") << "2|2,9|";
        QTest::newRow("2.5") << QString("2.5") << "2|2.5|";
        QTest::newRow("3.5") << QString("3.5") << "4|3.5|";
        QTest::newRow("5.5") << QString("5.5") << fuenf;
        QTest::newRow("40000") << QString("40000") << fuenf;
        QTest::newRow("1E999") << QString("1E999") << fuenf;
        QTest::newRow("empty") << QString() << "0||";
        QTest::newRow("-3") << QString("-3") << "0|-3|";
        QTest::newRow("1") << QString("1") << "1|1|";
    }
    void nFeld() {
        QFETCH(QString, feld);
        Meldungen meldungen;
        GS.A[5][5] = GS.B[4] = 9;  // hidden, left by an earlier system
        w->Text3->setText(feld);
        QTEST(QString::number(GS.N) + "|" + w->Text3->text() + "|" + Texte(meldungen), "danach");
        const int n = GS.N;
        QCOMPARE(Satz(std::max(n, 3)), n == 3 ? kBeispiel : Null(std::max(n, 3)));
        // N empty cells in each of the first N rows of A, in B, x and A*x - B; the same N shows
        // the system, without x
        const QString leer = QStringList(n + 3, QString(n - 1, '|')).join('\n');
        QCOMPARE(Raster(*w), n == 3 ? " 3| 4| 7\n 12| 10| 0\n 0| 12| 2\n 90| 78| 56\n||\n||" : n ? leer : "");
    }

    // A key release in a cell reads the first N cells of its row into the record; the press
    // reads nothing; the text stays as typed. Only the first comma is the decimal point, an
    // empty cell is 0. A value beyond a double is told in a plain modal box captioned "Tovik"
    // and never reaches the record; the key that closes the box, and the keys of a dialog
    // opened by a key, go up over the cell behind: its row is not read again, where its faulty
    // value would bring the message back.
    void zellen() {
        const std::tuple<const frm_Tovik::Feldreihe*, tovik::Vektor*, QString, double> faelle[] = {
            {&w->Text4, &GS.A[1], ",5", 0.5},     // the comma is the decimal point, also first
            {&w->Text5, &GS.A[2], "-,5", -0.5},   // also after a sign
            {&w->Text6, &GS.A[3], "1,5,3", 1.5},  // only the first comma
            // a point is no thousands separator; a comma as far out as a cell's 32767 characters reach
            {&w->Text7, &GS.A[4], QString(32761, '0') + "1.000,", 1},
            {&w->Text8, &GS.A[5], "", 0},     // an empty cell is 0
            {&w->Text9, &GS.B, "2,5e1", 25},  // an exponent after the comma
        };
        w->Text3->setText("5");
        for (const auto& [zellen, ziel, text, wert] : faelle) {
            (*zellen)[0]->setText("7");  // without a key: read at once
            (*zellen)[1]->setText(text);
            Tippen((*zellen)[2], " 2e");
            QTest::keyPress((*zellen)[2], Qt::Key_3);
            QVERIFY((*ziel)[3] != 2000);  // nothing read on the press
            QTest::keyRelease((*zellen)[2], Qt::Key_3);
            QCOMPARE(QList(ziel->begin() + 1, ziel->begin() + 4), QList<double>({7, wert, 2000}));
            QCOMPARE((*zellen)[1]->text(), text);
        }
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
    // not at all. Tabs or semicolons separate values, a line without them is split at blanks;
    // every value must be a number (the typographic minus a minus, an empty value an empty
    // cell), or nothing changes and the message names it. A whole system into A(1,1) sets N;
    // any other block goes in place where it fits; a copied system with x only where nothing
    // else fits; anything else is told. A single value is the cell's own paste. The rows are
    // read at once, and one Ctrl+Z takes the whole paste or drop back, Ctrl+Shift+Z brings it
    // again. Dragged text is a copy, never a move. A system file dropped on the window or any
    // of its fields loads as "Öfffnen" loads one (a refused one leaves the system); other files
    // are refused, also the path text that comes with them.
    void einfuegen_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QString>("daten");   // dropped: a file of the test's folder, or text
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
            {"paste", "Text5_1", "7\n", "7|3 4 7 | 90; 12 7 0 | 78; 0 12 2 | 56|"},
            {"menu", "Text5_1", "\u22127,5", "-7,5|3 4 7 | 90; 12 -7.5 0 | 78; 0 12 2 | 56|"},
            {"paste", "Text5_0", "1\t2\t3\t4", "1 2 3 4|3 4 7 | 90; 1 2 3 | 4; 0 12 2 | 56|"},
            {"paste", "Text5_1", "1,5;-2.5\r\n;\r\n", "1,5 -2.5  |3 4 7 | 90; 12 1.5 -2.5 | 78; 0 0 0 | 56|"},
            {"paste", "Text5_0", "0\n1E999",
             "0 1E999|3 4 7 | 90; 0 10 0 | 78; 0 12 2 | 56|fehlerhafte Eingabe"},
            {"menu", "Text9_0", "8\n9\n\n", "8 9|3 4 7 | 8; 12 10 0 | 9; 0 12 2 | 56|"},
            {"paste", "Text5_0", "1\t\t\u22123e-1", "1  -3e-1|3 4 7 | 90; 1 0 -0.3 | 78; 0 12 2 | 56|"},
            {"paste", "Text5_0", "1\t2\n\t", "1 2  |3 4 7 | 90; 1 2 0 | 78; 0 0 2 | 56|"},  // empty cells too
            // as Octave, NumPy, a PDF or a terminal shows a matrix: a whole system
            {"paste", "Text4_0", "   1   2   3   4\n   5   6   7   8\n   9  10  11  12\n",
             "1 2 3 5 6 7 9 10 11 4 8 12|1 2 3 | 4; 5 6 7 | 8; 9 10 11 | 12|"},
            // in place where a block fits, also from A(1,1)
            {"paste", "Text4_0", "1\t2\t3", "1 2 3|1 2 3 | 90; 12 10 0 | 78; 0 12 2 | 56|"},
            {"paste", "Text4_0", "1\t2\t3\t4\n5\t6\t7\t8",
             "1 2 3 5 6 7 4 8|1 2 3 | 4; 5 6 7 | 8; 0 12 2 | 56|"},
            // a copied system with x, where it fits nowhere else
            {"paste", "Text4_0", "1\t0\t0\t1\t1\n0\t1\t0\t2\t2\n0\t0\t1\t3\t3",
             "1 0 0 0 1 0 0 0 1 1 2 3|1 0 0 | 1; 0 1 0 | 2; 0 0 1 | 3|"},
            {"paste", "Text4_0", "1.234,50", keinText.arg("1.234,50")},
            {"paste", "Text4_0", "1,2,3", keinText.arg("1,2,3")},
            {"paste", "Text4_0", "1e", keinText.arg("1e")},
            {"paste", "Text4_0", "Gl. 1\t3,5\t1\t2\n", keine.arg(1).arg("Gl. 1")},
            {"paste", "Text4_0", "1 & 2 & 3 \\\\\n", keine.arg(2).arg("&")},
            {"paste", "Text4_0", "1\t2\t" + QString(40, '9') + "x", keine.arg(3).arg(QString(30, '9') + "…")},
            {"paste", "Text4_1", "1\t2\t3\t4",
             nicht + "1 Zeile mit bis zu 4 Werten, ab A(1,2) ist Platz für 3 Zeilen mit 3 Werten."},
            {"paste", "Text5_0", "1\n2\n3",
             nicht + "3 Zeilen mit bis zu 1 Wert, ab A(2,1) ist Platz für 2 Zeilen mit 4 Werten."},
            {"paste", "Text9_0", "8\t9",
             nicht + "1 Zeile mit bis zu 2 Werten, ab B(1) ist Platz für 3 Zeilen mit 1 Wert."},
            {"paste", "Text4_0", QString("1\t2\t3\t4\t5\t6\t7\n").repeated(10000),
             nicht + "10000 Zeilen mit bis zu 7 Werten, ab A(1,1) ist Platz für 3 Zeilen mit 4 Werten."},
            {"drop", "Text4_0", "Zwei.TVK", zwei},
            {"drop", "frm_Tovik", "zwei.tvk", zwei},
            {"drop", "Text1", "Zwei.TVK", zwei},
            {"drop", "Text5_0", "Fall.TVK", beispiel + "Fehler in Sub SystemAusDatei: Dateiende erreicht"},
            {"drop", "Text4_0", "Zwei.txt", beispiel},
            {"drop", "Text5_1", "1\t2\n3\t4", "1 2 3 4|3 4 7 | 90; 12 1 2 | 78; 0 3 4 | 56|"},
            {"drop", "Text5_1", "1 2\n3 4", "1 2 3 4|3 4 7 | 90; 12 1 2 | 78; 0 3 4 | 56|"},
            {"move", "Text5_1", "1 2\n3 4", beispiel},  // a source that offers a move only
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
        QWidget* ort = ziel == w->objectName() ? w.get() : w->findChild<QWidget*>(ziel);
        const QList<QLineEdit*> zellen = w->findChildren<QLineEdit*>(QRegularExpression("^Text[4-9]_"));
        QGuiApplication::clipboard()->setText(daten);
        QMimeData mime;  // a file as file managers offer it: its address, and its path as text
        mime.setText(datei ? ordner.filePath(daten) : daten);
        if (datei) {
            const QByteArray zwei = Zeilen({"h", "Zwei", "P", " 2", " 1", " 2", " 3", " 4", " 5", " 6"});
            QVERIFY(Schreiben(ordner.filePath(daten), daten == "Fall.TVK" ? zwei.left(10) : zwei));
            mime.setUrls({QUrl::fromLocalFile(ordner.filePath(daten))});
        }
        Meldungen meldungen;
        const auto aktionen = weg == "move" ? Qt::MoveAction : Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent hinein(QPoint(2, 2), aktionen, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent fallen(QPointF(2, 2), aktionen, &mime, Qt::LeftButton, Qt::NoModifier);
        // Dragged over, nothing changes yet: all that changes below comes with the drop.
        const bool ziehen = weg == "drop" || weg == "move";
        if (ziehen) QApplication::sendEvent(ort, &hinein), QCoreApplication::processEvents();
        const QString anfang = Zustand(*w);
        QStringList vorher, geaendert;
        for (const QLineEdit* e : zellen) vorher << e->text();
        if (weg == "paste") QVERIFY(Tasten(ort, "Ctrl+A, Ctrl+V"));
        if (weg == "menu") {  // as a right click: the field takes the focus, all of it selected
            ort->setFocus(Qt::MouseFocusReason);
            static_cast<QLineEdit*>(ort)->selectAll();
            Menue(static_cast<QLineEdit*>(ort), 5);
        }
        if (ziehen) {
            QApplication::sendEvent(ort, &fallen);
            QCoreApplication::processEvents();  // the load and the block wait for the drop to end
            QCOMPARE(hinein.isAccepted() && fallen.isAccepted(), !daten.endsWith(".txt") && weg == "drop");
            if (!datei && weg == "drop") QCOMPARE(fallen.dropAction(), Qt::CopyAction);
        }
        for (int i = 0; i < zellen.size(); ++i)
            if (zellen[i]->text() != vorher[i]) geaendert << zellen[i]->text();
        QTEST(geaendert.join(' ') + "|" + Satz() + "|" + Texte(meldungen), "danach");
        QCOMPARE(w->Text1->text(), QString::fromStdString(GS.Projekt));  // a loaded header shown too
        // A value longer than its cell shows its beginning; one Ctrl+Z takes the paste back.
        for (const QLineEdit* e : zellen) QVERIFY(e->cursorPosition() == 0 || e->hasFocus());
        QVERIFY(Tasten(w->Text4[0], "Ctrl+Z"));
        QCOMPARE(Zustand(*w), anfang);
    }
};

TOVIK_TEST_MAIN(TstEingabe)
#include "tst_eingabe.moc"
