// The window's start-up, its layout on resize and the routing of its events.

#include "frm_Tovik.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QStyle>
#include <QStyleFactory>
#include <cmath>
#include <limits>
#include <optional>

#include "Meldungsfenster.h"
#include "Mod_Allg.h"
#include "QtDeutsch.h"
#include "Sprechform.h"
#include "SystemDialog.h"
#include "SystemDrucken.h"
#include "Twips.h"
#include "Zahltext.h"

using tovik::GS;

namespace {

// Client size of the design, in twips; the size the window has when restored.
constexpr double kDesignBreite = 9285;
constexpr double kDesignHoehe = 8550;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

void Beschriften(QLabel* w, const QString& text) {
    w->setText(text);
    w->setAccessibleName(text);
}

void Beschriften(QGroupBox* w, const QString& text) {
    w->setTitle(text);
    w->setAccessibleName(text.trimmed());  // the blank only spaces the drawn title from its line
}

void Beschriften(QPushButton* w, const QString& text) {
    w->setText(text);
    w->setAccessibleName(text);
}

QStyle* RahmenStil() {
    static QStyle* const stil = [] {
        QStyle* s = QStyleFactory::create(QStringLiteral("Windows"));
        if (s) s->setParent(qApp);
        return s;
    }();
    return stil;
}

// What a screen reader is told a control is. Qt reports a plain top-level QWidget as a
// filler and a QFrame as a frame, which AT-SPI takes for a window of its own; the lines
// (all vertical) only draw the brackets of A and B.
QAccessibleInterface* Zugangsart(const QString& klasse, QObject* objekt) {
    if (klasse == QLatin1String("frm_Tovik"))
        return new QAccessibleWidget(static_cast<QWidget*>(objekt), QAccessible::Window);
    if (klasse == QLatin1String("QFrame") && static_cast<QFrame*>(objekt)->frameShape() == QFrame::VLine)
        return new QAccessibleWidget(static_cast<QWidget*>(objekt), QAccessible::Separator);
    return nullptr;
}

}  // namespace

frm_Tovik::frm_Tovik() {
    // Before anything asks for the window's interface: Qt keeps the first one it makes.
    static const bool zugang = (QAccessible::installFactory(Zugangsart), true);
    (void)zugang;
    // Qt's German texts come with the first dialog, menu or screen reader, not before.
    tovik::QtDeutschBeiBedarf();
    setObjectName(QStringLiteral("frm_Tovik"));
    setWindowTitle(QStringLiteral("Form1"));
    // The default font of every control whose font the start-up leaves alone. The design
    // was laid out for a small sans serif: arial at 7.5 points keeps every caption inside
    // its fixed size ("... N =" is the widest).
    QFont standard(QStringLiteral("arial"));
    standard.setPointSizeF(7.5);
    setFont(standard);
    resize(tovik::ZuPixel(kDesignBreite, logicalDpiX()), tovik::ZuPixel(kDesignHoehe, logicalDpiY()));

    // A new text field lays out its text in the application's font before it takes its own.
    // Made under the window's font, the fields load no font the window never shows (the
    // desktop's); dialogs and menus get the desktop's font back.
    const QFont desktop = QApplication::font();
    QApplication::setFont(standard);
    SteuerelementeAnlegen();
    QApplication::setFont(desktop);
    // The header texts belong to the record, at any length: the box must not cut them.
    for (QLineEdit* kopf : {Text1, Text2}) kopf->setMaxLength(std::numeric_limits<int>::max());
    vorherigeMeldung_ = tovik::SetzeMeldungsHook(tovik::MeldungsfensterZeigen);

    connect(Text3, &QLineEdit::textChanged, this, &frm_Tovik::Text3_Change);
    // A voice reads "3.918" as thousands and drops the sign of "E-14": the shown results get
    // a spoken form beside them, whichever code writes them.
    for (const Feldreihe* zeile : {&Text10, &Text11})
        for (QLineEdit* zelle : *zeile)
            connect(zelle, &QLineEdit::textChanged, zelle, [zelle](const QString& text) {
                zelle->setAccessibleDescription(tovik::Sprechform(text));
            });
    // One filter, in one order: header fields and cells have events of their own, buttons take
    // Enter, every control that takes keys tells which of them went down in this window, and
    // paste and drop reach the cells and the window.
    installEventFilter(this);
    for (QWidget* steuerelement : findChildren<QWidget*>())
        if (steuerelement->focusPolicy() != Qt::NoFocus) steuerelement->installEventFilter(this);
    // Whatever way the user changes a field (keys, its menu, the mouse, a drop, an input method,
    // a screen reader).
    for (QLineEdit* feld : Felder())
        connect(feld, &QLineEdit::textChanged, this, [this, feld] { FeldBearbeitet(feld); });
    // The commands and their keys. A key clicks its button, so that every way into a command
    // (a click, its key, Space or Enter on the button) runs it through Befehl.
    const std::tuple<QPushButton*, void (frm_Tovik::*)(), const char*> befehle[] = {
        {Command1, &frm_Tovik::Command1_Click, nullptr},  {Command5, &frm_Tovik::Command5_Click, nullptr},
        {Command6, &frm_Tovik::Command6_Click, nullptr},  {Command2, &frm_Tovik::Command2_Click, "Ctrl+P"},
        {Command3, &frm_Tovik::Command3_Click, "Ctrl+O"}, {Command4, &frm_Tovik::Command4_Click, "Ctrl+S"},
    };
    for (const auto& [knopf, befehl, taste] : befehle) {
        connect(knopf, &QPushButton::clicked, this,
                [this, befehl = befehl] { Befehl([this, befehl] { (this->*befehl)(); }); });
        if (taste)
            connect(new QShortcut(QKeySequence(taste), this), &QShortcut::activated, knopf,
                    &QPushButton::click);
    }
    connect(new QShortcut(Qt::CTRL | Qt::Key_Q, this), &QShortcut::activated, this, &QWidget::close);
    ZwischenablageEinrichten();

    Form_Load();
    // The focusable control with the lowest tab index takes the focus when shown.
    Text1->setFocus();
    verlauf_.Beginnen(Erfassen());
}

