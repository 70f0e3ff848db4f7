#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>

namespace xilan {

// The platform's 60-byte font record: five little-endian 32-bit integers,
// eight single-byte fields and a 32-byte face name (GBK, zero-terminated).
// Definitions store fonts in this form; exactly 60 bytes are a record and any
// other length means the control has no font of its own.
struct FontRecord
{
    static constexpr int Size = 60;
    static constexpr int FaceNameSize = 32;

    std::int32_t height = 0;       // negative: character (em) height in pixels
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;       // 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char, FaceNameSize> faceName{};

    // The face name up to its terminator; a first byte of zero is an empty name.
    QByteArray faceNameBytes() const;
    void setFaceName(const QByteArray &gbk);

    QByteArray toBytes() const;
    static std::optional<FontRecord> fromBytes(const QByteArray &bytes);

    friend bool operator==(const FontRecord &, const FontRecord &) = default;
};

} // namespace xilan
