#include "batch/pipeline.h"

#include <fstream>
#include <ostream>

#include "batch/batch_host.h"
#include "batch/image_letter.h"
#include "batch/points_csv.h"
#include "optimize/result_table.h"
#include "optimize/search_settings.h"
#include "preview/png_writer.h"
#include "rig/script_kind.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/choose_result.h"
#include "workflow/export_rig.h"
#include "workflow/finetune.h"
#include "workflow/highlight_sliders.h"
#include "workflow/load_image.h"
#include "workflow/optimize_points.h"
#include "workflow/place_points.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

// Sets the controls the way a user would before pressing the step buttons.
void SetControls(const BatchOptions& o, Session& s, ControlModel& controls, Host& host) {
  if (o.resolution) {
    controls.SpinPointIteration.value = *o.resolution;
    ProposeSearchSettings(s, controls);
  }
  if (o.black) controls.EditBlack.text = *o.black;
  if (o.white) controls.EditWhite.text = *o.white;
  if (o.clamp) controls.EditClampwhite.text = *o.clamp;
  if (o.lumIterations) controls.SpinLumIterations.value = *o.lumIterations;
  if (o.lumValue) {
    controls.TrackLumValue.position = *o.lumValue;
    ShowHighlightValue(s, controls, host);
  }
  if (o.lumPower) {
    controls.TrackLumPower.position = *o.lumPower;
    ShowHighlightPower(s, controls, host);
  }
  if (o.lumColor) {
    controls.TrackLumR.position = (*o.lumColor)[0];
    controls.TrackLumG.position = (*o.lumColor)[1];
    controls.TrackLumB.position = (*o.lumColor)[2];
    ShowHighlightColour(s, controls, host);
  }
  if (o.maxReduction) controls.SpinOptMaxRed.value = *o.maxReduction;
  if (o.level1Points) controls.SpinOptLevel1.value = *o.level1Points;
  if (o.level1MaxLights) controls.SpinOptLevel1_min.value = *o.level1MaxLights;
  controls.CheckOptHalt1.checked = o.haltAfterLevel1;
  if (o.threads) s.searchSettings.threads = *o.threads;
  if (o.reduce) {
    controls.TrackRedLum.position = *o.reduce;
    ShowReduceThreshold(controls, host);
  }
  if (o.collapseGroup) controls.SpinRedGroupNr.value = *o.collapseGroup;
  if (o.distance) controls.SpinLightDistance.value = *o.distance;
  controls.RadioMayaRenderer.itemIndex =
      o.mayaRenderer == MayaRenderer::Arnold ? kMayaRendererArnold : kMayaRendererMentalRay;
}

void PrintTable(const ControlModel& controls, std::ostream& out) {
  const StringGrid& grid = controls.GridOptimized;
  for (int row = 0; row < grid.rowCount; ++row) {
    for (int col = 0; col < 6; ++col) out << (col > 0 ? "\t" : "") << grid.Cell(col, row);
    out << '\n';
  }
}

int WriteFiles(const BatchOptions& o, const Session& s, const ControlModel& controls,
               std::ostream& err) {
  if (!o.pointsCsvPath.empty()) {
    std::ofstream csv(o.pointsCsvPath, std::ios::binary | std::ios::trunc);
    if (csv) WritePointsCsv(s.dome, csv);
    if (!csv) {
      err << "halvane-batch: cannot write " << o.pointsCsvPath << '\n';
      return kExitOutputFailed;
    }
  }
  if (!o.previewPath.empty()) {
    std::string error;
    if (!WritePng(ShownPreview(s, controls), o.previewPath, error)) {
      err << "halvane-batch: cannot write " << o.previewPath << ": " << error << '\n';
      return kExitOutputFailed;
    }
  }
  return kExitDone;
}

