#pragma once

#include "Bytes.h"
#include "Colour.h"
#include "ControlDefinition.h"
#include "EventBinding.h"
#include "Text.h"

#include <QPoint>
#include <QString>

#include <vector>

namespace xilan {

// One window of the program. Member initialisers are the values a window has
// when its definition does not set them, which every window of the program
// keeps apart from its name, title, size, icon, controls and events.
struct WindowDefinition
{
    QString name;
    xilan::Text Title;
    int left = 50; // used only with StartPosition 0
    int top = 50;
    int width = 0; // outer size, frame and title bar included
    int height = 0;
    int Border = 2;
    bool ControlBox = true;
    bool MinButton = true;
    bool MaxButton = false;
    int StartPosition = 1; // 0 stored place, 1 centred, 2 minimised, 3 maximised
    bool Movable = true;
    bool EscCloses = true;
    bool ShowInTaskbar = true;
    Colour BackColor = Colour::Face;
    Bytes Icon; // an ICO file; empty: the program's icon
    bool Visible = true;
    bool Disabled = false;
    std::vector<ControlDefinition> controls; // definition order, the first on top
    std::vector<EventBinding> events;

    // Lookups. control() gives nullptr for a name the window does not have.
    const ControlDefinition *control(QStringView name) const;
    std::vector<const ControlDefinition *> children(QStringView picBox) const;
    std::vector<const ControlDefinition *> windowControls() const;
    // The control's top-left corner in the window's client area.
    QPoint placeInWindow(const ControlDefinition &control) const;
    const EventBinding *binding(QStringView source, Event event) const;
    // The controls that take part in the tab order, in that order; only
    // visible, enabled controls with TabStop set that can take the focus.
    std::vector<const ControlDefinition *> tabOrder() const;
};

} // namespace xilan
