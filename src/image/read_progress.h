#pragma once

#include "base/progress.h"

namespace halvane {

// How far a long read has come, told to a Progress whenever the whole
// percentage of rows done changes: "Reading the image... 37%".
class RowProgress {
 public:
  RowProgress(const Progress& progress, int rows) : progress_(progress), rows_(rows) {}
  void Done(int rowsDone);

 private:
  const Progress& progress_;
  int rows_;
  int lastPercent_ = -1;
};

}  // namespace halvane
