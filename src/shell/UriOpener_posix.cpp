#include "UriOpener.h"

#include <QProcess>

namespace xilan {

void platformOpenUri(const QString &uri)
{
    // The URI goes over as one argument, with no shell in between, and is never
    // parsed as a URL: a URL class would lowercase the host ("AddContact") and
    // re-encode the query. A missing opener simply fails to start.
#ifdef Q_OS_MACOS
    const QString opener = QStringLiteral("open");
#else
    const QString opener = QStringLiteral("xdg-open");
#endif
    QProcess::startDetached(opener, {uri});
}

} // namespace xilan
