#include "image/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace halvane {

int ThreadCount(int requested) {
  if (requested > 0) return requested;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void ParallelFor(int count, int threads, const std::function<void(int)>& task) {
  std::atomic<int> next{0};
  std::mutex failureLock;
  std::exception_ptr failure;
  const auto work = [&] {
    try {
      for (int i = next++; i < count; i = next++) task(i);
    } catch (...) {
      next = count;  // the others stop after their current task
      const std::lock_guard<std::mutex> lock(failureLock);
      if (!failure) failure = std::current_exception();
    }
  };
  const int helpers = std::min(threads, count) - 1;
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(std::max(helpers, 0)));
  try {
    for (int t = 0; t < helpers; ++t) pool.emplace_back(work);
  } catch (const std::system_error&) {
    // Fewer helpers than asked for: the threads there are share the work.
  }
  work();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace halvane
