#include "WindowBuilder.h"

#include "IcoImage.h"
#include "ShellWindow.h"
#include "controls/Button.h"
#include "controls/EditBox.h"
#include "controls/Label.h"
#include "controls/PicBox.h"
#include "controls/TransLabel.h"

#include <QHash>
#include <QImage>
#include <QPixmap>

namespace xilan {

Qt::WindowFlags WindowBuilder::windowFlags(const WindowDefinition &w)
{
    if (w.Border == 0)
        return Qt::Window | Qt::FramelessWindowHint;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if (!w.Title.isEmpty() || w.ControlBox)
        flags |= Qt::WindowTitleHint;
    if (w.ControlBox)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (w.MinButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (w.MaxButton)
        flags |= Qt::WindowMaximizeButtonHint;
    // Borders 2, 4 and 6 are fixed frames that the user cannot resize.
    if (w.Border == 2 || w.Border == 4 || w.Border == 6)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    if (w.Border == 3 || w.Border == 4)
        flags |= Qt::Tool;
    return flags;
}

QPoint WindowBuilder::centredPlace(const QRect &screen, QSize outer)
{
    // C++ division truncates towards zero, as the placement rule asks.
    return QPoint(screen.left() + (screen.width() - outer.width()) / 2,
                  screen.top() + (screen.height() - outer.height()) / 2);
}

QIcon WindowBuilder::iconFromIco(Bytes ico)
{
    if (ico.empty())
        return {};
    // Icons are constant program data: each is decoded once, however many
    // windows show it.
    static QHash<const void *, QIcon> decoded;
    if (const auto it = decoded.constFind(ico.data()); it != decoded.constEnd())
        return *it;
    const QImage image = IcoImage::decode(ico);
    const QIcon icon = image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
    decoded.insert(ico.data(), icon);
    return icon;
}

QWidget *WindowBuilder::buildControl(const ControlDefinition &c, QWidget *parent)
{
    QWidget *widget = nullptr;
    switch (c.kind()) {
    case ControlKind::Button:
        widget = new Button(c.as<ButtonProperties>(), parent);
        break;
    case ControlKind::Label:
        widget = new Label(c.as<LabelProperties>(), parent);
        break;
    case ControlKind::TransLabel:
        widget = new TransLabel(c.as<TransLabelProperties>(), parent);
        break;
    case ControlKind::EditBox:
        widget = new EditBox(c.as<EditBoxProperties>(), parent);
        break;
    case ControlKind::PicBox:
        if (!PicBox::canBuild(c.as<PicBoxProperties>()))
            return nullptr;
        widget = new PicBox(c.as<PicBoxProperties>(), parent);
        break;
    }
    widget->setObjectName(c.name);
    widget->setGeometry(c.rect());
    widget->setEnabled(!c.Disabled);
    const bool focusable = c.TabStop
                           && (c.kind() == ControlKind::Button || c.kind() == ControlKind::EditBox);
    widget->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
    return widget;
}

bool WindowBuilder::build(WindowInstance &instance, QWidget *owner, const QIcon &programIcon)
{
    const WindowDefinition &w = instance.values;
    auto window = std::make_unique<ShellWindow>(w.name, QSize(w.width, w.height), owner,
                                                windowFlags(w));
    window->setWindowTitle(w.Title.toUnicode());
    const QIcon own = iconFromIco(w.Icon);
    window->setWindowIcon(own.isNull() ? programIcon : own);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, w.BackColor.resolve(pal));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
    window->setEnabled(!w.Disabled);

    // Containers first, so that a child may be defined before its picture box.
    QHash<QString, QWidget *> controls;
    for (const ControlDefinition &c : w.controls) {
        if (!c.parent.isEmpty())
            continue;
        QWidget *widget = buildControl(c, window.get());
        if (!widget || controls.contains(c.name))
            return false;
        controls.insert(c.name, widget);
    }
    for (const ControlDefinition &c : w.controls) {
        if (c.parent.isEmpty())
            continue;
        const ControlDefinition *container = w.control(c.parent);
        if (!container || container->kind() != ControlKind::PicBox)
            return false;
        QWidget *widget = buildControl(c, controls.value(c.parent));
        if (!widget || controls.contains(c.name))
            return false;
        controls.insert(c.name, widget);
    }

    // Among siblings the first defined lies on top: raising them last-first
    // leaves each one directly beneath the one defined before it.
    for (auto it = w.controls.rbegin(); it != w.controls.rend(); ++it)
        controls.value(it->name)->raise();

    // The toolkit's own focus chain follows the tab order too.
    const std::vector<const ControlDefinition *> order = w.tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(controls.value(order[i - 1]->name), controls.value(order[i]->name));

    for (const ControlDefinition &c : w.controls)
        controls.value(c.name)->setVisible(c.Visible);

    instance.controls = std::move(controls);
    instance.window = window.release();
    return true;
}

} // namespace xilan
