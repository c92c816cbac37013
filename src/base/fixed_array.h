#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace halvane {

// Thrown when an index falls outside a fixed array. It signals a fault in the
// program, never a silent out-of-bounds access.
class IndexError : public std::out_of_range {
 public:
  IndexError(std::size_t index, std::size_t capacity)
      : std::out_of_range("index " + std::to_string(index) + " outside capacity " +
                          std::to_string(capacity)) {}
};

// A plain fixed-capacity array whose every access is checked. It stays an
// aggregate, so value-initialisation zeroes it and records can be copied whole.
template <typename T, std::size_t N>
struct FixedArray {
  T items[N];

  static constexpr std::size_t capacity() { return N; }

  T& operator[](std::size_t i) {
    if (i >= N) throw IndexError(i, N);
    return items[i];
  }
  const T& operator[](std::size_t i) const {
    if (i >= N) throw IndexError(i, N);
    return items[i];
  }

  T* begin() { return items; }
  T* end() { return items + N; }
  const T* begin() const { return items; }
  const T* end() const { return items + N; }
};

}  // namespace halvane
