// Shared by the "Optimize points" benchmarks: a host with a real clock, so the
// run's log lines carry real seconds, and a reader of those lines.
#pragma once

#include <chrono>
#include <optional>
#include <regex>
#include <string>

#include "support/test_host.h"
#include "workflow/control_model.h"

namespace halvane::bench {

// A test host whose time of day is a real clock.
class ClockHost : public testing::TestHost {
 public:
  double TimeOfDaySeconds() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

// Seconds and results of one level's log line.
struct LevelFigures {
  double seconds = 0;
  double found = 0;
};

// The figures of `level`'s log line, or nullopt when the run logged none. The
// seconds may carry thousands separators ("1,234.50"), which are dropped.
inline std::optional<LevelFigures> ReadLevel(const ControlModel& controls, int level) {
  static const std::regex line(
      R"(.*:          Optimize LEVEL (\d):  ([0-9,]+\.\d\d)sec\.  (\d+) +opt\. found\..*)");
  for (const std::string& text : controls.ListBox1.items) {
    std::smatch m;
    if (!std::regex_match(text, m, line) || std::stoi(m[1]) != level) continue;
    std::string seconds = m[2];
    std::erase(seconds, ',');
    return LevelFigures{std::stod(seconds), std::stod(m[3])};
  }
  return std::nullopt;
}

}  // namespace halvane::bench
