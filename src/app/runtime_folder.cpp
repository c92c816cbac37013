#include "app/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace halvane {

void EnsureRuntimeFolder() {
  if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && *set) return;
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path(error) / ("halvane-runtime-" + std::to_string(getuid()));
  if (error) return;
  mkdir(folder.c_str(), 0700);
  struct stat info {};
  // Only a folder that is ours and private will do; otherwise Qt's own
  // fallback (with its warning) is the safer choice.
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 077) != 0)
    return;
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace halvane
