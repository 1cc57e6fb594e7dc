#pragma once
// Shared by the test programs: their main, messages recorded instead of shown, dialogs
// answered, files read and written, what a test saw compared with its reference text.

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <QtTest>  // with all of QtCore
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

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

// A message that no recorder takes fails the test at once, with its text. Every test program
// starts with it; a test that builds the window, which shows real boxes, puts it back.
inline void Unerwartet(const std::string& text, const std::string& titel) {
    QTest::qFail(("unexpected message \"" + titel + ": " + text + "\"").c_str(), __FILE__, __LINE__);
}

// How long an answerer waits for its dialog, and a dialog for an answer, before the test fails.
inline constexpr int kFristMs = 10000;

// Answers the next modal dialog of type D as soon as it is up. One that does not come within
// the deadline, or by the end of the test function (AntwortenAbschliessen), fails the test.
template <class D, class F>
void Beantworten(F antwort) {
    auto* takt = new QTimer(qApp);
    takt->setObjectName(D::staticMetaObject.className());
    takt->setProperty("antwort", true);
    QElapsedTimer seit;
    seit.start();
    QObject::connect(takt, &QTimer::timeout, [takt, antwort, seit] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog && !seit.hasExpired(kFristMs)) return;
        delete takt;
        if (!dialog)
            return QTest::qFail(qPrintable(QStringLiteral("no %1 came").arg(D::staticMetaObject.className())),
                                __FILE__, __LINE__);
        antwort(dialog);
    });
    takt->start(10);
}

// For cleanup(): an answer still waiting for its dialog fails the test and ends.
inline void AntwortenAbschliessen() {
    for (QTimer* takt : qApp->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
        if (!takt->property("antwort").toBool()) continue;
        QTest::qFail(qPrintable(QStringLiteral("no %1 came").arg(takt->objectName())), __FILE__, __LINE__);
        delete takt;
    }
}

// A skipped test makes its program exit with 77, which ctest reports as skipped.
inline bool uebersprungen = false;
#define TOVIK_SKIP(grund)     \
    do {                      \
        uebersprungen = true; \
        QSKIP(grund);         \
    } while (false)

// What a window left open says: a box its caption and text, a menu its entries.
inline QString Offen(const QWidget* fenster) {
    QString text = fenster->windowTitle();
    if (const auto* box = qobject_cast<const QMessageBox*>(fenster)) text += ": " + box->text();
    if (text.isEmpty())
        for (const QAction* eintrag : fenster->actions())
            text += (text.isEmpty() ? "" : "|") + eintrag->text();
    return text;
}

// The main of every test program. No print queue, no desktop's own dialogs; an unexpected
// message fails the test; a modal dialog or box, or a popup menu, that nobody answers within
// the deadline fails it too, with its text, and is closed, so that nothing waits for a person.
template <class Test, class Anwendung>
int TestAusfuehren(int argc, char** argv) {
    // No print queue of the machine, also when the program is started by hand: CUPS is sent to
    // a socket that does not exist, as tests/CMakeLists.txt does for every test.
    qputenv("CUPS_SERVER", "/nonexistent/tovik-tests/cups.sock");
    // Nothing of the user's own either: the data, settings and caches a test makes end with it.
    const QTemporaryDir heim;
    for (const char* ort : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(ort, QFile::encodeName(heim.filePath(ort)));
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    Anwendung app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tovik::SetzeMeldungsHook(Unerwartet);
    QTimer waechter;
    QPointer<QWidget> offen;
    QElapsedTimer seit;
    if constexpr (std::is_base_of_v<QApplication, Anwendung>) {
        QObject::connect(&waechter, &QTimer::timeout, [&] {
            // A popup opened from a dialog is the one that waits.
            QWidget* jetzt = QApplication::activePopupWidget();
            if (!jetzt) jetzt = QApplication::activeModalWidget();
            if (jetzt != offen) {
                offen = jetzt;
                seit.start();
            } else if (offen && seit.hasExpired(kFristMs)) {
                QTest::qFail(qPrintable("nobody answered \"" + Offen(offen) + "\""), __FILE__, __LINE__);
                offen->close();
            }
        });
        waechter.start(100);
    }
    Test test;
    const int fehler = QTest::qExec(&test, argc, argv);
    return fehler == 0 && uebersprungen ? 77 : fehler;
}
#define TOVIK_TEST_MAIN(Test) \
    int main(int argc, char** argv) { return TestAusfuehren<Test, QApplication>(argc, argv); }
#define TOVIK_TEST_GUILESS_MAIN(Test) \
    int main(int argc, char** argv) { return TestAusfuehren<Test, QCoreApplication>(argc, argv); }

inline QByteArray Inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray("(nicht lesbar)");
}

inline bool Schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// Compares what a test saw, line by line, with the reference text `referenz`, which a person
// has read. On a difference the text seen is left in the folder `ablage` under the same name,
// where tools/referenzbilder.sh takes it from, and the first line that differs is named.
inline void ProtokollVergleichen(const QString& referenz, const QString& ablage, const QStringList& gesehen) {
    const QString ist = gesehen.join('\n') + '\n', text = QString::fromUtf8(Inhalt(referenz));
    if (ist == text) return;
    const QStringList soll = text.split('\n');
    const QString abgelegt = ablage + '/' + QFileInfo(referenz).fileName();
    const bool geschrieben = QDir().mkpath(ablage) && Schreiben(abgelegt, ist.toUtf8());
    qsizetype i = 0;
    while (i < gesehen.size() && gesehen[i] == soll.value(i)) ++i;
    QTest::qFail(
        qPrintable(QStringLiteral("%1 differs from line %2 on (seen: %3):\nwas  %4\nnow  %5")
                       .arg(referenz)
                       .arg(i + 1)
                       .arg(geschrieben ? abgelegt : "not written", soll.value(i), gesehen.value(i))),
        __FILE__, __LINE__);
}
