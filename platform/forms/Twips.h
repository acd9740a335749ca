#pragma once

#include <cstdint>

// Twips at 96 dots per inch: 1440 a inch, 15 a pixel. Forms and controls store
// their sizes in twips; widgets are placed in pixels.
namespace forms {

inline constexpr int32_t TwipsPerPixel = 15;

// Whole pixels, truncated towards zero as the forms runtime does (14 twips give 0).
constexpr int32_t twipsToPixels(int32_t twips) { return twips / TwipsPerPixel; }
constexpr int32_t pixelsToTwips(int32_t pixels) { return pixels * TwipsPerPixel; }

} // namespace forms
