#pragma once

#include <optional>

#include "image/image.h"
#include "rig/environment_irradiance.h"

namespace halvane {

// The picture the dome samples and the rig error compares with. Usually the
// loaded image itself; with "Linear light" its linear radiance (the readers'
// power undone).
struct SampledView {
  bool linear = false;   // the colour step sampled linear radiance
  bool derived = false;  // `image` holds the sampled picture, not the loaded one
  Image image;           // used only when `derived`
  std::optional<EnvironmentIrradiance> environment;  // measured on first use
};

}  // namespace halvane
