#pragma once
// Only for bench/start: tovik under TOVIK_BENCH_QUIT=1, and the peer programs it is measured
// against, print the monotonic clock when the window has been shown and laid out, and when
// it has first been painted, then quit. The program itself has no options.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>

class StartMessung : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show && !gezeigt_) {
            gezeigt_ = true;
            Ausgeben("gezeigt");
        } else if (ereignis->type() == QEvent::Paint && gezeigt_ && !gemalt_) {
            gemalt_ = true;
            Ausgeben("gemalt");
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }

private:
    static void Ausgeben(const char* was) {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        std::printf("%s %lld\n", was, static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec);
        std::fflush(stdout);
    }
    bool gezeigt_ = false;
    bool gemalt_ = false;
};
