#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "image/readers.h"

namespace halvane {

// The sums behind one row of a scaled-down picture. Source rows of linear
// values are added one at a time; every output pixel sums its block's values
// in extended precision in row order (row by row, left to right). Finish
// divides each sum once by the count of pixels the block has (fewer in a
// last, partial row or column of blocks), applies the readers' power and
// rounds once to float. A row of zeros need not be added: it changes no sum.
class BlockRowSums {
 public:
  BlockRowSums(int sourceWidth, int shift);

  // Adds the next source row of the blocks: `linear(x, blue, green, red)`
  // stores column x's linear values in the three references.
  template <typename Linear>
  void AddRow(Linear&& linear);

  // Writes blue, green, red of every output pixel of the row to `out`, for
  // blocks of `rows` source rows, then starts over with every sum at 0.
  void Finish(int rows, float* out);

 private:
  int sourceWidth_;
  int shift_;
  std::vector<long double> sums_;  // blue, green, red per output pixel
};

template <typename Linear>
void BlockRowSums::AddRow(Linear&& linear) {
  const int block = 1 << shift_;
  long double* sum = sums_.data();
  for (int x0 = 0; x0 < sourceWidth_; x0 += block, sum += 3) {
    const int x1 = std::min(sourceWidth_, x0 + block);
    long double blue = sum[0], green = sum[1], red = sum[2];
    for (int x = x0; x < x1; ++x) {
      long double b = 0, g = 0, r = 0;
      linear(x, b, g, r);
      blue += b;
      green += g;
      red += r;
    }
    sum[0] = blue;
    sum[1] = green;
    sum[2] = red;
  }
}

}  // namespace halvane
