#include "Shell.h"

#include "MessageBox.h"
#include "ShellWindow.h"
#include "UriOpener.h"
#include "WindowBuilder.h"
#include "controls/Button.h"
#include "controls/EditBox.h"
#include "controls/FontMapping.h"
#include "controls/Label.h"
#include "controls/TransLabel.h"
#include "model/Assets.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include <algorithm>

namespace xilan {

// A dialog loop waits for the destruction of its own window; loops nest.
struct Shell::DialogLoop
{
    QString window;
    QEventLoop loop;
};

Shell::Shell(WindowTable windows, QObject *parent)
    : QObject(parent), m_table(std::move(windows)), m_owner(std::make_unique<QWidget>()),
      m_programIcon(WindowBuilder::iconFromIco(assets::iconIco())), m_uriOpener(platformOpenUri)
{
    m_owner->setObjectName(QStringLiteral("owner"));
    // The program ends when its last window is destroyed, which the shell
    // decides, not when the toolkit sees no visible window.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    FontMapping::installDefaultGuiFont();
    qApp->installEventFilter(this);
}

Shell::~Shell()
{
    ++m_eventsHeld;
    qApp->removeEventFilter(this);
    for (auto &[name, instance] : m_instances)
        delete instance->window.data();
    m_instances.clear();
}

void Shell::installToolkitTranslations()
{
    static QTranslator translator;
    if (translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

int Shell::run()
{
    if (m_table.windows().empty()
        || !load(m_table.windows().front()->name, {}, false, /*runDialog=*/false)) {
        MessageBox::show(QStringLiteral("无法加载启动窗口，程序不能启动。"), MessageBox::IconError,
                         QStringLiteral("错误"), nullptr);
        return EXIT_FAILURE;
    }
    m_loopStarted = true;
    RunEventLoop();
    // No handler runs any more while the rest is released.
    ++m_eventsHeld;
    for (auto &[name, instance] : m_instances)
        delete instance->window.data();
    m_instances.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return EXIT_SUCCESS;
}

void Shell::RunEventLoop()
{
    if (!m_instances.empty() && !m_quitRequested)
        QApplication::exec();
}

bool Shell::isLive(const QString &window) const
{
    return m_instances.count(window) != 0;
}

const WindowInstance *Shell::instance(const QString &window) const
{
    const auto it = m_instances.find(window);
    return it == m_instances.end() ? nullptr : it->second.get();
}

ShellWindow *Shell::window(const QString &window) const
{
    const WindowInstance *i = instance(window);
    return i ? i->window.data() : nullptr;
}

QWidget *Shell::control(const QString &window, const QString &control) const
{
    const WindowInstance *i = instance(window);
    return i ? i->controls.value(control) : nullptr;
}

bool Shell::LoadWindow(const QString &window, const QString &parent, bool dialogMode)
{
    return load(window, parent, dialogMode, /*runDialog=*/true);
}

bool Shell::load(const QString &name, const QString &parent, bool dialogMode, bool runDialog)
{
    const WindowDefinition *definition = m_table.window(name);
    if (!definition)
        return false;

    if (const auto it = m_instances.find(name); it != m_instances.end()) {
        WindowInstance &live = *it->second;
        if (!live.pendingUnload) {
            // A window is never live twice: the existing one comes forward.
            if (live.window->isMinimized()) {
                live.window->showNormal();
            } else {
                live.window->raise();
                live.window->activateWindow();
            }
            return true;
        }
        live.pendingUnload = false;
        restoreDisabled(live);
        destroy(name);
    }

    QWidget *owner = nullptr;
    if (!dialogMode && !parent.isEmpty()) {
        owner = window(parent);
        if (!owner)
            return false;
    } else if (dialogMode || !definition->ShowInTaskbar) {
        // Owned by the invisible owner: no taskbar entry of its own, and not
        // owned by the window that opened it.
        m_owner->winId();
        owner = m_owner.get();
    }

    ++m_eventsHeld;
    auto built = std::make_unique<WindowInstance>();
    built->definition = definition;
    built->values = *definition;
    if (!WindowBuilder::build(*built, owner, m_programIcon)) {
        --m_eventsHeld;
        return false;
    }
    WindowInstance *live = built.get();
    m_instances[name] = std::move(built);
    connectControls(*live);
    ShellWindow *w = live->window;
    // The platform reports the frame once the native window exists; the window
    // fits its outer size to it when it gets its id.
    w->winId();
    --m_eventsHeld;

    raise(name, {}, Event::Created);
    if (instance(name) != live)
        return true; // the Created handler destroyed it

    const WindowDefinition &values = live->values;
    if (!values.Visible)
        return true;
    const QScreen *screen = QGuiApplication::primaryScreen();
    w->move(values.StartPosition == 1 && screen
                    ? WindowBuilder::centredPlace(screen->geometry(), w->outerSize())
                    : QPoint(values.left, values.top));
    switch (values.StartPosition) {
    case 2: w->showMinimized(); break;
    case 3: w->showMaximized(); break;
    default: w->show(); break;
    }
    w->raise();
    w->activateWindow();
    focusFirst(name);

    if (dialogMode) {
        live->dialog = true;
        for (const WindowDefinition *other : m_table.windows()) {
            if (other->name == name || !isLive(other->name))
                continue;
            WindowInstance &o = *m_instances[other->name];
            // Disabling takes the focus away; remember where it was.
            rememberFocus(o);
            live->disabledWindows.emplace_back(other->name, o.window->isEnabled());
            o.window->setEnabled(false);
        }
    }

    if (live->dialog && runDialog) {
        DialogLoop dialogLoop;
        dialogLoop.window = name;
        m_dialogLoops.push_back(&dialogLoop);
        const QString saved = m_modalWindow;
        m_modalWindow = name;
        if (!m_quitRequested)
            dialogLoop.loop.exec();
        m_dialogLoops.erase(std::find(m_dialogLoops.begin(), m_dialogLoops.end(), &dialogLoop));
        m_modalWindow = saved;
    }
    return true;
}

void Shell::connectControls(WindowInstance &instance)
{
    const QString name = instance.values.name;
    ShellWindow *w = instance.window;
    connect(w, &ShellWindow::closeRequested, this, [this, name] { requestClose(name); });
    connect(w, &ShellWindow::activated, this, [this, name] { onActivated(name); });
    connect(w, &ShellWindow::deactivated, this, [this, name] { onDeactivated(name); });
    for (auto it = instance.controls.cbegin(); it != instance.controls.cend(); ++it) {
        const QString control = it.key();
        if (auto *button = qobject_cast<Button *>(it.value()))
            connect(button, &QPushButton::clicked, this,
                    [this, name, control] { raise(name, control, Event::Clicked); });
        else if (auto *edit = qobject_cast<EditBox *>(it.value()))
            connect(edit, &EditBox::changed, this,
                    [this, name, control] { raise(name, control, Event::TextChanged); });
    }
}

void Shell::raise(const QString &window, const QString &source, Event event)
{
    // Events raised while a window is built, or while the process ends, are
    // dropped, not queued.
    if (m_eventsHeld > 0)
        return;
    const WindowInstance *i = instance(window);
    if (!i)
        return;
    const EventBinding *binding = i->values.binding(source, event);
    if (binding && binding->handler)
        binding->handler(*this); // may destroy the window: nothing of it is used after
}

bool Shell::queryClose(WindowInstance &instance)
{
    if (m_eventsHeld > 0)
        return true;
    const EventBinding *binding = instance.values.binding({}, Event::CanClose);
    return !binding || !binding->canClose || binding->canClose(*this);
}

void Shell::requestClose(const QString &window)
{
    const auto it = m_instances.find(window);
    if (it == m_instances.end())
        return;
    if (!queryClose(*it->second) || !isLive(window))
        return;
    restoreDisabled(*m_instances[window]);
    destroy(window);
}

void Shell::UnloadWindow(const QString &window, bool immediately)
{
    const auto it = m_instances.find(window);
    if (it == m_instances.end())
        return;
    it->second->pendingUnload = true;
    if (immediately)
        handleUnloadRequest(window);
    else
        // Handled by the event loop once the calling handler has returned.
        QMetaObject::invokeMethod(this, [this, window] { handleUnloadRequest(window); },
                                  Qt::QueuedConnection);
}

void Shell::handleUnloadRequest(const QString &window)
{
    const auto it = m_instances.find(window);
    if (it == m_instances.end() || !it->second->pendingUnload)
        return;
    it->second->pendingUnload = false;
    restoreDisabled(*it->second);
    destroy(window);
}

void Shell::restoreDisabled(WindowInstance &instance)
{
    // Before the dialog is destroyed, so that one of these windows can be
    // active next.
    QWidget *next = nullptr;
    for (const auto &[name, enabled] : instance.disabledWindows) {
        if (ShellWindow *w = this->window(name)) {
            w->setEnabled(enabled);
            if (enabled && !next && w->isVisible())
                next = w;
        }
    }
    instance.disabledWindows.clear();
    instance.dialog = false;
    if (next) {
        next->raise();
        next->activateWindow();
    }
}

void Shell::destroy(const QString &window)
{
    const auto it = m_instances.find(window);
    if (it == m_instances.end())
        return;
    std::unique_ptr<WindowInstance> gone = std::move(it->second);
    m_instances.erase(it);
    if (ShellWindow *w = gone->window) {
        w->allowClose();
        w->hide();
        // The window may be in the middle of handling its own event (a key,
        // its close button); the toolkit deletes it, its controls and their
        // decoded picture once that has returned.
        w->deleteLater();
    }
    for (DialogLoop *loop : m_dialogLoops) {
        if (loop->window == window) {
            loop->loop.quit();
        }
    }
    if (m_modalWindow == window)
        m_modalWindow.clear();
    if (m_instances.empty() && m_loopStarted && !m_quitRequested) {
        m_quitRequested = true;
        QCoreApplication::exit(0);
    }
}

int Shell::ShowMessageBox(const Text &text, int style, const Text &title, const QString &owner)
{
    return MessageBox::show(text.toUnicode(), style, title.toUnicode(), window(owner));
}

void Shell::OpenUri(const Text &uri)
{
    if (m_uriOpener)
        m_uriOpener(uri.toUnicode());
}

Text Shell::GetText(const QString &window, const QString &control)
{
    QWidget *c = this->control(window, control);
    if (auto *edit = qobject_cast<EditBox *>(c))
        return edit->text();
    if (auto *overlay = qobject_cast<TransLabel *>(c))
        return overlay->text();
    if (auto *label = qobject_cast<Label *>(c))
        return label->text();
    if (auto *button = qobject_cast<Button *>(c))
        return Text::fromUnicode(button->text());
    if (auto *w = this->window(window); w && control.isEmpty())
        return Text::fromUnicode(w->windowTitle());
    return {};
}

void Shell::SetText(const QString &window, const QString &control, const Text &text)
{
    QWidget *c = this->control(window, control);
    if (auto *edit = qobject_cast<EditBox *>(c))
        edit->setText(text);
    else if (auto *overlay = qobject_cast<TransLabel *>(c))
        overlay->setText(text);
    else if (auto *label = qobject_cast<Label *>(c))
        label->setText(text);
    else if (auto *button = qobject_cast<Button *>(c))
        button->setText(text.toUnicode());
}

std::vector<QWidget *> Shell::liveTabOrder(const QString &window) const
{
    std::vector<QWidget *> order;
    const WindowInstance *i = instance(window);
    if (!i)
        return order;
    for (const ControlDefinition *c : i->values.tabOrder()) {
        QWidget *w = i->controls.value(c->name);
        if (w && w->isVisibleTo(i->window) && w->isEnabled())
            order.push_back(w);
    }
    return order;
}

void Shell::focusFirst(const QString &window)
{
    const std::vector<QWidget *> order = liveTabOrder(window);
    if (!order.empty())
        order.front()->setFocus(Qt::OtherFocusReason);
}

void Shell::rememberFocus(WindowInstance &instance)
{
    if (QWidget *focus = instance.window->focusWidget(); focus && focus != instance.window)
        instance.savedFocus = focus;
}

void Shell::onDeactivated(const QString &window)
{
    if (const auto it = m_instances.find(window); it != m_instances.end())
        rememberFocus(*it->second);
}

void Shell::onActivated(const QString &window)
{
    const auto it = m_instances.find(window);
    if (it == m_instances.end())
        return;
    WindowInstance &activated = *it->second;
    if (!activated.window->isEnabled()) {
        // A window that a dialog disabled hands the activation to the first
        // open dialog, in definition order.
        for (const WindowDefinition *w : m_table.windows()) {
            const WindowInstance *d = instance(w->name);
            if (d && d->dialog && d->window->isVisible() && d->window->isEnabled()) {
                d->window->raise();
                d->window->activateWindow();
                return;
            }
        }
        return;
    }
    QWidget *saved = activated.savedFocus;
    const std::vector<QWidget *> order = liveTabOrder(window);
    if (saved && std::find(order.begin(), order.end(), saved) != order.end())
        saved->setFocus(Qt::ActiveWindowFocusReason);
    else if (!order.empty() && !activated.window->focusWidget())
        order.front()->setFocus(Qt::ActiveWindowFocusReason);
}

void Shell::moveFocus(const QString &window, bool forward)
{
    const std::vector<QWidget *> order = liveTabOrder(window);
    if (order.empty())
        return;
    const auto n = std::ptrdiff_t(order.size());
    const auto current = std::find(order.begin(), order.end(), QApplication::focusWidget());
    std::ptrdiff_t next;
    if (current == order.end())
        next = forward ? 0 : n - 1;
    else
        next = ((current - order.begin()) + (forward ? 1 : n - 1)) % n;
    order[std::size_t(next)]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool Shell::handleKey(ShellWindow *w, QKeyEvent *key)
{
    const QString name = w->name();
    const WindowDefinition &values = m_instances[name]->values;
    const Qt::KeyboardModifiers modifiers =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (key->key()) {
    case Qt::Key_Tab:
        if (modifiers != Qt::NoModifier)
            return false;
        moveFocus(name, true);
        return true;
    case Qt::Key_Backtab:
        if (modifiers != Qt::ShiftModifier)
            return false;
        moveFocus(name, false);
        return true;
    case Qt::Key_Escape:
        if (modifiers != Qt::NoModifier || !values.EscCloses)
            return false;
        requestClose(name);
        return true;
    case Qt::Key_F4:
        // The system menu's accelerator; a window manager usually takes it
        // first, but without one the window still honours it.
        if (modifiers != Qt::AltModifier || !values.ControlBox)
            return false;
        requestClose(name);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (modifiers != Qt::NoModifier)
            return false;
        // The focused button if it is a default button, else the first
        // default button in definition order; plain buttons ignore Enter.
        const WindowInstance &i = *m_instances[name];
        auto isDefault = [&](const QString &control) {
            const ControlDefinition *c = i.values.control(control);
            return c && c->kind() == ControlKind::Button
                   && c->as<ButtonProperties>().DefaultButton;
        };
        QWidget *target = nullptr;
        const QWidget *focus = QApplication::focusWidget();
        if (focus && focus->window() == w && isDefault(focus->objectName()))
            target = i.controls.value(focus->objectName());
        for (const ControlDefinition &c : i.values.controls)
            if (!target && isDefault(c.name) && i.controls.value(c.name)->isEnabled())
                target = i.controls.value(c.name);
        if (auto *button = qobject_cast<Button *>(target)) {
            button->click();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool Shell::eventFilter(QObject *watched, QEvent *event)
{
    // Keys that every window handles before the focused control sees them.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *w = qobject_cast<ShellWindow *>(static_cast<QWidget *>(watched)->window());
    if (!w || window(w->name()) != w)
        return false;
    return handleKey(w, static_cast<QKeyEvent *>(event));
}

} // namespace xilan