int ExportScripts(const BatchOptions& o, Session& s, ControlModel& controls, BatchHost& host) {
  for (const std::string& path : o.outputs) {
    host.SetSaveTarget(path);
    ScriptKind kind = ScriptKindForPath(path).value();              // checked with the options
    if (kind == ScriptKind::Maya) kind = MayaScriptKind(controls);  // as the window's choice
    const StepOutcome outcome = ExportRig(s, controls, host, kind);
    if (outcome.status == StepStatus::kFailed) return kExitOutputFailed;
  }
  return kExitDone;
}

class Pipeline {
 public:
  Pipeline(const BatchOptions& o, std::ostream& out, std::ostream& err)
      : o_(o), out_(out), err_(err), session_(MakeSession()), s_(*session_), host_(o.image, err) {}

  int Run() {
    StartSession(s_, controls_, host_);
    if (o_.verbose) host_.Echo(&controls_);
    host_.HoldMessages(o_.quiet);
    if (o_.letter) host_.FixLetter(*o_.letter);
    host_.AnswerYes(o_.fit);
    SetControls(o_, s_, controls_, host_);
    const int code = Steps();
    host_.FlushLog();
    if (code != kExitDone) host_.ReleaseMessages();
    return code;
  }

 private:
  int Steps() {
    if (const StepOutcome loaded = LoadImage(s_, controls_, host_); !loaded.done()) {
      err_ << "halvane-batch: " << loaded.message << '\n';
      return kExitUnreadable;
    }
    // One letter for every output of this image, unless --letter fixed it.
    if (!o_.letter)
      if (const auto letter = ImageFileLetter(o_.image)) host_.FixLetter(*letter);
    PlacePoints(s_, controls_, host_);  // the image is loaded: it cannot fail
    if (!ApplyColour(s_, controls_, host_).done()) return kExitUsage;  // black point = white point
    if (o_.increase) {
      if (o_.lumTolerance) controls_.EditLumTolerance.text = *o_.lumTolerance;
      if (o_.lumToleranceNeighbour)
        controls_.EditLumToleranceNeighbour.text = *o_.lumToleranceNeighbour;
      if (!BoostHighlights(s_, controls_, host_).done()) return kExitUsage;
    }
    if (!o_.noOptimize) {
      if (int code = Optimize(); code != kExitDone) return code;
    }
    if (o_.reduce) ReduceLights(s_, controls_, host_);
    if (o_.collapseGroup || o_.collapseThreshold) {
      if (o_.collapseThreshold) controls_.EditRedThreshold.text = *o_.collapseThreshold;
      CollapseLights(s_, controls_, host_);
    }
    if (int code = ExportScripts(o_, s_, controls_, host_); code != kExitDone) return code;
    return WriteFiles(o_, s_, controls_, err_);
  }

  // A run halted after level 1 ends as aborted and lists its results too.
  int Optimize() {
    if (o_.threshold) controls_.EditOptThreshold.text = *o_.threshold;
    const StepOutcome optimized = OptimizePoints(s_, controls_, host_);
    if (!optimized.done() && optimized.status != StepStatus::kAborted) {
      err_ << "halvane-batch: " << optimized.message << '\n';
      return kExitUsage;
    }
    if (o_.table) PrintTable(controls_, out_);
    if (o_.row != controls_.GridOptimized.selectedRow) {
      controls_.GridOptimized.selectedRow = o_.row;
      if (ChooseResult(s_, controls_, host_).status == StepStatus::kNotRun) {
        err_ << "halvane-batch: --row " << o_.row << ": the table has " << s_.results.count
             << " rows\n";
        return kExitUsage;
      }
    }
    return kExitDone;
  }

  const BatchOptions& o_;
  std::ostream& out_;
  std::ostream& err_;
  std::unique_ptr<Session> session_;
  Session& s_;
  ControlModel controls_;
  BatchHost host_;
};

}  // namespace

int RunPipeline(const BatchOptions& options, std::ostream& out, std::ostream& err) {
  return Pipeline(options, out, err).Run();
}

}  // namespace halvane
