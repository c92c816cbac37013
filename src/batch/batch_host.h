#pragma once

#include <iosfwd>
#include <random>
#include <string>
#include <vector>

#include "session/host.h"

namespace halvane {

// The pipeline's host: the file to open comes from the command line, message
// boxes go to the error stream, and there are no events to run.
class BatchHost : public Host {
 public:
  BatchHost(std::string imagePath, std::ostream& messages)
      : imagePath_(std::move(imagePath)), messages_(messages) {}

  void ProcessEvents() override { FlushLog(); }
  void ShowMessage(const std::string& text) override;
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
  // With -v, the log lines of `log` are echoed whenever events run, before
  // each message and on FlushLog.
  void EchoLog(const std::vector<std::string>* log) { log_ = log; }
  void FlushLog();
  int messageCount() const { return messageCount_; }

 private:
  std::string imagePath_;
  std::string saveTarget_;
  std::ostream& messages_;
  std::mt19937 random_;
  int messageCount_ = 0;
  const std::vector<std::string>* log_ = nullptr;
  std::size_t logPrinted_ = 0;
};

// Message texts break lines with line feed plus carriage return; a terminal
// wants line feeds alone.
std::string TerminalText(const std::string& message);

}  // namespace halvane
