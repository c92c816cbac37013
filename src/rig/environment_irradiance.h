#pragma once

#include <array>
#include <vector>

#include "image/image.h"

namespace halvane {

// A unit direction, y up, in the dome's latitude-longitude frame.
struct Direction {
  double x = 0.0, y = 0.0, z = 0.0;
};

using RgbValue = std::array<double, 3>;  // red, green, blue

// The surface normals the rig error is measured on: `count` points of a
// Fibonacci sphere, the same every run.
std::vector<Direction> FibonacciNormals(int count);
constexpr int kErrorNormalCount = 2000;

// The direction through the continuous image position (column, row): column
// 0 looks along (0, 0, -1), rising columns turn towards -x, row 0 is the
// zenith and row `height` the nadir; the inverse of the dome's pixel mapping.
Direction DirectionOfImagePosition(double column, double row, int width, int height);

// The largest grid the environment is summed on before its irradiance is
// evaluated: enough for diffuse light, small enough for milliseconds per rig.
constexpr int kIrradianceGridWidth = 512;
constexpr int kIrradianceGridHeight = 256;

// The environment's diffuse irradiance on fixed normals, from the image as
// the dome samples it (each channel normalised with the black and white
// point). `energy` holds the environment's radiance times solid angle, summed
// over the cells of a grid of at most 512 x 256.
struct EnvironmentIrradiance {
  std::vector<Direction> normals;
  std::vector<RgbValue> irradiance;  // one per normal
  std::vector<Direction> cellDirections;
  std::vector<RgbValue> cellEnergy;  // radiance x steradians per cell
};

// Throws std::invalid_argument when the image does not hold all its pixels
// or the black and white points are equal.
EnvironmentIrradiance MeasureEnvironment(const Image& image, float blackPoint, float whitePoint,
                                         int threads = 0);

// The irradiance on `normal` of a set of directional sources.
RgbValue IrradianceOf(const Direction& normal, const std::vector<Direction>& directions,
                      const std::vector<RgbValue>& energies);

}  // namespace halvane
