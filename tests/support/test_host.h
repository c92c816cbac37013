#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "workflow/host.h"

namespace halvane::testing {

// A host for tests: records messages, answers file dialogs from a queue,
// tells a fixed time and can run a callback whenever events are let run.
class TestHost : public Host {
 public:
  void ProcessEvents() override {
    if (onEvents) onEvents();
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answerYes;
  }
  std::optional<std::string> ChooseOpenFile(const std::string& filter) override {
    lastFilter = filter;
    return NextAnswer();
  }
  std::optional<std::string> ChooseSaveFile(const std::string& ext,
                                            const std::string& filter) override {
    lastFilter = filter;
    lastExtension = ext;
    return NextAnswer();
  }
  std::string TimeText() override { return timeText; }
  double TimeOfDaySeconds() override { return seconds; }
  NumberFormat GetNumberFormat() override { return numberFormat; }
  void SeedRandom() override {}
  int RandomInt(int range) override { return range > 0 ? nextRandom % range : 0; }
  void PreviewChanged() override {}

  // Queues the answer of the next file dialog; nullopt means "cancelled".
  void AnswerDialog(std::optional<std::string> path) { answers.push_back(std::move(path)); }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  bool answerYes = false;
  std::deque<std::optional<std::string>> answers;
  std::string lastFilter, lastExtension;
  std::string timeText = "12:34:56";
  double seconds = 45296.0;
  NumberFormat numberFormat{'.', ","};
  int nextRandom = 0;
  std::function<void()> onEvents;

 private:
  std::optional<std::string> NextAnswer() {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace halvane::testing
