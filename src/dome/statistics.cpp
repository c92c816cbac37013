#include "dome/statistics.h"

#include <algorithm>
#include <bitset>
#include <string>

#include "dome/start_points.h"

namespace halvane {
namespace {

constexpr std::size_t kRingListCapacity = 300;

// The ordered list of distinct points reached ring by ring from a centre.
// A flag per point index answers "already listed" without a search of the
// list: the lists of the outer rings run to a few hundred entries.
class RingList {
 public:
  void Append(int32_t p) {
    if (p == 0 || listed_.test(Bit(p))) return;
    items_[++length_] = p;
    listed_.set(Bit(p));
  }
  std::size_t length() const { return length_; }
  int32_t operator[](std::size_t k) const { return items_[k]; }

 private:
  static std::size_t Bit(int32_t p) {
    if (p < 0 || static_cast<std::size_t>(p) > kPointCapacity)
      throw IndexError(p < 0 ? 0 : static_cast<std::size_t>(p), kPointCapacity + 1);
    return static_cast<std::size_t>(p);
  }

  FixedArray<int32_t, kRingListCapacity + 1> items_{};
  std::size_t length_ = 0;
  std::bitset<kPointCapacity + 1> listed_;
};

// a + b in extended precision, stored as float.
float AddFloat(float a, float b) {
  return static_cast<float>(static_cast<long double>(a) + b);
}

float LumSum(const Dome& dome, const RingList& list) {
  float sum = 0.0f;
  for (std::size_t k = 1; k <= list.length(); ++k)
    sum = AddFloat(sum, dome.points[static_cast<std::size_t>(list[k])].lum);
  return sum;
}

// Adds the unlisted neighbours of list positions 8..end; position 8 is where
// the second ring starts around a point with six neighbours.
void Expand(const Dome& dome, RingList& list) {
  const std::size_t end = list.length();
  if (end <= 7) return;
  for (std::size_t pos = 8; pos <= end; ++pos) {
    const DomePoint& p = dome.points[static_cast<std::size_t>(list[pos])];
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) list.Append(p.nb[slot]);
  }
}

void RingSumsOf(Dome& dome, uint32_t i) {
  DomePoint& point = dome.points[i];
  RingList list;
  list.Append(static_cast<int32_t>(i));
  point.lumSum7 = point.lum;
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = point.nb[slot];
    if (n == 0) continue;
    list.Append(n);
    point.lumSum7 = AddFloat(point.lumSum7, dome.points[static_cast<std::size_t>(n)].lum);
  }
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = point.nb[slot];
    if (n == 0) continue;
    const DomePoint& neighbour = dome.points[static_cast<std::size_t>(n)];
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) list.Append(neighbour.nb[k]);
  }
  point.lumSum19 = LumSum(dome, list);
  Expand(dome, list);
  point.lumSum37 = LumSum(dome, list);
  Expand(dome, list);
  point.lumSum61 = LumSum(dome, list);
  Expand(dome, list);
  point.lumSum91 = LumSum(dome, list);
}

long double Abs(long double v) {
  return v < 0 ? -v : v;
}

void QuickSortByLumSum61(Dome& dome, long lo, long hi) {
  long i = lo, j = hi;
  const float pivot = dome.points[static_cast<std::size_t>((lo + hi) / 2)].lumSum61;
  do {
    while (dome.points[static_cast<std::size_t>(i)].lumSum61 < pivot) ++i;
    while (dome.points[static_cast<std::size_t>(j)].lumSum61 > pivot) --j;
    if (i <= j) {
      std::swap(dome.points[static_cast<std::size_t>(i)], dome.points[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) QuickSortByLumSum61(dome, lo, j);
  if (i < hi) QuickSortByLumSum61(dome, i, hi);
}

}  // namespace

void ComputeRingSums(Dome& dome) {
  for (uint32_t i = 1; i <= dome.pointCount; ++i) RingSumsOf(dome, i);
}

DomeStatistics MeasureStatistics(const Dome& dome, bool neighbourPairs, const Progress& progress) {
  DomeStatistics st;
  const uint32_t n = dome.pointCount;
  st.maxLum = st.minLum = n >= 1 ? dome.points[1].lum : 0.0f;
  st.usedPointCount = 0;
  double lumSum = 0, lumDiffSum = 0, colorDiffSum = 0;
  uint32_t pairs = 0;
  for (uint32_t i = 1; i <= n; ++i) {
    const DomePoint& p = dome.points[i];
    if (p.used) ++st.usedPointCount;
    if (i % 500 == 0) progress.Report(" | Lum. and Color analyse... " + std::to_string(i) + " ");
    lumSum = static_cast<double>(lumSum + static_cast<long double>(p.lum));
    if (p.lum > st.maxLum) st.maxLum = p.lum;
    if (p.lum < st.minLum) st.minLum = p.lum;
    if (!neighbourPairs) continue;
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
      const int32_t m = p.nb[slot];
      if (m <= static_cast<int32_t>(i)) continue;
      const DomePoint& q = dome.points[static_cast<std::size_t>(m)];
      lumDiffSum = static_cast<double>(lumDiffSum + Abs(static_cast<long double>(p.lum) - q.lum));
      colorDiffSum = static_cast<double>(colorDiffSum + (Abs(static_cast<long double>(p.r) - q.r) +
                                                         Abs(static_cast<long double>(p.g) - q.g) +
                                                         Abs(static_cast<long double>(p.b) - q.b)));
      ++pairs;
    }
  }
  st.avgLum = n > 0 ? static_cast<float>(static_cast<long double>(lumSum) / n) : 0.0f;
  st.avgLumDiff =
      pairs > 0 ? static_cast<float>(static_cast<long double>(lumDiffSum) / pairs) : 0.0f;
  st.avgColorDiff =
      pairs > 0 ? static_cast<float>(static_cast<long double>(colorDiffSum) / pairs / 3) : 0.0f;
  return st;
}

void SortPoints(Dome& dome, const Progress& progress) {
  if (dome.pointCount > 1) QuickSortByLumSum61(dome, 1, static_cast<long>(dome.pointCount));
  RebuildNeighbours(dome, progress);
}

}  // namespace halvane
