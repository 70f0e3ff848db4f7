#include "Label.h"

#include "FontMapping.h"
#include "Frame.h"
#include "OverlayText.h"

#include <QPainter>

namespace xilan {

Label::Label(const LabelProperties &properties, QWidget *parent)
    : QWidget(parent), m_properties(properties), m_unicode(properties.Text.toUnicode()),
      m_recordFont(FontMapping::fontFromRecord(properties.Font))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Label::setText(const xilan::Text &text)
{
    m_properties.Text = text;
    m_unicode = text.toUnicode();
    update();
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_properties.BackColor.resolve(palette()));
    Frame::paint(painter, rect(), palette(), m_properties.Border);

    const QRect inside = Frame::inside(rect(), m_properties.Border);
    painter.setClipRect(inside);
    OverlayText::of(m_properties, m_unicode, m_recordFont.value_or(font()), palette())
            .paint(painter, inside);
}

} // namespace xilan
