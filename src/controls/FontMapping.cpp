#include "FontMapping.h"

#include "model/FontRecord.h"
#include "model/Text.h"

#include <QApplication>
#include <QFontMetricsF>

#include <algorithm>

namespace xilan {
namespace {

const QString SansFamily = QStringLiteral("Xilan CJK Sans");

} // namespace

void FontMapping::installSubstitutions()
{
    static const bool installed = [] {
        // The Windows face first, under both its names, so that it wins where it
        // is installed; the Noto faces of the set-up everywhere else.
        const QStringList serif{QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                                QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Source Han Serif SC")};
        const QStringList sans{QStringLiteral("Microsoft YaHei"),
                               QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("Source Han Sans SC")};
        const QStringList sansLight{QStringLiteral("Microsoft YaHei Light"),
                                    QStringLiteral("Noto Sans CJK SC Light"),
                                    QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("Source Han Sans SC Light")};
        QFont::insertSubstitutions(QStringLiteral("宋体"), serif);
        QFont::insertSubstitutions(QStringLiteral("新宋体"), serif);
        QFont::insertSubstitutions(QStringLiteral("微软雅黑"), sans);
        QFont::insertSubstitutions(QStringLiteral("微软雅黑 Light"), sansLight);
        QFont::insertSubstitutions(SansFamily, sans);
        return true;
    }();
    Q_UNUSED(installed);
}

std::optional<QFont> FontMapping::fontFromRecord(const QByteArray &bytes)
{
    const std::optional<FontRecord> record = FontRecord::fromBytes(bytes);
    if (!record)
        return std::nullopt;
    installSubstitutions();

    const QString face = Text::fromGbk(record->faceNameBytes()).toUnicode();
    QFont font(defaultGuiFont());
    font.setFamilies({face.isEmpty() ? SansFamily : face});
    font.setStyleHint(QFont::AnyStyle, QFont::PreferQuality);

    // The definitions' heights are a few dozen pixels; a record may hold any
    // 32-bit value, whose negation or square does not fit in an int. Clamped
    // to 0xFFFF pixels, far beyond any window, the arithmetic stays in range.
    constexpr qint64 maxPixels = 0xFFFF;
    const qint64 height = std::clamp<qint64>(record->height, -maxPixels, maxPixels);
    if (height < 0) {
        font.setPixelSize(int(-height));
    } else if (height > 0) {
        // A positive height is the cell height, em plus internal leading.
        font.setPixelSize(int(height));
        const qreal cell = QFontMetricsF(font).height();
        if (cell > 0)
            font.setPixelSize(
                    qMax(1, qRound(qMin(qreal(maxPixels), qreal(height) * qreal(height) / cell))));
    }
    // Weight 0 asks for the default weight.
    if (record->weight > 0)
        font.setWeight(QFont::Weight(qBound(1, int(record->weight), 1000)));
    else
        font.setWeight(QFont::Normal);
    font.setItalic(record->italic != 0);
    font.setUnderline(record->underline != 0);
    font.setStrikeOut(record->strikeOut != 0);
    // Proof quality: smoothed glyph edges.
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont FontMapping::fontOrDefault(const QByteArray &record)
{
    if (std::optional<QFont> font = fontFromRecord(record))
        return *font;
    return defaultGuiFont();
}

void FontMapping::installDefaultGuiFont()
{
    installSubstitutions();
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty())
        families << font.family();
    if (families.contains(SansFamily))
        return;
    families.prepend(SansFamily);
    font.setFamilies(families);
    QApplication::setFont(font);
}

QFont FontMapping::defaultGuiFont()
{
    return QApplication::font();
}

} // namespace xilan
