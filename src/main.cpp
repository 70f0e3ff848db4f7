#include "generators/Catalogue.h"
#include "shell/MainWindow.h"
#include "shell/Shell.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    xilan::Shell::installToolkitTranslations();

    std::vector<const xilan::WindowDefinition *> windows{&xilan::MainWindow::definition()};
    for (const xilan::WindowDefinition *generator : xilan::Catalogue::windows())
        windows.push_back(generator);

    xilan::Shell shell{xilan::WindowTable(std::move(windows))};
    return shell.run();
}
