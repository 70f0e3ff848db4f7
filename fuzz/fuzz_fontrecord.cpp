// A font built from a record of arbitrary bytes, then used: a short text in
// it drawn into a small image, so that the font is resolved and its glyphs
// rasterised, not only described.

#include "controls/FontMapping.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <memory>

using xilan::FontMapping;

namespace {

[[noreturn]] void broken(const char *what)
{
    std::fprintf(stderr, "font from record broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Headless: no display server is needed to resolve fonts and draw.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static std::unique_ptr<QApplication> app(new QApplication(*argc, *argv));
    FontMapping::installDefaultGuiFont();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray record(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QFont> font = FontMapping::fontFromRecord(record);
    if (font.has_value() != (size == 60))
        broken("a font from anything but exactly 60 bytes, or none from 60");
    if (!font)
        return 0;

    QImage image(48, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(*font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("溪岚 Ag"));
    painter.end();
    return 0;
}
