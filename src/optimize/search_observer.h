#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "dome/dome.h"
#include "optimize/search_result.h"
#include "optimize/search_run.h"

namespace halvane {

// What the window shows while a level is searched, and the flag that stops
// the search. The searches call these at the moments they choose, always on
// the thread that started them; every callback may be left empty.
struct SearchObserver {
  // The status text of the search's position in the level.
  std::function<void(const std::string& text)> status;
  // The gauge, 0..100.
  std::function<void(long long percent)> gauge;
  // A result to preview: its decisions over points first..last.
  std::function<void(const SearchResult& result, uint32_t first, uint32_t last)> preview;
  // Lets the window's events run: where a click on Abort reaches the search.
  std::function<void()> letEventsRun;
  // Once true, the search stops at its next look and keeps what it has.
  const std::atomic<bool>* cancel = nullptr;

  void Status(const std::string& text) const {
    if (status) status(text);
  }
  void Gauge(long long percent) const {
    if (gauge) gauge(percent);
  }
  void LetEventsRun() const {
    if (letEventsRun) letEventsRun();
  }
  bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
};

// Where the search is, while a decision is open: the gauge from the open
// decision's place in the seed's range and the seed's place among the
// level's seeds, and the status text with the counts so far.
void ReportSearchProgress(const SearchRun& run, const SearchResults& results,
                          const SearchObserver& observer);

// Marks the lights of `result` as the used points and previews it over the
// level's range.
void PreviewSearchResult(Dome& dome, const SearchRun& run, const SearchResult& result,
                         const SearchObserver& observer);

}  // namespace halvane
