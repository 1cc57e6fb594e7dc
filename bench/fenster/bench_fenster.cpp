// What one user action costs in the real window (offscreen): a key release in a 5 x 5 grid,
// one compute, one display, and one load of a 34-line system file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "Gleichungssystem.h"
#include "Meldung.h"
#include "Systemdatei.h"
#include "frm_Tovik.h"

namespace {

// The window with a 5 x 5 system whose cells hold texts with a decimal comma.
frm_Tovik& Fenster() {
    static frm_Tovik* fenster = [] {
        auto* f = new frm_Tovik;
        // A message box would wait for a user who is not there (the window installs its own).
        tovik::SetzeMeldungsHook([](const std::string& text, const std::string&) {
            std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        });
        f->show();
        f->Text3->setText(QStringLiteral(" 5"));
        const std::array<frm_Tovik::Feldreihe*, 6> reihen = {&f->Text4, &f->Text5, &f->Text6,
                                                             &f->Text7, &f->Text8, &f->Text9};
        for (int r = 0; r < int(reihen.size()); ++r)
            for (int k = 0; k < tovik::kMaxN; ++k)
                (*reihen[r])[k]->setText(QStringLiteral("%1,25").arg(r == k ? 100 : r + k));
        return f;
    }();
    return *fenster;
}

// The window counts only the release of a key that went down in it: Shift goes down and up,
// which changes no text.
void TastenLoslassen(QLineEdit* zelle) {
    QKeyEvent druecken(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QCoreApplication::sendEvent(zelle, &druecken);
    QKeyEvent loslassen(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QCoreApplication::sendEvent(zelle, &loslassen);
}

void BM_TasteLoslassen5x5(benchmark::State& state) {
    frm_Tovik& f = Fenster();
    for (auto _ : state) TastenLoslassen(f.Text6[2]);
    benchmark::DoNotOptimize(tovik::GS.A[3][3]);
}

void BM_Berechnen5x5(benchmark::State& state) {
    frm_Tovik& f = Fenster();
    for (const auto* reihe : {&f.Text4, &f.Text5, &f.Text6, &f.Text7, &f.Text8, &f.Text9})
        TastenLoslassen((*reihe)[0]);
    for (auto _ : state) f.Command1_Click();
    if (tovik::GS.Fehler) state.SkipWithError("system refused");
}

void BM_SystemAnzeigen5x5(benchmark::State& state) {
    frm_Tovik& f = Fenster();
    for (auto _ : state) f.SystemAnzeigen();
}

void BM_Laden34Zeilen(benchmark::State& state) {
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("Fuenf.TVK"));
    tovik::SystemDaten daten;
    daten.Projekt = "Brücke";
    daten.Position = "Feld 3";
    daten.N = 5;
    for (int i = 1; i <= 5; ++i) {
        for (int j = 1; j <= 5; ++j) daten.A[i][j] = (i == j ? 100.0 : i + j) / 3.0;
        daten.B[i] = -i / 7.0;
    }
    const auto bytes = tovik::SystemSchreiben(daten);
    if (!std::holds_alternative<QByteArray>(bytes) || tovik::DateiErsetzen(pfad, std::get<QByteArray>(bytes)))
        state.SkipWithError("cannot write the file");
    for (auto _ : state) {
        auto ergebnis = tovik::SystemDateiLesen(pfad);
        if (auto* gelesen = std::get_if<tovik::SystemDaten>(&ergebnis))
            tovik::DatenInSystem(*gelesen, tovik::GS);
        else
            state.SkipWithError("file refused");
    }
}

}  // namespace

BENCHMARK(BM_TasteLoslassen5x5);
BENCHMARK(BM_Berechnen5x5);
BENCHMARK(BM_SystemAnzeigen5x5);
BENCHMARK(BM_Laden34Zeilen);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
