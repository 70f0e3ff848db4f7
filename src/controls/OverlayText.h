#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QPainter;

namespace xilan {

// How overlays and captions lay out and draw their text; both kinds draw it
// the same way.
struct OverlayText
{
    enum Effect { None = 0, Etched = 1, Embossed = 2, Shadow = 3 };

    QString text;
    QFont font;
    QColor color;
    int effect = None;
    int horzAlign = 0; // 1 centre, 2 right, else left
    int vertAlign = 1; // 1 middle, 2 bottom, else top
    bool wordWrap = false;

    // Draws only the glyphs (and the effect's copy) into rect on a transparent
    // background. A line that does not fit is neither wrapped nor shortened: it
    // overflows on the side its alignment leaves open and the painter's clip
    // cuts it. Every character is drawn as it is: ampersands are not prefixes.
    void paint(QPainter &painter, const QRect &rect) const;

    int alignmentFlags() const;

    // The drawing of a label kind's properties (overlays and captions share
    // these fields), in the given font and with colours from the palette.
    template<typename Properties>
    static OverlayText of(const Properties &p, const QString &text, const QFont &font,
                          const QPalette &palette)
    {
        OverlayText o;
        o.text = text;
        o.font = font;
        o.color = p.TextColor.resolve(palette);
        o.effect = p.Effect;
        o.horzAlign = p.HorzAlign;
        o.vertAlign = p.VertAlign;
        o.wordWrap = p.WordWrap;
        return o;
    }
};

} // namespace xilan
