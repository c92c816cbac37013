#include "rig/script_kind.h"

#include <filesystem>

namespace halvane {
namespace {

std::string LowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

std::optional<ScriptKind> ScriptKindForPath(const std::string& path, MayaRenderer renderer) {
  const std::string extension = LowerCase(std::filesystem::path(path).extension().string());
  if (extension == ".mel")
    return renderer == MayaRenderer::Arnold ? ScriptKind::MayaArnold : ScriptKind::Maya;
  if (extension == ".vbs") return ScriptKind::Xsi;
  if (extension == ".usda") return ScriptKind::Usd;
  if (extension == ".py") return ScriptKind::Blender;
  return std::nullopt;
}

const char* DefaultExtension(ScriptKind kind) {
  switch (kind) {
    case ScriptKind::Xsi:
      return ".vbs";
    case ScriptKind::Usd:
      return ".usda";
    case ScriptKind::Blender:
      return ".py";
    default:
      return ".mel";
  }
}

const char* SaveFilter(ScriptKind kind) {
  switch (kind) {
    case ScriptKind::Xsi:
      return "*.vbs|*.vbs";
    case ScriptKind::Usd:
      return "*.usda|*.usda";
    case ScriptKind::Blender:
      return "*.py|*.py";
    default:
      return "*.mel|*.mel";
  }
}

}  // namespace halvane
