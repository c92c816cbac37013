#include "workflow/rig_error_display.h"

#include "workflow/chosen_rig.h"
#include "workflow/sampled_image.h"
#include "workflow/workflow.h"

namespace halvane {

const EnvironmentIrradiance& SampledEnvironment(Session& s) {
  if (!s.sampled.environment)
    s.sampled.environment =
        MeasureEnvironment(EnvironmentImage(s), s.sampling.blackPoint, s.sampling.whitePoint);
  return *s.sampled.environment;
}

std::optional<RigError> ChosenRigError(Session& s, const ControlModel& controls) {
  if (s.workflowState < 3) return std::nullopt;
  return MeasureRigError(ChosenRig(s, controls, ScriptKind::Maya), SampledEnvironment(s));
}

std::string RigErrorText(const RigError& error, const NumberFormat& format) {
  return FormatFixed(error.relativeRms * 100.0, 2, format) + " % (scale " +
         FormatFixed(error.scale, 2, format) + ")";
}

std::optional<std::string> ShowRigError(Session& s, ControlModel& controls, Host& host) {
  const std::optional<RigError> error = ChosenRigError(s, controls);
  if (!error) {
    controls.LabelRigError.caption = "Rig error: -";
    return std::nullopt;
  }
  std::string text = RigErrorText(*error, host.GetNumberFormat());
  controls.LabelRigError.caption = "Rig error: " + text;
  text.pop_back();  // the view goes inside the brackets
  const std::string line =
      "Rig error: " + text + (s.sampled.linear ? ", linear radiance)" : ", powered image values)");
  AddLogLine(controls, host, ":  " + line);
  return line;
}

}  // namespace halvane
