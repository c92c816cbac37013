#include "workflow/sampled_image.h"

#include <cmath>

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

const Image& PrepareSampledImage(Session& s, const ControlModel& controls) {
  SampledView& view = s.sampled;
  view.environment.reset();
  view.linear = controls.CheckLinearLight.checked;
  view.derived = view.linear && ReaderAppliesPower(s.imageFileName);
  view.image = view.derived ? LinearImage(s.image) : Image{};
  return SampledImage(s);
}

const Image& SampledImage(const Session& s) {
  return s.sampled.derived ? s.sampled.image : s.image;
}

}  // namespace halvane