frm_Tovik::~frm_Tovik() { tovik::SetzeMeldungsHook(std::move(vorherigeMeldung_)); }

void frm_Tovik::Form_Load() {
    const QScopedValueRollback schreiben(programmSchreibt_, true);
    setWindowState(windowState() | Qt::WindowMaximized);
    setWindowTitle(QStringLiteral("Programm  ") + QStringLiteral("Tovik.vbp") + QStringLiteral(", Version ") +
                   QStringLiteral("5.0"));
    Beschriften(Frame1, QStringLiteral("Einheiten "));
    Beschriften(Frame2, QStringLiteral("Eingaben "));
    Beschriften(Frame3, QStringLiteral("Ergebnisse "));
    Beschriften(Frame4, QStringLiteral("Kontrolle "));
    // The controls inside have fonts and colours of their own, so this styles the caption only.
    for (QGroupBox* rahmen : {Frame1, Frame2, Frame3, Frame4}) {
        Schrift(rahmen, 12, true, QStringLiteral("arial"));
        QPalette p = rahmen->palette();
        p.setColor(QPalette::WindowText, QColor(255, 0, 0));
        rahmen->setPalette(p);
        // The classic frame: the caption stands in the top line, so the design places of
        // the controls inside (some only 240 twips below the top) stay clear of the line.
        rahmen->setStyle(RahmenStil());
    }
    for (QPushButton* knopf : {Command5, Command6}) {
        Beschriften(knopf,
                    knopf == Command5 ? QStringLiteral("A symmetrisch") : QStringLiteral("A * x - B ="));
        Schrift(knopf, 10, true, QStringLiteral("arial"));
    }

    tovik::BeispielSystem();

    Beschriften(Label1, QStringLiteral("Lösung von linearen Gleichungssystemen nach Tovik\n"
                                       "mit mehrfachen rechten Seiten"));
    Schrift(Label1, 12, true);
    Beschriften(Label9, QStringLiteral("(Voraussetzung: Hauptdiagonalelemente a(i,i) <> 0\n"
                                       "falls nicht erfüllt: Reihenfolge der Gleichungen ändern!)"));
    Schrift(Label9, 10, true);
    Label9->setAccessibleName(tovik::Sprechform(Label9->text()));  // "<>" is silent when read
    Beschriften(Label2, QStringLiteral("Projekt"));
    Beschriften(Label3, QStringLiteral("Position"));
    Text1->setText(Text(GS.Projekt));
    Text2->setText(Text(GS.Position));
    Beschriften(Label4, QStringLiteral("Anzahl der Gleichungen und Unbekannten N ="));
    // Runs Text3_Change at once: the same N, so it only sets up the grid.
    Text3->setText(Text(tovik::ZahlText(GS.N)));
    Beschriften(Label8, QStringLiteral("(Bei Eingabe von N wird das Gleichungssystem gelöscht!)"));
    Text3->setAccessibleDescription(Label8->text());  // the warning belongs to the field
    const std::pair<QLabel*, const char*> ueberschriften[] = {
        {Label5, "Koeffizientenmatrix A"}, {Label6, "rechte Seite B"}, {Label7, "* x ="},
        {Label10, "Lösungen x"},           {Label11, "Nullvektor"},
    };
    for (const auto& [label, text] : ueberschriften) {
        Beschriften(label, QString::fromUtf8(text));
        Schrift(label, 10, true);
    }
    ZellenFuellen();

    KnopfEinrichten(*this, 1, QStringLiteral("Berechnen"));
    KnopfEinrichten(*this, 2, QStringLiteral("Drucken"));
    KnopfEinrichten(*this, 3, QStringLiteral("Öfffnen"));
    KnopfEinrichten(*this, 4, QStringLiteral("Speichern"));
}

