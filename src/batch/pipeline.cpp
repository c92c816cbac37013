#include "batch/pipeline.h"

#include <memory>
#include <ostream>

#include "batch/batch_host.h"
#include "batch/image_letter.h"
#include "batch/points_csv.h"
#include "batch/side_outputs.h"
#include "batch/time_limit.h"
#include "optimize/result_table.h"
#include "optimize/search_settings.h"
#include "rig/script_kind.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/choose_result.h"
#include "workflow/export_rig.h"
#include "workflow/finetune.h"
#include "workflow/highlight_sliders.h"
#include "workflow/image_file_problems.h"
#include "workflow/load_image.h"
#include "workflow/median_cut_step.h"
#include "workflow/optimize_points.h"
#include "workflow/place_points.h"
#include "workflow/redraw.h"
#include "workflow/rig_error_display.h"
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
  controls.CheckLinearLight.checked = o.linear;
  controls.CheckSunLight.checked = o.sun;
  if (o.sunThreshold) controls.SpinSunThreshold.value = *o.sunThreshold;
  controls.RadioMayaRenderer.itemIndex =
      o.mayaRenderer == MayaRenderer::Arnold ? kMayaRendererArnold : kMayaRendererMentalRay;
}

// Median cut rows add their rig error column.
void PrintTable(const ControlModel& controls, std::ostream& out, bool medianCut = false) {
  const StringGrid& grid = controls.GridOptimized;
  const int columns = medianCut ? kRigErrorColumn + 1 : 6;
  for (int row = 0; row < grid.rowCount; ++row) {
    for (int col = 0; col < columns; ++col) out << (col > 0 ? "\t" : "") << grid.Cell(col, row);
    out << '\n';
  }
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
    if (o_.timeLimitMs)
      timeLimit_ = std::make_unique<TimeLimit>(std::chrono::milliseconds(*o_.timeLimitMs),
                                               s_.abortRequested);
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
    if (const std::string shortFile = ShortFileText(s_); !shortFile.empty()) {
      if (int code = Warn(MessageWords(shortFile)); code != kExitDone) return code;
    }
    PlacePoints(s_, controls_, host_);  // the image is loaded: it cannot fail
    if (!ApplyColour(s_, controls_, host_).done()) return kExitUsage;  // black point = white point
    if (o_.increase) {
      if (o_.lumTolerance) controls_.EditLumTolerance.text = *o_.lumTolerance;
      if (o_.lumToleranceNeighbour)
        controls_.EditLumToleranceNeighbour.text = *o_.lumToleranceNeighbour;
      if (!BoostHighlights(s_, controls_, host_).done()) return kExitUsage;
    }
    if (!o_.noOptimize) {
      if (int code = o_.medianCut ? MedianCut() : Optimize(); code != kExitDone) return code;
    }
    if (o_.reduce) ReduceLights(s_, controls_, host_);
    if (o_.collapseGroup || o_.collapseThreshold) {
      if (o_.collapseThreshold) controls_.EditRedThreshold.text = *o_.collapseThreshold;
      CollapseLights(s_, controls_, host_);
    }
    if (o_.printError) PrintRigError();
    if (int code = ExportScripts(o_, s_, controls_, host_); code != kExitDone) return code;
    return WriteSideOutputs(o_, s_, controls_, err_);
  }

  // The error of the rig the outputs get, as the window's log line says it.
  void PrintRigError() {
    if (const auto line = ShowRigError(s_, controls_, host_)) out_ << *line << '\n';
  }

  // Prints a warning about the image; with --strict it is the failure that
  // ends the run.
  int Warn(const std::string& text) {
    host_.FlushLog();
    if (o_.strict || !o_.quiet) err_ << "halvane-batch: " << o_.image << ": " << text << '\n';
    return o_.strict ? kExitUnreadable : kExitDone;
  }

  // A log sentence as a part of a message: lower case first, no full stop.
  static std::string MessageWords(std::string text) {
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
      text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
  }

  int ReportTimeLimit() {
    const int level = controls_.RadioLevelNr.itemIndex + 1;
    return Warn("time limit " + SecondsText(*o_.timeLimitMs) + " s reached in level " +
                std::to_string(level) +
                (o_.strict ? "; nothing written" : "; results so far kept"));
  }

  // The median cut rows, the one with --lights lights chosen.
  int MedianCut() {
    if (!RunMedianCut(s_, controls_, host_).done()) return kExitUsage;
    if (o_.table) PrintTable(controls_, out_, true);
    const auto& rows = s_.medianCut.rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (kMedianCutCounts[i] == o_.lights)
        controls_.GridOptimized.selectedRow = static_cast<int>(i) + 1;
    ChooseMedianCutRow(s_, controls_, host_);
    return kExitDone;
  }

  // A run halted after level 1 ends as aborted and lists its results too.
  int Optimize() {
    if (o_.threshold) controls_.EditOptThreshold.text = *o_.threshold;
    if (timeLimit_) timeLimit_->Arm(true);
    const StepOutcome optimized = OptimizePoints(s_, controls_, host_);
    if (timeLimit_) timeLimit_->Arm(false);
    if (!optimized.done() && optimized.status != StepStatus::kAborted) {
      err_ << "halvane-batch: " << optimized.message << '\n';
      return kExitUsage;
    }
    if (timeLimit_ && timeLimit_->reached() && optimized.status == StepStatus::kAborted) {
      if (int code = ReportTimeLimit(); code != kExitDone) return code;
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
  std::unique_ptr<TimeLimit> timeLimit_;
};

}  // namespace

int RunPipeline(const BatchOptions& options, std::ostream& out, std::ostream& err) {
  return Pipeline(options, out, err).Run();
}

}  // namespace halvane
