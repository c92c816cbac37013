#include "dome/point_colours.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/luminance.h"
#include "dome/sampling.h"

namespace halvane {
namespace {

constexpr uint32_t kProgressEvery = 500;

void ColourPoint(Dome& dome, const Image& image, const SamplingSettings& sampling, uint32_t i) {
  const SampledColor c = SamplePoint(image, dome, i, sampling);
  float r = c.r, g = c.g, b = c.b;
  float lum = Luminance(r, g, b);
  if (lum > sampling.clampLum) {
    const long double clamp = sampling.clampLum;
    b = static_cast<float>(b * clamp / lum);
    g = static_cast<float>(g * clamp / lum);
    r = static_cast<float>(r * clamp / lum);
    lum = Luminance(r, g, b);
  }
  DomePoint& p = dome.points[i];
  p.r = r;
  p.g = g;
  p.b = b;
  p.lum = lum;
  p.lightR = r;
  p.lightG = g;
  p.lightB = b;
  p.lightLum = lum;
  p.used = true;
}

// Points first..last, shared out over the cores: each point reads
// the image and its neighbours' pixel positions and writes only its own colour
// fields, so the result does not depend on how the points are shared out. An
// error in any share is raised here, after every share has ended.
void ColourBlock(Dome& dome, const Image& image, const SamplingSettings& sampling, uint32_t first,
                 uint32_t last) {
  const uint32_t workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
  std::vector<std::exception_ptr> errors(workers);
  const auto share = [&](uint32_t w) {
    try {
      for (uint32_t i = first + w; i <= last; i += workers) ColourPoint(dome, image, sampling, i);
    } catch (...) {
      errors[w] = std::current_exception();
    }
  };
  {
    std::vector<std::jthread> threads;
    for (uint32_t w = 1; w < workers; ++w) threads.emplace_back(share, w);
    share(0);
  }
  for (const std::exception_ptr& error : errors)
    if (error) std::rethrow_exception(error);
}

}  // namespace

std::string PointProgressText(uint32_t i, uint32_t count) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%05u/%u points", i, count);
  return buf;
}

void ColourPoints(Dome& dome, const Image& image, const SamplingSettings& sampling,
                  const Progress& progress) {
  if (sampling.blackPoint == sampling.whitePoint)
    throw std::invalid_argument("the black point and the white point are equal");
  for (uint32_t block = 1; block <= dome.pointCount; block += kProgressEvery) {
    if (block > 1) progress.Report(PointProgressText(block - 1, dome.pointCount));
    ColourBlock(dome, image, sampling, block,
                std::min<uint32_t>(block + kProgressEvery - 1, dome.pointCount));
  }
}

}  // namespace halvane