double frm_Tovik::ClientBreite() const {
    if (isMinimized()) return 0.0;  // a minimized window has no client area
    return tovik::ZuTwips(width(), logicalDpiX());
}

double frm_Tovik::ClientHoehe() const {
    if (isMinimized()) return 0.0;
    return tovik::ZuTwips(height(), logicalDpiY());
}

void frm_Tovik::Form_Resize() {
    using Wert = std::optional<double>;
    // Each step on its own: one that cannot be done leaves its button where it was.
    const auto breite = [this]() -> Wert {
        if (const auto t = tovik::LiesTwips(Command2)) return t->width();
        return std::nullopt;
    };
    const auto hoehe = [this]() -> Wert {
        if (const auto t = tovik::LiesTwips(Command2)) return t->height();
        return std::nullopt;
    };
    const auto rechne = [](double kante, Wert mass, double faktor) -> Wert {
        if (!mass) return std::nullopt;
        return kante - *mass * faktor;
    };
    const auto setze = [](QPushButton* knopf, bool links, Wert twips) {
        // Stored as a single-precision value; beyond any screen it is no position at all.
        if (!twips || !std::isfinite(*twips) || std::fabs(*twips) > 1e8) return;
        const auto ort = tovik::LiesTwips(knopf);
        if (!ort) return;
        QRectF neu = *ort;
        const double wert = static_cast<float>(*twips);
        if (links)
            neu.moveLeft(wert);
        else
            neu.moveTop(wert);
        tovik::SetzeTwips(knopf, neu);
    };
    setze(Command2, true, rechne(ClientBreite(), breite(), 1.3));
    setze(Command2, false, rechne(ClientHoehe(), hoehe(), 1.6));
    setze(Command3, true, rechne(ClientBreite(), breite(), 2.4));
    setze(Command3, false, rechne(ClientHoehe(), hoehe(), 1.6));
    setze(Command4, true, rechne(ClientBreite(), breite(), 3.5));
    setze(Command4, false, rechne(ClientHoehe(), hoehe(), 1.6));
}

void frm_Tovik::resizeEvent(QResizeEvent* ereignis) {
    QWidget::resizeEvent(ereignis);
    Form_Resize();
}

void frm_Tovik::changeEvent(QEvent* ereignis) {
    QWidget::changeEvent(ereignis);
    // Minimizing and restoring change no pixel size, only the window state.
    if (ereignis->type() == QEvent::WindowStateChange) Form_Resize();
}

