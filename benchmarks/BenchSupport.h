#pragma once

// Timing and reporting helpers shared by the benchmark programs. Each
// program prints one JSON object of named figures on stdout; scripts/bench
// gathers them.

#include "generators/Catalogue.h"
#include "model/WindowTable.h"
#include "shell/MainWindow.h"

#include <QEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// The program's window table, composed as main() composes it.
inline xilan::WindowTable programTable()
{
    std::vector<const xilan::WindowDefinition *> windows{&xilan::MainWindow::definition()};
    for (const xilan::WindowDefinition *w : xilan::Catalogue::windows())
        windows.push_back(w);
    return xilan::WindowTable(std::move(windows));
}

inline double microsecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// The q-quantile of the samples, by the nearest-rank method.
inline double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = std::size_t(std::clamp(q * double(samples.size()), 1.0, double(samples.size())));
    return samples[rank - 1];
}

inline double median(const std::vector<double> &samples)
{
    return quantile(samples, 0.5);
}

// Resident memory now, and the peak so far, in kilobytes.
inline long residentKb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

inline void print(const QJsonObject &figures)
{
    std::fputs(QJsonDocument(figures).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Calls done() once the watched top-level window has been painted and that
// paint has been flushed: the paint event is seen on its way in, and a
// zero-timer set then fires only after the paint, its children's paints and
// the flush to the screen have finished.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, std::function<void()> done)
        : m_window(window), m_done(std::move(done))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            m_window->removeEventFilter(this);
            QTimer::singleShot(0, m_window, m_done);
        }
        return false;
    }

private:
    QWidget *m_window;
    std::function<void()> m_done;
    bool m_seen = false;
};

} // namespace bench
