#include "dome/sun_region.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "base/luminance.h"

namespace halvane {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

long double PixelSolidAngle(int row, int width, int height) {
  const long double top = kPi / 2 - kPi * row / height;
  const long double bottom = kPi / 2 - kPi * (row + 1) / height;
  return 2 * kPi / width * (std::sin(top) - std::sin(bottom));
}

float PixelLuminance(const Image& image, std::size_t pixel) {
  const float* bgr = &image.pixels.at(3 * pixel);
  return Luminance(bgr[2], bgr[1], bgr[0]);
}

std::size_t BrightestPixel(const Image& image) {
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  std::size_t brightest = 0;
  float best = PixelLuminance(image, 0);
  for (std::size_t p = 1; p < count; ++p)
    if (const float lum = PixelLuminance(image, p); lum > best) {
      best = lum;
      brightest = p;
    }
  return brightest;
}

// Calls `visit` with the eight neighbours of `pixel`; columns wrap around the
// longitude seam, rows stop at the poles.
template <typename Visit>
void ForNeighbours(const Image& image, std::size_t pixel, Visit visit) {
  const auto w = static_cast<long long>(image.width);
  const long long x = static_cast<long long>(pixel) % w, y = static_cast<long long>(pixel) / w;
  for (long long dy = -1; dy <= 1; ++dy) {
    const long long ny = y + dy;
    if (ny < 0 || ny >= image.height) continue;
    for (long long dx = -1; dx <= 1; ++dx) {
      if (dx == 0 && dy == 0) continue;
      const long long nx = (x + dx + w) % w;
      visit(static_cast<std::size_t>(ny * w + nx));
    }
  }
}

// The pixels connected to `seed` above `threshold`; `inside` marks them.
std::vector<std::size_t> GrowRegion(const Image& image, std::size_t seed, float threshold,
                                    std::vector<char>& inside) {
  std::vector<std::size_t> region{seed};
  inside.at(seed) = 1;
  for (std::size_t next = 0; next < region.size(); ++next)
    ForNeighbours(image, region[next], [&](std::size_t n) {
      if (inside.at(n) || !(PixelLuminance(image, n) > threshold)) return;
      inside[n] = 1;
      region.push_back(n);
    });
  return region;
}

// The mean colour of the pixels that touch the region from outside.
std::array<float, 3> RingMean(const Image& image, const std::vector<std::size_t>& region,
                              const std::vector<char>& inside) {
  std::vector<char> ring(inside.size(), 0);
  std::array<long double, 3> sum{};
  long double count = 0;
  for (const std::size_t p : region)
    ForNeighbours(image, p, [&](std::size_t n) {
      if (inside.at(n) || ring.at(n)) return;
      ring[n] = 1;
      for (std::size_t c = 0; c < 3; ++c) sum[c] += image.pixels.at(3 * n + c);
      count += 1;
    });
  std::array<float, 3> mean{};
  if (count > 0)
    for (std::size_t c = 0; c < 3; ++c) mean[c] = static_cast<float>(sum[c] / count);
  return mean;
}

struct Vec {
  long double x = 0, y = 0, z = 0;
};

// The direction through the centre of pixel (x, y), in the dome's frame.
Vec PixelDirection(long double x, long double y, int width, int height) {
  const long double longitude = 2 * kPi * (x + 0.5L) / width;
  const long double latitude = kPi / 2 - kPi * (y + 0.5L) / height;
  return {-std::cos(latitude) * std::sin(longitude), std::sin(latitude),
          -std::cos(latitude) * std::cos(longitude)};
}

// Energies, solid angle and the energy centroid of the region above its fill.
void MeasureRegion(const Image& image, float blackPoint, float whitePoint, SunRegion& sun) {
  const long double range = static_cast<long double>(whitePoint) - blackPoint;
  std::array<long double, 3> energy{};
  long double solidAngle = 0;
  Vec centroid;
  for (const std::size_t p : sun.pixels) {
    const int x = static_cast<int>(p % static_cast<std::size_t>(image.width));
    const int y = static_cast<int>(p / static_cast<std::size_t>(image.width));
    const long double omega = PixelSolidAngle(y, image.width, image.height);
    std::array<long double, 3> above{};  // red, green, blue
    for (std::size_t c = 0; c < 3; ++c)
      above[c] = (image.pixels.at(3 * p + 2 - c) - sun.fill[2 - c]) / range * omega;
    for (std::size_t c = 0; c < 3; ++c) energy[c] += above[c];
    solidAngle += omega;
    const long double weight = 0.3L * above[0] + 0.59L * above[1] + 0.11L * above[2];
    const Vec d = PixelDirection(x, y, image.width, image.height);
    centroid = {centroid.x + weight * d.x, centroid.y + weight * d.y, centroid.z + weight * d.z};
  }
  for (std::size_t c = 0; c < 3; ++c)
    sun.energy[c] = static_cast<double>(std::max(energy[c], 0.0L));
  sun.solidAngle = static_cast<double>(solidAngle);
  // The cap of that solid angle: 2 pi (1 - cos r) = omega.
  sun.angle = static_cast<double>(2 * std::acos(1 - solidAngle / (2 * kPi)) * 180 / kPi);
  const long double length =
      std::sqrt(centroid.x * centroid.x + centroid.y * centroid.y + centroid.z * centroid.z);
  if (!(length > 0)) {  // no energy above the fill: the first (brightest) pixel's centre
    const std::size_t p = sun.pixels.front();
    centroid = PixelDirection(static_cast<long double>(p % static_cast<std::size_t>(image.width)),
                              static_cast<long double>(p / static_cast<std::size_t>(image.width)),
                              image.width, image.height);
  } else {
    centroid = {centroid.x / length, centroid.y / length, centroid.z / length};
  }
  long double longitude = std::atan2(-centroid.x, -centroid.z);
  if (longitude < 0) longitude += 2 * kPi;
  const long double y = std::clamp(centroid.y, -1.0L, 1.0L);
  sun.column = static_cast<double>(longitude / (2 * kPi) * image.width);
  sun.row = static_cast<double>((kPi / 2 - std::asin(y)) / kPi * image.height);
}

}  // namespace

