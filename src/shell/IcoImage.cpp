#include "IcoImage.h"

#include <cstdint>

namespace xilan {
namespace {

std::uint32_t le16(const std::uint8_t *p) { return std::uint32_t(p[0] | (p[1] << 8)); }
std::uint32_t le32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
           | (std::uint32_t(p[3]) << 24);
}

// An uncompressed 32-bit image: a 40-byte header whose height counts the
// colour rows and the mask rows, then bottom-up rows of blue, green, red and
// alpha. The alpha carries the transparency, so the mask is not needed.
QImage decode32(const std::uint8_t *data, std::size_t size, int width, int height)
{
    if (size < 40 || le32(data) != 40)
        return {};
    const auto headerWidth = std::int32_t(le32(data + 4));
    const auto headerHeight = std::int32_t(le32(data + 8));
    if (le16(data + 12) != 1 || le16(data + 14) != 32 || le32(data + 16) != 0)
        return {};
    if (headerWidth != width || headerHeight != 2 * height)
        return {};
    const std::size_t row = std::size_t(width) * 4;
    if (size < 40 + row * std::size_t(height))
        return {};
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *src = data + 40 + row * std::size_t(height - 1 - y);
        auto *dst = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x, src += 4)
            dst[x] = qRgba(src[2], src[1], src[0], src[3]);
    }
    return image;
}

} // namespace

QImage IcoImage::decode(Bytes ico)
{
    if (ico.size() < 6 || le16(ico.data()) != 0 || le16(ico.data() + 2) != 1)
        return {};
    const std::uint32_t count = le16(ico.data() + 4);
    if (ico.size() < 6 + 16 * std::size_t(count))
        return {};
    // The largest entry; a width or height byte of 0 means 256.
    int best = -1, bestArea = 0, bestWidth = 0, bestHeight = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t *entry = ico.data() + 6 + 16 * i;
        const int w = entry[0] ? entry[0] : 256, h = entry[1] ? entry[1] : 256;
        if (w * h > bestArea) {
            best = int(i);
            bestArea = w * h;
            bestWidth = w;
            bestHeight = h;
        }
    }
    if (best < 0)
        return {};
    const std::uint8_t *entry = ico.data() + 6 + 16 * best;
    const std::size_t length = le32(entry + 8), offset = le32(entry + 12);
    if (offset > ico.size() || length > ico.size() - offset)
        return {};
    const std::uint8_t *data = ico.data() + offset;
    // Newer icons hold a whole PNG file in place of the bitmap.
    if (length >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        return QImage::fromData(data, int(length), "PNG");
    const QImage image = decode32(data, length, bestWidth, bestHeight);
    if (!image.isNull())
        return image;
    // Palette and 24-bit bitmaps, which the program's icons never are.
    return QImage::fromData(ico.data(), int(ico.size()), "ICO");
}

} // namespace xilan
