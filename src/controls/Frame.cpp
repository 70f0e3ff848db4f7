#include "Frame.h"

#include <QPainter>
#include <qdrawutil.h>

namespace xilan {

int Frame::width(int border)
{
    switch (border) {
    case 1: return 2;
    case 2: return 2;
    case 3: return 1;
    case 4: return 4;
    case 5: return 1;
    default: return 0;
    }
}

void Frame::paint(QPainter &painter, const QRect &rect, const QPalette &palette, int border)
{
    switch (border) {
    case 1:
        qDrawWinPanel(&painter, rect, palette, true);
        break;
    case 2:
        qDrawWinPanel(&painter, rect, palette, false);
        break;
    case 3:
        qDrawShadePanel(&painter, rect, palette, true, 1);
        break;
    case 4:
        qDrawWinPanel(&painter, rect, palette, false);
        qDrawWinPanel(&painter, rect.adjusted(2, 2, -2, -2), palette, true);
        break;
    case 5:
        qDrawPlainRect(&painter, rect, palette.color(QPalette::WindowText), 1);
        break;
    default:
        break;
    }
}

} // namespace xilan
