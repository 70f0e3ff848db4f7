#include "OverlayText.h"

#include <QPainter>

namespace xilan {

int OverlayText::alignmentFlags() const
{
    int flags = Qt::TextDontClip;
    flags |= horzAlign == 1 ? Qt::AlignHCenter : horzAlign == 2 ? Qt::AlignRight : Qt::AlignLeft;
    if (wordWrap)
        flags |= Qt::TextWordWrap | Qt::AlignTop;
    else
        flags |= Qt::TextSingleLine
                 | (vertAlign == 1 ? Qt::AlignVCenter : vertAlign == 2 ? Qt::AlignBottom : Qt::AlignTop);
    return flags;
}

void OverlayText::paint(QPainter &painter, const QRect &rect) const
{
    if (text.isEmpty())
        return;
    painter.save();
    painter.setFont(font);
    const int flags = alignmentFlags();
    auto draw = [&](const QColor &c, QPoint offset) {
        painter.setPen(c);
        painter.drawText(rect.translated(offset), flags, text);
    };
    switch (effect) {
    case Etched:
        draw(Qt::white, {1, 1});
        draw(color, {0, 0});
        break;
    case Embossed:
        draw(Qt::white, {0, 0});
        draw(color, {1, 1});
        break;
    case Shadow:
        draw(Qt::black, {2, 2});
        draw(color, {0, 0});
        break;
    default:
        draw(color, {0, 0});
        break;
    }
    painter.restore();
}

} // namespace xilan
