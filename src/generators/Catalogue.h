#pragma once

#include "GeneratorDefinition.h"

#include <vector>

namespace xilan {

// The seven generator windows, in definition order.
class Catalogue
{
public:
    static const std::vector<GeneratorDefinition> &generators();
    // nullptr for a window that is not a generator.
    static const GeneratorDefinition *generator(QStringView window);
    static std::vector<const WindowDefinition *> windows();
};

} // namespace xilan
