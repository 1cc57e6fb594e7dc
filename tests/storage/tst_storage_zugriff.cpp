// Reading and writing system files on disk: every way the file system can refuse.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

#include "Fehlerfaelle.h"
#include "Systemdatei.h"

using namespace tovik;

namespace {

QByteArray Inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

bool Schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

SystemDaten Beispiel() { return std::get<SystemDaten>(SystemLesen(fehlerfaelle::Beispiel())); }

QString Grund(const LeseErgebnis& ergebnis) {
    const auto* fehler = std::get_if<Fehlergrund>(&ergebnis);
    return fehler ? QString::fromStdString(fehler->text) : QString();
}

QString Grund(const std::optional<Fehlergrund>& fehler) {
    return fehler ? QString::fromStdString(fehler->text) : QString();
}

const bool kRoot = geteuid() == 0;

// Sets a limit on the size of written files while it lives, so that writing fails even
// for root. The signal that the kernel sends on the excess is ignored.
class Dateigrenze {
public:
    explicit Dateigrenze(rlim_t bytes) {
        alterHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &alt_);
        rlimit neu = alt_;
        neu.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &neu) == 0;
    }
    ~Dateigrenze() {
        setrlimit(RLIMIT_FSIZE, &alt_);
        std::signal(SIGXFSZ, alterHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit alt_{};
    void (*alterHandler_)(int) = nullptr;
    bool ok_ = false;
};

}  // namespace

