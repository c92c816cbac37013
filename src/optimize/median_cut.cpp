#include "optimize/median_cut.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace halvane {
namespace {

constexpr double kPi = std::numbers::pi;

struct Cell {
  std::array<double, 3> energy{};
  double luminance = 0.0;  // luminance energy, negative values counted as none
  double solidAngle = 0.0;
};

// The environment summed onto a grid of at most 1024 x 512 cells.
struct EnergyGrid {
  int width = 0, height = 0;
  int imageWidth = 0, imageHeight = 0;
  std::vector<Cell> cells;
  const Cell& At(int x, int y) const {
    return cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)];
  }
};

struct Region {
  int x0, y0, x1, y1;  // cells x0..x1-1, y0..y1-1
};

double PixelSolidAngle(int row, int width, int height) {
  const double top = kPi / 2 - kPi * row / height;
  const double bottom = kPi / 2 - kPi * (row + 1) / height;
  return 2 * kPi / width * (std::sin(top) - std::sin(bottom));
}

EnergyGrid SumGrid(const Image& image, float blackPoint, float whitePoint) {
  EnergyGrid grid;
  grid.width = std::min(image.width, kMedianCutGridWidth);
  grid.height = std::min(image.height, kMedianCutGridHeight);
  grid.imageWidth = image.width;
  grid.imageHeight = image.height;
  grid.cells.resize(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height));
  const double range = static_cast<double>(whitePoint) - blackPoint;
  for (int y = 0; y < image.height; ++y) {
    const double omega = PixelSolidAngle(y, image.width, image.height);
    const std::size_t cellRow = static_cast<std::size_t>(y) * grid.height / image.height;
    for (int x = 0; x < image.width; ++x) {
      Cell& cell =
          grid.cells[cellRow * grid.width + static_cast<std::size_t>(x) * grid.width / image.width];
      const float* bgr = &image.pixels[static_cast<std::size_t>(image.ChannelIndex(x, y, 0))];
      const double r = (bgr[2] - blackPoint) / range, g = (bgr[1] - blackPoint) / range,
                   b = (bgr[0] - blackPoint) / range;
      cell.energy[0] += r * omega;
      cell.energy[1] += g * omega;
      cell.energy[2] += b * omega;
      cell.luminance += std::max(0.0, 0.3 * r + 0.59 * g + 0.11 * b) * omega;
      cell.solidAngle += omega;
    }
  }
  return grid;
}

// The luminance energy of each column (across) or row of the region.
std::vector<double> Marginal(const EnergyGrid& grid, const Region& r, bool across) {
  std::vector<double> sums(static_cast<std::size_t>(across ? r.x1 - r.x0 : r.y1 - r.y0), 0.0);
  for (int y = r.y0; y < r.y1; ++y)
    for (int x = r.x0; x < r.x1; ++x)
      sums[static_cast<std::size_t>(across ? x - r.x0 : y - r.y0)] += grid.At(x, y).luminance;
  return sums;
}

// The cut (1..size-1 cells from the start) whose two sides hold the most
// nearly equal energy; the middle when the region holds none.
int BalancedCut(const std::vector<double>& sums) {
  double total = 0;
  for (double s : sums) total += s;
  const int size = static_cast<int>(sums.size());
  if (total <= 0) return size / 2;
  int best = 1;
  double before = 0, bestGap = total;
  for (int k = 1; k < size; ++k) {
    before += sums[static_cast<std::size_t>(k - 1)];
    const double gap = std::abs(2 * before - total);
    if (gap < bestGap) bestGap = gap, best = k;
  }
  return best;
}

