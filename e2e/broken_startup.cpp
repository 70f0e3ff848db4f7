// The program as src/main.cpp composes it, except that its start-up window
// cannot be built: its picture box holds settings from a newer version. The
// real program offers no way to fail at start-up, so the end-to-end test of
// that path runs this instead.

#include "generators/Catalogue.h"
#include "shell/MainWindow.h"
#include "shell/Shell.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    xilan::Shell::installToolkitTranslations();

    // A generator window as the first window, its picture box one version
    // ahead of what the program reads.
    const xilan::GeneratorDefinition &generator = xilan::Catalogue::generators().front();
    static xilan::WindowDefinition broken = *generator.windowDefinition;
    for (xilan::ControlDefinition &control : broken.controls)
        if (control.kind() == xilan::ControlKind::PicBox)
            control.as<xilan::PicBoxProperties>().version =
                    xilan::PicBoxProperties::SupportedVersion + 1;

    std::vector<const xilan::WindowDefinition *> windows{&broken, &xilan::MainWindow::definition()};
    for (const xilan::WindowDefinition *w : xilan::Catalogue::windows())
        if (w != generator.windowDefinition)
            windows.push_back(w);

    xilan::Shell shell{xilan::WindowTable(std::move(windows))};
    return shell.run();
}
