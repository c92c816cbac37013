#include "workflow/image_file_problems.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/file_error.h"

namespace halvane {

std::optional<std::string> MissingFileReason(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return std::nullopt;
  return FileErrorReason(errno);
}

std::string OpenFailureReason(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return FileErrorReason(errno);
  if (S_ISDIR(info.st_mode)) return FileErrorReason(EISDIR);
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileErrorReason(errno);
  close(fd);
  return "not a file that can be opened";
}

std::string ShortFileText(const Session& s) {
  if (s.imageMissing || s.imageRowsRead >= s.image.height) return {};
  return "The file ends after row " + std::to_string(s.imageRowsRead) + " of " +
         std::to_string(s.image.height) + "; the rest is filler.";
}

}  // namespace halvane
