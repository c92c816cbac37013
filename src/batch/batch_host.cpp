#include "batch/batch_host.h"

#include <chrono>
#include <ctime>
#include <ostream>

namespace halvane {
namespace {

std::tm LocalNow(double* fractionOfSecond) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  if (fractionOfSecond != nullptr) {
    const auto sinceSecond = now - std::chrono::system_clock::from_time_t(t);
    *fractionOfSecond = std::chrono::duration<double>(sinceSecond).count();
  }
  return local;
}

}  // namespace

std::string TerminalText(const std::string& message) {
  std::string out;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i > 0 && message[i - 1] == '\n') continue;
    out += message[i];
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

void BatchHost::FlushLog() {
  if (controls_ == nullptr || !logLines_) return;
  const auto& log = controls_->ListBox1.items;
  if (logPrinted_ < log.size()) EndProgress();
  for (; logPrinted_ < log.size(); ++logPrinted_) messages_ << log[logPrinted_] << '\n';
}

void BatchHost::EndProgress() {
  if (!progressShown_) return;
  messages_ << "\r\x1b[K" << std::flush;  // back to the line's start, erase to its end
  progressShown_ = false;
}

void BatchHost::ProcessEvents() {
  FlushLog();
  if (controls_ == nullptr) return;
  const std::string& progress = controls_->StatusBar1.panels[2];
  if (!progress.empty() && progress != lastProgress_) {
    if (progress_ == ProgressDisplay::kLines) messages_ << progress << '\n';
    if (progress_ == ProgressDisplay::kInPlace) {
      messages_ << "\r" << progressPrefix_ << progress << "\x1b[K" << std::flush;
      progressShown_ = true;
    }
  }
  lastProgress_ = progress;
}

void BatchHost::ShowMessage(const std::string& text) {
  FlushLog();
  EndProgress();
  ++messageCount_;
  // A message box of the window, as a message of this tool about the image.
  const std::string message = "halvane-batch: " + imagePath_ + ": " + TerminalText(text);
  if (holdMessages_) {
    heldMessages_.push_back(message);
  } else {
    messages_ << message << '\n';
  }
}

bool BatchHost::AskYesNo(const std::string& text) {
  if (answerYes_) return true;
  ShowMessage(text + "\n\rNo: run with --fit to answer yes.");
  return false;
}

void BatchHost::ReleaseMessages() {
  for (const std::string& m : heldMessages_) messages_ << m << '\n';
  heldMessages_.clear();
}

std::string BatchHost::TimeText() {
  const std::tm t = LocalNow(nullptr);
  char buf[16];
  std::strftime(buf, sizeof buf, "%H:%M:%S", &t);
  return buf;
}

double BatchHost::TimeOfDaySeconds() {
  double fraction = 0;
  const std::tm t = LocalNow(&fraction);
  return t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec + fraction;
}

void BatchHost::SeedRandom() {
  random_.seed(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

int BatchHost::RandomInt(int range) {
  if (fixedLetter_ && range == 26) return *fixedLetter_ - 'A';
  if (range <= 1) return 0;
  return std::uniform_int_distribution<int>(0, range - 1)(random_);
}

}  // namespace halvane
