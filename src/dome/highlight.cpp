#include "dome/highlight.h"

#include <cmath>

#include "base/luminance.h"
#include "base/number_text.h"
#include "dome/point_colours.h"
#include "dome/statistics.h"

namespace halvane {
namespace {

bool Qualifies(const Dome& dome, const DomePoint& p, float maxLum, float tolLum, float tolNb) {
  if (!(p.lum >= static_cast<long double>(maxLum) - tolLum)) return false;
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = p.nb[slot];
    if (n == 0) continue;
    if (!(dome.points[static_cast<std::size_t>(n)].lum >= static_cast<long double>(maxLum) - tolNb))
      return false;
  }
  return true;
}

void Increase(const HighlightSettings& colour, DomePoint& p, float d) {
  p.r = static_cast<float>(p.r + static_cast<long double>(d) * colour.r);
  p.lightR = p.r;
  p.g = static_cast<float>(p.g + static_cast<long double>(d) * colour.g);
  p.lightG = p.g;
  p.b = static_cast<float>(p.b + static_cast<long double>(d) * colour.b);
  p.lightB = p.b;
  p.lum = Luminance(p.r, p.g, p.b);
  p.lightLum = p.lum;
}

// Increase steps per pass by the resolution of the points.
int StepsPerPass(uint8_t subdivLevel) {
  switch (subdivLevel) {
    case 1:
      return 5;
    case 2:
      return 4;
    case 3:
      return 3;
    case 4:
      return 2;
    default:
      return 1;
  }
}

// Number of passes for the requested iterations at `stepsPerPass`.
int Passes(int iterations, int stepsPerPass) {
  return static_cast<int>(
      std::nearbyint(static_cast<long double>(iterations) / stepsPerPass + 0.49L));
}

// The increment of pass k (1-based).
float Increment(int pass, int stepsPerPass, float value, float power) {
  float d = 0.0f;
  for (int q = 1; q <= stepsPerPass; ++q) {
    const long double step = static_cast<long double>((pass - 1) * stepsPerPass + q);
    d = static_cast<float>(d + std::pow(step * value, static_cast<long double>(power)) / 3.0L);
  }
  return d;
}

}  // namespace

std::vector<float> HighlightIncrements(const HighlightSettings& settings,
                                       const HighlightParameters& parameters, uint8_t subdivLevel) {
  const int steps = StepsPerPass(subdivLevel);
  const int passes = Passes(parameters.iterations, steps);
  std::vector<float> increments;
  for (int k = 1; k <= passes; ++k)
    increments.push_back(Increment(k, steps, settings.value, settings.power));
  return increments;
}

int RaiseHighlights(Dome& dome, float maxLum, const HighlightSettings& settings,
                    const HighlightParameters& parameters, float increment,
                    const Progress& progress) {
  int count = 0;
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    if (i % 500 == 0) progress.Report(PointProgressText(i, dome.pointCount));
    DomePoint& p = dome.points[i];
    if (!Qualifies(dome, p, maxLum, parameters.lumTolerance, parameters.neighbourTolerance))
      continue;
    ++count;
    Increase(settings, p, increment);
  }
  return count;
}

}  // namespace halvane
