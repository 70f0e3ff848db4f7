#include "ShellWindow.h"

#include <QCloseEvent>
#include <QWindow>

namespace xilan {

ShellWindow::ShellWindow(const QString &name, QSize outerSize, QWidget *owner,
                         Qt::WindowFlags flags)
    : QWidget(owner, flags), m_name(name), m_outerSize(outerSize)
{
    setObjectName(name);
    fitOuterSize();
}

void ShellWindow::fitOuterSize()
{
    QMargins frame;
    if (const QWindow *w = windowHandle())
        frame = w->frameMargins();
    const QSize client(qMax(1, m_outerSize.width() - frame.left() - frame.right()),
                       qMax(1, m_outerSize.height() - frame.top() - frame.bottom()));
    if (client != size() || minimumSize() != client || maximumSize() != client)
        setFixedSize(client);
}

void ShellWindow::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    // The close button, the system menu and Alt+F4 all arrive here; whether
    // and how the window goes is the shell's decision. A disabled window takes
    // no user input, so it cannot be closed by the user either.
    event->ignore();
    if (isEnabled())
        Q_EMIT closeRequested();
}

bool ShellWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        Q_EMIT activated();
        break;
    case QEvent::WindowDeactivate:
        Q_EMIT deactivated();
        break;
    case QEvent::Show:
    case QEvent::WinIdChange:
        // The platform may report the frame only once the window exists or is
        // shown; the outer size is corrected at once.
        fitOuterSize();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void ShellWindow::moveEvent(QMoveEvent *event)
{
    // Window managers that frame a window after mapping it move it as they do.
    fitOuterSize();
    QWidget::moveEvent(event);
}

} // namespace xilan
