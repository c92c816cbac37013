#include "workflow/chosen_rig.h"

#include "rig/median_cut_rig.h"
#include "workflow/median_cut_step.h"
#include "workflow/sun_light.h"

namespace halvane {

namespace {

Rig ChosenLights(const Session& s, const ControlModel& controls, ScriptKind kind) {
  if (const auto* lights = ChosenMedianCutLights(s, controls))
    return MakeMedianCutRig(*lights, s.image.width, s.image.height, kind,
                            controls.SpinLightDistance.value);
  const RigOptions options{kind, controls.GridOptimized.selectedRow,
                           controls.SpinLightDistance.value};
  return MakeRig(s.dome, s.image, s.results, options);
}

}  // namespace

Rig ChosenRig(const Session& s, const ControlModel& controls, ScriptKind kind) {
  Rig rig = ChosenLights(s, controls, kind);
  rig.sun = SessionSun(s);
  return rig;
}

}  // namespace halvane