bool frm_Tovik::eventFilter(QObject* objekt, QEvent* ereignis) {
    const QEvent::Type art = ereignis->type();
    auto* feld = qobject_cast<QLineEdit*>(objekt);  // not while it is being destroyed
    if (art == QEvent::FocusOut) {
        // Switching to another program or a menu is not leaving the field.
        const auto grund = static_cast<QFocusEvent*>(ereignis)->reason();
        if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason) {
            if (objekt == Text1) Text1_LostFocus();
            if (objekt == Text2) Text2_LostFocus();
            // A text left behind shows its beginning, as every value the program writes does,
            // never a tail that reads as another number.
            if (feld) feld->home(false);
        }
        return false;
    }
    // Whatever may change a field other than the one being typed in ends the run of typing
    // first: the step of the undo history closes before the change, not after it.
    const bool eingabe = art == QEvent::KeyPress || art == QEvent::InputMethod || art == QEvent::Drop ||
                         art == QEvent::MouseButtonRelease || art == QEvent::ContextMenu;
    if (feld && eingabe && (feld != offenesFeld_ || art == QEvent::ContextMenu)) Grenze();
    if (art == QEvent::KeyPress) {
        // The window's one history, from any control, also where a field would take the keys for
        // its own. No shortcut: the fields' menus then show these keys beside their entries.
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->matches(QKeySequence::Undo)) return Rueckgaengig(), true;
        if (taste->matches(QKeySequence::Redo)) return Wiederherstellen(), true;
    }
    if (AblageEreignis(objekt, ereignis)) return true;

    const bool drueck = art == QEvent::KeyPress;
    if (!drueck && art != QEvent::KeyRelease) return false;
    const auto* taste = static_cast<QKeyEvent*>(ereignis);
    if (!taste->isAutoRepeat()) {
        // A release counts only for a key that went down here. The Enter that closed a dialog
        // or a message box went down there, and must not reach the control behind it.
        if (drueck) {
            gedrueckt_.insert(taste->key());
        } else if (!gedrueckt_.remove(taste->key())) {
            GeaenderteLesen();
            return true;
        }
    }
    if (auto* knopf = qobject_cast<QPushButton*>(objekt);
        knopf && (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter)) {
        // Enter presses a focused button as Space does: down on the press, clicked on the
        // release, so that the release never reaches what the command opens.
        QKeyEvent leertaste(taste->type(), Qt::Key_Space, taste->modifiers(), QStringLiteral(" "),
                            taste->isAutoRepeat());
        QApplication::sendEvent(knopf, &leertaste);
        return true;
    }
    if (drueck || taste->isAutoRepeat()) return false;  // one release per key, as the key goes up
    using KeyUp = void (frm_Tovik::*)(std::int16_t, std::int16_t, std::int16_t);
    const KeyUp keyUp[] = {&frm_Tovik::Text4_KeyUp, &frm_Tovik::Text5_KeyUp, &frm_Tovik::Text6_KeyUp,
                           &frm_Tovik::Text7_KeyUp, &frm_Tovik::Text8_KeyUp, &frm_Tovik::Text9_KeyUp};
    int zeile = 0;
    for (const KeyUp handler : keyUp) {
        const Feldreihe& zellen = Reihe(++zeile);
        const auto k = std::find(zellen.begin(), zellen.end(), objekt) - zellen.begin();
        if (k == tovik::kMaxN) continue;
        // Shift 1, Ctrl 2, Alt 4, as the key-up handlers take it.
        const auto shift = static_cast<std::int16_t>((taste->modifiers().toInt() >> 25) & 7);
        (this->*handler)(static_cast<std::int16_t>(k), static_cast<std::int16_t>(taste->key() & 0x7fff),
                         shift);
    }
    // A cell whose key went up elsewhere (the focus moved on while it was down) is read now.
    GeaenderteLesen();
    return false;
}

void frm_Tovik::Befehl(const std::function<void()>& befehl) {
    // A click leaves a header field for the button, which takes the field into the record. A
    // key, Enter on a button or a dropped file leaves nothing, so the field that has the
    // focus (in this window, also while another program is active) is taken here first.
    if (focusWidget() == Text1) Text1_LostFocus();
    if (focusWidget() == Text2) Text2_LostFocus();
    // Also a cell whose key is still down is what the command works on.
    AllesLesen();
    Grenze();
    befehl();
    Grenze();
}

QFileDialog& frm_Tovik::CommonDialog1() {
    if (!dateidialog_) {
        tovik::QtDeutschLaden();  // its texts and the question before replacing a file
        // Made in the folder it opens first, which must exist before (see Anfangsordner).
        dateidialog_ = new QFileDialog(this, QString(), tovik::Anfangsordner());
        dateidialog_->setObjectName(QStringLiteral("CommonDialog1"));
    }
    return *dateidialog_;
}

void frm_Tovik::Command2_Click() {
    tovik::QtDeutschLaden();  // the printer dialog's texts
    tovik::SystemDrucken(this);
}

void frm_Tovik::Command3_Click() {
    // The display runs whether the load succeeded, failed or was cancelled.
    tovik::SystemAusDatei(CommonDialog1());
    SystemAnzeigen();
}

void frm_Tovik::Command4_Click() { tovik::SystemInDatei(CommonDialog1()); }

void frm_Tovik::DateiLaden(const QString& pfad) {
    Befehl([this, &pfad] {
        tovik::SystemLaden(pfad);
        SystemAnzeigen();
    });
}
