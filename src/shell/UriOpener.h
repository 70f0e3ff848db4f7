#pragma once

#include <QString>

namespace xilan {

// Hands a URI, exactly as given, to the operating system's opener for its
// scheme, without waiting for it and without reporting anything. One file per
// platform implements it.
void platformOpenUri(const QString &uri);

} // namespace xilan
