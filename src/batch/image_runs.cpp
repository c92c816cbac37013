#include "batch/image_runs.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <ostream>
#include <vector>

#include "base/output_file.h"
#include "batch/json_report.h"
#include "batch/output_paths.h"
#include "batch/output_pattern.h"
#include "batch/pipeline.h"

namespace halvane {
namespace {

double TotalSeconds(const ImageRecord& record) {
  double total = 0.0;
  for (const StepTime& t : record.stepTimes) total += t.seconds;
  return total;
}

// "sky.hdr: 89 lights, 2 files written in 7.4 s" or "sky.hdr: failed (exit status 3)".
std::string ImageLine(const ImageRecord& record) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f", TotalSeconds(record));
  if (record.exitCode != kExitDone)
    return record.image + ": failed (exit status " + std::to_string(record.exitCode) + ")";
  const std::size_t files = record.written.size();
  return record.image + ": " + std::to_string(record.lightCount) + " lights, " +
         std::to_string(files) + (files == 1 ? " file" : " files") + " written in " + seconds +
         " s";
}

// Runs one image; an exception is that image's internal error.
int RunOne(const BatchOptions& run, std::ostream& out, std::ostream& err, ImageRecord& record) {
  try {
    return RunPipeline(run, out, err, record);
  } catch (const std::exception& e) {
    err << "halvane-batch: " << run.image << ": internal error: " << e.what() << '\n';
    record.exitCode = kExitInternalError;
    return kExitInternalError;
  }
}

// Writes the --json file of one image through the safe writer.
int WriteJsonFile(const std::string& path, ImageRecord& record, std::ostream& err) {
  const std::string document = JsonDocument({record});
  if (const auto error = WriteOutputFile(path, document)) {
    err << "halvane-batch: " << error->Message() << '\n';
    return kExitOutputFailed;
  }
  record.written.push_back({"--json", path});
  return kExitDone;
}

}  // namespace

int RunImages(const BatchOptions& options, std::ostream& out, std::ostream& err) {
  std::vector<BatchOptions> runs;
  for (const std::string& image : options.images) runs.push_back(OptionsForImage(options, image));
  if (const int code = CheckOutputPaths(runs, err); code != kExitDone) return code;

  const bool several = runs.size() > 1;
  std::vector<ImageRecord> records(runs.size());
  int worst = kExitDone;
  int failed = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    int code = RunOne(runs[i], out, err, records[i]);
    if (code == kExitDone && !runs[i].jsonPath.empty())
      code = records[i].exitCode = WriteJsonFile(runs[i].jsonPath, records[i], err);
    worst = std::max(worst, code);
    if (code != kExitDone) ++failed;
    if (several && (!options.quiet || code != kExitDone))
      err << "halvane-batch: " << ImageLine(records[i]) << '\n';
  }
  if (several && (!options.quiet || failed > 0))
    err << "halvane-batch: " << runs.size() << " images: " << runs.size() - failed << " done, "
        << failed << " failed\n";
  if (options.json && options.jsonPath.empty()) out << JsonDocument(records);
  return worst;
}

}  // namespace halvane
