#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dome/dome.h"
#include "image/image.h"
#include "optimize/search_result.h"
#include "rig/script_kind.h"

namespace halvane {

// Which lights a rig holds. In candidate mode they are the lights of one
// listed result; in plain mode every used point is a light.
enum class RigMode { Plain, Candidate };

// The values a script embeds for one light. The float fields are held at
// single precision before they are written; the doubles at double precision.
struct RigLight {
  uint32_t number = 0;  // the point's index, also the number in the light's name
  int level = 1;        // light level 1..6, the group the light is put under
  float peak = 0.0f;    // the largest colour component, 1 for a black light
  float normR = 0.0f, normG = 0.0f, normB = 0.0f;  // colour divided by the peak
  double grey = 0.0;
  double intensity = 0.0;
  float highlight = 0.0f;         // image luminance tested against the thresholds
  double rotX = 0.0, rotY = 0.0;  // from the point's pixel row and column
  double dirX = 0.0, dirY = 0.0, dirZ = 0.0;
  float areaScale = 0.0f;
  int areaSamples = 0;
};

// The sun as one directional light: its colour, intensity (in the units of
// the dome's lights: its pixels' energy over kIntensityToEnergy) and
// direction are held in `light` like any light's; its size is the angular
// diameter of its region. The root's multiply, saturation, visibility and
// shadow switch act on it, the clamp and the hide threshold do not.
struct RigSun {
  RigLight light;
  double angle = 0.0;  // degrees
};

// The lights of one export, in ascending point order. Numbers keep their
// gaps: absorbed and deleted points are simply left out.
struct Rig {
  ScriptKind kind = ScriptKind::Maya;  // plain mode sizes the area lights per writer
  RigMode mode = RigMode::Plain;
  std::vector<RigLight> lights;
  int subdivLevel = 0;
  int lightDistance = 100;
  std::string source;         // the image's file name, for the writers that record it
  std::optional<RigSun> sun;  // with "Sun as a directional light"
};

// The control values a rig depends on.
struct RigOptions {
  ScriptKind kind = ScriptKind::Maya;
  int selectedRow = 1;      // top row of the result table's selection
  int lightDistance = 100;  // the XSI distance parameter's default
};

// The rig of `dome`: candidate mode when `options.selectedRow` names a listed
// result, plain mode otherwise. Only the image's size is read. Throws
// std::invalid_argument when a light is to be made and the size is not
// positive.
Rig MakeRig(const Dome& dome, const Image& image, const SearchResults& results,
            const RigOptions& options);

// "N point lights from SOURCE" for a script's first comment line; control
// characters in the source name become '_', so the comment stays one line.
std::string PointLightsLine(const Rig& rig);

}  // namespace halvane
