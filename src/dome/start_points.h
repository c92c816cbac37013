#pragma once

#include <string>

#include "base/progress.h"
#include "dome/dome.h"

namespace halvane {

// The geodesic grid of analysis points: the icosahedron refined level by level.

// The twelve normalised vertices of the icosahedron with their neighbours:
// the grid of level 1. Every other point record is cleared.
void StartIcosahedron(Dome& dome);

// One refinement pass: a new point at the normalised midpoint of every edge,
// then new neighbour lists. Reports the point count every 500 new points.
void Subdivide(Dome& dome, const Progress& progress);

// Neighbour lists from the distances between the directions. Reports the
// point reached every 500 points.
void RebuildNeighbours(Dome& dome, const Progress& progress);

// The pixel of a width x height latitude-longitude image that every point's
// direction looks at.
void AnalysePositions(Dome& dome, int width, int height);

// Column and row of the pixel that direction (x, y, z) looks at in a
// width x height latitude-longitude image (y up, zenith at row 0).
void DirectionToPixel(double x, double y, double z, int width, int height, int& column, int& row);

// The intensity each light of a grid of `pointCount` points starts with.
double PointIntensity(uint32_t pointCount);

// "642 points.": the size of the grid as the progress shows it.
std::string PointsText(uint32_t count);

}  // namespace halvane
