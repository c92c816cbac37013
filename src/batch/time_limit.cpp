#include "batch/time_limit.h"

namespace halvane {
namespace {

constexpr auto kRepeat = std::chrono::milliseconds(5);

}  // namespace

TimeLimit::TimeLimit(std::chrono::milliseconds limit, std::atomic<bool>& abortFlag)
    : deadline_(std::chrono::steady_clock::now() + limit), abortFlag_(abortFlag) {
  watcher_ = std::thread([this] { Watch(); });
}

TimeLimit::~TimeLimit() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  watcher_.join();
}

void TimeLimit::Arm(bool armed) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = armed;
  }
  wake_.notify_all();
}

void TimeLimit::Watch() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    if (!armed_) {
      wake_.wait(lock);
    } else if (std::chrono::steady_clock::now() < deadline_) {
      wake_.wait_until(lock, deadline_);
    } else {
      abortFlag_.store(true);
      reached_.store(true);
      wake_.wait_for(lock, kRepeat);
    }
  }
}

std::string SecondsText(long long milliseconds) {
  std::string text = std::to_string(milliseconds / 1000);
  if (const long long rest = milliseconds % 1000; rest != 0) {
    std::string fraction = std::to_string(1000 + rest).substr(1);
    while (fraction.back() == '0') fraction.pop_back();
    text += "." + fraction;
  }
  return text;
}

}  // namespace halvane
