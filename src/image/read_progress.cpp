#include "image/read_progress.h"

#include <cstdint>
#include <string>

namespace halvane {

void RowProgress::Done(int rowsDone) {
  if (rows_ <= 0) return;
  const int percent = static_cast<int>(int64_t{rowsDone} * 100 / rows_);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  progress_.Report("Reading the image... " + std::to_string(percent) + "%",
                   static_cast<double>(rowsDone) / rows_);
}

}  // namespace halvane
