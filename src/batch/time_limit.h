#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace halvane {

// Stops the optimization as the Abort button does once the run has taken
// `limit`, counted from the construction. A watcher thread sets the abort
// flag while armed; as the step clears the flag when it starts, the watcher
// sets it again every few milliseconds until it is disarmed.
class TimeLimit {
 public:
  TimeLimit(std::chrono::milliseconds limit, std::atomic<bool>& abortFlag);
  ~TimeLimit();
  TimeLimit(const TimeLimit&) = delete;
  TimeLimit& operator=(const TimeLimit&) = delete;

  void Arm(bool armed);
  // Whether the limit set the abort flag while armed.
  bool reached() const { return reached_.load(); }

 private:
  void Watch();

  std::chrono::steady_clock::time_point deadline_;
  std::atomic<bool>& abortFlag_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool armed_ = false;
  bool stopping_ = false;
  std::atomic<bool> reached_{false};
  std::thread watcher_;
};

// Milliseconds as seconds for a message: "30", "0.25".
std::string SecondsText(long long milliseconds);

}  // namespace halvane
