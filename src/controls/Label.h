#pragma once

#include "model/ControlProperties.h"

#include <QFont>
#include <QWidget>

#include <optional>

namespace xilan {

// A caption: an opaque label filled with its background colour, framed as its
// Border says, its text laid out inside the frame as an overlay's is. The
// program never changes a caption's text.
class Label : public QWidget
{
    Q_OBJECT
public:
    explicit Label(const LabelProperties &properties, QWidget *parent = nullptr);

    const LabelProperties &properties() const { return m_properties; }
    const xilan::Text &text() const { return m_properties.Text; }
    void setText(const xilan::Text &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:

    LabelProperties m_properties;
    QString m_unicode;
    std::optional<QFont> m_recordFont;
};

} // namespace xilan
