#include "workflow/readout.h"

#include "preview/pointer_readout.h"

namespace halvane {
namespace {

void Show(Label& label, const std::optional<std::string>& text) {
  if (text) label.caption = *text;
}

}  // namespace

void ShowReadoutAt(const Session& s, ControlModel& controls, Host& host, int x, int y) {
  const ReadoutValues values = s.imageMissing         ? ReadoutValues::None
                               : s.workflowState >= 3 ? ReadoutValues::Light
                                                      : ReadoutValues::Image;
  const PointerReadout readout =
      ReadPointer(s.image, s.dome, s.sampling, values, x, y, host.GetNumberFormat());
  Show(controls.LabelcordX, readout.x);
  Show(controls.LabelcordY, readout.y);
  Show(controls.LabelcordR, readout.r);
  Show(controls.LabelcordG, readout.g);
  Show(controls.LabelcordB, readout.b);
  Show(controls.LabelcordLum, readout.lum);
  Show(controls.Labelmaxopt, readout.maxOpt);
}

}  // namespace halvane
