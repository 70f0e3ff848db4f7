#include "MainWindow.h"

#include "model/Assets.h"
#include "model/Services.h"

namespace xilan {
namespace {

ControlDefinition button(const QString &name, int left, int top, const Text &caption)
{
    ButtonProperties properties;
    properties.Text = caption;
    return {name, {}, left, top, 152, 40, true, false, /*TabStop=*/true, 0, properties};
}

} // namespace

const Text &MainWindow::contactUri()
{
    // Passed on exactly as it stands: nothing is added, lowercased or encoded.
    static const Text uri =
            u"tencent://AddContact/?fromId=45&fromSubId=1&subcmd=all&uin=517284963&website="_t;
    return uri;
}

const Text &MainWindow::jokeText()
{
    static const Text text =
            u"想得美不可能的事情一辈子都不可能的事情霁川怎么帅怎么可能给你头像.      关闭了哈重新打开把"_t;
    return text;
}

const Text &MainWindow::jokeTitle()
{
    static const Text title = u"霁川最帅"_t;
    return title;
}

void MainWindow::OpenGenerator(Services &services, const QString &generatorWindow)
{
    // Returns once the user has closed the generator; the result is of no use.
    services.LoadWindow(generatorWindow, {}, /*dialogMode=*/true);
}

void MainWindow::OpenContactUri(Services &services)
{
    services.OpenUri(contactUri());
}

void MainWindow::ShowJokeAndExit(Services &services)
{
    services.ShowMessageBox(jokeText(), 0, jokeTitle());
    services.UnloadWindow(QStringLiteral("MainWindow"));
}

const WindowDefinition &MainWindow::definition()
{
    static const WindowDefinition window = [] {
        WindowDefinition w;
        w.name = QStringLiteral("MainWindow");
        w.Title = u"溪岚头像大全- by霁川"_t;
        w.width = 505;
        w.height = 220;
        w.Icon = assets::iconIco();

        TransLabelProperties label;
        label.Text = u"透明标签"_t;
        label.TextColor = 0x0000FF;
        label.HorzAlign = 1;
        label.VertAlign = 1;
        w.controls = {
            {QStringLiteral("透明标签1"), {}, 48, 152, 392, 32, true, false, false, 0, label},
            button(QStringLiteral("按钮9"), 331, 58, u"霁川头像生成"_t),
            button(QStringLiteral("按钮8"), 328, 8, u"溪岚头像生成"_t),
            button(QStringLiteral("按钮7"), 170, 106, u"国家名字头像生成"_t),
            button(QStringLiteral("按钮6"), 330, 107, u"联系霁川"_t),
            button(QStringLiteral("按钮5"), 8, 104, u"动物头像生成"_t),
            button(QStringLiteral("按钮3"), 168, 56, u"半圆头像生成"_t),
            button(QStringLiteral("按钮4"), 168, 8, u"白条头像生成"_t),
            button(QStringLiteral("按钮2"), 8, 56, u"开花头像生成"_t),
            button(QStringLiteral("按钮1"), 8, 8, u"三角形头像生成"_t),
        };

        auto opens = [](const char16_t *generator) {
            const QString name = QString::fromUtf16(generator);
            return [name](Services &s) { OpenGenerator(s, name); };
        };
        auto clicked = [](const char16_t *source, Handler handler) {
            return EventBinding{QString::fromUtf16(source), Event::Clicked, std::move(handler), {}};
        };
        w.events = {
            clicked(u"按钮1", opens(u"TriangleWindow")),
            clicked(u"按钮2", opens(u"BloomWindow")),
            clicked(u"按钮3", opens(u"SemicircleWindow")),
            clicked(u"按钮4", opens(u"WhiteStripeWindow")),
            clicked(u"按钮5", opens(u"AnimalWindow")),
            clicked(u"按钮6", &OpenContactUri),
            clicked(u"按钮7", opens(u"CountryNameWindow")),
            clicked(u"按钮8", opens(u"BrandStyleWindow")),
            clicked(u"按钮9", &ShowJokeAndExit),
        };
        return w;
    }();
    return window;
}

} // namespace xilan
