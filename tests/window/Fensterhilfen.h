#pragma once
// Shared by the window's tests: the window made fresh, what it shows and holds as text, the
// ways a user types, clicks, presses keys and drops, and the file dialog answered.

#include <QtWidgets>
#include <memory>

#include "Testhilfen.h"
#include "frm_Tovik.h"

// A fresh record (the window loads the example) and a window on it, shown and active; a
// message that no test expects fails the test.
inline std::unique_ptr<frm_Tovik> NeuesFenster() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    tovik::GleichungssystemZuruecksetzen();
    auto w = std::make_unique<frm_Tovik>();
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get())) QTest::qFail("window not active", __FILE__, __LINE__);
    tovik::SetzeMeldungsHook(Unerwartet);  // instead of the window's real boxes
    return w;
}

// The visible cells, a line per array (A's rows, B, x, A*x - B), e.g. " 3| 4| 7"; hidden
// ones are left out.
inline QString Raster(const frm_Tovik& w) {
    QString raster;
    for (const QLineEdit* zelle : w.findChildren<QLineEdit*>(QRegularExpression("_\\d$")))  // made by array
        if (!zelle->isHidden()) raster += (zelle->objectName().endsWith("_0") ? "\n" : "|") + zelle->text();
    return raster.mid(1);
}

// Rows 1..n of A and B in the record, each value exact and short, e.g. "1 2 | 3; 4 5 | 6".
inline QString Satz(int n = tovik::GS.N) {
    const auto zahl = [](double wert) { return QString::number(wert, 'g', QLocale::FloatingPointShortest); };
    QString satz;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) satz += zahl(tovik::GS.A[i][j]) + ' ';
        satz += "| " + zahl(tovik::GS.B[i]) + (i < n ? "; " : "");
    }
    return satz;
}

// Replaces a field's text by typing: the field takes the focus, all is selected, then the keys.
inline void Tippen(QLineEdit* feld, const QString& text) {
    feld->setFocus(Qt::TabFocusReason);
    QTest::keyClick(feld, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(feld, text);
}

inline void Klick(QPushButton* knopf) { QTest::mouseClick(knopf, Qt::LeftButton); }

// Keys go to the focused control of the active window, where the window's shortcuts take them.
[[nodiscard]] inline bool Tasten(QWidget* ziel, const char* folge) {
    QApplication::setActiveWindow(ziel->window());
    if (!QTest::qWaitForWindowActive(ziel->window())) return false;
    ziel->setFocus();
    QTest::keySequence(ziel, QKeySequence(folge));
    return true;
}

// The messages shown, without their caption "Tovik".
inline QString Texte(const Meldungen& m) { return m.texte.join('|').remove("Tovik: "); }

// The fields' texts and what the record holds of A and B: what an undo must bring back.
inline QString Zustand(const frm_Tovik& w) {
    QString zustand = w.Text1->text() + '|' + w.Text2->text() + '|' + w.Text3->text();
    for (int r = 0; r <= tovik::kMaxN; ++r)
        for (int k = 0; k < w.ImRaster() && (r < w.ImRaster() || r == tovik::kMaxN); ++k)
            zustand += (k ? "|" : "\n") + (w.*frm_Tovik::kReihen[r])[k]->text();
    return zustand + '\n' + Satz();
}

// A context menu entry of a field, triggered as a click on it would: Undo, Redo, -, Cut, Copy,
// Paste, Delete, -, Select All.
inline void Menue(QLineEdit* feld, int eintrag) {
    QContextMenuEvent menue(QContextMenuEvent::Keyboard, QPoint(), feld->mapToGlobal(QPoint()));
    QApplication::sendEvent(feld, &menue);
    QMenu* offen = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!offen) return QTest::qFail("no menu came", __FILE__, __LINE__);
    offen->actions().value(eintrag)->trigger();
    offen->close();
}

// Data dropped onto a control as another program drops it, which offers a move as well: true
// where taken, as a copy.
inline bool Fallen(QWidget* ziel, const QMimeData& mime,
                   Qt::DropActions aktionen = Qt::CopyAction | Qt::MoveAction) {
    QDragEnterEvent hinein(QPoint(2, 2), aktionen, &mime, Qt::LeftButton, Qt::NoModifier);
    QDropEvent fallen(QPointF(2, 2), aktionen, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ziel, &hinein);
    QApplication::sendEvent(ziel, &fallen);
    QCoreApplication::processEvents();  // taken once the drop is done
    return fallen.isAccepted() && fallen.dropAction() == Qt::CopyAction;
}
inline bool Fallen(QWidget* ziel, const QString& text) {
    QMimeData mime;
    mime.setText(text);
    return Fallen(ziel, mime);
}

// Answers the next file dialog: notes what it offers (title, filters as listed, the filter
// chosen, folder, name), then types `name`. With `ja` it confirms the name, and Yes answers a
// question before replacing a file; else No answers such a question, or Escape cancels the
// dialog with the name typed. The question is noted too; after a No the dialog is cancelled.
inline std::shared_ptr<QStringList> Dateiwahl(const QString& name, bool ja = true) {
    auto gesehen = std::make_shared<QStringList>();
    Beantworten<QFileDialog>([=](QFileDialog* dialog) {
        auto* feld = dialog->findChild<QLineEdit*>("fileNameEdit");
        const auto* typen = dialog->findChild<QComboBox*>("fileTypeCombo");
        QStringList filter;
        for (int i = 0; i < typen->count(); ++i) filter << typen->itemText(i);
        *gesehen = {dialog->windowTitle(), filter.join(" | "), dialog->selectedNameFilter(),
                    QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(), feld->text()};
        const bool frage = dialog->acceptMode() == QFileDialog::AcceptSave &&
                           QFileInfo::exists(dialog->directory().filePath(name));
        if (frage)
            Beantworten<QMessageBox>([=](QMessageBox* frage) {
                *gesehen << frage->text();
                frage->button(ja ? QMessageBox::Yes : QMessageBox::No)->click();
                if (!ja) QTimer::singleShot(0, dialog, &QDialog::reject);
            });
        QApplication::setActiveWindow(dialog);
        feld->setFocus();
        feld->setText(name);
        // Queued: the question before replacing blocks inside the key press.
        const Qt::Key taste = ja || frage ? Qt::Key_Return : Qt::Key_Escape;
        QMetaObject::invokeMethod(
            feld, [feld, taste] { QTest::keyClick(feld, taste); }, Qt::QueuedConnection);
    });
    return gesehen;
}
