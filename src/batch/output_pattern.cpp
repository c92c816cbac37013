#include "batch/output_pattern.h"

#include <filesystem>

namespace halvane {
namespace {

bool HasStem(const std::string& pattern) {
  return pattern.find(kStemField) != std::string::npos;
}

std::string Expand(std::string pattern, const std::string& stem) {
  const std::string field = kStemField;
  for (std::size_t at = pattern.find(field); at != std::string::npos;
       at = pattern.find(field, at + stem.size()))
    pattern.replace(at, field.size(), stem);
  return pattern;
}

}  // namespace

std::string OutputPatternProblem(const BatchOptions& o) {
  if (o.images.size() < 2) return {};
  const auto problem = [](const std::string& option, const std::string& pattern) {
    return option + " " + pattern + ": needs " + kStemField +
           " in the name when more than one image is given";
  };
  for (const std::string& output : o.outputs)
    if (!HasStem(output)) return problem("-o", output);
  if (!o.pointsCsvPath.empty() && !HasStem(o.pointsCsvPath))
    return problem("--points-csv", o.pointsCsvPath);
  if (!o.previewPath.empty() && !HasStem(o.previewPath)) return problem("--preview", o.previewPath);
  if (!o.jsonPath.empty() && !HasStem(o.jsonPath)) return problem("--json", o.jsonPath);
  return {};
}

BatchOptions OptionsForImage(const BatchOptions& options, const std::string& image) {
  BatchOptions run = options;
  run.image = image;
  const std::string stem = std::filesystem::path(image).stem().string();
  for (std::string& output : run.outputs) output = Expand(output, stem);
  run.pointsCsvPath = Expand(run.pointsCsvPath, stem);
  run.previewPath = Expand(run.previewPath, stem);
  run.jsonPath = Expand(run.jsonPath, stem);
  return run;
}

}  // namespace halvane
