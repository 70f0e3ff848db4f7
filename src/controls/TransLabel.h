#pragma once

#include "OverlayText.h"
#include "model/ControlProperties.h"

#include <QFont>
#include <QWidget>

#include <optional>

namespace xilan {

// A transparent label (an overlay): it paints only the pixels of its glyphs,
// so whatever lies beneath it, picture or window background, shows around and
// between them.
class TransLabel : public QWidget
{
    Q_OBJECT
public:
    explicit TransLabel(const TransLabelProperties &properties, QWidget *parent = nullptr);

    const TransLabelProperties &properties() const { return m_properties; }
    const xilan::Text &text() const { return m_properties.Text; }

    // Every setter stores its value and brings the screen up to date at once;
    // out-of-range values are clamped.
    void setText(const xilan::Text &text);
    void setEffect(int effect);
    void setFontRecord(const QByteArray &record);
    void setTextColor(Colour colour);
    void setHorzAlign(int align);
    void setVertAlign(int align);
    void setWordWrap(bool wrap);

    // Restores what lies beneath the overlay and draws its text over it, before
    // returning: the overlay keeps no image of its background, so the window
    // repaints the overlay's rectangle from the bottom of the stacking order
    // up, which also keeps every control above the overlay on top of it.
    void RefreshOverlay();

    // Draws the text into a surface clipped to the overlay's rectangle.
    void PaintOverlay(QPainter &painter) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    OverlayText overlayText() const;
    // The part of the overlay that the text's glyphs, and the effect's copy,
    // can cover: whole columns, between the text's ends widened by a margin.
    QRect inkArea() const;
    void refresh(const QRect &area);

    TransLabelProperties m_properties;
    QString m_unicode; // the text as drawn, converted once per change
    // Made once per font change rather than once per paint; none: the widget's
    // own font, the default GUI font.
    std::optional<QFont> m_recordFont;
    QRect m_inkArea; // of the text on the screen now
};

} // namespace xilan
