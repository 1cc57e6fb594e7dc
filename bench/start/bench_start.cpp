// Start-up of tovik against a Qt program that shows one QLabel, side by side in one run: the
// floor for any window that draws text (its first text loads the font database). A third
// program showing a bare QWidget, which never loads a font, is listed for what text costs.
// All are launched in turn on the platform of QT_QPA_PLATFORM (offscreen when unset; under
// tools/x-sitzung.sh an X server with a window manager), report the monotonic clock when
// their window is shown (laid out) and when its first frame is complete (painted and
// flushed), and quit. Measured per launch: process start to shown, to the first frame, to
// exit, and the peak resident memory from wait4.
//
// Target: tovik within 1.10x the one-QLabel program for shown and for the first frame, and
// within 1.05x its peak memory.
// Usage: bench_start [launches per program, default 20]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Lauf {
    double gezeigt_ms = 0, gemalt_ms = 0, ende_ms = 0, rss_mb = 0;  // gemalt: the first frame complete
};

long long Jetzt() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

bool Starten(const char* programm, Lauf& lauf) {
    int rohr[2];
    if (pipe(rohr) != 0) return false;
    const long long start = Jetzt();
    const pid_t kind = fork();
    if (kind < 0) return false;
    if (kind == 0) {
        dup2(rohr[1], STDOUT_FILENO);
        close(rohr[0]);
        close(rohr[1]);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        execl(programm, programm, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(rohr[1]);
    std::string ausgabe;
    char puffer[256];
    for (ssize_t n; (n = read(rohr[0], puffer, sizeof puffer)) > 0;) ausgabe.append(puffer, n);
    close(rohr[0]);
    int status = 0;
    rusage nutzung{};
    if (wait4(kind, &status, 0, &nutzung) != kind) return false;
    lauf.ende_ms = (Jetzt() - start) / 1e6;
    lauf.rss_mb = nutzung.ru_maxrss / 1024.0;
    long long gezeigt = 0, gemalt = 0;
    if (const auto p = ausgabe.find("gezeigt "); p != std::string::npos)
        gezeigt = std::atoll(ausgabe.c_str() + p + 8);
    if (const auto p = ausgabe.find("gemalt "); p != std::string::npos)
        gemalt = std::atoll(ausgabe.c_str() + p + 7);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !gezeigt || !gemalt) {
        std::fprintf(stderr, "%s: exit status %d, output \"%s\"\n", programm, status, ausgabe.c_str());
        return false;
    }
    lauf.gezeigt_ms = (gezeigt - start) / 1e6;
    lauf.gemalt_ms = (gemalt - start) / 1e6;
    return true;
}

double Median(std::vector<double> werte) {
    std::sort(werte.begin(), werte.end());
    const std::size_t m = werte.size() / 2;
    return werte.size() % 2 ? werte[m] : (werte[m - 1] + werte[m]) / 2;
}

struct Zusammenfassung {
    double gezeigt, gemalt, ende, rss;
};

Zusammenfassung Mitte(const std::vector<Lauf>& laeufe) {
    std::vector<double> g, m, e, r;
    for (const Lauf& l : laeufe) {
        g.push_back(l.gezeigt_ms);
        m.push_back(l.gemalt_ms);
        e.push_back(l.ende_ms);
        r.push_back(l.rss_mb);
    }
    return {Median(g), Median(m), Median(e), Median(r)};
}

}  // namespace

int main(int argc, char** argv) {
    const int anzahl = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const char* const programme[] = {LEERES_FENSTER, EIN_LABEL, TOVIK_PROGRAMM};
    const char* const namen[] = {"bare QWidget", "one QLabel", "tovik"};
    constexpr int kProgramme = 3;
    std::vector<Lauf> laeufe[kProgramme];
    Lauf lauf;
    // One launch each to warm the file cache, then in turn so all see the same machine.
    for (const char* p : programme)
        if (!Starten(p, lauf)) return 1;
    for (int i = 0; i < anzahl; ++i)
        for (int k = 0; k < kProgramme; ++k) {
            if (!Starten(programme[k], lauf)) return 1;
            laeufe[k].push_back(lauf);
        }

    Zusammenfassung mitte[kProgramme];
    for (int k = 0; k < kProgramme; ++k) mitte[k] = Mitte(laeufe[k]);
    const char* plattform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform %s, median of %d launches each\n", plattform ? plattform : "offscreen", anzahl);
    std::printf("%-28s %10s  %12s  %9s  %13s\n", "", "shown [ms]", "frame [ms]", "exit [ms]",
                "peak RSS [MB]");
    for (int k = 0; k < kProgramme; ++k)
        std::printf("%-28s %10.1f  %12.1f  %9.1f  %13.1f\n", namen[k], mitte[k].gezeigt, mitte[k].gemalt,
                    mitte[k].ende, mitte[k].rss);
    const Zusammenfassung &label = mitte[1], &tovik = mitte[2];
    const double gezeigt = tovik.gezeigt / label.gezeigt, gemalt = tovik.gemalt / label.gemalt,
                 rss = tovik.rss / label.rss;
    std::printf("%-28s %10.2f  %12.2f  %9.2f  %13.2f\n", "ratio tovik / one QLabel", gezeigt, gemalt,
                tovik.ende / label.ende, rss);
    const auto urteil = [](double verhaeltnis, double ziel) {
        return verhaeltnis <= ziel ? "MET" : "MISSED";
    };
    std::printf("target tovik / one QLabel: shown <= 1.10 %s, first frame <= 1.10 %s, peak RSS <= 1.05 %s\n",
                urteil(gezeigt, 1.10), urteil(gemalt, 1.10), urteil(rss, 1.05));
    return 0;
}
