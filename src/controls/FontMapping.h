#pragma once

#include <QByteArray>
#include <QFont>

#include <optional>

namespace xilan {

// Turns the definitions' font records into toolkit fonts.
class FontMapping
{
public:
    // Makes the Windows face names of the definitions resolve to faces of the
    // same style where those faces are not installed: "宋体" and "新宋体" to a
    // Song (Ming) serif, "微软雅黑" and "微软雅黑 Light" to a sans, the latter
    // light. Runs once; every font made here calls it.
    static void installSubstitutions();

    // The font a 60-byte record asks for, with the overrides that drawing
    // applies: character set, precisions, quality and pitch are the defaults,
    // the rest as stored. Anything but a 60-byte record gives no font.
    static std::optional<QFont> fontFromRecord(const QByteArray &record);

    // The record's font, or the default GUI font where it gives none.
    static QFont fontOrDefault(const QByteArray &record);

    // The platform's default GUI font.
    static QFont defaultGuiFont();

    // Makes the default CJK sans face the first face of the default GUI font,
    // with the platform's own default face behind it: the program's texts are
    // Chinese, and one face for a whole caption draws it evenly and loads one
    // font on the way to the first window instead of two.
    static void installDefaultGuiFont();
};

} // namespace xilan
