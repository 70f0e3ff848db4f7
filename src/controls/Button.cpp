#include "Button.h"

#include "FontMapping.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace xilan {

Button::Button(const ButtonProperties &properties, QWidget *parent)
    : QPushButton(properties.Text.toUnicode(), parent), m_properties(properties)
{
    if (std::optional<QFont> font = FontMapping::fontFromRecord(properties.Font))
        setFont(*font);
    // Enter clicks only default buttons, and the shell decides which; the
    // toolkit's own Enter handling stays out.
    setAutoDefault(false);
    setDefault(false);
}

int Button::alignmentFlags() const
{
    const int h = m_properties.HorzAlign == 0 ? Qt::AlignLeft
                  : m_properties.HorzAlign == 2 ? Qt::AlignRight
                                                : Qt::AlignHCenter;
    const int v = m_properties.VertAlign == 0 ? Qt::AlignTop
                  : m_properties.VertAlign == 2 ? Qt::AlignBottom
                                                : Qt::AlignVCenter;
    return h | v | Qt::TextWordWrap;
}

void Button::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    // The style draws one line only; the caption is drawn here so that it can
    // wrap. Ampersands stay literal, as everywhere in the program.
    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    painter.drawText(area, alignmentFlags(), caption);
}

} // namespace xilan
