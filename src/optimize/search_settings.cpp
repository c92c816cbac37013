#include "optimize/search_settings.h"

#include <thread>

namespace halvane {

int ResolveThreadCount(int threads) {
  if (threads > 0) return threads;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace halvane
