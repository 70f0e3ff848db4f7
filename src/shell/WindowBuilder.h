#pragma once

#include "WindowInstance.h"

#include <QIcon>
#include <QPoint>
#include <QRect>

namespace xilan {

// Builds a live window, hidden, and its controls from a window's values.
class WindowBuilder
{
public:
    // Fills instance.window and instance.controls; false when the window or any
    // control cannot be built, and then nothing is left behind.
    static bool build(WindowInstance &instance, QWidget *owner, const QIcon &programIcon);

    static Qt::WindowFlags windowFlags(const WindowDefinition &window);

    // Where a window of the given outer size goes with StartPosition 1: centred
    // on the whole screen, not the work area, dividing as integers.
    static QPoint centredPlace(const QRect &screen, QSize outerSize);

    static QIcon iconFromIco(Bytes ico);

private:
    static QWidget *buildControl(const ControlDefinition &control, QWidget *parent);
};

} // namespace xilan
