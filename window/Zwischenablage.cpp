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
#include <QShortcut>
#include <QUrl>
#include <algorithm>

#include "Meldung.h"
#include "Zahltext.h"
#include "frm_Tovik.h"

using tovik::GS;

namespace tovik {

std::optional<Block> BlockLesen(QStringView text) {
    // A spreadsheet ends even a single copied cell with a line end.
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    const auto trenner = [](QChar c) { return c == u'\t' || c == u';' || c == u'\n' || c == u'\r'; };
    if (std::none_of(text.begin(), text.end(), trenner)) return std::nullopt;

    Block block;
    qsizetype zeile = 0;
    for (qsizetype anfang = 0; anfang < text.size(); ++zeile) {
        qsizetype ende = anfang;
        while (ende < text.size() && text[ende] != u'\n' && text[ende] != u'\r') ++ende;
        const QStringView inhalt = text.sliced(anfang, ende - anfang);
        anfang = ende + (text.sliced(ende).startsWith(u"\r\n") ? 2 : 1);

        QStringList werte;
        qsizetype anzahl = 0;
        for (qsizetype von = 0; von <= inhalt.size(); ++anzahl) {
            qsizetype bis = von;
            while (bis < inhalt.size() && inhalt[bis] != u'\t' && inhalt[bis] != u';') ++bis;
            if (zeile < kMaxN && anzahl < kMaxN + 2)
                werte << inhalt.sliced(von, bis - von).trimmed().toString();
            von = bis + 1;
        }
        if (zeile < kMaxN) block.werte << werte;
        if (anzahl > 1 || !inhalt.trimmed().isEmpty()) block.zeilen = zeile + 1;
        block.breite = std::max(block.breite, anzahl);
    }
    if (block.zeilen == 0) return std::nullopt;
    block.werte.resize(std::min<qsizetype>(block.zeilen, kMaxN));
    return block;
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

// The paste entry of a line edit's own menu. Qt names its entries only by their translated
// captions, with the shortcut after a tab where the style shows one.
QAction* Einfuegen(const QMenu& menu) {
    const QString text = QLineEdit::tr("&Paste");
    for (QAction* eintrag : menu.actions())
        if (eintrag->text().section(u'\t', 0, 0) == text) return eintrag;
    return nullptr;
}

// Paste and drop at the cells, drop at the window. Installed after the window's own filter,
// so it sees the events first: a paste it takes never reaches the cell, nor its key the
// window's key tracking, whose release would read the row once more.
class Ablage : public QObject {
public:
    Ablage(frm_Tovik* fenster, QList<QObject*> zellen) : QObject(fenster), w(fenster), zellen_(zellen) {}

    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        // qobject_cast: a cell being destroyed is no line edit any more.
        auto* zelle = zellen_.contains(objekt) ? qobject_cast<QLineEdit*>(objekt) : nullptr;
        QClipboard* ablage = QGuiApplication::clipboard();
        switch (ereignis->type()) {
            case QEvent::KeyPress:
                return zelle && static_cast<QKeyEvent*>(ereignis)->matches(QKeySequence::Paste) &&
                       w->BlockEinfuegen(zelle, ablage->text());
            case QEvent::MouseButtonRelease:
                // X11 pastes the selection on a middle click.
                return zelle && static_cast<QMouseEvent*>(ereignis)->button() == Qt::MiddleButton &&
                       ablage->supportsSelection() &&
                       w->BlockEinfuegen(zelle, ablage->text(QClipboard::Selection));
            case QEvent::ContextMenu:
                if (zelle) {
                    // The cell's own menu, its "Einfügen" spreading a block as the keys do.
                    QMenu* menu = zelle->createStandardContextMenu();
                    if (auto* einfuegen = Einfuegen(*menu)) {
                        QObject::disconnect(einfuegen, nullptr, zelle, nullptr);
                        QObject::connect(einfuegen, &QAction::triggered, zelle, [this, zelle] {
                            if (!w->BlockEinfuegen(zelle, QGuiApplication::clipboard()->text()))
                                zelle->paste();
                        });
                    }
                    menu->setAttribute(Qt::WA_DeleteOnClose);
                    menu->popup(static_cast<QContextMenuEvent*>(ereignis)->globalPos());
                    return true;
                }
                return false;
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                return Ablegen(zelle, static_cast<QDropEvent*>(ereignis));
            default:
                return false;
        }
    }

private:
    bool Ablegen(QLineEdit* zelle, QDropEvent* ereignis) {
        const QMimeData* daten = ereignis->mimeData();
        const QString datei = Systemdatei(daten);
        const bool fallen = ereignis->type() == QEvent::Drop;
        if (!datei.isEmpty()) {
            ereignis->acceptProposedAction();
            // Loaded once the drop is done: a message box must not hold up the file manager.
            if (fallen)
                QMetaObject::invokeMethod(
                    w, [f = w, datei] { f->DateiLaden(datei); }, Qt::QueuedConnection);
            return true;
        }
        // Other files are ignored, also over a field, which would take their names as text.
        if (daten->hasUrls()) {
            ereignis->ignore();
            return true;
        }
        // Text dropped on a cell: a block spreads as pasted, a single value is the cell's.
        if (!fallen || !zelle || !tovik::BlockLesen(daten->text())) return false;
        ereignis->setDropAction(Qt::CopyAction);
        ereignis->accept();
        QMetaObject::invokeMethod(
            zelle, [f = w, zelle, text = daten->text()] { f->BlockEinfuegen(zelle, text); },
            Qt::QueuedConnection);
        return true;
    }

    frm_Tovik* w;
    QList<QObject*> zellen_;  // the cells of A and B
};

}  // namespace

