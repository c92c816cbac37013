#include "optimize/finetuning.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace halvane {
namespace {

// A group is a centre and up to six neighbours.
constexpr int kSmallestGroup = 2;
constexpr int kLargestGroup = 1 + static_cast<int>(kNeighbourSlots);
constexpr int kLevelTwoGroup = 4;
constexpr uint8_t kSingleLight = 1;

void SwitchOffLight(DomePoint& p) {
  p.used = false;
  p.lightLum = 0.0f;
  p.lightR = 0.0f;
  p.lightG = 0.0f;
  p.lightB = 0.0f;
}

struct Neighbours {
  std::array<std::size_t, kNeighbourSlots> index{};
  std::size_t count = 0;
};

bool IsSingleLight(const Dome& dome, const SearchResult& chosen, std::size_t i) {
  return chosen.decision[i] == kSingleLight && dome.points[i].used;
}

// The neighbours of `centre` that may join its group, in slot order.
Neighbours QualifyingNeighbours(const Dome& dome, const SearchResult& chosen,
                                const DomePoint& centre, float tolerance) {
  Neighbours found;
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = centre.nb[slot];
    if (n == 0) continue;
    const auto ni = static_cast<std::size_t>(n);
    const long double difference =
        std::fabs(static_cast<long double>(centre.lightLum) - dome.points[ni].lightLum);
    if (IsSingleLight(dome, chosen, ni) && difference < tolerance) found.index[found.count++] = ni;
  }
  return found;
}

// Adds the group's colours into the centre one at a time and its luminance
// through a running sum, and switches the absorbed lights off.
void Merge(Dome& dome, DomePoint& centre, const Neighbours& group) {
  float lumSum = 0.0f;
  for (std::size_t k = 0; k < group.count; ++k) {
    DomePoint& p = dome.points[group.index[k]];
    centre.lightR = static_cast<float>(static_cast<long double>(centre.lightR) + p.lightR);
    centre.lightG = static_cast<float>(static_cast<long double>(centre.lightG) + p.lightG);
    centre.lightB = static_cast<float>(static_cast<long double>(centre.lightB) + p.lightB);
    lumSum = static_cast<float>(static_cast<long double>(lumSum) + p.lightLum);
    SwitchOffLight(p);
  }
  centre.lightLum = static_cast<float>(static_cast<long double>(centre.lightLum) + lumSum);
  if (group.count + 1 >= kLevelTwoGroup) centre.level = 2;
}

void MergePass(Dome& dome, const SearchResult& chosen, int groupSize, float tolerance) {
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    if (!IsSingleLight(dome, chosen, i)) continue;
    DomePoint& centre = dome.points[i];
    const Neighbours group = QualifyingNeighbours(dome, chosen, centre, tolerance);
    if (static_cast<int>(group.count) + 1 >= groupSize) Merge(dome, centre, group);
  }
}

}  // namespace

void SwitchOffDimLights(Dome& dome, float threshold) {
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    DomePoint& p = dome.points[i];
    if (p.lightLum < threshold) SwitchOffLight(p);
  }
}

void MergeSimilarLights(Dome& dome, const SearchResult& chosen, const MergeSettings& settings) {
  const int smallest = std::clamp(settings.smallestGroup, kSmallestGroup, kLargestGroup);
  for (int groupSize = kLargestGroup; groupSize >= smallest; --groupSize)
    MergePass(dome, chosen, groupSize, settings.tolerance);
}

}  // namespace halvane