// Splits a region in two, or returns it alone when it is a single cell.
std::vector<Region> Split(const EnergyGrid& grid, const Region& r) {
  const int w = r.x1 - r.x0, h = r.y1 - r.y0;
  if (w == 1 && h == 1) return {r};
  const double latitude = kPi / 2 - kPi * ((r.y0 + r.y1) / 2.0) / grid.height;
  const double widthAngle = w * 2 * kPi / grid.width * std::cos(latitude);
  const double heightAngle = h * kPi / grid.height;
  const bool across = h == 1 || (w > 1 && widthAngle >= heightAngle);
  const int cut = BalancedCut(Marginal(grid, r, across));
  if (across) return {{r.x0, r.y0, r.x0 + cut, r.y1}, {r.x0 + cut, r.y0, r.x1, r.y1}};
  return {{r.x0, r.y0, r.x1, r.y0 + cut}, {r.x0, r.y0 + cut, r.x1, r.y1}};
}

MedianCutLight LightOf(const EnergyGrid& grid, const Region& r) {
  MedianCutLight light;
  double cx = 0, cy = 0;
  for (int y = r.y0; y < r.y1; ++y)
    for (int x = r.x0; x < r.x1; ++x) {
      const Cell& c = grid.At(x, y);
      for (std::size_t k = 0; k < 3; ++k) light.energy[k] += c.energy[k];
      light.luminanceEnergy += c.luminance;
      light.solidAngle += c.solidAngle;
      cx += c.luminance * (x + 0.5);
      cy += c.luminance * (y + 0.5);
    }
  if (light.luminanceEnergy > 0) {
    cx /= light.luminanceEnergy;
    cy /= light.luminanceEnergy;
  } else {  // no energy: the region's centre
    cx = (r.x0 + r.x1) / 2.0;
    cy = (r.y0 + r.y1) / 2.0;
  }
  light.column = cx * grid.imageWidth / grid.width;
  light.row = cy * grid.imageHeight / grid.height;
  if (light.solidAngle > 0) light.meanLuminance = light.luminanceEnergy / light.solidAngle;
  return light;
}

std::vector<MedianCutLight> LightsOf(const EnergyGrid& grid, const std::vector<Region>& regions) {
  std::vector<MedianCutLight> lights;
  for (const Region& r : regions) lights.push_back(LightOf(grid, r));
  std::stable_sort(lights.begin(), lights.end(), [](const auto& a, const auto& b) {
    return a.luminanceEnergy > b.luminanceEnergy;
  });
  return lights;
}

void Check(const Image& image, float blackPoint, float whitePoint) {
  if (!image.HoldsAllPixels()) throw std::invalid_argument("the image does not hold its pixels");
  if (blackPoint == whitePoint)
    throw std::invalid_argument("the black point and the white point must differ");
}

// Cuts every region once more.
std::vector<Region> NextLevel(const EnergyGrid& grid, const std::vector<Region>& regions) {
  std::vector<Region> next;
  for (const Region& r : regions)
    for (const Region& part : Split(grid, r)) next.push_back(part);
  return next;
}

}  // namespace

std::vector<MedianCutLight> MedianCut(const Image& image, float blackPoint, float whitePoint,
                                      int count) {
  Check(image, blackPoint, whitePoint);
  if (count < 1 || (count & (count - 1)) != 0)
    throw std::invalid_argument("the light count must be a power of two");
  const EnergyGrid grid = SumGrid(image, blackPoint, whitePoint);
  std::vector<Region> regions{{0, 0, grid.width, grid.height}};
  for (int n = 1; n < count; n *= 2) regions = NextLevel(grid, regions);
  return LightsOf(grid, regions);
}

std::vector<std::vector<MedianCutLight>> MedianCutRows(const Image& image, float blackPoint,
                                                       float whitePoint) {
  Check(image, blackPoint, whitePoint);
  const EnergyGrid grid = SumGrid(image, blackPoint, whitePoint);
  std::vector<Region> regions{{0, 0, grid.width, grid.height}};
  std::vector<std::vector<MedianCutLight>> rows;
  for (int n = 1; n <= kMedianCutCounts.back(); n *= 2) {
    if (std::find(kMedianCutCounts.begin(), kMedianCutCounts.end(), n) != kMedianCutCounts.end())
      rows.push_back(LightsOf(grid, regions));
    if (n < kMedianCutCounts.back()) regions = NextLevel(grid, regions);
  }
  return rows;
}

}  // namespace halvane
