#pragma once

#include "WindowInstance.h"
#include "model/Services.h"
#include "model/WindowTable.h"

#include <QIcon>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QEventLoop;

namespace xilan {

class ShellWindow;

// Owns the process from start to end: builds windows from their definitions,
// opens them (also in dialog mode), closes and discards them, delivers control
// events to the handlers that the definitions bind, and offers the handlers
// its services. Everything runs on the one UI thread.
class Shell : public QObject, public Services
{
    Q_OBJECT
public:
    explicit Shell(WindowTable windows, QObject *parent = nullptr);
    ~Shell() override;

    // The toolkit's own strings (the message box's button, an input's context
    // menu) in Simplified Chinese, like the rest of the program, where Qt's
    // translations are installed. Call once, after the application object
    // exists.
    static void installToolkitTranslations();

    // Loads the first window of the table, which starts the program, runs the
    // event loop until the last window is gone, and returns the exit status:
    // 0, or a failure status when the start-up window cannot be built.
    int run();

    // Services.
    bool LoadWindow(const QString &window, const QString &parent = {},
                    bool dialogMode = false) override;
    void UnloadWindow(const QString &window, bool immediately = false) override;
    int ShowMessageBox(const Text &text, int style, const Text &title,
                       const QString &owner = {}) override;
    void OpenUri(const Text &uri) override;
    Text GetText(const QString &window, const QString &control) override;
    void SetText(const QString &window, const QString &control, const Text &text) override;
    // Returns when the last window has been destroyed.
    void RunEventLoop();

    // Where OpenUri hands its text; tests record it instead of starting anything.
    using UriOpener = std::function<void(const QString &)>;
    void setUriOpener(UriOpener opener) { m_uriOpener = std::move(opener); }

    // A close request as the close button, the system menu, Alt+F4 or Esc make.
    void requestClose(const QString &window);

    // Inspection, for the shell's callers and tests.
    const WindowTable &table() const { return m_table; }
    bool isLive(const QString &window) const;
    ShellWindow *window(const QString &window) const;
    QWidget *control(const QString &window, const QString &control) const;
    const WindowInstance *instance(const QString &window) const;
    QString modalWindow() const { return m_modalWindow; }
    int eventsHeld() const { return m_eventsHeld; }
    bool quitRequested() const { return m_quitRequested; }

    // The live controls of the window's tab order: visible, enabled, TabStop.
    std::vector<QWidget *> liveTabOrder(const QString &window) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct DialogLoop;

    bool load(const QString &window, const QString &parent, bool dialogMode, bool runDialog);
    void raise(const QString &window, const QString &source, Event event);
    bool queryClose(WindowInstance &instance);
    void restoreDisabled(WindowInstance &instance);
    void destroy(const QString &window);
    void handleUnloadRequest(const QString &window);
    void connectControls(WindowInstance &instance);
    void onActivated(const QString &window);
    void onDeactivated(const QString &window);
    void focusFirst(const QString &window);
    bool handleKey(ShellWindow *window, QKeyEvent *key);
    void moveFocus(const QString &window, bool forward);
    void rememberFocus(WindowInstance &instance);

    WindowTable m_table;
    // The invisible owner of dialog-mode windows and of windows without a
    // taskbar entry; never shown.
    std::unique_ptr<QWidget> m_owner;
    QIcon m_programIcon;
    std::map<QString, std::unique_ptr<WindowInstance>> m_instances;
    int m_eventsHeld = 0;
    bool m_loopStarted = false;
    bool m_quitRequested = false;
    QString m_modalWindow;
    std::vector<DialogLoop *> m_dialogLoops;
    UriOpener m_uriOpener;
};

} // namespace xilan
