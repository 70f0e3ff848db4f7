#include "TemplateImage.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <new>

#include <jpeglib.h>
#include <png.h>

namespace xilan {

namespace {

// The program's own pictures are at most 400 × 400. Anything far beyond that
// is not one of ours, and refusing it bounds both the memory a decode takes
// (16 MiB of BGRA at the cap) and the time a hostile file can spend in it.
constexpr std::uint64_t kMaxPixels = 2048u * 2048u;

// A progressive JPEG from an ordinary encoder has about ten scans. Every
// further scan costs a pass over the whole image even when it carries almost
// no bytes, so an unbounded count lets a small file keep the decoder busy
// for seconds.
constexpr int kMaxProgressiveScans = 100;

bool sizeAcceptable(std::uint64_t width, std::uint64_t height)
{
    return width > 0 && height > 0 && width * height <= kMaxPixels;
}

// ---------------------------------------------------------------- PNG

std::optional<DecodedPicture> decodePng(Bytes bytes)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        png_image_free(&image);
        return std::nullopt;
    }
    // Checked in 64 bits: PNG_IMAGE_SIZE multiplies in 32 and wraps for
    // dimensions libpng itself still accepts.
    if (!sizeAcceptable(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_BGRA;

    DecodedPicture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.channels = 4;
    try {
        picture.pixels.resize(std::size_t(image.width) * image.height * 4);
    } catch (const std::bad_alloc &) {
        png_image_free(&image);
        return std::nullopt;
    }
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    png_image_free(&image); // harmless after a successful finish
    return picture;
}

// ---------------------------------------------------------------- JPEG
//
// The library reports fatal errors by calling error_exit, which must not
// return; we longjmp back into the function that called into the library.
// Only the two plain functions below call setjmp, and they hold nothing with
// a destructor: the output vector belongs to the caller and is only written
// through a raw pointer while a longjmp can happen.

struct JpegErrorManager
{
    jpeg_error_mgr pub; // first, so the library's pointer is also ours
    std::jmp_buf jump;
};

struct JpegDecoder
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager error;
    jpeg_progress_mgr progress;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    auto *error = reinterpret_cast<JpegErrorManager *>(cinfo->err);
    std::longjmp(error->jump, 1);
}

// Warnings (a truncated file among them) are not failures, and nothing is
// ever shown to the user about them.
void jpegEmitMessage(j_common_ptr, int) {}
void jpegOutputMessage(j_common_ptr) {}

void jpegProgressMonitor(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    auto *dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->progressive_mode && dinfo->input_scan_number > kMaxProgressiveScans)
        jpegErrorExit(cinfo);
}

// Reads the header and starts decompression, leaving the output size and
// component count (1 or 3) in d.cinfo; on failure the decoder is destroyed.
bool jpegStart(JpegDecoder &d, const std::uint8_t *data, unsigned long size)
{
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = jpegErrorExit;
    d.error.pub.emit_message = jpegEmitMessage;
    d.error.pub.output_message = jpegOutputMessage;
    d.progress.progress_monitor = jpegProgressMonitor;

    if (setjmp(d.error.jump)) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.progress = &d.progress;
    jpeg_mem_src(&d.cinfo, data, size);
    jpeg_read_header(&d.cinfo, TRUE);
    if (!sizeAcceptable(d.cinfo.image_width, d.cinfo.image_height)) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    if (d.cinfo.num_components == 3)
        d.cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.cinfo);
    if (d.cinfo.output_components != 1 && d.cinfo.output_components != 3) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    return true;
}

// Reads every row into out (width × height × 3 bytes, RGB) and destroys the
// decoder whatever happens.
bool jpegReadRows(JpegDecoder &d, std::uint8_t *out)
{
    if (setjmp(d.error.jump)) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    const JDIMENSION width = d.cinfo.output_width;
    const int components = d.cinfo.output_components;
    // Freed with the decoder, so a longjmp cannot leak it.
    JSAMPARRAY row = (*d.cinfo.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE, width * components, 1);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        std::uint8_t *dest = out + std::size_t(d.cinfo.output_scanline) * width * 3;
        if (jpeg_read_scanlines(&d.cinfo, row, 1) != 1) {
            // Only a suspending source returns no row; ours never suspends.
            jpeg_destroy_decompress(&d.cinfo);
            return false;
        }
        const JSAMPLE *src = row[0];
        if (components == 3) {
            for (JDIMENSION i = 0; i < width * 3; ++i)
                dest[i] = src[i];
        } else {
            for (JDIMENSION x = 0; x < width; ++x)
                dest[3 * x] = dest[3 * x + 1] = dest[3 * x + 2] = src[x];
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    jpeg_destroy_decompress(&d.cinfo);
    return true;
}

std::optional<DecodedPicture> decodeJpeg(Bytes bytes)
{
    JpegDecoder d{};
    if (!jpegStart(d, bytes.data(), static_cast<unsigned long>(bytes.size())))
        return std::nullopt;

    DecodedPicture picture;
    picture.width = static_cast<int>(d.cinfo.output_width);
    picture.height = static_cast<int>(d.cinfo.output_height);
    picture.channels = 3;
    try {
        picture.pixels.resize(std::size_t(d.cinfo.output_width) * d.cinfo.output_height * 3);
    } catch (const std::bad_alloc &) {
        jpeg_destroy_decompress(&d.cinfo);
        return std::nullopt;
    }
    if (!jpegReadRows(d, picture.pixels.data()))
        return std::nullopt;
    return picture;
}

} // namespace

TemplateImage::Format TemplateImage::detectFormat(Bytes bytes)
{
    if (bytes.size() < 8)
        return Format::None;
    if (bytes[0] == 0xFF && bytes[1] == 0xD8)
        return Format::Jpeg;
    if (bytes[0] == 0x89 && bytes[1] == 0x50 && bytes[2] == 0x4E && bytes[3] == 0x47)
        return Format::Png;
    return Format::None;
}

std::optional<DecodedPicture> TemplateImage::decode(Bytes bytes)
{
    switch (detectFormat(bytes)) {
    case Format::Png:
        return decodePng(bytes);
    case Format::Jpeg:
        return decodeJpeg(bytes);
    case Format::None:
        break;
    }
    return std::nullopt;
}

} // namespace xilan
