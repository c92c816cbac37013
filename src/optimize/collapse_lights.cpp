#include "optimize/collapse_lights.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/number_text.h"
#include "optimize/finetuning.h"
#include "optimize/result_table.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

// A group is a centre and up to six neighbours; SpinRedGroupNr's range.
constexpr int kSmallestGroup = 2;
constexpr int kLargestGroup = 1 + static_cast<int>(kNeighbourSlots);
constexpr int kLevelTwoGroup = 4;
constexpr uint8_t kSingleLight = 1;

struct Neighbours {
  std::array<std::size_t, kNeighbourSlots> index{};
  std::size_t count = 0;
};

bool IsSingleLight(const Session& s, const SearchResult& chosen, std::size_t i) {
  return chosen.decision[i] == kSingleLight && s.dome.points[i].used;
}

// The neighbours of `centre` that may join its group, in slot order.
Neighbours QualifyingNeighbours(const Session& s, const SearchResult& chosen,
                                const DomePoint& centre, float tolerance) {
  Neighbours found;
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = centre.nb[slot];
    if (n == 0) continue;
    const auto ni = static_cast<std::size_t>(n);
    const long double difference =
        std::fabs(static_cast<long double>(centre.lightLum) - s.dome.points[ni].lightLum);
    if (IsSingleLight(s, chosen, ni) && difference < tolerance) found.index[found.count++] = ni;
  }
  return found;
}

// Adds the group's colours into the centre one at a time and its luminance
// through a running sum, and switches the absorbed lights off.
void Merge(Session& s, DomePoint& centre, const Neighbours& group) {
  float lumSum = 0.0f;
  for (std::size_t k = 0; k < group.count; ++k) {
    DomePoint& p = s.dome.points[group.index[k]];
    centre.lightR = static_cast<float>(static_cast<long double>(centre.lightR) + p.lightR);
    centre.lightG = static_cast<float>(static_cast<long double>(centre.lightG) + p.lightG);
    centre.lightB = static_cast<float>(static_cast<long double>(centre.lightB) + p.lightB);
    lumSum = static_cast<float>(static_cast<long double>(lumSum) + p.lightLum);
    SwitchOffLight(p);
  }
  centre.lightLum = static_cast<float>(static_cast<long double>(centre.lightLum) + lumSum);
  if (group.count + 1 >= kLevelTwoGroup) centre.level = 2;
}

void CollapsePass(Session& s, const SearchResult& chosen, int groupSize, float tolerance) {
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    if (!IsSingleLight(s, chosen, i)) continue;
    DomePoint& centre = s.dome.points[i];
    const Neighbours group = QualifyingNeighbours(s, chosen, centre, tolerance);
    if (static_cast<int>(group.count) + 1 >= groupSize) Merge(s, centre, group);
  }
}

}  // namespace

void ButtonCollapseLightsClick(Session& s, ControlModel& controls, Host& host) {
  const float tolerance = ReadMaskedField(controls.EditRedThreshold.text);
  if (s.workflowState < 3) return;
  SetBusy(controls, true);
  const SearchResult& chosen = RecordForRow(s, controls.GridOptimized.selectedRow);
  // The spin edit cannot hold other sizes; a caller setting one gets the nearest.
  const int smallest = std::clamp(controls.SpinRedGroupNr.value, kSmallestGroup, kLargestGroup);
  for (int groupSize = kLargestGroup; groupSize >= smallest; --groupSize)
    CollapsePass(s, chosen, groupSize, tolerance);
  FinishFinetuning(s, controls, host, chosen);
  SetBusy(controls, false);
}

}  // namespace halvane
