#include "image/block_mean.h"

#include "image/linear_power.h"

namespace halvane {

BlockRowSums::BlockRowSums(int sourceWidth, int shift)
    : sourceWidth_(sourceWidth),
      shift_(shift),
      sums_(
          3 * static_cast<std::size_t>((int64_t{sourceWidth} + (int64_t{1} << shift) - 1) >> shift),
          0.0L) {}

void BlockRowSums::Finish(int rows, float* out) {
  const int block = 1 << shift_;
  for (std::size_t i = 0; i < sums_.size(); i += 3) {
    const int x0 = static_cast<int>(i / 3) << shift_;
    const int columns = std::min(block, sourceWidth_ - x0);
    const long double count = static_cast<long double>(columns) * rows;
    for (std::size_t k = 0; k < 3; ++k) {
      out[i + k] = PowerOfLinear(sums_[i + k] / count);
      sums_[i + k] = 0.0L;
    }
  }
}

}  // namespace halvane
