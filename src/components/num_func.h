#pragma once
// The component library's numeric routine.
#include <cstdint>

inline std::uint16_t MinWord(std::uint16_t a, std::uint16_t b) { return b > a ? a : b; }
