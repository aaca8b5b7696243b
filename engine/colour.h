// The colours that the engine's results carry: Windows colour values
// 0x00BBGGRR, as the grids and the description box take them.
#pragma once

#include <cstdint>

using Colour = std::uint32_t;

// A colour never set: the unit draws in its own default.
inline constexpr Colour kColourNotSet = 0xFF000000u;

inline constexpr Colour kPlainTextColour = 0x00000000u;    // black
inline constexpr Colour kLevelValueColour = 0x000000FFu;   // red: a value of the shown level
inline constexpr Colour kStaticValueColour = 0x00FF0000u;  // blue: a static value
// Light grey: read-only title cells and values as read from the script.
inline constexpr Colour kGreyCellColour = 0x00ECECECu;
