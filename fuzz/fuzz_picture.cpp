// Template picture decoding of arbitrary bytes: no crash, no hang, no leak,
// and whatever decodes is a consistent picture within the decoder's limits.

#include "controls/TemplateImage.h"

#include <cstdio>
#include <cstdlib>

using xilan::DecodedPicture;
using xilan::TemplateImage;

namespace {

[[noreturn]] void broken(const char *what)
{
    std::fprintf(stderr, "decoded picture broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const xilan::Bytes bytes(data, size);
    const std::optional<DecodedPicture> picture = TemplateImage::decode(bytes);
    if (!picture)
        return 0;
    if (TemplateImage::detectFormat(bytes) == TemplateImage::Format::None)
        broken("a picture from bytes of no known format");
    if (picture->width <= 0 || picture->height <= 0)
        broken("empty size");
    // The decoder's cap is 2048 x 2048 pixels.
    if (std::uint64_t(picture->width) * std::uint64_t(picture->height) > 2048u * 2048u)
        broken("larger than the pixel cap");
    const int expectedChannels =
            TemplateImage::detectFormat(bytes) == TemplateImage::Format::Png ? 4 : 3;
    if (picture->channels != expectedChannels)
        broken("channel count does not match the format");
    if (picture->pixels.size()
        != std::size_t(picture->width) * std::size_t(picture->height) * std::size_t(picture->channels))
        broken("pixel buffer does not match width x height x channels");
    return 0;
}
