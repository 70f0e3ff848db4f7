#include "generators/Catalogue.h"
#include "shell/MainWindow.h"
#include "shell/Shell.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    // The toolkit's own strings (the message box's button, an input's context
    // menu) in Simplified Chinese, like the rest of the program.
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);

    std::vector<const xilan::WindowDefinition *> windows{&xilan::MainWindow::definition()};
    for (const xilan::WindowDefinition *generator : xilan::Catalogue::windows())
        windows.push_back(generator);

    xilan::Shell shell{xilan::WindowTable(std::move(windows))};
    return shell.run();
}
