#pragma once

#include <QSize>
#include <QWidget>

namespace xilan {

// A top-level window of the program. It keeps its outer size (frame and title
// bar included) at the size its definition stores, and hands close requests
// and activation changes to the shell rather than acting on them itself.
class ShellWindow : public QWidget
{
    Q_OBJECT
public:
    ShellWindow(const QString &name, QSize outerSize, QWidget *owner, Qt::WindowFlags flags);

    const QString &name() const { return m_name; }
    QSize outerSize() const { return m_outerSize; }

    // The client size that gives the stored outer size with the frame that the
    // platform reports now; called again whenever that frame may have changed.
    void fitOuterSize();

    // Lets the next close event through: the shell is destroying the window.
    void allowClose() { m_closing = true; }

Q_SIGNALS:
    void closeRequested();
    void activated();
    void deactivated();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    QString m_name;
    QSize m_outerSize;
    bool m_closing = false;
};

} // namespace xilan
