#pragma once

#include "TemplateImage.h"
#include "model/ControlProperties.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <optional>

namespace xilan {

// A picture box: fills itself with its background colour and draws its
// decoded picture over it as its DisplayMode says. The labels lying over it
// are separate controls.
class PicBox : public QWidget
{
    Q_OBJECT
public:
    // A settings block newer than this program can read cannot be built.
    static bool canBuild(const PicBoxProperties &properties);

    // Resolves the background colour, decodes the picture (once: the decoded
    // bitmap lives as long as the box), then applies DisplayMode and Border.
    explicit PicBox(const PicBoxProperties &properties, QWidget *parent = nullptr);

    const PicBoxProperties &properties() const { return m_properties; }
    bool hasPicture() const { return m_decoded.has_value(); }
    const std::optional<DecodedPicture> &decodedPicture() const { return m_decoded; }
    QColor backgroundColour() const { return m_background; }

    // The decoded pixels as a screen bitmap: PNG pixels with alpha below 255
    // blended onto the background colour, the alpha itself ignored.
    static QImage screenBitmap(const DecodedPicture &picture, QColor background);


protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect pictureTarget(const QRect &client) const;

    PicBoxProperties m_properties;
    QColor m_background;
    std::optional<DecodedPicture> m_decoded;
    bool m_opaque = false; // a PNG without a pixel of transparency
    // The picture at the size it is drawn, kept between paints: redrawing part
    // of the box under a label copies pixels instead of resampling again.
    QImage m_drawn;
};

} // namespace xilan
