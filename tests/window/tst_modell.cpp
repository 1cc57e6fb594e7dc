// The window in use, at random: every way a user acts, each step checked against what a user
// relies on. After each step:
// - the record is what the shown cells read as, and exactly the cells of N are shown, each
//   from its beginning but where the focus is;
// - no message came that the step did not call for;
// - a file saved without a message holds what the fields showed, and loads again to it;
// - the window's undo history is the model's: a run of typing in one field is one step, every
//   other change of the system one, and undo and redo bring back exactly the states before.
// The seed is TOVIK_SAAT where set (the failing seed is printed), the steps TOVIK_SCHRITTE.
// The run of the fixed seed is also compared, step by step, with its transcript in referenz/
// (fields, cells, record, messages, what was copied, offered or saved), which a person has
// read: every change of what the window does on the way shows there, as a reference image
// shows a change of its look. On a difference the transcript seen is left beside the test,
// and tools/referenzbilder.sh takes it as the new one.

#include <QtWidgets>

#include "Fensterhilfen.h"
#include "Gleichungssystem.h"
#include "Mod_Allg.h"
#include "Systemdatei.h"
#include "Zwischenablage.h"

using tovik::GS;

namespace {

// What a step may bring: the beginnings of the messages it calls for, the field whose run of
// typing it continues, and whether it ends any run of typing first.
struct Schritt {
    QStringList erlaubt;
    QLineEdit* feld = nullptr;
    bool grenze = true;
    bool schluss = false;  // a command after the typing ends the run (with no field, always)
};

// Typed: only the first comma is the decimal point, a point never groups thousands. The first
// kZahlen are numbers also where pasted; the 2nd and 11th have more digits than a cell shows.
const char* const kWerte[] = {
    "3",  "-271828182845904,52", "0,5", "2.25",  "1e3",   "-,75",  "",      "7,5e-2", " 2e3",
    ",5", "0,12345678901234567", "abc", "12abc", "1E999", "1,5,3", "1.000,"};
constexpr quint32 kZahlen = 11;
// What only comes pasted: the minus of typeset text, values that are none, and long ones.
constexpr char kLang[] = "9999999999999999999999999999999999999999x";  // named by its beginning
const char* const kEingefuegt[] = {"4", "\u22124", "1,5E-05", "0.333333333333333",     "-2,5E+20", "1E999",
                                   "",  "1.234,5", "Gl. 1",   "9.8765432109876543E-3", kLang};
const char* const kKoepfe[] = {"Feld 3", "", "a,b c", "Brücke", "\u03a9"};  // the last two composed
// N: halves to the even neighbour, a comma ends it, beyond 5 told, below 0 none.
const char* const kN[] = {"1", "2",   "3",   "4",   "5",  "03",    "7",    " 2",
                          "",  "2,9", "2.5", "3.5", "-3", "40000", "1E999"};

}  // namespace

class TstModell : public QObject {
    Q_OBJECT
    std::unique_ptr<frm_Tovik> w;
    QTemporaryDir ordner;
    QRandomGenerator zufall;
    QString ausgabe;  // what the step gave out: the copy, what a file dialog offered, the file saved

