// End to end: the built program, started as a user starts it, on a real X server (Xvfb) with
// a window manager (openbox). Clicks and keys come from xdotool at places computed from the
// window's own twips; the window's state, the focus and the screen's pixels are read over xcb.
// The same run at scale factor 1 and 2: only if the layout scales as a whole do the clicks
// land on the controls, and the result appear where the cell is, at both.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>
#include <sys/prctl.h>
#include <xcb/xcb.h>

#include "Twips.h"
#include "frm_Tovik.h"

namespace {

constexpr int kFrist = 60000;  // ms for each wait: a sanitizer build under load starts slowly
constexpr double kDpi = 96;    // Xvfb runs with it, and Qt takes the X server's dpi
const QString kTitel = QStringLiteral("Programm  Tovik.vbp, Version 5.0");
const QString kSpeichernTitel = QStringLiteral("Gleichungssystem speichern");

// Polls until bedingung holds or the time is up; events are handled meanwhile.
template <class F>
bool Warten(F&& bedingung, int ms = kFrist) {
    const QDeadlineTimer frist(ms);
    while (!bedingung()) {
        if (frist.hasExpired()) return false;
        QTest::qWait(50);
    }
    return true;
}

template <class T>
using Antwort = std::unique_ptr<T, decltype(&std::free)>;

template <class T>
Antwort<T> Halten(T* antwort) {
    return Antwort<T>(antwort, &std::free);
}

// What the test reads from the X server itself: properties, places, focus and pixels.
class XVerbindung {
public:
    explicit XVerbindung(const QByteArray& anzeige) {
        int nummer = 0;
        c_ = xcb_connect(anzeige.constData(), &nummer);
        if (xcb_connection_has_error(c_)) return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (; it.rem && nummer > 0; --nummer) xcb_screen_next(&it);
        if (!it.rem) return;
        wurzel_ = it.data->root;
        bildschirm_ = QSize(it.data->width_in_pixels, it.data->height_in_pixels);
    }
    ~XVerbindung() { xcb_disconnect(c_); }
    XVerbindung(const XVerbindung&) = delete;
    XVerbindung& operator=(const XVerbindung&) = delete;

    bool Verbunden() const { return !xcb_connection_has_error(c_) && wurzel_ != XCB_NONE; }
    xcb_window_t Wurzel() const { return wurzel_; }
    QSize Bildschirm() const { return bildschirm_; }

