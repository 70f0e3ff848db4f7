#pragma once

#include "model/WindowDefinition.h"

namespace xilan {

class Services;

// The start-up window and the program's menu: seven buttons open the
// generator windows as dialogs, one hands the author's add-contact link to the
// operating system, one shows a joke and ends the program.
class MainWindow
{
public:
    static const WindowDefinition &definition();

    // The handlers of its buttons.
    static void OpenGenerator(Services &services, const QString &generatorWindow);
    static void OpenContactUri(Services &services);
    static void ShowJokeAndExit(Services &services);

    static const Text &contactUri();
    static const Text &jokeText();
    static const Text &jokeTitle();
};

} // namespace xilan
