#include "TransLabel.h"

#include "FontMapping.h"

#include <QEvent>
#include <QPainter>

namespace xilan {

TransLabel::TransLabel(const TransLabelProperties &properties, QWidget *parent)
    : QWidget(parent), m_properties(properties), m_unicode(properties.Text.toUnicode()),
      m_recordFont(FontMapping::fontFromRecord(properties.Font))
{
    // No background of its own: the parent's pixels show through.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    m_inkArea = inkArea();
}

void TransLabel::setText(const xilan::Text &text)
{
    // Every setting repaints, even of an equal text: the caller relies on the
    // screen showing exactly this text when the call returns.
    m_properties.Text = text;
    m_unicode = text.toUnicode();
    // Only the columns the old or the new glyphs reach need restoring and
    // drawing again: typing one character into a wide overlay repaints a
    // character's width, not the whole overlay.
    const QRect before = m_inkArea;
    m_inkArea = inkArea();
    refresh(before.united(m_inkArea));
}

void TransLabel::setEffect(int effect)
{
    m_properties.Effect = qBound(0, effect, 3);
    RefreshOverlay();
}

void TransLabel::setFontRecord(const QByteArray &record)
{
    m_properties.Font = record;
    m_recordFont = FontMapping::fontFromRecord(record);
    RefreshOverlay();
}

void TransLabel::setTextColor(Colour colour)
{
    m_properties.TextColor = colour;
    RefreshOverlay();
}

void TransLabel::setHorzAlign(int align)
{
    m_properties.HorzAlign = qBound(0, align, 2);
    RefreshOverlay();
}

void TransLabel::setVertAlign(int align)
{
    m_properties.VertAlign = qBound(0, align, 2);
    RefreshOverlay();
}

void TransLabel::setWordWrap(bool wrap)
{
    m_properties.WordWrap = wrap;
    RefreshOverlay();
}

OverlayText TransLabel::overlayText() const
{
    return OverlayText::of(m_properties, m_unicode, m_recordFont.value_or(font()), palette());
}

QRect TransLabel::inkArea() const
{
    if (m_unicode.isEmpty())
        return {};
    const OverlayText overlay = overlayText();
    const QFontMetrics metrics(overlay.font);
    const QRect laid = metrics.boundingRect(rect(), overlay.alignmentFlags(), m_unicode);
    // Glyphs may reach past their advances (italics, slanted by about a fifth
    // of their height where the face has no italic, and overhanging strokes),
    // and the effect's copy lies up to two pixels to the right: a quarter of
    // the line's height on each side covers both.
    const int margin = metrics.height() / 4 + 2;
    return QRect(laid.left() - margin, 0, laid.width() + 2 * margin, height()).intersected(rect());
}

void TransLabel::changeEvent(QEvent *event)
{
    // The toolkit repaints the whole overlay after a font change.
    if (event->type() == QEvent::FontChange)
        m_inkArea = inkArea();
    QWidget::changeEvent(event);
}

void TransLabel::resizeEvent(QResizeEvent *event)
{
    m_inkArea = inkArea();
    QWidget::resizeEvent(event);
}

void TransLabel::RefreshOverlay()
{
    m_inkArea = inkArea();
    refresh(rect());
}

void TransLabel::refresh(const QRect &area)
{
    QWidget *top = window();
    if (!isVisible() || !top->isVisible()) {
        // Not on the screen: the next paint draws the current text anyway.
        update();
        return;
    }
    if (area.isEmpty())
        return;
    // The overlay is not opaque, so repainting it paints its rectangle afresh
    // from the window's background up through every widget that meets it, in
    // stacking order, and flushes that to the screen before returning. A
    // repaint of the top-level window instead would leave out its opaque
    // children (the picture box), as the toolkit expects those to repaint
    // themselves, and so keep the old text on them.
    repaint(area);
}

void TransLabel::PaintOverlay(QPainter &painter) const
{
    overlayText().paint(painter, rect());
}

void TransLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintOverlay(painter);
}

} // namespace xilan
