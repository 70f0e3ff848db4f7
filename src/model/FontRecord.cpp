#include "FontRecord.h"

#include <algorithm>
#include <cstring>

namespace xilan {
namespace {

void putInt(QByteArray &out, std::int32_t value)
{
    const auto u = std::uint32_t(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((u >> shift) & 0xFF));
}

std::int32_t getInt(const char *p)
{
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | std::uint8_t(p[i]);
    return std::int32_t(u);
}

} // namespace

QByteArray FontRecord::faceNameBytes() const
{
    const auto end = std::find(faceName.begin(), faceName.end(), '\0');
    return QByteArray(faceName.data(), qsizetype(end - faceName.begin()));
}

void FontRecord::setFaceName(const QByteArray &gbk)
{
    faceName.fill('\0');
    // The last byte always stays the terminator.
    std::memcpy(faceName.data(), gbk.constData(), std::min<size_t>(gbk.size(), FaceNameSize - 1));
}

QByteArray FontRecord::toBytes() const
{
    QByteArray out;
    out.reserve(Size);
    for (std::int32_t v : {height, width, escapement, orientation, weight})
        putInt(out, v);
    for (std::uint8_t v : {italic, underline, strikeOut, charSet, outPrecision, clipPrecision,
                           quality, pitchAndFamily})
        out.append(char(v));
    out.append(faceName.data(), FaceNameSize);
    return out;
}

std::optional<FontRecord> FontRecord::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() != Size)
        return std::nullopt;
    const char *p = bytes.constData();
    FontRecord r;
    r.height = getInt(p);
    r.width = getInt(p + 4);
    r.escapement = getInt(p + 8);
    r.orientation = getInt(p + 12);
    r.weight = getInt(p + 16);
    auto byte = [p](int offset) { return std::uint8_t(p[offset]); };
    r.italic = byte(20);
    r.underline = byte(21);
    r.strikeOut = byte(22);
    r.charSet = byte(23);
    r.outPrecision = byte(24);
    r.clipPrecision = byte(25);
    r.quality = byte(26);
    r.pitchAndFamily = byte(27);
    std::memcpy(r.faceName.data(), p + 28, FaceNameSize);
    return r;
}

} // namespace xilan
