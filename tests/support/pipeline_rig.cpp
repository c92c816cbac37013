#include "support/pipeline_rig.h"

#include <filesystem>
#include <stdexcept>

#include "support/image_files.h"
#include "support/test_host.h"
#include "workflow/apply_colour.h"
#include "workflow/load_image.h"
#include "workflow/optimize_points.h"
#include "workflow/place_points.h"
#include "workflow/workflow.h"

namespace halvane::testing {

Rig PipelineRig(const std::string& imagePath, ScriptKind kind, bool optimize) {
  auto session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  TestHost host;
  StartSession(s, controls, host);
  host.AnswerDialog(imagePath);
  if (!LoadImage(s, controls, host).done()) throw std::runtime_error("cannot load " + imagePath);
  PlacePoints(s, controls, host);
  if (!ApplyColour(s, controls, host).done()) throw std::runtime_error("no colours");
  if (optimize) OptimizePoints(s, controls, host);
  const int row = optimize ? controls.GridOptimized.selectedRow : 0;
  Rig rig = MakeRig(s.dome, s.image, s.results, {kind, row, controls.SpinLightDistance.value});
  rig.source = std::filesystem::path(imagePath).filename().string();
  return rig;
}

void WriteBrightPixelImage(const std::string& path, int column, int row) {
  constexpr int kWidth = 128, kHeight = 64;
  std::vector<Rgbe> pixels(kWidth * kHeight, Rgbe{0, 0, 0, 0});
  pixels.at(static_cast<std::size_t>(row * kWidth + column)) = Rgbe{128, 128, 128, 138};
  WriteFile(path, FlatRadiance(kWidth, kHeight, pixels));
}

}  // namespace halvane::testing
