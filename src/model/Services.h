#pragma once

#include "Text.h"

#include <QString>

namespace xilan {

// The operations that event handlers may call; the shell provides them.
// Windows are named by their definitions' names, controls by (window, name).
class Services
{
public:
    virtual ~Services() = default;

    // True when the window was built (in dialog mode: built and since closed
    // again) or was already live; false when it cannot be built. In dialog mode
    // it returns only after the window has been destroyed.
    virtual bool LoadWindow(const QString &window, const QString &parent = {},
                            bool dialogMode = false) = 0;
    // Destroys the window without asking it; unless immediately, that happens
    // after the calling handler has returned.
    virtual void UnloadWindow(const QString &window, bool immediately = false) = 0;
    // Returns the button that closed the box, once the user has dismissed it.
    virtual int ShowMessageBox(const Text &text, int style, const Text &title,
                               const QString &owner = {}) = 0;
    // Hands the URI to the operating system's opener; returns at once.
    virtual void OpenUri(const Text &uri) = 0;
    // The whole current text of a live control.
    virtual Text GetText(const QString &window, const QString &control) = 0;
    virtual void SetText(const QString &window, const QString &control, const Text &text) = 0;
};

} // namespace xilan
