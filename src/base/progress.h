#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace halvane {

// How long work shows how far it has come and learns that it should stop.
// `report` is called at the moments the work chooses (its status text and,
// when known, the fraction done, else a negative value); `cancel`, when set,
// is read between units of work, and the work returns early once it is true.
struct Progress {
  std::function<void(const std::string& text, double fraction)> report;
  const std::atomic<bool>* cancel = nullptr;

  void Report(const std::string& text, double fraction = -1.0) const {
    if (report) report(text, fraction);
  }
  bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
};

}  // namespace halvane
