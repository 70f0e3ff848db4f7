#pragma once

#include <QByteArray>
#include <QString>

namespace xilan {

// Every text of the program is held as GBK (code page 936) bytes, without a
// terminator; an empty text and no text are the same.
//
// The conversions use GB18030, GBK's superset: it gives GBK's bytes for every
// GBK character and also encodes the characters GBK lacks (emoji, rare Han
// characters, other scripts), so that nothing a user types is lost on its way
// from an input to an overlay.
class Text
{
public:
    Text() = default;
    static Text fromGbk(QByteArray bytes);
    static Text fromUnicode(QStringView text);

    // Invalid byte sequences become U+FFFD.
    QString toUnicode() const;

    const QByteArray &bytes() const { return m_bytes; }
    bool isEmpty() const { return m_bytes.isEmpty(); }

    friend bool operator==(const Text &, const Text &) = default;

private:
    explicit Text(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    QByteArray m_bytes;
};

// Source tables write their texts readably; the model holds GBK.
inline Text operator""_t(const char16_t *text, std::size_t length)
{
    return Text::fromUnicode(QStringView(text, qsizetype(length)));
}

} // namespace xilan
