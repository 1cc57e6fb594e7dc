#pragma once
// The clock readings of the start-up benchmark, the same in all programs it launches: the
// monotonic clock when the window has been shown (laid out), and when its first frame is
// complete; then the program quits.
#include <QApplication>
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
            // The window's paint event comes first in its frame. Queued, this runs once the
            // whole frame is painted and the backing store flushed, back in the event loop.
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    Ausgeben("gemalt");
                    QApplication::quit();
                },
                Qt::QueuedConnection);
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
