#include "optimize/level_values.h"

#include <cmath>

namespace halvane {
namespace {

constexpr uint32_t kLevel1Limit162 = 500;
constexpr uint32_t kLevel2Limit = 180;
constexpr uint32_t kLevel3Limit = 130;

// 162 points decide nothing in level 1: every cap is the limit.
PruneBounds Level1Bounds162() {
  return {kLevel1Limit162, kLevel1Limit162, kLevel1Limit162, kLevel1Limit162, kLevel1Limit162};
}

// 2562 points: fixed caps, tighter early.
PruneBounds Level1Bounds2562() {
  return {.all = 390, .half = 450, .third = 330, .fifth = 300, .tenth = 195};
}

// Level 2 caps the whole range and its first half; the level-1-only caps
// stay as level 1 left them (level 2 never reads them).
void SetLevel2Bounds(PruneBounds& bounds, uint32_t all, uint32_t half) {
  bounds.all = all;
  bounds.half = half;
}

void SetRange(SearchRun& run, uint32_t last, uint32_t limit, uint8_t minLevel) {
  run.lastIndex = last;
  run.lightLimit = limit;
  run.minLevel = minLevel;
}

// 642 points: caps that grow with the light limit m set for level 1,
// looser the more points the visit has passed.
PruneBounds Level1Bounds642(uint32_t m) {
  return {.all = 2 * m + 100,
          .half = 2 * m + 50,
          .third = m + 50,
          .fifth = m + 55,
          .tenth = static_cast<uint32_t>(std::nearbyint(m / 1.4L)) + 30};
}

}  // namespace

void SetLevel1Values(SearchRun& run, uint8_t subdivLevel, uint32_t level1Points,
                     uint32_t level1MaxLights) {
  switch (subdivLevel) {
    case 3:
      SetRange(run, 0, kLevel1Limit162, 4);
      run.bounds = Level1Bounds162();
      break;
    case 4:
      SetRange(run, level1Points, level1MaxLights, 4);
      run.bounds = Level1Bounds642(level1MaxLights);
      break;
    case 5:
      SetRange(run, level1Points, level1MaxLights, 5);
      run.bounds = Level1Bounds2562();
      break;
    default:
      run.lastIndex = 50;
      break;
  }
}

void SetLevel2Values(SearchRun& run, uint8_t subdivLevel, uint32_t pointCount) {
  switch (subdivLevel) {
    case 3:
      SetRange(run, 100, 100, 2);
      SetLevel2Bounds(run.bounds, 100, 80);
      break;
    case 4:
    case 5:
      SetRange(run, pointCount, kLevel2Limit, subdivLevel == 4 ? 3 : 4);
      SetLevel2Bounds(run.bounds, 185, subdivLevel == 4 ? 200u : 80u);
      break;
    default:
      run.lastIndex = 50;
      break;
  }
}

void SetLevel3Values(SearchRun& run, uint8_t subdivLevel, uint32_t pointCount) {
  run.firstIndex = 1;
  run.lastIndex = pointCount;
  if (subdivLevel >= 3 && subdivLevel <= 5) run.lightLimit = kLevel3Limit;
}

}  // namespace halvane
