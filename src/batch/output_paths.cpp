#include "batch/output_paths.h"

#include <ostream>

#include "base/output_file.h"
#include "batch/pipeline.h"

namespace halvane {
namespace {

bool SameOutput(const std::string& a, const std::string& b) {
  return a == b || SameFile(a, b);
}

struct PlannedOutput {
  OutputPath output;
  const std::string* image;  // the image whose run writes it
};

// "the same file as the input image", "the same file as -o rig.mel", or
// empty when `outputs[index]` clashes with nothing before it.
std::string Clash(const std::vector<std::string>& images, const std::vector<PlannedOutput>& outputs,
                  std::size_t index) {
  const std::string& path = outputs[index].output.path;
  for (const std::string& image : images)
    if (SameOutput(path, image))
      return images.size() == 1 ? "the same file as the input image"
                                : "the same file as the input image " + image;
  for (std::size_t earlier = 0; earlier < index; ++earlier) {
    const PlannedOutput& other = outputs[earlier];
    if (!SameOutput(path, other.output.path)) continue;
    std::string text = "the same file as " + other.output.option + " " + other.output.path;
    if (other.image != outputs[index].image) text += " of " + *other.image;
    return text;
  }
  return {};
}

}  // namespace

std::vector<OutputPath> OutputPaths(const BatchOptions& options) {
  std::vector<OutputPath> outputs;
  for (const std::string& path : options.outputs) outputs.push_back({"-o", path});
  if (!options.pointsCsvPath.empty()) outputs.push_back({"--points-csv", options.pointsCsvPath});
  if (!options.previewPath.empty()) outputs.push_back({"--preview", options.previewPath});
  if (!options.jsonPath.empty()) outputs.push_back({"--json", options.jsonPath});
  return outputs;
}

int CheckOutputPaths(const std::vector<BatchOptions>& runs, std::ostream& err) {
  std::vector<std::string> images;
  std::vector<PlannedOutput> outputs;
  for (const BatchOptions& run : runs) images.push_back(run.image);
  for (const BatchOptions& run : runs)
    for (OutputPath& output : OutputPaths(run)) outputs.push_back({std::move(output), &run.image});
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (const std::string clash = Clash(images, outputs, i); !clash.empty()) {
      err << "halvane-batch: cannot write " << outputs[i].output.path << ": " << clash << '\n';
      return kExitUsage;
    }
  }
  for (const PlannedOutput& planned : outputs) {
    if (const auto error = CheckOutputWritable(planned.output.path)) {
      err << "halvane-batch: " << error->Message() << '\n';
      return kExitOutputFailed;
    }
  }
  return kExitDone;
}

}  // namespace halvane
