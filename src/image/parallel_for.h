#pragma once

#include <functional>

namespace halvane {

// The threads to use for `requested` (0: one per core).
int ThreadCount(int requested);

// Runs task(i) for every i in 0..count-1 on up to `threads` threads, the
// calling one among them; each thread takes the next i until none is left.
// The first exception a task throws stops the rest and is thrown again here.
void ParallelFor(int count, int threads, const std::function<void(int)>& task);

}  // namespace halvane
