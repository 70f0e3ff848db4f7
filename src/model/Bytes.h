#pragma once

#include <cstdint>
#include <span>

namespace xilan {

// Constant program data (pictures, icons): a count and exactly that many
// bytes. The bytes live in the program image and are never released.
using Bytes = std::span<const std::uint8_t>;

} // namespace xilan
