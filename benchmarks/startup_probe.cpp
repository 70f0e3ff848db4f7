// The program itself, started as main() starts it, with a probe that prints
// the monotonic clock once the start-up window's first paint has finished,
// then ends the process. scripts/bench starts it and subtracts the time it
// read just before starting it.
//
// Built as `bare_probe` too (BARE_WINDOW defined): a bare Qt program that
// shows an empty window of the start-up window's size, measured the same way.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

void report()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("{\"painted_ns\":%lld,\"rss_kb\":%ld}\n",
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                usage.ru_maxrss);
    std::fflush(stdout);
    std::_Exit(0);
}

// Watches for the first top-level window that paints.
class Probe : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow() && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, report);
        }
        return false;
    }

private:
    bool m_seen = false;
};

void installProbe()
{
    qApp->installEventFilter(new Probe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)

#ifdef BARE_WINDOW
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(505, 220);
    window.show();
    return app.exec();
}
#else
#define main programMain
#include "main.cpp"
#undef main
int main(int argc, char **argv)
{
    return programMain(argc, argv);
}
#endif