    template <class T, std::size_t n>
    QString Eines(const T (&auswahl)[n]) {
        return QString::fromUtf8(auswahl[zufall.bounded(quint32(n))]);
    }
    // A shown cell of A or B; none while N = 0.
    Zelle* Irgendeine() {
        const int n = w->ImRaster();
        if (n == 0) return nullptr;
        const int k = int(zufall.bounded(n)), zeile = int(zufall.bounded(n + 1));
        return (zeile < n ? w.get()->*frm_Tovik::kReihen[zeile] : w->Text9)[k];
    }
    // Keys to the control that has the focus, which they must not move.
    void Taste(const char* folge) {
        QApplication::setActiveWindow(w.get());
        QTest::keySequence(w->focusWidget() ? w->focusWidget() : w.get(), QKeySequence(folge));
    }
    // A text of values as a spreadsheet, a terminal or a document gives it, sometimes one value,
    // at times more than the grid holds; or, where n is given, a whole system of n equations.
    QString Block(int n = 0) {
        const QString trenner = Eines({"\t", ";", " ", "   "});
        QStringList zeilen;
        const int breite = n ? n + 1 : int(zufall.bounded(1, 9));  // as wide in every row, mostly
        for (int i = n ? n : int(zufall.bounded(1, 8)); i > 0; --i) {
            QStringList werte;
            for (int j = n || zufall.bounded(4) ? breite : int(zufall.bounded(1, 9)); j > 0; --j)
                werte << QString::fromUtf8(
                    n || zufall.bounded(12) ? kWerte[zufall.bounded(kZahlen)]
                                            : kEingefuegt[zufall.bounded(quint32(std::size(kEingefuegt)))]);
            if (trenner.startsWith(' ')) {  // blanks lead, and trail now and then, as in a terminal
                werte.removeAll(QString()), werte.prepend(QString());
                if (zufall.bounded(2)) werte.append(QString());
            }
            zeilen << werte.join(trenner);
        }
        return zeilen.join(Eines({"\n", "\r\n"})) + Eines({"", "\n"});
    }

