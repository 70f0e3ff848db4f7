#pragma once

#include <QPalette>
#include <QRect>

class QPainter;

namespace xilan {

// The frames that captions and picture boxes draw for their Border value:
// 1 sunken 3-D edge, 2 raised dialog-style frame, 3 thin sunken edge, 4 a
// sunken edge inside a raised dialog frame, 5 a single line; anything else
// none.
class Frame
{
public:
    static int width(int border);
    static void paint(QPainter &painter, const QRect &rect, const QPalette &palette, int border);
    // The area inside the frame.
    static QRect inside(const QRect &rect, int border)
    {
        const int w = width(border);
        return rect.adjusted(w, w, -w, -w);
    }
};

} // namespace xilan
