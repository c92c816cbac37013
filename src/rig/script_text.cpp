#include "rig/script_text.h"

#include "rig/arnold_script.h"
#include "rig/blender_script.h"
#include "rig/maya_script.h"
#include "rig/usd_stage.h"
#include "rig/xsi_script.h"

namespace halvane {

std::string ScriptText(const Rig& rig, char letter) {
  switch (rig.kind) {
    case ScriptKind::Xsi:
      return XsiScript(rig, letter);
    case ScriptKind::Usd:
      return UsdStage(rig, letter);
    case ScriptKind::Blender:
      return BlenderScript(rig, letter);
    case ScriptKind::MayaArnold:
      return ArnoldScript(rig, letter);
    default:
      return MayaScript(rig, letter);
  }
}

}  // namespace halvane
