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

std::optional<ScriptKind> ScriptKindForPath(const std::string& path) {
  const std::string extension = LowerCase(std::filesystem::path(path).extension().string());
  if (extension == ".mel") return ScriptKind::Maya;
  if (extension == ".vbs") return ScriptKind::Xsi;
  return std::nullopt;
}

const char* DefaultExtension(ScriptKind kind) {
  return kind == ScriptKind::Maya ? ".mel" : ".vbs";
}

const char* SaveFilter(ScriptKind kind) {
  return kind == ScriptKind::Maya ? "*.mel|*.mel" : "*.vbs|*.vbs";
}

}  // namespace halvane
