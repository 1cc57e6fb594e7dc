// The window's design: every control with its container, place and size in twips, and
// tab index. The tables are the design; the code below only turns rows into widgets.

#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "Twips.h"
#include "frm_Tovik.h"

namespace {

using Container = QGroupBox* frm_Tovik::*;  // nullptr: the window itself
constexpr Container kFenster = nullptr;

struct Ort {
    int links, oben, breite, hoehe;
};

template <class T>
struct Zeile {
    T* frm_Tovik::*feld;
    const char* name;
    Container container;
    Ort ort;
    int tab{};                     // labels and frames take no focus and have none
    const char* zugang = nullptr;  // accessible name where no caption gives one
};

// One row per cell array: element k lies at (links + dLinks*k, oben + dOben*k).
struct Zellreihe {
    frm_Tovik::Feldreihe frm_Tovik::*feld;
    const char* name;
    int links, dLinks, oben, dOben, breite, hoehe;
    std::array<int, tovik::kMaxN> tab;
    // Accessible name of element k: zugang with k+1 in place of %1. Words and plain digits,
    // since a voice reads "A(2,3)" as the decimal number 2,3.
    const char* zugang;
};

struct Linie {
    QFrame* frm_Tovik::*feld;
    const char* name;
    int x, y1, y2;  // all four are vertical
    const char* zugang;
};

// A text with a font of its own: the red caption font of a frame must not reach it.
void EigeneSchrift(QWidget* w, const QWidget* fenster) {
    QFont schrift = fenster->font();
    schrift.setResolveMask(QFont::AllPropertiesResolved);
    w->setFont(schrift);
    QPalette farben = fenster->palette();
    farben.setResolveMask(~QPalette::ResolveMask{0});
    w->setPalette(farben);
}

}  // namespace