class TstDateizugriff : public QObject {
    Q_OBJECT

private slots:
    void lesenAbgelehnt_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");
        QTest::newRow("missing file") << "fehlt" << "Datei nicht gefunden";
        QTest::newRow("missing folder") << "ordner fehlt" << "Datei nicht gefunden";
        QTest::newRow("dangling link") << "toter link" << "Datei nicht gefunden";
        QTest::newRow("folder chosen") << "ordner" << "Ordner statt Datei gewählt";
        // Root reads any file; a folder in the file's place is what root cannot pass.
        QTest::newRow("not readable") << "nicht lesbar"
                                      << (kRoot ? "Ordner statt Datei gewählt" : "Zugriff verweigert");
        QTest::newRow("named pipe") << "fifo" << "keine gewöhnliche Datei";
        QTest::newRow("device") << "/dev/zero" << "keine gewöhnliche Datei";
        QTest::newRow("10 MB file") << "gross" << "Datei zu groß";
        QTest::newRow("refused content") << "inhalt" << "Dateiende erreicht";
    }
    void lesenAbgelehnt() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        QString pfad = ordner.filePath("System.TVK");
        if (art == "ordner fehlt") {
            pfad = ordner.filePath("fehlt/System.TVK");
        } else if (art == "toter link") {
            QVERIFY(QFile::link(ordner.filePath("fehlt.TVK"), pfad));
        } else if (art == "ordner" || (art == "nicht lesbar" && kRoot)) {
            QVERIFY(QDir().mkdir(pfad));
        } else if (art == "nicht lesbar") {
            QVERIFY(Schreiben(pfad, fehlerfaelle::Beispiel()));
            QVERIFY(QFile::setPermissions(pfad, QFileDevice::WriteOwner));
        } else if (art == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        } else if (art.startsWith('/')) {
            pfad = art;
        } else if (art == "gross") {
            QVERIFY(Schreiben(pfad, fehlerfaelle::MitZeile(2, QByteArray(10 << 20, 'T'))));
        } else if (art == "inhalt") {
            QVERIFY(Schreiben(pfad, "### Tovik 5.0\r\n"));
        }
        QCOMPARE(Grund(SystemDateiLesen(pfad)), grund);
    }

    void lesen() {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath("ohne Endung");
        QVERIFY(Schreiben(pfad, fehlerfaelle::Beispiel()));
        QVERIFY(QFile::link(pfad, ordner.filePath("Verweis.TVK")));
        for (const QString& name : {pfad, ordner.filePath("Verweis.TVK")}) {
            const LeseErgebnis ergebnis = SystemDateiLesen(name);
            QVERIFY2(std::holds_alternative<SystemDaten>(ergebnis), qPrintable(Grund(ergebnis)));
            QCOMPARE(std::get<SystemDaten>(ergebnis).B[3], 56.0);
        }
    }

    void schreiben() {
        QTemporaryDir ordner;
        // Exactly the chosen name: no extension is added.
        const QString neu = ordner.filePath("ohne Endung");
        QCOMPARE(Grund(SystemDateiSchreiben(neu, Beispiel())), QString());
        QCOMPARE(Inhalt(neu), fehlerfaelle::Beispiel());
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files), QStringList{"ohne Endung"});

        // A longer file is replaced whole, and keeps its permissions.
        const QString alt = ordner.filePath("alt.TVK");
        QVERIFY(Schreiben(alt, QByteArray(5000, 'x')));
        QVERIFY(QFile::setPermissions(alt, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup));
        QCOMPARE(Grund(SystemDateiSchreiben(alt, Beispiel())), QString());
        QCOMPARE(Inhalt(alt), fehlerfaelle::Beispiel());
        QCOMPARE(QFile::permissions(alt) & (QFileDevice::ReadOther | QFileDevice::WriteGroup),
                 QFileDevice::Permissions());
    }

    void schreibenAbgelehnt_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");
        QTest::newRow("missing folder") << "ordner fehlt" << "Pfad nicht gefunden";
        QTest::newRow("folder chosen") << "ordner" << "Ordner statt Datei gewählt";
        QTest::newRow("read-only location")
            << "proc" << (kRoot ? "Datei kann nicht angelegt werden" : "Zugriff verweigert");
        if (!kRoot)  // root writes into any folder
            QTest::newRow("read-only folder") << "schreibgeschuetzt" << "Zugriff verweigert";
        QTest::newRow("disk full over an old file") << "voll" << "Schreibfehler";
        QTest::newRow("text not in windows-1252 over an old file")
            << "text" << "Projekt enthält Zeichen, die windows-1252 nicht kennt";
    }
    void schreibenAbgelehnt() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        const QByteArray altesBytes = "### Tovik 5.0\r\nalt\r\n\r\n 0\r\n";
        QString pfad = ordner.filePath("System.TVK");
        SystemDaten daten = Beispiel();
        std::optional<Fehlergrund> fehler;

        if (art == "ordner fehlt") {
            pfad = ordner.filePath("fehlt/System.TVK");
        } else if (art == "ordner") {
            QVERIFY(QDir().mkdir(pfad));
        } else if (art == "proc") {
            // procfs takes no new files, not even from root.
            pfad = QString("/proc/tovik-%1.TVK").arg(getpid());
        } else if (art == "schreibgeschuetzt") {
            QVERIFY(Schreiben(pfad, altesBytes));
            QVERIFY(QFile::setPermissions(ordner.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else {
            QVERIFY(Schreiben(pfad, altesBytes));
            if (art == "text") daten.Projekt = "Brücke 中";
        }

        if (art == "voll") {
            const Dateigrenze grenze(16);  // far less than the file
            QVERIFY(grenze.ok());
            fehler = SystemDateiSchreiben(pfad, daten);
        } else {
            fehler = SystemDateiSchreiben(pfad, daten);
        }
        QFile::setPermissions(ordner.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);

        QCOMPARE(Grund(fehler), grund);
        if (art == "ordner") {
            QVERIFY(QFileInfo(pfad).isDir());
        } else if (art == "ordner fehlt" || art == "proc") {
            QVERIFY(!QFileInfo::exists(pfad));
        } else {
            QCOMPARE(Inhalt(pfad), altesBytes);  // the old file, byte for byte
        }
        // No temporary file is left behind.
        const bool alteDatei = art == "schreibgeschuetzt" || art == "voll" || art == "text";
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 alteDatei ? QStringList{"System.TVK"} : QStringList{});
    }
};

QTEST_GUILESS_MAIN(TstDateizugriff)
#include "tst_storage_zugriff.moc"
