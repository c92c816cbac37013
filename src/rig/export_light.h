#pragma once

#include <cstdint>

#include "rig/export_selection.h"
#include "rig/script_kind.h"
#include "workflow/session.h"

namespace halvane {

// The values both scripts embed for one light. The float fields are held at
// single precision before they are written; the doubles at double precision.
struct ExportLight {
  uint32_t index = 0;  // point index, also the number in the light's name
  int level = 1;       // light level 1..6, the group the light is put under
  float peak = 0.0f;
  float normR = 0.0f, normG = 0.0f, normB = 0.0f;
  double grey = 0.0;
  double intensity = 0.0;
  float highlight = 0.0f;  // image luminance tested against the thresholds
  double rotX = 0.0, rotY = 0.0;
  double dirX = 0.0, dirY = 0.0, dirZ = 0.0;
  float areaScale = 0.0f;
  int areaSamples = 0;
};

// Angular spacing of neighbouring points at a sphere subdivision level.
long double AreaSpacing(int subdivLevel);

// The level a light is grouped, sized and sampled by. Only 1..6 name a
// group; any other stored level (0 for points never part of a chosen
// optimization) counts as a single point, level 1.
int EffectiveLevel(int32_t storedLevel);

// Computes the exported values of point `index` for a script of `kind`.
// Throws std::invalid_argument when the image size is not positive.
ExportLight MakeExportLight(const Session& session, uint32_t index,
                            const ExportSelection& selection, ScriptKind kind);

}  // namespace halvane
