#pragma once

#include "WindowDefinition.h"

#include <vector>

namespace xilan {

// Every window of the program in definition order; the shell goes through
// them in this order. The definitions themselves are constant and outlive it.
class WindowTable
{
public:
    WindowTable() = default;
    explicit WindowTable(std::vector<const WindowDefinition *> windows)
        : m_windows(std::move(windows)) {}

    const std::vector<const WindowDefinition *> &windows() const { return m_windows; }
    // nullptr for a name that no window has.
    const WindowDefinition *window(QStringView name) const
    {
        for (const WindowDefinition *w : m_windows)
            if (w->name == name)
                return w;
        return nullptr;
    }
    const ControlDefinition *control(QStringView window, QStringView name) const
    {
        const WindowDefinition *w = this->window(window);
        return w ? w->control(name) : nullptr;
    }

private:
    std::vector<const WindowDefinition *> m_windows;
};

} // namespace xilan
