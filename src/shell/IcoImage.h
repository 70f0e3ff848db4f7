#pragma once

#include "model/Bytes.h"

#include <QImage>

namespace xilan {

// The largest image of an ICO file. Uncompressed 32-bit images, as the
// program's own icon is, are read here directly; anything else goes to the
// toolkit's ICO reader, a plugin that would otherwise be loaded on the way
// to the first window. A file whose directory or image does not fit in its
// bytes gives no image.
class IcoImage
{
public:
    static QImage decode(Bytes ico);
};

} // namespace xilan
