#pragma once

#include <cstdint>

namespace halvane {

// A small built-in font of the ten digits, 5 x 7 pixels each, for the
// numbers drawn over the preview.
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = kGlyphWidth + 1;
constexpr int kGlyphCellHeight = kGlyphHeight + 2;

// Seven rows of five bits (bit 4 the leftmost column), or null for a
// character the font does not have.
const uint8_t* GlyphRows(char c);

}  // namespace halvane
