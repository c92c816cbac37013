#include "image/exr_values.h"

#include <memory>

#include <Imath/half.h>

#include "image/linear_power.h"

namespace halvane {

const HalfTable& HalfValues() {
  static const std::unique_ptr<HalfTable> table = [] {
    auto t = std::make_unique<HalfTable>();
    for (uint32_t bits = 0; bits < 65536; ++bits) {
      half h;
      h.setBits(static_cast<uint16_t>(bits));
      ValueRepairs repairs;
      t->powered[bits] = PowerOfLinear(RepairedValue(static_cast<float>(h), kLargestHalf, repairs));
      t->repair[bits] = repairs.zeroed    ? HalfTable::kZeroed
                        : repairs.clamped ? HalfTable::kClamped
                                          : HalfTable::kNone;
    }
    return t;
  }();
  return *table;
}

}  // namespace halvane
