#include <string>

#include "image/readers.h"

namespace halvane {
namespace {

// The count of 2^shift blocks that cover `side` pixels; the last may be partial.
int BlocksOf(int side, int shift) {
  return static_cast<int>((int64_t{side} + (int64_t{1} << shift) - 1) >> shift);
}

}  // namespace

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::optional<ReadError> CheckLimits(int width, int height, const ImageLimits& limits) {
  if (height <= limits.maxHeight && width <= limits.maxWidth) return std::nullopt;
  return ReadError{"image too large (" + SizeText(width, height) + ", largest " +
                   SizeText(limits.maxWidth, limits.maxHeight) + ")"};
}

ScalePlan PlanScaleDown(int width, int height, const ImageLimits& limits) {
  const int maxWidth = limits.maxWidth < 1 ? 1 : limits.maxWidth;
  const int maxHeight = limits.maxHeight < 1 ? 1 : limits.maxHeight;
  int shift = 0;
  while (BlocksOf(width, shift) > maxWidth || BlocksOf(height, shift) > maxHeight) ++shift;
  return ScalePlan{width, height, shift, BlocksOf(width, shift), BlocksOf(height, shift)};
}

OrError<ScalePlan> ChooseScale(int width, int height, const ImageLimits& limits) {
  auto tooLarge = CheckLimits(width, height, limits);
  if (!tooLarge) return ScalePlan{width, height, 0, width, height};
  if (!limits.scaleDown) return *tooLarge;
  const int largest = limits.largestSourceSide;
  if (width > largest || height > largest)
    return ReadError{"image too large to scale down (" + SizeText(width, height) + ", largest " +
                     SizeText(largest, largest) + ")"};
  const ScalePlan plan = PlanScaleDown(width, height, limits);
  if (!limits.scaleDown(plan)) return *tooLarge;
  return plan;
}

}  // namespace halvane
