#pragma once

#include <optional>
#include <string>

namespace halvane {

// The languages and formats the rig can be written in: the Maya script for
// mental ray, the XSI script, a USD stage, a Blender script and a Maya script
// for Arnold.
enum class ScriptKind { Maya, Xsi, Usd, Blender, MayaArnold };

// The renderer a Maya script is written for.
enum class MayaRenderer { MentalRay, Arnold };

// The kind named by a file's extension in any case: ".mel" (Maya, for
// `renderer`), ".vbs", ".usda" or ".py"; empty for any other extension.
std::optional<ScriptKind> ScriptKindForPath(const std::string& path,
                                            MayaRenderer renderer = MayaRenderer::MentalRay);

// What the save dialog offers for each kind.
const char* DefaultExtension(ScriptKind kind);
const char* SaveFilter(ScriptKind kind);

}  // namespace halvane