    xcb_atom_t Atom(const char* name) {
        auto a = Halten(xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, qstrlen(name), name), nullptr));
        return a ? a->atom : XCB_NONE;
    }

    QByteArray Eigenschaft(xcb_window_t fenster, const char* name) {
        auto e = Halten(xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, fenster, Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr));
        if (!e) return {};
        return QByteArray(static_cast<const char*>(xcb_get_property_value(e.get())),
                          xcb_get_property_value_length(e.get()));
    }

    QList<xcb_atom_t> Atome(xcb_window_t fenster, const char* name) {
        const QByteArray roh = Eigenschaft(fenster, name);
        QList<xcb_atom_t> atome(roh.size() / sizeof(xcb_atom_t));
        std::memcpy(atome.data(), roh.constData(), atome.size() * sizeof(xcb_atom_t));
        return atome;
    }

    // The client area on the screen; none once the window is gone.
    std::optional<QRect> Platz(xcb_window_t fenster) {
        auto g = Halten(xcb_get_geometry_reply(c_, xcb_get_geometry(c_, fenster), nullptr));
        auto t = Halten(xcb_translate_coordinates_reply(
            c_, xcb_translate_coordinates(c_, fenster, wurzel_, 0, 0), nullptr));
        if (!g || !t) return std::nullopt;
        return QRect(t->dst_x, t->dst_y, g->width, g->height);
    }

    xcb_window_t Fokus() {
        auto f = Halten(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
        return f ? f->focus : XCB_NONE;
    }

    // The screen's pixels in r, as the user sees them.
    QImage Bild(const QRect& r) {
        auto b = Halten(xcb_get_image_reply(
            c_,
            xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, wurzel_, r.x(), r.y(), r.width(), r.height(), ~0u),
            nullptr));
        if (!b || xcb_get_image_data_length(b.get()) != r.width() * r.height() * 4) return {};
        return QImage(xcb_get_image_data(b.get()), r.width(), r.height(), QImage::Format_RGB32).copy();
    }

    // Puts a key for the two keysyms on a free keycode, so that xdotool types them without
    // remapping a key on the fly: a keymap that changes under the running program loses keys.
    bool TasteBelegen(xcb_keysym_t klein, xcb_keysym_t gross) {
        const xcb_setup_t* setup = xcb_get_setup(c_);
        const xcb_keycode_t erste = setup->min_keycode;
        const int anzahl = setup->max_keycode - erste + 1;
        auto km = Halten(xcb_get_keyboard_mapping_reply(
            c_, xcb_get_keyboard_mapping(c_, erste, anzahl), nullptr));
        if (!km || km->keysyms_per_keycode < 2) return false;
        const int je = km->keysyms_per_keycode;
        const xcb_keysym_t* belegt = xcb_get_keyboard_mapping_keysyms(km.get());
        for (int k = 0; k < anzahl; ++k) {
            if (std::any_of(belegt + k * je, belegt + (k + 1) * je, [](xcb_keysym_t s) { return s != 0; }))
                continue;
            std::vector<xcb_keysym_t> neu(je, 0);
            neu[0] = klein;
            neu[1] = gross;
            auto pruefung = xcb_change_keyboard_mapping_checked(
                c_, 1, static_cast<xcb_keycode_t>(erste + k), static_cast<uint8_t>(je), neu.data());
            return Halten(xcb_request_check(c_, pruefung)) == nullptr;
        }
        return false;
    }

    // What the close box of the window's frame sends.
    void Schliessen(xcb_window_t fenster) {
        xcb_client_message_event_t e{};
        e.response_type = XCB_CLIENT_MESSAGE;
        e.format = 32;
        e.window = fenster;
        e.type = Atom("WM_PROTOCOLS");
        e.data.data32[0] = Atom("WM_DELETE_WINDOW");
        e.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c_, 0, fenster, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
        xcb_flush(c_);
    }

private:
    xcb_connection_t* c_ = nullptr;
    xcb_window_t wurzel_ = XCB_NONE;
    QSize bildschirm_;
};

// Started programs end with the test, even when the test itself is killed.
void Starten(QProcess& p, const QString& programm, const QStringList& argumente,
             const QProcessEnvironment& umgebung) {
    p.setProcessEnvironment(umgebung);
    p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    p.start(programm, argumente);
}

void Beenden(QProcess& p) {
    if (p.state() == QProcess::NotRunning) return;
    p.terminate();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(10000);
    }
}

// The rightmost column of the picture that holds a dark (text) pixel; -1 for none.
int RechteTextkante(const QImage& bild) {
    for (int x = bild.width() - 1; x >= 0; --x)
        for (int y = 0; y < bild.height(); ++y)
            if (qGray(bild.pixel(x, y)) < 96) return x;
    return -1;
}

}  // namespace

class TstE2eFenster : public QObject {
    Q_OBJECT

    // The design the program places its controls from: the same tables, built offscreen.
    std::unique_ptr<frm_Tovik> entwurf_;

    // A control's rectangle in the client area, in device pixels: its twips and those of its
    // frames converted one by one as the window places them, then times the scale factor.
    QRect Geraetepixel(const QWidget* steuerelement, int faktor) const {
        const auto eigen = tovik::LiesTwips(steuerelement);
        if (!eigen) return {};
        QPoint ecke;
        for (const QWidget* w = steuerelement; w && !w->isWindow(); w = w->parentWidget()) {
            const auto t = tovik::LiesTwips(w);
            if (!t) return {};
            ecke += QPoint(tovik::ZuPixel(t->left(), kDpi), tovik::ZuPixel(t->top(), kDpi));
        }
        const QSize groesse(tovik::ZuPixel(eigen->width(), kDpi),
                            tovik::ZuPixel(eigen->height(), kDpi));
        return QRect(ecke * faktor, groesse * faktor);
    }

