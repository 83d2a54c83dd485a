#pragma once

#include <cstdint>

namespace vokta {

// A colour as 0xAARRGGBB.
using Colour = std::uint32_t;

}  // namespace vokta
