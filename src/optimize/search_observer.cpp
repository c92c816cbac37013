#include "optimize/search_observer.h"

#include <cmath>

namespace halvane {
namespace {

// How far the gauge moves within one seed (divided by the seed count) while
// the open decision goes from the start to the end of the range.
constexpr long double kSeedGaugeSpan = 275.0L;

}  // namespace

void ReportSearchProgress(const SearchRun& run, const SearchResults& results,
                          const SearchObserver& observer) {
  if (run.progressIndex == 0) return;
  const long double seeds = results.seedCount > 0 ? results.seedCount : 1;
  const long double span = static_cast<long double>(run.lastIndex) - run.firstIndex;
  const long double done = static_cast<long double>(run.progressIndex) - run.firstIndex;
  const long double withinSeed = span > 0 ? done / span * kSeedGaugeSpan / seeds : 0.0L;
  observer.Gauge(
      static_cast<long long>(std::nearbyint(withinSeed + (run.seedIndex - 1.0L) / seeds * 100.0L)));
  observer.Status(run.seedLabel +
                  std::to_string(static_cast<int64_t>(run.progressIndex) - run.firstIndex) + "/" +
                  std::to_string(static_cast<int64_t>(run.lastIndex) - run.firstIndex) + ". " +
                  std::to_string(results.foundCount) + "  opt. found. " +
                  std::to_string(results.abortedCount / 1024) + "k aborted. " +
                  std::to_string(run.minLights) + " min lights found.");
}

void PreviewSearchResult(Dome& dome, const SearchRun& run, const SearchResult& result,
                         const SearchObserver& observer) {
  const uint32_t n = dome.pointCount;
  for (uint32_t i = 1; i <= n; ++i) dome.points[i].used = result.decision[i] > 0;
  const uint32_t last = run.lastIndex < n ? run.lastIndex : n;
  if (observer.preview) observer.preview(result, run.firstIndex, last);
}

}  // namespace halvane
