#include "workflow/display_settings.h"

namespace halvane {

DisplaySettings DisplaySettingsOf(const Session& s) {
  return DisplaySettings{s.view.viewMin, s.view.viewMax, s.view.showOutOfRange, s.view.darkenImage};
}

}  // namespace halvane
