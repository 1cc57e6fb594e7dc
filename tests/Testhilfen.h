#pragma once
// Shared by the test programs: messages recorded instead of shown, file dialogs answered,
// files as lists of lines.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "Meldung.h"

// While it lives, every message is recorded as "caption: text" instead of being shown.
struct Meldungen {
    QStringList texte;
    tovik::MeldungsHook vorher =
        tovik::SetzeMeldungsHook([this](const std::string& text, const std::string& titel) {
            texte << QString::fromStdString(titel + ": " + text);
        });
    ~Meldungen() { tovik::SetzeMeldungsHook(std::move(vorher)); }
};

// Answers the next modal dialog of type D as soon as it is up.
template <class D, class F>
void Beantworten(F antwort) {
    auto* takt = new QTimer(qApp);
    QObject::connect(takt, &QTimer::timeout, [takt, antwort] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            takt->stop();
            takt->deleteLater();
            antwort(dialog);
        }
    });
    takt->start(10);
}

// Answers the next file dialog: notes what it offers (title, filters as listed, the filter
// chosen, folder, name), then enters `name`, or cancels when it is empty. A question before
// replacing a file is answered with `ja` and noted too; "No" cancels the dialog.
inline std::shared_ptr<QStringList> Dateiwahl(const QString& name, bool ja = true) {
    auto gesehen = std::make_shared<QStringList>();
    Beantworten<QFileDialog>([=](QFileDialog* dialog) {
        auto* feld = dialog->findChild<QLineEdit*>("fileNameEdit");
        const auto* typen = dialog->findChild<QComboBox*>("fileTypeCombo");
        QStringList filter;
        for (int i = 0; i < typen->count(); ++i) filter << typen->itemText(i);
        *gesehen = {dialog->windowTitle(), filter.join(" | "), dialog->selectedNameFilter(),
                    QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(), feld->text()};
        if (name.isEmpty()) return dialog->reject();
        if (dialog->acceptMode() == QFileDialog::AcceptSave &&
            QFileInfo::exists(dialog->directory().filePath(name)))
            Beantworten<QMessageBox>([=](QMessageBox* frage) {
                *gesehen << frage->text();
                frage->button(ja ? QMessageBox::Yes : QMessageBox::No)->click();
                if (!ja) QTimer::singleShot(0, dialog, &QDialog::reject);
            });
        QApplication::setActiveWindow(dialog);
        feld->setFocus();
        feld->setText(name);
        // Queued: the question before replacing blocks inside the key press.
        QMetaObject::invokeMethod(
            feld, [feld] { QTest::keyClick(feld, Qt::Key_Return); }, Qt::QueuedConnection);
    });
    return gesehen;
}

inline QByteArray Zeilen(const QList<QByteArray>& zeilen) {
    QByteArray bytes;
    for (const QByteArray& zeile : zeilen) bytes += zeile + "\r\n";
    return bytes;
}

// The example system as the program stores it.
inline const QList<QByteArray> kBeispielZeilen = {
    "### Tovik 5.0", "Test", "1",  " 3",  " 3", " 4",  " 7", " 90",
    " 12",           " 10",  " 0", " 78", " 0", " 12", " 2", " 56"};

// The example file with line `nummer` (from 1) replaced.
inline QByteArray MitZeile(int nummer, const QByteArray& zeile) {
    QList<QByteArray> zeilen = kBeispielZeilen;
    zeilen[nummer - 1] = zeile;
    return Zeilen(zeilen);
}

inline QByteArray Inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray("(nicht lesbar)");
}

inline bool Schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// Test programs never meet a desktop's own dialogs: set before the application is made.
inline const bool kOhneEigeneDialoge = (QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs), true);