    void Tippen_(Schritt& schritt) {
        Zelle* z = Irgendeine();
        if (!z) return;
        const QString wert = Eines(kWerte);
        switch (zufall.bounded(3)) {
            case 0:
                Tippen(z, wert);
                break;
            case 1: {  // an input method (a dead key composes this way) after the keys that select
                Tippen(z, "");
                QInputMethodEvent eingabe;
                eingabe.setCommitString(wert);
                QApplication::sendEvent(z, &eingabe);
                break;
            }
            default:  // the last key still down when Shift+Tab moves on; it goes up there
                Tippen(z, wert.left(wert.size() - 1));
                if (!wert.isEmpty()) QTest::keyPress(z, wert.back().toLatin1());
                QTest::keyPress(z, Qt::Key_Backtab, Qt::ShiftModifier);
                QTest::keyRelease(w->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                if (!wert.isEmpty()) QTest::keyRelease(w->focusWidget(), wert.back().toLatin1());
        }
        schritt = {{"fehlerhafte Eingabe"}, z, false};
    }
    void Kopf(Schritt& schritt) {
        QLineEdit* feld = zufall.bounded(2) ? w->Text1 : w->Text2;
        const QString text = Eines(kKoepfe);
        const bool getippt = text.toLatin1() == text.toUtf8();
        Tippen(feld, getippt ? text : QString());
        QInputMethodEvent eingabe;
        eingabe.setCommitString(getippt ? QString() : text);
        QApplication::sendEvent(feld, &eingabe);
        if (zufall.bounded(2)) QTest::keyClick(feld, Qt::Key_Tab);  // else a key command takes it
        schritt = {{}, feld, false};
    }
    void N(Schritt& schritt) {
        Tippen(w->Text3, Eines(kN));
        schritt = {{"max. Rang"}, w->Text3, false};
    }
    void Einfuegen(Schritt& schritt) {
        Zelle* z = Irgendeine();
        if (!z) return;
        const bool system = !zufall.bounded(3);  // now and then a whole system into A(1,1)
        if (system) z = w->Text4[0];
        const QString text = Block(system ? w->ImRaster() : 0);
        const auto art = tovik::EinfuegungLesen(text).art;
        const bool wert = art == tovik::Einfuegung::Art::Wert || art == tovik::Einfuegung::Art::Nichts;
        const int weg = int(zufall.bounded(3));
        QGuiApplication::clipboard()->setText(text);
        if (weg == 0) Tippen(z, ""), Taste("Ctrl+V");
        if (weg == 1) z->setFocus(Qt::MouseFocusReason), z->selectAll(), Menue(z, 5);
        if (weg == 2) Fallen(z, text);
        // A single value is typing in the cell, a block (or a refused text) a command.
        schritt = {{"Der eingefügte", "Im eingefügten", "fehlerhafte Eingabe"}, wert ? z : nullptr, weg == 1};
    }
    void Bearbeiten(Schritt& schritt) {  // the cell's menu deletes or cuts a part of its text
        // Often in the cell just typed in, whose run of typing the menu ends.
        auto* z = dynamic_cast<Zelle*>(schritt.feld);
        if (!z || zufall.bounded(2)) z = Irgendeine();
        if (!z) return;
        z->setFocus(Qt::MouseFocusReason);
        const int von = int(zufall.bounded(z->text().size() + 1));
        z->setSelection(von, int(zufall.bounded(z->text().size() - von + 1)));
        Menue(z, zufall.bounded(2) ? 6 : 3);
        schritt = {{"fehlerhafte Eingabe"}, z, true};
    }
    void Befehl(Schritt& schritt) {
        const int befehl = int(zufall.bounded(5));
        if (befehl == 0) Klick(w->Command1);
        if (befehl == 1) QVERIFY(Tasten(w->Command1, "Return"));
        if (befehl == 2) Klick(w->Command6);
        if (befehl == 3) Klick(w->Command5);
        if (befehl == 4) {  // the copy, its tables exact in numbers no locale reads otherwise; pasted back
            QGuiApplication::clipboard()->clear();  // with no system, nothing is copied
            QVERIFY(Tasten(w->Text1, "Ctrl+Shift+C"));
            const QMimeData nichts, *daten = QGuiApplication::clipboard()->mimeData();
            if (!daten) daten = &nichts;
            QStringList satz, html, rtf;
            for (const auto& t : QRegularExpression("<td>([-0-9E]{1,21})</td>").globalMatch(daten->html()))
                html << QString::number(t.captured(1).toDouble(), 'g', 17);
            // An RTF row names each column's right edge in twips: as many as it has cells, each
            // at least 1000 (1.8 cm) beyond the one before, or a word processor squeezes them.
            const QString rtfText = QString::fromLatin1(daten->data("text/rtf"));
            for (const auto& zeile : QRegularExpression(R"(\\trowd(.*?)\\row\b)").globalMatch(rtfText)) {
                QList<int> raender{0};
                for (const auto& r : QRegularExpression(R"(\\cellx(\d+))").globalMatch(zeile.captured(1)))
                    raender << r.captured(1).toInt();
                qsizetype k = 0;
                for (const auto& t :
                     QRegularExpression(R"(intbl ([-0-9E]{1,21})\\cell)").globalMatch(zeile.captured(1)))
                    rtf << (++k < raender.size() && raender[k] - raender[k - 1] >= 1000
                                ? QString::number(t.captured(1).toDouble(), 'g', 17)
                                : "no column");
                if (raender.size() != k + 1) rtf << QString("%1 columns").arg(raender.size() - 1);
            }
            // The record's rows to 15 digits, x at their end where the copy holds it.
            const auto zeilen = [](int breite) {
                QStringList werte;
                for (int i = 1; i <= GS.N; ++i)
                    for (int j = 1; j <= breite; ++j) {
                        const double w = j <= GS.N ? GS.A[i][j] : j == GS.N + 1 ? GS.B[i] : GS.X[i];
                        werte << QString::number(QString::number(w, 'g', 15).toDouble(), 'g', 17);
                    }
                return werte;
            };
            satz = zeilen(GS.N + (html.size() == GS.N * (GS.N + 2) ? 2 : 1));
            QCOMPARE(html + rtf, satz + satz);
            ausgabe = QGuiApplication::clipboard()->text();
            // Pasted back into A(1,1), the copy is the same system again, its x left out.
            const QStringList vorher = zeilen(GS.N + 1);
            if (GS.N) QVERIFY(Tasten(w->Text4[0], "Ctrl+V"));
            QCOMPARE(zeilen(GS.N + 1), vorher);
        }
        // Berechnen solved what the cells showed.
        for (int i = 1; i <= w->ImRaster() && befehl < 2; ++i)
            for (int j = 0; j <= GS.N; ++j)
                QVERIFY((j ? GS.A0[i][j] : GS.B0[i]) == (j ? GS.A[i][j] : GS.B[i]));
        schritt = {{tovik::kMeldungPivot, tovik::kMeldungUeberlauf}};
    }
    // What a file dialog offered (Dateiwahl), its folder named by its last part.
    QString Angebot(const std::shared_ptr<QStringList>& gesehen) const {
        if (!gesehen || gesehen->isEmpty()) return {};  // no dialog came
        QStringList angebot = *gesehen;
        angebot[3] =
            QFileInfo(angebot[3]) == QFileInfo(ordner.path()) ? "(ordner)" : QFileInfo(angebot[3]).fileName();
        return angebot.join(" / ") + " / ";
    }
    // Saved to a new file or over one saved before; now and then not confirmed, the name typed:
    // No to the question before replacing, or the dialog cancelled. (A new file's name may be
    // there too, written by a save that told of a faulty cell.)
    void Speichern(Schritt& schritt, QStringList& dateien, const Meldungen& meldungen) {
        const bool ueber = !dateien.isEmpty() && !zufall.bounded(3), ja = zufall.bounded(ueber ? 2 : 4);
        const QString datei = ueber ? dateien[int(zufall.bounded(dateien.size()))]
                                    : ordner.filePath(QString::number(dateien.size()) + ".TVK");
        Zelle* z = Irgendeine();
        const QString wert = Eines(kWerte);
        const bool halten = z && !wert.isEmpty() && zufall.bounded(2);
        if (halten) Tippen(z, wert.chopped(1)), QTest::keyPress(z, wert.back().toLatin1());
        const QByteArray alt = Inhalt(datei);
        std::shared_ptr<QStringList> dialog;
        // Texts that windows-1252 cannot hold are refused before the dialog.
        if (!(w->Text1->text() + w->Text2->text()).contains(QChar(0x3a9))) dialog = Dateiwahl(datei, ja);
        Taste("Ctrl+S");
        if (halten) QTest::keyRelease(w->focusWidget(), wert.back().toLatin1());
        if (meldungen.texte.isEmpty() && ja) {  // what the fields show, the key still down included
            QCOMPARE(w->Text1->text() + w->Text2->text(), QString::fromStdString(GS.Projekt + GS.Position));
            const auto fehler = tovik::SystemPruefen(Inhalt(datei), tovik::DatenAusSystem(GS));
            QVERIFY2(!fehler, fehler ? fehler->text.c_str() : "");
            if (!ueber) dateien << datei;
            ausgabe = QString::fromLatin1(Inhalt(datei));
        }
        if (!ja) QCOMPARE(Inhalt(datei), alt);  // the old file kept, or none made
        ausgabe.prepend(Angebot(dialog));
        schritt = {
            {"fehlerhafte Eingabe", "Fehler in Sub SystemInDatei"}, halten ? z : nullptr, !halten, true};
    }
    // A file saved before, opened by the dialog (now and then cancelled, its name typed) or
    // dropped on the window or a cell as file managers offer it, by its address and path. Also
    // dropped: the file cut short, which loads or is refused with a message; the file under
    // another ending, its path as a text that may only be moved, an image: none of them taken.
    void Laden(Schritt& schritt, const QStringList& dateien) {
        if (dateien.isEmpty()) return;
        enum Weg { Dialog, Datei, Gekuerzt, AndereEndung, NurVerschieben, Bild };
        const QString datei = dateien[int(zufall.bounded(dateien.size()))];
        const auto weg = Weg(zufall.bounded(6));
        const bool geladen = weg == Datei || (weg == Dialog && zufall.bounded(4));
        if (weg == Dialog) {
            const auto dialog = Dateiwahl(datei, geladen);
            Taste("Ctrl+O");
            ausgabe = Angebot(dialog);
        } else {
            QString ziel = datei;
            if (weg == Gekuerzt || weg == AndereEndung) {
                ziel = ordner.filePath(weg == Gekuerzt ? "kurz.TVK" : "System.txt");
                const QByteArray bytes = Inhalt(datei);
                QVERIFY(
                    Schreiben(ziel, weg == Gekuerzt ? bytes.left(zufall.bounded(int(bytes.size()))) : bytes));
            }
            QMimeData mime;
            if (weg == Bild)
                mime.setData("image/png", "PNG");
            else
                mime.setText(ziel);
            if (weg < NurVerschieben) mime.setUrls({QUrl::fromLocalFile(ziel)});
            // On a cell (while a run of typing is open, only on its own), or beside the cells.
            Zelle* z = schritt.feld ? dynamic_cast<Zelle*>(schritt.feld) : Irgendeine();
            if (zufall.bounded(2)) z = nullptr;
            const bool genommen = weg == Datei || weg == Gekuerzt;
            QCOMPARE(Fallen(z ? z : static_cast<QWidget*>(w.get()), mime,
                            weg == NurVerschieben ? Qt::MoveAction : Qt::CopyAction | Qt::MoveAction),
                     genommen);
            if (!genommen) return;  // nothing taken changes nothing: a run of typing goes on
        }
        if (geladen) QVERIFY(!tovik::SystemPruefen(Inhalt(datei), tovik::DatenAusSystem(GS)));
        schritt = {};
        if (weg == Gekuerzt) schritt.erlaubt = QStringList{"Fehler in Sub SystemAusDatei"};
    }

    void Zurueck(bool rueck) {  // undo or redo, by a key from any field or by its menu
        QLineEdit* feld = Irgendeine();
        if (!feld) feld = w->Text2;
        if (zufall.bounded(3) == 0)
            Menue(feld, rueck ? 0 : 1);
        else
            QVERIFY(Tasten(feld, rueck ? "Ctrl+Z" : zufall.bounded(2) ? "Ctrl+Y" : "Ctrl+Shift+Z"));
    }

    // What must hold after every step.
    void Pruefen() {
        const int n = w->ImRaster();
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < tovik::kMaxN; ++k) {
                QLineEdit* zelle = (w.get()->*frm_Tovik::kReihen[r])[k];
                QCOMPARE(!zelle->isHidden(), k < n && (r >= tovik::kMaxN || r < n));
                if (zelle->isHidden()) continue;
                QVERIFY(zelle == w->focusWidget() || zelle->cursorPosition() == 0);  // from its beginning
                if (r > tovik::kMaxN) continue;  // of the results, only how many and where they start
                const auto wert = ZellWert(zelle->text());
                if (!wert) continue;
                const double satz = r < tovik::kMaxN ? GS.A[r + 1][k + 1] : GS.B[k + 1];
                QCOMPARE(QString::number(satz, 'g', 17), QString::number(*wert, 'g', 17));  // exactly
            }
    }

private slots:
    void init() { w = NeuesFenster(); }
    void cleanup() {
        AntwortenAbschliessen();
        w.reset();
    }

