#pragma once

#include <optional>

#include "dome/sun_region.h"
#include "image/image.h"
#include "rig/environment_irradiance.h"

namespace halvane {

// The picture the dome samples and the rig error compares with. Usually the
// loaded image itself; with "Linear light" its linear radiance (the readers'
// power undone). With "Sun as a directional light" the dome samples that
// picture with the sun's pixels filled, while the rig error compares with the
// whole picture.
struct SampledView {
  bool linear = false;           // the colour step sampled linear radiance
  bool derived = false;          // `image` holds the environment, not the loaded image
  Image image;                   // used only when `derived`
  bool sunOption = false;        // the colour step looked for the sun
  float sunThreshold = 0.0f;     // the luminance the sun's pixels are above
  std::optional<SunRegion> sun;  // the sun found
  Image withoutSun;              // the environment with the sun filled, used only with `sun`
  std::optional<EnvironmentIrradiance> environment;  // measured on first use
};

}  // namespace halvane
