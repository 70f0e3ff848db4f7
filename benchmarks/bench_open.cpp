// Opening a generator from the menu: a click on its button until its window
// is shown and painted, against the floor of decoding its picture alone and
// showing a bare window of the same size. Then the memory: resident size
// after start-up, and its growth over opening and closing every generator a
// hundred times.

#include "BenchSupport.h"
#include "controls/TemplateImage.h"
#include "generators/Catalogue.h"
#include "shell/MainWindow.h"
#include "shell/Shell.h"
#include "shell/ShellWindow.h"

#include <QApplication>
#include <QJsonArray>
#include <QPushButton>
#include <QTest>

using namespace xilan;

namespace {

constexpr int Openings = 30;
constexpr int Cycles = 100;

// The menu button that opens each generator.
QString buttonFor(const QString &window)
{
    for (const EventBinding &b : MainWindow::definition().events) {
        // Run the handler against a recorder to learn which window it opens.
        struct Recorder : Services {
            QString opened;
            bool LoadWindow(const QString &w, const QString &, bool) override { opened = w; return true; }
            void UnloadWindow(const QString &, bool) override {}
            int ShowMessageBox(const Text &, int, const Text &, const QString &) override { return 1; }
            void OpenUri(const Text &) override {}
            Text GetText(const QString &, const QString &) override { return {}; }
            void SetText(const QString &, const QString &, const Text &) override {}
        } recorder;
        if (b.source.startsWith(QStringLiteral("按钮")) && b.source != QStringLiteral("按钮9")) {
            b.handler(recorder);
            if (recorder.opened == window)
                return b.source;
        }
    }
    return {};
}

// Clicks the button and returns the time until the generator's window has
// been painted; closes it again afterwards (not timed).
double openOnce(Shell &shell, const QString &button, const QString &window)
{
    double elapsed = 0;
    const auto start = bench::Clock::now();
    QTimer::singleShot(0, &shell, [&] {
        ShellWindow *w = shell.window(window);
        auto *probe = new bench::FirstPaint(w, [&, w] {
            elapsed = bench::microsecondsSince(start);
            shell.requestClose(window);
        });
        QObject::connect(w, &QObject::destroyed, [probe] { delete probe; });
    });
    static_cast<QPushButton *>(shell.control(QStringLiteral("MainWindow"), button))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return elapsed;
}

double floorOnce(const GeneratorDefinition &g)
{
    const auto start = bench::Clock::now();
    const ControlDefinition *box = g.windowDefinition->control(g.picture);
    const auto decoded = TemplateImage::decode(box->as<PicBoxProperties>().Picture);
    Q_UNUSED(decoded);
    double elapsed = 0;
    QWidget bare;
    bare.setFixedSize(g.windowDefinition->width, g.windowDefinition->height);
    QEventLoop loop;
    bench::FirstPaint probe(&bare, [&] {
        elapsed = bench::microsecondsSince(start);
        loop.quit();
    });
    bare.show();
    loop.exec();
    return elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Shell shell{bench::programTable()};
    shell.LoadWindow(QStringLiteral("MainWindow"));
    QTest::qWaitForWindowExposed(shell.window(QStringLiteral("MainWindow")));
    QCoreApplication::processEvents();
    const long rssAfterStartup = bench::residentKb();

    QJsonArray perWindow;
    double worstOpen = 0, worstRatio = 0;
    for (const GeneratorDefinition &g : Catalogue::generators()) {
        const QString window = g.windowDefinition->name;
        const QString button = buttonFor(window);
        openOnce(shell, button, window); // warm the caches of first use
        floorOnce(g);
        std::vector<double> open, floor;
        for (int i = 0; i < Openings; ++i) {
            open.push_back(openOnce(shell, button, window));
            floor.push_back(floorOnce(g));
        }
        const double openMs = bench::median(open) / 1000, floorMs = bench::median(floor) / 1000;
        worstOpen = std::max(worstOpen, openMs);
        worstRatio = std::max(worstRatio, openMs / floorMs);
        perWindow.append(QJsonObject{{"window", window}, {"open_ms", openMs},
                                     {"floor_ms", floorMs}, {"ratio_vs_floor", openMs / floorMs}});
    }

    // Opening and closing must leave nothing behind. The first round above
    // has filled the toolkit's caches (fonts, glyphs, plugins), so growth is
    // measured from here.
    QCoreApplication::processEvents();
    const long rssBefore = bench::residentKb();
    for (int cycle = 0; cycle < Cycles; ++cycle)
        for (const GeneratorDefinition &g : Catalogue::generators())
            openOnce(shell, buttonFor(g.windowDefinition->name), g.windowDefinition->name);
    QCoreApplication::processEvents();
    const long rssAfter = bench::residentKb();

    bench::print(QJsonObject{
            {"open_ms_max", worstOpen},
            {"open_ratio_vs_floor", worstRatio},
            {"open_windows", perWindow},
            {"rss_mb", double(rssAfterStartup) / 1024},
            {"rss_mb_peak", double(bench::peakResidentKb()) / 1024},
            {"rss_growth_kb_100_cycles", double(rssAfter - rssBefore)},
    });
    return 0;
}
