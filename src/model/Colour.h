#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace xilan {

// A colour as the definitions store it: 0x00BBGGRR, red in the low byte. The
// value Face stands for the platform's 3-D face (button face) colour.
class Colour
{
public:
    static constexpr std::uint32_t Face = 0xFF000000;

    constexpr Colour() = default;
    constexpr Colour(std::uint32_t value) : m_value(value) {}

    constexpr std::uint32_t value() const { return m_value; }
    constexpr bool isFace() const { return m_value == Face; }

    // The face colour comes from the palette's button colour.
    QColor resolve(const QPalette &palette) const
    {
        if (isFace())
            return palette.color(QPalette::Button);
        return QColor(int(m_value & 0xFF), int((m_value >> 8) & 0xFF), int((m_value >> 16) & 0xFF));
    }

    friend constexpr bool operator==(Colour, Colour) = default;

private:
    std::uint32_t m_value = 0;
};

} // namespace xilan
