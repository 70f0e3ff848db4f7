// GBK (GB18030) text of arbitrary bytes. Checked against ICU used directly,
// with a converter of our own and a buffer as large as ICU itself asks for,
// so that a wrong buffer estimate in Text shows up as a difference; and the
// round trips that a user's text relies on between an input and an overlay.

#include "model/Text.h"

#include <unicode/ucnv.h>

#include <cstdio>
#include <cstdlib>

using xilan::Text;

namespace {

[[noreturn]] void broken(const char *what)
{
    std::fprintf(stderr, "GBK conversion broken: %s\n", what);
    std::abort();
}

QString icuDecode(const QByteArray &bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("GB18030", &status);
    if (U_FAILURE(status))
        broken("no GB18030 converter");
    status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                        &status);
    status = U_ZERO_ERROR;
    const int32_t needed = ucnv_toUChars(converter, nullptr, 0, bytes.constData(),
                                         int32_t(bytes.size()), &status);
    QString out(needed, Qt::Uninitialized);
    status = U_ZERO_ERROR;
    ucnv_reset(converter);
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar *>(out.data()),
                                         int32_t(out.size()), bytes.constData(),
                                         int32_t(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        broken("ICU itself failed to decode");
    out.truncate(length);
    return out;
}

bool wellFormedUtf16(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate()) {
            if (i + 1 >= s.size() || !s[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (s[i].isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Bytes to text.
    const QString decoded = Text::fromGbk(bytes).toUnicode();
    if (decoded != icuDecode(bytes))
        broken("decoding differs from ICU's");
    if (!wellFormedUtf16(decoded))
        broken("decoding gives unpaired surrogates");
    if (decoded.isEmpty() != bytes.isEmpty())
        broken("non-empty bytes decode to nothing, or empty bytes to something");

    // What is shown encodes back to bytes that show the same.
    const Text reencoded = Text::fromUnicode(decoded);
    if (reencoded.toUnicode() != decoded)
        broken("decoded text does not survive encoding and decoding again");
    if (Text::fromUnicode(reencoded.toUnicode()) != reencoded)
        broken("encoding is not stable after one round");

    // The same bytes read as UTF-16, as a user might type them: GB18030
    // encodes every code point, so any well-formed text comes back unchanged.
    QString typed(qsizetype(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        typed[qsizetype(i / 2)] = QChar(char16_t(data[i] | (data[i + 1] << 8)));
    // Half a surrogate pair, which GBK cannot hold, comes back as U+FFFD.
    QString expected = typed;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (expected[i].isHighSurrogate() && i + 1 < expected.size()
            && expected[i + 1].isLowSurrogate())
            ++i;
        else if (expected[i].isSurrogate())
            expected[i] = QChar::ReplacementCharacter;
    }
    const Text encoded = Text::fromUnicode(typed);
    if (encoded.toUnicode() != expected)
        broken("typed text does not survive encoding and decoding");
    if (encoded.isEmpty() != typed.isEmpty())
        broken("typed text encodes to nothing");
    return 0;
}
