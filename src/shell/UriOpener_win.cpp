#include "UriOpener.h"

#include <windows.h>
#include <shellapi.h>

namespace xilan {

void platformOpenUri(const QString &uri)
{
    // The text itself, with the "open" verb and a normal window; the scheme's
    // registered handler starts, and its outcome is not our business.
    ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(uri.utf16()), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

} // namespace xilan
