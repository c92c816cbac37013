#pragma once

#include <array>
#include <cstdint>

namespace halvane {

// The sums of a block's linear values m * 2^(e - 136) (0 where e is 0),
// red, green and blue, as adding them in extended precision in row order
// (row by row, left to right) gives. Row y of the block starts at rows[y],
// four bytes a pixel; the block spans columns x0..x1-1.
std::array<long double, 3> RgbeBlockSums(const uint8_t* const* rows, int rowCount, int x0, int x1);

// The same sums by that addition itself, value by value.
std::array<long double, 3> RgbeBlockSumsInOrder(const uint8_t* const* rows, int rowCount, int x0,
                                                int x1);

}  // namespace halvane
