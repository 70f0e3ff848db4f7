#include "PicBox.h"

#include "Frame.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QSysInfo>

namespace xilan {

bool PicBox::canBuild(const PicBoxProperties &properties)
{
    return properties.version <= PicBoxProperties::SupportedVersion;
}

PicBox::PicBox(const PicBoxProperties &properties, QWidget *parent)
    : QWidget(parent), m_properties(properties)
{
    // Resolved once at creation, as the box keeps it.
    m_background = properties.BackColor.resolve(palette());
    m_decoded = TemplateImage::decode(properties.Picture);
    m_opaque = m_decoded && m_decoded->channels == 4
               && QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    for (std::size_t i = 3; m_opaque && i < m_decoded->pixels.size(); i += 4)
        m_opaque = m_decoded->pixels[i] == 255;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage PicBox::screenBitmap(const DecodedPicture &picture, QColor background)
{
    if (picture.channels == 3) {
        QImage rgb(picture.pixels.data(), picture.width, picture.height, picture.width * 3,
                   QImage::Format_RGB888);
        return rgb.convertToFormat(QImage::Format_RGB32);
    }
    QImage out(picture.width, picture.height, QImage::Format_RGB32);
    // Single precision, as the blend is defined: the factor is the float
    // nearest to 1/255, slightly above it, so black at alpha 128 over white
    // gives 126, not 127.
    constexpr float unit = 0.003921569f;
    const float bg[3] = {float(background.blue()), float(background.green()),
                         float(background.red())};
    const std::size_t rowBytes = std::size_t(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t *src = picture.pixels.data() + std::size_t(y) * rowBytes;
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < picture.width; ++x, src += 4) {
            std::uint8_t c[3] = {src[0], src[1], src[2]}; // blue, green, red
            if (src[3] < 255) {
                const float a = float(src[3]) * unit;
                for (int i = 0; i < 3; ++i) {
                    const float v = float(c[i]) * a + bg[i] * (1.0f - a);
                    c[i] = std::uint8_t(qBound(0, int(v), 255));
                }
            }
            dst[x] = qRgb(c[2], c[1], c[0]);
        }
    }
    return out;
}

QRect PicBox::pictureTarget(const QRect &client) const
{
    const QSize natural(m_decoded->width, m_decoded->height);
    switch (m_properties.DisplayMode) {
    case 1: // Stretch: the whole client area, aspect ratio not kept
        return client;
    case 2: { // CenterFit: centred, shrunk proportionally when larger
        QSize size = natural;
        if (size.width() > client.width() || size.height() > client.height())
            size.scale(client.size(), Qt::KeepAspectRatio);
        return QRect(client.left() + (client.width() - size.width()) / 2,
                     client.top() + (client.height() - size.height()) / 2, size.width(),
                     size.height());
    }
    default: // TopLeft: natural size
        return QRect(client.topLeft(), natural);
    }
}

void PicBox::resizeEvent(QResizeEvent *event)
{
    m_drawn = QImage();
    QWidget::resizeEvent(event);
}

void PicBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    Frame::paint(painter, rect(), palette(), m_properties.Border);
    const QRect client = Frame::inside(rect(), m_properties.Border);
    painter.setClipRect(client);
    painter.fillRect(client, m_background);
    if (!m_decoded)
        return;

    const QRect target = pictureTarget(client);
    if (m_drawn.size() != target.size()) {
        // Smoothing (area averaging when shrinking) on deep displays; plain
        // dropping or repeating of pixels where colours are scarce.
        const QScreen *s = screen();
        const bool deep = !s || s->depth() > 16;
        const DecodedPicture &p = *m_decoded;
        // An opaque PNG's pixels already are a screen bitmap (blue, green, red
        // and an alpha of 255 in memory), so they are resampled where they lie.
        const QImage source = m_opaque ? QImage(p.pixels.data(), p.width, p.height, p.width * 4,
                                                QImage::Format_RGB32)
                                       : screenBitmap(p, m_background);
        m_drawn = source.scaled(target.size(), Qt::IgnoreAspectRatio,
                                deep ? Qt::SmoothTransformation : Qt::FastTransformation);
    }
    const QRect dirty = event->rect().intersected(target);
    painter.drawImage(dirty, m_drawn, dirty.translated(-target.topLeft()));
}

} // namespace xilan