    void modell() {
        const quint32 saat =
            qEnvironmentVariableIsSet("TOVIK_SAAT") ? qEnvironmentVariableIntValue("TOVIK_SAAT") : 5;
        const int schritte = qEnvironmentVariableIsSet("TOVIK_SCHRITTE")
                                 ? qEnvironmentVariableIntValue("TOVIK_SCHRITTE")
                                 : 700;
        zufall.seed(saat);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // the users' separator
        Meldungen meldungen;
        QStringList protokoll;
        QStringList dateien;
        // The model of the history: the states it can go back to, the last the state at the
        // last step's end; what it can redo; the field of the open run of typing.
        QStringList zurueck = {Zustand(*w)}, vor;
        QLineEdit* lauf = nullptr;
        QString zustand = zurueck.last();
        const auto abschliessen = [&] {  // what changed since the last step becomes one
            if (zustand != zurueck.last()) zurueck << zustand, vor.clear();
            lauf = nullptr;
        };
        for (int s = 0; s < schritte; ++s) {
            w->activateWindow();  // back from a dialog, as a desktop does it
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
            const int art = int(zufall.bounded(11));
            const char* const namen[] = {"type", "header", "N",    "paste", "edit",  "command",
                                         "save", "load",   "undo", "redo",  "resize"};
            const QString wo = QStringLiteral("step %1 (%2), seed %3").arg(s).arg(namen[art]).arg(saat);
            Schritt schritt{{}, lauf, false};  // a step that does nothing leaves the run open
            if (art == 0) Tippen_(schritt);
            if (art == 1) Kopf(schritt);
            if (art == 2) N(schritt);
            if (art == 3) Einfuegen(schritt);
            if (art == 4) Bearbeiten(schritt);
            if (art == 5) Befehl(schritt);
            if (art == 6) Speichern(schritt, dateien, meldungen);
            if (art == 7) Laden(schritt, dateien);
            if (art == 8 || art == 9)
                Zurueck(art == 8), schritt = {{"fehlerhafte Eingabe"}};  // keys go up in a cell
            if (art == 10) w->setWindowState(zufall.bounded(2) ? Qt::WindowMaximized : Qt::WindowNoState);
            if (QTest::currentTestFailed()) QFAIL(qPrintable(wo));
            for (const QString& text : meldungen.texte) {
                const bool erlaubt =
                    std::any_of(schritt.erlaubt.begin(), schritt.erlaubt.end(),
                                [&](const QString& e) { return text.startsWith("Tovik: " + e); });
                QVERIFY2(erlaubt, qPrintable(wo + ": " + text));
            }
            // The step's line of the transcript, line breaks shown as " / ".
            protokoll << QString(wo.section(',', 0, 0) + ": " +
                                 QStringList{w->Text1->text(), w->Text2->text(), w->Text3->text(), Raster(*w),
                                             Satz(), meldungen.texte.join('\n'), ausgabe}
                                     .join(" | "))
                             .replace("\r\n", " / ")
                             .replace('\n', " / ")
                             .replace('\t', ' ');
            meldungen.texte.clear(), ausgabe.clear();
            Pruefen();
            if (QTest::currentTestFailed()) QFAIL(qPrintable(wo));

            // A step in another field, or one that is no typing, ends the run before it; one that
            // is no typing at all is a step of its own.
            if (schritt.grenze || schritt.feld != lauf) abschliessen();
            zustand = Zustand(*w);
            lauf = schritt.feld;
            if (art == 8 || art == 9) {
                if (art == 8 && zurueck.size() > 1) vor << zurueck.takeLast();
                if (art == 9 && !vor.isEmpty()) zurueck << vor.takeLast();
                QVERIFY2(zustand == zurueck.last(),
                         qPrintable(wo + "\n" + zustand + "\n---\n" + zurueck.last()));
            } else if (!schritt.feld || schritt.schluss) {
                abschliessen();
            }
        }
        // All the way back to the start, and forth again through every state on the way, those
        // that could be redone at the end included; a key more at either end changes nothing.
        abschliessen();
        QStringList alle = zurueck;
        std::copy(vor.rbegin(), vor.rend(), std::back_inserter(alle));
        for (qsizetype i = zurueck.size() - 2; i >= -1; --i) {
            QVERIFY(Tasten(w->Text3, "Ctrl+Z"));
            QCOMPARE(Zustand(*w), alle[std::max<qsizetype>(i, 0)]);
        }
        for (qsizetype i = 1; i <= alle.size(); ++i) {
            QVERIFY(Tasten(w->Text3, "Ctrl+Shift+Z"));
            QCOMPARE(Zustand(*w), alle[std::min(i, alle.size() - 1)]);
        }
        if (saat == 5 && schritte == 700)
            ProtokollVergleichen(TOVIK_REFERENZ "/modell.txt", TOVIK_BILDABLAGE, protokoll);
    }
};

TOVIK_TEST_MAIN(TstModell)
#include "tst_modell.moc"
