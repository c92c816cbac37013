#include "workflow/data_folder.h"

#include <cstdlib>
#include <system_error>

namespace halvane {
namespace {

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

std::optional<std::filesystem::path> FindDataFolder(const std::filesystem::path& programFolder) {
  if (const char* variable = std::getenv("HALVANE_DATA_DIR"); variable && *variable) {
    if (IsFolder(variable)) return std::filesystem::path(variable);
  }
  const std::filesystem::path parent = programFolder.parent_path();
  for (const std::filesystem::path& candidate : {parent / "share" / "halvane", parent / "data"})
    if (IsFolder(candidate)) return std::filesystem::weakly_canonical(candidate);
  return std::nullopt;
}

}  // namespace halvane
