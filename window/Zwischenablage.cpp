// Data in and out as desktop users move it: a block pasted into a cell spreads over the grid,
// Ctrl+Shift+C copies the system, a system file dropped on the window is loaded.

#include "Zwischenablage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QUrl>
#include <algorithm>

#include "Dezimaltrenner.h"
#include "Meldung.h"
#include "Mod_Allg.h"
#include "Zahltext.h"
#include "frm_Tovik.h"

using tovik::GS;

namespace tovik {

std::optional<QString> Zahlwert(QStringView roh) {
    QString wert = roh.trimmed().toString();
    wert.replace(QChar(0x2212), u'-');  // the minus of typeset text, web pages and PDFs
    qsizetype i = 0;
    const auto ziffern = [&] {
        const qsizetype von = i;
        while (i < wert.size() && wert[i] >= u'0' && wert[i] <= u'9') ++i;
        return i - von;
    };
    const auto eines = [&](QStringView zeichen) {
        if (i == wert.size() || !zeichen.contains(wert[i])) return false;
        return ++i, true;
    };
    if (wert.isEmpty()) return wert;  // an empty cell
    eines(u"+-");
    qsizetype stellen = ziffern();
    if (eines(u".,")) stellen += ziffern();
    if (stellen == 0) return std::nullopt;
    if (eines(u"eE")) {
        eines(u"+-");
        if (ziffern() == 0) return std::nullopt;
    }
    if (i != wert.size()) return std::nullopt;
    return wert;
}

Einfuegung EinfuegungLesen(QStringView text) {
    // A spreadsheet ends even a single copied cell with a line end.
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);

    Einfuegung e;
    bool getrennt = false;  // a tab or a semicolon somewhere
    QString falsch;         // the first value that is no number, and where it stands
    qsizetype falschZeile = 0, falschWert = 0;
    qsizetype zeile = 0;
    for (qsizetype anfang = 0; anfang < text.size(); ++zeile) {
        qsizetype ende = anfang;
        while (ende < text.size() && text[ende] != u'\n' && text[ende] != u'\r') ++ende;
        const QStringView inhalt = text.sliced(anfang, ende - anfang);
        anfang = ende + (text.sliced(ende).startsWith(u"\r\n") ? 2 : 1);

        const bool spalten = inhalt.contains(u'\t') || inhalt.contains(u';');
        getrennt = getrennt || spalten;
        QStringList werte;
        qsizetype anzahl = 0;
        const auto wert = [&](QStringView roh) {
            const std::optional<QString> zahl = Zahlwert(roh);
            if (!zahl && falsch.isNull())
                falsch = roh.trimmed().toString(), falschZeile = zeile, falschWert = anzahl;
            if (zeile < kMaxN && anzahl < kMaxN + 2) werte << zahl.value_or(QString());
            ++anzahl;
        };
        for (qsizetype von = 0; von <= inhalt.size();) {
            qsizetype bis = von;
            if (spalten) {
                while (bis < inhalt.size() && inhalt[bis] != u'\t' && inhalt[bis] != u';') ++bis;
                wert(inhalt.sliced(von, bis - von));
            } else {
                // Runs of blanks separate the values, as a terminal, a PDF or Octave shows a matrix.
                while (von < inhalt.size() && inhalt[von].isSpace()) ++von;
                bis = von;
                while (bis < inhalt.size() && !inhalt[bis].isSpace()) ++bis;
                if (bis > von || anzahl == 0) wert(inhalt.sliced(von, bis - von));
            }
            von = bis + 1;
        }
        if (zeile < kMaxN) e.werte << werte;
        if (anzahl > 1 || !inhalt.trimmed().isEmpty()) e.zeilen = zeile + 1;
        e.breite = std::max(e.breite, anzahl);
    }
    e.werte.resize(std::min<qsizetype>(e.zeilen, kMaxN));
    const bool einzeln = e.zeilen == 1 && e.breite == 1 && !getrennt;
    if (!falsch.isNull()) {
        e.art = Einfuegung::Art::Abgelehnt;
        const QString zitat =
            QStringLiteral("„%1“").arg(falsch.size() > 30 ? falsch.left(30) + u'…' : falsch);
        e.meldung = einzeln
                        ? QStringLiteral("Der eingefügte Text %1 ist keine Zahl; es wurde nichts eingefügt.")
                              .arg(zitat)
                        : QStringLiteral(
                              "Im eingefügten Block ist Wert %1 in Zeile %2 keine Zahl: %3. "
                              "Es wurde nichts eingefügt.")
                              .arg(falschWert + 1)
                              .arg(falschZeile + 1)
                              .arg(zitat);
    } else if (e.zeilen > 0) {
        e.art = einzeln ? Einfuegung::Art::Wert : Einfuegung::Art::Block;
    }
    return e;
}

