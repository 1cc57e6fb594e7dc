// The window as a screen reader meets it, through Qt's own accessibility interface.

#include <QAccessible>
#include <QFrame>
#include <QLocale>

#include "Fensterhilfen.h"
#include "Sprechform.h"

static QAccessibleInterface* Zugang(QObject* objekt) { return QAccessible::queryAccessibleInterface(objekt); }

class TstFensterZugang : public QObject {
    Q_OBJECT
    const QLocale vorher_;

private slots:
    void cleanup() { QLocale::setDefault(vorher_); }

    void sprechform_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gesprochen");
        QTest::newRow("point") << "X( 1) = 3.918" << "x 1 gleich 3,918";
        QTest::newRow("E-14") << "-2.84E-14" << "minus 2,84 mal zehn hoch minus 14";
        QTest::newRow("comma, E+00") << "0,00E+00" << "0,00 mal zehn hoch 0";
        QTest::newRow("overflow") << "Überlauf" << "Überlauf";
        QTest::newRow("<>") << "a(i,i) <> 0\nfalls" << "a(i,i) ungleich 0 falls";
    }
    void sprechform() {
        QFETCH(QString, text);
        QFETCH(QString, gesprochen);
        QCOMPARE(tovik::Sprechform(text), gesprochen);
    }

    // Name and description at start-up; Text10_1 shows "X( 2) = ".
    void namen_data() {
        QTest::addColumn<QString>("objekt");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("group") << "Frame2" << QStringList{"Eingaben", ""};  // the title keeps its blank
        QTest::newRow("x") << "Text10_1" << QStringList{"Lösung x 2", "x 2 gleich"};
        QTest::newRow("A*x-B") << "Text11_4" << QStringList{"Kontrolle Zeile 5", ""};
        QTest::newRow("N") << "Text3"
                           << QStringList{"Anzahl der Gleichungen und Unbekannten N",
                                          "(Bei Eingabe von N wird das Gleichungssystem gelöscht!)"};
        QTest::newRow("<>") << "Label9"
                            << QStringList{"(Voraussetzung: Hauptdiagonalelemente a(i,i) ungleich 0 falls "
                                           "nicht erfüllt: Reihenfolge der Gleichungen ändern!)", ""};
    }
    void namen() {
        QFETCH(QString, objekt);
        QFETCH(QStringList, erwartet);
        auto w = NeuesFenster();
        QAccessibleInterface* z = Zugang(w->findChild<QWidget*>(objekt));
        QCOMPARE(QStringList({z->text(QAccessible::Name), z->text(QAccessible::Description)}), erwartet);
    }

    // The reader finds the controls of size N, no hidden cell, no two names alike, no frames.
    void baum_data() {
        QTest::addColumn<QString>("n");
        QTest::addColumn<int>("bedienbar");  // 3 header fields, A, B, x, A*x-B, 6 buttons
        QTest::newRow("3") << "3" << 3 + 9 + 9 + 6;
        QTest::newRow("5") << "5" << 3 + 25 + 15 + 6;
    }
    void baum() {
        QFETCH(QString, n);
        QFETCH(int, bedienbar);
        auto w = NeuesFenster();
        Tippen(w->Text3, n);
        QSet<QString> namen;
        for (QWidget* e : w->findChildren<QWidget*>()) {
            QAccessibleInterface* z = Zugang(e);
            if (z->state().focusable && !z->state().invisible) namen << z->text(QAccessible::Name);
        }
        QCOMPARE(namen.size(), bedienbar);  // no two alike
        QVERIFY(!namen.contains(QString()));
        QCOMPARE(Zugang(w.get())->role(), QAccessible::Window);
        for (QFrame* linie : {w->Line1, w->Line2, w->Line3, w->Line4})
            QCOMPARE(Zugang(linie)->role(), QAccessible::Separator);
    }

    // The shown results follow the locale; what is said of them does not.
    void ergebnisse_data() {
        QTest::addColumn<QLocale>("gebiet");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
    }
    void ergebnisse() {
        QFETCH(QLocale, gebiet);
        QLocale::setDefault(gebiet);
        auto w = NeuesFenster();
        w->Command1->click();
        w->Command6->click();
        QCOMPARE(w->Text11[1]->text(), "-2" + gebiet.decimalPoint() + "84E-14");
        QCOMPARE(Zugang(w->Text10[0])->text(QAccessible::Description), "x 1 gleich 3,918");
        QCOMPARE(Zugang(w->Text11[1])->text(QAccessible::Description), "minus 2,84 mal zehn hoch minus 14");
    }
};

TOVIK_TEST_MAIN(TstFensterZugang)
#include "tst_fenster_zugang.moc"
