#pragma once

#include <optional>
#include <string>

namespace halvane {

// The two script languages the rig can be written in.
enum class ScriptKind { Maya, Xsi };

// The kind named by a file's extension, ".mel" or ".vbs" in any case; empty
// for any other extension.
std::optional<ScriptKind> ScriptKindForPath(const std::string& path);

// What the save dialog offers for each kind.
const char* DefaultExtension(ScriptKind kind);
const char* SaveFilter(ScriptKind kind);

}  // namespace halvane
