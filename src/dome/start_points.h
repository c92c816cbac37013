#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Step 2: the geodesic grid of analysis points (a subdivided icosahedron),
// their neighbours and the image pixel each direction looks at.
void ButtonCalculateStartpointsClick(Session& session, ControlModel& controls, Host& host);

// One refinement pass: a new point at the normalised midpoint of every edge,
// then new neighbour lists.
void Subdivide(Session& session, ControlModel& controls, Host& host);

// Neighbour lists from the distances between the directions.
void RebuildNeighbours(Session& session, ControlModel& controls, Host& host);

// The latitude-longitude pixel of every point's direction.
void AnalysePositions(Session& session);

// Column and row of the pixel that direction (x, y, z) looks at in a
// width x height latitude-longitude image (y up, zenith at row 0).
void DirectionToPixel(double x, double y, double z, int width, int height, int& column, int& row);

}  // namespace halvane