QString Austauschform(double wert) {
    // The digits of the plain number text (15 significant ones) as a whole number and a power
    // of ten: " .5" gives 5 and -1, "-1.5E-05" -15 and -6, " 1E+15" 1 and 15.
    const QString text = QString::fromStdString(ZahlText(wert)).trimmed();
    const qsizetype e = text.indexOf(u'E');
    const QString mantisse = text.left(e);
    int exponent = e < 0 ? 0 : text.mid(e + 1).toInt();
    if (const qsizetype punkt = mantisse.indexOf(u'.'); punkt >= 0)
        exponent -= int(mantisse.size() - punkt - 1);
    QString ziffern;
    for (QChar c : mantisse)
        if (c.isDigit() && (c != u'0' || !ziffern.isEmpty())) ziffern += c;
    if (ziffern.isEmpty()) return QStringLiteral("0");
    for (; ziffern.endsWith(u'0'); ++exponent) ziffern.chop(1);
    // A whole number as it stands, as long as it keeps its 15 digits; any other as 15E-1.
    if (exponent >= 0 && ziffern.size() + exponent <= 15) ziffern += QString(exponent, u'0'), exponent = 0;
    return (text.startsWith(u'-') ? QStringLiteral("-") : QString()) + ziffern +
           (exponent ? QStringLiteral("E%1").arg(exponent) : QString());
}

QString WertText(double wert, QChar trenner) {
    QString text = QString::fromStdString(ZahlText(wert)).trimmed();
    // "0,25" is read by every spreadsheet, ",25" not by all.
    if (text.startsWith(u'.')) text.prepend(u'0');
    if (text.startsWith(u"-.")) text.insert(1, u'0');
    return text.replace(u'.', trenner);
}

}  // namespace tovik

namespace {

QString Anzahl(qsizetype n, const char* eins, const char* mehr) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? eins : mehr));
}

// The one local file of a drag, where it is a system file (*.TVK in any case).
QString Systemdatei(const QMimeData* daten) {
    if (!daten->hasUrls() || daten->urls().size() != 1) return {};
    const QUrl url = daten->urls().constFirst();
    const QString pfad = url.isLocalFile() ? url.toLocalFile() : QString();
    return pfad.endsWith(QLatin1String(".tvk"), Qt::CaseInsensitive) ? pfad : QString();
}

// An entry of a line edit's own menu. Qt names them only by their translated captions, with
// the shortcut after a tab where the style shows one.
QAction* Eintrag(const QMenu& menu, const char* text) {
    const QString name = QLineEdit::tr(text);
    for (QAction* eintrag : menu.actions())
        if (eintrag->text().section(u'\t', 0, 0) == name) return eintrag;
    return nullptr;
}

}  // namespace

void frm_Tovik::ZwischenablageEinrichten() {
    setAcceptDrops(true);
    connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+C")), this), &QShortcut::activated, this,
            [this] { Befehl([this] { SystemKopieren(); }); });
}

