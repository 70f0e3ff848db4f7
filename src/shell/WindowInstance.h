#pragma once

#include "model/WindowDefinition.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

namespace xilan {

class ShellWindow;

// One loaded window, from its load to its destruction.
struct WindowInstance
{
    const WindowDefinition *definition = nullptr;
    // The stored values of the window and its controls, copied when the load
    // starts so that every load begins from the definition; the live controls
    // were built from it.
    WindowDefinition values;
    bool dialog = false;
    // The top-level windows this dialog disabled, with their enabled state at
    // that moment, in definition order.
    std::vector<std::pair<QString, bool>> disabledWindows;
    bool pendingUnload = false;
    QPointer<QWidget> savedFocus;

    QPointer<ShellWindow> window;
    QHash<QString, QWidget *> controls; // by control name
};

} // namespace xilan
