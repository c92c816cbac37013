#pragma once

#include <string>

namespace halvane {

// What became of a user action. The window and the batch tool act on it
// instead of guessing from the session.
enum class StepStatus {
  kDone,     // the step ran and its outcome is visible
  kNotRun,   // its entry condition failed (no image yet, nothing chosen, ...)
  kFailed,   // it ran and failed; `message` says why, naming the file
  kAborted,  // the user (or a time limit) stopped it; what it had is kept
};

struct StepOutcome {
  StepStatus status = StepStatus::kDone;
  std::string message;

  static StepOutcome Done() { return {}; }
  static StepOutcome NotRun(std::string why) { return {StepStatus::kNotRun, std::move(why)}; }
  static StepOutcome Failed(std::string why) { return {StepStatus::kFailed, std::move(why)}; }
  static StepOutcome Aborted() { return {StepStatus::kAborted, {}}; }
  bool done() const { return status == StepStatus::kDone; }
};

}  // namespace halvane
