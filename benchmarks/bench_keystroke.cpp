// Keystroke cost: from delivering one key press and release to a generator's
// input until the bound overlay has been repainted, against the same keys to
// a bare QLineEdit in a bare window of the same size. The two alternate in
// one process so that a noisy machine skews both alike.

#include "BenchSupport.h"
#include "controls/FontMapping.h"
#include "generators/Catalogue.h"
#include "shell/MainWindow.h"
#include "shell/Shell.h"
#include "shell/ShellWindow.h"

#include <QApplication>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace xilan;

namespace {

constexpr int Keystrokes = 2000;
constexpr int Warmup = 100;

// One key press and release as the window system would deliver them, then
// whatever paint the input queued, as the event loop would run it next. The
// binding itself repaints the overlay synchronously inside the press.
double keystroke(QWidget *input, bool typing)
{
    const auto start = bench::Clock::now();
    const int key = typing ? Qt::Key_A : Qt::Key_Backspace;
    const QString text = typing ? QStringLiteral("a") : QString();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(input, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(input, &release);
    QCoreApplication::sendPostedEvents();
    return bench::microsecondsSince(start);
}

struct Target
{
    QWidget *window;
    QLineEdit *input;
};

Target bareTarget(const WindowDefinition &like, const ControlDefinition &input)
{
    auto *window = new QWidget;
    window->setFixedSize(like.width, like.height);
    auto *edit = new QLineEdit(window);
    edit->setGeometry(input.rect());
    window->show();
    return {window, edit};
}

void prepare(Target t, int prefill)
{
    t.window->activateWindow();
    QTest::qWaitForWindowExposed(t.window);
    t.input->setFocus();
    t.input->setText(QString(prefill, QLatin1Char('x')));
    t.input->end(false);
    QCoreApplication::processEvents();
}

struct Pair
{
    std::vector<double> program, bare;
};

Pair measure(Shell &shell, const GeneratorDefinition &g, int prefill, int count)
{
    const QString name = g.windowDefinition->name;
    shell.LoadWindow(name);
    auto *input = static_cast<QLineEdit *>(shell.control(name, g.inputs.front()));
    Target program{shell.window(name), input};
    Target bare = bareTarget(*g.windowDefinition, *g.windowDefinition->control(g.inputs.front()));
    prepare(program, prefill);
    prepare(bare, prefill);

    Pair samples;
    for (int i = 0; i < Warmup + count; ++i) {
        const bool typing = i % 2 == 0;
        const double p = keystroke(program.input, typing);
        const double b = keystroke(bare.input, typing);
        if (i >= Warmup) {
            samples.program.push_back(p);
            samples.bare.push_back(b);
        }
    }
    delete bare.window;
    shell.requestClose(name);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return samples;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Shell shell{bench::programTable()};

    QJsonArray perWindow;
    double worstP99 = 0, worstP50 = 0, worstRatio = 0;
    for (const GeneratorDefinition &g : Catalogue::generators()) {
        const Pair s = measure(shell, g, 0, Keystrokes);
        const double p50 = bench::median(s.program), p99 = bench::quantile(s.program, 0.99);
        const double bareP50 = bench::median(s.bare), bareP99 = bench::quantile(s.bare, 0.99);
        const double ratio = p50 / bareP50;
        worstP50 = std::max(worstP50, p50);
        worstP99 = std::max(worstP99, p99);
        worstRatio = std::max(worstRatio, ratio);
        perWindow.append(QJsonObject{{"window", g.windowDefinition->name},
                                     {"p50_us", p50},
                                     {"p99_us", p99},
                                     {"bare_p50_us", bareP50},
                                     {"bare_p99_us", bareP99},
                                     {"ratio_vs_bare", ratio}});
    }

    // How the cost grows with the text already in the input.
    const GeneratorDefinition &triangle = Catalogue::generators().front();
    QJsonObject scaling;
    double at10 = 0, at10000 = 0;
    for (int prefill : {1, 10, 100, 1000, 10000}) {
        const Pair s = measure(shell, triangle, prefill, prefill >= 1000 ? 400 : 1000);
        const double p50 = bench::median(s.program);
        scaling.insert(QString::number(prefill),
                       QJsonObject{{"p50_us", p50}, {"bare_p50_us", bench::median(s.bare)}});
        if (prefill == 10)
            at10 = p50;
        if (prefill == 10000)
            at10000 = p50;
    }

    bench::print(QJsonObject{
            {"keystroke_p50_us", worstP50},
            {"keystroke_p99_us", worstP99},
            {"keystroke_ratio_vs_bare", worstRatio},
            {"keystroke_windows", perWindow},
            {"keystroke_scaling", scaling},
            {"keystroke_scaling_window", triangle.windowDefinition->name},
            {"keystroke_growth_10000_vs_10", at10000 / at10},
    });
    return 0;
}
