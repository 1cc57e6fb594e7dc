#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "frm_Tovik.h"

namespace {

// Only for bench/start (environment variable TOVIK_BENCH_QUIT=1): prints the monotonic
// clock when the window has been shown and laid out, and when it has first been painted,
// then quits. The program itself has no options.
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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frm_Tovik fenster;
    if (qEnvironmentVariable("TOVIK_BENCH_QUIT") == QLatin1String("1"))
        fenster.installEventFilter(new StartMessung(&fenster));
    fenster.showMaximized();
    return app.exec();
}
