#include "batch/side_outputs.h"

#include <ostream>
#include <sstream>

#include "base/output_file.h"
#include "batch/pipeline.h"
#include "batch/points_csv.h"
#include "preview/png_writer.h"
#include "workflow/redraw.h"

namespace halvane {
namespace {

int Write(const std::string& path, std::string_view bytes, std::ostream& err) {
  if (const auto error = WriteOutputFile(path, bytes)) {
    err << "halvane-batch: " << error->Message() << '\n';
    return kExitOutputFailed;
  }
  return kExitDone;
}

}  // namespace

int WriteSideOutputs(const BatchOptions& o, const Session& s, const ControlModel& controls,
                     std::ostream& err, std::vector<OutputPath>& written) {
  if (!o.pointsCsvPath.empty()) {
    std::ostringstream csv;
    WritePointsCsv(s.dome, csv);
    if (int code = Write(o.pointsCsvPath, csv.view(), err); code != kExitDone) return code;
    written.push_back({"--points-csv", o.pointsCsvPath});
  }
  if (!o.previewPath.empty()) {
    std::string png, error;
    if (!EncodePng(ShownPreview(s, controls), png, error)) {
      err << "halvane-batch: cannot write " << o.previewPath << ": " << error << '\n';
      return kExitOutputFailed;
    }
    if (int code = Write(o.previewPath, png, err); code != kExitDone) return code;
    written.push_back({"--preview", o.previewPath});
  }
  return kExitDone;
}

}  // namespace halvane
