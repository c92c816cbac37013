#include "dome/statistics.h"

#include <algorithm>
#include <bitset>
#include <cmath>

#include "base/number_text.h"
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

float LumSum(const Session& s, const RingList& list) {
  float sum = 0.0f;
  for (std::size_t k = 1; k <= list.length(); ++k)
    sum = AddFloat(sum, s.dome.points[static_cast<std::size_t>(list[k])].lum);
  return sum;
}

// Adds the unlisted neighbours of list positions 8..end; position 8 is where
// the second ring starts around a point with six neighbours.
void Expand(const Session& s, RingList& list) {
  const std::size_t end = list.length();
  if (end <= 7) return;
  for (std::size_t pos = 8; pos <= end; ++pos) {
    const DomePoint& p = s.dome.points[static_cast<std::size_t>(list[pos])];
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) list.Append(p.nb[slot]);
  }
}

void RingSumsOf(Session& s, uint32_t i) {
  DomePoint& point = s.dome.points[i];
  RingList list;
  list.Append(static_cast<int32_t>(i));
  point.lumSum7 = point.lum;
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = point.nb[slot];
    if (n == 0) continue;
    list.Append(n);
    point.lumSum7 = AddFloat(point.lumSum7, s.dome.points[static_cast<std::size_t>(n)].lum);
  }
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = point.nb[slot];
    if (n == 0) continue;
    const DomePoint& neighbour = s.dome.points[static_cast<std::size_t>(n)];
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) list.Append(neighbour.nb[k]);
  }
  point.lumSum19 = LumSum(s, list);
  Expand(s, list);
  point.lumSum37 = LumSum(s, list);
  Expand(s, list);
  point.lumSum61 = LumSum(s, list);
  Expand(s, list);
  point.lumSum91 = LumSum(s, list);
}

void WriteLabels(const Session& s, ControlModel& controls, const NumberFormat& nf) {
  const auto text = [&](const char* prefix, float v) {
    return std::string(prefix) + PadLeft(FormatFixed(v, 2, nf), 5);
  };
  controls.LabelMinvalue.caption = text("Min Luminance:                     ", s.statistics.minLum);
  controls.LabelMaxvalue.caption = text("Max Luminance:                     ", s.statistics.maxLum);
  controls.LabelAverageValue.caption =
      text("Average Luminane:                  ", s.statistics.avgLum);
  controls.LabelThresholdNeighb.caption =
      text("Av. Lum. diff. (neighbour points): ", s.statistics.avgLumDiff);
  controls.LabelThresholdNeighColor.caption =
      text("Av. Color diff. (neighbour points):", s.statistics.avgColorDiff);
}

long double Abs(long double v) {
  return v < 0 ? -v : v;
}

void QuickSortByLumSum61(Session& s, long lo, long hi) {
  long i = lo, j = hi;
  const float pivot = s.dome.points[static_cast<std::size_t>((lo + hi) / 2)].lumSum61;
  do {
    while (s.dome.points[static_cast<std::size_t>(i)].lumSum61 < pivot) ++i;
    while (s.dome.points[static_cast<std::size_t>(j)].lumSum61 > pivot) --j;
    if (i <= j) {
      std::swap(s.dome.points[static_cast<std::size_t>(i)],
                s.dome.points[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) QuickSortByLumSum61(s, lo, j);
  if (i < hi) QuickSortByLumSum61(s, i, hi);
}

}  // namespace

void ComputeRingSums(Session& s) {
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) RingSumsOf(s, i);
}

void StatisticsPass(Session& s, ControlModel& controls, Host& host) {
  ComputeRingSums(s);
  LuminanceStatistics(s, controls, host);
}

void LuminanceStatistics(Session& s, ControlModel& controls, Host& host) {
  const uint32_t n = s.dome.pointCount;
  s.statistics.maxLum = s.statistics.minLum = n >= 1 ? s.dome.points[1].lum : 0.0f;
  s.statistics.usedPointCount = 0;
  const std::string panel2 = controls.StatusBar1.panels[2];
  double lumSum = 0, lumDiffSum = 0, colorDiffSum = 0;
  uint32_t pairs = 0;
  for (uint32_t i = 1; i <= n; ++i) {
    const DomePoint& p = s.dome.points[i];
    if (p.used) ++s.statistics.usedPointCount;
    if (i % 500 == 0) {
      controls.StatusBar1.panels[2] =
          panel2 + " | Lum. and Color analyse... " + std::to_string(i) + " ";
      host.ProcessEvents();
    }
    lumSum = static_cast<double>(lumSum + static_cast<long double>(p.lum));
    if (p.lum > s.statistics.maxLum) s.statistics.maxLum = p.lum;
    if (p.lum < s.statistics.minLum) s.statistics.minLum = p.lum;
    if (!controls.CheckThresholds.checked) continue;
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
      const int32_t m = p.nb[slot];
      if (m <= static_cast<int32_t>(i)) continue;
      const DomePoint& q = s.dome.points[static_cast<std::size_t>(m)];
      lumDiffSum = static_cast<double>(lumDiffSum + Abs(static_cast<long double>(p.lum) - q.lum));
      colorDiffSum = static_cast<double>(colorDiffSum + (Abs(static_cast<long double>(p.r) - q.r) +
                                                         Abs(static_cast<long double>(p.g) - q.g) +
                                                         Abs(static_cast<long double>(p.b) - q.b)));
      ++pairs;
    }
  }
  controls.StatusBar1.panels[2] = panel2;
  s.statistics.avgLum = n > 0 ? static_cast<float>(static_cast<long double>(lumSum) / n) : 0.0f;
  s.statistics.avgLumDiff =
      pairs > 0 ? static_cast<float>(static_cast<long double>(lumDiffSum) / pairs) : 0.0f;
  s.statistics.avgColorDiff =
      pairs > 0 ? static_cast<float>(static_cast<long double>(colorDiffSum) / pairs / 3) : 0.0f;
  WriteLabels(s, controls, host.GetNumberFormat());
}

void SortPoints(Session& s, ControlModel& controls, Host& host) {
  if (s.dome.pointCount > 1) QuickSortByLumSum61(s, 1, static_cast<long>(s.dome.pointCount));
  RebuildNeighbours(s, controls, host);
}

std::string FieldTextRounded(long double value) {
  if (value > 99.99L) return "99.99";
  return PadLeft(FormatFixed(static_cast<double>(value), 2, NumberFormat{'.', ""}), 5);
}

std::string FieldTextTruncated(float value) {
  if (value > 99.99f) return "99.99";
  const long double t = value > 0 ? value : 0.0f;  // the field holds no sign
  const long long whole = static_cast<long long>(std::trunc(t));
  const long long hundredths = static_cast<long long>(std::trunc((t - whole) * 100.0L));
  return PadLeft(std::to_string(whole), 2) + "." + PadLeft(std::to_string(hundredths), 2);
}

void ProposeOptimizationThresholds(const Session& s, ControlModel& controls) {
  controls.EditOptThreshold.text =
      FieldTextRounded(static_cast<long double>(s.statistics.avgColorDiff) * 3 + 0.25L);
  controls.EditRedThreshold.text =
      FieldTextRounded(static_cast<long double>(s.statistics.avgColorDiff) * 0.5L + 0.05L);
}

}  // namespace halvane
