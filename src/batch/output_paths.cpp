#include "batch/output_paths.h"

#include <ostream>

#include "base/output_file.h"
#include "batch/pipeline.h"

namespace halvane {
namespace {

bool SameOutput(const std::string& a, const std::string& b) {
  return a == b || SameFile(a, b);
}

// "the same file as the input image", "the same file as -o rig.mel", or
// empty when `outputs[index]` clashes with nothing before it.
std::string Clash(const BatchOptions& options, const std::vector<OutputPath>& outputs,
                  std::size_t index) {
  const std::string& path = outputs[index].path;
  if (SameOutput(path, options.image)) return "the same file as the input image";
  for (std::size_t earlier = 0; earlier < index; ++earlier)
    if (SameOutput(path, outputs[earlier].path))
      return "the same file as " + outputs[earlier].option + " " + outputs[earlier].path;
  return {};
}

}  // namespace

std::vector<OutputPath> OutputPaths(const BatchOptions& options) {
  std::vector<OutputPath> outputs;
  for (const std::string& path : options.outputs) outputs.push_back({"-o", path});
  if (!options.pointsCsvPath.empty()) outputs.push_back({"--points-csv", options.pointsCsvPath});
  if (!options.previewPath.empty()) outputs.push_back({"--preview", options.previewPath});
  return outputs;
}

int CheckOutputPaths(const BatchOptions& options, std::ostream& err) {
  const std::vector<OutputPath> outputs = OutputPaths(options);
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (const std::string clash = Clash(options, outputs, i); !clash.empty()) {
      err << "halvane-batch: cannot write " << outputs[i].path << ": " << clash << '\n';
      return kExitUsage;
    }
  }
  for (const OutputPath& output : outputs) {
    if (const auto error = CheckOutputWritable(output.path)) {
      err << "halvane-batch: " << error->Message() << '\n';
      return kExitOutputFailed;
    }
  }
  return kExitDone;
}

}  // namespace halvane
