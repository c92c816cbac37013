#include "rig/environment_irradiance.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "image/parallel_for.h"

namespace halvane {
namespace {

constexpr double kPi = std::numbers::pi;

// Solid angle of one pixel of row `row`: its longitude width times the
// difference of the sines of its band's bounding latitudes.
double PixelSolidAngle(int row, int width, int height) {
  const double top = kPi / 2 - kPi * row / height;
  const double bottom = kPi / 2 - kPi * (row + 1) / height;
  return 2 * kPi / width * (std::sin(top) - std::sin(bottom));
}

void SumCells(const Image& image, float blackPoint, float whitePoint, EnvironmentIrradiance& env) {
  const int gw = std::min(image.width, kIrradianceGridWidth);
  const int gh = std::min(image.height, kIrradianceGridHeight);
  env.cellEnergy.assign(static_cast<std::size_t>(gw) * gh, RgbValue{});
  env.cellDirections.resize(env.cellEnergy.size());
  const double range = static_cast<double>(whitePoint) - blackPoint;
  for (int y = 0; y < image.height; ++y) {
    const double omega = PixelSolidAngle(y, image.width, image.height);
    const std::size_t cellRow = static_cast<std::size_t>(y) * gh / image.height;
    for (int x = 0; x < image.width; ++x) {
      const std::size_t cell = cellRow * gw + static_cast<std::size_t>(x) * gw / image.width;
      const float* bgr = &image.pixels[static_cast<std::size_t>(image.ChannelIndex(x, y, 0))];
      for (int c = 0; c < 3; ++c)
        env.cellEnergy[cell][static_cast<std::size_t>(c)] +=
            (bgr[2 - c] - blackPoint) / range * omega;
    }
  }
  for (int cy = 0; cy < gh; ++cy)
    for (int cx = 0; cx < gw; ++cx)
      env.cellDirections[static_cast<std::size_t>(cy) * gw + cx] =
          DirectionOfImagePosition(cx + 0.5, cy + 0.5, gw, gh);
}

// Drops the cells that give no light, which makes dark and masked
// environments faster to evaluate.
void DropEmptyCells(EnvironmentIrradiance& env, std::vector<Direction>& directions,
                    std::vector<RgbValue>& energies) {
  for (std::size_t i = 0; i < env.cellEnergy.size(); ++i) {
    const RgbValue& e = env.cellEnergy[i];
    if (e[0] == 0 && e[1] == 0 && e[2] == 0) continue;
    directions.push_back(env.cellDirections[i]);
    energies.push_back(e);
  }
}

}  // namespace

std::vector<Direction> FibonacciNormals(int count) {
  std::vector<Direction> normals;
  const double golden = kPi * (3 - std::sqrt(5.0));
  for (int i = 0; i < count; ++i) {
    const double y = 1 - (2.0 * i + 1) / count;
    const double r = std::sqrt(1 - y * y);
    normals.push_back({r * std::cos(golden * i), y, r * std::sin(golden * i)});
  }
  return normals;
}

Direction DirectionOfImagePosition(double column, double row, int width, int height) {
  const double longitude = 2 * kPi * column / width;
  const double latitude = kPi / 2 - kPi * row / height;
  return {-std::cos(latitude) * std::sin(longitude), std::sin(latitude),
          -std::cos(latitude) * std::cos(longitude)};
}

RgbValue IrradianceOf(const Direction& n, const std::vector<Direction>& directions,
                      const std::vector<RgbValue>& energies) {
  RgbValue sum{};
  for (std::size_t i = 0; i < directions.size(); ++i) {
    const Direction& d = directions[i];
    const double cosine = n.x * d.x + n.y * d.y + n.z * d.z;
    if (cosine <= 0) continue;
    for (std::size_t c = 0; c < 3; ++c) sum[c] += cosine * energies[i][c];
  }
  return sum;
}

EnvironmentIrradiance MeasureEnvironment(const Image& image, float blackPoint, float whitePoint,
                                         int threads) {
  if (!image.HoldsAllPixels()) throw std::invalid_argument("the image does not hold its pixels");
  if (blackPoint == whitePoint)
    throw std::invalid_argument("the black point and the white point must differ");
  EnvironmentIrradiance env;
  SumCells(image, blackPoint, whitePoint, env);
  std::vector<Direction> directions;
  std::vector<RgbValue> energies;
  DropEmptyCells(env, directions, energies);
  env.normals = FibonacciNormals(kErrorNormalCount);
  env.irradiance.resize(env.normals.size());
  ParallelFor(static_cast<int>(env.normals.size()), ThreadCount(threads), [&](int i) {
    const auto k = static_cast<std::size_t>(i);
    env.irradiance[k] = IrradianceOf(env.normals[k], directions, energies);
  });
  return env;
}

}  // namespace halvane
