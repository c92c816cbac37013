#include "batch/pipeline.h"

#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <memory>
#include <ostream>

#include "batch/batch_host.h"
#include "batch/image_letter.h"
#include "batch/json_report.h"
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

int ExportScripts(const BatchOptions& o, Session& s, ControlModel& controls, BatchHost& host,
                  std::vector<OutputPath>& written) {
  for (const std::string& path : o.outputs) {
    host.SetSaveTarget(path);
    ScriptKind kind = ScriptKindForPath(path).value();              // checked with the options
    if (kind == ScriptKind::Maya) kind = MayaScriptKind(controls);  // as the window's choice
    const StepOutcome outcome = ExportRig(s, controls, host, kind);
    if (outcome.status == StepStatus::kFailed) return kExitOutputFailed;
    written.push_back({"-o", path});
  }
  return kExitDone;
}

// On a terminal the progress is one line rewritten in place; elsewhere it is
// a line per change with -v and nothing without.
ProgressDisplay ProgressFor(const BatchOptions& o) {
  if (o.quiet) return ProgressDisplay::kNone;
  if (isatty(STDERR_FILENO)) return ProgressDisplay::kInPlace;
  return o.verbose ? ProgressDisplay::kLines : ProgressDisplay::kNone;
}

class Pipeline {
 public:
  Pipeline(const BatchOptions& o, std::ostream& out, std::ostream& err, ImageRecord& record)
      : o_(o),
        out_(out),
        err_(err),
        record_(record),
        session_(MakeSession()),
        s_(*session_),
        host_(o.image, err) {}

  int Run() {
    if (o_.timeLimitMs)
      timeLimit_ = std::make_unique<TimeLimit>(std::chrono::milliseconds(*o_.timeLimitMs),
                                               s_.abortRequested);
    StartSession(s_, controls_, host_);
    host_.Echo(&controls_, o_.verbose, ProgressFor(o_),
               std::filesystem::path(o_.image).filename().string() + ": ");
    host_.HoldMessages(o_.quiet);
    if (o_.letter) host_.FixLetter(*o_.letter);
    host_.AnswerYes(o_.fit);
    SetControls(o_, s_, controls_, host_);
    // Described once before the steps too, so that a run ended by an internal
    // error still has its input in the report.
    if (o_.json) record_.description = DescribeImage(o_.image, std::nullopt, s_, controls_);
    const int code = Steps();
    host_.FlushLog();
    host_.EndProgress();
    if (code != kExitDone) host_.ReleaseMessages();
    record_.exitCode = code;
    if (s_.workflowState >= 3) record_.lightCount = RigLightCount(s_, controls_);
    if (o_.json) record_.description = DescribeImage(o_.image, letter_, s_, controls_);
    return code;
  }

 private:
  // Runs one step and notes how long it took.
  template <typename Step>
  auto Timed(const char* name, Step step) {
    const auto start = std::chrono::steady_clock::now();
    auto result = step();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    record_.stepTimes.push_back({name, took.count()});
    return result;
  }

  int Steps() {
    const StepOutcome loaded = Timed("load", [&] { return LoadImage(s_, controls_, host_); });
    if (!loaded.done()) {
      Message(loaded.message);
      return kExitUnreadable;
    }
    // One letter for every output of this image, unless --letter fixed it.
    letter_ = o_.letter ? o_.letter : ImageFileLetter(o_.image);
    if (letter_) host_.FixLetter(*letter_);
    if (const std::string shortFile = ShortFileText(s_); !shortFile.empty()) {
      if (int code = Warn(MessageWords(shortFile)); code != kExitDone) return code;
    }
    // The image is loaded: placing the points cannot fail.
    Timed("placePoints", [&] { return PlacePoints(s_, controls_, host_); });
    if (!Timed("applyColours", [&] { return ApplyColour(s_, controls_, host_); }).done())
      return kExitUsage;  // black point = white point
    if (o_.increase) {
      if (o_.lumTolerance) controls_.EditLumTolerance.text = *o_.lumTolerance;
      if (o_.lumToleranceNeighbour)
        controls_.EditLumToleranceNeighbour.text = *o_.lumToleranceNeighbour;
      if (!Timed("boostHighlights", [&] { return BoostHighlights(s_, controls_, host_); }).done())
        return kExitUsage;
    }
    if (!o_.noOptimize) {
      if (int code = Timed("optimize", [&] { return o_.medianCut ? MedianCut() : Optimize(); });
          code != kExitDone)
        return code;
    }
    if (o_.reduce) Timed("reduceLights", [&] { return ReduceLights(s_, controls_, host_); });
    if (o_.collapseGroup || o_.collapseThreshold) {
      if (o_.collapseThreshold) controls_.EditRedThreshold.text = *o_.collapseThreshold;
      Timed("collapseLights", [&] { return CollapseLights(s_, controls_, host_); });
    }
    if (o_.printError) PrintRigError();
    return Timed("export", [&] {
      if (int code = ExportScripts(o_, s_, controls_, host_, record_.written); code != kExitDone)
        return code;
      return WriteSideOutputs(o_, s_, controls_, err_, record_.written);
    });
  }

  // A message of the run on its own line, after the progress line.
  void Message(const std::string& text) {
    host_.EndProgress();
    err_ << "halvane-batch: " << text << '\n';
  }

  // The error of the rig the outputs get, as the window's log line says it.
  void PrintRigError() {
    if (const auto line = ShowRigError(s_, controls_, host_))
      (o_.json ? err_ : out_) << *line << '\n';  // standard output holds the JSON
  }

  // Prints a warning about the image; with --strict it is the failure that
  // ends the run.
  int Warn(const std::string& text) {
    host_.FlushLog();
    if (o_.strict || !o_.quiet) Message(o_.image + ": " + text);
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
      Message(o_.image + ": " + optimized.message);
      return kExitUsage;
    }
    if (timeLimit_ && timeLimit_->reached() && optimized.status == StepStatus::kAborted) {
      if (int code = ReportTimeLimit(); code != kExitDone) return code;
    }
    if (o_.table) {
      host_.EndProgress();
      PrintTable(controls_, out_);
    }
    if (o_.row != controls_.GridOptimized.selectedRow) {
      controls_.GridOptimized.selectedRow = o_.row;
      if (ChooseResult(s_, controls_, host_).status == StepStatus::kNotRun) {
        Message(o_.image + ": --row " + std::to_string(o_.row) + ": the table has " +
                std::to_string(s_.results.count) + " rows");
        return kExitUsage;
      }
    }
    return kExitDone;
  }

  const BatchOptions& o_;
  std::ostream& out_;
  std::ostream& err_;
  ImageRecord& record_;
  std::optional<char> letter_;  // the light name letter of every output
  std::unique_ptr<Session> session_;
  Session& s_;
  ControlModel controls_;
  BatchHost host_;
  std::unique_ptr<TimeLimit> timeLimit_;
};

}  // namespace

int RunPipeline(const BatchOptions& options, std::ostream& out, std::ostream& err,
                ImageRecord& record) {
  record.image = options.image;
  return Pipeline(options, out, err, record).Run();
}

}  // namespace halvane
