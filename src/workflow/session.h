#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "dome/dome.h"
#include "image/image.h"
#include "optimize/search_result.h"
#include "optimize/search_settings.h"
#include "preview/view_state.h"
#include "workflow/median_cut_table.h"
#include "workflow/sampled_view.h"

namespace halvane {

// All data of one working session. Created once with the window (on the heap,
// value-initialised so every member starts at zero) and never reallocated.
struct Session {
  bool imageMissing = true;
  Image image;
  std::string imageFileName;
  int imageRowsRead = 0;  // rows the file held in full; below image.height when it ended early

  Dome dome;
  SamplingSettings sampling;
  DomeStatistics statistics;
  HighlightSettings highlight;
  SearchResults results;
  SearchSettings searchSettings;
  ViewState view;
  SampledView sampled;  // what the colour step sampled, for the rig error
  MedianCutTable medianCut;

  uint8_t workflowState = 0;
  std::atomic<bool> abortRequested = false;
};

// Sessions are too large for the stack; this is the one way to make one.
inline std::unique_ptr<Session> MakeSession() {
  return std::make_unique<Session>();
}

}  // namespace halvane
