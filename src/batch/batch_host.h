#pragma once

#include <iosfwd>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "workflow/control_model.h"
#include "workflow/host.h"

namespace halvane {

// The pipeline's host: the file to open and the files to save come from the
// command line, message boxes go to the error stream, and letting events run
// echoes the log (and the progress text) when asked to.
// How the progress of long work is shown.
enum class ProgressDisplay { kNone, kLines, kInPlace };

class BatchHost : public Host {
 public:
  BatchHost(std::string imagePath, std::ostream& messages)
      : imagePath_(std::move(imagePath)), messages_(messages) {}

  void ProcessEvents() override;
  void ShowMessage(const std::string& text) override;
  // Nobody answers: yes when the command line said so beforehand (--fit),
  // else no, saying how to answer yes.
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const std::string&) override { return imagePath_; }
  std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override {
    return saveTarget_.empty() ? std::nullopt : std::optional<std::string>(saveTarget_);
  }
  std::string TimeText() override;
  double TimeOfDaySeconds() override;
  NumberFormat GetNumberFormat() override { return NumberFormat{'.', ","}; }
  void SeedRandom() override;
  int RandomInt(int range) override;
  void PreviewChanged() override {}

  void SetSaveTarget(std::string path) { saveTarget_ = std::move(path); }
  // The answer to every question.
  void AnswerYes(bool yes) { answerYes_ = yes; }
  // Every draw of 26 gives this letter's index ("A" is 0).
  void FixLetter(char letter) { fixedLetter_ = letter; }
  // Echo the controls's log lines (with `logLines`) and show the progress
  // text of status panel 2 at the moments events run: as a line per change,
  // or on a terminal as one line rewritten in place, after `progressPrefix`.
  void Echo(const ControlModel* controls, bool logLines, ProgressDisplay progress,
            std::string progressPrefix = {}) {
    controls_ = controls;
    logLines_ = logLines;
    progress_ = progress;
    progressPrefix_ = std::move(progressPrefix);
  }
  // Clears the progress line written in place, if any.
  void EndProgress();
  // Keep messages back; ReleaseMessages prints them.
  void HoldMessages(bool hold) { holdMessages_ = hold; }
  void ReleaseMessages();
  void FlushLog();
  int messageCount() const { return messageCount_; }

 private:
  std::string imagePath_;
  std::string saveTarget_;
  std::ostream& messages_;
  std::mt19937 random_;
  std::optional<char> fixedLetter_;
  int messageCount_ = 0;
  const ControlModel* controls_ = nullptr;
  std::size_t logPrinted_ = 0;
  std::string lastProgress_;
  bool logLines_ = false;
  ProgressDisplay progress_ = ProgressDisplay::kNone;
  std::string progressPrefix_;
  bool progressShown_ = false;  // a progress line in place is on the terminal
  bool holdMessages_ = false;
  bool answerYes_ = false;
  std::vector<std::string> heldMessages_;
};

// Message texts break lines with line feed plus carriage return; a terminal
// wants line feeds alone.
std::string TerminalText(const std::string& message);

}  // namespace halvane