    // "Speichern" stands where the resize layout puts it in a client area of that size:
    // SW - W2 * 3.5, SH - H2 * 1.6, with W2 and H2 the size of Command2.
    QRect SpeichernKnopf(QSize client, int faktor) const {
        const QRectF w2h2 = tovik::LiesTwips(entwurf_->Command2).value_or(QRectF());
        const QRectF eigen = tovik::LiesTwips(entwurf_->Command4).value_or(QRectF());
        const double sw = tovik::ZuTwips(client.width() / faktor, kDpi);
        const double sh = tovik::ZuTwips(client.height() / faktor, kDpi);
        const QPoint ecke(tovik::ZuPixel(sw - w2h2.width() * 3.5, kDpi),
                          tovik::ZuPixel(sh - w2h2.height() * 1.6, kDpi));
        const QSize groesse(tovik::ZuPixel(eigen.width(), kDpi),
                            tovik::ZuPixel(eigen.height(), kDpi));
        return QRect(ecke * faktor, groesse * faktor);
    }

private slots:
    void initTestCase() {
        entwurf_ = std::make_unique<frm_Tovik>();
        for (const char* programm : {"Xvfb", "openbox", "xdotool"})
            QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(programm)).isEmpty(),
                     qPrintable(QStringLiteral("%1 is needed (make test installs it)").arg(programm)));
    }
    void cleanupTestCase() { entwurf_.reset(); }

    void ablauf_data() {
        QTest::addColumn<int>("faktor");
        QTest::addColumn<QSize>("bildschirm");
        QTest::newRow("1x") << 1 << QSize(1920, 1080);
        // A screen twice as large, so that the window drawn twice as large fits on it.
        QTest::newRow("2x") << 2 << QSize(3840, 2160);
    }

    void ablauf() {
        QFETCH(int, faktor);
        QFETCH(QSize, bildschirm);

        QTemporaryDir ordner(QDir::tempPath() + QStringLiteral("/tovik-e2e-XXXXXX"));
        QVERIFY(ordner.isValid());
        const QString heim = ordner.filePath(QStringLiteral("heim"));
        const QString laufzeit = ordner.filePath(QStringLiteral("laufzeit"));
        QVERIFY(QDir().mkpath(heim) && QDir().mkpath(laufzeit));
        QFile::setPermissions(laufzeit,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        // Nothing of the user's desktop reaches the programs: no display, theme, scaling,
        // session or settings of theirs, and no session bus (no D-Bus autolaunch either).
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE",
              "DESKTOP_SESSION", "SESSION_MANAGER", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE",
              "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
              "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI", "QT_SCALE_FACTOR_ROUNDING_POLICY"})
            umgebung.remove(QString::fromLatin1(name));
        umgebung.insert("HOME", heim);
        umgebung.insert("XDG_CONFIG_HOME", heim + "/.config");
        umgebung.insert("XDG_CACHE_HOME", heim + "/.cache");
        umgebung.insert("XDG_DATA_HOME", heim + "/.local/share");
        umgebung.insert("XDG_RUNTIME_DIR", laufzeit);
        umgebung.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + ordner.filePath("kein-bus"));

        QProcess xvfb, openbox, tovik;
        auto aufraeumen = qScopeGuard([&] {
            Beenden(tovik);
            Beenden(openbox);
            Beenden(xvfb);
            if (QTest::currentTestFailed())
                qInfo().noquote() << "tovik said:\n" << QString::fromLocal8Bit(tovik.readAll())
                                  << "\nopenbox said:\n"
                                  << QString::fromLocal8Bit(openbox.readAllStandardError());
        });
        // The X server picks a free display itself and tells its number on stdout.
        Starten(xvfb, "Xvfb",
                {"-displayfd", "1", "-screen", "0",
                 QStringLiteral("%1x%2x24").arg(bildschirm.width()).arg(bildschirm.height()), "-dpi",
                 QString::number(kDpi), "-nolisten", "tcp"},
                umgebung);
        QVERIFY2(Warten([&] { return xvfb.canReadLine() || xvfb.state() == QProcess::NotRunning; }),
                 "Xvfb tells no display number");
        const QByteArray nummer = xvfb.readLine().trimmed();
        QVERIFY2(!nummer.isEmpty(), xvfb.readAllStandardError().constData());
        const QByteArray anzeige = ":" + nummer;
        umgebung.insert("DISPLAY", QString::fromLatin1(anzeige));

        XVerbindung x(anzeige);
        QVERIFY2(x.Verbunden(), anzeige.constData());
        QCOMPARE(x.Bildschirm(), bildschirm);
        QVERIFY(x.TasteBelegen(0xfc, 0xdc));  // udiaeresis, Udiaeresis

        // The window manager is in charge once it has announced itself on the root window.
        Starten(openbox, "openbox", {}, umgebung);
        QVERIFY2(Warten([&] {
                     return !x.Eigenschaft(x.Wurzel(), "_NET_SUPPORTING_WM_CHECK").isEmpty();
                 }),
                 "openbox does not start");

        QProcessEnvironment programmUmgebung = umgebung;
        programmUmgebung.insert("QT_QPA_PLATFORM", "xcb");  // ctest runs tests offscreen
        programmUmgebung.insert("QT_SCALE_FACTOR", QString::number(faktor));
        tovik.setWorkingDirectory(ordner.path());
        tovik.setProcessChannelMode(QProcess::MergedChannels);
        Starten(tovik, QStringLiteral(TOVIK_PROGRAMM), {}, programmUmgebung);
        QVERIFY2(tovik.waitForStarted(kFrist), qPrintable(tovik.errorString()));

        auto xdotool = [&](const QStringList& argumente) {
            QProcess p;
            Starten(p, "xdotool", argumente, umgebung);
            if (!p.waitForFinished(kFrist)) p.kill();
            return p.readAllStandardOutput();
        };
        // The program's windows that are on the screen.
        auto sichtbar = [&] {
            QList<xcb_window_t> fenster;
            const QByteArray liste =
                xdotool({"search", "--onlyvisible", "--pid", QString::number(tovik.processId())});
            for (const QByteArray& id : liste.split('\n'))
                if (!id.trimmed().isEmpty()) fenster << id.trimmed().toUInt();
            return fenster;
        };
        auto titel = [&](xcb_window_t w) { return QString::fromUtf8(x.Eigenschaft(w, "_NET_WM_NAME")); };
        auto aktivieren = [&](xcb_window_t w) {
            xdotool({"windowactivate", QString::number(w)});
            return Warten([&] { return x.Fokus() == w; });
        };
        auto klicken = [&](QPoint wo) {
            xdotool({"mousemove", QString::number(wo.x()), QString::number(wo.y()), "click", "1"});
        };

        // 1. The window appears maximized, with its title.
        xcb_window_t fenster = XCB_NONE;
        QVERIFY2(Warten([&] {
                     const auto liste = sichtbar();
                     if (liste.size() == 1) fenster = liste.first();
                     return fenster != XCB_NONE || tovik.state() == QProcess::NotRunning;
                 }),
                 "no window appears");
        QVERIFY2(fenster != XCB_NONE, "the program ended before showing its window");
        QCOMPARE(titel(fenster), kTitel);
        const xcb_atom_t senkrecht = x.Atom("_NET_WM_STATE_MAXIMIZED_VERT");
        const xcb_atom_t waagrecht = x.Atom("_NET_WM_STATE_MAXIMIZED_HORZ");
        std::optional<QRect> client;
        // Maximized, and the window manager has given it the whole screen below its title bar.
        const bool maximiert = Warten([&] {
            const auto zustand = x.Atome(fenster, "_NET_WM_STATE");
            client = x.Platz(fenster);
            return zustand.contains(senkrecht) && zustand.contains(waagrecht) && client &&
                   client->left() == 0 && client->width() == bildschirm.width() &&
                   client->bottom() == bildschirm.height() - 1 && client->top() < bildschirm.height() / 10;
        });
        const QRect gesehen = client.value_or(QRect());
        QVERIFY2(maximiert, qPrintable(QStringLiteral("%1 state atoms, client area %2,%3 %4x%5")
                                           .arg(x.Atome(fenster, "_NET_WM_STATE").size())
                                           .arg(gesehen.x()).arg(gesehen.y())
                                           .arg(gesehen.width()).arg(gesehen.height())));
        const QPoint ursprung = client->topLeft();
        auto mitte = [&](const QWidget* w) { return ursprung + Geraetepixel(w, faktor).center(); };
        QVERIFY(aktivieren(fenster));

        // 2. A project name with a character beyond ASCII, and 2,5 (decimal comma) in A(1,1).
        // Leaving the project field for the cell stores the name.
        klicken(mitte(entwurf_->Text1));
        xdotool({"key", "ctrl+a"});
        xdotool({"type", "--delay", "20", QStringLiteral("Brücke")});
        klicken(mitte(entwurf_->Text4[0]));
        xdotool({"key", "ctrl+a"});
        xdotool({"type", "--delay", "20", "2,5"});

        // The solution cell shows "X( 1) = " until the compute adds the value behind it. Inside
        // its border, the text's right edge moves right once "Berechnen" has done its work.
        const int rand = 3 * faktor;
        const QRect loesung = Geraetepixel(entwurf_->Text10[0], faktor)
                                  .translated(ursprung)
                                  .adjusted(rand, rand, -rand, -rand);
        QImage vorher;
        QVERIFY2(Warten([&] {
                     const QImage jetzt = x.Bild(loesung);
                     const bool fertig = !jetzt.isNull() && jetzt == vorher && RechteTextkante(jetzt) >= 0;
                     vorher = jetzt;
                     return fertig;
                 }),
                 "the solution label is not where the design puts it");
        const int kanteVorher = RechteTextkante(vorher);
        // The label's text scales with the cell: it ends where the same cell, drawn at scale 1
        // by the program's own widget offscreen, has it end, times the factor.
        const QImage basis = entwurf_->Text10[0]->grab().toImage();
        const int kanteBasis = RechteTextkante(basis.copy(basis.rect().adjusted(3, 3, -3, -3)));
        QVERIFY2(kanteBasis > 0 && std::abs(kanteVorher - kanteBasis * faktor) <= 2 * faktor,
                 qPrintable(QStringLiteral("the text of X(1) ends at %1 device pixels, the design scaled "
                                           "says %2: fonts and layout scale apart")
                                .arg(kanteVorher).arg(kanteBasis * faktor)));
        klicken(mitte(entwurf_->Command1));
        int kanteNachher = -1;
        QVERIFY2(Warten([&] {
                     kanteNachher = RechteTextkante(x.Bild(loesung));
                     return kanteNachher > kanteVorher + 4 * faktor;
                 }),
                 qPrintable(QStringLiteral("no solution after Berechnen: text edge %1, before %2")
                                .arg(kanteNachher).arg(kanteVorher)));

        // 3. "Speichern": the file dialog, a full path typed into it, Enter.
        klicken(ursprung + SpeichernKnopf(client->size(), faktor).center());
        xcb_window_t dialog = XCB_NONE;
        QVERIFY2(Warten([&] {
                     for (xcb_window_t w : sichtbar())
                         if (titel(w) == kSpeichernTitel) dialog = w;
                     return dialog != XCB_NONE;
                 }),
                 "the save dialog does not appear");
        QVERIFY(aktivieren(dialog));
        const QString datei = ordner.filePath(QStringLiteral("System.TVK"));
        xdotool({"type", "--delay", "20", datei});
        xdotool({"key", "Return"});
        // The file is written in one piece once the dialog has closed; no dialog stays open.
        QVERIFY2(Warten([&] { return QFile::exists(datei) && sichtbar() == QList{fenster}; }),
                 "no file written, or a dialog stays open");

        // What was typed and nothing else: the system as entered (the compute puts A and B
        // back), in windows-1252 with CR LF, numbers in the plain number text.
        QFile gespeichert(datei);
        QVERIFY(gespeichert.open(QIODevice::ReadOnly));
        const QByteArray erwartet =
            "### Tovik 5.0\r\n"
            "Br\xFC" "cke\r\n"
            "1\r\n"
            " 3\r\n"
            " 2.5\r\n 4\r\n 7\r\n 90\r\n"
            " 12\r\n 10\r\n 0\r\n 78\r\n"
            " 0\r\n 12\r\n 2\r\n 56\r\n";
        QCOMPARE(gespeichert.readAll(), erwartet);

        // Closing the window ends the program, without a question and cleanly.
        x.Schliessen(fenster);
        QVERIFY2(Warten([&] { return tovik.state() == QProcess::NotRunning; }),
                 "the program does not end when its window is closed");
        QCOMPARE(tovik.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tovik.exitCode(), 0);
    }
};

QTEST_MAIN(TstE2eFenster)
#include "tst_e2e_fenster.moc"
