// What one user action costs in the real window (offscreen): a key release in a 5 x 5 grid,
// one compute, one display, and one load of a 34-line system file.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <fstream>
#include <random>

#include "Gleichungssystem.h"
#include "Meldung.h"
#include "Systemdatei.h"
#include "Verlauf.h"
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

// The undo history after 100,000 random steps as a user makes them: a run of typing in one
// cell, a header text, a new N that empties the grid, a pasted or loaded 5 x 5 system. The
// history's own bytes and the growth of the process are reported.
void BM_Verlauf100000Schritte(benchmark::State& state) {
    const auto rss = [] {  // resident pages of the process, in bytes
        std::ifstream statm("/proc/self/statm");
        long seiten = 0, resident = 0;
        statm >> seiten >> resident;
        return double(resident) * double(sysconf(_SC_PAGESIZE));
    };
    for (auto _ : state) {
        std::mt19937 zufall(7);
        const auto zahl = [&] { return QString::number(int(zufall() % 2000) - 1000) + ",25"; };
        const double vorher = rss();
        tovik::Verlauf verlauf;
        tovik::Stand stand;
        verlauf.Beginnen(stand);
        for (int schritt = 0; schritt < 100000; ++schritt) {
            switch (zufall() % 4) {
                case 0:
                    stand.texte[tovik::kKopffelder + zufall() % tovik::kZellen] = zahl();
                    break;
                case 1:
                    stand.texte[zufall() % 2] = QStringLiteral("Feld %1").arg(zufall() % 100);
                    break;
                case 2:
                    stand.n = std::int16_t(1 + zufall() % 5);
                    for (int f = tovik::kKopffelder; f < tovik::kFelder; ++f) stand.texte[f].clear();
                    break;
                default:
                    for (int f = tovik::kKopffelder; f < tovik::kFelder; ++f) stand.texte[f] = zahl();
            }
            verlauf.Festhalten(stand);
        }
        state.counters["history_KB"] = double(verlauf.Bytes()) / 1024;
        state.counters["steps_kept"] = double(verlauf.Schritte());
        state.counters["process_growth_KB"] = (rss() - vorher) / 1024;
    }
}

// One undo and one redo in the real window, its history full of whole 5 x 5 systems pasted.
void BM_RueckgaengigVolleTiefe(benchmark::State& state) {
    frm_Tovik& f = Fenster();
    std::mt19937 zufall(11);
    for (int schritt = 0; schritt < 3000; ++schritt) {
        QStringList zeilen;
        for (int i = 0; i < 5; ++i) {
            QStringList werte;
            for (int j = 0; j < 6; ++j) werte << QString::number(i == j ? 100 : int(zufall() % 90) + 1);
            zeilen << werte.join(u'\t');
        }
        f.Einfuegen(f.Text4[0], zeilen.join(u'\n'));
    }
    for (auto _ : state) {
        f.Rueckgaengig();
        f.Wiederherstellen();
    }
}

}  // namespace

BENCHMARK(BM_Verlauf100000Schritte)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RueckgaengigVolleTiefe)->Unit(benchmark::kMicrosecond);
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
