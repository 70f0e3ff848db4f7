#pragma once

#include "model/Bytes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace xilan {

// A template picture decoded from its embedded PNG or JPEG bytes.
//
// A PNG decodes to four channels per pixel in the order blue, green, red,
// alpha (alpha 255 where the file has no transparency); a JPEG to three, red,
// green, blue (a greyscale JPEG gives three equal channels). Rows run top to
// bottom with no padding: a row is width × channels bytes.
struct DecodedPicture
{
    int width = 0;
    int height = 0;
    int channels = 0; // 4 (PNG, BGRA) or 3 (JPEG, RGB)
    std::vector<std::uint8_t> pixels;
};

class TemplateImage
{
public:
    enum class Format { None, Png, Jpeg };

    // The format from the first eight bytes; fewer than eight, or any other
    // signature (BMP and GIF included), is no picture.
    static Format detectFormat(Bytes bytes);

    // No picture for anything that does not decode; never reports an error.
    static std::optional<DecodedPicture> decode(Bytes bytes);
};

} // namespace xilan