float DefaultSunThreshold(const Image& image) {
  if (!image.HoldsAllPixels()) throw std::invalid_argument("the image does not hold its pixels");
  long double sum = 0;
  for (int y = 0; y < image.height; ++y) {
    long double row = 0;
    for (int x = 0; x < image.width; ++x)
      row += PixelLuminance(image, static_cast<std::size_t>(y) * image.width + x);
    sum += row * PixelSolidAngle(y, image.width, image.height);
  }
  return static_cast<float>(kSunThresholdPerMeanLuminance * sum / (4 * kPi));
}

std::optional<SunRegion> FindSun(const Image& image, float threshold, float blackPoint,
                                 float whitePoint) {
  if (!image.HoldsAllPixels()) throw std::invalid_argument("the image does not hold its pixels");
  if (blackPoint == whitePoint)
    throw std::invalid_argument("the black point and the white point must differ");
  const std::size_t seed = BrightestPixel(image);
  if (!(PixelLuminance(image, seed) > threshold)) return std::nullopt;
  std::vector<char> inside(static_cast<std::size_t>(image.width) * image.height, 0);
  SunRegion sun;
  sun.pixels = GrowRegion(image, seed, threshold, inside);
  sun.fill = RingMean(image, sun.pixels, inside);
  MeasureRegion(image, blackPoint, whitePoint, sun);
  if (sun.solidAngle > kMaxSunSolidAngle) return std::nullopt;
  std::sort(sun.pixels.begin(), sun.pixels.end());
  return sun;
}

Image FillSunRegion(const Image& image, const SunRegion& sun) {
  Image filled = image;
  for (const std::size_t p : sun.pixels)
    for (std::size_t c = 0; c < 3; ++c) filled.pixels.at(3 * p + c) = sun.fill[c];
  return filled;
}

}  // namespace halvane
