#pragma once

#include "dome/dome.h"
#include "optimize/search_result.h"

namespace halvane {

// Switches off every light whose luminance is below `threshold`.
void SwitchOffDimLights(Dome& dome, float threshold);

struct MergeSettings {
  int smallestGroup = 2;   // lights a group needs, 2..7 (other values: the nearest)
  float tolerance = 0.0f;  // largest luminance difference to the group's centre, exclusive
};

// Merges each single light of `chosen` with those of its neighbours whose
// luminance lies within the tolerance, when the group holds at least
// `smallestGroup` lights. Larger groups are formed first. The merged light
// keeps the summed colour and luminance; a group of four or more becomes a
// level-2 light.
void MergeSimilarLights(Dome& dome, const SearchResult& chosen, const MergeSettings& settings);

}  // namespace halvane
