#include "Text.h"

#include <unicode/ucnv.h>

#include <memory>

namespace xilan {
namespace {

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// One converter for the life of the process: opening one loads ICU's table,
// and every keystroke converts a text twice. Everything runs on the one UI
// thread, so sharing it is safe; each call resets it first.
UConverter *gb18030()
{
    static const Converter converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        Converter c(ucnv_open("GB18030", &status));
        if (U_FAILURE(status))
            qFatal("ICU has no GB18030 converter: %s", u_errorName(status));
        // Unassigned or malformed input decodes to U+FFFD rather than stopping.
        status = U_ZERO_ERROR;
        ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                            &status);
        // Half a surrogate pair, which an input can hold, encodes as U+FFFD:
        // the converter's own substitute is the control character 0x1A,
        // which an overlay would not show at all.
        static const UChar replacement[] = {0xFFFD};
        status = U_ZERO_ERROR;
        ucnv_setSubstString(c.get(), replacement, 1, &status);
        if (U_FAILURE(status))
            qFatal("ICU cannot substitute U+FFFD in GB18030: %s", u_errorName(status));
        return c;
    }();
    ucnv_reset(converter.get());
    return converter.get();
}

} // namespace

Text Text::fromGbk(QByteArray bytes)
{
    return Text(std::move(bytes));
}

Text Text::fromUnicode(QStringView text)
{
    if (text.isEmpty())
        return {};
    UConverter *converter = gb18030();
    // GB18030 needs at most four bytes per UTF-16 unit.
    QByteArray out(text.size() * 4, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
            ucnv_fromUChars(converter, out.data(), int32_t(out.size()),
                            reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()),
                            &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return {};
    out.truncate(length);
    return Text(std::move(out));
}

QString Text::toUnicode() const
{
    if (m_bytes.isEmpty())
        return {};
    UConverter *converter = gb18030();
    // Each byte yields at most one UTF-16 unit, a replacement character included;
    // a four-byte sequence yields two.
    QString out(m_bytes.size() + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
            ucnv_toUChars(converter, reinterpret_cast<UChar *>(out.data()), int32_t(out.size()),
                          m_bytes.constData(), int32_t(m_bytes.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return QString(QChar::ReplacementCharacter);
    out.truncate(length);
    return out;
}

} // namespace xilan
