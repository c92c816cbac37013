#include "workflow/sampled_image.h"

#include <cmath>

#include "dome/sun_region.h"
#include "image/image_file_types.h"

namespace halvane {

bool ReaderAppliesPower(const std::string& path) {
  const std::string extension = FileExtension(path);
  return extension == ".HDR" || extension == ".EXR";
}

Image LinearImage(const Image& powered) {
  Image linear = powered;
  for (float& v : linear.pixels)
    v = v > 0.0f ? static_cast<float>(std::pow(static_cast<long double>(v), 2.2L)) : v;
  return linear;
}

namespace {

// Finds the sun in the environment and fills its pixels for the dome.
void PrepareSun(Session& s, const ControlModel& controls) {
  SampledView& view = s.sampled;
  view.sunOption = controls.CheckSunLight.checked;
  view.sun.reset();
  view.withoutSun = Image{};
  const Image& environment = EnvironmentImage(s);
  if (!view.sunOption || !environment.HoldsAllPixels()) return;  // a short file has no sun
  const int chosen = controls.SpinSunThreshold.value;
  view.sunThreshold = chosen > 0 ? static_cast<float>(chosen) : DefaultSunThreshold(environment);
  view.sun = FindSun(environment, view.sunThreshold, s.sampling.blackPoint, s.sampling.whitePoint);
  if (view.sun) view.withoutSun = FillSunRegion(environment, *view.sun);
}

}  // namespace

const Image& PrepareSampledImage(Session& s, const ControlModel& controls) {
  SampledView& view = s.sampled;
  view.environment.reset();
  view.linear = controls.CheckLinearLight.checked;
  view.derived = view.linear && ReaderAppliesPower(s.imageFileName);
  view.image = view.derived ? LinearImage(s.image) : Image{};
  PrepareSun(s, controls);
  return SampledImage(s);
}

const Image& SampledImage(const Session& s) {
  return s.sampled.sun ? s.sampled.withoutSun : EnvironmentImage(s);
}

const Image& EnvironmentImage(const Session& s) {
  return s.sampled.derived ? s.sampled.image : s.image;
}

}  // namespace halvane
