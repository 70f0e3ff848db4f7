#include "WindowDefinition.h"

#include <algorithm>

namespace xilan {

QString chineseKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button: return QStringLiteral("按钮");
    case ControlKind::Label: return QStringLiteral("标签");
    case ControlKind::TransLabel: return QStringLiteral("透明标签");
    case ControlKind::EditBox: return QStringLiteral("编辑框");
    case ControlKind::PicBox: return QStringLiteral("图片框");
    }
    return {};
}

const ControlDefinition *WindowDefinition::control(QStringView name) const
{
    const auto it = std::find_if(controls.begin(), controls.end(),
                                 [name](const ControlDefinition &c) { return c.name == name; });
    return it == controls.end() ? nullptr : &*it;
}

std::vector<const ControlDefinition *> WindowDefinition::children(QStringView picBox) const
{
    std::vector<const ControlDefinition *> out;
    for (const ControlDefinition &c : controls)
        if (!c.parent.isEmpty() && c.parent == picBox)
            out.push_back(&c);
    return out;
}

std::vector<const ControlDefinition *> WindowDefinition::windowControls() const
{
    std::vector<const ControlDefinition *> out;
    for (const ControlDefinition &c : controls)
        if (c.parent.isEmpty())
            out.push_back(&c);
    return out;
}

QPoint WindowDefinition::placeInWindow(const ControlDefinition &control) const
{
    // No picture box of the program has a border, so a container's client area
    // begins at its top-left corner.
    QPoint place(control.left, control.top);
    const ControlDefinition *c = &control;
    while (!c->parent.isEmpty()) {
        c = this->control(c->parent);
        if (!c)
            break;
        place += QPoint(c->left, c->top);
    }
    return place;
}

const EventBinding *WindowDefinition::binding(QStringView source, Event event) const
{
    const auto it = std::find_if(events.begin(), events.end(), [&](const EventBinding &b) {
        return b.source == source && b.event == event;
    });
    return it == events.end() ? nullptr : &*it;
}

std::vector<const ControlDefinition *> WindowDefinition::tabOrder() const
{
    std::vector<const ControlDefinition *> order;
    // Labels, overlays and picture boxes never take the focus, whatever their
    // flags say.
    for (const ControlDefinition &c : controls) {
        const ControlKind kind = c.kind();
        if (c.Visible && !c.Disabled && c.TabStop
            && (kind == ControlKind::Button || kind == ControlKind::EditBox))
            order.push_back(&c);
    }
    // Equal keys come in reverse definition order, the last defined first.
    std::reverse(order.begin(), order.end());
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlDefinition *a, const ControlDefinition *b) {
                         return a->TabOrder < b->TabOrder;
                     });
    return order;
}

} // namespace xilan
