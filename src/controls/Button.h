#pragma once

#include "model/ControlProperties.h"

#include <QPushButton>

namespace xilan {

// A plain push button whose caption is placed by its alignments and broken
// onto more lines when it does not fit on one.
class Button : public QPushButton
{
    Q_OBJECT
public:
    explicit Button(const ButtonProperties &properties, QWidget *parent = nullptr);

    const ButtonProperties &properties() const { return m_properties; }
    int alignmentFlags() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ButtonProperties m_properties;
};

} // namespace xilan