void frm_Tovik::ZwischenablageEinrichten() {
    QList<QObject*> zellen;
    for (const Feldreihe* zeile : {&Text4, &Text5, &Text6, &Text7, &Text8, &Text9})
        for (QLineEdit* zelle : *zeile) zellen << zelle;
    auto* ablage = new Ablage(this, zellen);
    setAcceptDrops(true);
    installEventFilter(ablage);
    for (QLineEdit* feld : findChildren<QLineEdit*>()) feld->installEventFilter(ablage);
    connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+C")), this), &QShortcut::activated, this,
            [this] { Befehl([this] { SystemKopieren(); }); });
}

bool frm_Tovik::BlockEinfuegen(QLineEdit* zelle, const QString& text) {
    // The grid as A with B as its column N + 1; the cell's place in it, from (1, 1).
    const std::array<Feldreihe*, tovik::kMaxN> a = {&Text4, &Text5, &Text6, &Text7, &Text8};
    int n = std::clamp<int>(GS.N, 0, tovik::kMaxN);
    int zeile = 0, spalte = 0;
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < n; ++i)
            if ((*a[i])[k] == zelle) zeile = i + 1, spalte = k + 1;
        if (Text9[k] == zelle) zeile = k + 1, spalte = n + 1;
    }
    if (zeile == 0) return false;  // no cell of the system
    const std::optional<tovik::Block> block = tovik::BlockLesen(text);
    if (!block) return false;

    // k lines of k + 1 values into A(1,1) are a whole system: N = k first, as if typed. A line
    // may carry x too (a copy of a computed system): x is a result, not taken.
    const qsizetype k = block->zeilen;
    qsizetype breite = block->breite;
    const bool system = zeile == 1 && spalte == 1 && k <= tovik::kMaxN &&
                        (breite == k + 1 || breite == k + 2) &&
                        std::all_of(block->werte.begin(), block->werte.end(),
                                    [&](const QStringList& z) { return z.size() == breite; });
    if (system) {
        if (k != GS.N) Text3->setText(QString::number(k));
        n = GS.N;
        breite = k + 1;
    } else if (k > n - zeile + 1 || breite > n + 2 - spalte) {
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

    // Each cell as the user would have typed its value: one undo step, only where it changes.
    for (int i = 0; i < block->werte.size(); ++i) {
        const QStringList& werte = block->werte[i];
        for (int j = 0; j < std::min<qsizetype>(werte.size(), breite); ++j) {
            QLineEdit* ziel = spalte + j > n ? Text9[zeile + i - 1] : (*a[zeile + i - 1])[spalte + j - 1];
            if (ziel->text() == werte[j]) continue;
            ziel->selectAll();
            ziel->insert(werte[j]);
        }
    }
    // Then the rows are read as a key release reads them.
    if (spalte <= n)
        for (int i = zeile; i < zeile + k; ++i) ZeileLesen(*a[i - 1], GS.A[i]);
    if (spalte + breite - 1 > n) ZeileLesen(Text9, GS.B);
    return true;
}

void frm_Tovik::SystemKopieren() {
    const int n = std::clamp<int>(GS.N, 0, tovik::kMaxN);
    if (n == 0) return;
    // x goes with the system it solves: shown as computed, and A and B as they were solved.
    bool mitX = loesungGezeigt_;
    for (int i = 1; i <= n; ++i)
        mitX = mitX && GS.B[i] == GS.B0[i] &&
               std::equal(GS.A[i].begin() + 1, GS.A[i].begin() + n + 1, GS.A0[i].begin() + 1);
    // The grid reads a comma or a point, so the copy never holds another separator.
    const QChar trenner = QLocale().decimalPoint() == QStringLiteral(",") ? u',' : u'.';
    QString text;
    for (int i = 1; i <= n; ++i) {
        QStringList zeile;
        for (int j = 1; j <= n; ++j) zeile << tovik::WertText(GS.A[i][j], trenner);
        zeile << tovik::WertText(GS.B[i], trenner);
        if (mitX) zeile << tovik::WertText(GS.X[i], trenner);
        text += zeile.join(u'\t') + u'\n';
    }
    QGuiApplication::clipboard()->setText(text);
}