bool frm_Tovik::AblageEreignis(QObject* objekt, QEvent* ereignis) {
    // qobject_cast: a field being destroyed is no line edit any more.
    auto* feld = qobject_cast<QLineEdit*>(objekt);
    Zelle* zelle = nullptr;
    for (int zeile = 1; zeile <= tovik::kMaxN + 1 && feld; ++zeile)
        for (Zelle* z : Reihe(zeile))
            if (z == feld) zelle = z;
    QClipboard* ablage = QGuiApplication::clipboard();
    switch (ereignis->type()) {
        case QEvent::KeyPress:
            return zelle && static_cast<QKeyEvent*>(ereignis)->matches(QKeySequence::Paste) &&
                   Einfuegen(zelle, ablage->text());
        case QEvent::MouseButtonRelease:
            // X11 pastes the selection on a middle click, where the press put the cursor.
            if (!zelle || static_cast<QMouseEvent*>(ereignis)->button() != Qt::MiddleButton ||
                !ablage->supportsSelection())
                return false;
            zelle->deselect();
            return Einfuegen(zelle, ablage->text(QClipboard::Selection));
        case QEvent::ContextMenu: {
            if (!feld) return false;
            // The field's own menu, its undo and redo the window's, a cell's paste as the keys paste.
            QMenu* menu = feld->createStandardContextMenu();
            const auto umleiten = [&](QAction* eintrag, auto befehl, bool moeglich) {
                if (!eintrag) return;
                QObject::disconnect(eintrag, nullptr, feld, nullptr);
                connect(eintrag, &QAction::triggered, this, befehl);
                eintrag->setEnabled(moeglich);
            };
            umleiten(
                Eintrag(*menu, "&Undo"), [this] { Rueckgaengig(); }, verlauf_.KannRueckgaengig());
            umleiten(
                Eintrag(*menu, "&Redo"), [this] { Wiederherstellen(); }, verlauf_.KannWiederherstellen());
            if (zelle)
                umleiten(
                    Eintrag(*menu, "&Paste"),
                    [this, zelle] {
                        if (!Einfuegen(zelle, QGuiApplication::clipboard()->text())) zelle->paste();
                    },
                    !ablage->text().isEmpty());
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(static_cast<QContextMenuEvent*>(ereignis)->globalPos());
            return true;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            break;
        default:
            return false;
    }

    auto* ablegen = static_cast<QDropEvent*>(ereignis);
    const QMimeData* daten = ablegen->mimeData();
    const QString datei = Systemdatei(daten);
    const bool fallen = ereignis->type() == QEvent::Drop;
    if (!datei.isEmpty()) {
        ablegen->acceptProposedAction();
        // Loaded once the drop is done: a message box must not hold up the file manager.
        if (fallen)
            QMetaObject::invokeMethod(
                this, [this, datei] { DateiLaden(datei); }, Qt::QueuedConnection);
        return true;
    }
    // Other files are ignored, also over a field, which would take their names as text.
    if (daten->hasUrls()) {
        ablegen->ignore();
        return true;
    }
    // Text moved within its own field is the field's; from anywhere else it is a copy, never a
    // move that would empty a spreadsheet's cells. A source that offers nothing but a move
    // (LibreOffice with its own X11 toolkit, unless Ctrl is held) is refused: it would take
    // any answer for a move.
    if (!feld || !daten->hasText() || ablegen->source() == feld) return false;
    if (!(ablegen->possibleActions() & Qt::CopyAction)) {
        ablegen->ignore();
        return true;
    }
    ablegen->setDropAction(Qt::CopyAction);
    ablegen->accept();
    if (fallen)
        QMetaObject::invokeMethod(
            feld,
            [this, feld, zelle, text = daten->text(),
             ort = feld->cursorPositionAt(ablegen->position().toPoint())] {
                feld->setCursorPosition(ort);
                if (!zelle || !Einfuegen(zelle, text)) feld->insert(text);
                if (!feld->hasFocus()) feld->home(false);  // as a field left behind
            },
            Qt::QueuedConnection);
    return true;
}

bool frm_Tovik::Einfuegen(Zelle* zelle, const QString& text) {
    // The grid as A with B as its column N + 1; the cell's place in it, from (1, 1).
    const int n = ImRaster();
    int zeile = 0, spalte = 0;
    for (int k = 0; k < n; ++k) {
        for (int i = 1; i <= n; ++i)
            if (Reihe(i)[k] == zelle) zeile = i, spalte = k + 1;
        if (Text9[k] == zelle) zeile = k + 1, spalte = n + 1;
    }
    if (zeile == 0) return false;  // no cell of the system
    const tovik::Einfuegung einfuegung = tovik::EinfuegungLesen(text);
    switch (einfuegung.art) {
        case tovik::Einfuegung::Art::Nichts:
            return false;
        case tovik::Einfuegung::Art::Abgelehnt:
            Grenze();  // a paste ends the run of typing, as a block would
            tovik::Meldung(einfuegung.meldung.toStdString());
            return true;
        case tovik::Einfuegung::Art::Wert:
            // As the cell pastes, where its cursor is; read at once, as any change without a key.
            zelle->insert(einfuegung.werte[0][0]);
            return true;
        case tovik::Einfuegung::Art::Block:
            break;
    }

    // k lines of k + 1 values into A(1,1) are a whole system: N = k first, as if typed. Any other
    // block goes where it fits, as a spreadsheet pastes. Only where it fits nowhere may k lines
    // of k + 2 values be a copied system with its x, which is a result and not taken.
    const qsizetype k = einfuegung.zeilen;
    qsizetype breite = einfuegung.breite;
    const bool voll = std::all_of(einfuegung.werte.begin(), einfuegung.werte.end(),
                                  [&](const QStringList& z) { return z.size() == breite; });
    const bool passt = k <= n - zeile + 1 && breite <= n + 2 - spalte;
    const bool system = zeile == 1 && spalte == 1 && k <= tovik::kMaxN && voll &&
                        (breite == k + 1 || (breite == k + 2 && !passt));
    if (system) {
        breite = k + 1;
    } else if (!passt) {
        Grenze();
        const QString ort = spalte > n ? QStringLiteral("B(%1)").arg(zeile)
                                       : QStringLiteral("A(%1,%2)").arg(zeile).arg(spalte);
        tovik::Meldung(
            QStringLiteral("Der eingefügte Block passt nicht: %1 mit bis zu %2, ab %3 ist Platz für "
                           "%4 mit %5.")
                .arg(Anzahl(k, "Zeile", "Zeilen"), Anzahl(breite, "Wert", "Werten"), ort,
                     Anzahl(n - zeile + 1, "Zeile", "Zeilen"), Anzahl(n + 2 - spalte, "Wert", "Werten"))
                .toStdString());
        return true;
    }
    // One step of the undo history, N included; then the rows are read as a key release reads
    // them, a value beyond a double told.
    Befehl([&] {
        const QScopedValueRollback schreiben(programmSchreibt_, true);
        if (system && k != GS.N) Text3->setText(QString::number(k));
        const int m = ImRaster();
        for (int i = 0; i < einfuegung.werte.size(); ++i) {
            const QStringList& werte = einfuegung.werte[i];
            for (int j = 0; j < std::min<qsizetype>(werte.size(), breite); ++j) {
                Zelle* ziel = spalte + j > m ? Text9[zeile + i - 1] : Reihe(zeile + i)[spalte + j - 1];
                Zeigen(ziel, werte[j]);
                geaendert_.insert(ziel);
            }
        }
        GeaenderteLesen();
    });
    return true;
}

void frm_Tovik::SystemKopieren() {
    const int n = ImRaster();
    if (n == 0) return;
    // x goes with the system it solves: shown as computed, and A and B as they were solved.
    bool mitX = loesungGezeigt_;
    for (int i = 1; i <= n; ++i)
        mitX = mitX && GS.B[i] == GS.B0[i] &&
               std::equal(GS.A[i].begin() + 1, GS.A[i].begin() + n + 1, GS.A0[i].begin() + 1);
    // The grid reads a comma or a point, so the copy never holds another separator.
    const QChar trenner = tovik::Dezimaltrenner() == "," ? u',' : u'.';
    // Beside the text, as spreadsheets take a table without asking how to read it, in numbers
    // that no locale reads another way: HTML (Gnumeric) and RTF (LibreOffice Calc, which asks
    // for HTML and takes RTF first).
    QString text, html = QStringLiteral("<table>"), rtf = QStringLiteral("{\\rtf1\\ansi\n");
    for (int i = 1; i <= n; ++i) {
        QList<double> werte(GS.A[i].begin() + 1, GS.A[i].begin() + n + 1);
        werte << GS.B[i];
        if (mitX) werte << GS.X[i];
        QStringList zeile;
        html += QStringLiteral("<tr>");
        rtf += QStringLiteral("\\trowd");
        for (int j = 1; j <= werte.size(); ++j) rtf += QStringLiteral("\\cellx%1").arg(1500 * j);
        for (double wert : werte) {
            zeile << tovik::WertText(wert, trenner);
            const QString zahl = tovik::Austauschform(wert);
            html += QStringLiteral("<td>%1</td>").arg(zahl);
            rtf += QStringLiteral("\\intbl %1\\cell").arg(zahl);
        }
        text += zeile.join(u'\t') + u'\n';
        html += QStringLiteral("</tr>");
        rtf += QStringLiteral("\\row\n");
    }
    auto* daten = new QMimeData;
    daten->setText(text);
    daten->setHtml(html + QStringLiteral("</table>"));
    daten->setData(QStringLiteral("text/rtf"), (rtf + u'}').toLatin1());
    QGuiApplication::clipboard()->setMimeData(daten);
}
