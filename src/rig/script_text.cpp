#include "rig/script_text.h"

#include "rig/maya_script.h"
#include "rig/xsi_script.h"

namespace halvane {

std::string ScriptText(const Rig& rig, char letter) {
  return rig.kind == ScriptKind::Maya ? MayaScript(rig, letter) : XsiScript(rig, letter);
}

}  // namespace halvane