void frm_Tovik::SteuerelementeAnlegen() {
    using F = frm_Tovik;
    static const Zeile<QGroupBox> rahmen[] = {
        {&F::Frame1, "Frame1", kFenster, {9840, 240, 5055, 855}},
        {&F::Frame2, "Frame2", kFenster, {360, 2160, 8520, 3975}},
        {&F::Frame3, "Frame3", kFenster, {9000, 2160, 2295, 3975}},
        {&F::Frame4, "Frame4", kFenster, {12360, 2160, 2535, 3975}},
    };
    static const Zeile<QLabel> bezeichnungen[] = {
        {&F::Label1, "Label1", kFenster, {240, 240, 8295, 735}},
        {&F::Label2, "Label2", &F::Frame1, {360, 360, 1095, 255}},
        {&F::Label3, "Label3", &F::Frame1, {2880, 360, 1095, 255}},
        {&F::Label9, "Label9", kFenster, {240, 1080, 8415, 615}},
        {&F::Label4, "Label4", &F::Frame2, {720, 360, 3375, 255}},
        {&F::Label8, "Label8", &F::Frame2, {5160, 240, 2895, 495}},
        {&F::Label5, "Label5", &F::Frame2, {840, 720, 2895, 255}},
        {&F::Label6, "Label6", &F::Frame2, {6480, 720, 1695, 255}},
        {&F::Label7, "Label7", &F::Frame2, {5520, 1920, 855, 375}},
        {&F::Label10, "Label10", &F::Frame3, {480, 720, 1575, 255}},
        {&F::Label11, "Label11", &F::Frame4, {720, 720, 1575, 255}},
    };
    // The N field is named as its label says, without the " =" a voice would read out.
    static const char* const kNFeld = "Anzahl der Gleichungen und Unbekannten N";
    static const Zeile<QLineEdit> textfelder[] = {
        {&F::Text1, "Text1", &F::Frame1, {1560, 360, 735, 285}, 3, "Projekt"},
        {&F::Text2, "Text2", &F::Frame1, {3960, 360, 735, 285}, 5, "Position"},
        {&F::Text3, "Text3", &F::Frame2, {4200, 360, 735, 285}, 7, kNFeld},
    };
    // Command2 to Command4 are resized at start-up and placed by the resize handling.
    static const Zeile<QPushButton> knoepfe[] = {
        {&F::Command5, "Command5", &F::Frame2, {840, 3240, 3255, 495}, 25},
        {&F::Command1, "Command1", &F::Frame3, {240, 3240, 1750, 600}, 63},
        {&F::Command6, "Command6", &F::Frame4, {240, 3240, 2055, 495}, 26},
        {&F::Command4, "Command4", kFenster, {7560, 9360, 1575, 855}, 22},
        {&F::Command3, "Command3", kFenster, {9360, 9360, 1575, 855}, 21},
        {&F::Command2, "Command2", kFenster, {11160, 9360, 1575, 855}, 20},
    };
    static const Zellreihe reihen[] = {
        {&F::Text4, "Text4", 840, 840, 1200, 0, 735, 285, {12, 37, 38, 39, 40}, "A Zeile 1 Spalte %1"},
        {&F::Text5, "Text5", 840, 840, 1560, 0, 735, 285, {13, 41, 42, 43, 44}, "A Zeile 2 Spalte %1"},
        {&F::Text6, "Text6", 840, 840, 1920, 0, 735, 285, {14, 45, 46, 47, 48}, "A Zeile 3 Spalte %1"},
        {&F::Text7, "Text7", 840, 840, 2280, 0, 735, 285, {15, 49, 50, 51, 52}, "A Zeile 4 Spalte %1"},
        {&F::Text8, "Text8", 840, 840, 2640, 0, 735, 285, {16, 53, 54, 55, 56}, "A Zeile 5 Spalte %1"},
        {&F::Text9, "Text9", 6720, 0, 1200, 360, 735, 285, {17, 57, 58, 59, 60}, "B Zeile %1"},
        {&F::Text10, "Text10", 480, 0, 1200, 360, 1455, 285, {18, 33, 34, 35, 36}, "Lösung x %1"},
        {&F::Text11, "Text11", 720, 0, 1200, 360, 1215, 285, {24, 29, 30, 31, 32}, "Kontrolle Zeile %1"},
    };
    static const Container reihenContainer[] = {
        &F::Frame2, &F::Frame2, &F::Frame2, &F::Frame2, &F::Frame2, &F::Frame2, &F::Frame3, &F::Frame4,
    };
    // The brackets around A and B span all five rows whatever N is.
    static const Linie linien[] = {
        {&F::Line2, "Line2", 600, 1200, 3000, "linke Klammer von A"},
        {&F::Line1, "Line1", 5160, 1200, 3000, "rechte Klammer von A"},
        {&F::Line3, "Line3", 6480, 1200, 3000, "linke Klammer von B"},
        {&F::Line4, "Line4", 7680, 1200, 3000, "rechte Klammer von B"},
    };

    std::vector<std::pair<int, QWidget*>> fokusfolge;
    auto elter = [this](Container c) -> QWidget* { return c ? static_cast<QWidget*>(this->*c) : this; };
    auto anlegen = [&](auto& zeile, auto* w) {
        w->setObjectName(QString::fromLatin1(zeile.name));
        if (zeile.container) EigeneSchrift(w, this);
        const Ort& o = zeile.ort;
        tovik::SetzeTwips(w, QRectF(o.links, o.oben, o.breite, o.hoehe));
        if (zeile.zugang) w->setAccessibleName(QString::fromUtf8(zeile.zugang));
        this->*zeile.feld = w;
        if (w->focusPolicy() != Qt::NoFocus) fokusfolge.emplace_back(zeile.tab, w);
    };

    // No control starts with a caption of its own: the start-up gives each its text, and a
    // text field or frame would measure and lay out a placeholder first.
    for (const auto& z : rahmen) anlegen(z, new QGroupBox(this));
    for (const auto& z : bezeichnungen) {
        auto* w = new QLabel(elter(z.container));
        w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w->setWordWrap(true);
        anlegen(z, w);
    }
    for (const auto& z : textfelder) anlegen(z, new QLineEdit(elter(z.container)));
    for (const auto& z : knoepfe) {
        auto* w = new QPushButton(elter(z.container));
        w->setAutoDefault(false);
        anlegen(z, w);
    }
    for (std::size_t r = 0; r < std::size(reihen); ++r) {
        const Zellreihe& z = reihen[r];
        QWidget* container = elter(reihenContainer[r]);
        for (int k = 0; k < tovik::kMaxN; ++k) {
            auto* w = new Zelle(container);
            w->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(z.name)).arg(k));
            w->setAccessibleName(QString::fromUtf8(z.zugang).arg(k + 1));
            EigeneSchrift(w, this);
            tovik::SetzeTwips(w, QRectF(z.links + z.dLinks * k, z.oben + z.dOben * k, z.breite, z.hoehe));
            (this->*z.feld)[k] = w;
            fokusfolge.emplace_back(z.tab[k], w);
        }
    }
    for (const auto& z : linien) {
        auto* w = new QFrame(Frame2);
        // The shape before the name: naming makes Qt build and keep the accessible interface,
        // which takes a line for a separator only by its shape.
        w->setFrameShape(QFrame::VLine);
        w->setObjectName(QString::fromLatin1(z.name));
        w->setAccessibleName(QString::fromUtf8(z.zugang));
        EigeneSchrift(w, this);
        // Three pixels wide (at 96 dpi) with the line in the middle, so it stands on its x.
        tovik::SetzeTwips(w, QRectF(z.x - 22.5, z.y1, 45, z.y2 - z.y1));
        this->*z.feld = w;
    }

    // Keyboard order by tab index; Qt skips hidden controls on its own.
    std::sort(fokusfolge.begin(), fokusfolge.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < fokusfolge.size(); ++i)
        setTabOrder(fokusfolge[i - 1].second, fokusfolge[i].second);
}
